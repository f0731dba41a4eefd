// The cards in the top panel: the deck's back and the stack's top card on a pushdown
// machine, the tape with its head on a Turing machine.
#pragma once

void draw_card_table();
