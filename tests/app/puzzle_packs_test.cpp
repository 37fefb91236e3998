// Packs of puzzles as the program takes them: every kind of record the game cannot hold refused
// with its file and line and nothing stored, the pack's statistics in a key named after its
// records, and the solutions kept there trusted only when they replay.
#include "app/puzzle_packs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/board_record.h"
#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "engine/puzzle_pack.h"
#include "platform/registry/registry.h"
#include "search/solution_steps.h"
#include "search/solver.h"
#include "store/settings_store.h"
#include "tests/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// The built-in puzzles in reverse order, the first one (built-in 15) on `firstLine`, every
// other line a comment or blank.
std::string ReversedPack(std::vector<std::string>* records = nullptr, int firstLine = 3) {
    std::string text;
    for (int line = 1; line < firstLine; ++line) text += line % 2 ? "# a comment\n" : "\n";
    for (int i = kPuzzleCount - 1; i >= 0; --i) {
        text += std::string(kPuzzleTexts[i]) + (i % 2 ? "\r\n" : "\n");
        if (records) records->push_back(kPuzzleTexts[i]);
    }
    return text;
}

// The pack with record `index` (0..15) replaced by `record`: on line 2 * index + 1.
std::string PackWith(int index, const std::string& record) {
    std::string text;
    for (int i = 0; i < kPuzzleCount; ++i)
        text += std::string(i == index ? record : kPuzzleTexts[i]) + "\n# comment\n";
    return text;
}

class PuzzlePacks : public ::testing::Test {
  protected:
    void SetUp() override { SetRegistryFilePath(store.string()); }
    void TearDown() override {
        UsePuzzlePack(nullptr);
        UseSettingsSubKey(L"");
        SetRegistryFilePath("");
    }

    // Takes and plays a pack's text; the error, or "" when it plays.
    static std::string Play(const std::string& text, const std::string& name = "packs/x.txt") {
        std::string error;
        if (!TakePack(name, text, &error) || !PlayPack(&error)) return error.empty() ? "?" : error;
        return "";
    }

