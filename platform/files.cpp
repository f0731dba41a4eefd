// Files and directories over POSIX calls and the C runtime's buffered streams.
// Paths are UTF-8 bytes, passed on as NUL-terminated copies in the temporary ring.
#include "platform_internal.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static FILE* stream_of(file_handle* file) { return reinterpret_cast<FILE*>(file); }

static const char* mode_text(uint8_t mode) {
    switch (mode) {
        case FILE_WRITE: return "wb";
        case FILE_READ: return "rb";
        case FILE_READ_WRITE: return "r+b";
        case FILE_APPEND: return "a";
        case FILE_READ_APPEND: return "a+";
        default: return nullptr;
    }
}

file_handle* file_open(string path, uint8_t mode) {
    const char* text = mode_text(mode);
    if (!text) return nullptr;
    return reinterpret_cast<file_handle*>(fopen(append_character(path).data, text));
}

bool file_failed(file_handle* file) { return file == nullptr; }

int file_close(file_handle* file) { return file ? fclose(stream_of(file)) : EOF; }

uint64_t file_read(file_handle* file, uint64_t count, void* buffer) {
    if (!file || !buffer) return 0;
    return fread(buffer, 1, count, stream_of(file));
}

uint64_t file_write(file_handle* file, uint64_t count, const void* buffer) {
    if (!file || !buffer) return 0;
    return fwrite(buffer, 1, count, stream_of(file));
}

int file_read_byte(file_handle* file) {
    if (!file) return -1;
    int byte = fgetc(stream_of(file));
    return byte == EOF ? -1 : byte;
}

int file_write_byte(file_handle* file, uint8_t byte) {
    if (!file) return -1;
    return fputc(byte, stream_of(file)) == EOF ? -1 : byte;
}

bool file_seek(file_handle* file, int32_t position) {
    return file && fseek(stream_of(file), position, SEEK_SET) == 0;
}

int file_end(file_handle* file) { return file ? feof(stream_of(file)) : 1; }

int64_t file_size(file_handle* file) {
    if (!file) return -1;
    FILE* stream = stream_of(file);
    long position = ftell(stream);
    if (position < 0 || fseek(stream, 0, SEEK_END) != 0) return -1;
    long size = ftell(stream);
    fseek(stream, position, SEEK_SET);
    return static_cast<int64_t>(static_cast<int32_t>(size));
}

// fopen succeeds on a directory here, so the kind is checked on the open stream.
static bool is_directory_stream(FILE* stream) {
    struct stat info;
    return fstat(fileno(stream), &info) == 0 && S_ISDIR(info.st_mode);
}

bool file_exists(string path) {
    FILE* stream = fopen(append_character(path).data, "r");
    if (!stream) return false;
    bool is_file = !is_directory_stream(stream);
    fclose(stream);
    return is_file;
}

bool file_create(string path) {
    FILE* stream = fopen(append_character(path).data, "wb");
    if (!stream) return false;
    fclose(stream);
    return true;
}

static bool same_file(const struct stat& a, const char* path) {
    struct stat b;
    return stat(path, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool file_copy(string from, string to) {
    string from_path = append_character(from);
    string to_path = append_character(to);
    FILE* source = fopen(from_path.data, "r");
    if (!source) return false;
    // Opening the destination truncates it: refuse sources that would leave it empty or
    // destroy the source itself.
    struct stat info;
    if (fstat(fileno(source), &info) != 0 || S_ISDIR(info.st_mode) || same_file(info, to_path.data)) {
        fclose(source);
        return false;
    }
    FILE* target = fopen(to_path.data, "w");
    if (!target) {
        fclose(source);
        return false;
    }
    for (int byte = fgetc(source); byte != EOF; byte = fgetc(source)) fputc(byte, target);
    fclose(source);
    fclose(target);
    return true;
}

bool file_delete(string path) { return unlink(append_character(path).data) == 0; }

// Moves without ever replacing an existing target.
static bool move_path(const char* from, const char* to) {
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    struct stat info;
    if (lstat(to, &info) == 0) return false;
    return rename(from, to) == 0;
}

bool file_rename(string from, string to) {
    string from_path = append_character(from);
    string to_path = append_character(to);
    struct stat info;
    if (stat(from_path.data, &info) == 0 && S_ISDIR(info.st_mode)) return false;
    return move_path(from_path.data, to_path.data);
}

bool directory_create(string path) { return mkdir(append_character(path).data, 0777) == 0; }

bool directory_delete(string path) { return rmdir(append_character(path).data) == 0; }

bool directory_rename(string from, string to) {
    string from_path = append_character(from);
    string to_path = append_character(to);
    struct stat info;
    if (stat(from_path.data, &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    return move_path(from_path.data, to_path.data);
}

bool directory_exists(string path) {
    struct stat info;
    return stat(append_character(path).data, &info) == 0 && S_ISDIR(info.st_mode);
}

static bool entry_is_directory(DIR* directory, const struct dirent* entry) {
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) return entry->d_type == DT_DIR;
    struct stat info;
    return fstatat(dirfd(directory), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

directory_content directory_get_content(string path) {
    directory_content content{};
    DIR* directory = opendir(append_character(path).data);
    if (!directory) return content;
    int64_t directory_capacity = 0;
    int64_t file_capacity = 0;
    for (struct dirent* entry = readdir(directory); entry; entry = readdir(directory)) {
        int64_t length = static_cast<int64_t>(strlen(entry->d_name));
        char* name = static_cast<char*>(dynamic_allocate(length + 1));
        if (!name) continue;
        memcpy(name, entry->d_name, static_cast<size_t>(length) + 1);
        string view{name, length};
        if (entry_is_directory(directory, entry)) {
            add_string(&content.directories, &content.directory_count, &directory_capacity, view);
        } else {
            add_string(&content.files, &content.file_count, &file_capacity, view);
        }
    }
    closedir(directory);
    return content;
}
