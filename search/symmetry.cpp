#include "search/symmetry.h"

#include <algorithm>
#include <vector>

#include "engine/board_record.h"

namespace {

struct Turn {
    int symmetry, width, height;  // the sizes of the board it turns

    int Width() const { return symmetry & 4 ? height : width; }
    int Height() const { return symmetry & 4 ? width : height; }

    // Where the cell (x, y) goes.
    void Move(int* x, int* y) const {
        if (symmetry & 4) std::swap(*x, *y);
        if (symmetry & 1) *x = Width() - 1 - *x;
        if (symmetry & 2) *y = Height() - 1 - *y;
    }

    // The open side of a box letter ('n' to 'w' or 'N' to 'W'), turned; '-' stays '-'.
    char Side(char letter) const {
        if (letter == '-') return letter;
        const bool big = letter >= 'A' && letter <= 'Z';
        int dx = 0, dy = 0;
        switch (big ? letter - 'A' + 'a' : letter) {
            case 'n':
                dy = -1;
                break;
            case 's':
                dy = 1;
                break;
            case 'e':
                dx = 1;
                break;
            default:
                dx = -1;
                break;
        }
        if (symmetry & 4) std::swap(dx, dy);
        if (symmetry & 1) dx = -dx;
        if (symmetry & 2) dy = -dy;
        const char small = dy < 0 ? 'n' : dy > 0 ? 's' : dx > 0 ? 'e' : 'w';
        return big ? static_cast<char>(small - 'a' + 'A') : small;
    }
};

// Whether the text is a whole puzzle of the catalogue's form: sizes, box cells on the board,
// rows of known cell codes. The pusher and the boxes are the pack reader's to judge.
bool Readable(std::string_view puzzle) {
    if (puzzle.size() < 6) return false;
    const int width = Digit(puzzle[0]), height = Digit(puzzle[1]);
    if (!RecordFits(width, height)) return false;
    if (static_cast<int>(puzzle.size()) != SuffixIndex(width, height) - 1) return false;
    for (int at : {2, 4}) {
        const int x = Digit(puzzle[at]), y = Digit(puzzle[at + 1]);
        if (x < 0 || y < 0 || x >= width || y >= height) return false;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            if (kCellLayers.parts[static_cast<unsigned char>(puzzle[CellIndex(width, x, y)])]
                    .code == 0)
                return false;
        if (y + 1 < height && puzzle[CellIndex(width, width, y)] != ';') return false;
    }
    return true;
}

// Puts the pusher on the first cell, row by row, of the empty cells it can walk to: a start from
// which the pusher can walk to another's cell without moving a box is the same puzzle.
void WalkPusherHome(std::string* puzzle) {
    const int width = Digit((*puzzle)[0]), height = Digit((*puzzle)[1]);
    const std::size_t pusher = puzzle->find('M');
    if (pusher == std::string::npos) return;
    std::vector<int> reached{static_cast<int>(pusher)};
    (*puzzle)[pusher] = '+';  // reached
    int home = static_cast<int>(pusher);
    for (std::size_t i = 0; i < reached.size(); ++i) {
        const int at = reached[i];
        home = std::min(home, at);
        const int x = (at - 6) % (width + 1), y = (at - 6) / (width + 1);
        const int next[4][2] = {{x, y - 1}, {x, y + 1}, {x + 1, y}, {x - 1, y}};
        for (const auto& [nx, ny] : next) {
            if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
            const int there = CellIndex(width, nx, ny);
            if ((*puzzle)[there] != '-') continue;
            (*puzzle)[there] = '+';  // reached
            reached.push_back(there);
        }
    }
    for (int at : reached) (*puzzle)[at] = '-';
    (*puzzle)[home] = 'M';
}

}  // namespace

std::string MirrorPuzzle(std::string_view puzzle, int symmetry) {
    if (!Readable(puzzle) || symmetry < 0 || symmetry >= kSymmetries) return {};
    const Turn turn{symmetry, Digit(puzzle[0]), Digit(puzzle[1])};
    std::string image(SuffixIndex(turn.Width(), turn.Height()) - 1, ';');
    image[0] = DigitChar(turn.Width());
    image[1] = DigitChar(turn.Height());
    for (int at : {2, 4}) {
        int x = Digit(puzzle[at]), y = Digit(puzzle[at + 1]);
        turn.Move(&x, &y);
        image[at] = DigitChar(x);
        image[at + 1] = DigitChar(y);
    }
    for (int y = 0; y < turn.height; ++y) {
        for (int x = 0; x < turn.width; ++x) {
            CellParts parts{puzzle[CellIndex(turn.width, x, y)], '-', '-', '-'};
            ExpandCell(&parts);
            parts.smallBox = turn.Side(parts.smallBox);
            parts.bigBox = turn.Side(parts.bigBox);
            FoldCell(&parts);
            int tx = x, ty = y;
            turn.Move(&tx, &ty);
            image[CellIndex(turn.Width(), tx, ty)] = parts.code;
        }
    }
    return image;
}

std::string CanonicalPuzzle(std::string_view puzzle) {
    std::string least;
    for (int symmetry = 0; symmetry < kSymmetries; ++symmetry) {
        std::string image = MirrorPuzzle(puzzle, symmetry);
        if (image.empty()) return image;
        WalkPusherHome(&image);
        if (least.empty() || image < least) least = std::move(image);
    }
    return least;
}
