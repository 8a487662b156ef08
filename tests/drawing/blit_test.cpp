// Blits, stretching, constant-alpha blending, transparent drawing; regions cut from bitmaps and
// pattern fills of regions.
#include "qDraw.h"
#include "qModule.h"
#include "tests/drawing/drawtest.h"
#include <sstream>
#include <vector>

using namespace drawtest;

const COLORREF kKey = RGB(255, 0, 255);

TEST(Blit, BitbltAndStretchBltCopyAndKeepTheCallersObjects) {
    Dib src(10, 10, coordColour);
    Canvas dst(12, 12, kSentinel);
    ASSERT_NE(0, gfnBitblt(dst.dc(), 1, 2, 4, 3, src, 5, 6, SRCCOPY));
    EXPECT_TRUE(pixelsAre(dst, onlyIn({1, 2, 5, 5}, [](int x, int y) { return coordColour(4 + x, 4 + y); })));
    // The raster operation is passed through.
    ASSERT_NE(0, gfnBitblt(dst.dc(), 0, 0, 1, 1, src, 3, 4, NOTSRCCOPY));
    EXPECT_EQ(coordColour(3, 4) ^ 0xFFFFFF, dst.at(0, 0));
    // The caller's bitmap is neither deleted nor left selected.
    HDC probe = CreateCompatibleDC(nullptr);
    EXPECT_NE(nullptr, SelectObject(probe, src.get()));
    DeleteDC(probe);
    Dib small(2, 2, coordColour);
    Canvas big(8, 8, kSentinel);
    SetStretchBltMode(big.dc(), COLORONCOLOR);
    ASSERT_NE(0, gfnStretchBlt(big.dc(), 0, 0, 8, 8, small, SRCCOPY));
    EXPECT_TRUE(pixelsAre(big, [](int x, int y) { return coordColour(x / 4, y / 4); }));
    EXPECT_EQ(COLORONCOLOR, GetStretchBltMode(big.dc()));
}

// Sources of distinct pixels, so that a wrong origin, size or channel order shows.
TEST(Blit, AlphaBlendFromABitmapAndFromADC) {
    ASSERT_EQ(1, gfnIsGDIEXCanUse());
    Dib src(6, 6, coordColour);
    Canvas srcDC(6, 6);
    ASSERT_NE(0, gfnBitblt(srcDC.dc(), 0, 0, 6, 6, src, 0, 0, SRCCOPY));
    for (int alpha : {0, 100, 255}) {
        Canvas dst(8, 4, RGB(255, 255, 255));
        // The bitmap overload unscaled from (1, 2) on the left, the DC overload 2:1 from (2, 1) on the right.
        ASSERT_NE(0, gfnAlphaBlend(dst.dc(), src.get(), 0, 0, 3, 3, (BYTE)alpha, 1, 2, 3, 3));
        ASSERT_NE(0, gfnAlphaBlend(dst.dc(), srcDC.dc(), 4, 0, 4, 4, (BYTE)alpha, 2, 1, 2, 2));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool left = x < 3 && y < 3, right = x >= 4;
                const COLORREF s = left ? coordColour(1 + x, 2 + y) : right ? coordColour(2 + (x - 4) / 2, 1 + y / 2) : 0xFFFFFF;
                const int a = left || right ? alpha : 255;
                for (int shift : {0, 8, 16})
                    EXPECT_NEAR(((s >> shift & 0xFF) * a + 255 * (255 - a)) / 255, dst.at(x, y) >> shift & 0xFF, 1)
                        << "alpha " << alpha << " at " << x << "," << y;
            }
    }
}

