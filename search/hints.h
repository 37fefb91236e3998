// Hints for the puzzle being played: from the table the build worked out for it when there is one,
// otherwise by a search bounded by the puzzle's lighter game. Nothing is computed before the first
// question.
#pragma once

#include <memory>
#include <optional>

#include "engine/game_state.h"
#include "search/board_codec.h"
#include "search/hint_data.h"
#include "search/hint_search.h"
#include "search/hint_table.h"

struct UndoCount {
    bool known = true;         // false when a search was too large to tell
    std::optional<int> undos;  // nothing when no position of the history has a way out
};

class PuzzleHints {
  public:
    // `start` is the puzzle's first position, suffix included; `data` the build's tables, which
    // may hold none for it. Nothing when the start is not a position the game can hold.
    static std::unique_ptr<PuzzleHints> For(const char* start, HintDataView data);

    const char* Start() const { return start_; }
    // Exact, for a position reachable from the start: a move on a shortest way, or no way out.
    HintAnswer Ask(const char* record);
    // A whole shortest way from a position reachable from the start: the cells the pusher steps
    // onto, none when it is solved; nothing when it has no way out, and `known` false when a
    // search was too large to tell. From a table, one walk along its steps, not a question each.
    std::optional<std::vector<HintCell>> Way(const char* record, bool* known);
    // The fewest undos from slot `current` of `slots` (a history whose every slot follows from the
    // one before by one move) back to a position with a way out.
    UndoCount UndosToWayOut(const char (*slots)[kSlotSize], int current);
    // Forgets what earlier questions proved, keeping the tables: the next question is answered
    // afresh (for measuring).
    void ForgetAnswers();

  private:
    PuzzleHints(const char* start, const BoardCodec& codec);
    void Prepare();
    std::optional<bool> WayOut(const char* record);

    char start_[kSlotSize] = {};
    BoardCodec codec_;
    HintDataView data_;
    bool prepared_ = false;
    std::optional<HintTable> table_;
    std::unique_ptr<HintSearch> search_;
};
