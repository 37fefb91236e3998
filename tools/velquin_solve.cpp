// velquin-solve: shortest solutions, hints and whole spaces of the game's puzzles.
//   velquin-solve N              puzzle N (0..15): its move count, then the cells to tap, as x,y
//   velquin-solve --all          every puzzle
//   velquin-solve --taps N       puzzle N's solution as script lines: a tap at each cell's centre
//   velquin-solve --from RECORD  the distance from a position to the nearest solved one, and the
//                                cell of a first step on a shortest way; or "no way out"
//   velquin-solve --space N      puzzle N's whole space: positions, solved ones, those with no way
//                                out, the largest distance, and how long the count took
//        [--samples K]           then its farthest positions from a solved one, and K positions
//                                drawn at random with a way out and K without, each with its
//                                distance (-1: no way out), for measuring the hints
#include <getopt.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/board_record.h"
#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "engine/move_rules.h"
#include "engine/puzzle_pack.h"
#include "platform/crt/parse_integer.h"
#include "search/built_in_hints.h"
#include "search/hints.h"
#include "search/space.h"
#include "ui/screen_layout.h"

namespace {

int Usage() {
    std::fprintf(
        stderr,
        "usage: velquin-solve [--taps] N | --all | --from RECORD | --space N [--samples K]\n"
        "  (N a puzzle number, 0 to %d; RECORD a board record, with or without its "
        "pusher suffix)\n",
        kPuzzleCount - 1);
    return 2;
}

struct Cell {
    int x, y;
};

// A shortest solution, hint after hint; nothing when the start has no way out.
std::optional<std::vector<Cell>> Solve(const char* start) {
    auto hints = PuzzleHints::For(start, BuiltInHints());
    if (!hints) return std::nullopt;
    const int width = Digit(start[0]), height = Digit(start[1]);
    std::vector<Cell> cells;
    char here[kSlotSize], next[kSlotSize];
    std::memcpy(here, start, kSlotSize);
    for (;;) {
        const HintAnswer hint = hints->Ask(here);
        if (!hint.known || !hint.wayOut) return std::nullopt;
        if (hint.distance == 0) return cells;
        if (StepBoard(here, width, height, hint.moveX, hint.moveY, next) != StepMoved)
            return std::nullopt;
        cells.push_back({hint.moveX, hint.moveY});
        std::memcpy(here, next, kSlotSize);
    }
}

std::optional<std::vector<Cell>> SolvePuzzle(int number, char* start) {
    int width = 0, height = 0;
    StartRecord(number, start, &width, &height);
    return Solve(start);
}

bool PrintSolution(int number) {
    char start[kSlotSize];
    const auto solution = SolvePuzzle(number, start);
    if (!solution) {
        std::printf("puzzle %d: no solution\n", number);
        return false;
    }
    std::printf("puzzle %d: %zu moves\n ", number, solution->size());
    for (const Cell& c : *solution) std::printf(" %d,%d", c.x, c.y);
    std::printf("\n");
    return true;
}

// Where the game draws the puzzle's board, so that each tap lands in the middle of its cell.
bool PrintTaps(int number) {
    char start[kSlotSize];
    const auto solution = SolvePuzzle(number, start);
    if (!solution) {
        std::fprintf(stderr, "velquin-solve: puzzle %d has no solution\n", number);
        return false;
    }
    const int width = Digit(start[0]), height = Digit(start[1]);
    const int x0 = BoardOriginX(width) + kCellSize / 2, y0 = BoardOriginY(height) + kCellSize / 2;
    std::printf("# puzzle %d in %zu moves\n", number, solution->size());
    for (const Cell& c : *solution)
        std::printf("tap %d %d\n", x0 + kCellPitch * c.x, y0 + kCellPitch * c.y);
    return true;
}

// A position as the game holds it, suffix included, from a record with or without its suffix.
bool ReadPosition(const char* text, char* slot) {
    const std::string problem = RecordProblem(text);
    if (!problem.empty()) {
        std::fprintf(stderr, "velquin-solve: %s: %s\n", text, problem.c_str());
        return false;
    }
    int width = 0, height = 0;
    if (!CompleteRecord(text, slot, &width, &height)) return false;
    // A record that came with its suffix keeps it: the pusher may stand inside a box.
    if (std::strlen(text) == std::strlen(slot)) std::strcpy(slot, text);
    return true;
}

int PrintHint(const char* text) {
    char position[kSlotSize];
    if (!ReadPosition(text, position)) return 2;
    auto hints = PuzzleHints::For(position, BuiltInHints());
    if (!hints) return 2;
    const HintAnswer hint = hints->Ask(position);
    if (!hint.known) {
        std::fprintf(stderr, "velquin-solve: %s: too large a search to answer\n", text);
        return 1;
    }
    if (!hint.wayOut)
        std::printf("no way out\n");
    else if (hint.distance == 0)
        std::printf("distance 0: solved\n");
    else
        std::printf("distance %d, next cell %d,%d\n", hint.distance, hint.moveX, hint.moveY);
    return 0;
}

int PrintSpace(int number, int samples) {
    char start[kSlotSize];
    int width = 0, height = 0;
    StartRecord(number, start, &width, &height);
    const auto began = std::chrono::steady_clock::now();
    const auto space = Space::Explore(start, SIZE_MAX);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    if (!space) {
        std::fprintf(stderr, "velquin-solve: puzzle %d: its space cannot be counted\n", number);
        return 1;
    }
    std::printf(
        "puzzle %d: %zu positions, %zu solved, %zu with no way out (%.1f %%), largest distance "
        "%d; counted in %.2f s\n",
        number, space->Size(), space->Solved(), space->Dead(),
        100.0 * static_cast<double>(space->Dead()) / static_cast<double>(space->Size()),
        space->Largest(), seconds);
    for (const Space::Sample& sample : space->Samples(samples))
        std::printf("%s %d\n", sample.record.c_str(), sample.distance);
    return 0;
}

bool ReadNumber(const char* text, int* number) {
    return ParseInteger(text, 0, kPuzzleCount - 1, number);
}

}  // namespace

