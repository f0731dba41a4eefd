#include "kestrune_system.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string text(string s) { return std::string(s.data, static_cast<size_t>(s.length)); }

string view(const char* s) { return string{s, static_cast<int64_t>(strlen(s))}; }

// Binds to an ephemeral loopback port and returns the address with the port the system chose.
network_address bind_loopback(network_socket handle, const char* host, uint32_t flags) {
    network_address address = network_address_find(view(host), 0, flags);
    EXPECT_TRUE(network_socket_bind(handle, &address));
    EXPECT_TRUE(network_socket_get_address(handle, &address));
    return address;
}

TEST(NetworkAddress, EmptyHostIsTheWildcardForBinding) {
    network_address address = network_address_find(string{nullptr, 0}, 8080, NETWORK_TCP | NETWORK_IPV4);
    uint16_t family;
    memcpy(&family, address.bytes, sizeof family);
    EXPECT_EQ(family, AF_INET);
    EXPECT_EQ(address.bytes[2], 0x1F);
    EXPECT_EQ(address.bytes[3], 0x90);
    EXPECT_EQ(network_address_get_port(&address), 8080);
    EXPECT_EQ(text(network_address_get_ip(&address)), "0.0.0.0");
    for (size_t i = sizeof(sockaddr_in); i < sizeof address.bytes; i++) EXPECT_EQ(address.bytes[i], 0) << i;
}

TEST(NetworkAddress, NumericHostsOfBothFamilies) {
    network_address v4 = network_address_find(view("127.0.0.1"), 4000, NETWORK_UDP | NETWORK_IPV4);
    EXPECT_EQ(text(network_address_get_ip(&v4)), "127.0.0.1");
    EXPECT_EQ(network_address_get_port(&v4), 4000);

    // IPv6 wins over IPv4 when both are asked for.
    network_address v6 = network_address_find(view("::1"), 65535, NETWORK_UDP | NETWORK_IPV4 | NETWORK_IPV6);
    uint16_t family;
    memcpy(&family, v6.bytes, sizeof family);
    EXPECT_EQ(family, AF_INET6);
    EXPECT_EQ(text(network_address_get_ip(&v6)), "::1");
    EXPECT_EQ(network_address_get_port(&v6), 65535);
}

TEST(NetworkAddress, ZeroedRecordHasNoText) {
    network_address nothing{};
    string ip = network_address_get_ip(&nothing);
    EXPECT_EQ(ip.length, 0);
    EXPECT_EQ(network_address_get_port(&nothing), 0);
}

TEST(NetworkTcp, LoopbackConnectionCarriesDataAndReportsTheClose) {
    network_socket server = network_socket_create(NETWORK_TCP | NETWORK_IPV4);
    ASSERT_FALSE(network_socket_failed(server));
    network_address server_address = bind_loopback(server, "127.0.0.1", NETWORK_TCP | NETWORK_IPV4);
    ASSERT_TRUE(network_tcp_listen(server));

    network_socket client = network_socket_create(NETWORK_TCP | NETWORK_IPV4);
    ASSERT_TRUE(network_tcp_connect(client, &server_address));
    network_address peer;
    memset(&peer, 0xAB, sizeof peer);
    network_socket accepted = network_tcp_accept(server, &peer);
    ASSERT_FALSE(network_socket_failed(accepted));
    EXPECT_EQ(text(network_address_get_ip(&peer)), "127.0.0.1");
    EXPECT_NE(network_address_get_port(&peer), network_address_get_port(&server_address));
    EXPECT_EQ(peer.bytes[sizeof(sockaddr_in)], 0);

    EXPECT_EQ(network_tcp_send(client, 5, "hello"), 5);
    char buffer[16] = {};
    EXPECT_EQ(network_tcp_receive(accepted, sizeof buffer, buffer), 5);
    EXPECT_STREQ(buffer, "hello");

    EXPECT_EQ(network_tcp_disconnect(client), 0);
    EXPECT_EQ(network_tcp_receive(accepted, sizeof buffer, buffer), 0);

    // Sending to a closed peer fails by result instead of ending the process with SIGPIPE.
    EXPECT_EQ(network_socket_destroy(client), 0);
    int result = 0;
    for (int i = 0; i < 100 && result >= 0; i++) result = network_tcp_send(accepted, 5, "again");
    EXPECT_EQ(result, -1);

    EXPECT_EQ(network_socket_destroy(accepted), 0);
    EXPECT_EQ(network_socket_destroy(server), 0);
    EXPECT_EQ(network_socket_destroy(server), -1);
}

