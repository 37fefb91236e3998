// The window system's own drawing onto the screen surface: fills, outlines and image copies
// straight into its pixels, text through the drawing layer's font.
#include "platform/user/draw_seam.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/window_dc.h"
#include "platform/user/paint.h"
#include "platform/user/screen.h"

namespace user {

namespace {

std::uint32_t screen[kScreenPixelsWide * kScreenPixelsHigh];
std::uint64_t generation = 0;

std::uint32_t Pixel(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

constexpr int kAdvance = 6;
constexpr int kLineHeight = 13;

}  // namespace

std::uint32_t* ScreenPixels() {
    return screen;
}

std::uint32_t ScreenPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= kScreenPixelsWide || y >= kScreenPixelsHigh) return 0;
    return screen[y * kScreenPixelsWide + x];
}

std::uint64_t ScreenGeneration() {
    return generation;
}
void MarkScreenChanged() {
    ++generation;
}

namespace seam {

void Fill(const Region& clip, const RECT& rect, COLORREF colour) {
    Region area(rect);
    area.Intersect(clip);
    area.Intersect(RECT{0, 0, kScreenPixelsWide, kScreenPixelsHigh});
    std::uint32_t p = Pixel(colour);
    for (const RECT& r : area.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            std::fill(screen + y * kScreenPixelsWide + r.left,
                      screen + y * kScreenPixelsWide + r.right, p);
    MarkScreenChanged();
}

void Frame(const Region& clip, const RECT& r, COLORREF colour) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    Fill(clip, {r.left, r.top, r.right, r.top + 1}, colour);
    Fill(clip, {r.left, r.bottom - 1, r.right, r.bottom}, colour);
    Fill(clip, {r.left, r.top, r.left + 1, r.bottom}, colour);
    Fill(clip, {r.right - 1, r.top, r.right, r.bottom}, colour);
}

void Blit(const Region& clip, int x, int y, const std::uint32_t* pixels, int w, int h, int stride) {
    Region area(RECT{x, y, x + w, y + h});
    area.Intersect(clip);
    area.Intersect(RECT{0, 0, kScreenPixelsWide, kScreenPixelsHigh});
    for (const RECT& r : area.Rects())
        for (int py = r.top; py < r.bottom; ++py)
            for (int px = r.left; px < r.right; ++px)
                screen[py * kScreenPixelsWide + px] =
                    pixels[(py - y) * stride + (px - x)] & 0xFFFFFF;
    MarkScreenChanged();
}

namespace {

template <class F>
void ForEachLine(std::wstring_view text, F f) {
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != L'\r' && text[i] != L'\n') continue;
        f(text.substr(start, i - start));
        if (i < text.size() && text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        start = i + 1;
    }
}

}  // namespace

namespace {

// A device context on the whole screen, to measure text or to draw it through a clip.
struct ScreenDC {
    ScreenDC() : dc(gdi::CreateWindowDC(ScreenBitmap())) {}
    ~ScreenDC() { DeleteDC(dc); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC dc;
};

}  // namespace

int TextLineHeight() {
    static int height = 0;
    if (!height) {
        ScreenDC s;
        TEXTMETRICW tm{};
        height = GetTextMetricsW(s.dc, &tm) && tm.tmHeight > 0 ? tm.tmHeight : kLineHeight;
    }
    return height;
}

int TextWidth(std::wstring_view line) {
    if (line.empty()) return 0;
    ScreenDC s;
    SIZE size{};
    if (!GetTextExtentPoint32W(s.dc, line.data(), static_cast<int>(line.size()), &size))
        return static_cast<int>(line.size()) * kAdvance;
    return size.cx;
}

int TextLineCount(std::wstring_view text) {
    int n = 0;
    ForEachLine(text, [&](std::wstring_view) { ++n; });
    return n;
}

int Text(const Region& clip, const RECT& rect, std::wstring_view text, COLORREF colour,
         UINT align) {
    Region inside(rect);
    inside.Intersect(clip);
    std::vector<RECT> rects = inside.Rects();
    if (rects.empty()) return 0;
    ScreenDC s;
    gdi::SetWindowDCClip(s.dc, rects.data(), static_cast<int>(rects.size()));
    SetTextColor(s.dc, colour);
    SetBkMode(s.dc, TRANSPARENT);
    UINT format = align == kAlignCentre ? DT_CENTER : align == kAlignRight ? DT_RIGHT : DT_LEFT;
    RECT r = rect;
    int height = DrawTextW(s.dc, std::wstring(text).c_str(), static_cast<int>(text.size()), &r,
                           format | DT_NOPREFIX);
    MarkScreenChanged();
    return height / TextLineHeight();
}

}  // namespace seam
}  // namespace user
