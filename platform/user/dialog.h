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

BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size);

namespace user {

// Dialog units to pixels for the dialog font: 6 pixels per 4 units across, 13 per 8 down, so
// that the handheld's templates fit the 240 pixels across and 294 down below the navigation bar.
constexpr int kDialogBaseX = 6;
constexpr int kDialogBaseY = 13;
RECT DialogUnitsToPixels(int x, int y, int cx, int cy);

HWND GetOpenDialog();  // the top-most open dialog, or null

}  // namespace user
