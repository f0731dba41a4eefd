#include "model/rules.h"

#include "base/arena.h"

#include <bit>

char rule_scratch[rule_scratch_size];

namespace {

// One card against one top card: each bit is a single flag.
struct SingleValue {
    bool card;
    bool top;
};

struct SingleDomain {
    using Value = SingleValue;
    Card card;
    bool has_top;
    Card top;

    Value everything() const { return {true, true}; }
    Value color(uint8_t c) const { return {card.color == c, has_top && top.color == c}; }
    Value shape(uint8_t s) const { return {card.shape == s, has_top && top.shape == s}; }
    Value number(int8_t n) const { return {card.number == n, has_top && top.number == n}; }
    static Value none() { return {false, false}; }
    static Value combine(const Value& a, const Value& b, char op) {
        if (op == '&') return {a.card && b.card, a.top && b.top};
        if (op == '|') return {a.card || b.card, a.top || b.top};
        return {a.card != b.card, a.top != b.top};
    }
    static void add_not(Value* into, const Value& item) {
        into->card = into->card || !item.card;
        into->top = into->top || !item.top;
    }
    static void add_same(Value* into, const Value& item) {
        into->card = into->card || (item.card && item.top);
        into->top = into->card;
    }
    static void add_top(Value* into, const Value& item) {
        into->card = into->card || item.top;
        into->top = into->card;
    }
};

// Every card kind at once against one top card: each bit is a set of card kinds.
struct SetValue {
    CardSet card;
    CardSet top;
};

CardSet set_all() {
    CardSet set{};
    for (int64_t kind = 0; kind < card_kind_count; kind++) set.words[kind >> 6] |= uint64_t{1} << (kind & 63);
    return set;
}

const CardSet all_cards = set_all();

CardSet set_where(int property, int value) {
    CardSet set{};
    for (int64_t kind = 0; kind < card_kind_count; kind++) {
        int64_t properties[3] = {kind / 36, kind / 6 % 6, kind % 6 + 1};
        if (properties[property] == value) set.words[kind >> 6] |= uint64_t{1} << (kind & 63);
    }
    return set;
}

struct PropertySets {
    CardSet colors[card_property_count];
    CardSet shapes[card_property_count];
    CardSet numbers[card_property_count];
};

PropertySets build_property_sets() {
    PropertySets sets{};
    for (int v = 0; v < card_property_count; v++) {
        sets.colors[v] = set_where(0, v);
        sets.shapes[v] = set_where(1, v);
        sets.numbers[v] = set_where(2, v + 1);
    }
    return sets;
}

const PropertySets property_sets = build_property_sets();

CardSet set_or(const CardSet& a, const CardSet& b) {
    return {{a.words[0] | b.words[0], a.words[1] | b.words[1], a.words[2] | b.words[2], a.words[3] | b.words[3]}};
}
CardSet set_and(const CardSet& a, const CardSet& b) {
    return {{a.words[0] & b.words[0], a.words[1] & b.words[1], a.words[2] & b.words[2], a.words[3] & b.words[3]}};
}
CardSet set_xor(const CardSet& a, const CardSet& b) {
    return {{a.words[0] ^ b.words[0], a.words[1] ^ b.words[1], a.words[2] ^ b.words[2], a.words[3] ^ b.words[3]}};
}
CardSet set_not(const CardSet& a) {
    return set_and(all_cards, {{~a.words[0], ~a.words[1], ~a.words[2], ~a.words[3]}});
}
CardSet set_if(bool flag) { return flag ? all_cards : CardSet{}; }

struct SetDomain {
    using Value = SetValue;
    bool has_top;
    Card top;

    Value everything() const { return {all_cards, all_cards}; }
    Value color(uint8_t c) const { return {property_sets.colors[c], set_if(has_top && top.color == c)}; }
    Value shape(uint8_t s) const { return {property_sets.shapes[s], set_if(has_top && top.shape == s)}; }
    Value number(int8_t n) const { return {property_sets.numbers[n - 1], set_if(has_top && top.number == n)}; }
    static Value none() { return {CardSet{}, CardSet{}}; }
    static Value combine(const Value& a, const Value& b, char op) {
        if (op == '&') return {set_and(a.card, b.card), set_and(a.top, b.top)};
        if (op == '|') return {set_or(a.card, b.card), set_or(a.top, b.top)};
        return {set_xor(a.card, b.card), set_xor(a.top, b.top)};
    }
    static void add_not(Value* into, const Value& item) {
        into->card = set_or(into->card, set_not(item.card));
        into->top = set_or(into->top, set_not(item.top));
    }
    static void add_same(Value* into, const Value& item) {
        into->card = set_or(into->card, set_and(item.card, item.top));
        into->top = into->card;
    }
    static void add_top(Value* into, const Value& item) {
        into->card = set_or(into->card, item.top);
        into->top = into->card;
    }
};

constexpr int max_list_items = 8;

// One pass over the stripped rule, no backtracking. Any error makes the whole rule refuse,
// since the error bit survives every operator; parsing therefore stops at the first one.
template <typename Domain>
struct RuleParser {
    using Value = typename Domain::Value;
    const Domain& domain;
    const char* text;
    int64_t length;
    int64_t position;
    bool error;
    // Where the first error was found: the byte that could not be read, or the length when the text ended.
    int64_t fault;

