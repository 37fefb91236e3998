// A pack: 16 puzzles written one a line as the catalogue writes its own (sizes, red and blue box
// cells, the rows of cell codes separated by ';', the pusher as 'M', no pusher suffix), played in
// place of the built-in 16. Blank lines and lines starting with '#' are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/game_state.h"

struct PuzzlePack {
    char texts[kPuzzleCount][kSlotSize];  // each record with its zero byte
    int lines[kPuzzleCount];              // the line of the file it stands on, from 1
};

// What keeps the game from holding one puzzle record; empty when it can. The record's form only:
// whether a sequence of moves solves it is the search's to say.
std::string RecordProblem(std::string_view record);

// Reads a pack's text. False when it holds a record the game cannot hold or not exactly 16
// records; `line` and `reason` then say where and why (the first fault found).
bool ParsePack(std::string_view text, PuzzlePack* pack, int* line, std::string* reason);

// A digest of the 16 records' text (not of the comments, blank lines or line ends around them),
// as 16 hexadecimal digits: the name a pack's statistics are kept under.
std::string PackDigest(const PuzzlePack& pack);
