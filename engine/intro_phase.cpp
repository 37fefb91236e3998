#include "engine/intro_phase.h"

#include "engine/game_state.h"
#include "platform/clock/clock.h"

void StartIntro(GameWindow& window) {
    gameState.introFrame = 0;
    gameState.introStartTick = GetTickCount();
    gameState.introRunning = true;
    gameState.timerId = window.StartTimer(kGameTimer, kIntroPeriodMs);
}

void EndIntro(GameWindow& window) {
    if (!gameState.introRunning) return;
    gameState.introStartTick = 0;
    gameState.introRunning = false;
    window.StopTimer(gameState.timerId);
}
