// Reading a bitmap's pixels: for the PNG writer, the backends and the pixel tests.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi.h"

namespace gdi {

struct BitmapInfo {
    int width;
    int height;
    int bitsPerPixel;  // 1, 4, 8 or 32
};
bool GetBitmapInfo(HBITMAP bitmap, BitmapInfo* info);

// A pixel as the word 0x00RRGGBB whatever the depth (palette entries resolved); 0 outside.
std::uint32_t BitmapPixel(HBITMAP bitmap, int x, int y);
// A palettized bitmap's palette index at (x, y); −1 for a 32-bit bitmap or outside.
int BitmapIndex(HBITMAP bitmap, int x, int y);

// The rows of a 32-bit bitmap and their stride in pixels; null for other depths.
const std::uint32_t* BitmapRows(HBITMAP bitmap, int* stride);

// Drawing objects alive now, stock objects and device contexts not counted.
int LiveObjectCount();

}  // namespace gdi
