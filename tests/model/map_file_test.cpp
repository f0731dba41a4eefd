#include "model_fixture.h"

#include "base/text_cursor.h"
#include "model/map_file.h"
#include "model/map_list.h"

#include <filesystem>
#include <fstream>

namespace {

class MapFileTest : public ModelFixture {};
class MapListTest : public ModelFixture {};

double decimal(const std::string& text, int64_t* stop = nullptr) {
    TextCursor cursor{text.data(), static_cast<int64_t>(text.size()), static_cast<int64_t>(text.size()), 0};
    double value = parse_decimal(&cursor);
    if (stop) *stop = cursor.position;
    return value;
}

int64_t integer(const std::string& text, int64_t* stop = nullptr) {
    TextCursor cursor{text.data(), static_cast<int64_t>(text.size()), static_cast<int64_t>(text.size()), 0};
    int64_t value = parse_integer(&cursor);
    if (stop) *stop = cursor.position;
    return value;
}

TEST(NumberReading, Decimals) {
    EXPECT_EQ(decimal("1.25"), 1.25);
    EXPECT_EQ(decimal(".5"), 0.5);
    EXPECT_EQ(decimal("-2"), -2.0);
    EXPECT_EQ(decimal("7."), 7.0);
    EXPECT_EQ(decimal("1.2.5"), 12.5);
    EXPECT_EQ(decimal("-"), 0.0);
    EXPECT_EQ(decimal(""), 0.0);
    EXPECT_EQ(decimal("0.1"), 0.1);
    int64_t stop = 0;
    EXPECT_EQ(decimal("3.5e7", &stop), 3.5);
    EXPECT_EQ(stop, 3);
    EXPECT_EQ(decimal("+1", &stop), 0.0);
    EXPECT_EQ(stop, 0);
    std::string long_digits(80, '1');
    EXPECT_EQ(decimal(long_digits, &stop), 1.1111111111111111e63);
    EXPECT_EQ(stop, 80);
}

TEST(NumberReading, Integers) {
    int64_t stop = 0;
    EXPECT_EQ(integer("42 x", &stop), 42);
    EXPECT_EQ(stop, 2);
    EXPECT_EQ(integer("-17"), -17);
    EXPECT_EQ(integer("x"), 0);
    EXPECT_EQ(integer("-"), 0);
    EXPECT_EQ(integer("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(integer("-9223372036854775808"), INT64_MIN);
}

TEST(MatchesAt, KeywordMustEndInsideTheData) {
    std::string text = "map";
    TextCursor cursor{text.data(), 3, 3, 0};
    EXPECT_FALSE(matches_at(&cursor, str("map ")));
    EXPECT_TRUE(matches_at(&cursor, str("ma")));
    cursor.position = 1;
    EXPECT_TRUE(matches_at(&cursor, str("ap")));
    EXPECT_EQ(cursor.position, 1);
}

TEST_F(MapFileTest, ReadsEveryField) {
    machine_kind = turing_machine;
    ASSERT_TRUE(load_map_text(
        "map 1.5 -2 64\nwin 2\ndeck 2 5 3 6\nhand 11\ntape 7\n"
        "goal 7 2 3 1 0 1 2 0 1\ngoal 0 0 12\ngoal 4 1 2 3 4 5\n"
        "stone 1\nstone 0\n* 0.5 1\n. -1 0\n$ 2 3\n"
        "=> 0 1 -3 4.5 -8 \"A | b\"\n=> 1 1 45\n"));
    EXPECT_EQ(map_x, 1.5);
    EXPECT_EQ(map_y, -2);
    EXPECT_EQ(map_scale, 64);
    EXPECT_EQ(win_mode, 2);
    EXPECT_EQ(deck_copies, 2);
    EXPECT_EQ(deck_colors, 5);
    EXPECT_EQ(deck_shapes, 3);
    EXPECT_EQ(deck_numbers, 6);
    EXPECT_EQ(hand_size, 11);
    EXPECT_EQ(tape_length, 7);
    ASSERT_EQ(goals.count, 3);
    Goal g = goals.data[0];
    EXPECT_EQ(g.kind, 7);
    EXPECT_EQ(g.comparison, at_least);
    EXPECT_EQ(g.amount, 3);
    EXPECT_EQ((std::vector<int>{g.color_a, g.shape_a, g.number_a, g.color_b, g.shape_b, g.number_b}),
              (std::vector<int>{1, 0, 1, 2, 0, 1}));
    g = goals.data[1];
    EXPECT_EQ((std::vector<int>{g.color_a, g.shape_a, g.number_a, g.color_b, g.shape_b, g.number_b}),
              (std::vector<int>{0, 0, 1, 0, 0, 1}));
    g = goals.data[2];
    EXPECT_EQ((std::vector<int>{g.color_a, g.shape_a, g.number_a, g.color_b, g.shape_b, g.number_b}),
              (std::vector<int>{3, 4, 5, 0, 0, 1}));
    ASSERT_EQ(stones.count, 2);
    EXPECT_EQ(stones.data[0], 1);
    ASSERT_EQ(states.count, 3);
    EXPECT_EQ(states.data[0].accepting, 1);
    EXPECT_EQ(states.data[0].x, 0.5);
    EXPECT_EQ(states.data[1].accepting, 0);
    EXPECT_EQ(states.data[2].marked, 1);
    EXPECT_EQ(states.data[2].y, 3);
    ASSERT_EQ(transitions.count, 2);
    EXPECT_EQ(transitions.data[0].bend, -3);
    EXPECT_EQ(transitions.data[0].label_dx, 4.5f);
    EXPECT_EQ(transitions.data[0].label_dy, -8.0f);
    EXPECT_EQ(text_of(transitions.data[0].rule), "A | b");
    EXPECT_EQ(transitions.data[1].label_dx, 0.0f);
    EXPECT_EQ(transitions.data[1].rule.length, 0);
}

TEST_F(MapFileTest, LoadKeepsWhatTheFileDoesNotSet) {
    machine_kind = turing_machine;
    ASSERT_TRUE(load_map_text("map 3 4 5\nwin 1\ndeck 2 2 2 2\nhand 3\ntape 9\nstone 0\n. 0 0\n. 1 1\n"));
    ASSERT_TRUE(load_map_text("stone 1\nstone 0\n"));
    EXPECT_EQ(map_x, 3);
    EXPECT_EQ(win_mode, 1);
    EXPECT_EQ(deck_copies, 2);
    EXPECT_EQ(hand_size, 3);
    EXPECT_EQ(tape_length, 9);
    EXPECT_EQ(states.count, 0);
    EXPECT_EQ(stones.count, 0);  // both name states the file does not have
}

TEST_F(MapFileTest, CarriageReturnsAndUnknownLines) {
    ASSERT_TRUE(load_map_text("map 0 0 128\r\nnonsense 1 2\r\n. 1 2\r\n* -1 0\r\n=> 0 1 0 0 16 \"A\"\r\nstone 1\r\n"));
    ASSERT_EQ(states.count, 2);
    EXPECT_EQ(states.data[0].y, 2);
    EXPECT_EQ(transitions.count, 1);
    EXPECT_EQ(text_of(transitions.data[0].rule), "A");
    ASSERT_EQ(stones.count, 1);
    EXPECT_EQ(stones.data[0], 1);
}

TEST_F(MapFileTest, UnclosedRuleTakesTheRestOfTheFile) {
    ASSERT_TRUE(load_map_text(". 0 0\n. 1 0\n=> 0 1 0 0 0 \"A &\nstone 0\n. 2 2\n"));
    ASSERT_EQ(transitions.count, 1);
    EXPECT_EQ(text_of(transitions.data[0].rule), "A &\nstone 0\n. 2 2\n");
    EXPECT_EQ(states.count, 2);
    EXPECT_EQ(stones.count, 0);
}

TEST_F(MapFileTest, InvalidStateIndicesAreDroppedAndStatesCapped) {
    std::string text = "stone 3\nstone -1\nstone 1\n=> 0 5 0\n=> 1 0 0\n=> -2 0 0\n";
    for (int i = 0; i < 300; i++) text += ". " + std::to_string(i) + " 0\n";
    text += "stone 299\n=> 255 256 0\n=> 255 0 0\n";
    ASSERT_TRUE(load_map_text(text));
    EXPECT_EQ(states.count, 256);
    ASSERT_EQ(stones.count, 2);
    EXPECT_EQ(stones.data[0], 3);
    EXPECT_EQ(stones.data[1], 1);
    ASSERT_EQ(transitions.count, 3);
    EXPECT_EQ(transitions.data[0].to, 5);
    EXPECT_EQ(transitions.data[1].from, 1);
    EXPECT_EQ(transitions.data[2].from, 255);
}

TEST_F(MapFileTest, MissingFileKeepsTheMap) {
    build_demo_map();
    testing::internal::CaptureStdout();
    EXPECT_FALSE(load_map(str("no/such/map.txt")));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed to load map: no/such/map.txt\n");
    EXPECT_EQ(states.count, 5);
    EXPECT_EQ(transitions.count, 12);
}

TEST_F(MapFileTest, WriterFormat) {
    machine_kind = turing_machine;
    map_scale = 128;
    win_mode = 0;
    array_push(&goals, Goal{distinct_colors, at_least, 3, 5, 5, 5, 5, 5, 5});
    array_push(&goals, Goal{color_count, at_least, 2, 0, 0, 1, 4, 4, 4});
    array_push(&goals, Goal{number_pair_count, exactly, -1, 1, 2, 3, 4, 5, 6});
    array_push(&stones, int16_t{0});
    array_push(&states, State{0, 0, 1, 0});
    array_push(&states, State{-16, 0.25, 0, 1});
    array_push(&transitions, Transition{0, 0, 45, 0, 32, str("AR")});
    EXPECT_EQ(text_of(write_map()),
              "map 0 0 128\nwin 0\ndeck 1 4 4 4\ntape 4\ngoal 1 2 3\ngoal 4 2 2 0 0 1\ngoal 9 0 -1 1 2 3 4 5 6\n"
              "stone 0\n. 0 0\n* -16 0.25\n=> 0 0 45 0 32 \"AR\"\n");
    machine_kind = pushdown_machine;
    win_mode = 200;
    std::string pushdown = text_of(write_map());
    EXPECT_EQ(pushdown.substr(0, 37), "map 0 0 128\nwin -56\ndeck 1 4 4 4\nhand");
    EXPECT_EQ(pushdown.find("goal"), std::string::npos);
    machine_kind = state_machine;
    EXPECT_EQ(text_of(write_map()).find("deck"), std::string::npos);
}

TEST_F(MapFileTest, DemoMap) {
    build_demo_map();
    ASSERT_EQ(states.count, 5);
    EXPECT_EQ(states.data[0].marked, 1);
    EXPECT_EQ(states.data[2].x, -1);
    EXPECT_EQ(states.data[2].y, 1);
    ASSERT_EQ(transitions.count, 12);
    EXPECT_EQ(text_of(transitions.data[3].rule), "~(1,2,3,4) & ~(a,b,c,d)");
    EXPECT_EQ(transitions.data[3].label_dy, -40.0f);
    EXPECT_EQ(transitions.data[11].from, 4);
    EXPECT_EQ(text_of(transitions.data[11].rule), "B");
    EXPECT_EQ(nimbers.count, 0);
}

TEST_F(MapListTest, MapListParsing) {
    std::string path = write_temp_file("list.txt", "first maps/a b.txt\nsecond maps/b.txt\r\nlonely\nthird x\n third\n");
    GrowableArray<MapListEntry> list{};
    load_map_list(&list, view_of(path));
    ASSERT_EQ(list.count, 4);
    EXPECT_EQ(text_of(list.data[0].name), "first");
    EXPECT_EQ(text_of(list.data[0].path), "maps/a b.txt");
    EXPECT_EQ(text_of(list.data[1].path), "maps/b.txt\r");
    EXPECT_EQ(text_of(list.data[2].name), "lonely\nthird");
    EXPECT_EQ(text_of(list.data[2].path), "x");
    EXPECT_EQ(text_of(list.data[3].name), "");
    EXPECT_EQ(text_of(list.data[3].path), "third");

    GrowableArray<MapListEntry> unended{};
    load_map_list(&unended, view_of(write_temp_file("unended.txt", "solo")));
    ASSERT_EQ(unended.count, 1);
    EXPECT_EQ(text_of(unended.data[0].name), "solo");
    EXPECT_EQ(unended.data[0].path.length, 0);

    testing::internal::CaptureStdout();
    load_map_list(&unended, str("missing_list.txt"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed to open missing_list.txt\n");
    EXPECT_EQ(unended.count, 1);
}

TEST_F(MapListTest, SelectKindMapsLoadsTheFirstEntry) {
    std::string map = write_temp_file("select.txt", "stone 0\n. 0 0\n. 1 0\n=> 0 1 0\n");
    std::string list = write_temp_file("select_list.txt", "one " + map + "\ntwo elsewhere\n");
    machine_kind = state_machine;
    load_map_list(&state_map_list, view_of(list));
    current_map_index = 1;
    select_kind_maps();
    EXPECT_EQ(current_map_list, &state_map_list);
    EXPECT_EQ(current_map_index, 0);
    EXPECT_EQ(states.count, 2);
    ASSERT_EQ(nimbers.count, 2);
    EXPECT_EQ(nimbers.data[0], 1);

    machine_kind = 7;
    select_kind_maps();
    EXPECT_EQ(current_map_list, &state_map_list);
}

TEST_F(MapListTest, SaveMapListRewritesTheKindsFile) {
    std::filesystem::path folder = std::filesystem::path(write_temp_file("marker", "")).parent_path() / "save_list";
    std::filesystem::create_directories(folder / "resources");
    std::ofstream(folder / "resources/turing_maps.txt", std::ios::binary) << "first a.txt\n";
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    machine_kind = turing_machine;
    load_map_list(&turing_map_list, str("resources/turing_maps.txt"));
    array_push(&turing_map_list, MapListEntry{str("added"), str("custom_turing_machines/added map")});
    current_map_list = &state_map_list;
    save_map_list();
    std::ifstream in("resources/turing_maps.txt", std::ios::binary);
    std::string after((std::istreambuf_iterator<char>(in)), {});
    std::filesystem::current_path(previous);
    EXPECT_EQ(current_map_list, &turing_map_list);
    EXPECT_EQ(after, "first a.txt\nadded custom_turing_machines/added map\n");
}

}  // namespace
