#include "platform/user/menu.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/user/internal/desktop.h"
#include "platform/user/internal/menus.h"
#include "platform/user/internal/system_paint.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace user {
namespace {

struct MenuTable {
    std::unordered_map<UINT_PTR, std::unique_ptr<Menu>> menus;
    UINT_PTR next = 1;
    std::map<UINT, std::span<const MenuPopupResource>> resources;
};

MenuTable& Table() {
    static MenuTable table;
    return table;
}

HMENU NewMenu() {
    MenuTable& t = Table();
    UINT_PTR key = t.next++;
    t.menus.emplace(key, std::make_unique<Menu>());
    return reinterpret_cast<HMENU>(key << 4);
}

MenuItem* ItemAt(HMENU menu, UINT item, UINT flags) {
    Menu* m = MenuFromHandle(menu);
    if (!m) return nullptr;
    if (flags & MF_BYPOSITION) return item < m->items.size() ? &m->items[item] : nullptr;
    for (MenuItem& i : m->items)
        if (!i.popup && i.id == item) return &i;
    for (MenuItem& i : m->items)
        if (i.popup)
            if (MenuItem* found = ItemAt(i.popup, item, flags)) return found;
    return nullptr;
}

}  // namespace

Menu* MenuFromHandle(HMENU menu) {
    auto& menus = Table().menus;
    auto key = reinterpret_cast<UINT_PTR>(menu);
    if ((key & 0xF) != 0) return nullptr;
    auto it = menus.find(key >> 4);
    return it == menus.end() ? nullptr : it->second.get();
}

void DestroyAllMenus() {
    Table().menus.clear();
}

}  // namespace user

using namespace user;

void RegisterMenuResource(UINT id, std::span<const MenuPopupResource> popups) {
    Table().resources[id] = popups;
}

HMENU LoadMenuW(HINSTANCE, LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    auto& resources = Table().resources;
    auto it = resources.find(static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name)));
    if (it == resources.end()) return nullptr;
    HMENU bar = CreateMenu();
    for (const MenuPopupResource& p : it->second) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItemResource& i : p.items)
            AppendMenuW(popup, (i.id == 0 && !i.text) ? MF_SEPARATOR : MF_STRING, i.id, i.text);
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), p.title);
    }
    return bar;
}

HMENU CreateMenu() {
    return NewMenu();
}
HMENU CreatePopupMenu() {
    return NewMenu();
}

BOOL DestroyMenu(HMENU menu) {
    Menu* m = MenuFromHandle(menu);
    if (!m) return FALSE;
    std::vector<HMENU> popups;
    for (const MenuItem& i : m->items)
        if (i.popup) popups.push_back(i.popup);
    Table().menus.erase(reinterpret_cast<UINT_PTR>(menu) >> 4);
    for (HMENU p : popups) DestroyMenu(p);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    return MenuFromHandle(menu) != nullptr;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    Menu* m = MenuFromHandle(menu);
    if (!m) return FALSE;
    MenuItem item;
    item.flags = flags & (MF_GRAYED | MF_SEPARATOR);
    if (flags & MF_POPUP) {
        item.popup = reinterpret_cast<HMENU>(idOrPopup);
        if (!MenuFromHandle(item.popup) || item.popup == menu) return FALSE;
    } else {
        item.id = static_cast<UINT>(idOrPopup);
    }
    if (text) item.text = text;
    m->items.push_back(std::move(item));
    return TRUE;
}

