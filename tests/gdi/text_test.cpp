// DrawTextW, measurement and the default font.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <tuple>

#include "platform/gdi/internal/font.h"
#include "tests/gdi/canvas.h"

using namespace gdi_test;

namespace {

constexpr COLORREF kBack = RGB(0, 0, 90);

// A red canvas with green text on a dark blue background.
using Box = std::array<int, 4>;

struct TextCanvas : Canvas {
    TextCanvas(int w, int h) : Canvas(w, h, kRed) {
        SetTextColor(dc(), kGreen);
        SetBkColor(dc(), kBack);
    }
    // The box of pixels not red: left, top, right, bottom (exclusive).
    Box Painted() const {
        Box box{width, height, -1, -1};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) != kRed)
                    box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1),
                           std::max(box[3], y + 1)};
        return box;
    }
};

int Height(HDC dc) {
    RECT r{0, 0, 0, 0};
    return DrawTextW(dc, L"A", -1, &r, DT_CALCRECT | DT_SINGLELINE);
}

int WidthOf(HDC dc, const wchar_t* text) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return r.right;
}

// Pixels of a text drawn into a rectangle with the given format, as art.
std::string Drawn(const wchar_t* text, RECT r, UINT format, int* height = nullptr) {
    TextCanvas c(240, 120);
    int h = DrawTextW(c.dc(), text, -1, &r, format);
    if (height) *height = h;
    return c.Art(0, 0, 120, 80, {{kGreen, 'g'}, {kBack, 'b'}}, kRed);
}

}  // namespace

TEST(Font, ElevenPixelsPerEmOnThirteenPixelLinesBaselineAtElevenAccentsAndNoGlyphTwice) {
    gdi::Font* font = gdi::Font::Default();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->PixelSize(), 11);
    EXPECT_EQ(font->Height(), font->Ascent() + font->Descent());
    struct stat st;
    if (::stat(gdi::kTahomaMetricFont, &st) == 0) {
        EXPECT_EQ(font->Path(), gdi::kTahomaMetricFont);
        // The face's Windows ascent and descent at 11 pixels a em, each rounded.
        EXPECT_EQ(std::tuple(font->Ascent(), font->Descent()), std::tuple(11, 2));
        TextCanvas c(40, 20);
        SetBkMode(c.dc(), TRANSPARENT);
        RECT r{0, 0, 40, 20};
        EXPECT_EQ(DrawTextW(c.dc(), L"H", -1, &r, 0), 13);
        // The capital sits on the baseline: its lowest ink is row 10, the row above row 11.
        int lowest = -1;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                if (c.At(x, y) == kGreen) lowest = y;
        EXPECT_EQ(lowest, 10);
    }
    // Without the first choice, fontconfig still finds a font file.
    std::string fallback = gdi::LocateFont("/nonexistent/font.ttf");
    EXPECT_FALSE(fallback.empty());
    EXPECT_EQ(::stat(fallback.c_str(), &st), 0);
    // French accents render, and repaints render no glyph twice.
    const std::pair<char32_t, char32_t> pairs[] = {{U'é', U'e'}, {U'è', U'e'}, {U'à', U'a'},
                                                   {U'ç', U'c'}, {U'ê', U'e'}, {U'ô', U'o'}};
    for (auto [accented, plain] : pairs) {
        const gdi::Glyph& a = font->Get(accented);
        const gdi::Glyph& p = font->Get(plain);
        int ink = 0;
        for (auto v : a.ink) ink += v;
        EXPECT_GT(ink, 0);
        // An accent above or a cedilla below: the glyph reaches beyond the plain letter.
        EXPECT_TRUE(a.top > p.top || a.rows - a.top > p.rows - p.top) << int(accented);
    }
    Canvas lines(240, 40);
    RECT all{0, 0, 240, 40};
    DrawTextW(lines.dc(), L"Utilisez faire et défaire pour\r\nvoir comment résoudre", -1, &all,
              DT_CENTER);
    int rendered = font->RenderCount();
    DrawTextW(lines.dc(), L"Utilisez faire et défaire pour\r\nvoir comment résoudre", -1, &all,
              DT_CENTER);
    EXPECT_EQ(font->RenderCount(), rendered);
}

