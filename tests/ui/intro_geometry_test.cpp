// The intro's arithmetic against its worked values: a slip in a sign, an integer division or
// the order of truncation moves the ring off by pixels.
#include "ui/intro_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

class IntroGeometryTest : public testing::Test {
  protected:
    void SetUp() override {
        SeedRandom(1);
        InitIntroTables();
    }
    static POINT Scaled(int i, int s) {
        return {static_cast<LONG>(ringTable[i].x * s), static_cast<LONG>(ringTable[i].y * s)};
    }
    static std::pair<LONG, LONG> XY(POINT p) { return {p.x, p.y}; }
};

TEST_F(IntroGeometryTest, WorkedProjections) {
    const struct {
        int index, s;
        POINT scaled, screen;
    } cases[] = {{22, 100, {69957, -349}, {102, 109}},
                 {67, 100, {-69957, 350}, {62, 120}},
                 {0, 100, {0, -10000}, {85, 113}},
                 {45, 200, {12, 19999}, {68, 177}}};
    for (const auto& c : cases) {
        const POINT scaled = Scaled(c.index, c.s);
        EXPECT_EQ(XY(scaled), XY(c.scaled)) << c.index;
        EXPECT_EQ(XY(ProjectRingPoint(scaled.x, scaled.y)), XY(c.screen)) << c.index;
    }
    EXPECT_EQ(XY(ProjectRingPoint(0, 0)), XY(ringCentre));
    // Row 20000 before the turn: the point is far below the screen, and nothing overflows.
    const POINT p = ProjectRingPoint(0, 20000);
    EXPECT_GT(p.y, 10000);
    const POINT q = ProjectRingPoint(Scaled(45, 245).x, Scaled(45, 245).y);
    EXPECT_GT(q.y, 10000);
    EXPECT_EQ(
        std::tuple(RingPenColour(15), RingPenColour(150), RingPenColour(155), RingPenColour(245)),
        std::tuple(RGB(150, 30, 190), RGB(150, 30, 190), RGB(136, 27, 172), RGB(51, 10, 65)));
    EXPECT_EQ(StarPixelColour(255, 76, 74, 84), RGB(151, 147, 167));
    EXPECT_EQ(StarPixelColour(0, 76, 74, 84), RGB(0, 0, 0));
    EXPECT_EQ(StarPixelColour(255, 29, 28, 37), RGB(57, 55, 73));
}

TEST_F(IntroGeometryTest, TheBandOpensAtItsFarSide) {
    const struct {
        int s, first, points;
    } cases[] = {{170, 0, 178}, {200, 0, 178}, {205, 17, 110}, {210, 20, 98}, {245, 37, 30}};
    POINT outer[kRingPoints], inner[kRingPoints], band[kBandPointsMax];
    for (int i = 0; i < kRingPoints; ++i) {
        outer[i] = {i, 0};
        inner[i] = {i, 1};
    }
    for (const auto& c : cases) {
        EXPECT_EQ(BandAt(c.s).first, c.first) << c.s;
        ASSERT_EQ(BuildBand(c.s, outer, inner, band), c.points) << c.s;
        const int n = c.points / 2;
        // outer[k] .. outer[88 - k], then inner[89 - k] down to inner[k + 1].
        EXPECT_EQ(std::tuple(XY(band[0]), band[n - 1].x, XY(band[n]), band[2 * n - 1].x),
                  std::tuple(std::pair(c.first, 0), 88 - c.first, std::pair(89 - c.first, 1),
                             c.first + 1))
            << c.s;
    }
}

TEST_F(IntroGeometryTest, GlowSchedule) {
    const int expected[] = {0, 0, 0, 30, 60, 60, 55, 50, 45, 40, 35, 30, 25, 20, 15};
    for (std::uint32_t t = 0; t < 15; ++t) EXPECT_EQ(GlowHalfSize(t), expected[t]) << t;
    bool seen[16] = {};
    for (int i = 0; i < 400; ++i) {
        const int h = GlowHalfSize(15 + i);
        ASSERT_GE(h, 8);
        ASSERT_LE(h, 15);
        seen[h] = true;
    }
    for (int h = 8; h <= 15; ++h) EXPECT_TRUE(seen[h]) << h;  // it really twinkles
}

// Each star takes three values of the random source in turn: its column, its row in the intro
// area and its brightness, the low byte.
TEST_F(IntroGeometryTest, StarsTakeThreeRandomValuesEachAndChangeWithTheSeed) {
    IntroStar first[kStarCount];
    std::copy(std::begin(introStars), std::end(introStars), first);
    SeedRandom(1);
    for (const IntroStar& star : first) {
        const std::uint32_t x = Random(), y = Random(), brightness = Random();
        EXPECT_EQ(std::tuple(star.x, star.y, star.brightness),
                  std::tuple(x % 240, 80 + y % 100, brightness & 255));
    }
    SeedRandom(2);
    InitIntroTables();
    int same = 0;
    for (int i = 0; i < kStarCount; ++i) same += introStars[i].x == first[i].x;
    EXPECT_LT(same, 10);
}

}  // namespace
