// The game frame by pixel probes: cell colours, walls, the pusher and its face, buttons, texts,
// and what a damaged record may and may not do.
#include "ui/board_view.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "engine/game_state.h"
#include "platform/gdi/internal/surface.h"
#include "tests/ui/back_buffer_test.h"
#include "ui/screen_layout.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kPink = RGB(255, 200, 255);
constexpr COLORREF kLightBlue = RGB(220, 220, 255);
constexpr COLORREF kLightGreen = RGB(200, 255, 200);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kFaceFill = RGB(255, 100, 255);
constexpr COLORREF kPurple = RGB(200, 0, 200);

// Puzzle 0: 3 by 3, red box open north at (0, 1), blue box open west at (2, 1), pusher (0, 0).
constexpr char kPuzzle0[] = "330121M--;n-W;---";
// The same board solved: the red box inside the blue box at (1, 1).
constexpr char kSolved[] = "331111M--;-O-;---";

class BoardViewTest : public BackBufferTest {
  protected:
    // A paint's drawing, as the main window does it around the game frame.
    void Paint() {
        PatBlt(backBufferDC, 0, 0, backBufferWidth, backBufferHeight, BLACKNESS);
        HGDIOBJ oldPen = SelectObject(backBufferDC, GetStockObject(BLACK_PEN));
        DrawGameFrame(window);
        SelectObject(backBufferDC, oldPen);
    }
    // The centre of cell (c, r) of the board just painted, offset by (dx, dy).
    static COLORREF Cell(int c, int r, int dx = 20, int dy = 20) {
        return At(boardOriginX + 39 * c + dx, boardOriginY + 39 * r + dy);
    }
};

// The frame of a puzzle as it starts; the cells' colours by mode and the solved face, drawn
// with every object deleted again; the buttons only with something to undo or redo; the
// moves and time line in place of the hint once the clock runs.
TEST_F(BoardViewTest, TheGameFrameShowsThePuzzleItsButtonsAndItsLines) {
    Position(kPuzzle0);
    Paint();
    EXPECT_EQ(std::tuple(boardOriginX, boardOriginY), std::tuple(61, 54));

    // Shared one-pixel black borders around pink interiors; black outside the board.
    ExpectAt({{61, 54, kBlack},
              {100, 54, kBlack},
              {178, 171, kBlack},
              {62, 55, kPink},
              {60, 60, kBlack},
              {179, 60, kBlack}});

    // The pusher's green square, the red small box and the blue big box in their cells; their
    // openings are drawn by DrawCell.
    EXPECT_EQ(std::tuple(Cell(0, 0), Cell(0, 0, 14, 14), Cell(0, 0, 13, 13)),
              std::tuple(kGreen, kGreen, kPink));
    EXPECT_EQ(std::tuple(Cell(0, 1, 20, 30), Cell(2, 1, 20, 5), Cell(2, 1, 5, 20)),
              std::tuple(kRed, kBlue, kPink));

    // The suffix now names the pusher drawn.
    EXPECT_STREQ(gameState.history[0], "330121M--;n-W;---;00");
    // No buttons at slot 0 of a fresh game, the first puzzle's hint, no moves and time line.
    ExpectAt({{0, 220, kBlack}, {170, 220, kBlack}});
    EXPECT_GT(CountColour(hintRect, kGreen), 50);
    EXPECT_EQ(CountColour(statusRect, kGreen), 0);
    EXPECT_GT(CountColour({0, 0, 150, 15}, kBlue), 20);  // "Game 0"
    EXPECT_TRUE(window.boxes.empty());

    Position(kPuzzle0);
    gameState.mode = ModeSolved;
    Paint();
    EXPECT_EQ(Cell(1, 1), kLightBlue);
    gameState.mode = ModeTutorial;
    Paint();
    EXPECT_EQ(Cell(1, 1), kLightBlue);
    EXPECT_EQ(CountColour(titleRect, kBlue), 0);  // no title in the tutorial
    EXPECT_GT(CountColour(hintRect, kGreen), 50);

    for (int mode : {ModePlaying, ModeSolved, ModeTutorial}) {
        Position(kSolved);
        gameState.mode = mode;
        const int objects = gdi::LiveObjectCount();
        Paint();
        EXPECT_EQ(gdi::LiveObjectCount(), objects);
        // The face, not the green square, round so that it leaves the corner; red inside blue
        // in one cell.
        EXPECT_EQ(std::tuple(Cell(2, 2), Cell(0, 0), Cell(0, 0, 14, 14), Cell(1, 1, 20, 30),
                             Cell(1, 1, 20, 35)),
                  std::tuple(kLightGreen, kFaceFill, kLightGreen, kRed, kBlue))
            << mode;
    }

    Position(kPuzzle0);
    std::strcpy(gameState.history[1], kPuzzle0);
    std::strcpy(gameState.history[2], kPuzzle0);
    gameState.lastIndex = 2;
    gameState.currentIndex = 1;
    Paint();
    // Undo and Restart outlined 2 pixels below their rectangles, Redo likewise.
    // The outline is not filled.
    ExpectAt({{0, 220, kWhite},
              {0, 261, kWhite},
              {75, 261, kWhite},
              {239, 261, kWhite},
              {35, 240, kBlack}});
    EXPECT_GT(CountColour(undoRect, kPurple), 20);

    gameState.currentIndex = 2;
    Paint();
    ExpectAt({{0, 220, kWhite}, {239, 261, kBlack}});
    EXPECT_EQ(CountColour(redoRect, kPurple), 0);

    gameState.currentIndex = 0;
    Paint();
    ExpectAt({{0, 220, kBlack}, {239, 261, kWhite}});

    Position(kPuzzle0);
    gameState.clockStarted = true;
    gameState.startTick = 0;  // a clock started at tick 0 still shows
    gameState.lastTick = 12300;
    gameState.moveCount = 4;
    Paint();
    EXPECT_GT(CountColour(statusRect, kGreen), 20);
    EXPECT_EQ(CountColour(hintRect, kGreen), 0);
}

