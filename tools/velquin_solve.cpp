// velquin-solve: the shortest solution of a built-in puzzle.
//   velquin-solve N         puzzle N (0..15): its move count, then the cells to tap, as x,y
//   velquin-solve --all     every puzzle
//   velquin-solve --taps N  puzzle N's solution as script lines: a tap at each cell's centre
#include <getopt.h>

#include <cstdio>

#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "platform/crt/parse_integer.h"
#include "search/solver.h"
#include "ui/screen_layout.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: velquin-solve [--taps] N (a puzzle number, 0 to %d) | --all\n",
                 kPuzzleCount - 1);
    return 2;
}

bool PrintSolution(int number) {
    const auto solution = SolvePuzzle(number);
    if (!solution) {
        std::printf("puzzle %d: no solution\n", number);
        return false;
    }
    std::printf("puzzle %d: %zu moves\n ", number, solution->size());
    for (const Target& t : *solution) std::printf(" %d,%d", t.x, t.y);
    std::printf("\n");
    return true;
}

// Where the game draws the puzzle's board, so that each tap lands in the middle of its cell.
bool PrintTaps(int number) {
    const auto solution = SolvePuzzle(number);
    if (!solution) {
        std::fprintf(stderr, "velquin-solve: puzzle %d has no solution\n", number);
        return false;
    }
    char start[kSlotSize];
    int width = 0, height = 0;
    StartRecord(number, start, &width, &height);
    const int x0 = BoardOriginX(width) + kCellSize / 2, y0 = BoardOriginY(height) + kCellSize / 2;
    std::printf("# puzzle %d in %zu moves\n", number, solution->size());
    for (const Target& t : *solution)
        std::printf("tap %d %d\n", x0 + kCellPitch * t.x, y0 + kCellPitch * t.y);
    return true;
}

bool ReadNumber(const char* text, int* number) {
    return ParseInteger(text, 0, kPuzzleCount - 1, number);
}

}  // namespace

int main(int argc, char** argv) {
    static const option kOptions[] = {
        {"all", no_argument, nullptr, 'a'},
        {"taps", required_argument, nullptr, 't'},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;
    bool all = false;
    int taps = -1;
    for (int c; (c = getopt_long(argc, argv, "+", kOptions, nullptr)) != -1;) {
        if (c == 'a' && !all)
            all = true;
        else if (c != 't' || taps >= 0 || !ReadNumber(optarg, &taps))
            return Usage();
    }
    const int operands = argc - optind;
    int number = 0;
    if (all && taps < 0 && operands == 0) {
        bool solved = true;
        for (int i = 0; i < kPuzzleCount; ++i) solved = PrintSolution(i) && solved;
        return solved ? 0 : 1;
    }
    if (!all && taps >= 0 && operands == 0) return PrintTaps(taps) ? 0 : 1;
    if (!all && taps < 0 && operands == 1 && ReadNumber(argv[optind], &number))
        return PrintSolution(number) ? 0 : 1;
    return Usage();
}
