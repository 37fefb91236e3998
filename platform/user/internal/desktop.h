// The window system's one state: the live windows, their z-order, the queue, the timers, the
// focus. Internal to platform/user.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/user/internal/backend.h"
#include "platform/user/internal/window_object.h"
#include "platform/user/paint.h"

namespace user {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    DWORD period;
    DWORD due;
    TIMERPROC proc;
};

struct WindowClass {
    WNDPROC proc;
    UINT style;        // CS_ bits
    bool erasesWhite;  // erasing fills with white; otherwise it leaves the pixels
};

struct Desktop {
    std::unordered_map<UINT_PTR, std::unique_ptr<Window>> windows;
    std::vector<Window*> created;   // creation order: the order paints are handed out
    std::vector<Window*> topLevel;  // z-order, bottom to top
    UINT_PTR nextHandle = 1;
    std::map<std::wstring, WindowClass> classes;

    struct Queued {
        MSG msg;
        bool input;          // dropped if its window takes no input by the time it is handed out
        unsigned modifiers;  // input: the modifier keys held with it
    };
    std::deque<Queued> posted;
    bool quit = false;
    int quitCode = 0;
    bool inputEnded = false;
    unsigned keyModifiers = 0;  // as of the input message last handed out (GetKeyState)

    std::vector<Timer> timers;
    UINT_PTR nextThreadTimer = 0x7000;

    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    HWND navBar = nullptr;
    HWND trackingMenu = nullptr;  // an open popup menu takes every tap

    int geometryDepth = 0;
    std::vector<std::pair<HWND, Region>> geometryBefore;

    Backend* backend = nullptr;
};

Desktop& TheDesktop();
void EnsureDesktop();  // registers the built-in classes and makes the navigation bar

// Visibility and input.
bool IsVisible(const Window* w);
bool AcceptsInput(const Window* w);  // enabled, and every parent and bar owner enabled
Window* TopLevelOf(Window* w);
Region VisibleRegion(const Window* w);  // screen coordinates, children excluded
void Raise(Window* w);

// Wraps a change of what is shown: whatever becomes visible is invalidated (with erasing) in
// the windows that now show it, and the active window and the navigation bar are brought up
// to date. Nested changes act once, at the outermost.
class GeometryChange {
  public:
    GeometryChange();
    ~GeometryChange();
    GeometryChange(const GeometryChange&) = delete;
    GeometryChange& operator=(const GeometryChange&) = delete;
};

void Reactivate();
void NavBarRefresh();  // navigation bar: repaint if what it shows has changed
HWND NavBarFrame();    // the frame or dialog whose title the bar shows
void NotifyScreenChanged();

// Window creation for the window system's own windows.
HWND CreateWindowWithRole(Role role, DWORD exStyle, LPCWSTR className, LPCWSTR name, DWORD style,
                          RECT rect, HWND parent, HWND owner, UINT id, void* param);

// Painting internals.
void InvalidateWindowRegion(Window* w, const Region& clientRegion, bool erase);
Window* NextWindowToPaint();
bool EraseBackground(HWND hwnd, HDC hdc);

// Input is queued like a posted message but marked as input.
void PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, unsigned modifiers = 0);

// Timers internals.
bool NextDueTimer(MSG* msg);
DWORD MillisecondsToNextTimer();
void KillTimersOf(HWND hwnd);

// Built-in window classes.
void RegisterControlClasses();
void RegisterNavBarClass();

}  // namespace user
