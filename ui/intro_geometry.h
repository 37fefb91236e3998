// The numbers behind the intro animation: its fixed points, the ring at scale 1, the
// perspective projection of a ring point, and the schedules of the ring and the glow.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

constexpr POINT ringCentre = {85, 114};    // where the ring is centred and the glow drawn
constexpr POINT horizonPoint = {85, 110};  // the ground plane's vanishing point
constexpr POINT viewDistance = {20000, 20000};

constexpr int kStarCount = 100;
constexpr int kRingPoints = 90;
constexpr int kBandPointsMax = 2 * (kRingPoints - 1);

struct IntroStar {
    std::int32_t x;
    std::int32_t y;
    std::int16_t brightness;  // 0..255
};

struct RingPoint {
    double x;
    double y;
};

// Computed at the intro's second frame and kept until it ends.
extern IntroStar introStars[kStarCount];
extern RingPoint ringTable[kRingPoints];
extern double depthScale;

// The intro's random source: any 32-bit values serve; a seed makes a run repeatable.
std::uint32_t Random();
void SeedRandom(std::uint32_t seed);

// Fills introStars, ringTable and depthScale.
void InitIntroTables();

// A scaled ring point (px across the ground, py along its depth, toward the viewer) on the screen.
POINT ProjectRingPoint(std::int32_t px, std::int32_t py);

// The ring's pen at scale s.
COLORREF RingPenColour(int s);

// The band at scale s (170 and more): its first ring index k and its point count 2n.
struct BandShape {
    int first;
    int pointCount;
};
BandShape BandAt(int s);
// The band polygon from the projected outer and inner rings; returns its point count.
int BuildBand(int s, const POINT (&outer)[kRingPoints], const POINT (&inner)[kRingPoints],
              POINT (&band)[kBandPointsMax]);

// The glow's half-size at step t (60 ms steps); 0 for none. From step 15 on it twinkles, taking
// one Random() value each call.
int GlowHalfSize(std::uint32_t t);

// The colour of one of a star's five pixels, for a star of brightness b.
COLORREF StarPixelColour(int b, int redFactor, int greenFactor, int blueFactor);
