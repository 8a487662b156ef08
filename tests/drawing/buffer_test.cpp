// Pixel buffers and plain pixel memory on DCs and in other buffers.
#include "qDraw.h"
#include "q32Base.h"
#include "q32Cvt.h"
#include "tests/drawing/drawtest.h"
#include <vector>

using namespace drawtest;

namespace {
using PixelFn = std::function<COLORREF(int, int)>;

// w x h pixels of u bytes (B, G, R, then 255) from f, rows top-down.
std::vector<BYTE> image(int w, int h, int u = 3, const PixelFn& f = coordColour) {
    std::vector<BYTE> px((size_t)w * h * u);
    for (int i = 0; i < w * h; ++i) {
        COLORREF c = f(i % w, i / w);
        const BYTE bytes[4] = {GetBValue(c), GetGValue(c), GetRValue(c), 255};
        std::copy(bytes, bytes + u, &px[(size_t)i * u]);
    }
    return px;
}

// A pixel buffer of w x h pixels of u bytes holding image(w, h, u, f).
struct Buffer {
    void* buf = nullptr;
    int w, h;
    Buffer(int w_, int h_, int u = 3, const PixelFn& f = coordColour) : w(w_), h(h_) {
        buf32Alloc(&buf, u * 8, w, h, 2, nullptr);
        buf32MergeMem(buf, 0, 0, image(w, h, u, f).data(), w, h);
    }
    ~Buffer() { buf32Free(buf); }
    int width() const { return w; }
    int height() const { return h; }
    COLORREF at(int x, int y) const {
        BYTE p[4] = {};
        buf32GetMem(buf, x, y, 1, 1, p);
        return RGB(p[2], p[1], p[0]);
    }
};

COLORREF sentinel(int, int) { return kSentinel; }
}  // namespace

TEST(Buffers, SelImgDrawsFromTheSourcePointAndStopsAtTheImageEdge) {
    std::vector<BYTE> px = image(10, 8);
    Canvas dst(12, 10, kSentinel);
    ASSERT_EQ(1, gfnDrawSelImg(dst.dc(), 1, 2, 4, 3, px.data(), 3, 5, 4, 10, 8));
    EXPECT_TRUE(pixelsAre(dst, [](int x, int y) { return in({1, 2, 5, 5}, x, y) ? coordColour(x + 4, y + 2) : kSentinel; }));
    // Near the image's corner only what the image has is drawn.
    dst.fill(kSentinel);
    ASSERT_EQ(1, gfnDrawSelImg(dst.dc(), 0, 0, 6, 6, px.data(), 3, 7, 6, 10, 8));
    EXPECT_TRUE(pixelsAre(dst, [](int x, int y) { return x < 3 && y < 2 ? coordColour(x + 7, y + 6) : kSentinel; }));
    // Origins at or beyond the edge and empty destinations draw nothing.
    dst.fill(kSentinel);
    EXPECT_EQ(0, gfnDrawSelImg(dst.dc(), 0, 0, 4, 4, px.data(), 3, 10, 0, 10, 8));
    EXPECT_EQ(0, gfnDrawSelImg(dst.dc(), 0, 0, 4, 4, px.data(), 3, 0, 8, 10, 8));
    EXPECT_EQ(0, gfnDrawSelImg(dst.dc(), 0, 0, 4, 4, px.data(), 3, -1, 0, 10, 8));
    EXPECT_EQ(0, gfnDrawSelImg(dst.dc(), 0, 0, 0, 4, px.data(), 3, 0, 0, 10, 8));
    EXPECT_EQ(0, gfnDrawSelImg(dst.dc(), 0, 0, 4, 4, nullptr, 3, 0, 0, 10, 8));
    EXPECT_TRUE(pixelsAre(dst, sentinel));
}

TEST(Buffers, DrawBufWithAZeroWidthReachesTheRightEdge) {
    Buffer b(9, 6);
    Canvas dst(12, 10, kSentinel);
    ASSERT_EQ(1, gfnDrawBuf(dst.dc(), 2, 1, b.buf, 4, 2, 0, 3));
    EXPECT_TRUE(pixelsAre(dst, [](int x, int y) { return in({2, 1, 7, 4}, x, y) ? coordColour(x + 2, y + 1) : kSentinel; }));
    // Sizes beyond the buffer are cut to it.
    dst.fill(kSentinel);
    ASSERT_EQ(1, gfnDrawBuf(dst.dc(), 0, 0, b.buf, 7, 4, 50, 50));
    EXPECT_TRUE(pixelsAre(dst, [](int x, int y) { return x < 2 && y < 2 ? coordColour(x + 7, y + 4) : kSentinel; }));
    EXPECT_EQ(0, gfnDrawBuf(dst.dc(), 0, 0, b.buf, -1, 0, 2, 2));
    EXPECT_EQ(0, gfnDrawBuf(dst.dc(), 0, 0, b.buf, 9, 0, 2, 2));
    EXPECT_EQ(0, gfnDrawBuf(dst.dc(), 0, 0, nullptr, 0, 0, 2, 2));
}

