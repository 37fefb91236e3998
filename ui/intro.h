// The five-second title screen: a banner, the title and a web-address line standing still,
// while stars shine, a blue glow flares and a purple ring grows out of one point.
#pragma once

// Bitmap resources of the intro.
constexpr int kBannerBitmap = 115;  // 194 x 18, 1 bit: the game's name, black on white
constexpr int kGlowBitmap = 116;    // 70 x 70, 8 bits: a blue flare on black
constexpr int kRingBitmap = 117;    // 240 x 100, 4 bits: purple waves

// Counts one more intro paint and draws its frame into the back buffer. False when this paint
// shows nothing (the first, or any after the 2000th): the window's paint must then not be opened.
bool DrawIntroFrame();
