#include "tests/user/test_window.h"

#include "tests/user/blit_whole_client.h"

namespace testing_user {

namespace {

LRESULT TestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TestWindowLog& log = Log();
    if (message != WM_ERASEBKGND && message != WM_SETFOCUS && message != WM_KILLFOCUS)
        log.messages.push_back({hwnd, message, wParam, lParam, GetTickCount()});
    if (message == WM_PAINT) {
        if (!log.beginPaint || log.paintsLeftUnvalidated > 0) {
            if (log.paintsLeftUnvalidated > 0) --log.paintsLeftUnvalidated;
            return 0;
        }
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        BlitWholeClient(hwnd, dc, log.colour);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == kNested) {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
        log.nestedLoopEndedWith = static_cast<int>(msg.wParam);
        return 0;
    }
    if (message == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_DESTROY) {
        if (log.quitOnDestroy) PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TestWindowLog& Log() {
    static TestWindowLog log;
    return log;
}

void RegisterTestWindowClass(UINT classStyle) {
    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = TestProc;
    wc.lpszClassName = L"test";
    RegisterClassW(&wc);
}

HWND MakeFrame(LPCWSTR title) {
    HWND w = CreateWindowExW(0, L"test", title, WS_VISIBLE, 0, 0, 240, 268, nullptr, nullptr,
                             nullptr, nullptr);
    return w;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) break;
        DispatchMessageW(&msg);
    }
}

void WindowTest::SetUp() {
    user::ShutdownWindowSystem();
    Log() = TestWindowLog{};
    RegisterTestWindowClass();
    script = std::make_unique<backend::ScriptBackend>(1000);
}

void WindowTest::TearDown() {
    user::ShutdownWindowSystem();
    script.reset();
}

}  // namespace testing_user
