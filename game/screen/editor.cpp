#include "screen/editor.h"

#include "base/text_format.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/map_save.h"
#include "model/turn_state.h"
#include "render/goal_drawing.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/frame_input.h"
#include "screen/goal_builder.h"
#include "screen/layout.h"
#include "screen/text_entry.h"
#include "screen/ui.h"

#include <cmath>

int64_t goal_cursor;
uint8_t map_list_requested;

void reset_editor() {
    goal_cursor = 0;
    map_list_requested = 0;
    reset_goal_builder();
}

namespace {

constexpr double grid_step = 32;

// The buttons of the top panel act with the keys, after the deck rows.
struct EditorButtons {
    bool remove, remove_stone, add_stone;
};

string decimal_text(int64_t value) {
    TextBuilder text{nullptr, 0, 0, FRAME_ARENA, 0};
    text_put_integer(&text, value);
    return text_view(&text);
}

void draw_deck_row(const char* label, int64_t* value, int64_t maximum, double y) {
    draw_caption(str(label), 96, y);
    int64_t step = arrow_row(160, 256, y, 32);
    if (step < 0 && *value > 0) *value -= 1;
    if (step > 0 && *value < maximum) *value += 1;
    char digit[1] = {static_cast<char>('0' + (*value >= 0 && *value <= 9 ? *value : 0))};
    draw_caption(string{digit, 1}, 208, y);
}

// The row's arrows at either side of the window's centre; -1 or +1 for a click this frame.
int bottom_row_step(double y) {
    double center_x = window_width / 2.0;
    return static_cast<int>(arrow_row(center_x - 280, center_x + 280, y, 32));
}

int64_t goal_index() {
    if (goals.count <= 0) return -1;
    goal_cursor = ((goal_cursor % goals.count) + goals.count) % goals.count;
    return goal_cursor;
}

void draw_bottom_rows() {
    double center_x = window_width / 2.0;
    double row_y = bottom_panel_height / 2 + 32;
    draw_caption(str("win"), 160, row_y);
    win_mode = static_cast<uint8_t>((win_mode % 3 + 3 + bottom_row_step(row_y)) % 3);
    const char* win_names[] = {"immediate", "all accepting", "any accepting"};
    draw_caption(str(win_names[win_mode]), center_x, row_y);
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
        if (shown >= 0) draw_goal_text(goals.data[shown], center_x, row_y - 64);
    }
}

void open_map_list() {
    map_list_requested = 1;
    GrowableArray<MapListEntry>* list = map_list_of_kind(machine_kind);
    if (list) current_map_list = list;
    current_map_index = 0;
    if (current_map_list && current_map_list->count > 0) load_map(current_map_list->data[0].path);
}

void use_accepted_text() {
    if (!entry_accepted) return;
    if (entry_purpose == entry_for_map_name) {
        save_map_as(typed_text());
        finish_text_entry();
    } else if (entry_purpose == entry_for_rule) {
        // A confirmed rule belongs to the transition selected now, never to a later one.
        if (selected_transition >= 0 && selected_transition < transitions.count && entry_text.count > 0) {
            transitions.data[selected_transition].rule = arena_copy_string(typed_text());
        }
        finish_text_entry();
    }
}

void remove_first_stone_on(int16_t state) {
    int16_t stone = first_stone_on(state);
    if (stone < 0) return;
    stones.data[stone] = stones.data[stones.count - 1];
    stones.count -= 1;
}

void edit_selected_transition(bool remove) {
    Transition* t = &transitions.data[selected_transition];
    if (t->rule.length > 0) {
        if (key_pressed(KEY_J)) t->label_dx -= 32;
        if (key_pressed(KEY_L)) t->label_dx += 32;
        if (key_pressed(KEY_K)) t->label_dy -= 32;
        if (key_pressed(KEY_I)) t->label_dy += 32;
    }
    // A self-loop's bend is the angle it stands at.
    int16_t step = t->from == t->to ? 45 : 1;
    if (key_pressed(KEY_O)) t->bend = static_cast<int16_t>(t->bend - step);
    if (key_pressed(KEY_U)) t->bend = static_cast<int16_t>(t->bend + step);
    if (remove || key_pressed(KEY_DELETE)) {
        remove_transition(selected_transition);
        selected_transition = -1;
    }
}

