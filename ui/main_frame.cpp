#include "ui/main_frame.h"

#include <algorithm>

#include "engine/game_progress.h"
#include "engine/game_state.h"
#include "engine/history.h"
#include "engine/intro_phase.h"
#include "engine/move_rules.h"
#include "store/settings_store.h"
#include "texts/texts.h"
#include "ui/back_buffer.h"
#include "ui/board_view.h"
#include "ui/dialogs.h"
#include "ui/hints.h"
#include "ui/intro.h"
#include "ui/screen_layout.h"

namespace {
constexpr int kMenuItems = 6;
}  // namespace

void ApplyMenuLanguage(HMENU menu) {
    HMENU popup = GetSubMenu(menu, 0);
    for (int p = 0; p < kMenuItems; ++p) {
        UINT id = GetMenuItemID(popup, p);
        ModifyMenuW(popup, p, MF_BYPOSITION | MF_STRING, id,
                    GetText(static_cast<TextId>(TextMenuNextPuzzle + p), gameState.language));
    }
}

BEGIN_MESSAGE_MAP(MainFrame, CFrameWnd)
    afx::OnMessage<&MainFrame::OnTap>(WM_LBUTTONDOWN),
        afx::OnMessage<&MainFrame::PaintMainWindow>(WM_PAINT),
        afx::OnCommand<&MainFrame::ShowAbout>(kCmdAbout),
        afx::OnCommand<&MainFrame::OnNextPuzzle>(kCmdNextPuzzle),
        afx::OnCommand<&MainFrame::ShowOptions>(kCmdOptions),
        afx::OnCommand<&MainFrame::LearnRules>(kCmdLearnRules),
        afx::OnMessage<&MainFrame::OnClose>(WM_CLOSE),
        afx::OnMessage<&MainFrame::OnTimer>(WM_TIMER),
        afx::OnMessage<&MainFrame::OnKeyDown>(WM_KEYDOWN),
        afx::OnCommand<&MainFrame::OnNextPuzzle>(kCmdNextTool),
        afx::OnCommand<&MainFrame::OnPreviousPuzzle>(kCmdPreviousPuzzle),
        afx::OnCommand<&MainFrame::OnPreviousPuzzle>(kCmdPreviousTool),
        afx::OnMessage<&MainFrame::OnDoubleTap>(WM_LBUTTONDBLCLK),
        afx::OnCommand<&MainFrame::OnUndoCommand>(kCmdUndo),
        afx::OnCommand<&MainFrame::OnRedoCommand>(kCmdRedo),
        afx::OnCommand<&MainFrame::OnRestartCommand>(kCmdRestart),
        afx::OnCommand<&MainFrame::OnEndIntroCommand>(kCmdEndIntro),
        afx::OnCommand<&MainFrame::OnHint>(kCmdHint),
END_MESSAGE_MAP()

MainFrame::MainFrame() {
    LoadFrame(kMainResource, FWS_ADDTOTITLE, nullptr, nullptr);
    if (!commandBar.m_hWnd) commandBar.Create(this, AFX_DEFAULT_TOOLBAR_STYLE, AFX_IDW_TOOLBAR);
    commandBar.InsertMenuBar(kMainResource, 0xFFFF);
    commandBar.LoadToolBar(kMainResource);
    RecalcLayout(0);
    // The frame is not yet the application's main window: the first retitling needs its menu.
    InitGameState(*this);
    StartIntro(*this);
}

MainFrame::~MainFrame() = default;

void MainFrame::Repaint() {
    Invalidate();
    UpdateWindow();
}

void MainFrame::Invalidate() {
    CWnd::Invalidate(FALSE);
}

int MainFrame::ShowMessage(const wchar_t* text, const wchar_t* caption, unsigned style) {
    return MessageBox(text, caption, style);
}

unsigned MainFrame::StartTimer(unsigned id, unsigned periodMs) {
    auto result = static_cast<unsigned>(SetTimer(id, periodMs, nullptr));
    if (result != 0) {
        std::erase_if(timers_, [&](const Timer& t) { return t.id == result; });
        timers_.push_back({result, periodMs});
    }
    return result;
}

void MainFrame::StopTimer(unsigned timerId) {
    KillTimer(timerId);
    std::erase_if(timers_, [&](const Timer& t) { return t.id == timerId; });
}

void MainFrame::ApplyMenuLanguage() {
    ::ApplyMenuLanguage(GetMenu());
}

long MainFrame::LoadSettings() {
    return ::LoadSettings();
}

long MainFrame::SaveSettings() {
    return ::SaveSettings();
}

bool MainFrame::StatisticsUnsaved() {
    return ::StatisticsUnsaved();
}

void MainFrame::EndIntroAndStartGame() {
    EndIntro(*this);
    StartGame(*this);
    Repaint();
}

