#include "platform/user/internal/desktop.h"

#include <algorithm>

#include "platform/user/internal/controls.h"
#include "platform/user/internal/menus.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace user {

Desktop& TheDesktop() {
    static Desktop desktop;
    return desktop;
}

HWND ToHandle(const Window* w) {
    return w ? reinterpret_cast<HWND>(w->handle << 4) : nullptr;
}

Window* FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto& windows = TheDesktop().windows;
    auto it = windows.find(reinterpret_cast<UINT_PTR>(hwnd) >> 4);
    if (it == windows.end() || (reinterpret_cast<UINT_PTR>(hwnd) & 0xF) != 0) return nullptr;
    return it->second.get();
}

void EnsureDesktop() {
    Desktop& d = TheDesktop();
    if (d.navBar) return;
    RegisterControlClasses();
    RegisterNavBarClass();
    d.navBar =
        CreateWindowWithRole(Role::NavBar, 0, L"#navbar", L"", WS_POPUP | WS_VISIBLE,
                             RECT{0, 0, kScreenWidth, kNavBarHeight}, nullptr, nullptr, 0, nullptr);
}

Window* TopLevelOf(Window* w) {
    while (w && w->isChild()) w = w->parent;
    return w;
}

bool IsVisible(const Window* w) {
    for (; w; w = w->isChild() ? w->parent : nullptr) {
        if (!w->visibleFlag()) return false;
        if (w->role == Role::ToolBar && w->owner && !IsVisible(w->owner)) return false;
    }
    return true;
}

bool AcceptsInput(const Window* w) {
    for (; w; w = w->isChild() ? w->parent : nullptr) {
        if (!w->enabledFlag() || w->destroying) return false;
        if (w->role == Role::ToolBar && w->owner && !AcceptsInput(w->owner)) return false;
    }
    return true;
}

namespace {

// The window's area that no window above it covers, its own children not yet taken out.
Region UncoveredRegion(const Window* w) {
    if (!IsVisible(w)) return Region();
    Region r(w->rect);
    if (w->isChild()) {
        r.Intersect(UncoveredRegion(w->parent));
        const auto& siblings = w->parent->children;
        auto it = std::find(siblings.begin(), siblings.end(), w);
        for (++it; it != siblings.end(); ++it)
            if (IsVisible(*it)) r.Subtract((*it)->rect);
        return r;
    }
    r.Intersect(RECT{0, 0, kScreenWidth, kScreenHeight});
    const auto& z = TheDesktop().topLevel;
    auto it = std::find(z.begin(), z.end(), w);
    if (it == z.end()) return Region();
    for (++it; it != z.end(); ++it)
        if (IsVisible(*it)) r.Subtract((*it)->rect);
    return r;
}

bool Activatable(const Window* w) {
    return !w->isChild() && w->role != Role::NavBar && w->role != Role::ToolBar && IsVisible(w) &&
           AcceptsInput(w);
}

bool IsDescendant(const Window* w, const Window* ancestor) {
    for (; w; w = w->isChild() ? w->parent : nullptr)
        if (w == ancestor) return true;
    return false;
}

}  // namespace

Region VisibleRegion(const Window* w) {
    Region r = UncoveredRegion(w);
    if (r.IsEmpty()) return r;
    for (const Window* c : w->children)
        if (IsVisible(c)) r.Subtract(c->rect);
    return r;
}

void Raise(Window* w) {
    auto& z = TheDesktop().topLevel;
    auto it = std::find(z.begin(), z.end(), w);
    if (it == z.end()) return;
    z.erase(it);
    // Below the navigation bar, which stays on top.
    auto pos = z.end();
    while (pos != z.begin() && (*(pos - 1))->role == Role::NavBar) --pos;
    pos = z.insert(pos, w) + 1;
    // Windows owned by w stay above it, in their order.
    std::vector<Window*> owned;
    for (Window* o : z)
        if (o != w && o->owner == w) owned.push_back(o);
    for (Window* o : owned) Raise(o);
}

GeometryChange::GeometryChange() {
    Desktop& d = TheDesktop();
    if (d.geometryDepth++ > 0) return;
    d.geometryBefore.clear();
    for (Window* w : d.created) d.geometryBefore.emplace_back(ToHandle(w), VisibleRegion(w));
}

GeometryChange::~GeometryChange() {
    Desktop& d = TheDesktop();
    if (--d.geometryDepth > 0) return;
    std::vector<std::pair<HWND, Region>> before;
    before.swap(d.geometryBefore);
    for (Window* w : d.created) {
        Region now = VisibleRegion(w);
        HWND h = ToHandle(w);
        auto it = std::find_if(before.begin(), before.end(),
                               [h](const auto& entry) { return entry.first == h; });
        if (it != before.end()) now.Subtract(it->second);
        if (now.IsEmpty()) continue;
        now.Translate(-w->rect.left, -w->rect.top);
        InvalidateWindowRegion(w, now, true);
    }
    Reactivate();
    NavBarRefresh();
}

void Reactivate() {
    Desktop& d = TheDesktop();
    Window* active = nullptr;
    for (auto it = d.topLevel.rbegin(); it != d.topLevel.rend(); ++it) {
        if (Activatable(*it)) {
            active = *it;
            break;
        }
    }
    HWND activeHandle = ToHandle(active);
    Window* focus = FromHandle(d.focus);
    bool focusInside =
        focus && active && IsDescendant(focus, active) && AcceptsInput(focus) && IsVisible(focus);
    d.active = activeHandle;
    if (!focusInside) SetFocus(activeHandle);
}

HWND GetMainFrameWindow() {
    for (Window* w : TheDesktop().topLevel)
        if (w->role == Role::Frame && !w->destroying) return ToHandle(w);
    return nullptr;
}

void NotifyScreenChanged() {
    if (Backend* b = TheDesktop().backend) b->ScreenChanged();
}

void SetBackend(Backend* backend) {
    TheDesktop().backend = backend;
}
Backend* GetBackend() {
    return TheDesktop().backend;
}

bool InputEnded() {
    return TheDesktop().inputEnded;
}
void ResetInputEnded() {
    TheDesktop().inputEnded = false;
}

void ShutdownWindowSystem() {
    Desktop& d = TheDesktop();
    while (!d.topLevel.empty()) {
        // Top first, so owned windows go before their owners.
        HWND top = ToHandle(d.topLevel.back());
        if (!DestroyWindow(top)) break;
    }
    d.windows.clear();
    d.created.clear();
    d.topLevel.clear();
    d.posted.clear();
    d.timers.clear();
    d.quit = false;
    d.quitCode = 0;
    d.inputEnded = false;
    d.keyModifiers = 0;
    d.focus = d.active = d.capture = d.navBar = d.trackingMenu = nullptr;
    d.geometryDepth = 0;
    d.geometryBefore.clear();
    DestroyAllMenus();
    ResetNavBar();
}

}  // namespace user
