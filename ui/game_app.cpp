#include "ui/game_app.h"

#include "engine/game_state.h"
#include "texts/texts.h"
#include "ui/back_buffer.h"
#include "ui/main_frame.h"

BEGIN_MESSAGE_MAP(GameApp, CWinApp)
    afx::OnCommand<&GameApp::OnAppExit>(kCmdExit),
        afx::OnCommand<&GameApp::OnAppExit>(kCmdExitSilent),
END_MESSAGE_MAP()

BOOL GameApp::InitInstance() {
    auto* frame = new MainFrame;
    m_pMainWnd = frame;
    frame->ShowWindow(m_nCmdShow);
    frame->UpdateWindow();
    RECT client;
    frame->GetClientRect(&client);
    HDC screen = GetDC(nullptr);
    CreateBackBuffer(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    frame->InvalidateRect(&client, TRUE);
    frame->SetWindowText(GetText(TextWindowTitle, gameState.language));
    gameState.version = kSettingsVersion;
    return TRUE;
}

int GameApp::ExitInstance() {
    DeleteBackBuffer();
    return CWinApp::ExitInstance();
}
