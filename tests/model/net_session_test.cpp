// Hosted games over loopback: remote seats play whole games by what they send, each client ends
// holding the host's state for its seat, a choice is judged by the local rules, a dropped seat
// waits, goes to a computer and comes back with its token, and bad input ends only its connection.
#include "net_table.h"

#include "model_fixture.h"

#include "model/computer_players.h"
#include "model/game_record.h"
#include "model/kept_game.h"
#include "model/map_file.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"

#include <cstring>

namespace {

struct TableCase {
    uint8_t kind;
    const char* map;
};

const TableCase table_cases[] = {{pushdown_machine, "resources/maps/pushdown/colour_square.txt"},
                                 {turing_machine, "resources/maps/turing/long_tape.txt"},
                                 {state_machine, "resources/maps/state/diamond.txt"}};

constexpr int64_t step_limit = 200000;

// Plays until the game is over, then lets every client catch up.
bool play_out(NetTable* table) {
    for (int64_t k = 0; k < step_limit && !game_over(); k++) step_table(table, true);
    return game_over() && settle_table(table, 20000);
}

TEST(NetSession, RemoteSeatsPlayWholeGamesAndEveryClientEndsWithTheHostsState) {
    for (const TableCase& c : table_cases) {
        NetTable table{};
        ASSERT_TRUE(open_table(&table, c.kind, c.map, 3, {true, false, true}, normal, default_hand_over_delay)) << c.map;
        ASSERT_TRUE(seat_everyone(&table, 20000)) << c.map;
        ASSERT_TRUE(play_out(&table)) << c.map;
        for (const TableClient& seat_client : table.clients) {
            EXPECT_EQ(record_difference(seat_client), "") << c.map;
            EXPECT_EQ(seat_client.client.seats[seat_client.seat].kind, 2);
        }
        EXPECT_GT(last_move.number, 2) << c.map;
        EXPECT_EQ(table.leaked_cards, 0) << table.first_leak;
        close_table(&table);
    }
}

TEST(NetSession, AChoiceIsJudgedByTheLocalRulesAndOnlyOnItsSeatsTurn) {
    NetTable table{};
    ASSERT_TRUE(open_table(&table, pushdown_machine, table_cases[0].map, 2, {true, true}, normal, default_hand_over_delay));
    ASSERT_TRUE(seat_everyone(&table, 20000));
    std::string before = text_of(write_game_record(every_seat, false));
    int64_t empty_state = -1;
    for (int64_t s = 0; s < states.count && empty_state < 0; s++) {
        bool occupied = false;
        for (int64_t i = 0; i < stones.count; i++) occupied = occupied || stones.data[i] == s;
        if (!occupied) empty_state = s;
    }
    ASSERT_GE(empty_state, 0);
    TableClient* mover = &table.clients[static_cast<size_t>(current_player)];
    TableClient* waiter = &table.clients[static_cast<size_t>(1 - current_player)];
    send_move_choice(&waiter->client, MoveChoice{0, 1, -1, 0});
    send_move_choice(&mover->client, MoveChoice{static_cast<int16_t>(empty_state), 0, -1, 0});
    for (int64_t k = 0; k < step_limit && (waiter->client.refusals_received == 0 || mover->client.refusals_received == 0); k++) {
        step_table(&table, false);
    }
    ASSERT_EQ(waiter->client.refusals_received, 1);
    EXPECT_EQ(std::string(waiter->client.refusal_text, static_cast<size_t>(waiter->client.refusal_length)), "It is not your turn");
    ASSERT_EQ(mover->client.refusals_received, 1);
    EXPECT_EQ(mover->client.refusal_verdict, choice_drops_states);
    EXPECT_EQ(std::string(mover->client.refusal_text, static_cast<size_t>(mover->client.refusal_length)),
              "No stone stands on that state");
    EXPECT_EQ(text_of(write_game_record(every_seat, false)), before);
    close_table(&table);
}

TEST(NetSession, ADroppedSeatWaitsGoesToAComputerAndComesBackWithItsToken) {
    NetTable table{};
    ASSERT_TRUE(open_table(&table, state_machine, "resources/maps/state/ladder.txt", 2, {true, false}, normal, 0.5));
    ASSERT_TRUE(seat_everyone(&table, 20000));
    TableClient* seat_client = &table.clients[0];
    std::string token = text_of(client_token(seat_client->client));
    EXPECT_EQ(token, text_of(seat_token(0)));
    // The player's computer is gone without a word.
    reset_net_client(&seat_client->client);
    double cut_at = wall_seconds();
    for (int64_t k = 0; k < step_limit && !seat_waiting(0); k++) step_table(&table, false);
    ASSERT_TRUE(seat_waiting(0));
    EXPECT_FALSE(players.data[0].is_computer);
    // After the hand-over delay a computer plays the seat, and the game goes on.
    while (!players.data[0].is_computer && wall_seconds() < cut_at + 30) step_table(&table, false);
    ASSERT_TRUE(players.data[0].is_computer);
    EXPECT_FALSE(seat_waiting(0));
    int64_t moves = last_move.number;
    for (int64_t k = 0; k < 50 && !game_over(); k++) step_table(&table, true);
    EXPECT_GT(last_move.number, moves);
    // From another computer, with the token: the seat is the player's again, state and all.
    ASSERT_TRUE(rejoin_seat(&table, seat_client, token));
    ASSERT_TRUE(settle_table(&table, step_limit));
    EXPECT_EQ(seat_client->client.seat, 0);
    EXPECT_TRUE(players.data[0].is_remote);
    EXPECT_FALSE(players.data[0].is_computer);
    EXPECT_EQ(record_difference(*seat_client), "");
    // A wrong token takes nothing.
    TableClient stranger{};
    stranger.client = idle_net_client();
    ASSERT_TRUE(rejoin_host(&stranger.client, str("127.0.0.1"), table.client_port, str("ZZZZZZ"), table.now));
    for (int64_t k = 0; k < step_limit && stranger.client.refusals_received == 0; k++) {
        step_table(&table, false);
        update_client(&stranger.client, table.now);
    }
    EXPECT_EQ(std::string(stranger.client.refusal_text, static_cast<size_t>(stranger.client.refusal_length)), "No seat has that token");
    // Still welcome: it may take a free seat instead.
    EXPECT_EQ(stranger.client.phase, client_choosing_seat);
    reset_net_client(&stranger.client);
    ASSERT_TRUE(play_out(&table));
    EXPECT_EQ(record_difference(*seat_client), "");
    close_table(&table);
}

// Raw bytes from a client: what the host's reader makes of them.
struct BadInput {
    const char* name;
    std::string bytes;
    const char* reason;
};

std::string message_bytes(uint8_t version, uint8_t kind, uint32_t sequence, const std::string& payload, uint32_t claimed) {
    std::string bytes;
    bytes += static_cast<char>(version);
    bytes += static_cast<char>(kind);
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((sequence >> shift) & 0xff);
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((claimed >> shift) & 0xff);
    return bytes + payload;
}

TEST(NetSession, BadInputEndsOnlyItsConnectionWithAReasonAndNeverTheGame) {
    NetTable table{};
    ASSERT_TRUE(open_table(&table, pushdown_machine, table_cases[0].map, 2, {true, false}, normal, default_hand_over_delay));
    ASSERT_TRUE(seat_everyone(&table, 20000));
    std::string take_seat_padded = message_bytes(net_protocol_version, net_take_seat, 0, std::string(3, '\0'), 3);
    const BadInput inputs[] = {
        {"another version", message_bytes(net_protocol_version + 1, net_still_here, 0, "", 0), "wrong version"},
        {"too large", message_bytes(net_protocol_version, net_choose_move, 0, "", net_client_message_limit + 1), "message too large"},
        {"out of order", message_bytes(net_protocol_version, net_still_here, 5, "", 0), "out of order"},
        {"a host's message", message_bytes(net_protocol_version, net_game_state, 0, "x", 1), "a message the game does not expect"},
        {"a choice before a seat", message_bytes(net_protocol_version, net_end_turn, 0, "", 0), "a message the game does not expect"},
        {"a seat with bytes left over", take_seat_padded, "a message the game does not expect"},
    };
    for (const BadInput& input : inputs) {
        std::string before = text_of(write_game_record(every_seat, false));
        NetLink raw{};
        raw.socket = -1;
        ASSERT_TRUE(link_connect(&raw, str("127.0.0.1"), table.client_port, net_host_message_limit, table.now));
        // The bytes go straight out, bypassing the link's own numbering.
        for (char byte : input.bytes) array_push(&raw.outgoing, static_cast<uint8_t>(byte));
        std::string goodbye;
        int32_t selector = network_selector_create();
        for (int64_t k = 0; k < step_limit && goodbye.empty() && !raw.failed; k++) {
            step_table(&table, false);
            link_flush(&raw, table.now);
            network_selector_add(selector, raw.socket);
            network_socket ready[1];
            bool readable = network_selector_wait(selector, 0, socket_view{ready, 1}) > 0;
            network_selector_remove(selector, raw.socket);
            if (readable) link_receive(&raw, table.now);
            NetMessage message;
            while (link_next(&raw, &message) == net_read_message) {
                if (message.kind == net_goodbye) goodbye = text_of(message.payload);
            }
        }
        network_selector_destroy(selector);
        EXPECT_EQ(goodbye, input.reason) << input.name;
        link_fail(&raw, str("done"));
        EXPECT_EQ(text_of(write_game_record(every_seat, false)), before) << input.name;
        EXPECT_EQ(table.clients[0].client.phase, client_seated) << input.name;
    }
    // The seated player never noticed: the game plays to its end.
    ASSERT_TRUE(play_out(&table));
    EXPECT_EQ(record_difference(table.clients[0]), "");
    close_table(&table);
}

// A joining game learns the map from the first state the host sends; a newer state received before
// the first is shown must not cost it the map.
TEST(NetSession, AStateNewerThanTheMapStillInstallsOnTheMap) {
    NetTable table{};
    ASSERT_TRUE(open_table(&table, state_machine, "resources/maps/state/ladder.txt", 2, {false, true}, normal,
                           default_hand_over_delay));
    int64_t ladder_states = states.count;
    ASSERT_TRUE(seat_everyone(&table, 20000));
    ASSERT_TRUE(skip_to_computer_action());
    computer_act();
    ASSERT_TRUE(settle_table(&table, step_limit));
    int64_t moves = last_move.number;
    NetClient* client = &table.clients[0].client;
    ASSERT_EQ(client->records_installed, 0);
    ASSERT_GE(client->records_received, 2);
    // The joining program showed a map of another kind.
    reset_model(pushdown_machine);
    ASSERT_TRUE(load_map(view_of(table_cases[0].map)));
    ASSERT_TRUE(install_client_record(client));
    EXPECT_EQ(machine_kind, state_machine);
    EXPECT_EQ(states.count, ladder_states);
    EXPECT_EQ(last_move.number, moves);
    reset_kept_game();  // an installed state is the host's game, not this program's
    close_table(&table);
}

TEST(NetSession, AContinuedHostedGameIsHostedAgainAndItsPlayerRejoinsByToken) {
    NetTable table{};
    ASSERT_TRUE(open_table(&table, pushdown_machine, table_cases[0].map, 2, {false, true}, normal, default_hand_over_delay));
    ASSERT_TRUE(seat_everyone(&table, 20000));
    for (int64_t k = 0; k < step_limit && last_move.number < 3 && !game_over(); k++) step_table(&table, true);
    ASSERT_FALSE(game_over());
    set_kept_game_path(view_of(write_temp_file("hosted_game.txt", "")));
    ASSERT_TRUE(keep_game_now());
    std::string token = text_of(seat_token(1));
    uint16_t port = net_host.port;
    std::string whole = text_of(write_game_record(every_seat, false));
    // The host's program ends; the player's computer keeps trying the same address.
    close_table(&table);
    reset_model(state_machine);
    ASSERT_TRUE(continue_kept_game());
    EXPECT_EQ(text_of(write_game_record(every_seat, false)), whole);
    ASSERT_TRUE(resume_kept_hosting(wall_seconds()));
    EXPECT_EQ(net_host.port, port);
    EXPECT_EQ(text_of(seat_token(1)), token);
    EXPECT_TRUE(seat_waiting(1));
    table.client_port = port;
    TableClient back{};
    back.client = idle_net_client();
    back.seat = 1;
    back.chose_at_record = -1;
    table.clients.push_back(back);
    ASSERT_TRUE(rejoin_seat(&table, &table.clients[0], token));
    ASSERT_TRUE(settle_table(&table, step_limit));
    EXPECT_FALSE(seat_waiting(1));
    ASSERT_TRUE(play_out(&table));
    EXPECT_EQ(table.leaked_cards, 0) << table.first_leak;
    forget_kept_game();
    set_kept_game_path(string{nullptr, 0});
    close_table(&table);
}

}  // namespace
