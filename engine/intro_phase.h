// The intro phase: the title screen that opens the program, animated on window timer 1 until
// the first tick past its length, or until a tap or a command ends it.
#pragma once

#include "engine/game_window.h"

// One tick of the intro's timer, and one step of its animation.
constexpr unsigned kIntroPeriodMs = 60;
// A tick this long after the start still animates; the first one later ends the intro.
constexpr unsigned kIntroLengthMs = 5000;

// Frame count cleared, start tick taken, timer 1 at kIntroPeriodMs.
void StartIntro(GameWindow& window);
// Stops the intro's timer; nothing when the intro has ended already.
void EndIntro(GameWindow& window);
