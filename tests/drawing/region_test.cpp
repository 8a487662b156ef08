// Regions cut from bitmaps, and pattern fills of regions.
#include <gtest/gtest.h>
#include "qDraw.h"
#include "testutil.h"
#include "tests/drawing/drawtest.h"
#include <vector>

using drawtest::Dib;

namespace {
std::vector<RECT> regionRects(HRGN rgn) {
    DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<BYTE> data(size);
    if (!size || !GetRegionData(rgn, size, (RGNDATA*)data.data())) return {};
    const RGNDATA* rd = (const RGNDATA*)data.data();
    const RECT* r = (const RECT*)rd->Buffer;
    return std::vector<RECT>(r, r + rd->rdh.nCount);
}

// A region made in one piece from rectangles, the way the system stores it.
HRGN regionOf(const std::vector<RECT>& rects) {
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATA* rd = (RGNDATA*)data.data();
    rd->rdh.dwSize = sizeof(RGNDATAHEADER);
    rd->rdh.iType = RDH_RECTANGLES;
    rd->rdh.nCount = (DWORD)rects.size();
    rd->rdh.rcBound = {0, 0, 0, 0};
    std::copy(rects.begin(), rects.end(), (RECT*)rd->Buffer);
    return ExtCreateRegion(nullptr, (DWORD)data.size(), rd);
}

// The region holds exactly the pixels for which opaque(x, y) is true.
void expectPixels(HRGN rgn, int w, int h, const std::function<bool(int, int)>& opaque) {
    for (int y = 0; y < h + 1; ++y)
        for (int x = 0; x < w + 1; ++x)
            ASSERT_EQ(x < w && y < h && opaque(x, y), PtInRegion(rgn, x, y) != 0) << x << "," << y;
}

bool sameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
}  // namespace

TEST(Region, UnreadableBitmapsGiveNull) {
    EXPECT_EQ(nullptr, gfnBitmapToRegion(nullptr, 0, 0));
    // A bitmap selected into another DC can't be read.
    testutil::Canvas busy(4, 4);
    EXPECT_EQ(nullptr, gfnBitmapToRegion(busy.bitmap(), 0, 0));
}

TEST(Region, AllKeyGivesAnEmptyRegionNotNull) {
    Dib dib(7, 5, RGB(0, 0, 0));
    HRGN rgn = gfnBitmapToRegion(dib, 0, 0);
    ASSERT_NE(nullptr, rgn);
    RECT box;
    EXPECT_EQ(NULLREGION, GetRgnBox(rgn, &box));
    EXPECT_TRUE(regionRects(rgn).empty());
    DeleteObject(rgn);
}

TEST(Region, NoKeyCoversEveryRow) {
    Dib dib(6, 4, RGB(10, 200, 30));
    HRGN rgn = gfnBitmapToRegion(dib, 0, 0);
    ASSERT_NE(nullptr, rgn);
    // One run per row, which the system joins into the whole picture.
    std::vector<RECT> rects = regionRects(rgn);
    ASSERT_EQ(1u, rects.size());
    EXPECT_TRUE(sameRect({0, 0, 6, 4}, rects[0]));
    DeleteObject(rgn);
}

TEST(Region, RowsAreScannedTopDownAndAlternatingPixelsGiveOnePixelRuns) {
    // Row 0 alternates opaque/key starting opaque; row 1 is all key; row 2 is opaque but its last pixel.
    Dib dib(6, 3, [](int x, int y) {
        bool opaque = y == 0 ? x % 2 == 0 : y == 2 ? x < 5 : false;
        return opaque ? RGB(200, 0, 0) : RGB(0, 0, 0);
    });
    HRGN rgn = gfnBitmapToRegion(dib, 0, 0);
    ASSERT_NE(nullptr, rgn);
    std::vector<RECT> rects = regionRects(rgn);
    ASSERT_EQ(4u, rects.size());
    EXPECT_TRUE(sameRect({0, 0, 1, 1}, rects[0]));
    EXPECT_TRUE(sameRect({2, 0, 3, 1}, rects[1]));
    EXPECT_TRUE(sameRect({4, 0, 5, 1}, rects[2]));
    EXPECT_TRUE(sameRect({0, 2, 5, 3}, rects[3]));
    DeleteObject(rgn);
}

