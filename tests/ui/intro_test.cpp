// Intro frames by pixel probes: which paint draws what, and the colours the player sees.
#include "ui/intro.h"

#include <gtest/gtest.h>

#include "engine/game_state.h"
#include "platform/gdi/internal/surface.h"
#include "tests/ui/back_buffer_test.h"
#include "ui/intro_geometry.h"
#include "ui/screen_layout.h"

namespace {

class IntroTest : public BackBufferTest {
  protected:
    void SetUp() override {
        BackBufferTest::SetUp();
        SeedRandom(1);
        gameState.introStartTick = testNow = 50000;
        gameState.introRunning = true;
    }
    // The frame shown `ms` after the intro began, after the paints before it.
    bool FrameAt(std::uint32_t ms) {
        testNow = gameState.introStartTick + ms;
        PatBlt(backBufferDC, 0, 0, backBufferWidth, backBufferHeight, BLACKNESS);
        return DrawIntroFrame();
    }
    static bool NotBlack(COLORREF c) { return c != 0; }
};

// The first paint draws nothing, the second the still screen, the third only the stars.
TEST_F(IntroTest, TheFirstPaintDrawsNothingTheSecondTheStillScreenAndTheThirdOnlyStars) {
    EXPECT_FALSE(FrameAt(0));
    EXPECT_EQ(gameState.introFrame, 1);
    EXPECT_EQ(Count({0, 0, 240, 268}, NotBlack), 0);

    EXPECT_TRUE(FrameAt(60));
    EXPECT_GT(CountColour({25, 30, 225, 48}, RGB(200, 0, 200)), 100);    // the banner
    EXPECT_EQ(Count({0, 80, 240, 180}, NotBlack), 0);                    // no stars yet
    EXPECT_GT(CountColour({0, 210, 240, 240}, RGB(100, 100, 255)), 20);  // the title
    EXPECT_GT(CountColour({0, 240, 240, 268}, RGB(0, 255, 0)), 20);      // the web address

    ASSERT_TRUE(FrameAt(179));  // the stars only, for the first 180 ms
    // Nothing outside the intro area: no ring, no glow, no still parts.
    EXPECT_EQ(Count({0, 0, 240, 79}, NotBlack), 0);
    EXPECT_EQ(Count({0, 181, 240, 268}, NotBlack), 0);
    // Each star's centre pixel in its colour.
    for (const IntroStar& star : introStars) {
        const COLORREF expected = StarPixelColour(star.brightness, 76, 74, 84);
        bool coveredByAnother = false;
        for (const IntroStar& other : introStars)
            coveredByAnother |=
                &other > &star && std::abs(other.x - star.x) + std::abs(other.y - star.y) <= 1;
        if (!coveredByAnother) {
            EXPECT_EQ(GetPixel(backBufferDC, star.x, star.y), expected);
        }
    }
}

// The ring and the glow follow the clock, each frame deleting every object it made, until the
// two thousandth frame, after which nothing is drawn.
TEST_F(IntroTest, RingAndGlowFollowTheClockUntilTheTwoThousandthFrameWithNoObjectLeft) {
    const int objects = gdi::LiveObjectCount();
    FrameAt(0);  // the two paints before the animation
    FrameAt(0);
    FrameAt(180);  // t 3: glow of half-size 30 around the ring centre, the small ring inside it
    EXPECT_GT(
        Count({ringCentre.x - 30, ringCentre.y - 2, ringCentre.x - 20, ringCentre.y + 2}, NotBlack),
        0);
    EXPECT_EQ(Count({ringCentre.x - 40, 0, ringCentre.x - 31, 79}, NotBlack), 0);

    FrameAt(1200);  // s 100: an open outline in the full pen colour, clear of the small glow
    EXPECT_GT(CountColour({0, 0, 240, 268}, RGB(150, 30, 190)), 40);
    FrameAt(2400);  // s 200: the band, textured inside its outline
    EXPECT_GT(CountColour({0, 0, 240, 268}, RingPenColour(200)), 40);
    FrameAt(3000);  // s 250: no ring; the glow twinkles on at the ring centre
    EXPECT_EQ(CountColour({0, 0, 240, 268}, RingPenColour(245)), 0);
    EXPECT_EQ(Count({0, 0, 240, 79}, NotBlack), 0);
    const COLORREF centre = GetPixel(backBufferDC, ringCentre.x, ringCentre.y);
    EXPECT_GT(GetBValue(centre), GetRValue(centre));
    EXPECT_EQ(gdi::LiveObjectCount(), objects);

    gameState.introFrame = 1999;
    EXPECT_TRUE(FrameAt(100));
    EXPECT_FALSE(FrameAt(160));
    EXPECT_EQ(Count({0, 0, 240, 268}, NotBlack), 0);
}

}  // namespace
