// Whole games played by the velquin program with no screen: a script in, the box and state lines
// and the screen pictures out.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/game_state.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/registry.h"
#include "platform/user/dialog.h"
#include "store/settings_store.h"
#include "tests/app/headless_run.h"
#include "tests/drawn_text.h"
#include "tests/png_file.h"
#include "tests/scratch_folder.h"
#include "texts/texts.h"
#include "ui/dialogs.h"

namespace {

namespace fs = std::filesystem;

// Puzzle 0's shortest solution, cells (0,1) (1,1) (2,1), tapped at the cells' centres.
constexpr const char* kSolvePuzzle0 = "tap 81 113\ntap 120 113\ntap 159 113\n";

using Outcome = HeadlessRun;

// The periods of the timers running, as a state line lists them.
std::vector<long> TimerPeriods(const nlohmann::json& state) {
    std::vector<long> periods;
    for (const auto& timer : state["timers"]) periods.push_back(timer.value("period", -1L));
    return periods;
}

class GameScript : public ::testing::Test {
  protected:
    // Runs a script; `prefix` goes before the program in the shell's command (variables, limits).
    Outcome Play(const std::string& script, const std::string& prefix = "") {
        shots.clear();
        return RunHeadless(folder, script,
                           "--store " + Path("store.reg") + " --shots " + folder.string(), prefix);
    }
    // A file of the test's folder, whole ("" when missing).
    std::string Read(const std::string& name) { return ReadWhole(folder / name); }
    std::string ErrorText() { return Read("err"); }

    // A pixel of a shot, 0xRRGGBB, or 0xFFFFFFFF for none; each shot is read once a run.
    std::uint32_t Pixel(const std::string& shot, int x, int y) {
        auto it = shots.find(shot);
        if (it == shots.end()) it = shots.emplace(shot, ReadPngFile(Path(shot + ".png"))).first;
        const PngFile& p = it->second;
        if (p.width != 240 || p.height != 320 || x < 0 || y < 0 || x >= 240 || y >= 320)
            return 0xFFFFFFFFu;
        return p.pixels[y * 240 + x] & 0xFFFFFF;
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }

    // Where a text appears in a shot exactly as DrawTextW lays it out with word breaks in
    // black on white, `width` pixels wide: the block's rectangle (as wide as its ink reaches),
    // or an empty one.
    RECT FindText(const std::string& shot, const std::wstring& text, int width) {
        const DrawnText drawn = DrawWrapped(text, width);
        // Compared: the ink, and the paper as far right as the ink goes.
        int right = 0;
        for (int y = 0; y < drawn.height; ++y)
            for (int x = 0; x < width; ++x)
                if (drawn.Ink(x, y)) right = std::max(right, x + 1);
        for (int oy = 0; right && oy + drawn.height <= 320; ++oy)
            for (int ox = 0; ox + right <= 240; ++ox) {
                bool same = true;
                for (int y = 0; same && y < drawn.height; ++y)
                    for (int x = 0; same && x < right; ++x)
                        same = Pixel(shot, ox + x, oy + y) == (drawn.Ink(x, y) ? 0 : 0xFFFFFF);
                if (same) return {ox, oy, ox + right, oy + drawn.height};
            }
        return {};
    }
    // How many pixels of a shot's area have this colour.
    int Count(const std::string& shot, RECT area, std::uint32_t colour) {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += Pixel(shot, x, y) == colour;
        return n;
    }
    static bool Inside(const RECT& inner, const RECT& outer) {
        return inner.right > inner.left && inner.left >= outer.left && inner.right <= outer.right &&
               inner.top >= outer.top && inner.bottom <= outer.bottom;
    }
    // A control of an open dialog on the screen, from its template's dialog units.
    static RECT DialogControl(int x, int y, int cx, int cy) {
        RECT r = user::DialogUnitsToPixels(x, y, cx, cy);
        return {r.left, r.top + 26, r.right, r.bottom + 26};
    }

