// Blits, stretching, constant-alpha blending and transparent drawing with the image-blending library.
#include <gtest/gtest.h>
#include "qDraw.h"
#include "qModule.h"
#include "testutil.h"
#include "tests/drawing/drawtest.h"
#include <vector>

using drawtest::coordColour;
using drawtest::Dib;
using testutil::Canvas;

namespace {
const COLORREF kSentinel = RGB(1, 2, 3);
const COLORREF kKey = RGB(255, 0, 255);

// Every pixel of the canvas outside r still holds c.
void expectUntouchedOutside(const Canvas& c, RECT r, COLORREF colour) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            POINT p = {x, y};
            if (!PtInRect(&r, p)) {
                ASSERT_EQ(colour, c.at(x, y)) << x << "," << y;
            }
        }
}

void expectBlank(const Canvas& c, COLORREF colour) { expectUntouchedOutside(c, RECT{0, 0, 0, 0}, colour); }
}  // namespace

TEST(Blit, BitbltCopiesThePieceAndKeepsTheBitmap) {
    Dib src(10, 10, coordColour);
    Canvas dst(12, 12, kSentinel);
    ASSERT_NE(0, gfnBitblt(dst.dc(), 1, 2, 4, 3, src, 5, 6, SRCCOPY));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(coordColour(5 + x, 6 + y), dst.at(1 + x, 2 + y));
    expectUntouchedOutside(dst, {1, 2, 5, 5}, kSentinel);
    // The raster operation is passed through.
    ASSERT_NE(0, gfnBitblt(dst.dc(), 0, 0, 1, 1, src, 3, 4, NOTSRCCOPY));
    EXPECT_EQ(coordColour(3, 4) ^ 0xFFFFFF, dst.at(0, 0));
    // The caller's bitmap is neither deleted nor left selected.
    EXPECT_EQ(OBJ_BITMAP, (DWORD)GetObjectType(src.get()));
    HDC probe = CreateCompatibleDC(nullptr);
    EXPECT_NE(nullptr, SelectObject(probe, src.get()));
    DeleteDC(probe);
}

TEST(Blit, StretchBltScalesTheWholeBitmapAndKeepsTheStretchMode) {
    Dib src(2, 2, coordColour);
    Canvas dst(8, 8, kSentinel);
    SetStretchBltMode(dst.dc(), COLORONCOLOR);
    ASSERT_NE(0, gfnStretchBlt(dst.dc(), 0, 0, 8, 8, src, SRCCOPY));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(coordColour(x / 4, y / 4), dst.at(x, y));
    EXPECT_EQ(COLORONCOLOR, GetStretchBltMode(dst.dc()));
}

