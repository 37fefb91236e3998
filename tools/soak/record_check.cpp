#include "tools/soak/record_check.h"

#include <cstring>

namespace {

bool No(std::string* why, const std::string& what) {
    *why = what;
    return false;
}

bool OnBoard(int x, int y, int width, int height) {
    return x >= 0 && y >= 0 && x < width && y < height;
}

}  // namespace

bool RecordWellFormed(const char* record, std::string* why) {
    if (memchr(record, '\0', kSlotSize) == nullptr) return No(why, "no zero byte in the slot");
    const int length = static_cast<int>(std::strlen(record));
    if (length < 6) return No(why, "shorter than its header");
    const int width = Digit(record[0]), height = Digit(record[1]);
    if (!RecordFits(width, height)) return No(why, "board size out of range");
    const int s = SuffixIndex(width, height);
    if (length != s + 2) return No(why, "length does not match the board size");
    for (int y = 0; y < height; ++y)
        if (record[CellIndex(width, width, y)] != ';') return No(why, "row separator missing");

    const int px = Digit(record[s]), py = Digit(record[s + 1]);
    if (!OnBoard(px, py, width, height)) return No(why, "the pusher is off the board");
    int shownPushers = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            CellParts parts{record[CellIndex(width, x, y)], '-', '-', '-'};
            if (ExpandCell(&parts) != 0) return No(why, "a character that is no cell code");
            if (parts.pusher == 'M') {
                ++shownPushers;
                if (x != px || y != py) return No(why, "a pusher where the suffix has none");
            }
        }
    }
    if (shownPushers > 1) return No(why, "more than one pusher");

    const int rx = Digit(record[2]), ry = Digit(record[3]);
    const int bx = Digit(record[4]), by = Digit(record[5]);
    if (!OnBoard(rx, ry, width, height) || !OnBoard(bx, by, width, height))
        return No(why, "a coloured box is off the board");
    CellParts red{record[CellIndex(width, rx, ry)], '-', '-', '-'};
    CellParts blue{record[CellIndex(width, bx, by)], '-', '-', '-'};
    ExpandCell(&red);
    ExpandCell(&blue);
    if (red.smallBox == '-') return No(why, "the red box's cell holds no small box");
    if (blue.bigBox == '-') return No(why, "the blue box's cell holds no big box");
    return true;
}
