#include "search/idle_boxes.h"

#include "engine/board_record.h"
#include "engine/move_rules.h"
#include "search/pusher_steps.h"

namespace {

constexpr int kMostCells = kLargestSide * kLargestSide;

CellParts PartsAt(const char* record, int width, int x, int y) {
    CellParts parts{record[CellIndex(width, x, y)], '-', '-', '-'};
    ExpandCell(&parts);
    return parts;
}

}  // namespace

std::vector<StartBox> IdleBoxes(const Space& space) {
    const int width = space.Codec().Width(), height = space.Codec().Height();
    const int s = SuffixIndex(width, height);
    const std::uint16_t length = space.Distance(0);
    // Which sizes of box a step of a shortest solution carries out of each cell.
    bool movedSmall[kMostCells] = {}, movedBig[kMostCells] = {};
    char here[kSlotSize], next[kSlotSize];
    for (std::size_t n = 0; length != Space::kNoWayOut && n < space.Size(); ++n) {
        const std::uint16_t distance = space.Distance(n);
        if (distance == Space::kNoWayOut || distance == 0 || space.Depth(n) + distance != length)
            continue;
        space.Record(n, here);
        const int px = Digit(here[s]), py = Digit(here[s + 1]);
        const CellParts before = PartsAt(here, width, px, py);
        if (before.smallBox == '-' && before.bigBox == '-') continue;  // a walk moves no box
        ForEachStep(here, width, height, next, [&](int, int, int) {
            const auto reached = space.Find(next);
            if (!reached || space.Distance(*reached) + 1 != distance) return;
            const CellParts after = PartsAt(next, width, px, py);
            const int cell = py * width + px;
            if (before.smallBox != '-' && after.smallBox == '-') movedSmall[cell] = true;
            if (before.bigBox != '-' && after.bigBox == '-') movedBig[cell] = true;
        });
    }
    std::vector<StartBox> idle;
    space.Record(0, here);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const CellParts parts = PartsAt(here, width, x, y);
            if (parts.smallBox != '-' && !movedSmall[y * width + x]) idle.push_back({x, y, false});
            if (parts.bigBox != '-' && !movedBig[y * width + x]) idle.push_back({x, y, true});
        }
    }
    return idle;
}
