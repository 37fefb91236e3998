// The eight symmetries of the square, applied to a puzzle: the move rule treats every direction
// alike, so a puzzle turned or flipped is the same puzzle. A puzzle is written in the
// catalogue's form (sizes, red and blue box cells, rows of cell codes, the pusher as 'M', no
// pusher suffix).
#pragma once

#include <string>
#include <string_view>

// Symmetry 0 leaves a puzzle as it is; bit 0 flips it east to west, bit 1 north to south, and
// bit 2 first swaps columns and rows (a board of width by height becomes height by width).
constexpr int kSymmetries = 8;

// The puzzle seen through `symmetry`: every cell moved, every box's open side turned with it, the
// red and blue box cells following. Nothing (an empty text) for a text not in the catalogue's
// form.
std::string MirrorPuzzle(std::string_view puzzle, int symmetry);

// The least of the puzzle's eight images, each with its pusher on the first cell (row by row) of
// the empty cells it can walk to: two puzzles are mirror images of each other, or one puzzle with
// the pusher a walk away, exactly when their canonical texts are equal. Empty for a text not in
// the catalogue's form.
std::string CanonicalPuzzle(std::string_view puzzle);
