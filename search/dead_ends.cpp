#include "search/dead_ends.h"

#include "engine/board_record.h"

namespace {

// Sides by number: 0 north, 1 south, 2 east, 3 west, as the box letters are listed.
constexpr int kOpposite[4] = {1, 0, 3, 2};
constexpr int kStep[4][2] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};

// The boxes of a board: for each cell the open side of its small and of its big box, -1 for none.
struct Boxes {
    int width, height;
    int small[kLargestSide * kLargestSide];
    int big[kLargestSide * kLargestSide];
    int red, blue, pusher;

    Boxes(const char* record, int w, int h) : width(w), height(h) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const CellParts& parts =
                    kCellLayers.parts[static_cast<unsigned char>(record[CellIndex(w, x, y)])];
                small[y * w + x] = LetterIndex(kSmallBoxLetters, parts.smallBox);
                big[y * w + x] = LetterIndex(kBigBoxLetters, parts.bigBox);
            }
        }
        const int s = SuffixIndex(w, h);
        red = Digit(record[3]) * w + Digit(record[2]);
        blue = Digit(record[5]) * w + Digit(record[4]);
        pusher = Digit(record[s + 1]) * w + Digit(record[s]);
    }

    // The cell beside `cell` on side `side`, or -1 beyond the board.
    int Beside(int cell, int side) const {
        const int x = cell % width + kStep[side][0], y = cell / width + kStep[side][1];
        return (x < 0 || y < 0 || x >= width || y >= height) ? -1 : y * width + x;
    }
};

// The cells whose contents can never change: the pusher can never get in to move their boxes,
// and no box can ever come in. Found as the largest set in which each cell's only way in is off
// the board or through another cell of the set, or leads nowhere the set leaves open.
bool RedOrBlueFrozen(const Boxes& b) {
    const int cells = b.width * b.height;
    bool frozen[kLargestSide * kLargestSide];
    for (int c = 0; c < cells; ++c) frozen[c] = c != b.pusher && (b.small[c] >= 0 || b.big[c] >= 0);
    for (bool changed = true; changed;) {
        changed = false;
        for (int c = 0; c < cells; ++c) {
            if (!frozen[c]) continue;
            const bool nested = b.small[c] >= 0 && b.big[c] >= 0;
            // The pusher enters a cell only through every opening of its boxes at once.
            if (nested && b.small[c] != b.big[c]) continue;
            const int open = b.big[c] >= 0 ? b.big[c] : b.small[c];
            const int way = b.Beside(c, open);
            if (way < 0 || frozen[way]) continue;
            // A big box alone may take a small one in; otherwise the boxes must have somewhere
            // to go: a cell that may empty, or for a small box alone a big box open toward it.
            bool moves = b.big[c] >= 0 && !nested;
            for (int side = 0; side < 4 && !moves; ++side) {
                if (side == open) continue;
                const int to = b.Beside(c, side);
                if (to < 0) continue;
                const bool intoBig = !nested && b.small[to] < 0 && b.big[to] == kOpposite[side];
                moves = !frozen[to] || intoBig;
            }
            if (moves) {
                frozen[c] = false;
                changed = true;
            }
        }
    }
    return frozen[b.red] || frozen[b.blue];
}

}  // namespace

bool ShutOut(const char* record, int width, int height) {
    const int s = SuffixIndex(width, height);
    const int redX = Digit(record[2]), redY = Digit(record[3]);
    const int blueX = Digit(record[4]), blueY = Digit(record[5]);
    if (redX == blueX && redY == blueY) return false;
    const CellParts& red =
        kCellLayers.parts[static_cast<unsigned char>(record[CellIndex(width, redX, redY)])];
    const CellParts& blue =
        kCellLayers.parts[static_cast<unsigned char>(record[CellIndex(width, blueX, blueY)])];
    const bool pusherInBlue = Digit(record[s]) == blueX && Digit(record[s + 1]) == blueY;
    // Another small box in the blue one leaves it only dragged out by the pusher inside both,
    // through the blue box's opening, which its own opening must not face. Until it leaves, the
    // red box cannot come in.
    if (blue.smallBox != '-' && !(pusherInBlue && blue.smallBox - 'a' + 'A' != blue.bigBox))
        return true;
    // A small box open on the side its big box is open on never leaves it: the pusher can only
    // walk out of both at once.
    return red.bigBox != '-' && red.bigBox == red.smallBox - 'a' + 'A';
}

bool ProvedNoWayOut(const char* record, int width, int height) {
    if (IsSolved(record)) return false;
    return ShutOut(record, width, height) || RedOrBlueFrozen(Boxes(record, width, height));
}
