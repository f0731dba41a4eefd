// F3: how much of the persistent arena is in use, in the bottom-left corner.
#pragma once

#include "base/strings.h"

constexpr int64_t memory_overlay_capacity = 128;

// "memory used: U / C kiB (P%)" written into the caller's buffer of memory_overlay_capacity bytes.
string memory_overlay_text(char* buffer);

void draw_memory_overlay();
