// The desktop backend under a virtual X server: a real click into the window reaches a test
// window as a tap in its client coordinates, and what the window shows is the screen, scaled.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/backend/sdl/sdl_backend.h"
#include "platform/user/internal/backend.h"
#include "platform/user/internal/screen.h"
#include "platform/user/message_queue.h"
#include "platform/user/paint.h"
#include "platform/user/window_api.h"
#include "tests/backend/xvfb.h"

namespace {

using testing_xvfb::LeakCheckOff;
using testing_xvfb::XServer;

POINT lastTap{-1, -1};
COLORREF fill = RGB(0, 160, 0);

LRESULT ClickProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        lastTap = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        fill = RGB(200, 0, 0);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT all;
        GetClientRect(hwnd, &all);
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(SdlBackendTest, ARealClickIsATapAndTheWindowShowsTheScreenScaled) {
    XServer x;
    std::string why;
    if (!x.Start(&why)) GTEST_SKIP() << "skipped: " << why;
    setenv("DISPLAY", x.Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);

    user::ShutdownWindowSystem();
    LeakCheckOff systemLibraries;
    std::string error;
    auto sdl = backend::SdlBackend::Open(2, &error);
    if (!sdl) GTEST_SKIP() << "skipped: the SDL window did not open under Xvfb: " << error;

    WNDCLASSW wc{};
    wc.lpfnWndProc = ClickProc;
    wc.lpszClassName = L"click";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, L"click", L"Click", WS_VISIBLE, 0, 0, 240, 268, nullptr, nullptr,
                             nullptr, nullptr);
    auto pump = [] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    };
    pump();
    sdl->Present(true);
    std::uint32_t before = 0;
    ASSERT_TRUE(sdl->WindowPixel(2 * 100, 2 * (26 + 120), &before));
    EXPECT_EQ(before, 0x00A000u);

    int wx = 0, wy = 0;
    SDL_GetWindowPosition(sdl->Window(), &wx, &wy);
    std::string click =
        "DISPLAY=" + x.Display() + " xdotool mousemove " + std::to_string(wx + 2 * 50 + 1) + " " +
        std::to_string(wy + 2 * (26 + 60) + 1) + " sleep 0.2 mousedown 1 sleep 0.1 mouseup 1";
    ASSERT_EQ(std::system(click.c_str()), 0);
    // The click's events come in through the backend's wait, as in the game's loop.
    for (int i = 0; i < 100 && lastTap.x < 0; ++i) {
        sdl->WaitForInput(50);
        pump();
    }
    EXPECT_EQ(lastTap.x, 50);
    EXPECT_EQ(lastTap.y, 60);
    pump();
    sdl->Present();
    std::uint32_t after = 0;
    ASSERT_TRUE(sdl->WindowPixel(2 * 100, 2 * (26 + 120), &after));
    EXPECT_EQ(after, 0xC80000u);
    EXPECT_EQ(user::ScreenPixel(100, 26 + 120), 0xC80000u);
    DestroyWindow(w);
    user::ShutdownWindowSystem();
    sdl.reset();
}

}  // namespace