TEST(DrawText, AlignmentPlacesEachLineByItsOwnWidth) {
    RECT r{10, 5, 111, 50};
    TextCanvas c(120, 60), right(120, 60), bottom(120, 60);
    const int h = Height(c.dc()), w = WidthOf(c.dc(), L"Undo"), centre = (10 + 111 - w) / 2;
    EXPECT_EQ(DrawTextW(c.dc(), L"Undo", -1, &r, DT_CENTER), h);
    EXPECT_EQ(c.Painted(), (Box{centre, 5, centre + w, 5 + h}));
    DrawTextW(right.dc(), L"Undo", -1, &r, DT_RIGHT);
    EXPECT_EQ(right.Painted(), (Box{111 - w, 5, 111, 5 + h}));
    EXPECT_EQ(DrawTextW(bottom.dc(), L"Undo", -1, &r, DT_CENTER | DT_BOTTOM | DT_SINGLELINE), h);
    EXPECT_EQ(bottom.Painted(), (Box{centre, 50 - h, centre + w, 50}));
}

TEST(DrawText, LineBreaksAndOnlyEachLinesOwnBoxGetsTheBackground) {
    TextCanvas c(100, 80);
    int h = Height(c.dc());
    RECT r{0, 0, 100, 80};
    EXPECT_EQ(DrawTextW(c.dc(), L"W\r\nWWW\nW\rWW", -1, &r, 0), 4 * h);
    int w = WidthOf(c.dc(), L"W");
    int widths[] = {w, 3 * w, w, 2 * w};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NE(c.At(0, k * h), kRed);
        EXPECT_NE(c.At(widths[k] - 1, k * h + h - 1), kRed);
        EXPECT_EQ(c.At(widths[k], k * h), kRed) << k;  // the rest of the rectangle is kept
    }
    EXPECT_EQ(c.At(0, 4 * h), kRed);
    // Single-line: one line, breaks ignored.
    TextCanvas s(100, 40);
    EXPECT_EQ(DrawTextW(s.dc(), L"W\r\nW", -1, &r, DT_SINGLELINE), h);
    EXPECT_EQ(s.Painted()[2], 2 * w);
    // Transparent mode paints no box.
    TextCanvas t(100, 40);
    SetBkMode(t.dc(), TRANSPARENT);
    DrawTextW(t.dc(), L"W", -1, &r, 0);
    EXPECT_EQ(std::tuple(t.Count(kBack), t.Count(kGreen) > 0), std::tuple(0, true));
}

TEST(DrawText, ClippedToTheRectangleAndStopsAfterTheLineThatPassesItsBottom) {
    TextCanvas c(100, 80);
    int h = Height(c.dc());
    RECT r{5, 5, 20, 5 + h + h / 2};
    EXPECT_EQ(DrawTextW(c.dc(), L"WWWWWW\r\nWWWWWW\r\nWWWWWW", -1, &r, 0), 2 * h);
    EXPECT_EQ(c.Painted(), (Box{5, 5, 20, static_cast<int>(r.bottom)}));
    TextCanvas n(100, 80);
    EXPECT_EQ(DrawTextW(n.dc(), L"W\r\nW\r\nW", -1, &r, DT_NOCLIP), 2 * h);
    EXPECT_EQ(n.Painted()[3], 5 + 2 * h);  // the third line is not drawn
    // Partly off the surface: the same pixels as on a larger one.
    TextCanvas small(30, 20), large(90, 60);
    RECT a{-12, -4, 60, 30}, b{18, 26, 90, 60};
    DrawTextW(small.dc(), L"Défaire", -1, &a, 0);
    DrawTextW(large.dc(), L"Défaire", -1, &b, 0);
    std::map<COLORREF, char> key = {{kGreen, 'g'}, {kBack, 'b'}};
    EXPECT_EQ(small.Art(0, 0, 30, 20, key, kRed), large.Art(30, 30, 60, 50, key, kRed));
}

TEST(DrawText, MeasuringPrefixesAndWordBreaks) {
    TextCanvas c(200, 80);
    int h = Height(c.dc());
    RECT calc{10, 10, 10, 10};
    EXPECT_EQ(DrawTextW(c.dc(), L"Options\r\nOK", -1, &calc, DT_CALCRECT), 2 * h);
    EXPECT_EQ(std::tuple(calc.right, calc.bottom),
              std::tuple(10 + WidthOf(c.dc(), L"Options"), 10 + 2 * h));
    EXPECT_EQ(c.Count(kRed), 200 * 80);  // measuring draws nothing
    RECT r{0, 0, 200, 40};
    DrawTextW(c.dc(), L"&Options", -1, &r, 0);
    EXPECT_EQ(c.Painted()[2], WidthOf(c.dc(), L"Options"));
    RECT plain{0, 40, 200, 80};
    DrawTextW(c.dc(), L"&Options", -1, &plain, DT_NOPREFIX);
    EXPECT_GT(c.Painted()[2], WidthOf(c.dc(), L"Options"));
    EXPECT_EQ(DrawTextW(c.dc(), L"", -1, &r, 0), 0);
}

