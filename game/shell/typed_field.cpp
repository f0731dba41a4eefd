#include "shell/typed_field.h"

#include "screen/text_entry.h"
#include "screen/ui.h"

void set_field_text(TypedField* field, string text) {
    int64_t length = text.length < typed_field_capacity ? text.length : typed_field_capacity;
    if (length > 0) memcpy(field->text, text.data, static_cast<size_t>(length));
    field->length = length;
}

void draw_typed_field(const TypedField& field, uint8_t purpose, string caption, string prompt, string placeholder,
                      double y) {
    ScreenPoint center = window_center();
    draw_caption(caption, center.x - 256, y);
    string shown = field.length > 0 ? field_text(field) : placeholder;
    if (draw_button(shown, center.x + 96, y, 416, 64)) open_text_entry(purpose, prompt, field_text(field));
}

void take_typed_text(uint8_t purpose, TypedField* field, bool (*acceptable)(string typed)) {
    if (!entry_accepted || entry_purpose != purpose) return;
    if (acceptable && !acceptable(typed_text())) {
        entry_open = 1;
        entry_accepted = 0;
        return;
    }
    set_field_text(field, typed_text());
    finish_text_entry();
}

bool read_port(string text, uint16_t* port) {
    if (text.length == 0 || text.length > 5) return false;
    int64_t value = 0;
    for (int64_t i = 0; i < text.length; i++) {
        char c = text.data[i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value > 65535) return false;
    *port = static_cast<uint16_t>(value);
    return true;
}

bool is_port(string text) {
    uint16_t port = 0;
    return read_port(text, &port);
}

string port_note(string typed) {
    if (typed.length == 0 || is_port(typed)) return string{nullptr, 0};
    return str("A port is a whole number from 0 to 65535");
}
