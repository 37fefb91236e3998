#include "platform/user/command_bar.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/user/internal/desktop.h"
#include "platform/user/internal/menus.h"
#include "platform/user/internal/system_paint.h"
#include "platform/user/menu.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace user {

namespace {

std::map<UINT, const ToolBarResource*>& ToolBars() {
    static std::map<UINT, const ToolBarResource*> bars;
    return bars;
}

struct BarState : Extra {
    HMENU menu = nullptr;
    const ToolBarResource* tools = nullptr;
    std::vector<CommandBarButton> buttons;
    ~BarState() override {
        if (menu) DestroyMenu(menu);
    }
};

BarState* StateOf(HWND bar) {
    Window* w = FromHandle(bar);
    return w ? dynamic_cast<BarState*>(w->extra.get()) : nullptr;
}

void Layout(Window* w, BarState* s) {
    s->buttons.clear();
    int x = w->rect.left;
    if (Menu* m = MenuFromHandle(s->menu)) {
        for (size_t i = 0; i < m->items.size(); ++i) {
            int width = TextWidth(m->items[i].text) + 16;
            s->buttons.push_back(
                {{x, w->rect.top, x + width, w->rect.bottom}, true, static_cast<int>(i), 0});
            x += width;
        }
    }
    x += 4;
    if (s->tools) {
        for (size_t i = 0; i < s->tools->commands.size(); ++i) {
            s->buttons.push_back({{x, w->rect.top, x + kToolButtonWidth, w->rect.bottom},
                                  false,
                                  static_cast<int>(i),
                                  s->tools->commands[i]});
            x += kToolButtonWidth;
        }
    }
    InvalidateRect(ToHandle(w), nullptr, FALSE);
}

LRESULT BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(hwnd);
    BarState* s = StateOf(hwnd);
    switch (message) {
        case WM_PAINT: {
            SystemPaint p(hwnd);
            if (!s) return 0;
            p.Fill(p.client(), kBarGrey);
            p.Fill({0, 0, p.client().right, 1}, kBlack);
            Menu* m = MenuFromHandle(s->menu);
            for (const CommandBarButton& b : s->buttons) {
                // Buttons are kept in screen coordinates.
                RECT r{b.rect.left - w->rect.left, b.rect.top - w->rect.top,
                       b.rect.right - w->rect.left, b.rect.bottom - w->rect.top};
                if (b.isMenu && m) {
                    p.Text(r, m->items[static_cast<size_t>(b.index)].text, kBlack,
                           DT_CENTER | DT_SINGLELINE | DT_VCENTER);
                } else if (s->tools) {
                    int ix = r.left + (kToolButtonWidth - kToolImageSize) / 2;
                    int iy = r.top + (w->height() - kToolImageSize) / 2;
                    int sx = b.index * kToolImageSize;
                    if (sx + kToolImageSize <= s->tools->width)
                        p.Picture(ix, iy, s->tools->pixels + sx, kToolImageSize,
                                  std::min(kToolImageSize, s->tools->height), s->tools->width);
                }
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {  // the second tap of a double tap is a second press
            if (!s) return 0;
            POINT p{GET_X_LPARAM(lParam) + w->rect.left, GET_Y_LPARAM(lParam) + w->rect.top};
            for (const CommandBarButton& b : s->buttons) {
                if (p.x < b.rect.left || p.x >= b.rect.right || p.y < b.rect.top ||
                    p.y >= b.rect.bottom)
                    continue;
                HWND owner = ToHandle(w->owner);
                if (b.isMenu) {
                    if (HMENU popup = GetSubMenu(s->menu, b.index))
                        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN, b.rect.left,
                                       w->rect.top, 0, owner, nullptr);
                } else if (owner) {
                    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(b.command, 0),
                                 reinterpret_cast<LPARAM>(hwnd));
                }
                break;
            }
            return 0;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

std::span<const CommandBarButton> CommandBarButtons(HWND bar) {
    BarState* s = StateOf(bar);
    if (!s) return {};
    return s->buttons;
}

HWND CommandBarOf(HWND owner) {
    Window* o = FromHandle(owner);
    if (!o) return nullptr;
    for (Window* w : TheDesktop().topLevel)
        if (w->role == Role::ToolBar && w->owner == o && !w->destroying && StateOf(ToHandle(w)))
            return ToHandle(w);
    return nullptr;
}

}  // namespace user

using namespace user;

void RegisterToolBarResource(UINT id, const ToolBarResource* resource) {
    ToolBars()[id] = resource;
}

HWND CommandBar_Create(HINSTANCE, HWND owner, int id) {
    EnsureDesktop();
    RegisterClassOnce(L"#commandbar", BarProc, CS_DBLCLKS);
    Window* ownerWindow = TopLevelOf(FromHandle(owner));
    if (!ownerWindow) return nullptr;
    HWND bar = CreateWindowWithRole(Role::ToolBar, 0, L"#commandbar", L"", WS_POPUP | WS_VISIBLE,
                                    kCommandBarRect, nullptr, ToHandle(ownerWindow),
                                    static_cast<UINT>(id), nullptr);
    if (!bar) return nullptr;
    FromHandle(bar)->extra = std::make_unique<BarState>();
    return bar;
}

BOOL CommandBar_InsertMenubar(HWND bar, HINSTANCE instance, UINT menuId, WORD) {
    BarState* s = StateOf(bar);
    if (!s) return FALSE;
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(menuId));
    if (!menu) return FALSE;
    if (s->menu) DestroyMenu(s->menu);
    s->menu = menu;
    Layout(FromHandle(bar), s);
    return TRUE;
}

BOOL CommandBar_AddToolBar(HWND bar, HINSTANCE, UINT toolBarId) {
    BarState* s = StateOf(bar);
    auto it = ToolBars().find(toolBarId);
    if (!s || it == ToolBars().end()) return FALSE;
    s->tools = it->second;
    Layout(FromHandle(bar), s);
    return TRUE;
}

HMENU CommandBar_GetMenu(HWND bar, WORD) {
    BarState* s = StateOf(bar);
    return s ? s->menu : nullptr;
}

BOOL CommandBar_Destroy(HWND bar) {
    if (!StateOf(bar)) return FALSE;
    return DestroyWindow(bar);
}
