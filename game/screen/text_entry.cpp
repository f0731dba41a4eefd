#include "screen/text_entry.h"

uint8_t entry_open;

void reset_text_entry() { entry_open = 0; }
