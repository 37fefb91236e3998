// The window system's own window classes: the navigation bar, buttons (push, radio, check box),
// edit controls and static text.
#include "platform/user/internal/controls.h"

#include <algorithm>
#include <string>

#include "platform/gdi/internal/text_layout.h"
#include "platform/user/internal/desktop.h"
#include "platform/user/internal/system_paint.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace user {

namespace {

bool PointIn(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
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
        case WM_PAINT: {
            SystemPaint p(hwnd);
            p.Fill(p.client(), kBarBlue);
            Window* f = FromHandle(NavBarFrame());
            if (!f) return 0;
            RECT title{4, 0, kNavOkRect.left - 2, kNavBarHeight};
            p.Text(title, f->text, kWhite, DT_SINGLELINE | DT_VCENTER);
            p.Frame({kNavCloseRect.left + 4, 5, kNavCloseRect.right - 4, 21}, kWhite);
            p.Text(kNavCloseRect, L"x", kWhite, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
            if (f->role == Role::Dialog)
                p.Text(kNavOkRect, L"ok", kWhite, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
            return 0;
        }
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
        case WM_PAINT: {
            SystemPaint p(hwnd);
            auto* state = dynamic_cast<ButtonState*>(w->extra.get());
            DWORD type = ButtonType(w);
            const RECT& all = p.client();
            p.Fill(all, kWhite);
            if (type == BS_AUTORADIOBUTTON || type == BS_AUTOCHECKBOX) {
                int top = (all.bottom - 11) / 2;
                RECT mark{1, top, 12, top + 11};
                p.Frame(mark, kBlack);
                if (state && state->checked)
                    p.Fill({mark.left + 3, mark.top + 3, mark.right - 3, mark.bottom - 3}, kBlack);
                p.Text({mark.right + 3, 0, all.right, all.bottom}, w->text, kBlack,
                       DT_SINGLELINE | DT_VCENTER);
            } else {
                p.Frame(all, kBlack);
                p.Text(all, w->text, kBlack, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
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

// A multi-line edit without ES_AUTOHSCROLL wraps its text as DrawTextW does; a view of whole
// lines scrolls to keep the caret's line in sight, and the wheel and a stylus drag scroll it.
struct EditState : Extra {
    int caret = 0;    // index in the text
    int topLine = 0;  // the first line shown
    int dragY = 0;    // where a stylus drag started, and the first line then
    int dragTop = 0;
    bool dragging = false;
};

bool Wraps(const Window* w) {
    return (w->style & ES_MULTILINE) && !(w->style & ES_AUTOHSCROLL);
}

UINT AlignOf(const Window* w) {
    return (w->style & ES_CENTER) ? DT_CENTER : (w->style & ES_RIGHT) ? DT_RIGHT : DT_LEFT;
}

// Where the text goes: inside the border, one pixel in from each side.
RECT TextArea(const Window* w) {
    int inset = (w->style & WS_BORDER) ? 1 : 0;
    return {inset + 1, inset, w->width() - inset - 1, w->height() - inset};
}

std::vector<gdi::TextLine> LinesOf(const Window* w) {
    RECT area = TextArea(w);
    bool multi = (w->style & ES_MULTILINE) != 0;
    std::vector<gdi::TextLine> lines =
        gdi::LayOutText(w->text.c_str(), static_cast<int>(w->text.size()),
                        DT_NOPREFIX | (Wraps(w) ? DT_WORDBREAK : 0) | (multi ? 0 : DT_SINGLELINE),
                        area.right - area.left);
    if (lines.empty()) lines.push_back({0, 0, 0});
    if (!multi) {  // a single-line edit shows its text up to the first line break
        std::size_t stop = w->text.find_first_of(L"\r\n");
        int end =
            stop == std::wstring::npos ? static_cast<int>(w->text.size()) : static_cast<int>(stop);
        lines.assign(1, {0, end, TextWidth(std::wstring_view(w->text).substr(0, end))});
    }
    return lines;
}

int VisibleLines(const Window* w) {
    RECT area = TextArea(w);
    return std::max(1, (area.bottom - area.top) / TextLineHeight());
}

int LineOfCaret(const std::vector<gdi::TextLine>& lines, int caret) {
    int line = 0;
    for (std::size_t k = 0; k < lines.size(); ++k)
        if (lines[k].begin <= caret) line = static_cast<int>(k);
    return line;
}

int LineLeft(const Window* w, const gdi::TextLine& line) {
    RECT area = TextArea(w);
    UINT align = AlignOf(w);
    if (align == DT_CENTER) return (area.left + area.right - line.width) / 2;
    if (align == DT_RIGHT) return area.right - line.width;
    return area.left;
}

// The pixel column of a caret before text[index], on its line.
int CaretX(const Window* w, const gdi::TextLine& line, int index) {
    index = std::clamp(index, line.begin, line.end);
    return LineLeft(w, line) +
           TextWidth(std::wstring_view(w->text).substr(line.begin, index - line.begin));
}

// The caret position on a line nearest to pixel column x.
int IndexAt(const Window* w, const gdi::TextLine& line, int x) {
    int best = line.begin, bestDistance = std::abs(CaretX(w, line, line.begin) - x);
    for (int i = line.begin + 1; i <= line.end; ++i) {
        int d = std::abs(CaretX(w, line, i) - x);
        if (d < bestDistance) best = i, bestDistance = d;
    }
    return best;
}

void ClampView(Window* w, EditState* s, const std::vector<gdi::TextLine>& lines) {
    int last = std::max(0, static_cast<int>(lines.size()) - VisibleLines(w));
    s->topLine = std::clamp(s->topLine, 0, last);
}

void ShowCaretLine(Window* w, EditState* s) {
    std::vector<gdi::TextLine> lines = LinesOf(w);
    int line = LineOfCaret(lines, s->caret);
    if (line < s->topLine) s->topLine = line;
    if (line >= s->topLine + VisibleLines(w)) s->topLine = line - VisibleLines(w) + 1;
    ClampView(w, s, lines);
}

void ScrollTo(HWND hwnd, Window* w, EditState* s, int topLine) {
    int before = s->topLine;
    s->topLine = topLine;
    ClampView(w, s, LinesOf(w));
    if (s->topLine != before) InvalidateRect(hwnd, nullptr, TRUE);
}

void PaintEdit(HWND hwnd, Window* w, bool edit) {
    SystemPaint p(hwnd);
    p.Fill(p.client(), kWhite);
    if (w->style & WS_BORDER) p.Frame(p.client(), kBlack);
    RECT area = TextArea(w);
    if (!edit) {  // static text wraps, from its top
        p.Text(area, w->text, kBlack, AlignOf(w) | DT_WORDBREAK);
        return;
    }
    auto* s = dynamic_cast<EditState*>(w->extra.get());
    int top = s ? s->topLine : 0;
    std::vector<gdi::TextLine> lines = LinesOf(w);
    int h = TextLineHeight();
    bool focused = GetFocus() == hwnd;
    int caretLine = s ? LineOfCaret(lines, s->caret) : -1;
    for (int k = top; k < static_cast<int>(lines.size()); ++k) {
        int y = area.top + (k - top) * h;
        if (y >= area.bottom) break;
        const gdi::TextLine& line = lines[static_cast<std::size_t>(k)];
        RECT r{area.left, y, area.right, std::min<LONG>(y + h, area.bottom)};
        p.Text(r, std::wstring_view(w->text).substr(line.begin, line.end - line.begin), kBlack,
               AlignOf(w) | DT_SINGLELINE);
        if (focused && k == caretLine) {
            int x = std::min<int>(CaretX(w, line, s->caret), area.right - 1);
            p.Fill({x, y, x + 1, std::min<LONG>(y + h, area.bottom)}, kBlack);
        }
    }
}

void Changed(HWND hwnd, Window* w, EditState* s) {
    ShowCaretLine(w, s);
    InvalidateRect(hwnd, nullptr, TRUE);
    if (w->parent)
        SendMessageW(ToHandle(w->parent), WM_COMMAND, MAKEWPARAM(w->id, EN_CHANGE),
                     reinterpret_cast<LPARAM>(hwnd));
}

// Left and right step over a line break as one; up and down keep the caret's column.
void MoveCaret(HWND hwnd, Window* w, EditState* s, UINT key) {
    const std::wstring& t = w->text;
    int n = static_cast<int>(t.size());
    std::vector<gdi::TextLine> lines = LinesOf(w);
    int line = LineOfCaret(lines, s->caret);
    const gdi::TextLine& here = lines[static_cast<std::size_t>(line)];
    switch (key) {
        case VK_LEFT:
            if (s->caret > 0) --s->caret;
            if (s->caret > 0 && t[s->caret] == L'\n' && t[s->caret - 1] == L'\r') --s->caret;
            break;
        case VK_RIGHT:
            if (s->caret < n && t[s->caret] == L'\r' && s->caret + 1 < n &&
                t[s->caret + 1] == L'\n')
                ++s->caret;
            if (s->caret < n) ++s->caret;
            break;
        case VK_UP:
        case VK_DOWN: {
            int target = line + (key == VK_UP ? -1 : 1);
            if (target < 0 || target >= static_cast<int>(lines.size())) break;
            s->caret =
                IndexAt(w, lines[static_cast<std::size_t>(target)], CaretX(w, here, s->caret));
            break;
        }
        case VK_HOME:
            s->caret = here.begin;
            break;
        case VK_END:
            s->caret = here.end;
            break;
        default:
            return;
    }
    ShowCaretLine(w, s);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void PlaceCaret(Window* w, EditState* s, int x, int y) {
    std::vector<gdi::TextLine> lines = LinesOf(w);
    RECT area = TextArea(w);
    int line = s->topLine + std::max(0, (y - area.top)) / TextLineHeight();
    line = std::min(line, static_cast<int>(lines.size()) - 1);
    s->caret = IndexAt(w, lines[static_cast<std::size_t>(line)], x);
}

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(hwnd);
    auto* s = w ? dynamic_cast<EditState*>(w->extra.get()) : nullptr;
    switch (message) {
        case WM_CREATE:
            w->extra = std::make_unique<EditState>();
            return 0;
        case WM_PAINT:
            PaintEdit(hwnd, w, true);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            if (!s) return 0;
            PlaceCaret(w, s, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            s->dragging = true;
            s->dragY = GET_Y_LPARAM(lParam);
            s->dragTop = s->topLine;
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_MOUSEMOVE:
            // The text follows the stylus, a line at a time.
            if (s && s->dragging && (wParam & MK_LBUTTON))
                ScrollTo(hwnd, w, s,
                         s->dragTop - (GET_Y_LPARAM(lParam) - s->dragY) / TextLineHeight());
            return 0;
        case WM_LBUTTONUP:
            if (s) s->dragging = false;
            return 0;
        case WM_MOUSEWHEEL:
            // Three lines a notch, as desktop wheels scroll.
            if (s)
                ScrollTo(hwnd, w, s,
                         s->topLine - 3 * static_cast<SHORT>(HIWORD(wParam)) / WHEEL_DELTA);
            return 0;
        case WM_KEYDOWN:
            if (s) MoveCaret(hwnd, w, s, static_cast<UINT>(wParam));
            return 0;
        case WM_CHAR: {
            if ((w->style & ES_READONLY) || !s) return 0;
            auto ch = static_cast<wchar_t>(wParam);
            std::wstring& t = w->text;
            s->caret = std::clamp(s->caret, 0, static_cast<int>(t.size()));
            if (ch == L'\b') {
                if (s->caret == 0) return 0;
                int from = s->caret - 1;
                if (from > 0 && t[from] == L'\n' && t[from - 1] == L'\r') --from;
                t.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(s->caret - from));
                s->caret = from;
            } else if (ch >= L' ') {
                t.insert(t.begin() + s->caret, ch);
                ++s->caret;
            } else {
                return 0;
            }
            Changed(hwnd, w, s);
            return 0;
        }
        case WM_SETTEXT:
            DefWindowProcW(hwnd, message, wParam, lParam);
            if (s) *s = EditState{};
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintEdit(hwnd, FromHandle(hwnd), false);
            return 0;
        case WM_SETTEXT:
            DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
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
    // Push, radio and check buttons take the second tap of a double tap as a second press.
    RegisterClassOnce(L"button", ButtonProc, CS_DBLCLKS);
    RegisterClassOnce(L"edit", EditProc);
    RegisterClassOnce(L"static", StaticProc);
}

void RegisterNavBarClass() {
    // The bar asks for double taps and ignores them: the second of two quick taps on a dialog's
    // close button does not go on to close the main window.
    RegisterClassOnce(L"#navbar", NavBarProc, CS_DBLCLKS);
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
