// The desktop backend: the 240 x 320 screen in an SDL2 window, scaled by whole numbers with
// nearest-neighbour pixels. The mouse is the stylus, the arrow keys, Return and Escape are the
// handheld's keys, typing goes to the focus, and the window's close button is the close
// request. Waiting blocks in SDL until an event or the next timer's deadline: no busy loop. The end
// of the session (a signal, the display's connection lost) is handed to the session's handler.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/user/backend.h"

namespace backend {

class SdlBackend : public user::Backend {
  public:
    // Opens the window at scale times the handheld's size and installs the backend; null with a
    // reason when there is no display.
    static std::unique_ptr<SdlBackend> Open(int scale, std::string* error);
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

  private:
    SdlBackend() = default;
    void Handle(const SDL_Event& e);
    void RaiseIfAsked();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::uint64_t shown_ = ~std::uint64_t{0};
};

}  // namespace backend
