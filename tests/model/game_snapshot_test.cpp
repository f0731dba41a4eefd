// One copy of the game puts everything back: a game played on from a restored snapshot goes
// exactly as it went the first time, draws by repetition included.
#include "model_fixture.h"

#include "model/game_snapshot.h"
#include "model/map_file.h"
#include "model/referee.h"
#include "model/turn_state.h"

namespace {

class GameSnapshotTest : public ModelFixture {};

TEST_F(GameSnapshotTest, AGameRestoredFromItsSnapshotPlaysOnExactlyAsBefore) {
    struct Case {
        uint8_t kind;
        const char* map;
    };
    for (Case c : {Case{pushdown_machine, "resources/maps/pushdown/colour_square.txt"},
                   Case{turing_machine, "resources/maps/turing/long_tape.txt"}}) {
        const char* map = c.map;
        reset_model(c.kind);
        ASSERT_TRUE(load_map(str(map))) << map;
        add_players(3, true, 2);
        ASSERT_TRUE(start_game());
        play_until_over(4);
        GameSnapshot snapshot = new_game_snapshot(PERSISTENT_ARENA);
        take_game_snapshot(&snapshot, snapshot_whole);
        GameResult first = play_until_over(200);
        ASSERT_GT(first.turns, 0) << map;
        restore_game_snapshot(snapshot, snapshot_whole);
        GameResult again = play_until_over(200);
        EXPECT_EQ(again.trace, first.trace) << map;
        EXPECT_EQ(again.winner, first.winner) << map;
    }
}

TEST_F(GameSnapshotTest, TheRepetitionsSeenComeBackWithTheSnapshot) {
    reset_model(state_machine);
    ASSERT_TRUE(load_map_text("win 1\nstone 0\n. 0 0\n. 1 0\n. 2 0\n=> 0 1 0 0 0 \"\"\n=> 1 2 0 0 0 \"\"\n"
                              "=> 2 0 0 0 0 \"\"\n"));
    add_players(2, false, 0);
    ASSERT_TRUE(start_game());
    auto step = [] {
        apply_move(0, static_cast<int16_t>((stones.data[0] + 1) % 3), {}, default_card, -1);
        end_turn();
    };
    // The opening position comes round a third time after turn 12.
    for (int turn = 0; turn < 7; turn++) step();
    GameSnapshot snapshot = new_game_snapshot(FRAME_ARENA);
    take_game_snapshot(&snapshot, snapshot_play);
    for (int turn = 7; turn < 12; turn++) step();
    ASSERT_TRUE(game_drawn);
    restore_game_snapshot(snapshot, snapshot_play);
    EXPECT_FALSE(game_drawn);
    EXPECT_EQ(turns_played, 7);
    for (int turn = 7; turn < 11; turn++) step();
    EXPECT_FALSE(game_drawn);
    step();
    EXPECT_TRUE(game_drawn);
}

}  // namespace
