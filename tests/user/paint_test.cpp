// Invalid regions as sets of rectangles, paints clipped to them, and what closing windows uncover.
#include "platform/user/internal/region.h"
#include "platform/user/message_box.h"
#include "tests/user/test_window.h"

namespace testing_user {
namespace {

using PaintTest = WindowTest;
using user::Region;

TEST(RegionTest, KeepsDisjointRectanglesApartAndSubtractsExactly) {
    Region r(RECT{0, 0, 10, 10});
    r.Union(RECT{20, 20, 30, 30});
    EXPECT_EQ(r.Rects().size(), 2u);
    EXPECT_TRUE(r.Contains(9, 9));
    EXPECT_FALSE(r.Contains(15, 15));  // inside the bounding box, outside the set
    EXPECT_FALSE(r.Contains(10, 0));   // right edges are exclusive
    r.Subtract(RECT{5, 0, 10, 10});
    EXPECT_EQ(r.Extents().left, 0);
    EXPECT_FALSE(r.Contains(5, 5));
    EXPECT_TRUE(Region(RECT{5, 5, 5, 9}).IsEmpty());  // zero width
    EXPECT_EQ(Region(RECT{10, 10, 0, 0}).IsEmpty(), true);
}

TEST_F(PaintTest, AFillOverTheWholeWindowChangesOnlyTheInvalidRectangles) {
    HWND w = MakeFrame();
    Log().colour = RGB(255, 0, 0);
    Pump();  // the whole window red
    Log().colour = RGB(0, 0, 255);
    RECT a{10, 10, 20, 20}, b{100, 100, 110, 120};
    InvalidateRect(w, &a, FALSE);
    InvalidateRect(w, &b, FALSE);
    Pump();
    // Client (x, y) is screen (x, y + 26).
    EXPECT_EQ(user::ScreenPixel(10, 36), Pixel(RGB(0, 0, 255)));
    EXPECT_EQ(user::ScreenPixel(19, 45), Pixel(RGB(0, 0, 255)));
    EXPECT_EQ(user::ScreenPixel(20, 36), Pixel(RGB(255, 0, 0)));
    EXPECT_EQ(user::ScreenPixel(109, 145), Pixel(RGB(0, 0, 255)));
    EXPECT_EQ(user::ScreenPixel(50, 76), Pixel(RGB(255, 0, 0)));    // between the two
    EXPECT_EQ(user::ScreenPixel(0, 25), user::ScreenPixel(0, 24));  // the bar is untouched
    EXPECT_TRUE(user::InvalidRegionOf(w).IsEmpty());
}

TEST_F(PaintTest, BeginPaintReportsTheBoundingBoxValidatesAndKeepsAnUnhandledErase) {
    HWND w = MakeFrame();
    Pump();
    RECT a{10, 10, 20, 20}, b{30, 5, 40, 15};
    InvalidateRect(w, &a, FALSE);
    InvalidateRect(w, &b, FALSE);
    PAINTSTRUCT ps;
    ASSERT_NE(BeginPaint(w, &ps), nullptr);
    const RECT& p = ps.rcPaint;
    EXPECT_EQ((std::vector<LONG>{p.left, p.top, p.right, p.bottom}),
              (std::vector<LONG>{10, 5, 40, 20}));
    EXPECT_TRUE(user::InvalidRegionOf(w).IsEmpty());
    EXPECT_FALSE(ps.fErase);
    EndPaint(w, &ps);
    InvalidateRect(w, &a, TRUE);
    InvalidateRect(w, &a, FALSE);  // a later request without erasing does not cancel it
    BeginPaint(w, &ps);
    EXPECT_TRUE(ps.fErase);  // the test class has no background to erase with
    EndPaint(w, &ps);
}

TEST_F(PaintTest, ClosingABoxInvalidatesExactlyWhatItUncovered) {
    HWND w = MakeFrame();
    Pump();
    RECT boxRect{};
    user::Region afterClose;
    user::SetMessageBoxObserver([&](const user::BoxEvent& e) {
        if (e.opened) {
            GetWindowRect(e.box, &boxRect);
            EXPECT_TRUE(user::InvalidRegionOf(w).IsEmpty());
        }
    });
    script->Wait(10);
    Then([&] {
        // The answer, then a look at the main window before anything repaints it.
        PostMessageW(GetDlgItem(user::GetOpenMessageBox(), IDOK), BM_CLICK, 0, 0);
    });
    Log().beginPaint = false;
    PostMessageW(w, WM_USER + 9, 0, 0);
    MSG msg;
    // Open the box from a handler, as the game does.
    int answer = 0;
    while (!answer && GetMessageW(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_USER + 9) {
            answer = MessageBoxW(w, L"Hello\r\nthere", L"Info", MB_OK);
            afterClose = user::InvalidRegionOf(w);
        } else {
            DispatchMessageW(&msg);
        }
    }
    user::SetMessageBoxObserver(nullptr);
    EXPECT_EQ(answer, IDOK);
    Region expected(RECT{boxRect.left, boxRect.top - 26, boxRect.right, boxRect.bottom - 26});
    EXPECT_FALSE(expected.IsEmpty());
    EXPECT_TRUE(afterClose == expected);
}

}  // namespace
}  // namespace testing_user
