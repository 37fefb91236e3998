// A pack of 16 puzzles played in place of the built-in ones: velquin --puzzles FILE, and the web
// page's ?pack=NAME.
#pragma once

#include <string>
#include <string_view>

// Reads a pack file's text; false with a one-line reason when it cannot be read or is larger
// than a pack can sensibly be.
bool ReadPackFile(const std::string& path, std::string* text, std::string* error);

// Takes a pack's 16 records from its text, read from `fileName`. False with "FILE:LINE: reason"
// when the game cannot hold one of them or there are not exactly 16; nothing is stored.
bool TakePack(const std::string& fileName, std::string_view text, std::string* error);

// Makes the pack taken the puzzles of this run, its settings and statistics in a key of their own
// below the game's, named after its records, once every puzzle is shown to have a solution: by
// the solution kept in that key when it still replays, else by a search, whose solution is then
// kept there. False with "FILE:LINE: reason" when a puzzle has none; nothing is stored then and
// the built-in puzzles stay.
bool PlayPack(std::string* error);
