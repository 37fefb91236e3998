#include "ui/board_view.h"

#include "engine/board_record.h"
#include "engine/duration_format.h"
#include "engine/game_state.h"
#include "platform/crt/wsprintf.h"
#include "resources/resource_ids.h"
#include "texts/texts.h"
#include "ui/back_buffer.h"
#include "ui/hints.h"
#include "ui/screen_layout.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kSolvedCells = RGB(200, 255, 200);
constexpr COLORREF kReplayCells = RGB(220, 220, 255);
constexpr COLORREF kPlayingCells = RGB(255, 200, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kFaceFill = RGB(255, 100, 255);
constexpr COLORREF kFaceLines = RGB(50, 0, 50);
constexpr COLORREF kPurple = RGB(200, 0, 200);

// Draw format of the button labels: centred at the bottom, one line.
constexpr UINT kLabelFormat = DT_CENTER | DT_BOTTOM | DT_SINGLELINE;

// A pusher coordinate that names no cell.
constexpr int kNoCell = 9;

// Each wall 4 pixels thick, relative to the cell's top-left corner, with the letter of the
// layer that leaves it out (the box's open side).
struct Wall {
    char openSide;
    RECT rect;
};
constexpr Wall kSmallWalls[] = {
    {'n', {8, 8, 32, 12}}, {'s', {8, 28, 32, 32}}, {'e', {28, 8, 32, 32}}, {'w', {8, 8, 12, 32}}};
constexpr Wall kBigWalls[] = {
    {'N', {3, 3, 37, 7}}, {'S', {3, 33, 37, 37}}, {'E', {33, 3, 37, 37}}, {'W', {3, 3, 7, 37}}};

char* CurrentRecord() {
    return gameState.history[gameState.currentIndex];
}

const wchar_t* Text(TextId id) {
    return GetText(id, gameState.language);
}

// Draws the walls of one box layer, all but its open side, in `colour`.
void DrawBox(HDC dc, int x, int y, char layer, const Wall (&walls)[4], COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    for (const Wall& wall : walls) {
        if (wall.openSide == layer) continue;
        Rectangle(dc, x + wall.rect.left, y + wall.rect.top, x + wall.rect.right,
                  y + wall.rect.bottom);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

void DrawPusher(HDC dc, int x, int y) {
    const bool solved = IsSolved(CurrentRecord());
    HPEN pen = CreatePen(PS_SOLID, 1, solved ? kFaceLines : kGreen);
    HBRUSH brush = CreateSolidBrush(solved ? kFaceFill : kGreen);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    if (solved) {
        Ellipse(dc, x + 13, y + 13, x + 27, y + 27);
        const POINT leftEye[] = {{x + 17, y + 17}, {x + 18, y + 18}};
        const POINT rightEye[] = {{x + 22, y + 17}, {x + 21, y + 18}};
        const POINT mouth[] = {{x + 17, y + 22},
                               {x + 18, y + 23},
                               {x + 21, y + 23},
                               {x + 22, y + 22},
                               {x + 23, y + 21}};
        Polyline(dc, leftEye, 2);
        Polyline(dc, rightEye, 2);
        Polyline(dc, mouth, 5);
    } else {
        Rectangle(dc, x + 14, y + 14, x + 26, y + 26);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

void DrawBoard(const char* record, int width, int height, int pusherX, int pusherY) {
    const int redX = Digit(record[2]), redY = Digit(record[3]);
    const int blueX = Digit(record[4]), blueY = Digit(record[5]);
    const int suffix = SuffixIndex(width, height);

    COLORREF cells = kPlayingCells;
    if (IsSolved(record))
        cells = kSolvedCells;
    else if (gameState.mode == ModeSolved || gameState.mode == ModeTutorial)
        cells = kReplayCells;
    HBRUSH brush = CreateSolidBrush(cells);
    HGDIOBJ oldBrush = SelectObject(backBufferDC, brush);
    for (int c = 0; c < width; ++c) {
        for (int r = 0; r < height; ++r) {
            const int x = boardOriginX + kCellPitch * c, y = boardOriginY + kCellPitch * r;
            Rectangle(backBufferDC, x, y, x + kCellSize, y + kCellSize);
        }
    }
    SelectObject(backBufferDC, oldBrush);
    DeleteObject(brush);

    char* slot = CurrentRecord();
    int read = 6;
    for (int r = 0; r < height; ++r, ++read) {
        for (int c = 0; c < width; ++c, ++read) {
            char cell = slot[read];
            DrawCell(backBufferDC, boardOriginX + kCellPitch * c, boardOriginY + kCellPitch * r,
                     cell, pusherX == c && pusherY == r, redX == c && redY == r,
                     blueX == c && blueY == r);
            if (cell == 'M') {
                slot[suffix - 1] = ';';
                slot[suffix] = DigitChar(c);
                slot[suffix + 1] = DigitChar(r);
                slot[suffix + 2] = '\0';
            }
        }
    }
}

void DrawButtons() {
    SelectObject(backBufferDC, GetStockObject(NULL_BRUSH));
    SelectObject(backBufferDC, GetStockObject(WHITE_PEN));
    SetTextColor(backBufferDC, kBlue);
    SetBkColor(backBufferDC, kBlack);
    HBITMAP glyphs = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kButtonGlyphsBitmap));
    HGDIOBJ oldBitmap = SelectObject(scratchDC, glyphs);
    if (gameState.currentIndex > 0) {
        Rectangle(backBufferDC, undoRect.left, undoRect.top, undoRect.right, undoRect.bottom + 2);
        Rectangle(backBufferDC, restartRect.left, restartRect.top, restartRect.right,
                  restartRect.bottom + 2);
        SetTextColor(backBufferDC, kPurple);
        BitBlt(backBufferDC, (undoRect.left + undoRect.right) / 2 - 8, undoRect.top + 5, 15, 15,
               scratchDC, 15, 0, SRCCOPY);
        BitBlt(backBufferDC, (restartRect.left + restartRect.right) / 2 - 7, restartRect.top + 5,
               15, 15, scratchDC, 0, 0, SRCCOPY);
        RECT undo = undoRect, restart = restartRect;
        DrawTextW(backBufferDC, Text(TextUndoLabel), -1, &undo, kLabelFormat);
        DrawTextW(backBufferDC, Text(TextRestartLabel), -1, &restart, kLabelFormat);
    }
    if (gameState.currentIndex < gameState.lastIndex) {
        Rectangle(backBufferDC, redoRect.left, redoRect.top, redoRect.right, redoRect.bottom + 2);
        SetTextColor(backBufferDC, kPurple);
        BitBlt(backBufferDC, (redoRect.left + redoRect.right) / 2 - 10, redoRect.top + 5, 15, 15,
               scratchDC, 30, 0, SRCCOPY);
        RECT redo = redoRect;
        DrawTextW(backBufferDC, Text(TextRedoLabel), -1, &redo, kLabelFormat);
    }
    SelectObject(scratchDC, oldBitmap);
    DeleteObject(glyphs);
}

void DrawTexts() {
    wchar_t line[256], duration[64];
    SetBkColor(backBufferDC, kBlack);
    SetTextColor(backBufferDC, kBlue);
    if (gameState.mode != ModeTutorial) {
        int length = wsprintfW(line, Text(TextTitleLine), gameState.gameNumber);
        const int stats = StatsIndex();
        if (gameState.bestScore[stats] != 0) {
            FormatDuration(duration, gameState.bestTime[stats]);
            wnsprintfW(line + length, 256 - length, Text(TextBestAfterTitle),
                       gameState.bestScore[stats], duration);
        }
        RECT title = titleRect;
        DrawTextW(backBufferDC, line, -1, &title, 0);
    }
    SetTextColor(backBufferDC, kGreen);
    if (gameState.clockStarted) {
        FormatDuration(duration, gameState.lastTick - gameState.startTick);
        wnsprintfW(line, 256, Text(TextStatusLine), gameState.moveCount, duration);
        RECT status = statusRect;
        DrawTextW(backBufferDC, line, -1, &status, DT_RIGHT);
    }
    SetTextColor(backBufferDC, kGreen);
    RECT hint = hintRect;
    if (gameState.mode == ModeTutorial) {
        DrawTextW(backBufferDC, Text(TextHintTutorial), -1, &hint, DT_CENTER);
    } else if (!gameState.clockStarted && gameState.gameNumber == 0) {
        DrawTextW(backBufferDC, Text(TextHintFirstPuzzle), -1, &hint, DT_CENTER);
    } else if (const wchar_t* note = NoWayOutNote()) {
        DrawTextW(backBufferDC, note, -1, &hint, DT_CENTER);
    }
}

}  // namespace

void DrawCell(HDC dc, int x, int y, char& cell, std::int16_t pusherHere, std::int16_t redHere,
              std::int16_t blueHere) {
    if (cell == '-') return;
    CellParts parts{cell, '-', '-', '-'};
    if (ExpandCell(&parts) != 0) return;
    cell = '-';
    if (parts.smallBox != '-')
        DrawBox(dc, x, y, parts.smallBox, kSmallWalls, redHere ? kRed : kBlack);
    if (parts.bigBox != '-') DrawBox(dc, x, y, parts.bigBox, kBigWalls, blueHere ? kBlue : kBlack);
    if (parts.pusher != 'M' && !pusherHere) return;
    DrawPusher(dc, x, y);
    cell = 'M';
}

void DrawGameFrame(GameWindow& window) {
    const char* record = CurrentRecord();
    gameState.boardWidth = Digit(record[0]);
    gameState.boardHeight = Digit(record[1]);
    const int width = gameState.boardWidth, height = gameState.boardHeight;
    if (width > kLargestSide || height > kLargestSide ||
        (width >= 1 && height >= 1 && !RecordFits(width, height))) {
        window.ShowMessage(GetText(TextBoardTooLarge, 0), GetText(TextInternalErrorCaption, 0),
                           kBoxIconError);
    }
    boardOriginX = BoardOriginX(width);
    boardOriginY = BoardOriginY(height);

    // A record too large for its slot draws no board: its rows would run past the slot.
    if (RecordFits(width, height)) {
        const int suffix = SuffixIndex(width, height);
        int pusherX = Digit(record[suffix]), pusherY = Digit(record[suffix + 1]);
        if (pusherX < 0) pusherX = kNoCell;
        if (pusherY < 0) pusherY = kNoCell;
        DrawBoard(record, width, height, pusherX, pusherY);
    }
    DrawButtons();
    DrawTexts();
}
