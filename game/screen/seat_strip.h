// Every seat in view during play: a band under the top panel with each seat's stone, who plays it
// and, on pushdown maps, how many cards it holds, the seat to move framed in its colour.
#pragma once

void draw_seat_strip();
