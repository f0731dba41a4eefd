// A game kept as text comes back exactly, random numbers included; a seat's record tells nothing
// that seat may not know; a damaged record never changes the game.
#include "model_fixture.h"

#include "model/game_record.h"
#include "model/map_file.h"
#include "model/referee.h"
#include "model/turn_state.h"

#include <random>

namespace {

class GameRecordTest : public ModelFixture {};

struct Case {
    uint8_t kind;
    const char* map;
    int64_t seats;
};

const Case cases[] = {{pushdown_machine, "resources/maps/pushdown/colour_square.txt", 3},
                      {turing_machine, "resources/maps/turing/long_tape.txt", 4},
                      {state_machine, "resources/maps/state/diamond.txt", 2}};

void start(const Case& c) {
    reset_model(c.kind);
    ASSERT_TRUE(load_map(str(c.map))) << c.map;
    add_players(c.seats, true, 2);
    ASSERT_TRUE(start_game());
    play_until_over(3);
}

TEST_F(GameRecordTest, AGameReadBackFromItsRecordPlaysOnExactlyAsItWouldHave) {
    for (const Case& c : cases) {
        start(c);
        std::string record = text_of(write_game_record(every_seat, true));
        GameResult first = play_until_over(300);
        // Another map and another game in between, as after a restart of the program.
        reset_model(pushdown_machine);
        build_demo_map();
        ASSERT_TRUE(read_game_record(view_of(record))) << c.map;
        EXPECT_EQ(machine_kind, c.kind);
        EXPECT_EQ(text_of(write_game_record(every_seat, true)), record) << c.map;
        GameResult again = play_until_over(300);
        EXPECT_EQ(again.trace, first.trace) << c.map;
        EXPECT_EQ(again.winner, first.winner) << c.map;
        EXPECT_EQ(again.turns, first.turns) << c.map;
    }
}

TEST_F(GameRecordTest, ASeatsRecordHoldsNoOtherHandNoOtherGoalAndNoDeckOrder) {
    for (const Case& c : {cases[0], cases[1]}) {
        start(c);
        std::string seen = text_of(write_game_record(1, true));
        // Other cards in the hidden places and other goals for the other seats: the record is the same.
        for (int64_t seat : {0, 2}) {
            for (int64_t i = 0; i < players.data[seat].hand.count; i++) players.data[seat].hand.data[i] = Card{5, 5, 6};
            players.data[seat].goal = Goal{number_count, at_most, 1, 0, 0, 4, 0, 0, 1};
        }
        for (int64_t i = 0; i < deck.count; i++) deck.data[i] = Card{static_cast<uint8_t>(i % 3), 1, 2};
        EXPECT_EQ(text_of(write_game_record(1, true)), seen) << c.map;
        int64_t own_cards = players.data[1].hand.count, deck_cards = deck.count;
        Goal own_goal = players.data[1].goal;
        ASSERT_TRUE(read_game_record(view_of(seen)));
        EXPECT_EQ(game_record_viewer(view_of(seen)), 1);
        ASSERT_EQ(players.data[1].hand.count, own_cards);
        for (int64_t i = 0; i < own_cards; i++) EXPECT_NE(players.data[1].hand.data[i].color, hidden_card.color);
        EXPECT_EQ(deck.count, deck_cards);
        for (int64_t i = 0; i < deck.count; i++) EXPECT_EQ(deck.data[i].color, hidden_card.color);
        for (int64_t i = 0; i < players.data[0].hand.count; i++) EXPECT_EQ(players.data[0].hand.data[i].shape, hidden_card.shape);
        if (c.kind == turing_machine) {
            EXPECT_EQ(players.data[0].goal.kind, hidden_goal_kind);
            EXPECT_EQ(players.data[1].goal.amount, own_goal.amount);
        }
    }
}

TEST_F(GameRecordTest, ADamagedRecordIsRefusedAndTheGameStaysAsItWas) {
    start(cases[0]);
    std::string record = text_of(write_game_record(every_seat, true));
    std::string game = record;
    std::mt19937 random(7);
    int64_t read = 0;
    for (int trial = 0; trial < 600; trial++) {
        std::string damaged = record;
        if (trial % 3 == 0) {
            damaged.resize(random() % record.size());
        } else {
            for (int k = 0; k < 1 + trial % 4; k++) damaged[random() % damaged.size()] = static_cast<char>(random());
        }
        if (read_game_record(view_of(damaged))) {
            read++;
            game = text_of(write_game_record(every_seat, true));
            continue;
        }
        ASSERT_EQ(text_of(write_game_record(every_seat, true)), game) << trial;
    }
    // A stone on a state the map does not have.
    ASSERT_TRUE(read_game_record(view_of(record)));
    std::string far = record;
    size_t stones_line = far.find("\nstones ");
    ASSERT_NE(stones_line, std::string::npos);
    far.replace(far.find(' ', stones_line + 8), 2, " 200");
    EXPECT_FALSE(read_game_record(view_of(far)));
    EXPECT_EQ(text_of(write_game_record(every_seat, true)), record);
    EXPECT_LT(read, 600);
}

}  // namespace
