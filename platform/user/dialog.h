// Dialogs from templates: a modal window below the navigation bar holding buttons (push, radio,
// check box), edit controls and static text, placed in dialog units. Confirmed and cancelled
// through the frame (the navigation bar's "ok" and close), Enter and Escape.
#pragma once

#include <span>

#include "platform/user/user_types.h"

// A control of a template; className is "button", "edit" or "static".
struct DialogControlResource {
    LPCWSTR className;
    UINT id;
    LPCWSTR text;
    short x, y, cx, cy;  // dialog units
    DWORD style;
};

struct DialogResource {
    LPCWSTR caption;
    DWORD style;
    short x, y, cx, cy;  // dialog units
    std::span<const DialogControlResource> controls;
};

// The tables must live as long as the program.
void RegisterDialogResource(UINT id, const DialogResource* resource);
const DialogResource* FindDialogResource(UINT id);

// Disables owner, makes the dialog, sends WM_INITDIALOG (lParam: param), shows it and runs its
// nested loop until EndDialog; then enables owner, destroys the dialog and returns the result.
// -1 when the template is unknown; 0 when the loop ended (the end of input) before EndDialog.
INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);

UINT IsDlgButtonChecked(HWND dialog, int id);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size);

namespace user {

// Dialog units come from the dialog font as the platform derives them: pixels per 4 units
// across are the rounded average width of "A".."Z" and "a".."z", pixels per 8 units down the
// line height (6 and 13 for the device's font).
struct DialogBase {
    int x;  // pixels per 4 horizontal units
    int y;  // pixels per 8 vertical units
};
DialogBase DialogBaseUnits();
RECT DialogUnitsToPixels(int x, int y, int cx, int cy);

HWND GetOpenDialog();  // the top-most open dialog, or null

}  // namespace user