void MainFrame::OnTap(UINT, CPoint point) {
    if (gameState.introRunning) {
        EndIntroAndStartGame();  // the tap is used up
        return;
    }
    if (PtInRect(&undoRect, point)) {
        Undo(*this);
        return;
    }
    if (PtInRect(&restartRect, point)) {
        ForgetNoWayOut();
        Restart(*this);
        return;
    }
    if (PtInRect(&redoRect, point)) {
        Redo(*this);
        return;
    }
    if (gameState.mode != ModePlaying) return;
    if (point.x < boardOriginX || point.x >= boardOriginX + kCellPitch * gameState.boardWidth ||
        point.y < boardOriginY || point.y >= boardOriginY + kCellPitch * gameState.boardHeight)
        return;
    int column = (point.x - boardOriginX) / kCellPitch;
    int row = (point.y - boardOriginY) / kCellPitch;
    TryMove(*this, static_cast<std::int16_t>(column), static_cast<std::int16_t>(row));
    Repaint();
}

void MainFrame::OnDoubleTap(UINT flags, CPoint point) {
    OnTap(flags, point);
    Default();
}

void MainFrame::PaintMainWindow() {
    PatBlt(backBufferDC, 0, 0, backBufferWidth, backBufferHeight, BLACKNESS);
    HGDIOBJ oldPen = SelectObject(backBufferDC, GetStockObject(BLACK_PEN));
    if (gameState.introRunning) {
        bool show = DrawIntroFrame();
        SelectObject(backBufferDC, oldPen);
        if (show) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(m_hWnd, &ps);
            BitBlt(dc, 0, 0, backBufferWidth, backBufferHeight, backBufferDC, 0, 0, SRCCOPY);
            EndPaint(m_hWnd, &ps);
        }
        return;
    }
    DrawGameFrame(*this);
    SelectObject(backBufferDC, oldPen);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    BitBlt(dc, 0, 0, backBufferWidth, backBufferHeight, backBufferDC, 0, 0, SRCCOPY);
    EndPaint(m_hWnd, &ps);
}

void MainFrame::OnTimer(UINT_PTR) {
    if (!gameState.introRunning) {
        OnGameTick(*this);
        return;
    }
    DWORD elapsed = GetTickCount() - gameState.introStartTick;
    if (elapsed <= kIntroLengthMs) {
        if (gameState.introFrame > 1)
            InvalidateRect(&introRect, FALSE);
        else
            Invalidate();
        return;
    }
    EndIntroAndStartGame();
}

// The engine reads the platform's key codes under names of its own.
static_assert(ArrowLeft == VK_LEFT && ArrowUp == VK_UP && ArrowRight == VK_RIGHT &&
              ArrowDown == VK_DOWN);

void MainFrame::OnKeyDown(UINT key, UINT, UINT) {
    ::OnKeyDown(*this, key);
}

void MainFrame::OnClose() {
    if (::OnClose(*this)) CFrameWnd::OnClose();
}

void MainFrame::OnNextPuzzle() {
    NextPuzzle(*this);
}

void MainFrame::OnPreviousPuzzle() {
    PreviousPuzzle(*this);
}

void MainFrame::TapButton(const RECT& button) {
    OnTap(MK_LBUTTON, CPoint((button.left + button.right) / 2, (button.top + button.bottom) / 2));
}

void MainFrame::OnUndoCommand() {
    TapButton(undoRect);
}

void MainFrame::OnRedoCommand() {
    TapButton(redoRect);
}

void MainFrame::OnRestartCommand() {
    TapButton(restartRect);
}

void MainFrame::OnEndIntroCommand() {
    if (gameState.introRunning) EndIntroAndStartGame();
}

void MainFrame::OnHint() {
    const auto hint = AskHint();
    if (!hint) return;
    // The move is the one a tap on its cell makes.
    if (hint->wayOut)
        TryMove(*this, static_cast<std::int16_t>(hint->x), static_cast<std::int16_t>(hint->y));
    Repaint();
}

void MainFrame::ShowAbout() {
    // Ending the intro here loads no puzzle: the whole frame is painted again, not only what
    // the box uncovers.
    if (gameState.introRunning) {
        EndIntro(*this);
        Invalidate();
    }
    MessageBox(GetText(TextAboutMessage, gameState.language),
               GetText(TextAboutCaption, gameState.language), MB_OK);
}

void MainFrame::ShowOptions() {
    EndIntro(*this);
    if (ConfirmAbort(*this) != kAnswerOk) return;
    {
        OptionsDialog dialog;
        dialog.DoModal();
        ApplyMenuLanguage();
        SaveSettings();
        StartGame(*this);
    }
}

void MainFrame::LearnRules() {
    EndIntro(*this);
    if (ConfirmAbort(*this) != kAnswerOk) return;
    RulesDialog dialog;
    dialog.DoModal();
    LoadTutorial();
}