    std::map<std::string, PngFile> shots;
    ScratchFolder scratch;
    const fs::path folder = scratch.Path();
};

// The ring moves while the banner and title stand; the first tick past 5000 ms ends the intro.
TEST_F(GameScript, TheIntroAnimatesUntilTheFirstTickPast5000msOrATap) {
    Outcome timed = Play(
        "wait 1000\nshot early\nwait 1000\nshot later\nwait 2000\nshot late\n"
        "wait 990\nstate\nwait 60\nstate\n");
    auto states = timed.Reports("state");
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["boardWidth"], 0);  // 4980 ms: still the intro
    EXPECT_EQ(TimerPeriods(states[0]), std::vector<long>{60});
    EXPECT_EQ(states[1]["boardWidth"], 3);  // the tick at 5040 ms ended it
    EXPECT_TRUE(TimerPeriods(states[1]).empty()) << states[1];
    // Screen pixels of the ring's purple (strong red and blue, little green) below the banner.
    auto ring = [&](const std::string& shot) {
        std::vector<int> at;
        for (int y = 80; y < 230; ++y)
            for (int x = 0; x < 240; ++x) {
                std::uint32_t p = Pixel(shot, x, y);
                int r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
                if (r > 90 && b > 90 && g < 80) at.push_back(y * 240 + x);
            }
        return at;
    };
    std::vector<int> early = ring("early"), later = ring("later");
    EXPECT_GT(early.size(), 20u);
    EXPECT_GT(later.size(), 20u);
    int shared = 0;
    for (int p : later) shared += std::count(early.begin(), early.end(), p) > 0;
    EXPECT_LT(shared * 2, static_cast<int>(later.size()));  // the ring is elsewhere a second on
    // At 4 s the banner (client row 30, screen row 56) and the title line are still there.
    EXPECT_GT(Count("late", {25, 56, 225, 74}, 0xC800C8), 200);
    EXPECT_GT(Count("late", {0, 236, 240, 266}, 0x6464FF), 30);

    // A tap on the Undo button during the intro presses nothing and moves nothing.
    Outcome tapped = Play("wait 100\ntap 20 240\nstate\n");
    auto s = tapped.Reports("state");
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0]["boardWidth"], 3);
    EXPECT_EQ(s[0]["moveCount"], 0);
    EXPECT_TRUE(fs::exists(folder / "store.reg"));  // starting the puzzle saved the settings
}

// About during the intro ends it and loads no position: the whole game frame is painted around
// the box and after it, and no tap, button or key acts until a command loads a puzzle.
TEST_F(GameScript, AboutEndsTheIntroWithNoPositionUntilACommandLoadsOne) {
    Outcome run = Play(
        "wait 1500\ncommand 40003\nshot box\nanswer ok\nshot after\n"
        "tap 120 74\ntap 100 240\nkey right\nstate\ncommand 40005\ntap 120 74\nstate\n");
    ASSERT_EQ(run.status, 0) << ErrorText();
    for (const char* shot : {"box", "after"})  // the intro's banner colour is gone
        EXPECT_EQ(Count(shot, {0, 26, 240, 294}, 0xC800C8), 0);
    auto states = run.Reports("state");
    ASSERT_EQ(states.size(), 2u);
    EXPECT_LT(states[0]["boardWidth"].get<long>(), 0);
    EXPECT_EQ(states[0]["moveCount"], 0);
    EXPECT_TRUE(TimerPeriods(states[0]).empty());  // no move was attempted
    EXPECT_EQ(states[1]["gameNumber"], 1);
    EXPECT_EQ(states[1]["moveCount"], 1);
}

// Learn Rules opens the tutorial at its first frame; each tap on Redo shows the next one.
TEST_F(GameScript, TutorialByLearnRulesThenEightRedoTaps) {
    std::string script = "tap 5 5\ncommand 40008\nok\nstate\n";
    for (int i = 0; i < 8; ++i) script += "tap 200 240\n";
    auto states = Play(script + "state\n").Reports("state");
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0]["mode"], 2);
    EXPECT_EQ(states[0]["currentIndex"], 0);
    EXPECT_EQ(states[1]["currentIndex"], 8);
}

