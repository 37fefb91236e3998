// How the window system paints its own windows (navigation bar, command bar, menus, message
// boxes, dialogs and controls): a paint device context from BeginPaint, drawn on with the
// drawing layer's calls in the window's client coordinates, so that the clip, the colour format
// and the tracking of changed pixels are the drawing layer's and the paint's, as for any window.
#pragma once

#include <string_view>

#include "platform/user/paint.h"

namespace user {

// Colours of the window system's own parts.
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBarBlue = RGB(0, 0, 132);      // navigation bar, captions
constexpr COLORREF kBarGrey = RGB(206, 206, 206);  // command bar
constexpr COLORREF kSelection = RGB(0, 0, 132);
constexpr COLORREF kErrorRed = RGB(206, 0, 0);

class SystemPaint {
  public:
    explicit SystemPaint(HWND hwnd);  // BeginPaint
    ~SystemPaint();                   // EndPaint
    SystemPaint(const SystemPaint&) = delete;
    SystemPaint& operator=(const SystemPaint&) = delete;

    HDC dc() const { return ps_.hdc; }
    const RECT& client() const { return client_; }

    void Fill(const RECT& r, COLORREF colour);   // FillRect with a solid brush
    void Frame(const RECT& r, COLORREF colour);  // a 1-pixel outline: Rectangle, null brush
    // DrawTextW in that colour over what is there; returns the height drawn.
    int Text(RECT r, std::wstring_view text, COLORREF colour, UINT format);
    // Copies width x height 0x00RRGGBB pixels (stride pixels a row) to x, y: BitBlt.
    void Picture(int x, int y, const std::uint32_t* pixels, int width, int height, int stride);

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    RECT client_;
};

// Measures in the device's font: one line's width, and the height of a line.
int TextWidth(std::wstring_view line);
int TextLineHeight();

}  // namespace user
