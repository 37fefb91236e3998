// For the window system: the screen surface and device contexts that draw on it through a
// window, at the window's origin and clipped to the rectangles the window system gives.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi.h"

namespace gdi {

// A 32-bit bitmap drawing on pixels it does not own (stride in pixels, rows top to bottom).
// The pixels must outlive the bitmap; DeleteObject leaves them.
HBITMAP CreateBitmapOnPixels(std::uint32_t* pixels, int width, int height, int stride);

// A window device context on a 32-bit surface: logical (0, 0) is at the surface's (0, 0) and it
// may draw anywhere on the surface until an origin and clip are set. DeleteDC ends it; the
// surface bitmap is not selected into it, so it stays free for other window DCs.
HDC CreateWindowDC(HBITMAP surface);
// The surface position of the window's (0, 0).
BOOL SetWindowDCOrigin(HDC dc, POINT origin);
// Limits drawing to these surface rectangles (a region: they need not touch); count 0 lets
// nothing through.
BOOL SetWindowDCClip(HDC dc, const RECT* rects, int count);

}  // namespace gdi
