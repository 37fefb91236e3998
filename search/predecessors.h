// The steps that lead to a position: what a search from the solved positions backward needs.
#pragma once

#include "engine/game_state.h"

// Writes into `out` every position whose step toward the pusher's cell of `record` gives
// `record` (a board of `width` by `height`), and returns how many there are. Each is checked with
// the game's own step, so the list is exact. Solved positions, where the game stops, are left out.
constexpr int kMostPredecessors = 12;
int Predecessors(const char* record, int width, int height, char (*out)[kSlotSize]);