    bool at(char c) const { return position < length && text[position] == c; }

    void fail(int64_t at_byte) {
        if (!error) fault = at_byte;
        error = true;
    }

    Value expression() {
        Value value = term();
        while (!error && position < length) {
            char op = text[position];
            if (op != '&' && op != '|' && op != '^') break;
            position++;
            Value right = term();
            value = Domain::combine(value, right, op);
        }
        return value;
    }

    Value term() {
        if (position < length) {
            char op = text[position];
            if (op == '!' || op == '~' || op == 'T') {
                position++;
                return prefixed(op);
            }
        }
        return plain_atom();
    }

    // Reads one atom as a list of items into the frame arena; returns the item count, 0 on error.
    int64_t list_items(Value** items) {
        *items = arena_push_array<Value>(FRAME_ARENA, max_list_items);
        if (!at('(')) {
            (*items)[0] = single_atom();
            return error ? 0 : 1;
        }
        position++;
        int64_t count = 0;
        (*items)[count++] = expression();
        while (!error) {
            if (at(',')) {
                position++;
                if (count == max_list_items) {
                    fail(position - 1);
                    break;
                }
                (*items)[count++] = expression();
            } else if (at(')')) {
                position++;
                return count;
            } else {
                fail(position);
                break;
            }
        }
        return 0;
    }

    Value prefixed(char op) {
        Value* items = nullptr;
        int64_t count = list_items(&items);
        Value result = Domain::none();
        for (int64_t i = 0; i < count; i++) {
            if (op == '!') Domain::add_not(&result, items[i]);
            else if (op == '~') Domain::add_same(&result, items[i]);
            else Domain::add_top(&result, items[i]);
        }
        return result;
    }

    Value plain_atom() {
        if (!at('(')) return single_atom();
        int64_t start = position;
        Value* items = nullptr;
        int64_t count = list_items(&items);
        if (count != 1) {
            fail(start);
            return Domain::none();
        }
        return items[0];
    }

    Value single_atom() {
        if (position >= length) {
            fail(position);
            return Domain::none();
        }
        char c = text[position];
        if (c >= 'A' && c <= 'F') {
            position++;
            return domain.color(static_cast<uint8_t>(c - 'A'));
        }
        if (c >= 'a' && c <= 'f') {
            position++;
            return domain.shape(static_cast<uint8_t>(c - 'a'));
        }
        if (c >= '1' && c <= '6') {
            position++;
            return domain.number(static_cast<int8_t>(c - '0'));
        }
        if (c == '*') {
            position++;
            return domain.everything();
        }
        fail(position);
        return Domain::none();
    }
};

int64_t strip_rule(string rule) {
    int64_t kept = 0;
    for (int64_t i = 0; i < rule.length && kept < rule_scratch_size; i++) {
        char c = rule.data[i];
        if (c == ' ' || c == '\t' || c == '\n') continue;
        rule_scratch[kept++] = c;
    }
    return kept;
}

// The item lists are scratch of one evaluation; handing the frame arena back keeps
// thousands of evaluations per frame from filling it.
template <typename Domain>
bool evaluate(const Domain& domain, string rule, typename Domain::Value* value) {
    ArenaMark frame_mark = arena_mark(FRAME_ARENA);
    RuleParser<Domain> parser{domain, rule_scratch, strip_rule(rule), 0, false, 0};
    *value = parser.expression();
    bool valid = !parser.error && parser.position == parser.length;
    arena_reset_to(frame_mark);
    return valid;
}

}  // namespace

bool rule_accepts(string rule, Card card) { return rule_accepts_with_top(rule, card, stack.count > 0, top_card(stack)); }

bool rule_accepts_with_top(string rule, Card card, bool stack_has_top, Card top) {
    SingleDomain domain{card, stack_has_top, top};
    SingleValue value;
    return evaluate(domain, rule, &value) && value.card;
}

CardSet rule_accepted_cards(string rule, bool stack_has_top, Card top) {
    SetDomain domain{stack_has_top, top};
    SetValue value;
    if (!evaluate(domain, rule, &value)) return CardSet{};
    return value.card;
}

int64_t card_rule_fault(string rule) {
    ArenaMark frame_mark = arena_mark(FRAME_ARENA);
    SingleDomain domain{Card{0, 0, 1}, false, Card{0, 0, 1}};
    int64_t kept = strip_rule(rule);
    RuleParser<SingleDomain> parser{domain, rule_scratch, kept, 0, false, 0};
    parser.expression();
    arena_reset_to(frame_mark);
    int64_t fault = parser.error ? parser.fault : parser.position;
    if (!parser.error && parser.position == kept) return -1;
    // Back from the text without blanks to the text as written.
    for (int64_t i = 0, seen = 0; i < rule.length; i++) {
        char c = rule.data[i];
        if (c == ' ' || c == '\t' || c == '\n') continue;
        if (seen++ == fault) return i;
    }
    return rule.length;
}

int64_t card_set_size(const CardSet& set) {
    int64_t size = 0;
    for (uint64_t word : set.words) size += std::popcount(word);
    return size;
}
