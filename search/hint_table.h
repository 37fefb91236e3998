// A puzzle's hints worked out in advance from its whole space: for every position reachable from
// its start, one step on a shortest way to a solved position, or no way out. A few bits a position;
// the distance is counted by following the steps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "search/hint_search.h"
#include "search/position_table.h"
#include "search/space.h"

class HintTable {
  public:
    // The table of every position of `space`, as bytes that Load reads back.
    static std::optional<std::vector<std::uint8_t>> Build(const Space& space);
    // `codec` is the board of the space the bytes were built from.
    static std::optional<HintTable> Load(const BoardCodec& codec, const std::uint8_t* bytes,
                                         std::size_t size);

    // The answer for a position reachable from the table's start; nothing when the steps it
    // holds do not lead to a solved position, as they always do for such a position. The
    // distance is the length of the way the table's steps follow: `way`, when given, gets its
    // cells.
    std::optional<HintAnswer> Ask(const char* record, std::vector<HintCell>* way = nullptr) const;
    // Whether a position reachable from the table's start has a way out.
    bool WayOut(const char* record) const;

  private:
    HintTable(const BoardCodec& codec, PositionTable table)
        : codec_(codec), table_(std::move(table)) {}

    BoardCodec codec_;
    PositionTable table_;
};

// The lighter game's distances (see relaxed_board.h), a byte a position, as a lower bound of the
// whole game's: 255 for no way out.
constexpr std::uint32_t kBoundNoWayOut = 255;
std::optional<std::vector<std::uint8_t>> BuildBoundTable(const Space& relaxed);
