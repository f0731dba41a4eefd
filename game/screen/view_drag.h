// Dragging the view: a left or middle press on empty ground between the panels takes hold of the
// world, which then follows the pointer until that button is let go.
#pragma once

#include <cstdint>

struct ViewDrag {
    // The button holding the world; 0 while none does.
    uint8_t button;
    // The world point taken hold of, kept under the pointer.
    double world_x, world_y;
};
extern ViewDrag view_drag;

// Once per frame on the game screen: `empty_ground` says that the pointer is over the machine's
// area with nothing under it that a click would pick.
void update_view_drag(bool empty_ground);

void reset_view_drag();
