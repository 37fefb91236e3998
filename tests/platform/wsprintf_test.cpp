#include "platform/crt/wsprintf.h"

#include <gtest/gtest.h>

#include <cwchar>

TEST(Wsprintf, FormatsAsThePlatformDoesAndNeverWritesPastTheBuffer) {
    wchar_t buf[64];
    int n = wsprintfW(buf, L"%i / %s", 12, L"3\"4");
    EXPECT_STREQ(buf, L"12 / 3\"4");
    EXPECT_EQ(n, 8);
    wsprintfW(buf, L"%s-%c%%", L"é", L'ç');
    EXPECT_STREQ(buf, L"é-ç%");
    // The value names of the scores: one digit padded, two kept.
    wsprintfW(buf, L"bestscore%02i totaltime%02i", 7, 15);
    EXPECT_STREQ(buf, L"bestscore07 totaltime15");

    wchar_t six[6];
    EXPECT_EQ(wnsprintfW(six, 6, L"%s", L"abcdefgh"), -1);
    EXPECT_STREQ(six, L"abcde");
    EXPECT_EQ(wnsprintfW(six, 6, L"%i", 12345), 5);
    EXPECT_STREQ(six, L"12345");

    struct {
        wchar_t text[8];
        wchar_t guard[4] = {L'g', L'g', L'g', 0};
    } b;
    EXPECT_EQ(wsprintfW(b.text, L"bestscore%02i", 7), 7);
    EXPECT_STREQ(b.text, L"bestsco");
    EXPECT_STREQ(b.guard, L"ggg");
}
