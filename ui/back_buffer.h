// The off-screen surface every frame is composed in before one blit puts it on the window.
// It lives from start-up to exit and is never resized.
#pragma once

#include "platform/gdi/gdi.h"

extern int backBufferHeight;
extern int backBufferWidth;
extern HBITMAP backBufferBitmap;  // selected into backBufferDC for its whole life
extern HDC scratchDC;             // holds a resource bitmap only while copying from it
extern HDC backBufferDC;          // what every frame is drawn into

// `screen` is a device context of the screen, which the caller takes and releases.
void CreateBackBuffer(HDC screen, int width, int height);
void DeleteBackBuffer();
