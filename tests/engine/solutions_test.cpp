// The solver's shortest solutions: their known lengths, and a plain count's on boards of every
// size.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <unordered_map>

#include "engine/board_record.h"
#include "engine/catalogue.h"
#include "engine/move_rules.h"
#include "search/solver.h"

namespace {

constexpr int kShortest[kPuzzleCount] = {3,  24, 30, 37, 51, 48, 36, 59,
                                         46, 79, 54, 47, 68, 82, 97, 108};

// Each puzzle's shortest number of moves. The solutions themselves are played through the
// headless game by every_solution_test.sh and the pack game tests.
TEST(Solver, EveryPuzzleInItsShortestNumberOfMoves) {
    for (int number = 0; number < kPuzzleCount; ++number)
        EXPECT_EQ(SolvePuzzle(number)->size(), static_cast<std::size_t>(kShortest[number]))
            << number;
}

TEST(Solver, ASolvedStartNeedsNoMoveAndAHopelessOneHasNoSolution) {
    EXPECT_EQ(SolveRecord("332222s--;---;--R;22", 3, 3)->size(), 0u);
    // The red box is walled into a corner: it can never reach the blue box.
    EXPECT_FALSE(SolveRecord("310020sMW;10", 3, 1).has_value());
    EXPECT_FALSE(SolveRecord("66", 6, 6).has_value());
}

// The length of a shortest solution by the plainest search there is: whole records as strings
// in a map; -1 when there is none.
int ReferenceLength(const std::string& start, int width, int height) {
    const int s = SuffixIndex(width, height);
    std::unordered_map<std::string, int> depth{{start, 0}};
    std::deque<std::string> queue{start};
    while (!queue.empty()) {
        const std::string here = queue.front();
        queue.pop_front();
        if (IsSolved(here.c_str())) return depth[here];
        char slot[kSlotSize] = {};
        std::memcpy(slot, here.c_str(), here.size());
        const int px = Digit(slot[s]), py = Digit(slot[s + 1]);
        const int steps[4][2] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};
        for (const auto& d : steps) {
            char next[kSlotSize];
            if (StepBoard(slot, width, height, px + d[0], py + d[1], next) != StepMoved) continue;
            if (depth.emplace(next, depth[here] + 1).second) queue.emplace_back(next);
        }
    }
    return -1;
}

// Plays a solution through the step rule; true when every step moves and the last one solves.
bool Replays(const std::string& start, int width, int height, const std::vector<Target>& path) {
    char slot[kSlotSize] = {};
    std::memcpy(slot, start.c_str(), start.size());
    for (const Target& t : path) {
        char next[kSlotSize];
        if (IsSolved(slot)) return false;
        if (StepBoard(slot, width, height, t.x, t.y, next) != StepMoved) return false;
        std::memcpy(slot, next, kSlotSize);
    }
    return IsSolved(slot);
}

TEST(Solver, AgreesWithAPlainSearchOnBoardsOfEveryRecordLength) {
    // Every size the solver keeps in another number of words, up to the largest a slot holds.
    const struct {
        const char* record;
        int width, height;
    } kBoards[] = {
        {"310020n-W;00", 3, 1},
        {"332012s-w;-M-;-N-;11", 3, 3},
        {"440033M---;-n--;--E-;---W;00", 4, 4},
        {"631052s-M---;-wE-n-;n-S-W-;20", 6, 3},
        {"641143------;Mn--s-;--N---;w---W-;01", 6, 4},
        {"552244M----;-----;--n--;---s-;-E--W;00", 5, 5},
        {"652254M-----;------;--n---;-E----;-----W;00", 6, 5},
        {"560243-----;--n--;e----;--M-N;-----;-w--W;23", 5, 6},
        // Red walled into a corner on the largest board: the whole space is searched.
        {"650045e-----;------;-M----;------;----W-;11", 6, 5},
    };
    for (const auto& b : kBoards) {
        SCOPED_TRACE(b.record);
        ASSERT_EQ(std::strlen(b.record),
                  static_cast<std::size_t>(SuffixIndex(b.width, b.height) + 2));
        const int expected = ReferenceLength(b.record, b.width, b.height);
        const auto solution = SolveRecord(b.record, b.width, b.height);
        if (expected < 0) {
            EXPECT_FALSE(solution.has_value());
            continue;
        }
        ASSERT_TRUE(solution.has_value());
        EXPECT_EQ(static_cast<int>(solution->size()), expected);
        EXPECT_TRUE(Replays(b.record, b.width, b.height, *solution));
    }
}

}  // namespace
