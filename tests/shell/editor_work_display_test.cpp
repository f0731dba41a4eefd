// The editor keeps the user's work: undo and redo of every kind of edit, questions before unsaved
// edits or files go, a clean selection on every map opened, fast typing, saves that say what they
// did, and panels whose texts and buttons never cover each other.
#include "model/game_data.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/turn_state.h"
#include "screen/layout.h"
#include "screen/text_entry.h"
#include "screen/ui.h"
#include "shell/application.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string text_of(string text) { return std::string(text.data ? text.data : "", static_cast<size_t>(text.length)); }
std::string map_text() { return text_of(write_map()); }

bool drew_text(const std::string& wanted) {
    for (int32_t i = 0; i < drawn_text_count; i++) {
        if (text_of(drawn_texts[i].label) == wanted) return true;
    }
    return false;
}

void type_text(const std::string& text) {
    for (char c : text) press_key(static_cast<SDL_Scancode>(SDL_SCANCODE_A + (c - 'a')));
}

// Saving and deleting happen in a folder of the test's own, with empty map lists.
class EditorWork : public ::testing::Test {
protected:
    fs::path home = fs::current_path();
    fs::path folder = fs::temp_directory_path() / "varnholt_editor_work";
    GrowableArray<MapListEntry> kept[3] = {state_map_list, pushdown_map_list, turing_map_list};

    void SetUp() override {
        restart_at_main_menu();
        fs::remove_all(folder);
        fs::create_directories(folder / "resources");
        fs::current_path(folder);
        state_map_list = pushdown_map_list = turing_map_list = {};
        open_editor(pushdown_machine);
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(folder);
        state_map_list = kept[0];
        pushdown_map_list = kept[1];
        turing_map_list = kept[2];
    }
    static void open_editor(uint8_t kind) {
        if (!main_menu_open) press_key(SDL_SCANCODE_ESCAPE);
        machine_kind = kind;
        ASSERT_TRUE(click_button("Editor"));
        run_frame();
    }
    static void point_at(double x, double y) { move_mouse(window_width / 2.0 + x, window_height / 2.0 + y); }
    static void click_world(double x, double y) { click_at(window_width / 2.0 + x, window_height / 2.0 + y); }
    static void save_as(const std::string& name) {
        press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
        type_text(name);
        press_key(SDL_SCANCODE_RETURN);
        run_frame();
    }
};

TEST_F(EditorWork, UndoAndRedoWalkBackAndForthThroughEveryKindOfEdit) {
    open_editor(turing_machine);
    std::vector<std::string> steps{map_text()};
    auto edit = [&](void (*action)()) {
        action();
        run_frame();
        EXPECT_NE(map_text(), steps.back()) << steps.size();
        steps.push_back(map_text());
    };
    edit([] {
        point_at(0, 0);
        press_key(SDL_SCANCODE_1);
    });
    edit([] { press_key(SDL_SCANCODE_3); });
    edit([] { press_key(SDL_SCANCODE_3); });
    edit([] {  // shift + "remove" takes one stone and keeps the state
        hold_key(SDL_SCANCODE_LSHIFT);
        click_button("remove");
        release_key(SDL_SCANCODE_LSHIFT);
    });
    edit([] {
        point_at(128, 0);
        press_key(SDL_SCANCODE_1);
    });
    edit([] { press_key(SDL_SCANCODE_U); });
    edit([] { press_key(SDL_SCANCODE_L); });
    edit([] {
        click_world(0, 0);
        press_key(SDL_SCANCODE_2);
    });
    edit([] { press_key(SDL_SCANCODE_U); });
    // A rule asked for in the frame after a name is confirmed does not drop that save.
    edit([] {
        press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
        type_text("w");
        press_key(SDL_SCANCODE_RETURN);
        click_button("change rule");
        type_text("al");
        press_key(SDL_SCANCODE_RETURN);
    });
    EXPECT_TRUE(fs::exists("custom_turing_machines/w"));
    edit([] { click_button(">", 0); });  // decks
    edit([] { click_button(">", 4); });  // win mode
    edit([] { click_button(">", 5); });  // tape length
    edit([] {
        click_button("add goal");
        run_frame();
        click_button("OK");
    });
    edit([] {
        click_world(0, 0);  // the target again: only the source stays selected
        press_key(SDL_SCANCODE_DELETE);
    });
    EXPECT_EQ(states.count, 1);

    for (size_t i = steps.size() - 1; i-- > 0;) {
        press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_Z);
        ASSERT_EQ(map_text(), steps[i]) << i;
    }
    for (size_t i = 1; i < steps.size(); i++) {
        if (i % 2) {
            press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_Y);
        } else {
            hold_key(SDL_SCANCODE_LSHIFT);
            press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_Z);
            release_key(SDL_SCANCODE_LSHIFT);
        }
        ASSERT_EQ(map_text(), steps[i]) << i;
    }
}

