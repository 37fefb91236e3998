#include "store/settings_store.h"

#include <gtest/gtest.h>

#include <tuple>

#include "store_fixture.h"

namespace {

const std::wstring kKey = L"HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC";

class SettingsTest : public StoreTest {
  protected:
    // A key in the file holding exactly these value lines.
    void StoreValues(const std::string& lines) {
        WriteFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC]\r\n" + lines);
    }
    static std::uint32_t Dword(const HiveValue& value) {
        std::uint32_t v = 0;
        std::memcpy(&v, value.data.data(), 4);
        return v;
    }
    // Puzzle i's best score, best time, total score and total time.
    static auto Stats(const GameState& g, int i) {
        return std::tuple(g.bestScore[i], g.bestTime[i], g.totalScore[i], g.totalTime[i]);
    }
};

TEST_F(SettingsTest, AFreshStartWritesAllSixtySevenValuesInOrderAndReadsThemBack) {
    EXPECT_EQ(LoadSettings(), -1);
    EXPECT_EQ(std::tuple(gameState.language, gameState.gameNumber), std::tuple(0, 0));
    gameState.language = 1;
    gameState.gameNumber = 12;
    for (int i = 0; i < kPuzzleCount; ++i) {
        gameState.bestScore[i] = 10 + i;
        gameState.bestTime[i] = 1000u * (20 + i);
        gameState.totalScore[i] = 300 + i;
        gameState.totalTime[i] = 4000000000u + i;
    }
    ASSERT_EQ(SaveSettings(), 0);

    const Hive hive = ReadHive();
    const HiveKey* key = hive.Find(kKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->keyClass, L"parameters");
    ASSERT_EQ(key->values.size(), 67u);
    std::vector<std::wstring> expected = {L"version", L"langue", L"gamenumber"};
    for (int i = 0; i < kPuzzleCount; ++i) {
        wchar_t n[3] = {static_cast<wchar_t>(L'0' + i / 10), static_cast<wchar_t>(L'0' + i % 10)};
        for (const wchar_t* stem : {L"bestscore", L"besttime", L"totalscore", L"totaltime"})
            expected.push_back(stem + std::wstring(n));
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const HiveValue& v = key->values[i];
        EXPECT_EQ(std::tuple(v.name, v.type, v.data.size()),
                  std::tuple(expected[i], REG_DWORD, 4u));
    }
    EXPECT_EQ(Dword(key->values[0]), 20u);
    EXPECT_EQ(Dword(key->values[2]), 12u);
    EXPECT_EQ(Dword(*key->Find(L"totaltime15")), 4000000015u);

    // A current store reads back as it was saved, without conversion.
    const GameState saved = gameState;
    std::memset(&gameState, 0, sizeof gameState);
    EXPECT_EQ(LoadSettings(), 0);
    // The stored version is never copied into the state.
    EXPECT_EQ(std::tuple(gameState.language, gameState.gameNumber, gameState.version),
              std::tuple(1, 12, 0));
    for (int i = 0; i < kPuzzleCount; ++i) EXPECT_EQ(Stats(gameState, i), Stats(saved, i)) << i;
}

// A store without a version or of version 19 is converted once and saved as current; a later
// version is read as it stands. A missing value, or one of the wrong size, leaves its field alone;
// any language but 0 reads French and is kept as it was; a puzzle number outside the catalogue
// falls back to the first.
TEST_F(SettingsTest, WhatIsStoredIsReadAsFarAsItFitsAndAnEarlierStoreConvertedOnce) {
    const struct {
        const char* versionLine;
        std::int32_t totalScore;
        std::uint32_t bestTime, totalTime;
    } cases[] = {{"", 7, 12000, 12000},
                 {"\"version\"=dword:00000013\r\n", 7, 12000, 12000},
                 {"\"version\"=dword:00000015\r\n", 99, 12, 55}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.versionLine);
        StoreValues(std::string(c.versionLine) +
                    "\"bestscore03\"=dword:00000007\r\n\"besttime03\"=dword:0000000c\r\n"
                    "\"totalscore03\"=dword:00000063\r\n\"totaltime03\"=dword:00000037\r\n");
        std::memset(&gameState, 0, sizeof gameState);
        gameState.version = kSettingsVersion;
        for (int pass = 0; pass < 2; ++pass) {  // the second pass reads what the first saved
            ASSERT_EQ(LoadSettings(), 0);
            EXPECT_EQ(Stats(gameState, 3), std::tuple(7, c.bestTime, c.totalScore, c.totalTime))
                << pass;
            ASSERT_EQ(SaveSettings(), 0);
        }
    }

    StoreValues(
        "\"version\"=dword:00000014\r\n\"gamenumber\"=hex:01,02\r\n"
        "\"bestscore00\"=hex:01,00,00,00,02,00,00,00\r\n\"besttime00\"=\"text\"\r\n"
        "\"langue\"=hex(4):01,00,00,00\r\n");
    gameState.gameNumber = 6;
    gameState.bestScore[0] = 9;
    gameState.bestTime[0] = 99;
    gameState.bestScore[1] = 0x5A5A5A5A;  // the field after bestScore[0] must not be touched
    gameState.totalScore[4] = 8;          // no value stored for it at all
    ASSERT_EQ(LoadSettings(), 0);
    // Four bytes of another type are still taken for the language.
    EXPECT_EQ(std::tuple(gameState.gameNumber, gameState.bestScore[0], gameState.bestScore[1],
                         gameState.bestTime[0], gameState.totalScore[4], gameState.language),
              std::tuple(6, 9, 0x5A5A5A5A, 99u, 8, 1));

    // Any language value but 0 reads French and is kept as it was; a puzzle number outside the
    // catalogue falls back to the first.
    for (const char* stored : {"00000063", "ffffffff", "00000010"}) {
        SCOPED_TRACE(stored);
        StoreValues(std::string("\"version\"=dword:00000014\r\n\"langue\"=dword:00000007\r\n"
                                "\"gamenumber\"=dword:") +
                    stored + "\r\n");
        gameState.gameNumber = 3;
        ASSERT_EQ(LoadSettings(), 0);
        EXPECT_EQ(std::tuple(gameState.gameNumber, gameState.language), std::tuple(0, 7));
        EXPECT_TRUE(IsFrench());
        ASSERT_EQ(SaveSettings(), 0);
        EXPECT_EQ(Dword(*ReadHive().Find(kKey)->Find(L"langue")), 7u);
    }
}

