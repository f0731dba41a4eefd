// The two dark panels of the game screen, the texts in its top-left corner, and short notices.
#pragma once

#include "base/strings.h"

// Bottom panel over the window's width at its foot, top panel along its top edge.
void draw_panels();

// The machine kind, the win mode and whose turn it is (or who won), with the seat's stone; and the
// notice while it lasts.
void draw_heads_up_texts();

constexpr double notice_seconds = 2;
// Shown above the bottom panel for notice_seconds, such as why a move was refused; the text is
// copied, up to notice_capacity bytes.
constexpr int64_t notice_capacity = 160;
void show_notice(string text);
extern string notice_text;
extern double notice_time_left;

void reset_heads_up();
