// The options dialog (language, statistics, their reset, the reference best scores) and the
// rules dialog shown before the tutorial.
#pragma once

#include "platform/afx/afx.h"

class OptionsDialog : public CDialog {
  public:
    OptionsDialog();
    int languageChoice = -1;
    CString statsText;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnLanguageClicked();
    void OnResetStatistics();
    void ShowBestScores();

    DECLARE_MESSAGE_MAP()
};

// The statistics of the 16 puzzles in the current language, one line each, then the total time.
CString BuildStatsText();

class RulesDialog : public CDialog {
  public:
    RulesDialog();
    CString rulesText;
    CString titleText;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
};
