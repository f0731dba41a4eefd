// The relay thread polls the listener and both sockets of every connection with a short time-out,
// reads whatever arrived into per-direction queues of pieces with due times, and passes on the
// pieces that are due. Sockets are closed only by that thread; callers shut them down under the
// mutex, which wakes its poll without ever racing a closed descriptor's reuse.
#include "fault_proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const int poll_milliseconds = 5;
const size_t read_size = 65536;
// A direction stops reading while this much waits in it, as a full TCP window would.
const size_t held_limit = 4 << 20;

struct Piece {
    std::vector<uint8_t> bytes;
    size_t sent = 0;
    Clock::time_point due;
    uint64_t sequence = 0;
};

struct Direction {
    int from = -1;
    int to = -1;
    std::deque<Piece> pieces;
    size_t held_bytes = 0;
    Clock::time_point last_due;
    bool source_ended = false;  // the sender closed its side; pass that on once drained
    bool passed_end = false;
    bool blocked = false;       // the receiver took no more; wait for it to be writable
};

struct Connection {
    int client = -1;
    int server = -1;
    Direction to_server, to_client;
    std::vector<uint8_t> record_to_client;
    Clock::time_point stalled_until;
    bool cut_pending = false;
    Clock::time_point cut_at;
    bool open = true;
};

}  // namespace

struct FaultProxy {
    FaultPlan plan{};
    uint16_t target_port = 0;
    uint16_t port = 0;
    int listener = -1;
    std::mt19937_64 random;
    uint64_t next_sequence = 0;
    Clock::time_point last_due;  // the proxy's own order when connections must not interleave
    mutable std::mutex mutex;
    std::vector<std::unique_ptr<Connection>> connections;
    std::atomic<bool> stopping{false};
    std::thread relay;
};

namespace {

double uniform(FaultProxy* proxy, double high) {
    return high <= 0 ? 0 : std::uniform_real_distribution<double>(0, high)(proxy->random);
}

Clock::duration seconds(double value) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(value));
}

void set_non_blocking(int descriptor) {
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) | O_NONBLOCK);
    int on = 1;
    setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// Shuts both sockets down now; the relay thread closes them when it next looks.
void shut_connection(Connection* connection) {
    if (!connection->open) return;
    shutdown(connection->client, SHUT_RDWR);
    shutdown(connection->server, SHUT_RDWR);
    connection->cut_pending = false;
    connection->to_server.pieces.clear();
    connection->to_client.pieces.clear();
    connection->to_server.source_ended = connection->to_client.source_ended = true;
    connection->to_server.passed_end = connection->to_client.passed_end = true;
}

void close_connection(Connection* connection) {
    shut_connection(connection);
    close(connection->client);
    close(connection->server);
    connection->open = false;
}

bool finished(const Connection& connection) {
    return connection.to_server.passed_end && connection.to_client.passed_end;
}

void accept_connections(FaultProxy* proxy) {
    for (;;) {
        int client = accept(proxy->listener, nullptr, nullptr);
        if (client < 0) return;
        int server = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in target = loopback_address(proxy->target_port);
        if (server < 0 || connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
            if (server >= 0) close(server);
            close(client);
            continue;
        }
        set_non_blocking(client);
        set_non_blocking(server);
        auto connection = std::make_unique<Connection>();
        connection->client = client;
        connection->server = server;
        connection->to_server.from = client;
        connection->to_server.to = server;
        connection->to_client.from = server;
        connection->to_client.to = client;
        proxy->connections.push_back(std::move(connection));
    }
}

