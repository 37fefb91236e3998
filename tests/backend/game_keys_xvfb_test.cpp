// Every key of the game's accelerator table pressed for real (xdotool through a virtual X
// server) into the game's own window, one after another, each checked by what it did to the
// game: the keys reach the table through SDL, the table through the loop, and the commands
// the game; and two quick clicks on a toolbar button, which SDL sees as a double click.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "engine/game_state.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/registry/registry.h"
#include "platform/user/command_bar.h"
#include "platform/user/internal/backend.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"
#include "resources/game_resources.h"
#include "resources/resource_ids.h"
#include "tests/backend/xvfb.h"
#include "tests/scratch_folder.h"
#include "ui/game_app.h"

namespace {

namespace fs = std::filesystem;
using testing_xvfb::LeakCheckOff;
using testing_xvfb::XServer;

GameApp theApp;

class RealWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string why;
        if (!x.Start(&why)) GTEST_SKIP() << "skipped: " << why;
        setenv("DISPLAY", x.Display().c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        SetRegistryFilePath(scratch / "store.reg");
        RegisterGameResources();
    }

    // Moves the pointer to a point of the handheld's screen (the window is at scale 1), then does
    // what `then` says in xdotool's words.
    void PointAt(POINT screen, const std::string& then) {
        int wx = 0, wy = 0;
        SDL_GetWindowPosition(sdl->Window(), &wx, &wy);
        const std::string command = "DISPLAY=" + x.Display() + " xdotool mousemove " +
                                    std::to_string(wx + screen.x) + " " +
                                    std::to_string(wy + screen.y) + " " + then;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    // Presses keys (xdotool names) with the pointer in the window, where the keys go.
    void Press(const std::string& keys) { PointAt({120, 10}, "key --delay 60 " + keys); }
    // The same, a moment later and in the background: for the keys that answer a box or a
    // dialog, whose own loop waits for them.
    void PressLater(const std::string& keys) {
        std::string command =
            "(sleep 0.4; DISPLAY=" + x.Display() + " xdotool key " + keys + ") >/dev/null 2>&1 &";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    // Clicks twice at a point of the handheld's screen, gapMs apart.
    void ClickTwice(POINT screen, int gapMs) {
        PointAt(screen, "sleep 0.2 click 1 sleep " + std::to_string(gapMs / 1000.0) + " click 1");
    }
    // Runs the application's loop by hand until `done` holds, at most about five seconds.
    bool RunUntil(const std::function<bool()>& done, int rounds = 100) {
        for (int i = 0; i < rounds; ++i) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) return done();
                if (!AfxGetApp()->PreTranslateMessage(&msg)) DispatchMessageW(&msg);
            }
            if (done()) return true;
            sdl->WaitForInput(50);
        }
        return done();
    }
    // Runs the loop for about half a second: for keys that must change nothing.
    void Settle() {
        RunUntil([] { return false; }, 10);
    }

    XServer x;
    ScratchFolder scratch;
    std::unique_ptr<backend::SdlBackend> sdl;
};

struct Line {
    int current, last, moves;
};
bool At(Line l) {
    return gameState.currentIndex == l.current && gameState.lastIndex == l.last &&
           gameState.moveCount == l.moves;
}