int main(int argc, char** argv) {
    static const option kOptions[] = {
        {"all", no_argument, nullptr, 'a'},           {"taps", required_argument, nullptr, 't'},
        {"from", required_argument, nullptr, 'f'},    {"space", required_argument, nullptr, 's'},
        {"samples", required_argument, nullptr, 'k'}, {nullptr, 0, nullptr, 0},
    };
    opterr = 0;
    int chosen = 0, number = -1, samples = 0;
    const char* record = nullptr;
    char action = 0;
    for (int c; (c = getopt_long(argc, argv, "+", kOptions, nullptr)) != -1;) {
        if (c == 'k') {
            if (samples > 0 || !ParseInteger(optarg, 1, 100000, &samples)) return Usage();
            continue;
        }
        if ((c != 'a' && c != 't' && c != 'f' && c != 's') || ++chosen > 1) return Usage();
        action = static_cast<char>(c);
        if (c == 'f') record = optarg;
        if ((c == 't' || c == 's') && !ReadNumber(optarg, &number)) return Usage();
    }
    const int operands = argc - optind;
    if (chosen == 0) {
        if (operands != 1 || !ReadNumber(argv[optind], &number)) return Usage();
        return PrintSolution(number) ? 0 : 1;
    }
    if (operands != 0 || (samples > 0 && action != 's')) return Usage();
    switch (action) {
        case 'a': {
            bool solved = true;
            for (int i = 0; i < kPuzzleCount; ++i) solved = PrintSolution(i) && solved;
            return solved ? 0 : 1;
        }
        case 't':
            return PrintTaps(number) ? 0 : 1;
        case 'f':
            return PrintHint(record);
        default:
            return PrintSpace(number, samples);
    }
}
