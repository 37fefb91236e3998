// The game frame the benchmarks paint: puzzle 10 (the busiest) in French, both the Undo and the
// Redo button showing, composed in the back buffer and copied to a screen-sized bitmap. Shared
// by the desktop's screen benchmark and the paint measured in the browser and natively.
#pragma once

#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "engine/game_window.h"
#include "engine/move_rules.h"
#include "platform/gdi/gdi.h"
#include "ui/back_buffer.h"
#include "ui/board_view.h"

namespace bench {

struct QuietWindow : GameWindow {
    void Repaint() override {}
    void Invalidate() override {}
    int ShowMessage(const wchar_t*, const wchar_t*, unsigned) override { return kAnswerOk; }
    unsigned StartTimer(unsigned, unsigned) override { return 1; }
    void StopTimer(unsigned) override {}
    void ApplyMenuLanguage() override {}
    long LoadSettings() override { return -1; }
    long SaveSettings() override { return 0; }
    bool StatisticsUnsaved() override { return false; }
};

inline QuietWindow window;

// The screen the back buffer is copied to.
struct Screen {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 240, 268);
    HGDIOBJ old = SelectObject(dc, bitmap);
    Screen() { CreateBackBuffer(nullptr, 240, 268); }
    ~Screen() {
        DeleteBackBuffer();
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    void Present() { BitBlt(dc, 0, 0, 240, 268, backBufferDC, 0, 0, SRCCOPY); }
};

inline void Floor(Screen& screen) {
    PatBlt(backBufferDC, 0, 0, backBufferWidth, backBufferHeight, BLACKNESS);
    screen.Present();
}

// Puzzle 10: a 5 by 5 board with the most boxes, one move made and undone, so that both the
// Undo and the Redo button show.
inline void SetUpGame() {
    gameState.gameNumber = 10;
    LoadLevel();
    gameState.language = 1;  // the longer French texts
    for (unsigned key = ArrowLeft; key <= ArrowDown && gameState.lastIndex == 0; ++key)
        OnKeyDown(window, key);
    gameState.currentIndex = 0;
    gameState.moveCount = 1;
}

inline void GameFrame(Screen& screen) {
    PatBlt(backBufferDC, 0, 0, backBufferWidth, backBufferHeight, BLACKNESS);
    HGDIOBJ oldPen = SelectObject(backBufferDC, GetStockObject(BLACK_PEN));
    DrawGameFrame(window);
    SelectObject(backBufferDC, oldPen);
    screen.Present();
}

}  // namespace bench
