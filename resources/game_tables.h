// The game's menu, toolbar commands and dialog templates as tables, as the platform's resource
// compiler would hold them: registered by the game's resources, and read by the platform tests
// that run the same menu and dialogs.
#pragma once

#include "platform/user/command_bar.h"
#include "platform/user/dialog.h"
#include "platform/user/menu.h"
#include "resources/resource_ids.h"
#include "texts/texts.h"

namespace game_tables {

// The menu's own texts are the game's English ones, which the game sets again at start-up in its
// language.
inline const MenuItemResource kItems[] = {{kCmdNextPuzzle, GetText(TextMenuNextPuzzle, 0)},
                                          {kCmdPreviousPuzzle, GetText(TextMenuPreviousPuzzle, 0)},
                                          {kCmdLearnRules, GetText(TextMenuLearnRules, 0)},
                                          {kCmdOptions, GetText(TextMenuOptions, 0)},
                                          {kCmdAbout, GetText(TextMenuAbout, 0)},
                                          {kCmdExit, GetText(TextMenuExit, 0)}};
inline const MenuPopupResource kMenu[] = {{L"Menu", kItems}};

// The toolbar's four commands, left to right.
inline constexpr UINT kTools[] = {kCmdLearnRules, kCmdOptions, kCmdPreviousTool, kCmdNextTool};

inline constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
inline constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
inline constexpr DialogControlResource kOptionsControls[] = {
    {L"button", kIdEnglish, L"English", 1, 140, 36, 13, kChild | WS_GROUP | BS_AUTORADIOBUTTON},
    {L"button", kIdFrench, L"Fran\u00e7ais", 38, 140, 40, 13, kChild | BS_AUTORADIOBUTTON},
    {L"button", kIdReset, L"Reset", 81, 140, 27, 12, kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {L"edit", kIdStats, L"", 1, 1, 148, 136, kChild | WS_TABSTOP | ES_MULTILINE},
    {L"button", kIdBest, L"Best", 111, 140, 26, 12, kChild | WS_TABSTOP | BS_PUSHBUTTON},
};
inline constexpr DialogControlResource kRulesControls[] = {
    {L"edit", kIdRulesTitle, L"", 1, 1, 136, 12, kChild | ES_CENTER},
    {L"edit", kIdRulesText, L"", 1, 17, 136, 137, kChild | ES_MULTILINE},
};
inline const DialogResource kOptions{L"Options", kDialogStyle, 0, 0, 167, 174, kOptionsControls};
inline const DialogResource kRules{L"Dialog", kDialogStyle, 0, 0, 151, 213, kRulesControls};

}  // namespace game_tables
