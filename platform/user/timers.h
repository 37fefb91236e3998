// Window timers. Ticks arrive as WM_TIMER (wParam: the id) when nothing else waits; at most one
// tick of a timer waits at a time, so a late timer gives one tick and then keeps its rhythm.
#pragma once

#include "platform/clock/clock.h"
#include "platform/user/user_types.h"

// Returns the id (for a window), or a fresh id when hwnd is null; 0 on failure. Setting an
// existing timer again restarts it with the new period. Periods below 10 ms count as 10 ms.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
