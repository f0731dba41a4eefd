#include "base/whole_file.h"

#include "base/arena.h"
#include "base/strings.h"

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

bool replace_whole_file(string path, string contents) {
    if (path.length <= 0) return false;
    string fresh = arena_concat(path, str(".new"), FRAME_ARENA);
    file_handle* file = file_open(fresh, FILE_WRITE);
    if (file_failed(file)) return false;
    uint64_t length = contents.length > 0 ? static_cast<uint64_t>(contents.length) : 0;
    bool written = file_write(file, length, contents.data) == length;
    written = file_close(file) == 0 && written;
    // The library's rename will not replace a file, so the old one goes only once the new one is
    // complete; should the move then fail, the new text stays beside it.
    if (!written || (file_exists(path) && !file_delete(path))) {
        file_delete(fresh);
        return false;
    }
    return file_rename(fresh, path);
}
