// PatBlt, BitBlt and StretchBlt: the source is turned into the destination's format (a
// monochrome source takes the destination's text and background colours), then combined.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/internal/objects.h"
#include "platform/gdi/internal/raster.h"

using namespace gdi;

namespace {

enum class Combine { Copy, Or };

bool SourceCombine(DWORD rop, Combine* combine) {
    switch (rop) {
        case SRCCOPY:
            *combine = Combine::Copy;
            return true;
        case SRCPAINT:
            *combine = Combine::Or;
            return true;
        default:
            return false;
    }
}

bool NeedsNoSource(DWORD rop) {
    return rop == BLACKNESS || rop == WHITENESS;
}

inline std::uint32_t Apply(Combine c, std::uint32_t d, std::uint32_t s) {
    return c == Combine::Or ? d | s : s;
}

// Visits the destination pixels of the device rectangle [x0, x1) x [y0, y1) that the clip lets
// through, a run of one row at a time.
template <typename Run>
void ForEachVisibleRun(DeviceContext& dc, long long x0, long long y0, long long x1, long long y1,
                       Run run) {
    for (const RECT& r : dc.visible) {
        long long a = std::max<long long>(x0, r.left), e = std::min<long long>(x1, r.right);
        long long t = std::max<long long>(y0, r.top), b = std::min<long long>(y1, r.bottom);
        if (a >= e || t >= b) continue;
        for (long long y = t; y < b; ++y)
            run(static_cast<int>(y), static_cast<int>(a), static_cast<int>(e));
    }
}

// Source raw value to destination raw value.
class Converter {
  public:
    Converter(const DeviceContext& source, DeviceContext& dest)
        : src_(*source.bitmap), dst_(*dest.bitmap) {
        srcBack_ = ToPixel(source.bkColour);
        if (src_.IsPalettized()) {
            table_.resize(src_.palette.size());
            for (std::size_t i = 0; i < table_.size(); ++i) {
                if (src_.bitsPerPixel == 1 && dst_.bitsPerPixel == 1)
                    table_[i] = static_cast<std::uint32_t>(i);
                else if (src_.bitsPerPixel == 1)
                    table_[i] = RawOf(dst_, ToPixel(i ? dest.bkColour : dest.textColour));
                else if (dst_.bitsPerPixel == 1)
                    table_[i] = src_.palette[i] == srcBack_ ? 1 : 0;
                else
                    table_[i] = RawOf(dst_, src_.palette[i]);
            }
        }
    }
    std::uint32_t operator()(std::uint32_t raw) {
        if (!table_.empty()) return table_[raw];
        if (dst_.bitsPerPixel == 32) return raw;
        if (dst_.bitsPerPixel == 1) return (raw & 0x00FFFFFF) == srcBack_ ? 1 : 0;
        return RawOf(dst_, raw);
    }
    bool Identity() const { return table_.empty() && dst_.bitsPerPixel == 32; }
    // Raw values by palette index for a palette source; null otherwise.
    const std::uint32_t* Table() const { return table_.empty() ? nullptr : table_.data(); }

  private:
    const Bitmap& src_;
    Bitmap& dst_;
    std::uint32_t srcBack_;
    std::vector<std::uint32_t> table_;
};

BOOL PatBltDevice(DeviceContext& dc, long long x, long long y, long long w, long long h,
                  DWORD rop) {
    if (!NeedsNoSource(rop)) return FALSE;
    if (w < 0) x += w, w = -w;
    if (h < 0) y += h, h = -h;
    Paint p;
    p.raw = rop == BLACKNESS ? 0 : dc.bitmap->AllBits();
    FillBox(dc, x, y, x + w, y + h, p);
    return TRUE;
}

}  // namespace

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
    DeviceContext* dc = Dc(handle);
    if (!dc) return FALSE;
    return PatBltDevice(*dc, x, y, width, height, rop);
}