TEST_F(EditorWork, UnsavedEditsGoOnlyAfterAQuestion) {
    press_key(SDL_SCANCODE_ESCAPE);  // nothing to lose
    ASSERT_TRUE(main_menu_open);
    open_editor(pushdown_machine);
    press_key(SDL_SCANCODE_1);
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_O);
    EXPECT_FALSE(map_list_open);
    EXPECT_TRUE(drew_text("Discard unsaved changes?"));
    ASSERT_TRUE(click_button("Cancel"));
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(drew_text("Discard unsaved changes?"));
    press_key(SDL_SCANCODE_ESCAPE);  // answers no
    EXPECT_FALSE(drew_text("Discard unsaved changes?"));
    SDL_Event close{};
    close.type = SDL_QUIT;
    SDL_PushEvent(&close);
    run_frame();
    EXPECT_TRUE(running);
    EXPECT_TRUE(drew_text("Discard unsaved changes?"));
    press_key(SDL_SCANCODE_N);
    EXPECT_TRUE(editor_mode && running);
    EXPECT_EQ(states.count, 1);

    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_Z);  // back to what was saved: nothing to ask
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(main_menu_open);
    open_editor(pushdown_machine);
    press_key(SDL_SCANCODE_1);
    press_key(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(click_button("Discard"));
    EXPECT_TRUE(main_menu_open);
}

TEST_F(EditorWork, EveryMapOpenedStartsWithNothingSelected) {
    press_key(SDL_SCANCODE_ESCAPE);
    source_state = 2;  // left over from a game
    open_editor(pushdown_machine);
    EXPECT_EQ(source_state, -1);
    press_key(SDL_SCANCODE_3);
    EXPECT_EQ(stones.count, 0);
    point_at(0, 0);
    press_key(SDL_SCANCODE_1);
    click_world(0, 0);
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_O);
    press_key(SDL_SCANCODE_Y);
    ASSERT_TRUE(map_list_open);
    run_frame();
    ASSERT_TRUE(click_button("Edit"));
    run_frame();
    press_key(SDL_SCANCODE_2);
    EXPECT_EQ(transitions.count, 0);
    EXPECT_EQ(source_state, -1);
    EXPECT_EQ(target_state, -1);
}

TEST_F(EditorWork, ALongNameTypedFasterThanFramesIsKeptAndShownWithItsFile) {
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
    std::string expected;
    for (int i = 0; i < 120; i++) {
        SDL_Scancode key = i % 7 == 6 ? SDL_SCANCODE_BACKSPACE : static_cast<SDL_Scancode>(SDL_SCANCODE_A + i % 26);
        hold_key(key);
        release_key(key);
        if (key == SDL_SCANCODE_BACKSPACE) {
            expected.pop_back();
        } else {
            expected += static_cast<char>('a' + i % 26);
        }
        if (i % 60 == 59) run_frame();  // sixty presses to a frame
    }
    EXPECT_EQ(text_of(typed_text()), expected);
    // The name and the file it becomes are too long for the dialog: each shows its end.
    std::string file = "file: custom_pushdown_machines/" + expected;
    int ends_shown = 0;
    for (int32_t i = 0; i < drawn_text_count; i++) {
        std::string shown = text_of(drawn_texts[i].label);
        EXPECT_LE(drawn_texts[i].width, dialog_width) << shown;
        bool end_of_file = shown.size() > 13 && shown.rfind("...", 0) == 0 &&
                           file.compare(file.size() - (shown.size() - 3), std::string::npos, shown, 3) == 0;
        ends_shown += end_of_file;
    }
    EXPECT_EQ(ends_shown, 2);
    press_key(SDL_SCANCODE_RETURN);
    run_frame();
    EXPECT_TRUE(fs::exists("custom_pushdown_machines/" + expected));
}

