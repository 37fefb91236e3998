// What the window system keeps for each window. Internal to platform/user.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/user/internal/region.h"
#include "platform/user/user_types.h"

namespace user {

// Roles the window system itself gives some windows.
enum class Role {
    Plain,    // made by CreateWindowExW
    Frame,    // a top-level window that is not a popup: its title is shown in the nav bar
    Dialog,   // a dialog made from a template: its caption is shown in the nav bar
    Box,      // a message box
    Menu,     // an open popup menu
    ToolBar,  // the command bar: shown, enabled and raised with its owner
    NavBar,   // the navigation bar, always on top
};

// State that a control or a system window keeps beside the window.
struct Extra {
    virtual ~Extra() = default;
};

struct Window {
    UINT_PTR handle = 0;
    std::wstring className;
    WNDPROC proc = nullptr;
    UINT classStyle = 0;  // the class's CS_ bits
    DWORD style = 0;
    DWORD exStyle = 0;
    Role role = Role::Plain;
    RECT rect{};  // screen coordinates; the client area is the whole window
    Window* parent = nullptr;
    Window* owner = nullptr;
    std::vector<Window*> children;  // bottom to top
    std::wstring text;
    UINT id = 0;
    LONG_PTR userData = 0;
    LONG_PTR dialogResult = 0;
    Region invalid;  // client coordinates
    bool erase = false;
    bool destroying = false;
    bool colourBackground = true;  // erasing fills with white
    bool modalEnded = false;       // EndDialog was called: its modal loop ends
    INT_PTR modalResult = 0;
    std::unique_ptr<Extra> extra;

    bool visibleFlag() const { return (style & WS_VISIBLE) != 0; }
    bool enabledFlag() const { return (style & WS_DISABLED) == 0; }
    bool isChild() const { return (style & WS_CHILD) != 0 && parent != nullptr; }
    int width() const { return rect.right - rect.left; }
    int height() const { return rect.bottom - rect.top; }
};

HWND ToHandle(const Window* w);
Window* FromHandle(HWND hwnd);  // null for a handle that names no live window

}  // namespace user
