// A board position is one short text: sizes, red and blue box positions, the grid rows and the
// pusher suffix. Each grid character is a cell code packing a pusher, a small box and a big box.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/game_state.h"

// One grid character and its three layers.
struct CellParts {
    char code;
    char pusher;    // '-' or 'M'
    char smallBox;  // '-', 'n', 's', 'e', 'w': the side the small box is open toward
    char bigBox;    // '-', 'N', 'S', 'E', 'W'
};

// The small-box letters and the big-box letters in the order of the nested codes' rows and
// columns, and the nested codes by small box (rows n, s, e, w) and big box (columns N, S, E, W).
inline constexpr char kSmallBoxLetters[4] = {'n', 's', 'e', 'w'};
inline constexpr char kBigBoxLetters[4] = {'N', 'S', 'E', 'W'};
inline constexpr char kNestedCodes[4][4] = {
    {'O', 'A', 'F', 'X'},
    {'P', 'B', 'G', 'Y'},
    {'Q', 'C', 'H', 'U'},
    {'R', 'D', 'I', 'V'},
};

// The layers of every character, built at compile time: a zero `code` marks a character that
// is no cell code. A move search expands millions of cells, so the step reads this inline.
struct CellLayerTable {
    CellParts parts[256] = {};
    constexpr CellLayerTable() {
        parts[static_cast<unsigned char>('-')] = {'-', '-', '-', '-'};
        parts[static_cast<unsigned char>('M')] = {'M', 'M', '-', '-'};
        for (int i = 0; i < 4; ++i) {
            const char small = kSmallBoxLetters[i], big = kBigBoxLetters[i];
            parts[static_cast<unsigned char>(small)] = {small, '-', small, '-'};
            parts[static_cast<unsigned char>(big)] = {big, '-', '-', big};
        }
        for (int s = 0; s < 4; ++s) {
            for (int b = 0; b < 4; ++b) {
                const char code = kNestedCodes[s][b];
                parts[static_cast<unsigned char>(code)] = {code, '-', kSmallBoxLetters[s],
                                                           kBigBoxLetters[b]};
            }
        }
    }
};
inline constexpr CellLayerTable kCellLayers;

// Fills the three layers from `code`; 0 on success, -1 for a character that is no cell code
// (the layers are then left as they were).
inline std::int32_t ExpandCell(CellParts* parts) {
    const CellParts& known = kCellLayers.parts[static_cast<unsigned char>(parts->code)];
    if (known.code == 0) return -1;
    parts->pusher = known.pusher;
    parts->smallBox = known.smallBox;
    parts->bigBox = known.bigBox;
    return 0;
}

inline int LetterIndex(const char (&letters)[4], char c) {
    for (int i = 0; i < 4; ++i)
        if (letters[i] == c) return i;
    return -1;
}

// Writes `code` from the three layers; 0 on success, negative when they make no code (the code
// is then left as it was).
inline std::int32_t FoldCell(CellParts* parts) {
    if (parts->smallBox == '-' && parts->bigBox == '-') {
        parts->code = parts->pusher == 'M' ? 'M' : '-';
        return 0;
    }
    if (parts->smallBox == '-') {
        parts->code = parts->bigBox;
        return 0;
    }
    if (parts->bigBox == '-') {
        parts->code = parts->smallBox;
        return 0;
    }
    const int b = LetterIndex(kBigBoxLetters, parts->bigBox);
    if (b < 0) return -5;
    const int s = LetterIndex(kSmallBoxLetters, parts->smallBox);
    if (s < 0) return -(b + 1);
    parts->code = kNestedCodes[s][b];
    return 0;
}

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

// A record copied into a whole slot, the rest of the slot zeroed: a record given as a string may
// be shorter than the slot the step rule reads.
inline void CopyRecord(const char* record, char* slot) {
    const std::size_t length = strnlen(record, kSlotSize - 1);
    std::memcpy(slot, record, length);
    std::memset(slot + length, 0, kSlotSize - length);
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
