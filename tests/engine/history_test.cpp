#include "engine/history.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "engine/catalogue.h"
#include "engine/game_progress.h"
#include "engine/move_rules.h"
#include "engine_fixture.h"

namespace {

class HistoryTest : public EngineTest {
  protected:
    // A game of three moves along one row.
    void PlayThreeMoves() {
        Position("419988M---;00");
        TryMove(window, 1, 0);
        TryMove(window, 2, 0);
        TryMove(window, 3, 0);
        window.repaints = 0;
    }
};

// In play every undo and redo step counts a move and a restart costs nothing; at the ends of the
// line nothing happens but a restart's repaint; undone moves are lost to a new move.
TEST_F(HistoryTest, InPlayUndoAndRedoCountAndANewMoveDropsWhatWasUndone) {
    Position("419988M---;00");
    Undo(window);
    Redo(window);
    EXPECT_EQ(std::tuple(Place(), window.repaints), std::tuple(std::tuple(0, 0, 0), 0));
    Restart(window);  // still repaints
    EXPECT_EQ(window.repaints, 1);

    PlayThreeMoves();
    Undo(window);
    Redo(window);
    EXPECT_EQ(std::tuple(Place(), window.repaints), std::tuple(std::tuple(3, 3, 5), 2));
    Restart(window);
    EXPECT_EQ(Place(), std::tuple(0, 3, 5));   // a restart costs nothing
    for (int i = 0; i < 4; ++i) Redo(window);  // the fourth, past the end, is ignored
    EXPECT_EQ(Current(), "419988---M;30");
    EXPECT_EQ(gameState.moveCount, 8);

    PlayThreeMoves();
    Undo(window);
    Undo(window);
    testNow = 4321;
    TryMove(window, 0, 0);
    EXPECT_EQ(Place(), std::tuple(2, 2, 6));  // four moves and two undo steps
    EXPECT_EQ(std::tuple(gameState.lastTick, window.repaints), std::tuple(4321u, 3));
    EXPECT_EQ(Current(), "419988M---;00");
    Redo(window);
    EXPECT_EQ(gameState.currentIndex, 2);
}

// The tutorial's nine frames load over the game without touching its number or clock.
TEST_F(HistoryTest, BrowsingASolvedGameOrTheTutorialCountsNothing) {
    gameState.gameNumber = 5;
    gameState.startTick = 77;
    LoadTutorial();
    for (int k = 0; k < kTutorialFrames; ++k)
        EXPECT_STREQ(gameState.history[k], kTutorialRecords[k]);
    EXPECT_EQ(std::tuple(gameState.mode, gameState.currentIndex, gameState.lastIndex,
                         gameState.gameNumber, gameState.startTick),
              std::tuple(ModeTutorial, 0, 8, 5, 77u));
    for (int i = 0; i < 10; ++i) Redo(window);
    EXPECT_EQ(gameState.currentIndex, 8);
    Undo(window);
    Restart(window);
    EXPECT_EQ(gameState.moveCount, 8);

    PlayThreeMoves();
    gameState.mode = ModeSolved;
    Undo(window);
    Undo(window);
    Redo(window);
    EXPECT_EQ(Place(), std::tuple(2, 3, 3));
}

// With every slot used, each attempt first drops the oldest position, whether it moves or not;
// with the last slot free, even after an undo, nothing shifts.
TEST_F(HistoryTest, AFullHistoryMakesRoomBeforeEveryAttempt) {
    Position("319988M--;00");
    for (int i = 0; i < kHistorySlots - 1; ++i)
        std::snprintf(gameState.history[i], kSlotSize, "p%03d", i);
    std::strcpy(gameState.history[kHistorySlots - 1], "319988M--;00");
    gameState.currentIndex = gameState.lastIndex = kHistorySlots - 1;
    TryMove(window, 5, 0);  // not a neighbour: nothing moves, yet room is made
    EXPECT_EQ(std::tuple(gameState.currentIndex, gameState.lastIndex), std::tuple(498, 498));
    for (int i = 0; i < kHistorySlots - 2; ++i) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "p%03d", i + 1);
        ASSERT_STREQ(gameState.history[i], expected) << i;
    }
    EXPECT_EQ(Current(), "319988M--;00");
    TryMove(window, 1, 0);
    EXPECT_EQ(std::tuple(gameState.currentIndex, gameState.lastIndex), std::tuple(499, 499));
    Undo(window);
    TryMove(window, 5, 0);
    EXPECT_STREQ(gameState.history[0], "p001");
    EXPECT_EQ(gameState.lastIndex, 499);
    int undos = 0;
    for (; gameState.currentIndex > 0; ++undos) Undo(window);
    EXPECT_EQ(undos, 498);
}

}  // namespace
