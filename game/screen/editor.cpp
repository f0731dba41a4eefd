#include "screen/editor.h"

#include "base/text_format.h"
#include "model/goals.h"
#include "model/map_file.h"
#include "model/map_history.h"
#include "model/map_list.h"
#include "model/map_save.h"
#include "model/rule_reading.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/frame_input.h"
#include "screen/goal_builder.h"
#include "screen/heads_up.h"
#include "screen/layout.h"
#include "screen/pointer_boxes.h"
#include "screen/map_legibility.h"
#include "screen/next_arrow.h"
#include "screen/text_entry.h"
#include "screen/ui.h"

#include <cmath>

int64_t goal_cursor;

namespace {

enum : uint8_t {
    question_none = 0,
    question_discard = 1,
    question_replace = 2
};

// A question waiting for its answer: whether to drop unsaved edits (and then do `then`), or whether
// a save under `name` may replace the map at `replaced`.
struct EditorQuestion {
    uint8_t about;
    uint8_t then;
    string name;
    string replaced;
};

constexpr double status_seconds = 4;

struct EditorSession {
    uint8_t request;
    // The map list was asked for; the map shown on return is another one.
    uint8_t map_list_asked;
    EditorQuestion question;
    // The file saved last while editing this map: saving to it again needs no question.
    string saved_path;
    // The name the map was opened or last saved under, which the save dialog starts with.
    string map_name;
    // What the last save did, shown at the bottom for a few seconds.
    string status;
    double status_time_left;
};

EditorSession session;

constexpr double grid_step = 32;

// The top panel: the heads-up texts at the left edge, the deck rows right of them, two columns of
// buttons at the right edge below the help hint.
constexpr double deck_label_x = 320, deck_less_x = 400, deck_value_x = 440, deck_more_x = 480;
struct ButtonColumn {
    // From the window's right edge to the column's centre.
    double inset, width;
};
constexpr ButtonColumn edit_column{104, 176};
constexpr ButtonColumn rule_column{288, 160};
constexpr double button_row_offsets[3] = {8, -24, -56};
// The bottom panel's rows keep their values between the arrows at either side of the centre.
constexpr double row_arrow_offset = 280;
constexpr double row_value_room = 2 * row_arrow_offset - 64;
constexpr double status_y = 24;

// The buttons of the top panel act with the keys, after the deck rows.
struct EditorButtons {
    bool remove, remove_stone, add_stone;
};

// Row 0 is the column's top button.
bool column_button(const char* label, const ButtonColumn& column, int row) {
    double y = window_height - top_panel_height / 2 + button_row_offsets[row];
    return draw_button(str(label), window_width - column.inset, y, column.width, 32);
}

string decimal_text(int64_t value) {
    TextBuilder text{nullptr, 0, 0, FRAME_ARENA, 0};
    text_put_integer(&text, value);
    return text_view(&text);
}

string joined(const char* prefix, string text) { return arena_concat(str(prefix), text, PERSISTENT_ARENA); }

void show_status(string text) {
    session.status = text;
    session.status_time_left = status_seconds;
}

void draw_deck_row(const char* label, int64_t* value, int64_t maximum, double y) {
    draw_caption(str(label), deck_label_x, y);
    int64_t step = arrow_row(deck_less_x, deck_more_x, y, 32);
    if (step < 0 && *value > 0) *value -= 1;
    if (step > 0 && *value < maximum) *value += 1;
    char digit[1] = {static_cast<char>('0' + (*value >= 0 && *value <= 9 ? *value : 0))};
    draw_caption(string{digit, 1}, deck_value_x, y);
}

// The row's arrows at either side of the window's centre; -1 or +1 for a click this frame.
int bottom_row_step(double y) {
    double center_x = window_width / 2.0;
    return static_cast<int>(arrow_row(center_x - row_arrow_offset, center_x + row_arrow_offset, y, 32));
}

int64_t goal_index() {
    if (goals.count <= 0) return -1;
    goal_cursor = ((goal_cursor % goals.count) + goals.count) % goals.count;
    return goal_cursor;
}

// A goal's description shrinks to stay between its row's arrows.
void draw_goal_row_text(const Goal& goal, double y) {
    string text = goal_text(goal);
    double width = measure_text(text, 256, true).width;
    double scale = width > row_value_room ? 256 * row_value_room / width : 256;
    draw_screen_text(text, window_width / 2.0, y, scale, ui_text_color, text_symbols);
}

string win_mode_name(uint8_t mode) {
    switch (mode) {
        case immediate: return str("immediate");
        case all_accepting: return str("all accepting");
        case any_accepting: return str("any accepting");
        default: return str("nobody wins");
    }
}

// The win mode changes only by its arrows; a mode outside the three steps into them.
void step_win_mode(int step) {
    if (step == 0) return;
    int mode = win_mode <= any_accepting ? win_mode + step : (step > 0 ? immediate : any_accepting);
    win_mode = static_cast<uint8_t>((mode + 3) % 3);
}

void draw_bottom_rows() {
    double center_x = window_width / 2.0;
    double row_y = bottom_panel_height / 2 + 32;
    draw_caption(str("win"), 160, row_y);
    step_win_mode(bottom_row_step(row_y));
    draw_caption(win_mode_name(win_mode), center_x, row_y);
    if (machine_kind == pushdown_machine) {
        draw_caption(str("hand"), 160, row_y - 32);
        hand_size += bottom_row_step(row_y - 32);
        draw_caption(decimal_text(hand_size), center_x, row_y - 32);
    }
    if (machine_kind == turing_machine) {
        draw_caption(str("tape"), 160, row_y - 32);
        tape_length += bottom_row_step(row_y - 32);
        draw_caption(decimal_text(tape_length), center_x, row_y - 32);
        draw_caption(str("goal"), 160, row_y - 64);
        goal_cursor += bottom_row_step(row_y - 64);
        int64_t shown = goal_index();
        if (shown >= 0) draw_goal_row_text(goals.data[shown], row_y - 64);
    }
}

void draw_status() {
    if (session.status_time_left <= 0) return;
    session.status_time_left -= frame_time;
    draw_fitted_caption(session.status, window_width / 2.0, status_y, window_width - 64.0);
}

void open_map_list() {
    session.request = editor_request_map_list;
    session.map_list_asked = 1;
    GrowableArray<MapListEntry>* list = map_list_of_kind(machine_kind);
    if (list) current_map_list = list;
    current_map_index = 0;
    if (current_map_list && current_map_list->count > 0) load_map(current_map_list->data[0].path);
}

void save_under(string name) {
    string path = map_save_path(machine_kind, name, PERSISTENT_ARENA);
    record_map_edit();
    if (save_map_as(name)) {
        mark_map_saved();
        session.saved_path = path;
        session.map_name = name;
        show_status(joined("saved as ", path));
    } else {
        show_status(name.length > 0 ? joined("could not save ", path) : str("not saved: the name is empty"));
    }
    // Saved all the same: the map may be half done.
    LegibilityFault fault;
    if (find_legibility_faults(&fault, 1) > 0) show_notice(legibility_fault_text(fault, PERSISTENT_ARENA));
}

// Under the typed rule, where it stops reading as a rule of this kind; nothing while it reads.
string rule_reading_note(string typed) {
    int64_t bad = first_unreadable_byte(typed, machine_kind);
    if (typed.length == 0 || bad < 0) return string{nullptr, 0};
    TextBuilder text{nullptr, 0, 0, FRAME_ARENA, 0};
    if (bad >= typed.length) {
        text_put_string(&text, str("The rule ends too soon, after character "));
        text_put_integer(&text, typed.length);
    } else {
        text_put_string(&text, str("Cannot read character "));
        text_put_integer(&text, bad + 1);
        text_put_string(&text, str(": "));
        text_put_char(&text, typed.data[bad]);
    }
    return text_view(&text);
}

// Replacing another map's file, or the list entry of another file, asks first.
void save_or_ask(string name) {
    string replaced = map_replaced_by_save(name);
    if (replaced.length == 0 || string_equals(replaced, session.saved_path)) {
        save_under(name);
        return;
    }
    session.question = EditorQuestion{question_replace, editor_request_none, arena_copy_string(name),
                                      arena_copy_string(replaced)};
}

// Runs first in the frame, so no button drawn later can reopen the dialog before its text is used.
void use_accepted_text() {
    if (!entry_accepted) return;
    if (entry_purpose == entry_for_map_name) {
        string name = arena_copy_string(typed_text());
        finish_text_entry();
        save_or_ask(name);
    } else if (entry_purpose == entry_for_rule) {
        if (entry_text.count > 0 && first_unreadable_byte(typed_text(), machine_kind) >= 0) {
            // Refused: the dialog stays up with the text and the place it stops reading; the arrow keeps its rule.
            entry_open = 1;
            entry_accepted = 0;
            return;
        }
        // A confirmed rule belongs to the transition selected now, never to a later one.
        if (selected_transition >= 0 && selected_transition < transitions.count && entry_text.count > 0) {
            transitions.data[selected_transition].rule = arena_copy_string(typed_text());
        }
        finish_text_entry();
    }
}

string file_of_typed_name(string typed) {
    return arena_concat(str("file: "), map_save_path(machine_kind, typed, FRAME_ARENA), FRAME_ARENA);
}

void answer_question() {
    EditorQuestion& question = session.question;
    DialogAnswer answer;
    if (question.about == question_discard) {
        answer = draw_question(str("Discard unsaved changes?"), str("They cannot be brought back."), str("Discard"));
    } else {
        answer = draw_question(str("A map of that name exists. Replace it?"), question.replaced, str("Replace"));
    }
    if (answer.cancel) {
        question.about = question_none;
        return;
    }
    if (!answer.ok) return;
    EditorQuestion answered = question;
    question.about = question_none;
    if (answered.about == question_replace) {
        save_under(answered.name);
    } else if (answered.then == editor_request_map_list) {
        open_map_list();
    } else {
        session.request = answered.then;
    }
}

void clear_selection() {
    source_state = -1;
    target_state = -1;
    selected_transition = -1;
}

void remove_first_stone_on(int16_t state) {
    int16_t stone = first_stone_on(state);
    if (stone < 0) return;
    stones.data[stone] = stones.data[stones.count - 1];
    stones.count -= 1;
}

// A key pressed with Ctrl down is a shortcut, even when Ctrl is let go within the same frame.
bool edit_key(uint8_t key) { return key_pressed(key) && !ctrl_shortcut(key); }

void edit_selected_transition(bool remove) {
    Transition* t = &transitions.data[selected_transition];
    if (t->rule.length > 0) {
        if (edit_key(KEY_J)) t->label_dx -= 32;
        if (edit_key(KEY_L)) t->label_dx += 32;
        if (edit_key(KEY_K)) t->label_dy -= 32;
        if (edit_key(KEY_I)) t->label_dy += 32;
    }
    // A self-loop's bend is the angle it stands at.
    int16_t step = t->from == t->to ? 45 : 1;
    if (edit_key(KEY_O)) t->bend = static_cast<int16_t>(t->bend - step);
    if (edit_key(KEY_U)) t->bend = static_cast<int16_t>(t->bend + step);
    if (remove || edit_key(KEY_DELETE)) {
        remove_transition(selected_transition);
        selected_transition = -1;
    }
}

void edit_source_state(const EditorButtons& buttons) {
    State* state = &states.data[source_state];
    double step = grid_step / map_scale;
    if (edit_key(KEY_J)) state->x -= step;
    if (edit_key(KEY_L)) state->x += step;
    if (edit_key(KEY_K)) state->y -= step;
    if (edit_key(KEY_I)) state->y += step;
    if (edit_key(KEY_U)) state->accepting = 1;
    if (edit_key(KEY_O)) state->accepting = 0;
    bool remove = buttons.remove || edit_key(KEY_DELETE);
    if (buttons.remove_stone || (remove && shift_held())) {
        remove_first_stone_on(source_state);
    } else if (remove) {
        remove_source_state(false);
    }
}

void act_on_keys(const EditorButtons& buttons) {
    if (edit_key(KEY_1)) {
        add_state_at(frame_input.world_x, frame_input.world_y);
    }
    if (edit_key(KEY_2)) add_transition_between_selected();
    if (edit_key(KEY_3) || buttons.add_stone) add_stone_on_source();
    bool source = source_state >= 0 && source_state < states.count;
    bool target = target_state >= 0 && target_state < states.count;
    if (source && target) {
        bool picked = selected_transition >= 0 && selected_transition < transitions.count;
        if (picked) edit_selected_transition(buttons.remove);
    } else if (source) {
        edit_source_state(buttons);
    }
}

// Ctrl+S save, ctrl+O open, ctrl+Z undo, ctrl+Y and ctrl+shift+Z redo.
void act_on_ctrl_keys() {
    if (ctrl_shortcut(KEY_S)) open_text_entry(entry_for_map_name, str("Map name"), session.map_name);
    if (ctrl_shortcut(KEY_O) && editor_may_discard(editor_request_map_list)) open_map_list();
    bool redo = ctrl_shortcut(KEY_Y) || ctrl_shift_shortcut(KEY_Z);
    bool undo = ctrl_shortcut(KEY_Z) && !ctrl_shift_shortcut(KEY_Z);
    // A step back or forth may remove what is selected.
    if ((undo && undo_map_edit()) || (redo && redo_map_edit())) clear_selection();
}

// A cross, so the point where the next state goes never looks like a state.
void draw_grid_cursor() {
    double pointer_height = frame_input.mouse_y;
    if (pointer_height <= bottom_panel_height || pointer_height >= window_height - top_panel_height) return;
    double x = std::floor(frame_input.world_x / grid_step + 0.5) * grid_step;
    double y = std::floor(frame_input.world_y / grid_step + 0.5) * grid_step;
    Color color{1, 1, 1, 0.5f};
    draw_quad(white_texture, x - 16, y - 2, 32, 4, color, camera_matrix);
    draw_quad(white_texture, x - 2, y - 16, 4, 32, color, camera_matrix);
}

void remove_shown_goal() {
    int64_t removed = goal_index();
    if (removed < 0) return;
    for (int64_t i = removed; i + 1 < goals.count; i++) goals.data[i] = goals.data[i + 1];
    goals.count -= 1;
}

}  // namespace

