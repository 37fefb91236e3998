#include "platform/crt/wsprintf.h"

#include <cwchar>
#include <string>

namespace {

constexpr std::size_t kPlatformLimit = 1024;

// Rewrites the platform's %s and %c into the C library's %ls and %lc.
std::wstring ToLibraryFormat(LPCWSTR format) {
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        out += *p;
        if (*p != L'%') continue;
        if (p[1] == L'%') {
            out += *++p;
            continue;
        }
        // Copy flags, width and precision up to the conversion letter.
        while (p[1] && std::wcschr(L"-+ #0123456789.*", p[1])) out += *++p;
        if (p[1] == L's' || p[1] == L'c') {
            out += L'l';
        } else if (p[1] == L'h' && (p[2] == L's' || p[2] == L'c')) {
            // %hs on the platform is a narrow string; keep it as the C library's %s.
            ++p;
        }
    }
    return out;
}

}  // namespace

int wvnsprintfW(LPWSTR buffer, std::size_t size, LPCWSTR format, va_list args) {
    if (!buffer || size == 0) return -1;
    std::wstring libraryFormat = ToLibraryFormat(format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vswprintf(buffer, size, libraryFormat.c_str(), copy);
    va_end(copy);
    if (n < 0) {
        // swprintf reports a cut text as an error and leaves the buffer unspecified: keep a
        // clean, zero-ended prefix instead.
        std::wstring big(4096, L'\0');
        va_copy(copy, args);
        int full = std::vswprintf(big.data(), big.size(), libraryFormat.c_str(), copy);
        va_end(copy);
        std::size_t keep = full < 0 ? 0 : std::min<std::size_t>(full, size - 1);
        std::wmemcpy(buffer, big.data(), keep);
        buffer[keep] = L'\0';
        return -1;
    }
    return n;
}

int wnsprintfW(LPWSTR buffer, std::size_t size, LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    int n = wvnsprintfW(buffer, size, format, args);
    va_end(args);
    return n;
}

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    int n = wvnsprintfW(buffer, kPlatformLimit, format, args);
    va_end(args);
    return n < 0 ? static_cast<int>(std::wcslen(buffer)) : n;
}
