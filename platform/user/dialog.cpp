#include "platform/user/dialog.h"

#include <map>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/user/internal/desktop.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_api.h"

namespace user {

namespace {

std::map<UINT, const DialogResource*>& Templates() {
    static std::map<UINT, const DialogResource*> templates;
    return templates;
}

struct DialogState : Extra {
    DLGPROC proc = nullptr;
};

// Rounds to nearest, as the platform's MulDiv does.
int Scale(int units, int base, int per) {
    return (units * base * 2 + per) / (per * 2);
}

LRESULT DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(hwnd);
    auto* state = w ? dynamic_cast<DialogState*>(w->extra.get()) : nullptr;
    if (state && state->proc && state->proc(hwnd, message, wParam, lParam)) return TRUE;
    switch (message) {
        case WM_CLOSE:
            SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return 0;
        case WM_COMMAND:
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HWND FirstTabStop(Window* dialog) {
    for (Window* c : dialog->children)
        if ((c->style & WS_TABSTOP) && IsVisible(c) && AcceptsInput(c)) return ToHandle(c);
    return nullptr;
}

}  // namespace

DialogBase DialogBaseUnits() {
    static const DialogBase base = [] {
        DialogBase b{6, 13};  // the device font's, should no font be found
        HDC dc = CreateCompatibleDC(nullptr);
        RECT letters{0, 0, 0, 0};
        if (DrawTextW(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1, &letters,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX) > 0) {
            b.x = (letters.right / 26 + 1) / 2;
            b.y = letters.bottom;
        }
        DeleteDC(dc);
        return b;
    }();
    return base;
}

RECT DialogUnitsToPixels(int x, int y, int cx, int cy) {
    DialogBase b = DialogBaseUnits();
    int left = Scale(x, b.x, 4), top = Scale(y, b.y, 8);
    return {left, top, left + Scale(cx, b.x, 4), top + Scale(cy, b.y, 8)};
}

HWND GetOpenDialog() {
    const auto& z = TheDesktop().topLevel;
    for (auto it = z.rbegin(); it != z.rend(); ++it)
        if ((*it)->role == Role::Dialog && !(*it)->destroying) return ToHandle(*it);
    return nullptr;
}

}  // namespace user

using namespace user;

void RegisterDialogResource(UINT id, const DialogResource* resource) {
    Templates()[id] = resource;
}

const DialogResource* FindDialogResource(UINT id) {
    auto it = Templates().find(id);
    return it == Templates().end() ? nullptr : it->second;
}

INT_PTR DialogBoxParamW(HINSTANCE, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
    if (!IS_INTRESOURCE(templateName)) return -1;
    const DialogResource* res =
        FindDialogResource(static_cast<UINT>(reinterpret_cast<std::uintptr_t>(templateName)));
    if (!res) return -1;
    EnsureDesktop();
    RegisterClassOnce(L"#dialog", DialogProc, 0, true);  // dialogs are erased to white
    Window* ownerWindow = TopLevelOf(FromHandle(owner));
    HWND ownerHandle = ToHandle(ownerWindow);

    // Dialogs take the whole screen below the navigation bar, whatever size the template asks.
    DWORD style = (res->style & ~(WS_VISIBLE | WS_CHILD)) | WS_POPUP;
    HWND dialog = CreateWindowWithRole(Role::Dialog, 0, L"#dialog", res->caption, style,
                                       kDialogRect, nullptr, ownerHandle, 0, nullptr);
    if (!dialog) return -1;
    auto state = std::make_unique<DialogState>();
    state->proc = proc;
    FromHandle(dialog)->extra = std::move(state);
    for (const DialogControlResource& c : res->controls) {
        RECT r = DialogUnitsToPixels(c.x, c.y, c.cx, c.cy);
        CreateWindowExW(0, c.className, c.text ? c.text : L"", c.style | WS_CHILD, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, dialog,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.id)), nullptr, nullptr);
    }

    bool disabledOwner = ownerWindow && IsWindowEnabled(ownerHandle);
    if (disabledOwner) EnableWindow(ownerHandle, FALSE);
    Window* w = FromHandle(dialog);
    HWND focus = FirstTabStop(w);
    if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param) &&
        IsWindow(dialog))
        SetFocus(FirstTabStop(FromHandle(dialog)) ? FirstTabStop(FromHandle(dialog)) : dialog);
    w = FromHandle(dialog);
    if (w && !w->modalEnded) {
        ShowWindow(dialog, SW_SHOW);
        if (!GetFocus()) SetFocus(dialog);
        RunModalLoop(dialog);
    }
    w = FromHandle(dialog);
    INT_PTR result = w && w->modalEnded ? w->modalResult : 0;
    if (disabledOwner && IsWindow(ownerHandle)) EnableWindow(ownerHandle, TRUE);
    DestroyWindow(dialog);
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    Window* w = FromHandle(dialog);
    if (!w || w->role != Role::Dialog) return FALSE;
    w->modalEnded = true;
    w->modalResult = result;
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND b = GetDlgItem(dialog, id);
    return b ? static_cast<UINT>(SendMessageW(b, BM_GETCHECK, 0, 0)) : 0;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size) {
    HWND c = GetDlgItem(dialog, id);
    return c ? static_cast<UINT>(GetWindowTextW(c, buffer, size)) : 0;
}