BOOL BitBlt(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle, int sx, int sy,
            DWORD rop) {
    DeviceContext* dest = Dc(destHandle);
    if (!dest) return FALSE;
    if (NeedsNoSource(rop)) return PatBltDevice(*dest, x, y, width, height, rop);
    Combine combine;
    DeviceContext* source = Dc(sourceHandle);
    if (!source || !SourceCombine(rop, &combine) || width < 0 || height < 0) return FALSE;
    const Bitmap& src = *source->bitmap;
    Bitmap& dst = *dest->bitmap;
    // Source rectangle in source surface pixels, cut to the source bitmap; the destination
    // shrinks with it and keeps its pixels where there is no source.
    long long su0 = static_cast<long long>(sx) + source->origin.x;
    long long sv0 = static_cast<long long>(sy) + source->origin.y;
    long long su1 = su0 + width, sv1 = sv0 + height;
    long long cu0 = std::max<long long>(su0, 0), cv0 = std::max<long long>(sv0, 0);
    long long cu1 = std::min<long long>(su1, src.width), cv1 = std::min<long long>(sv1, src.height);
    if (cu0 >= cu1 || cv0 >= cv1) return TRUE;
    long long dx0 = static_cast<long long>(x) + dest->origin.x + (cu0 - su0);
    long long dy0 = static_cast<long long>(y) + dest->origin.y + (cv0 - sv0);
    long long dx1 = dx0 + (cu1 - cu0), dy1 = dy0 + (cv1 - cv0);

    Converter convert(*source, *dest);
    // A copy within one bitmap reads the source as it was before the copy.
    std::vector<std::uint32_t> snapshot;
    long long snapWidth = cu1 - cu0;
    if (&src == &dst) {
        snapshot.resize(static_cast<std::size_t>(snapWidth * (cv1 - cv0)));
        for (long long v = cv0; v < cv1; ++v)
            for (long long u = cu0; u < cu1; ++u)
                snapshot[(v - cv0) * snapWidth + (u - cu0)] =
                    RawAt(src, static_cast<int>(u), static_cast<int>(v));
    }
    auto sourceRaw = [&](long long u, long long v) {
        return snapshot.empty() ? RawAt(src, static_cast<int>(u), static_cast<int>(v))
                                : snapshot[(v - cv0) * snapWidth + (u - cu0)];
    };
    bool fast = combine == Combine::Copy && convert.Identity() && snapshot.empty();
    ForEachVisibleRun(*dest, dx0, dy0, dx1, dy1, [&](int row, int a, int e) {
        long long v = cv0 + (row - dy0);
        long long u = cu0 + (a - dx0);
        if (fast) {
            std::memcpy(dst.words + row * dst.stride + a, src.words + v * src.stride + u,
                        sizeof(std::uint32_t) * (e - a));
            return;
        }
        for (int px = a; px < e; ++px, ++u) {
            std::uint32_t s = convert(sourceRaw(u, v));
            PutRaw(dst, px, row, Apply(combine, RawAt(dst, px, row), s));
        }
    });
    return TRUE;
}

namespace {

// Which source pixels fall on destination pixel d of D, S source pixels in all. Enlarging
// takes the pixel under the destination pixel's centre, ceil((2d + 1) S / 2D) - 1; shrinking
// takes every source pixel whose centre falls on d.
void SourceRange(long long d, long long D, long long S, long long* begin, long long* end) {
    if (D >= S) {
        *begin = -FloorDiv(-(Wide(2 * d + 1) * S), Wide(2) * D) - 1;
        *end = *begin + 1;
        return;
    }
    *begin = FloorDiv(Wide(2) * d * S - D, Wide(2) * D) + 1;
    *end = FloorDiv(Wide(2) * (d + 1) * S - D, Wide(2) * D) + 1;
}

}  // namespace

