// velquin-solve: the shortest solution of a built-in puzzle.
//   velquin-solve N      puzzle N (0..15)
//   velquin-solve --all  every puzzle
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/game_state.h"
#include "tools/solver/solver.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: velquin-solve N (a puzzle number, 0 to %d) | --all\n",
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Usage();
    if (std::strcmp(argv[1], "--all") == 0) {
        bool all = true;
        for (int i = 0; i < kPuzzleCount; ++i) all = PrintSolution(i) && all;
        return all ? 0 : 1;
    }
    char* end = nullptr;
    const long number = std::strtol(argv[1], &end, 10);
    if (end == argv[1] || *end != '\0' || number < 0 || number >= kPuzzleCount) return Usage();
    return PrintSolution(static_cast<int>(number)) ? 0 : 1;
}
