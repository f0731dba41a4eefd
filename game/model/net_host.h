// A game hosted for players at other computers. The host runs the referee, the computer seats and
// the draw rules; a client only sends what its player chose, and receives the game as its seat may
// know it. A client that drops keeps its seat for a while under a token, so it can come back from
// any computer; a seat left empty too long is handed to a computer.
#pragma once
#include "model/game_data.h"
#include "model/net_link.h"

constexpr uint16_t default_host_port = 4747;
constexpr double default_hand_over_delay = 60.0;
// Connections at once, seated or still choosing; more are turned away.
constexpr int64_t host_client_capacity = 16;
constexpr int64_t host_seat_capacity = card_property_count;
// Letters a player types to rejoin; short enough to read off a screen.
constexpr int64_t rejoin_token_length = 6;

struct HostedSeat {
    // A remote seat: played from another computer.
    uint8_t remote;
    // A client has sat here, so only its token takes the seat now.
    uint8_t taken;
    // The client holding the seat now, -1 while away or never taken.
    int64_t client;
    // Away since its client dropped; after the hand-over delay a computer plays it.
    double away_since;
    uint8_t handed_to_computer;
    char token[rejoin_token_length];
};

struct HostClient {
    NetLink link;
    // -1 until it takes a seat.
    int64_t seat;
    // The last game state sent, so only a change is sent again.
    GrowableArray<uint8_t> sent_record;
    uint8_t map_sent;
    // What this client was last told of the seats (welcome and status), sent again on a change.
    GrowableArray<uint8_t> sent_seats;
    // Told why its connection ends; its socket lingers until the goodbye is through.
    uint8_t said_goodbye;
};

struct NetHost {
    uint8_t active;
    network_socket listener;
    uint16_t port;
    int32_t selector;
    double hand_over_delay;
    HostClient clients[host_client_capacity];
    HostedSeat seats[host_seat_capacity];
    // Why hosting could not start, or why the last client was turned away.
    char failure_text[net_failure_capacity];
    int64_t failure_length;
    uint64_t token_random;
    // Figures over all connections: messages, bytes and the largest message sent.
    int64_t messages_sent, bytes_sent, largest_message, states_sent;
};

extern NetHost net_host;

void reset_net_host();
// Listens on port (0: any free port; net_host.port tells which) for the game in progress, whose
// seats marked is_remote wait for clients. False, with the reason in host_failure(), when the port
// cannot be had.
bool start_hosting(uint16_t port, double hand_over_delay, double now);
// Tells every client why and closes every connection.
void stop_hosting(string reason, double now);
// Once a frame, after the play update: takes new connections, reads and carries out the clients'
// choices, hands seats left empty too long to computers, and sends every client what changed.
void update_hosting(double now);
string host_failure();
// The hosting of the game in progress as one line of text (port, hand-over delay, each seat's
// token), kept beside the game so that a continued game takes its remote players back.
string write_hosting_record();
// Hosts the game in progress again as the line says, every token as it was; false when the line
// does not read or the port cannot be had.
bool resume_hosting(string line, double now);
// A remote seat nobody plays from now: never taken, or its client dropped.
bool seat_waiting(int64_t seat);
string seat_token(int64_t seat);
