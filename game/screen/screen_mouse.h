// The mouse as the game screen reads it once per frame: window pixels with the height counted
// from the bottom, its world point, and this frame's buttons, motion and wheel.
#pragma once

#include <cstdint>

struct ScreenMouse {
    double x, height;
    double world_x, world_y;
    bool left_pressed, left_released, right_pressed;
    int32_t moved_x;
    int32_t wheel;
};

ScreenMouse read_screen_mouse();

// Left and bottom edges inside, right and top edges outside.
inline bool mouse_in_rectangle(const ScreenMouse& mouse, double x, double y, double width, double height) {
    return mouse.x >= x && mouse.x < x + width && mouse.height >= y && mouse.height < y + height;
}
