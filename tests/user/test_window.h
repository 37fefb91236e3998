// A window class for the tests: it records every message it gets and paints itself in one
// colour the way the game does, through BeginPaint and EndPaint.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/backend/script/script_backend.h"
#include "platform/gdi/gdi.h"
#include "platform/user/internal/backend.h"
#include "platform/user/internal/screen.h"
#include "platform/user/message_queue.h"
#include "platform/user/paint.h"
#include "platform/user/timers.h"
#include "platform/user/window_api.h"

namespace testing_user {

// Its handler runs a nested message loop until a quit and notes the quit's code.
constexpr UINT kNested = WM_USER + 2;

struct Received {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD tick;
};

struct TestWindowLog {
    std::vector<Received> messages;
    bool beginPaint = true;  // a paint handler that forgets BeginPaint leaves the window invalid
    COLORREF colour = RGB(0, 128, 0);
    int paintsLeftUnvalidated = 0;
    int nestedLoopEndedWith = -1;
    bool quitOnDestroy = true;

    // When each message of one kind arrived, on the virtual clock.
    std::vector<DWORD> Ticks(UINT message = WM_TIMER) const {
        std::vector<DWORD> out;
        for (const auto& m : messages)
            if (m.message == message) out.push_back(m.tick);
        return out;
    }
    int Count(UINT message) const {
        int n = 0;
        for (const auto& m : messages) n += m.message == message;
        return n;
    }
};

TestWindowLog& Log();
void RegisterTestWindowClass(UINT classStyle = 0);

// A frame (the main window) and a 0x00RRGGBB pixel reader.
HWND MakeFrame(LPCWSTR title = L"Test");
inline std::uint32_t Pixel(COLORREF c) {
    return gdi::ToPixel(c);
}

// Runs every message that waits, without moving the clock.
void Pump();

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // A step of the script that runs when the loop is next idle, and never fails.
    void Then(std::function<void()> step) {
        script->Do([step](std::string*) {
            step();
            return true;
        });
    }
    // A double tap at a screen point: a tap, then the second tap's down once the loop has
    // taken the first, as a stylus gives them.
    void ScreenDoubleTap(int x, int y) {
        script->ScreenTap(x, y);
        Then([x, y] {
            user::InputDoubleDown({x, y});
            user::InputPointerUp({x, y});
        });
    }
    // Runs the script's steps without dispatching, so that what they queue waits to be taken.
    void RunScriptOnly() {
        while (!script->Done()) script->WaitForInput(INFINITE);
    }
    std::unique_ptr<backend::ScriptBackend> script;
};

}  // namespace testing_user
