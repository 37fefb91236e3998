// The handheld's one 240 x 320 screen surface: each pixel the word 0x00RRGGBB. Windows draw
// straight onto it; backends show it or write it out.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace user {

constexpr int kScreenPixelsWide = 240;
constexpr int kScreenPixelsHigh = 320;

std::uint32_t* ScreenPixels();            // row-major, kScreenPixelsWide per row
std::uint32_t ScreenPixel(int x, int y);  // 0 outside the screen

// Counts every change of the screen; a backend shows the screen when it has moved on.
std::uint64_t ScreenGeneration();
void MarkScreenChanged();

}  // namespace user
