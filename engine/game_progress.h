// The course of a game around the move rules: start-up, starting and switching puzzles, the game
// clock, solved and abandoned games with their statistics, the tutorial and closing. The intro
// phase before it has a file of its own (intro_phase.h).
#pragma once

#include "engine/game_window.h"

// Start-up reset: defaults, then the stored settings, then the menu in the stored language.
void InitGameState(GameWindow& window);

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

// The options dialog's reset: every puzzle's bests and totals cleared, and puzzle 0 to start.
// It changes the game state only; the store receives it at the next save.
void ResetStatistics();
