// Reading a text file into memory in one piece, as the map, list and font readers do.
#pragma once

#include <kestrune_system.h>

#include <cstdint>

// The file's bytes in the persistent arena; false when it cannot be opened or holds more than max_size bytes.
bool read_whole_file(string path, int64_t max_size, string* contents);
