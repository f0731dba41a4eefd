#include "model/map_file.h"

#include "base/file_failure.h"
#include "base/game_folders.h"
#include "base/text_cursor.h"
#include "base/text_format.h"
#include "base/whole_file.h"
#include "model/nimbers.h"

namespace {

// The writer's four fractional digits are exact only well inside a double's precision, and a
// label offset past the float range would turn into infinity; within this bound every value
// read is written back as text that reads as the same value.
constexpr double max_map_decimal = 1e9;

double map_decimal(TextCursor* cursor) {
    double value = parse_decimal(cursor);
    if (value > max_map_decimal) return max_map_decimal;
    if (value < -max_map_decimal) return -max_map_decimal;
    return value;
}

bool at_byte(const TextCursor& cursor, char c) {
    return cursor.position >= 0 && cursor.position < cursor.size && cursor.data[cursor.position] == c;
}

void skip(TextCursor* cursor, int64_t count) { cursor->position += count; }

bool read_keyword(TextCursor* cursor, const char* keyword) {
    string text = str(keyword);
    if (!matches_at(cursor, text)) return false;
    cursor->position += text.length;
    return true;
}

void read_state(TextCursor* cursor, uint8_t accepting, uint8_t marked) {
    State state{};
    state.x = map_decimal(cursor);
    skip(cursor, 1);
    state.y = map_decimal(cursor);
    state.accepting = accepting;
    state.marked = marked;
    if (states.count < max_states) array_push(&states, state);
}

void read_goal(TextCursor* cursor) {
    Goal goal = default_goal;
    goal.kind = static_cast<uint8_t>(parse_integer(cursor));
    skip(cursor, 1);
    goal.comparison = static_cast<uint8_t>(parse_integer(cursor));
    skip(cursor, 1);
    goal.amount = parse_integer(cursor);
    uint8_t* triples[2][3] = {{&goal.color_a, &goal.shape_a, &goal.number_a}, {&goal.color_b, &goal.shape_b, &goal.number_b}};
    for (auto& triple : triples) {
        if (!at_byte(*cursor, ' ')) break;
        for (int i = 0; i < 3; i++) {
            skip(cursor, 1);
            *triple[i] = static_cast<uint8_t>(parse_integer(cursor));
        }
    }
    if (goals.count < max_goals) array_push(&goals, goal);
}

void read_transition(TextCursor* cursor) {
    Transition transition{};
    transition.from = static_cast<int16_t>(parse_integer(cursor));
    skip(cursor, 1);
    transition.to = static_cast<int16_t>(parse_integer(cursor));
    skip(cursor, 1);
    transition.bend = static_cast<int16_t>(parse_integer(cursor));
    transition.rule = string{cursor->data, 0};
    if (at_byte(*cursor, ' ')) {
        skip(cursor, 1);
        transition.label_dx = static_cast<float>(map_decimal(cursor));
        skip(cursor, 1);
        transition.label_dy = static_cast<float>(map_decimal(cursor));
        skip(cursor, 2);
        int64_t start = cursor->position < cursor->size ? cursor->position : cursor->size;
        int64_t end = start;
        while (end < cursor->size && cursor->data[end] != '"') end++;
        transition.rule = string{cursor->data + start, end - start};
        cursor->position = end;
    }
    if (transitions.count < max_transitions) array_push(&transitions, transition);
}

void read_line(TextCursor* cursor) {
    if (read_keyword(cursor, "map ")) {
        map_x = map_decimal(cursor);
        skip(cursor, 1);
        map_y = map_decimal(cursor);
        skip(cursor, 1);
        map_scale = map_decimal(cursor);
    }
    if (read_keyword(cursor, "win ")) win_mode = static_cast<uint8_t>(parse_integer(cursor));
    if (read_keyword(cursor, "deck ")) {
        int64_t* fields[4] = {&deck_copies, &deck_colors, &deck_shapes, &deck_numbers};
        for (int i = 0; i < 4; i++) {
            if (i > 0) skip(cursor, 1);
            *fields[i] = parse_integer(cursor);
        }
    }
    if (read_keyword(cursor, "hand ")) hand_size = parse_integer(cursor);
    if (read_keyword(cursor, "tape ")) tape_length = parse_integer(cursor);
    if (read_keyword(cursor, "goal ")) read_goal(cursor);
    if (read_keyword(cursor, "stone ")) {
        int16_t stone = static_cast<int16_t>(parse_integer(cursor));
        if (stones.count < max_stones) array_push(&stones, stone);
    }
    if (read_keyword(cursor, "* ")) read_state(cursor, 1, 0);
    if (read_keyword(cursor, ". ")) read_state(cursor, 0, 0);
    if (read_keyword(cursor, "$ ")) read_state(cursor, 0, 1);
    if (read_keyword(cursor, "=> ")) read_transition(cursor);
}

bool valid_state(int16_t state) { return state >= 0 && state < states.count; }

// Every index must name a state; states are read first in no particular order, so this
// waits for the whole file.
void drop_invalid_records() {
    int64_t kept = 0;
    for (int64_t i = 0; i < stones.count; i++) {
        if (valid_state(stones.data[i])) stones.data[kept++] = stones.data[i];
    }
    stones.count = kept;
    kept = 0;
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        if (valid_state(t.from) && valid_state(t.to)) transitions.data[kept++] = t;
    }
    transitions.count = kept;
}

}  // namespace

