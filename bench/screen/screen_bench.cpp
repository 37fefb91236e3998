// What the main window pays per paint, against the floor every paint pays (clearing the back
// buffer and copying it to the screen): a game frame of the busiest puzzle, and an intro frame
// with the textured band of the ring (s = 200). Run: build/bench/screen/bench_screen; the ratios
// are printed last.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/game_frame.h"
#include "bench/per_call.h"
#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "engine/game_window.h"
#include "engine/move_rules.h"
#include "platform/clock/clock.h"
#include "platform/gdi/gdi.h"
#include "ui/back_buffer.h"
#include "ui/board_view.h"
#include "ui/intro.h"

namespace {

using bench::Floor;
using bench::GameFrame;
using bench::Screen;
using bench::SetUpGame;

DWORD benchNow = 0;
DWORD BenchTicks() {
    return benchNow;
}

// The intro with its tables made by the still frame, held at t = 40 steps of 60 ms (s = 200).
void SetUpIntro() {
    SetTickSource(BenchTicks);
    gameState.introStartTick = 0;
    gameState.introFrame = 1;
    benchNow = 60;
    DrawIntroFrame();  // the still frame
    benchNow = 40 * 60;
}

void IntroFrame(Screen& screen) {
    gameState.introFrame = 100;
    DrawIntroFrame();
    screen.Present();
}

void BM_Floor(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) Floor(screen);
}
BENCHMARK(BM_Floor);

void BM_GameFrame(benchmark::State& state) {
    Screen screen;
    SetUpGame();
    for (auto _ : state) GameFrame(screen);
}
BENCHMARK(BM_GameFrame);

void BM_IntroBandFrame(benchmark::State& state) {
    Screen screen;
    SetUpIntro();
    for (auto _ : state) IntroFrame(screen);
}
BENCHMARK(BM_IntroBandFrame);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Screen screen;
    double floor = bench::MicrosPerCall(Floor, screen);
    SetUpGame();
    double game = bench::MicrosPerCall(GameFrame, screen);
    SetUpIntro();
    double intro = bench::MicrosPerCall(IntroFrame, screen);
    std::printf("floor %.1f us\n", floor);
    std::printf("game frame %.1f us, %.2f x floor (target 3 or less)\n", game, game / floor);
    std::printf("intro band frame %.1f us, %.2f x floor (target 4 or less)\n", intro,
                intro / floor);
    return 0;
}
