// Rectangle fills from bitmaps: tiles, nine cells, the centre cell, transparent tiles, solid colour.
#include "qDraw.h"
#include "tests/drawing/drawtest.h"

using namespace drawtest;

namespace {
const UINT kNineCellResource = 201;   // a 30 x 30 bitmap in this program's resources

// Source offset of a destination offset d in a nine-cell fill of length `extent` with cells of c.
int nineCellSource(int d, int extent, int c) {
    if (d < c) return d;
    if (d >= extent - c) return 2 * c + (d - (extent - c));
    return c + (d - c) % c;
}

// What a nine-cell fill of r with cells of cw x ch read from (sx, sy) of src leaves at (x, y).
auto nineCells(const Dib& src, RECT r, int sx, int sy, int cw, int ch) {
    return [&src, r, sx, sy, cw, ch](int x, int y) {
        return in(r, x, y) ? src.at(sx + nineCellSource(x - r.left, r.right - r.left, cw),
                                    sy + nineCellSource(y - r.top, r.bottom - r.top, ch))
                           : kSentinel;
    };
}
}  // namespace

TEST(Fill, NineCellsTileEdgesAndCentreAndTruncateCellSizes) {
    // A 30 x 30 bitmap over 100 x 40: cells of 10, eight whole tiles along the top edge. 31 x 32 of a
    // 40 x 33 bitmap: cells of 10 x 10, the last column and two rows never drawn. Width 0: cells are a
    // third of the whole bitmap (13 x 11), read from the given origin.
    const struct { int bw, bh; RECT r; int sx, sy, w, h, cw, ch; } cases[] = {
        {30, 30, {2, 3, 102, 43}, 0, 0, 30, 30, 10, 10},
        {40, 33, {0, 0, 50, 40}, 2, 1, 31, 32, 10, 10},
        {40, 33, {0, 0, 50, 40}, 1, 0, 0, 30, 13, 11},
    };
    for (auto c : cases) {
        Dib src(c.bw, c.bh, coordColour);
        Canvas dst(c.r.right + 2, c.r.bottom + 1, kSentinel);
        ASSERT_NE(0, gfnFillRectWith9CellsBitmap(dst.dc(), &c.r, src, SRCCOPY, c.sx, c.sy, c.w, c.h));
        EXPECT_TRUE(pixelsAre(dst, nineCells(src, c.r, c.sx, c.sy, c.cw, c.ch))) << c.bw << " x " << c.bh;
    }
}

TEST(Fill, SmallNineCellRectanglesOverlapTheCorners) {
    Dib src(30, 30, coordColour);
    Canvas dst(20, 20, kSentinel);
    RECT r = {0, 0, 15, 12};
    ASSERT_NE(0, gfnFillRectWith9CellsBitmap(dst.dc(), &r, src, SRCCOPY, 0, 0, 30, 30));
    // Bottom-right is drawn last (from x 5, y 2); top-right beats bottom-left; nothing else draws.
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) {
        if (x >= 5 && x < 15 && y >= 2 && y < 12) return src.at(20 + x - 5, 20 + y - 2);
        if (x >= 5 && x < 15 && y < 10) return src.at(20 + x - 5, y);
        if (x < 10 && y >= 2 && y < 12) return src.at(x, 20 + y - 2);
        return x < 10 && y < 10 ? src.at(x, y) : kSentinel;
    }));
}

TEST(Fill, TilesAreCutAtTheRightAndBottomAndAZeroSideMeansTheWholeBitmap) {
    Dib src(20, 20, coordColour);
    Canvas dst(30, 16, kSentinel);
    RECT r = {0, 1, 25, 14};
    // Cells of 10, 10 and 5 columns (the last one the tile's left five), rows of 10 and 3.
    ASSERT_NE(0, gfnFillRectWithBitmap(dst.dc(), &r, src, SRCCOPY, 5, 3, 10, 10));
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) { return in(r, x, y) ? src.at(5 + x % 10, 3 + (y - 1) % 10) : kSentinel; }));

    Dib small(8, 6, coordColour);
    ASSERT_NE(0, gfnFillRectWithBitmap(dst.dc(), &r, small, SRCCOPY, 0, 0, 5, 0));
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) { return in(r, x, y) ? small.at(x % 8, (y - 1) % 6) : kSentinel; }));
}

