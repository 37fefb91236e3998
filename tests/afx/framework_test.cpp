// The framework as the game uses it: start-up, routing through the message maps, the exit
// command, the close handler's question, dialogs with data exchange.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>

#include "platform/backend/script/script_backend.h"
#include "platform/user/internal/backend.h"
#include "platform/user/internal/screen.h"
#include "tests/afx/test_app.h"

namespace testing_afx {
namespace {

class FrameworkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        user::ShutdownWindowSystem();
        TheTrace() = Trace{};
        RegisterTestResources();
        script = std::make_unique<backend::ScriptBackend>(1000);
        app = std::make_unique<TestApp>();
    }
    void TearDown() override {
        user::ShutdownWindowSystem();
        app.reset();
        script.reset();
    }
    int RunApp() { return AfxWinMain(SW_SHOW); }
    // A step of the script that runs when the loop is next idle, and never fails.
    void Then(std::function<void()> step) {
        script->Do([step](std::string*) {
            step();
            return true;
        });
    }
    std::vector<std::string> CallsWithout(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& c : TheTrace().calls)
            if (c.rfind(prefix, 0) != 0) out.push_back(c);
        return out;
    }
    std::unique_ptr<backend::ScriptBackend> script;
    std::unique_ptr<TestApp> app;
};

TEST_F(FrameworkTest, StartUpShowsTheFrameAndCommandsReachTheFrameFirstThenTheApplication) {
    script->Command(kCmdBoth);
    script->Command(kCmdAppOnly);
    script->Command(kCmdNext);
    script->Command(12345);      // handled by nobody
    script->ScreenTap(100, 12);  // the navigation bar's title: nothing
    RunApp();
    EXPECT_EQ(CallsWithout("timer"),
              (std::vector<std::string>{"frame both", "app only", "frame next"}));
    auto* frame = dynamic_cast<TestFrame*>(AfxGetMainWnd());
    ASSERT_NE(frame, nullptr);
    wchar_t title[32];
    GetWindowTextW(frame->m_hWnd, title, 32);
    EXPECT_STREQ(title, L"Velquin PPC");
    RECT r;
    frame->GetClientRect(&r);
    EXPECT_EQ(std::tuple(r.right, r.bottom), std::tuple(240, 268));
    ASSERT_NE(frame->GetMenu(), nullptr);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(frame->GetMenu(), 0), 5), kCmdExit);
    EXPECT_EQ(user::CommandBarOf(frame->m_hWnd), frame->commandBar.m_hWnd);
    EXPECT_EQ(user::ScreenPixel(120, 150), 0x008000u);
    EXPECT_TRUE(TheTrace().exitInstanceRan);  // the end of the script ended the loop
}

TEST_F(FrameworkTest, ExitCloseButtonAndCloseRequestAskFirstEndOnOkAndTheAppRunsAgain) {
    script->Command(kCmdExit);
    script->Answer(IDCANCEL);    // the game goes on
    script->ScreenTap(225, 12);  // the navigation bar's close button
    script->Answer(IDCANCEL);
    script->Close();
    script->Answer(IDCANCEL);
    script->Wait(30);
    script->Command(100);  // the second id the application gives its exit
    script->Answer(IDOK);
    RunApp();
    EXPECT_EQ(CallsWithout("timer"),
              (std::vector<std::string>{"close asked", "close asked", "close asked", "close asked",
                                        "frame deleted"}));
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    EXPECT_TRUE(TheTrace().exitInstanceRan);
    EXPECT_EQ(script->Now(), 1030u);

    // The player starts the game again: the first run's quit is not the second's.
    TheTrace() = Trace{};
    script->Command(kCmdNext);
    script->Wait(130);
    script->Close();
    script->Answer(IDOK);
    script->Wait(1000);  // never runs: the second loop has ended too
    RunApp();
    EXPECT_EQ(script->Now(), 1160u);
    EXPECT_EQ(CallsWithout("timer"),
              (std::vector<std::string>{"frame next", "close asked", "frame deleted"}));
    EXPECT_EQ(TheTrace().calls.size(), 5u);  // with two ticks of the second frame's timer
    EXPECT_TRUE(TheTrace().exitInstanceRan);
    EXPECT_EQ(user::GetMainFrameWindow(), nullptr);
}

TEST_F(FrameworkTest, TapsKeysTimersAndTheDoubleTapReachTheirHandlers) {
    script->Tap(61, 54);
    script->DoubleTap(177, 170);
    script->Key(VK_LEFT);
    script->Key(VK_RETURN);
    script->Wait(130);
    RunApp();
    EXPECT_EQ(TheTrace().calls,
              (std::vector<std::string>{"tap 61,54", "tap 177,170", "tap 177,170", "key 37",
                                        "key 13", "timer 1", "timer 1"}));
}

