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

    // The suffix cut short, a trailing byte, too wide, a wrong separator, no cell code, the
    // pusher off the board, the shown pusher elsewhere, two pushers, the red box and the blue box
    // on a plain floor.
    for (const char* bad : {"330121M--;n-W;---;0", "330121M--;n-W;---;00x", "730121M--;n-W;---;00",
                            "330121M--,n-W;---;00", "330121M-Z;n-W;---;00", "330121M--;n-W;---;30",
                            "330121M--;n-W;---;10", "330121MM-;n-W;---;00", "330021M--;n-W;---;00",
                            "330111M--;n-W;---;00"})
        EXPECT_FALSE(Good(bad)) << bad;
    char unterminated[kSlotSize];
    std::memset(unterminated, '-', kSlotSize);
    std::string why;
    EXPECT_FALSE(RecordWellFormed(unterminated, &why));
}

}  // namespace
