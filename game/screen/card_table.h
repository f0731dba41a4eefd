// The cards in the top panel: the deck's back and the stack's top card on a pushdown
// machine, the tape with its head on a Turing machine.
#pragma once

// Deck slot left of the window's centre, stack slot right of it, both along the top edge.
void place_card_slots(double width, double height);

void draw_card_table();
