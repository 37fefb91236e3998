// The main window's game-phase frame: the board of the current position with its boxes and
// pusher, the Undo, Restart and Redo buttons, the title, the moves and time line and the hint.
#pragma once

#include <cstdint>

#include "engine/game_window.h"
#include "platform/gdi/gdi.h"

// Draws one cell's boxes and pusher in the 40-pixel square at (x, y). On return `cell` is 'M'
// when a pusher was drawn, '-' when the cell was read and no pusher drawn, and unchanged when
// nothing was drawn (an empty cell, or a character that is no cell code).
void DrawCell(HDC dc, int x, int y, char& cell, std::int16_t pusherHere, std::int16_t redHere,
              std::int16_t blueHere);

// Composes the game frame in the back buffer (everything after clearing it), and rewrites the
// current record's pusher suffix from the pusher drawn. A record too large for its slot shows
// the window's "Board size too large" box and no board.
void DrawGameFrame(GameWindow& window);