TEST(NetworkTcp, ListenerOnPortZeroTellsTheChosenPortAndAcceptsThere) {
    network_socket server = network_socket_create(NETWORK_TCP | NETWORK_IPV4);
    network_address any_port = network_address_find(view("127.0.0.1"), 0, NETWORK_TCP | NETWORK_IPV4);
    ASSERT_TRUE(network_socket_bind(server, &any_port));
    ASSERT_TRUE(network_tcp_listen(server));
    network_address bound;
    memset(&bound, 0xAB, sizeof bound);
    ASSERT_TRUE(network_socket_get_address(server, &bound));
    EXPECT_EQ(text(network_address_get_ip(&bound)), "127.0.0.1");
    uint16_t port = network_address_get_port(&bound);
    EXPECT_NE(port, 0);
    EXPECT_EQ(bound.bytes[sizeof(sockaddr_in)], 0);

    network_address target = network_address_find(view("127.0.0.1"), port, NETWORK_TCP | NETWORK_IPV4);
    network_socket client = network_socket_create(NETWORK_TCP | NETWORK_IPV4);
    ASSERT_TRUE(network_tcp_connect(client, &target));
    network_address peer;
    network_socket accepted = network_tcp_accept(server, &peer);
    ASSERT_FALSE(network_socket_failed(accepted));
    // Each end of the connection sees the other's address.
    network_address client_side;
    ASSERT_TRUE(network_socket_get_address(client, &client_side));
    EXPECT_EQ(network_address_get_port(&client_side), network_address_get_port(&peer));
    network_address accepted_side;
    ASSERT_TRUE(network_socket_get_address(accepted, &accepted_side));
    EXPECT_EQ(network_address_get_port(&accepted_side), port);
    network_socket_destroy(accepted);
    network_socket_destroy(client);
    network_socket_destroy(server);

    system_clear_error();
    EXPECT_FALSE(network_socket_get_address(server, &bound));
    EXPECT_NE(system_get_error().code, SYSTEM_ERROR_NONE);
    EXPECT_EQ(network_address_get_port(&bound), 0);
    EXPECT_FALSE(network_socket_get_address(-1, &bound));
    EXPECT_FALSE(network_socket_get_address(server, nullptr));
    EXPECT_EQ(system_get_error().code, SYSTEM_ERROR_INVALID_ARGUMENT);
}

bool is_loopback(const std::string& ip) { return ip == "::1" || ip.rfind("127.", 0) == 0; }

