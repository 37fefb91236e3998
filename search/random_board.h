// The generator's raw material: a seeded random source of its own, and boards drawn and changed
// at random.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/board_record.h"

// SplitMix64: the same numbers from the same seed on every machine and with every library.
class RandomSource {
  public:
    explicit RandomSource(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A number from 0 to n - 1, n at least 1.
    int Below(int n) {
        return static_cast<int>((Next() >> 32) * static_cast<std::uint64_t>(n) >> 32);
    }

  private:
    std::uint64_t state_;
};

// A puzzle's start being shaped: the boxes of every cell, the red and the blue box's cells and
// the pusher's, which always stands on a cell of its own. The red box is never in the blue one.
class PuzzleBoard {
  public:
    // A board of `width` by `height` (at least 3 cells, its record fitting a slot) with a few
    // small and big boxes turned every way, some perhaps nested.
    static PuzzleBoard Draw(RandomSource& random, int width, int height);
    // A puzzle of the catalogue's form whose pusher stands on a cell of its own; nothing for any
    // other text.
    static std::optional<PuzzleBoard> Read(std::string_view puzzle);

    std::string Text() const;    // the catalogue's form, the pusher as 'M'
    std::string Record() const;  // the same with its pusher suffix, as a game holds it

    // One change drawn at random: a box turned, moved, added or taken away, or the pusher moved.
    // False, and the board as it was, when the change drawn cannot be made here.
    bool Change(RandomSource& random);
    // Takes away the small or the big box of the cell (x, y); false, and the board as it was,
    // when there is none or it is the red or the blue box.
    bool Remove(int x, int y, bool big);

  private:
    PuzzleBoard(int width, int height);
    bool Turn(RandomSource& random);
    bool Move(RandomSource& random);
    bool Add(RandomSource& random);
    bool Remove(RandomSource& random);
    bool MovePusher(RandomSource& random);
    // A box picked at random: its cell, and whether it is the big one there; false for none.
    bool PickBox(RandomSource& random, int* cell, bool* big) const;
    bool Empty(int cell) const {
        return cells_[cell].smallBox == '-' && cells_[cell].bigBox == '-';
    }

    int width_, height_;
    std::vector<CellParts> cells_;  // row by row from the north-west corner; no pusher layer
    int red_ = 0, blue_ = 0, pusher_ = 0;
};
