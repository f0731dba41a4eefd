// The editor in the running frame loop: entered from the main menu, keys and buttons that build a
// machine, typing, saving, the map list from ctrl+O and its "Delete"; then that it keeps the user's
// work (undo, questions, clean selections) and keeps its panels legible.
#include "model/game_data.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/map_save.h"
#include "model/turn_state.h"
#include "screen/editor.h"
#include "screen/goal_builder.h"
#include "screen/heads_up.h"
#include "screen/layout.h"
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

std::string text_of(string text) { return std::string(text.data ? text.data : "", static_cast<size_t>(text.length)); }

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
    static std::string typed() { return text_of(typed_text()); }
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

// Of two transitions between the same states, clicking the second's label picks it for editing.
TEST_F(Editor, EachOfTwoTransitionsBetweenTheSameStatesCanBePicked) {
    array_push(&states, State{-128, 0, 0, 0});
    array_push(&states, State{128, 0, 0, 0});
    array_push(&transitions, Transition{0, 1, 0, 0, 48, str("A")});
    array_push(&transitions, Transition{0, 1, 0, 0, -48, str("B")});
    click_world(0, -48);
    EXPECT_EQ(selected_transition, 1);
    EXPECT_EQ(source_state, 0);
    EXPECT_EQ(target_state, 1);
    press_key(SDL_SCANCODE_DELETE);
    ASSERT_EQ(transitions.count, 1);
    EXPECT_EQ(text_of(transitions.data[0].rule), "A");
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

// On a slow frame Ctrl+S can go down and up before the frame reads it: it opens the dialog, and
// the letter after it is typed.
TEST_F(Editor, AShortcutPressedAndLetGoWithinOneFrameActsAsTheShortcutOnly) {
    hold_key(SDL_SCANCODE_LCTRL);
    hold_key(SDL_SCANCODE_S);
    release_key(SDL_SCANCODE_S);
    release_key(SDL_SCANCODE_LCTRL);
    hold_key(SDL_SCANCODE_W);
    release_key(SDL_SCANCODE_W);
    run_frame();
    ASSERT_TRUE(entry_open);
    EXPECT_EQ(typed(), "w");
    ASSERT_TRUE(click_button("Cancel"));
    run_frame();
    // Ctrl+O so quick is still no O: the selected state keeps its accepting mark.
    point_at(0, 0);
    press_key(SDL_SCANCODE_1);
    press_key(SDL_SCANCODE_U);
    ASSERT_EQ(states.data[0].accepting, 1);
    hold_key(SDL_SCANCODE_LCTRL);
    hold_key(SDL_SCANCODE_O);
    release_key(SDL_SCANCODE_O);
    release_key(SDL_SCANCODE_LCTRL);
    run_frame();
    EXPECT_EQ(states.data[0].accepting, 1);
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
    bool asked = drew_text("Delete the map one?") && drew_text("custom_pushdown_machines/one");
    click_button("Cancel");
    run_frame();
    bool kept_on_cancel = fs::exists("custom_pushdown_machines/one") && !drew_text("Delete the map one?");
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

// Saves go to a folder of the test's own, with empty map lists.
class EditorWork : public Editor {
protected:
    fs::path home = fs::current_path(), folder = fs::temp_directory_path() / "varnholt_editor_work";
    GrowableArray<MapListEntry> kept[3];
    void SetUp() override {
        Editor::SetUp();
        kept[0] = state_map_list, kept[1] = pushdown_map_list, kept[2] = turing_map_list;
        state_map_list = pushdown_map_list = turing_map_list = {};
        fs::create_directories(folder / "resources"), fs::current_path(folder);
    }
    void TearDown() override {
        fs::current_path(home), fs::remove_all(folder);
        state_map_list = kept[0], pushdown_map_list = kept[1], turing_map_list = kept[2];
        Editor::TearDown();
    }
    static std::string map_text() { return text_of(write_map()); }
    static void type_text(const std::string& text) { for (char c : text) press_key(SDL_Scancode(SDL_SCANCODE_A + c - 'a')); }
    static void open_editor(uint8_t kind) {
        if (!main_menu_open) press_key(SDL_SCANCODE_ESCAPE);
        machine_kind = kind;
        click_button("Editor"), run_frame();
    }
    static void save_as(const std::string& name) {
        press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
        entry_text.count = 0;  // the dialog offers the name saved last
        type_text(name);
        press_key(SDL_SCANCODE_RETURN);
        run_frame();
    }
};

TEST_F(EditorWork, UndoAndRedoWalkBackAndForthThroughEveryKindOfEdit) {
    open_editor(turing_machine);
    void (*const edits[])() = {
        [] { point_at(0, 0), press_key(SDL_SCANCODE_1); },
        [] { press_key(SDL_SCANCODE_3); },
        [] { press_key(SDL_SCANCODE_3); },
        [] { hold_key(SDL_SCANCODE_LSHIFT), click_button("remove"), release_key(SDL_SCANCODE_LSHIFT); },  // one stone
        [] { point_at(128, 0), press_key(SDL_SCANCODE_1); },
        [] { press_key(SDL_SCANCODE_U); },
        [] { press_key(SDL_SCANCODE_L); },
        [] { click_world(0, 0), press_key(SDL_SCANCODE_2); },
        [] { press_key(SDL_SCANCODE_U); },
        [] {  // a rule asked for in the frame after a name is confirmed keeps that save
            press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S), type_text("w"), press_key(SDL_SCANCODE_RETURN);
            click_button("change rule"), type_text("a"), press_key(SDL_SCANCODE_RETURN);
        },
        [] { click_button(">", 0); },  // decks, then win mode and tape length in the bottom rows
        [] { click_button(">", 4); },
        [] { click_button(">", 5); },
        [] { click_button("add goal"), run_frame(), click_button("OK"); },
        [] { click_world(0, 0), press_key(SDL_SCANCODE_DELETE); },  // only the source stays selected
    };
    std::vector<std::string> steps{map_text()};
    for (auto edit : edits) {
        edit(), run_frame();
        EXPECT_NE(map_text(), steps.back()) << steps.size();
        steps.push_back(map_text());
    }
    EXPECT_TRUE(fs::exists("custom_turing_machines/w"));
    for (size_t i = steps.size() - 1; i-- > 0;) {
        press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_Z);
        ASSERT_EQ(map_text(), steps[i]) << i;
    }
    for (size_t i = 1; i < steps.size(); i++) {
        if (i % 2) hold_key(SDL_SCANCODE_LSHIFT);
        press_key_with(SDL_SCANCODE_LCTRL, i % 2 ? SDL_SCANCODE_Z : SDL_SCANCODE_Y);
        if (i % 2) release_key(SDL_SCANCODE_LSHIFT);
        ASSERT_EQ(map_text(), steps[i]) << i;
    }
}