BOOL StretchBlt(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle, int sx,
                int sy, int sourceWidth, int sourceHeight, DWORD rop) {
    DeviceContext* dest = Dc(destHandle);
    if (!dest) return FALSE;
    if (NeedsNoSource(rop)) return PatBltDevice(*dest, x, y, width, height, rop);
    if (width == sourceWidth && height == sourceHeight)
        return BitBlt(destHandle, x, y, width, height, sourceHandle, sx, sy, rop);
    Combine combine;
    DeviceContext* source = Dc(sourceHandle);
    if (!source || !SourceCombine(rop, &combine)) return FALSE;
    // Mirroring (extents of opposite signs) is not provided.
    if (width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0) return FALSE;
    if (width == 0 || height == 0 || sourceWidth == 0 || sourceHeight == 0) return TRUE;
    const Bitmap& src = *source->bitmap;
    Bitmap& dst = *dest->bitmap;
    long long su0 = static_cast<long long>(sx) + source->origin.x;
    long long sv0 = static_cast<long long>(sy) + source->origin.y;
    long long dx0 = static_cast<long long>(x) + dest->origin.x;
    long long dy0 = static_cast<long long>(y) + dest->origin.y;
    long long vx0 = std::max<long long>(dx0, dest->visibleBounds.left);
    long long vx1 = std::min<long long>(dx0 + width, dest->visibleBounds.right);
    long long vy0 = std::max<long long>(dy0, dest->visibleBounds.top);
    long long vy1 = std::min<long long>(dy0 + height, dest->visibleBounds.bottom);
    if (vx0 >= vx1 || vy0 >= vy1) return TRUE;
    // Source ranges of the visible destination columns and rows, cut to the source bitmap.
    struct Range {
        long long begin, end;
    };
    auto ranges = [&](long long v0, long long v1, long long d0, long long D, long long s0,
                      long long S, long long limit) {
        std::vector<Range> out(static_cast<std::size_t>(v1 - v0));
        for (long long v = v0; v < v1; ++v) {
            long long b, e;
            SourceRange(v - d0, D, S, &b, &e);
            out[v - v0] = {std::max<long long>(s0 + b, 0), std::min<long long>(s0 + e, limit)};
        }
        return out;
    };
    std::vector<Range> columns = ranges(vx0, vx1, dx0, width, su0, sourceWidth, src.width);
    std::vector<Range> rows = ranges(vy0, vy1, dy0, height, sv0, sourceHeight, src.height);
    Converter convert(*source, *dest);
    // Within one bitmap, read from a copy taken before writing.
    const Bitmap* from = &src;
    Bitmap copy;
    if (&src == &dst) {
        copy.width = src.width;
        copy.height = src.height;
        copy.bitsPerPixel = src.bitsPerPixel;
        copy.palette = src.palette;
        copy.indices = src.indices;
        if (src.bitsPerPixel == 32) {
            copy.ownWords.resize(static_cast<std::size_t>(src.width) * src.height);
            for (int r = 0; r < src.height; ++r)
                std::memcpy(&copy.ownWords[static_cast<std::size_t>(r) * src.width],
                            src.words + r * src.stride, sizeof(std::uint32_t) * src.width);
            copy.words = copy.ownWords.data();
            copy.stride = src.width;
        }
        from = &copy;
    }
    // Shrinking ANDs the source pixels of one destination pixel (BLACKONWHITE, the only mode).
    const std::uint32_t start = 0xFFFFFFFFu;
    auto merge = [](std::uint32_t s, std::uint32_t c) { return s & c; };
    if (const std::uint32_t* table = convert.Table()) {
        // A palette source (the intro's glow shrinks so, every frame): the source rows of a
        // destination row are merged column by column once, then each destination pixel merges
        // its columns of that.
        long long uLo = src.width, uHi = 0;
        for (const Range& c : columns)
            if (c.begin < c.end) uLo = std::min(uLo, c.begin), uHi = std::max(uHi, c.end);
        if (uLo >= uHi) return TRUE;
        std::vector<std::uint32_t> merged(static_cast<std::size_t>(uHi - uLo));
        Range done = {0, 0};
        ForEachVisibleRun(*dest, vx0, vy0, vx1, vy1, [&](int row, int a, int e) {
            const Range& rr = rows[row - vy0];
            if (rr.begin >= rr.end) return;
            if (rr.begin != done.begin || rr.end != done.end) {
                std::fill(merged.begin(), merged.end(), start);
                for (long long v = rr.begin; v < rr.end; ++v) {
                    const std::uint8_t* line = from->indices.data() + v * from->width + uLo;
                    for (std::size_t u = 0; u < merged.size(); ++u) merged[u] &= table[line[u]];
                }
                done = rr;
            }
            for (int px = a; px < e; ++px) {
                const Range& cr = columns[px - vx0];
                if (cr.begin >= cr.end) continue;
                std::uint32_t s = start;
                for (long long u = cr.begin; u < cr.end; ++u) s = merge(s, merged[u - uLo]);
                PutRaw(dst, px, row, Apply(combine, RawAt(dst, px, row), s));
            }
        });
        return TRUE;
    }
    ForEachVisibleRun(*dest, vx0, vy0, vx1, vy1, [&](int row, int a, int e) {
        const Range& rr = rows[row - vy0];
        if (rr.begin >= rr.end) return;
        for (int px = a; px < e; ++px) {
            const Range& cr = columns[px - vx0];
            if (cr.begin >= cr.end) continue;
            std::uint32_t s = start;
            for (long long v = rr.begin; v < rr.end; ++v)
                for (long long u = cr.begin; u < cr.end; ++u)
                    s = merge(s, convert(RawAt(*from, static_cast<int>(u), static_cast<int>(v))));
            PutRaw(dst, px, row, Apply(combine, RawAt(dst, px, row), s));
        }
    });
    return TRUE;
}
