// The game screen's side of a game played across computers: the host's frame after its play
// update, the joined game's frame in place of the play update, and the lines that say who is
// awaited, where the game is hosted and how to come back to it.
#pragma once

#include <cstdint>

// Set while the game on screen is one joined at another computer: it only shows what its host
// sends and sends its player's choices there.
extern bool joined_play;
// The seat this screen plays in a joined game, -1 before one is taken.
int64_t joined_seat();

// Seconds on the clock the connections' timers run by.
double network_now();

// Once a frame on any screen: a connection that ended gets its goodbye through before its socket closes.
void linger_connections();

// After the play update, while hosting: the clients' choices and the seats handed to computers,
// with the stone of a move made there animated as a move made here.
void update_hosted_play();

// In place of the play update in a joined game: reads what the host sent, shows a new state
// (animating a new move), sends the player's finished selection, and takes back what a
// refusal says.
void update_joined_play();

// A choice from the hand's draw and next-turn buttons; sent to the host in a joined game.
void choose_card_draw();
void choose_turn_end();

// Over the game screen: "Waiting for Blue...", the port while a remote seat waits for its player,
// a joined seat's token, and why a joined game's connection ended.
void draw_network_texts();

void reset_network_play();
