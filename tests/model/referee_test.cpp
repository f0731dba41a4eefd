#include "model_fixture.h"

#include "base/random.h"
#include "model/map_list.h"
#include "model/referee.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"

namespace {

class DealTest : public ModelFixture {};
class RefereeTest : public ModelFixture {};

void use_map(uint8_t kind, const std::string& text) {
    reset_model(kind);
    std::string path = write_temp_file("game_map.txt", text);
    static std::string list_path;
    list_path = write_temp_file("game_list.txt", "only " + path + "\n");
    load_map_list(&pushdown_map_list, view_of(list_path));
    current_map_list = &pushdown_map_list;
    current_map_index = 0;
}

TEST_F(DealTest, DealsDeckTapeAndHands) {
    use_map(turing_machine, "deck 2 4 4 4\ntape 4\nstone 0\n. 0 0\n");
    add_players(2, false, 0);
    seed_random(5);
    ASSERT_TRUE(start_game());
    EXPECT_EQ(deck.count, 124);
    ASSERT_EQ(tape.count, 4);
    // Rebuild the same shuffle to see which cards went to the tape.
    seed_random(5);
    GrowableArray<Card> saved_deck = deck;
    deck = {};
    for (int copy = 0; copy < 2; copy++)
        for (uint8_t c = 0; c < 4; c++)
            for (uint8_t s = 0; s < 4; s++)
                for (int8_t n = 1; n <= 4; n++) array_push(&deck, Card{c, s, n});
    shuffle_deck();
    for (int i = 0; i < 4; i++) {
        Card expected = deck.data[127 - i];
        EXPECT_EQ(tape.data[i].color, expected.color);
        EXPECT_EQ(tape.data[i].shape, expected.shape);
        EXPECT_EQ(tape.data[i].number, expected.number);
    }
    deck = saved_deck;
    EXPECT_EQ(tape_head, 0);
    EXPECT_EQ(winner, no_winner);
    EXPECT_EQ(hand_revealed, 0);  // two people at the screen: the first turn opens hidden too
    EXPECT_EQ(players.data[0].goal.kind, sum);  // no goals: the default goal
}

TEST_F(DealTest, DealingPastTheDeckGivesDefaultCards) {
    use_map(pushdown_machine, "deck 1 1 1 2\nhand 3\ntape 0\nstone 0\n. 0 0\n");
    add_players(2, true, 0);
    ASSERT_TRUE(start_game());
    EXPECT_EQ(deck.count, 0);
    ASSERT_EQ(players.data[0].hand.count, 3);
    ASSERT_EQ(players.data[1].hand.count, 3);
    int defaults = 0;
    for (int p = 0; p < 2; p++)
        for (int i = 0; i < 3; i++) {
            Card c = players.data[p].hand.data[i];
            defaults += c.color == 0 && c.shape == 0 && c.number == 1;
        }
    EXPECT_EQ(defaults, 5);  // {0,0,1} from the deck and four more from the empty deck
    EXPECT_EQ(players.data[1].hand.data[0].number, 1);
    EXPECT_EQ(hand_revealed, 0);
}

TEST_F(DealTest, OversizedParametersStayInBounds) {
    use_map(pushdown_machine, "deck 99999999 -3 200 7\nhand 99999999999\ntape -5\n. 0 0\n");
    add_players(1, false, 0);
    ASSERT_TRUE(start_game());
    EXPECT_EQ(deck.count, 0);  // no colours at all
    EXPECT_EQ(hand_size, max_hand_cards);
    EXPECT_EQ(players.data[0].hand.count, max_hand_cards);
    EXPECT_EQ(tape.count, 0);
    EXPECT_EQ(stones.count, 2);
    apply_tape_action(str("AR"));

    use_map(turing_machine, "deck 1000 6 6 6\ntape 100000\n. 0 0\n");
    add_players(2, false, 0);
    ASSERT_TRUE(start_game());
    EXPECT_EQ(deck.count, 64 * 216 - max_tape_cells);
    EXPECT_EQ(tape.count, max_tape_cells);
}

TEST_F(DealTest, GoalsAreDealtIndependently) {
    use_map(turing_machine, "goal 0 2 1\ngoal 1 2 1\ngoal 4 2 1 2 0 1\nstone 0\n. 0 0\n");
    add_players(6, false, 0);
    int seen[10] = {};
    for (int round = 0; round < 50; round++) {
        ASSERT_TRUE(start_game());
        for (int p = 0; p < 6; p++) seen[players.data[p].goal.kind]++;
    }
    EXPECT_GT(seen[0], 50);
    EXPECT_GT(seen[1], 50);
    EXPECT_GT(seen[4], 50);
    EXPECT_EQ(seen[0] + seen[1] + seen[4], 300);
}

TEST_F(DealTest, MapWithoutStatesIsRefused) {
    use_map(state_machine, "stone 0\nwin 1\n");
    add_players(2, true, 2);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(start_game());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed to start game: the map has no states\n");
    EXPECT_TRUE(game_over());
    EXPECT_EQ(stones.count, 0);
    computer_act();
    EXPECT_FALSE(settle_stuck_seat());
    EXPECT_EQ(stones.count, 0);
}

TEST_F(RefereeTest, TapeActions) {
    tape = {};
    array_push(&tape, Card{0, 0, 1});
    apply_tape_action(str("*R"));
    EXPECT_EQ(tape_head, 0);
    EXPECT_EQ(tape.data[0].color, 0);
    apply_tape_action(str("R"));
    EXPECT_EQ(tape_head, 0);
    for (int i = 0; i < 4; i++) array_push(&tape, Card{0, 0, 1});
    apply_tape_action(str("3L"));
    EXPECT_EQ(tape.data[0].number, 3);
    EXPECT_EQ(tape_head, 4);
    apply_tape_action(str("bR label"));
    EXPECT_EQ(tape.data[4].shape, 1);
    EXPECT_EQ(tape_head, 0);
    apply_tape_action(str("FR"));
    EXPECT_EQ(tape.data[0].color, 5);
    apply_tape_action(str("Zq"));
    apply_tape_action(str(""));
    EXPECT_EQ(tape_head, 1);
    EXPECT_EQ(tape.data[1].color, 0);
    EXPECT_EQ(tape.data[1].shape, 0);
    EXPECT_EQ(tape.data[1].number, 1);
}

TEST_F(RefereeTest, MovesOnEachKind) {
    use_map(pushdown_machine, "win 0\ndeck 1 4 4 4\nhand 2\nstone 0\n. 0 0\n. 1 0\n=> 0 1 0 0 0 \"*\"\n");
    add_players(2, false, 0);
    ASSERT_TRUE(start_game());
    Card played = players.data[0].hand.data[0];
    Card kept = players.data[0].hand.data[1];
    apply_move(0, 1, transitions.data[0].rule, played, 0);
    EXPECT_EQ(stones.data[0], 1);
    EXPECT_EQ(last_move.stone, 0);
    EXPECT_EQ(last_move.from_state, 0);
    EXPECT_EQ(last_move.transition, 0);
    EXPECT_EQ(last_move.number, 1);
    EXPECT_EQ(move_delay, 0.5);
    ASSERT_EQ(players.data[0].hand.count, 1);
    EXPECT_EQ(players.data[0].hand.data[0].number, kept.number);
    ASSERT_EQ(stack.count, 1);
    EXPECT_EQ(top_card(stack).color, played.color);

    use_map(turing_machine, "tape 3\nstone 0\n. 0 0\n=> 0 0 45 0 0 \"6R\"\n");
    add_players(1, false, 0);
    ASSERT_TRUE(start_game());
    apply_move(0, 0, transitions.data[0].rule, default_card, -1);
    EXPECT_EQ(tape.data[0].number, 6);
    EXPECT_EQ(tape_head, 1);
}

TEST_F(RefereeTest, EndTurnWinModes) {
    use_map(pushdown_machine, "win 1\nhand 0\nstone 0\n. 0 0\n* 1 0\n=> 0 1 0 0 0 \"*\"\n");
    add_players(2, false, 0);
    human_count = 2;
    ASSERT_TRUE(start_game());
    source_state = 1;
    selected_card = 2;
    card_drawn = 1;
    end_turn();  // empty hand, but the stone stands on a plain state
    EXPECT_EQ(winner, no_winner);
    EXPECT_EQ(current_player, 1);
    EXPECT_EQ(source_state, -1);
    EXPECT_EQ(selected_card, -1);
    EXPECT_EQ(card_drawn, 0);
    EXPECT_EQ(hand_revealed, 0);
    stones.data[0] = 1;
    end_turn();
    EXPECT_EQ(winner, 1);
    EXPECT_EQ(current_player, 1);

    use_map(pushdown_machine, "win 2\nhand 0\n* 0 0\n");
    add_players(3, false, 0);
    ASSERT_TRUE(start_game());
    ASSERT_EQ(stones.count, 2);
    end_turn();
    EXPECT_EQ(winner, 0);

    use_map(turing_machine, "win 2\ngoal 0 1 100\n. 0 0\n");
    add_players(2, false, 0);
    ASSERT_TRUE(start_game());
    stones = {};
    end_turn();  // goal met, but no stone stands anywhere
    EXPECT_EQ(winner, no_winner);
    win_mode = all_accepting;
    end_turn();
    EXPECT_EQ(winner, 1);

    use_map(state_machine, "win 9\nstone 0\n* 0 0\n");
    add_players(1, false, 0);
    ASSERT_TRUE(start_game());
    end_turn();
    EXPECT_EQ(winner, no_winner);
    EXPECT_EQ(current_player, 0);
    EXPECT_EQ(hand_revealed, 1);
}

TEST_F(RefereeTest, TurnPassesToComputersWithAPause) {
    use_map(state_machine, "win 1\nstone 0\n. 0 0\n. 1 0\n=> 0 1 0\n");
    add_players(3, false, 0);
    players.data[1].is_computer = 1;
    human_count = 2;
    ASSERT_TRUE(start_game());
    end_turn();
    EXPECT_EQ(current_player, 1);
    EXPECT_EQ(computer_delay, 0.4);
    end_turn();
    EXPECT_EQ(current_player, 2);
    EXPECT_EQ(hand_revealed, 0);
    end_turn();
    EXPECT_EQ(current_player, 0);
    human_count = 1;
    end_turn();
    end_turn();
    EXPECT_EQ(hand_revealed, 1);
}

TEST_F(RefereeTest, RecycleTheStack) {
    stack = {};
    for (int8_t n = 1; n <= 5; n++) array_push(&stack, Card{0, 0, n});
    array_push(&deck, Card{1, 1, 1});
    recycle_stack();
    EXPECT_EQ(stack.count, 5);
    deck = {};
    recycle_stack();
    EXPECT_EQ(stack.count, 0);
    EXPECT_NE(stack.data, deck.data);
    ASSERT_EQ(deck.count, 5);
    int total = 0;
    for (int i = 0; i < 5; i++) total += deck.data[i].number;
    EXPECT_EQ(total, 15);
    array_push(&stack, Card{2, 2, 2});
    EXPECT_EQ(deck.data[0].number + deck.data[4].number + deck.data[2].number + deck.data[1].number + deck.data[3].number, 15);
    deck = {};
    stack = {};
    recycle_stack();
    EXPECT_EQ(deck.count, 0);
}

TEST_F(RefereeTest, DrawFromDeck) {
    Player player = new_player(0);
    array_push(&deck, Card{3, 2, 5});
    draw_from_deck(&player);
    ASSERT_EQ(player.hand.count, 1);
    EXPECT_EQ(player.hand.data[0].color, 3);
    EXPECT_EQ(deck.count, 0);
    draw_from_deck(&player);
    EXPECT_EQ(player.hand.count, 2);
    EXPECT_EQ(player.hand.data[1].number, 1);
}

TEST_F(RefereeTest, SmallHelpers) {
    GrowableArray<Card> cards{};
    EXPECT_EQ(top_card(cards).number, 1);
    for (int8_t n = 1; n <= 4; n++) array_push(&cards, Card{0, 0, n});
    remove_card(&cards, -1);
    remove_card(&cards, 4);
    EXPECT_EQ(cards.count, 4);
    remove_card(&cards, 1);
    ASSERT_EQ(cards.count, 3);
    EXPECT_EQ(cards.data[1].number, 3);
    EXPECT_EQ(top_card(cards).number, 4);

    for (int16_t i = 0; i < 4; i++) array_push(&transitions, Transition{i, i, 0, 0, 0, str("")});
    remove_transition(9);
    remove_transition(1);
    ASSERT_EQ(transitions.count, 3);
    EXPECT_EQ(transitions.data[1].from, 3);

    array_push(&stones, int16_t{2});
    array_push(&stones, int16_t{1});
    array_push(&stones, int16_t{1});
    EXPECT_EQ(first_stone_on(1), 1);
    EXPECT_EQ(first_stone_on(0), -1);

    array_push(&states, State{1, 2, 0, 0});
    map_x = 10;
    map_y = -5;
    map_scale = 2;
    float x = 0, y = 0;
    state_center(0, &x, &y);
    EXPECT_EQ(x, 12.0f);
    EXPECT_EQ(y, -1.0f);

    Player player = new_player(4);
    EXPECT_EQ(player.color_index, 4);
    EXPECT_EQ(player.color.r, 0.3f);
    EXPECT_EQ(player.goal.number_b, 1);
}

}  // namespace