bool load_map(string listed_path) {
    string path = listed_map_path(listed_path);
    string contents;
    if (!read_whole_file(path, max_map_file_size, &contents)) {
        return report_file_failure(str("failed to load map: "), path);
    }
    read_map_text(contents);
    return true;
}

void read_map_text(string contents) {
    array_clear(&goals);
    array_clear(&stones);
    array_clear(&transitions);
    array_clear(&states);
    TextCursor cursor{contents.data, contents.length, contents.length, 0};
    while (cursor.position < cursor.size) {
        read_line(&cursor);
        cursor.position = line_end(cursor.data, cursor.size, cursor.position) + 1;
    }
    drop_invalid_records();
    if (machine_kind == state_machine) compute_nimbers();
}

string write_map() {
    TextBuilder text{nullptr, 0, 0, PERSISTENT_ARENA, 0};
    auto line_end = [&] { text_put_char(&text, '\n'); };
    auto blank = [&] { text_put_char(&text, ' '); };
    text_put_string(&text, str("map "));
    text_put_double(&text, map_x);
    blank();
    text_put_double(&text, map_y);
    blank();
    text_put_double(&text, map_scale);
    line_end();
    text_put_string(&text, str("win "));
    text_put_integer(&text, static_cast<int8_t>(win_mode));
    line_end();
    if (machine_kind != state_machine) {
        text_put_string(&text, str("deck "));
        int64_t fields[4] = {deck_copies, deck_colors, deck_shapes, deck_numbers};
        for (int i = 0; i < 4; i++) {
            if (i > 0) blank();
            text_put_integer(&text, fields[i]);
        }
        line_end();
        if (machine_kind == pushdown_machine) {
            text_put_string(&text, str("hand "));
            text_put_integer(&text, hand_size);
            line_end();
        }
        if (machine_kind == turing_machine) {
            text_put_string(&text, str("tape "));
            text_put_integer(&text, tape_length);
            line_end();
            for (int64_t i = 0; i < goals.count; i++) {
                const Goal& goal = goals.data[i];
                text_put_string(&text, str("goal "));
                text_put_integer(&text, goal.kind);
                blank();
                text_put_integer(&text, goal.comparison);
                blank();
                text_put_integer(&text, goal.amount);
                if (goal.kind > 3) {
                    uint8_t a[3] = {goal.color_a, goal.shape_a, goal.number_a};
                    for (uint8_t v : a) {
                        blank();
                        text_put_integer(&text, v);
                    }
                }
                if (goal.kind > 6) {
                    uint8_t b[3] = {goal.color_b, goal.shape_b, goal.number_b};
                    for (uint8_t v : b) {
                        blank();
                        text_put_integer(&text, v);
                    }
                }
                line_end();
            }
        }
    }
    for (int64_t i = 0; i < stones.count; i++) {
        text_put_string(&text, str("stone "));
        text_put_integer(&text, stones.data[i]);
        line_end();
    }
    for (int64_t i = 0; i < states.count; i++) {
        const State& state = states.data[i];
        text_put_string(&text, state.accepting ? str("* ") : str(". "));
        text_put_double(&text, state.x);
        blank();
        text_put_double(&text, state.y);
        line_end();
    }
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        text_put_string(&text, str("=> "));
        text_put_integer(&text, t.from);
        blank();
        text_put_integer(&text, t.to);
        blank();
        text_put_integer(&text, t.bend);
        blank();
        text_put_double(&text, static_cast<double>(t.label_dx));
        blank();
        text_put_double(&text, static_cast<double>(t.label_dy));
        text_put_string(&text, str(" \""));
        text_put_string(&text, t.rule);
        text_put_char(&text, '"');
        line_end();
    }
    return text_view(&text);
}

void build_demo_map() {
    map_x = 0;
    map_y = 0;
    map_scale = 128;
    array_clear(&states);
    array_clear(&transitions);
    const State demo_states[] = {{0, 0, 1, 0}, {-1, -1, 0, 0}, {-1, 1, 0, 0}, {1, 1, 0, 0}, {1, -1, 0, 0}};
    for (const State& state : demo_states) array_push(&states, state);
    struct DemoTransition {
        int16_t from, to, bend;
        float dx, dy;
        const char* rule;
    };
    const DemoTransition demo_transitions[] = {
        {2, 1, 0, -32, 0, "b"},   {3, 2, 0, 0, 40, "~(A,B,C,D)"}, {4, 3, 0, 32, 0, "c"},
        {1, 4, 0, 0, -40, "~(1,2,3,4) & ~(a,b,c,d)"},              {0, 1, 1, 16, -16, "4"},
        {0, 2, 1, -16, -16, "A"}, {0, 3, 1, -16, 16, "1"},         {0, 4, 1, 16, 16, "C"},
        {1, 0, 1, -16, 16, "3"},  {2, 0, 1, 16, 16, "D"},          {3, 0, 1, 16, -16, "2"},
        {4, 0, 1, -16, -16, "B"},
    };
    for (const DemoTransition& d : demo_transitions) {
        array_push(&transitions, Transition{d.from, d.to, d.bend, d.dx, d.dy, arena_copy_string(str(d.rule))});
    }
}
