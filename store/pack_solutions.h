// Each puzzle's solution, kept beside a pack's statistics in its key as the string values
// "solution00" to "solution15" (the pusher's steps, one compass letter each), so that the proof
// that every puzzle of a pack has a solution is searched for once and only replayed afterwards.
#pragma once

#include <string>

#include "engine/game_state.h"

// Reads them from the settings key in use (see UseSettingsSubKey); one that is missing, no
// string or implausibly long is left empty.
void ReadSolutions(std::string (&solutions)[kPuzzleCount]);

// Writes the ones that are not empty into the settings key in use, creating it if need be; 0 on
// success, otherwise the registry's failure code.
long WriteSolutions(const std::string (&solutions)[kPuzzleCount]);
