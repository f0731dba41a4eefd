#include "base/text_output.h"

#include <cstdio>

void print(string text) {
    if (text.length > 0) fwrite(text.data, 1, static_cast<size_t>(text.length), stdout);
    fflush(stdout);
}
