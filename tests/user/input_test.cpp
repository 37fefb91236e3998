// Input: taps in client coordinates, the double-tap sequence as the window's class asks for it,
// keys to the focus, and the main window between the bars.
#include "tests/user/test_window.h"

namespace testing_user {
namespace {

using InputTest = WindowTest;

TEST_F(InputTest, TapsAndKeysReachTheWindowAndNothingReachesItOnceDisabled) {
    for (UINT classStyle : {CS_DBLCLKS, 0u}) {
        SCOPED_TRACE(classStyle ? "a class with double taps" : "a class without");
        user::ShutdownWindowSystem();
        Log() = TestWindowLog{};
        RegisterTestWindowClass(classStyle);
        HWND w = MakeFrame();
        script->DoubleTap(61, 54);
        script->Key(VK_LEFT);
        script->Key(VK_DOWN);
        Then([w] { EnableWindow(w, FALSE); });
        script->Key(VK_UP);
        script->Tap(10, 10);
        script->Close();
        script->Run();
        std::vector<UINT> taps;
        std::vector<WPARAM> keys;
        for (const auto& m : Log().messages) {
            if (m.message == WM_KEYDOWN) keys.push_back(m.wParam);
            if (m.message < WM_LBUTTONDOWN || m.message > WM_LBUTTONDBLCLK) continue;
            taps.push_back(m.message);
            EXPECT_EQ(m.hwnd, w);
            EXPECT_EQ(GET_X_LPARAM(m.lParam), 61);
            EXPECT_EQ(GET_Y_LPARAM(m.lParam), 54);  // client coordinates, not the screen's 80
        }
        // A double tap is a tap, then the double down, then an up; a window whose class does not
        // ask for double taps gets the second down as a plain one.
        const UINT second = classStyle ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        EXPECT_EQ(taps, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, second, WM_LBUTTONUP}));
        EXPECT_EQ(keys, (std::vector<WPARAM>{VK_LEFT, VK_DOWN}));
        EXPECT_EQ(Log().Count(WM_CLOSE), 0);
        EXPECT_TRUE(IsWindow(w));
    }
}

TEST_F(InputTest, TheMainWindowTakesTheAreaBetweenTheBars) {
    HWND w = MakeFrame();
    RECT client, window;
    GetClientRect(w, &client);
    GetWindowRect(w, &window);
    EXPECT_EQ((std::vector<LONG>{client.right, client.bottom, window.top, window.bottom}),
              (std::vector<LONG>{240, 268, 26, 294}));
    EXPECT_NE(WindowFromPoint({5, 25}), w);
    EXPECT_EQ(WindowFromPoint({5, 26}), w);
    EXPECT_EQ(user::GetMainFrameWindow(), w);
    SetWindowTextW(w, L"Velquin PPC");
    wchar_t title[32];
    EXPECT_EQ(GetWindowTextW(w, title, 32), 11);
    EXPECT_STREQ(title, L"Velquin PPC");
}

}  // namespace
}  // namespace testing_user
