#include "ui/intro.h"

#include "engine/game_state.h"
#include "engine/intro_phase.h"
#include "platform/clock/clock.h"
#include "platform/gdi/gdi.h"
#include "resources/resource_ids.h"
#include "texts/texts.h"
#include "ui/back_buffer.h"
#include "ui/intro_geometry.h"

namespace {

constexpr int kLastFrame = 2000;

// A star's five pixels, in drawing order: offset and colour factors.
struct StarPixel {
    int dx, dy, red, green, blue;
};
constexpr StarPixel kStarPixels[] = {{-1, 0, 52, 51, 60},
                                     {0, -1, 51, 46, 59},
                                     {0, 0, 76, 74, 84},
                                     {0, 1, 25, 21, 31},
                                     {1, 0, 29, 28, 37}};

void ClearBackBuffer() {
    PatBlt(backBufferDC, 0, 0, backBufferWidth, backBufferHeight, BLACKNESS);
}

void DrawStillFrame() {
    ClearBackBuffer();
    SetTextColor(backBufferDC, RGB(200, 0, 200));
    SetBkColor(backBufferDC, RGB(0, 0, 0));
    if (HBITMAP banner = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kBannerBitmap))) {
        HGDIOBJ old = SelectObject(scratchDC, banner);
        BitBlt(backBufferDC, 25, 30, 200, 18, scratchDC, 0, 0, SRCCOPY);
        SelectObject(scratchDC, old);
        DeleteObject(banner);
    }
    SetTextColor(backBufferDC, RGB(0, 255, 0));
    RECT web = {0, 240, 240, 270};
    DrawTextW(backBufferDC, GetText(TextWebAddress, gameState.language), -1, &web, DT_CENTER);
    SetTextColor(backBufferDC, RGB(100, 100, 255));
    RECT title = {0, 210, 240, 240};
    DrawTextW(backBufferDC, GetText(TextWindowTitle, gameState.language), -1, &title, DT_CENTER);
    InitIntroTables();
}

void DrawStars() {
    for (const IntroStar& star : introStars) {
        for (const StarPixel& p : kStarPixels)
            SetPixel(backBufferDC, star.x + p.dx, star.y + p.dy,
                     StarPixelColour(star.brightness, p.red, p.green, p.blue));
    }
}

void DrawRing(int s) {
    POINT outer[kRingPoints], inner[kRingPoints];
    for (int i = 0; i < kRingPoints; ++i) {
        outer[i] = ProjectRingPoint(static_cast<std::int32_t>(ringTable[i].x * s),
                                    static_cast<std::int32_t>(ringTable[i].y * s));
        inner[i] = ProjectRingPoint(static_cast<std::int32_t>(ringTable[i].x * (s - 6)),
                                    static_cast<std::int32_t>(ringTable[i].y * (s - 6)));
    }
    HPEN pen = CreatePen(PS_SOLID, 1, RingPenColour(s));
    HGDIOBJ oldPen = SelectObject(backBufferDC, pen);
    if (s < 170) {
        Polyline(backBufferDC, outer, kRingPoints);
    } else {
        POINT band[kBandPointsMax];
        const int count = BuildBand(s, outer, inner, band);
        HBITMAP texture = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kRingBitmap));
        HBRUSH brush = CreatePatternBrush(texture);
        SelectObject(backBufferDC, brush);
        Polygon(backBufferDC, band, count);
        SelectObject(backBufferDC, GetStockObject(GRAY_BRUSH));
        DeleteObject(brush);
        DeleteObject(texture);
    }
    SelectObject(backBufferDC, oldPen);
    DeleteObject(pen);
}

void DrawGlow(int h) {
    HBITMAP glow = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kGlowBitmap));
    HGDIOBJ old = SelectObject(scratchDC, glow);
    StretchBlt(backBufferDC, ringCentre.x - h, ringCentre.y - h, 2 * h, 2 * h, scratchDC, 0, 0, 70,
               70, SRCPAINT);
    SelectObject(scratchDC, old);
    DeleteObject(glow);
}

}  // namespace

bool DrawIntroFrame() {
    gameState.introFrame = static_cast<std::int16_t>(gameState.introFrame + 1);
    if (gameState.introFrame < 2 || gameState.introFrame > kLastFrame) return false;
    const std::uint32_t t = (GetTickCount() - gameState.introStartTick) / kIntroPeriodMs;
    if (gameState.introFrame == 2) {
        DrawStillFrame();
        return true;
    }
    ClearBackBuffer();
    DrawStars();
    const std::uint32_t s = 5 * t;
    if (s >= 11 && s <= 249) DrawRing(static_cast<int>(s));
    const int h = GlowHalfSize(t);
    if (h >= 1 && h <= 60) DrawGlow(h);
    return true;
}
