// Shortest solutions by breadth-first search over the game's own step rule.
#pragma once

#include <optional>
#include <vector>

struct Target {
    int x, y;
};

// One shortest list of target cells that takes the record from `start` (a board of `width` by
// `height`) to a solved position; nothing when no sequence of moves solves it. An already solved
// start gives an empty list.
std::optional<std::vector<Target>> SolveRecord(const char* start, int width, int height);

// The same for the starting position of built-in puzzle `number`.
std::optional<std::vector<Target>> SolvePuzzle(int number);
