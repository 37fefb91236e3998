// The message queue and its loop. GetMessageW hands out, in this order: posted messages and
// input (one queue, first in first out); then WM_PAINT for a visible window with an invalid
// region; then WM_TIMER for a due timer. With nothing to hand out it asks the backend for input,
// waiting at most until the next timer is due.
#pragma once

#include "platform/user/user_types.h"

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Returns FALSE for WM_QUIT (msg->wParam holds the exit code) and when input has ended; the
// quit stays pending, so every enclosing loop ends too. Only a null window filter is supported.
BOOL GetMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
// Never waits. With PM_NOREMOVE a posted message stays queued.
BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);  // backends deliver characters as WM_CHAR themselves
LRESULT DispatchMessageW(const MSG* msg);
LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace user {

// The nested loop of a message box, a dialog or a popup menu: runs messages until EndDialog is
// called for modal, or a quit or the end of input (a quit stays pending for the loops around).
// Timers and paints go on for every window. Enter and Escape given to modal or to one of its
// controls become WM_COMMAND IDOK and IDCANCEL to modal.
void RunModalLoop(HWND modal);

// Removes a pending quit. The application's loop, the outermost, takes its quit when it ends, so
// that a loop started afterwards (the application run again) runs instead of ending at once.
void TakeQuit();

}  // namespace user
