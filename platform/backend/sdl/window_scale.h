// How large the desktop window starts: whole multiples of the 240 x 320 screen, so that every
// handheld pixel stays a sharp square.
#pragma once

namespace backend {

constexpr int kLargestScale = 8;

// The largest whole scale whose window fits the display's usable area (the desktop less its
// panels) with room to spare: the window with a title bar and frame (taken as 48 pixels high
// and 16 wide) uses at most 95% of the area's height and width. At least 1; 2 when the area is
// unknown (zero or less); never above kLargestScale.
int FittingScale(int usableWidth, int usableHeight);

// The scale of a window of that client size: the largest whole scale at which the screen fits
// in it, at least 1.
int ScaleOfWindow(int width, int height);

}  // namespace backend
