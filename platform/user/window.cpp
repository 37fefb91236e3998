// Window creation, destruction and the window calls that change what is shown.
#include <algorithm>
#include <cwchar>

#include "platform/user/internal/desktop.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace user {
namespace {

void EraseFrom(std::vector<Window*>& list, Window* w) {
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

void DestroyTree(Window* w) {
    Desktop& d = TheDesktop();
    HWND h = ToHandle(w);
    w->destroying = true;
    // Windows it owns go first, then the window, then its children.
    std::vector<HWND> owned;
    for (Window* o : d.topLevel)
        if (o->owner == w && !o->destroying) owned.push_back(ToHandle(o));
    for (HWND o : owned)
        if (Window* ow = FromHandle(o)) DestroyTree(ow);
    SendMessageW(h, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    for (Window* c : w->children) children.push_back(ToHandle(c));
    for (HWND c : children)
        if (Window* cw = FromHandle(c); cw && !cw->destroying) DestroyTree(cw);
    SendMessageW(h, WM_NCDESTROY, 0, 0);

    KillTimersOf(h);
    if (w->parent) EraseFrom(w->parent->children, w);
    for (Window* o : d.created)
        if (o->owner == w) o->owner = nullptr;
    EraseFrom(d.created, w);
    EraseFrom(d.topLevel, w);
    if (d.focus == h) d.focus = nullptr;
    if (d.active == h) d.active = nullptr;
    if (d.capture == h) d.capture = nullptr;
    if (d.trackingMenu == h) d.trackingMenu = nullptr;
    if (d.navBar == h) d.navBar = nullptr;
    d.windows.erase(w->handle);
}

}  // namespace

HWND CreateWindowWithRole(Role role, DWORD exStyle, LPCWSTR className, LPCWSTR name, DWORD style,
                          RECT rect, HWND parent, HWND owner, UINT id, void* param) {
    Desktop& d = TheDesktop();
    auto cls = d.classes.find(className ? className : L"");
    if (cls == d.classes.end()) return nullptr;
    Window* parentWindow = FromHandle(parent);
    if ((style & WS_CHILD) && !parentWindow) return nullptr;

    auto owned = std::make_unique<Window>();
    Window* w = owned.get();
    w->handle = d.nextHandle++;
    w->className = cls->first;
    w->proc = cls->second.proc;
    w->classStyle = cls->second.style;
    w->colourBackground = cls->second.erasesWhite;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->role = role;
    w->text = name ? name : L"";
    w->id = id;
    if (parentWindow && (style & WS_CHILD)) {
        w->parent = parentWindow;
        w->rect = {parentWindow->rect.left + rect.left, parentWindow->rect.top + rect.top,
                   parentWindow->rect.left + rect.right, parentWindow->rect.top + rect.bottom};
        parentWindow->children.push_back(w);
    } else {
        Window* ownerWindow = FromHandle(owner ? owner : parent);
        w->owner = ownerWindow ? TopLevelOf(ownerWindow) : nullptr;
        w->rect = rect;
        d.topLevel.push_back(w);
        Raise(w);
    }
    d.created.push_back(w);
    HWND h = ToHandle(w);
    d.windows.emplace(w->handle, std::move(owned));

    CREATESTRUCTW cs{param,
                     nullptr,
                     nullptr,
                     parent,
                     rect.bottom - rect.top,
                     rect.right - rect.left,
                     rect.top,
                     rect.left,
                     static_cast<LONG>(style),
                     name,
                     className,
                     exStyle};
    if (SendMessageW(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    if (!FromHandle(h)) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
    return h;
}

}  // namespace user

using namespace user;

BOOL RegisterClassW(const WNDCLASSW* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return FALSE;
    TheDesktop().classes[wc->lpszClassName] = {wc->lpfnWndProc, wc->style,
                                               wc->hbrBackground != nullptr};
    return TRUE;
}

BOOL RegisterClassOnce(LPCWSTR name, WNDPROC proc, UINT style, bool erasesWhite) {
    if (name && TheDesktop().classes.count(name)) return TRUE;
    WNDCLASSW wc{};
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hbrBackground = erasesWhite ? reinterpret_cast<void*>(1) : nullptr;
    wc.lpszClassName = name;
    return RegisterClassW(&wc);
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE,
                     void* param) {
    EnsureDesktop();
    Role role = Role::Plain;
    RECT rect{};
    if (style & WS_CHILD) {
        if (x == CW_USEDEFAULT) x = y = 0;
        if (width == CW_USEDEFAULT) width = height = 0;
        rect = {x, y, x + width, y + height};
    } else if (style & WS_POPUP) {
        if (x == CW_USEDEFAULT) x = y = 0;
        if (width == CW_USEDEFAULT) width = kScreenWidth, height = kScreenHeight;
        rect = {x, y, x + width, y + height};
    } else {
        role = Role::Frame;  // top-level windows take the main window's area
        rect = kMainWindowRect;
    }
    UINT id = (style & WS_CHILD) ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(menuOrId)) : 0;
    return CreateWindowWithRole(role, exStyle, className, windowName, style, rect, parent,
                                (style & WS_CHILD) ? nullptr : parent, id, param);
}

BOOL DestroyWindow(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w || w->destroying) return FALSE;
    GeometryChange change;
    DestroyTree(w);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return FromHandle(hwnd) != nullptr;
}

BOOL ShowWindow(HWND hwnd, int command) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    bool was = w->visibleFlag();
    bool show = command != SW_HIDE;
    if (was == show) return was;
    {
        GeometryChange change;
        if (show) {
            w->style |= WS_VISIBLE;
            if (!w->isChild()) Raise(w);
        } else {
            w->style &= ~WS_VISIBLE;
        }
        SendMessageW(hwnd, WM_SHOWWINDOW, show, 0);
    }
    return was;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    bool wasDisabled = !w->enabledFlag();
    if (wasDisabled == !enable) return wasDisabled;
    if (enable)
        w->style &= ~WS_DISABLED;
    else
        w->style |= WS_DISABLED;
    SendMessageW(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    Reactivate();
    NavBarRefresh();
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w && w->enabledFlag();
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
    Window* w = FromHandle(hwnd);
    if (!w || width < 0 || height < 0) return FALSE;
    GeometryChange change;
    int dx = x, dy = y;
    if (w->isChild()) dx += w->parent->rect.left, dy += w->parent->rect.top;
    dx -= w->rect.left;
    dy -= w->rect.top;
    // Children move with their parent.
    std::vector<Window*> stack{w};
    while (!stack.empty()) {
        Window* m = stack.back();
        stack.pop_back();
        m->rect = {m->rect.left + dx, m->rect.top + dy, m->rect.right + dx, m->rect.bottom + dy};
        m->invalid.Clear();
        for (Window* c : m->children) stack.push_back(c);
    }
    w->rect.right = w->rect.left + width;
    w->rect.bottom = w->rect.top + height;
    // What it shows now is stale everywhere.
    Region all(RECT{0, 0, width, height});
    InvalidateWindowRegion(w, all, true);
    return TRUE;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    if (!FromHandle(hwnd)) return FALSE;
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")) != 0;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size) {
    if (!FromHandle(hwnd) || !buffer || size <= 0) return 0;
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) {
    if (!FromHandle(hwnd)) return 0;
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    Window* w = FromHandle(hwnd);
    if (!w || !rect) return FALSE;
    *rect = {0, 0, w->width(), w->height()};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    Window* w = FromHandle(hwnd);
    if (!w || !rect) return FALSE;
    *rect = w->rect;
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
    Window* w = FromHandle(hwnd);
    if (!w || !point) return FALSE;
    point->x += w->rect.left;
    point->y += w->rect.top;
    return TRUE;
}

HWND WindowFromPoint(POINT p) {
    const auto& z = TheDesktop().topLevel;
    auto inside = [p](const Window* w) {
        return IsVisible(w) && p.x >= w->rect.left && p.x < w->rect.right && p.y >= w->rect.top &&
               p.y < w->rect.bottom;
    };
    for (auto it = z.rbegin(); it != z.rend(); ++it) {
        if (!inside(*it)) continue;
        Window* w = *it;
        for (bool deeper = true; deeper;) {
            deeper = false;
            for (auto c = w->children.rbegin(); c != w->children.rend(); ++c) {
                if (inside(*c)) {
                    w = *c;
                    deeper = true;
                    break;
                }
            }
        }
        return ToHandle(w);
    }
    return nullptr;
}

HWND GetParent(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w) return nullptr;
    return ToHandle(w->isChild() ? w->parent : w->owner);
}

