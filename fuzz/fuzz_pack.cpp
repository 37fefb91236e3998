// Any text fed as a pack of puzzles is either refused with a line and a reason, or gives 16
// records that each load as a starting position the game can hold: within a history slot, with
// its pusher suffix naming the one cell that holds the pusher.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/board_record.h"
#include "engine/catalogue.h"
#include "engine/puzzle_pack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static PuzzlePack pack;
    int line = 0;
    std::string reason;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!ParsePack(text, &pack, &line, &reason)) {
        if (line < 1 || reason.empty()) std::abort();
        return 0;
    }
    UsePuzzlePack(&pack);
    for (int i = 0; i < kPuzzleCount; ++i) {
        char slot[kSlotSize];
        int width = 0, height = 0;
        if (!StartRecord(i, slot, &width, &height)) std::abort();
        const int suffix = SuffixIndex(width, height);
        if (std::strlen(slot) != static_cast<std::size_t>(suffix) + 2) std::abort();
        const int x = Digit(slot[suffix]), y = Digit(slot[suffix + 1]);
        if (x < 0 || y < 0 || x >= width || y >= height || slot[CellIndex(width, x, y)] != 'M')
            std::abort();
        if (IsSolved(slot)) std::abort();
    }
    UsePuzzlePack(nullptr);
    return 0;
}
