// Rectangle, Ellipse, Polyline, Polygon and SetPixel against the platform's pixel rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <tuple>
#include <utility>

#include "tests/gdi/canvas.h"

using namespace gdi_test;

namespace {

const std::map<COLORREF, char> kKey = {{kWhite, '#'}, {kRed, 'r'}, {kGreen, 'g'}};

// Runs draw(dc) on the canvas with a white pen of the given width (none for 0) and a red brush,
// or none, selected.
void Draw(Canvas& c, int pen, bool brush, const std::function<void(HDC)>& draw) {
    Tools t(c.dc(), pen ? Pen(kWhite, pen) : nullptr, brush ? Brush(kRed) : nullptr);
    draw(c.dc());
}

// The picture of a w x h surface after Draw.
std::string Drawn(int w, int h, int pen, bool brush, const std::function<void(HDC)>& draw) {
    Canvas c(w, h);
    Draw(c, pen, brush, draw);
    return c.Art(0, 0, w, h, kKey);
}

// Draws with a white pen and draw(dc, dx, dy) once on a small surface and once on a large one
// shifted so the whole shape fits, and checks the small one shows exactly the large one's pixels.
void ExpectSameAsOnLargerSurface(bool brush, const std::function<void(HDC, int, int)>& draw) {
    Canvas small(30, 30), large(130, 130);
    Draw(small, 1, brush, [&](HDC dc) { draw(dc, 0, 0); });
    Draw(large, 1, brush, [&](HDC dc) { draw(dc, 50, 50); });
    EXPECT_EQ(small.Art(0, 0, 30, 30, kKey), large.Art(50, 50, 80, 80, kKey));
}

}  // namespace

// The same box three times: pen and brush (its corners given in the other order), pen alone,
// brush alone; and boxes of no width or height, which draw nothing.
TEST(Rectangle, OutlineOnTheEdgesBrushInsideABrushAloneOneShortAndEmptyBoxesNothing) {
    Canvas c(19, 6);
    Draw(c, 1, true, [](HDC dc) {
        EXPECT_TRUE(Rectangle(dc, 6, 5, 1, 1));
        EXPECT_TRUE(Rectangle(dc, 18, 0, 18, 6));  // zero width
        EXPECT_TRUE(Rectangle(dc, 0, 5, 19, 5));   // zero height
    });
    Draw(c, 1, false, [](HDC dc) { Rectangle(dc, 7, 1, 12, 5); });
    Draw(c, 0, true, [](HDC dc) { Rectangle(dc, 13, 1, 18, 5); });
    EXPECT_EQ(c.Art(0, 0, 19, 6, kKey),
              "...................\n"
              ".#####.#####.rrrr..\n"
              ".#rrr#.#...#.rrrr..\n"
              ".#rrr#.#...#.rrrr..\n"
              ".#####.#####.......\n"
              "...................\n");
}

TEST(Clipping, BoxesAndPathsPartlyOrWhollyOffTheSurfaceAndFarPoints) {
    // A cell of the 6-row board, whose origin is at y = -4.
    ExpectSameAsOnLargerSurface(true, [](HDC dc, int dx, int dy) {
        Rectangle(dc, dx + 3, dy - 4, dx + 43, dy + 36);
        Rectangle(dc, dx - 6, dy + 20, dx + 4, dy + 26);
    });
    ExpectSameAsOnLargerSurface(true, [](HDC dc, int dx, int dy) {
        Ellipse(dc, dx - 7, dy - 5, dx + 13, dy + 9);
        Ellipse(dc, dx + 20, dy + 22, dx + 41, dy + 37);
    });
    Canvas c(20, 20);
    Draw(c, 1, true, [](HDC dc) {
        EXPECT_TRUE(Rectangle(dc, -50, -50, -10, -10));
        EXPECT_TRUE(Rectangle(dc, 30, 0, 60, 10));
    });
    EXPECT_EQ(c.Count(kBlack), 400);
    ExpectSameAsOnLargerSurface(false, [](HDC dc, int dx, int dy) {
        POINT path[] = {
            {dx - 17, dy - 3}, {dx + 41, dy + 19}, {dx + 5, dy + 44}, {dx + 13, dy - 9}};
        Polyline(dc, path, 4);
    });
    // A point far outside, as the ring's near side gives (row 20000).
    ExpectSameAsOnLargerSurface(false, [](HDC dc, int dx, int dy) {
        POINT path[] = {{dx + 10, dy + 5}, {dx + 23, dy + 20000}, {dx - 30000, dy + 12}};
        Polyline(dc, path, 3);
    });
    ExpectSameAsOnLargerSurface(true, [](HDC dc, int dx, int dy) {
        POINT band[] = {{dx - 20, dy + 2},
                        {dx + 25, dy - 8},
                        {dx + 40, dy + 20000},
                        {dx + 8, dy + 24},
                        {dx - 3, dy + 40}};
        Polygon(dc, band, 5);
    });
    Draw(c, 1, false, [](HDC dc) {
        POINT one[] = {{1, 1}};
        EXPECT_FALSE(Polyline(dc, one, 1));
    });
}

