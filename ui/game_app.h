// The application object: creates the main window and its back buffer, and deletes the buffer
// when the message loop has ended.
#pragma once

#include "platform/afx/afx.h"

class GameApp : public CWinApp {
  public:
    GameApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
    int ExitInstance() override;

    DECLARE_MESSAGE_MAP()
};
