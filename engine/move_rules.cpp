#include "engine/move_rules.h"

#include <cstdlib>
#include <cstring>

#include "engine/board_record.h"
#include "engine/game_progress.h"
#include "engine/game_state.h"
#include "engine/history.h"
#include "platform/clock/clock.h"
#include "texts/texts.h"

namespace {

// The letters of the side a step goes toward, and of the side it enters the target through.
struct Direction {
    char toward;  // small-box letter of the step's direction
    char facing;  // small-box letter of the target's side that faces the pusher
};

Direction DirectionOf(int dx, int dy) {
    if (dx > 0) return {'e', 'w'};
    if (dx < 0) return {'w', 'e'};
    if (dy > 0) return {'s', 'n'};
    return {'n', 's'};
}

char Big(char small) {
    return static_cast<char>(small - 'a' + 'A');
}

}  // namespace

StepOutcome StepBoard(const char* record, int width, int height, int targetX, int targetY,
                      char* next) {
    if (!RecordFits(width, height)) return StepBadPosition;
    const int s = SuffixIndex(width, height);
    const int px = Digit(record[s]);
    const int py = Digit(record[s + 1]);
    if (px < 0 || py < 0 || px >= width || py >= height) return StepBadPosition;

    const int dx = targetX - px, dy = targetY - py;
    if (!((dx == 0 && std::abs(dy) == 1) || (dy == 0 && std::abs(dx) == 1)))
        return StepNotNeighbour;
    if (targetX < 0 || targetY < 0 || targetX >= width || targetY >= height) return StepOffBoard;

    const int targetAt = CellIndex(width, targetX, targetY);
    const int pusherAt = CellIndex(width, px, py);
    CellParts target{record[targetAt], '-', '-', '-'};
    CellParts here{record[pusherAt], '-', '-', '-'};
    if (ExpandCell(&target) != 0 || ExpandCell(&here) != 0) return StepBadCell;

    const Direction d = DirectionOf(dx, dy);
    const bool bigTravels = here.bigBox != '-' && here.bigBox != Big(d.toward);
    const bool smallTravels = here.smallBox != '-' && (here.smallBox != d.toward || bigTravels);

    if (target.smallBox != '-') {
        if (smallTravels || bigTravels || target.smallBox != d.facing) return StepRefused;
    }
    if (target.bigBox != '-') {
        if (bigTravels || target.bigBox != Big(d.facing)) return StepRefused;
    }

    std::memcpy(next, record, kSlotSize);
    next[kSlotSize - 1] = '\0';
    if (bigTravels) {
        target.bigBox = here.bigBox;
        here.bigBox = '-';
        if (Digit(next[4]) == px && Digit(next[5]) == py) {
            next[4] = DigitChar(targetX);
            next[5] = DigitChar(targetY);
        }
    }
    if (smallTravels) {
        target.smallBox = here.smallBox;
        here.smallBox = '-';
        if (Digit(next[2]) == px && Digit(next[3]) == py) {
            next[2] = DigitChar(targetX);
            next[3] = DigitChar(targetY);
        }
    }
    target.pusher = 'M';
    here.pusher = '-';
    next[s] = DigitChar(targetX);
    next[s + 1] = DigitChar(targetY);
    FoldCell(&target);
    FoldCell(&here);
    next[targetAt] = target.code;
    next[pusherAt] = here.code;
    return StepMoved;
}

void TryMove(GameWindow& window, std::int16_t targetX, std::int16_t targetY) {
    GameState& g = gameState;
    if (!g.clockStarted) {
        g.timerId = window.StartTimer(kGameTimer, kGameClockPeriodMs);
        g.startTick = GetTickCount();
        g.lastTick = g.startTick;
        g.clockStarted = true;
    }
    MakeHistoryRoom();

    const char* current = g.history[g.currentIndex];
    StepOutcome outcome = StepBoard(current, g.boardWidth, g.boardHeight, targetX, targetY,
                                    g.history[g.currentIndex + 1]);
    switch (outcome) {
        case StepBadPosition:
            window.ShowMessage(GetText(TextBadPosition, g.language),
                               GetText(TextInternalErrorCaption, g.language), kBoxIconError);
            return;
        case StepOffBoard:
        case StepBadCell:
            return;
        case StepMoved:
            ++g.currentIndex;
            ++g.moveCount;
            g.lastIndex = g.currentIndex;
            OnGameTick(window);
            break;
        case StepNotNeighbour:
        case StepRefused:
            break;
    }
    if (IsSolved(g.history[g.currentIndex])) OnSolved(window);
}

void OnKeyDown(GameWindow& window, unsigned key) {
    const GameState& g = gameState;
    if (g.mode != ModePlaying || g.boardWidth < 1 || g.boardHeight < 1) return;
    if (!RecordFits(g.boardWidth, g.boardHeight)) return;
    const char* current = g.history[g.currentIndex];
    const int s = SuffixIndex(g.boardWidth, g.boardHeight);
    const int px = Digit(current[s]), py = Digit(current[s + 1]);
    int x = px, y = py;
    switch (key) {
        case ArrowLeft:
            --x;
            break;
        case ArrowUp:
            --y;
            break;
        case ArrowRight:
            ++x;
            break;
        case ArrowDown:
            ++y;
            break;
        default:
            break;
    }
    if (x < 0 || y < 0 || x >= g.boardWidth || y >= g.boardHeight) return;
    if (x == px && y == py) return;
    TryMove(window, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y));
}
