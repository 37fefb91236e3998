// The pusher's four steps from a position, as the searches walk them.
#pragma once

#include "engine/board_record.h"
#include "engine/move_rules.h"

// North, south, east and west: the hint tables number a step by its place here.
inline constexpr int kPusherSteps[4][2] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};

// For each side the pusher of `record` (a board of width by height with its pusher suffix) can
// step to, calls visit(side, x, y) with `next` holding the record after that step: (x, y) is the
// cell stepped onto, `side` its place in kPusherSteps.
template <typename Visit>
void ForEachStep(const char* record, int width, int height, char* next, Visit&& visit) {
    const int s = SuffixIndex(width, height);
    const int px = Digit(record[s]), py = Digit(record[s + 1]);
    for (int side = 0; side < 4; ++side) {
        const int x = px + kPusherSteps[side][0], y = py + kPusherSteps[side][1];
        if (x < 0 || y < 0 || x >= width || y >= height) continue;
        if (StepBoard(record, width, height, x, y, next) != StepMoved) continue;
        visit(side, x, y);
    }
}