// Takes what arrived on the direction's sending side and queues it in pieces with due times.
// Returns false when the socket failed, which ends the whole connection.
bool read_direction(FaultProxy* proxy, Direction* direction) {
    if (direction->source_ended || direction->held_bytes >= held_limit) return true;
    uint8_t buffer[read_size];
    ssize_t received = recv(direction->from, buffer, sizeof buffer, 0);
    if (received == 0) direction->source_ended = true;
    if (received < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    Clock::time_point now = Clock::now();
    size_t offset = 0;
    while (offset < static_cast<size_t>(received)) {
        size_t size = static_cast<size_t>(received) - offset;
        if (proxy->plan.max_piece_bytes > 0) {
            std::uniform_int_distribution<int64_t> piece_size(1, proxy->plan.max_piece_bytes);
            size = std::min(size, static_cast<size_t>(piece_size(proxy->random)));
        }
        Piece piece;
        piece.bytes.assign(buffer + offset, buffer + offset + size);
        // A stream never overtakes itself; without interleaving, no connection overtakes another.
        Clock::time_point& order = proxy->plan.reorder_across ? direction->last_due : proxy->last_due;
        piece.due = std::max(order, now + seconds(uniform(proxy, proxy->plan.max_delay_seconds)));
        order = piece.due;
        piece.sequence = proxy->next_sequence++;
        direction->held_bytes += size;
        direction->pieces.push_back(std::move(piece));
        offset += size;
    }
    return true;
}

// Sends the front piece of the direction; false when the receiver is gone.
bool send_piece(Connection* connection, Direction* direction) {
    Piece& piece = direction->pieces.front();
    ssize_t sent = send(direction->to, piece.bytes.data() + piece.sent, piece.bytes.size() - piece.sent, MSG_NOSIGNAL);
    if (sent < 0) {
        direction->blocked = errno == EAGAIN || errno == EWOULDBLOCK;
        return direction->blocked || errno == EINTR;
    }
    if (direction == &connection->to_client) {
        connection->record_to_client.insert(connection->record_to_client.end(), piece.bytes.begin() + piece.sent,
                                            piece.bytes.begin() + piece.sent + sent);
    }
    piece.sent += static_cast<size_t>(sent);
    direction->blocked = piece.sent < piece.bytes.size();
    if (!direction->blocked) {
        direction->held_bytes -= piece.bytes.size();
        direction->pieces.pop_front();
    }
    return true;
}

struct Delivery {
    Connection* connection;
    Direction* direction;
    uint64_t sequence;
};

// Every due piece of every connection, one entry per piece: in arrival order, or shuffled across
// connections when the plan asks for it (each direction still sends its own pieces front first).
std::vector<Delivery> due_deliveries(FaultProxy* proxy, Clock::time_point now) {
    std::vector<Delivery> deliveries;
    for (auto& connection : proxy->connections) {
        if (!connection->open || now < connection->stalled_until) continue;
        for (Direction* direction : {&connection->to_server, &connection->to_client}) {
            for (const Piece& piece : direction->pieces) {
                if (piece.due > now) break;
                deliveries.push_back({connection.get(), direction, piece.sequence});
            }
        }
    }
    if (proxy->plan.reorder_across) {
        std::shuffle(deliveries.begin(), deliveries.end(), proxy->random);
    } else {
        std::sort(deliveries.begin(), deliveries.end(),
                  [](const Delivery& a, const Delivery& b) { return a.sequence < b.sequence; });
    }
    return deliveries;
}

void deliver(FaultProxy* proxy, Clock::time_point now) {
    for (auto& connection : proxy->connections) {
        connection->to_server.blocked = connection->to_client.blocked = false;
    }
    for (const Delivery& delivery : due_deliveries(proxy, now)) {
        Connection* connection = delivery.connection;
        Direction* direction = delivery.direction;
        if (!connection->open || direction->blocked || direction->pieces.empty()) continue;
        if (!send_piece(connection, direction)) close_connection(connection);
    }
}

// A direction whose sender closed passes the close on once everything before it went out.
void pass_ends(Connection* connection) {
    for (Direction* direction : {&connection->to_server, &connection->to_client}) {
        if (direction->source_ended && !direction->passed_end && direction->pieces.empty()) {
            shutdown(direction->to, SHUT_WR);
            direction->passed_end = true;
        }
    }
}

void relay_once(FaultProxy* proxy) {
    accept_connections(proxy);
    Clock::time_point now = Clock::now();
    for (auto& connection : proxy->connections) {
        if (!connection->open) continue;
        if (connection->cut_pending && now >= connection->cut_at) shut_connection(connection.get());
        if (!read_direction(proxy, &connection->to_server) || !read_direction(proxy, &connection->to_client)) {
            close_connection(connection.get());
        }
    }
    deliver(proxy, now);
    for (auto& connection : proxy->connections) {
        if (!connection->open) continue;
        pass_ends(connection.get());
        if (finished(*connection)) close_connection(connection.get());
    }
}

std::vector<pollfd> poll_set(const FaultProxy* proxy) {
    std::vector<pollfd> set{{proxy->listener, POLLIN, 0}};
    for (const auto& connection : proxy->connections) {
        if (!connection->open) continue;
        for (const Direction* direction : {&connection->to_server, &connection->to_client}) {
            bool reading = !direction->source_ended && direction->held_bytes < held_limit;
            if (reading) set.push_back({direction->from, POLLIN, 0});
            if (direction->blocked) set.push_back({direction->to, POLLOUT, 0});
        }
    }
    return set;
}

void relay(FaultProxy* proxy) {
    while (!proxy->stopping) {
        std::vector<pollfd> set;
        {
            std::lock_guard<std::mutex> lock(proxy->mutex);
            set = poll_set(proxy);
        }
        poll(set.data(), set.size(), poll_milliseconds);
        std::lock_guard<std::mutex> lock(proxy->mutex);
        relay_once(proxy);
    }
}

template <typename Action>
void for_connections(FaultProxy* proxy, int64_t connection, Action action) {
    std::lock_guard<std::mutex> lock(proxy->mutex);
    for (size_t i = 0; i < proxy->connections.size(); i++) {
        if (connection == -1 || static_cast<int64_t>(i) == connection) action(proxy->connections[i].get());
    }
}

}  // namespace

