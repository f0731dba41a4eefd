#include "screen/text_entry.h"

#include "screen/frame_input.h"
#include "screen/ui.h"

uint8_t entry_open;
uint8_t entry_purpose;
uint8_t entry_accepted;
string entry_prompt;
GrowableArray<char> entry_text;

void reset_text_entry() {
    entry_open = 0;
    entry_purpose = entry_for_nothing;
    entry_accepted = 0;
    entry_prompt = string{nullptr, 0};
    entry_text = GrowableArray<char>{};
}

void open_text_entry(uint8_t purpose, string prompt, string text) {
    entry_open = 1;
    entry_purpose = purpose;
    entry_accepted = 0;
    entry_prompt = arena_copy_string(prompt);
    array_clear(&entry_text);
    for (int64_t i = 0; i < text.length; i++) type_character(text.data[i]);
}

void type_character(char c) { array_push(&entry_text, c); }

string typed_text() { return string{entry_text.data, entry_text.count}; }

void finish_text_entry() {
    entry_purpose = entry_for_nothing;
    entry_accepted = 0;
}

// In the order they were typed, so a Backspace removes what was typed before it in the same frame.
static void type_from_input() {
    for (int32_t i = 0; i < frame_input.typed_count; i++) {
        char c = frame_input.typed[i];
        if (c != typed_backspace) {
            type_character(c);
        } else if (entry_text.count > 0) {
            entry_text.count -= 1;
        }
    }
}

void text_entry_frame(string (*note_of)(string typed)) {
    ScreenPoint center = window_center();
    double text_room = dialog_width - 64;
    draw_dialog_panel();
    draw_caption(entry_prompt, center.x, center.y + 64);
    type_from_input();
    if (note_of) draw_fitted_caption(note_of(typed_text()), center.x, center.y + 16, text_room);
    draw_fitted_caption(typed_text(), center.x, center.y - 64, text_room);
    bool accept = key_pressed(KEY_RETURN);
    DialogAnswer answer = draw_dialog_buttons(str("OK"));
    if (answer.ok || accept) {
        entry_open = 0;
        entry_accepted = 1;
    }
    if (answer.cancel) {
        entry_open = 0;
        entry_purpose = entry_for_nothing;
    }
}
