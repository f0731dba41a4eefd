// The system clipboard as UTF-8 text, copied into a caller-supplied block or the dynamic ring.
#include "platform_internal.h"

#include <SDL.h>

#include <cstring>

uint8_t* clipboard_buffer;
int64_t clipboard_memory_pos;
int64_t clipboard_buffer_size;

void clipboard_set_buffer(int64_t size, void* memory) {
    clipboard_buffer = static_cast<uint8_t*>(memory);
    clipboard_buffer_size = size;
    clipboard_memory_pos = 0;
}

void clipboard_set_buffer_position(int64_t position) { clipboard_memory_pos = position; }
int64_t clipboard_get_buffer_position() { return clipboard_memory_pos; }

string clipboard_get() {
    if (!SDL_HasClipboardText()) return string{nullptr, 0};
    char* text = SDL_GetClipboardText();
    if (!text) {
        set_error(SYSTEM_ERROR_OPERATING_SYSTEM, "clipboard: %s", SDL_GetError());
        return string{nullptr, 0};
    }
    int64_t length = static_cast<int64_t>(strlen(text));
    void* copy;
    if (clipboard_buffer) {
        if (clipboard_memory_pos < 0 || clipboard_memory_pos + length > clipboard_buffer_size) {
            library_message("clipboard memory allocation failed");
            set_error(SYSTEM_ERROR_OUT_OF_MEMORY, "clipboard memory allocation failed");
            SDL_free(text);
            return string{nullptr, 0};
        }
        copy = clipboard_buffer + clipboard_memory_pos;
        clipboard_memory_pos += length;
    } else {
        copy = dynamic_allocate(length);
        if (!copy) {
            set_error(SYSTEM_ERROR_OUT_OF_MEMORY, "clipboard text is larger than the dynamic buffer");
            SDL_free(text);
            return string{nullptr, 0};
        }
    }
    memcpy(copy, text, static_cast<size_t>(length));
    SDL_free(text);
    return string{static_cast<const char*>(copy), length};
}

int clipboard_set(string text) {
    int result = SDL_SetClipboardText(append_character(text).data);
    if (result != 0) set_error(SYSTEM_ERROR_OPERATING_SYSTEM, "clipboard: %s", SDL_GetError());
    return result;
}
