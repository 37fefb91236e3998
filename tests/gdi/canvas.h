// Test surfaces: a memory DC on a 32-bit bitmap, and pictures of its pixels as text so that an
// expected shape reads as the shape.
#pragma once

#include <map>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/internal/surface.h"

namespace gdi_test {

class Canvas {
  public:
    const int width, height;

    Canvas(int w, int h, COLORREF ground = RGB(0, 0, 0))
        : width(w),
          height(h),
          dc_(CreateCompatibleDC(nullptr)),
          bitmap_(CreateCompatibleBitmap(nullptr, w, h)) {
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH brush = CreateSolidBrush(ground);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    // The pixel as a COLORREF, for comparing with RGB(...).
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

    // One character a pixel over [x0, x1) x [y0, y1): '.' for the ground colour, the mapped
    // character for the colours given, '?' for any other; rows end with '\n'.
    std::string Art(int x0, int y0, int x1, int y1, const std::map<COLORREF, char>& key,
                    COLORREF ground = RGB(0, 0, 0)) const {
        std::string out;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                COLORREF c = At(x, y);
                auto it = key.find(c);
                out += c == ground ? '.' : it != key.end() ? it->second : '?';
            }
            out += '\n';
        }
        return out;
    }

    int Count(COLORREF colour) const {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) n += At(x, y) == colour;
        return n;
    }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// Selects a new pen and brush into a DC for one scope, then restores and deletes them.
class Tools {
  public:
    Tools(HDC dc, HPEN pen, HBRUSH brush) : dc_(dc), pen_(pen), brush_(brush) {
        oldPen_ = SelectObject(dc, pen ? HGDIOBJ(pen) : GetStockObject(NULL_PEN));
        oldBrush_ = SelectObject(dc, brush ? HGDIOBJ(brush) : GetStockObject(NULL_BRUSH));
    }
    ~Tools() {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
        if (pen_) DeleteObject(pen_);
        if (brush_) DeleteObject(brush_);
    }

  private:
    HDC dc_;
    HPEN pen_;
    HBRUSH brush_;
    HGDIOBJ oldPen_;
    HGDIOBJ oldBrush_;
};

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kPurple = RGB(200, 0, 200);

inline HPEN Pen(COLORREF c, int width = 1) {
    return CreatePen(PS_SOLID, width, c);
}
inline HBRUSH Brush(COLORREF c) {
    return CreateSolidBrush(c);
}

}  // namespace gdi_test