TEST(NetworkLocal, AddressesAreDistinctIpv4FirstWithLoopbackLast) {
    int32_t count = network_local_addresses(nullptr, 0);
    ASSERT_GE(count, 1);
    std::vector<network_address> addresses(static_cast<size_t>(count) + 2);
    memset(addresses.data(), 0xAB, addresses.size() * sizeof(network_address));
    ASSERT_EQ(network_local_addresses(addresses.data(), count + 2), count);
    EXPECT_EQ(addresses[static_cast<size_t>(count)].bytes[0], 0xAB);

    std::vector<std::string> ips;
    for (int32_t i = 0; i < count; i++) {
        const network_address& address = addresses[static_cast<size_t>(i)];
        ips.push_back(text(network_address_get_ip(&address)));
        EXPECT_EQ(network_address_get_port(&address), 0) << ips.back();
    }
    EXPECT_NE(std::find(ips.begin(), ips.end(), "127.0.0.1"), ips.end());
    // IPv4, then IPv6, then loopback, each address once.
    auto group = [](const std::string& ip) { return is_loopback(ip) ? 2 : ip.find(':') != std::string::npos ? 1 : 0; };
    for (size_t i = 1; i < ips.size(); i++) {
        EXPECT_LE(group(ips[i - 1]), group(ips[i])) << ips[i - 1] << " then " << ips[i];
    }
    for (size_t i = 0; i < ips.size(); i++) {
        for (size_t j = i + 1; j < ips.size(); j++) {
            EXPECT_NE(memcmp(addresses[i].bytes, addresses[j].bytes, sizeof addresses[i].bytes), 0) << ips[i];
        }
    }

    // A short array gets the first addresses and the whole count.
    network_address first[2];
    memset(first, 0xAB, sizeof first);
    EXPECT_EQ(network_local_addresses(first, 1), count);
    EXPECT_EQ(memcmp(first[0].bytes, addresses[0].bytes, sizeof first[0].bytes), 0);
    EXPECT_EQ(first[1].bytes[0], 0xAB);

    EXPECT_EQ(network_local_addresses(nullptr, 1), -1);
    EXPECT_EQ(system_get_error().code, SYSTEM_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(network_local_addresses(first, -1), -1);
}

TEST(NetworkTcp, NonBlockingReceiveReturnsAtOnce) {
    network_socket server = network_socket_create(NETWORK_TCP | NETWORK_IPV6);
    ASSERT_FALSE(network_socket_failed(server));
    network_address server_address = bind_loopback(server, "::1", NETWORK_TCP | NETWORK_IPV6);
    ASSERT_TRUE(network_tcp_listen(server));
    ASSERT_TRUE(network_socket_set_blocking(server, false));
    EXPECT_TRUE(network_socket_failed(network_tcp_accept(server, nullptr)));

    network_socket client = network_socket_create(NETWORK_TCP | NETWORK_IPV6);
    ASSERT_TRUE(network_tcp_connect(client, &server_address));
    ASSERT_TRUE(network_socket_set_blocking(client, false));
    char byte;
    EXPECT_EQ(network_tcp_receive(client, 1, &byte), -1);
    ASSERT_TRUE(network_socket_set_blocking(server, true));
    network_socket accepted = network_tcp_accept(server, nullptr);
    EXPECT_FALSE(network_socket_failed(accepted));
    EXPECT_FALSE(network_socket_set_blocking(-1, false));
    network_socket_destroy(accepted);
    network_socket_destroy(client);
    network_socket_destroy(server);
}

TEST(NetworkSocket, UnknownFlagsMeanUdp) {
    network_socket handle = network_socket_create(NETWORK_IPV4);
    ASSERT_FALSE(network_socket_failed(handle));
    int type = 0;
    socklen_t length = sizeof type;
    getsockopt(static_cast<int>(handle), SOL_SOCKET, SO_TYPE, &type, &length);
    EXPECT_EQ(type, SOCK_DGRAM);
    int reuse = 0;
    getsockopt(static_cast<int>(handle), SOL_SOCKET, SO_REUSEADDR, &reuse, &length);
    EXPECT_NE(reuse, 0);
    network_socket_destroy(handle);
}

struct UdpPair {
    network_socket receiver;
    network_socket sender;
    network_address receiver_address;
    network_address sender_address;
};

UdpPair make_udp_pair(const char* host, uint32_t family) {
    UdpPair pair;
    pair.receiver = network_socket_create(NETWORK_UDP | family);
    pair.sender = network_socket_create(NETWORK_UDP | family);
    pair.receiver_address = bind_loopback(pair.receiver, host, NETWORK_UDP | family);
    pair.sender_address = bind_loopback(pair.sender, host, NETWORK_UDP | family);
    return pair;
}

void close_pair(const UdpPair& pair) {
    network_socket_destroy(pair.receiver);
    network_socket_destroy(pair.sender);
}

TEST(NetworkUdp, DatagramArrivesWithTheSendersAddress) {
    UdpPair pair = make_udp_pair("::1", NETWORK_IPV6);
    EXPECT_EQ(network_udp_send(pair.sender, 4, "ping", &pair.receiver_address), 4);
    char buffer[8] = {};
    network_address from;
    EXPECT_EQ(network_udp_receive(pair.receiver, sizeof buffer, buffer, &from), 4);
    EXPECT_STREQ(buffer, "ping");
    EXPECT_EQ(text(network_address_get_ip(&from)), "::1");
    EXPECT_EQ(network_address_get_port(&from), network_address_get_port(&pair.sender_address));
    close_pair(pair);
}

TEST(NetworkSelector, TimesOutAfterTheGivenMilliseconds) {
    UdpPair pair = make_udp_pair("127.0.0.1", NETWORK_IPV4);
    int32_t selector = network_selector_create();
    ASSERT_FALSE(network_selector_failed(selector));
    network_selector_add(selector, pair.receiver);
    network_socket ready[4] = {-7, -7, -7, -7};
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(network_selector_wait(selector, 1500, socket_view{ready, 4}), 0);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(1450));
    EXPECT_LT(waited, std::chrono::milliseconds(5000));
    EXPECT_EQ(ready[0], -7);
    network_selector_destroy(selector);
    close_pair(pair);
}

TEST(NetworkSelector, ReportsReadySocketsInTheOrderAdded) {
    UdpPair first = make_udp_pair("127.0.0.1", NETWORK_IPV4);
    UdpPair second = make_udp_pair("127.0.0.1", NETWORK_IPV4);
    int32_t selector = network_selector_create();
    network_selector_add(selector, second.receiver);
    network_selector_add(selector, first.sender);
    network_selector_add(selector, first.receiver);
    network_udp_send(first.sender, 1, "a", &first.receiver_address);
    network_udp_send(second.sender, 1, "b", &second.receiver_address);

    network_socket ready[4] = {-7, -7, -7, -7};
    EXPECT_EQ(network_selector_wait(selector, 1000, socket_view{ready, 4}), 2);
    EXPECT_EQ(ready[0], second.receiver);
    EXPECT_EQ(ready[1], first.receiver);
    EXPECT_EQ(ready[2], -7);

    // out's count bounds the copy.
    network_socket only_one[2] = {-7, -7};
    EXPECT_EQ(network_selector_wait(selector, 1000, socket_view{only_one, 1}), 2);
    EXPECT_EQ(only_one[0], second.receiver);
    EXPECT_EQ(only_one[1], -7);
    network_selector_destroy(selector);
    close_pair(first);
    close_pair(second);
}

