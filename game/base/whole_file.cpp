#include "base/whole_file.h"

#include "base/arena.h"

bool read_whole_file(string path, int64_t max_size, string* contents) {
    file_handle* file = file_open(path, FILE_READ);
    if (file_failed(file)) return false;
    int64_t size = file_size(file);
    if (size < 0 || size > max_size) {
        file_close(file);
        return false;
    }
    char* data = static_cast<char*>(arena_allocate(PERSISTENT_ARENA, size));
    size = static_cast<int64_t>(file_read(file, static_cast<uint64_t>(size), data));
    file_close(file);
    *contents = string{data, size};
    return true;
}
