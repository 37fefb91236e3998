// Device context defaults, stock objects, selection and deletion.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "platform/gdi/internal/window_dc.h"
#include "tests/gdi/canvas.h"

using namespace gdi_test;

TEST(Objects, ADeviceContextStartsWithThePlatformDefaultsAndSelectReturnsWhatItReplaced) {
    Canvas c(6, 5, kRed);
    Rectangle(c.dc(), 0, 0, 5, 4);  // black pen, white brush
    EXPECT_EQ(c.Art(0, 0, 6, 5, {{kWhite, '#'}, {kRed, 'r'}}),
              ".....r\n"
              ".###.r\n"
              ".###.r\n"
              ".....r\n"
              "rrrrrr\n");
    // Black text on white, opaque.
    EXPECT_EQ(std::tuple(SetTextColor(c.dc(), kRed), SetBkColor(c.dc(), kRed),
                         SetBkMode(c.dc(), TRANSPARENT)),
              std::tuple(kBlack, kWhite, OPAQUE));
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HBRUSH brush = CreateSolidBrush(kRed);
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 3, 3);
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    HGDIOBJ first = SelectObject(dc, bitmap);
    gdi::BitmapInfo info;
    ASSERT_TRUE(gdi::GetBitmapInfo(static_cast<HBITMAP>(first), &info));
    // A fresh memory DC holds a 1 x 1 monochrome bitmap.
    EXPECT_EQ(std::tuple(info.width, info.bitsPerPixel), std::tuple(1, 1));
    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), pen);
    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_BRUSH)), brush);
    EXPECT_EQ(SelectObject(dc, first), bitmap);
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(Objects, DeleteRefusesSelectedObjectsAndDeadHandlesFail) {
    int before = gdi::LiveObjectCount();
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 2, kRed);
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 4, 4);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    EXPECT_EQ(gdi::LiveObjectCount(), before + 2);
    EXPECT_FALSE(DeleteObject(pen) || DeleteObject(bitmap));
    EXPECT_TRUE(Rectangle(dc, 0, 0, 4, 4));  // still usable
    // A bitmap goes into one DC at a time.
    HDC other = CreateCompatibleDC(dc);
    EXPECT_EQ(SelectObject(other, bitmap), nullptr);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    EXPECT_NE(SelectObject(other, bitmap), nullptr);
    EXPECT_TRUE(DeleteDC(other));  // deleting the DC lets its objects go
    EXPECT_TRUE(DeleteObject(pen) && DeleteObject(bitmap));
    EXPECT_EQ(gdi::LiveObjectCount(), before);
    // Handles of deleted objects name nothing (as the next test shows for every kind of object),
    // nor do they draw or make a brush.
    EXPECT_EQ(CreatePatternBrush(bitmap), nullptr);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(std::tuple(Rectangle(dc, 0, 0, 2, 2), SetPixel(dc, 0, 0, kRed)),
              std::tuple(FALSE, CLR_INVALID));
}

// Each object is made again at once after its deletion, so that the new one takes the old one's
// place (its memory, and its slot in the handle table): the old handle still names nothing.
TEST(Objects, AHandleStaysDeadWhenANewObjectTakesItsObjectsPlace) {
    const std::function<HGDIOBJ()> makers[] = {
        [] { return HGDIOBJ{CreatePen(PS_SOLID, 1, kRed)}; },
        [] { return HGDIOBJ{CreateSolidBrush(kRed)}; },
        [] { return HGDIOBJ{CreateCompatibleBitmap(nullptr, 2, 2)}; },
    };
    HDC dc = CreateCompatibleDC(nullptr);
    for (const auto& make : makers) {
        HGDIOBJ old = make();
        ASSERT_TRUE(DeleteObject(old));
        HGDIOBJ fresh = make();
        EXPECT_NE(fresh, old);
        EXPECT_EQ(std::tuple(SelectObject(dc, old), DeleteObject(old)), std::tuple(nullptr, FALSE));
        HGDIOBJ before = SelectObject(dc, fresh);  // the new object is untouched
        EXPECT_NE(before, nullptr);
        SelectObject(dc, before);
        EXPECT_TRUE(DeleteObject(fresh));
    }
    HDC gone = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(DeleteDC(gone));
    HDC fresh = CreateCompatibleDC(nullptr);
    EXPECT_NE(fresh, gone);
    EXPECT_EQ(std::tuple(SetTextColor(gone, kRed), DeleteDC(gone)), std::tuple(CLR_INVALID, FALSE));
    EXPECT_EQ(SetTextColor(fresh, kRed), kBlack);
    EXPECT_TRUE(DeleteDC(fresh));
    DeleteDC(dc);
}

