// The editor in the running frame loop: entered from the main menu, keys and buttons that build a
// machine, the text entry's typing, saving under a typed name, and the map list from ctrl+O with
// its "Delete" that asks first.
#include "model/game_data.h"
#include "model/map_list.h"
#include "model/turn_state.h"
#include "screen/editor.h"
#include "screen/goal_builder.h"
#include "screen/text_entry.h"
#include "screen/ui.h"
#include "shell/application.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        restart_at_main_menu();
        ASSERT_TRUE(click_button("Editor"));
        run_frame();
        ASSERT_TRUE(editor_mode);
    }
    void TearDown() override {
        SDL_SetModState(KMOD_NONE);
        entry_open = 0;
        finish_text_entry();
    }
    // World point (x, y) with the camera at the origin and zoom 1.
    static void point_at(double x, double y) { move_mouse(window_width / 2.0 + x, window_height / 2.0 + y); }
    static void click_world(double x, double y) { click_at(window_width / 2.0 + x, window_height / 2.0 + y); }
    // Both lines of the question drawn last frame; an empty detail matches any.
    static bool drawn_question(const std::string& line, const std::string& detail) {
        bool line_seen = false, detail_seen = detail.empty();
        for (int32_t i = 0; i < drawn_text_count; i++) {
            std::string text(drawn_texts[i].label.data, static_cast<size_t>(drawn_texts[i].label.length));
            line_seen = line_seen || text == line;
            detail_seen = detail_seen || text == detail;
        }
        return line_seen && detail_seen;
    }
    static std::string typed() { return std::string(entry_text.data ? entry_text.data : "", static_cast<size_t>(entry_text.count)); }
};

TEST_F(Editor, TheEditorButtonEmptiesTheMapAndKeysBuildAMachine) {
    EXPECT_EQ(states.count, 0);
    EXPECT_EQ(map_scale, 1);
    EXPECT_EQ(tape_length, 4);
    point_at(70, 10);
    press_key(SDL_SCANCODE_1);
    ASSERT_EQ(states.count, 1);
    EXPECT_EQ(states.data[0].x, 64);
    EXPECT_EQ(states.data[0].y, 0);
    press_key(SDL_SCANCODE_3);
    EXPECT_EQ(stones.count, 1);
    point_at(-128, 96);
    press_key(SDL_SCANCODE_1);
    click_world(64, 0);  // source is state 1 (the new one); this makes state 0 the target
    ASSERT_EQ(source_state, 1);
    ASSERT_EQ(target_state, 0);
    press_key(SDL_SCANCODE_2);
    ASSERT_EQ(transitions.count, 1);
    run_frame();
    ASSERT_EQ(selected_transition, 0);
    press_key(SDL_SCANCODE_U);
    EXPECT_EQ(transitions.data[0].bend, 1);
    press_key(SDL_SCANCODE_L);  // no rule yet: the label stays
    EXPECT_EQ(transitions.data[0].label_dx, 0);

    ASSERT_TRUE(click_button("change rule"));
    ASSERT_TRUE(entry_open);
    press_key_with(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_A);
    press_key(SDL_SCANCODE_RETURN);
    run_frame();
    EXPECT_EQ(std::string(transitions.data[0].rule.data, transitions.data[0].rule.length), "A");
    press_key(SDL_SCANCODE_L);
    EXPECT_EQ(transitions.data[0].label_dx, 32);
    press_key(SDL_SCANCODE_DELETE);
    EXPECT_EQ(transitions.count, 0);
}

TEST_F(Editor, TypingFollowsShiftAndCapsLockAndNeverMovesTheCamera) {
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
    ASSERT_TRUE(entry_open);
    EXPECT_EQ(std::string(entry_prompt.data, entry_prompt.length), "Map name");
    press_key(SDL_SCANCODE_W);
    press_key_with(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_W);
    SDL_SetModState(KMOD_CAPS);
    press_key(SDL_SCANCODE_W);
    press_key_with(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_W);
    SDL_SetModState(KMOD_NONE);
    press_key_with(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_9);
    press_key(SDL_SCANCODE_0);
    press_key_with(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_APOSTROPHE);
    press_key_with(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_MINUS);
    press_key(SDL_SCANCODE_GRAVE);
    press_key(SDL_SCANCODE_SPACE);
    EXPECT_EQ(typed(), "wWWw(0'_~");
    press_key(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(typed(), "wWWw(0'_");
    EXPECT_EQ(states.count, 0);
    ASSERT_TRUE(click_button("Cancel"));
    run_frame();
    EXPECT_FALSE(entry_open);
    EXPECT_EQ(entry_purpose, entry_for_nothing);
}

// Keys typed faster than frames arrive in one frame: they and Backspace apply in typing order.
TEST_F(Editor, KeysTypedWithinOneFrameKeepTheirOrder) {
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
    ASSERT_TRUE(entry_open);
    for (SDL_Scancode key : {SDL_SCANCODE_L, SDL_SCANCODE_O, SDL_SCANCODE_N, SDL_SCANCODE_X, SDL_SCANCODE_BACKSPACE,
                             SDL_SCANCODE_G, SDL_SCANCODE_X, SDL_SCANCODE_X}) {
        hold_key(key);
        release_key(key);
    }
    run_frame();
    EXPECT_EQ(typed(), "longxx");
}

TEST_F(Editor, SavingWritesTheKindsDirectoryAndCtrlOOpensTheList) {
    fs::path home = fs::current_path();
    fs::path folder = fs::temp_directory_path() / "varnholt_editor_save";
    fs::remove_all(folder);
    fs::create_directories(folder / "resources");
    fs::current_path(folder);
    point_at(0, 0);
    press_key(SDL_SCANCODE_1);
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
    for (SDL_Scancode key : {SDL_SCANCODE_M, SDL_SCANCODE_Y, SDL_SCANCODE_PERIOD, SDL_SCANCODE_B}) press_key(key);
    std::string output = output_of([] {
        press_key(SDL_SCANCODE_RETURN);
        run_frame();
    });
    std::ifstream saved("custom_pushdown_machines/my_b");
    std::stringstream text;
    text << saved.rdbuf();
    std::ifstream list("resources/pushdown_maps.txt");
    std::stringstream list_text;
    list_text << list.rdbuf();
    fs::current_path(home);
    fs::remove_all(folder);

    EXPECT_EQ(output, "saving map my.b as custom_pushdown_machines/my_b\n");
    EXPECT_NE(text.str().find(". 0 0\n"), std::string::npos);
    EXPECT_EQ(list_text.str().substr(list_text.str().rfind('\n', list_text.str().size() - 2) + 1),
              "my.b custom_pushdown_machines/my_b\n");
    pushdown_map_list.count -= 1;  // the entry names a file that is gone

    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_O);
    EXPECT_TRUE(map_list_open);
    EXPECT_TRUE(editor_mode);
    EXPECT_EQ(current_map_index, 0);
    EXPECT_GT(states.count, 1);  // the list's first map
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(map_list_open);
    EXPECT_TRUE(editor_mode);
}

