// This computer's side of a game hosted elsewhere: it connects, is offered the host's seats,
// takes one (or takes back its own with a token) and from then on holds the game as the host
// sends it, and sends only its player's choices.
#pragma once
#include "model/move_choice.h"
#include "model/net_host.h"

enum ClientPhase : uint8_t {
    client_idle = 0,
    client_connecting = 1,
    // Welcomed: the host's seats are known, none taken yet.
    client_choosing_seat = 2,
    client_seated = 3,
    // The connection ended; client_failure() says why.
    client_ended = 4
};

struct OfferedSeat {
    // 0 a person at the host, 1 a computer, 2 remote.
    uint8_t kind;
    uint8_t color_index;
    // A client holds it, or held it and may come back with its token.
    uint8_t taken;
    // Its client dropped (status from the host), and whether a computer plays it meanwhile.
    uint8_t away;
    uint8_t handed_to_computer;
};

constexpr int64_t client_host_capacity = 256;

struct NetClient {
    uint8_t phase;
    NetLink link;
    int32_t selector;
    char host[client_host_capacity];
    int64_t host_length;
    uint16_t port;
    OfferedSeat seats[host_seat_capacity];
    int64_t seat_count;
    // The seat this client plays, -1 until seated, and the token that takes it back.
    int64_t seat;
    char token[rejoin_token_length];
    // Set for a rejoin: the token is sent as soon as the connection is made.
    uint8_t rejoining;
    // A seat asked for and not yet answered: one request at a time.
    uint8_t seat_requested;
    // The newest game state received; records_received counts them.
    GrowableArray<uint8_t> record;
    int64_t records_received;
    int64_t records_installed;
    // The newest state that carried the map, until installed: a newer one read before it is
    // shown comes without the map.
    GrowableArray<uint8_t> map_record;
    uint8_t map_record_waiting;
    // The host's last refusal of a choice: what to take back, and why.
    uint8_t refusal_verdict;
    int64_t refusals_received;
    char refusal_text[net_failure_capacity];
    int64_t refusal_length;
    // The choice sent last, so one selection is sent once.
    MoveChoice sent_choice;
    uint8_t choice_sent;
    int64_t bytes_received;
};

// The game's own client; tests may run several others beside it.
extern NetClient net_client;

// A record with no connection, for a client beside the game's own.
NetClient idle_net_client();
// Ends any connection without a word and forgets the host.
void reset_net_client(NetClient* client);
// Starts connecting; false with the reason when the address does not resolve.
bool join_host(NetClient* client, string host, uint16_t port, double now);
// Starts connecting to take back the seat held under token.
bool rejoin_host(NetClient* client, string host, uint16_t port, string token, double now);
// Asks for a seat once; a refusal lets the player choose again.
void take_offered_seat(NetClient* client, int64_t seat);
// Sends the player's choice once; a choice equal to the last one sent is not sent again.
void send_move_choice(NetClient* client, const MoveChoice& choice);
void send_draw_card(NetClient* client);
void send_end_turn(NetClient* client);
// Once a frame: connects, reads the host's messages, keeps the link alive.
void update_client(NetClient* client, double now);
// Installs the newest state received as the game here: the other seats play elsewhere. False
// when there is nothing new or it does not read.
bool install_client_record(NetClient* client);
void leave_host(NetClient* client, string reason, double now);
string client_failure(const NetClient& client);
inline string client_token(const NetClient& client) { return string{client.token, rejoin_token_length}; }