// The handle table holds a bounded number of objects: past it, making one fails cleanly, and
// every handle given out still names its own object.
TEST(Objects, AFullHandleTableRefusesNewObjectsUntilOneIsDeleted) {
    std::vector<HPEN> pens;
    while (pens.size() < 100000)
        if (HPEN pen = CreatePen(PS_SOLID, 1, kRed))
            pens.push_back(pen);
        else
            break;
    EXPECT_LT(pens.size(), 100000u);
    EXPECT_EQ(std::tuple(CreateSolidBrush(kRed), CreateCompatibleDC(nullptr)),
              std::tuple(nullptr, nullptr));
    ASSERT_TRUE(DeleteObject(pens.back()));
    pens.pop_back();
    HBRUSH brush = CreateSolidBrush(kRed);
    EXPECT_NE(brush, nullptr);
    EXPECT_TRUE(DeleteObject(brush));
    std::size_t deleted = 0;
    for (HPEN pen : pens) deleted += DeleteObject(pen) == TRUE;
    EXPECT_EQ(deleted, pens.size());
}

TEST(Objects, StockObjectsAreNeverFreedAndBitmapsFollowTheDCOrTakeWordAlignedRows) {
    HGDIOBJ gray = GetStockObject(GRAY_BRUSH);
    ASSERT_NE(gray, nullptr);
    EXPECT_TRUE(DeleteObject(gray));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    Canvas c(3, 3);
    RECT r{0, 0, 3, 3};
    FillRect(c.dc(), &r, static_cast<HBRUSH>(gray));
    EXPECT_EQ(c.At(1, 1), RGB(128, 128, 128));
    EXPECT_EQ(GetStockObject(99), nullptr);
    EXPECT_EQ(GetStockObject(WHITE_PEN), GetStockObject(WHITE_PEN));
    auto depth = [](HBITMAP b) {
        gdi::BitmapInfo info{};
        return gdi::GetBitmapInfo(b, &info) ? info.bitsPerPixel : -1;
    };
    HDC fresh = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateCompatibleBitmap(fresh, 5, 2);
    HBITMAP colour = CreateCompatibleBitmap(nullptr, 5, 2);
    HGDIOBJ old = SelectObject(fresh, colour);
    HBITMAP again = CreateCompatibleBitmap(fresh, 5, 2);
    EXPECT_EQ(std::tuple(depth(mono), depth(colour), depth(again)), std::tuple(1, 32, 32));
    EXPECT_EQ(
        std::tuple(CreateCompatibleBitmap(nullptr, 0, 5), CreateCompatibleBitmap(nullptr, -3, 5)),
        std::tuple(nullptr, nullptr));
    SelectObject(fresh, old);
    for (HBITMAP b : {mono, colour, again}) EXPECT_TRUE(DeleteObject(b));
    DeleteDC(fresh);
    // 10 pixels a row: two bytes, first pixel in the high bit.
    const unsigned char bits[] = {0b10000000, 0b01000000, 0b00000000, 0b00000000};
    HBITMAP b = CreateBitmap(10, 2, 1, 1, bits);
    EXPECT_EQ(std::tuple(gdi::BitmapIndex(b, 0, 0), gdi::BitmapIndex(b, 1, 0),
                         gdi::BitmapIndex(b, 9, 0), gdi::BitmapIndex(b, 0, 1)),
              std::tuple(1, 0, 1, 0));
    EXPECT_EQ(CreateBitmap(4, 4, 1, 8, nullptr), nullptr);
    DeleteObject(b);
}
