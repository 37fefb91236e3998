// The whole-space count, the steps back to a position, the packed positions, the tables and the
// dead-end proofs, each against the plain count of reference_space.h.
#include "search/space.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "reference_space.h"
#include "search/board_codec.h"
#include "search/dead_ends.h"
#include "search/position_table.h"
#include "search/predecessors.h"
#include "search/relaxed_board.h"

namespace {

// The puzzles small enough for the plain count, and the tutorial's first position, which holds
// a box that never matters.
std::vector<std::string> SmallStarts() {
    std::vector<std::string> starts;
    for (int n : {0, 1, 2, 3, 5, 7, 8, 11, 12, 13, 14, 15})
        starts.push_back(ReferenceSpace::Puzzle(n));
    starts.push_back(kTutorialRecords[0]);
    return starts;
}

// A count with a small limit keeps the steps it finds; one without finds them back from records.
TEST(Space, CountsEverySmallPuzzleAsThePlainCountDoes) {
    for (const std::string& start : SmallStarts()) {
        const ReferenceSpace reference(start);
        for (const std::size_t limit : {std::size_t{1'000'000}, SIZE_MAX}) {
            SCOPED_TRACE(start + (limit == SIZE_MAX ? " without a limit" : ""));
            const auto space = Space::Explore(start.c_str(), limit);
            ASSERT_TRUE(space);
            ASSERT_EQ(space->Size(), reference.records.size());
            std::size_t solved = 0, dead = 0;
            int largest = 0;
            for (std::size_t n = 0; n < reference.records.size(); ++n) {
                const auto found = space->Find(reference.records[n].c_str());
                ASSERT_TRUE(found) << reference.records[n];
                const int distance = reference.distance[n];
                EXPECT_EQ(space->Distance(*found), distance < 0 ? Space::kNoWayOut : distance);
                EXPECT_EQ(space->Depth(*found), reference.depth[n]);
                char decoded[kSlotSize];
                space->Record(*found, decoded);
                EXPECT_EQ(decoded, reference.records[n]);
                solved += distance == 0;
                dead += distance < 0;
                largest = std::max(largest, distance);
            }
            EXPECT_EQ(space->Solved(), solved);
            EXPECT_EQ(space->Dead(), dead);
            EXPECT_EQ(space->Largest(), largest);
            EXPECT_FALSE(space->Find("330121M--;n-W;--N;00")) << "a position of another board";
        }
    }
}

TEST(Space, RefusesWhatTheGameCannotHoldAndASpaceOverItsLimit) {
    EXPECT_FALSE(Space::Explore("66", 100));
    EXPECT_FALSE(Space::Explore("330121M--;n-W;---;0", 100)) << "a suffix cut short";
    EXPECT_FALSE(Space::Explore("330121M--;nTW;---;00", 100)) << "no cell code";
    EXPECT_FALSE(Space::Explore("330121M--;n-W;---;11", 100)) << "'M' away from the pusher";
    EXPECT_FALSE(Space::Explore(ReferenceSpace::Puzzle(1).c_str(), 484));
    EXPECT_TRUE(Space::Explore(ReferenceSpace::Puzzle(1).c_str(), 485));
}

// Among the reachable positions exactly those that step to a record; any other one found steps to
// it too (it is only out of the puzzle's reach).
TEST(Predecessors, AreExactlyThePositionsWhoseStepLeadsToARecord) {
    for (int number : {3, 8}) {
        const ReferenceSpace reference(ReferenceSpace::Puzzle(number));
        std::vector<std::set<std::string>> before(reference.records.size());
        for (std::size_t n = 0; n < reference.records.size(); ++n)
            for (int m : reference.steps[n]) before[m].insert(reference.records[n]);
        char found[kMostPredecessors][kSlotSize];
        for (std::size_t m = 0; m < reference.records.size(); ++m) {
            const int count = Predecessors(reference.records[m].c_str(), reference.width,
                                           reference.height, found);
            std::set<std::string> reachable;
            for (int i = 0; i < count; ++i) {
                char next[kSlotSize];
                const int s = SuffixIndex(reference.width, reference.height);
                const std::string& record = reference.records[m];
                ASSERT_EQ(StepBoard(found[i], reference.width, reference.height, Digit(record[s]),
                                    Digit(record[s + 1]), next),
                          StepMoved);
                EXPECT_EQ(record, next);
                if (reference.number.count(found[i])) reachable.insert(found[i]);
            }
            EXPECT_EQ(reachable, before[m]) << reference.records[m];
        }
    }
}

TEST(PositionTable, KeepsEveryValueAtItsWidthAndRefusesDamagedBytes) {
    const auto space = Space::Explore(ReferenceSpace::Puzzle(8).c_str(), 1'000'000);
    ASSERT_TRUE(space);
    std::vector<PositionKey> keys;
    for (std::size_t n = 0; n < space->Size(); ++n) keys.push_back(space->Key(n));
    for (int bits : {1, 3, 7, 13, 32}) {
        SCOPED_TRACE(bits);
        std::vector<std::uint32_t> values(keys.size());
        for (std::size_t n = 0; n < values.size(); ++n)
            values[n] = static_cast<std::uint32_t>(n * 2654435761u) >> (32 - bits);
        const auto bytes = PositionTable::Build(keys, values, bits);
        ASSERT_TRUE(bytes);
        const auto table = PositionTable::Load(bytes->data(), bytes->size());
        ASSERT_TRUE(table);
        for (std::size_t n = 0; n < keys.size(); ++n) ASSERT_EQ(table->At(keys[n]), values[n]);
        EXPECT_FALSE(PositionTable::Load(bytes->data(), bytes->size() - 1));
        std::vector<std::uint8_t> damaged = *bytes;
        damaged[0] ^= 1;
        EXPECT_FALSE(PositionTable::Load(damaged.data(), damaged.size()));
        damaged = *bytes;
        damaged[16 + 8] ^= 0x40;  // the hash's number of levels
        EXPECT_FALSE(PositionTable::Load(damaged.data(), damaged.size()));
    }
    EXPECT_FALSE(PositionTable::Build({keys[0], keys[0]}, {1, 2}, 3)) << "one key twice";
}

// A proof of no way out must never name a position that has one, and the lighter game's distance
// must never exceed the whole game's.
TEST(DeadEnds, NeverNameAPositionWithAWayOutAndTheLighterGameNeverOverestimates) {
    for (int number : {1, 3, 5, 8, 12, 13, 14, 15}) {
        SCOPED_TRACE(number);
        const std::string start = ReferenceSpace::Puzzle(number);
        const auto space = Space::Explore(start.c_str(), 1'000'000);
        ASSERT_TRUE(space);
        const RelaxedBoard relaxed(start.c_str());
        char lightStart[kSlotSize], record[kSlotSize], light[kSlotSize];
        relaxed.Project(start.c_str(), lightStart);
        const auto lighter = Space::Explore(lightStart, 1'000'000);
        ASSERT_TRUE(lighter);
        std::size_t proved = 0;
        for (std::size_t n = 0; n < space->Size(); ++n) {
            space->Record(n, record);
            const bool dead = space->Distance(n) == Space::kNoWayOut;
            const bool provedDead =
                ProvedNoWayOut(record, space->Codec().Width(), space->Codec().Height());
            ASSERT_TRUE(dead || !provedDead) << record;
            relaxed.Project(record, light);
            const auto m = lighter->Find(light);
            ASSERT_TRUE(m) << light;
            ASSERT_LE(lighter->Distance(*m), space->Distance(n)) << record;
            proved += provedDead;
        }
        if (number == 8) {
            EXPECT_GT(proved, space->Dead() / 4) << "the proofs catch a good share";
        }
    }
}

}  // namespace
