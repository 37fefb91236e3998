// The best next move and the truth about dead ends, for the positions of one puzzle: an A* search
// over the game's own step, with a lower bound that never overestimates, and the positions proved
// to have no way out left behind. What one question proves is kept for the next.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "search/board_codec.h"
#include "search/key_set.h"

struct HintAnswer {
    // False only for a question too large to answer within the memory a search may take, which
    // no position of the built-in puzzles asks.
    bool known = true;
    bool wayOut = false;
    int distance = 0;  // with a way out: steps to the nearest solved position
    int moveX = -1;    // with a way out and a distance above 0: the cell of a first step on a
    int moveY = -1;    // shortest way
};

// A cell of the board, as the pusher steps onto it.
struct HintCell {
    int x, y;
    bool operator==(const HintCell&) const = default;
};

// A lower bound of a position's distance to a solved position, or -1 when the position is proved
// to have no way out.
using LowerBound = std::function<int(const char* record)>;

class HintSearch {
  public:
    // `codec` is the puzzle's board; `bound` may be empty, which bounds every position by 0.
    HintSearch(const BoardCodec& codec, LowerBound bound);

    // Exact: a move on a shortest way, or no way out (or, past the memory a search may take, not
    // known). `record` is a position of the board.
    HintAnswer Ask(const char* record);
    // Forgets what earlier questions proved: the next one is answered afresh.
    void Forget();
    // The positions the last question examined (its cost).
    std::size_t Examined() const { return examined_; }

  private:
    // What the search knows of a position besides its key, kept in the same order.
    struct Node {
        std::uint32_t parent;
        std::uint16_t steps;
        std::uint8_t bound;
        bool closed;
    };

    HintAnswer Search(const char* record);
    // The answer to a question that outgrew the memory allowed; that memory is given back.
    HintAnswer Unanswered();
    // The answer for a position on the last way found, if it is one.
    std::optional<HintAnswer> OnPath(const PositionKey& key) const;
    void RememberDead();
    void RememberPath(std::uint32_t solved);

    BoardCodec codec_;
    LowerBound bound_;
    KeySet positions_;
    std::vector<Node> nodes_;
    std::vector<std::vector<std::uint32_t>> open_;  // node numbers by steps + bound
    // Positions proved to have no way out, kept between questions.
    KeySet dead_;
    // The last shortest way found, position by position.
    std::vector<PositionKey> path_;
    std::size_t examined_ = 0;
};
