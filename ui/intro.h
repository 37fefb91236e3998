// The five-second title screen: a banner, the title and a web-address line standing still,
// while stars shine, a blue glow flares and a purple ring grows out of one point.
#pragma once

// Counts one more intro paint and draws its frame into the back buffer. False when this paint
// shows nothing (the first, or any after the 2000th): the window's paint must then not be opened.
bool DrawIntroFrame();
