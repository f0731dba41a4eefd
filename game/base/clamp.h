// The value held inside [low, high].
#pragma once

template <typename Number>
constexpr Number clamp(Number value, Number low, Number high) {
    return value < low ? low : value > high ? high : value;
}
