// The UTF-8 to UTF-16 conversion on any bytes. Where iconv takes the bytes as valid UTF-8, the
// two must give the same units; for any bytes the result must be well-formed UTF-16 (every
// surrogate in a pair), terminated, and within the temporary ring.
#include "fuzz_support.h"

#include <iconv.h>

#include <cstring>
#include <vector>

namespace {

iconv_t converter;

// The UTF-16 units iconv makes of the bytes; false when it finds them invalid.
bool iconv_units(const uint8_t* data, size_t size, std::vector<uint16_t>* units) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> out(size * 4 + 4);
    char* in_at = const_cast<char*>(reinterpret_cast<const char*>(data));
    size_t in_left = size;
    char* out_at = out.data();
    size_t out_left = out.size();
    if (iconv(converter, &in_at, &in_left, &out_at, &out_left) == static_cast<size_t>(-1)) return false;
    size_t bytes = out.size() - out_left;
    units->resize(bytes / 2);
    if (bytes > 0) memcpy(units->data(), out.data(), bytes);
    return true;
}

bool is_high(uint16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low(uint16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    converter = iconv_open("UTF-16LE", "UTF-8");
    FUZZ_CHECK(converter != reinterpret_cast<iconv_t>(-1));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Start anywhere in the ring, as a program does after other scratch use.
    temporary_pos = size > 0 ? (data[0] * 61) % TEMPORARY_BUFFER_SIZE : 0;
    const uint16_t* wide = to_wide_cstr(string{reinterpret_cast<const char*>(data), static_cast<int64_t>(size)});
    const uint8_t* ring_end = temporary_buffer + TEMPORARY_BUFFER_SIZE;
    const uint8_t* start = reinterpret_cast<const uint8_t*>(wide);
    FUZZ_CHECK(start >= temporary_buffer && start < ring_end);
    FUZZ_CHECK(temporary_pos >= 0 && temporary_pos <= TEMPORARY_BUFFER_SIZE);

    // Units are read byte by byte: the ring gives no alignment.
    const int64_t max_units = TEMPORARY_BUFFER_SIZE / 2;
    std::vector<uint16_t> units;
    for (int64_t i = 0; start + 2 * i + 1 < ring_end && i < max_units; i++) {
        uint16_t unit = static_cast<uint16_t>(start[2 * i] | (start[2 * i + 1] << 8));
        units.push_back(unit);
    }

    std::vector<uint16_t> expected;
    bool valid = iconv_units(data, size, &expected);
    if (valid && expected.size() < static_cast<size_t>(max_units)) {
        FUZZ_CHECK(units.size() > expected.size());
        FUZZ_CHECK(std::equal(expected.begin(), expected.end(), units.begin()));
        FUZZ_CHECK(units[expected.size()] == 0);
        FUZZ_CHECK(reinterpret_cast<const uint8_t*>(wide) + 2 * expected.size() + 2 == temporary_buffer + temporary_pos);
    }
    // Up to the end of this conversion (where the ring position now stands): pairs only.
    int64_t written = (temporary_buffer + temporary_pos - start) / 2;
    FUZZ_CHECK(written >= 1 && written <= static_cast<int64_t>(units.size()));
    FUZZ_CHECK(units[written - 1] == 0);
    for (int64_t i = 0; i < written; i++) {
        if (is_high(units[i])) {
            FUZZ_CHECK(i + 1 < written && is_low(units[i + 1]));
            i++;
        } else {
            FUZZ_CHECK(!is_low(units[i]));
        }
    }
    return 0;
}