TEST_F(EditorWork, SavesShowWhatTheyDidAndAskBeforeReplacingAnotherMap) {
    press_key(SDL_SCANCODE_1);
    save_as("");
    EXPECT_TRUE(drew_text("not saved: the name is empty"));
    save_as("dup");
    EXPECT_TRUE(drew_text("saved as custom_pushdown_machines/dup"));
    save_as("dup");  // the file saved last: no question
    EXPECT_FALSE(drew_text("A map of that name exists. Replace it?"));
    open_editor(pushdown_machine);
    save_as("dup");
    EXPECT_TRUE(drew_text("A map of that name exists. Replace it?"));
    EXPECT_TRUE(drew_text("custom_pushdown_machines/dup"));
    ASSERT_TRUE(click_button("Replace"));
    ASSERT_EQ(pushdown_map_list.count, 1);
    EXPECT_EQ(text_of(pushdown_map_list.data[0].path), "custom_pushdown_machines/dup");
    std::ifstream saved("custom_pushdown_machines/dup");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), map_text());
}

// Boxes of every button and text drawn in the two panels, for each kind at the window's size.
TEST_F(EditorWork, NothingInThePanelsCoversAnythingElse) {
    for (uint8_t kind : {state_machine, pushdown_machine, turing_machine}) {
        open_editor(kind);
        win_mode = 5;
        if (kind == turing_machine) {
            click_button("add goal");
            click_button("<", 7);  // the builder's kind: 0 wraps to 9, the longest description
            click_button("OK");
        }
        save_as("status");
        EXPECT_EQ(win_mode, 5);  // looked at, never changed
        struct Box {
            std::string what;
            double left, bottom, width, height;
        };
        std::vector<Box> boxes;
        std::vector<DrawnBox> drawn(drawn_buttons, drawn_buttons + drawn_button_count);
        drawn.insert(drawn.end(), drawn_texts, drawn_texts + drawn_text_count);
        for (const DrawnBox& b : drawn) {
            boxes.push_back({text_of(b.label), b.center_x - b.width / 2, b.center_y - b.height / 2, b.width, b.height});
        }
        double top_panel = window_height - top_panel_height;
        size_t in_panels = 0;
        for (size_t i = 0; i < boxes.size(); i++) {
            const Box& a = boxes[i];
            bool in_top = a.bottom >= top_panel, in_bottom = a.bottom + a.height <= bottom_panel_height;
            in_panels += in_top || in_bottom;
            EXPECT_TRUE(a.left >= 0 && a.left + a.width <= window_width && a.bottom + a.height <= window_height)
                << a.what;
            EXPECT_TRUE(in_top || in_bottom || (a.bottom >= bottom_panel_height && a.bottom + a.height <= top_panel))
                << a.what << " lies across a panel's edge";
            for (size_t j = i + 1; j < boxes.size(); j++) {
                const Box& b = boxes[j];
                bool overlap = a.left < b.left + b.width && b.left < a.left + a.width && a.bottom < b.bottom + b.height &&
                               b.bottom < a.bottom + a.height;
                EXPECT_FALSE(overlap) << "kind " << int(kind) << ": " << a.what << " covers " << b.what;
            }
        }
        EXPECT_GE(in_panels, kind == turing_machine ? 30u : 10u);
    }
}

}  // namespace
