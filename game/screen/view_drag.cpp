#include "screen/view_drag.h"

#include "screen/camera.h"
#include "render/scene.h"
#include "screen/frame_input.h"

ViewDrag view_drag;

void reset_view_drag() { view_drag = ViewDrag{}; }

void update_view_drag(bool empty_ground) {
    if (view_drag.button != 0 && frame_input.buttons_released[view_drag.button]) view_drag.button = 0;
    if (view_drag.button == 0 && empty_ground) {
        const uint8_t buttons[] = {MOUSE_LEFT, MOUSE_MIDDLE};
        for (uint8_t button : buttons) {
            if (frame_input.buttons_pressed[button]) view_drag = ViewDrag{button, frame_input.world_x, frame_input.world_y};
        }
        return;
    }
    if (view_drag.button == 0) return;
    camera_x = view_drag.world_x - (frame_input.mouse_x - window_width / 2.0) / camera_zoom;
    camera_y = view_drag.world_y - (frame_input.mouse_y - window_height / 2.0) / camera_zoom;
}
