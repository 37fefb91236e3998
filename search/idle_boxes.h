// Boxes for decoration only: boxes of a puzzle's start that no shortest solution moves.
#pragma once

#include <vector>

#include "search/space.h"

struct StartBox {
    int x, y;
    bool big;  // a big box, or a small one
    bool operator==(const StartBox&) const = default;
};

// The boxes of the start of `space` (its position 0) that no shortest solution moves, west to
// east within each row, rows north to south, a cell's small box before its big one; every box
// when the start has no way out. A step from P to Q lies on a shortest solution exactly when
// Q is one step nearer a solved position than P and P is as far from the start as the shortest
// length less its own distance. A box that such a step carries out of its starting cell is the
// start's own box: while it stays there no other box of its size can be in that cell.
std::vector<StartBox> IdleBoxes(const Space& space);
