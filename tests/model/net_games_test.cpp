// Many hosted games through a relay that delays, splits, interleaves, stalls and cuts connections;
// the clients rejoin with their tokens. No client ever holds another state than the host's, no
// byte sent to a seat shows a hidden card, and every game ends. Prints the figures of the run.
#include "fault_proxy.h"
#include "net_table.h"

#include "model_fixture.h"

#include "model/computer_players.h"
#include "model/game_record.h"
#include "model/turn_state.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

struct SoakFigures {
    int64_t games = 0, finished = 0, desyncs = 0, leaked = 0, cuts = 0, stalls = 0, resumes = 0, handed = 0;
    int64_t largest_message = 0, bytes = 0, moves = 0;
    double longest_resume = 0, total_resume = 0;
    std::string first_fault;
};

std::vector<std::string> maps_of(const char* folder) {
    std::vector<std::string> maps;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) maps.push_back(entry.path().string());
    std::sort(maps.begin(), maps.end());
    return maps;
}

int64_t soak_games() {
    const char* count = std::getenv("VARNHOLT_NET_GAMES");
    return count ? std::atoll(count) : 60;
}

// Every game-state message in the bytes a seat's connection carried, audited for hidden cards.
int64_t leaks_in_stream(const std::vector<uint8_t>& bytes, std::string* first) {
    NetReader reader{};
    net_reader_restart(&reader, net_host_message_limit);
    net_reader_feed(&reader, bytes.data(), static_cast<int64_t>(bytes.size()));
    NetMessage message;
    int64_t leaks = 0;
    while (net_reader_next(&reader, &message) == net_read_message) {
        if (message.kind != net_game_state) continue;
        std::string record = text_of(message.payload);
        std::string shown = hidden_state_shown(record, game_record_viewer(message.payload));
        if (shown.empty()) continue;
        leaks++;
        if (first->empty()) *first = shown;
    }
    return leaks;
}

struct Cut {
    double at = -1;
    bool rejoining = false;
};

