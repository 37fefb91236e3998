// The one integer reader: a whole text of digits in `base` (a '-' first for a signed type), with
// nothing before or after, inside [low, high]. Command lines, scripts, picture files and the
// window's saved state all read their numbers through it.
#pragma once

#include <charconv>
#include <string_view>

template <typename T>
bool ParseInteger(std::string_view text, T low, T high, T* out, int base = 10) {
    T value{};
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(text.data(), last, value, base);
    if (text.empty() || error != std::errc() || end != last || value < low || value > high)
        return false;
    *out = value;
    return true;
}
