// The platform's wide-character formatting. In its formats %s takes a wide string and %c a wide
// character, where the C library's swprintf wants %ls and %lc.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

#include "platform/win_types.h"

// Writes at most 1024 characters with their zero, as the platform does; returns the length.
int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);

// The same with an explicit buffer size in characters; the text is cut to fit and always ends
// with a zero. Returns the length written, or -1 when the text had to be cut.
int wnsprintfW(LPWSTR buffer, std::size_t size, LPCWSTR format, ...);
int wvnsprintfW(LPWSTR buffer, std::size_t size, LPCWSTR format, va_list args);

// Into an array: the array's own size bounds the text (cut to fit, as wnsprintfW cuts), so a
// format that grows past its buffer cannot write beyond it.
template <std::size_t N, typename... Args>
int wsprintfW(wchar_t (&buffer)[N], LPCWSTR format, Args... args) {
    static_assert(sizeof...(Args) > 0, "a format with no arguments is a copy");
    const int n = wnsprintfW(buffer, N < 1024 ? N : 1024, format, args...);
    return n < 0 ? static_cast<int>(std::char_traits<wchar_t>::length(buffer)) : n;
}