TEST_F(EditorWork, UnsavedEditsGoOnlyAfterAQuestionAndEveryMapOpensUnselected) {
    const std::string question = "Discard unsaved changes?";
    press_key(SDL_SCANCODE_1);
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_O);
    EXPECT_TRUE(drew_text(question) && !map_list_open);
    ASSERT_TRUE(click_button("Cancel"));
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(drew_text(question));
    press_key(SDL_SCANCODE_ESCAPE);  // answers no
    SDL_Event close{SDL_QUIT};
    SDL_PushEvent(&close);
    run_frame();
    EXPECT_TRUE(drew_text(question) && running);
    press_key(SDL_SCANCODE_N);
    EXPECT_TRUE(editor_mode && running && states.count == 1);
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_Z);  // back to the map as opened: nothing to ask
    press_key(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(main_menu_open);

    source_state = 2;  // left over from a game
    open_editor(pushdown_machine);
    EXPECT_EQ(source_state, -1);
    point_at(0, 0);
    press_key(SDL_SCANCODE_1);
    click_world(0, 0);
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_O);
    press_key(SDL_SCANCODE_Y);
    run_frame();
    ASSERT_TRUE(map_list_open && click_button("Edit"));
    run_frame();
    press_key(SDL_SCANCODE_2);
    EXPECT_EQ(transitions.count, 0);
    press_key(SDL_SCANCODE_1);
    press_key(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(click_button("Discard"));
    EXPECT_TRUE(main_menu_open);
}