TEST(Region, KeyBytesBoundMemoryBytesInOrder) {
    // Key 0x0000FF bounds the first memory byte, which is blue: blue pixels go, red ones stay.
    Dib dib(4, 1, [](int x, int) { return x % 2 ? RGB(0, 0, 255) : RGB(255, 0, 0); });
    HRGN rgn = gfnBitmapToRegion(dib, 0x0000FF, 0);
    ASSERT_NE(nullptr, rgn);
    expectPixels(rgn, 4, 1, [](int x, int) { return x % 2 == 0; });
    DeleteObject(rgn);
}

TEST(Region, BlackKeyWithoutToleranceTakesOnlyPureBlack) {
    const COLORREF colours[] = {RGB(0, 0, 0), RGB(0, 0, 1), RGB(1, 0, 0), RGB(0, 1, 0), RGB(0, 0, 0)};
    Dib dib(5, 1, [&](int x, int) { return colours[x]; });
    HRGN rgn = gfnBitmapToRegion(dib, 0, 0);
    expectPixels(rgn, 5, 1, [](int x, int) { return x >= 1 && x <= 3; });
    DeleteObject(rgn);
}

TEST(Region, ToleranceSaturatesPerByte) {
    // Key 240 with tolerance 32 per byte: [240, 255], not a wrapped [240, 16].
    const BYTE greys[] = {239, 240, 250, 255, 16, 0};
    Dib dib(6, 1, [&](int x, int) { return RGB(greys[x], greys[x], greys[x]); });
    HRGN rgn = gfnBitmapToRegion(dib, RGB(240, 240, 240), 0x202020);
    expectPixels(rgn, 6, 1, [&](int x, int) { return greys[x] < 240; });
    DeleteObject(rgn);
    // Each byte has its own tolerance: only the blue byte (memory byte 0 ~ key byte 0) gets room.
    Dib mixed(3, 1, [](int x, int) { return x == 0 ? RGB(10, 10, 15) : x == 1 ? RGB(10, 12, 10) : RGB(10, 10, 10); });
    rgn = gfnBitmapToRegion(mixed, RGB(10, 10, 10), 0x000008);
    expectPixels(rgn, 3, 1, [](int x, int) { return x == 1; });
    DeleteObject(rgn);
}

TEST(Region, ManyRunsGiveTheSameRegionAsOneBatch) {
    // A checkerboard of 2 x 2 squares: 100 x 90 pixels, 25 runs per row, 2250 runs in all.
    const int w = 100, h = 90;
    auto opaque = [](int x, int y) { return ((x / 2) + (y / 2)) % 2 == 0; };
    Dib dib(w, h, [&](int x, int y) { return opaque(x, y) ? RGB(0, 90, 0) : RGB(255, 255, 255); });
    HRGN rgn = gfnBitmapToRegion(dib, RGB(255, 255, 255), 0);
    ASSERT_NE(nullptr, rgn);
    std::vector<RECT> runs;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int x0 = x;
            while (x < w && opaque(x, y)) ++x;
            if (x > x0) runs.push_back({x0, y, x, y + 1});
        }
    ASSERT_GT(runs.size(), 2000u);
    HRGN whole = regionOf(runs);
    ASSERT_NE(nullptr, whole);
    EXPECT_TRUE(EqualRgn(rgn, whole));
    expectPixels(rgn, w, h, opaque);
    DeleteObject(whole);
    DeleteObject(rgn);
}

TEST(Region, PatternFillKeepsToTheRegionAndTheBrushOrigin) {
    Dib pattern(8, 8, drawtest::coordColour);
    testutil::Canvas dst(20, 12, RGB(1, 2, 3));
    HRGN rgn = CreateRectRgn(3, 2, 17, 9);
    HGDIOBJ brushBefore = GetCurrentObject(dst.dc(), OBJ_BRUSH);
    ASSERT_NE(0, gfnFillRgnWithBitmap(dst.dc(), rgn, pattern));
    EXPECT_EQ(brushBefore, GetCurrentObject(dst.dc(), OBJ_BRUSH));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            bool in = x >= 3 && x < 17 && y >= 2 && y < 9;
            ASSERT_EQ(in ? drawtest::coordColour(x % 8, y % 8) : RGB(1, 2, 3), dst.at(x, y)) << x << "," << y;
        }
    EXPECT_EQ(0, gfnFillRgnWithBitmap(dst.dc(), rgn, nullptr));
    EXPECT_EQ(0, drawtest::gdiLeakOver(10, [&] { gfnFillRgnWithBitmap(dst.dc(), rgn, pattern); }));
    DeleteObject(rgn);
}
