// A hosted game and its clients in one test program, over loopback: the host's game is the model's,
// each client keeps only what it received. The remote seats choose what a computer at the host
// would, and send it the way a remote player's game does.
#pragma once

#include "model/net_client.h"

#include <string>
#include <vector>

struct TableClient {
    NetClient client;
    // Which seat it plays (and takes back after a cut).
    int64_t seat;
    // Cut and not yet rejoined: the step it rejoins at.
    int64_t rejoin_at_step;
    // Each record received, for the audit of what a seat may know.
    int64_t records_checked;
    // The state count it had when it last sent a choice: one choice per state.
    int64_t chose_at_record;
    int64_t refusals_seen;
};

struct NetTable {
    std::vector<TableClient> clients;
    // Where clients connect: the host itself, or a proxy in front of it.
    uint16_t client_port;
    double now;
    int64_t step;
    // What the audit found: hidden cards sent to a seat that may not see them.
    int64_t leaked_cards;
    std::string first_leak;
};

double wall_seconds();
// A shipped map of the kind and the seats: remote ones marked, the others computers at this
// difficulty; the game starts and is hosted on a free port.
bool open_table(NetTable* table, uint8_t kind, const std::string& map, int64_t seats, const std::vector<bool>& remote,
                int64_t difficulty, double hand_over_delay);
// Every remote seat's client connects (to client_port) and takes its seat.
bool seat_everyone(NetTable* table, int64_t step_limit);
// One frame: the host's game goes on (pauses skipped), the host and every client exchange what
// they have, and each remote seat on its turn sends its choice.
void step_table(NetTable* table, bool play);
// Steps until every client (or only the one given) is seated and holds the host's present state
// for its seat, without playing. On failure each client's phase and first difference go to why,
// or fail the test when why is null.
bool settle_table(NetTable* table, int64_t step_limit, const TableClient* only = nullptr, std::string* why = nullptr);
// The first line where the client's newest record and the host's record of its seat differ, or "".
std::string record_difference(const TableClient& client);
// Whether a record for a seat shows another seat's card or the deck's order: empty when it does not.
std::string hidden_state_shown(const std::string& record, int64_t viewer);
// A client back from a cut: it connects again and asks for its seat by token.
bool rejoin_seat(NetTable* table, TableClient* seat_client, const std::string& token);
void close_table(NetTable* table);
