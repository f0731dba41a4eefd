// A relay between clients and a server on 127.0.0.1 that injects the faults TCP itself can show:
// delays, splits into small pieces, interleaving across connections (never within one stream),
// stalls and cuts. It runs on its own thread; every random choice comes from the plan's seed.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <vector>

struct FaultPlan {
    uint64_t seed;
    double max_delay_seconds;  // bytes are held up to this long (0: passed on at once)
    int64_t max_piece_bytes;   // bytes go on in pieces of 1 to this many (0: as they came)
    bool reorder_across;       // deliveries of different connections interleave in random order
};

struct FaultProxy;

// 127.0.0.1 at the port, as the relay and its tests connect and listen.
sockaddr_in loopback_address(uint16_t port);

// Listens on 127.0.0.1 with a port of the system's choice and relays every connection to
// target_port there; null when it cannot listen.
FaultProxy* start_fault_proxy(uint16_t target_port, FaultPlan plan);
uint16_t fault_proxy_port(const FaultProxy* proxy);
// Connections relayed so far; they are numbered from 0 in the order they were accepted.
int64_t fault_proxy_connections(const FaultProxy* proxy);
// Closes both sides of the connection (-1: of all) at once, dropping the bytes held for them.
void fault_proxy_cut(FaultProxy* proxy, int64_t connection);
// Closes both sides of the connection (-1: of each) at a random moment within the next seconds.
void fault_proxy_cut_within(FaultProxy* proxy, int64_t connection, double seconds);
// Passes no bytes of the connection (-1: of all open ones) on for that long; the sockets stay open.
void fault_proxy_stall(FaultProxy* proxy, int64_t connection, double seconds);
// Whether both sides of the connection are still open.
bool fault_proxy_connection_open(const FaultProxy* proxy, int64_t connection);
// Every byte passed from the server to the client of the connection so far, in order.
std::vector<uint8_t> fault_proxy_bytes_to_client(const FaultProxy* proxy, int64_t connection);
// Closes every socket, joins the thread and frees the proxy.
void stop_fault_proxy(FaultProxy* proxy);
