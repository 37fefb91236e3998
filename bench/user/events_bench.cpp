// Speed of the window system on the virtual clock, and the desktop backend's cost when idle.
#include <benchmark/benchmark.h>

#include <ctime>

#include "platform/backend/script/script_backend.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/user/internal/backend.h"
#include "platform/user/message_queue.h"
#include "platform/user/paint.h"
#include "platform/user/timers.h"
#include "platform/user/window_api.h"

namespace {

// A window that repaints its whole client area by one blit after every tap, as the game does.
LRESULT BenchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN || message == WM_KEYDOWN || message == WM_TIMER) {
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT all;
        GetClientRect(hwnd, &all);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP buffer = CreateCompatibleBitmap(dc, all.right, all.bottom);
        HGDIOBJ old = SelectObject(memory, buffer);
        PatBlt(memory, 0, 0, all.right, all.bottom, WHITENESS);
        BitBlt(dc, 0, 0, all.right, all.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(buffer);
        DeleteDC(memory);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BenchProc;
    wc.lpszClassName = L"bench";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"bench", L"Bench", WS_VISIBLE, 0, 0, 240, 268, nullptr, nullptr,
                           nullptr, nullptr);
}

// 10,000 injected events (taps and keys), each followed by a paint, with a 100 ms timer ticking
// as the clock moves 10 ms between events.
void BM_TenThousandEventsWithPaints(benchmark::State& state) {
    for (auto _ : state) {
        user::ShutdownWindowSystem();
        backend::ScriptBackend script(0);
        HWND w = MakeWindow();
        SetTimer(w, 1, 100, nullptr);
        for (int i = 0; i < 5000; ++i) {
            script.Tap(i % 240, i % 268);
            script.Key(VK_LEFT + i % 4);
            script.Wait(10);
        }
        script.Run();
        benchmark::DoNotOptimize(w);
    }
    user::ShutdownWindowSystem();
}
BENCHMARK(BM_TenThousandEventsWithPaints)->Unit(benchmark::kMillisecond);

// The processor time a desktop window spends waiting 300 ms for a timer tick: close to none.
void BM_IdleDesktopWaitCpu(benchmark::State& state) {
    std::string error;
    user::ShutdownWindowSystem();
    auto sdl = backend::SdlBackend::Open(2, &error);
    if (!sdl) {
        state.SkipWithError(("no display: " + error).c_str());
        return;
    }
    HWND w = MakeWindow();
    double cpuMs = 0;
    for (auto _ : state) {
        SetTimer(w, 1, 300, nullptr);
        std::clock_t start = std::clock();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            DispatchMessageW(&msg);
            if (msg.message == WM_TIMER) break;
        }
        cpuMs += 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        KillTimer(w, 1);
    }
    state.counters["cpu_ms_per_wait"] =
        benchmark::Counter(cpuMs / static_cast<double>(state.iterations()));
    user::ShutdownWindowSystem();
}
BENCHMARK(BM_IdleDesktopWaitCpu)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
