// The main menu, the player set-up and the map list, driven through their buttons frame by frame.
#include "model/game_data.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "render/primitives.h"
#include "render/scene.h"
#include "screen/ui.h"
#include "shell/application.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

double center_x() { return window_width / 2.0; }
double center_y() { return window_height / 2.0; }

bool has_button(const std::string& label) {
    std::vector<std::string> labels = button_labels();
    return std::find(labels.begin(), labels.end(), label) != labels.end();
}

GrowableArray<MapListEntry>* list_of(uint8_t kind) {
    GrowableArray<MapListEntry>* lists[] = {&state_map_list, &pushdown_map_list, &turing_map_list};
    return lists[kind];
}

// Reads the file again and compares it with what was current; the file's map is current afterwards.
bool current_map_is(string path) {
    int64_t state_count = states.count, transition_count = transitions.count;
    double first_x = state_count > 0 ? states.data[0].x : 0, scale = map_scale;
    load_map(path);
    return states.count == state_count && transitions.count == transition_count && map_scale == scale &&
           (state_count == 0 || states.data[0].x == first_x);
}

// A list with no entries in place of one kind's list for the length of a test.
struct EmptiedList {
    GrowableArray<MapListEntry>* list;
    GrowableArray<MapListEntry> saved;
    explicit EmptiedList(GrowableArray<MapListEntry>* emptied) : list(emptied), saved(*emptied) { *list = {}; }
    ~EmptiedList() { *list = saved; }
};

// A click changes the screen within its frame; the next frame draws the new screen's buttons.
void click_and_show(const std::string& label) {
    ASSERT_TRUE(click_button(label)) << label;
    run_frame();
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        restart_at_main_menu();
        reset_game();
    }
    static void open_map_list(uint8_t kind) {
        machine_kind = kind;
        run_frame();
        click_and_show("Play Game");
        click_and_show("OK");
        ASSERT_TRUE(map_list_open);
    }
};

using MenuMainMenu = MenuTest;

TEST_F(MenuMainMenu, KindArrowsWrapAroundTheThreeKinds) {
    machine_kind = state_machine;
    run_frame();
    ASSERT_TRUE(click_button("<"));
    EXPECT_EQ(machine_kind, turing_machine);
    ASSERT_TRUE(click_button(">"));
    EXPECT_EQ(machine_kind, state_machine);
    ASSERT_TRUE(click_button(">"));
    EXPECT_EQ(machine_kind, pushdown_machine);
}

TEST_F(MenuMainMenu, PlayGameLoadsTheKindsFirstMapUnlessItsListIsEmpty) {
    for (uint8_t kind : {turing_machine, state_machine}) {
        restart_at_main_menu();
        machine_kind = kind;
        array_clear(&states);
        run_frame();
        ASSERT_TRUE(click_button("Play Game"));
        EXPECT_TRUE(player_setup_open && !main_menu_open);
        EXPECT_EQ(current_map_list, list_of(kind));
        EXPECT_GT(states.count, 0);
        EXPECT_TRUE(current_map_is(list_of(kind)->data[0].path));
    }
    EmptiedList emptied(&turing_map_list);
    restart_at_main_menu();
    machine_kind = turing_machine;
    run_frame();
    ASSERT_TRUE(click_button("Play Game"));
    EXPECT_EQ(current_map_list, &turing_map_list);
    EXPECT_TRUE(current_map_is(state_map_list.data[0].path));
}

TEST_F(MenuMainMenu, EditorEmptiesTheKindsFirstMapKeepingPlaceAndHand) {
    machine_kind = turing_machine;
    array_push(&stack, default_card);
    array_push(&deck, default_card);
    run_frame();
    ASSERT_TRUE(click_button("Editor"));
    EXPECT_TRUE(editor_mode && !main_menu_open);
    EXPECT_EQ(current_map_list, &turing_map_list);
    for (int64_t count : {states.count, transitions.count, stones.count, stack.count, deck.count, goals.count}) {
        EXPECT_EQ(count, 0);
    }
    EXPECT_EQ(map_scale, 1);
    EXPECT_EQ(deck_copies, 1);
    for (int64_t four : {deck_colors, deck_shapes, deck_numbers, tape_length}) EXPECT_EQ(four, 4);
    EXPECT_EQ(win_mode, immediate);
    double kept_x = map_x, kept_y = map_y;
    int64_t kept_hand = hand_size;
    load_map(turing_map_list.data[0].path);
    EXPECT_TRUE(kept_x == map_x && kept_y == map_y && kept_hand == hand_size);
}

TEST_F(MenuMainMenu, QuitStopsRunning) {
    ASSERT_TRUE(click_button("Quit"));
    EXPECT_FALSE(running);
}