sockaddr_in loopback_address(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

FaultProxy* start_fault_proxy(uint16_t target_port, FaultPlan plan) {
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0) return nullptr;
    sockaddr_in address = loopback_address(0);
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 64) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(listener);
        return nullptr;
    }
    fcntl(listener, F_SETFL, fcntl(listener, F_GETFL) | O_NONBLOCK);
    FaultProxy* proxy = new FaultProxy;
    proxy->plan = plan;
    proxy->target_port = target_port;
    proxy->port = ntohs(address.sin_port);
    proxy->listener = listener;
    proxy->random.seed(plan.seed);
    proxy->relay = std::thread(relay, proxy);
    return proxy;
}

uint16_t fault_proxy_port(const FaultProxy* proxy) { return proxy->port; }

int64_t fault_proxy_connections(const FaultProxy* proxy) {
    std::lock_guard<std::mutex> lock(proxy->mutex);
    return static_cast<int64_t>(proxy->connections.size());
}

void fault_proxy_cut(FaultProxy* proxy, int64_t connection) { for_connections(proxy, connection, shut_connection); }

void fault_proxy_cut_within(FaultProxy* proxy, int64_t connection, double within) {
    Clock::time_point now = Clock::now();
    for_connections(proxy, connection, [&](Connection* chosen) {
        chosen->cut_pending = true;
        chosen->cut_at = now + seconds(uniform(proxy, within));
    });
}

void fault_proxy_stall(FaultProxy* proxy, int64_t connection, double length) {
    Clock::time_point until = Clock::now() + seconds(length);
    for_connections(proxy, connection, [&](Connection* chosen) { chosen->stalled_until = until; });
}

bool fault_proxy_connection_open(const FaultProxy* proxy, int64_t connection) {
    std::lock_guard<std::mutex> lock(proxy->mutex);
    if (connection < 0 || connection >= static_cast<int64_t>(proxy->connections.size())) return false;
    const Connection& chosen = *proxy->connections[static_cast<size_t>(connection)];
    return chosen.open && !(chosen.to_server.passed_end && chosen.to_client.passed_end);
}

std::vector<uint8_t> fault_proxy_bytes_to_client(const FaultProxy* proxy, int64_t connection) {
    std::lock_guard<std::mutex> lock(proxy->mutex);
    if (connection < 0 || connection >= static_cast<int64_t>(proxy->connections.size())) return {};
    return proxy->connections[static_cast<size_t>(connection)]->record_to_client;
}

void stop_fault_proxy(FaultProxy* proxy) {
    proxy->stopping = true;
    proxy->relay.join();
    for (auto& connection : proxy->connections) {
        if (connection->open) close_connection(connection.get());
    }
    close(proxy->listener);
    delete proxy;
}
