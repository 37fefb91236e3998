// The main window: the command bar with the menu and the toolbar, the routing of taps, keys,
// timer ticks and commands to the game, and the paint of each frame by one blit.
#pragma once

#include <vector>

#include "engine/game_window.h"
#include "platform/afx/afx.h"

// Resource ids of the main window and its dialogs.
constexpr UINT kMainResource = 128;
constexpr UINT kOptionsDialog = 104;
constexpr UINT kRulesDialog = 105;
// Commands of the menu and the toolbar.
constexpr UINT kCmdExit = 40001, kCmdAbout = 40003, kCmdOptions = 40004, kCmdNextPuzzle = 40005,
               kCmdLearnRules = 40008, kCmdNextTool = 40014, kCmdPreviousPuzzle = 40015,
               kCmdPreviousTool = 40018, kCmdExitSilent = 100;
// Commands of the desktop's keys alone: the three buttons under the board, and the end of the
// intro (accelerator table 128).
constexpr UINT kCmdUndo = 40030, kCmdRedo = 40031, kCmdRestart = 40032, kCmdEndIntro = 40033;
// Controls of the dialogs.
constexpr int kIdEnglish = 1001, kIdStats = 1004, kIdFrench = 1007, kIdReset = 1008, kIdBest = 1009,
              kIdRulesText = 1010, kIdRulesTitle = 1011;

// Retitles the popup of `menu` in the current language.
void ApplyMenuLanguage(HMENU menu);

class MainFrame : public CFrameWnd, public GameWindow {
  public:
    MainFrame();
    ~MainFrame() override;
    CCeCommandBar commandBar;

    // GameWindow
    void Repaint() override;
    void Invalidate() override;
    int ShowMessage(const wchar_t* text, const wchar_t* caption, unsigned style) override;
    unsigned StartTimer(unsigned id, unsigned periodMs) override;
    void StopTimer(unsigned timerId) override;
    void ApplyMenuLanguage() override;
    long LoadSettings() override;
    long SaveSettings() override;
    bool StatisticsUnsaved() override;

    // The timers this window runs now, with their periods (for the program's state lines).
    struct Timer {
        unsigned id, periodMs;
    };
    const std::vector<Timer>& RunningTimers() const { return timers_; }

    void OnTap(UINT flags, CPoint point);
    void OnDoubleTap(UINT flags, CPoint point);
    void PaintMainWindow();
    void OnTimer(UINT_PTR id);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnClose();
    void ShowAbout();
    void ShowOptions();
    void LearnRules();
    void OnNextPuzzle();
    void OnPreviousPuzzle();
    // A key's button command does what a tap on that button's rectangle does now.
    void OnUndoCommand();
    void OnRedoCommand();
    void OnRestartCommand();
    // Space, Return and Escape: during the intro, what a tap does; afterwards nothing.
    void OnEndIntroCommand();

    DECLARE_MESSAGE_MAP()

  private:
    void TapButton(const RECT& button);
    std::vector<Timer> timers_;
};
