#include "model/tried_move.h"

#include "model/referee.h"

TriedMove try_move(const Move& move) {
    TriedMove tried{move.stone, stones.data[move.stone], tape.count > 0 ? tape.data[tape_head] : default_card, tape_head};
    bool passes = machine_kind == turing_machine && move.rule.length == 0;
    if (!passes) stones.data[move.stone] = move.target;
    if (machine_kind == turing_machine) apply_tape_action(move.rule);
    return tried;
}

void take_back(const TriedMove& tried) {
    stones.data[tried.stone] = tried.from;
    if (tape.count > 0) tape.data[tried.head] = tried.cell;
    tape_head = tried.head;
}
