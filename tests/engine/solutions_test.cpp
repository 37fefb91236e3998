// The solver's shortest solutions, and each one played through the game itself.
#include <gtest/gtest.h>

#include "engine/catalogue.h"
#include "engine/game_progress.h"
#include "engine/move_rules.h"
#include "engine_fixture.h"
#include "tools/solver/solver.h"

namespace {

constexpr int kShortest[kPuzzleCount] = {3,  24, 30, 37, 51, 48, 36, 59,
                                         46, 79, 54, 47, 68, 82, 97, 108};

class SolutionTest : public EngineTest {};

TEST_F(SolutionTest, EveryPuzzleInItsShortestNumberOfMovesThroughTheGame) {
    for (int number = 0; number < kPuzzleCount; ++number) {
        SCOPED_TRACE(number);
        const auto solution = SolvePuzzle(number);
        ASSERT_TRUE(solution.has_value());
        EXPECT_EQ(static_cast<int>(solution->size()), kShortest[number]);

        gameState.gameNumber = number;
        StartGame(window);
        for (std::size_t i = 0; i < solution->size(); ++i) {
            ASSERT_EQ(gameState.mode, ModePlaying) << "solved early, at move " << i;
            const Target t = (*solution)[i];
            TryMove(window, static_cast<std::int16_t>(t.x), static_cast<std::int16_t>(t.y));
            ASSERT_EQ(gameState.moveCount, static_cast<int>(i) + 1) << "move " << i << " refused";
        }
        EXPECT_EQ(gameState.mode, ModeSolved);
        EXPECT_EQ(gameState.bestScore[number], kShortest[number]);
    }
}

TEST(Solver, ASolvedStartNeedsNoMoveAndAHopelessOneHasNoSolution) {
    EXPECT_EQ(SolveRecord("332222s--;---;--R;22", 3, 3)->size(), 0u);
    // The red box is walled into a corner: it can never reach the blue box.
    EXPECT_FALSE(SolveRecord("310020sMW;10", 3, 1).has_value());
    EXPECT_FALSE(SolveRecord("66", 6, 6).has_value());
}

}  // namespace
