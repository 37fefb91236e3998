// Rectangles, ellipses, lines, polygons and single pixels, each computed in full and then
// clipped, so a shape half off the surface shows exactly the pixels it would on a larger one.
#include <algorithm>
#include <climits>
#include <vector>

#include "platform/gdi/internal/objects.h"
#include "platform/gdi/internal/raster.h"

using namespace gdi;

namespace {

struct PenPaint {
    bool draws = false;
    std::uint32_t raw = 0;
    int width = 1;
};

PenPaint PenOf(DeviceContext& dc) {
    PenPaint p;
    if (dc.pen->style == PS_NULL) return p;
    p.draws = true;
    p.raw = RawOf(*dc.bitmap, dc.pen->colour);
    p.width = dc.pen->width;
    return p;
}

// Bresenham segment: the first pixel drawn, the last left out, one pixel per step of the longer
// axis; a half-way tie goes to the smaller coordinate of the shorter axis in either direction.
// Only the steps that can reach the visible part are visited.
void Segment(DeviceContext& dc, POINT a, POINT b, const PenPaint& pen) {
    long long dx = static_cast<long long>(b.x) - a.x;
    long long dy = static_cast<long long>(b.y) - a.y;
    long long n = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    if (n == 0) return;
    bool majorX = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    long long majorStart = majorX ? a.x : a.y;
    long long majorStep = (majorX ? dx : dy) < 0 ? -1 : 1;
    long long minorStart = majorX ? a.y : a.x;
    long long minorDelta = majorX ? dy : dx;

    RECT v = VisibleBoundsLogical(dc);
    long long margin = pen.width;
    long long lo = (majorX ? v.left : v.top) - margin;
    long long hi = (majorX ? v.right : v.bottom) + margin;
    // Steps i with lo <= majorStart + majorStep * i < hi.
    long long first = 0, last = n;  // [first, last)
    if (majorStep > 0) {
        first = std::max(first, lo - majorStart);
        last = std::min(last, hi - majorStart);
    } else {
        first = std::max(first, majorStart - hi + 1);
        last = std::min(last, majorStart - lo + 1);
    }
    if (first >= last) return;
    // The minor offset of step i is ceil((2 i minorDelta - n) / 2n), kept as quotient and
    // remainder from step to step; |2 minorDelta| <= 2n, so one correction per step suffices.
    const long long den = 2 * n, step = 2 * minorDelta;
    long long q = CeilDiv(Wide(2) * first * minorDelta - n, den);
    long long r = static_cast<long long>(Wide(q) * den - (Wide(2) * first * minorDelta - n));
    for (long long i = first; i < last; ++i, r -= step) {
        if (r < 0) {
            r += den;
            ++q;
        } else if (r >= den) {
            r -= den;
            --q;
        }
        long long major = majorStart + majorStep * i;
        long long minor = minorStart + q;
        long long x = majorX ? major : minor;
        long long y = majorX ? minor : major;
        if (x < INT_MIN || x > INT_MAX || y < INT_MIN || y > INT_MAX) continue;
        PenDot(dc, static_cast<int>(x), static_cast<int>(y), pen.raw, pen.width);
    }
}

void OrderBox(int& left, int& top, int& right, int& bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

BOOL DrawRectangle(DeviceContext& dc, long long l, long long t, long long r, long long b) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (l == r || t == b) return TRUE;
    PenPaint pen = PenOf(dc);
    Paint fill;
    if (BrushPaint(dc, *dc.brush, &fill)) {
        if (pen.draws)
            FillBox(dc, l + 1, t + 1, r - 1, b - 1, fill);
        else
            FillBox(dc, l, t, r - 1, b - 1, fill);  // one short on the right and bottom
    }
    if (!pen.draws) return TRUE;
    Paint line;
    line.raw = pen.raw;
    // The outline runs along columns l and r - 1 and rows t and b - 1; a wider pen widens it
    // about those lines.
    long long w = pen.width;
    long long in = (w - 1) / 2;
    long long out = w - 1 - in;
    FillBox(dc, l - in, t - in, r + out, t + 1 + out, line);
    FillBox(dc, l - in, b - 1 - in, r + out, b + out, line);
    FillBox(dc, l - in, t - in, l + 1 + out, b + out, line);
    FillBox(dc, r - 1 - in, t - in, r + out, b + out, line);
    return TRUE;
}

// The curve of the ellipse in the box of pixels x0..x1 by y0..y1: an integer bounding-box
// Bresenham ellipse, 8-connected, one quadrant mirrored into the other three.
void EllipseCurve(long long x0, long long y0, long long x1, long long y1, std::vector<POINT>& out) {
    long long a = x1 - x0, b = y1 - y0, b1 = b & 1;
    long long dx = 4 * (1 - a) * b * b, dy = 4 * (b1 + 1) * a * a;
    long long err = dx + dy + b1 * a * a, e2;
    y0 += (b + 1) / 2;
    y1 = y0 - b1;
    long long a8 = 8 * a * a, b8 = 8 * b * b;
    auto put = [&](long long x, long long y) {
        out.push_back(POINT{static_cast<LONG>(x), static_cast<LONG>(y)});
    };
    do {
        put(x1, y0);
        put(x0, y0);
        put(x0, y1);
        put(x1, y1);
        e2 = 2 * err;
        if (e2 <= dy) {
            ++y0;
            --y1;
            err += dy += a8;
        }
        if (e2 >= dx || 2 * err > dy) {
            ++x0;
            --x1;
            err += dx += b8;
        }
    } while (x0 <= x1);
    while (y0 - y1 <= b) {  // the tips of a narrow ellipse
        put(x0 - 1, y0);
        put(x1 + 1, y0++);
        put(x0 - 1, y1);
        put(x1 + 1, y1--);
    }
}

BOOL DrawEllipse(DeviceContext& dc, int l, int t, int r, int b) {
    OrderBox(l, t, r, b);
    if (l == r || t == b) return TRUE;
    long long width = static_cast<long long>(r) - l, height = static_cast<long long>(b) - t;
    if (width <= 2 || height <= 2) return DrawRectangle(dc, l, t, r, b);
    // The curve is walked in full; a box far beyond any surface would take too long.
    if (width > 32768 || height > 32768) return FALSE;
    std::vector<POINT> curve;
    EllipseCurve(l, t, r - 1, b - 1, curve);
    // Fill: on each row, the span strictly between the curve's leftmost and rightmost pixels.
    int rows = b - t;
    std::vector<int> minX(rows, INT_MAX), maxX(rows, INT_MIN);
    for (const POINT& p : curve) {
        int row = p.y - t;
        if (row < 0 || row >= rows) continue;
        minX[row] = std::min(minX[row], static_cast<int>(p.x));
        maxX[row] = std::max(maxX[row], static_cast<int>(p.x));
    }
    Paint fill;
    if (BrushPaint(dc, *dc.brush, &fill)) {
        for (int row = 0; row < rows; ++row)
            if (minX[row] < maxX[row]) FillSpan(dc, t + row, minX[row] + 1, maxX[row], fill);
    }
    PenPaint pen = PenOf(dc);
    if (pen.draws)
        for (const POINT& p : curve) PenDot(dc, p.x, p.y, pen.raw, pen.width);
    return TRUE;
}

void DrawPath(DeviceContext& dc, const POINT* points, int count, bool close) {
    PenPaint pen = PenOf(dc);
    if (!pen.draws) return;
    for (int i = 0; i + 1 < count; ++i) Segment(dc, points[i], points[i + 1], pen);
    if (close && count > 1) Segment(dc, points[count - 1], points[0], pen);
}

// Polygon fill on whole grid points: an edge counts on row y when top <= y < bottom, at the
// first whole x at or right of it; crossings pair into spans [x1, x2) (the alternate rule).
void FillPolygon(DeviceContext& dc, const POINT* points, int count, const Paint& paint) {
    struct Edge {
        long long x0, y0, x1, y1;
    };
    std::vector<Edge> edges;
    long long top = LLONG_MAX, bottom = LLONG_MIN;
    for (int i = 0; i < count; ++i) {
        POINT a = points[i], b = points[(i + 1) % count];
        if (a.y == b.y) continue;
        if (a.y > b.y) std::swap(a, b);
        edges.push_back({a.x, a.y, b.x, b.y});
        top = std::min<long long>(top, a.y);
        bottom = std::max<long long>(bottom, b.y);
    }
    if (edges.empty()) return;
    RECT v = VisibleBoundsLogical(dc);
    top = std::max<long long>(top, v.top);
    bottom = std::min<long long>(bottom, v.bottom);
    // Edges in order of their top row; `active` holds those that may cross the current row.
    std::sort(edges.begin(), edges.end(), [](const Edge& p, const Edge& q) { return p.y0 < q.y0; });
    std::size_t next = 0;
    while (next < edges.size() && edges[next].y0 < top) ++next;
    std::vector<const Edge*> active;
    for (std::size_t i = 0; i < next; ++i)
        if (edges[i].y1 > top) active.push_back(&edges[i]);
    std::vector<long long> crossings;
    for (long long y = top; y < bottom; ++y) {
        while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
        std::erase_if(active, [y](const Edge* e) { return y >= e->y1; });
        crossings.clear();
        for (const Edge* e : active) {
            long long x = e->x0 + CeilDiv(Wide(y - e->y0) * (e->x1 - e->x0), e->y1 - e->y0);
            crossings.push_back(x);
        }
        std::sort(crossings.begin(), crossings.end());
        auto span = [&](long long x0, long long x1) {
            FillSpan(dc, static_cast<int>(y), x0, x1, paint);
        };
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
            span(crossings[i], crossings[i + 1]);
    }
}

}  // namespace

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
    DeviceContext* dc = Dc(handle);
    return dc ? DrawRectangle(*dc, left, top, right, bottom) : FALSE;
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
    DeviceContext* dc = Dc(handle);
    return dc ? DrawEllipse(*dc, left, top, right, bottom) : FALSE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
    DeviceContext* dc = Dc(handle);
    if (!dc || !points || count < 2) return FALSE;
    DrawPath(*dc, points, count, false);
    return TRUE;
}

