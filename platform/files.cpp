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

static bool refuse_null_file(file_handle* file) {
    if (file) return false;
    set_error(SYSTEM_ERROR_INVALID_HANDLE, "the file handle is null");
    return true;
}

file_handle* file_open(string path, uint8_t mode) {
    const char* text = mode_text(mode);
    if (!text) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "file mode %d is none of 1, 2, 3, 4 and 6", mode);
        return nullptr;
    }
    FILE* stream = fopen(append_character(path).data, text);
    if (!stream) set_error_from_errno("cannot open the file");
    return reinterpret_cast<file_handle*>(stream);
}

bool file_failed(file_handle* file) { return file == nullptr; }

int file_close(file_handle* file) {
    if (refuse_null_file(file)) return EOF;
    int result = fclose(stream_of(file));
    if (result != 0) set_error_from_errno("closing the file");
    return result;
}

// A short count from the stream is an error only when the stream says so (not at the end of the file).
static uint64_t checked_count(file_handle* file, uint64_t done, uint64_t count, const char* what) {
    if (done < count && ferror(stream_of(file))) set_error_from_errno(what);
    return done;
}

uint64_t file_read(file_handle* file, uint64_t count, void* buffer) {
    if (refuse_null_file(file)) return 0;
    if (!buffer) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the read buffer is null");
        return 0;
    }
    return checked_count(file, fread(buffer, 1, count, stream_of(file)), count, "reading the file");
}

uint64_t file_write(file_handle* file, uint64_t count, const void* buffer) {
    if (refuse_null_file(file)) return 0;
    if (!buffer) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the write buffer is null");
        return 0;
    }
    return checked_count(file, fwrite(buffer, 1, count, stream_of(file)), count, "writing the file");
}

int file_read_byte(file_handle* file) {
    if (refuse_null_file(file)) return -1;
    int byte = fgetc(stream_of(file));
    if (byte == EOF && ferror(stream_of(file))) set_error_from_errno("reading the file");
    return byte == EOF ? -1 : byte;
}

int file_write_byte(file_handle* file, uint8_t byte) {
    if (refuse_null_file(file)) return -1;
    if (fputc(byte, stream_of(file)) != EOF) return byte;
    set_error_from_errno("writing the file");
    return -1;
}

bool file_seek(file_handle* file, int32_t position) { return file_seek64(file, position); }

bool file_seek64(file_handle* file, int64_t position) {
    if (refuse_null_file(file)) return false;
    if (fseeko(stream_of(file), position, SEEK_SET) == 0) return true;
    set_error_from_errno("seeking in the file");
    return false;
}

int64_t file_get_position(file_handle* file) {
    if (refuse_null_file(file)) return -1;
    off_t position = ftello(stream_of(file));
    if (position < 0) set_error_from_errno("reading the file position");
    return position;
}

int file_end(file_handle* file) { return file ? feof(stream_of(file)) : 1; }

int64_t file_size(file_handle* file) {
    if (refuse_null_file(file)) return -1;
    FILE* stream = stream_of(file);
    off_t position = ftello(stream);
    if (position < 0 || fseeko(stream, 0, SEEK_END) != 0) {
        set_error_from_errno("finding the file size");
        return -1;
    }
    off_t size = ftello(stream);
    fseeko(stream, position, SEEK_SET);
    return size;
}

// fopen succeeds on a directory here, so the kind is checked on the open stream.
static bool is_directory_stream(FILE* stream) {
    struct stat info;
    return fstat(fileno(stream), &info) == 0 && S_ISDIR(info.st_mode);
}

// A missing file is an answer, not a failure, so file_exists sets no error.
bool file_exists(string path) {
    FILE* stream = fopen(append_character(path).data, "r");
    if (!stream) return false;
    bool is_file = !is_directory_stream(stream);
    fclose(stream);
    return is_file;
}

