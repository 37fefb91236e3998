// The desktop backend: the 240 x 320 screen in an SDL2 window, scaled by whole numbers with
// nearest-neighbour pixels, never smaller than the handheld's screen, or filling the display.
// The mouse is the stylus, keys go to the focus with the modifiers held (the accelerator table
// makes commands of them), typing goes to the focus, and the window's close button is the close
// request. Waiting blocks in SDL until an event or the next timer's deadline: no busy loop. The end
// of the session (a signal, the display's connection lost) is handed to the session's handler.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/user/internal/backend.h"

namespace backend {

class SdlBackend : public user::Backend {
  public:
    // Opens the window at scale times the handheld's size and installs the backend; null with a
    // reason when there is no display. Scale 0 is the largest that fits the display
    // (FittingScale); with capToDisplay a larger scale is brought down to that one.
    static std::unique_ptr<SdlBackend> Open(int scale, std::string* error, bool fullScreen = false,
                                            bool capToDisplay = false);
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    user::WaitResult WaitForInput(DWORD timeoutMs) override;
    void ScreenChanged() override {}
    // Shows the screen now if it changed since it was last shown.
    void Present(bool force = false);
    // A pixel of what the window shows (window coordinates), as 0x00RRGGBB.
    bool WindowPixel(int x, int y, std::uint32_t* pixel);
    SDL_Window* Window() const { return window_; }
    // Brings the window to the front; may be called from any thread.
    static void RequestRaise();

    bool SetFullScreen(bool on) override;
    bool FullScreen() const override;
    // The window's whole scale now; in full screen, the window's scale before it.
    int Scale() const;

  private:
    SdlBackend() = default;
    void Handle(const SDL_Event& e);
    void RaiseIfAsked();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::uint64_t shown_ = ~std::uint64_t{0};
    int windowedScale_ = 2;
};

}  // namespace backend