void play_one(int64_t game, SoakFigures* figures) {
    std::mt19937_64 random(static_cast<uint64_t>(game) * 7919 + 17);
    const uint8_t kinds[] = {state_machine, pushdown_machine, turing_machine};
    const char* folders[] = {"resources/maps/state", "resources/maps/pushdown", "resources/maps/turing"};
    int64_t k = static_cast<int64_t>(random() % 3);
    std::vector<std::string> maps = maps_of(folders[k]);
    std::string map = maps[random() % maps.size()];
    int64_t seats = 2 + static_cast<int64_t>(random() % 3);
    std::vector<bool> remote(static_cast<size_t>(seats));
    for (size_t s = 0; s < remote.size(); s++) remote[s] = random() % 3 != 0;
    remote[random() % remote.size()] = true;
    // Some games hand a dropped seat to a computer almost at once, so the hand-over and the
    // return from it happen too.
    double hand_over = random() % 4 == 0 ? 0.05 : default_hand_over_delay;
    NetTable table{};
    ASSERT_TRUE(open_table(&table, kinds[k], map, seats, remote, static_cast<int64_t>(random() % 2), hand_over)) << map;
    FaultPlan plan{random(), 0.002, 1 + static_cast<int64_t>(random() % 64), true};
    FaultProxy* proxy = start_fault_proxy(net_host.port, plan);
    ASSERT_NE(proxy, nullptr);
    table.client_port = fault_proxy_port(proxy);
    ASSERT_TRUE(seat_everyone(&table, 200000)) << map;
    std::vector<Cut> cuts(table.clients.size());
    double started = wall_seconds();
    bool resyncing = false;
    int64_t faults_at_move = 0;
    std::vector<bool> ever_handed(static_cast<size_t>(seats));
    while (!game_over() && wall_seconds() < started + 60) {
        step_table(&table, !resyncing);
        // Faults come with the moves, so a slow machine sees as many per game as a fast one.
        if (last_move.number != faults_at_move) {
            faults_at_move = last_move.number;
            int64_t connections = fault_proxy_connections(proxy);
            int64_t victim = static_cast<int64_t>(random() % static_cast<uint64_t>(connections));
            if (random() % 6 == 0 && fault_proxy_connection_open(proxy, victim)) {
                fault_proxy_cut(proxy, victim);
                figures->cuts++;
            }
            if (random() % 8 == 0) {
                fault_proxy_stall(proxy, -1, 0.005 + 0.001 * static_cast<double>(random() % 25));
                figures->stalls++;
            }
        }
        resyncing = false;
        for (size_t c = 0; c < table.clients.size(); c++) {
            NetClient* client = &table.clients[c].client;
            Cut* cut = &cuts[c];
            if (client->phase == client_ended) {
                if (cut->at < 0) cut->at = wall_seconds();
                // Now and then a player takes a while to come back, long enough for a hand-over.
                if (random() % 20 == 0) continue;
                cut->rejoining = rejoin_seat(&table, &table.clients[c], text_of(client_token(*client)));
            }
            if (cut->rejoining && client->phase == client_seated && client->records_received > 0) {
                double took = wall_seconds() - cut->at;
                figures->resumes++;
                figures->total_resume += took;
                figures->longest_resume = std::max(figures->longest_resume, took);
                *cut = Cut{};
                // A client back in its seat holds the host's state for it, field by field.
                // Cut again while catching up is another cut, not a difference.
                std::string why;
                if (!settle_table(&table, 200000, &table.clients[c], &why) && client->phase == client_seated) {
                    figures->desyncs++;
                    if (figures->first_fault.empty()) figures->first_fault = why;
                }
            }
            if (client->phase != client_seated) resyncing = true;
        }
        for (int64_t seat = 0; seat < seats; seat++) {
            if (net_host.seats[seat].handed_to_computer) ever_handed[static_cast<size_t>(seat)] = true;
        }
    }
    figures->games++;
    figures->handed += std::count(ever_handed.begin(), ever_handed.end(), true);
    // The game over, every client still away comes back and all must hold the host's state.
    for (size_t c = 0; c < table.clients.size(); c++) {
        NetClient* client = &table.clients[c].client;
        if (client->phase == client_seated) continue;
        rejoin_seat(&table, &table.clients[c], text_of(client_token(*client)));
    }
    if (game_over()) figures->finished++;
    if (!game_over()) {
        std::string seen = map + ": unfinished at move " + std::to_string(last_move.number) + ", seat " + std::to_string(current_player);
        for (const TableClient& seat_client : table.clients) {
            seen += "; client of seat " + std::to_string(seat_client.seat) + " phase " + std::to_string(seat_client.client.phase) +
                    " refusals " + std::to_string(seat_client.client.refusals_received) + " " +
                    std::string(seat_client.client.refusal_text, static_cast<size_t>(seat_client.client.refusal_length));
        }
        ADD_FAILURE() << seen;
    }
    if (!settle_table(&table, 400000)) {
        figures->desyncs++;
        if (figures->first_fault.empty()) figures->first_fault = map + ": the game's end did not reach every client";
    }
    figures->leaked += table.leaked_cards;
    if (figures->first_fault.empty()) figures->first_fault = table.first_leak;
    for (int64_t c = 0; c < fault_proxy_connections(proxy); c++) {
        figures->leaked += leaks_in_stream(fault_proxy_bytes_to_client(proxy, c), &figures->first_fault);
    }
    figures->largest_message = std::max(figures->largest_message, net_host.largest_message);
    figures->bytes += net_host.bytes_sent;
    figures->moves += last_move.number;
    close_table(&table);
    stop_fault_proxy(proxy);
}

TEST(NetGames, CutsStallsAndRejoinsNeverDesyncNorLeakAndEveryGameEnds) {
    SoakFigures figures;
    int64_t games = soak_games();
    for (int64_t game = 0; game < games; game++) {
        play_one(game, &figures);
        if (HasFatalFailure()) return;
    }
    std::printf("games %lld, finished %lld, desyncs %lld, leaked hidden cards %lld\n", static_cast<long long>(figures.games),
                static_cast<long long>(figures.finished), static_cast<long long>(figures.desyncs),
                static_cast<long long>(figures.leaked));
    std::printf("cuts %lld, stalls %lld, resumes %lld; cut to resumed game: mean %.1f ms, longest %.1f ms\n",
                static_cast<long long>(figures.cuts), static_cast<long long>(figures.stalls),
                static_cast<long long>(figures.resumes),
                figures.resumes ? 1000 * figures.total_resume / static_cast<double>(figures.resumes) : 0.0,
                1000 * figures.longest_resume);
    std::printf("seats handed to a computer %lld\n", static_cast<long long>(figures.handed));
    std::printf("largest message %lld bytes, %lld bytes sent for %lld moves (%.0f bytes per move)\n",
                static_cast<long long>(figures.largest_message), static_cast<long long>(figures.bytes),
                static_cast<long long>(figures.moves),
                figures.moves ? static_cast<double>(figures.bytes) / static_cast<double>(figures.moves) : 0.0);
    EXPECT_EQ(figures.finished, games);
    EXPECT_EQ(figures.desyncs, 0) << figures.first_fault;
    EXPECT_EQ(figures.leaked, 0) << figures.first_fault;
    EXPECT_GT(figures.cuts, 0);
    EXPECT_GT(figures.resumes, 0);
}

}  // namespace