    std::string Solution(int i) const { return StringValue(SettingsKeyPath(), Name(i)); }
    static std::wstring Name(int i) {
        return (i < 10 ? L"solution0" : L"solution") + std::to_wstring(i);
    }
    static std::string StringValue(const std::wstring& path, const std::wstring& name) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, 0, &key) != ERROR_SUCCESS) return "";
        wchar_t text[4096] = {};
        DWORD type = 0, size = sizeof text - sizeof(wchar_t);
        const bool read = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS;
        RegCloseKey(key);
        const std::wstring wide = read && type == REG_SZ ? text : L"";
        return std::string(wide.begin(), wide.end());
    }
    static void SetSolution(const std::wstring& path, int i, const std::string& steps) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, 0, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        const std::wstring text(steps.begin(), steps.end());
        RegSetValueExW(key, Name(i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
    // The starting record of puzzle i of the pack in play.
    static std::string Start(int i, int* width = nullptr, int* height = nullptr) {
        char slot[kSlotSize];
        int w = 0, h = 0;
        StartRecord(i, slot, &w, &h);
        if (width) *width = w;
        if (height) *height = h;
        return slot;
    }

    ScratchFolder scratch;
    const fs::path folder = scratch.Path(), store = folder / "registry.reg";
};

TEST_F(PuzzlePacks, EveryKindOfRecordTheGameCannotHoldIsRefusedWithItsLine) {
    struct Case {
        int index;  // the record replaced, on line 2 * index + 1
        std::string record, reason;
    };
    const std::vector<Case> cases = {
        {0, "330121" + std::string(41, '-'),
         "over the record size limit: 47 characters, at most 46"},
        {1, "660011M-----", "over the record size limit: a 6 by 6 board does not fit one"},
        {2, "730121M--;n-W;---", "the width '7' is not a digit from 1 to 6"},
        {3, "030121M--;n-W;---", "the width '0' is not a digit from 1 to 6"},
        {4, "3:0121M--;n-W;---", "the height ':' is not a digit from 1 to 6"},
        {5, "333121M--;n-W;---", "the red box's cell '31' is not on the 3 by 3 board"},
        {6, "33012\x01M--;n-W;---", "the blue box's cell '2\\x01' is not on the 3 by 3 board"},
        {7, "3301",
         "too short: a record begins with the width, the height and the red and the "
         "blue box's cells, six digits"},
        {8, "330121M--;n-W", "2 rows of cells for a 3 by 3 board"},
        {9, "330121M--;n-W;---;---", "4 rows of cells for a 3 by 3 board"},
        {10, "330121M--;n-W;--", "row 2 has 2 cells, not 3"},
        {11, "330121M--;n-Z;---", "unknown cell code 'Z' at (2, 1)"},
        {12, "330121---;n-W;---", "no pusher: no cell holds 'M'"},
        {13, "330121M-M;n-W;--M", "3 pushers: exactly one cell holds 'M'"},
        {14, "330121M--;--W;n--", "no small box at the red box's cell"},
        {15, "330121M--;n--;--W", "no big box at the blue box's cell"},
        {15, "331111M--;-A-;---", "already solved: the red box starts inside the blue box"},
        {4, "310020nMW", "no sequence of moves solves this puzzle"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Play(PackWith(c.index, c.record)),
                  "packs/x.txt:" + std::to_string(2 * c.index + 1) + ": " + c.reason)
            << c.record;
        // Nothing is stored, and the game's own puzzles and key stay in force.
        EXPECT_FALSE(fs::exists(store)) << c.record;
        EXPECT_EQ(Start(0), "330121M--;n-W;---;00");
        EXPECT_EQ(SettingsKeyPath(), L"Software\\Drosk\\VelquinPPC");
    }
}

TEST_F(PuzzlePacks, APackHoldsExactlySixteenRecords) {
    std::string sixteen = ReversedPack(nullptr, 1);  // lines 1 to 16
    EXPECT_EQ(Play(sixteen + "\n# the end\n" + kPuzzleTexts[3] + "\n"),
              "packs/x.txt:19: a 17th puzzle: a pack holds exactly 16");
    const std::string fifteen = sixteen.substr(0, sixteen.rfind(kPuzzleTexts[0]));
    EXPECT_EQ(Play(fifteen + "# trailing\n"),
              "packs/x.txt:16: only 15 puzzles: a pack holds "
              "exactly 16");
    EXPECT_EQ(Play(""), "packs/x.txt:1: no puzzle: a pack holds exactly 16");
    EXPECT_EQ(Play("# nothing\n\n  \n"), "packs/x.txt:3: no puzzle: a pack holds exactly 16");
    EXPECT_FALSE(fs::exists(store));
    // Blank lines, comments, a byte-order mark, CRLF and blanks around a record are no faults.
    EXPECT_EQ(Play("\xEF\xBB\xBF" + ReversedPack(nullptr, 4) + "\n  \t\n#\n"), "");
}

TEST_F(PuzzlePacks, ThePackIsPlayedWithAKeyNamedAfterItsRecords) {
    std::vector<std::string> records;
    ASSERT_EQ(Play(ReversedPack(&records)), "");
    for (int i = 0; i < kPuzzleCount; ++i)
        EXPECT_EQ(Start(i).substr(0, records[i].size()), records[i]) << i;
    EXPECT_EQ(Start(0), "622131e---M-;N-eN--;40");
    EXPECT_EQ(Start(16), Start(0));  // a number outside the pack is its first puzzle
    const std::wstring key = SettingsKeyPath();
    EXPECT_EQ(key.rfind(L"Software\\Drosk\\VelquinPPC\\pack-", 0), 0u);
    EXPECT_EQ(key.size(), std::wstring(L"Software\\Drosk\\VelquinPPC\\pack-").size() + 16);

    // Other comments, blank lines, line ends and file name: the same key. Another order of the
    // same records: another key.
    ASSERT_EQ(Play("# renamed\n" + ReversedPack(nullptr, 6), "elsewhere/y.txt"), "");
    EXPECT_EQ(SettingsKeyPath(), key);
    std::string forward;
    for (int i = 0; i < kPuzzleCount; ++i) forward += std::string(kPuzzleTexts[i]) + "\n";
    ASSERT_EQ(Play(forward), "");
    EXPECT_NE(SettingsKeyPath(), key);
    EXPECT_NE(SettingsKeyPath(), L"Software\\Drosk\\VelquinPPC");
}

// Each solution is kept shortest in the pack's key, never in the game's own; a kept one is used
// while it replays and replaced when it does not.
TEST_F(PuzzlePacks, EachSolutionIsKeptShortestAndUsedWhileItReplays) {
    ASSERT_EQ(Play(ReversedPack()), "");
    HKEY game = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Drosk\\VelquinPPC", 0, 0, &game),
              ERROR_FILE_NOT_FOUND);
    const std::wstring key = SettingsKeyPath();
    // Puzzle 15 of the pack is built-in puzzle 0, solved by SEE from the pusher at (0, 0).
    ASSERT_EQ(Solution(15), "SEE");
    // A longer solution that still solves it is used as it stands: no new search replaces it.
    SetSolution(key, 15, "EWSEE");
    // Steps that end short of solved, an unknown letter, a step off the board, another puzzle's
    // solution: each is replaced by a new shortest one.
    SetSolution(key, 14, "E");
    SetSolution(key, 13, "SEEX");
    SetSolution(key, 12, "N" + Solution(12));
    SetSolution(key, 11, Solution(10));
    ASSERT_EQ(Play(ReversedPack()), "");
    EXPECT_EQ(Solution(15), "EWSEE");
    for (int i = 0; i < 15; ++i) {
        int width = 0, height = 0;
        const std::string start = Start(i, &width, &height);
        EXPECT_TRUE(StepsSolve(start.c_str(), width, height, Solution(i))) << i;
        EXPECT_EQ(Solution(i).size(), SolveRecord(start.c_str(), width, height)->size()) << i;
    }
    EXPECT_NE(Solution(11), Solution(10));
}

// A kept "solution" never makes a puzzle without one playable.
TEST_F(PuzzlePacks, NoKeptSolutionPassesAPuzzleThatHasNone) {
    const std::string pack = PackWith(4, "310020nMW");  // the pusher can only enter the blue box
    PuzzlePack parsed;
    int line = 0;
    std::string reason;
    ASSERT_TRUE(ParsePack(pack, &parsed, &line, &reason)) << reason;
    const std::string digest = PackDigest(parsed);
    const std::wstring key =
        L"Software\\Drosk\\VelquinPPC\\pack-" + std::wstring(digest.begin(), digest.end());
    for (int i = 0; i < kPuzzleCount; ++i) SetSolution(key, i, i == 4 ? "EW" : "E");
    const std::string stored = ReadWhole(store);
    EXPECT_EQ(Play(pack), "packs/x.txt:9: no sequence of moves solves this puzzle");
    EXPECT_EQ(ReadWhole(store), stored);  // nothing stored, not even the solutions found
}

}  // namespace