TEST_F(Editor, DeleteOnTheMapListRemovesTheFileAndItsEntry) {
    fs::path home = fs::current_path();
    fs::path folder = fs::temp_directory_path() / "varnholt_editor_delete";
    fs::remove_all(folder);
    fs::create_directories(folder / "resources");
    fs::create_directories(folder / "custom_pushdown_machines");
    fs::current_path(folder);
    std::ofstream("custom_pushdown_machines/one") << ". 0 0\n";
    std::ofstream("custom_pushdown_machines/two") << ". 0 0\n. 1 1\n";
    GrowableArray<MapListEntry> saved = pushdown_map_list;
    pushdown_map_list = {};
    array_push(&pushdown_map_list, MapListEntry{str("one"), str("custom_pushdown_machines/one")});
    array_push(&pushdown_map_list, MapListEntry{str("two"), str("custom_pushdown_machines/two")});
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_O);
    click_button("Delete");
    run_frame();
    bool asked = drawn_question("Delete the map one?", "custom_pushdown_machines/one");
    click_button("Cancel");
    run_frame();
    bool kept_on_cancel = fs::exists("custom_pushdown_machines/one") && !drawn_question("Delete the map one?", "");
    click_button("Delete");
    run_frame();
    bool deleted = click_button("Delete", 1);  // the question's own
    run_frame();
    bool first_gone = !fs::exists("custom_pushdown_machines/one");
    std::ifstream list("resources/pushdown_maps.txt");
    std::stringstream list_text;
    list_text << list.rdbuf();
    int64_t states_shown = states.count;
    click_button("Delete");
    press_key(SDL_SCANCODE_Y);
    run_frame();
    std::vector<std::string> labels = button_labels();
    fs::current_path(home);
    fs::remove_all(folder);
    pushdown_map_list = saved;

    EXPECT_TRUE(asked);
    EXPECT_TRUE(kept_on_cancel);
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(first_gone);
    EXPECT_EQ(list_text.str(), "two custom_pushdown_machines/two\n");
    EXPECT_EQ(states_shown, 2);  // the entry now selected is loaded
    EXPECT_EQ(std::count(labels.begin(), labels.end(), "Delete"), 0);
    EXPECT_EQ(std::count(labels.begin(), labels.end(), "Edit"), 1);
}

TEST_F(Editor, DeckRowsStopAtTheirBoundsAndTheGoalBuilderAddsGoals) {
    press_key(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(click_button(">"));  // Turing machine
    run_frame();
    ASSERT_TRUE(click_button("Editor"));
    run_frame();
    ASSERT_EQ(machine_kind, turing_machine);
    for (int i = 0; i < 3; i++) ASSERT_TRUE(click_button("<"));
    EXPECT_EQ(deck_copies, 0);
    for (int i = 0; i < 12; i++) ASSERT_TRUE(click_button(">"));
    EXPECT_EQ(deck_copies, 9);

    goals.count = 0;
    ASSERT_TRUE(click_button("add goal"));
    run_frame();
    ASSERT_TRUE(goal_builder_open);
    int first_builder_arrow = 0;
    for (const std::string& label : button_labels()) {
        if (label == "OK") break;
        first_builder_arrow += label == "<";
    }
    // The builder's rows come last: kind, comparison, amount.
    ASSERT_TRUE(click_button("<", first_builder_arrow - 3));  // kind 0 - 1 wraps to 9
    run_frame();
    EXPECT_EQ(goal_draft.kind, 9);
    ASSERT_TRUE(click_button("OK"));
    ASSERT_EQ(goals.count, 1);
    EXPECT_EQ(goals.data[0].kind, 9);
    EXPECT_FALSE(goal_builder_open);
    ASSERT_TRUE(click_button("remove goal"));
    EXPECT_EQ(goals.count, 0);
}

}  // namespace