int GetMenuItemCount(HMENU menu) {
    Menu* m = MenuFromHandle(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

HMENU GetSubMenu(HMENU menu, int position) {
    if (position < 0) return nullptr;
    MenuItem* i = ItemAt(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return i ? i->popup : nullptr;
}

UINT GetMenuItemID(HMENU menu, int position) {
    if (position < 0) return 0xFFFFFFFF;
    MenuItem* i = ItemAt(menu, static_cast<UINT>(position), MF_BYPOSITION);
    if (!i || i->popup) return 0xFFFFFFFF;
    return i->id;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int size, UINT flags) {
    MenuItem* i = ItemAt(menu, item, flags);
    if (!i) return 0;
    int n = static_cast<int>(i->text.size());
    if (!buffer || size <= 0) return n;
    n = std::min(n, size - 1);
    i->text.copy(buffer, static_cast<size_t>(n));
    buffer[n] = L'\0';
    return n;
}

BOOL ModifyMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    MenuItem* i = ItemAt(menu, item, flags);
    if (!i) return FALSE;
    if (flags & MF_POPUP) {
        auto popup = reinterpret_cast<HMENU>(idOrPopup);
        if (!MenuFromHandle(popup) || popup == menu) return FALSE;
        if (i->popup && i->popup != popup) DestroyMenu(i->popup);
        i->popup = popup;
        i->id = 0;
    } else {
        HMENU old = i->popup;
        i->popup = nullptr;
        i->id = static_cast<UINT>(idOrPopup);
        if (old) DestroyMenu(old);
    }
    i->flags = flags & (MF_GRAYED | MF_SEPARATOR);
    i->text = text ? text : L"";
    return TRUE;
}

// --- an open popup menu ---

namespace user {
namespace {

constexpr int kItemHeight = 20;

struct MenuWindowState : Extra {
    HMENU menu = nullptr;
    int selected = -1;
};

MenuWindowState* StateOf(Window* w) {
    return w ? dynamic_cast<MenuWindowState*>(w->extra.get()) : nullptr;
}

void Choose(Window* w, int index) {
    MenuWindowState* s = StateOf(w);
    Menu* m = s ? MenuFromHandle(s->menu) : nullptr;
    w->modalEnded = true;
    w->modalResult = 0;
    if (!m || index < 0 || index >= static_cast<int>(m->items.size())) return;
    const MenuItem& item = m->items[static_cast<size_t>(index)];
    if (item.popup || (item.flags & (MF_GRAYED | MF_SEPARATOR))) {
        w->modalEnded = false;  // not a choice: the menu stays open
        return;
    }
    w->modalResult = static_cast<INT_PTR>(item.id);
}

LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(hwnd);
    MenuWindowState* s = StateOf(w);
    Menu* m = s ? MenuFromHandle(s->menu) : nullptr;
    switch (message) {
        case WM_PAINT: {
            SystemPaint p(hwnd);
            if (!m) return 0;
            p.Fill(p.client(), kWhite);
            p.Frame(p.client(), kBlack);
            for (size_t i = 0; i < m->items.size(); ++i) {
                int top = 1 + static_cast<int>(i) * kItemHeight;
                RECT row{1, top, p.client().right - 1, top + kItemHeight};
                bool selected = static_cast<int>(i) == s->selected;
                if (selected) p.Fill(row, kSelection);
                if (m->items[i].flags & MF_SEPARATOR) {
                    p.Fill({row.left + 2, top + kItemHeight / 2, row.right - 2,
                            top + kItemHeight / 2 + 1},
                           kBlack);
                    continue;
                }
                p.Text({row.left + 8, top, row.right - 4, row.bottom}, m->items[i].text,
                       selected ? kWhite : kBlack, DT_SINGLELINE | DT_VCENTER);
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
            if (m) Choose(w, (GET_Y_LPARAM(lParam) - 1) / kItemHeight);
            return 0;
        case WM_KEYDOWN:
            if (m && !m->items.empty() && (wParam == VK_UP || wParam == VK_DOWN)) {
                int n = static_cast<int>(m->items.size());
                int step = wParam == VK_UP ? n - 1 : 1;
                s->selected =
                    s->selected < 0 ? (wParam == VK_UP ? n - 1 : 0) : (s->selected + step) % n;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        case WM_COMMAND:  // Enter and Escape, from the nested loop
            if (LOWORD(wParam) == IDOK && s && s->selected >= 0)
                Choose(w, s->selected);
            else if (LOWORD(wParam) == IDCANCEL)
                w->modalEnded = true;
            return 0;
        case kMenuCancelMessage:
            w->modalEnded = true;
            w->modalResult = 0;
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace
}  // namespace user

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    Menu* m = MenuFromHandle(menu);
    if (!m || m->items.empty()) return FALSE;
    EnsureDesktop();
    // No CS_DBLCLKS: an open menu takes the second tap of a double tap as a tap.
    RegisterClassOnce(L"#menu", MenuWindowProc);
    Desktop& d = TheDesktop();
    int width = 100;
    for (const MenuItem& i : m->items) width = std::max(width, TextWidth(i.text) + 24);
    width = std::min(width, kScreenWidth);
    int height = static_cast<int>(m->items.size()) * kItemHeight + 2;
    int top = (flags & TPM_BOTTOMALIGN) ? y - height : y;
    top = std::clamp(top, 0, kScreenHeight - height);
    int left = std::clamp(x, 0, kScreenWidth - width);

    Window* ownerWindow = TopLevelOf(FromHandle(owner));
    HWND window = CreateWindowWithRole(Role::Menu, 0, L"#menu", L"", WS_POPUP,
                                       RECT{left, top, left + width, top + height}, nullptr,
                                       ToHandle(ownerWindow), 0, nullptr);
    if (!window) return FALSE;
    auto state = std::make_unique<MenuWindowState>();
    state->menu = menu;
    FromHandle(window)->extra = std::move(state);
    HWND previousMenu = d.trackingMenu;
    HWND previousFocus = GetFocus();
    d.trackingMenu = window;
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    RunModalLoop(window);
    Window* w = FromHandle(window);
    UINT chosen = w && w->modalEnded ? static_cast<UINT>(w->modalResult) : 0;
    DestroyWindow(window);
    d.trackingMenu = previousMenu;
    if (IsWindow(previousFocus)) SetFocus(previousFocus);
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen && ownerWindow) PostMessageW(ToHandle(ownerWindow), WM_COMMAND, chosen, 0);
    return TRUE;
}

namespace user {

HWND GetOpenMenuWindow() {
    return TheDesktop().trackingMenu;
}

}  // namespace user
