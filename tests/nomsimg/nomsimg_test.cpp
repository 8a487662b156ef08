// Drawing without the image-blending library (the program runs with Msimg32 disabled): no alpha
// blending, and transparent drawing through a monochrome mask at 1:1.
#include <gtest/gtest.h>
#include "qDraw.h"
#include "qModule.h"
#include "testutil.h"
#include "tests/drawing/drawtest.h"

using drawtest::coordColour;
using drawtest::Dib;
using testutil::Canvas;

namespace {
const COLORREF kSentinel = RGB(1, 2, 3);
const COLORREF kKey = RGB(255, 0, 255);

bool keyed(int x, int y) { return (x + 2 * y) % 3 == 0; }
COLORREF sourcePixel(int x, int y) { return keyed(x, y) ? kKey : coordColour(x, y); }
}  // namespace

TEST(NoMsimg, AlphaBlendReturnsZeroWithoutDrawing) {
    Dib src(4, 4, RGB(0, 0, 0));
    Canvas srcDC(4, 4, RGB(0, 0, 0));
    Canvas dst(4, 4, kSentinel);
    EXPECT_EQ(0, gfnAlphaBlend(dst.dc(), src.get(), 0, 0, 4, 4, 128, 0, 0, 4, 4));
    EXPECT_EQ(0, gfnAlphaBlend(dst.dc(), srcDC.dc(), 0, 0, 4, 4, 128, 0, 0, 4, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(kSentinel, dst.at(x, y));
}

TEST(NoMsimg, TransparentBitmapThroughTheMaskAtOneToOne) {
    Dib src(9, 7, sourcePixel);
    Canvas dst(12, 10, kSentinel);
    // Source origin (3, 2); the source size (1 x 1 here) is not used on this path.
    ASSERT_EQ(1, gfnDrawTransparentBitmap(dst.dc(), src, 2, 1, 5, 4, kKey, 3, 2, 1, 1));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            bool in = x >= 2 && x < 7 && y >= 1 && y < 5;
            COLORREF want = kSentinel;
            if (in && !keyed(3 + x - 2, 2 + y - 1)) want = coordColour(3 + x - 2, 2 + y - 1);
            ASSERT_EQ(want, dst.at(x, y)) << x << "," << y;
        }
    // The bitmap is as it was, inside and outside the piece that was drawn.
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(sourcePixel(x, y), src.at(x, y)) << x << "," << y;
}

TEST(NoMsimg, TransparentTilesShowTheTopLeftOfCutCells) {
    Dib src(4, 3, sourcePixel);
    Canvas dst(11, 4, kSentinel);
    RECT r = {0, 0, 10, 3};
    ASSERT_NE(0, gfnFillRectWithTransparentBitmap(dst.dc(), &r, src, kKey));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 11; ++x) {
            COLORREF want = kSentinel;
            if (x < 10 && y < 3 && !keyed(x % 4, y)) want = coordColour(x % 4, y);
            ASSERT_EQ(want, dst.at(x, y)) << x << "," << y;
        }
}

TEST(NoMsimg, MaskPathReleasesEverything) {
    Dib src(20, 20, sourcePixel);
    Canvas dst(20, 20, kSentinel);
    EXPECT_EQ(0, drawtest::gdiLeakOver(20, [&] {
                  gfnDrawTransparentBitmap(dst.dc(), src, 0, 0, 15, 15, kKey, 2, 2, 15, 15);
              }));
    EXPECT_EQ(0, drawtest::gdiLeakOver(20, [&] { gfnAlphaBlend(dst.dc(), src.get(), 0, 0, 4, 4, 1, 0, 0, 4, 4); }));
}