TEST(WidePen, WidensARectanglesOutlineAndALineAboutTheirPaths) {
    EXPECT_EQ(Drawn(12, 12, 3, true, [](HDC dc) { Rectangle(dc, 2, 2, 10, 10); }),
              "............\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              ".###rrrr###.\n"
              ".###rrrr###.\n"
              ".###rrrr###.\n"
              ".###rrrr###.\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              "............\n");
    EXPECT_EQ(Drawn(10, 7, 3, false,
                    [](HDC dc) {
                        POINT line[] = {{2, 3}, {7, 3}};
                        EXPECT_TRUE(Polyline(dc, line, 2));
                    }),
              "..........\n"
              "..........\n"
              ".#######..\n"
              ".#######..\n"
              ".#######..\n"
              "..........\n"
              "..........\n");
}

TEST(Ellipse, WorkedOutlinesAndFillsAndSmallBoxesAsRectangles) {
    auto outline = [](int r, int b) {
        return Drawn(r, b, 1, false, [&](HDC dc) { Ellipse(dc, 0, 0, r, b); });
    };
    EXPECT_EQ(outline(5, 5),
              ".###.\n"
              "#...#\n"
              "#...#\n"
              "#...#\n"
              ".###.\n");
    EXPECT_EQ(outline(8, 5),
              "..####..\n"
              ".#....#.\n"
              "#......#\n"
              ".#....#.\n"
              "..####..\n");
    EXPECT_EQ(Drawn(6, 6, 1, true, [](HDC dc) { Ellipse(dc, 0, 0, 6, 6); }),
              "..##..\n"
              ".#rr#.\n"
              "#rrrr#\n"
              "#rrrr#\n"
              ".#rr#.\n"
              "..##..\n");
    EXPECT_EQ(Drawn(6, 8, 1, true,
                    [](HDC dc) {
                        Ellipse(dc, 1, 1, 3, 7);
                        Ellipse(dc, 4, 7, 6, 1);
                    }),
              Drawn(6, 8, 1, true, [](HDC dc) {
                  Rectangle(dc, 1, 1, 3, 7);
                  Rectangle(dc, 4, 1, 6, 7);
              }));
}

TEST(Ellipse, CurveIsSymmetricConnectedAndTouchesItsBox) {
    for (int w = 3; w <= 21; ++w) {
        for (int h = 3; h <= 21; h += 3) {
            Canvas c(24, 24);
            Tools t(c.dc(), Pen(kWhite), nullptr);
            Ellipse(c.dc(), 1, 1, 1 + w, 1 + h);
            std::set<std::pair<int, int>> on;
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 24; ++x)
                    if (c.At(x, y) == kWhite) on.insert({x - 1, y - 1});
            SCOPED_TRACE(testing::Message() << w << " x " << h);
            int minX = 99, maxX = -99, minY = 99, maxY = -99;
            for (auto [x, y] : on) {
                EXPECT_TRUE(on.count({w - 1 - x, y}) && on.count({x, h - 1 - y}));
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
            // One 8-connected piece: a walk from any pixel reaches all of them.
            std::set<std::pair<int, int>> reached, frontier{*on.begin()};
            while (!frontier.empty()) {
                auto p = *frontier.begin();
                frontier.erase(frontier.begin());
                if (!reached.insert(p).second) continue;
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i)
                        if (on.count({p.first + i, p.second + j}))
                            frontier.insert({p.first + i, p.second + j});
            }
            EXPECT_EQ(reached.size(), on.size());
            EXPECT_EQ(std::tuple(minX, maxX, minY, maxY), std::tuple(0, w - 1, 0, h - 1));
        }
    }
}

