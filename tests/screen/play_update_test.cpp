// The play-mode update without a window: selections carried out as moves, and the pauses
// around a computer seat.
#include "base/arena.h"
#include "base/random.h"
#include "model/computer_players.h"
#include "model/draw_rules.h"
#include "model/map_list.h"
#include "model/nimbers.h"
#include "model/turn_state.h"
#include "screen/frame_input.h"
#include "screen/game_screen.h"
#include "screen/heads_up.h"
#include "screen/screen_state.h"
#include "screen/stone_animation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class PlayUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
        arena_empty(PERSISTENT_ARENA);
        reset_model_and_screens();
        seed_random(7);
        machine_kind = state_machine;
        win_mode = all_accepting;
        map_scale = 1;
        for (int i = 0; i < 4; i++) array_push(&states, State{100.0 * i, 0, 0, 0});
        array_push(&stones, int16_t{0});
    }
    static void join(int16_t from, int16_t to, const char* rule) {
        array_push(&transitions, Transition{from, to, 0, 0, 0, str(rule)});
    }
    static void seats(bool first_is_computer, bool second_is_computer) {
        for (bool computer : {first_is_computer, second_is_computer}) {
            Player seat = new_player(players.count);
            seat.is_computer = computer;
            array_push(&players, seat);
        }
        player_count = 2;
        hand_revealed = first_is_computer ? 0 : 1;  // as a game starts when the first seat is shown
    }
    static void select(int16_t source, int16_t target) {
        source_state = source;
        target_state = target;
    }
    // Sixtieths of a second do not add up exactly, so a pause may take one frame more.
    template <typename Done>
    static int frames_until(Done done) {
        int frames = 0;
        for (; !done() && frames < 100; frames++) update_play();
        return frames;
    }
};

TEST_F(PlayUpdate, SelectionMovesTheLowestStoneOnTheSourceAlongTheFirstJoiningTransition) {
    seats(false, false);
    join(1, 0, "");
    join(0, 1, "");
    stones.data[0] = 2;
    for (int16_t state : {0, 0}) array_push(&stones, state);
    state_lift[0] = 2;
    select(0, 1);
    update_play();
    EXPECT_EQ(stones.data[1], 1);
    EXPECT_EQ(stones.data[2], 0);
    EXPECT_EQ(selected_transition, 1);
    EXPECT_DOUBLE_EQ(move_delay, 0.5);
    EXPECT_EQ(moving_stone, 1);
    EXPECT_EQ(moving_stone_position[1], 16.0f);  // from on top of the two stones drawn below it
}

TEST_F(PlayUpdate, APositionComingRoundAThirdTimeDrawsTheGame) {
    seats(false, false);
    join(0, 1, "");
    join(1, 0, "");
    start_position_history();  // as start_game does: the opening position counts once
    // Stone on 0 with seat 0 to move: at the start, after two turns and after four.
    for (int turn = 0; turn < 4; turn++) {
        ASSERT_FALSE(game_over()) << turn;
        hand_revealed = 1;  // the seat to move has shown its turn
        select(stones.data[0], static_cast<int16_t>(1 - stones.data[0]));
        update_play();
        ASSERT_GT(move_delay, 0) << turn;
        frames_until([] { return move_delay <= 0; });
    }
    EXPECT_TRUE(game_drawn);
    EXPECT_EQ(winner, no_winner);
    select(0, 1);
    update_play();
    EXPECT_EQ(stones.data[0], 0);  // nothing moves once the game is drawn
}

// An incomplete selection waits; one that cannot be carried out is taken back, with the reason shown.
TEST_F(PlayUpdate, IncompleteSelectionsWaitAndIllegalOnesAreTakenBackWithTheReason) {
    seats(false, false);
    join(0, 1, "");
    join(1, 2, "");
    // A source without a stone is given up whole, with or without a target.
    const struct {
        int16_t source, target, kept_source;
        const char* notice;
    } cases[] = {{0, -1, 0, ""},
                 {1, -1, -1, "No stone stands on that state"},
                 {1, 2, -1, "No stone stands on that state"},
                 {0, 2, 0, "No transition leads from that state to that one"}};
    for (const auto& each : cases) {
        reset_heads_up();
        select(each.source, each.target);
        update_play();
        EXPECT_EQ(stones.data[0], 0);
        EXPECT_EQ(source_state, each.kept_source);
        EXPECT_EQ(target_state, -1);
        EXPECT_EQ(move_delay, 0);
        EXPECT_EQ(std::string(notice_text.data ? notice_text.data : "", static_cast<size_t>(notice_text.length)), each.notice);
    }
}

// Two loops on one state: selecting the state twice takes the first; a picked loop is taken instead.
TEST_F(PlayUpdate, TuringSelfLoopWritesTheCellAndMovesTheHead) {
    machine_kind = turing_machine;
    seats(false, false);
    join(0, 0, "BR");
    join(0, 0, "CL");
    for (int i = 0; i < 3; i++) array_push(&tape, Card{0, 0, 1});
    select(0, 0);
    update_play();
    EXPECT_EQ(tape.data[0].color, 1);
    EXPECT_EQ(tape_head, 1);
    EXPECT_DOUBLE_EQ(move_delay, 0.5);

    move_delay = 0;
    select(0, 0);
    selected_transition = 1;
    update_play();
    EXPECT_EQ(tape.data[1].color, 2);
    EXPECT_EQ(tape_head, 0);
}

