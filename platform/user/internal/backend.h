// What a backend (a desktop window, or a script on a virtual clock) gives the window system: it
// waits for input, delivers it through the Input* calls below, and shows the screen.
#pragma once

#include "platform/user/user_types.h"

namespace user {

enum class WaitResult {
    Input,    // input was delivered, or the wait may simply be over: the loop looks again
    Timeout,  // the time asked for has passed
    End,      // no input will ever come again: every message loop ends
};

class Backend {
  public:
    virtual ~Backend() = default;
    // Called by a message loop that has nothing to do. Blocks until input arrives or timeoutMs
    // passes (INFINITE when no timer runs). Input is delivered by calling the Input* functions.
    virtual WaitResult WaitForInput(DWORD timeoutMs) = 0;
    // Something was drawn on the screen; the backend shows it before it next waits.
    virtual void ScreenChanged() {}
    // The screen filling the whole display, or back in its window. Returns whether the backend
    // can show it so.
    virtual bool SetFullScreen(bool) { return false; }
    virtual bool FullScreen() const { return false; }
};

// The backend the message loops ask for input; null means none (a loop with nothing to do then
// ends as if input had ended).
void SetBackend(Backend* backend);
Backend* GetBackend();

// Input as the platform delivers it, in screen coordinates (0..239, 0..319). Input goes to the
// window under the point or to the focus window; a disabled window (and a window of a disabled
// owner) gets none. Each returns whether the input reached a window.
bool InputPointerDown(POINT screen);  // the stylus touches the screen
bool InputPointerUp(POINT screen);    // ... and leaves it (goes to the window that got the down)
bool InputTap(POINT screen);          // down and up
// The down of a double tap's second tap: WM_LBUTTONDBLCLK to a window whose class has
// CS_DBLCLKS, a plain WM_LBUTTONDOWN to any other.
bool InputDoubleDown(POINT screen);
bool InputDoubleTap(POINT screen);  // down, up, double down, up
// Modifier keys held with a key, as GetKeyState reports them while its messages are handled.
enum KeyModifier : unsigned { ModShift = 1, ModControl = 2, ModAlt = 4 };
// WM_KEYDOWN then WM_KEYUP to the focus window; with Alt held, WM_SYSKEYDOWN and WM_SYSKEYUP.
bool InputKey(UINT virtualKey, unsigned modifiers = 0);
bool InputChar(wchar_t ch);  // WM_CHAR to the focus window (typing)
bool InputClose();           // the close request of the main window (WM_CLOSE)

// Switches the backend between its window and the whole display; false when it cannot.
bool ToggleFullScreen();
// The stylus moves while down (a drag): WM_MOUSEMOVE to the window that got the down.
bool InputPointerMove(POINT screen);
// A desktop mouse wheel turned over a window, WHEEL_DELTA a notch (up is positive).
bool InputWheel(POINT screen, int delta);

// Whether the backend has said no input will come again.
bool InputEnded();
// Lets message loops run again after the end of input (tests that run loops repeatedly).
void ResetInputEnded();

// The main window: the bottom-most frame window (a top-level window that is not a popup).
HWND GetMainFrameWindow();

// Destroys every window, timer, menu and queued message: the state of a fresh start.
void ShutdownWindowSystem();

}  // namespace user
