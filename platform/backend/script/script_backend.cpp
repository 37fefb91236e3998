#include "platform/backend/script/script_backend.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/gdi/internal/png.h"
#include "platform/session/session.h"
#include "platform/user/dialog.h"
#include "platform/user/internal/screen.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace backend {

namespace {

DWORD virtualNow = 0;
DWORD VirtualTicks() {
    return virtualNow;
}

bool Fail(std::string* error, const char* why) {
    *error = why;
    return false;
}

// The client point of the main window in screen coordinates.
bool MainPoint(int x, int y, POINT* p) {
    HWND main = user::GetMainFrameWindow();
    if (!main) return false;
    *p = {x, y};
    return ClientToScreen(main, p) != FALSE;
}

}  // namespace

ScriptBackend::ScriptBackend(DWORD startTick) {
    virtualNow = startTick;
    SetTickSource(VirtualTicks);
    user::SetBackend(this);
}

ScriptBackend::~ScriptBackend() {
    if (user::GetBackend() == this) user::SetBackend(nullptr);
    SetTickSource(nullptr);
}

DWORD ScriptBackend::Now() const {
    return virtualNow;
}

void ScriptBackend::Wait(DWORD ms) {
    steps_.push_back({ms, nullptr});
}

void ScriptBackend::Do(std::function<bool(std::string*)> action) {
    steps_.push_back({0, std::move(action)});
}

void ScriptBackend::ScreenTap(int x, int y) {
    Do([x, y](std::string*) {
        user::InputTap({x, y});
        return true;
    });
}

void ScriptBackend::Tap(int x, int y) {
    Do([x, y](std::string* e) {
        POINT p;
        if (!MainPoint(x, y, &p)) return Fail(e, "no main window");
        user::InputTap(p);
        return true;
    });
}

void ScriptBackend::DoubleTap(int x, int y) {
    Do([x, y](std::string* e) {
        POINT p;
        if (!MainPoint(x, y, &p)) return Fail(e, "no main window");
        user::InputDoubleTap(p);
        return true;
    });
}

void ScriptBackend::Key(UINT virtualKey, unsigned modifiers) {
    Do([virtualKey, modifiers](std::string*) {
        user::InputKey(virtualKey, modifiers);
        return true;
    });
}

void ScriptBackend::Type(const std::wstring& text) {
    Do([text](std::string*) {
        for (wchar_t ch : text) user::InputChar(ch);
        return true;
    });
}

void ScriptBackend::Close() {
    Do([](std::string* e) {
        if (!user::GetMainFrameWindow()) return Fail(e, "no main window");
        user::InputClose();
        return true;
    });
}

void ScriptBackend::Command(UINT id) {
    Do([id](std::string* e) {
        HWND main = user::GetMainFrameWindow();
        if (!main) return Fail(e, "no main window");
        if (IsWindowEnabled(main)) PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return true;
    });
}

void ScriptBackend::Answer(int answer) {
    Do([answer](std::string* e) {
        HWND box = user::GetOpenMessageBox();
        if (!box) return Fail(e, "no message box is open");
        HWND button = GetDlgItem(box, answer);
        if (!button) return Fail(e, "the message box has no such button");
        PostMessageW(button, BM_CLICK, 0, 0);
        return true;
    });
}

void ScriptBackend::Click(UINT controlId) {
    Do([controlId](std::string* e) {
        HWND dialog = user::GetOpenDialog();
        if (!dialog || !IsWindowEnabled(dialog)) return Fail(e, "no dialog is open");
        HWND control = GetDlgItem(dialog, static_cast<int>(controlId));
        if (!control) return Fail(e, "the dialog has no such control");
        PostMessageW(control, BM_CLICK, 0, 0);
        return true;
    });
}

void ScriptBackend::SetText(UINT controlId, const std::wstring& text) {
    Do([controlId, text](std::string* e) {
        HWND dialog = user::GetOpenDialog();
        if (!dialog || !IsWindowEnabled(dialog)) return Fail(e, "no dialog is open");
        HWND control = GetDlgItem(dialog, static_cast<int>(controlId));
        if (!control) return Fail(e, "the dialog has no such control");
        SetWindowTextW(control, text.c_str());
        return true;
    });
}

void ScriptBackend::DialogOk() {
    Do([](std::string* e) {
        HWND dialog = user::GetOpenDialog();
        if (!dialog || !IsWindowEnabled(dialog)) return Fail(e, "no dialog is open");
        user::InputTap({(kNavOkRect.left + kNavOkRect.right) / 2, kNavBarHeight / 2});
        return true;
    });
}

void ScriptBackend::DialogCancel() {
    Do([](std::string* e) {
        HWND dialog = user::GetOpenDialog();
        if (!dialog || !IsWindowEnabled(dialog)) return Fail(e, "no dialog is open");
        user::InputTap({(kNavCloseRect.left + kNavCloseRect.right) / 2, kNavBarHeight / 2});
        return true;
    });
}

user::WaitResult ScriptBackend::WaitForInput(DWORD timeoutMs) {
    session::Poll();
    for (;;) {
        if (waitLeft_ > 0) {
            DWORD step = std::min(waitLeft_, timeoutMs);
            virtualNow += step;
            waitLeft_ -= step;
            return user::WaitResult::Timeout;
        }
        if (steps_.empty() || !error_.empty()) return Ended();
        Step s = std::move(steps_.front());
        steps_.pop_front();
        if (!s.action) {
            waitLeft_ = s.wait;
            continue;
        }
        if (!s.action(&error_)) return Ended();
        return user::WaitResult::Input;
    }
}

user::WaitResult ScriptBackend::Ended() {
    if (onEnd_) onEnd_();
    return user::WaitResult::End;
}

void ScriptBackend::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    user::TakeQuit();
    user::ResetInputEnded();
}

namespace {

// A new file beside `path` under a name nobody can guess, never through a link: the picture is
// written there and then renamed over `path`, so a planted name is replaced, never followed.
FILE* CreateBeside(const std::string& path, std::string* temp) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        unsigned char random[8];
        if (getrandom(random, sizeof random, 0) != sizeof random) return nullptr;
        char suffix[17];
        for (int i = 0; i < 8; ++i) std::snprintf(suffix + 2 * i, 3, "%02x", random[i]);
        *temp = path + ".tmp-" + suffix;
        int fd = open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            FILE* f = fdopen(fd, "wb");
            if (!f) {
                close(fd);
                unlink(temp->c_str());
            }
            return f;
        }
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

}  // namespace

bool WriteScreenPng(const std::string& path) {
    std::string temp;
    FILE* f = CreateBeside(path, &temp);
    if (!f) return false;
    constexpr int w = user::kScreenPixelsWide, h = user::kScreenPixelsHigh;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[static_cast<std::size_t>(y) * w + x] = user::ScreenPixel(x, y);
    const bool written = gdi::WritePng(pixels.data(), w, h, w, f);
    if (std::fclose(f) != 0 || !written || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace backend
