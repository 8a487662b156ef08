// Pixel buffers and plain pixel memory on DCs and in other buffers.
#include <gtest/gtest.h>
#include "qDraw.h"
#include "q32Base.h"
#include "q32Cvt.h"
#include "testutil.h"
#include "tests/drawing/drawtest.h"
#include <vector>

using drawtest::coordColour;
using testutil::Canvas;

namespace {
const COLORREF kSentinel = RGB(1, 2, 3);

// A buffer of w x h pixels of u bytes whose pixel (x, y) is coordColour(x, y) (B, G, R bytes; a
// fourth byte of 255).
struct Buffer {
    void* buf = nullptr;
    int w, h, u;
    Buffer(int w_, int h_, int u_ = 3, std::function<COLORREF(int, int)> f = coordColour) : w(w_), h(h_), u(u_) {
        buf32Alloc(&buf, u * 8, w, h, 2, nullptr);
        std::vector<BYTE> px((size_t)w * h * u);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                BYTE* p = &px[((size_t)y * w + x) * u];
                COLORREF c = f(x, y);
                p[0] = GetBValue(c);
                if (u > 1) p[1] = GetGValue(c);
                if (u > 2) p[2] = GetRValue(c);
                if (u > 3) p[3] = 255;
            }
        buf32MergeMem(buf, 0, 0, px.data(), w, h);
    }
    ~Buffer() { buf32Free(buf); }
    COLORREF at(int x, int y) const {
        BYTE p[4] = {};
        buf32GetMem(buf, x, y, 1, 1, p);
        return RGB(p[2], p[1], p[0]);
    }
    BYTE byteAt(int x, int y) const {
        BYTE p[4] = {};
        buf32GetMem(buf, x, y, 1, 1, p);
        return p[0];
    }
};

// Plain B, G, R memory of w x h.
std::vector<unsigned char> image(int w, int h) {
    std::vector<unsigned char> px((size_t)w * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF c = coordColour(x, y);
            unsigned char* p = &px[((size_t)y * w + x) * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return px;
}
}  // namespace

TEST(Buffers, SelImgDrawsFromTheSourcePoint) {
    std::vector<unsigned char> px = image(10, 8);
    Canvas dst(12, 10, kSentinel);
    ASSERT_EQ(1, gfnDrawSelImg(dst.dc(), 1, 2, 4, 3, px.data(), 3, 5, 4, 10, 8));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            bool in = x >= 1 && x < 5 && y >= 2 && y < 5;
            ASSERT_EQ(in ? coordColour(5 + x - 1, 4 + y - 2) : kSentinel, dst.at(x, y)) << x << "," << y;
        }
    // Near the image's corner only what the image has is drawn.
    dst.fill(kSentinel);
    ASSERT_EQ(1, gfnDrawSelImg(dst.dc(), 0, 0, 6, 6, px.data(), 3, 7, 6, 10, 8));
    EXPECT_EQ(coordColour(9, 7), dst.at(2, 1));
    EXPECT_EQ(kSentinel, dst.at(3, 0));
    EXPECT_EQ(kSentinel, dst.at(0, 2));
    // Origins at or beyond the edge and empty destinations draw nothing.
    dst.fill(kSentinel);
    EXPECT_EQ(0, gfnDrawSelImg(dst.dc(), 0, 0, 4, 4, px.data(), 3, 10, 0, 10, 8));
    EXPECT_EQ(0, gfnDrawSelImg(dst.dc(), 0, 0, 4, 4, px.data(), 3, 0, 8, 10, 8));
    EXPECT_EQ(0, gfnDrawSelImg(dst.dc(), 0, 0, 4, 4, px.data(), 3, -1, 0, 10, 8));
    EXPECT_EQ(0, gfnDrawSelImg(dst.dc(), 0, 0, 0, 4, px.data(), 3, 0, 0, 10, 8));
    EXPECT_EQ(0, gfnDrawSelImg(dst.dc(), 0, 0, 4, 4, nullptr, 3, 0, 0, 10, 8));
    EXPECT_EQ(kSentinel, dst.at(0, 0));
}

