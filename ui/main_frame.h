// The main window: the command bar with the menu and the toolbar, the routing of taps, keys,
// timer ticks and commands to the game, and the paint of each frame by one blit.
#pragma once

#include <vector>

#include "engine/game_window.h"
#include "platform/afx/afx.h"
#include "resources/resource_ids.h"

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
    // H: one move on a shortest way to a solved position, or the note that none is left.
    void OnHint();

    DECLARE_MESSAGE_MAP()

  private:
    // The intro's end by a tap, its last tick or a key: `EndIntro`, `StartGame`, then a repaint.
    void EndIntroAndStartGame();
    void TapButton(const RECT& button);
    std::vector<Timer> timers_;
};
