#include "search/predecessors.h"

#include <cstring>

#include "engine/board_record.h"
#include "engine/move_rules.h"
#include "search/pusher_steps.h"

namespace {

void Write(char* slot, int width, int x, int y, CellParts parts) {
    FoldCell(&parts);
    slot[CellIndex(width, x, y)] = parts.code;
}

void MoveMark(char* slot, int at, int fromX, int fromY, int toX, int toY) {
    if (Digit(slot[at]) == fromX && Digit(slot[at + 1]) == fromY) {
        slot[at] = DigitChar(toX);
        slot[at + 1] = DigitChar(toY);
    }
}

}  // namespace

int Predecessors(const char* record, int width, int height, char (*out)[kSlotSize]) {
    const int s = SuffixIndex(width, height);
    const int tx = Digit(record[s]), ty = Digit(record[s + 1]);
    CellParts target{record[CellIndex(width, tx, ty)], '-', '-', '-'};
    if (ExpandCell(&target) != 0) return 0;
    target.pusher = '-';
    int count = 0;
    for (const auto& step : kPusherSteps) {
        const int px = tx - step[0], py = ty - step[1];
        if (px < 0 || py < 0 || px >= width || py >= height) continue;
        CellParts from{record[CellIndex(width, px, py)], '-', '-', '-'};
        if (ExpandCell(&from) != 0) continue;
        // What the step carried from the pusher's old cell: nothing, the small box alone, or the
        // big box with whatever it holds.
        for (int carried = 0; carried < 3; ++carried) {
            CellParts there = target, here = from;
            if (carried == 1) {
                if (there.smallBox == '-' || here.smallBox != '-') continue;
                here.smallBox = there.smallBox;
                there.smallBox = '-';
            } else if (carried == 2) {
                if (there.bigBox == '-' || here.smallBox != '-' || here.bigBox != '-') continue;
                here = there;
                there.smallBox = there.bigBox = '-';
            }
            here.pusher = 'M';
            char* candidate = out[count];
            CopyRecord(record, candidate);
            Write(candidate, width, tx, ty, there);
            Write(candidate, width, px, py, here);
            if (carried == 2) MoveMark(candidate, 4, tx, ty, px, py);
            if (carried != 0) MoveMark(candidate, 2, tx, ty, px, py);
            candidate[s] = DigitChar(px);
            candidate[s + 1] = DigitChar(py);
            if (IsSolved(candidate)) continue;
            char next[kSlotSize];
            if (StepBoard(candidate, width, height, tx, ty, next) == StepMoved &&
                std::strcmp(next, record) == 0)
                ++count;
        }
    }
    return count;
}
