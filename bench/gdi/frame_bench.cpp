// The cost of a frame of drawing calls alone (no game code) against the floor every frame pays:
// clearing a 240 x 268 surface and copying it to another. Run: build/bench/gdi/gdi_bench (the
// ratio is printed last).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/per_call.h"
#include "platform/gdi/gdi.h"

namespace {

struct Surfaces {
    HDC back = CreateCompatibleDC(nullptr);
    HDC screen = CreateCompatibleDC(nullptr);
    HDC scratch = CreateCompatibleDC(nullptr);
    HBITMAP backBitmap = CreateCompatibleBitmap(nullptr, 240, 268);
    HBITMAP screenBitmap = CreateCompatibleBitmap(nullptr, 240, 268);
    HBITMAP glyphs = CreateBitmap(48, 16, 1, 1, nullptr);
    HGDIOBJ oldBack = SelectObject(back, backBitmap);
    HGDIOBJ oldScreen = SelectObject(screen, screenBitmap);
    ~Surfaces() {
        SelectObject(back, oldBack);
        SelectObject(screen, oldScreen);
        DeleteObject(backBitmap);
        DeleteObject(screenBitmap);
        DeleteObject(glyphs);
        DeleteDC(back);
        DeleteDC(screen);
        DeleteDC(scratch);
    }
};

void Floor(Surfaces& s) {
    PatBlt(s.back, 0, 0, 240, 268, BLACKNESS);
    BitBlt(s.screen, 0, 0, 240, 268, s.back, 0, 0, SRCCOPY);
}

void Wall(HDC dc, COLORREF colour, int l, int t, int r, int b) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Rectangle(dc, l, t, r, b);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

// A 5 x 5 board with boxes, a pusher, three buttons with their
// glyphs and labels, the title, the moves and time line and a two-line hint.
void Frame(Surfaces& s) {
    HDC dc = s.back;
    PatBlt(dc, 0, 0, 240, 268, BLACKNESS);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HBRUSH cells = CreateSolidBrush(RGB(255, 200, 255));
    HGDIOBJ oldBrush = SelectObject(dc, cells);
    int ox = 22, oy = 15;
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 5; ++r)
            Rectangle(dc, ox + 39 * c, oy + 39 * r, ox + 39 * c + 40, oy + 39 * r + 40);
    SelectObject(dc, oldBrush);
    DeleteObject(cells);
    // A big and a small box in every other cell: 26 boxes, more than the busiest puzzle has.
    for (int c = 0; c < 5; ++c)
        for (int r = (c & 1); r < 5; r += 2) {
            int x = ox + 39 * c, y = oy + 39 * r;
            Wall(dc, RGB(0, 0, 0), x + 8, y + 8, x + 32, y + 12);
            Wall(dc, RGB(255, 0, 0), x + 8, y + 28, x + 32, y + 32);
            Wall(dc, RGB(0, 0, 0), x + 28, y + 8, x + 32, y + 32);
            Wall(dc, RGB(0, 0, 255), x + 3, y + 3, x + 37, y + 7);
            Wall(dc, RGB(0, 0, 0), x + 3, y + 33, x + 37, y + 37);
            Wall(dc, RGB(0, 0, 255), x + 33, y + 3, x + 37, y + 37);
        }
    Wall(dc, RGB(0, 255, 0), ox + 14, oy + 14, ox + 26, oy + 26);

    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, GetStockObject(WHITE_PEN));
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(200, 0, 200));
    HGDIOBJ oldGlyph = SelectObject(s.scratch, s.glyphs);
    const RECT buttons[] = {{0, 220, 70, 260}, {75, 220, 165, 260}, {170, 220, 240, 260}};
    const wchar_t* labels[] = {L"Défaire", L"Recommencer", L"Refaire"};
    for (int i = 0; i < 3; ++i) {
        RECT b = buttons[i];
        Rectangle(dc, b.left, b.top, b.right, b.bottom + 2);
        BitBlt(dc, (b.left + b.right) / 2 - 8, b.top + 5, 15, 15, s.scratch, 15 * i, 0, SRCCOPY);
        DrawTextW(dc, labels[i], -1, &b, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    }
    SelectObject(s.scratch, oldGlyph);
    SetTextColor(dc, RGB(0, 0, 255));
    RECT title{0, 0, 200, 15}, status{150, 0, 240, 15}, hint{0, 180, 240, 220};
    DrawTextW(dc, L"Jeu 12 (24 / 1:05)", -1, &title, 0);
    SetTextColor(dc, RGB(0, 255, 0));
    DrawTextW(dc, L"37 / 2:14", -1, &status, DT_RIGHT);
    DrawTextW(dc, L"Déplacez le carré pour pousser\r\nle rouge dans le bleu.", -1, &hint,
              DT_CENTER);
    SelectObject(dc, oldPen);
    BitBlt(s.screen, 0, 0, 240, 268, dc, 0, 0, SRCCOPY);
}

void BM_Floor(benchmark::State& state) {
    Surfaces s;
    for (auto _ : state) Floor(s);
}
BENCHMARK(BM_Floor);

void BM_GameFrame(benchmark::State& state) {
    Surfaces s;
    for (auto _ : state) Frame(s);
}
BENCHMARK(BM_GameFrame);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Surfaces s;
    double floor = bench::MicrosPerCall(Floor, s), frame = bench::MicrosPerCall(Frame, s);
    // A synthetic frame, busier than any puzzle; the game's own frame and its target of three
    // floors are bench_screen's.
    std::printf("floor %.1f us, frame %.1f us, frame / floor = %.2f\n", floor, frame,
                frame / floor);
    return 0;
}