TEST(NetworkSelector, DuplicatesCountOnceButCopyTwiceAndRemoveOneAtATime) {
    UdpPair pair = make_udp_pair("127.0.0.1", NETWORK_IPV4);
    int32_t selector = network_selector_create();
    network_selector_add(selector, pair.receiver);
    network_selector_add(selector, pair.receiver);
    network_udp_send(pair.sender, 1, "x", &pair.receiver_address);

    network_socket ready[4] = {-7, -7, -7, -7};
    EXPECT_EQ(network_selector_wait(selector, 1000, socket_view{ready, 4}), 1);
    EXPECT_EQ(ready[0], pair.receiver);
    EXPECT_EQ(ready[1], pair.receiver);

    network_selector_remove(selector, pair.receiver);
    EXPECT_EQ(selectors[selector].count, 1);
    ready[1] = -7;
    EXPECT_EQ(network_selector_wait(selector, 1000, socket_view{ready, 4}), 1);
    EXPECT_EQ(ready[1], -7);
    network_selector_remove(selector, 12345);
    EXPECT_EQ(selectors[selector].count, 1);
    network_selector_destroy(selector);
    close_pair(pair);
}

TEST(NetworkSelector, RemoveMovesTheLastIntoTheGap) {
    int32_t selector = network_selector_create();
    for (network_socket handle : {10, 11, 12, 13}) network_selector_add(selector, handle);
    network_selector_remove(selector, 11);
    ASSERT_EQ(selectors[selector].count, 3);
    EXPECT_EQ(selectors[selector].sockets[0], 10);
    EXPECT_EQ(selectors[selector].sockets[1], 13);
    EXPECT_EQ(selectors[selector].sockets[2], 12);
    network_selector_destroy(selector);
}

TEST(NetworkSelector, GrowsByDoublingAndKeepsItsSockets) {
    int32_t selector = network_selector_create();
    for (network_socket handle = 100; handle < 120; handle++) network_selector_add(selector, handle);
    EXPECT_EQ(selectors[selector].count, 20);
    EXPECT_EQ(selectors[selector].capacity, 32);
    for (int i = 0; i < 20; i++) EXPECT_EQ(selectors[selector].sockets[i], 100 + i);
    network_selector_destroy(selector);
}

TEST(NetworkSelector, InvalidOrFreeSelectorsAreRefused) {
    network_socket ready[1] = {-7};
    EXPECT_EQ(network_selector_wait(-1, 10, socket_view{ready, 1}), -1);
    EXPECT_EQ(network_selector_wait(NETWORK_SELECTOR_CAPACITY, 10, socket_view{ready, 1}), -1);
    int32_t selector = network_selector_create();
    network_selector_destroy(selector);
    network_selector_add(selector, 3);
    EXPECT_EQ(selectors[selector].count, 0);
    EXPECT_EQ(network_selector_wait(selector, 10, socket_view{ready, 1}), -1);
    EXPECT_EQ(system_get_error().code, SYSTEM_ERROR_INVALID_HANDLE);
    network_selector_destroy(-1);
    network_selector_destroy(NETWORK_SELECTOR_CAPACITY);
    EXPECT_TRUE(network_selector_failed(-1));
    EXPECT_TRUE(network_selector_failed(selector));
}

TEST(NetworkSelector, TableHoldsAtMostItsCapacityAndReusesTheLowestFreeEntry) {
    int created = 0;
    while (created <= NETWORK_SELECTOR_CAPACITY && !network_selector_failed(network_selector_create())) created++;
    EXPECT_EQ(num_selectors, NETWORK_SELECTOR_CAPACITY);
    EXPECT_TRUE(network_selector_failed(network_selector_create()));
    network_selector_destroy(700);
    network_selector_destroy(5);
    EXPECT_EQ(network_selector_create(), 5);
    EXPECT_EQ(network_selector_create(), 700);
    EXPECT_TRUE(network_selector_failed(network_selector_create()));
    for (int32_t i = 0; i < NETWORK_SELECTOR_CAPACITY; i++) network_selector_destroy(i);
    EXPECT_EQ(network_selector_create(), 0);
    network_selector_destroy(0);
}

}  // namespace
