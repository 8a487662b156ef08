// CqDrawDIB: shared blocks by content, drawing through DrawDib, and the cached nine-cell rendering.
#include <gtest/gtest.h>
#include "qDrawDIB.h"
#include "imaging_support.h"
#include "testutil.h"

using testutil::Canvas;

namespace {
const COLORREF kBack = RGB(1, 2, 3);

bool blockAlive(HGLOBAL h) { return GlobalSize(h) != 0; }

// Paints every pixel of a 32-bit packed DIB with one colour.
void repaint(HGLOBAL dib, DWORD rgb) {
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    auto* bits = reinterpret_cast<DWORD*>(header + 1);
    for (LONG i = 0; i < header->biWidth * std::abs(header->biHeight); ++i) bits[i] = rgb;
    GlobalUnlock(dib);
}
}  // namespace

TEST(DrawDIB, IdenticalContentsShareOneBlock) {
    HGLOBAL first = makePackedDib(30, 30, ninePixel);
    HGLOBAL second = makePackedDib(30, 30, ninePixel);
    HGLOBAL other = makePackedDib(30, 30, [](int x, int y) { return ninePixel(x, y) ^ 1; });
    {
        CqDrawDIB a;
        a.fnSetDibBuf(first);
        EXPECT_TRUE(a.fnIsBufValid());
        EXPECT_EQ(CSize(30, 30), a.fnGetSize());
        {
            CqDrawDIB b, c;
            b.fnSetDibBuf(second);
            EXPECT_FALSE(blockAlive(second));   // the same bytes are held already: freed at once
            EXPECT_TRUE(blockAlive(first));
            c.fnSetDibBuf(other);
            EXPECT_TRUE(blockAlive(other));
            CqDrawDIB copy(b);
            b.Free();
            EXPECT_FALSE(b.fnIsBufValid());
            EXPECT_EQ(CSize(0, 0), b.fnGetSize());
            b = copy;
            EXPECT_EQ(CSize(30, 30), b.fnGetSize());
        }
        EXPECT_FALSE(blockAlive(other));
        EXPECT_TRUE(blockAlive(first));   // a still holds it
        // A block that is no drawable DIB is taken over and dropped.
        HGLOBAL junk = GlobalAlloc(GMEM_MOVEABLE, 12);
        a.fnSetDibBuf(junk);
        EXPECT_FALSE(a.fnIsBufValid());
        EXPECT_FALSE(blockAlive(first));   // released before the new one was looked at
    }
}

TEST(DrawDIB, TheLastOwnerFreesTheSharedBlock) {
    HGLOBAL block = makePackedDib(4, 4, [](int, int) { return 0x123456u; });
    {
        CqDrawDIB a;
        a.fnSetDibBuf(block);
        CqDrawDIB b(a);
        { CqDrawDIB c = b; }
        a.Free();
        EXPECT_TRUE(blockAlive(block));
    }
    EXPECT_FALSE(blockAlive(block));
}

TEST(DrawDIB, DrawsPiecesUnscaledAndTiles) {
    CqDrawDIB dib;
    dib.fnSetDibBuf(makePackedDib(30, 30, ninePixel, false));   // bottom-up rows too
    Canvas canvas(60, 40, kBack);
    dib.fnDrawDib(canvas.dc(), 5, 5, 10, 10, 20, 10);
    EXPECT_EQ(kMarker, canvas.at(5, 5));
    EXPECT_EQ(kCell[1][2], canvas.at(10, 10));
    EXPECT_EQ(kBack, canvas.at(15, 15));
    dib.fnDrawDib(canvas.dc(), 40, 0, 0, 0, -1, 0);   // a negative source draws nothing
    EXPECT_EQ(kBack, canvas.at(45, 5));

    // w and h 0: tiles of the rest of the DIB from (25, 25), 5 x 5.
    Canvas tiles(12, 12, kBack);
    RECT r = {0, 0, 12, 12};
    dib.fnDrawDibFillRect(tiles.dc(), &r, 25, 25, 0, 0);
    for (int x = 0; x < 12; ++x) EXPECT_EQ(kCell[2][2], tiles.at(x, x)) << x;
    dib.fnDrawDibFillRect(tiles.dc(), &r, 20, 20, 0, 0);
    EXPECT_EQ(kMarker, tiles.at(0, 0));
    EXPECT_EQ(kMarker, tiles.at(10, 10));
}

TEST(DrawDIB, NineCellsOfAPiece) {
    CqDrawDIB dib;
    dib.fnSetDibBuf(makePackedDib(30, 30, ninePixel));
    Canvas canvas(100, 40, kBack);
    RECT r = {0, 0, 100, 40};
    dib.fnDrawDibFillRectWith9Cells(canvas.dc(), &r, 0, 0, 30, 30);
    EXPECT_EQ(kCell[0][0], canvas.at(5, 5));
    EXPECT_EQ(kCell[2][2], canvas.at(95, 35));
    EXPECT_EQ(kCell[0][2], canvas.at(95, 5));
    for (int x = 10; x < 90; x += 10) {
        EXPECT_EQ(kMarker, canvas.at(x, 0)) << x;
        EXPECT_EQ(kMarker, canvas.at(x, 20)) << x;
    }
    EXPECT_EQ(kCell[1][1], canvas.at(55, 25));
}

