#include "screen/screen_mouse.h"

#include "screen/camera.h"

#include <kestrune_system.h>

ScreenMouse read_screen_mouse() {
    ScreenMouse mouse{};
    int32_t x, y, moved_y;
    input_mouse_position(&x, &y);
    mouse.x = x;
    mouse.height = mouse_height();
    mouse_world_point(&mouse.world_x, &mouse.world_y);
    mouse.left_pressed = input_mouse_is_pressed(MOUSE_LEFT) != 0;
    mouse.left_released = input_mouse_is_released(MOUSE_LEFT) != 0;
    mouse.right_pressed = input_mouse_is_pressed(MOUSE_RIGHT) != 0;
    input_mouse_moved(&mouse.moved_x, &moved_y);
    mouse.wheel = input_mouse_wheel();
    return mouse;
}
