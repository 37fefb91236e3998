// The line of positions of the puzzle on the screen, and the moves along it.
#pragma once

#include "engine/game_window.h"

void Undo(GameWindow& window);
void Redo(GameWindow& window);
void Restart(GameWindow& window);

// Drops the oldest position when the line has reached its last slot.
void MakeHistoryRoom();
