// DrawTextW and text measurement in the device's default font.
#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/internal/font.h"
#include "platform/gdi/internal/objects.h"
#include "platform/gdi/internal/raster.h"
#include "platform/gdi/internal/text_layout.h"

using namespace gdi;

namespace {

struct Line {
    std::u32string text;
    std::vector<bool> underlined;  // the character after an '&'
    std::vector<int> source;       // each character's index in the text given
    int begin = 0;                 // where the line starts in the text given
    int end = 0;                   // and where it ends: just after its last character
    int width = 0;
};

int Width(Font& font, const std::u32string& text) {
    int w = 0;
    for (char32_t c : text) w += font.Get(c).advance;
    return w;
}

Line Part(const Line& line, std::size_t from, std::size_t to) {
    Line part;
    part.text = line.text.substr(from, to - from);
    part.underlined.assign(line.underlined.begin() + static_cast<std::ptrdiff_t>(from),
                           line.underlined.begin() + static_cast<std::ptrdiff_t>(to));
    part.source.assign(line.source.begin() + static_cast<std::ptrdiff_t>(from),
                       line.source.begin() + static_cast<std::ptrdiff_t>(to));
    part.begin = from < line.text.size() ? line.source[from] : from == 0 ? line.begin : line.end;
    part.end = to > from ? line.source[to - 1] + 1 : part.begin;
    return part;
}

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t';
}

// Breaks one line of text into lines no wider than maxWidth: each ends before the word that
// would pass the edge, the blanks at a break are dropped, and a word wider than the whole line
// is broken after its last character that fits (one character at least).
void WrapLine(Font& font, const Line& line, int maxWidth, std::vector<Line>* out) {
    const std::u32string& t = line.text;
    std::size_t pos = 0, n = t.size();
    while (true) {
        int w = 0;
        std::size_t k = pos;
        for (; k < n; ++k) {
            w += font.Get(t[k]).advance;
            if (w > maxWidth) break;
        }
        if (k >= n) {
            out->push_back(Part(line, pos, n));
            return;
        }
        std::size_t end = k, next = k;
        if (!IsBlank(t[k])) {
            // Back to the blank before the overflowing word, if a word comes before it.
            std::size_t b = k;
            while (b > pos && !IsBlank(t[b - 1])) --b;
            std::size_t firstInk = pos;
            while (firstInk < n && IsBlank(t[firstInk])) ++firstInk;
            if (b > pos && firstInk < b) {
                end = next = b;
            } else {
                end = next = std::max(k, pos + 1);  // a word longer than the line
            }
        }
        while (end > pos && IsBlank(t[end - 1]) && end <= k) --end;
        if (end == pos && next == pos) end = next = pos + 1;
        out->push_back(Part(line, pos, end));
        while (next < n && IsBlank(t[next])) ++next;
        if (next >= n) return;
        pos = next;
    }
}

// Splits at CR, LF or CR LF (unless single-line), takes the '&' prefixes out (unless
// DT_NOPREFIX) and, with DT_WORDBREAK, breaks lines at spaces to fit maxWidth.
std::vector<Line> Layout(Font& font, const wchar_t* text, int count, UINT format, int maxWidth) {
    std::vector<Line> lines(1);
    bool single = format & DT_SINGLELINE;
    bool prefix = !(format & DT_NOPREFIX);
    for (int i = 0; i < count; ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (single) continue;
            if (c == L'\r' && i + 1 < count && text[i + 1] == L'\n') ++i;
            if (i + 1 < count) {
                lines.emplace_back();
                lines.back().begin = lines.back().end = i + 1;
            }
            continue;
        }
        bool under = false;
        if (prefix && c == L'&') {
            if (++i >= count) break;
            c = text[i];
            under = c != L'&';
            if (c == L'\r' || c == L'\n') {
                --i;
                continue;
            }
        }
        lines.back().text += static_cast<char32_t>(c);
        lines.back().underlined.push_back(under);
        lines.back().source.push_back(i);
        lines.back().end = i + 1;
    }
    if (count == 0) lines.clear();
    if ((format & DT_WORDBREAK) && !single) {
        std::vector<Line> broken;
        for (Line& line : lines) WrapLine(font, line, maxWidth, &broken);
        lines = std::move(broken);
    }
    for (Line& line : lines) line.width = Width(font, line.text);
    return lines;
}

