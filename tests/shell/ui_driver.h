// Drives the whole program in this process as a player would: keys, clicks on points and on
// buttons found by their label, frames run one at a time, and the scene's pixels read back.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// Start-up once per process; then every screen, camera and turn variable back to the start,
// with the main menu up. The map lists loaded at start-up are kept.
void restart_at_main_menu();

void run_frame();
void run_frames(int count);

void press_key(SDL_Scancode key);
// The modifier goes down first and up last; everything happens within one frame.
void press_key_with(SDL_Scancode modifier, SDL_Scancode key);
void hold_key(SDL_Scancode key);
void release_key(SDL_Scancode key);
// Queued for the next frame; the button stays down until its release is pushed.
void push_mouse_button(uint8_t sdl_button, bool down);

// Window pixels with y counted from the bottom, as the game lays out its screens.
void move_mouse(double x, double height);
// Moves there, presses, runs the frame of the press, then releases in the next frame.
void click_at(double x, double height, uint8_t sdl_button = SDL_BUTTON_LEFT);
void turn_wheel(int32_t notches);

// Labels of the buttons the last frame drew, in drawing order.
std::vector<std::string> button_labels();
// Clicks the nth button drawn with this label in the last frame; false when there is none.
bool click_button(const std::string& label, int occurrence = 0);
// Whether the last frame drew this text through the shared widgets.
bool drew_text(const std::string& text);

struct ScenePixel {
    int r, g, b, a;
};
// From the scene of the last frame (linear light, before the gamma pass).
ScenePixel scene_pixel(int32_t x, int32_t y);

// Standard output written while the function runs.
std::string output_of(void (*function)());
