// The one place the game reads the platform's input: after input_poll, into the frame's record.
#pragma once

void capture_frame_input();
