#include "platform/user/message_box.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/user/internal/desktop.h"
#include "platform/user/internal/system_paint.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace user {

namespace {

// A box keeps kScreenMargin from the screen's sides; inside its 1-pixel frame, kPad around the
// text and the buttons.
constexpr int kScreenMargin = 8, kFrame = 1, kCaptionHeight = 18, kPad = 8;
constexpr int kButtonWidth = 60, kButtonHeight = 22, kButtonGap = 12, kIconSize = 24;
constexpr int kMaxBoxWidth = kScreenWidth - 2 * kScreenMargin;

struct BoxState : Extra {
    std::wstring caption;
    std::wstring text;
    UINT style = 0;
    RECT textRect{};  // client coordinates
};

BoxObserver& Observer() {
    static BoxObserver observer;
    return observer;
}

bool HasCancel(UINT style) {
    return (style & MB_TYPEMASK) == MB_OKCANCEL;
}
bool HasIcon(UINT style) {
    return (style & MB_ICONMASK) == MB_ICONERROR;
}

void End(Window* w, int answer) {
    w->modalEnded = true;
    w->modalResult = answer;
}

LRESULT BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(hwnd);
    auto* state = w ? dynamic_cast<BoxState*>(w->extra.get()) : nullptr;
    switch (message) {
        case WM_PAINT: {
            SystemPaint p(hwnd);
            if (!state) return 0;
            const RECT& r = p.client();
            p.Fill(r, kWhite);
            p.Frame(r, kBlack);
            p.Fill({0, 0, r.right, kCaptionHeight}, kBarBlue);
            p.Text({4, 0, r.right - 4, kCaptionHeight}, state->caption, kWhite,
                   DT_SINGLELINE | DT_VCENTER);
            if (HasIcon(state->style)) {
                RECT icon{kFrame + kPad, kCaptionHeight + kPad, kFrame + kPad + kIconSize,
                          kCaptionHeight + kPad + kIconSize};
                p.Fill(icon, kErrorRed);
                for (int i = 6; i < kIconSize - 6; ++i) {  // a white cross
                    p.Fill({icon.left + i, icon.top + i, icon.left + i + 2, icon.top + i + 1},
                           kWhite);
                    p.Fill({icon.right - i - 2, icon.top + i, icon.right - i, icon.top + i + 1},
                           kWhite);
                }
            }
            p.Text(state->textRect, state->text, kBlack, DT_WORDBREAK);
            return 0;
        }
        case WM_COMMAND:
            if (!state) return 0;
            if (LOWORD(wParam) == IDOK) End(w, IDOK);
            // Escape (or the cancel command) answers OK when OK is the only button.
            if (LOWORD(wParam) == IDCANCEL) End(w, HasCancel(state->style) ? IDCANCEL : IDOK);
            return 0;
        case WM_CLOSE:
            SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

bool DeviceLanguageIsFrench() {
    // The first of these that is set names the locale of messages, as the C library reads it.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return std::strncmp(value, "fr", 2) == 0;
    }
    return false;
}

void SetMessageBoxObserver(BoxObserver observer) {
    Observer() = std::move(observer);
}

HWND GetOpenMessageBox() {
    const auto& z = TheDesktop().topLevel;
    for (auto it = z.rbegin(); it != z.rend(); ++it)
        if ((*it)->role == Role::Box && !(*it)->destroying) return ToHandle(*it);
    return nullptr;
}

}  // namespace user

using namespace user;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    EnsureDesktop();
    RegisterClassOnce(L"#msgbox", BoxProc);
    Window* ownerWindow = TopLevelOf(FromHandle(owner));
    HWND ownerHandle = ToHandle(ownerWindow);
    std::wstring body = text ? text : L"";
    std::wstring title = caption ? caption : L"Error";

    // The text is wrapped to what the widest box leaves it, and the box fits text and buttons.
    int beside = HasIcon(type) ? kIconSize + kPad : 0;
    int maxText = kMaxBoxWidth - 2 * (kFrame + kPad) - beside;
    HDC measure = CreateCompatibleDC(nullptr);
    RECT natural{0, 0, 0, 0};
    DrawTextW(measure, body.c_str(), -1, &natural, DT_CALCRECT | DT_NOPREFIX);
    int textWidth = std::min<int>(natural.right, maxText);
    RECT wrapped{0, 0, textWidth, 0};
    int textHeight = body.empty() ? 0
                                  : DrawTextW(measure, body.c_str(), -1, &wrapped,
                                              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    DeleteDC(measure);
    int buttons = HasCancel(type) ? 2 * kButtonWidth + kButtonGap : kButtonWidth;
    int width = std::max({textWidth + beside, buttons, TextWidth(title) + 8 - 2 * kPad}) +
                2 * (kFrame + kPad);
    width = std::min(width, kMaxBoxWidth);
    int height = kCaptionHeight + kPad + std::max(textHeight, beside ? kIconSize : 0) + kPad +
                 kButtonHeight + kPad + kFrame;
    int left = (kScreenWidth - width) / 2;
    int top = std::max(0, (kScreenHeight - height) / 2);
    RECT rect{left, top, left + width, top + height};

    HWND box = CreateWindowWithRole(Role::Box, 0, L"#msgbox", title.c_str(), WS_POPUP, rect,
                                    nullptr, ownerHandle, 0, nullptr);
    if (!box) return 0;
    auto state = std::make_unique<BoxState>();
    state->caption = title;
    state->text = body;
    state->style = type;
    int textLeft = kFrame + kPad + beside;
    state->textRect = {textLeft, kCaptionHeight + kPad, textLeft + textWidth,
                       kCaptionHeight + kPad + textHeight};
    FromHandle(box)->extra = std::move(state);

    int buttonTop = height - kFrame - kPad - kButtonHeight;
    auto button = [&](int left, int id, LPCWSTR label) {
        CreateWindowExW(0, L"button", label, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, left, buttonTop,
                        kButtonWidth, kButtonHeight, box,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    };
    // The buttons speak the device's language, whatever language the program speaks.
    if (HasCancel(type)) {
        button(width / 2 - kButtonWidth - kButtonGap / 2, IDOK, L"OK");
        button(width / 2 + kButtonGap / 2, IDCANCEL,
               DeviceLanguageIsFrench() ? L"Annuler" : L"Cancel");
    } else {
        button((width - kButtonWidth) / 2, IDOK, L"OK");
    }

    bool disabledOwner = ownerWindow && IsWindowEnabled(ownerHandle);
    if (disabledOwner) EnableWindow(ownerHandle, FALSE);
    ShowWindow(box, SW_SHOW);
    SetFocus(box);
    if (Observer()) Observer()(BoxEvent{box, title.c_str(), body.c_str(), type, true, 0});

    RunModalLoop(box);

    Window* w = FromHandle(box);
    int answer = w && w->modalEnded ? static_cast<int>(w->modalResult) : 0;
    if (disabledOwner && IsWindow(ownerHandle)) EnableWindow(ownerHandle, TRUE);
    DestroyWindow(box);
    if (Observer()) Observer()(BoxEvent{nullptr, title.c_str(), body.c_str(), type, false, answer});
    return answer;
}
