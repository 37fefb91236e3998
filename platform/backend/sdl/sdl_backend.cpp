#include "platform/backend/sdl/sdl_backend.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/backend/sdl/window_scale.h"
#include "platform/clock/clock.h"
#include "platform/session/session.h"
#include "platform/user/internal/screen.h"
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

// The window system's virtual key of an SDL key; 0 for keys it has none for.
UINT VirtualKey(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return static_cast<UINT>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return static_cast<UINT>('0' + (k - SDLK_0));
    if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + static_cast<UINT>(k - SDLK_F1);
    switch (k) {
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_END:
            return VK_END;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_DELETE:
            return VK_DELETE;
        case SDLK_COMMA:
            return VK_OEM_COMMA;
        default:
            return 0;
    }
}

unsigned Modifiers(Uint16 mod) {
    unsigned m = 0;
    if (mod & KMOD_SHIFT) m |= user::ModShift;
    if (mod & KMOD_CTRL) m |= user::ModControl;
    if (mod & KMOD_ALT) m |= user::ModAlt;
    return m;
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

std::unique_ptr<SdlBackend> SdlBackend::Open(int scale, std::string* error, bool fullScreen,
                                             bool capToDisplay) {
    if (scale < 0) scale = 0;
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
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = SDL_Rect{0, 0, 0, 0};
    const int fits = FittingScale(usable.w, usable.h);
    if (scale == 0 || (capToDisplay && scale > fits)) scale = fits;
    b->windowedScale_ = scale;
    if (Uint32 first = SDL_RegisterEvents(2); first != static_cast<Uint32>(-1)) {
        wakeEvent = first;
        raiseEvent = first + 1;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");  // a click on an unfocused window is a tap
    b->window_ = SDL_CreateWindow("Velquin PPC", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                  user::kScreenPixelsWide * scale, user::kScreenPixelsHigh * scale,
                                  SDL_WINDOW_RESIZABLE);
    if (b->window_)
        SDL_SetWindowMinimumSize(b->window_, user::kScreenPixelsWide, user::kScreenPixelsHigh);
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
    if (fullScreen) b->SetFullScreen(true);
    b->Present(true);
    b->RaiseIfAsked();
    return b;
}

bool SdlBackend::FullScreen() const {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

bool SdlBackend::SetFullScreen(bool on) {
    if (!window_) return false;
    if (on == FullScreen()) return true;
    if (on) windowedScale_ = Scale();
    if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
    Present(true);
    return true;
}

int SdlBackend::Scale() const {
    if (!window_ || FullScreen()) return windowedScale_;
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    return ScaleOfWindow(w, h);
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
        case SDL_MOUSEMOTION:
            // A stylus drag: the left button held while the mouse moves.
            if (e.motion.state & SDL_BUTTON_LMASK) user::InputPointerMove({e.motion.x, e.motion.y});
            break;
        case SDL_MOUSEWHEEL: {
            int wx = 0, wy = 0;
            SDL_GetMouseState(&wx, &wy);
            float lx = 0, ly = 0;
            SDL_RenderWindowToLogical(renderer_, wx, wy, &lx, &ly);
            int turn = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            if (turn != 0)
                user::InputWheel({static_cast<int>(lx), static_cast<int>(ly)}, turn * WHEEL_DELTA);
            break;
        }
        case SDL_KEYDOWN: {
            const UINT key = VirtualKey(e.key.keysym.sym);
            const unsigned mods = Modifiers(e.key.keysym.mod);
            if (!key) break;
            // A held function key or Alt combination acts once: a held F11 would flicker.
            if (e.key.repeat && ((key >= VK_F1 && key <= VK_F12) || (mods & user::ModAlt))) break;
            user::InputKey(key, mods);
            // Backspace also types: an edit control deletes with it.
            if (key == VK_BACK) user::InputChar(L'\b');
            break;
        }
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
