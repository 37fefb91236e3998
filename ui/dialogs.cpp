#include "ui/dialogs.h"

#include <string>

#include "engine/duration_format.h"
#include "engine/game_progress.h"
#include "engine/game_state.h"
#include "platform/crt/wsprintf.h"
#include "texts/texts.h"
#include "ui/main_frame.h"

namespace {

// Each piece is formatted into a buffer that holds its longest form, then appended whole.
void AppendFormatted(std::wstring& text, TextId format, int number) {
    wchar_t piece[64];
    wsprintfW(piece, GetText(format, gameState.language), number);
    text += piece;
}

void AppendDuration(std::wstring& text, TextId format, std::uint32_t ms) {
    wchar_t duration[kDurationTextSize + 4];
    FormatDuration(duration, ms);
    wchar_t piece[64];
    wsprintfW(piece, GetText(format, gameState.language), duration);
    text += piece;
}

}  // namespace

CString BuildStatsText() {
    std::wstring text;
    std::uint32_t sum = 0;
    for (int i = 0; i < kPuzzleCount; ++i) {
        AppendFormatted(text, TextStatsNumber, i);
        if (gameState.bestScore[i] != 0) {
            AppendFormatted(text, TextStatsBestMoves, gameState.bestScore[i]);
            AppendDuration(text, TextStatsBestTime, gameState.bestTime[i]);
        } else {
            text += GetText(TextStatsNoBest, gameState.language);
        }
        AppendDuration(text, TextStatsTotalOfPuzzle, gameState.totalTime[i]);
        text += GetText(TextLineBreak, gameState.language);
        sum += gameState.totalTime[i];
    }
    AppendDuration(text, TextStatsTotal, sum);
    return CString(text.c_str());
}

BEGIN_MESSAGE_MAP(OptionsDialog, CDialog)
    afx::OnClicked<&OptionsDialog::OnLanguageClicked>(kIdEnglish),
        afx::OnClicked<&OptionsDialog::OnLanguageClicked>(kIdFrench),
        afx::OnClicked<&OptionsDialog::OnResetStatistics>(kIdReset),
        afx::OnClicked<&OptionsDialog::ShowBestScores>(kIdBest),
END_MESSAGE_MAP()

OptionsDialog::OptionsDialog() : CDialog(kOptionsDialog) {}

void OptionsDialog::DoDataExchange(CDataExchange* dx) {
    DDX_Radio(dx, kIdEnglish, languageChoice);
    DDX_Text(dx, kIdStats, statsText);
}

BOOL OptionsDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    languageChoice = gameState.language;
    statsText = BuildStatsText();
    UpdateData(FALSE);
    return TRUE;
}

void OptionsDialog::OnOK() {
    UpdateData(TRUE);
    gameState.language = languageChoice;
    CDialog::OnOK();
}

void OptionsDialog::OnLanguageClicked() {
    UpdateData(TRUE);
    if (languageChoice == gameState.language) return;
    gameState.language = languageChoice;
    statsText = BuildStatsText();
    UpdateData(FALSE);
}

void OptionsDialog::OnResetStatistics() {
    if (MessageBox(GetText(TextConfirmReset, gameState.language),
                   GetText(TextWarningCaption, gameState.language), MB_OKCANCEL) != IDOK)
        return;
    ResetStatistics();
    statsText = BuildStatsText();
    UpdateData(FALSE);
}

void OptionsDialog::ShowBestScores() {
    MessageBox(GetText(TextBestScoresMessage, gameState.language),
               GetText(TextBestScoresCaption, gameState.language), MB_OK);
}

RulesDialog::RulesDialog() : CDialog(kRulesDialog) {}

void RulesDialog::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, kIdRulesText, rulesText);
    DDX_Text(dx, kIdRulesTitle, titleText);
}

BOOL RulesDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    rulesText = GetText(TextRulesMessage, gameState.language);
    titleText = GetText(TextRulesTitle, gameState.language);
    UpdateData(FALSE);
    return TRUE;
}
