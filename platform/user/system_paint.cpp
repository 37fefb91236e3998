#include "platform/user/internal/system_paint.h"

#include <string>
#include <vector>

#include "platform/user/paint.h"
#include "platform/user/window_api.h"

namespace user {

SystemPaint::SystemPaint(HWND hwnd) : hwnd_(hwnd), ps_{}, client_{0, 0, 0, 0} {
    BeginPaint(hwnd, &ps_);
    GetClientRect(hwnd, &client_);
}

SystemPaint::~SystemPaint() {
    EndPaint(hwnd_, &ps_);
}

void SystemPaint::Fill(const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc(), &r, brush);
    DeleteObject(brush);
}

void SystemPaint::Frame(const RECT& r, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldPen = SelectObject(dc(), pen);
    HGDIOBJ oldBrush = SelectObject(dc(), GetStockObject(NULL_BRUSH));
    Rectangle(dc(), r.left, r.top, r.right, r.bottom);
    SelectObject(dc(), oldBrush);
    SelectObject(dc(), oldPen);
    DeleteObject(pen);
}

int SystemPaint::Text(RECT r, std::wstring_view text, COLORREF colour, UINT format) {
    SetTextColor(dc(), colour);
    SetBkMode(dc(), TRANSPARENT);
    std::wstring s(text);
    return DrawTextW(dc(), s.c_str(), static_cast<int>(s.size()), &r, format | DT_NOPREFIX);
}

void SystemPaint::Picture(int x, int y, const std::uint32_t* pixels, int width, int height,
                          int stride) {
    if (width <= 0 || height <= 0) return;
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(width) * height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            rows[static_cast<std::size_t>(row) * width + col] = pixels[row * stride + col];
    HBITMAP bitmap = CreateBitmap(width, height, 1, 32, rows.data());
    HDC source = CreateCompatibleDC(dc());
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(dc(), x, y, width, height, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
}

namespace {

RECT Measure(std::wstring_view text) {
    RECT r{0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    std::wstring s(text.empty() ? std::wstring_view(L"A") : text);
    DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    DeleteDC(dc);
    if (text.empty()) r.right = 0;
    return r;
}

}  // namespace

int TextWidth(std::wstring_view line) {
    return Measure(line).right;
}

int TextLineHeight() {
    static const int height = Measure(L"").bottom;
    return height;
}

}  // namespace user
