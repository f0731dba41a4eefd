// The text entry dialog for the editor's map names and rule texts and for the network menus' ports,
// addresses and tokens. While it is open typing replaces the camera and editor keys, and clicks on
// states and right clicks are ignored.
#pragma once

#include "base/arena.h"
#include "base/strings.h"

#include <cstdint>

enum : uint8_t {
    entry_for_nothing = 0,
    entry_for_map_name = 1,
    entry_for_rule = 2,
    entry_for_port = 3,
    entry_for_address = 4,
    entry_for_token = 5
};

extern uint8_t entry_open;
extern uint8_t entry_purpose;
// Confirmed and waiting for its purpose's handler in the next frame.
extern uint8_t entry_accepted;
extern string entry_prompt;
extern GrowableArray<char> entry_text;

// Opens the dialog afresh, also over one that is open, with `text` typed already.
void open_text_entry(uint8_t purpose, string prompt, string text);
void type_character(char c);
string typed_text();
// The accepted text is used or dropped; the dialog's purpose ends.
void finish_text_entry();

// Typing from this frame's keys, the dialog, and its OK and Cancel buttons. A text too long for the
// dialog shows its end. note_of, when given, turns the text as typed so far into a line shown above it.
void text_entry_frame(string (*note_of)(string typed));

void reset_text_entry();
