#include "model/goals.h"

namespace {

// Distinct values among the first `limit` entries; the table has room for eight.
constexpr int64_t distinct_table_size = 8;

int64_t count_marked(const bool* marked, int64_t first, int64_t limit) {
    int64_t count = 0;
    for (int64_t v = first; v < first + limit && v < distinct_table_size; v++) count += marked[v] ? 1 : 0;
    return count;
}

char goal_text_buffer[goal_text_capacity];

}  // namespace

int64_t goal_value(Goal goal) {
    int64_t cells = tape_length < tape.count ? tape_length : tape.count;
    bool marked[distinct_table_size] = {};
    int64_t value = 0;
    for (int64_t i = 0; i < cells; i++) {
        const Card& card = tape.data[i];
        switch (goal.kind) {
            case sum: value += card.number; break;
            case distinct_colors:
                if (card.color < distinct_table_size) marked[card.color] = true;
                break;
            case distinct_shapes:
                if (card.shape < distinct_table_size) marked[card.shape] = true;
                break;
            case distinct_numbers:
                if (card.number >= 0 && card.number < distinct_table_size) marked[card.number] = true;
                break;
            case color_count: value += card.color == goal.color_a; break;
            case shape_count: value += card.shape == goal.shape_a; break;
            case number_count: value += card.number == goal.number_a; break;
            case color_pair_count: value += card.color == goal.color_a || card.color == goal.color_b; break;
            case shape_pair_count: value += card.shape == goal.shape_a || card.shape == goal.shape_b; break;
            case number_pair_count: value += card.number == goal.number_a || card.number == goal.number_b; break;
            default: break;
        }
    }
    if (goal.kind == distinct_colors) return count_marked(marked, 0, used_deck_colors());
    if (goal.kind == distinct_shapes) return count_marked(marked, 0, used_deck_shapes());
    if (goal.kind == distinct_numbers) return count_marked(marked, 1, used_deck_numbers());
    return value;
}

bool goal_met(Goal goal) {
    int64_t value = goal_value(goal);
    switch (goal.comparison) {
        case exactly: return value == goal.amount;
        case at_most: return value <= goal.amount;
        case at_least: return value >= goal.amount;
        default: return false;
    }
}

bool same_goal(const Goal& a, const Goal& b) {
    return a.kind == b.kind && a.comparison == b.comparison && a.amount == b.amount && a.color_a == b.color_a &&
           a.shape_a == b.shape_a && a.number_a == b.number_a && a.color_b == b.color_b && a.shape_b == b.shape_b &&
           a.number_b == b.number_b;
}

// What the goal measures ("sum", "num A or B"), then, with `value` set, that value and a comma,
// then the comparison and the amount.
static string write_goal(Goal goal, const int64_t* value) {
    FixedText text{goal_text_buffer, goal_text_capacity, 0, 0};
    auto letter = [&](char first, uint8_t offset) { fixed_put_char(&text, static_cast<char>(first + offset)); };
    switch (goal.kind) {
        case sum: fixed_put_string(&text, str("sum")); break;
        case distinct_colors: fixed_put_string(&text, str("# %distin%ct %colors")); break;
        case distinct_shapes: fixed_put_string(&text, str("# %distin%ct sh%ap%es")); break;
        case distinct_numbers: fixed_put_string(&text, str("# %distin%ct num%b%ers")); break;
        case color_count:
        case shape_count:
        case number_count:
        case color_pair_count:
        case shape_pair_count:
        case number_pair_count: {
            fixed_put_string(&text, str("num "));
            bool pair = goal.kind >= color_pair_count;
            int property = (goal.kind - color_count) % 3;
            char first = property == 0 ? 'A' : property == 1 ? 'a' : '0';
            uint8_t a = property == 0 ? goal.color_a : property == 1 ? goal.shape_a : goal.number_a;
            uint8_t b = property == 0 ? goal.color_b : property == 1 ? goal.shape_b : goal.number_b;
            letter(first, a);
            if (pair) {
                fixed_put_string(&text, str(" or "));
                letter(first, b);
            }
            break;
        }
        default: break;
    }
    if (value) {
        // "sum 22" reads as a sum; a count reads better after a colon ("num 6: 1").
        fixed_put_string(&text, str(goal.kind == sum ? " " : ": "));
        fixed_put_integer(&text, *value);
        fixed_put_char(&text, ',');
    }
    switch (goal.comparison) {
        case exactly: fixed_put_string(&text, str(" %ex%a%ctly ")); break;
        case at_most: fixed_put_string(&text, str(" %at most ")); break;
        case at_least: fixed_put_string(&text, str(" %at l%e%ast ")); break;
        default: break;
    }
    fixed_put_integer(&text, goal.amount);
    return fixed_view(&text);
}

string goal_text(Goal goal) { return write_goal(goal, nullptr); }

string goal_progress_text(Goal goal) {
    int64_t value = goal_value(goal);
    return write_goal(goal, &value);
}
