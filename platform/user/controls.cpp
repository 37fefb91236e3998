// The window system's own window classes: the navigation bar, buttons (push, radio, check box),
// edit controls and static text.
#include "platform/user/controls.h"

#include <algorithm>

#include "platform/user/desktop.h"
#include "platform/user/draw_seam.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace user {

namespace {

bool PointIn(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Paints a system window: fn(window, clip in screen coordinates) draws it.
template <class F>
void PaintWith(HWND hwnd, F fn) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DeviceContextView view;
    if (ViewOf(dc, &view)) fn(FromHandle(hwnd), *view.clip);
    EndPaint(hwnd, &ps);
}

// --- navigation bar ---

struct NavBarState {
    HWND frame = nullptr;
    std::wstring title;
    Role role = Role::Plain;
    bool shown = false;
};

NavBarState& NavState() {
    static NavBarState state;
    return state;
}

LRESULT NavBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintWith(hwnd, [](Window* w, const Region& clip) {
                seam::Fill(clip, w->rect, seam::kBarBlue);
                Window* f = FromHandle(NavBarFrame());
                if (!f) return;
                seam::Text(clip, {4, 6, kNavOkRect.left - 2, kNavBarHeight}, f->text, seam::kWhite,
                           seam::kAlignLeft);
                seam::Frame(clip, {kNavCloseRect.left + 4, 5, kNavCloseRect.right - 4, 21},
                            seam::kWhite);
                seam::Text(clip, {kNavCloseRect.left, 6, kNavCloseRect.right, kNavBarHeight}, L"x",
                           seam::kWhite, seam::kAlignCentre);
                if (f->role == Role::Dialog)
                    seam::Text(clip, {kNavOkRect.left, 6, kNavOkRect.right, kNavBarHeight}, L"ok",
                               seam::kWhite, seam::kAlignCentre);
            });
            return 0;
        case WM_LBUTTONDOWN: {
            Window* f = FromHandle(NavBarFrame());
            if (!f || !AcceptsInput(f)) return 0;
            int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
            HWND target = ToHandle(f);
            if (PointIn(kNavCloseRect, x, y)) {
                if (f->role == Role::Dialog)
                    PostMessageW(target, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                else
                    PostMessageW(target, WM_CLOSE, 0, 0);
            } else if (f->role == Role::Dialog && PointIn(kNavOkRect, x, y)) {
                PostMessageW(target, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            return 0;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// --- buttons ---

struct ButtonState : Extra {
    bool checked = false;
};

DWORD ButtonType(const Window* w) {
    return w->style & BS_TYPEMASK;
}
bool IsRadio(const Window* w) {
    return w->className == L"button" && ButtonType(w) == BS_AUTORADIOBUTTON;
}

void SetChecked(Window* w, bool checked) {
    auto* state = dynamic_cast<ButtonState*>(w->extra.get());
    if (!state || state->checked == checked) return;
    state->checked = checked;
    InvalidateRect(ToHandle(w), nullptr, TRUE);
}

void CheckInGroup(Window* w) {
    for (Window* s : GroupOf(w))
        if (IsRadio(s)) SetChecked(s, s == w);
}

void Click(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w) return;
    if (IsRadio(w)) CheckInGroup(w);
    if (ButtonType(w) == BS_AUTOCHECKBOX)
        if (auto* state = dynamic_cast<ButtonState*>(w->extra.get()))
            SetChecked(w, !state->checked);
    if (w->parent)
        SendMessageW(ToHandle(w->parent), WM_COMMAND, MAKEWPARAM(w->id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
}

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(hwnd);
    switch (message) {
        case WM_CREATE:
            w->extra = std::make_unique<ButtonState>();
            return 0;
        case WM_PAINT:
            PaintWith(hwnd, [](Window* b, const Region& clip) {
                auto* state = dynamic_cast<ButtonState*>(b->extra.get());
                DWORD type = ButtonType(b);
                seam::Fill(clip, b->rect, seam::kWhite);
                if (type == BS_AUTORADIOBUTTON || type == BS_AUTOCHECKBOX) {
                    int top = b->rect.top + (b->height() - 11) / 2;
                    RECT mark{b->rect.left + 1, top, b->rect.left + 12, top + 11};
                    seam::Frame(clip, mark, seam::kBlack);
                    if (state && state->checked)
                        seam::Fill(clip,
                                   {mark.left + 3, mark.top + 3, mark.right - 3, mark.bottom - 3},
                                   seam::kBlack);
                    RECT label{mark.right + 3,
                               b->rect.top + (b->height() - seam::TextLineHeight()) / 2,
                               b->rect.right, b->rect.bottom};
                    seam::Text(clip, label, b->text, seam::kBlack, seam::kAlignLeft);
                } else {
                    seam::Frame(clip, b->rect, seam::kBlack);
                    RECT label{b->rect.left,
                               b->rect.top + (b->height() - seam::TextLineHeight()) / 2,
                               b->rect.right, b->rect.bottom};
                    seam::Text(clip, label, b->text, seam::kBlack, seam::kAlignCentre);
                }
            });
            return 0;
        case WM_LBUTTONDOWN:
            Click(hwnd);
            return 0;
        case BM_CLICK:
            Click(hwnd);
            return 0;
        case BM_GETCHECK: {
            auto* state = dynamic_cast<ButtonState*>(w->extra.get());
            return state && state->checked ? BST_CHECKED : BST_UNCHECKED;
        }
        case BM_SETCHECK:
            SetChecked(w, wParam == BST_CHECKED);
            return 0;
        case WM_SETTEXT:
            DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// --- edit controls and static text ---

void PaintText(Window* w, const Region& clip, bool edit) {
    seam::Fill(clip, w->rect, seam::kWhite);
    if (w->style & WS_BORDER) seam::Frame(clip, w->rect, seam::kBlack);
    std::wstring_view text = w->text;
    bool multiLine = !edit || (w->style & ES_MULTILINE);
    if (!multiLine) text = text.substr(0, text.find_first_of(L"\r\n"));
    UINT align = (w->style & ES_CENTER)  ? seam::kAlignCentre
                 : (w->style & ES_RIGHT) ? seam::kAlignRight
                                         : seam::kAlignLeft;
    RECT inner{w->rect.left + 2, w->rect.top + 1, w->rect.right - 2, w->rect.bottom - 1};
    seam::Text(clip, inner, text, seam::kBlack, align);
}

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(hwnd);
    switch (message) {
        case WM_PAINT:
            PaintWith(hwnd, [](Window* e, const Region& clip) { PaintText(e, clip, true); });
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            return 0;
        case WM_CHAR: {
            if (w->style & ES_READONLY) return 0;
            auto ch = static_cast<wchar_t>(wParam);
            if (ch == L'\b') {
                if (w->text.empty()) return 0;
                w->text.pop_back();
                if (!w->text.empty() && w->text.back() == L'\r') w->text.pop_back();
            } else if (ch >= L' ') {
                w->text.push_back(ch);
            } else {
                return 0;
            }
            InvalidateRect(hwnd, nullptr, TRUE);
            if (w->parent)
                SendMessageW(ToHandle(w->parent), WM_COMMAND, MAKEWPARAM(w->id, EN_CHANGE),
                             reinterpret_cast<LPARAM>(hwnd));
            return 0;
        }
        case WM_SETTEXT:
            DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintWith(hwnd, [](Window* s, const Region& clip) { PaintText(s, clip, false); });
            return 0;
        case WM_SETTEXT:
            DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void Register(LPCWSTR name, WNDPROC proc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

}  // namespace

std::vector<Window*> GroupOf(Window* w) {
    if (!w->parent) return {w};
    const auto& siblings = w->parent->children;
    auto it = std::find(siblings.begin(), siblings.end(), w);
    auto first = it;
    while (first != siblings.begin() && !((*first)->style & WS_GROUP)) --first;
    auto last = it + 1;
    while (last != siblings.end() && !((*last)->style & WS_GROUP)) ++last;
    return {first, last};
}

void RegisterControlClasses() {
    Register(L"button", ButtonProc);
    Register(L"edit", EditProc);
    Register(L"static", StaticProc);
}

void RegisterNavBarClass() {
    Register(L"#navbar", NavBarProc);
}

HWND NavBarFrame() {
    const auto& z = TheDesktop().topLevel;
    for (auto it = z.rbegin(); it != z.rend(); ++it) {
        Window* w = *it;
        if ((w->role == Role::Frame || w->role == Role::Dialog) && !w->destroying && IsVisible(w))
            return ToHandle(w);
    }
    return nullptr;
}

void NavBarRefresh() {
    Desktop& d = TheDesktop();
    Window* bar = FromHandle(d.navBar);
    if (!bar) return;
    NavBarState& s = NavState();
    HWND f = NavBarFrame();
    Window* fw = FromHandle(f);
    NavBarState now{f, fw ? fw->text : L"", fw ? fw->role : Role::Plain, true};
    if (s.shown && now.frame == s.frame && now.title == s.title && now.role == s.role) return;
    s = now;
    InvalidateRect(d.navBar, nullptr, FALSE);
}

void ResetNavBar() {
    NavState() = NavBarState{};
}

}  // namespace user
