// The headless backend: a virtual clock and a list of things to do. Whenever a message loop
// (the application's, or a box's or a dialog's nested one) has nothing left to do, the next
// item runs: input is injected, or the clock moves on up to the next timer that falls due.
// When the list is done, input has ended and every loop ends, as switching the device off would.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include "platform/user/internal/backend.h"

namespace backend {

class ScriptBackend : public user::Backend {
  public:
    // Installs itself as the window system's backend and the clock's tick source.
    explicit ScriptBackend(DWORD startTick = 0);
    ~ScriptBackend() override;
    ScriptBackend(const ScriptBackend&) = delete;
    ScriptBackend& operator=(const ScriptBackend&) = delete;

    DWORD Now() const;

    // Advances the clock by ms, delivering every tick, paint and message that falls due.
    void Wait(DWORD ms);
    // Runs action when the loop is idle; an action that finds nothing to act on returns false
    // with a reason, which ends the input.
    void Do(std::function<bool(std::string* error)> action);

    // Input, screen coordinates unless said otherwise.
    void ScreenTap(int x, int y);
    void Tap(int x, int y);        // client coordinates of the main window
    void DoubleTap(int x, int y);  // client coordinates of the main window: tap, then double down
    void Key(UINT virtualKey, unsigned modifiers = 0);  // user::KeyModifier bits
    void Type(const std::wstring& text);                // characters to the focus window
    void Close();                                       // the main window's close request
    void Command(UINT id);       // WM_COMMAND id to the main window, as its menu sends it
    void Answer(int answer);     // presses IDOK or IDCANCEL of the open message box
    void Click(UINT controlId);  // clicks a control of the open dialog
    void SetText(UINT controlId, const std::wstring& text);  // replaces an edit's text
    void DialogOk();  // confirms the open dialog through its frame
    void DialogCancel();

    // Runs a message loop of its own until the list is done (for tests with no application
    // loop), then lets loops run again.
    void Run();

    bool Done() const { return steps_.empty() && waitLeft_ == 0; }
    // Called instead of ending the input when the list is done or an action failed: a program
    // that stops there (as switching the device off would) lets nothing of it run after that.
    void OnEnd(std::function<void()> end) { onEnd_ = std::move(end); }
    const std::string& Error() const { return error_; }

    user::WaitResult WaitForInput(DWORD timeoutMs) override;
    // No display to fill: the switch is only remembered.
    bool SetFullScreen(bool on) override {
        fullScreen_ = on;
        return true;
    }
    bool FullScreen() const override { return fullScreen_; }

  private:
    user::WaitResult Ended();
    struct Step {
        DWORD wait;
        std::function<bool(std::string*)> action;
    };
    std::deque<Step> steps_;
    DWORD waitLeft_ = 0;
    std::string error_;
    std::function<void()> onEnd_;
    bool fullScreen_ = false;
};

// Writes the 240 x 320 screen as a PNG file. Returns whether it could.
bool WriteScreenPng(const std::string& path);

}  // namespace backend
