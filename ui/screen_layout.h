// The fixed layout of the main window's client area (240 pixels wide), shared by the board
// view, the tap handler and the intro. Right and bottom edges are exclusive.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

extern const RECT titleRect;    // title line
extern const RECT statusRect;   // moves and time line
extern const RECT hintRect;     // hint text
extern const RECT undoRect;     // Undo button: drawn and hit-tested here
extern const RECT restartRect;  // Restart button
extern const RECT redoRect;     // Redo button
extern const RECT introRect;    // the part of the window the intro animates

// Screen position of the board's top-left corner, recomputed at every board paint.
extern std::int16_t boardOriginX;
extern std::int16_t boardOriginY;

// Cells are 40-pixel squares whose borders overlap their neighbours' by one pixel.
constexpr int kCellPitch = 39;
constexpr int kCellSize = 40;

// The board origin for a board of that size, centred in the space above the buttons.
inline std::int16_t BoardOriginX(int width) {
    return static_cast<std::int16_t>((240 - kCellPitch * width) / 2);
}
inline std::int16_t BoardOriginY(int height) {
    return static_cast<std::int16_t>((205 - kCellPitch * height) / 2 + 10);
}