// The options: a language click takes effect at once, a confirmed reset clears every statistic and
// goes back to puzzle 0, and leaving them, even by Cancel, saves and restarts the puzzle. The menu
// follows the language; a close asks, and keeps the game it abandons.
TEST_F(GameScript, OptionsSwitchLanguageResetAndAlwaysSaveAndRestart) {
    Outcome reset = Play(
        "tap 5 5\ntap 81 113\nwait 300\ntap 120 113\ntap 159 113\n"
        "command 40005\ncommand 40004\nclick 1007\nclick 1008\nanswer ok\nok\n"
        "state\ncommand 40005\ncommand 40003\nanswer ok\n");
    EXPECT_EQ(reset.status, 0) << ErrorText();
    auto boxes = reset.Reports("box");
    ASSERT_EQ(boxes.size(), 2u) << reset.Joined();
    EXPECT_NE(boxes[0]["text"].get<std::string>().find("Cela va effacer les statistiques"),
              std::string::npos);
    EXPECT_EQ(boxes[1]["caption"], "A propos");
    auto states = reset.Reports("state");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0]["language"], 1);
    for (const char* statistic : {"bestScore", "bestTime", "totalScore", "totalTime"})
        EXPECT_EQ(states[0][statistic][0], 0) << statistic;
    EXPECT_EQ(states[0]["gameNumber"], 0);  // from puzzle 1

    fs::remove(folder / "store.reg");
    Outcome run = Play(
        "tap 5 5\ntap 81 113\ncommand 40004\nanswer ok\nclick 1007\ncancel\n"
        "state\ntap 81 113\nclose\nanswer cancel\nclose\nanswer ok\nstate\n");
    // After the close's OK the window is gone and the loop has ended: the last state never runs.
    states = run.Reports("state");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0]["language"], 1);   // the click itself switched the language
    EXPECT_EQ(states[0]["moveCount"], 0);  // puzzle 0 started again
    // The abort question before the options, then the close's, asked again after a cancel.
    EXPECT_EQ(run.Reports("box").size(), 3u);
    const std::string store = Read("store.reg");
    EXPECT_NE(store.find("\"langue\"=dword:00000001"), std::string::npos);
    // The first abandoned game was booked and saved by the options, the second by the close.
    EXPECT_NE(store.find("\"totalscore00\"=dword:00000002"), std::string::npos) << store;

    // The popup menu opened from the command bar, after the options were left in each language.
    const std::string openMenu = "screen-tap 20 307\nshot menu\nkey escape\n";
    fs::remove(folder / "store.reg");
    Play("tap 5 5\ncommand 40004\nok\n" + openMenu);
    fs::rename(folder / "menu.png", folder / "english.png");
    Play("tap 5 5\ncommand 40004\nclick 1007\nok\n" + openMenu);
    auto differing = [&] {
        int n = 0;
        for (int y = 100; y < 294; ++y)
            for (int x = 0; x < 160; ++x) n += Pixel("english", x, y) != Pixel("menu", x, y);
        return n;
    };
    EXPECT_GT(differing(), 100);
    // The same language twice draws the very same menu.
    fs::remove(folder / "store.reg");  // the options saved French
    Play("tap 5 5\ncommand 40004\nok\n" + openMenu);
    EXPECT_EQ(differing(), 0);
}

