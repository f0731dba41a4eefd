#include "model_fixture.h"

#include "model/map_history.h"

namespace {

class MapHistory : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        reset_map_history();
        array_push(&states, State{0, 0, 1, 0});
        start_map_history();
    }
};

// One edit a step: the ring keeps the newest steps, undo stops at the oldest kept.
TEST_F(MapHistory, UndoReachesBackAsFarAsTheRingHoldsAndRedoReturns) {
    int64_t edits = map_history_capacity + 100;
    for (int64_t i = 1; i <= edits; i++) {
        states.data[0].x = static_cast<double>(i);
        EXPECT_TRUE(record_map_edit());
    }
    EXPECT_FALSE(record_map_edit());
    int64_t undone = 0;
    while (undo_map_edit()) undone++;
    EXPECT_EQ(undone, map_history_capacity - 1);
    EXPECT_GE(undone, 256);
    EXPECT_EQ(states.data[0].x, static_cast<double>(edits - undone));
    EXPECT_EQ(states.data[0].marked, 1);  // a flag the file format drops comes back too
    EXPECT_TRUE(map_has_unsaved_edits());  // the saved step fell out of the ring
    while (redo_map_edit()) undone--;
    EXPECT_EQ(undone, 0);
    EXPECT_EQ(states.data[0].x, static_cast<double>(edits));
}

TEST_F(MapHistory, AnEditAfterUndoDropsTheStepsRedoWouldHaveBroughtBack) {
    states.data[0].accepting = 1;
    mark_map_saved();
    EXPECT_FALSE(map_has_unsaved_edits());
    array_push(&stones, int16_t{0});
    EXPECT_TRUE(map_has_unsaved_edits());
    EXPECT_TRUE(undo_map_edit());
    EXPECT_FALSE(map_has_unsaved_edits());
    win_mode = 2;
    EXPECT_TRUE(record_map_edit());
    EXPECT_FALSE(redo_map_edit());
    EXPECT_EQ(stones.count, 0);
    EXPECT_TRUE(undo_map_edit());
    EXPECT_EQ(win_mode, 0);
    EXPECT_EQ(states.data[0].accepting, 1);
}

}  // namespace