void edit_source_state(const EditorButtons& buttons) {
    State* state = &states.data[source_state];
    double step = grid_step / map_scale;
    if (key_pressed(KEY_J)) state->x -= step;
    if (key_pressed(KEY_L)) state->x += step;
    if (key_pressed(KEY_K)) state->y -= step;
    if (key_pressed(KEY_I)) state->y += step;
    if (key_pressed(KEY_U)) state->accepting = 1;
    if (key_pressed(KEY_O)) state->accepting = 0;
    bool delete_key = key_pressed(KEY_DELETE);
    if (buttons.remove_stone || (delete_key && shift_held())) {
        remove_first_stone_on(source_state);
    } else if (buttons.remove || delete_key) {
        remove_source_state(false);
    }
}

void act_on_keys(const EditorButtons& buttons) {
    if (key_pressed(KEY_1)) {
        add_state_at(frame_input.world_x, frame_input.world_y);
    }
    if (key_pressed(KEY_2)) add_transition_between_selected();
    if (key_pressed(KEY_3) || buttons.add_stone) add_stone_on_source();
    bool source = source_state >= 0 && source_state < states.count;
    bool target = target_state >= 0 && target_state < states.count;
    if (source && target) {
        if (selected_transition >= 0 && selected_transition < transitions.count) edit_selected_transition(buttons.remove);
    } else if (source) {
        edit_source_state(buttons);
    }
}

}  // namespace

void add_state_at(double world_x, double world_y) {
    if (states.count >= max_states || map_scale == 0) return;
    double grid_x = std::floor(world_x / grid_step + 0.5) * grid_step;
    double grid_y = std::floor(world_y / grid_step + 0.5) * grid_step;
    array_push(&states, State{grid_x / map_scale, grid_y / map_scale, 0, 0});
    source_state = static_cast<int16_t>(states.count - 1);
    target_state = -1;
}

void add_transition_between_selected() {
    if (source_state < 0 || target_state < 0 || transitions.count >= max_transitions) return;
    array_push(&transitions, Transition{source_state, target_state, 0, 0, 0, string{nullptr, 0}});
}

void add_stone_on_source() {
    if (source_state < 0 || target_state >= 0 || stones.count >= max_stones) return;
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
    source_state = -1;
    target_state = -1;
    selected_transition = -1;
}

void editor_frame() {
    double width = window_width, height = window_height;
    double top_middle = height - top_panel_height / 2;
    double pointer_height = frame_input.mouse_y;
    if (pointer_height > bottom_panel_height && pointer_height < height - top_panel_height) {
        double grid_x = std::floor(frame_input.world_x / grid_step + 0.5) * grid_step;
        double grid_y = std::floor(frame_input.world_y / grid_step + 0.5) * grid_step;
        draw_quad(shape_textures[0], grid_x - 32, grid_y - 32, 64, 64, Color{1, 1, 1, 0.3f}, camera_matrix);
    }
    draw_text(str("Press <f1> for help"), width - 256, height - 32, 128, Color{0.5f, 0.5f, 0.5f, 1}, screen_projection, text_plain);

    bool has_deck = machine_kind == pushdown_machine || machine_kind == turing_machine;
    if (has_deck) {
        draw_deck_row("decks", &deck_copies, 9, height - 32);
        draw_deck_row("colors", &deck_colors, 6, height - 64);
        draw_deck_row("numbers", &deck_numbers, 6, height - 96);
        draw_deck_row("shapes", &deck_shapes, 6, height - 128);
    }
    EditorButtons buttons{};
    buttons.remove = draw_button(str("remove"), width - 144, top_middle + 32, 256, 32);
    buttons.remove_stone = draw_button(str("remove stone"), width - 144, top_middle, 256, 32);
    buttons.add_stone = draw_button(str("add stone"), width - 144, top_middle - 32, 256, 32);

    if (ctrl_held()) {
        if (key_pressed(KEY_S)) open_text_entry(entry_for_map_name, str("Map name"));
        if (key_pressed(KEY_O)) open_map_list();
    }
    if (has_deck && draw_button(str("change rule"), width - 416, top_middle + 32, 256, 32) && selected_transition >= 0) {
        open_text_entry(entry_for_rule, str("Type a rule"));
    }
    use_accepted_text();
    if (machine_kind == turing_machine) {
        if (draw_button(str("add goal"), width - 416, top_middle, 256, 32)) goal_builder_open = 1;
        if (draw_button(str("remove goal"), width - 416, top_middle - 32, 256, 32)) {
            int64_t removed = goal_index();
            if (removed >= 0) {
                for (int64_t i = removed; i + 1 < goals.count; i++) goals.data[i] = goals.data[i + 1];
                goals.count -= 1;
            }
        }
    }
    if (!entry_open && !ctrl_held()) act_on_keys(buttons);
    draw_bottom_rows();
    if (entry_open) text_entry_frame();
    if (goal_builder_open) goal_builder_frame();
}
