#include "model_fixture.h"

#include "base/random.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/referee.h"
#include "model/rules.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"

#include <cstdlib>
#include <fstream>
#include <random>

namespace {

int iteration_count() {
    const char* text = getenv("VARNHOLT_FUZZ_ITERATIONS");
    return text ? atoi(text) : 300;
}

std::vector<std::string> seed_files() {
    std::vector<std::string> seeds;
    for (const char* list : {"resources/state_maps.txt", "resources/pushdown_maps.txt", "resources/turing_maps.txt"}) {
        std::ifstream in(list, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            std::string path = line.substr(line.find(' ') + 1);
            std::ifstream map(path, std::ios::binary);
            seeds.emplace_back((std::istreambuf_iterator<char>(map)), std::istreambuf_iterator<char>());
        }
    }
    return seeds;
}

std::string random_field(std::mt19937_64& rng) {
    const char* pieces[] = {"0", "-1", "1", "255", "256", "65536", "-32769", "99999999999999999999999", "1.2.5", ".", "-",
                            "\"", "A|b", "", " ", "\r", "3.14159", "1e9", "\x80\xff", "9223372036854775808"};
    return pieces[rng() % 20];
}

std::string random_file(std::mt19937_64& rng, const std::vector<std::string>& seeds) {
    std::string text = seeds[rng() % seeds.size()];
    switch (rng() % 4) {
        case 0:  // pure noise
            text.clear();
            for (uint64_t i = 0, n = rng() % 400; i < n; i++) text += static_cast<char>(rng());
            break;
        case 1: {  // lines of keywords with odd fields
            const char* keywords[] = {"map ", "win ", "deck ", "hand ", "tape ", "goal ", "stone ", "* ", ". ", "$ ", "=> "};
            text.clear();
            for (uint64_t i = 0, n = rng() % 40; i < n; i++) {
                text += keywords[rng() % 11];
                for (uint64_t f = 0, fields = rng() % 10; f < fields; f++) text += random_field(rng) + (rng() % 5 ? " " : "");
                if (rng() % 8) text += "\n";
            }
            break;
        }
        default:  // a shipped map, mutated and perhaps cut short
            for (uint64_t i = 0, n = 1 + rng() % 8; i < n && !text.empty(); i++) {
                size_t at = rng() % text.size();
                switch (rng() % 4) {
                    case 0: text[at] = static_cast<char>(rng()); break;
                    case 1: text.erase(at, rng() % 16); break;
                    case 2: text.insert(at, random_field(rng)); break;
                    default: text.resize(at); break;
                }
            }
            break;
    }
    return text;
}

// Loads, writes back, plays a few computer actions: nothing may crash or read out of bounds,
// and the model's invariants must hold after every load.
TEST(BadInput, RandomAndMutatedFilesThroughTheReaders) {
    std::vector<std::string> seeds = seed_files();
    ASSERT_GE(seeds.size(), 15u);
    std::mt19937_64 rng(2024);
    std::string map_path = write_temp_file("fuzz_map.txt", "");
    std::string list_path = write_temp_file("fuzz_list.txt", "");
    int iterations = iteration_count();
    for (int i = 0; i < iterations; i++) {
        uint8_t kind = static_cast<uint8_t>(i % 3);
        reset_model(kind);
        std::string text = random_file(rng, seeds);
        std::ofstream(map_path, std::ios::binary | std::ios::trunc) << text;
        std::ofstream(list_path, std::ios::binary | std::ios::trunc) << text.substr(0, 200) << "\nfuzz " << map_path;

        testing::internal::CaptureStdout();
        load_map_list(&pushdown_map_list, view_of(list_path));
        ASSERT_TRUE(load_map(view_of(map_path)));
        ASSERT_LE(states.count, max_states);
        for (int64_t s = 0; s < stones.count; s++) ASSERT_TRUE(stones.data[s] >= 0 && stones.data[s] < states.count);
        for (int64_t t = 0; t < transitions.count; t++) {
            ASSERT_TRUE(transitions.data[t].from >= 0 && transitions.data[t].from < states.count);
            ASSERT_TRUE(transitions.data[t].to >= 0 && transitions.data[t].to < states.count);
            rule_accepts(transitions.data[t].rule, Card{static_cast<uint8_t>(rng() % 6), 0, 1});
        }
        if (kind == state_machine) {
            ASSERT_EQ(nimbers.count, states.count);
        }
        write_map();

        current_map_list = &pushdown_map_list;
        current_map_index = pushdown_map_list.count - 1;
        add_players(2, true, static_cast<int64_t>(rng() % 3));
        seed_random(rng());
        if (start_game()) play_until_over(30);
        testing::internal::GetCapturedStdout();
    }
}

TEST(BadInput, RuleTextsOfAnyBytes) {
    reset_model(pushdown_machine);
    std::mt19937_64 rng(7);
    const std::string alphabet = "ABCDEFGabcdefg0123456789*!~T(),&|^ \t\n\r";
    for (int i = 0; i < iteration_count() * 4; i++) {
        std::string rule;
        for (uint64_t n = rng() % 64; rule.size() < n;) {
            rule += rng() % 8 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng());
        }
        if (rng() % 50 == 0) rule = std::string(3000, '(');
        Card card{static_cast<uint8_t>(rng() % 6), static_cast<uint8_t>(rng() % 6), static_cast<int8_t>(rng() % 6 + 1)};
        bool has_top = rng() % 2;
        array_clear(&stack);
        if (has_top) array_push(&stack, card);
        bool single = rule_accepts(view_of(rule), card);
        CardSet set = rule_accepted_cards(view_of(rule), has_top, card);
        ASSERT_EQ(single, card_set_has(set, card_kind(card))) << rule;
        ASSERT_EQ(frame_arena.used, 0);
    }
}

}  // namespace

