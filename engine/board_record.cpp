#include "engine/board_record.h"

namespace {

constexpr char kSmallLetters[] = {'n', 's', 'e', 'w'};
constexpr char kBigLetters[] = {'N', 'S', 'E', 'W'};

// Nested codes by small box (rows n, s, e, w) and big box (columns N, S, E, W).
constexpr char kNested[4][4] = {
    {'O', 'A', 'F', 'X'},
    {'P', 'B', 'G', 'Y'},
    {'Q', 'C', 'H', 'U'},
    {'R', 'D', 'I', 'V'},
};

int IndexOf(const char* letters, char c) {
    for (int i = 0; i < 4; ++i)
        if (letters[i] == c) return i;
    return -1;
}

// The layers of every character, built once: a zero `code` marks a character that is no cell
// code. Move searches expand millions of cells, so this is a table rather than a search.
struct LayerTable {
    CellParts parts[256] = {};
    constexpr LayerTable() {
        parts[static_cast<unsigned char>('-')] = {'-', '-', '-', '-'};
        parts[static_cast<unsigned char>('M')] = {'M', 'M', '-', '-'};
        for (int i = 0; i < 4; ++i) {
            const char small = kSmallLetters[i], big = kBigLetters[i];
            parts[static_cast<unsigned char>(small)] = {small, '-', small, '-'};
            parts[static_cast<unsigned char>(big)] = {big, '-', '-', big};
        }
        for (int s = 0; s < 4; ++s) {
            for (int b = 0; b < 4; ++b) {
                const char code = kNested[s][b];
                parts[static_cast<unsigned char>(code)] = {code, '-', kSmallLetters[s],
                                                           kBigLetters[b]};
            }
        }
    }
};

constexpr LayerTable kLayers;

}  // namespace

std::int32_t ExpandCell(CellParts* parts) {
    const CellParts& known = kLayers.parts[static_cast<unsigned char>(parts->code)];
    if (known.code == 0) return -1;
    parts->pusher = known.pusher;
    parts->smallBox = known.smallBox;
    parts->bigBox = known.bigBox;
    return 0;
}

std::int32_t FoldCell(CellParts* parts) {
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
    int b = IndexOf(kBigLetters, parts->bigBox);
    if (b < 0) return -5;
    int s = IndexOf(kSmallLetters, parts->smallBox);
    if (s < 0) return -(b + 1);
    parts->code = kNested[s][b];
    return 0;
}