TEST(Blit, NullBitmapsAndDCsDrawNothing) {
    Canvas dst(4, 4, kSentinel);
    EXPECT_EQ(0, gfnBitblt(dst.dc(), 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
    EXPECT_EQ(0, gfnStretchBlt(dst.dc(), 0, 0, 4, 4, nullptr, SRCCOPY));
    EXPECT_EQ(0, gfnAlphaBlend(dst.dc(), (HBITMAP) nullptr, 0, 0, 4, 4, 128, 0, 0, 4, 4));
    EXPECT_EQ(0, gfnDrawTransparentBitmap(dst.dc(), nullptr, 0, 0, 4, 4, kKey, 0, 0, 4, 4));
    Dib src(4, 4, RGB(0, 0, 0));
    EXPECT_EQ(0, gfnDrawTransparentBitmap(nullptr, src, 0, 0, 4, 4, kKey, 0, 0, 4, 4));
    expectBlank(dst, kSentinel);
}

TEST(Blit, AlphaBlendAtSeveralConstantAlphas) {
    ASSERT_EQ(1, gfnIsGDIEXCanUse());
    Dib black(4, 4, RGB(0, 0, 0));
    Canvas src(4, 4, RGB(0, 0, 0));
    const struct { unsigned char alpha; int expected; } cases[] = {{0, 255}, {64, 191}, {128, 127}, {255, 0}};
    for (const auto& c : cases) {
        Canvas dst(6, 6, RGB(255, 255, 255));
        // Bitmap overload into the left half, DC overload into the right.
        ASSERT_NE(0, gfnAlphaBlend(dst.dc(), black.get(), 0, 0, 3, 6, c.alpha, 0, 0, 4, 4));
        ASSERT_NE(0, gfnAlphaBlend(dst.dc(), src.dc(), 3, 0, 3, 6, c.alpha, 0, 0, 4, 4));
        for (int x : {0, 2, 3, 5}) {
            COLORREF p = dst.at(x, 5);
            EXPECT_NEAR(c.expected, GetRValue(p), 1) << "alpha " << (int)c.alpha << " x " << x;
            EXPECT_EQ(GetRValue(p), GetGValue(p));
            EXPECT_EQ(GetRValue(p), GetBValue(p));
        }
    }
}

TEST(Blit, TransparentBitmapLeavesTheKeyOutAndScales) {
    // 4 x 2 source: key in column 1 and at (3, 1).
    Dib src(4, 2, [](int x, int y) { return x == 1 || (x == 3 && y == 1) ? kKey : coordColour(x, y); });
    Canvas dst(10, 6, kSentinel);
    ASSERT_NE(0, gfnDrawTransparentBitmap(dst.dc(), src, 1, 1, 4, 2, kKey, 0, 0, 4, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            COLORREF s = src.at(x, y);
            ASSERT_EQ(s == kKey ? kSentinel : s, dst.at(1 + x, 1 + y)) << x << "," << y;
        }
    expectUntouchedOutside(dst, {1, 1, 5, 3}, kSentinel);

    // Scaled 2:1 from a source origin inside the bitmap.
    Canvas big(8, 4, kSentinel);
    ASSERT_NE(0, gfnDrawTransparentBitmap(big.dc(), src, 0, 0, 4, 2, kKey, 2, 0, 2, 1));
    EXPECT_EQ(coordColour(2, 0), big.at(0, 0));
    EXPECT_EQ(coordColour(2, 0), big.at(1, 1));
    EXPECT_EQ(coordColour(3, 0), big.at(3, 0));
    EXPECT_EQ(kSentinel, big.at(4, 0));
    // The source bitmap is as it was.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(x == 1 || (x == 3 && y == 1) ? kKey : coordColour(x, y), src.at(x, y));
}

TEST(Blit, SourceOriginAtOrBeyondTheEdgeDrawsNothing) {
    Dib src(4, 4, coordColour);
    Canvas dst(4, 4, kSentinel);
    EXPECT_EQ(0, gfnDrawTransparentBitmap(dst.dc(), src, 0, 0, 4, 4, kKey, 4, 0, 4, 4));
    EXPECT_EQ(0, gfnDrawTransparentBitmap(dst.dc(), src, 0, 0, 4, 4, kKey, 0, 4, 4, 4));
    EXPECT_EQ(0, gfnDrawTransparentBitmap(dst.dc(), src, 0, 0, 4, 4, kKey, -1, 0, 4, 4));
    EXPECT_EQ(0, gfnDrawTransparentBitmap(dst.dc(), src, 0, 0, 0, 4, kKey, 0, 0, 4, 4));
    EXPECT_EQ(0, gfnBitblt(dst.dc(), 0, 0, 4, 4, src, 4, 0, SRCCOPY));
    EXPECT_EQ(0, gfnBitblt(dst.dc(), 0, 0, 4, 4, src, 0, -1, SRCCOPY));
    EXPECT_EQ(0, gfnAlphaBlend(dst.dc(), src.get(), 0, 0, 4, 4, 255, 0, 4, 1, 1));
    expectBlank(dst, kSentinel);
}

TEST(Blit, NoGdiObjectOutlivesACall) {
    // The counter sees objects that are left behind.
    std::vector<HGDIOBJ> made;
    EXPECT_EQ(3, drawtest::gdiLeakOver(3, [&] { made.push_back(CreateSolidBrush(RGB(1, 2, 3))); }));
    for (HGDIOBJ o : made) DeleteObject(o);

    Dib src(16, 16, coordColour);
    Canvas dst(16, 16, kSentinel);
    EXPECT_EQ(0, drawtest::gdiLeakOver(20, [&] { gfnBitblt(dst.dc(), 0, 0, 8, 8, src, 0, 0, SRCCOPY); }));
    EXPECT_EQ(0, drawtest::gdiLeakOver(20, [&] { gfnStretchBlt(dst.dc(), 0, 0, 8, 8, src, SRCCOPY); }));
    EXPECT_EQ(0, drawtest::gdiLeakOver(20, [&] {
                  gfnAlphaBlend(dst.dc(), src.get(), 0, 0, 8, 8, 100, 0, 0, 8, 8);
              }));
    EXPECT_EQ(0, drawtest::gdiLeakOver(20, [&] {
                  gfnDrawTransparentBitmap(dst.dc(), src, 0, 0, 8, 8, kKey, 0, 0, 8, 8);
              }));
    EXPECT_EQ(0, drawtest::gdiLeakOver(20, [&] { DeleteObject(gfnBitmapToRegion(src, 0, 0)); }));
}
