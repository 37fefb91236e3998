#include "tools/soak/record_check.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/catalogue.h"
#include "engine/game_state.h"

namespace {

bool Good(const char* text) {
    char slot[kSlotSize] = {};
    std::strncpy(slot, text, kSlotSize - 1);
    std::string why;
    return RecordWellFormed(slot, &why);
}

TEST(RecordCheck, AcceptsEveryStartPositionAndTutorialFrameAndRefusesBrokenOnes) {
    for (int n = 0; n < kPuzzleCount; ++n) {
        char slot[kSlotSize];
        int w = 0, h = 0;
        StartRecord(n, slot, &w, &h);
        std::string why;
        EXPECT_TRUE(RecordWellFormed(slot, &why)) << n << ": " << slot << ": " << why;
    }
    for (const char* frame : kTutorialRecords) EXPECT_TRUE(Good(frame)) << frame;

    EXPECT_FALSE(Good("330121M--;n-W;---;0"));    // suffix cut short
    EXPECT_FALSE(Good("330121M--;n-W;---;00x"));  // trailing byte
    EXPECT_FALSE(Good("730121M--;n-W;---;00"));   // too wide
    EXPECT_FALSE(Good("330121M--,n-W;---;00"));   // separator
    EXPECT_FALSE(Good("330121M-Z;n-W;---;00"));   // no cell code
    EXPECT_FALSE(Good("330121M--;n-W;---;30"));   // pusher off the board
    EXPECT_FALSE(Good("330121M--;n-W;---;10"));   // shown pusher elsewhere
    EXPECT_FALSE(Good("330121MM-;n-W;---;00"));   // two pushers
    EXPECT_FALSE(Good("330021M--;n-W;---;00"));   // red box on a plain floor
    EXPECT_FALSE(Good("330111M--;n-W;---;00"));   // blue box on a plain floor
    char unterminated[kSlotSize];
    std::memset(unterminated, '-', kSlotSize);
    std::string why;
    EXPECT_FALSE(RecordWellFormed(unterminated, &why));
}

}  // namespace
