// PatBlt, BitBlt, StretchBlt, pattern brushes and window device contexts.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/internal/window_dc.h"
#include "tests/gdi/canvas.h"

using namespace gdi_test;

namespace {

const std::map<COLORREF, char> kKey = {{kWhite, '#'}, {kRed, 'r'}, {kPurple, 'p'}, {kBlue, 'b'}};

// A memory DC holding a bitmap for one scope.
struct Holder {
    HDC dc;
    HGDIOBJ old;
    explicit Holder(HBITMAP b) : dc(CreateCompatibleDC(nullptr)), old(SelectObject(dc, b)) {}
    ~Holder() {
        SelectObject(dc, old);
        DeleteDC(dc);
    }
};

}  // namespace

TEST(PatBlt, BlacknessWritesZeroWhitenessAllBits) {
    Canvas c(6, 4, kRed);
    PatBlt(c.dc(), 1, 1, 2, 2, BLACKNESS);
    PatBlt(c.dc(), 5, 3, -2, -2, WHITENESS);  // put in order: x 3..4, y 1..2
    EXPECT_EQ(c.Art(0, 0, 6, 4, kKey, kBlack),
              "rrrrrr\n"
              "r..##r\n"
              "r..##r\n"
              "rrrrrr\n");
    EXPECT_EQ(gdi::BitmapPixel(c.bitmap(), 3, 1), 0x00FFFFFFu);
    // On a 4-bit bitmap: palette index 0 and 15.
    HBITMAP waves = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9002));
    {
        Holder h(waves);
        PatBlt(h.dc, 0, 0, 2, 1, WHITENESS);
        PatBlt(h.dc, 0, 1, 2, 1, BLACKNESS);
    }
    EXPECT_EQ(gdi::BitmapIndex(waves, 1, 0), 15);
    EXPECT_EQ(gdi::BitmapIndex(waves, 1, 1), 0);
    EXPECT_EQ(gdi::BitmapIndex(waves, 3, 1), 1);  // untouched
    DeleteObject(waves);
}

TEST(FillRect, PatternsTileFromTheOriginOfTheSurfaceOrWindowAndMonochromeOnesTakeTheTextColours) {
    // Pattern pixel (px, py) of picture 9004 holds the value py * 4 + px + 1.
    HBITMAP tiles = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9004));
    HBRUSH brush = CreatePatternBrush(tiles);
    DeleteObject(tiles);  // the brush keeps its own copy
    auto expected = [](int x, int y) {
        int px = ((x % 4) + 4) % 4, py = ((y % 4) + 4) % 4;
        return static_cast<COLORREF>((py * 4 + px + 1) << 16);  // blue channel of the COLORREF
    };
    Canvas c(16, 16);
    RECT r{5, 6, 12, 11};
    EXPECT_TRUE(FillRect(c.dc(), &r, brush));
    for (int y = 6; y < 11; ++y)
        for (int x = 5; x < 12; ++x) EXPECT_EQ(c.At(x, y), expected(x, y)) << x << "," << y;
    EXPECT_EQ(c.At(12, 6), kBlack);
    EXPECT_EQ(c.At(11, 11), kBlack);
    // Through a window DC the pattern starts at the window's own origin.
    Canvas screen(12, 12);
    HDC window = gdi::CreateWindowDC(screen.bitmap());
    gdi::SetWindowDCOrigin(window, POINT{3, 5});
    RECT w{0, 0, 4, 4};
    FillRect(window, &w, brush);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(screen.At(3 + x, 5 + y), expected(x, y)) << x << "," << y;
    DeleteDC(window);
    EXPECT_TRUE(DeleteObject(brush));
    HBITMAP arrow = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9001));
    HBRUSH arrowBrush = CreatePatternBrush(arrow);
    Canvas mono(6, 4);
    SetTextColor(mono.dc(), kPurple);
    SetBkColor(mono.dc(), kBlue);
    RECT all{0, 0, 6, 4};
    FillRect(mono.dc(), &all, arrowBrush);
    EXPECT_EQ(mono.Art(0, 0, 6, 4, kKey),
              "bbpbbb\n"
              "bpppbb\n"
              "pppppb\n"
              "bbpbbp\n");
    DeleteObject(arrowBrush);
    DeleteObject(arrow);
}

