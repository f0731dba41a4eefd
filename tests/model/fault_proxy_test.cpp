// The fault proxy between plain loopback sockets: whatever it does to timing and pieces, each
// stream arrives whole and in order, and its cuts and stalls do what they say.
#include "fault_proxy.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Far beyond what any of these exchanges needs, so that only a real fault reaches it.
const auto deadline_span = std::chrono::seconds(30);

struct Server {
    int listener = -1;
    uint16_t port = 0;
};

Server listen_loopback() {
    Server server;
    server.listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback_address(0);
    socklen_t length = sizeof address;
    EXPECT_EQ(bind(server.listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(server.listener, 16), 0);
    EXPECT_EQ(getsockname(server.listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    server.port = ntohs(address.sin_port);
    return server;
}

int connect_loopback(uint16_t port) {
    int descriptor = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback_address(port);
    EXPECT_EQ(connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return descriptor;
}

int milliseconds_left(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<int64_t>(left, 0));
}

// A client through the proxy and the server side of the same connection.
struct Pair {
    int client = -1;
    int server = -1;
};

Pair connect_through(FaultProxy* proxy, const Server& server) {
    Pair pair;
    pair.client = connect_loopback(fault_proxy_port(proxy));
    pollfd waiting{server.listener, POLLIN, 0};
    EXPECT_EQ(poll(&waiting, 1, milliseconds_left(Clock::now() + deadline_span)), 1);
    pair.server = accept(server.listener, nullptr, nullptr);
    return pair;
}

void close_pair(const Pair& pair) {
    close(pair.client);
    close(pair.server);
}

// Reads until count bytes came, the peer closed or the deadline passed.
std::vector<uint8_t> read_bytes(int descriptor, size_t count) {
    std::vector<uint8_t> bytes;
    Clock::time_point deadline = Clock::now() + deadline_span;
    while (bytes.size() < count) {
        pollfd waiting{descriptor, POLLIN, 0};
        if (poll(&waiting, 1, milliseconds_left(deadline)) != 1) break;
        uint8_t buffer[4096];
        ssize_t received = recv(descriptor, buffer, sizeof buffer, 0);
        if (received <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + received);
    }
    return bytes;
}

// True when the peer closed (end of stream or reset) before the deadline.
bool sees_close(int descriptor) {
    Clock::time_point deadline = Clock::now() + deadline_span;
    for (;;) {
        pollfd waiting{descriptor, POLLIN, 0};
        if (poll(&waiting, 1, milliseconds_left(deadline)) != 1) return false;
        uint8_t buffer[256];
        if (recv(descriptor, buffer, sizeof buffer, 0) <= 0) return true;
    }
}

std::vector<uint8_t> pattern(size_t count, uint8_t salt) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; i++) bytes[i] = static_cast<uint8_t>(i * 31 + i / 251 + salt);
    return bytes;
}

void send_all(int descriptor, const std::vector<uint8_t>& bytes) {
    ASSERT_EQ(send(descriptor, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
}

TEST(FaultProxy, DelayedOneByteSplitsArriveWholeAndInOrderOnEveryConnection) {
    for (bool reorder_across : {false, true}) {
        Server server = listen_loopback();
        FaultProxy* proxy = start_fault_proxy(server.port, FaultPlan{17, 0.02, 1, reorder_across});
        ASSERT_NE(proxy, nullptr);
        std::vector<Pair> pairs;
        for (int i = 0; i < 3; i++) pairs.push_back(connect_through(proxy, server));
        for (size_t i = 0; i < pairs.size(); i++) {
            send_all(pairs[i].server, pattern(3000, static_cast<uint8_t>(i)));
            send_all(pairs[i].client, pattern(1000, static_cast<uint8_t>(100 + i)));
        }
        for (size_t i = 0; i < pairs.size(); i++) {
            std::vector<uint8_t> to_client = read_bytes(pairs[i].client, 3000);
            EXPECT_EQ(to_client, pattern(3000, static_cast<uint8_t>(i))) << i << (reorder_across ? " across" : "");
            EXPECT_EQ(read_bytes(pairs[i].server, 1000), pattern(1000, static_cast<uint8_t>(100 + i))) << i;
            EXPECT_EQ(fault_proxy_bytes_to_client(proxy, static_cast<int64_t>(i)), to_client) << i;
        }
        EXPECT_EQ(fault_proxy_connections(proxy), 3);
        // A close passes through once the bytes before it went out.
        close(pairs[0].server);
        EXPECT_TRUE(sees_close(pairs[0].client));
        close(pairs[0].client);
        for (size_t i = 1; i < pairs.size(); i++) close_pair(pairs[i]);
        stop_fault_proxy(proxy);
        close(server.listener);
    }
}

TEST(FaultProxy, CutsCloseBothEndsOfTheirConnectionOnly) {
    Server server = listen_loopback();
    FaultProxy* proxy = start_fault_proxy(server.port, FaultPlan{3, 0, 0, true});
    ASSERT_NE(proxy, nullptr);
    Pair cut = connect_through(proxy, server);
    Pair later = connect_through(proxy, server);
    Pair kept = connect_through(proxy, server);
    send_all(cut.server, {1, 2, 3});
    ASSERT_EQ(read_bytes(cut.client, 3).size(), 3u);

    fault_proxy_cut(proxy, 0);
    EXPECT_FALSE(fault_proxy_connection_open(proxy, 0));
    EXPECT_TRUE(sees_close(cut.client));
    EXPECT_TRUE(sees_close(cut.server));
    fault_proxy_cut_within(proxy, 1, 0.2);
    EXPECT_TRUE(sees_close(later.client));
    EXPECT_TRUE(sees_close(later.server));
    EXPECT_FALSE(fault_proxy_connection_open(proxy, 1));

    EXPECT_TRUE(fault_proxy_connection_open(proxy, 2));
    send_all(kept.client, {9, 8, 7});
    EXPECT_EQ(read_bytes(kept.server, 3), (std::vector<uint8_t>{9, 8, 7}));
    EXPECT_EQ(fault_proxy_bytes_to_client(proxy, 0), (std::vector<uint8_t>{1, 2, 3}));
    fault_proxy_cut(proxy, -1);
    EXPECT_TRUE(sees_close(kept.client));
    EXPECT_TRUE(sees_close(kept.server));
    for (const Pair& pair : {cut, later, kept}) close_pair(pair);
    stop_fault_proxy(proxy);
    close(server.listener);
}

TEST(FaultProxy, StalledBytesArriveWhenTheStallEnds) {
    Server server = listen_loopback();
    FaultProxy* proxy = start_fault_proxy(server.port, FaultPlan{5, 0, 0, false});
    ASSERT_NE(proxy, nullptr);
    Pair pair = connect_through(proxy, server);
    const auto stall = std::chrono::milliseconds(300);
    Clock::time_point stalled = Clock::now();
    fault_proxy_stall(proxy, -1, 0.3);
    send_all(pair.server, pattern(500, 1));
    send_all(pair.client, pattern(200, 2));
    EXPECT_EQ(read_bytes(pair.client, 500), pattern(500, 1));
    EXPECT_GE(Clock::now() - stalled, stall);
    EXPECT_EQ(read_bytes(pair.server, 200), pattern(200, 2));
    EXPECT_GE(Clock::now() - stalled, stall);
    EXPECT_TRUE(fault_proxy_connection_open(proxy, 0));
    EXPECT_EQ(fault_proxy_bytes_to_client(proxy, 0), pattern(500, 1));
    close_pair(pair);
    stop_fault_proxy(proxy);
    close(server.listener);
}

}  // namespace