bool file_create(string path) {
    FILE* stream = fopen(append_character(path).data, "wb");
    if (!stream) {
        set_error_from_errno("cannot create the file");
        return false;
    }
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
    if (!source) {
        set_error_from_errno("cannot open the file to copy");
        return false;
    }
    // Opening the destination truncates it: refuse sources that would leave it empty or
    // destroy the source itself.
    struct stat info;
    if (fstat(fileno(source), &info) != 0 || S_ISDIR(info.st_mode) || same_file(info, to_path.data)) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the copy's source is a folder or the destination itself");
        fclose(source);
        return false;
    }
    FILE* target = fopen(to_path.data, "w");
    if (!target) {
        set_error_from_errno("cannot create the copy");
        fclose(source);
        return false;
    }
    for (int byte = fgetc(source); byte != EOF; byte = fgetc(source)) fputc(byte, target);
    fclose(source);
    fclose(target);
    return true;
}

// The result of a system call that returns 0 on success, with the error recorded otherwise.
static bool system_call_done(int result, const char* what) {
    if (result == 0) return true;
    set_error_from_errno(what);
    return false;
}

bool file_delete(string path) { return system_call_done(unlink(append_character(path).data), "cannot delete the file"); }

// Moves without ever replacing an existing target.
static bool move_path(const char* from, const char* to) {
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return system_call_done(-1, "cannot rename");
    struct stat info;
    if (lstat(to, &info) == 0) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the new name exists already");
        return false;
    }
    return system_call_done(rename(from, to), "cannot rename");
}

bool file_rename(string from, string to) {
    string from_path = append_character(from);
    string to_path = append_character(to);
    struct stat info;
    if (stat(from_path.data, &info) == 0 && S_ISDIR(info.st_mode)) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "file_rename was given a folder");
        return false;
    }
    return move_path(from_path.data, to_path.data);
}

bool directory_create(string path) {
    return system_call_done(mkdir(append_character(path).data, 0777), "cannot create the folder");
}

bool directory_delete(string path) {
    return system_call_done(rmdir(append_character(path).data), "cannot delete the folder");
}

bool directory_rename(string from, string to) {
    string from_path = append_character(from);
    string to_path = append_character(to);
    struct stat info;
    if (stat(from_path.data, &info) != 0) return system_call_done(-1, "cannot rename the folder");
    if (!S_ISDIR(info.st_mode)) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "directory_rename was given a file");
        return false;
    }
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

// A listing is one block of the dynamic ring, the two arrays and then the names, so no part of it
// overwrites another; one larger than the ring fails rather than come back with wrong names.
directory_content directory_get_content(string path) {
    DIR* directory = opendir(append_character(path).data);
    if (!directory) {
        set_error_from_errno("cannot list the folder");
        return directory_content{};
    }
    int64_t directories = 0, files = 0, name_bytes = 0;
    for (struct dirent* entry = readdir(directory); entry; entry = readdir(directory)) {
        ++(entry_is_directory(directory, entry) ? directories : files);
        name_bytes += static_cast<int64_t>(strlen(entry->d_name)) + 1;
    }
    int64_t needed = (directories + files) * static_cast<int64_t>(sizeof(string)) + name_bytes;
    if (needed > DYNAMIC_BUFFER_SIZE) {
        closedir(directory);
        set_error(SYSTEM_ERROR_OUT_OF_MEMORY, "the listing needs %lld bytes, more than the dynamic buffer's %d",
                  static_cast<long long>(needed), DYNAMIC_BUFFER_SIZE);
        return directory_content{};
    }
    string* directory_names = static_cast<string*>(dynamic_allocate(needed));
    string* file_names = directory_names + directories;
    char* names = reinterpret_cast<char*>(file_names + files);
    const char* names_end = names + name_bytes;
    directory_content content{directories ? directory_names : nullptr, 0, files ? file_names : nullptr, 0};
    bool changed = false;
    rewinddir(directory);
    for (struct dirent* entry = readdir(directory); entry && !changed; entry = readdir(directory)) {
        bool is_directory = entry_is_directory(directory, entry);
        int64_t* count = is_directory ? &content.directory_count : &content.file_count;
        int64_t length = static_cast<int64_t>(strlen(entry->d_name));
        changed = *count == (is_directory ? directories : files) || names_end - names < length + 1;
        if (changed) break;
        memcpy(names, entry->d_name, static_cast<size_t>(length) + 1);
        (is_directory ? directory_names : file_names)[(*count)++] = string{names, length};
        names += length + 1;
    }
    closedir(directory);
    if (!changed) return content;
    set_error(SYSTEM_ERROR_OPERATING_SYSTEM, "the folder changed while it was listed");
    return directory_content{};
}
