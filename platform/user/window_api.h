// Windows: creation, showing, titles, enabling, ownership, z-order, focus, geometry.
#pragma once

#include "platform/user/user_types.h"

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// Where the screen's parts lie.
constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr int kNavBarHeight = 26;    // rows 0..25
constexpr int kCommandBarTop = 294;  // rows 294..319
constexpr RECT kMainWindowRect{0, kNavBarHeight, kScreenWidth, kCommandBarTop};
constexpr RECT kCommandBarRect{0, kCommandBarTop, kScreenWidth, kScreenHeight};
// Below the navigation bar down to the bottom of the screen: where dialogs go.
constexpr RECT kDialogRect{0, kNavBarHeight, kScreenWidth, kScreenHeight};
// The navigation bar's buttons: close (main window and dialogs), "ok" (dialogs).
constexpr RECT kNavCloseRect{214, 0, 240, kNavBarHeight};
constexpr RECT kNavOkRect{186, 0, 212, kNavBarHeight};

// Class styles.
constexpr UINT CS_DBLCLKS = 0x0008;  // its windows get a double tap as WM_LBUTTONDBLCLK

struct WNDCLASSW {
    UINT style;  // CS_ bits
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    void* hIcon;
    void* hCursor;
    void* hbrBackground;  // null: erasing leaves the pixels, otherwise fills with white
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};

BOOL RegisterClassW(const WNDCLASSW* wc);
// The platform's own classes, and the framework's, are registered by the first call that needs
// one: this registers a class unless one of that name is registered already.
BOOL RegisterClassOnce(LPCWSTR name, WNDPROC proc, UINT style = 0, bool erasesWhite = false);

// A top-level window that is neither a popup nor a child is a frame: it covers the main
// window's area (rows 26..293) whatever position it asks for. A popup is placed in screen
// coordinates, a child relative to its parent's client area; hMenu is a child's id.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                     void* param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

BOOL ShowWindow(HWND hwnd, int command);    // returns whether it was visible before
BOOL EnableWindow(HWND hwnd, BOOL enable);  // returns whether it was disabled before
BOOL IsWindowEnabled(HWND hwnd);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size);
int GetWindowTextLengthW(HWND hwnd);

BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL ClientToScreen(HWND hwnd, POINT* point);
HWND WindowFromPoint(POINT screen);

HWND GetParent(HWND hwnd);
HWND GetWindow(HWND hwnd, UINT relation);  // GW_OWNER, GW_CHILD, GW_HWNDNEXT (creation order)
int GetClassNameW(HWND hwnd, LPWSTR buffer, int size);
HWND GetDlgItem(HWND dialog, int id);
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);

HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND GetActiveWindow();