TEST(Buffers, DrawBufWithAZeroWidthReachesTheRightEdge) {
    Buffer b(9, 6);
    Canvas dst(12, 10, kSentinel);
    ASSERT_EQ(1, gfnDrawBuf(dst.dc(), 2, 1, b.buf, 4, 2, 0, 3));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            bool in = x >= 2 && x < 7 && y >= 1 && y < 4;
            ASSERT_EQ(in ? coordColour(4 + x - 2, 2 + y - 1) : kSentinel, dst.at(x, y)) << x << "," << y;
        }
    // Sizes beyond the buffer are cut to it.
    dst.fill(kSentinel);
    ASSERT_EQ(1, gfnDrawBuf(dst.dc(), 0, 0, b.buf, 7, 4, 50, 50));
    EXPECT_EQ(coordColour(8, 5), dst.at(1, 1));
    EXPECT_EQ(kSentinel, dst.at(2, 0));
    EXPECT_EQ(0, gfnDrawBuf(dst.dc(), 0, 0, b.buf, -1, 0, 2, 2));
    EXPECT_EQ(0, gfnDrawBuf(dst.dc(), 0, 0, b.buf, 9, 0, 2, 2));
    EXPECT_EQ(0, gfnDrawBuf(dst.dc(), 0, 0, nullptr, 0, 0, 2, 2));
}

TEST(Buffers, TilingABufferIntoABuffer) {
    Buffer src(20, 20);
    Buffer dst(30, 12, 3, [](int, int) { return kSentinel; });
    // A 10 x 10 tile over 25 x 10: three cells, the last five pixels wide.
    ASSERT_EQ(1, gfnFillBufWithBuf(dst.buf, 2, 1, 25, 10, src.buf, 3, 4, 10, 10, nullptr));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 30; ++x) {
            bool in = x >= 2 && x < 27 && y >= 1 && y < 11;
            ASSERT_EQ(in ? coordColour(3 + (x - 2) % 10, 4 + (y - 1) % 10) : kSentinel, dst.at(x, y)) << x << "," << y;
        }
    // Nothing to cover: success, nothing changed.
    Buffer untouched(4, 4, 3, [](int, int) { return kSentinel; });
    EXPECT_EQ(1, gfnFillBufWithBuf(untouched.buf, 0, 0, 0, 4, src.buf, 0, 0, 2, 2, nullptr));
    EXPECT_EQ(1, gfnFillBufWithBuf(untouched.buf, 0, 0, 4, 0, src.buf, 0, 0, 2, 2, nullptr));
    EXPECT_EQ(kSentinel, untouched.at(0, 0));
    // A tile that starts at the source's edge, and a write-back outside the destination, fail.
    EXPECT_EQ(0, gfnFillBufWithBuf(untouched.buf, 0, 0, 4, 4, src.buf, 20, 0, 2, 2, nullptr));
    EXPECT_EQ(0, gfnFillBufWithBuf(untouched.buf, 2, 2, 4, 4, src.buf, 0, 0, 4, 4, nullptr));
    EXPECT_EQ(0, gfnFillBufWithBuf(nullptr, 0, 0, 4, 4, src.buf, 0, 0, 2, 2, nullptr));
}

