// The generator's parts: the eight images of a puzzle, the boxes no shortest solution moves, and
// the puzzles it makes, each checked by a count of its own.
#include "search/generator.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/board_record.h"
#include "engine/catalogue.h"
#include "engine/puzzle_pack.h"
#include "search/idle_boxes.h"
#include "search/random_board.h"
#include "search/space.h"
#include "search/symmetry.h"

namespace {

std::unique_ptr<Space> Count(const std::string& puzzle) {
    char slot[kSlotSize];
    int width = 0, height = 0;
    if (!CompleteRecord(puzzle.c_str(), slot, &width, &height)) return nullptr;
    return Space::Explore(slot, SIZE_MAX);
}

// Turned or flipped, a puzzle keeps its space and its length: a box whose open side did not turn
// with the board would change both.
TEST(Symmetry, EveryImageIsTheSamePuzzleAndOnlyItsImagesShareItsCanonicalText) {
    std::set<std::string> canonical;
    for (int number = 0; number < kPuzzleCount; ++number) {
        const std::string puzzle = kPuzzleTexts[number];
        const std::string own = CanonicalPuzzle(puzzle);
        ASSERT_FALSE(own.empty()) << puzzle;
        EXPECT_TRUE(canonical.insert(own).second) << "puzzle " << number << " like another";
        for (int symmetry = 0; symmetry < kSymmetries; ++symmetry) {
            const std::string image = MirrorPuzzle(puzzle, symmetry);
            SCOPED_TRACE(puzzle + " seen as " + image);
            EXPECT_EQ(RecordProblem(image), "");
            EXPECT_EQ(CanonicalPuzzle(image), own);
            if (number != 1 && number != 8) continue;  // the small spaces are counted
            const auto before = Count(puzzle), after = Count(image);
            ASSERT_TRUE(before && after);
            EXPECT_EQ(after->Size(), before->Size());
            EXPECT_EQ(after->Distance(0), before->Distance(0));
            EXPECT_EQ(after->Dead(), before->Dead());
        }
    }
    // The pusher a walk away is the same puzzle.
    EXPECT_EQ(CanonicalPuzzle("332012s-w;--M;-N-"), CanonicalPuzzle("332012s-w;-M-;-N-"));
    EXPECT_EQ(MirrorPuzzle("332012s-w;-M-", 0), "");
    EXPECT_EQ(CanonicalPuzzle("not a puzzle"), "");
}

TEST(IdleBoxes, AreTheBoxesNoShortestSolutionMoves) {
    // The tutorial's first board: the small box in the corner only decorates it.
    auto space = Count("332012s-w;-M-;-N-");
    ASSERT_TRUE(space);
    EXPECT_EQ(IdleBoxes(*space), (std::vector<StartBox>{{0, 0, false}}));
    auto board = PuzzleBoard::Read("332012s-w;-M-;-N-");
    ASSERT_TRUE(board);
    EXPECT_FALSE(board->Remove(2, 0, false)) << "the red box stays";
    EXPECT_FALSE(board->Remove(1, 2, true)) << "the blue box stays";
    EXPECT_FALSE(board->Remove(0, 0, true)) << "no big box there";
    ASSERT_TRUE(board->Remove(0, 0, false));
    EXPECT_EQ(board->Text(), "332012--w;-M-;-N-");
    space = Count(board->Text());
    ASSERT_TRUE(space);
    EXPECT_TRUE(IdleBoxes(*space).empty());
    // Every box of puzzles 1 and 12 is moved on the way; puzzle 8's four nested pairs stand
    // still, as pillars.
    for (int number : {1, 12}) {
        space = Count(kPuzzleTexts[number]);
        ASSERT_TRUE(space);
        EXPECT_TRUE(IdleBoxes(*space).empty()) << "puzzle " << number;
    }
    space = Count(kPuzzleTexts[8]);
    ASSERT_TRUE(space);
    EXPECT_EQ(IdleBoxes(*space), (std::vector<StartBox>{{2, 1, false},
                                                        {2, 1, true},
                                                        {4, 1, false},
                                                        {4, 1, true},
                                                        {1, 3, false},
                                                        {1, 3, true},
                                                        {3, 3, false},
                                                        {3, 3, true}}));
}

TEST(Generator, MakesProvedPuzzlesOfItsSeedAndNoneTwice) {
    GeneratorOptions options;
    options.seed = 5;
    options.width = 4;
    options.height = 3;
    options.count = 4;
    options.minMoves = 20;
    const GeneratorResult result = GeneratePuzzles(options);
    ASSERT_EQ(result.puzzles.size(), 4u) << result.climbs << " climbs";
    std::set<std::string> seen;
    for (const char* text : kPuzzleTexts) seen.insert(CanonicalPuzzle(text));
    int shortest = 0;
    for (const GeneratedPuzzle& puzzle : result.puzzles) {
        SCOPED_TRACE(puzzle.text);
        EXPECT_EQ(RecordProblem(puzzle.text), "");
        EXPECT_EQ(puzzle.text.substr(0, 2), "43");
        EXPECT_TRUE(seen.insert(CanonicalPuzzle(puzzle.text)).second) << "a mirror image";
        const auto space = Count(puzzle.text);
        ASSERT_TRUE(space);
        EXPECT_EQ(space->Distance(0), puzzle.moves) << "the claimed length is the shortest";
        EXPECT_GE(puzzle.moves, options.minMoves);
        EXPECT_GE(puzzle.moves, shortest) << "shortest first";
        shortest = puzzle.moves;
        EXPECT_EQ(space->Size(), puzzle.positions);
        EXPECT_EQ(space->Dead(), puzzle.dead);
        EXPECT_TRUE(IdleBoxes(*space).empty());
    }
    const auto again = GeneratePuzzles(options);
    ASSERT_EQ(again.puzzles.size(), result.puzzles.size());
    for (std::size_t i = 0; i < again.puzzles.size(); ++i)
        EXPECT_EQ(again.puzzles[i].text, result.puzzles[i].text) << "the same seed";
    options.seed = 6;
    for (const GeneratedPuzzle& puzzle : GeneratePuzzles(options).puzzles)
        EXPECT_TRUE(seen.insert(CanonicalPuzzle(puzzle.text)).second) << "another seed";

    // A wish no board of the size meets ends after its climbs, with what was found.
    options.width = options.height = 2;
    options.minMoves = 1000;
    options.mostClimbs = 3;
    const auto none = GeneratePuzzles(options);
    EXPECT_TRUE(none.puzzles.empty());
    EXPECT_EQ(none.climbs, 3u);
    EXPECT_FALSE(GeneratorTakesSize(6, 6));
    EXPECT_FALSE(GeneratorTakesSize(1, 2));
    EXPECT_TRUE(GeneratorTakesSize(5, 6));
}

}  // namespace
