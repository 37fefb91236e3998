// The H key: one move on a shortest way to a solved position, or, when no way out is left, a note
// under the board saying how many undos lead back to a position that has one.
#pragma once

#include <functional>
#include <optional>

struct HintReport {
    bool wayOut = false;
    int distance = 0;          // with a way out: steps to the nearest solved position
    int x = -1, y = -1;        // with a way out: the cell the move steps into
    std::optional<int> undos;  // without: the fewest undos back to a way out, if one is kept
};

// Told of every hint, before its move (the headless program prints them).
void SetHintObserver(std::function<void(const HintReport&)> observer);

// The hint for the game in play, worked out from the game state; nothing where H does nothing:
// the intro, the tutorial, a solved puzzle, no puzzle loaded. A hint without a way out leaves its
// note standing.
std::optional<HintReport> AskHint();

// The note under the board, in the game's language, while it stands: until the next move, undo,
// redo, restart or puzzle change. Nothing otherwise.
const wchar_t* NoWayOutNote();
// A restart ends the note even when it shows the same position again.
void ForgetNoWayOut();
