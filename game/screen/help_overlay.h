// The list of controls drawn over whatever screen is up while help is shown, and the legend of the
// rule language on a page of its own.
#pragma once

#include "base/strings.h"

// Twenty-three lines, each ended by a line feed.
string help_text();

void draw_help_overlay();

// Each rule symbol as the machine draws it, beside what it means; and the Turing tape actions.
void draw_rule_legend();
