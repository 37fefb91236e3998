// gdi_primitive_sheet [OUT.png]: draws every primitive of the drawing layer on one 240 x 320
// surface and writes it three times enlarged (default docs/gdi-primitives.png), to look at.
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/internal/png.h"
#include "platform/gdi/internal/window_dc.h"

namespace {

void Label(HDC dc, int x, int y, const wchar_t* text) {
    RECT r{x, y, x + 120, y + 15};
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 96));
    DrawTextW(dc, text, -1, &r, 0);
}

}  // namespace

int main(int argc, char** argv) {
    std::string out = argc > 1 ? argv[1] : "docs/gdi-primitives.png";
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP surface = CreateCompatibleBitmap(nullptr, 240, 320);
    HGDIOBJ oldBitmap = SelectObject(dc, surface);
    PatBlt(dc, 0, 0, 240, 320, BLACKNESS);

    // Rectangles: pen and brush, null brush, null pen, one colour for both.
    Label(dc, 0, 0, L"Rectangle");
    HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HBRUSH pink = CreateSolidBrush(RGB(255, 200, 255));
    HGDIOBJ oldPen = SelectObject(dc, white);
    HGDIOBJ oldBrush = SelectObject(dc, pink);
    Rectangle(dc, 2, 16, 22, 36);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 26, 16, 46, 36);
    SelectObject(dc, pink);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 50, 16, 70, 36);
    HPEN thick = CreatePen(PS_SOLID, 3, RGB(0, 200, 255));
    SelectObject(dc, thick);
    Rectangle(dc, 76, 18, 96, 34);

    // Ellipses: the worked sizes and the face of a solved position.
    Label(dc, 120, 0, L"Ellipse");
    SelectObject(dc, white);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, 122, 18, 127, 23);
    Ellipse(dc, 130, 18, 136, 24);
    Ellipse(dc, 140, 18, 148, 23);
    HPEN dark = CreatePen(PS_SOLID, 1, RGB(50, 0, 50));
    HBRUSH face = CreateSolidBrush(RGB(255, 100, 255));
    SelectObject(dc, dark);
    SelectObject(dc, face);
    Ellipse(dc, 160, 16, 174, 30);
    POINT leftEye[] = {{164, 20}, {165, 21}};
    POINT rightEye[] = {{169, 20}, {168, 21}};
    POINT mouth[] = {{164, 25}, {165, 26}, {168, 26}, {169, 25}, {170, 24}};
    Polyline(dc, leftEye, 2);
    Polyline(dc, rightEye, 2);
    Polyline(dc, mouth, 5);
    SelectObject(dc, thick);
    Ellipse(dc, 182, 16, 236, 36);

    // Lines: the worked segments, a fan, an open ring.
    Label(dc, 0, 40, L"Polyline");
    SelectObject(dc, white);
    for (int i = 0; i < 16; ++i) {
        double a = i * 3.14159265 / 8;
        POINT fan[] = {{30, 80},
                       {30 + static_cast<LONG>(std::lround(24 * std::cos(a))),
                        80 + static_cast<LONG>(std::lround(24 * std::sin(a)))}};
        Polyline(dc, fan, 2);
    }
    HPEN purple = CreatePen(PS_SOLID, 1, RGB(150, 30, 190));
    SelectObject(dc, purple);
    POINT ring[90];
    for (int i = 0; i < 90; ++i) {
        double a = 2 * i * 3.1415 / 90;
        ring[i] = {85 + static_cast<LONG>(std::sin(a) * 30),
                   80 + static_cast<LONG>(std::cos(a) * -12)};
    }
    Polyline(dc, ring, 90);

    // Polygons: a filled triangle, a band filled with a pattern brush.
    Label(dc, 120, 40, L"Polygon");
    HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
    SelectObject(dc, white);
    SelectObject(dc, green);
    POINT triangle[] = {{125, 60}, {155, 70}, {130, 95}};
    Polygon(dc, triangle, 3);
    HBITMAP waves = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9002));
    HBRUSH texture = CreatePatternBrush(waves);
    SelectObject(dc, texture);
    SelectObject(dc, purple);
    POINT band[] = {{160, 60}, {235, 58}, {230, 98}, {200, 85}, {165, 96}};
    Polygon(dc, band, 5);
    SelectObject(dc, GetStockObject(GRAY_BRUSH));
    DeleteObject(texture);
    DeleteObject(waves);

    // Blits: PatBlt, FillRect, a monochrome glyph in the text colours, a glow stretched with
    // SRCPAINT.
    Label(dc, 0, 104, L"PatBlt BitBlt");
    PatBlt(dc, 2, 120, 20, 20, WHITENESS);
    PatBlt(dc, 6, 124, 12, 12, BLACKNESS);
    RECT block{24, 120, 44, 140};
    FillRect(dc, &block, green);
    HDC scratch = CreateCompatibleDC(dc);
    HBITMAP glyph = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9001));
    HGDIOBJ oldScratch = SelectObject(scratch, glyph);
    SetTextColor(dc, RGB(200, 0, 200));
    SetBkColor(dc, RGB(0, 0, 60));
    BitBlt(dc, 50, 122, 10, 4, scratch, 0, 0, SRCCOPY);  // runs past the glyph's width
    StretchBlt(dc, 64, 120, 24, 16, scratch, 0, 0, 6, 4, SRCCOPY);
    SelectObject(scratch, oldScratch);
    DeleteObject(glyph);
    Label(dc, 120, 104, L"StretchBlt");
    HBITMAP glow = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9003));
    SelectObject(scratch, glow);
    PatBlt(dc, 122, 120, 60, 30, WHITENESS);
    RECT ground{122, 120, 232, 150};
    FillRect(dc, &ground, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    StretchBlt(dc, 124, 122, 26, 26, scratch, 0, 0, 4, 4, SRCPAINT);
    StretchBlt(dc, 154, 122, 3, 3, scratch, 0, 0, 4, 4, SRCPAINT);
    StretchBlt(dc, 160, 122, 70, 20, scratch, 0, 0, 4, 4, SRCCOPY);
    SelectObject(scratch, oldScratch);
    DeleteObject(glow);
    DeleteDC(scratch);

    // Pixels: a few stars.
    for (int i = 0; i < 40; ++i)
        SetPixel(dc, (i * 53) % 236 + 2, 152 + (i * 29) % 14, RGB(151, 147, 167));

    // Text: the aligned formats, line breaks, accents, overlapping opaque backgrounds.
    Label(dc, 0, 170, L"DrawTextW");
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(0, 0, 255));
    RECT title{0, 186, 200, 201};
    DrawTextW(dc, L"Game 12 (24 / 1:05.3) long title", -1, &title, 0);
    SetTextColor(dc, RGB(0, 255, 0));
    RECT status{150, 186, 240, 201};
    DrawTextW(dc, L"37 / 2:14", -1, &status, DT_RIGHT);
    RECT hint{0, 204, 240, 244};
    DrawTextW(dc, L"Déplacez le carré pour pousser\r\nle rouge dans le bleu.", -1, &hint,
              DT_CENTER);
    SetTextColor(dc, RGB(200, 0, 200));
    RECT button{0, 244, 70, 284};
    SelectObject(dc, GetStockObject(WHITE_PEN));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 244, 70, 286);
    DrawTextW(dc, L"Défaire", -1, &button, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    RECT accents{75, 250, 240, 270};
    SetBkColor(dc, RGB(60, 60, 0));
    DrawTextW(dc, L"é è à ç ê ô É À &Options", -1, &accents, 0);

    // A window DC: origin (120, 284), clipped to two rectangles of a region.
    HDC window = gdi::CreateWindowDC(surface);
    gdi::SetWindowDCOrigin(window, POINT{120, 284});
    RECT region[] = {{120, 286, 180, 300}, {190, 300, 240, 320}};
    gdi::SetWindowDCClip(window, region, 2);
    RECT all{0, 0, 120, 36};
    FillRect(window, &all, green);
    DeleteDC(window);

    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    for (HGDIOBJ o : {HGDIOBJ(white), HGDIOBJ(pink), HGDIOBJ(thick), HGDIOBJ(dark), HGDIOBJ(face),
                      HGDIOBJ(purple), HGDIOBJ(green)})
        DeleteObject(o);

    // Three times enlarged, to see single pixels.
    HDC big = CreateCompatibleDC(nullptr);
    HBITMAP bigSurface = CreateCompatibleBitmap(nullptr, 720, 960);
    HGDIOBJ oldBig = SelectObject(big, bigSurface);
    StretchBlt(big, 0, 0, 720, 960, dc, 0, 0, 240, 320, SRCCOPY);
    bool ok = gdi::WritePng(bigSurface, out);
    SelectObject(big, oldBig);
    DeleteObject(bigSurface);
    DeleteDC(big);
    SelectObject(dc, oldBitmap);
    DeleteObject(surface);
    DeleteDC(dc);
    if (!ok) std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return ok ? 0 : 1;
}