TEST_F(BoardViewTest, WhatTheRecordHoldsIsDrawnAndTheSuffixNamesThePusherDrawn) {
    // Grid 'M' at (0, 0) while the suffix names (2, 1), the blue box's cell.
    Position("330121M--;n-W;---;21");
    Paint();
    EXPECT_EQ(std::tuple(Cell(0, 0), Cell(2, 1)), std::tuple(kGreen, kGreen));
    EXPECT_STREQ(gameState.history[0], "330121M--;n-W;---;21");

    // A suffix on an empty cell draws no pusher there; the grid's 'M' wins the suffix.
    Position("330121M--;n-W;---;22");
    Paint();
    EXPECT_EQ(Cell(2, 2), kPink);
    EXPECT_STREQ(gameState.history[0], "330121M--;n-W;---;00");

    Position("552133-----;-----;-M---;-----;-----");
    Paint();
    EXPECT_STREQ(gameState.history[0], "552133-----;-----;-M---;-----;-----;12");

    Position("330121M--;n-Z;---");
    Paint();
    EXPECT_EQ(std::tuple(Cell(2, 1, 20, 5), At(139, 93)), std::tuple(kPink, kBlack));
}

TEST_F(BoardViewTest, NoBoardIsDrawnForARecordTooLargeOrForNoPosition) {
    for (const char* record : {"7301210000000;0000000;0000000", "66", "91"}) {
        SCOPED_TRACE(record);
        window.boxes.clear();
        Position(record);
        char next[kSlotSize];
        std::memcpy(next, gameState.history[1], kSlotSize);
        Paint();
        EXPECT_EQ(window.boxes,
                  (std::vector<ShownBox>{{L"Board size too large", L"Internal error", 0x10}}));
        EXPECT_EQ(std::memcmp(next, gameState.history[1], kSlotSize), 0);  // nothing written past
        EXPECT_EQ(CountColour({0, 0, 240, 220}, kPink), 0);
    }

    std::memset(&gameState, 0, sizeof gameState);
    window.boxes.clear();
    Paint();  // slot 0 still empty, as after About ends the intro
    EXPECT_EQ(gameState.boardWidth, -48);
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(CountColour({0, 15, 240, 180}, kBlack), 240 * 165);
}

class DrawCellTest : public BoardViewTest {
  protected:
    char Draw(char code, bool pusher = false, bool red = false, bool blue = false) {
        PatBlt(backBufferDC, 0, 0, 40, 40, WHITENESS);
        char cell = code;
        DrawCell(backBufferDC, 0, 0, cell, pusher, red, blue);
        return cell;
    }
};

TEST_F(DrawCellTest, EachBoxLeavesOutTheWallOfItsOpeningAndTheCellSaysWhatWasDrawn) {
    Position(kPuzzle0);
    EXPECT_EQ(Draw('-', true), '-');  // an empty cell draws nothing, pusher or not
    EXPECT_EQ(At(20, 20), kWhite);
    EXPECT_EQ(Draw('Z', true), 'Z');  // no cell code: untouched
    EXPECT_EQ(At(20, 20), kWhite);
    EXPECT_EQ(Draw('n'), '-');
    EXPECT_EQ(Draw('n', true), 'M');  // a pusher inside a box
    EXPECT_EQ(At(20, 20), kGreen);
    EXPECT_EQ(Draw('M'), 'M');

    Position(kPuzzle0);
    struct Probe {
        int x, y;
    };
    const Probe small[] = {{20, 10}, {20, 30}, {30, 20}, {10, 20}};  // n, s, e, w
    const Probe big[] = {{20, 5}, {20, 35}, {35, 20}, {5, 20}};      // N, S, E, W
    const char smallCodes[] = {'n', 's', 'e', 'w'};
    const char bigCodes[] = {'N', 'S', 'E', 'W'};
    for (int open = 0; open < 4; ++open) {
        Draw(smallCodes[open]);
        for (int wall = 0; wall < 4; ++wall)
            EXPECT_EQ(At(small[wall].x, small[wall].y), wall == open ? kWhite : kBlack)
                << smallCodes[open] << wall;
        Draw(bigCodes[open], false, false, true);
        for (int wall = 0; wall < 4; ++wall)
            EXPECT_EQ(At(big[wall].x, big[wall].y), wall == open ? kWhite : kBlue)
                << bigCodes[open] << wall;
    }
    // A nested code draws both boxes: 'H' is a small box open east in a big box open east.
    Draw('H', false, true, false);
    ExpectAt({{30, 20, kWhite}, {10, 20, kRed}, {35, 20, kWhite}, {5, 20, kBlack}});
}

}  // namespace
