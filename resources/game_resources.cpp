#include "resources/game_resources.h"

#include <cstdint>

#include "platform/gdi/gdi.h"
#include "platform/user/accelerators.h"
#include "platform/user/command_bar.h"
#include "platform/user/dialog.h"
#include "platform/user/menu.h"
#include "platform/user/strings.h"
#include "resources/game_tables.h"
#include "resources/resource_ids.h"

namespace {

using namespace game_tables;

// The desktop's keys. The button commands (Undo, Redo, Restart) do what a tap on the button
// does; kCmdEndIntro ends the intro; kCmdHint asks for a hint; 0xE93A is the framework's
// full-screen switch. Every other key sends its menu item's command.
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
    {kKey, 'H', kCmdHint},
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
std::uint32_t toolPixels[kToolWidth * kToolHeight];
const ToolBarResource kToolBar{toolPixels, kToolWidth, kToolHeight, kTools};

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
