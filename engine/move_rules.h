// Whether the pusher may step into a neighbouring cell, which boxes it carries, and the board
// that results.
#pragma once

#include <cstdint>

#include "engine/game_window.h"

enum StepOutcome {
    StepMoved,         // `next` holds the new position
    StepNotNeighbour,  // the target is the pusher's own cell, diagonal or farther away
    StepRefused,       // the rules forbid the step
    StepOffBoard,      // a neighbour beyond the board's edge
    StepBadCell,       // a grid character that is no cell code
    StepBadPosition,   // the pusher suffix names no cell of the board
};

// The pure rule: one record and a target in; on StepMoved the next record is written to `next`
// (a buffer of one history slot), otherwise `next` is left alone. The board sizes are passed in
// as the game keeps them; a size whose record would not fit a slot is a bad position.
StepOutcome StepBoard(const char* record, int width, int height, int targetX, int targetY,
                      char* next);

// One step attempt of the game toward (targetX, targetY): clock start, history room, the rule,
// the commit with its refresh, and the solved test.
void TryMove(GameWindow& window, std::int16_t targetX, std::int16_t targetY);

// The handheld's virtual-key codes of its arrow keys, the keys OnKeyDown steps with. The engine
// knows no platform, so it names them itself; the main window, which hands it the platform's
// key codes, checks that the two agree.
enum ArrowKey : unsigned { ArrowLeft = 37, ArrowUp = 38, ArrowRight = 39, ArrowDown = 40 };

// A key pressed in a game: an arrow steps the pusher, any other key does nothing.
void OnKeyDown(GameWindow& window, unsigned key);
