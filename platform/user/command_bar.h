// The command bar along the bottom of the screen (rows 294 to 319): menu buttons, one for each
// popup of a menu bar, each opening its popup upward, then toolbar buttons with 16 x 16 images
// cut left to right from one bitmap, each posting WM_COMMAND to the bar's owner.
#pragma once

#include <cstdint>
#include <span>

#include "platform/user/user_types.h"

// A toolbar resource: the bitmap holding the images side by side, and the buttons' commands.
struct ToolBarResource {
    const std::uint32_t* pixels;  // 0x00RRGGBB, row after row
    int width, height;
    std::span<const UINT> commands;
};
// The tables must live as long as the program.
void RegisterToolBarResource(UINT id, const ToolBarResource* resource);

HWND CommandBar_Create(HINSTANCE instance, HWND owner, int id);
BOOL CommandBar_InsertMenubar(HWND bar, HINSTANCE instance, UINT menuId, WORD button);
BOOL CommandBar_AddToolBar(HWND bar, HINSTANCE instance, UINT toolBarId);
HMENU CommandBar_GetMenu(HWND bar, WORD button);
BOOL CommandBar_Destroy(HWND bar);

namespace user {

constexpr int kToolButtonWidth = 24;
constexpr int kToolImageSize = 16;

// Where the bar's buttons are, in screen coordinates: menu buttons first, then toolbar buttons.
struct CommandBarButton {
    RECT rect;
    bool isMenu;
    int index;  // popup position or toolbar button number
    UINT command;
};
std::span<const CommandBarButton> CommandBarButtons(HWND bar);

// The command bar of a frame, or null.
HWND CommandBarOf(HWND owner);

}  // namespace user
