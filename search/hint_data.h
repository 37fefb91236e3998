// The tables the build works out for the built-in puzzles, kept together in one block of bytes:
// for each, what it is, the start it was worked out from, and its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum HintDataKind : std::uint8_t {
    HintDataTable = 1,  // every position's hint (hint_table.h)
    HintDataBound = 2,  // the lighter game's distances (relaxed_board.h)
};

struct HintDataEntry {
    HintDataKind kind;
    std::string start;  // the puzzle's first position, suffix included
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> PackHintData(const std::vector<HintDataEntry>& entries);

struct HintDataView {
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
};

// The bytes of the entry of `kind` worked out from `start`, if the block holds one.
std::optional<HintDataView> FindHintData(HintDataView data, HintDataKind kind, const char* start);
