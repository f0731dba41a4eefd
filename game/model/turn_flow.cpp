#include "model/turn_flow.h"

#include "model/computer_players.h"
#include "model/move_options.h"
#include "model/expert_player.h"
#include "model/referee.h"
#include "model/turn_state.h"

SeatAction settle_stuck_seat() {
    if (game_over() || move_delay > 0 || current_player < 0 || current_player >= players.count) return seat_waited;
    if (seat_can_move(current_player)) return seat_waited;
    const Player& player = players.data[current_player];
    switch (machine_kind) {
        case state_machine: {
            int64_t seats = seats_in_play();
            winner = last_mover != no_winner ? last_mover : static_cast<uint8_t>((current_player + seats - 1) % seats);
            stuck_seat = static_cast<uint8_t>(current_player);
            return seat_lost;
        }
        case turing_machine:
            if (player.is_computer) return seat_waited;
            move_delay = move_pause;
            return seat_passed;
        case pushdown_machine:
            if (player.is_computer || deck.count > 0) return seat_waited;
            move_delay = move_pause;
            return seat_passed;
        default: return seat_waited;
    }
}

SeatAction computer_act() {
    if (game_over() || current_player < 0 || current_player >= players.count) return seat_waited;
    Player* player = &players.data[current_player];
    Move move;
    switch (machine_kind) {
        case state_machine:
            if (player->difficulty == expert ? choose_expert_state_machine_move(&move)
                                             : choose_state_machine_move(player->difficulty, &move)) {
                apply_move(move.stone, move.target, move.rule, default_card, -1);
                return seat_moved;
            }
            return settle_stuck_seat();
        case pushdown_machine:
            if (player->difficulty == expert ? choose_expert_pushdown_move(&move)
                                             : choose_pushdown_move(player->hand, player->difficulty, &move)) {
                apply_move(move.stone, move.target, move.rule, player->hand.data[move.card], move.card);
                return seat_moved;
            }
            if (!card_drawn) {
                draw_from_deck(player);
                card_drawn = 1;
                computer_delay = computer_draw_pause;
                return seat_drew;
            }
            end_turn();
            return seat_passed;
        case turing_machine:
            move = player->difficulty == expert ? choose_expert_turing_move() : choose_turing_move();
            move_delay = move_pause;
            if (move.rule.length == 0) return seat_passed;
            apply_move(move.stone, move.target, move.rule, default_card, -1);
            return seat_moved;
        default: return seat_waited;
    }
}

bool skip_to_computer_action() {
    computer_delay = 0;
    if (move_delay > 0) {
        move_delay = 0;
        end_turn();
        return false;
    }
    recycle_stack();
    return !settle_stuck_seat() && !game_over();
}
