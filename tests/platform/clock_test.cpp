#include "platform/clock/clock.h"

#include <gtest/gtest.h>

namespace {
DWORD fakeNow = 0;
DWORD FakeTicks() {
    return fakeNow;
}
}  // namespace

TEST(Clock, TestsAndBackendsChooseTheSource) {
    SetTickSource(FakeTicks);
    fakeNow = 0xFFFFFFF0u;
    DWORD start = GetTickCount();
    fakeNow = 0x10;
    EXPECT_EQ(GetTickCount() - start, 0x20u);  // a wrap still gives the right difference
    SetTickSource(nullptr);
}
