#include "search/relaxed_board.h"

#include <cstring>

#include "engine/board_record.h"
#include "engine/game_state.h"

namespace {

// Each cell code with its small box taken away.
struct WithoutSmallBox {
    char code[256] = {};
    constexpr WithoutSmallBox() {
        for (int c = 0; c < 256; ++c) {
            CellParts parts = kCellLayers.parts[c];
            if (parts.code == 0) continue;
            parts.smallBox = '-';
            code[c] = parts.bigBox != '-' ? parts.bigBox : parts.pusher;
        }
    }
};
constexpr WithoutSmallBox kWithoutSmallBox;

}  // namespace

RelaxedBoard::RelaxedBoard(const char* start) : width_(Digit(start[0])), height_(Digit(start[1])) {
    const int s = SuffixIndex(width_, height_);
    const int pusher = Digit(start[s + 1]) * width_ + Digit(start[s]);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const CellParts& parts =
                kCellLayers.parts[static_cast<unsigned char>(start[CellIndex(width_, x, y)])];
            keep_[y * width_ + x] = y * width_ + x != pusher && parts.smallBox != '-' &&
                                    parts.bigBox != '-' &&
                                    LetterIndex(kSmallBoxLetters, parts.smallBox) !=
                                        LetterIndex(kBigBoxLetters, parts.bigBox);
        }
    }
}

void RelaxedBoard::Project(const char* record, char* slot) const {
    CopyRecord(record, slot);
    const int redX = Digit(record[2]), redY = Digit(record[3]);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (keep_[y * width_ + x] || (x == redX && y == redY)) continue;
            char& code = slot[CellIndex(width_, x, y)];
            code = kWithoutSmallBox.code[static_cast<unsigned char>(code)];
        }
    }
    // The pusher shows where it now stands on an empty cell.
    const int s = SuffixIndex(width_, height_);
    char& pusherCell = slot[CellIndex(width_, Digit(record[s]), Digit(record[s + 1]))];
    if (pusherCell == '-') pusherCell = 'M';
}
