#include "screen/frame_input.h"

#include <cstring>

FrameInput frame_input;

void reset_frame_input() { frame_input = FrameInput{}; }

void consume_clicks() {
    memset(frame_input.buttons_pressed, 0, sizeof frame_input.buttons_pressed);
    frame_input.wheel = 0;
}
