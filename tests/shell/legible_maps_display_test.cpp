// Every shipped map at the camera a new game starts with: each state lies between the two panels,
// and no rule label covers another label or a state.
#include "model/map_file.h"
#include "model/map_list.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/camera.h"
#include "screen/layout.h"
#include "screen/machine_view.h"
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

// A Turing machine's top-left texts end before the heads-up width its tape keeps clear of.
TEST_F(LegibleMaps, TheTuringHeadsUpTextsFitTheirCorner) {
    for (const char* text : {"turing machine!", "immediate", "all accepting", "any accepting"}) {
        EXPECT_LT(16 + measure_text(str(text), 256, false).width, heads_up_width) << text;
    }
}

}  // namespace