BOOL Polygon(HDC handle, const POINT* points, int count) {
    DeviceContext* dc = Dc(handle);
    if (!dc || !points || count < 2) return FALSE;
    Paint fill;
    if (BrushPaint(*dc, *dc->brush, &fill)) FillPolygon(*dc, points, count, fill);
    DrawPath(*dc, points, count, true);
    return TRUE;
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    DeviceContext* dc = Dc(handle);
    Brush* brush = AsBrush(brushHandle);
    if (!dc || !rect || !brush) return 0;
    Paint paint;
    if (BrushPaint(*dc, *brush, &paint))
        FillBox(*dc, rect->left, rect->top, rect->right, rect->bottom, paint);
    return 1;
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF colour) {
    DeviceContext* dc = Dc(handle);
    if (!dc) return CLR_INVALID;
    std::uint32_t raw = RawOf(*dc->bitmap, ToPixel(colour));
    if (!PlotRaw(*dc, x, y, raw)) return CLR_INVALID;
    return ToColorRef(PixelOfRaw(*dc->bitmap, raw));
}

COLORREF GetPixel(HDC handle, int x, int y) {
    DeviceContext* dc = Dc(handle);
    if (!dc) return CLR_INVALID;
    long long dx = static_cast<long long>(x) + dc->origin.x;
    long long dy = static_cast<long long>(y) + dc->origin.y;
    for (const RECT& r : dc->visible)
        if (dx >= r.left && dx < r.right && dy >= r.top && dy < r.bottom)
            return ToColorRef(PixelOfRaw(
                *dc->bitmap, RawAt(*dc->bitmap, static_cast<int>(dx), static_cast<int>(dy))));
    return CLR_INVALID;
}