class MenuPlayerSetup : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        click_and_show("Play Game");
    }
    // Buttons by place: the count's arrows share their labels with every seat's.
    static double row(int64_t seat) { return center_y() + 224 - 96 * static_cast<double>(seat); }
    static void click_count(int64_t step) { click_at(center_x() + 160 * static_cast<double>(step), center_y() + 320); }

    static void expect_fresh_seat(int64_t seat) {
        const Player& player = players.data[seat];
        EXPECT_TRUE(player.is_computer == 0 && player.difficulty == 0) << "seat " << seat;
        EXPECT_EQ(player.color_index, seat);
        EXPECT_EQ(player.color.b, player_color(static_cast<uint8_t>(seat)).b);
        EXPECT_EQ(player.color.r, player_color(static_cast<uint8_t>(seat)).r);
    }
};

TEST_F(MenuPlayerSetup, CountStaysWithinOneToSixAndNewSeatsStartFresh) {
    ASSERT_EQ(players.count, 3);
    EXPECT_EQ(players.capacity, 3);
    players.data[0].difficulty = 2;
    players.data[2].is_computer = 1;
    click_count(+1);
    click_count(+1);
    EXPECT_EQ(players.count, 5);
    EXPECT_EQ(players.capacity, 5);
    expect_fresh_seat(3);
    expect_fresh_seat(4);
    for (int i = 0; i < 3; i++) click_count(-1);
    click_count(+1);
    EXPECT_EQ(players.count, 3);
    expect_fresh_seat(2);
    EXPECT_EQ(players.data[0].difficulty, 2);
    for (int i = 0; i < 3; i++) click_count(-1);
    EXPECT_EQ(player_count, 1);
    for (int i = 0; i < 6; i++) click_count(+1);
    EXPECT_EQ(player_count, 6);
    EXPECT_EQ(players.count, 6);
}

TEST_F(MenuPlayerSetup, ColoursWrapAndDifficultyClampsAndOutlivesAHumanSpell) {
    click_at(center_x() - 160, row(0));
    EXPECT_EQ(players.data[0].color_index, 5);
    EXPECT_EQ(players.data[0].color.g, player_color(5).g);
    click_at(center_x() - 32, row(0));
    EXPECT_EQ(players.data[0].color_index, 0);

    click_at(center_x() - 256, row(1));
    EXPECT_EQ(players.data[1].is_computer, 1);
    click_at(center_x() + 64, row(1));
    EXPECT_EQ(players.data[1].difficulty, 0);
    for (int i = 0; i < 4; i++) click_at(center_x() + 256, row(1));
    EXPECT_EQ(players.data[1].difficulty, 3);  // expert, the strongest
    click_at(center_x() - 256, row(1));
    run_frame();
    EXPECT_FALSE(has_button("ai"));
    click_at(center_x() + 64, row(1));  // a human seat has no difficulty buttons
    click_at(center_x() - 256, row(1));
    EXPECT_EQ(players.data[1].difficulty, 3);
}

std::string label_of_button_at(double x, double y) {
    for (int32_t i = 0; i < drawn_button_count; i++) {
        if (drawn_buttons[i].center_x == x && drawn_buttons[i].center_y == y) return button_labels()[static_cast<size_t>(i)];
    }
    return "";
}

TEST_F(MenuPlayerSetup, TheSeatKindGoesHumanAiRemoteAndHumanAgainAndOnlyAComputerShowsItsStrength) {
    const Player& seat = players.data[1];
    std::vector<std::string> kinds;
    for (int i = 0; i < 4; i++) {
        run_frame();
        kinds.push_back(label_of_button_at(center_x() - 256, row(1)));
        bool strength_shown = drew_text("easy");
        EXPECT_EQ(strength_shown, seat.is_computer == 1) << kinds.back();
        EXPECT_FALSE(seat.is_computer && seat.is_remote);
        click_at(center_x() - 256, row(1));
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"human", "ai", "remote", "human"}));
    click_at(center_x() - 256, row(1));
    click_at(center_x() - 256, row(1));
    EXPECT_EQ(seat.is_remote, 1);
    EXPECT_EQ(human_seats(), 2);
}

TEST_F(MenuPlayerSetup, ColourArrowsSkipColoursAnotherSeatHas) {
    ASSERT_EQ(players.data[1].color_index, 1);
    click_at(center_x() - 32, row(0));
    EXPECT_EQ(players.data[0].color_index, 3);  // blue and green are the other seats'
    click_at(center_x() - 160, row(1));
    EXPECT_EQ(players.data[1].color_index, 0);
    click_at(center_x() - 160, row(1));
    EXPECT_EQ(players.data[1].color_index, 5);
}

