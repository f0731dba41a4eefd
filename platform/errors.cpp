// The last failure of each thread, and where the library's own message lines go.
#include "platform_internal.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr int error_text_capacity = 256;

struct LastError {
    int32_t code;
    int64_t length;
    char text[error_text_capacity];
};

// Per thread: a failure on one thread never hides or overwrites another thread's.
thread_local LastError last_error;

struct MessageSink {
    system_log_function function;
    void* user_data;
};

MessageSink message_sink{system_log_to_standard_output, nullptr};

}  // namespace

void set_error(int32_t code, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int length = vsnprintf(last_error.text, error_text_capacity, format, arguments);
    va_end(arguments);
    last_error.code = code;
    last_error.length = length < 0 ? 0 : length >= error_text_capacity ? error_text_capacity - 1 : length;
}

void set_error_from_errno(const char* what) {
    int number = errno;
    int32_t code = number == ENOENT || number == ENOTDIR ? SYSTEM_ERROR_NOT_FOUND
                   : number == EINVAL || number == EBADF ? SYSTEM_ERROR_INVALID_ARGUMENT
                                                         : SYSTEM_ERROR_OPERATING_SYSTEM;
    char reason[128];
    set_error(code, "%s: %s", what, strerror_r(number, reason, sizeof reason));
}

void library_message(const char* line) {
    if (message_sink.function) message_sink.function(message_sink.user_data, string{line, static_cast<int64_t>(strlen(line))});
}

system_error system_get_error() { return system_error{last_error.code, string{last_error.text, last_error.length}}; }

void system_clear_error() {
    last_error.code = SYSTEM_ERROR_NONE;
    last_error.length = 0;
    last_error.text[0] = 0;
}

void system_set_log(system_log_function function, void* user_data) { message_sink = MessageSink{function, user_data}; }

void system_log_to_standard_output(void*, string line) {
    fwrite(line.data, 1, static_cast<size_t>(line.length), stdout);
    fputc('\n', stdout);
}
