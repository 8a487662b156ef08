// CqDrawDIB: shared blocks by content, drawing through DrawDib, and the cached nine-cell rendering.
#include "qDrawDIB.h"
#include "imaging_support.h"
#include <algorithm>

using testutil::Canvas;

namespace {
const COLORREF kBack = RGB(1, 2, 3);
bool blockAlive(HGLOBAL h) { return GlobalSize(h) != 0; }
}  // namespace

TEST_F(DrawDIB, IdenticalContentsShareOneBlockUntilTheLastOwnerLetsGo) {
    HGLOBAL first = makePackedDib(30, 30, ninePixel), second = makePackedDib(30, 30, ninePixel);
    HGLOBAL other = makePackedDib(30, 30, [](int x, int y) { return ninePixel(x, y) ^ 1; });
    CqDrawDIB a;
    a.fnSetDibBuf(first);
    const int objects = testutil::liveGdiObjects();
    {
        CqDrawDIB b, c;
        b.fnSetDibBuf(second);   // the same bytes are held already: freed at once
        c.fnSetDibBuf(other);
        Canvas canvas(110, 110);
        RECT large = {0, 0, 100, 100};
        c.fnDrawDibFillRectWith9Cells(canvas.dc(), &large);
        EXPECT_TRUE(!blockAlive(second) && blockAlive(other));
        CqDrawDIB copy(b);
        b.Free();
        EXPECT_EQ(CSize(0, 0), b.fnGetSize());
        b = copy;
        EXPECT_EQ(CSize(30, 30), b.fnGetSize());
    }
    // The last owner of other's contents took its entry and rendering along; a still holds its block.
    EXPECT_TRUE(!blockAlive(other) && blockAlive(first) && objects == testutil::liveGdiObjects());
    // A block that is no drawable DIB is taken over and dropped; the last owner frees the old one.
    a.fnSetDibBuf(GlobalAlloc(GMEM_MOVEABLE, 12));
    EXPECT_FALSE(a.fnIsBufValid() || blockAlive(first));
}

