// What a verdict on a chosen move takes back of the player's selection, for a move checked here
// and for one the host of a joined game refused alike.
#pragma once

#include <cstdint>

// As much as the verdict (a ChoiceVerdict) asks: the states, the target, the card, or a played card's index.
void take_back_selection(uint8_t verdict);
// The source, the target and their transition; a card chosen stays.
void drop_selection_of_states();