// A memory DC to measure with.
class WordBreak : public testing::Test {
  protected:
    HDC dc = CreateCompatibleDC(nullptr);
    ~WordBreak() override { DeleteDC(dc); }
};

TEST_F(WordBreak, AWordThatWouldPassTheEdgeStartsTheNextLineWithoutTheBlanks) {
    int oneTwo = WidthOf(dc, L"one two"), h = Height(dc);
    // Room for "one two" and part of "three": "three" goes down whole; the blanks at the break
    // are dropped, however many there are.
    RECT r{3, 2, 3 + oneTwo + WidthOf(dc, L" thr"), 100};
    std::string expected = Drawn(L"one two\nthree", r, 0);
    int drawn = 0;
    EXPECT_EQ(Drawn(L"one two three", r, DT_WORDBREAK, &drawn), expected);
    EXPECT_EQ(drawn, 2 * h);
    EXPECT_EQ(Drawn(L"one two    three", r, DT_WORDBREAK), expected);
    // Exactly as wide as "one two": the break falls on the blank itself.
    RECT exact{3, 2, 3 + oneTwo, 100};
    EXPECT_EQ(Drawn(L"one two three", exact, DT_WORDBREAK), Drawn(L"one two\nthree", exact, 0));
    // Centred lines are centred by their width without the dropped blanks.
    EXPECT_EQ(Drawn(L"one two   three", r, DT_WORDBREAK | DT_CENTER),
              Drawn(L"one two\nthree", r, DT_CENTER));
    // Blanks that start a line of the text are kept.
    EXPECT_EQ(Drawn(L"  one two three", r, DT_WORDBREAK), Drawn(L"  one two\nthree", r, 0));
}

TEST_F(WordBreak, AWordWiderThanTheLineBreaksAfterItsLastCharacterThatFits) {
    // Letters of one width: four fit, the fifth would pass the edge by one pixel.
    ASSERT_EQ(WidthOf(dc, L"nnnn"), 4 * WidthOf(dc, L"n"));
    RECT r{0, 0, WidthOf(dc, L"nnnnn") - 1, 120};
    int drawn = 0;
    EXPECT_EQ(Drawn(L"nnnnnnnnnu", r, DT_WORDBREAK, &drawn), Drawn(L"nnnn\nnnnn\nnu", r, 0));
    EXPECT_EQ(drawn, 3 * Height(dc));
    // A short word before it still ends its own line first.
    EXPECT_EQ(Drawn(L"ab nnnnnnnnnu", r, DT_WORDBREAK), Drawn(L"ab\nnnnn\nnnnn\nnu", r, 0));
    // Narrower than any character: one character a line, never none.
    RECT thin{0, 0, 1, 120};
    EXPECT_EQ(Drawn(L"abc", thin, DT_WORDBREAK, &drawn), Drawn(L"a\nb\nc", thin, 0));
}

TEST_F(WordBreak, BreaksInTheTextAreKeptAndMeasuringGivesTheLines) {
    int h = Height(dc);
    RECT r{0, 0, WidthOf(dc, L"two three") - 1, 120};
    // CR LF, LF and CR each end a line; two in a row leave an empty line.
    EXPECT_EQ(Drawn(L"one\r\n\r\ntwo three\rfour\nfive", r, DT_WORDBREAK),
              Drawn(L"one\n\ntwo\nthree\nfour\nfive", r, 0));
    RECT calc = r;
    EXPECT_EQ(DrawTextW(dc, L"one\r\n\r\ntwo three", -1, &calc, DT_CALCRECT | DT_WORDBREAK), 4 * h);
    EXPECT_EQ(std::tuple(calc.right, calc.bottom), std::tuple(r.right, 4 * h));  // the width given
    // Single-line text does not wrap.
    EXPECT_EQ(Drawn(L"one two three", r, DT_WORDBREAK | DT_SINGLELINE),
              Drawn(L"one two three", r, DT_SINGLELINE));
}