TEST(Buffers, TilingABufferIntoABuffer) {
    Buffer src(20, 20);
    Buffer dst(30, 12, 3, sentinel);
    // A 10 x 10 tile over 25 x 10: three cells, the last five pixels wide.
    ASSERT_EQ(1, gfnFillBufWithBuf(dst.buf, 2, 1, 25, 10, src.buf, 3, 4, 10, 10, nullptr));
    EXPECT_TRUE(pixelsAre(dst, [](int x, int y) {
        return in({2, 1, 27, 11}, x, y) ? coordColour(3 + (x - 2) % 10, 4 + (y - 1) % 10) : kSentinel;
    }));
    // Nothing to cover: success, nothing changed.
    Buffer untouched(4, 4, 3, sentinel);
    EXPECT_EQ(1, gfnFillBufWithBuf(untouched.buf, 0, 0, 0, 4, src.buf, 0, 0, 2, 2, nullptr));
    EXPECT_EQ(1, gfnFillBufWithBuf(untouched.buf, 0, 0, 4, 0, src.buf, 0, 0, 2, 2, nullptr));
    // A tile that starts at the source's edge, and a write-back outside the destination, fail.
    EXPECT_EQ(0, gfnFillBufWithBuf(untouched.buf, 0, 0, 4, 4, src.buf, 20, 0, 2, 2, nullptr));
    EXPECT_EQ(0, gfnFillBufWithBuf(untouched.buf, 2, 2, 4, 4, src.buf, 0, 0, 4, 4, nullptr));
    EXPECT_EQ(0, gfnFillBufWithBuf(nullptr, 0, 0, 4, 4, src.buf, 0, 0, 2, 2, nullptr));
    EXPECT_TRUE(pixelsAre(untouched, sentinel));
}

TEST(Buffers, TilingThroughAnAlphaBuffer) {
    Buffer src(4, 4, 3, [](int, int) { return RGB(0, 0, 0); });
    // Alpha 0, 128, 255, 64 across each row of the tile, in 1-byte and in 3-byte alpha buffers: a
    // 3-byte one weighs by the first byte of each pixel and reads no more than its block.
    const BYTE alphas[4] = {0, 128, 255, 64};
    for (int u : {1, 3}) {
        Buffer dst(6, 2, 3, [](int, int) { return RGB(255, 255, 255); });
        Buffer alpha(4, 4, u, [&](int x, int) { return RGB(0, 0, alphas[x]); });
        ASSERT_EQ(1, gfnFillBufWithBuf(dst.buf, 0, 0, 6, 2, src.buf, 0, 0, 4, 4, alpha.buf));
        // The merge rule of the pixel-buffer library: (fore a + back (255 - a) + 127) / 255.
        EXPECT_TRUE(pixelsAre(dst, [&](int x, int) {
            int want = (255 * (255 - alphas[x % 4]) + 127) / 255;
            return RGB(want, want, want);
        })) << u << "-byte alpha";
    }
    // Pixels of different sizes cannot be copied across.
    Buffer wide(6, 2, 4, sentinel);
    EXPECT_EQ(0, gfnFillBufWithBuf(wide.buf, 0, 0, 6, 2, src.buf, 0, 0, 4, 4, nullptr));
    EXPECT_TRUE(pixelsAre(wide, sentinel));
}

TEST(Buffers, RectangleFillsTileOnePieceOfABufferOrOfMemory) {
    Buffer b(12, 10);
    Canvas dst(30, 14, kSentinel);
    RECT r = {1, 1, 26, 12};
    ASSERT_EQ(1, gfnFillRectWithBuf(dst.dc(), &r, b.buf, 2, 3, 10, 0));   // piece 10 x 7
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) { return in(r, x, y) ? coordColour(2 + (x - 1) % 10, 3 + (y - 1) % 7) : kSentinel; }));
    EXPECT_EQ(0, gfnFillRectWithBuf(dst.dc(), &r, nullptr, 0, 0, 0, 0));
    EXPECT_EQ(0, gfnFillRectWithBuf(dst.dc(), &r, b.buf, 12, 0, 0, 0));

    std::vector<BYTE> px = image(10, 8);
    dst.fill(kSentinel);
    RECT m = {0, 0, 17, 11};
    ASSERT_EQ(1, gfnFillRectWithSelImage(dst.dc(), &m, px.data(), 3, 4, 2, 5, 0, 10, 8));   // piece 5 x 6
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) { return in(m, x, y) ? coordColour(4 + x % 5, 2 + y % 6) : kSentinel; }));
    // An origin beyond the image: nothing drawn, no endless loop.
    dst.fill(kSentinel);
    gfnFillRectWithSelImage(dst.dc(), &m, px.data(), 3, 10, 0, 0, 0, 10, 8);
    gfnFillRectWithSelImage(dst.dc(), &m, px.data(), 3, 0, 9, 0, 0, 10, 8);
    EXPECT_TRUE(pixelsAre(dst, sentinel));
}