namespace {

using Pixels = std::set<std::pair<int, int>>;

// The pixels a white polyline through the points lights, relative to the points' origin.
Pixels LinePixels(std::initializer_list<POINT> points) {
    Canvas c(24, 24);
    Tools t(c.dc(), Pen(kWhite), nullptr);
    std::vector<POINT> path(points);
    for (POINT& p : path) p.x += 11, p.y += 11;
    Polyline(c.dc(), path.data(), static_cast<int>(path.size()));
    Pixels on;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            if (c.At(x, y) == kWhite) on.insert({x - 11, y - 11});
    return on;
}

}  // namespace

TEST(Polyline, EveryShortSegmentStepsAsTheRuleSaysFirstPixelInLastOut) {
    // Pixel i of n along the longer axis sits at the nearest shorter-axis coordinate,
    // ceil((2 i d - n) / 2n), a tie going to the smaller one; pixel n is left out.
    auto ceilDiv = [](int a, int b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); };
    for (int dy = -9; dy <= 9; ++dy)
        for (int dx = -9; dx <= 9; ++dx) {
            Pixels expected;
            const int n = std::max(std::abs(dx), std::abs(dy));
            const bool majorX = std::abs(dx) >= std::abs(dy);
            for (int i = 0; i < n; ++i) {
                int major = (majorX ? (dx < 0 ? -i : i) : (dy < 0 ? -i : i));
                int minor = ceilDiv(2 * i * (majorX ? dy : dx) - n, 2 * n);
                expected.insert(majorX ? std::pair{major, minor} : std::pair{minor, major});
            }
            ASSERT_EQ(LinePixels({{0, 0}, {dx, dy}}), expected) << "to " << dx << "," << dy;
        }
    // The mouth: five points, four segments, each join drawn once.
    EXPECT_EQ(LinePixels({{0, 1}, {1, 2}, {4, 2}, {5, 1}, {6, 0}}),
              (Pixels{{0, 1}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 1}}));
}

TEST(Polygon, SquareTriangleAndStarFills) {
    POINT square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    Canvas filled(6, 6), outlined(6, 6);
    Draw(filled, 0, true, [&](HDC dc) { EXPECT_TRUE(Polygon(dc, square, 4)); });
    EXPECT_EQ(std::tuple(filled.Count(kRed), filled.At(3, 3), filled.At(4, 0)),
              std::tuple(16, kRed, kBlack));
    Draw(outlined, 1, true, [&](HDC dc) { Polygon(dc, square, 4); });
    EXPECT_EQ(outlined.Count(kRed) + outlined.Count(kWhite), 25);
    EXPECT_EQ(Drawn(9, 9, 0, true,
                    [](HDC dc) {
                        POINT triangle[] = {{1, 1}, {7, 3}, {2, 7}};
                        Polygon(dc, triangle, 3);
                    }),
              ".........\n"
              ".........\n"
              "..rr.....\n"
              "..rrrrr..\n"
              "..rrrr...\n"
              "..rrr....\n"
              "..rr.....\n"
              ".........\n"
              ".........\n");
    // A five-pointed star drawn in one stroke: its centre is crossed twice, so stays empty.
    POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    Canvas alternate(21, 21);
    Draw(alternate, 0, true, [&](HDC dc) { Polygon(dc, star, 5); });
    // The centre, and a point of the star.
    EXPECT_EQ(std::tuple(alternate.At(10, 11), alternate.At(10, 4)), std::tuple(kBlack, kRed));
}

TEST(SetPixel, StoresAndReturnsTheColourOrMinusOneWhenClipped) {
    Canvas c(4, 4);
    EXPECT_EQ(SetPixel(c.dc(), 1, 2, RGB(151, 147, 167)), RGB(151, 147, 167));
    EXPECT_EQ(c.At(1, 2), RGB(151, 147, 167));
    EXPECT_EQ(gdi::BitmapPixel(c.bitmap(), 1, 2), 0x9793A7u);  // the surface word 0x00RRGGBB
    EXPECT_EQ(SetPixel(c.dc(), -1, 0, kWhite), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc(), 0, 4, kWhite), CLR_INVALID);
    EXPECT_EQ(c.Count(kWhite), 0);
    EXPECT_EQ(GetPixel(c.dc(), 4, 0), CLR_INVALID);
}
