#include "search/random_board.h"

#include <algorithm>
#include <tuple>

#include "engine/puzzle_pack.h"

PuzzleBoard::PuzzleBoard(int width, int height)
    : width_(width), height_(height), cells_(width * height, CellParts{'-', '-', '-', '-'}) {}

PuzzleBoard PuzzleBoard::Draw(RandomSource& random, int width, int height) {
    const int cells = width * height;
    for (;;) {
        PuzzleBoard board(width, height);
        const int boxes = std::min(cells - 1, 2 + cells / 6 + random.Below(cells / 6 + 1));
        const int smalls = 1 + random.Below(boxes - 1);
        // The first cells of two shuffles: one for the small boxes, one for the big ones.
        std::vector<int> order(cells);
        for (int i = 0; i < cells; ++i) order[i] = i;
        const auto shuffled = [&] {
            for (int i = cells - 1; i > 0; --i) std::swap(order[i], order[random.Below(i + 1)]);
            return order;
        };
        const std::vector<int> smallCells = shuffled(), bigCells = shuffled();
        if (smallCells[0] == bigCells[0]) continue;  // the red box in the blue one
        for (int i = 0; i < smalls; ++i)
            board.cells_[smallCells[i]].smallBox = kSmallBoxLetters[random.Below(4)];
        for (int i = 0; i < boxes - smalls; ++i)
            board.cells_[bigCells[i]].bigBox = kBigBoxLetters[random.Below(4)];
        std::vector<int> empty;
        for (int i = 0; i < cells; ++i)
            if (board.Empty(i)) empty.push_back(i);
        if (empty.empty()) continue;
        board.red_ = smallCells[0];
        board.blue_ = bigCells[0];
        board.pusher_ = empty[random.Below(static_cast<int>(empty.size()))];
        return board;
    }
}

std::optional<PuzzleBoard> PuzzleBoard::Read(std::string_view puzzle) {
    if (!RecordProblem(puzzle).empty()) return std::nullopt;
    const int width = Digit(puzzle[0]), height = Digit(puzzle[1]);
    if (static_cast<int>(puzzle.size()) != SuffixIndex(width, height) - 1) return std::nullopt;
    PuzzleBoard board(width, height);
    for (int cell = 0; cell < width * height; ++cell) {
        CellParts& parts = board.cells_[cell];
        parts.code = puzzle[CellIndex(width, cell % width, cell / width)];
        ExpandCell(&parts);
        if (parts.pusher == 'M') board.pusher_ = cell;
        parts.pusher = '-';
    }
    board.red_ = Digit(puzzle[3]) * width + Digit(puzzle[2]);
    board.blue_ = Digit(puzzle[5]) * width + Digit(puzzle[4]);
    return board;
}

std::string PuzzleBoard::Text() const {
    std::string text(SuffixIndex(width_, height_) - 1, ';');
    text[0] = DigitChar(width_);
    text[1] = DigitChar(height_);
    text[2] = DigitChar(red_ % width_);
    text[3] = DigitChar(red_ / width_);
    text[4] = DigitChar(blue_ % width_);
    text[5] = DigitChar(blue_ / width_);
    for (int cell = 0; cell < width_ * height_; ++cell) {
        CellParts parts = cells_[cell];
        if (cell == pusher_) parts.pusher = 'M';
        FoldCell(&parts);
        text[CellIndex(width_, cell % width_, cell / width_)] = parts.code;
    }
    return text;
}

std::string PuzzleBoard::Record() const {
    std::string record = Text();
    record += ';';
    record += DigitChar(pusher_ % width_);
    record += DigitChar(pusher_ / width_);
    return record;
}

bool PuzzleBoard::Change(RandomSource& random) {
    switch (random.Below(10)) {
        case 0:
        case 1:
        case 2:
            return Turn(random);
        case 3:
        case 4:
        case 5:
            return Move(random);
        case 6:
        case 7:
            return Add(random);
        case 8:
            return Remove(random);
        default:
            return MovePusher(random);
    }
}

bool PuzzleBoard::PickBox(RandomSource& random, int* cell, bool* big) const {
    std::vector<std::pair<int, bool>> boxes;
    for (int i = 0; i < width_ * height_; ++i) {
        if (cells_[i].smallBox != '-') boxes.push_back({i, false});
        if (cells_[i].bigBox != '-') boxes.push_back({i, true});
    }
    if (boxes.empty()) return false;
    std::tie(*cell, *big) = boxes[random.Below(static_cast<int>(boxes.size()))];
    return true;
}

bool PuzzleBoard::Turn(RandomSource& random) {
    int cell = 0;
    bool big = false;
    if (!PickBox(random, &cell, &big)) return false;
    char& side = big ? cells_[cell].bigBox : cells_[cell].smallBox;
    const char* letters = big ? kBigBoxLetters : kSmallBoxLetters;
    const char turned = letters[random.Below(4)];
    if (turned == side) return false;
    side = turned;
    return true;
}

bool PuzzleBoard::Move(RandomSource& random) {
    int from = 0;
    bool big = false;
    if (!PickBox(random, &from, &big)) return false;
    const int to = random.Below(width_ * height_);
    if (to == from || to == pusher_) return false;
    char& there = big ? cells_[to].bigBox : cells_[to].smallBox;
    char& here = big ? cells_[from].bigBox : cells_[from].smallBox;
    if (there != '-') return false;
    // Neither the red box into the blue one's cell, nor the blue box over the red one.
    const bool red = !big && from == red_, blue = big && from == blue_;
    if ((red && to == blue_) || (blue && to == red_)) return false;
    there = here;
    here = '-';
    if (red) red_ = to;
    if (blue) blue_ = to;
    return true;
}

bool PuzzleBoard::Add(RandomSource& random) {
    const int cell = random.Below(width_ * height_);
    const bool big = random.Below(2) == 1;
    if (cell == pusher_) return false;
    char& side = big ? cells_[cell].bigBox : cells_[cell].smallBox;
    if (side != '-') return false;
    side = (big ? kBigBoxLetters : kSmallBoxLetters)[random.Below(4)];
    return true;
}

bool PuzzleBoard::Remove(RandomSource& random) {
    int cell = 0;
    bool big = false;
    return PickBox(random, &cell, &big) && Remove(cell % width_, cell / width_, big);
}

bool PuzzleBoard::Remove(int x, int y, bool big) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    const int cell = y * width_ + x;
    char& side = big ? cells_[cell].bigBox : cells_[cell].smallBox;
    if (side == '-' || (big ? cell == blue_ : cell == red_)) return false;
    side = '-';
    return true;
}

bool PuzzleBoard::MovePusher(RandomSource& random) {
    const int cell = random.Below(width_ * height_);
    if (cell == pusher_ || !Empty(cell)) return false;
    pusher_ = cell;
    return true;
}
