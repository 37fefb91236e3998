// Pixel-level work shared by the calls: colours in a bitmap's own format, clipped spans and
// points in a device context's logical coordinates, brush paints.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/internal/objects.h"

namespace gdi {

// A bitmap's raw value for a colour: the pixel word itself at 32 bits, the nearest palette
// entry otherwise (for a monochrome bitmap, black or white).
std::uint32_t NearestPaletteIndex(Bitmap& bitmap, std::uint32_t pixel);
inline std::uint32_t RawOf(Bitmap& bitmap, std::uint32_t pixel) {
    return bitmap.bitsPerPixel == 32 ? pixel & 0x00FFFFFF : NearestPaletteIndex(bitmap, pixel);
}
inline std::uint32_t PixelOfRaw(const Bitmap& bitmap, std::uint32_t raw) {
    if (bitmap.bitsPerPixel == 32) return raw & 0x00FFFFFF;
    return raw < bitmap.palette.size() ? bitmap.palette[raw] : 0;
}

// Exact division rounding down or up, for b > 0, wide enough that no pixel arithmetic overflows.
using Wide = __int128;
inline long long FloorDiv(Wide a, Wide b) {
    // Pixel arithmetic nearly always fits 64 bits, whose division is many times quicker.
    if (a == static_cast<long long>(a) && b == static_cast<long long>(b)) {
        long long x = static_cast<long long>(a), y = static_cast<long long>(b);
        long long q = x / y;
        if (x % y != 0 && x < 0) --q;
        return q;
    }
    Wide q = a / b;
    if ((a % b != 0) && (a < 0)) --q;
    return static_cast<long long>(q);
}
inline long long CeilDiv(Wide a, Wide b) {
    return -FloorDiv(-a, b);
}

inline std::uint32_t RawAt(const Bitmap& b, int x, int y) {
    return b.bitsPerPixel == 32 ? b.words[y * b.stride + x] : b.indices[y * b.width + x];
}
inline void PutRaw(Bitmap& b, int x, int y, std::uint32_t raw) {
    if (b.bitsPerPixel == 32)
        b.words[y * b.stride + x] = raw;
    else
        b.indices[y * b.width + x] = static_cast<std::uint8_t>(raw);
}

// What fills a span: one raw value, or a brush pattern in the target's raw values, tiled from
// the device context's brush origin.
struct Paint {
    bool pattern = false;
    std::uint32_t raw = 0;
    const std::uint32_t* tiles = nullptr;
    const std::uint8_t* indices = nullptr;  // or, when set, indices into `palette`
    const std::uint32_t* palette = nullptr;
    std::vector<std::uint32_t> converted;
    int tileWidth = 0;
    int tileHeight = 0;
    int phaseX = 0;  // surface x whose pattern column is 0, likewise y
    int phaseY = 0;
    std::uint32_t Tile(int index) const { return indices ? palette[indices[index]] : tiles[index]; }
};
// False for the null brush (nothing to paint).
bool BrushPaint(DeviceContext& dc, const Brush& brush, Paint* paint);
Paint SolidPaint(DeviceContext& dc, std::uint32_t pixel);

// Logical coordinates, clipped to the DC's visible rectangles. Spans are [x0, x1).
void FillSpan(DeviceContext& dc, int y, long long x0, long long x1, const Paint& paint);
void FillBox(DeviceContext& dc, long long left, long long top, long long right, long long bottom,
             const Paint& paint);
// One pixel, if the clip lets it through; false when it does not.
inline bool PlotRaw(DeviceContext& dc, int x, int y, std::uint32_t raw) {
    long long dx = static_cast<long long>(x) + dc.origin.x;
    long long dy = static_cast<long long>(y) + dc.origin.y;
    for (const RECT& r : dc.visible) {
        if (dx >= r.left && dx < r.right && dy >= r.top && dy < r.bottom) {
            PutRaw(*dc.bitmap, static_cast<int>(dx), static_cast<int>(dy), raw);
            return true;
        }
    }
    return false;
}

// A pen's mark at one pixel of its path: the pixel itself, or a round dot as wide as the pen.
void WidePenDot(DeviceContext& dc, int x, int y, std::uint32_t raw, int width);
inline void PenDot(DeviceContext& dc, int x, int y, std::uint32_t raw, int width) {
    if (width <= 1)
        PlotRaw(dc, x, y, raw);
    else
        WidePenDot(dc, x, y, raw, width);
}

// The DC's visible rectangles in logical coordinates.
RECT VisibleBoundsLogical(const DeviceContext& dc);

}  // namespace gdi
