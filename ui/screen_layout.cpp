#include "ui/screen_layout.h"

const RECT titleRect = {0, 0, 200, 15};
const RECT statusRect = {150, 0, 240, 15};
const RECT hintRect = {0, 180, 240, 220};
const RECT undoRect = {0, 220, 70, 260};
const RECT restartRect = {75, 220, 165, 260};
const RECT redoRect = {170, 220, 240, 260};
const RECT introRect = {0, 80, 240, 180};

std::int16_t boardOriginX = 2;
std::int16_t boardOriginY = 45;
