// Whole games played by the velquin program with no screen: a script in, the box and state lines
// and the screen pictures out.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Puzzle 0's shortest solution, cells (0,1) (1,1) (2,1), tapped at the cells' centres.
constexpr const char* kSolvePuzzle0 = "tap 81 113\ntap 120 113\ntap 159 113\n";

struct Outcome {
    int status = -1;
    std::vector<std::string> lines;
    std::string Joined() const {
        std::string all;
        for (const auto& l : lines) all += l + "\n";
        return all;
    }
    std::vector<std::string> Starting(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& l : lines)
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        return out;
    }
};

// The value of a numeric field of a state line.
long Field(const std::string& line, const std::string& name) {
    auto at = line.find("\"" + name + "\": ");
    if (at == std::string::npos) return -999999;
    return std::strtol(line.c_str() + at + name.size() + 4, nullptr, 10);
}

class GameScript : public ::testing::Test {
  protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() /
            ("velquin-game-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    Outcome Play(const std::string& script) {
        fs::path file = folder / "script.txt";
        std::ofstream(file) << script;
        std::string command = std::string(VELQUIN_PROGRAM) + " --headless --script " +
                              file.string() + " --store " + (folder / "store.reg").string() +
                              " --shots " + folder.string() + " 2>" + (folder / "err").string();
        Outcome run;
        FILE* out = popen(command.c_str(), "r");
        char buffer[8192];
        while (fgets(buffer, sizeof buffer, out)) {
            std::string line(buffer);
            if (!line.empty() && line.back() == '\n') line.pop_back();
            run.lines.push_back(line);
        }
        int status = pclose(out);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }
    std::string ErrorText() {
        std::ifstream in(folder / "err");
        std::string s;
        std::getline(in, s);
        return s;
    }

    // A pixel of a shot, 0xRRGGBB.
    std::uint32_t Pixel(const std::string& shot, int x, int y) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        std::string path = (folder / (shot + ".png")).string();
        if (!png_image_begin_read_from_file(&image, path.c_str())) return 0xFFFFFFFFu;
        image.format = PNG_FORMAT_RGB;
        std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
        png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr);
        const unsigned char* p = &rgb[(y * image.width + x) * 3];
        return (p[0] << 16) | (p[1] << 8) | p[2];
    }
    fs::path folder;
};

TEST_F(GameScript, TheIntroEndsAtTheFirstTickPast5000msOrAtATap) {
    Outcome timed = Play("wait 4990\nstate\nwait 60\nstate\n");
    auto states = timed.Starting("state ");
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(Field(states[0], "boardWidth"), 0);  // 4980 ms: still the intro
    EXPECT_NE(states[0].find("\"period\": 60"), std::string::npos);
    EXPECT_EQ(Field(states[1], "boardWidth"), 3);  // the tick at 5040 ms ended it
    EXPECT_EQ(states[1].find("\"timers\": []"), states[1].find("\"timers\""));

    // A tap on the Undo button during the intro presses nothing and moves nothing.
    Outcome tapped = Play("wait 100\ntap 20 240\nstate\n");
    auto s = tapped.Starting("state ");
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(Field(s[0], "boardWidth"), 3);
    EXPECT_EQ(Field(s[0], "moveCount"), 0);
    EXPECT_TRUE(fs::exists(folder / "store.reg"));  // starting the puzzle saved the settings
}

TEST_F(GameScript, TheIntroKeepsItsBannerAndTitleWhileTheRingMoves) {
    Outcome run = Play("wait 1000\nshot early\nwait 1000\nshot later\nwait 2000\nshot late\n");
    ASSERT_EQ(run.status, 0);
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
    int banner = 0, title = 0;
    for (int x = 25; x < 225; ++x)
        for (int y = 56; y < 74; ++y) banner += Pixel("late", x, y) == 0xC800C8;
    for (int x = 0; x < 240; ++x)
        for (int y = 236; y < 266; ++y) title += Pixel("late", x, y) == 0x6464FF;
    EXPECT_GT(banner, 200);
    EXPECT_GT(title, 30);
}

