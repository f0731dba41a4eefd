#include "screen/map_legibility.h"

#include "base/text_format.h"
#include "model/game_data.h"
#include "screen/arrow_geometry.h"
#include "screen/machine_view.h"

namespace {

// A label's box or a state's square, axis-aligned.
TurnedBox upright_box(double left, double bottom, double width, double height) {
    return TurnedBox{left + width / 2, bottom + height / 2, 1, 0, width / 2, height / 2};
}

TurnedBox rule_box(const Transition& t) {
    WorldBox box = label_box(t);
    return upright_box(box.x, box.y, box.width, box.height);
}

// The square that takes a state's clicks, which a label must leave free to be clicked itself.
TurnedBox state_square(int16_t state) {
    float x, y;
    state_center(state, &x, &y);
    return upright_box(x - state_radius, y - state_radius, 2 * state_radius, 2 * state_radius);
}

bool drawn(const Transition& t) { return t.from >= 0 && t.from < states.count && t.to >= 0 && t.to < states.count; }

bool has_rule(const Transition& t) { return drawn(t) && t.rule.length > 0; }

double gap_to_arrow(const TurnedBox& box, const Transition& t) {
    ArrowPieces pieces = arrow_pieces(t);
    double nearest = -1;
    for (int32_t i = 0; i < pieces.count; i++) {
        double gap = box_gap(box, pieces.piece[i]);
        if (nearest < 0 || gap < nearest) nearest = gap;
    }
    return nearest;
}

struct FaultList {
    LegibilityFault* faults;
    int64_t capacity;
    int64_t count;
};

// False once the list is full.
bool note(FaultList* list, uint8_t kind, int64_t transition, int64_t other) {
    if (list->count < list->capacity) {
        list->faults[list->count++] = LegibilityFault{kind, static_cast<int16_t>(transition), static_cast<int16_t>(other)};
    }
    return list->count < list->capacity;
}

bool check_arrow(FaultList* list, int64_t index) {
    const Transition& t = transitions.data[index];
    ArrowPieces pieces = arrow_pieces(t);
    for (int64_t s = 0; s < states.count; s++) {
        if (s == t.from || s == t.to) continue;
        float x, y;
        state_center(static_cast<int16_t>(s), &x, &y);
        for (int32_t i = 0; i < pieces.count; i++) {
            if (point_to_box(pieces.piece[i], x, y) < state_radius) {
                if (!note(list, arrow_crosses_state, index, s)) return false;
                break;
            }
        }
    }
    return true;
}

bool check_rule(FaultList* list, int64_t index) {
    const Transition& t = transitions.data[index];
    TurnedBox box = rule_box(t);
    for (int64_t s = 0; s < states.count; s++) {
        if (boxes_overlap(box, state_square(static_cast<int16_t>(s))) && !note(list, rule_covers_state, index, s)) return false;
    }
    for (int64_t other = 0; other < transitions.count; other++) {
        if (other == index || !has_rule(transitions.data[other])) continue;
        if (boxes_overlap(box, rule_box(transitions.data[other])) && !note(list, rule_covers_rule, index, other)) return false;
    }
    double own_gap = gap_to_arrow(box, t);
    if (own_gap <= 0 && !note(list, rule_on_arrow, index, index)) return false;
    int64_t nearest_other = -1;
    double nearest_gap = 0;
    for (int64_t other = 0; other < transitions.count; other++) {
        if (other == index || !drawn(transitions.data[other])) continue;
        double gap = gap_to_arrow(box, transitions.data[other]);
        if (gap <= 0 && !note(list, rule_on_arrow, index, other)) return false;
        if (nearest_other < 0 || gap < nearest_gap) {
            nearest_other = other;
            nearest_gap = gap;
        }
    }
    if (nearest_other >= 0 && nearest_gap > 0 && nearest_gap < own_gap + rule_clearance &&
        !note(list, rule_nearer_other_arrow, index, nearest_other)) {
        return false;
    }
    return own_gap <= rule_reach || note(list, rule_far_from_arrow, index, index);
}

void put_arrow(TextBuilder* text, int16_t transition) {
    const Transition& t = transitions.data[transition];
    text_put_integer(text, t.from);
    text_put_string(text, str(" -> "));
    text_put_integer(text, t.to);
}

}  // namespace

int64_t find_legibility_faults(LegibilityFault* faults, int64_t capacity) {
    FaultList list{faults, capacity, 0};
    if (capacity <= 0) return 0;
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        if (!drawn(t)) continue;
        if (!check_arrow(&list, i)) break;
        if (has_rule(t) && !check_rule(&list, i)) break;
    }
    return list.count;
}

string legibility_fault_text(const LegibilityFault& fault, uint8_t arena) {
    TextBuilder text{nullptr, 0, 0, arena, 0};
    bool about_arrow = fault.kind == arrow_crosses_state;
    text_put_string(&text, str(about_arrow ? "The arrow " : "The rule of "));
    put_arrow(&text, fault.transition);
    switch (fault.kind) {
        case arrow_crosses_state:
        case rule_covers_state:
            text_put_string(&text, str(about_arrow ? " crosses state " : " covers state "));
            text_put_integer(&text, fault.other);
            break;
        case rule_covers_rule:
            text_put_string(&text, str(" covers the rule of "));
            put_arrow(&text, fault.other);
            break;
        case rule_on_arrow:
            if (fault.other == fault.transition) {
                text_put_string(&text, str(" lies on its own arrow"));
            } else {
                text_put_string(&text, str(" lies on the arrow "));
                put_arrow(&text, fault.other);
            }
            break;
        case rule_nearer_other_arrow:
            text_put_string(&text, str(" stands nearer "));
            put_arrow(&text, fault.other);
            break;
        default:
            text_put_string(&text, str(" stands far from its arrow"));
            break;
    }
    return text_view(&text);
}