TEST_F(MenuPlayerSetup, OkOpensTheMapListAndBackTheMainMenu) {
    ASSERT_TRUE(click_button("OK"));
    EXPECT_TRUE(map_list_open && !player_setup_open);
    player_setup_open = true;
    map_list_open = false;
    run_frame();
    ASSERT_TRUE(click_button("Back"));
    EXPECT_TRUE(main_menu_open && !player_setup_open);
}

using MenuMapList = MenuTest;

TEST_F(MenuMapList, ArrowsClampToTheListAndLoadTheChoice) {
    ASSERT_NO_FATAL_FAILURE(open_map_list(state_machine));
    array_clear(&states);
    ASSERT_TRUE(click_button("<"));
    EXPECT_EQ(current_map_index, 0);
    EXPECT_GT(states.count, 0);
    for (int64_t i = 0; i <= state_map_list.count; i++) ASSERT_TRUE(click_button(">"));
    EXPECT_EQ(current_map_index, state_map_list.count - 1);
    EXPECT_TRUE(current_map_is(state_map_list.data[state_map_list.count - 1].path));
}

TEST_F(MenuMapList, PlayStartsAGameButARefusedMapStaysOnTheList) {
    ASSERT_NO_FATAL_FAILURE(open_map_list(pushdown_machine));
    ASSERT_TRUE(click_button("Play"));
    EXPECT_FALSE(main_menu_open || player_setup_open || map_list_open || editor_mode);
    EXPECT_EQ(players.data[0].hand.count, hand_size);

    EmptiedList emptied(&state_map_list);
    restart_at_main_menu();
    ASSERT_NO_FATAL_FAILURE(open_map_list(state_machine));
    EXPECT_FALSE(has_button("<") || has_button(">"));
    array_clear(&states);
    std::string output = output_of([] { EXPECT_TRUE(click_button("Play")); });
    EXPECT_NE(output.find("failed to start game"), std::string::npos);
    EXPECT_TRUE(map_list_open);
}

TEST_F(MenuMapList, BackGoesToTheSetUpAndEditToTheEditor) {
    ASSERT_NO_FATAL_FAILURE(open_map_list(turing_machine));
    ASSERT_TRUE(click_button("Back"));
    EXPECT_TRUE(player_setup_open && !map_list_open);

    player_setup_open = false;
    map_list_open = editor_mode = true;
    run_frame();
    EXPECT_FALSE(has_button("Play") || has_button("Back"));
    ASSERT_TRUE(click_button(">"));
    ASSERT_TRUE(click_button("Edit"));
    EXPECT_TRUE(editor_mode && !map_list_open && !player_setup_open);
    EXPECT_TRUE(current_map_is(turing_map_list.data[1].path));
}

TEST_F(MenuMapList, PreviewShrinksTheMapAroundTheWindowCentre) {
    EmptiedList emptied(&state_map_list);
    ASSERT_NO_FATAL_FAILURE(open_map_list(state_machine));
    map_x = map_y = 0;
    map_scale = 1;
    array_clear(&states);
    array_clear(&transitions);
    array_clear(&stones);
    array_push(&states, State{1200, 0, 0, 1});
    array_push(&states, State{-400, 0, 0, 0});
    run_frame();
    // At a quarter size: the accepting state 300 pixels right of the centre, the other 100 left.
    ScenePixel accepting = scene_pixel(static_cast<int32_t>(center_x() + 300), static_cast<int32_t>(center_y()));
    ScenePixel plain = scene_pixel(static_cast<int32_t>(center_x() - 100), static_cast<int32_t>(center_y()));
    EXPECT_TRUE(accepting.b > 250 && accepting.r > 90 && accepting.r < 115);
    EXPECT_TRUE(plain.b > 30 && plain.b < 45 && plain.r < 25);
}

TEST(MenuFlow, PlayGameOkPlayReachesPlayModeOnEveryKind) {
    for (uint8_t kind : {state_machine, pushdown_machine, turing_machine}) {
        restart_at_main_menu();
        reset_game();
        machine_kind = kind;
        run_frame();
        click_and_show("Play Game");
        click_and_show("OK");
        ASSERT_TRUE(click_button("Play"));
        run_frames(30);
        EXPECT_FALSE(main_menu_open || player_setup_open || map_list_open || editor_mode) << int(kind);
        EXPECT_TRUE(running);
        EXPECT_EQ(current_map_list, list_of(kind));
        EXPECT_GT(states.count, 0);
        EXPECT_EQ(players.count, 3);
    }
}

}  // namespace
