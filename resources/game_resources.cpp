#include "resources/game_resources.h"

#include <cstdint>

#include "platform/gdi/gdi.h"
#include "platform/user/accelerators.h"
#include "platform/user/command_bar.h"
#include "platform/user/dialog.h"
#include "platform/user/menu.h"
#include "platform/user/strings.h"
#include "resources/resource_ids.h"

namespace {

constexpr MenuItemResource kItems[] = {{kCmdNextPuzzle, L"Next Game"},
                                       {kCmdPreviousPuzzle, L"Previous Game"},
                                       {kCmdLearnRules, L"Learn rules"},
                                       {kCmdOptions, L"Options"},
                                       {kCmdAbout, L"About"},
                                       {kCmdExit, L"Exit"}};
constexpr MenuPopupResource kMenu[] = {{L"Menu", kItems}};

// The desktop's keys. The button commands (Undo, Redo, Restart) do what a tap on the button
// does; kCmdEndIntro ends the intro; 0xE93A is the framework's full-screen switch. Every other
// key sends its menu item's command.
constexpr UINT kFullScreen = 0xE93A;
constexpr BYTE kKey = FVIRTKEY, kCtrl = FVIRTKEY | FCONTROL;
constexpr ACCEL kKeys[] = {
    {kCtrl, 'Z', kCmdUndo},
    {kKey, 'U', kCmdUndo},
    {kKey, VK_BACK, kCmdUndo},
    {kCtrl | FSHIFT, 'Z', kCmdRedo},
    {kCtrl, 'Y', kCmdRedo},
    {kKey, 'R', kCmdRedo},
    {kCtrl, 'R', kCmdRestart},
    {kKey, VK_HOME, kCmdRestart},
    {kKey, 'N', kCmdNextPuzzle},
    {kKey, VK_NEXT, kCmdNextPuzzle},
    {kKey, 'P', kCmdPreviousPuzzle},
    {kKey, VK_PRIOR, kCmdPreviousPuzzle},
    {kKey, VK_F1, kCmdLearnRules},
    {kKey, 'O', kCmdOptions},
    {kCtrl, VK_OEM_COMMA, kCmdOptions},
    {kKey, 'A', kCmdAbout},
    {kCtrl, 'Q', kCmdExit},
    {kKey, VK_F11, kFullScreen},
    {kKey | FALT, VK_RETURN, kFullScreen},
    {kKey, VK_SPACE, kCmdEndIntro},
    {kKey, VK_RETURN, kCmdEndIntro},
    {kKey, VK_ESCAPE, kCmdEndIntro},
};

constexpr int kToolWidth = 64, kToolHeight = 16;
constexpr UINT kTools[] = {kCmdLearnRules, kCmdOptions, kCmdPreviousTool, kCmdNextTool};
std::uint32_t toolPixels[kToolWidth * kToolHeight];
const ToolBarResource kToolBar{toolPixels, kToolWidth, kToolHeight, kTools};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DialogControlResource kOptionsControls[] = {
    {L"button", kIdEnglish, L"English", 1, 140, 36, 13, kChild | WS_GROUP | BS_AUTORADIOBUTTON},
    {L"button", kIdFrench, L"Fran\u00e7ais", 38, 140, 40, 13, kChild | BS_AUTORADIOBUTTON},
    {L"button", kIdReset, L"Reset", 81, 140, 27, 12, kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {L"edit", kIdStats, L"", 1, 1, 148, 136, kChild | WS_TABSTOP | ES_MULTILINE},
    {L"button", kIdBest, L"Best", 111, 140, 26, 12, kChild | WS_TABSTOP | BS_PUSHBUTTON},
};
const DialogResource kOptions{L"Options",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                              0,
                              0,
                              167,
                              174,
                              kOptionsControls};

constexpr DialogControlResource kRulesControls[] = {
    {L"edit", kIdRulesTitle, L"", 1, 1, 136, 12, kChild | ES_CENTER},
    {L"edit", kIdRulesText, L"", 1, 17, 136, 137, kChild | ES_MULTILINE},
};
const DialogResource kRules{
    L"Dialog",     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0, 151, 213,
    kRulesControls};

// The toolbar takes plain pixels; they come from bitmap 128 as drawn.
void ReadToolBarPixels() {
    HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kMainResource));
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
    RegisterMenuResource(kMainResource, kMenu);
    RegisterAcceleratorResource(kMainResource, kKeys);
    ReadToolBarPixels();
    RegisterToolBarResource(kMainResource, &kToolBar);
    RegisterStringResource(kMainResource, L"generic");
    RegisterDialogResource(kOptionsDialog, &kOptions);
    RegisterDialogResource(kRulesDialog, &kRules);
}