HWND GetWindow(HWND hwnd, UINT relation) {
    Window* w = FromHandle(hwnd);
    if (!w) return nullptr;
    switch (relation) {
        case GW_OWNER:
            return ToHandle(w->owner);
        case GW_CHILD:
            return w->children.empty() ? nullptr : ToHandle(w->children.front());
        case GW_HWNDNEXT: {
            if (!w->isChild()) return nullptr;
            const auto& siblings = w->parent->children;
            auto it = std::find(siblings.begin(), siblings.end(), w);
            return it + 1 == siblings.end() ? nullptr : ToHandle(*(it + 1));
        }
        default:
            return nullptr;
    }
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int size) {
    Window* w = FromHandle(hwnd);
    if (!w || !buffer || size <= 0) return 0;
    int n = std::min(static_cast<int>(w->className.size()), size - 1);
    w->className.copy(buffer, static_cast<size_t>(n));
    buffer[n] = L'\0';
    return n;
}

HWND GetDlgItem(HWND dialog, int id) {
    Window* w = FromHandle(dialog);
    if (!w) return nullptr;
    for (Window* c : w->children)
        if (static_cast<int>(c->id) == id) return ToHandle(c);
    return nullptr;
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    Window* w = FromHandle(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWLP_USERDATA:
            return w->userData;
        case GWL_STYLE:
            return static_cast<LONG_PTR>(w->style);
        case GWL_ID:
            return static_cast<LONG_PTR>(w->id);
        case DWLP_MSGRESULT:
            return w->dialogResult;
        default:
            return 0;
    }
}

HWND SetFocus(HWND hwnd) {
    Desktop& d = TheDesktop();
    Window* w = FromHandle(hwnd);
    if (hwnd && !w) return nullptr;
    HWND old = FromHandle(d.focus) ? d.focus : nullptr;
    if (old == hwnd) return old;
    d.focus = hwnd;
    if (old) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (w) SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus() {
    return FromHandle(TheDesktop().focus) ? TheDesktop().focus : nullptr;
}
HWND GetActiveWindow() {
    return FromHandle(TheDesktop().active) ? TheDesktop().active : nullptr;
}
