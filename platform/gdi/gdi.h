// The handheld's drawing calls, with the platform's names, values and pixel rules: device
// contexts, bitmaps of 1, 4, 8 and 32 bits per pixel, pens, brushes, shapes, blits and text.
// A handle names one of the drawing layer's own objects for as long as that object lives, and
// nothing ever after, not even a new object made where the old one was; a handle that names no
// live object makes a call fail (it returns FALSE, NULL or CLR_INVALID), as the platform's
// calls do.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

// The handles' types. A handle is a number in the drawing layer's handle table
// (platform/gdi/internal/objects.h), never the address of anything: no object of these types
// exists. The shells only let a bitmap, pen or brush handle pass where HGDIOBJ is asked for.
struct GdiObject {
  protected:
    GdiObject() = default;
    ~GdiObject() = default;
};
struct BitmapObject : GdiObject {};
struct PenObject : GdiObject {};
struct BrushObject : GdiObject {};

using HGDIOBJ = GdiObject*;
using HBITMAP = BitmapObject*;
using HPEN = PenObject*;
using HBRUSH = BrushObject*;

// Device contexts are not selectable objects; the window system hands out ones of its own
// windows through the same type.
struct DeviceContextObject;
using HDC = DeviceContextObject*;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Stock objects: static, never freed; DeleteObject on one does nothing.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// Raster operations of the blits.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;  // destination OR source
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// DrawTextW formats.
constexpr UINT DT_TOP = 0x00;
constexpr UINT DT_LEFT = 0x00;
constexpr UINT DT_CENTER = 0x01;
constexpr UINT DT_RIGHT = 0x02;
constexpr UINT DT_VCENTER = 0x04;  // with DT_SINGLELINE
constexpr UINT DT_BOTTOM = 0x08;   // with DT_SINGLELINE
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;

// Objects.
HDC CreateCompatibleDC(HDC dc);  // a memory DC holding a 1 x 1 monochrome bitmap; dc may be null
BOOL DeleteDC(HDC dc);
// A bitmap of the format of what dc draws on: the screen's 32 bits for a window DC or a null dc,
// the format of the selected bitmap for a memory DC (so a fresh memory DC gives monochrome).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// bits, when given, are rows of 16-bit aligned packed pixels (1 bit, first pixel in the high bit)
// or of 0x00RRGGBB words (32 bits). Other depths come from resources.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HGDIOBJ GetStockObject(int object);
HPEN CreatePen(int style, int width, COLORREF colour);  // width 0 draws one pixel wide
HBRUSH CreateSolidBrush(COLORREF colour);
HBRUSH CreatePatternBrush(HBITMAP bitmap);  // copies the bitmap; it may be deleted after
// Returns the object of that kind it replaced, or null when it refuses (a bitmap into a window
// DC, or one already selected into another DC).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// FALSE while the object is selected into a device context: deselect it first.
BOOL DeleteObject(HGDIOBJ object);
// name: MAKEINTRESOURCEW(id) of a bitmap in the program's own resource table (resources.h).
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);

// State of a device context.
COLORREF SetTextColor(HDC dc, COLORREF colour);  // each returns the previous value
COLORREF SetBkColor(HDC dc, COLORREF colour);
int SetBkMode(HDC dc, int mode);

// Drawing. Rectangles are left, top, right, bottom with right and bottom exclusive.
// PatBlt: BLACKNESS or WHITENESS. BitBlt: SRCCOPY or SRCPAINT. StretchBlt: the same; shrinking
// ANDs the source pixels that fall on one destination pixel (the BLACKONWHITE mode).
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy,
                int sourceWidth, int sourceHeight, DWORD rop);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL Polygon(HDC dc, const POINT* points, int count);  // filled by the alternate rule
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);  // CLR_INVALID when clipped
COLORREF GetPixel(HDC dc, int x, int y);

// Text in the device's default font. count −1: up to the terminating zero. Returns the height
// drawn; with DT_CALCRECT it sets rect's right and bottom to the text's extent and draws nothing.
int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format);

namespace gdi {

// Surfaces keep pixels as the word 0x00RRGGBB; a COLORREF is 0x00BBGGRR. The one conversion
// between them, for the drawing layer and for whoever hands its pixels on.
constexpr std::uint32_t ToPixel(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF ToColorRef(std::uint32_t p) {
    return ToPixel(p);  // the same swap
}

}  // namespace gdi
