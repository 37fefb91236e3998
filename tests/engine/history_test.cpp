#include "engine/history.h"

#include <gtest/gtest.h>

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

TEST_F(HistoryTest, AtTheEndsOfTheLineNothingHappens) {
    Position("419988M---;00");
    Undo(window);
    Redo(window);
    EXPECT_EQ(gameState.currentIndex, 0);
    EXPECT_EQ(gameState.moveCount, 0);
    EXPECT_EQ(window.repaints, 0);
    Restart(window);  // still repaints
    EXPECT_EQ(window.repaints, 1);
}

TEST_F(HistoryTest, InPlayEveryUndoAndRedoStepCounts) {
    PlayThreeMoves();
    Undo(window);
    Redo(window);
    EXPECT_EQ(gameState.currentIndex, 3);
    EXPECT_EQ(gameState.moveCount, 5);
    EXPECT_EQ(window.repaints, 2);
    Restart(window);
    EXPECT_EQ(gameState.currentIndex, 0);
    EXPECT_EQ(gameState.lastIndex, 3);
    EXPECT_EQ(gameState.moveCount, 5);  // a restart costs nothing
    Redo(window);
    Redo(window);
    Redo(window);
    Redo(window);  // past the end: ignored
    EXPECT_EQ(Current(), "419988---M;30");
    EXPECT_EQ(gameState.moveCount, 8);
}

TEST_F(HistoryTest, UndoneMovesAreLostToANewMove) {
    PlayThreeMoves();
    Undo(window);
    Undo(window);
    TryMove(window, 0, 0);
    EXPECT_EQ(gameState.currentIndex, 2);
    EXPECT_EQ(gameState.lastIndex, 2);
    EXPECT_EQ(Current(), "419988M---;00");
    Redo(window);
    EXPECT_EQ(gameState.currentIndex, 2);
}

TEST_F(HistoryTest, BrowsingASolvedGameOrTheTutorialCountsNothing) {
    LoadTutorial();
    EXPECT_EQ(gameState.mode, ModeTutorial);
    EXPECT_EQ(gameState.lastIndex, 8);
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
    EXPECT_EQ(gameState.currentIndex, 2);
    EXPECT_EQ(gameState.moveCount, 3);
}

TEST_F(HistoryTest, RoomMakingShiftsEveryPositionDownByOne) {
    for (int i = 0; i < kHistorySlots; ++i)
        std::snprintf(gameState.history[i], kSlotSize, "p%03d", i);
    gameState.currentIndex = 498;
    gameState.lastIndex = 499;
    MakeHistoryRoom();  // not full yet
    EXPECT_STREQ(gameState.history[0], "p000");
    EXPECT_EQ(gameState.lastIndex, 499);
    gameState.currentIndex = 499;
    MakeHistoryRoom();
    for (int i = 0; i < kHistorySlots - 1; ++i) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "p%03d", i + 1);
        ASSERT_STREQ(gameState.history[i], expected) << i;
    }
    EXPECT_EQ(gameState.currentIndex, 498);
    EXPECT_EQ(gameState.lastIndex, 498);
}

}  // namespace
