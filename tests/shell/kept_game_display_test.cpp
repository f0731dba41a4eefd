// A game survives leaving it, a closed window and a killed program: it is kept at every turn's end,
// and "Continue" on the main menu brings it back as it stood; a finished game is not kept.
#include "base/whole_file.h"
#include "model/game_record.h"
#include "model/kept_game.h"
#include "model/map_list.h"
#include "model/turn_state.h"
#include "screen/screen_state.h"
#include "shell/application.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

std::string text_of(string text) { return std::string(text.data ? text.data : "", static_cast<size_t>(text.length)); }

std::string kept_file_text() {
    std::ifstream file(text_of(kept_game_path()), std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool menu_offers_continue() {
    std::vector<std::string> labels = button_labels();
    return std::find(labels.begin(), labels.end(), "Continue") != labels.end();
}

class KeptGames : public ::testing::Test {
protected:
    void SetUp() override {
        restart_at_main_menu();
        array_clear(&players);
        player_count = 1;
    }
    // Main menu to a running game of the kind's first map with every seat a computer.
    static void play_computers(uint8_t kind, int seats) {
        machine_kind = kind;
        run_frame();
        ASSERT_TRUE(click_button("Play Game"));
        run_frame();
        for (int more = 1; more < seats; more++) ASSERT_TRUE(click_button(">"));
        run_frame();
        ASSERT_TRUE(click_button("OK"));
        run_frame();
        for (int seat = 0; seat < seats; seat++) players.data[seat].is_computer = 1;
        ASSERT_TRUE(click_button("Play"));
        run_frame();
    }
};

TEST_F(KeptGames, LeavingAGameKeepsItAndContinueBringsItBackAsItStood) {
    EXPECT_FALSE(menu_offers_continue());
    play_computers(pushdown_machine, 3);
    for (int frame = 0; frame < 20000 && turns_played < 3; frame++) {
        int64_t turns = turns_played;
        run_frame();
        // A killed program loses nothing past the last turn's end: the file holds the game as it ended.
        if (turns_played != turns && !game_over()) {
            ASSERT_EQ(kept_file_text(), text_of(write_game_record(every_seat, true)));
        }
    }
    ASSERT_EQ(turns_played, 3);
    std::string left = text_of(write_game_record(every_seat, true));
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(kept_file_text(), left);
    press_key(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(main_menu_open);
    EXPECT_TRUE(menu_offers_continue());

    // As after a new start of the program: nothing of the game is left but its file.
    reset_model_and_screens();
    load_map_list(&state_map_list, map_list_path(state_machine));
    load_map_list(&pushdown_map_list, map_list_path(pushdown_machine));
    load_map_list(&turing_map_list, map_list_path(turing_machine));
    set_kept_game_path(kept_game_path());
    run_frame();
    ASSERT_TRUE(click_button("Continue"));
    EXPECT_FALSE(main_menu_open);
    EXPECT_FALSE(player_setup_open);
    EXPECT_EQ(text_of(write_game_record(every_seat, true)), left);
    // And it plays on.
    for (int frame = 0; frame < 20000 && turns_played < 4 && !game_over(); frame++) run_frame();
    EXPECT_TRUE(turns_played == 4 || game_over());
}

TEST_F(KeptGames, AFinishedGameIsNotKeptAndADamagedFileIsNotOffered) {
    play_computers(state_machine, 2);
    for (int frame = 0; frame < 20000 && !game_over(); frame++) run_frame();
    ASSERT_TRUE(game_over());
    run_frame();
    EXPECT_FALSE(file_exists(kept_game_path()));
    press_key(SDL_SCANCODE_ESCAPE);
    press_key(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(main_menu_open);
    EXPECT_FALSE(menu_offers_continue());

    ASSERT_TRUE(replace_whole_file(kept_game_path(), str("varnholt game 1\nviewer -1\nkind 9\n")));
    set_kept_game_path(kept_game_path());
    run_frame();
    ASSERT_TRUE(click_button("Continue"));
    run_frame();
    EXPECT_TRUE(main_menu_open);
    EXPECT_FALSE(menu_offers_continue());
    EXPECT_TRUE(file_exists(kept_game_path()));
}

}  // namespace

namespace {

// G saves the game so far; the map list's Replay steps through it, forward and back, as it was played.
TEST_F(KeptGames, ASavedGameLogReplaysEveryMoveForwardAndBack) {
    play_computers(pushdown_machine, 2);
    // The position after each move, by the move's number.
    std::map<int64_t, std::string> positions;
    auto play = [](const std::string& t) { return t.substr(t.find("\nstones"), t.find("\nturn") - t.find("\nstones")); };
    int64_t first = last_move.number;
    for (int frame = 0; frame < 20000 && last_move.number - first < 4 && !game_over(); frame++) {
        run_frame();
        positions.emplace(last_move.number, play(text_of(write_game_record(every_seat, false))));
    }
    ASSERT_GE(last_move.number - first, 4);
    int64_t last = last_move.number;
    press_key(SDL_SCANCODE_G);
    press_key(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(click_button("OK"));
    run_frame();
    ASSERT_TRUE(map_list_open);
    ASSERT_TRUE(click_button("Replay"));
    ASSERT_TRUE(replay_open);
    press_key(SDL_SCANCODE_END);
    EXPECT_EQ(last_move.number, last);
    EXPECT_EQ(play(text_of(write_game_record(every_seat, false))), positions[last]);
    for (int64_t back = 1; back <= 3; back++) {
        press_key(SDL_SCANCODE_LEFT);
        EXPECT_EQ(last_move.number, last - back);
        EXPECT_EQ(play(text_of(write_game_record(every_seat, false))), positions[last - back]) << back;
    }
    press_key(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(last_move.number, last - 2);
    EXPECT_EQ(play(text_of(write_game_record(every_seat, false))), positions[last - 2]);
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(map_list_open);
    std::filesystem::remove_all("game_logs");
}

}  // namespace
