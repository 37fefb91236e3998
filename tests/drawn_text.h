// A text as DrawTextW lays it out with word breaks in the default font, black on white, for the
// tests that look for it on the screen.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

struct DrawnText {
    int width = 0, height = 0;
    std::vector<bool> ink;  // row after row
    bool Ink(int x, int y) const { return ink[static_cast<std::size_t>(y) * width + x]; }
};

inline DrawnText DrawWrapped(const std::wstring& text, int width) {
    DrawnText drawn;
    drawn.width = width;
    HDC dc = CreateCompatibleDC(nullptr);
    RECT r{0, 0, width, 0};
    drawn.height = DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, width, drawn.height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, width, drawn.height, WHITENESS);
    r = {0, 0, width, drawn.height};
    DrawTextW(dc, text.c_str(), -1, &r, DT_WORDBREAK);
    for (int y = 0; y < drawn.height; ++y)
        for (int x = 0; x < width; ++x) drawn.ink.push_back(GetPixel(dc, x, y) == RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return drawn;
}