TEST_F(EditorWork, ClosingTheWindowAsksBeforeUnsavedEditsGoWhateverDialogOrQuestionIsUp) {
    const std::string question = "Discard unsaved changes?";
    open_editor(turing_machine);
    point_at(0, 0), press_key(SDL_SCANCODE_1);
    point_at(128, 0), press_key(SDL_SCANCODE_1);
    click_world(0, 0), click_world(128, 0), press_key(SDL_SCANCODE_2);
    save_as("first");
    save_as("second");
    press_key(SDL_SCANCODE_U);  // bends the arrow: an edit not saved
    void (*const opens[])() = {
        [] { click_button("change rule"), run_frame(); },
        [] { press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S); },
        [] { click_button("add goal"), run_frame(); },
        [] { save_as("first"); },  // "Replace it?"
    };
    for (size_t state = 0; state < std::size(opens); state++) {
        opens[state]();
        ASSERT_TRUE(editor_dialog_open()) << state;
        SDL_Event close{SDL_QUIT};
        SDL_PushEvent(&close);
        run_frame();
        EXPECT_TRUE(running && drew_text(question)) << state;
        press_key(SDL_SCANCODE_N);
        if (entry_open || goal_builder_open) click_button("Cancel"), run_frame();
        EXPECT_FALSE(editor_dialog_open()) << state;
    }
    SDL_Event close{SDL_QUIT};
    SDL_PushEvent(&close);
    run_frame();
    ASSERT_TRUE(running && drew_text(question));
    SDL_PushEvent(&close);  // asked already: closing again goes ahead
    run_frame();
    EXPECT_FALSE(running);
}

TEST_F(EditorWork, ALongNameTypedFasterThanFramesIsKeptWhole) {
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
    std::string expected;
    for (int i = 0; i < 120; i++) {
        SDL_Scancode key = i % 7 == 6 ? SDL_SCANCODE_BACKSPACE : static_cast<SDL_Scancode>(SDL_SCANCODE_A + i % 26);
        hold_key(key);
        release_key(key);
        key == SDL_SCANCODE_BACKSPACE ? expected.pop_back() : expected.push_back(static_cast<char>('a' + i % 26));
        if (i % 60 == 59) run_frame();  // sixty presses to a frame
    }
    EXPECT_EQ(text_of(typed_text()), expected);
    int ends_shown = 0;  // too long for the dialog, the name and the file it becomes each show their end
    for (int32_t i = 0; i < drawn_text_count; i++) {
        std::string shown = text_of(drawn_texts[i].label), end = shown.substr(std::min<size_t>(3, shown.size()));
        ends_shown += shown.rfind("...", 0) == 0 && expected.rfind(end) == expected.size() - end.size() &&
                      drawn_texts[i].width < dialog_width;
    }
    EXPECT_EQ(ends_shown, 2);
}

