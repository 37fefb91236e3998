// Hints against the plain count: every position of the small puzzles from the tables the build
// worked out and from the search alike; the large puzzles by following their hints; the undos
// back to a way out.
#include "search/hints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "reference_space.h"
#include "search/built_in_hints.h"
#include "search/space.h"

namespace {

const int kSide[4][2] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};

// Checks one answer against the distances: the move leads one step nearer, or none is left.
void ExpectExact(const HintAnswer& answer, const std::string& record, int distance,
                 const std::function<int(const char*)>& distanceOf) {
    ASSERT_EQ(answer.wayOut, distance >= 0) << record;
    if (distance < 0) return;
    ASSERT_EQ(answer.distance, distance) << record;
    if (distance == 0) return;
    char here[kSlotSize], next[kSlotSize];
    CopyRecord(record.c_str(), here);  // the step rule reads a whole slot
    ASSERT_EQ(StepBoard(here, Digit(record[0]), Digit(record[1]), answer.moveX, answer.moveY, next),
              StepMoved)
        << record;
    EXPECT_EQ(distanceOf(next), distance - 1) << record;
}

TEST(Hints, EveryPositionOfTheSmallPuzzlesFromTheTablesAndFromTheSearchAlike) {
    for (int number : {0, 1, 2, 3, 5, 7, 8, 11, 12, 13, 14, 15}) {
        SCOPED_TRACE(number);
        const std::string start = ReferenceSpace::Puzzle(number);
        const ReferenceSpace reference(start);
        const auto distanceOf = [&](const char* record) {
            return reference.distance[reference.number.at(record)];
        };
        auto tabled = PuzzleHints::For(start.c_str(), BuiltInHints());
        auto searched = PuzzleHints::For(start.c_str(), HintDataView{});
        for (std::size_t n = 0; n < reference.records.size(); ++n) {
            const std::string& record = reference.records[n];
            ExpectExact(tabled->Ask(record.c_str()), record, reference.distance[n], distanceOf);
            ExpectExact(searched->Ask(record.c_str()), record, reference.distance[n], distanceOf);
            if (HasFatalFailure()) return;
        }
    }
}

// Positions a player can reach: random walks from the start, seeded.
std::vector<std::string> Walks(const std::string& start, int walks, int length) {
    std::mt19937 random(7);
    std::vector<std::string> found{start};
    const int width = Digit(start[0]), height = Digit(start[1]);
    const int s = SuffixIndex(width, height);
    for (int w = 0; w < walks; ++w) {
        char here[kSlotSize] = {}, next[kSlotSize];
        std::strcpy(here, start.c_str());
        for (int step = 0; step < length && !IsSolved(here); ++step) {
            const auto& side = kSide[random() % 4];
            if (StepBoard(here, width, height, Digit(here[s]) + side[0],
                          Digit(here[s + 1]) + side[1], next) == StepMoved)
                std::memcpy(here, next, kSlotSize);
        }
        found.push_back(here);
    }
    return found;
}

// Follows the hints from `record` to a solved position; the number of moves, or -1 when a hint
// fails to lead one step nearer.
int FollowHints(PuzzleHints& hints, std::string record) {
    const int first = hints.Ask(record.c_str()).distance;
    for (int moves = 0;; ++moves) {
        const HintAnswer hint = hints.Ask(record.c_str());
        if (!hint.wayOut || hint.distance != first - moves) return -1;
        if (hint.distance == 0) return moves;
        char here[kSlotSize], next[kSlotSize];
        CopyRecord(record.c_str(), here);
        if (StepBoard(here, Digit(record[0]), Digit(record[1]), hint.moveX, hint.moveY, next) !=
            StepMoved)
            return -1;
        record = next;
    }
}

TEST(Hints, TheLargePuzzlesSolveInExactlyTheDistanceTheirHintsGive) {
    for (int number : {4, 6, 9, 10}) {
        SCOPED_TRACE(number);
        const std::string start = ReferenceSpace::Puzzle(number);
        auto hints = PuzzleHints::For(start.c_str(), BuiltInHints());
        for (const std::string& record : Walks(start, 12, number == 9 ? 12 : 60)) {
            const HintAnswer hint = hints->Ask(record.c_str());
            if (hint.wayOut) {
                EXPECT_EQ(FollowHints(*hints, record), hint.distance) << record;
            }
        }
    }
}

// Puzzle 9's space is too large to count in a test (velquin-solve --space 9 counts it whole, in
// minutes): these positions and their distances come from that count.
TEST(Hints, PuzzleNineAnswersAsItsWholeCountSays) {
    const struct {
        const char* record;
        int distance;  // -1: no way out
    } kKnown[] = {
        {"554043----s;EnNn-;-XXXM;-sSsW;n----;42", 79},
        {"550043s--ss;ENn--;-XXX-;---SW;n-n--;40", 206},
        {"552344-s-s-;E-n--;nXXXS;N-s--;n-M-W;24", 9},
        {"554241-S--s;nM-NW;-XXXs;--s--;En--n;11", -1},
    };
    auto hints = PuzzleHints::For(ReferenceSpace::Puzzle(9).c_str(), BuiltInHints());
    for (const auto& known : kKnown) {
        SCOPED_TRACE(known.record);
        const HintAnswer hint = hints->Ask(known.record);
        EXPECT_EQ(hint.wayOut, known.distance >= 0);
        if (known.distance >= 0) {
            EXPECT_EQ(hint.distance, known.distance);
        }
    }
}

TEST(Hints, UndosLeadBackToTheLastPositionOfTheHistoryWithAWayOut) {
    const std::string start = ReferenceSpace::Puzzle(1);
    const ReferenceSpace reference(start);
    auto hints = PuzzleHints::For(start.c_str(), HintDataView{});
    std::mt19937 random(3);
    static char history[kHistorySlots][kSlotSize];
    const int s = SuffixIndex(reference.width, reference.height);
    int checked = 0;
    for (int walk = 0; walk < 40; ++walk) {
        std::strcpy(history[0], start.c_str());
        int current = 0, lastLive = 0;
        while (current < 30 && !IsSolved(history[current])) {
            const auto& side = kSide[random() % 4];
            const char* here = history[current];
            if (StepBoard(here, reference.width, reference.height, Digit(here[s]) + side[0],
                          Digit(here[s + 1]) + side[1], history[current + 1]) != StepMoved)
                continue;
            ++current;
            if (reference.distance[reference.number.at(history[current])] >= 0) lastLive = current;
        }
        if (IsSolved(history[current]) || lastLive == current) continue;
        EXPECT_EQ(hints->UndosToWayOut(history, current).undos, current - lastLive);
        ++checked;
    }
    EXPECT_GT(checked, 5);
    // Once the start has gone from a full history, every position kept may have no way out.
    const auto dead = std::find(reference.distance.begin(), reference.distance.end(), -1);
    ASSERT_NE(dead, reference.distance.end());
    std::strcpy(history[0], reference.records[dead - reference.distance.begin()].c_str());
    std::strcpy(history[1], history[0]);
    EXPECT_EQ(hints->UndosToWayOut(history, 1).undos, std::nullopt);
}

}  // namespace