TEST_F(GameScript, ScriptCommandsWithNothingToActOnNameTheirLine) {
    Outcome run = Play("tap 5 5\n\nanswer ok\nstate\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(ErrorText().find("script line 3"), std::string::npos) << ErrorText();
    EXPECT_TRUE(run.Reports("state").empty());

    // A NUL byte inside a line is not the line's end: "tap 5\0 junk 5" never runs as "tap 5 5".
    const char withNul[] = "state\ntap 5\0 junk 5\nstate\n";
    Outcome nul = Play(std::string(withNul, sizeof withNul - 1));
    EXPECT_EQ(nul.status, 2);
    EXPECT_NE(ErrorText().find("script line 2"), std::string::npos) << ErrorText();
    EXPECT_NE(ErrorText().find("NUL"), std::string::npos) << ErrorText();
    EXPECT_TRUE(nul.lines.empty());
}

// The program around the game: a second copy on a store in use, a size limit on files, and shots
// in a folder where someone else may have planted names.
TEST_F(GameScript, AStoreInUseRefusesASecondCopyAndASizeLimitFailsOnlyTheSave) {
    const fs::path store = folder / "store.reg";
    // Another copy holds the store: its lock, kept for that copy's life.
    int held = open((store.string() + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    Outcome refused = Play("tap 5 5\nstate\n");
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.lines.empty());
    EXPECT_NE(ErrorText().find(store.string()), std::string::npos) << ErrorText();
    EXPECT_NE(ErrorText().find("--store"), std::string::npos) << ErrorText();
    EXPECT_FALSE(fs::exists(store));
    close(held);  // that copy ends: the store is free at once
    EXPECT_EQ(Play("tap 5 5\nstate\n").status, 0);
    EXPECT_TRUE(fs::exists(store));

    // With no room for any file, the saves fail as on a full disk; the game plays on.
    // The output goes through a pipe, which the limit does not touch.
    fs::remove(store);
    Outcome full = Play("tap 5 5\n" + std::string(kSolvePuzzle0) + "state\n", "ulimit -f 0;");
    EXPECT_EQ(full.status, 0) << full.Joined();           // not ended by a signal either
    EXPECT_EQ(full.State()["mode"], 1) << full.Joined();  // solved
    EXPECT_TRUE(!fs::exists(store) || fs::file_size(store) == 0);
}

TEST_F(GameScript, AShotReplacesANamePlantedInItsFolderAndNeverWritesThroughIt) {
    std::ofstream(folder / "victim") << "not a picture";
    fs::create_symlink(folder / "victim", folder / "planted.png");
    Outcome run = Play("shot planted\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Pixel("planted", 0, 0) >> 24, 0u);  // a picture now
    EXPECT_FALSE(fs::is_symlink(folder / "planted.png"));
    EXPECT_EQ(Read("victim"), "not a picture");
    for (const auto& entry : fs::directory_iterator(folder))  // no temporary file left behind
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
}

// Every puzzle played, some solved, with long times up to 123h45'6"7 for the last puzzle: the
// game state of a long-time player, and the store that state saves.
void SaveLongTimePlayer(const std::string& store, int language) {
    std::memset(&gameState, 0, sizeof gameState);
    gameState.version = kSettingsVersion;
    gameState.language = language;
    for (int i = 0; i < kPuzzleCount; ++i) {
        const bool solved = i % 5 != 3;
        gameState.bestScore[i] = solved ? 3 + 7 * i : 0;
        gameState.bestTime[i] = solved ? 754500 + 1000 * i : 0;
        gameState.totalScore[i] = 500;
        gameState.totalTime[i] = i == 15 ? 445506700u : 3600000u * i + 59900;
    }
    SetRegistryFilePath(store);
    ASSERT_EQ(SaveSettings(), 0);
    SetRegistryFilePath("");
}

// Every statistics line inside its edit, the rules inside theirs, and the abort and reset
// questions inside their boxes with the buttons below them, in both languages. The statistics
// edit is template 104's control 1004 at 1, 1, 148 by 136 units; the rules edit template 105's
// control 1010 at 1, 17, 136 by 137 units; each edit's text lies one pixel in from its sides. A
// box wraps its text to the screen's width less its margins and frame: 240 - 2 x 17. The device
// is French: its boxes say Annuler (its locale's rules are the platform's tests' concern), while
// the game's own texts stay in the game's language.
TEST_F(GameScript, TheDialogsAndBoxesDrawEveryTextWholeInBothLanguages) {
    const RECT stats = DialogControl(1, 1, 148, 136), rules = DialogControl(1, 17, 136, 137);
    constexpr int kBoxText = 206;
    for (int language : {0, 1}) {
        SCOPED_TRACE(language);
        SaveLongTimePlayer(Path("store.reg"), language);
        Outcome run = Play(
            "tap 5 5\ncommand 40004\nshot stats\ncancel\n"
            "tap 81 113\ncommand 40005\nshot abort\nanswer cancel\n"
            "command 40004\nanswer ok\nclick 1008\nshot reset\nanswer cancel\n"
            "cancel\ncommand 40008\nshot rules\nok\n",
            "LC_ALL= LC_MESSAGES= LANG=fr_FR.UTF-8");
        ASSERT_EQ(run.status, 0) << ErrorText();
        // The same statistics, built by the game's own code, laid out by DrawTextW.
        std::wstring text = static_cast<const wchar_t*>(BuildStatsText());
        ASSERT_NE(text.find(language ? L"#15: 108 coups en 12'49\"5 (123h45'6\"7)"
                                     : L"#15: 108 moves in 12'49\"5 (123h45'6\"7)"),
                  std::wstring::npos);
        RECT found = FindText("stats", text, stats.right - stats.left - 2);
        EXPECT_TRUE(Inside(found, stats)) << "at " << found.left << ", " << found.top;
        RECT abort = FindText("abort", GetText(TextConfirmAbort, language), kBoxText);
        RECT reset = FindText("reset", GetText(TextConfirmReset, language), kBoxText);
        EXPECT_TRUE(Inside(abort, {0, 0, 240, 320}));
        EXPECT_TRUE(Inside(reset, {0, 0, 240, 320}));
        EXPECT_TRUE(Inside(FindText("abort", L"OK", 20), {0, abort.bottom, 240, 320}));
        EXPECT_TRUE(Inside(FindText("abort", L"Annuler", 40), {0, abort.bottom, 240, 320}));
        found =
            FindText("rules", GetText(TextRulesMessage, language), rules.right - rules.left - 2);
        EXPECT_TRUE(Inside(found, rules)) << "at " << found.left << ", " << found.top;
    }
}

TEST_F(GameScript, SolvesByTapsRecordBestsCongratulateOnlyWhenBetterAndUnfinishedRunsSaveNothing) {
    // First solve of puzzle 0: slowly, with a detour (up and back, 2 extra moves). Its bests
    // are booked and saved without a box.
    Outcome first = Play(
        "tap 5 5\ntap 81 113\nwait 3000\ntap 81 74\ntap 81 113\ntap 120 113\ntap 159 113\nstate\n");
    ASSERT_EQ(first.status, 0) << ErrorText();
    EXPECT_TRUE(first.Reports("box").empty());
    auto states = first.Reports("state");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0]["mode"], 1);
    EXPECT_EQ(states[0]["moveCount"], 5);
    EXPECT_EQ(states[0]["bestScore"][0], 5);
    const std::string before = Read("store.reg");
    ASSERT_NE(before.find("\"bestscore00\"=dword:00000005"), std::string::npos) << before;

    // A better solve ends with "Best time!" open: the device is off before anything is booked.
    Outcome boxOpen = Play("tap 5 5\n" + std::string(kSolvePuzzle0));
    EXPECT_EQ(boxOpen.status, 0) << ErrorText();
    ASSERT_EQ(boxOpen.Reports("box").size(), 1u);
    EXPECT_TRUE(boxOpen.Starting("answered ").empty());
    EXPECT_EQ(Read("store.reg"), before);
    // A game abandoned for the options, which are still open when the script ends.
    Outcome dialogOpen = Play("tap 5 5\ntap 81 113\ncommand 40004\nanswer ok\nclick 1007\n");
    EXPECT_EQ(dialogOpen.status, 0) << ErrorText();
    EXPECT_EQ(Read("store.reg"), before);
    // A failed command ends the run just as soon, with its error.
    Outcome failed = Play("tap 5 5\n" + std::string(kSolvePuzzle0) + "click 1001\n");
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(Read("store.reg"), before);

    // The better solve answered: both boxes, best time first, and the shorter score kept.
    Outcome better =
        Play("tap 5 5\n" + std::string(kSolvePuzzle0) + "answer ok\nanswer ok\nstate\n");
    EXPECT_EQ(better.status, 0) << ErrorText();
    auto boxes = better.Reports("box");
    ASSERT_EQ(boxes.size(), 2u) << better.Joined();
    EXPECT_NE(boxes[0]["text"].get<std::string>().find("Best time!"), std::string::npos);
    EXPECT_NE(boxes[1]["text"].get<std::string>().find("Best score!"), std::string::npos);
    EXPECT_EQ(better.State()["bestScore"][0], 3);
}

TEST_F(GameScript, TwoQuickTapsOnTheToolbarAreTwoPressesAndADoubleTapOnUndoTwoUndos) {
    Outcome run = Play(
        "tap 5 5\nscreen-tap 137 306\nscreen-tap 137 306\nstate\n"
        "command 40015\ncommand 40015\ntap 81 113\ntap 120 113\ndbltap 35 240\nstate\n");
    auto states = run.Reports("state");
    ASSERT_EQ(states.size(), 2u) << ErrorText();
    EXPECT_EQ(states[0]["gameNumber"], 2);
    EXPECT_EQ(states[1]["gameNumber"], 0);
    EXPECT_EQ(states[1]["lastIndex"], 2);
    EXPECT_EQ(states[1]["currentIndex"], 0);
}

// H plays a shortest solution out, hint after hint, and a solve so reached counts. At a dead end
// it moves nothing and names the undos back to a way out, in a note under the board that a step
// refused leaves standing and an undo takes away.
TEST_F(GameScript, HintsPlayAShortestSolutionOutAndNameADeadEndUntilTheNextMove) {
    Outcome solved = Play("tap 5 5\nkey h\nkey h\nkey h\nstate\n");
    EXPECT_EQ(solved.Starting("hint "),
              (std::vector<std::string>{"hint {\"distance\": 3, \"move\": [0, 1]}",
                                        "hint {\"distance\": 2, \"move\": [1, 1]}",
                                        "hint {\"distance\": 1, \"move\": [2, 1]}"}));
    auto state = solved.State();
    EXPECT_EQ(state["mode"], ModeSolved);
    EXPECT_EQ(state["bestScore"][0], 3);

    // Puzzle 1: right, down, down takes the big box to the bottom row, where it stays for good.
    Outcome dead = Play(
        "tap 5 5\ncommand 40005\nkey right\nkey down\nkey down\nkey h\nshot dead\nkey down\n"
        "shot refused\nkey u\nshot undone\nkey h\nstate\n");
    EXPECT_EQ(dead.Starting("hint "),
              (std::vector<std::string>{"hint {\"distance\": null, \"undo\": 1}",
                                        "hint {\"distance\": 22, \"move\": [0, 1]}"}));
    EXPECT_EQ(dead.State()["moveCount"], 5);  // three steps, the undo and the hinted move
    const std::uint32_t green = 0x00FF00;
    const RECT note{0, 26 + 180, 240, 26 + 220};
    EXPECT_GT(Count("dead", note, green), 50);
    EXPECT_EQ(Count("dead", note, green), Count("refused", note, green));
    EXPECT_EQ(Count("undone", note, green), 0);
}

TEST_F(GameScript, HintsDoNothingInTheIntroTheTutorialASolvedPuzzleOrBehindABox) {
    // Each script played with H where the marker stands and without it ends in the same state.
    for (const std::string& script :
         {std::string("H\nstate\n"), std::string("tap 5 5\ncommand 40008\nok\nH\nstate\n"),
          "tap 5 5\n" + std::string(kSolvePuzzle0) + "H\nstate\n",
          std::string("tap 5 5\ntap 81 113\ncommand 40005\nH\nanswer cancel\nstate\n")}) {
        SCOPED_TRACE(script);
        std::string with = script, without = script;
        with.replace(with.find('H'), 1, "key h");
        without.erase(without.find("H\n"), 2);
        fs::remove(Path("store.reg"));
        Outcome pressed = Play(with);
        EXPECT_EQ(pressed.status, 0) << ErrorText();
        EXPECT_TRUE(pressed.Starting("hint ").empty());
        fs::remove(Path("store.reg"));
        EXPECT_EQ(pressed.State(), Play(without).State());
    }
}

}  // namespace