TEST_F(FrameworkTest, TheLoopTurnsAKeyOfTheAcceleratorTablesIntoItsCommandAndNothingElse) {
    std::vector<bool> fullScreen;
    auto look = [&](std::string*) {
        fullScreen.push_back(script->FullScreen());
        return true;
    };
    script->Key('N', user::ModControl);  // an entry: the command, and no key message
    script->Key('N');                    // no entry without Ctrl: the key as before
    script->Key('N', user::ModControl | user::ModShift);  // Shift too: no entry matches
    script->Key('A', user::ModControl);                   // a command only the application has
    script->Key(VK_F2);
    script->Key(VK_F11);  // full screen, and back
    script->Do(look);
    script->Key(VK_F11);
    script->Do(look);
    script->Key(VK_RETURN, user::ModAlt);  // a system key: its entry, never WM_KEYDOWN
    script->Do(look);
    script->Key(VK_LEFT, user::ModAlt);  // a system key with no entry: nobody's key
    RunApp();
    EXPECT_EQ(CallsWithout("timer"), (std::vector<std::string>{"frame next", "key 78", "key 78",
                                                               "app only", "frame both"}));
    EXPECT_EQ(fullScreen, (std::vector<bool>{true, false, true}));

    // Every registered table lists its keys with their modifiers.
    static constexpr ACCEL kMore[] = {{FVIRTKEY | FSHIFT, VK_F12, kCmdBoth}};
    RegisterAcceleratorResource(900, kMore);
    const std::vector<ACCEL> all = RegisteredAccelerators();
    auto has = [&](BYTE fVirt, WORD key) {
        return std::any_of(all.begin(), all.end(),
                           [&](const ACCEL& a) { return a.fVirt == fVirt && a.key == key; });
    };
    // The key without its Ctrl is nobody's.
    EXPECT_EQ(std::tuple(has(FVIRTKEY | FCONTROL, 'N'), has(FVIRTKEY | FALT, VK_RETURN),
                         has(FVIRTKEY | FSHIFT, VK_F12), has(FVIRTKEY, 'N')),
              std::tuple(true, true, true, false));
}

TEST_F(FrameworkTest, TimersAndPaintsGoOnBehindTheAboutBoxWhichTakesTheKeysAndTaps) {
    int paintsAtOpen = 0, paintsBehind = 0;
    std::uint32_t insideBox = 0, besideBox = 0;
    Then([] {  // a tap queued behind the command, before the box disables the main window
        PostMessageW(AfxGetMainWnd()->m_hWnd, WM_COMMAND, kCmdAbout, 0);
        user::InputTap({61, 26 + 54});
    });
    Then([&] { paintsAtOpen = TheTrace().paints; });
    script->Tap(5, 5);                   // the main window is disabled behind the box
    script->Key(VK_F2);                  // in the accelerator table, but the box has the keys
    script->Key('N', user::ModControl);  // likewise
    script->Wait(200);
    Then([&] {
        paintsBehind = TheTrace().paints - paintsAtOpen;
        RECT box;
        GetWindowRect(user::GetOpenMessageBox(), &box);
        insideBox = user::ScreenPixel(box.left + 4, box.bottom - 4);
        besideBox = user::ScreenPixel(box.left + 4, box.top - 4);
    });
    script->Key(VK_RETURN);  // the box's OK
    script->Key(VK_F2);      // the box is gone: the table again
    RunApp();
    EXPECT_EQ(TheTrace().calls,
              (std::vector<std::string>{"timer 1", "timer 1", "timer 1", "frame both"}));
    EXPECT_EQ(user::GetOpenMessageBox(), nullptr);
    // One paint per tick, each clipped around the box.
    EXPECT_EQ(std::tuple(paintsBehind, insideBox, besideBox), std::tuple(3, 0xFFFFFFu, 0x008000u));
}

TEST_F(FrameworkTest, DialogDataExchangeBothWaysAndCancelStoresNothing) {
    auto checked = [](int id) {
        return IsDlgButtonChecked(user::GetOpenDialog(), id) == BST_CHECKED;
    };
    const std::wstring initialStats = L"#0 - (0 ms)\r\nTotal time: 0 ms";
    bool frenchAtStart = false, englishAtStart = true;
    std::wstring statsShown, statsAfterCancel;
    script->Command(kCmdOptions);  // the first run starts French
    Then([&] {
        frenchAtStart = checked(kFrench);
        englishAtStart = checked(kEnglish);
        wchar_t text[64];
        GetDlgItemTextW(user::GetOpenDialog(), kStats, text, 64);
        statsShown = text;
    });
    script->Click(kEnglish);  // read at once by the click's handler
    script->SetText(kStats, L"typed");
    script->DialogCancel();
    Then([&] { statsAfterCancel = TheTrace().statsAtClose; });
    script->Command(kCmdOptions);  // the second starts with no language set
    script->SetText(kStats, L"typed");
    script->Key(VK_RETURN);
    RunApp();
    EXPECT_EQ(std::tuple(frenchAtStart, englishAtStart), std::tuple(true, false));
    EXPECT_EQ(std::tuple(statsShown, statsAfterCancel), std::tuple(initialStats, initialStats));
    EXPECT_EQ(std::tuple(TheTrace().languageChoiceAtOk, TheTrace().statsAtClose),
              std::tuple(-1, L"typed"));
    EXPECT_EQ(CallsWithout("timer"),
              (std::vector<std::string>{"language 0", "options closed 2 lang 0",
                                        "options closed 1 lang -1"}));
}

TEST_F(FrameworkTest, AButtonInTheDialogOpensABoxOwnedByTheDialog) {
    script->Command(kCmdOptions);
    script->Click(kReset);
    script->Do([](std::string* e) {
        HWND box = user::GetOpenMessageBox();
        if (!box || GetWindow(box, GW_OWNER) != user::GetOpenDialog()) return *e = "owner", false;
        if (IsWindowEnabled(user::GetOpenDialog())) return *e = "dialog enabled", false;
        return true;
    });
    script->Answer(IDOK);
    script->Key(VK_ESCAPE);
    RunApp();
    EXPECT_EQ(script->Error(), "");
    EXPECT_EQ(TheTrace().statsAtClose, L"reset");
    EXPECT_EQ(CallsWithout("timer"), (std::vector<std::string>{"options closed 2 lang 1"}));
}

}  // namespace
}  // namespace testing_afx