TEST(DrawDIB, LargeNineCellFillsAreRenderedOnceAndCopied) {
    HGLOBAL block = makePackedDib(30, 30, ninePixel);
    CqDrawDIB dib;
    dib.fnSetDibBuf(block);
    Canvas first(120, 110, kBack);
    RECT r120 = {0, 0, 120, 110};
    dib.fnDrawDibFillRectWith9Cells(first.dc(), &r120);
    EXPECT_EQ(kCell[0][0], first.at(5, 5));
    EXPECT_EQ(kCell[2][2], first.at(115, 105));
    EXPECT_EQ(kCell[1][1], first.at(55, 55));

    // Change the pixels behind the cache's back: whatever is drawn anew shows it.
    repaint(block, 0x00FF8000);
    const COLORREF changed = RGB(255, 128, 0);

    // 100 x 100 (10000 pixels) copies the four quadrants of the 120 x 110 rendering: old pixels,
    // each corner from the rendering's own corner.
    Canvas copy(110, 110, kBack);
    RECT r100 = {5, 5, 105, 105};
    dib.fnDrawDibFillRectWith9Cells(copy.dc(), &r100);
    EXPECT_EQ(kCell[0][0], copy.at(10, 10));
    EXPECT_EQ(kCell[0][2], copy.at(100, 10));
    EXPECT_EQ(kCell[2][0], copy.at(10, 100));
    EXPECT_EQ(kCell[2][2], copy.at(100, 100));
    EXPECT_EQ(kMarker, copy.at(95, 95));   // the bottom-right corner starts 10 before the edge
    EXPECT_EQ(kCell[1][1], copy.at(54, 54));
    EXPECT_EQ(kBack, copy.at(4, 4));
    EXPECT_EQ(kBack, copy.at(105, 105));

    // Under 10000 pixels (80 x 80, 99 x 101) the fill is drawn directly and leaves the cache alone.
    Canvas small(80, 80, kBack), direct(99, 101, kBack);
    RECT r80 = {0, 0, 80, 80}, r99 = {0, 0, 99, 101};
    dib.fnDrawDibFillRectWith9Cells(small.dc(), &r80);
    dib.fnDrawDibFillRectWith9Cells(direct.dc(), &r99);
    EXPECT_EQ(changed, small.at(40, 40));
    EXPECT_EQ(changed, direct.at(50, 50));
    dib.fnDrawDibFillRectWith9Cells(copy.dc(), &r100);
    EXPECT_EQ(kCell[1][1], copy.at(54, 54));

    // A larger fill renders again, at the larger size.
    Canvas larger(130, 100, kBack);
    RECT r130 = {0, 0, 130, 100};
    dib.fnDrawDibFillRectWith9Cells(larger.dc(), &r130);
    EXPECT_EQ(changed, larger.at(60, 50));
    dib.fnDrawDibFillRectWith9Cells(copy.dc(), &r100);
    EXPECT_EQ(changed, copy.at(54, 54));
}

TEST(DrawDIB, CachedCopiesStayInsideTheClipBox) {
    CqDrawDIB dib;
    dib.fnSetDibBuf(makePackedDib(30, 30, ninePixel));
    Canvas canvas(120, 120, kBack);
    IntersectClipRect(canvas.dc(), 10, 10, 60, 60);
    RECT r = {0, 0, 120, 120};
    dib.fnDrawDibFillRectWith9Cells(canvas.dc(), &r);
    EXPECT_EQ(kBack, canvas.at(5, 5));
    EXPECT_EQ(kMarker, canvas.at(20, 20));
    EXPECT_EQ(kCell[1][1], canvas.at(45, 45));
    EXPECT_EQ(kBack, canvas.at(65, 65));
    EXPECT_EQ(kBack, canvas.at(115, 115));
}

TEST(DrawDIB, SourcesFromResourcesFilesAndBitmaps) {
    CqDrawDIB dib;
    ASSERT_EQ(1, dib.fnSetDibBufFromDIB(testModule(), kResNine));
    EXPECT_EQ(CSize(30, 30), dib.fnGetSize());
    Canvas canvas(30, 30, kBack);
    dib.fnDrawDib(canvas.dc(), 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(kCell[2][1], canvas.at(15, 25));

    // Missing sources fail and keep the DIB that was there.
    EXPECT_EQ(0, dib.fnSetDibBufFromDIB(testModule(), kResMissing));
    EXPECT_EQ(0, dib.fnSetDibBufFromDDB(testModule(), kResMissing));
    EXPECT_EQ(0, dib.fnSetDibBufFromDDB(imagingDir().c_str(), L"missing.png"));
    EXPECT_EQ(0, dib.fnSetDibBufFromDIB(imagingDir().c_str(), L"missing.png"));
    EXPECT_EQ(0, dib.fnSetDibBufFromAIK(nullptr));
    EXPECT_EQ(0, dib.fnSetDibBufFromDDB((HBITMAP) nullptr));
    EXPECT_TRUE(dib.fnIsBufValid());
    EXPECT_EQ(CSize(30, 30), dib.fnGetSize());

    ASSERT_EQ(1, dib.fnSetDibBufFromDDB(imagingDir().c_str(), L"fore.png"));
    EXPECT_EQ(CSize(8, 4), dib.fnGetSize());
    dib.fnDrawDib(canvas.dc(), 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(RGB(255, 0, 0), canvas.at(1, 1));
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(6, 1));
    ASSERT_EQ(1, dib.fnSetDibBufFromDIB(imagingDir().c_str(), L"nine30rgb.png"));
    ASSERT_EQ(1, dib.fnSetDibBufFromDDB(testModule(), kResFore));
    EXPECT_EQ(CSize(8, 4), dib.fnGetSize());
}
