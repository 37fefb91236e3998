#include "platform/user/timers.h"

#include <algorithm>

#include "platform/clock/clock.h"
#include "platform/user/internal/desktop.h"

namespace user {
namespace {

constexpr DWORD kMinimumPeriod = 10;
constexpr DWORD kMaximumPeriod = 0x7FFFFFFF;

// Tick counts wrap: a time is due when the signed difference says so.
LONG Since(DWORD now, DWORD then) {
    return static_cast<LONG>(now - then);
}

}  // namespace

bool NextDueTimer(MSG* msg) {
    auto& timers = TheDesktop().timers;
    DWORD now = GetTickCount();
    Timer* due = nullptr;
    for (Timer& t : timers)
        if (Since(now, t.due) >= 0 && (!due || Since(t.due, due->due) < 0)) due = &t;
    if (!due) return false;
    // One tick however late; the next keeps the timer's rhythm.
    DWORD late = now - due->due;
    due->due += due->period * (late / due->period + 1);
    *msg = MSG{due->hwnd, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc), now, {}};
    return true;
}

DWORD MillisecondsToNextTimer() {
    const auto& timers = TheDesktop().timers;
    if (timers.empty()) return INFINITE;
    DWORD now = GetTickCount();
    LONG best = 0x7FFFFFFF;
    for (const Timer& t : timers) best = std::min(best, Since(t.due, now));
    return static_cast<DWORD>(std::max<LONG>(best, 0));
}

void KillTimersOf(HWND hwnd) {
    auto& timers = TheDesktop().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

}  // namespace user

using namespace user;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    Desktop& d = TheDesktop();
    if (hwnd && !FromHandle(hwnd)) return 0;
    if (!hwnd) {
        bool known = std::any_of(d.timers.begin(), d.timers.end(),
                                 [id](const Timer& t) { return !t.hwnd && t.id == id; });
        if (!known || id == 0) id = ++d.nextThreadTimer;
    }
    DWORD period = std::clamp<DWORD>(elapseMs, kMinimumPeriod, kMaximumPeriod);
    DWORD due = GetTickCount() + period;
    for (Timer& t : d.timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t = Timer{hwnd, id, period, due, proc};
            return id;
        }
    }
    d.timers.push_back(Timer{hwnd, id, period, due, proc});
    return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto& timers = TheDesktop().timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers.end()) return FALSE;
    timers.erase(it);
    return TRUE;
}
