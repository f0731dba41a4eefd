// A saved game log on the game screen, one step at a time: Left and Right step back and forward,
// Home and End go to the opening and the end; nothing on the screen changes the game.
#pragma once

#include "base/strings.h"

// Reads the log and shows its opening position; false when it does not read.
bool start_replay(string path);
// Once per frame while the replay is up: the keys, the game screen and the step line.
void replay_frame();
