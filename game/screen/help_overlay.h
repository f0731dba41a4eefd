// The list of controls drawn over whatever screen is up while help is shown.
#pragma once

#include "base/strings.h"

// Twenty-two lines, each ended by a line feed.
string help_text();

void draw_help_overlay();
