// A game-frame paint, the same code natively and in the browser: built by the desktop build
// and by the web build, run by tools/speed.sh in both places. Prints "game frame N us".
#include <cstdio>

#include "bench/game_frame.h"
#include "bench/per_call.h"

int main() {
    bench::Screen screen;
    bench::SetUpGame();
    double us = bench::MicrosPerCall(bench::GameFrame, screen);
    std::printf("game frame %.1f us\n", us);
    return 0;
}
