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
//   velquin-solve --generate [--seed S] [--size WxH] [--count N] [--min-moves M]
//                                N new puzzles as the lines of a pack, each followed by a comment
//                                with its proved shortest length and the size of its space
#include <getopt.h>
#include <unistd.h>

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
#include "search/generator.h"
#include "search/hints.h"
#include "search/space.h"
#include "ui/screen_layout.h"

namespace {

int Usage() {
    std::fprintf(
        stderr,
        "usage: velquin-solve [--taps] N | --all | --from RECORD | --space N [--samples K]\n"
        "       velquin-solve --generate [--seed S] [--size WxH] [--count N] "
        "[--min-moves M]\n"
        "  (N a puzzle number, 0 to %d; RECORD a board record, with or without its "
        "pusher suffix)\n"
        "  --generate prints N new puzzles (16 unless told) of a W by H board (5x4 "
        "unless told;\n"
        "  1 to 6 each, (W + 1) x H at most 41) as the lines of a pack, shortest first, "
        "each\n"
        "  needing at least M moves (1 unless told); the same seed S (1 unless told) "
        "gives the\n"
        "  same puzzles\n",
        kPuzzleCount - 1);
    return 2;
}

constexpr int kMostGenerated = 1000;
constexpr int kMostMoves = 65534;
// Climbs made for each puzzle asked for before the generator gives up.
constexpr std::size_t kClimbsPerPuzzle = 200;

// A shortest solution, hint after hint; nothing when the start has no way out.
std::optional<std::vector<HintCell>> Solve(const char* start) {
    auto hints = PuzzleHints::For(start, BuiltInHints());
    if (!hints) return std::nullopt;
    bool known = true;
    return hints->Way(start, &known);
}

std::optional<std::vector<HintCell>> SolvePuzzle(int number, char* start) {
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
    for (const HintCell& c : *solution) std::printf(" %d,%d", c.x, c.y);
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
    for (const HintCell& c : *solution)
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

// A board size written WxH; false after saying what is wrong with it.
bool ReadSize(const char* text, GeneratorOptions* options) {
    const std::string_view size = text;
    const std::size_t x = size.find('x');
    int width = 0, height = 0;
    if (x == std::string_view::npos || !ParseInteger(size.substr(0, x), 1, 9, &width) ||
        !ParseInteger(size.substr(x + 1), 1, 9, &height)) {
        std::fprintf(stderr, "velquin-solve: --size %s: give the board as WxH, as in 5x4\n", text);
        return false;
    }
    if (!GeneratorTakesSize(width, height)) {
        if (width > kLargestSide || height > kLargestSide)
            std::fprintf(stderr, "velquin-solve: --size %s: a side is at most %d cells\n", text,
                         kLargestSide);
        else if (width * height < 3)
            std::fprintf(stderr,
                         "velquin-solve: --size %s: a board of %d cells has no room for the "
                         "pusher and two boxes\n",
                         text, width * height);
        else
            std::fprintf(stderr,
                         "velquin-solve: --size %s: the board's record does not fit: (W + 1) x H "
                         "is at most 41, so every board up to 6 by 6 but 6 by 6 itself\n",
                         text);
        return false;
    }
    options->width = width;
    options->height = height;
    return true;
}

// A generator setting; false after saying what is wrong with it.
bool ReadSetting(int option, const char* text, GeneratorOptions* options) {
    switch (option) {
        case 'S':
            if (ParseInteger<std::uint64_t>(text, 0, UINT64_MAX, &options->seed)) return true;
            std::fprintf(stderr, "velquin-solve: --seed %s: a whole number from 0 to %llu\n", text,
                         static_cast<unsigned long long>(UINT64_MAX));
            return false;
        case 'z':
            return ReadSize(text, options);
        case 'c':
            if (ParseInteger(text, 1, kMostGenerated, &options->count)) return true;
            std::fprintf(stderr, "velquin-solve: --count %s: a number of puzzles from 1 to %d\n",
                         text, kMostGenerated);
            return false;
        default:
            if (ParseInteger(text, 1, kMostMoves, &options->minMoves)) return true;
            std::fprintf(stderr, "velquin-solve: --min-moves %s: a number of moves from 1 to %d\n",
                         text, kMostMoves);
            return false;
    }
}

// The puzzles as the lines of a pack, each with a comment saying how long it is and how large its
// space; 1 when the generator gave up before finding them all.
int Generate(GeneratorOptions options) {
    options.mostClimbs = kClimbsPerPuzzle * static_cast<std::size_t>(options.count);
    // On a terminal, a line that counts the climbs made while the search goes on.
    const bool watched = isatty(STDERR_FILENO) != 0;
    const auto result = GeneratePuzzles(options, [&](std::size_t climbs, std::size_t found) {
        if (watched)
            std::fprintf(stderr, "\r%zu of %d puzzles, %zu climbs", found, options.count, climbs);
    });
    if (watched) std::fprintf(stderr, "\n");
    for (const GeneratedPuzzle& puzzle : result.puzzles)
        std::printf("%s\n# %d moves, the fewest there are; %zu positions, %zu with no way out\n",
                    puzzle.text.c_str(), puzzle.moves, puzzle.positions, puzzle.dead);
    if (static_cast<int>(result.puzzles.size()) == options.count) return 0;
    std::fprintf(stderr,
                 "velquin-solve: only %zu of %d puzzles of at least %d move%s on a %d by %d "
                 "board after %zu climbs\n",
                 result.puzzles.size(), options.count, options.minMoves,
                 options.minMoves == 1 ? "" : "s", options.width, options.height, result.climbs);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    static const option kOptions[] = {
        {"all", no_argument, nullptr, 'a'},
        {"taps", required_argument, nullptr, 't'},
        {"from", required_argument, nullptr, 'f'},
        {"space", required_argument, nullptr, 's'},
        {"samples", required_argument, nullptr, 'k'},
        {"generate", no_argument, nullptr, 'g'},
        {"seed", required_argument, nullptr, 'S'},
        {"size", required_argument, nullptr, 'z'},
        {"count", required_argument, nullptr, 'c'},
        {"min-moves", required_argument, nullptr, 'm'},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;
    int chosen = 0, number = -1, samples = 0;
    const char* record = nullptr;
    char action = 0;
    GeneratorOptions generator;
    generator.seed = 1;
    generator.count = kPuzzleCount;
    bool tuned = false;  // a generator setting was given
    for (int c; (c = getopt_long(argc, argv, "+", kOptions, nullptr)) != -1;) {
        if (c == 'k') {
            if (samples > 0 || !ParseInteger(optarg, 1, 100000, &samples)) return Usage();
            continue;
        }
        if (c == 'S' || c == 'z' || c == 'c' || c == 'm') {
            if (!ReadSetting(c, optarg, &generator)) return 2;
            tuned = true;
            continue;
        }
        if ((c != 'a' && c != 't' && c != 'f' && c != 's' && c != 'g') || ++chosen > 1)
            return Usage();
        action = static_cast<char>(c);
        if (c == 'f') record = optarg;
        if ((c == 't' || c == 's') && !ReadNumber(optarg, &number)) return Usage();
    }
    const int operands = argc - optind;
    if (chosen == 0) {
        if (tuned) return Usage();
        if (operands != 1 || !ReadNumber(argv[optind], &number)) return Usage();
        return PrintSolution(number) ? 0 : 1;
    }
    if (operands != 0 || (samples > 0 && action != 's') || (tuned && action != 'g')) return Usage();
    switch (action) {
        case 'g':
            return Generate(generator);
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