TEST(BitBlt, BetweenMonochromeAndColourWithinOneBitmapSrcPaintAndBadArguments) {
    HBITMAP arrow = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9001));
    auto* src = new Holder(arrow);
    Canvas c(12, 6, kRed);
    SetTextColor(c.dc(), kPurple);
    SetBkColor(c.dc(), kBlack);
    // 10 wide from a 6-wide bitmap, starting one row above it: only the source's pixels land.
    EXPECT_TRUE(BitBlt(c.dc(), 1, 0, 10, 6, src->dc, 0, -1, SRCCOPY));
    EXPECT_EQ(c.Art(0, 0, 12, 6, kKey, kBlack),
              "rrrrrrrrrrrr\n"
              "r..p...rrrrr\n"
              "r.ppp..rrrrr\n"
              "rppppp.rrrrr\n"
              "r..p..prrrrr\n"
              "rrrrrrrrrrrr\n");
    EXPECT_FALSE(DeleteObject(arrow));  // still selected
    delete src;
    EXPECT_TRUE(DeleteObject(arrow));
    Canvas colour(4, 3, kRed);
    SetPixel(colour.dc(), 1, 1, kBlue);
    SetBkColor(colour.dc(), kRed);  // the source's background colour becomes white
    HBITMAP mono = CreateBitmap(4, 3, 1, 1, nullptr);
    {
        Holder m(mono);
        BitBlt(m.dc, 0, 0, 4, 3, colour.dc(), 0, 0, SRCCOPY);
    }
    EXPECT_EQ(gdi::BitmapIndex(mono, 0, 0), 1);
    EXPECT_EQ(gdi::BitmapIndex(mono, 1, 1), 0);
    DeleteObject(mono);

    Canvas s(5, 5);
    for (int i = 0; i < 5; ++i) SetPixel(s.dc(), i, i, kWhite);
    BitBlt(s.dc(), 1, 0, 4, 5, s.dc(), 0, 0, SRCCOPY);  // overlapping: reads the old pixels
    EXPECT_EQ(s.Art(0, 0, 5, 5, kKey),
              "##...\n"
              "..#..\n"
              "...#.\n"
              "....#\n"
              ".....\n");
    Canvas a(2, 1, RGB(0x10, 0x20, 0x30)), b(2, 1, RGB(0x01, 0x02, 0x04));
    EXPECT_TRUE(BitBlt(a.dc(), 0, 0, 2, 1, b.dc(), 0, 0, SRCPAINT));
    EXPECT_EQ(a.At(1, 0), RGB(0x11, 0x22, 0x34));
    EXPECT_FALSE(BitBlt(a.dc(), 0, 0, 2, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(a.dc(), 0, 0, 2, 1, b.dc(), 0, 0, 0x00123456));
}

namespace {

// One row of a 32-bit source stretched to a row of `width`, in the given mode and operation.
std::vector<COLORREF> StretchRow(std::vector<COLORREF> source, int width, DWORD rop = SRCCOPY,
                                 COLORREF ground = kBlack) {
    int n = static_cast<int>(source.size());
    Canvas src(n, 1), dst(width, 1, ground);
    for (int i = 0; i < n; ++i) SetPixel(src.dc(), i, 0, source[i]);
    EXPECT_TRUE(StretchBlt(dst.dc(), 0, 0, width, 1, src.dc(), 0, 0, n, 1, rop));
    std::vector<COLORREF> out;
    for (int i = 0; i < width; ++i) out.push_back(dst.At(i, 0));
    return out;
}

constexpr COLORREF k0 = RGB(255, 128, 0), k1 = RGB(15, 255, 255), k2 = RGB(1, 2, 3),
                   k3 = RGB(40, 50, 60);

}  // namespace

