// The editor's text entry dialog; while it is open typing replaces the camera and editor keys,
// and clicks on states and right clicks are ignored.
#pragma once

#include <cstdint>

extern uint8_t entry_open;

void reset_text_entry();