TEST(Blit, TransparentBitmapLeavesTheKeyOutScalesAndKeepsTheSource) {
    auto source = [](int x, int y) { return x == 1 || (x == 3 && y == 1) ? kKey : coordColour(x, y); };
    Dib src(4, 2, source);
    Canvas dst(10, 6, kSentinel);
    ASSERT_NE(0, gfnDrawTransparentBitmap(dst.dc(), src, 1, 1, 4, 2, kKey, 0, 0, 4, 2));
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) {
        COLORREF s = in({1, 1, 5, 3}, x, y) ? source(x - 1, y - 1) : kSentinel;
        return s == kKey ? kSentinel : s;
    }));
    // Scaled 2:1 from a source origin inside the bitmap.
    Canvas big(8, 4, kSentinel);
    ASSERT_NE(0, gfnDrawTransparentBitmap(big.dc(), src, 0, 0, 4, 2, kKey, 2, 0, 2, 1));
    EXPECT_TRUE(pixelsAre(big, onlyIn({0, 0, 4, 2}, [](int x, int) { return coordColour(2 + x / 2, 0); })));
    EXPECT_TRUE(pixelsAre(src, source));
}

TEST(Blit, NullsAndSourceOriginsAtOrBeyondTheEdgeDrawNothing) {
    Dib src(4, 4, coordColour);
    Canvas dst(4, 4, kSentinel);
    EXPECT_EQ(0, gfnBitblt(dst.dc(), 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
    EXPECT_EQ(0, gfnStretchBlt(dst.dc(), 0, 0, 4, 4, nullptr, SRCCOPY));
    EXPECT_EQ(0, gfnAlphaBlend(dst.dc(), (HBITMAP) nullptr, 0, 0, 4, 4, 128, 0, 0, 4, 4));
    EXPECT_EQ(0, gfnDrawTransparentBitmap(dst.dc(), nullptr, 0, 0, 4, 4, kKey, 0, 0, 4, 4));
    EXPECT_EQ(0, gfnDrawTransparentBitmap(nullptr, src, 0, 0, 4, 4, kKey, 0, 0, 4, 4));
    EXPECT_EQ(0, gfnDrawTransparentBitmap(dst.dc(), src, 0, 0, 0, 4, kKey, 0, 0, 4, 4));
    for (POINT o : {POINT{4, 0}, POINT{0, 4}, POINT{-1, 0}, POINT{0, -1}}) {
        EXPECT_EQ(0, gfnBitblt(dst.dc(), 0, 0, 4, 4, src, o.x, o.y, SRCCOPY)) << o.x << "," << o.y;
        EXPECT_EQ(0, gfnAlphaBlend(dst.dc(), src.get(), 0, 0, 4, 4, 255, o.x, o.y, 1, 1)) << o.x << "," << o.y;
        EXPECT_EQ(0, gfnDrawTransparentBitmap(dst.dc(), src, 0, 0, 4, 4, kKey, o.x, o.y, 4, 4)) << o.x << "," << o.y;
    }
    EXPECT_TRUE(pixelsAre(dst, blank));
}

namespace {
// The rectangles of a region as the system stores them: "left,top,right,bottom" separated by spaces.
std::string rectsOf(HRGN rgn) {
    std::vector<BYTE> data(GetRegionData(rgn, 0, nullptr));
    if (data.empty() || !GetRegionData(rgn, (DWORD)data.size(), (RGNDATA*)data.data())) return "no data";
    const RGNDATA* rd = (const RGNDATA*)data.data();
    std::ostringstream s;
    for (DWORD i = 0; i < rd->rdh.nCount; ++i) {
        const RECT& r = ((const RECT*)rd->Buffer)[i];
        s << (i ? " " : "") << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    return s.str();
}
}  // namespace

TEST(Region, RectanglesCutFromBitmaps) {
    const BYTE greys[] = {239, 240, 250, 255, 16, 0};
    const struct {
        const char* what;
        int w, h;
        std::function<COLORREF(int, int)> pixel;
        unsigned long key, tolerance;
        const char* rects;
    } cases[] = {
        {"all key: an empty region, not null", 7, 5, [](int, int) { return RGB(0, 0, 0); }, 0, 0, ""},
        // One run per row, which the system joins into the whole picture.
        {"no key", 6, 4, [](int, int) { return RGB(10, 200, 30); }, 0, 0, "0,0,6,4"},
        {"rows top-down: alternating, all key, all but the last", 6, 3,
         [](int x, int y) { return (y == 0 ? x % 2 == 0 : y == 2 && x < 5) ? RGB(200, 0, 0) : RGB(0, 0, 0); }, 0, 0,
         "0,0,1,1 2,0,3,1 4,0,5,1 0,2,5,3"},
        // Key 0x0000FF bounds the first memory byte, which is blue: blue pixels go, red ones stay.
        {"memory byte order", 4, 1, [](int x, int) { return x % 2 ? RGB(0, 0, 255) : RGB(255, 0, 0); }, 0x0000FF, 0,
         "0,0,1,1 2,0,3,1"},
        // Key 240 with tolerance 32 per byte: [240, 255], not a wrapped [240, 16].
        {"tolerance saturates", 6, 1, [&](int x, int) { return RGB(greys[x], greys[x], greys[x]); },
         RGB(240, 240, 240), 0x202020, "0,0,1,1 4,0,6,1"},
        // Only the blue byte (memory byte 0 ~ key byte 0) gets room.
        {"tolerance per byte", 4, 1, [](int x, int) { return RGB(10 + 2 * (x == 2), 10 + 2 * (x == 1), 10 + 5 * !x); },
         RGB(10, 10, 10), 0x000008, "1,0,3,1"},
    };
    for (const auto& c : cases) {
        Dib dib(c.w, c.h, c.pixel);
        HRGN rgn = gfnBitmapToRegion(dib, c.key, c.tolerance);
        EXPECT_NE(nullptr, rgn) << c.what;
        if (!rgn) continue;
        EXPECT_EQ(c.rects, rectsOf(rgn)) << c.what;
        DeleteObject(rgn);
    }
    EXPECT_EQ(nullptr, gfnBitmapToRegion(nullptr, 0, 0));
    // A bitmap selected into another DC can't be read.
    Canvas busy(4, 4);
    EXPECT_EQ(nullptr, gfnBitmapToRegion(busy.bitmap(), 0, 0));
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
        for (int x = 0; x < w; x += 4) runs.push_back({x + (y / 2 % 2) * 2, y, x + (y / 2 % 2) * 2 + 2, y + 1});
    ASSERT_GT(runs.size(), 2000u);
    // The same rectangles made into a region in one piece.
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATA* rd = (RGNDATA*)data.data();
    rd->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, (DWORD)runs.size(), 0, {0, 0, 0, 0}};
    std::copy(runs.begin(), runs.end(), (RECT*)rd->Buffer);
    HRGN whole = ExtCreateRegion(nullptr, (DWORD)data.size(), rd);
    ASSERT_NE(nullptr, whole);
    EXPECT_TRUE(EqualRgn(rgn, whole));
    DeleteObject(whole);
    DeleteObject(rgn);
}

TEST(Region, PatternFillKeepsToTheRegionAndTheBrushOrigin) {
    Dib pattern(8, 8, coordColour);
    Canvas dst(20, 12, kSentinel);
    HRGN rgn = CreateRectRgn(3, 2, 17, 9);
    HGDIOBJ brushBefore = GetCurrentObject(dst.dc(), OBJ_BRUSH);
    ASSERT_NE(0, gfnFillRgnWithBitmap(dst.dc(), rgn, pattern));
    EXPECT_EQ(brushBefore, GetCurrentObject(dst.dc(), OBJ_BRUSH));
    EXPECT_TRUE(pixelsAre(dst, onlyIn({3, 2, 17, 9}, [](int x, int y) { return coordColour(x % 8, y % 8); })));
    EXPECT_EQ(0, gfnFillRgnWithBitmap(dst.dc(), rgn, nullptr));
    DeleteObject(rgn);
}