TEST_F(DrawDIB, SourcesPiecesAndTiles) {
    CqDrawDIB dib;
    dib.fnSetDibBuf(makePackedDib(30, 30, ninePixel, false));   // bottom-up rows too
    Canvas canvas(60, 40, kBack);
    dib.fnDrawDib(canvas.dc(), 5, 5, 10, 10, 20, 10);
    EXPECT_TRUE(kMarker == canvas.at(5, 5) && kCell[1][2] == canvas.at(10, 10) && kBack == canvas.at(15, 15));
    dib.fnDrawDib(canvas.dc(), 40, 0, 0, 0, -1, 0);   // a negative source draws nothing
    EXPECT_EQ(kBack, canvas.at(45, 5));
    // w and h 0: tiles of the rest of the DIB from (20, 20), 10 x 10.
    Canvas tiles(12, 12, kBack);
    RECT r = {0, 0, 12, 12};
    dib.fnDrawDibFillRect(tiles.dc(), &r, 20, 20, 0, 0);
    EXPECT_TRUE(kMarker == tiles.at(0, 0) && kCell[2][2] == tiles.at(5, 5) && kMarker == tiles.at(10, 10));
    // From resources, files and bitmaps; missing sources fail and keep the DIB that was there.
    ASSERT_EQ(1, dib.fnSetDibBufFromDIB(testModule(), kResNine));
    EXPECT_EQ(0, dib.fnSetDibBufFromDIB(testModule(), kResMissing) + dib.fnSetDibBufFromDDB(testModule(), kResMissing) +
                     dib.fnSetDibBufFromDDB(imagingDir().c_str(), L"missing.png") + dib.fnSetDibBufFromAIK(nullptr) +
                     dib.fnSetDibBufFromDIB(imagingDir().c_str(), L"missing.png") + dib.fnSetDibBufFromDDB((HBITMAP) nullptr));
    dib.fnDrawDib(canvas.dc(), 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(kCell[2][1], canvas.at(15, 25));
    ASSERT_EQ(1, dib.fnSetDibBufFromDDB(imagingDir().c_str(), L"fore.png"));
    dib.fnDrawDib(canvas.dc(), 0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(RGB(255, 0, 0) == canvas.at(1, 1) && RGB(0, 0, 255) == canvas.at(6, 1));
    ASSERT_EQ(1, dib.fnSetDibBufFromDIB(imagingDir().c_str(), L"nine30rgb.png"));
    ASSERT_EQ(1, dib.fnSetDibBufFromDDB(testModule(), kResFore));
    EXPECT_EQ(CSize(8, 4), dib.fnGetSize());
}

// Large fills are rendered once and copied; fills far larger than any screen are drawn where the
// target shows them, without a rendering of their size.
TEST_F(DrawDIB, LargeNineCellFillsAreRenderedOnceAndCopied) {
    HGLOBAL block = makePackedDib(30, 30, ninePixel);
    CqDrawDIB dib;
    dib.fnSetDibBuf(block);
    auto fill = [&](Canvas& canvas, RECT r) { dib.fnDrawDibFillRectWith9Cells(canvas.dc(), &r); };
    // 100 x 100 at (5, 5): the quadrants copied from the rendering make the nine-cell picture.
    Canvas copy(110, 110, kBack), clipped(120, 120, kBack);
    fill(copy, {5, 5, 105, 105});
    EXPECT_TRUE(testutil::pixelsAre(copy, nineCells({5, 5, 105, 105}, kBack)));
    IntersectClipRect(clipped.dc(), 10, 10, 60, 60);   // renders again at 120 x 120; copies stay in the clip box
    fill(clipped, {0, 0, 120, 120});
    const auto whole = nineCells({0, 0, 120, 120}, kBack);
    EXPECT_TRUE(testutil::pixelsAre(clipped, [&](int x, int y) { return x < 10 || y < 10 || x >= 60 || y >= 60 ? kBack : whole(x, y); }));
    copy.fill(kBack);
    fill(copy, {5, 5, 105, 105});   // copied from the larger rendering
    EXPECT_TRUE(testutil::pixelsAre(copy, nineCells({5, 5, 105, 105}, kBack)));
    const SIZE_T before = committedBytes();
    SelectClipRgn(clipped.dc(), nullptr);
    for (RECT r : {RECT{0, 0, 30000, 30000}, RECT{-29885, -29885, 115, 115}}) {
        clipped.fill(kBack);
        fill(clipped, r);
        EXPECT_TRUE(testutil::pixelsAre(clipped, nineCells(r, kBack))) << r.left;
    }
    EXPECT_LT((long long)committedBytes() - (long long)before, 32ll << 20);
    // Change the pixels behind the cache's back: whatever is drawn anew shows them.
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    std::fill_n(reinterpret_cast<DWORD*>(header + 1), 30 * 30, 0x00FF8000u);
    GlobalUnlock(block);
    const COLORREF changed = RGB(255, 128, 0);
    // Under 10000 pixels (99 x 101, 80 x 80) the fill is drawn directly; the rendering is not redrawn.
    Canvas direct(99, 101, kBack), small(80, 80, kBack);
    fill(direct, {0, 0, 99, 101});
    fill(small, {0, 0, 80, 80});
    EXPECT_TRUE(changed == direct.at(50, 50) && changed == small.at(40, 40));
    fill(copy, {5, 5, 105, 105});
    EXPECT_EQ(kCell[1][1], copy.at(54, 54));
    // A larger fill renders again, at the larger size.
    Canvas larger(130, 100, kBack);
    fill(larger, {0, 0, 130, 100});
    EXPECT_EQ(changed, larger.at(60, 50));
    fill(copy, {5, 5, 105, 105});
    EXPECT_EQ(changed, copy.at(54, 54));
}
