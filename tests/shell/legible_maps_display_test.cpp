// Every shipped map at the camera a new game starts with: each state lies between the two panels,
// and no rule label covers another label or a state. Then the map itself: each rule beside its own
// arrow and clear of everything else, no arrow across a state, and a click on a rule picks its arrow.
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/turn_state.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/arrow_geometry.h"
#include "screen/camera.h"
#include "screen/game_screen.h"
#include "screen/layout.h"
#include "screen/machine_view.h"
#include "screen/map_legibility.h"
#include "shell/application.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Box {
    double left, bottom, right, top;
};

bool overlap(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

// Through the camera, in window pixels.
Box on_screen(double x0, double y0, double x1, double y1) {
    auto screen_x = [](double x) { return (x - camera_x) * camera_zoom + window_width / 2.0; };
    auto screen_y = [](double y) { return (y - camera_y) * camera_zoom + window_height / 2.0; };
    return Box{screen_x(x0), screen_y(y0), screen_x(x1), screen_y(y1)};
}

std::string text_of(string s) { return std::string(s.data, static_cast<size_t>(s.length)); }

class LegibleMaps : public ::testing::Test {
protected:
    void SetUp() override { restart_at_main_menu(); }
};

TEST_F(LegibleMaps, AtTheStartingCameraNoLabelCoversALabelOrAStateAndNoStateIsUnderAPanel) {
    int checked = 0;
    for (GrowableArray<MapListEntry>* list : {&state_map_list, &pushdown_map_list, &turing_map_list}) {
        for (int64_t m = 0; m < list->count; m++) {
            std::string name = text_of(list->data[m].name);
            ASSERT_TRUE(load_map(list->data[m].path)) << name;
            frame_whole_map();
            std::vector<Box> states_seen, labels;
            for (int64_t i = 0; i < states.count; i++) {
                float x, y;
                state_center(static_cast<int16_t>(i), &x, &y);
                Box box = on_screen(x - 32, y - 32, x + 32, y + 32);
                EXPECT_GE(box.bottom, bottom_panel_height) << name << " state " << i;
                EXPECT_LE(box.top, window_height - top_panel_height) << name << " state " << i;
                EXPECT_GE(box.left, 0) << name << " state " << i;
                EXPECT_LE(box.right, window_width) << name << " state " << i;
                states_seen.push_back(box);
            }
            for (int64_t i = 0; i < transitions.count; i++) {
                const Transition& t = transitions.data[i];
                if (t.rule.length == 0) continue;
                WorldBox world = label_box(t);
                Box box = on_screen(world.x, world.y, world.x + world.width, world.y + world.height);
                for (size_t s = 0; s < states_seen.size(); s++) {
                    EXPECT_FALSE(overlap(box, states_seen[s])) << name << " label " << text_of(t.rule) << " on state " << s;
                }
                for (size_t l = 0; l < labels.size(); l++) {
                    EXPECT_FALSE(overlap(box, labels[l])) << name << " label " << text_of(t.rule) << " on label " << l;
                }
                labels.push_back(box);
            }
            checked++;
        }
    }
    EXPECT_EQ(checked, 16);
}

TEST_F(LegibleMaps, EveryShippedMapReadsTheWayItPlays) {
    int checked = 0;
    for (GrowableArray<MapListEntry>* list : {&state_map_list, &pushdown_map_list, &turing_map_list}) {
        for (int64_t m = 0; m < list->count; m++) {
            ASSERT_TRUE(load_map(list->data[m].path));
            LegibilityFault faults[64];
            int64_t count = find_legibility_faults(faults, 64);
            for (int64_t i = 0; i < count; i++) {
                ADD_FAILURE() << text_of(list->data[m].name) << ": " << text_of(legibility_fault_text(faults[i], FRAME_ARENA));
            }
            checked++;
        }
    }
    EXPECT_EQ(checked, 16);
}

// Known faults on small maps, each named as the editor's notice names it.
TEST_F(LegibleMaps, TheCheckNamesARuleBesideTheWrongArrowAndAnArrowAcrossAState) {
    map_scale = 128, map_x = 0, map_y = 0;
    states = {}, transitions = {};
    for (double x : {-1.5, 0.0, 1.5}) array_push(&states, State{x, 0, 0, 0});
    array_push(&transitions, Transition{0, 1, 1, 0, -28, str("6R")});  // on the side of 1 -> 0
    array_push(&transitions, Transition{1, 0, 1, 0, 28, str("2L")});
    LegibilityFault faults[4];
    ASSERT_EQ(find_legibility_faults(faults, 4), 2);
    EXPECT_EQ(text_of(legibility_fault_text(faults[0], FRAME_ARENA)), "The rule of 0 -> 1 stands nearer 1 -> 0");
    EXPECT_EQ(text_of(legibility_fault_text(faults[1], FRAME_ARENA)), "The rule of 1 -> 0 stands nearer 0 -> 1");
    transitions.data[0].label_dy = 28, transitions.data[1].label_dy = -28;
    EXPECT_EQ(find_legibility_faults(faults, 4), 0);
    transitions.count = 0;
    array_push(&transitions, Transition{0, 2, 0, 0, 0, string{nullptr, 0}});
    ASSERT_EQ(find_legibility_faults(faults, 1), 1);
    EXPECT_EQ(text_of(legibility_fault_text(faults[0], FRAME_ARENA)), "The arrow 0 -> 2 crosses state 1");
    transitions.data[0].bend = 5;  // bent clear of state 1
    EXPECT_EQ(find_legibility_faults(faults, 4), 0);
    transitions.data[0].rule = str("A"), transitions.data[0].label_dx = 96, transitions.data[0].label_dy = 40;
    ASSERT_EQ(find_legibility_faults(faults, 4), 1);
    EXPECT_EQ(text_of(legibility_fault_text(faults[0], FRAME_ARENA)), "The rule of 0 -> 2 lies on its own arrow");
}

// In play, as a player clicks: the middle of each rule text (of each arrow on a state machine)
// picks that arrow, its ends becoming the source and the target.
TEST_F(LegibleMaps, AClickOnTheMiddleOfARuleTextPicksItsArrow) {
    struct Kind {
        uint8_t kind;
        GrowableArray<MapListEntry>* list;
        const char* map;
    };
    for (Kind k : {Kind{state_machine, &state_map_list, "stepping_stones"}, Kind{pushdown_machine, &pushdown_map_list, "follow_the_top"},
                   Kind{turing_machine, &turing_map_list, "number_line"}}) {
        machine_kind = k.kind, current_map_list = k.list, current_map_index = -1;
        for (int64_t m = 0; m < k.list->count; m++) current_map_index = text_of(k.list->data[m].name) == k.map ? m : current_map_index;
        ASSERT_GE(current_map_index, 0) << k.map;
        array_clear(&players);
        array_push(&players, new_player(0));
        array_push(&players, new_player(1));
        players.data[1].is_computer = 1;
        player_count = 2;
        ASSERT_TRUE(restart_game());
        main_menu_open = false;
        run_frame();
        for (int64_t i = 0; i < transitions.count; i++) {
            const Transition& t = transitions.data[i];
            WorldBox box = label_box(t);
            TurnedBox shaft = arrow_pieces(t).piece[0];
            double x = t.rule.length > 0 ? box.x + box.width / 2 : shaft.center_x;
            double y = t.rule.length > 0 ? box.y + box.height / 2 : shaft.center_y;
            move_mouse((x - camera_x) * camera_zoom + window_width / 2.0, (y - camera_y) * camera_zoom + window_height / 2.0);
            push_mouse_button(SDL_BUTTON_LEFT, true);
            run_frame();
            EXPECT_EQ(selected_transition, i) << k.map << " " << t.from << " -> " << t.to;
            EXPECT_TRUE(source_state == t.from && target_state == t.to) << k.map << " " << t.from << " -> " << t.to;
            source_state = target_state = -1;  // no move: the next click starts afresh
            push_mouse_button(SDL_BUTTON_LEFT, false);
            run_frame();
        }
    }
}

// A Turing machine's top-left texts end before the heads-up width its tape keeps clear of.
TEST_F(LegibleMaps, TheTuringHeadsUpTextsFitTheirCorner) {
    for (const char* text : {"turing machine!", "immediate", "all accepting", "any accepting"}) {
        EXPECT_LT(16 + measure_text(str(text), 256, false).width, heads_up_width) << text;
    }
}

}  // namespace
