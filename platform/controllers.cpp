// Joysticks and game pads through SDL's joystick interface, and rumble through its haptic interface.
#include "kestrune_system.h"
#include "platform_internal.h"

#include <SDL.h>

#include <cstring>

// Written by input_poll.
extern bool controller_device_added;
extern int32_t controller_device_added_index;
extern bool controller_device_removed;
extern SDL_Joystick* controller_device_removed_handle;

// SDL's levels run from empty (0) to maximum (5); ours shift them up by one and keep 0 for unknown.
uint8_t controller_power_code(int sdl_level) {
    if (sdl_level < SDL_JOYSTICK_POWER_EMPTY || sdl_level > SDL_JOYSTICK_POWER_MAX) return CONTROLLER_POWER_UNKNOWN;
    return static_cast<uint8_t>(sdl_level + 1);
}

static string sdl_name(const char* name) {
    if (!name) return string{nullptr, 0};
    return string{name, static_cast<int64_t>(strlen(name))};
}

bool controller_is_added(int32_t* index) {
    if (controller_device_added && index) *index = controller_device_added_index;
    return controller_device_added;
}

bool controller_is_removed(SDL_Joystick** controller) {
    if (controller_device_removed && controller) *controller = controller_device_removed_handle;
    return controller_device_removed;
}

int controller_num() { return SDL_NumJoysticks(); }
string controller_name_for_index(int32_t index) { return sdl_name(SDL_JoystickNameForIndex(index)); }
SDL_Joystick* controller_open(int32_t index) { return SDL_JoystickOpen(index); }
void controller_close(SDL_Joystick* controller) { SDL_JoystickClose(controller); }
string controller_name(SDL_Joystick* controller) { return sdl_name(SDL_JoystickName(controller)); }
int controller_num_buttons(SDL_Joystick* controller) { return SDL_JoystickNumButtons(controller); }
int controller_num_axes(SDL_Joystick* controller) { return SDL_JoystickNumAxes(controller); }
int controller_num_balls(SDL_Joystick* controller) { return SDL_JoystickNumBalls(controller); }
int controller_num_hats(SDL_Joystick* controller) { return SDL_JoystickNumHats(controller); }
int controller_is_haptic(SDL_Joystick* controller) { return SDL_JoystickIsHaptic(controller); }
int controller_is_connected(SDL_Joystick* controller) { return SDL_JoystickGetAttached(controller); }
uint8_t controller_power(SDL_Joystick* controller) { return controller_power_code(SDL_JoystickCurrentPowerLevel(controller)); }
uint8_t controller_button(SDL_Joystick* controller, int32_t index) { return SDL_JoystickGetButton(controller, index); }
int16_t controller_axis(SDL_Joystick* controller, int32_t index) { return SDL_JoystickGetAxis(controller, index); }

int controller_ball(SDL_Joystick* controller, int32_t index, int32_t* dx, int32_t* dy) {
    return SDL_JoystickGetBall(controller, index, dx, dy);
}

uint8_t controller_hat(SDL_Joystick* controller, int32_t index) { return SDL_JoystickGetHat(controller, index); }

int input_mouse_is_haptic() { return SDL_MouseIsHaptic(); }
SDL_Haptic* haptic_open_controller(SDL_Joystick* controller) { return SDL_HapticOpenFromJoystick(controller); }
SDL_Haptic* haptic_open_mouse() { return SDL_HapticOpenFromMouse(); }
void haptic_close(SDL_Haptic* haptic) { SDL_HapticClose(haptic); }
int haptic_has_rumble(SDL_Haptic* haptic) { return SDL_HapticRumbleSupported(haptic); }
bool haptic_init_rumble(SDL_Haptic* haptic) { return SDL_HapticRumbleInit(haptic) == 0; }

int haptic_play_rumble(SDL_Haptic* haptic, float strength, uint32_t milliseconds) {
    return SDL_HapticRumblePlay(haptic, strength, milliseconds);
}

int haptic_stop_rumble(SDL_Haptic* haptic) { return SDL_HapticRumbleStop(haptic); }
