#include "platform/user/message_queue.h"

#include <algorithm>

#include "platform/clock/clock.h"
#include "platform/user/internal/desktop.h"
#include "platform/user/paint.h"
#include "platform/user/window_api.h"

using namespace user;

namespace {

// Hands out the next message, in the platform's order; with wait, asks the backend for input
// until there is one. Returns false when there is none (no wait) or the loop must end.
enum class Next { Message, None, Quit };

Next TakeMessage(MSG* msg, bool wait, bool remove) {
    Desktop& d = TheDesktop();
    for (;;) {
        if (d.inputEnded) {
            *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(d.quitCode), 0, GetTickCount(), {}};
            return Next::Quit;
        }
        while (!d.posted.empty()) {
            MSG m = d.posted.front().msg;
            Window* target = FromHandle(m.hwnd);
            bool gone = m.hwnd && !target;
            // Input that was queued before its window was disabled (behind a box) never arrives.
            bool refused = d.posted.front().input && (!target || !AcceptsInput(target));
            if (gone || refused) {
                d.posted.pop_front();
                continue;
            }
            if (remove) {
                if (d.posted.front().input) d.keyModifiers = d.posted.front().modifiers;
                d.posted.pop_front();
            }
            *msg = m;
            return Next::Message;
        }
        if (d.quit) {
            *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(d.quitCode), 0, GetTickCount(), {}};
            return Next::Quit;
        }
        if (Window* w = NextWindowToPaint()) {
            *msg = MSG{ToHandle(w), WM_PAINT, 0, 0, GetTickCount(), {}};
            return Next::Message;
        }
        if (remove && NextDueTimer(msg)) return Next::Message;
        if (!wait) return Next::None;
        if (!d.backend) {
            d.inputEnded = true;
            continue;
        }
        if (d.backend->WaitForInput(MillisecondsToNextTimer()) == WaitResult::End)
            d.inputEnded = true;
    }
}

}  // namespace

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !FromHandle(hwnd)) return FALSE;
    TheDesktop().posted.push_back(
        {MSG{hwnd, message, wParam, lParam, GetTickCount(), {}}, false, 0});
    return TRUE;
}

namespace user {

void PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, unsigned modifiers) {
    TheDesktop().posted.push_back(
        {MSG{hwnd, message, wParam, lParam, GetTickCount(), {}}, true, modifiers});
}

}  // namespace user

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(hwnd);
    if (!w || !w->proc) return 0;
    return w->proc(hwnd, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    Desktop& d = TheDesktop();
    d.quit = true;
    d.quitCode = exitCode;
}

BOOL GetMessageW(MSG* msg, HWND, UINT, UINT) {
    if (!msg) return FALSE;
    return TakeMessage(msg, true, true) == Next::Message;
}

BOOL PeekMessageW(MSG* msg, HWND, UINT, UINT, UINT removeFlags) {
    MSG scratch;
    if (!msg) msg = &scratch;
    Next n = TakeMessage(msg, false, (removeFlags & PM_REMOVE) != 0);
    return n != Next::None;
}

BOOL TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    return SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(hwnd);
    if (!w) return 0;
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return EraseBackground(hwnd, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
            NavBarRefresh();
            return TRUE;
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<LPWSTR>(lParam);
            size_t size = static_cast<size_t>(wParam);
            if (!buffer || size == 0) return 0;
            size_t n = std::min(size - 1, w->text.size());
            w->text.copy(buffer, n);
            buffer[n] = L'\0';
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        default:
            return 0;
    }
}

namespace user {

namespace {

bool Inside(HWND child, HWND modal) {
    for (Window* w = FromHandle(child); w; w = w->isChild() ? w->parent : nullptr)
        if (ToHandle(w) == modal) return true;
    return false;
}

}  // namespace

void TakeQuit() {
    Desktop& d = TheDesktop();
    d.quit = false;
    d.quitCode = 0;
}

void RunModalLoop(HWND modal) {
    MSG msg;
    for (;;) {
        Window* w = FromHandle(modal);
        if (!w || w->modalEnded) return;
        if (!GetMessageW(&msg, nullptr, 0, 0)) return;
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
            Inside(msg.hwnd, modal)) {
            WPARAM id = msg.wParam == VK_RETURN ? IDOK : IDCANCEL;
            SendMessageW(modal, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), BN_CLICKED), 0);
            continue;
        }
        DispatchMessageW(&msg);
    }
}

}  // namespace user
