// The test windows paint as the game does: the whole frame composed off-screen, then one blit.
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/user/window_api.h"

inline void BlitWholeClient(HWND hwnd, HDC dc, COLORREF colour) {
    RECT all;
    GetClientRect(hwnd, &all);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP buffer = CreateCompatibleBitmap(dc, all.right, all.bottom);
    HGDIOBJ old = SelectObject(memory, buffer);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    BitBlt(dc, 0, 0, all.right, all.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(buffer);
    DeleteDC(memory);
}
