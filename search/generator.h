// New puzzles with proved shortest solutions. A climb starts from a random board: its whole space
// is counted, and the position farthest from solved is the puzzle. Random changes to the boxes
// are then kept whenever the new puzzle is no shorter, until many in a row bring nothing longer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct GeneratorOptions {
    std::uint64_t seed = 0;
    int width = 5, height = 4;
    int count = 1;     // puzzles wanted
    int minMoves = 1;  // the shortest solution of each takes at least this many moves
    // Climbs made before giving up: a bound for wishes no board of the size can meet.
    std::size_t mostClimbs = 100000;
};

struct GeneratedPuzzle {
    std::string text;           // the catalogue's form: sizes, box cells, rows, the pusher as 'M'
    int moves = 0;              // its shortest solution, proved: the whole space was counted
    std::size_t positions = 0;  // positions reachable from its start
    std::size_t dead = 0;       // of those, the ones from which it cannot be solved any more
};

struct GeneratorResult {
    std::vector<GeneratedPuzzle> puzzles;  // shortest first; fewer than asked when it gave up
    std::size_t climbs = 0;                // climbs made, each from a random board
};

// Whether the generator takes boards of this size: a record of the board must fit a history
// slot, and the board must hold a pusher and two boxes apart.
bool GeneratorTakesSize(int width, int height);

// Puzzles of options.width by options.height, each solvable, not solved at the start, needing at
// least options.minMoves moves, not a mirror image of another one or of a built-in puzzle, every
// box of its start moved by some shortest solution. The same options give the same puzzles.
// `progress`, when given, hears of every climb made and how many puzzles are found so far.
GeneratorResult GeneratePuzzles(
    const GeneratorOptions& options,
    const std::function<void(std::size_t climbs, std::size_t found)>& progress = {});