void reset_editor() {
    goal_cursor = 0;
    session = EditorSession{};
    reset_map_history();
    reset_goal_builder();
}

uint8_t take_editor_request() {
    uint8_t request = session.request;
    session.request = editor_request_none;
    return request;
}

void start_editing() {
    clear_selection();
    entry_open = 0;
    finish_text_entry();
    goal_builder_open = 0;
    session.map_list_asked = 0;
    session.question.about = question_none;
    session.saved_path = string{nullptr, 0};
    session.map_name = string{nullptr, 0};
    start_map_history();
}

bool editor_may_discard(uint8_t then) {
    // Asked already: quitting again goes ahead; leaving answers "no".
    if (session.question.about == question_discard) {
        session.question.about = question_none;
        return then == editor_request_quit;
    }
    // Escape answers "no" to any other question; quitting puts the discard question in its place.
    if (session.question.about != question_none && then != editor_request_quit) {
        session.question.about = question_none;
        return false;
    }
    if (!map_has_unsaved_edits()) return true;
    session.question = EditorQuestion{question_discard, then, string{nullptr, 0}, string{nullptr, 0}};
    return false;
}

void add_state_at(double world_x, double world_y) {
    if (states.count >= max_states || map_scale == 0) return;
    double grid_x = std::floor(world_x / grid_step + 0.5) * grid_step;
    double grid_y = std::floor(world_y / grid_step + 0.5) * grid_step;
    array_push(&states, State{grid_x / map_scale, grid_y / map_scale, 0, 0});
    source_state = static_cast<int16_t>(states.count - 1);
    target_state = -1;
}

