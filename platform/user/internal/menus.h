// Menus inside platform/user.
#pragma once

#include <string>
#include <vector>

#include "platform/user/user_types.h"

namespace user {

struct MenuItem {
    UINT id = 0;
    std::wstring text;
    HMENU popup = nullptr;
    UINT flags = 0;
};

struct Menu {
    std::vector<MenuItem> items;
};

Menu* MenuFromHandle(HMENU menu);
void DestroyAllMenus();

// The private message that tells an open popup menu to close without a choice.
constexpr UINT kMenuCancelMessage = WM_USER + 0x7E01;

}  // namespace user