TEST(Fill, EmptyRectanglesAndBadSourcesDrawNothing) {
    Dib src(9, 9, coordColour), tiny(2, 2, coordColour);
    Canvas dst(12, 12, kSentinel);
    RECT empty = {5, 5, 5, 9}, inverted = {8, 8, 2, 2}, r = {0, 0, 12, 12};
    EXPECT_NE(0, gfnFillRectWithBitmap(dst.dc(), &empty, src, SRCCOPY, 0, 0, 3, 3));
    EXPECT_NE(0, gfnFillRectWithBitmap(dst.dc(), &inverted, src, SRCCOPY, 0, 0, 3, 3));
    gfnFillRectWith9CellsBitmap(dst.dc(), &inverted, src, SRCCOPY, 0, 0, 9, 9);
    gfnFillRectWithCenterCell(dst.dc(), &inverted, src, SRCCOPY);
    gfnFillRectWithTransparentBitmap(dst.dc(), &inverted, src, 0);
    // A source origin at or beyond the bitmap's edge, a negative tile, a bitmap too small for cells.
    EXPECT_EQ(0, gfnFillRectWithBitmap(dst.dc(), &r, src, SRCCOPY, 9, 0, 3, 3));
    EXPECT_EQ(0, gfnFillRectWithBitmap(dst.dc(), &r, src, SRCCOPY, 0, 9, 3, 3));
    gfnFillRectWithBitmap(dst.dc(), &r, src, SRCCOPY, 0, 0, -3, 3);
    EXPECT_EQ(0, gfnFillRectWith9CellsBitmap(dst.dc(), &r, src, SRCCOPY, 9, 0, 9, 9));
    EXPECT_EQ(0, gfnFillRectWith9CellsBitmap(dst.dc(), &r, src, SRCCOPY, 0, 0, 2, 9));
    EXPECT_EQ(0, gfnFillRectWithCenterCell(dst.dc(), &r, tiny, SRCCOPY));
    // Null bitmaps and rectangles, resources that are not there.
    HINSTANCE self = GetModuleHandleW(nullptr);
    EXPECT_EQ(0, gfnFillRectWithBitmap(dst.dc(), &r, (HBITMAP) nullptr, SRCCOPY, 0, 0, 0, 0));
    EXPECT_EQ(0, gfnFillRectWith9CellsBitmap(dst.dc(), &r, (HBITMAP) nullptr, SRCCOPY, 0, 0, 0, 0));
    EXPECT_EQ(0, gfnFillRectWithCenterCell(dst.dc(), &r, (HBITMAP) nullptr, SRCCOPY));
    EXPECT_EQ(0, gfnFillRectWithTransparentBitmap(dst.dc(), &r, nullptr, 0));
    EXPECT_EQ(0, gfnFillRectWithBitmap(dst.dc(), nullptr, src, SRCCOPY, 0, 0, 0, 0));
    EXPECT_EQ(0, gfnFillSolidRect(dst.dc(), nullptr, RGB(9, 9, 9)));
    EXPECT_EQ(0, gfnFillRectWithBitmap(dst.dc(), &r, self, 9999, SRCCOPY, 0, 0, 0, 0));
    EXPECT_EQ(0, gfnFillRectWith9CellsBitmap(dst.dc(), &r, self, 9999, SRCCOPY, 0, 0, 0, 0));
    EXPECT_EQ(0, gfnFillRectWithCenterCell(dst.dc(), &r, self, 9999, SRCCOPY));
    EXPECT_TRUE(pixelsAre(dst, [](int, int) { return kSentinel; }));
}

TEST(Fill, CentreCellIsTiledAndResourcesDrawLikeTheirBitmaps) {
    Dib src(31, 30, coordColour);   // cells of 10 x 10
    Canvas dst(25, 13, kSentinel);
    RECT all = {0, 0, 25, 13};
    ASSERT_NE(0, gfnFillRectWithCenterCell(dst.dc(), &all, src, SRCCOPY));
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) { return src.at(10 + x % 10, 10 + y % 10); }));

    HINSTANCE self = GetModuleHandleW(nullptr);
    HBITMAP bitmap = LoadBitmapW(self, MAKEINTRESOURCEW(kNineCellResource));
    ASSERT_NE(nullptr, bitmap);
    RECT r = {1, 1, 47, 35};
    auto same = [&](auto viaBitmap, auto viaResource) {
        Canvas a(50, 40, kSentinel), b(50, 40, kSentinel);
        EXPECT_NE(0, viaBitmap(a.dc()));
        EXPECT_NE(0, viaResource(b.dc()));
        EXPECT_TRUE(pixelsAre(b, [&](int x, int y) { return a.at(x, y); }));
    };
    same([&](HDC dc) { return gfnFillRectWithBitmap(dc, &r, bitmap, SRCCOPY, 3, 4, 7, 6); },
         [&](HDC dc) { return gfnFillRectWithBitmap(dc, &r, self, kNineCellResource, SRCCOPY, 3, 4, 7, 6); });
    same([&](HDC dc) { return gfnFillRectWith9CellsBitmap(dc, &r, bitmap, SRCCOPY, 0, 0, 30, 30); },
         [&](HDC dc) { return gfnFillRectWith9CellsBitmap(dc, &r, self, kNineCellResource, SRCCOPY, 0, 0, 30, 30); });
    same([&](HDC dc) { return gfnFillRectWithCenterCell(dc, &r, bitmap, SRCCOPY); },
         [&](HDC dc) { return gfnFillRectWithCenterCell(dc, &r, self, kNineCellResource, SRCCOPY); });
    DeleteObject(bitmap);
}

TEST(Fill, TransparentTilesScaleTheWholeBitmapIntoCutCells) {
    const COLORREF key = RGB(0, 255, 0);
    Dib src(4, 2, [&](int x, int y) { return x == 2 && y == 0 ? key : coordColour(x, y); });
    Canvas dst(12, 4, kSentinel);
    RECT r = {0, 0, 10, 3};
    ASSERT_NE(0, gfnFillRectWithTransparentBitmap(dst.dc(), &r, src, key));
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) {
        if (in(r, x, y) && (x >= 8 || y >= 2)) return dst.at(x, y);   // cut cells: looked at below
        COLORREF s = in(r, x, y) ? src.at(x % 4, y) : kSentinel;
        return s == key ? kSentinel : s;
    }));
    // The last cell is 2 x 1: the whole bitmap scaled into it, so column 9 shows source column 2 or 3,
    // never column 1.
    EXPECT_NE(src.at(1, 0), dst.at(9, 0));
}

TEST(Fill, SolidFillLeavesTheBackgroundColour) {
    Canvas dst(6, 6, kSentinel);
    RECT r = {1, 1, 4, 5};
    SetBkColor(dst.dc(), RGB(7, 7, 7));
    ASSERT_NE(0, gfnFillSolidRect(dst.dc(), &r, RGB(200, 100, 50)));
    EXPECT_EQ(RGB(200, 100, 50), GetBkColor(dst.dc()));
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) { return in(r, x, y) ? RGB(200, 100, 50) : kSentinel; }));
}
