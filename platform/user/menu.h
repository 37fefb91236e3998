// Menus: a menu bar of popups, each a list of items (command id and text), loaded from a
// resource table, read and changed by position, and shown as a popup opening upward.
#pragma once

#include <span>

#include "platform/user/user_types.h"

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_RETURNCMD = 0x0100;

// A menu resource: the popups of its bar, each with its items. Id 0 with no text is a separator.
struct MenuItemResource {
    UINT id;
    LPCWSTR text;
};
struct MenuPopupResource {
    LPCWSTR title;
    std::span<const MenuItemResource> items;
};
// The tables must live as long as the program (they are read at every LoadMenuW).
void RegisterMenuResource(UINT id, std::span<const MenuPopupResource> popups);

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);  // name: MAKEINTRESOURCEW(id)
HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);  // with its popups
BOOL IsMenu(HMENU menu);
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);

int GetMenuItemCount(HMENU menu);
HMENU GetSubMenu(HMENU menu, int position);
UINT GetMenuItemID(HMENU menu, int position);  // 0xFFFFFFFF for a popup or no such item
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int size, UINT flags);
// Replaces an item's id and text. With MF_POPUP, idOrPopup is the new popup; an item that
// opened a popup and becomes a plain item destroys that popup, as on the platform.
BOOL ModifyMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);

// Shows the popup with its top left (or, with TPM_BOTTOMALIGN, bottom left) at x, y and runs
// until an item is chosen or the menu is dismissed (a tap outside it, Escape). The chosen id is
// posted to owner as WM_COMMAND, or with TPM_RETURNCMD returned; 0 when dismissed.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* ignored);

namespace user {

HWND GetOpenMenuWindow();  // the open popup menu's window, or null

}  // namespace user