TEST_F(PlayUpdate, PushdownMoveNeedsAHandCardTheRuleAccepts) {
    machine_kind = pushdown_machine;
    seats(false, false);
    join(0, 1, "A");
    array_push(&deck, Card{3, 3, 3});
    array_push(&players.data[0].hand, Card{1, 0, 1});
    array_push(&players.data[0].hand, Card{0, 2, 4});
    select(0, 1);
    update_play();  // no card chosen
    selected_card = 0;
    update_play();  // blue is refused and put back
    EXPECT_EQ(stones.data[0], 0);
    EXPECT_EQ(selected_card, -1);
    selected_card = 1;
    update_play();
    EXPECT_EQ(stones.data[0], 1);
    ASSERT_EQ(players.data[0].hand.count, 1);
    EXPECT_EQ(players.data[0].hand.data[0].color, 1);
    ASSERT_EQ(stack.count, 1);
    EXPECT_EQ(stack.data[0].number, 4);
}

TEST_F(PlayUpdate, ComputerMovesAfterItsPausesAndTheLoneHumanKeepsItsHandShown) {
    seats(false, true);
    join(0, 1, "");
    join(1, 2, "");
    select(0, 1);
    update_play();
    // The turn passes 0.5 s after the move; the computer waits 0.4 s before its own.
    EXPECT_NEAR(frames_until([] { return current_player == 1; }), 30, 1);
    EXPECT_NEAR(frames_until([] { return stones.data[0] == 2; }), 25, 1);
    EXPECT_NEAR(frames_until([] { return current_player == 0; }), 30, 1);
    EXPECT_EQ(hand_revealed, 1);
    update_play();
    EXPECT_EQ(winner, 1);  // the human cannot move: the last mover wins
}

// A selection made while the seat to move is not a human with its hand shown belongs to nobody.
TEST_F(PlayUpdate, ASelectionDuringAComputersTurnIsDroppedAndTheComputerMakesItsOwnMove) {
    seats(true, false);
    join(0, 1, "");
    join(1, 2, "");
    join(0, 3, "");  // leaves the human no move: the winning one
    compute_nimbers();
    computer_delay = computer_pause;
    players.data[0].difficulty = hard;
    select(0, 1);
    update_play();
    EXPECT_EQ(source_state, -1);
    EXPECT_EQ(target_state, -1);
    frames_until([] { return game_over(); });
    EXPECT_EQ(stones.data[0], 3);  // hard takes the winning arrow, not the one clicked
    EXPECT_EQ(winner, 0);
}

// Without humans the computers pause twice as long, so a watcher can follow; + and - step it.
TEST_F(PlayUpdate, AGameWithoutHumansIsPacedForWatchingAndPlusAndMinusChangeThePace) {
    seats(true, true);
    join(0, 1, "");
    join(1, 2, "");
    join(2, 3, "");
    computer_delay = computer_pause;
    EXPECT_NEAR(frames_until([] { return stones.data[0] == 1; }), 48, 1);
    EXPECT_NEAR(frames_until([] { return current_player == 1 && computer_delay > 0; }), 30, 1);
    frame_input.keys_pressed[KEY_MINUS] = 1;
    update_play();
    frame_input.keys_pressed[KEY_MINUS] = 0;
    EXPECT_EQ(std::string(notice_text.data, static_cast<size_t>(notice_text.length)),
              "The computers pause 1.6 s before each move");
    EXPECT_NEAR(frames_until([] { return stones.data[0] == 2; }), 96, 1);
    for (int step = 0; step < 5; step++) {
        frame_input.keys_pressed[KEY_EQUALS] = 1;
        update_play();
    }
    frame_input.keys_pressed[KEY_EQUALS] = 0;
    EXPECT_EQ(pace_level, 0);  // the game's own pause is the shortest
}

TEST_F(PlayUpdate, ASeatThatMustPassIsToldSo) {
    machine_kind = turing_machine;
    seats(false, true);
    join(1, 2, "AR");  // no arrow leaves the stone's state
    array_push(&tape, Card{0, 0, 1});
    hand_revealed = 1;
    players.data[0].goal = Goal{sum, at_least, 99, 0, 0, 1, 0, 0, 1};  // never met
    players.data[1].goal = players.data[0].goal;
    update_play();
    auto notice = [] { return std::string(notice_text.data ? notice_text.data : "", static_cast<size_t>(notice_text.length)); };
    EXPECT_EQ(notice(), "Red cannot move and passes");
    EXPECT_DOUBLE_EQ(notice_time_left, notice_seconds);
    reset_heads_up();
    frames_until([] { return current_player == 1 && computer_delay <= 0; });
    update_play();
    EXPECT_EQ(notice(), "Blue cannot move and passes");
}

}  // namespace