TEST(StretchBlt, EnlargingTakesThePixelUnderTheCentreShrinkingAndsThemAndClips) {
    EXPECT_EQ(StretchRow({k0, k1}, 3), (std::vector<COLORREF>{k0, k0, k1}));
    EXPECT_EQ(StretchRow({k0, k1, k2}, 4), (std::vector<COLORREF>{k0, k1, k1, k2}));
    // Both axes: a 2 x 2 source onto 3 x 3.
    Canvas src(2, 2), dst(3, 3);
    SetPixel(src.dc(), 1, 1, kWhite);
    StretchBlt(dst.dc(), 0, 0, 3, 3, src.dc(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(dst.Art(0, 0, 3, 3, kKey), "...\n...\n..#\n");
    // Shrinking ANDs the source pixels of one destination pixel.
    EXPECT_EQ(StretchRow({k0, k1, k2}, 2), (std::vector<COLORREF>{k0 & k1, k2}));
    EXPECT_EQ(StretchRow({k0, k1, k2, k3}, 1), (std::vector<COLORREF>{k0 & k1 & k2 & k3}));
    // SRCPAINT ORs the shrunk and the enlarged source into what is there.
    COLORREF ground = RGB(0x80, 0, 0x80);
    EXPECT_EQ(StretchRow({k0, k1, k2}, 2, SRCPAINT, ground),
              (std::vector<COLORREF>{(k0 & k1) | ground, k2 | ground}));
    EXPECT_EQ(StretchRow({k0, k1}, 3, SRCPAINT, ground),
              (std::vector<COLORREF>{k0 | ground, k0 | ground, k1 | ground}));
    HBITMAP glow = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9003));
    Canvas small(10, 10), large(40, 40);
    {
        Holder g(glow);
        StretchBlt(small.dc(), -5, -3, 13, 11, g.dc, 0, 0, 4, 4, SRCPAINT);
        StretchBlt(large.dc(), 15, 17, 13, 11, g.dc, 0, 0, 4, 4, SRCPAINT);
    }
    std::map<COLORREF, char> key = {{RGB(0, 0, 255), 'o'}, {RGB(128, 128, 255), 'O'}};
    EXPECT_EQ(small.Art(0, 0, 10, 10, key), large.Art(20, 20, 30, 30, key));
    EXPECT_NE(small.Count(RGB(128, 128, 255)), 0);
    EXPECT_TRUE(DeleteObject(glow));
}

namespace {

// A palette picture and its copy on a 32-bit canvas: the two must draw the same pixels, since
// palette sources take quicker paths of their own.
struct PaletteAndCopy {
    HBITMAP picture;
    int width, height;
    Holder* source;
    Canvas* copy;
    explicit PaletteAndCopy(int id) : picture(LoadBitmapW(nullptr, MAKEINTRESOURCEW(id))) {
        gdi::BitmapInfo info;
        gdi::GetBitmapInfo(picture, &info);
        width = info.width;
        height = info.height;
        source = new Holder(picture);
        copy = new Canvas(width, height);
        BitBlt(copy->dc(), 0, 0, width, height, source->dc, 0, 0, SRCCOPY);
    }
    ~PaletteAndCopy() {
        delete copy;
        delete source;
        DeleteObject(picture);
    }
};

std::string Pixels(const Canvas& c) {
    std::string out;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            out += std::to_string(c.At(x, y)) + (x + 1 < c.width ? " " : "\n");
    return out;
}

}  // namespace

