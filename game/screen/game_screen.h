// The game screen: the play-mode update that runs the turn, and the frame function that draws
// the machine, the cards and the overlays and turns clicks into selections.
#pragma once

#include <cstdint>

// Once per frame in play mode, before anything is drawn: timers, the human's or the computer's move, the turn's end.
void update_play();

// Once per frame while the game screen is up, in play and in editor mode.
void game_screen_frame(bool editing);

// The one way into a game: a new game on the selected map, with a fresh turn, selection, hand,
// stone animation and a camera that frames the map. False when the map cannot be played.
bool restart_game();
// The game kept when play was last left, on screen as it stood; false when none reads.
bool resume_kept_game();

// In a game without humans the computers' pause before each move is the standard one times
// 2^pace_level, so that a watcher can follow; + and - step it within 0 to 3.
constexpr int32_t watched_pace_level = 1;
constexpr int32_t slowest_pace_level = 3;
extern int32_t pace_level;

void reset_game_screen();
