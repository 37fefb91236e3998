// The toolbar's four 16 x 16 images share one bitmap: no picture may run over into the tile
// beside it, or a button would show a piece of its neighbour.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"

namespace {

constexpr int kTile = 16, kTiles = 4;

TEST(ToolbarPicture, EachTileKeepsItsPictureWithinItsOwnSixteenColumns) {
    HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(128));
    ASSERT_NE(bitmap, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF background = GetPixel(dc, 0, 0);
    for (int boundary = 1; boundary < kTiles; ++boundary) {
        const int left = boundary * kTile - 1, right = boundary * kTile;
        for (int y = 0; y < kTile; ++y) {
            const bool leftDrawn = GetPixel(dc, left, y) != background;
            const bool rightDrawn = GetPixel(dc, right, y) != background;
            EXPECT_FALSE(leftDrawn && rightDrawn)
                << "a line runs across the edge between tiles " << boundary - 1 << " and "
                << boundary << " in row " << y;
        }
    }
    // The note pad's pen ends inside its own tile: the next tile's first column is empty.
    for (int y = 0; y < kTile; ++y) EXPECT_EQ(GetPixel(dc, 2 * kTile, y), background) << y;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

}  // namespace
