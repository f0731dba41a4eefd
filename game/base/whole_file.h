// Reading a text file into memory in one piece, as the map, list and font readers do, and
// replacing one in one piece.
#pragma once

#include <kestrune_system.h>

#include <cstdint>

// The file's bytes in the persistent arena; false when it cannot be opened or holds more than max_size bytes.
bool read_whole_file(string path, int64_t max_size, string* contents);

// Writes the bytes to a new file beside the path and only then moves it over the old one, so a
// failure part-way leaves the old file as it was. False when anything failed.
bool replace_whole_file(string path, string contents);
