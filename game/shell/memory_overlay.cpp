#include "shell/memory_overlay.h"

#include "base/arena.h"
#include "base/text_format.h"
#include "render/text.h"

string memory_overlay_text(char* buffer) {
    FixedText text{buffer, memory_overlay_capacity, 0, 0};
    fixed_put_string(&text, str("memory used: "));
    fixed_put_integer(&text, persistent_arena.used / 1024);
    fixed_put_string(&text, str(" / "));
    fixed_put_integer(&text, persistent_arena.capacity / 1024);
    fixed_put_string(&text, str(" kiB ("));
    fixed_put_double(&text, static_cast<double>(persistent_arena.used) / static_cast<double>(persistent_arena.capacity) * 100);
    fixed_put_string(&text, str("%)"));
    return fixed_view(&text);
}

void draw_memory_overlay() {
    char buffer[memory_overlay_capacity];
    draw_text(memory_overlay_text(buffer), 16, 16, 128, Color{1, 0, 0, 0.8f}, screen_projection, text_plain);
}
