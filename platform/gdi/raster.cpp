#include "platform/gdi/internal/raster.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>

namespace gdi {

namespace {

int Distance(std::uint32_t a, std::uint32_t b) {
    int dr = static_cast<int>((a >> 16) & 0xFF) - static_cast<int>((b >> 16) & 0xFF);
    int dg = static_cast<int>((a >> 8) & 0xFF) - static_cast<int>((b >> 8) & 0xFF);
    int db = static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
    return dr * dr + dg * dg + db * db;
}

int FloorMod(long long a, int m) {
    long long r = a % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

}  // namespace

std::uint32_t NearestPaletteIndex(Bitmap& b, std::uint32_t pixel) {
    pixel &= 0x00FFFFFF;
    if (pixel == b.lastColour) return b.lastIndex;
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < static_cast<int>(b.palette.size()); ++i) {
        int d = Distance(pixel, b.palette[i]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    b.lastColour = pixel;
    b.lastIndex = static_cast<std::uint8_t>(best);
    return static_cast<std::uint32_t>(best);
}

Paint SolidPaint(DeviceContext& dc, std::uint32_t pixel) {
    Paint p;
    p.raw = RawOf(*dc.bitmap, pixel);
    return p;
}

bool BrushPaint(DeviceContext& dc, const Brush& brush, Paint* paint) {
    if (brush.style == Brush::Null) return false;
    if (brush.style == Brush::Solid) {
        *paint = SolidPaint(dc, brush.colour);
        return true;
    }
    Bitmap& target = *dc.bitmap;
    paint->pattern = true;
    paint->tileWidth = brush.patternWidth;
    paint->tileHeight = brush.patternHeight;
    // The pattern starts at the DC's own (0, 0), the brush origin.
    paint->phaseX = dc.origin.x;
    paint->phaseY = dc.origin.y;
    if (!brush.patternMono && target.bitsPerPixel == 32) {
        if (brush.patternIndices.empty()) {
            paint->tiles = brush.pattern.data();
        } else {
            paint->indices = brush.patternIndices.data();
            paint->palette = brush.patternPalette.data();
        }
        return true;
    }
    const std::size_t size = static_cast<std::size_t>(brush.patternWidth) * brush.patternHeight;
    paint->converted.resize(size);
    std::uint32_t fore = ToPixel(dc.textColour);
    std::uint32_t back = ToPixel(dc.bkColour);
    for (std::size_t i = 0; i < size; ++i) {
        std::uint32_t pixel = brush.PatternPixel(i);
        if (brush.patternMono) pixel = pixel ? back : fore;
        paint->converted[i] = RawOf(target, pixel);
    }
    paint->tiles = paint->converted.data();
    return true;
}

namespace {

// Eight stores of the same word at a time, which the compiler turns into vector stores; a plain
// fill loop stays one word per step and made clearing the screen the slowest part of a frame.
void FillWords(std::uint32_t* out, int count, std::uint32_t value) {
    for (; count >= 8; count -= 8, out += 8) {
        out[0] = value;
        out[1] = value;
        out[2] = value;
        out[3] = value;
        out[4] = value;
        out[5] = value;
        out[6] = value;
        out[7] = value;
    }
    for (; count > 0; --count) *out++ = value;
}

// Fills surface pixels [a, e) of one row; the run is already inside the surface and clip.
// A solid colour on a 32-bit surface never comes here: FillBox writes it directly.
void FillRun(Bitmap& b, int row, int a, int e, const Paint& paint) {
    if (!paint.pattern) {
        std::fill(b.indices.begin() + row * b.width + a, b.indices.begin() + row * b.width + e,
                  static_cast<std::uint8_t>(paint.raw));
        return;
    }
    const int tileRow =
        FloorMod(static_cast<long long>(row) - paint.phaseY, paint.tileHeight) * paint.tileWidth;
    int column = FloorMod(static_cast<long long>(a) - paint.phaseX, paint.tileWidth);
    if (b.bitsPerPixel == 32) {
        // A piece of the tile's row at a time, up to the tile's right edge.
        std::uint32_t* out = b.words + static_cast<std::ptrdiff_t>(row) * b.stride + a;
        for (int left = e - a; left > 0; column = 0) {
            const int n = std::min(left, paint.tileWidth - column);
            if (paint.indices) {
                const std::uint8_t* from = paint.indices + tileRow + column;
                for (int i = 0; i < n; ++i) out[i] = paint.palette[from[i]];
            } else {
                std::memcpy(out, paint.tiles + tileRow + column, sizeof(std::uint32_t) * n);
            }
            out += n;
            left -= n;
        }
        return;
    }
    for (int x = a; x < e; ++x) {
        PutRaw(b, x, row, paint.Tile(tileRow + column));
        if (++column == paint.tileWidth) column = 0;
    }
}

}  // namespace

void FillSpan(DeviceContext& dc, int y, long long x0, long long x1, const Paint& paint) {
    FillBox(dc, x0, y, x1, static_cast<long long>(y) + 1, paint);
}

void FillBox(DeviceContext& dc, long long left, long long top, long long right, long long bottom,
             const Paint& paint) {
    if (left >= right || top >= bottom) return;
    long long l = left + dc.origin.x, r = right + dc.origin.x;
    long long t = top + dc.origin.y, b = bottom + dc.origin.y;
    for (const RECT& v : dc.visible) {
        int a = static_cast<int>(std::max<long long>(l, v.left));
        int e = static_cast<int>(std::min<long long>(r, v.right));
        int y0 = static_cast<int>(std::max<long long>(t, v.top));
        int y1 = static_cast<int>(std::min<long long>(b, v.bottom));
        if (a >= e || y0 >= y1) continue;
        Bitmap& bitmap = *dc.bitmap;
        if (!paint.pattern && bitmap.bitsPerPixel == 32) {
            // Solid colour on the screen's format: most boxes are lines one pixel wide.
            std::uint32_t* out = bitmap.words + static_cast<std::ptrdiff_t>(y0) * bitmap.stride + a;
            const int count = e - a;
            for (int row = y0; row < y1; ++row, out += bitmap.stride) {
                if (count == 1)  // a vertical wall: a call per pixel costs a tenth of a frame
                    *out = paint.raw;
                else
                    FillWords(out, count, paint.raw);
            }
            continue;
        }
        for (int row = y0; row < y1; ++row) FillRun(bitmap, row, a, e, paint);
    }
}

void WidePenDot(DeviceContext& dc, int x, int y, std::uint32_t raw, int width) {
    // A disc of the pen's diameter centred on the pixel (for even widths, on its lower right
    // corner's side, as the platform's wide pens lean).
    int first = -(width - 1) / 2;
    double radius = width / 2.0;
    for (int j = 0; j < width; ++j) {
        double cy = j - (width - 1) / 2.0;
        for (int i = 0; i < width; ++i) {
            double cx = i - (width - 1) / 2.0;
            if (cx * cx + cy * cy <= radius * radius + 0.25)
                PlotRaw(dc, x + first + i, y + first + j, raw);
        }
    }
}

RECT VisibleBoundsLogical(const DeviceContext& dc) {
    return RECT{dc.visibleBounds.left - dc.origin.x, dc.visibleBounds.top - dc.origin.y,
                dc.visibleBounds.right - dc.origin.x, dc.visibleBounds.bottom - dc.origin.y};
}

}  // namespace gdi
