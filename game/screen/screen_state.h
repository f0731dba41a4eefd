// Start values for everything below the shell, so start-up and tests reset the same way.
#pragma once

// The frame's input, the turn, the moving stone, the camera, the game screen, the text entry and the editor.
void reset_screens();

// The map, the game in progress and the map lists too.
void reset_model_and_screens();

// Leaving the game screen or the editor: the turn's selection, pauses and moving stone end, and the
// editor's dialogs close, so nothing carries over into the next game or the next map edited.
void leave_game_screen();
