// Blits, stretching, constant-alpha blending and transparent drawing.
#include "qDraw.h"
#include "qModule.h"
#include "tests/drawing/drawtest.h"

using namespace drawtest;

const COLORREF kKey = RGB(255, 0, 255);

TEST(Blit, BitbltAndStretchBltCopyAndKeepTheCallersObjects) {
    Dib src(10, 10, coordColour);
    Canvas dst(12, 12, kSentinel);
    ASSERT_NE(0, gfnBitblt(dst.dc(), 1, 2, 4, 3, src, 5, 6, SRCCOPY));
    EXPECT_TRUE(pixelsAre(dst, [](int x, int y) { return in({1, 2, 5, 5}, x, y) ? coordColour(4 + x, 4 + y) : kSentinel; }));
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

TEST(Blit, AlphaBlendFromABitmapAndFromADC) {
    ASSERT_EQ(1, gfnIsGDIEXCanUse());
    Dib black(4, 4);
    Canvas blackDC(4, 4, RGB(0, 0, 0));
    for (int alpha : {0, 128, 255}) {
        Canvas dst(6, 6, RGB(255, 255, 255));
        // Bitmap overload into the left half, DC overload into the right, both stretched.
        ASSERT_NE(0, gfnAlphaBlend(dst.dc(), black.get(), 0, 0, 3, 6, (BYTE)alpha, 0, 0, 4, 4));
        ASSERT_NE(0, gfnAlphaBlend(dst.dc(), blackDC.dc(), 3, 0, 3, 6, (BYTE)alpha, 0, 0, 4, 4));
        for (int x : {0, 2, 3, 5}) {
            COLORREF p = dst.at(x, 5);
            EXPECT_NEAR(255 - alpha, GetRValue(p), 1) << "alpha " << alpha << " x " << x;   // 127 at 128
            EXPECT_TRUE(GetRValue(p) == GetGValue(p) && GetRValue(p) == GetBValue(p)) << std::hex << p;
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
    EXPECT_TRUE(pixelsAre(big, [](int x, int y) { return x < 4 && y < 2 ? coordColour(2 + x / 2, 0) : kSentinel; }));
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
    EXPECT_TRUE(pixelsAre(dst, [](int, int) { return kSentinel; }));
}