// Each kind at the window's size, with a save's line shown; on the pushdown map that save first asks
// before it takes over the list entry of a shipped map of the same name.
TEST_F(EditorWork, NothingInThePanelsCoversAnythingElse) {
    array_push(&pushdown_map_list, MapListEntry{str("status"), str("resources/maps/pushdown/status")});
    for (uint8_t kind : {state_machine, pushdown_machine, turing_machine}) {
        open_editor(kind);
        win_mode = 5;
        if (kind == turing_machine) {
            click_button("add goal");
            click_button("<", 7);  // the builder's kind: 0 wraps to 9, the longest description
            click_button("OK");
        }
        save_as("status");
        if (kind == pushdown_machine) {
            EXPECT_TRUE(drew_text("A map of that name exists. Replace it?") && drew_text("resources/maps/pushdown/status"));
            ASSERT_TRUE(click_button("Replace"));
            run_frame();
            ASSERT_EQ(pushdown_map_list.count, 1);
            EXPECT_EQ(text_of(pushdown_map_list.data[0].path), "custom_pushdown_machines/status");
        }
        EXPECT_EQ(win_mode, 5);  // looked at, never changed
        std::vector<DrawnBox> boxes(drawn_buttons, drawn_buttons + drawn_button_count);
        boxes.insert(boxes.end(), drawn_texts, drawn_texts + drawn_text_count);
        double top_panel = window_height - top_panel_height;
        size_t in_panels = 0;
        for (DrawnBox& a : boxes) a.center_x -= a.width / 2, a.center_y -= a.height / 2;  // now the corner
        for (size_t i = 0; i < boxes.size(); i++) {
            const DrawnBox& a = boxes[i];
            in_panels += a.center_y >= top_panel || a.center_y + a.height <= bottom_panel_height;
            for (size_t j = i + 1; j < boxes.size(); j++) {
                const DrawnBox& b = boxes[j];
                EXPECT_FALSE(a.center_x < b.center_x + b.width && b.center_x < a.center_x + a.width &&
                             a.center_y < b.center_y + b.height && b.center_y < a.center_y + a.height)
                    << "kind " << int(kind) << ": " << text_of(a.label) << " covers " << text_of(b.label);
            }
        }
        EXPECT_GE(in_panels, kind == turing_machine ? 30u : 10u);
    }
}

// The arrow key 2 adds runs from the state tagged "from" to the one tagged "to", as the heads-up
// line says; a state with two stones shows a badge with their count.
TEST_F(Editor, TheNextArrowsEndsAreNamedAndAPileOfStonesIsCounted) {
    point_at(0, 0), press_key(SDL_SCANCODE_1);
    point_at(160, 0), press_key(SDL_SCANCODE_1);
    run_frame();
    EXPECT_TRUE(drew_text("arrow 1 -> ?"));
    click_world(0, 0);
    run_frame();
    EXPECT_TRUE(drew_text("arrow 1 -> 0"));
    auto badge = [] { return scene_pixel(static_cast<int32_t>(window_width / 2 + 8), static_cast<int32_t>(window_height / 2 - 18)); };
    array_push(&stones, int16_t{0});
    run_frame();
    EXPECT_FALSE(badge().r > 200 && badge().g > 150 && badge().b < 100);
    array_push(&stones, int16_t{0});
    run_frame();
    EXPECT_TRUE(badge().r > 200 && badge().g > 150 && badge().b < 100);
}

// The rule dialog starts from the arrow's rule and refuses one it cannot read; the name dialog starts
// from the name saved last; a save goes ahead with the first legibility fault in a notice.
TEST_F(EditorWork, DialogsStartFromWhatTheyChangeAndAnUnreadableRuleIsRefused) {
    array_push(&states, State{-128, 0, 0, 0});
    array_push(&states, State{128, 0, 0, 0});
    array_push(&transitions, Transition{0, 1, 0, 0, 48, str("A")});
    click_world(0, 48);
    ASSERT_TRUE(click_button("change rule"));
    run_frame();
    EXPECT_EQ(typed(), "A");
    press_key(SDL_SCANCODE_BACKSPACE);
    press_key_with(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_Q);
    press_key_with(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_9);
    press_key(SDL_SCANCODE_RETURN);
    run_frame();
    EXPECT_TRUE(entry_open && drew_text("Cannot read character 1: Q"));
    EXPECT_EQ(text_of(transitions.data[0].rule), "A");
    ASSERT_TRUE(click_button("Cancel"));
    save_as("first");
    EXPECT_TRUE(fs::exists("custom_pushdown_machines/first"));
    EXPECT_EQ(text_of(notice_text), "The rule of 0 -> 1 stands far from its arrow");
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
    EXPECT_EQ(typed(), "first");
}

// Opened from the list, the map's name is the one the save dialog offers.
TEST_F(Editor, TheNameDialogOffersTheNameOfTheMapOpened) {
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_O);
    ASSERT_TRUE(click_button("Edit"));
    run_frame();
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
    EXPECT_EQ(typed(), text_of(pushdown_map_list.data[0].name));
}

}  // namespace
