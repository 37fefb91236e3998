#include "platform/user/paint.h"

#include <memory>

#include "platform/user/desktop.h"
#include "platform/user/draw_seam.h"
#include "platform/user/message_queue.h"

struct DeviceContextObject {
    HWND hwnd;
    POINT origin;
    user::Region clip;  // screen coordinates
    bool fromPaint;
};

namespace user {

namespace {

std::unique_ptr<DeviceContextObject> NewDC(Window* w, const Region& clip, bool fromPaint) {
    auto dc = std::make_unique<DeviceContextObject>();
    dc->hwnd = ToHandle(w);
    dc->origin = {w->rect.left, w->rect.top};
    dc->clip = clip;
    dc->fromPaint = fromPaint;
    return dc;
}

Region ClientArea(const Window* w) { return Region(RECT{0, 0, w->width(), w->height()}); }

}  // namespace

void InvalidateWindowRegion(Window* w, const Region& clientRegion, bool erase) {
    if (!IsVisible(w)) return;
    Region add = clientRegion;
    add.Intersect(ClientArea(w));
    if (add.IsEmpty()) return;
    w->invalid.Union(add);
    if (erase) w->erase = true;
}

Window* NextWindowToPaint() {
    for (Window* w : TheDesktop().created)
        if (!w->invalid.IsEmpty() && !w->destroying && IsVisible(w)) return w;
    return nullptr;
}

bool EraseBackground(HWND hwnd, HDC hdc) {
    Window* w = FromHandle(hwnd);
    DeviceContextView view;
    if (!w || !ViewOf(hdc, &view)) return false;
    if (!w->colourBackground) return false;
    seam::Fill(*view.clip, w->rect, seam::kWhite);
    return true;
}

bool ViewOf(HDC hdc, DeviceContextView* view) {
    if (!hdc || !FromHandle(hdc->hwnd)) return false;
    *view = {hdc->hwnd, hdc->origin, &hdc->clip};
    return true;
}

void FillThroughDC(HDC hdc, const RECT& r, COLORREF colour) {
    DeviceContextView v;
    if (!ViewOf(hdc, &v)) return;
    seam::Fill(*v.clip,
               {r.left + v.origin.x, r.top + v.origin.y, r.right + v.origin.x, r.bottom + v.origin.y},
               colour);
}

Region InvalidRegionOf(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w ? w->invalid : Region();
}

}  // namespace user

using namespace user;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    InvalidateWindowRegion(w, rect ? Region(*rect) : ClientArea(w), erase != FALSE);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    if (rect)
        w->invalid.Subtract(*rect);
    else
        w->invalid.Clear();
    if (w->invalid.IsEmpty()) w->erase = false;
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    if (!w->invalid.IsEmpty() && IsVisible(w)) SendMessageW(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    if (rect) *rect = w->invalid.Extents();
    return !w->invalid.IsEmpty();
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    Window* w = FromHandle(hwnd);
    if (!w || !ps) return nullptr;
    Region clip = w->invalid;
    clip.Translate(w->rect.left, w->rect.top);
    clip.Intersect(VisibleRegion(w));
    *ps = PAINTSTRUCT{};
    ps->rcPaint = w->invalid.Extents();
    bool erase = w->erase;
    w->invalid.Clear();
    w->erase = false;
    HDC dc = NewDC(w, clip, true).release();
    ps->hdc = dc;
    if (erase) ps->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
    if (!ps || !ps->hdc || !ps->hdc->fromPaint) return FALSE;
    delete ps->hdc;
    NotifyScreenChanged();
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w) return nullptr;
    return NewDC(w, VisibleRegion(w), false).release();
}

int ReleaseDC(HWND, HDC hdc) {
    if (!hdc || hdc->fromPaint) return 0;
    delete hdc;
    NotifyScreenChanged();
    return 1;
}
