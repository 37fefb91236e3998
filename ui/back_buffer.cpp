#include "ui/back_buffer.h"

int backBufferHeight = 0;
int backBufferWidth = 0;
HBITMAP backBufferBitmap = nullptr;
HDC scratchDC = nullptr;
HDC backBufferDC = nullptr;

void CreateBackBuffer(HDC screen, int width, int height) {
    backBufferDC = CreateCompatibleDC(screen);
    backBufferBitmap = CreateCompatibleBitmap(screen, width, height);
    // The context's first bitmap is the platform's own one-pixel bitmap; it is not kept.
    SelectObject(backBufferDC, backBufferBitmap);
    backBufferWidth = width;
    backBufferHeight = height;
    PatBlt(backBufferDC, 0, 0, width, height, WHITENESS);
    scratchDC = CreateCompatibleDC(backBufferDC);
}

void DeleteBackBuffer() {
    DeleteDC(scratchDC);
    DeleteDC(backBufferDC);
    DeleteObject(backBufferBitmap);
    scratchDC = backBufferDC = nullptr;
    backBufferBitmap = nullptr;
}
