// Packs of puzzles played by the velquin program with no screen: a whole pack solved by a script
// with statistics in a key of their own, the game's own values untouched by it, both kept across
// runs, and a pack the game cannot hold refused before anything is stored.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "search/solver.h"
#include "tests/app/headless_run.h"
#include "tests/scratch_folder.h"
#include "ui/screen_layout.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kGameKey = "[HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC]";
constexpr const char* kPackKeyStart = "[HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC\\pack-";

using Outcome = HeadlessRun;

// Built-in puzzle `number`'s shortest solution as taps at its cells' centres, as velquin-solve
// --taps writes it; its number of moves in `moves`.
std::string SolutionTaps(int number, std::size_t* moves) {
    char start[kSlotSize];
    int width = 0, height = 0;
    StartRecord(number, start, &width, &height);
    const auto path = SolveRecord(start, width, height);
    *moves = path->size();
    std::string taps;
    for (const Target& t : *path)
        taps += "tap " + std::to_string(BoardOriginX(width) + kCellSize / 2 + kCellPitch * t.x) +
                " " + std::to_string(BoardOriginY(height) + kCellSize / 2 + kCellPitch * t.y) +
                "\n";
    return taps;
}

class PackGame : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder / "packs");
        // The built-in puzzles in reverse order, after a comment.
        std::ofstream pack(Pack());
        pack << "# the built-in puzzles, last first\n\n";
        for (int i = kPuzzleCount - 1; i >= 0; --i) pack << kPuzzleTexts[i] << "\n";
    }

    fs::path Pack() const { return folder / "packs" / "reversed.txt"; }
    fs::path Store() const { return folder / "store.reg"; }

    // Runs the headless program on the test's store; `options` go after its own.
    Outcome Play(const std::string& script, const std::string& options = "") {
        return RunHeadless(folder, script, "--store " + Store().string() + " " + options);
    }
    Outcome PlayPack(const std::string& script, const fs::path& pack) {
        return Play(script, "--puzzles " + pack.string());
    }
    // One key's section of the store's text, from its header to the next one.
    std::string Section(const std::string& header) const {
        const std::string text = ReadWhole(Store());
        const std::size_t at = text.find(header);
        if (at == std::string::npos) return "";
        const std::size_t end = text.find("\r\n[", at + header.size());
        return text.substr(at, end == std::string::npos ? end : end - at);
    }

    ScratchFolder scratch;
    const fs::path folder = scratch.Path();
};

TEST_F(PackGame, AWholePackIsSolvedWithStatisticsOfItsOwnKeptAcrossRunsAndTheGamesUntouched) {
    // Another program's key, then the game played in French: puzzle 0 solved, puzzle 1 started.
    std::ofstream(Store(), std::ios::binary)
        << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Count\"=dword:00000007\r\n";
    std::size_t moves = 0;
    const Outcome game = Play("tap 5 5\ncommand 40004\nclick 1007\nok\n" + SolutionTaps(0, &moves) +
                              "command 40005\nstate\n");
    ASSERT_EQ(game.status, 0) << game.err;
    ASSERT_EQ(game.State()["bestScore"][0], 3);
    const std::string gameValues = Section(kGameKey);
    ASSERT_NE(gameValues.find("\"langue\"=dword:00000001"), std::string::npos) << gameValues;
    ASSERT_EQ(std::count(gameValues.begin(), gameValues.end(), '='), 67);

    // Every puzzle of the pack solved in turn; the pack's puzzle i is built-in puzzle 15 - i.
    std::string script = "tap 5 5\nstate\n";
    std::vector<std::size_t> lengths;
    for (int i = 0; i < kPuzzleCount; ++i) {
        script += SolutionTaps(kPuzzleCount - 1 - i, &moves) + "command 40005\n";
        lengths.push_back(moves);
    }
    const Outcome pack = PlayPack(script + "state\n", Pack());
    ASSERT_EQ(pack.status, 0) << pack.err;
    const auto first = pack.State(false);
    EXPECT_EQ(first["record"], "622131e---M-;N-eN--;40");
    EXPECT_EQ(first["language"], 0);  // the game's French is not the pack's
    EXPECT_EQ(first["gameNumber"], 0);
    const auto last = pack.State();
    for (int i = 0; i < kPuzzleCount; ++i) {
        EXPECT_EQ(last["bestScore"][i], lengths[i]) << i;
        EXPECT_EQ(last["totalScore"][i], lengths[i]) << i;
    }

    // The game's 67 values byte for byte as they were, the other program's key kept, and the
    // pack's own full set in its key, beside its puzzles' solutions.
    EXPECT_EQ(Section(kGameKey), gameValues);
    EXPECT_NE(Section("[HKEY_CURRENT_USER\\Software\\Other]").find("\"Count\"=dword:00000007"),
              std::string::npos);
    const std::string packValues = Section(kPackKeyStart);
    for (const char* value : {"\"version\"=dword:00000014", "\"langue\"=dword:00000000",
                              "\"gamenumber\"=dword:0000000f", "\"bestscore15\"=dword:00000003",
                              "\"solution15\"=\"SEE\""})
        EXPECT_NE(packValues.find(value), std::string::npos) << value << "\n" << packValues;
    EXPECT_EQ(std::count(packValues.begin(), packValues.end(), '='), 67 + 16);

    // Later runs read the pack's statistics back (another name, other comments or other line ends
    // name the same key, as the pack's own tests show), and the game its own.
    const auto again = PlayPack("tap 5 5\nstate\n", Pack()).State();
    EXPECT_EQ(again["bestScore"], last["bestScore"]);
    EXPECT_EQ(again["gameNumber"], 15);  // the pack's own last puzzle
    const auto gameAgain = Play("tap 5 5\nstate\n").State();
    EXPECT_EQ(gameAgain["bestScore"][0], 3);
    EXPECT_EQ(gameAgain["language"], 1);
    EXPECT_EQ(gameAgain["record"], "330211M-W;-N-;n--;00");  // the game's own puzzle 1
}

TEST_F(PackGame, APackTheGameCannotHoldEndsTheRunWithOneLineAndStoresNothing) {
    ASSERT_EQ(Play("tap 5 5\n").status, 0);  // a store with the game's key
    const std::string stored = ReadWhole(Store());
    std::string text = ReadWhole(Pack());
    // Line 7 is the fifth record, built-in puzzle 11: its blue box taken away.
    const std::string blue = "422120--E-;-nnM";
    text.replace(text.find(blue), blue.size(), "422120----;-nnM");
    const fs::path bad = folder / "packs" / "bad.txt";
    std::ofstream(bad) << text;
    const Outcome refused = PlayPack("tap 5 5\nstate\n", bad);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "velquin: " + bad.string() + ":7: no big box at the blue box's cell\n");
    EXPECT_TRUE(refused.lines.empty());
    EXPECT_EQ(ReadWhole(Store()), stored);

    const Outcome missing = PlayPack("state\n", folder / "none.txt");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "velquin: cannot read the puzzle pack " +
                               (folder / "none.txt").string() + ": No such file or directory\n");
    EXPECT_EQ(ReadWhole(Store()), stored);
}

}  // namespace
