#include "search/solution_steps.h"

#include <cstring>

#include "engine/board_record.h"
#include "engine/game_state.h"
#include "engine/move_rules.h"
#include "search/hints.h"
#include "search/solver.h"

namespace {

struct Direction {
    char letter;
    int dx, dy;
};
constexpr Direction kDirections[] = {{'N', 0, -1}, {'S', 0, 1}, {'E', 1, 0}, {'W', -1, 0}};

}  // namespace

bool StepsSolve(const char* start, int width, int height, std::string_view steps) {
    if (!RecordFits(width, height) || strnlen(start, kSlotSize) >= kSlotSize) return false;
    const int suffix = SuffixIndex(width, height);
    char slots[2][kSlotSize] = {};
    std::strcpy(slots[0], start);
    int at = 0;
    for (char letter : steps) {
        const Direction* d = nullptr;
        for (const Direction& known : kDirections)
            if (known.letter == letter) d = &known;
        if (!d) return false;
        const char* now = slots[at];
        const int x = Digit(now[suffix]) + d->dx, y = Digit(now[suffix + 1]) + d->dy;
        if (StepBoard(now, width, height, x, y, slots[1 - at]) != StepMoved) return false;
        at = 1 - at;
    }
    return IsSolved(slots[at]);
}

namespace {

// The compass letters of the pusher's steps from the start onto each cell in turn.
template <typename Cells>
std::string LettersOf(const char* start, int width, int height, const Cells& cells) {
    const int suffix = SuffixIndex(width, height);
    int x = Digit(start[suffix]), y = Digit(start[suffix + 1]);
    std::string steps;
    for (const auto& cell : cells) {
        for (const Direction& d : kDirections)
            if (cell.x == x + d.dx && cell.y == y + d.dy) steps += d.letter;
        x = cell.x;
        y = cell.y;
    }
    return steps;
}

// A shortest solution by the plain breadth-first search, which takes whatever memory it needs.
std::optional<std::string> PlainSteps(const char* start, int width, int height) {
    const auto path = SolveRecord(start, width, height);
    if (!path) return std::nullopt;
    return LettersOf(start, width, height, *path);
}

}  // namespace

std::optional<std::string> ShortestSteps(const char* start, int width, int height,
                                         HintDataView data) {
    if (!RecordFits(width, height) || strnlen(start, kSlotSize) >= kSlotSize) return std::nullopt;
    auto hints = PuzzleHints::For(start, data);
    if (!hints) return std::nullopt;
    bool known = true;
    const auto way = hints->Way(start, &known);
    // Past the memory a hint's search may take, the plain search takes over.
    if (!known) return PlainSteps(start, width, height);
    if (!way) return std::nullopt;
    return LettersOf(start, width, height, *way);
}
