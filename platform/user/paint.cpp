#include "platform/user/paint.h"

#include <unordered_map>
#include <vector>

#include "platform/gdi/internal/objects.h"
#include "platform/gdi/internal/window_dc.h"
#include "platform/user/internal/desktop.h"
#include "platform/user/internal/screen.h"
#include "platform/user/message_queue.h"

namespace user {

namespace {

std::uint32_t screen[kScreenPixelsWide * kScreenPixelsHigh];
std::uint64_t generation = 0;

// What the window system knows of each device context it handed out; the context itself is
// the drawing layer's window DC on the screen surface.
struct DcInfo {
    HWND hwnd;
    POINT origin;
    Region clip;  // screen coordinates
    bool fromPaint;
};

std::unordered_map<HDC, DcInfo>& Dcs() {
    static std::unordered_map<HDC, DcInfo> dcs;
    return dcs;
}

HDC NewDC(Window* w, const Region& clip, bool fromPaint) {
    HDC dc = gdi::CreateWindowDC(ScreenBitmap());
    if (!dc) return nullptr;
    POINT origin{w->rect.left, w->rect.top};
    gdi::SetWindowDCOrigin(dc, origin);
    std::vector<RECT> rects = clip.Rects();
    gdi::SetWindowDCClip(dc, rects.data(), static_cast<int>(rects.size()));
    Dcs()[dc] = DcInfo{ToHandle(w), origin, clip, fromPaint};
    return dc;
}

bool FreeDC(HDC dc, bool fromPaint) {
    auto it = Dcs().find(dc);
    if (it == Dcs().end() || it->second.fromPaint != fromPaint) return false;
    Dcs().erase(it);
    DeleteDC(dc);
    return true;
}

Region ClientArea(const Window* w) {
    return Region(RECT{0, 0, w->width(), w->height()});
}

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
    RECT client{0, 0, w->width(), w->height()};
    FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    return true;
}

std::uint32_t* ScreenPixels() {
    return screen;
}

std::uint32_t ScreenPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= kScreenPixelsWide || y >= kScreenPixelsHigh) return 0;
    return screen[y * kScreenPixelsWide + x];
}

// Drawing on the screen happens only through window device contexts: their release is where
// the screen is known to have changed.
std::uint64_t ScreenGeneration() {
    return generation;
}
void MarkScreenChanged() {
    ++generation;
}

bool ViewOf(HDC hdc, DeviceContextView* view) {
    auto it = Dcs().find(hdc);
    if (it == Dcs().end() || !FromHandle(it->second.hwnd)) return false;
    *view = {it->second.hwnd, it->second.origin, &it->second.clip};
    return true;
}

HBITMAP ScreenBitmap() {
    static HBITMAP screen = gdi::CreateBitmapOnPixels(ScreenPixels(), kScreenPixelsWide,
                                                      kScreenPixelsHigh, kScreenPixelsWide);
    // The screen's bitmap lives as long as the program. Its handle is a slot number, which does
    // not keep the object reachable to a leak check: its address does.
    static const gdi::Bitmap* const lasting = gdi::AsBitmap(screen);
    (void)lasting;
    return screen;
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

BOOL UpdateWindow(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w) return FALSE;
    if (!w->invalid.IsEmpty() && IsVisible(w)) SendMessageW(hwnd, WM_PAINT, 0, 0);
    return TRUE;
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
    HDC dc = NewDC(w, clip, true);
    ps->hdc = dc;
    if (erase) ps->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
    if (!ps || !FreeDC(ps->hdc, true)) return FALSE;
    MarkScreenChanged();
    NotifyScreenChanged();
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (!w) return nullptr;
    return NewDC(w, VisibleRegion(w), false);
}

int ReleaseDC(HWND, HDC hdc) {
    if (!FreeDC(hdc, false)) return 0;
    MarkScreenChanged();
    NotifyScreenChanged();
    return 1;
}