void add_transition_between_selected() {
    bool source = source_state >= 0 && source_state < states.count;
    bool target = target_state >= 0 && target_state < states.count;
    if (!source || !target || transitions.count >= max_transitions) return;
    // A self-loop's label starts beside its loop, as the shipped maps place them.
    float label_dx = source_state == target_state ? 112 : 0;
    array_push(&transitions, Transition{source_state, target_state, 0, label_dx, 0, string{nullptr, 0}});
}

void add_stone_on_source() {
    if (source_state < 0 || source_state >= states.count || target_state >= 0 || stones.count >= max_stones) return;
    array_push(&stones, source_state);
}

void remove_source_state(bool one_stone) {
    int16_t removed = source_state;
    if (removed < 0 || removed >= states.count) return;
    if (one_stone) {
        remove_first_stone_on(removed);
        return;
    }
    while (first_stone_on(removed) >= 0) remove_first_stone_on(removed);
    for (int64_t i = 0; i < transitions.count;) {
        const Transition& t = transitions.data[i];
        if (t.from == removed || t.to == removed) {
            remove_transition(i);
        } else {
            i++;
        }
    }
    int16_t last = static_cast<int16_t>(states.count - 1);
    if (removed != last) {
        for (int64_t i = 0; i < transitions.count; i++) {
            if (transitions.data[i].from == last) transitions.data[i].from = removed;
            if (transitions.data[i].to == last) transitions.data[i].to = removed;
        }
        for (int64_t i = 0; i < stones.count; i++) {
            if (stones.data[i] == last) stones.data[i] = removed;
        }
        states.data[removed] = states.data[last];
    }
    states.count -= 1;
    clear_selection();
}

