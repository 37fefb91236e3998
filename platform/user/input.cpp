// Input from the backend: taps go to the window under the stylus, keys and characters to the
// focus window; a disabled window, or one whose owner is disabled behind a box, gets nothing.
// The backend says which down is a double tap's second; the window's class says whether that is
// a double tap to it.
#include "platform/user/internal/desktop.h"
#include "platform/user/internal/menus.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace user {
namespace {

LPARAM ClientPoint(Window* w, POINT screen) {
    return MAKELPARAM(static_cast<unsigned>(screen.x - w->rect.left),
                      static_cast<unsigned>(screen.y - w->rect.top));
}

// `second`: the down of a double tap's second tap, which only a window whose class asks for
// double taps gets as one; any other window gets a plain down.
bool PointerDown(POINT p, bool second) {
    Desktop& d = TheDesktop();
    if (Window* menu = FromHandle(d.trackingMenu)) {
        // An open menu takes every tap: outside it, the tap only closes the menu.
        bool inside = p.x >= menu->rect.left && p.x < menu->rect.right && p.y >= menu->rect.top &&
                      p.y < menu->rect.bottom;
        if (!inside) {
            PostMessageW(d.trackingMenu, kMenuCancelMessage, 0, 0);
            return true;
        }
    }
    HWND h = WindowFromPoint(p);
    Window* w = FromHandle(h);
    if (!w || !AcceptsInput(w)) return false;
    d.capture = h;
    const bool asDouble = second && (w->classStyle & CS_DBLCLKS);
    PostInput(h, asDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(w, p));
    return true;
}

HWND KeyTarget() {
    Desktop& d = TheDesktop();
    HWND h = FromHandle(d.focus) ? d.focus : d.active;
    Window* w = FromHandle(h);
    return (w && AcceptsInput(w)) ? h : nullptr;
}

}  // namespace

bool InputPointerDown(POINT screen) {
    return PointerDown(screen, false);
}

bool InputDoubleDown(POINT screen) {
    return PointerDown(screen, true);
}

bool InputPointerUp(POINT screen) {
    Desktop& d = TheDesktop();
    HWND h = FromHandle(d.capture) ? d.capture : WindowFromPoint(screen);
    d.capture = nullptr;
    Window* w = FromHandle(h);
    if (!w || !AcceptsInput(w)) return false;
    PostInput(h, WM_LBUTTONUP, 0, ClientPoint(w, screen));
    return true;
}

bool InputPointerMove(POINT screen) {
    Desktop& d = TheDesktop();
    Window* w = FromHandle(d.capture);
    if (!w || !AcceptsInput(w)) return false;
    PostInput(d.capture, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(w, screen));
    return true;
}

bool InputWheel(POINT screen, int delta) {
    Desktop& d = TheDesktop();
    if (d.trackingMenu) return false;
    HWND h = WindowFromPoint(screen);
    Window* w = FromHandle(h);
    if (!w || !AcceptsInput(w)) return false;
    PostInput(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<unsigned>(delta)),
              ClientPoint(w, screen));
    return true;
}

bool InputTap(POINT screen) {
    bool down = InputPointerDown(screen);
    bool up = InputPointerUp(screen);
    return down || up;
}

bool InputDoubleTap(POINT screen) {
    bool first = InputTap(screen);
    bool second = InputDoubleDown(screen);
    InputPointerUp(screen);
    return first || second;
}

bool InputKey(UINT virtualKey, unsigned modifiers) {
    HWND h = KeyTarget();
    if (!h) return false;
    // With Alt held the platform sends the system key messages, with the context bit set.
    const bool alt = (modifiers & ModAlt) != 0;
    const DWORD context = alt ? 0x20000000u : 0;
    PostInput(h, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, static_cast<LPARAM>(1u | context),
              modifiers);
    PostInput(h, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey,
              static_cast<LPARAM>(0xC0000001u | context), modifiers);
    return true;
}

bool ToggleFullScreen() {
    Backend* b = TheDesktop().backend;
    return b && b->SetFullScreen(!b->FullScreen());
}

bool InputChar(wchar_t ch) {
    HWND h = KeyTarget();
    if (!h) return false;
    PostInput(h, WM_CHAR, static_cast<WPARAM>(ch), 1);
    return true;
}

bool InputClose() {
    HWND main = GetMainFrameWindow();
    Window* w = FromHandle(main);
    if (!w || !AcceptsInput(w)) return false;
    PostInput(main, WM_CLOSE, 0, 0);
    return true;
}

}  // namespace user
