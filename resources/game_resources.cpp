#include "resources/game_resources.h"

#include <cstdint>

#include "platform/gdi/gdi.h"
#include "platform/user/accelerators.h"
#include "platform/user/command_bar.h"
#include "platform/user/dialog.h"
#include "platform/user/menu.h"
#include "platform/user/strings.h"

namespace {

constexpr UINT kMain = 128;

constexpr MenuItemResource kItems[] = {{40005, L"Next Game"},   {40015, L"Previous Game"},
                                       {40008, L"Learn rules"}, {40004, L"Options"},
                                       {40003, L"About"},       {40001, L"Exit"}};
constexpr MenuPopupResource kMenu[] = {{L"Menu", kItems}};

// The desktop's keys. The button commands (40030 Undo, 40031 Redo, 40032 Restart) do what a
// tap on the button does; 40033 ends the intro; 0xE93A is the framework's full-screen switch.
// Every other key sends its menu item's command.
constexpr UINT kUndo = 40030, kRedo = 40031, kRestart = 40032, kEndIntro = 40033,
               kFullScreen = 0xE93A;
constexpr BYTE kKey = FVIRTKEY, kCtrl = FVIRTKEY | FCONTROL;
constexpr ACCEL kKeys[] = {
    {kCtrl, 'Z', kUndo},
    {kKey, 'U', kUndo},
    {kKey, VK_BACK, kUndo},
    {kCtrl | FSHIFT, 'Z', kRedo},
    {kCtrl, 'Y', kRedo},
    {kKey, 'R', kRedo},
    {kCtrl, 'R', kRestart},
    {kKey, VK_HOME, kRestart},
    {kKey, 'N', 40005},
    {kKey, VK_NEXT, 40005},
    {kKey, 'P', 40015},
    {kKey, VK_PRIOR, 40015},
    {kKey, VK_F1, 40008},
    {kKey, 'O', 40004},
    {kCtrl, VK_OEM_COMMA, 40004},
    {kKey, 'A', 40003},
    {kCtrl, 'Q', 40001},
    {kKey, VK_F11, kFullScreen},
    {kKey | FALT, VK_RETURN, kFullScreen},
    {kKey, VK_SPACE, kEndIntro},
    {kKey, VK_RETURN, kEndIntro},
    {kKey, VK_ESCAPE, kEndIntro},
};

constexpr int kToolWidth = 64, kToolHeight = 16;
constexpr UINT kTools[] = {40008, 40004, 40018, 40014};
std::uint32_t toolPixels[kToolWidth * kToolHeight];
const ToolBarResource kToolBar{toolPixels, kToolWidth, kToolHeight, kTools};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DialogControlResource kOptionsControls[] = {
    {L"button", 1001, L"English", 1, 140, 36, 13, kChild | WS_GROUP | BS_AUTORADIOBUTTON},
    {L"button", 1007, L"Fran\u00e7ais", 38, 140, 40, 13, kChild | BS_AUTORADIOBUTTON},
    {L"button", 1008, L"Reset", 81, 140, 27, 12, kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {L"edit", 1004, L"", 1, 1, 148, 136, kChild | WS_TABSTOP | ES_MULTILINE},
    {L"button", 1009, L"Best", 111, 140, 26, 12, kChild | WS_TABSTOP | BS_PUSHBUTTON},
};
const DialogResource kOptions{L"Options",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                              0,
                              0,
                              167,
                              174,
                              kOptionsControls};

constexpr DialogControlResource kRulesControls[] = {
    {L"edit", 1011, L"", 1, 1, 136, 12, kChild | ES_CENTER},
    {L"edit", 1010, L"", 1, 17, 136, 137, kChild | ES_MULTILINE},
};
const DialogResource kRules{
    L"Dialog",     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0, 151, 213,
    kRulesControls};

// The toolbar takes plain pixels; they come from bitmap 128 as drawn.
void ReadToolBarPixels() {
    HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kMain));
    if (!bitmap) return;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < kToolHeight; ++y)
        for (int x = 0; x < kToolWidth; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            toolPixels[y * kToolWidth + x] = gdi::ToPixel(c);
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

}  // namespace

void RegisterGameResources() {
    RegisterMenuResource(kMain, kMenu);
    RegisterAcceleratorResource(kMain, kKeys);
    ReadToolBarPixels();
    RegisterToolBarResource(kMain, &kToolBar);
    RegisterStringResource(kMain, L"generic");
    RegisterDialogResource(104, &kOptions);
    RegisterDialogResource(105, &kRules);
}
