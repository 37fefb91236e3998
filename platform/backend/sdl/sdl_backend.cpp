#include "platform/backend/sdl/sdl_backend.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/clock/clock.h"
#include "platform/session/session.h"
#include "platform/user/screen.h"
#include "platform/user/window_api.h"

namespace backend {

void WatchX11Connection();  // sdl_display_lost.cpp

namespace {

// UTF-8 text from SDL to the characters the edit controls take.
void TypeUtf8(const char* s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    while (*p) {
        std::uint32_t c = *p++;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (more) c &= (0x3Fu >> more);
        for (; more > 0 && (*p & 0xC0) == 0x80; --more) c = (c << 6) | (*p++ & 0x3F);
        if (c >= 0x20 && c <= 0xFFFF) user::InputChar(static_cast<wchar_t>(c));
    }
}

// Events of our own: a wake from another thread (the end of the session), and a request to raise
// the window (a second launch of the program).
Uint32 wakeEvent = 0, raiseEvent = 0;
// A request that came before the window was ready is carried out once it is.
std::atomic<bool> raisePending{false};

void PushEvent(Uint32 type) {
    if (!type) return;
    SDL_Event e{};
    e.type = type;
    SDL_PushEvent(&e);
}

void WakeMain() {
    PushEvent(wakeEvent);
}

}  // namespace

void SdlBackend::RequestRaise() {
    raisePending = true;
    PushEvent(raiseEvent);
}

void SdlBackend::RaiseIfAsked() {
    if (!window_ || !raisePending.exchange(false)) return;
    SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

std::unique_ptr<SdlBackend> SdlBackend::Open(int scale, std::string* error) {
    if (scale < 1) scale = 1;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // the session's signals are the program's
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        if (error) *error = std::string("no display: ") + SDL_GetError();
        return nullptr;
    }
    // SDL falls back on a window-less driver when there is no display: that is no display.
    const char* driver = SDL_GetCurrentVideoDriver();
    bool windowless =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (windowless && !std::getenv("SDL_VIDEODRIVER")) {
        if (error) *error = std::string("no display (SDL found only its ") + driver + " driver)";
        SDL_Quit();
        return nullptr;
    }
    std::unique_ptr<SdlBackend> b(new SdlBackend);
    if (Uint32 first = SDL_RegisterEvents(2); first != static_cast<Uint32>(-1)) {
        wakeEvent = first;
        raiseEvent = first + 1;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");  // a click on an unfocused window is a tap
    b->window_ = SDL_CreateWindow("Velquin PPC", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                  user::kScreenPixelsWide * scale, user::kScreenPixelsHigh * scale,
                                  SDL_WINDOW_RESIZABLE);
    if (b->window_) b->renderer_ = SDL_CreateRenderer(b->window_, -1, 0);
    if (b->window_ && !b->renderer_)
        b->renderer_ = SDL_CreateRenderer(b->window_, -1, SDL_RENDERER_SOFTWARE);
    if (b->renderer_) {
        SDL_RenderSetLogicalSize(b->renderer_, user::kScreenPixelsWide, user::kScreenPixelsHigh);
        SDL_RenderSetIntegerScale(b->renderer_, SDL_TRUE);
        b->texture_ =
            SDL_CreateTexture(b->renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                              user::kScreenPixelsWide, user::kScreenPixelsHigh);
    }
    if (!b->texture_) {
        if (error) *error = std::string("cannot open a window: ") + SDL_GetError();
        return nullptr;  // the destructor closes what was opened
    }
    SDL_StartTextInput();
    session::SetWaker(WakeMain);
    if (driver && std::strcmp(driver, "x11") == 0) WatchX11Connection();
    SetTickSource(nullptr);  // the milliseconds of a steady clock
    user::SetBackend(b.get());
    b->Present(true);
    b->RaiseIfAsked();
    return b;
}

SdlBackend::~SdlBackend() {
    if (user::GetBackend() == this) user::SetBackend(nullptr);
    session::SetWaker(nullptr);
    wakeEvent = raiseEvent = 0;
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
}

void SdlBackend::Present(bool force) {
    if (!force && shown_ == user::ScreenGeneration()) return;
    shown_ = user::ScreenGeneration();
    SDL_UpdateTexture(texture_, nullptr, user::ScreenPixels(),
                      user::kScreenPixelsWide * static_cast<int>(sizeof(std::uint32_t)));
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

bool SdlBackend::WindowPixel(int x, int y, std::uint32_t* pixel) {
    // Reads back what the last present drew: draw it again, read before presenting.
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    float sx = 1, sy = 1;
    SDL_RenderGetScale(renderer_, &sx, &sy);
    SDL_Rect viewport;
    SDL_RenderGetViewport(renderer_, &viewport);
    // The rectangle read is in window pixels from the viewport's corner.
    SDL_Rect r{x - static_cast<int>(viewport.x * sx), y - static_cast<int>(viewport.y * sy), 1, 1};
    std::uint32_t p = 0;
    if (SDL_RenderReadPixels(renderer_, &r, SDL_PIXELFORMAT_ARGB8888, &p, 4) != 0) return false;
    *pixel = p & 0xFFFFFF;
    SDL_RenderPresent(renderer_);
    return true;
}

void SdlBackend::Handle(const SDL_Event& e) {
    if (e.type == raiseEvent && raiseEvent) {
        RaiseIfAsked();
        return;
    }
    switch (e.type) {
        case SDL_QUIT:
            user::InputClose();
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT) break;
            // The second click of a double click is the down of a double tap.
            if (e.button.clicks >= 2 && e.button.clicks % 2 == 0)
                user::InputDoubleDown({e.button.x, e.button.y});
            else
                user::InputPointerDown({e.button.x, e.button.y});
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT) user::InputPointerUp({e.button.x, e.button.y});
            break;
        case SDL_KEYDOWN:
            switch (e.key.keysym.sym) {
                case SDLK_LEFT:
                    user::InputKey(VK_LEFT);
                    break;
                case SDLK_UP:
                    user::InputKey(VK_UP);
                    break;
                case SDLK_RIGHT:
                    user::InputKey(VK_RIGHT);
                    break;
                case SDLK_DOWN:
                    user::InputKey(VK_DOWN);
                    break;
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    user::InputKey(VK_RETURN);
                    break;
                case SDLK_ESCAPE:
                    user::InputKey(VK_ESCAPE);
                    break;
                case SDLK_BACKSPACE:
                    user::InputChar(L'\b');
                    break;
                default:
                    break;
            }
            break;
        case SDL_TEXTINPUT:
            TypeUtf8(e.text.text);
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                Present(true);
            break;
        default:
            break;
    }
}

user::WaitResult SdlBackend::WaitForInput(DWORD timeoutMs) {
    Present();
    SDL_Event e;
    int timeout =
        timeoutMs == INFINITE ? -1 : static_cast<int>(std::min<DWORD>(timeoutMs, 0x7FFFFFFF));
    const bool got = SDL_WaitEventTimeout(&e, timeout);
    if (got) Handle(e);
    while (got && SDL_PollEvent(&e)) Handle(e);
    session::Poll();
    return got ? user::WaitResult::Input : user::WaitResult::Timeout;
}

}  // namespace backend
