#include "engine/game_progress.h"

#include <algorithm>
#include <cstring>

#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "engine/intro_phase.h"
#include "platform/clock/clock.h"
#include "texts/texts.h"

namespace {

const wchar_t* Text(TextId id) {
    return GetText(id, gameState.language);
}

void StopClock(GameWindow& window) {
    window.StopTimer(gameState.timerId);
}

bool GameInProgress() {
    return gameState.mode == ModePlaying && gameState.moveCount != 0;
}

bool solving = false;

// The end of a solve after its boxes: the bests its boxes announce (already stored when the boxes
// were answered), the totals, the store.
void FinishSolve(GameWindow& window) {
    GameState& g = gameState;
    const int i = StatsIndex();
    if (g.bestTime[i] == 0 || g.elapsedMs < g.bestTime[i]) g.bestTime[i] = g.elapsedMs;
    if (g.bestScore[i] == 0 || g.moveCount < g.bestScore[i]) g.bestScore[i] = g.moveCount;
    g.totalTime[i] += g.elapsedMs;
    g.totalScore[i] += g.moveCount;
    solving = false;
    window.SaveSettings();
    g.mode = ModeSolved;
}

// An abandoned game's moves and time go into its puzzle's totals; its counters start again.
void BookAbandonedGame(GameWindow& window) {
    GameState& g = gameState;
    StopClock(window);
    g.lastTick = GetTickCount();
    g.elapsedMs = g.lastTick - g.startTick;
    const int i = StatsIndex();
    g.totalTime[i] += g.elapsedMs;
    g.totalScore[i] += g.moveCount;
    g.elapsedMs = 0;
    g.moveCount = 0;
    g.startTick = 0;
    g.clockStarted = false;
}

// One puzzle on or back, with consent; no wrap-around at either end.
void SwitchPuzzle(GameWindow& window, int step) {
    EndIntro(window);
    if (ConfirmAbort(window) != kAnswerOk) return;
    gameState.gameNumber = std::clamp(gameState.gameNumber + step, 0, kPuzzleCount - 1);
    StartGame(window);
}

}  // namespace

void InitGameState(GameWindow& window) {
    GameState& g = gameState;
    g.language = LangEnglish;
    g.gameNumber = 0;
    for (int i = 0; i < kPuzzleCount; ++i) {
        g.bestScore[i] = 0;
        g.bestTime[i] = 0;
    }
    window.LoadSettings();
    window.ApplyMenuLanguage();
}

void StartGame(GameWindow& window) {
    EndIntro(window);
    LoadLevel();
    window.SaveSettings();
    window.Repaint();
}

void NextPuzzle(GameWindow& window) {
    SwitchPuzzle(window, 1);
}

void PreviousPuzzle(GameWindow& window) {
    SwitchPuzzle(window, -1);
}

void LoadTutorial() {
    GameState& g = gameState;
    for (int k = 0; k < kTutorialFrames; ++k) {
        std::memset(g.history[k], 0, kSlotSize);
        std::strncpy(g.history[k], kTutorialRecords[k], kSlotSize - 1);
    }
    g.lastIndex = kTutorialFrames - 1;
    g.currentIndex = 0;
    g.elapsedMs = 0;
    g.mode = ModeTutorial;
    g.moveCount = kTutorialFrames - 1;
}

int ConfirmAbort(GameWindow& window) {
    GameState& g = gameState;
    if (g.moveCount == 0) return kAnswerOk;
    if (g.mode != ModePlaying) return kAnswerOk;
    int answer = window.ShowMessage(Text(TextConfirmAbort), Text(TextWarningCaption), kBoxOkCancel);
    if (answer != kAnswerOk) return answer;
    BookAbandonedGame(window);
    return kAnswerOk;
}

void OnSolved(GameWindow& window) {
    GameState& g = gameState;
    EndIntro(window);
    if (g.mode != ModePlaying) return;
    StopClock(window);
    g.elapsedMs = g.lastTick - g.startTick;
    window.Repaint();

    const int i = StatsIndex();
    solving = true;  // until the solve is stored: its boxes may be open when the session ends
    if (g.bestTime[i] == 0) {
        g.bestTime[i] = g.elapsedMs;
    } else if (g.elapsedMs < g.bestTime[i]) {
        window.ShowMessage(Text(TextBestTime), Text(TextInfoCaption), kBoxOk);
        g.bestTime[i] = g.elapsedMs;
    }
    if (g.bestScore[i] == 0) {
        g.bestScore[i] = g.moveCount;
    } else if (g.moveCount < g.bestScore[i]) {
        window.ShowMessage(Text(TextBestScore), Text(TextInfoCaption), kBoxOk);
        g.bestScore[i] = g.moveCount;
    }
    FinishSolve(window);
    window.Invalidate();
}

bool OnClose(GameWindow& window) {
    EndIntro(window);
    if (ConfirmAbort(window) != kAnswerOk) return false;
    // A game abandoned by closing is booked into the totals; they are stored now, or they would
    // be lost with the program. So is a game abandoned earlier for the rules, which no save point
    // has stored since. A close with nothing to keep writes nothing.
    if (window.StatisticsUnsaved()) window.SaveSettings();
    return true;
}

void OnSessionEnd(GameWindow& window) {
    EndIntro(window);
    if (solving)
        FinishSolve(window);  // the session ended with a "best" box open: the solve counts
    else if (GameInProgress())
        BookAbandonedGame(window);
    if (window.StatisticsUnsaved()) window.SaveSettings();
}

void OnGameTick(GameWindow& window) {
    gameState.lastTick = GetTickCount();
    if (gameState.mode == ModePlaying && gameState.moveCount > 0) window.Repaint();
}

void ResetStatistics() {
    GameState& g = gameState;
    for (int i = 0; i < kPuzzleCount; ++i) {
        g.bestScore[i] = 0;
        g.bestTime[i] = 0;
        g.totalScore[i] = 0;
        g.totalTime[i] = 0;
    }
    g.gameNumber = 0;
}
