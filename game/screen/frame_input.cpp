#include "screen/frame_input.h"

FrameInput frame_input;

void reset_frame_input() { frame_input = FrameInput{}; }
