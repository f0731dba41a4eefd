#include "screen/frame_input.h"

#include <cstring>

FrameInput frame_input;

void reset_frame_input() { frame_input = FrameInput{}; }

void consume_clicks() {
    memset(frame_input.buttons_pressed, 0, sizeof frame_input.buttons_pressed);
    frame_input.wheel = 0;
}

HeldClicks hold_clicks() {
    HeldClicks held;
    memcpy(held.buttons_pressed, frame_input.buttons_pressed, sizeof held.buttons_pressed);
    held.wheel = frame_input.wheel;
    consume_clicks();
    return held;
}

void release_clicks(const HeldClicks& held) {
    memcpy(frame_input.buttons_pressed, held.buttons_pressed, sizeof held.buttons_pressed);
    frame_input.wheel = held.wheel;
}
