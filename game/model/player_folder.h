// The installed game's folder for the player's files, made on the first start.
#pragma once

// Creates the player's folder with the three map folders and, for each list not there yet, a copy
// of the shipped list; lists already there are kept as the player left them. Nothing to do in a
// checkout. False after printing one line when the folder or a list cannot be made.
bool prepare_player_folder();
