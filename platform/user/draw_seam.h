// The few drawing operations the window system needs for its own windows (navigation bar,
// command bar, menus, boxes, dialogs and controls) and for a paint's device context. Everything
// is in screen coordinates and clipped to a region.
#pragma once

#include <string_view>

#include "platform/user/region.h"
#include "platform/user/user_types.h"

namespace user::seam {

// Colours of the window system's own parts.
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBarBlue = RGB(0, 0, 132);      // navigation bar
constexpr COLORREF kBarGrey = RGB(206, 206, 206);  // command bar
constexpr COLORREF kSelection = RGB(0, 0, 132);
constexpr COLORREF kErrorRed = RGB(206, 0, 0);

void Fill(const Region& clip, const RECT& rect, COLORREF colour);
void Frame(const Region& clip, const RECT& rect, COLORREF colour);  // 1-pixel outline
// Copies a w x h block of 0x00RRGGBB pixels (one row after another, stride pixels per row) to x, y.
void Blit(const Region& clip, int x, int y, const std::uint32_t* pixels, int w, int h, int stride);

// Text: one line per CR LF, LF or CR; align 0 left, 1 centre, 2 right. Returns lines drawn.
constexpr UINT kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2;
int Text(const Region& clip, const RECT& rect, std::wstring_view text, COLORREF colour, UINT align);
int TextLineHeight();
int TextWidth(std::wstring_view line);
int TextLineCount(std::wstring_view text);

}  // namespace user::seam
