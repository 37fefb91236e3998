#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

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
    EXPECT_EQ(std::tuple(gameState.boardWidth, gameState.boardHeight, Place(), gameState.mode),
              std::tuple(3, 3, std::tuple(0, 0, 0), ModePlaying));
    EXPECT_EQ(std::tuple(gameState.startTick, gameState.lastTick, gameState.elapsedMs,
                         gameState.clockStarted),
              std::tuple(0u, 0u, 0u, false));
    EXPECT_EQ(std::tuple(gameState.language, gameState.bestScore[0]), std::tuple(1, 12));

    // A short puzzle after a long one leaves nothing of the long one behind in its slot.
    gameState.gameNumber = 10;
    LoadLevel();
    EXPECT_EQ(Current(), "554134---s-;-Xn-n;E--X-;-WX-S;E--NM;44");
    gameState.gameNumber = 11;
    LoadLevel();
    EXPECT_EQ(Current(), "422120--E-;-nnM;31");
    EXPECT_EQ(std::tuple(gameState.boardWidth, gameState.boardHeight), std::tuple(4, 2));
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
