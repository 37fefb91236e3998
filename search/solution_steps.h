// A solution kept as text: the pusher's steps, one compass letter each (N, S, E or W), checked by
// replaying them through the game's own step rule.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "search/hint_data.h"

// Whether the steps, each taken by the game's own rule from the record `start` (a board of
// `width` by `height`, with its pusher suffix), all move and end in a solved position.
bool StepsSolve(const char* start, int width, int height, std::string_view steps);

// A shortest solution of `start` as steps, hint after hint (from a table of `data` worked out for
// this start when there is one); nothing when no sequence of moves solves it.
std::optional<std::string> ShortestSteps(const char* start, int width, int height,
                                         HintDataView data = {});
