// Joysticks and game pads through SDL's joystick interface, and rumble through its haptic interface.
#include "platform_internal.h"
#include "sdl_handles.h"

#include <cstring>

// SDL's levels run from empty (0) to maximum (5); ours shift them up by one and keep 0 for unknown.
static_assert(CONTROLLER_POWER_EMPTY == SDL_JOYSTICK_POWER_EMPTY + 1 &&
              CONTROLLER_POWER_MAX == SDL_JOYSTICK_POWER_MAX + 1);

uint8_t controller_power_code(int sdl_level) {
    if (sdl_level < SDL_JOYSTICK_POWER_EMPTY || sdl_level > SDL_JOYSTICK_POWER_MAX) return CONTROLLER_POWER_UNKNOWN;
    return static_cast<uint8_t>(sdl_level + 1);
}

// SDL's answer, with SDL's reason recorded when it is a failure (a null handle or a negative result).
template <typename Result>
static Result checked(Result result, bool failed) {
    if (failed) set_error(SYSTEM_ERROR_INVALID_HANDLE, "controller: %s", SDL_GetError());
    return result;
}

static int counted(int result) { return checked(result, result < 0); }

template <typename Handle>
static Handle* opened(Handle* handle) {
    return checked(handle, handle == nullptr);
}

static string sdl_name(const char* name) {
    if (!name) return string{nullptr, 0};
    return string{name, static_cast<int64_t>(strlen(name))};
}

bool controller_is_added(int32_t* index) {
    if (controller_device_added && index) *index = controller_device_added_index;
    return controller_device_added;
}

bool controller_is_removed(kestrune_controller** controller) {
    if (controller_device_removed && controller) *controller = controller_device_removed_handle;
    return controller_device_removed;
}

int controller_num() { return SDL_NumJoysticks(); }
string controller_name_for_index(int32_t index) { return sdl_name(SDL_JoystickNameForIndex(index)); }
kestrune_controller* controller_open(int32_t index) { return opened(from_sdl(SDL_JoystickOpen(index))); }
void controller_close(kestrune_controller* controller) { SDL_JoystickClose(to_sdl(controller)); }
string controller_name(kestrune_controller* controller) { return sdl_name(SDL_JoystickName(to_sdl(controller))); }
int controller_num_buttons(kestrune_controller* controller) { return counted(SDL_JoystickNumButtons(to_sdl(controller))); }
int controller_num_axes(kestrune_controller* controller) { return counted(SDL_JoystickNumAxes(to_sdl(controller))); }
int controller_num_balls(kestrune_controller* controller) { return counted(SDL_JoystickNumBalls(to_sdl(controller))); }
int controller_num_hats(kestrune_controller* controller) { return counted(SDL_JoystickNumHats(to_sdl(controller))); }
int controller_is_haptic(kestrune_controller* controller) { return counted(SDL_JoystickIsHaptic(to_sdl(controller))); }
int controller_is_connected(kestrune_controller* controller) { return SDL_JoystickGetAttached(to_sdl(controller)); }

uint8_t controller_power(kestrune_controller* controller) {
    return controller_power_code(SDL_JoystickCurrentPowerLevel(to_sdl(controller)));
}

uint8_t controller_button(kestrune_controller* controller, int32_t index) {
    return SDL_JoystickGetButton(to_sdl(controller), index);
}

int16_t controller_axis(kestrune_controller* controller, int32_t index) {
    return SDL_JoystickGetAxis(to_sdl(controller), index);
}

int controller_ball(kestrune_controller* controller, int32_t index, int32_t* dx, int32_t* dy) {
    return counted(SDL_JoystickGetBall(to_sdl(controller), index, dx, dy));
}

// Hat positions pass through unchanged, so the named positions must be SDL's own bits.
static_assert(CONTROLLER_HAT_CENTERED == SDL_HAT_CENTERED && CONTROLLER_HAT_UP == SDL_HAT_UP &&
              CONTROLLER_HAT_RIGHT == SDL_HAT_RIGHT && CONTROLLER_HAT_DOWN == SDL_HAT_DOWN &&
              CONTROLLER_HAT_LEFT == SDL_HAT_LEFT && CONTROLLER_HAT_RIGHT_UP == SDL_HAT_RIGHTUP &&
              CONTROLLER_HAT_RIGHT_DOWN == SDL_HAT_RIGHTDOWN && CONTROLLER_HAT_LEFT_UP == SDL_HAT_LEFTUP &&
              CONTROLLER_HAT_LEFT_DOWN == SDL_HAT_LEFTDOWN);

uint8_t controller_hat(kestrune_controller* controller, int32_t index) {
    return SDL_JoystickGetHat(to_sdl(controller), index);
}

int input_mouse_is_haptic() { return SDL_MouseIsHaptic(); }

kestrune_haptic* haptic_open_controller(kestrune_controller* controller) {
    return opened(from_sdl(SDL_HapticOpenFromJoystick(to_sdl(controller))));
}

kestrune_haptic* haptic_open_mouse() { return opened(from_sdl(SDL_HapticOpenFromMouse())); }
void haptic_close(kestrune_haptic* haptic) { SDL_HapticClose(to_sdl(haptic)); }
int haptic_has_rumble(kestrune_haptic* haptic) { return counted(SDL_HapticRumbleSupported(to_sdl(haptic))); }
bool haptic_init_rumble(kestrune_haptic* haptic) { return counted(SDL_HapticRumbleInit(to_sdl(haptic))) == 0; }

int haptic_play_rumble(kestrune_haptic* haptic, float strength, uint32_t milliseconds) {
    return counted(SDL_HapticRumblePlay(to_sdl(haptic), strength, milliseconds));
}

int haptic_stop_rumble(kestrune_haptic* haptic) { return counted(SDL_HapticRumbleStop(to_sdl(haptic))); }
