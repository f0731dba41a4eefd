// Letter and digit keys by their character, for typing that walks through them; and the shift test.
#pragma once

#include <kestrune_system.h>

#include <cstdint>

constexpr uint8_t letter_key(char upper_case_letter) { return static_cast<uint8_t>(KEY_A + (upper_case_letter - 'A')); }
constexpr uint8_t digit_key(int digit) { return static_cast<uint8_t>(KEY_0 + digit); }

inline bool shift_held() { return input_key_is_held(KEY_SHIFT) != 0; }
