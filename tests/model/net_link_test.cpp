// Two links over loopback, driven as a frame loop drives them: selectors waited on with no
// time-out, bounded by a generous count of steps rather than by sleeps.
#include "model/net_link.h"
#include "model_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct LoopbackPair {
    network_socket listener = -1;
    NetLink host{}, client{};
    int32_t selector = -1;
    double now = 0;
};

// Binds the first free port of a small range; true with both links connected.
bool open_pair(LoopbackPair* pair) {
    for (uint16_t port = 47311; port < 47411 && pair->listener == -1; port++) {
        network_socket listener = network_socket_create(NETWORK_TCP | NETWORK_IPV4);
        network_address address = network_address_find(str("127.0.0.1"), port, NETWORK_TCP | NETWORK_IPV4);
        if (network_socket_bind(listener, &address) && network_tcp_listen(listener)) {
            pair->listener = listener;
            if (!link_connect(&pair->client, str("127.0.0.1"), port, net_host_message_limit, 0)) return false;
        } else {
            network_socket_destroy(listener);
        }
    }
    if (pair->listener == -1) return false;
    network_socket accepted = network_tcp_accept(pair->listener, nullptr);
    if (accepted == -1) return false;
    link_adopt(&pair->host, accepted, net_client_message_limit, 0);
    pair->selector = network_selector_create();
    return true;
}

void close_pair(LoopbackPair* pair) {
    link_fail(&pair->host, str("done"));
    link_fail(&pair->client, str("done"));
    network_socket_destroy(pair->listener);
    network_selector_destroy(pair->selector);
}

// One step of both sides; the messages each received are appended.
void step(LoopbackPair* pair, std::vector<std::string>* at_host, std::vector<std::string>* at_client) {
    pair->now += 1.0 / 60;
    NetLink* links[2] = {&pair->host, &pair->client};
    std::vector<std::string>* received[2] = {at_host, at_client};
    for (int k = 0; k < 2; k++) {
        NetLink* link = links[k];
        link_flush(link, pair->now);
        if (!link_holds_socket(*link)) continue;
        network_selector_add(pair->selector, link->socket);
        network_socket ready[1];
        bool readable = network_selector_wait(pair->selector, 0, socket_view{ready, 1}) > 0;
        network_selector_remove(pair->selector, link->socket);
        if (link->failed) {
            link_linger(link, readable, pair->now);
            continue;
        }
        if (readable) link_receive(link, pair->now);
        NetMessage message;
        while (link_next(link, &message) == net_read_message) {
            if (message.kind != net_still_here) received[k]->push_back(text_of(message.payload));
        }
        link_check_silence(link, pair->now);
    }
}

TEST(NetLink, MessagesCrossBothWaysAndSilenceIsKept) {
    reset_model(pushdown_machine);
    LoopbackPair pair;
    ASSERT_TRUE(open_pair(&pair));
    std::string record(300000, 'r');
    link_send(&pair.host, net_game_state, view_of(record));
    link_send(&pair.client, net_take_seat, str("1"));
    std::vector<std::string> at_host, at_client;
    for (int k = 0; k < 100000 && (at_host.empty() || at_client.empty()); k++) step(&pair, &at_host, &at_client);
    ASSERT_EQ(at_client.size(), 1u);
    EXPECT_EQ(at_client[0], record);
    EXPECT_EQ(at_host, std::vector<std::string>{"1"});
    // Ten seconds of quiet: the still-here messages keep both links up.
    for (int k = 0; k < 600; k++) step(&pair, &at_host, &at_client);
    EXPECT_TRUE(link_open(pair.host));
    EXPECT_TRUE(link_open(pair.client));
    close_pair(&pair);
}

TEST(NetLink, AGoodbyeReachesThePeerWithItsReason) {
    reset_model(pushdown_machine);
    LoopbackPair pair;
    ASSERT_TRUE(open_pair(&pair));
    // A client too large for the host's limit: the host says why and ends the connection.
    link_send(&pair.client, net_choose_move, view_of(std::string(net_client_message_limit + 1, 'm')));
    std::vector<std::string> at_host, at_client;
    for (int k = 0; k < 100000 && !pair.host.failed; k++) step(&pair, &at_host, &at_client);
    ASSERT_TRUE(pair.host.failed);
    EXPECT_EQ(text_of(link_failure(pair.host)), "message too large");
    link_say_goodbye(&pair.host, link_failure(pair.host), pair.now);
    for (int k = 0; k < 100000 && at_client.empty(); k++) step(&pair, &at_host, &at_client);
    EXPECT_EQ(at_client, std::vector<std::string>{"message too large"});
    // Then the host's side closes, and the client's sees it.
    for (int k = 0; k < 100000 && !pair.client.failed; k++) step(&pair, &at_host, &at_client);
    EXPECT_TRUE(pair.client.failed);
    close_pair(&pair);
}

TEST(NetLink, APeerThatNeverAnswersIsGivenUp) {
    reset_model(pushdown_machine);
    LoopbackPair pair;
    ASSERT_TRUE(open_pair(&pair));
    std::vector<std::string> at_host, at_client;
    for (int k = 0; k < 60 * 2; k++) step(&pair, &at_host, &at_client);
    ASSERT_TRUE(pair.client.heard_anything);
    // The host's side is taken away without a word (a pulled cable): the client hears only silence.
    network_socket host_socket = pair.host.socket;
    pair.host.socket = -1;
    for (int k = 0; k < 60 * 4; k++) step(&pair, &at_host, &at_client);
    EXPECT_TRUE(link_open(pair.client));
    for (int k = 0; k < 60 * 4 && !pair.client.failed; k++) step(&pair, &at_host, &at_client);
    EXPECT_EQ(text_of(link_failure(pair.client)), "the connection stalled");
    network_socket_destroy(host_socket);
    close_pair(&pair);
}

}  // namespace
