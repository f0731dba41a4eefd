// Every shipped map played to its end by the play-mode update alone, one frame at a time, with
// computer seats of each strength: every game must end with a winner or as blocked.
#include "base/arena.h"
#include "base/random.h"
#include "model/map_list.h"
#include "model/referee.h"
#include "model/turn_state.h"
#include "screen/game_screen.h"
#include "screen/screen_state.h"
#include "screen/stone_animation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Outcome {
    bool over;
    int64_t frames;
    int64_t moves;
};

Outcome play_to_the_end(uint8_t kind, int64_t map_index, int64_t difficulty, int64_t seats) {
    arena_empty(PERSISTENT_ARENA);
    reset_model_and_screens();
    machine_kind = kind;
    load_map_list(map_list_of_kind(kind), map_list_path(kind));
    current_map_list = map_list_of_kind(kind);
    current_map_index = map_index;
    seed_random(static_cast<uint64_t>(100 * kind + 10 * map_index + difficulty));
    player_count = seats;
    for (int64_t seat = 0; seat < seats; seat++) {
        Player player = new_player(seat);
        player.is_computer = 1;
        player.difficulty = difficulty;
        array_push(&players, player);
    }
    Outcome outcome{false, 0, 0};
    if (!start_game()) return outcome;
    // Two hundred turns of about a second each is far beyond any shipped game.
    for (; outcome.frames < 200 * 60 && !game_over(); outcome.frames++) {
        arena_empty(FRAME_ARENA);
        int8_t mover = current_player;
        update_play();
        if (last_mover == mover && moved_this_turn && move_delay >= 0.5 - frame_time / 2) outcome.moves++;
    }
    outcome.over = game_over();
    return outcome;
}

TEST(WholeGames, EveryShippedMapEndsForEveryStrength) {
    if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
    for (uint8_t kind = state_machine; kind <= turing_machine; kind++) {
        reset_map_lists();
        load_map_list(map_list_of_kind(kind), map_list_path(kind));
        int64_t maps = map_list_of_kind(kind)->count;
        ASSERT_GE(maps, 5);
        for (int64_t map = 0; map < maps; map++) {
            for (int64_t difficulty = 0; difficulty < 3; difficulty++) {
                Outcome outcome = play_to_the_end(kind, map, difficulty, 2 + difficulty);
                std::string game = "kind " + std::to_string(kind) + ", map " + std::to_string(map) + ", difficulty " +
                                   std::to_string(difficulty);
                EXPECT_TRUE(outcome.over) << game;
                EXPECT_GT(outcome.moves, 0) << game << ", " << outcome.frames << " frames";
            }
        }
    }
}

}  // namespace
