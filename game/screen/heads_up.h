// The two dark panels of the game screen and the texts in its top-left corner.
#pragma once

// Bottom panel over the window's width at its foot, top panel along its top edge.
void draw_panels();

// The machine kind, the win mode and whose turn it is, with the seat's stone.
void draw_heads_up_texts();
