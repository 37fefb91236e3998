#include "platform/user/message_box.h"

#include <algorithm>
#include <string>

#include "platform/user/desktop.h"
#include "platform/user/draw_seam.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace user {

namespace {

constexpr int kBoxLeft = 8, kBoxWidth = 224, kCaptionHeight = 18, kPad = 8;
constexpr int kButtonWidth = 60, kButtonHeight = 22, kIconSize = 24;

struct BoxState : Extra {
    std::wstring caption;
    std::wstring text;
    UINT style = 0;
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
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            DeviceContextView view;
            if (state && ViewOf(dc, &view)) {
                const Region& clip = *view.clip;
                const RECT& r = w->rect;
                seam::Fill(clip, r, seam::kWhite);
                seam::Frame(clip, r, seam::kBlack);
                seam::Fill(clip, {r.left, r.top, r.right, r.top + kCaptionHeight}, seam::kBarBlue);
                seam::Text(clip, {r.left + 4, r.top + 3, r.right - 4, r.top + kCaptionHeight},
                           state->caption, seam::kWhite, seam::kAlignLeft);
                int textLeft = r.left + kPad;
                int top = r.top + kCaptionHeight + kPad;
                if (HasIcon(state->style)) {
                    RECT icon{textLeft, top, textLeft + kIconSize, top + kIconSize};
                    seam::Fill(clip, icon, seam::kErrorRed);
                    for (int i = 6; i < kIconSize - 6; ++i) {  // a white cross
                        seam::Fill(
                            clip,
                            {icon.left + i, icon.top + i, icon.left + i + 2, icon.top + i + 1},
                            seam::kWhite);
                        seam::Fill(
                            clip,
                            {icon.right - i - 2, icon.top + i, icon.right - i, icon.top + i + 1},
                            seam::kWhite);
                    }
                    textLeft += kIconSize + kPad;
                }
                seam::Text(clip, {textLeft, top, r.right - kPad, r.bottom - kButtonHeight - kPad},
                           state->text, seam::kBlack, seam::kAlignLeft);
            }
            EndPaint(hwnd, &ps);
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

void RegisterBoxClass() {
    if (TheDesktop().classes.count(L"#msgbox")) return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = BoxProc;
    wc.lpszClassName = L"#msgbox";
    RegisterClassW(&wc);
}

}  // namespace

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
    RegisterBoxClass();
    Window* ownerWindow = TopLevelOf(FromHandle(owner));
    HWND ownerHandle = ToHandle(ownerWindow);
    std::wstring body = text ? text : L"";
    std::wstring title = caption ? caption : L"Error";

    int textHeight = seam::TextLineCount(body) * seam::TextLineHeight();
    if (HasIcon(type)) textHeight = std::max(textHeight, kIconSize);
    int height = kCaptionHeight + kPad + textHeight + kPad + kButtonHeight + kPad;
    height = std::min(height, kCommandBarTop - kNavBarHeight);
    int top = kNavBarHeight + (kCommandBarTop - kNavBarHeight - height) / 2;
    RECT rect{kBoxLeft, top, kBoxLeft + kBoxWidth, top + height};

    HWND box = CreateWindowWithRole(Role::Box, 0, L"#msgbox", title.c_str(), WS_POPUP, rect,
                                    nullptr, ownerHandle, 0, nullptr);
    if (!box) return 0;
    auto state = std::make_unique<BoxState>();
    state->caption = title;
    state->text = body;
    state->style = type;
    FromHandle(box)->extra = std::move(state);

    int buttonTop = height - kPad - kButtonHeight;
    auto button = [&](int left, int id, LPCWSTR label) {
        CreateWindowExW(0, L"button", label, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, left, buttonTop,
                        kButtonWidth, kButtonHeight, box,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    };
    if (HasCancel(type)) {
        button(kBoxWidth / 2 - kButtonWidth - 6, IDOK, L"OK");
        button(kBoxWidth / 2 + 6, IDCANCEL, L"Cancel");
    } else {
        button((kBoxWidth - kButtonWidth) / 2, IDOK, L"OK");
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
