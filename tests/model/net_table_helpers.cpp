#include "net_table.h"

#include "model_fixture.h"

#include "base/arena.h"
#include "model/computer_players.h"
#include "model/game_record.h"
#include "model/map_file.h"
#include "model/move_choice.h"
#include "model/referee.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"

#include <chrono>
#include <sstream>

double wall_seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

namespace {

std::vector<std::string> record_lines(const std::string& record) {
    std::vector<std::string> lines;
    std::istringstream in(record);
    std::string line;
    while (std::getline(in, line)) {
        // The map's own text follows its line and is not a field of the play.
        if (line.rfind("map ", 0) == 0) {
            in.ignore(std::stoll(line.substr(4)));
            continue;
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<int64_t> numbers_after_key(const std::string& line) {
    std::istringstream in(line);
    std::string key;
    in >> key;
    std::vector<int64_t> numbers;
    int64_t value;
    while (in >> value) numbers.push_back(value);
    return numbers;
}

// What the remote seat's player would choose: the host's own computer choice for that seat.
void choose_for_remote_seat(TableClient* seat_client) {
    NetClient* client = &seat_client->client;
    int64_t seat = seat_client->seat;
    if (client->phase != client_seated || client->records_received == seat_client->chose_at_record) return;
    if (!remote_seat_may_choose(seat) || !players.data[seat].is_remote) return;
    // The host has answered everything this client sent before.
    if (client->record.count == 0) return;
    Player* player = &players.data[seat];
    Move move{};
    switch (machine_kind) {
        case state_machine:
            if (!choose_state_machine_move(player->difficulty, &move)) return;
            break;
        case pushdown_machine:
            if (!choose_pushdown_move(player->hand, player->difficulty, &move)) {
                seat_client->chose_at_record = client->records_received;
                if (may_draw_card()) return send_draw_card(client);
                if (may_end_turn_unmoved()) return send_end_turn(client);
                return;
            }
            break;
        default:
            move = choose_turing_move();
            if (move.rule.length == 0) return;
            break;
    }
    int16_t from = stones.data[move.stone];
    MoveChoice choice{from, move.target, transition_taken(from, move.target, move.rule),
                      machine_kind == pushdown_machine ? static_cast<int64_t>(move.card) : -1};
    seat_client->chose_at_record = client->records_received;
    send_move_choice(client, choice);
}

}  // namespace

bool open_table(NetTable* table, uint8_t kind, const std::string& map, int64_t seats, const std::vector<bool>& remote,
                int64_t difficulty, double hand_over_delay) {
    reset_model(kind);
    reset_net_host();
    if (!load_map(view_of(map))) return false;
    add_players(seats, true, difficulty);
    table->clients.clear();
    for (int64_t seat = 0; seat < seats; seat++) {
        if (!remote[seat]) continue;
        players.data[seat].is_computer = 0;
        players.data[seat].is_remote = 1;
    }
    if (!start_game()) return false;
    table->now = wall_seconds();
    table->step = 0;
    table->leaked_cards = 0;
    if (!start_hosting(0, hand_over_delay, table->now)) return false;
    table->client_port = net_host.port;
    for (int64_t seat = 0; seat < seats; seat++) {
        if (!remote[seat]) continue;
        TableClient seat_client{};
        seat_client.client = idle_net_client();
        seat_client.seat = seat;
        seat_client.rejoin_at_step = -1;
        seat_client.chose_at_record = -1;
        table->clients.push_back(seat_client);
    }
    return true;
}

bool seat_everyone(NetTable* table, int64_t step_limit) {
    for (TableClient& seat_client : table->clients) {
        if (!join_host(&seat_client.client, str("127.0.0.1"), table->client_port, table->now)) return false;
    }
    for (int64_t k = 0; k < step_limit; k++) {
        bool seated = true;
        for (TableClient& seat_client : table->clients) {
            if (seat_client.client.phase == client_choosing_seat) take_offered_seat(&seat_client.client, seat_client.seat);
            seated = seated && seat_client.client.phase == client_seated && seat_client.client.records_received > 0;
        }
        if (seated) return true;
        step_table(table, false);
    }
    for (TableClient& seat_client : table->clients) {
        ADD_FAILURE() << "seat " << seat_client.seat << ": phase " << int(seat_client.client.phase) << ", "
                      << text_of(client_failure(seat_client.client));
    }
    return false;
}

void step_table(NetTable* table, bool play) {
    arena_empty(FRAME_ARENA);
    table->now = wall_seconds();
    table->step++;
    if (play && skip_to_computer_action() && players.data[current_player].is_computer) computer_act();
    update_hosting(table->now);
    for (TableClient& seat_client : table->clients) {
        update_client(&seat_client.client, table->now);
        NetClient* client = &seat_client.client;
        if (client->records_received > seat_client.records_checked) {
            seat_client.records_checked = client->records_received;
            std::string shown = hidden_state_shown(text_of(net_bytes_view(client->record)), seat_client.seat);
            if (!shown.empty()) {
                table->leaked_cards++;
                if (table->first_leak.empty()) table->first_leak = shown;
            }
        }
        // A refused choice is thought over again at once.
        if (client->refusals_received != seat_client.refusals_seen) {
            seat_client.refusals_seen = client->refusals_received;
            seat_client.chose_at_record = -1;
        }
        if (play) choose_for_remote_seat(&seat_client);
    }
}

bool settle_table(NetTable* table, int64_t step_limit, const TableClient* only, std::string* why) {
    for (int64_t k = 0; k < step_limit; k++) {
        bool settled = true;
        for (const TableClient& seat_client : table->clients) {
            if (only && only != &seat_client) continue;
            if (seat_client.client.phase != client_seated || !record_difference(seat_client).empty()) settled = false;
        }
        if (settled) return true;
        step_table(table, false);
    }
    std::string found;
    for (const TableClient& seat_client : table->clients) {
        if (only && only != &seat_client) continue;
        found += "seat " + std::to_string(seat_client.seat) + ": phase " + std::to_string(seat_client.client.phase) + ", " +
                 text_of(client_failure(seat_client.client)) + "; " + record_difference(seat_client) + "\n";
    }
    if (why) *why = found;
    else ADD_FAILURE() << found;
    return false;
}

std::string record_difference(const TableClient& client) {
    std::vector<std::string> held = record_lines(text_of(net_bytes_view(client.client.record)));
    std::vector<std::string> host = record_lines(text_of(write_game_record(client.seat, false)));
    for (size_t i = 0; i < held.size() || i < host.size(); i++) {
        std::string a = i < held.size() ? held[i] : "(none)";
        std::string b = i < host.size() ? host[i] : "(none)";
        if (a != b) return "client: " + a + " / host: " + b;
    }
    return "";
}

std::string hidden_state_shown(const std::string& record, int64_t viewer) {
    std::vector<std::string> lines = record_lines(record);
    bool over = false;
    for (const std::string& line : lines) {
        std::vector<int64_t> numbers = numbers_after_key(line);
        if (line.rfind("turn ", 0) == 0 && numbers.size() > 1 && numbers[1] != no_winner) over = true;
        // The progress line's seventh and ninth fields: blocked and drawn games are over too.
        if (line.rfind("progress ", 0) == 0 && numbers.size() > 8 && (numbers[6] != 0 || numbers[8] != 0)) over = true;
    }
    int64_t seat = -1;
    for (const std::string& line : lines) {
        std::vector<int64_t> numbers = numbers_after_key(line);
        bool hand = line.rfind("hand ", 0) == 0;
        bool deck_line = line.rfind("deck ", 0) == 0;
        if (line.rfind("seat ", 0) == 0) {
            seat++;
            // Kind, difficulty, colour, then the goal's nine fields.
            if (seat != viewer && !over && numbers.size() > 3 && numbers[3] != hidden_goal_kind) return "goal of seat " + std::to_string(seat) + ": " + line;
        }
        if ((hand && seat != viewer) || deck_line) {
            for (size_t i = 1; i + 2 < numbers.size() + 1 && i + 2 <= numbers.size(); i += 3) {
                bool hidden = numbers[i] == hidden_card.color && numbers[i + 1] == hidden_card.shape && numbers[i + 2] == hidden_card.number;
                if (!hidden) return (hand ? "hand of seat " + std::to_string(seat) : std::string("deck")) + ": " + line;
            }
        }
    }
    return "";
}

bool rejoin_seat(NetTable* table, TableClient* seat_client, const std::string& token) {
    // The counts start again with the new connection.
    seat_client->records_checked = 0;
    seat_client->chose_at_record = -1;
    seat_client->refusals_seen = 0;
    return rejoin_host(&seat_client->client, str("127.0.0.1"), table->client_port, view_of(token), table->now);
}

void close_table(NetTable* table) {
    for (TableClient& seat_client : table->clients) reset_net_client(&seat_client.client);
    table->clients.clear();
    stop_hosting(str("the test is over"), table->now);
    reset_net_host();
}
