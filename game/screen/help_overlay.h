// The list of controls drawn over whatever screen is up while help is shown, and the legend of the
// rule language on a page of its own.
#pragma once

#include "base/strings.h"

#include <cstdint>

// Which screen the help is opened on: each lists its own controls after the standard ones.
enum HelpScreen : uint8_t { help_for_menus = 0, help_for_play = 1, help_for_editor = 2 };

// The standard controls: twenty-one lines, each ended by a line feed.
string standard_help_text();
// The standard lines and then the screen's own, in the frame arena.
string help_text(HelpScreen screen);

void draw_help_overlay(HelpScreen screen);

// Each rule symbol as the machine draws it, beside what it means; and the Turing tape actions.
void draw_rule_legend();