TEST(Buffers, TilingThroughAnAlphaBuffer) {
    Buffer src(4, 4, 3, [](int, int) { return RGB(0, 0, 0); });
    Buffer dst(6, 2, 3, [](int, int) { return RGB(255, 255, 255); });
    // Alpha 0, 128, 255, 64 across each row of the tile.
    const BYTE alphas[4] = {0, 128, 255, 64};
    Buffer alpha(4, 4, 1, [&](int x, int) { return RGB(0, 0, alphas[x]); });
    ASSERT_EQ(1, gfnFillBufWithBuf(dst.buf, 0, 0, 6, 2, src.buf, 0, 0, 4, 4, alpha.buf));
    // The merge rule of the pixel-buffer library: (fore a + back (255 - a) + 127) / 255.
    for (int x = 0; x < 6; ++x) {
        int a = alphas[x % 4];
        int want = (255 * (255 - a) + 127) / 255;
        EXPECT_EQ(RGB(want, want, want), dst.at(x, 1)) << x;
    }
    // A 3-byte alpha buffer weighs by the first byte of each pixel, and reads no more than its block.
    Buffer dst3(6, 2, 3, [](int, int) { return RGB(255, 255, 255); });
    Buffer alpha3(4, 4, 3, [&](int x, int) { return RGB(0, 0, alphas[x]); });
    ASSERT_EQ(1, gfnFillBufWithBuf(dst3.buf, 0, 0, 6, 2, src.buf, 0, 0, 4, 4, alpha3.buf));
    for (int x = 0; x < 6; ++x) EXPECT_EQ(dst.at(x, 0), dst3.at(x, 0)) << x;
    // Pixels of different sizes cannot be copied across.
    Buffer wide(6, 2, 4, [](int, int) { return RGB(1, 2, 3); });
    EXPECT_EQ(0, gfnFillBufWithBuf(wide.buf, 0, 0, 6, 2, src.buf, 0, 0, 4, 4, nullptr));
    EXPECT_EQ(RGB(1, 2, 3), wide.at(0, 0));
}

TEST(Buffers, FillRectWithBufTilesOnePiece) {
    Buffer b(12, 10);
    Canvas dst(30, 14, kSentinel);
    RECT r = {1, 1, 26, 12};
    ASSERT_EQ(1, gfnFillRectWithBuf(dst.dc(), &r, b.buf, 2, 3, 10, 0));   // piece 10 x 7
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 30; ++x) {
            POINT p = {x, y};
            COLORREF want = PtInRect(&r, p) ? coordColour(2 + (x - 1) % 10, 3 + (y - 1) % 7) : kSentinel;
            ASSERT_EQ(want, dst.at(x, y)) << x << "," << y;
        }
    EXPECT_EQ(0, gfnFillRectWithBuf(dst.dc(), &r, nullptr, 0, 0, 0, 0));
    EXPECT_EQ(0, gfnFillRectWithBuf(dst.dc(), &r, b.buf, 12, 0, 0, 0));
}

TEST(Buffers, FillRectWithSelImageShowsThePiecesTopLeft) {
    std::vector<unsigned char> px = image(10, 8);
    Canvas dst(20, 12, kSentinel);
    RECT r = {0, 0, 17, 11};
    ASSERT_EQ(1, gfnFillRectWithSelImage(dst.dc(), &r, px.data(), 3, 4, 2, 5, 0, 10, 8));   // piece 5 x 6
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            POINT p = {x, y};
            COLORREF want = PtInRect(&r, p) ? coordColour(4 + x % 5, 2 + y % 6) : kSentinel;
            ASSERT_EQ(want, dst.at(x, y)) << x << "," << y;
        }
    // An origin beyond the image: nothing drawn, no endless loop.
    dst.fill(kSentinel);
    gfnFillRectWithSelImage(dst.dc(), &r, px.data(), 3, 10, 0, 0, 0, 10, 8);
    gfnFillRectWithSelImage(dst.dc(), &r, px.data(), 3, 0, 9, 0, 0, 10, 8);
    EXPECT_EQ(kSentinel, dst.at(0, 0));
}

TEST(Buffers, CapturedBitmapsAsBuffers) {
    RECT r = {0, 0, 16, 8};
    void* shot = gfnGetScreenBitmapAIKBuffer(&r);
    ASSERT_NE(nullptr, shot);
    int w = 0, h = 0, u = 0;
    ASSERT_NE(0, buf32GetWHU(shot, &w, &h, &u));
    EXPECT_EQ(16, w);
    EXPECT_EQ(8, h);
    buf32Free(shot);
    EXPECT_EQ(nullptr, gfnGetWindowShownBitmapAIKBuffer(nullptr, &r));
}
