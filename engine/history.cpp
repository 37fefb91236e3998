#include "engine/history.h"

#include <cstring>

#include "engine/game_state.h"

void Undo(GameWindow& window) {
    if (gameState.currentIndex <= 0) return;
    --gameState.currentIndex;
    if (gameState.mode == ModePlaying) ++gameState.moveCount;
    window.Repaint();
}

void Redo(GameWindow& window) {
    if (gameState.currentIndex >= gameState.lastIndex) return;
    ++gameState.currentIndex;
    if (gameState.mode == ModePlaying) ++gameState.moveCount;
    window.Repaint();
}

void Restart(GameWindow& window) {
    gameState.currentIndex = 0;
    window.Repaint();
}

void MakeHistoryRoom() {
    if (gameState.currentIndex + 1 < kHistorySlots) return;
    for (int i = 1; i < kHistorySlots; ++i)
        std::memcpy(gameState.history[i - 1], gameState.history[i], kSlotSize);
    gameState.currentIndex = kHistorySlots - 2;
    gameState.lastIndex = gameState.currentIndex;
}