bool editor_dialog_open() { return entry_open || goal_builder_open || session.question.about != question_none; }

void editor_frame() {
    // Back from the map list, the map shown is the one opened there.
    if (session.map_list_asked) {
        start_editing();
        bool listed = current_map_list && current_map_index >= 0 && current_map_index < current_map_list->count;
        if (listed) session.map_name = current_map_list->data[current_map_index].name;
    }
    use_accepted_text();
    double width = window_width, height = window_height;
    // A dialog takes the keys; its box, drawn last, takes the clicks.
    bool dialog_open = editor_dialog_open();

    draw_grid_cursor();
    draw_next_arrow_marks();
    draw_screen_text(str("Press <f1> for help"), width - 256, height - 32, 128, Color{0.5f, 0.5f, 0.5f, 1}, text_plain);
    bool has_deck = machine_kind == pushdown_machine || machine_kind == turing_machine;
    if (has_deck) {
        draw_deck_row("decks", &deck_copies, 9, height - 32);
        draw_deck_row("colors", &deck_colors, 6, height - 64);
        draw_deck_row("numbers", &deck_numbers, 6, height - 96);
        draw_deck_row("shapes", &deck_shapes, 6, height - 128);
    }
    EditorButtons buttons{};
    buttons.remove = column_button("remove", edit_column, 0);
    buttons.remove_stone = column_button("remove stone", edit_column, 1);
    buttons.add_stone = column_button("add stone", edit_column, 2);
    if (has_deck && column_button("change rule", rule_column, 0) && selected_transition >= 0 &&
        selected_transition < transitions.count) {
        open_text_entry(entry_for_rule, str("Type a rule"), transitions.data[selected_transition].rule);
    }
    if (machine_kind == turing_machine) {
        if (column_button("add goal", rule_column, 1)) goal_builder_open = 1;
        if (column_button("remove goal", rule_column, 2)) remove_shown_goal();
    }
    if (!dialog_open) act_on_ctrl_keys();
    if (!dialog_open && !ctrl_held()) act_on_keys(buttons);
    draw_bottom_rows();
    draw_status();

    // A question covers the other dialogs until it is answered.
    int32_t dialog_boxes = pointer_box_mark();
    if (session.question.about != question_none) {
        answer_question();
    } else {
        if (entry_open) text_entry_frame(entry_purpose == entry_for_map_name ? file_of_typed_name : rule_reading_note);
        if (goal_builder_open) goal_builder_frame();
    }
    if (!editor_dialog_open()) take_back_pointer_boxes(dialog_boxes);
    record_map_edit();
}