TEST(PaletteSources, StretchAndTileAsTheirTrueColourCopies) {
    const COLORREF ground = RGB(0x80, 0x40, 0xC1);
    struct Size {
        int x, y, w, h;
    };
    const Size places[] = {{0, 0, 1, 1},  {1, 2, 2, 3},     {0, 0, 3, 2}, {2, 1, 7, 5},
                           {0, 3, 13, 1}, {-3, -2, 13, 11}, {4, 4, 9, 2}};
    for (int id : {9003, 9002}) {
        PaletteAndCopy p(id);
        ASSERT_GT(p.width, 2);
        const Size sources[] = {
            {0, 0, p.width, p.height}, {1, 0, p.width - 1, p.height}, {0, 1, 2, p.height - 1}};
        for (DWORD rop : {SRCCOPY, SRCPAINT})
            for (const Size& to : places)
                for (const Size& from : sources) {
                    Canvas a(12, 12, ground), b(12, 12, ground);
                    StretchBlt(a.dc(), to.x, to.y, to.w, to.h, p.source->dc, from.x, from.y, from.w,
                               from.h, rop);
                    StretchBlt(b.dc(), to.x, to.y, to.w, to.h, p.copy->dc(), from.x, from.y, from.w,
                               from.h, rop);
                    ASSERT_EQ(Pixels(a), Pixels(b))
                        << "picture " << id << " rop " << rop << " to " << to.w << "x" << to.h
                        << " from " << from.w << "x" << from.h;
                }
    }
    PaletteAndCopy waves(9002);  // 5 x 3: runs start at every phase of the tile
    HBRUSH fromPalette = CreatePatternBrush(waves.picture);
    HBRUSH fromCopy = CreatePatternBrush(waves.copy->bitmap());
    for (int start = 0; start < 5; ++start) {
        Canvas a(17, 9), b(17, 9);
        RECT block{3 + start, 2 + start / 2, 16, 8}, column{start, 0, start + 1, 9};
        FillRect(a.dc(), &block, fromPalette);
        FillRect(b.dc(), &block, fromCopy);
        FillRect(a.dc(), &column, fromPalette);
        FillRect(b.dc(), &column, fromCopy);
        EXPECT_EQ(Pixels(a), Pixels(b)) << "starting at " << start;
        EXPECT_NE(a.At(block.left, block.top), kBlack);
    }
    DeleteObject(fromPalette);
    DeleteObject(fromCopy);
}

TEST(WindowDC, OriginAndARegionOfRectangles) {
    Canvas screen(20, 12);
    HDC window = gdi::CreateWindowDC(screen.bitmap());
    ASSERT_NE(window, nullptr);
    gdi::SetWindowDCOrigin(window, POINT{4, 2});
    RECT region[] = {{4, 2, 8, 5}, {12, 7, 16, 10}};
    gdi::SetWindowDCClip(window, region, 2);
    PatBlt(window, 0, 0, 20, 20, WHITENESS);
    EXPECT_EQ(screen.Art(0, 0, 20, 12, kKey),
              "....................\n"
              "....................\n"
              "....####............\n"
              "....####............\n"
              "....####............\n"
              "....................\n"
              "....................\n"
              "............####....\n"
              "............####....\n"
              "............####....\n"
              "....................\n"
              "....................\n");
    EXPECT_EQ(SetPixel(window, 5, 3, kRed), CLR_INVALID);  // in the bounding box, not the region
    EXPECT_EQ(SetPixel(window, 9, 6, kRed), kRed);
    EXPECT_EQ(screen.At(13, 8), kRed);
    // A bitmap cannot go into a window DC, and the surface cannot go while a window DC uses it.
    HBITMAP other = CreateCompatibleBitmap(window, 2, 2);
    EXPECT_EQ(SelectObject(window, other), nullptr);
    EXPECT_FALSE(DeleteObject(screen.bitmap()));
    gdi::SetWindowDCClip(window, nullptr, 0);
    EXPECT_EQ(SetPixel(window, 9, 6, kBlue), CLR_INVALID);
    DeleteObject(other);
    EXPECT_TRUE(DeleteDC(window));
}
