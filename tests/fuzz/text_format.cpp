// The game's integer and double text formats for any value. Integers must read exactly as the
// C++ library writes them; doubles must read back within the writer's rounding (four decimals)
// wherever the digits are kept whole; a fixed-size text must hold a prefix of the full one; the
// digit expansion must hold digits only.
#include "fuzz_support.h"

#include "base/arena.h"
#include "base/text_format.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

std::string growing_text(void (*put)(TextBuilder*, int64_t, double), int64_t integer, double value) {
    TextBuilder builder{nullptr, 0, 0, FRAME_ARENA, 0};
    put(&builder, integer, value);
    return fuzz_text(text_view(&builder));
}

std::string fixed_text(void (*put)(FixedText*, int64_t, double), int64_t integer, double value, int64_t capacity) {
    char buffer[128];
    FixedText text{buffer, capacity, 0, 0};
    put(&text, integer, value);
    FUZZ_CHECK(text.length <= capacity);
    return fuzz_text(fixed_view(&text));
}

bool starts_with(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    create_arenas(int64_t{1} << 20, int64_t{1} << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 17) return -1;
    arena_empty(FRAME_ARENA);
    double value;
    int64_t integer;
    memcpy(&value, data, 8);
    memcpy(&integer, data + 8, 8);
    int64_t capacity = data[16] % 128;

    std::string integer_text = growing_text([](TextBuilder* b, int64_t i, double) { text_put_integer(b, i); }, integer, 0);
    FUZZ_CHECK(integer_text == std::to_string(integer));
    std::string fixed_integer = fixed_text([](FixedText* t, int64_t i, double) { fixed_put_integer(t, i); }, integer, 0, capacity);
    FUZZ_CHECK(starts_with(integer_text, fixed_integer));
    FUZZ_CHECK(static_cast<int64_t>(fixed_integer.size()) == std::min<int64_t>(capacity, integer_text.size()));

    std::string double_text = growing_text([](TextBuilder* b, int64_t, double v) { text_put_double(b, v); }, 0, value);
    std::string fixed_double = fixed_text([](FixedText* t, int64_t, double v) { fixed_put_double(t, v); }, 0, value, capacity);
    FUZZ_CHECK(starts_with(double_text, fixed_double));
    FUZZ_CHECK(static_cast<int64_t>(fixed_double.size()) == std::min<int64_t>(capacity, double_text.size()));
    if (std::isnan(value)) {
        FUZZ_CHECK(double_text == "nan");
    } else if (std::isinf(value)) {
        FUZZ_CHECK(double_text == (value > 0 ? "infinity" : "-infinity"));
    } else {
        for (size_t i = 0; i < double_text.size(); i++) {
            char c = double_text[i];
            FUZZ_CHECK((c >= '0' && c <= '9') || c == '.' || (c == '-' && i == 0));
        }
        // Below 2^53 every integer digit is exact, so only the rounding to four decimals remains.
        if (std::fabs(value) < 9007199254740992.0) {
            double read = strtod(double_text.c_str(), nullptr);
            double allowed = 0.5e-4 + std::fabs(value) * 4 * DBL_EPSILON;
            FUZZ_CHECK(std::fabs(read - value) <= allowed);
        }
    }

    DoubleDigits digits = double_digits(value);
    FUZZ_CHECK(digits.integer_digits >= 1 && digits.integer_digits <= 64);
    for (uint8_t digit : digits.digits) FUZZ_CHECK(digit <= 9);
    return 0;
}
