// Paint and invalid regions: InvalidateRect adds to a window's invalid region, a true set of
// rectangles; WM_PAINT comes for a window whose region is not empty; BeginPaint hands out a
// device context clipped to that region (and to what of the window is visible) and validates it.
#pragma once

#include "platform/user/internal/region.h"
#include "platform/user/user_types.h"

// The device contexts handed out here are the drawing layer's window DCs on the screen
// surface, at the window's origin and clipped as said above.
#include "platform/gdi/gdi.h"

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;   // the background still needs erasing (WM_ERASEBKGND was not handled)
    RECT rcPaint;  // the invalid region's bounding box, client coordinates
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);  // rect null: the whole client
BOOL UpdateWindow(HWND hwnd);  // paints at once when the invalid region is not empty
// Right and bottom edges are outside the rectangle.
inline BOOL PtInRect(const RECT* rect, POINT point) {
    return point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
           point.y < rect->bottom;
}
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);  // clipped to what of the window is visible
int ReleaseDC(HWND hwnd, HDC hdc);

namespace user {

// What a window's device context gives the drawing layer: the screen position of client (0, 0)
// and the clip in screen coordinates.
struct DeviceContextView {
    HWND hwnd;
    POINT origin;
    const Region* clip;
};
bool ViewOf(HDC hdc, DeviceContextView* view);

// The screen surface as a drawing-layer bitmap.
HBITMAP ScreenBitmap();

// The invalid region of a window in client coordinates (a copy).
Region InvalidRegionOf(HWND hwnd);

}  // namespace user