// A file that is no registry file is set aside and never overwritten; one with a line the
// reader does not know is read but for that line, and kept as it was beside the store before a
// save drops the line.
TEST_F(SettingsTest, AFileThatCannotBeReadWhollyIsKeptAsideBeforeItIsReplaced) {
    const std::string damaged = "\x01\x02 not a registry file\r\n";
    WriteFile(damaged);
    gameState.bestScore[0] = 4;
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadSettings(), -1);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(gameState.bestScore[0], 4);

    const auto aside = OtherFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(aside[0].rfind("registry.reg.damaged-", 0), 0u) << aside[0];
    EXPECT_NE(said.find(aside[0]), std::string::npos) << said;
    EXPECT_EQ(ReadWhole(file_.parent_path() / aside[0]), damaged);

    ASSERT_EQ(SaveSettings(), 0);  // a fresh store beside the kept one
    EXPECT_EQ(ReadHive().Find(kKey)->values.size(), 67u);
    EXPECT_EQ(ReadWhole(file_.parent_path() / aside[0]), damaged);
    std::filesystem::remove(file_.parent_path() / aside[0]);

    // One line the reader does not know costs nothing else: the statistics are read, and the file
    // as it was is kept beside the store before a save drops that line.
    const std::string original =
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC]\r\n"
        "\"version\"=dword:00000014\r\n\"bestscore00\"=dword:zz\r\n\"bestscore01\"=dword:"
        "00000009\r\n";
    WriteFile(original);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(LoadSettings(), 0);
    said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(gameState.bestScore[1], 9);
    EXPECT_TRUE(OtherFiles().empty());
    EXPECT_NE(said.find("1 line of"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "said once: " << said;

    testing::internal::CaptureStderr();
    ASSERT_EQ(SaveSettings(), 0);
    ASSERT_EQ(SaveSettings(), 0);
    said = testing::internal::GetCapturedStderr();
    const auto kept = OtherFiles();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadWhole(file_.parent_path() / kept[0]), original);
    EXPECT_NE(said.find(kept[0]), std::string::npos) << said;
    EXPECT_EQ(Dword(*ReadHive().Find(kKey)->Find(L"bestscore01")), 9u);
}

// A folder that cannot be made, or one that is read-only, fails the save and leaves the file as
// it was; the next save after the cause has gone succeeds. Root may write anywhere, so as root
// the read-only folder is tried in a child process that has given root up.
TEST_F(SettingsTest, AFolderThatCannotBeWrittenFailsTheSaveUntilItCan) {
    // A plain file where the store's folder should be: nothing can be written, even as root.
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "velquin") << "in the way";
    gameState.bestScore[2] = 11;
    gameState.totalTime[2] = 5000;
    EXPECT_NE(SaveSettings(), 0);
    EXPECT_EQ(std::tuple(gameState.bestScore[2], gameState.totalTime[2]), std::tuple(11, 5000u));

    std::filesystem::remove(folder_ / "velquin");
    ASSERT_EQ(SaveSettings(), 0);
    std::memset(&gameState, 0, sizeof gameState);
    ASSERT_EQ(LoadSettings(), 0);
    EXPECT_EQ(gameState.bestScore[2], 11);

    // Root may write anywhere, so as root the saves run in a child process that has given root up.
    std::filesystem::remove_all(folder_ / "velquin");  // made by root
    const auto readOnlyFolder = [this]() -> int {
        gameState.bestScore[0] = 3;
        if (SaveSettings() != 0) return 1;
        const std::string before = ReadFile();
        std::filesystem::permissions(file_.parent_path(), std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::owner_exec);
        gameState.bestScore[0] = 2;
        if (SaveSettings() == 0) return 2;
        if (gameState.bestScore[0] != 2 || ReadFile() != before) return 3;
        std::filesystem::permissions(file_.parent_path(), std::filesystem::perms::owner_all);
        if (SaveSettings() != 0) return 4;
        gameState.bestScore[0] = 0;
        if (LoadSettings() != 0 || gameState.bestScore[0] != 2) return 5;
        return 0;
    };
    if (geteuid() != 0) {
        EXPECT_EQ(readOnlyFolder(), 0) << "the failing step";
        return;
    }
    constexpr uid_t kNobody = 65534;  // who makes the store's folder in the scratch folder
    ASSERT_EQ(chown(folder_.c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(RunAs(kNobody, readOnlyFolder), 0) << "the failing step";
}

}  // namespace
