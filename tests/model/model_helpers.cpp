#include "model_fixture.h"

#include "base/arena.h"
#include "base/random.h"
#include "model/computer_players.h"
#include "model/draw_rules.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/position_analysis.h"
#include "model/referee.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

string view_of(const std::string& text) { return string{text.data(), static_cast<int64_t>(text.size())}; }

std::string text_of(string view) {
    return view.length > 0 ? std::string(view.data, static_cast<size_t>(view.length)) : std::string();
}

void reset_model(uint8_t kind) {
    if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
    arena_empty(PERSISTENT_ARENA);
    arena_empty(FRAME_ARENA);
    reset_map();
    reset_game();
    reset_position_history();
    forget_position_analysis();
    reset_map_lists();
    reset_turn_state();
    machine_kind = kind;
    // Tests add their seats themselves.
    player_count = 0;
    seed_random(12345);
}

namespace {

std::string scratch_folder() {
    return std::filesystem::temp_directory_path().string() + "/varnholt_model_" + std::to_string(getpid());
}

// The folder goes once every test of the program has run.
class ScratchFolderRemoval : public testing::Environment {
public:
    void TearDown() override { std::filesystem::remove_all(scratch_folder()); }
};

testing::Environment* const scratch_folder_removal = testing::AddGlobalTestEnvironment(new ScratchFolderRemoval);

}  // namespace

std::string write_temp_file(const std::string& name, const std::string& bytes) {
    std::string folder = scratch_folder();
    std::filesystem::create_directories(folder);
    std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

bool load_map_text(const std::string& bytes) {
    static std::string path;
    path = write_temp_file("map.txt", bytes);
    return load_map(view_of(path));
}

void add_players(int64_t count, bool computers, int64_t difficulty) {
    players = {};
    player_count = count;
    for (int64_t i = 0; i < count; i++) {
        Player player = new_player(i);
        player.is_computer = computers ? 1 : 0;
        player.difficulty = difficulty;
        array_push(&players, player);
    }
}

static void record_turn(GameResult* result) {
    result->turns++;
    result->trace += std::to_string(current_player) + ":";
    for (int64_t i = 0; i < stones.count; i++) result->trace += std::to_string(stones.data[i]) + ",";
    result->trace += std::to_string(stack.count) + "/" + std::to_string(tape_head) + " ";
}

GameResult play_until_over(int64_t max_turns) {
    GameResult result{0, no_winner, false, {}};
    int64_t actions = 0;
    while (!game_over() && result.turns < max_turns && actions < max_turns * 8) {
        actions++;
        arena_empty(FRAME_ARENA);
        if (move_delay > 0) {
            move_delay = 0;
            end_turn();
            record_turn(&result);
            continue;
        }
        recycle_stack();
        if (settle_stuck_seat()) continue;
        bool had_drawn = card_drawn != 0;
        computer_act();
        if (had_drawn && !card_drawn && move_delay <= 0) record_turn(&result);
        computer_delay = 0;
    }
    result.winner = winner;
    result.blocked = game_blocked != 0;
    return result;
}
