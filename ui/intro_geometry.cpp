#include "ui/intro_geometry.h"

#include <cmath>

#include "ui/screen_layout.h"

IntroStar introStars[kStarCount];
RingPoint ringTable[kRingPoints];
double depthScale = 0;

namespace {

// xorshift32: small, seedable and the same on every machine. A state of 0 would stay 0.
std::uint32_t randomState = 0x9E3779B9u;

}  // namespace

std::uint32_t Random() {
    randomState ^= randomState << 13;
    randomState ^= randomState >> 17;
    randomState ^= randomState << 5;
    return randomState;
}

void SeedRandom(std::uint32_t seed) {
    // Spread the seed so that small neighbouring seeds start far apart; never a zero state.
    std::uint32_t x = seed * 0x9E3779B9u + 0x7F4A7C15u;
    x ^= x >> 16;
    randomState = x ? x : 0x9E3779B9u;
}

void InitIntroTables() {
    const std::uint32_t width = introRect.right - introRect.left;
    const std::uint32_t height = introRect.bottom - introRect.top;
    for (IntroStar& star : introStars) {
        star.x = introRect.left + static_cast<std::int32_t>(Random() % width);
        star.y = introRect.top + static_cast<std::int32_t>(Random() % height);
        star.brightness = static_cast<std::int16_t>(Random() & 255);
    }
    for (int i = 0; i < kRingPoints; ++i) {
        // π taken as 3.1415, as the animation was tuned with.
        const double a = static_cast<double>(2 * i) * 0.03490555555555556;
        ringTable[i].x = std::sin(a) * 700.0;
        ringTable[i].y = std::cos(a) * -100.0;
    }
    const int farRow =
        ((introRect.bottom - horizonPoint.y) * 100) / (ringCentre.y - horizonPoint.y);
    depthScale = static_cast<double>(viewDistance.y) / (farRow - 100.0);
}

POINT ProjectRingPoint(std::int32_t px, std::int32_t py) {
    const std::int32_t E = viewDistance.y, W = viewDistance.x;
    const std::int32_t G = introRect.bottom, H = horizonPoint.y, Hx = horizonPoint.x;
    const std::int32_t Cx = ringCentre.x, Cy = ringCentre.y;
    std::int32_t r = E;
    if (py < E) {
        const auto depth = static_cast<std::int32_t>((E - py) / depthScale);
        r = H + ((G - H) * 100) / (depth + 100);
    }
    const std::int32_t c0 = Cx + (px * 120) / W;
    const std::int32_t c1 = c0 - ((c0 - Hx) * (G - r)) / (G - H);
    const double dx = c1 - Cx, dy = r - Cy;
    return {Cx - static_cast<std::int32_t>(0.259 * dy - 0.966 * dx),
            Cy - static_cast<std::int32_t>(0.259 * dx - 0.966 * dy)};
}

COLORREF RingPenColour(int s) {
    const int c = 2 * (s - 100) > 100 ? 2 * (s - 100) : 100;
    return RGB(15000 / c, 3000 / c, 19000 / c);
}

BandShape BandAt(int s) {
    const int k = s > 200 ? (s - 170) / 2 : 0;
    return {k, 2 * (kRingPoints - 1 - 2 * k)};
}

int BuildBand(int s, const POINT (&outer)[kRingPoints], const POINT (&inner)[kRingPoints],
              POINT (&band)[kBandPointsMax]) {
    const BandShape shape = BandAt(s);
    const int k = shape.first;
    int n = 0;
    for (int i = k; i <= 88 - k; ++i) band[n++] = outer[i];
    for (int i = 89 - k; i >= k + 1; --i) band[n++] = inner[i];
    return n;
}

int GlowHalfSize(std::uint32_t t) {
    if (t <= 2) return 0;
    if (t == 3) return 30;
    if (t == 4) return 60;
    if (t <= 14) return static_cast<int>(17 - t) * 5;
    return 8 + static_cast<int>(Random() & 7);
}

COLORREF StarPixelColour(int b, int redFactor, int greenFactor, int blueFactor) {
    return RGB((b * redFactor) >> 7, (b * greenFactor) >> 7, (b * blueFactor) >> 7);
}
