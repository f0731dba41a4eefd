#include "model/rule_reading.h"

#include "model/game_data.h"
#include "model/rules.h"

namespace {

bool tape_symbol(char c) {
    return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || (c >= '1' && c <= '6') || c == '*';
}

int64_t tape_action_fault(string rule) {
    if (rule.length == 0) return 0;
    if (!tape_symbol(rule.data[0])) return 0;
    if (rule.length > 1 && rule.data[1] != 'L' && rule.data[1] != 'R') return 1;
    return -1;
}

}  // namespace

int64_t first_unreadable_byte(string rule, uint8_t kind) {
    if (kind == pushdown_machine) return card_rule_fault(rule);
    if (kind == turing_machine) return tape_action_fault(rule);
    return -1;
}
