#include "engine/move_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/catalogue.h"
#include "engine/history.h"
#include "engine_fixture.h"

namespace {

struct StepCase {
    const char* name;
    const char* record;
    int x, y;
    StepOutcome outcome;
    const char* next;  // the position after a move
};

// Boards of one row or one column, so that each case shows only the cells it is about. Red and
// blue positions '9' and '8' lie off the board unless a case follows them.
const StepCase kStepCases[] = {
    // The pusher steps alone.
    {"into an empty cell", "319988M--;00", 1, 0, StepMoved, "319988-M-;10"},
    {"into a small box open toward it", "319988Mw-;00", 1, 0, StepMoved, "319988-w-;10"},
    {"against a small box's wall", "319988Me-;00", 1, 0, StepRefused, nullptr},
    {"into a big box open toward it", "319988MW-;00", 1, 0, StepMoved, "319988-W-;10"},
    {"into both boxes open toward it", "319988MV-;00", 1, 0, StepMoved, "319988-V-;10"},
    {"into an open big box holding a closed small one", "319988MU-;00", 1, 0, StepRefused, nullptr},
    {"west into a box open east", "319988-eM;20", 1, 0, StepMoved, "319988-e-;10"},
    {"south into a box open north", "139988M;n;-;00", 0, 1, StepMoved, "139988-;n;-;01"},
    // The pusher stands in a small box.
    {"leaves a small box through its opening", "319988e--;00", 1, 0, StepMoved, "319988eM-;10"},
    {"drags a small box by its wall", "319988n--;00", 1, 0, StepMoved, "319988-n-;10"},
    {"drags a small box into an open big box", "319988nW-;00", 1, 0, StepMoved, "319988-X-;10"},
    {"cannot drag a small box into a small box", "319988nw-;00", 1, 0, StepRefused, nullptr},
    {"cannot drag a small box through a big box's wall", "319988nE-;00", 1, 0, StepRefused,
     nullptr},
    // The pusher stands in a big box.
    {"leaves a big box through its opening", "319988E--;00", 1, 0, StepMoved, "319988EM-;10"},
    {"drags a big box by its wall", "319988N--;00", 1, 0, StepMoved, "319988-N-;10"},
    {"cannot drag a big box into a big box", "319988NW-;00", 1, 0, StepRefused, nullptr},
    // The pusher stands in a small box inside a big box.
    {"leaves both boxes", "319988H--;00", 1, 0, StepMoved, "319988HM-;10"},
    {"drags the small box out of the big one", "319988F--;00", 1, 0, StepMoved, "319988En-;10"},
    {"drags both boxes by the big box's wall", "319988X--;00", 1, 0, StepMoved, "319988-X-;10"},
    {"drags the small box north out of a big box open north", "129988-;P;01", 0, 0, StepMoved,
     "129988s;N;00"},
    // The red and blue positions follow their boxes, and only theirs.
    {"red follows the small box", "310020n-W;00", 1, 0, StepMoved, "311020-nW;10"},
    {"red enters blue", "311020-nW;10", 2, 0, StepMoved, "312020--X;20"},
    {"blue follows the big box", "319900N--;00", 1, 0, StepMoved, "319910-N-;10"},
    {"both follow boxes travelling together", "310000X--;00", 1, 0, StepMoved, "311010-X-;10"},
    {"a box left behind keeps its position", "310099e--;00", 1, 0, StepMoved, "310099eM-;10"},
    // Targets that are no step.
    {"the pusher's own cell", "319988-M-;10", 1, 0, StepNotNeighbour, nullptr},
    {"two cells away", "319988M--;00", 2, 0, StepNotNeighbour, nullptr},
    {"a diagonal", "229988M-;--;00", 1, 1, StepNotNeighbour, nullptr},
    {"beyond the west edge", "319988M--;00", -1, 0, StepOffBoard, nullptr},
    // Damaged positions.
    {"a character that is no cell code", "319988MT-;00", 1, 0, StepBadCell, nullptr},
    {"a pusher beyond the board", "319988---;30", 2, 0, StepBadPosition, nullptr},
    {"a negative pusher digit", "319988---;/0", 0, 0, StepBadPosition, nullptr},
};

TEST(StepBoard, RuleTable) {
    for (const StepCase& c : kStepCases) {
        SCOPED_TRACE(c.name);
        char record[kSlotSize] = {};
        std::strcpy(record, c.record);
        char next[kSlotSize];
        std::memset(next, '#', sizeof next);
        const StepOutcome outcome =
            StepBoard(record, record[0] - '0', record[1] - '0', c.x, c.y, next);
        EXPECT_EQ(outcome, c.outcome);
        if (c.next) {
            EXPECT_EQ(std::string(next), c.next);
        } else {
            EXPECT_EQ(next[0], '#');  // nothing written
        }
        EXPECT_EQ(std::string(record), c.record);  // the source is never touched
    }
    // A size whose record cannot fit a slot is a bad position.
    char record[kSlotSize] = "66", next[kSlotSize];
    EXPECT_EQ(StepBoard(record, 6, 6, 0, 0, next), StepBadPosition);
    EXPECT_EQ(StepBoard(record, 0, 3, 0, 0, next), StepBadPosition);
}

class TryMoveTest : public EngineTest {};

// The first attempt starts the clock even when refused, and only once: a clock started at tick 0
// is running all the same. A refused attempt keeps the line that Redo follows.
TEST_F(TryMoveTest, TheClockARefusalABadPusherAndTheTutorialsReplay) {
    Position("229988Me;--;00");
    gameState.startTick = gameState.lastTick = 77;  // stale, from an earlier game
    testNow = 0;
    TryMove(window, 1, 0);
    ASSERT_EQ(window.timerStarts.size(), 1u);
    EXPECT_EQ(
        std::tuple(window.timerStarts[0].id, window.timerStarts[0].periodMs, gameState.timerId),
        std::tuple(kGameTimer, 100u, window.nextTimerId));
    EXPECT_EQ(std::tuple(gameState.lastTick, gameState.moveCount), std::tuple(0u, 0));
    testNow = 300;
    TryMove(window, 0, 1);
    EXPECT_EQ(window.timerStarts.size(), 1u);
    EXPECT_EQ(std::tuple(gameState.startTick, gameState.lastTick), std::tuple(0u, 300u));

    Position("319988Me-;00");
    std::strcpy(gameState.history[1], "319988-e-;00");  // a later position left by an undo
    gameState.lastIndex = 1;
    gameState.moveCount = 3;
    TryMove(window, 1, 0);
    EXPECT_EQ(Place(), std::tuple(0, 1, 3));
    EXPECT_STREQ(gameState.history[1], "319988-e-;00");
    Redo(window);
    EXPECT_EQ(Current(), "319988-e-;00");

    // A bad pusher position shows the error box, in either language.
    for (int language : {0, 1}) {
        Position("319988---;70");
        gameState.language = language;
        window.boxes.clear();
        TryMove(window, 1, 0);
        EXPECT_EQ(window.boxes, (std::vector<ShownBox>{{L"Bad position", L"Internal error", 16}}));
        EXPECT_EQ(gameState.currentIndex, 0);
    }
    // The tutorial's frames, replayed from its first position by the step rule.
    Position(kTutorialRecords[0]);
    const int targets[8][2] = {{1, 2}, {2, 2}, {2, 1}, {1, 1}, {1, 0}, {2, 0}, {2, 1}, {2, 2}};
    for (int k = 0; k < 8; ++k) {
        ASSERT_EQ(gameState.mode, ModePlaying) << k;
        TryMove(window, static_cast<std::int16_t>(targets[k][0]),
                static_cast<std::int16_t>(targets[k][1]));
        EXPECT_EQ(Current(), kTutorialRecords[k + 1]) << "step " << k + 1;
    }
    // The last step reached OnSolved.
    EXPECT_EQ(std::tuple(gameState.mode, gameState.moveCount), std::tuple(ModeSolved, 8));
}

class KeyTest : public EngineTest {};

// The arrows step; other keys, an arrow toward the edge, or any arrow with no game in play do
// nothing, not even start the clock.
TEST_F(KeyTest, ArrowsStepAndNothingElseDoesAnything) {
    Position("339988---;-M-;---;11");
    OnKeyDown(window, ArrowLeft);
    EXPECT_EQ(Current(), "339988---;M--;---;01");
    OnKeyDown(window, ArrowRight);
    OnKeyDown(window, ArrowUp);
    EXPECT_EQ(Current(), "339988-M-;---;---;10");
    OnKeyDown(window, ArrowDown);
    EXPECT_EQ(Current(), "339988---;-M-;---;11");
    const int moves = gameState.moveCount;
    OnKeyDown(window, 13);  // Return
    OnKeyDown(window, ArrowDown + 1);
    EXPECT_EQ(std::tuple(gameState.moveCount, moves), std::tuple(4, 4));

    std::memset(&gameState, 0, sizeof gameState);
    window.timerStarts.clear();
    OnKeyDown(window, ArrowRight);  // no puzzle loaded yet: the sizes are still 0
    Position("319988M--;00");
    OnKeyDown(window, ArrowLeft);
    OnKeyDown(window, ArrowUp);
    OnKeyDown(window, ArrowDown);
    EXPECT_FALSE(gameState.clockStarted);
    for (int mode : {ModeTutorial, ModeSolved}) {
        gameState.mode = mode;
        OnKeyDown(window, ArrowRight);
    }
    EXPECT_EQ(std::tuple(window.timerStarts.empty(), gameState.currentIndex), std::tuple(true, 0));
}

}  // namespace