// Restricts a DC's visible rectangles to a logical rectangle for the length of one call.
class ClipTo {
  public:
    ClipTo(DeviceContext& dc, const RECT& r) : dc_(dc), saved_(dc.visible) {
        RECT d{r.left + dc.origin.x, r.top + dc.origin.y, r.right + dc.origin.x,
               r.bottom + dc.origin.y};
        dc.visible.clear();
        for (const RECT& v : saved_) {
            RECT c;
            if (IntersectRect(&c, &v, &d)) dc.visible.push_back(c);
        }
        savedBounds_ = dc.visibleBounds;
        RECT b{0, 0, 0, 0};
        for (const RECT& c : dc.visible) UnionRect(&b, &b, &c);
        dc.visibleBounds = b;
    }
    ~ClipTo() {
        dc_.visible = std::move(saved_);
        dc_.visibleBounds = savedBounds_;
    }

  private:
    DeviceContext& dc_;
    std::vector<RECT> saved_;
    RECT savedBounds_;
};

void DrawGlyph(DeviceContext& dc, const Glyph& g, long long x, long long y, std::uint32_t raw) {
    Bitmap& b = *dc.bitmap;
    long long gx = x + g.left + dc.origin.x, gy = y + dc.origin.y;
    for (const RECT& r : dc.visible) {
        long long x0 = std::max<long long>(gx, r.left),
                  x1 = std::min<long long>(gx + g.width, r.right);
        long long y0 = std::max<long long>(gy, r.top),
                  y1 = std::min<long long>(gy + g.rows, r.bottom);
        for (long long py = y0; py < y1; ++py) {
            const std::uint8_t* ink = &g.ink[(py - gy) * g.width];
            for (long long px = x0; px < x1; ++px)
                if (ink[px - gx]) PutRaw(b, static_cast<int>(px), static_cast<int>(py), raw);
        }
    }
}

void DrawLine(DeviceContext& dc, Font& font, const Line& line, long long x, long long y) {
    if (dc.bkMode == OPAQUE && line.width > 0) {
        Paint back = SolidPaint(dc, ToPixel(dc.bkColour));
        FillBox(dc, x, y, x + line.width, y + font.Height(), back);
    }
    std::uint32_t ink = RawOf(*dc.bitmap, ToPixel(dc.textColour));
    Paint underline;
    underline.raw = ink;
    long long pen = x;
    for (std::size_t k = 0; k < line.text.size(); ++k) {
        const Glyph& g = font.Get(line.text[k]);
        DrawGlyph(dc, g, pen, y + font.Ascent() - g.top, ink);
        if (line.underlined[k]) {
            long long row = y + font.Ascent() + 1;
            FillBox(dc, pen, row, pen + g.advance, row + 1, underline);
        }
        pen += g.advance;
    }
}

}  // namespace

std::vector<gdi::TextLine> gdi::LayOutText(const wchar_t* text, int count, UINT format, int width) {
    std::vector<TextLine> out;
    Font* font = Font::Default();
    if (!font || !text) return out;
    if (count < 0) count = static_cast<int>(std::wcslen(text));
    for (const Line& line : Layout(*font, text, count, format, width))
        out.push_back({line.begin, line.end, line.width});
    return out;
}

int DrawTextW(HDC handle, LPCWSTR text, int count, RECT* rect, UINT format) {
    if (!text || !rect) return 0;
    bool calc = format & DT_CALCRECT;
    DeviceContext* dc = Dc(handle);
    if (!dc && !(calc && AsDc(handle))) return 0;
    Font* font = Font::Default();
    if (!font) return 0;
    if (count < 0) count = static_cast<int>(std::wcslen(text));
    std::vector<Line> lines = Layout(*font, text, count, format, rect->right - rect->left);
    int h = font->Height();
    if (calc) {
        int widest = 0;
        for (const Line& line : lines) widest = std::max(widest, line.width);
        if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE)) rect->right = rect->left + widest;
        rect->bottom = rect->top + static_cast<int>(lines.size()) * h;
        return static_cast<int>(lines.size()) * h;
    }
    bool single = format & DT_SINGLELINE;
    std::unique_ptr<ClipTo> clip;
    if (!(format & DT_NOCLIP)) clip = std::make_unique<ClipTo>(*dc, *rect);
    int drawn = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const Line& line = lines[k];
        long long y = rect->top + static_cast<long long>(k) * h;
        if (single && (format & DT_BOTTOM))
            y = rect->bottom - h;
        else if (single && (format & DT_VCENTER))
            y = rect->top + (rect->bottom - rect->top - h) / 2;
        long long x = rect->left;
        if (format & DT_CENTER)
            x = (static_cast<long long>(rect->left) + rect->right - line.width) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - line.width;
        DrawLine(*dc, *font, line, x, y);
        drawn += h;
        if (y + h > rect->bottom) break;
    }
    return drawn;
}
