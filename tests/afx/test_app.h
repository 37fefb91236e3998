// An application, a main window and a dialog built on the framework the way the game builds its
// own: resources 128, a command bar, a paint that fills the client area, handlers for taps,
// keys, timers and the close request (which asks first), and a dialog with a radio group, an
// edit and a push button.
#pragma once

#include <string>
#include <vector>

#include "platform/afx/afx.h"

namespace testing_afx {

constexpr UINT kCmdNext = 40005, kCmdOptions = 40004, kCmdAbout = 40003, kCmdExit = 40001;
constexpr UINT kCmdBoth = 41000;     // in the frame's map and in the application's
constexpr UINT kCmdAppOnly = 41001;  // in the application's map only
constexpr UINT kOptionsDialog = 104;
constexpr int kEnglish = 1001, kFrench = 1007, kReset = 1008, kStats = 1004;

void RegisterTestResources();

struct Trace {
    std::vector<std::string> calls;
    int languageChoiceAtOk = -2;
    std::wstring statsAtClose;
    bool exitInstanceRan = false;
    int paints = 0;
};
Trace& TheTrace();

class OptionsDialog : public CDialog {
  public:
    OptionsDialog() : CDialog(kOptionsDialog) {}
    int languageChoice = -1;
    CString statsText;
    int startLanguage = -1;  // what initialisation sets
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnLanguageClicked();
    void OnResetStatistics();

    DECLARE_MESSAGE_MAP()
};

class TestFrame : public CFrameWnd {
  public:
    TestFrame();
    ~TestFrame() override;
    CCeCommandBar commandBar;

    void OnTap(UINT flags, CPoint point);
    void OnDoubleTap(UINT flags, CPoint point);
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnClose();
    void OnNext();
    void OnBoth();
    void ShowOptions();
    void ShowAbout();

    int dialogRuns = 0;

    DECLARE_MESSAGE_MAP()
};

class TestApp : public CWinApp {
  public:
    BOOL InitInstance() override;
    int ExitInstance() override;
    void OnBoth();
    void OnAppOnly();

    DECLARE_MESSAGE_MAP()
};

}  // namespace testing_afx
