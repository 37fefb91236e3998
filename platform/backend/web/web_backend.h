// The browser backend: the 240 x 320 screen on a page's canvas, shown at the largest whole-number
// scale of device pixels that fits the page, with sharp pixels. Mouse and touch are the stylus
// (a second tap soon after and near the first is a double tap). The keyboard is the desktop's:
// the arrows, Return and Escape are the handheld's keys, letters, digits, F1-F12, Home, End, Page
// Up and Down, Space, Tab, Backspace, Delete and comma come with Shift, Ctrl and Alt, and typing
// goes to the focus. The browser keeps every key that is neither the program's accelerator, nor
// typing, nor a key of the handheld or of an edit box. The program runs under Asyncify: when a
// message loop waits, the program is suspended and the browser runs until input arrives or the
// next timer falls due. Nothing polls, so a page waiting for input with no timer uses no CPU.
//
// One folder can be kept in the browser's IndexedDB: it is read back at start-up, and written out
// whenever its files have changed by the time a loop next waits.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/user/internal/backend.h"

namespace backend {

class WebBackend : public user::Backend {
  public:
    // Binds to the page's canvas (Module.canvas) and installs the backend and the steady clock.
    // The keys of the accelerator tables registered by then are kept from the browser.
    static std::unique_ptr<WebBackend> Open();
    ~WebBackend() override;
    WebBackend(const WebBackend&) = delete;
    WebBackend& operator=(const WebBackend&) = delete;

    // Mounts folder from the browser's IndexedDB and waits until its files are read back.
    // False when the browser keeps no storage (the folder then lives for this visit only).
    static bool KeepFolder(const std::string& folder);
    // Waits until this page holds the named lock of the browser (the Web Locks API), held for
    // the page's life. When another page of the same site holds it, `busyText` is shown on the
    // page meanwhile. False when the browser has no such locks (nothing is held then).
    static bool HoldLock(const std::string& name, const std::string& busyText);
    // A line of text on the page beside the canvas (empty hides it), through the page's
    // Module.showMessage.
    static void ShowStatus(const std::string& text);

    user::WaitResult WaitForInput(DWORD timeoutMs) override;
    void ScreenChanged() override {}
    // The page on the whole screen through the browser's Fullscreen API.
    bool SetFullScreen(bool on) override;
    bool FullScreen() const override;
    // Shows the screen now if it changed since it was last shown.
    void Present();
    // Writes the kept folder out now if a file of it changed since it was last written.
    void SyncFolder();

  private:
    WebBackend() = default;
    void Deliver();

    std::uint64_t shown_ = ~std::uint64_t{0};
    std::string synced_;  // what the kept folder looked like when it was last written out
    std::unique_ptr<std::uint32_t[]> rgba_;
};

}  // namespace backend
