// The course of a game around the move rules: start-up, starting and switching puzzles, the game
// clock, solved and abandoned games with their statistics, the tutorial and closing.
#pragma once

#include <cstdint>

#include "engine/game_window.h"

// Start-up reset: defaults, then the stored settings, then the menu in the stored language.
void InitGameState(GameWindow& window);

// The intro phase: frame count cleared, its start tick taken, timer 1 at 60 ms.
void StartIntro(GameWindow& window);
void EndIntro(GameWindow& window);

void StartGame(GameWindow& window);
void NextPuzzle(GameWindow& window);
void PreviousPuzzle(GameWindow& window);
void LoadTutorial();

// Asks before a game in progress is abandoned and books it on consent; 1 means go ahead.
int ConfirmAbort(GameWindow& window);

void OnSolved(GameWindow& window);

// The close request: true when the frame may close.
bool OnClose(GameWindow& window);

// The end of the desktop session (a signal, the display lost): a granted close without the
// question. A game in progress is booked into its totals and the store written.
void OnSessionEnd(GameWindow& window);

// The game-clock branch of the timer, also run right after each committed move.
void OnGameTick(GameWindow& window);

// Milliseconds as the game shows a duration: 12"3, 1'5"3, 1h2'3"4. The buffer holds at least
// kDurationTextSize characters; returns the length written.
constexpr int kDurationTextSize = 12;
int FormatDuration(wchar_t* buffer, std::uint32_t durationMs);
