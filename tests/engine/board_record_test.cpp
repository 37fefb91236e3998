#include "engine/board_record.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

// Every cell code with its layers: pusher, small box, big box.
struct CodeRow {
    char code, pusher, smallBox, bigBox;
};
constexpr CodeRow kCodes[] = {
    {'-', '-', '-', '-'}, {'M', 'M', '-', '-'}, {'n', '-', 'n', '-'}, {'s', '-', 's', '-'},
    {'e', '-', 'e', '-'}, {'w', '-', 'w', '-'}, {'N', '-', '-', 'N'}, {'S', '-', '-', 'S'},
    {'E', '-', '-', 'E'}, {'W', '-', '-', 'W'}, {'O', '-', 'n', 'N'}, {'A', '-', 'n', 'S'},
    {'F', '-', 'n', 'E'}, {'X', '-', 'n', 'W'}, {'P', '-', 's', 'N'}, {'B', '-', 's', 'S'},
    {'G', '-', 's', 'E'}, {'Y', '-', 's', 'W'}, {'Q', '-', 'e', 'N'}, {'C', '-', 'e', 'S'},
    {'H', '-', 'e', 'E'}, {'U', '-', 'e', 'W'}, {'R', '-', 'w', 'N'}, {'D', '-', 'w', 'S'},
    {'I', '-', 'w', 'E'}, {'V', '-', 'w', 'W'},
};

TEST(CellCodes, EveryCodeExpandsToItsLayersAndFoldsBackAndNothingElseIsACode) {
    for (const CodeRow& row : kCodes) {
        SCOPED_TRACE(std::string(1, row.code));
        CellParts parts{row.code, '?', '?', '?'};
        ASSERT_EQ(ExpandCell(&parts), 0);
        EXPECT_EQ(std::tie(parts.pusher, parts.smallBox, parts.bigBox),
                  std::tie(row.pusher, row.smallBox, row.bigBox));
        parts.code = '?';
        ASSERT_EQ(FoldCell(&parts), 0);
        EXPECT_EQ(parts.code, row.code);
    }
    // A pusher in a box folds to the box alone.
    for (CellParts parts : {CellParts{'S', 'M', '-', 'S'}, CellParts{'w', 'M', 'w', '-'},
                            CellParts{'P', 'M', 's', 'N'}}) {
        const char expected = parts.code;
        parts.code = '?';
        ASSERT_EQ(FoldCell(&parts), 0);
        EXPECT_EQ(parts.code, expected);
    }
    // Only the twenty-six characters are codes; an unknown small box in a big one, or an unknown
    // big box, makes none. A failure says so and leaves what it would have written alone.
    int codes = 0;
    for (int c = -128; c < 128; ++c) {
        CellParts parts{static_cast<char>(c), 'a', 'b', 'c'};
        const int result = ExpandCell(&parts);
        if (result == 0) {
            ++codes;
        } else {
            EXPECT_EQ(std::tuple(result, parts.pusher, parts.smallBox, parts.bigBox),
                      std::tuple(-1, 'a', 'b', 'c'))
                << c;
        }
    }
    EXPECT_EQ(codes, 26);
    for (CellParts parts : {CellParts{'k', '-', 'x', 'N'}, CellParts{'k', '-', 'n', 'Z'}}) {
        EXPECT_LT(FoldCell(&parts), 0);
        EXPECT_EQ(parts.code, 'k');
    }
}

// The first puzzle's indexes; solved when red stands in blue; digits below '0' read negative.
TEST(BoardRecord, IndexesSolvedTestDigitsAndEverySizeButSixBySixFitsASlot) {
    const std::string record = "330121M--;n-W;---;00";
    EXPECT_EQ(std::tuple(record[CellIndex(3, 0, 1)], record[CellIndex(3, 2, 1)]),
              std::tuple('n', 'W'));
    EXPECT_EQ(static_cast<int>(record.size()), SuffixIndex(3, 3) + 2);
    EXPECT_EQ(std::tuple(IsSolved("332222s--;---;--R;22"), IsSolved("332122s--;--w;--N;21"),
                         IsSolved("330121M--;n-W;---;00")),
              std::tuple(true, false, false));
    EXPECT_EQ(std::tuple(Digit('7'), Digit('/')), std::tuple(7, -1));
    EXPECT_LT(Digit(static_cast<char>(0xE9)), 0);  // a byte above 127 is a negative char
    for (int w = 1; w <= 6; ++w) {
        for (int h = 1; h <= 6; ++h) {
            EXPECT_EQ(RecordFits(w, h), !(w == 6 && h == 6)) << w << "x" << h;
            if (RecordFits(w, h)) {
                EXPECT_LT(SuffixIndex(w, h) + 2, kSlotSize) << w << "x" << h;
            }
        }
    }
    EXPECT_FALSE(RecordFits(0, 3) || RecordFits(3, -1) || RecordFits(7, 1));
}

}  // namespace