TEST_F(GameScript, Puzzle0SolvedByTapsRecordsBestsAndCongratulatesOnlyOnBetterLaterSolves) {
    // First solve: slowly, with a detour. Bests are recorded without a box.
    std::string script = "tap 5 5\nshot first\n";
    script += "tap 81 113\nwait 1000\ntap 81 74\ntap 81 113\n";  // up and back: 2 extra moves
    script += "tap 120 113\ntap 159 113\nstate\nshot solved\n";
    // Second solve, shorter and faster: both boxes, best time first.
    script += "command 40018\nwait 300\n";
    script += kSolvePuzzle0;
    script += "answer ok\nanswer ok\nstate\n";
    Outcome run = Play(script);
    EXPECT_EQ(run.status, 0) << ErrorText();
    auto boxes = run.Starting("box ");
    ASSERT_EQ(boxes.size(), 2u) << run.Joined();
    EXPECT_NE(boxes[0].find("Best time!"), std::string::npos);
    EXPECT_NE(boxes[1].find("Best score!"), std::string::npos);
    auto states = run.Starting("state ");
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(Field(states[0], "mode"), 1);
    EXPECT_EQ(Field(states[0], "moveCount"), 5);
    EXPECT_NE(states[0].find("\"bestScore\": [5,"), std::string::npos);
    EXPECT_NE(states[1].find("\"bestScore\": [3,"), std::string::npos);

    // Pink cells while playing, green when solved.
    std::uint32_t playing = Pixel("first", 170, 26 + 165);
    std::uint32_t solved = Pixel("solved", 170, 26 + 165);
    EXPECT_NE(playing, solved);
    EXPECT_GT((solved >> 8) & 0xFF, (solved >> 16) & 0xFF);    // green dominates
    EXPECT_GT((playing >> 16) & 0xFF, (playing >> 8) & 0xFF);  // pink: more red than green
}

TEST_F(GameScript, AbortConfirmationOnNextPuzzle) {
    Outcome run = Play(
        "tap 5 5\ntap 81 113\nwait 500\ncommand 40005\nanswer cancel\nstate\n"
        "command 40005\nanswer ok\nstate\n");
    auto boxes = run.Starting("box ");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].find("This will abort the current game. Abort?"), std::string::npos);
    auto states = run.Starting("state ");
    ASSERT_EQ(states.size(), 2u);
    // Cancel: same game, clock still running.
    EXPECT_EQ(Field(states[0], "gameNumber"), 0);
    EXPECT_EQ(Field(states[0], "moveCount"), 1);
    EXPECT_NE(states[0].find("\"period\": 100"), std::string::npos);
    // OK: the abandoned game is booked, the next puzzle starts with no clock.
    EXPECT_EQ(Field(states[1], "gameNumber"), 1);
    EXPECT_NE(states[1].find("\"totalScore\": [1,"), std::string::npos);
    EXPECT_NE(states[1].find("\"timers\": []"), std::string::npos);
}

TEST_F(GameScript, TutorialByLearnRulesThenEightRedoTaps) {
    std::string script = "tap 5 5\ncommand 40008\nok\nstate\nshot browsing\n";
    for (int i = 0; i < 8; ++i) script += "tap 200 240\n";
    script += "state\nshot tutorial\n";
    Outcome run = Play(script);
    auto states = run.Starting("state ");
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(Field(states[0], "mode"), 2);
    EXPECT_EQ(Field(states[0], "currentIndex"), 0);
    EXPECT_EQ(Field(states[1], "currentIndex"), 8);
    // Blue cells while browsing the tutorial, green on its solved last position.
    std::uint32_t browsing = Pixel("browsing", 63, 26 + 56);
    EXPECT_GT(browsing & 0xFF, (browsing >> 8) & 0xFF) << std::hex << browsing;
    std::uint32_t end = Pixel("tutorial", 63, 26 + 56);
    EXPECT_GT((end >> 8) & 0xFF, end & 0xFF) << std::hex << end;
}

TEST_F(GameScript, OptionsSwitchToFrenchAndResetAsks) {
    Outcome run = Play("tap 5 5\n" + std::string(kSolvePuzzle0) +
                       "command 40004\nclick 1007\nclick 1008\nanswer ok\nok\nstate\n"
                       "command 40005\ncommand 40003\nanswer ok\n");
    EXPECT_EQ(run.status, 0) << ErrorText();
    auto boxes = run.Starting("box ");
    ASSERT_EQ(boxes.size(), 2u) << run.Joined();
    EXPECT_NE(boxes[0].find("Cela va effacer les statistiques"), std::string::npos);
    EXPECT_NE(boxes[1].find("\"caption\": \"A propos\""), std::string::npos);
    auto states = run.Starting("state ");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(Field(states[0], "language"), 1);
    EXPECT_NE(states[0].find("\"bestScore\": [0,"), std::string::npos);
    EXPECT_EQ(Field(states[0], "gameNumber"), 0);
}

