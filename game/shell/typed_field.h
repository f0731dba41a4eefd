// A short line the player types on a menu (a port, an address, a token): shown on a button that
// opens the text entry dialog, and kept between frames.
#pragma once

#include "base/strings.h"

#include <cstdint>

constexpr int64_t typed_field_capacity = 256;

struct TypedField {
    char text[typed_field_capacity];
    int64_t length;
};

inline string field_text(const TypedField& field) { return string{field.text, field.length}; }
// Keeps what fits.
void set_field_text(TypedField* field, string text);

// The caption left of a button that shows the field's text (the placeholder while it is empty); a
// click opens the dialog for `purpose` with the text in it.
void draw_typed_field(const TypedField& field, uint8_t purpose, string caption, string prompt, string placeholder,
                      double y);

// Puts the dialog's confirmed text into the field when the dialog was for `purpose`. A text that
// `acceptable` refuses keeps the dialog up with it, so the player can mend it.
void take_typed_text(uint8_t purpose, TypedField* field, bool (*acceptable)(string typed));

// A whole number from 0 to 65535 and nothing else.
bool read_port(string text, uint16_t* port);
bool is_port(string text);
// Under a typed port, what is wrong with it; nothing while it reads.
string port_note(string typed);
