// The handheld platform's basic types and constants, as the game's code names them.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using INT = int;
using UINT = unsigned int;
using SHORT = std::int16_t;
using BOOL = int;
using WCHAR = wchar_t;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using COLORREF = DWORD;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// The program's module, as the resource calls take it; the program has only its own.
struct InstanceObject;
using HINSTANCE = InstanceObject*;

// A resource named by its number, and the test the resource calls make for one.
#define MAKEINTRESOURCEW(i) \
    (reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(p) ((reinterpret_cast<std::uintptr_t>(p) >> 16) == 0)

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;

// Rectangles meeting, as the platform computes them; right and bottom edges are outside.
inline BOOL IsRectEmpty(const RECT* r) {
    return r->left >= r->right || r->top >= r->bottom;
}
// The common part of a and b; FALSE, with an all-zero result, when they do not meet.
inline BOOL IntersectRect(RECT* out, const RECT* a, const RECT* b) {
    RECT c{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
           a->right < b->right ? a->right : b->right,
           a->bottom < b->bottom ? a->bottom : b->bottom};
    if (IsRectEmpty(&c)) c = RECT{0, 0, 0, 0};
    *out = c;
    return !IsRectEmpty(&c);
}
// The smallest rectangle holding a and b; an empty one adds nothing.
inline BOOL UnionRect(RECT* out, const RECT* a, const RECT* b) {
    if (IsRectEmpty(a) || IsRectEmpty(b)) {
        *out = IsRectEmpty(a) ? (IsRectEmpty(b) ? RECT{0, 0, 0, 0} : *b) : *a;
        return !IsRectEmpty(out);
    }
    *out = RECT{a->left < b->left ? a->left : b->left, a->top < b->top ? a->top : b->top,
                a->right > b->right ? a->right : b->right,
                a->bottom > b->bottom ? a->bottom : b->bottom};
    return TRUE;
}

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

// COLORREF is 0x00BBGGRR.
constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

// Error codes the platform returns.
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_OUTOFMEMORY = 14;
constexpr LONG ERROR_WRITE_FAULT = 29;
constexpr LONG ERROR_LOCK_VIOLATION = 33;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_DISK_FULL = 112;
constexpr LONG ERROR_MORE_DATA = 234;
