// The order the queue hands messages out in, and the timers' ticks on the virtual clock.
#include <map>
#include <tuple>

#include "tests/user/test_window.h"

namespace testing_user {
namespace {

using QueueTest = WindowTest;

// Takes up to n messages from the queue (without waiting) and dispatches them.
std::vector<UINT> Take(int n) {
    std::vector<UINT> out;
    MSG msg;
    for (int i = 0; i < n && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        out.push_back(msg.message);
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
    }
    return out;
}

constexpr UINT kPing = WM_USER + 1;

TEST_F(QueueTest, PostedThenPaintThenOneTickHoweverLateTheTimer) {
    HWND w = MakeFrame();
    Pump();
    Log().messages.clear();
    ASSERT_EQ(SetTimer(w, 1, 100, nullptr), 1u);
    // Nobody takes messages while 550 ms pass: five periods, yet a single tick waits.
    script->Wait(550);
    RunScriptOnly();
    InvalidateRect(w, nullptr, FALSE);
    PostMessageW(w, kPing, 0, 0);
    EXPECT_EQ(Take(10), (std::vector<UINT>{kPing, WM_PAINT, WM_TIMER}));
    // The late timer keeps its rhythm: the next tick is due at 600 ms after setting.
    EXPECT_EQ(Log().messages.back().tick, 1550u);
}

TEST_F(QueueTest, TimersTickAtTheirPeriodRestartWhenSetAgainAndStopWhenKilled) {
    HWND w = MakeFrame();
    EXPECT_EQ(SetTimer(w, 3, 60, nullptr), 3u);
    SetTimer(w, 1, 60, nullptr);
    script->Wait(50);
    script->Do([w](std::string*) { return SetTimer(w, 1, 100, nullptr) == 1; });
    script->Wait(150);
    script->Do([w](std::string*) { return KillTimer(w, 3) != FALSE; });
    script->Wait(300);
    script->Run();
    std::map<WPARAM, std::vector<DWORD>> ticks;
    for (const auto& m : Log().messages)
        if (m.message == WM_TIMER) ticks[m.wParam].push_back(m.tick);
    EXPECT_EQ(ticks, (std::map<WPARAM, std::vector<DWORD>>{{1, {1150, 1250, 1350, 1450}},
                                                           {3, {1060, 1120, 1180}}}));
    EXPECT_FALSE(KillTimer(w, 3));
}

TEST_F(QueueTest, TimersWorkAcrossTheWrapOfTheTickCount) {
    script.reset();
    script = std::make_unique<backend::ScriptBackend>(0xFFFFFFF0u);
    HWND w = MakeFrame();
    SetTimer(w, 1, 20, nullptr);
    script->Wait(45);
    script->Run();
    EXPECT_EQ(Log().Ticks(), (std::vector<DWORD>{0x4u, 0x18u}));
}

TEST_F(QueueTest, APaintHandlerThatDoesNotBeginAPaintGetsAnotherPaintBeforeATick) {
    HWND w = MakeFrame();
    Pump();
    Log().messages.clear();
    SetTimer(w, 1, 10, nullptr);
    script->Wait(20);
    RunScriptOnly();  // the timer is due
    Log().paintsLeftUnvalidated = 2;
    InvalidateRect(w, nullptr, FALSE);
    EXPECT_EQ(Take(4), (std::vector<UINT>{WM_PAINT, WM_PAINT, WM_PAINT, WM_TIMER}));
    EXPECT_TRUE(user::InvalidRegionOf(w).IsEmpty());
}

TEST_F(QueueTest, UpdateWindowPaintsAtOnceAndOnlyWhenInvalid) {
    HWND w = MakeFrame();
    Pump();
    Log().messages.clear();
    UpdateWindow(w);
    EXPECT_EQ(Log().Count(WM_PAINT), 0);
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    EXPECT_EQ(Log().Count(WM_PAINT), 1);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, QuitEndsTheLoopAndEveryLoopAroundIt) {
    HWND w = MakeFrame();
    Then([w] {
        PostMessageW(w, kNested, 0, 0);  // its handler runs a nested loop, as a box does
    });
    Then([] { PostQuitMessage(3); });
    script->Wait(1000);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    // The wait after the quit never ran.
    EXPECT_EQ(std::tuple(msg.message, msg.wParam, Log().nestedLoopEndedWith, script->Now()),
              std::tuple(WM_QUIT, 3u, 3, 1000u));
}

TEST_F(QueueTest, ADestroyedWindowsPostedMessagesPendingTickAndTimersAreDropped) {
    Log().quitOnDestroy = false;
    HWND w = MakeFrame();
    HWND other = MakeFrame(L"Other");
    SetTimer(w, 1, 50, nullptr);
    SetTimer(other, 1, 70, nullptr);
    script->Wait(60);
    RunScriptOnly();  // w's tick is due
    PostMessageW(w, kPing, 0, 0);
    DestroyWindow(w);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        EXPECT_NE(msg.hwnd, w) << "message " << msg.message;
        DispatchMessageW(&msg);
    }
    Log().messages.clear();
    script->Wait(100);
    script->Run();
    std::vector<HWND> ticked;
    for (const auto& m : Log().messages)
        if (m.message == WM_TIMER) ticked.push_back(m.hwnd);
    EXPECT_EQ(ticked, (std::vector<HWND>{other, other}));
    // w's timer went with its window.
    EXPECT_EQ(std::tuple(KillTimer(w, 1), KillTimer(other, 1)), std::tuple(FALSE, TRUE));
}

}  // namespace
}  // namespace testing_user
