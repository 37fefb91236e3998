// A board position is one short text: sizes, red and blue box positions, the grid rows and the
// pusher suffix. Each grid character is a cell code packing a pusher, a small box and a big box.
#pragma once

#include <cstdint>

#include "engine/game_state.h"

// One grid character and its three layers.
struct CellParts {
    char code;
    char pusher;    // '-' or 'M'
    char smallBox;  // '-', 'n', 's', 'e', 'w': the side the small box is open toward
    char bigBox;    // '-', 'N', 'S', 'E', 'W'
};

// Fills the three layers from `code`; 0 on success, -1 for a character that is no cell code
// (the layers are then left as they were).
std::int32_t ExpandCell(CellParts* parts);

// Writes `code` from the three layers; 0 on success, negative when they make no code (the code
// is then left as it was).
std::int32_t FoldCell(CellParts* parts);

// Record positions.
inline int CellIndex(int width, int x, int y) {
    return 6 + (width + 1) * y + x;
}
inline int SuffixIndex(int width, int height) {
    return 6 + (width + 1) * height;
}

// A record of this size, with its suffix and zero byte, fits one history slot.
inline bool RecordFits(int width, int height) {
    return width >= 1 && height >= 1 && width <= kLargestSide && height <= kLargestSide &&
           SuffixIndex(width, height) + 3 <= kSlotSize;
}

// The red box stands in the blue box's cell.
inline bool IsSolved(const char* record) {
    return record[2] == record[4] && record[3] == record[5];
}

// A record character read as a number: the signed character minus '0'.
inline int Digit(char c) {
    return static_cast<signed char>(c) - '0';
}
inline char DigitChar(int value) {
    return static_cast<char>('0' + value);
}
