#include "model_fixture.h"

#include "model/arena.h"
#include "model/computer_players.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/random.h"
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
    persistent_arena.used = 0;
    frame_arena.used = 0;
    machine_kind = kind;
    map_x = 0;
    map_y = 0;
    map_scale = 128;
    states = {};
    transitions = {};
    stones = {};
    goals = {};
    win_mode = immediate;
    deck_copies = 1;
    deck_colors = deck_shapes = deck_numbers = 4;
    hand_size = 8;
    tape_length = 4;
    nimbers = {};
    players = {};
    player_count = 0;
    current_player = 0;
    winner = no_winner;
    deck = {};
    stack = {};
    tape = {};
    tape_head = 0;
    state_map_list = {};
    pushdown_map_list = {};
    turing_map_list = {};
    current_map_list = &pushdown_map_list;
    current_map_index = 0;
    source_state = target_state = selected_transition = -1;
    selected_card = -1;
    hand_revealed = card_drawn = 0;
    move_delay = computer_delay = 0;
    human_count = 0;
    moving_stone = -1;
    memset(state_lift, 0, sizeof state_lift);
    game_blocked = 0;
    last_mover = no_winner;
    idle_turns = 0;
    moved_this_turn = deck_card_drawn_this_turn = 0;
    seed_random(12345);
}

std::string write_temp_file(const std::string& name, const std::string& bytes) {
    std::string folder = std::filesystem::temp_directory_path().string() + "/varnholt_model_" + std::to_string(getpid());
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
        frame_arena.used = 0;
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
