#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/board_record.h"
#include "engine_fixture.h"

namespace {

class LoadLevelTest : public EngineTest {};

// The first puzzle gets its suffix and a fresh game, the larger boards theirs; a number outside
// the catalogue loads the first puzzle and stays as it was.
TEST_F(LoadLevelTest, EachPuzzleGetsItsSuffixAndAFreshGame) {
    gameState.moveCount = 17;
    gameState.startTick = gameState.lastTick = 5;
    gameState.clockStarted = true;
    gameState.elapsedMs = 9;
    gameState.mode = ModeSolved;
    gameState.currentIndex = gameState.lastIndex = 3;
    gameState.language = 1;
    gameState.bestScore[0] = 12;
    LoadLevel();
    EXPECT_EQ(Current(), "330121M--;n-W;---;00");
    EXPECT_EQ(gameState.boardWidth, 3);
    EXPECT_EQ(gameState.boardHeight, 3);
    EXPECT_EQ(gameState.currentIndex, 0);
    EXPECT_EQ(gameState.lastIndex, 0);
    EXPECT_EQ(gameState.moveCount, 0);
    EXPECT_EQ(gameState.mode, ModePlaying);
    EXPECT_EQ(gameState.startTick, 0u);
    EXPECT_EQ(gameState.lastTick, 0u);
    EXPECT_EQ(gameState.elapsedMs, 0u);
    EXPECT_FALSE(gameState.clockStarted);
    EXPECT_EQ(gameState.language, 1);
    EXPECT_EQ(gameState.bestScore[0], 12);

    // A short puzzle after a long one leaves nothing of the long one behind in its slot.
    gameState.gameNumber = 10;
    LoadLevel();
    EXPECT_EQ(Current(), "554134---s-;-Xn-n;E--X-;-WX-S;E--NM;44");
    gameState.gameNumber = 11;
    LoadLevel();
    EXPECT_EQ(Current(), "422120--E-;-nnM;31");
    EXPECT_EQ(gameState.boardWidth, 4);
    EXPECT_EQ(gameState.boardHeight, 2);
    gameState.gameNumber = 10;
    LoadLevel();
    gameState.gameNumber = 0;
    LoadLevel();
    EXPECT_EQ(std::strlen(gameState.history[0]), 20u);
    for (int i = 21; i < kSlotSize; ++i) EXPECT_EQ(gameState.history[0][i], '\0') << i;
    for (int number : {16, -1, 1000}) {
        gameState.gameNumber = number;
        LoadLevel();
        EXPECT_EQ(Current(), "330121M--;n-W;---;00") << number;
        EXPECT_EQ(gameState.gameNumber, number);  // the number itself is left alone
    }
}

TEST(StartRecord, TheWidestBoardStaysInsideItsSlot) {
    char slot[kSlotSize + 8];
    std::memset(slot, 'x', sizeof slot);
    int w = 0, h = 0;
    EXPECT_TRUE(StartRecord(13, slot, &w, &h));
    EXPECT_EQ(std::string(slot), "623121-Mw---;--NwN-;10");
    for (std::size_t i = kSlotSize; i < sizeof slot; ++i) EXPECT_EQ(slot[i], 'x');
}

}  // namespace
