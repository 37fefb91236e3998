// The built-in puzzles (or a pack's in their place), the tutorial positions and the loading of a
// puzzle into the history.
#pragma once

constexpr int kTutorialFrames = 9;

// Puzzle texts end after the last grid row; loading appends the pusher suffix.
extern const char* const kPuzzleTexts[16];
extern const char* const kTutorialRecords[kTutorialFrames];
extern const char kFallbackRecord[];

// The puzzles this run plays: a pack's (which must outlive the run), or the built-in 16 again
// with nullptr.
struct PuzzlePack;
void UsePuzzlePack(const PuzzlePack* pack);

// Writes the starting position of puzzle `gameNumber` (0 for a number outside 0..15), with its
// pusher suffix, into `slot` (one history slot) and its sizes into `width` and `height`. A text
// too large for a slot gives the fallback record instead, and false.
bool StartRecord(int gameNumber, char* slot, int* width, int* height);
// The same for a puzzle text of the catalogue's form.
bool CompleteRecord(const char* text, char* slot, int* width, int* height);

// Puts the starting position of puzzle gameState.gameNumber into history slot 0 and resets the
// fields that belong to one game.
void LoadLevel();