TEST_F(RealWindow, EveryKeyOfTheTableWorksInTheRealWindow) {
    LeakCheckOff systemLibraries;
    std::string error;
    sdl = backend::SdlBackend::Open(1, &error);
    if (!sdl) GTEST_SKIP() << "skipped: the SDL window did not open under Xvfb: " << error;
    ASSERT_TRUE(theApp.InitInstance());
    ASSERT_TRUE(gameState.introRunning);

    Press("Right");  // an arrow during the intro: the handheld's key, it ends nothing
    Settle();
    EXPECT_TRUE(gameState.introRunning);
    Press("space");
    EXPECT_TRUE(RunUntil([] { return !gameState.introRunning && gameState.boardWidth == 3; }));

    Press("Right Down");
    EXPECT_TRUE(RunUntil([] { return At({2, 2, 2}); }));
    const std::pair<const char*, Line> steps[] = {
        {"ctrl+z", {1, 2, 3}},       {"u", {0, 2, 4}},         {"r", {1, 2, 5}},
        {"ctrl+shift+z", {2, 2, 6}}, {"BackSpace", {1, 2, 7}}, {"ctrl+y", {2, 2, 8}},
        {"Home", {0, 2, 8}},         {"r", {1, 2, 9}},         {"ctrl+r", {0, 2, 9}},
    };
    for (const auto& [key, line] : steps) {
        Press(key);
        EXPECT_TRUE(RunUntil([&] { return At(line); }))
            << key << ": at " << gameState.currentIndex << "/" << gameState.lastIndex << " with "
            << gameState.moveCount << " moves";
    }
    // Return and Escape in a game: nothing.
    Press("Return Escape");
    Settle();
    EXPECT_TRUE(At({0, 2, 9}));
    // H: the first move of a shortest solution, a move like any other.
    Press("h");
    EXPECT_TRUE(RunUntil([] { return At({1, 1, 10}); }));

    // Next puzzle asks first (a move was made): Return in the box is its OK.
    PressLater("Return");
    Press("n");
    EXPECT_TRUE(RunUntil([] { return gameState.gameNumber == 1 && gameState.moveCount == 0; }));
    const std::pair<const char*, int> puzzles[] = {{"Next", 2}, {"p", 1}, {"Prior", 0}};
    for (const auto& [key, number] : puzzles) {
        Press(key);
        EXPECT_TRUE(RunUntil([&] { return gameState.gameNumber == number; })) << key;
    }
    // Two clicks 200 ms apart on the toolbar's Next Puzzle, which SDL sees as a double click: two
    // presses.
    POINT next{-1, -1};
    for (const user::CommandBarButton& b :
         user::CommandBarButtons(user::CommandBarOf(AfxGetMainWnd()->m_hWnd)))
        if (b.command == kCmdNextTool)
            next = {(b.rect.left + b.rect.right) / 2, (b.rect.top + b.rect.bottom) / 2};
    ASSERT_GE(next.x, 0);
    ClickTwice(next, 200);
    EXPECT_TRUE(RunUntil([] { return gameState.gameNumber == 2; }));
    Settle();
    EXPECT_EQ(gameState.gameNumber, 2);

    PressLater("Return");  // the rules' OK
    Press("F1");
    EXPECT_TRUE(RunUntil([] { return gameState.mode == ModeTutorial; }));
    for (const char* options : {"o", "ctrl+comma"}) {
        PressLater("Escape");  // the options dialog, cancelled: a new game all the same
        Press(options);
        EXPECT_TRUE(RunUntil([] { return gameState.mode == ModePlaying; })) << options;
        Press("F1");
        PressLater("Return");
        EXPECT_TRUE(RunUntil([] { return gameState.mode == ModeTutorial; })) << options;
    }
    bool aboutSeen = false;
    user::SetMessageBoxObserver([&](const user::BoxEvent& e) { aboutSeen |= e.opened; });
    PressLater("Return");
    Press("a");
    EXPECT_TRUE(RunUntil([&] { return aboutSeen && !user::GetOpenMessageBox(); }));
    user::SetMessageBoxObserver(nullptr);

    Press("F11");
    EXPECT_TRUE(RunUntil([&] { return sdl->FullScreen(); }));
    Press("alt+Return");
    EXPECT_TRUE(RunUntil([&] { return !sdl->FullScreen(); }));

    Press("ctrl+q");  // nothing to lose in the tutorial: the window closes at once
    EXPECT_TRUE(RunUntil([] { return AfxGetMainWnd() == nullptr; }));
    user::TakeQuit();
    theApp.ExitInstance();
    user::ShutdownWindowSystem();
    sdl.reset();
}

}  // namespace