namespace {

// Whatever a file holds, the text written from it must load as the same map: writing the
// reloaded map gives the same text again.
TEST(BadInput, WrittenMapsReadBackAsTheSameMap) {
    std::vector<std::string> seeds = seed_files();
    seeds.push_back("=> 0 1 0 1000000000000000000000000000000000000000 0 \"A\"\n. 0 0\n. 1 0\n");
    seeds.push_back("=> 0 0 0 -1000000000000000000000000000000000000000 7.5 \"b\"\n. 0 0\n");
    std::mt19937_64 rng(99);
    int iterations = iteration_count();
    for (int i = 0; i < iterations + static_cast<int>(seeds.size()); i++) {
        uint8_t kind = static_cast<uint8_t>(i % 3);
        reset_model(kind);
        std::string original = i < static_cast<int>(seeds.size()) ? seeds[i] : random_file(rng, seeds);
        testing::internal::CaptureStdout();
        load_map_text(original);
        std::string first = text_of(write_map());
        int64_t rules = transitions.count;
        std::string first_rules;
        for (int64_t t = 0; t < transitions.count; t++) first_rules += text_of(transitions.data[t].rule) + "\"";
        load_map_text(first);
        std::string second = text_of(write_map());
        std::string second_rules;
        for (int64_t t = 0; t < transitions.count; t++) second_rules += text_of(transitions.data[t].rule) + "\"";
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(first, second) << "from: " << original;
        ASSERT_EQ(transitions.count, rules);
        ASSERT_EQ(first_rules, second_rules);
    }
}

TEST(BadInput, AnOffsetPastTheFloatRangeKeepsItsRule) {
    reset_model(pushdown_machine);
    ASSERT_TRUE(load_map_text(". 0 0\n. 1 0\n=> 0 1 0 1000000000000000000000000000000000000000 0 \"A\"\n"));
    ASSERT_EQ(transitions.count, 1);
    EXPECT_EQ(text_of(transitions.data[0].rule), "A");
    EXPECT_EQ(transitions.data[0].label_dx, 1e9f);
    EXPECT_EQ(text_of(write_map()).find("inf"), std::string::npos);
}

}  // namespace
