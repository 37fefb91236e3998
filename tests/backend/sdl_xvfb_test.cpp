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
#include "platform/user/backend.h"
#include "platform/user/message_queue.h"
#include "platform/user/paint.h"
#include "platform/user/screen.h"
#include "platform/user/window_api.h"

// The system's display libraries keep allocations they never free (SDL unloads some of them
// before the leak check runs); the test's own objects are still checked on other threads.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELQUIN_LSAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VELQUIN_LSAN 1
#endif
#ifdef VELQUIN_LSAN
#include <sanitizer/lsan_interface.h>
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libX11.so\n";
}
#endif

namespace {

struct LeakCheckOff {
#ifndef VELQUIN_LSAN
    LeakCheckOff() {}
#else
    LeakCheckOff() {
        __lsan_disable();
    }
    ~LeakCheckOff() {
        __lsan_enable();
    }
#endif
};

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

bool Installed(const char* program) {
    std::string cmd = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

class XServer {
  public:
    // Starts Xvfb on a free display; says why when it cannot.
    bool Start(std::string* why) {
        if (!Installed("Xvfb"))
            return *why = "Xvfb is not installed (tools/setup.sh installs it)", false;
        if (!Installed("xdotool"))
            return *why = "xdotool is not installed (tools/setup.sh installs it)", false;
        for (int n = 90 + getpid() % 100; n < 400; ++n) {
            std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
            std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
            struct stat st;
            if (stat(socket.c_str(), &st) == 0 || stat(lock.c_str(), &st) == 0) continue;
            display_ = ":" + std::to_string(n);
            pid_ = fork();
            if (pid_ == 0) {
                execlp("Xvfb", "Xvfb", display_.c_str(), "-screen", "0", "800x800x24", "-nolisten",
                       "tcp", static_cast<char*>(nullptr));
                _exit(127);
            }
            // Waits for the server's socket: a start-up wait, not a measurement.
            for (int i = 0; i < 100; ++i) {
                if (stat(socket.c_str(), &st) == 0) return true;
                int status;
                if (waitpid(pid_, &status, WNOHANG) == pid_) break;
                usleep(50 * 1000);
            }
            Stop();
            return *why = "Xvfb did not start on " + display_, false;
        }
        return *why = "no free X display number", false;
    }
    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }
    ~XServer() { Stop(); }
    const std::string& Display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

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