// What the desktop's keys do, compared with what they stand for: a button's key with a tap on
// that button, a menu key with the menu's command. Each run starts from an empty store, and the
// two runs must print the same lines and leave the same screen.
class KeyScript : public GameScript {
  protected:
    struct Result {
        std::string lines;
        std::string screen;
        nlohmann::json state;
    };
    Result Run(const std::string& script) {
        fs::remove(folder / "store.reg");
        fs::remove(folder / "end.png");
        Outcome run = Play(script + "state\nshot end\n");
        return {run.Joined() + "status " + std::to_string(run.status), Read("end.png"),
                run.State()};
    }
};

TEST_F(KeyScript, EachButtonKeyDoesWhatATapOnItsButtonDoesInEveryState) {
    struct Situation {
        const char* name;
        std::string script;
    };
    const Situation situations[] = {
        {"intro", "wait 100\n"},
        {"puzzle just started", "tap 5 5\n"},
        {"two moves, one undone", "tap 5 5\ntap 81 113\ntap 120 113\ntap 20 240\n"},
        {"solved", std::string("tap 5 5\n") + kSolvePuzzle0},
        {"tutorial", "tap 5 5\ncommand 40008\nok\n"},
        {"no position after About", "command 40003\nanswer ok\n"},
    };
    struct Button {
        const char* tap;
        const char* command;
        std::vector<const char*> keys;
    };
    const Button buttons[] = {
        {"tap 35 240", "command 40030", {"key ctrl+z", "key u", "key backspace"}},
        {"tap 205 240", "command 40031", {"key ctrl+shift+z", "key ctrl+y", "key r"}},
        {"tap 120 240", "command 40032", {"key ctrl+r", "key home"}},
    };
    int changed = 0, unchanged = 0;
    for (const Situation& s : situations) {
        const Result before = Run(s.script);
        for (const Button& b : buttons) {
            const Result tapped = Run(s.script + b.tap + "\n");
            ASSERT_NE(tapped.screen, "") << s.name;
            // Some taps change the game and some do nothing; both kinds must be covered.
            (tapped.lines == before.lines && tapped.screen == before.screen ? unchanged
                                                                            : changed)++;
            std::vector<std::string> others{b.command};
            others.insert(others.end(), b.keys.begin(), b.keys.end());
            for (const std::string& other : others) {
                const Result pressed = Run(s.script + other + "\n");
                EXPECT_EQ(pressed.lines, tapped.lines)
                    << s.name << ": " << other << " vs " << b.tap;
                EXPECT_TRUE(pressed.screen == tapped.screen)
                    << s.name << ": " << other << " shows another screen than " << b.tap;
            }
        }
    }
    EXPECT_GE(changed, 6);
    EXPECT_GE(unchanged, 4);
}

TEST_F(KeyScript, SpaceReturnAndEscapeEndTheIntroAsATapDoesAndLaterDoNothing) {
    const Result tapped = Run("wait 300\ntap 5 5\n");
    ASSERT_NE(tapped.screen, "");  // or every screen below would be the same nothing
    EXPECT_EQ(tapped.state["boardWidth"], 3) << tapped.lines;
    for (const char* key : {"space", "return", "escape"}) {
        const Result pressed = Run(std::string("wait 300\nkey ") + key + "\n");
        EXPECT_EQ(pressed.lines, tapped.lines) << key;
        EXPECT_TRUE(pressed.screen == tapped.screen) << key;
        // In a game the same keys change nothing.
        const std::string game = "tap 5 5\ntap 81 113\n";
        EXPECT_EQ(Run(game + "key " + key + "\n").lines, Run(game).lines) << key;
    }
    // The arrow keys keep their meaning: no key of the table, the intro goes on.
    const Result arrow = Run("wait 300\nkey right\n");
    EXPECT_EQ(arrow.state["boardWidth"], 0) << arrow.lines;
}
