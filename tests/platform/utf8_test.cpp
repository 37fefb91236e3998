// Every file and printed line goes through these: a broken sequence must be refused, not
// half read.
#include "platform/crt/utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, RefusesBrokenSequencesAndKeepsGoodOnes) {
    std::wstring out;
    EXPECT_TRUE(FromUtf8("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", &out));
    EXPECT_EQ(out, L"\u00e9t\u00e9 \u20ac \U0001F600");
    EXPECT_EQ(ToUtf8(out), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
    for (const char* bad : {"\x80", "\xC3", "\xE2\x82", "\xC3\x28", "\xF8\x88\x80\x80\x80",
                            "\xC0\x80", "\xED\xA0\x80"})
        EXPECT_FALSE(FromUtf8(bad, &out)) << bad;
}

}  // namespace