TEST_F(GameScript, FrenchFromTheOptionsRetitlesTheMenu) {
    // The popup menu opened from the command bar, after the options were left in each language.
    const std::string openMenu = "screen-tap 20 307\nshot menu\nkey escape\n";
    Play("tap 5 5\ncommand 40004\nok\n" + openMenu);
    fs::rename(folder / "menu.png", folder / "english.png");
    Play("tap 5 5\ncommand 40004\nclick 1007\nok\n" + openMenu);
    fs::remove(folder / "store.reg");  // the options saved French
    int differing = 0;
    for (int y = 100; y < 294; ++y)
        for (int x = 0; x < 160; ++x) differing += Pixel("english", x, y) != Pixel("menu", x, y);
    EXPECT_GT(differing, 100);
    // The same language twice draws the very same menu.
    Play("tap 5 5\ncommand 40004\nok\n" + openMenu);
    for (int y = 100; y < 294; y += 3)
        for (int x = 0; x < 160; x += 3) ASSERT_EQ(Pixel("english", x, y), Pixel("menu", x, y));
}

TEST_F(GameScript, CloseAsksDuringAGameAndClosesOnlyOnOk) {
    Outcome run =
        Play("tap 5 5\ntap 81 113\nclose\nanswer cancel\nstate\nclose\nanswer ok\nstate\n");
    EXPECT_EQ(run.Starting("box ").size(), 2u);
    // After the OK the window is gone and the loop has ended: the last state never runs.
    EXPECT_EQ(run.Starting("state ").size(), 1u);
}

TEST_F(GameScript, AboutAfterTheIntroLeavesNoPositionUntilACommandLoadsOne) {
    Outcome run = Play(
        "command 40003\nanswer ok\ntap 120 74\ntap 100 240\nkey 39\nstate\n"
        "command 40005\ntap 120 74\nstate\n");
    auto states = run.Starting("state ");
    ASSERT_EQ(states.size(), 2u);
    EXPECT_LT(Field(states[0], "boardWidth"), 0);
    EXPECT_EQ(Field(states[0], "moveCount"), 0);
    EXPECT_NE(states[0].find("\"timers\": []"), std::string::npos);  // no move was attempted
    EXPECT_EQ(Field(states[1], "gameNumber"), 1);
    EXPECT_EQ(Field(states[1], "moveCount"), 1);
}

TEST_F(GameScript, CancelledOptionsStillSaveAndRestartAndACloseKeepsTheAbandonedGame) {
    Outcome run = Play(
        "tap 5 5\ntap 81 113\ncommand 40004\nanswer ok\nclick 1007\ncancel\n"
        "state\ntap 81 113\nclose\nanswer ok\n");
    auto states = run.Starting("state ");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(Field(states[0], "language"), 1);   // the click itself switched the language
    EXPECT_EQ(Field(states[0], "moveCount"), 0);  // puzzle 0 started again
    EXPECT_EQ(run.Starting("box ").size(), 2u);   // the abort question, before options and close
    std::ifstream in(folder / "store.reg");
    std::string store((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(store.find("\"langue\"=dword:00000001"), std::string::npos);
    // The first abandoned game was booked and saved by the options, the second by the close.
    EXPECT_NE(store.find("\"totalscore00\"=dword:00000002"), std::string::npos) << store;
}

TEST_F(GameScript, ScriptCommandsWithNothingToActOnNameTheirLine) {
    Outcome run = Play("tap 5 5\n\nanswer ok\nstate\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(ErrorText().find("script line 3"), std::string::npos) << ErrorText();
    EXPECT_TRUE(run.Starting("state ").empty());

    Outcome bad = Play("wait 10\nfrobnicate\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(ErrorText().find("script line 2"), std::string::npos) << ErrorText();
    EXPECT_TRUE(bad.lines.empty());

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
    fs::remove(store);
    std::ofstream(folder / "script.txt") << "tap 5 5\n" << kSolvePuzzle0 << "state\n";
    // The output goes through a pipe, which the limit does not touch.
    const std::string command = "sh -c 'ulimit -f 0; exec " + std::string(VELQUIN_PROGRAM) +
                                " --headless --script " + (folder / "script.txt").string() +
                                " --store " + store.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << text;
    EXPECT_NE(text.find("\"mode\": 1"), std::string::npos) << text;  // solved
    EXPECT_TRUE(!fs::exists(store) || fs::file_size(store) == 0);
}

TEST_F(GameScript, AShotReplacesANamePlantedInItsFolderAndNeverWritesThroughIt) {
    std::ofstream(folder / "victim") << "not a picture";
    fs::create_symlink(folder / "victim", folder / "planted.png");
    Outcome run = Play("shot planted\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Pixel("planted", 0, 0) >> 24, 0u);  // a picture now
    EXPECT_FALSE(fs::is_symlink(folder / "planted.png"));
    std::ifstream victim(folder / "victim");
    std::string text;
    std::getline(victim, text);
    EXPECT_EQ(text, "not a picture");
    for (const auto& entry : fs::directory_iterator(folder))  // no temporary file left behind
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
}

}  // namespace
