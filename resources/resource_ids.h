// The game's resource ids, named once: the main window's resources, the bitmaps (their pictures
// name them), the two dialogs, the commands of the menu, the toolbar and the desktop's keys, and
// the controls of the dialogs.
#pragma once

#include "platform/win_types.h"

// Menu 128, accelerator table 128, toolbar 128 with bitmap 128, string 128.
constexpr UINT kMainResource = 128;
// The intro's banner (the game's name), glow and ring texture, the button glyphs under the
// board, and the program's icon.
constexpr UINT kBannerBitmap = 115, kGlowBitmap = 116, kRingBitmap = 117, kButtonGlyphsBitmap = 119,
               kIconBitmap = 200;
constexpr UINT kOptionsDialog = 104;
constexpr UINT kRulesDialog = 105;
// Commands of the menu and the toolbar.
constexpr UINT kCmdExit = 40001, kCmdAbout = 40003, kCmdOptions = 40004, kCmdNextPuzzle = 40005,
               kCmdLearnRules = 40008, kCmdNextTool = 40014, kCmdPreviousPuzzle = 40015,
               kCmdPreviousTool = 40018, kCmdExitSilent = 100;
// Commands of the desktop's keys alone: the three buttons under the board, the end of the intro
// and the hint (accelerator table 128).
constexpr UINT kCmdUndo = 40030, kCmdRedo = 40031, kCmdRestart = 40032, kCmdEndIntro = 40033,
               kCmdHint = 40034;
// Controls of the dialogs.
constexpr int kIdEnglish = 1001, kIdStats = 1004, kIdFrench = 1007, kIdReset = 1008, kIdBest = 1009,
              kIdRulesText = 1010, kIdRulesTitle = 1011;
