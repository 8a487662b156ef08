// Rectangle fills from bitmaps (tiles, nine cells, the centre cell, transparent tiles), solid colour;
// pixel memory and pixel buffers drawn, tiled and merged.
#include "qDraw.h"
#include "q32Base.h"
#include "tests/drawing/drawtest.h"
#include <functional>
#include <vector>

using namespace drawtest;

namespace {
const UINT kNineCellResource = 201;   // a 30 x 30 bitmap in this program's resources

// What a nine-cell fill of r with cells of cw x ch read from (sx, sy) of src leaves at (x, y): the
// source offset of offset d along a side of length n is the first cell, the last cell, or the middle
// cell repeated.
auto nineCells(const Dib& src, RECT r, int sx, int sy, int cw, int ch) {
    auto from = [](int d, int n, int c) { return d < c ? d : d >= n - c ? 3 * c - n + d : c + (d - c) % c; };
    return [=, &src](int x, int y) {
        int fx = from(x - r.left, r.right - r.left, cw), fy = from(y - r.top, r.bottom - r.top, ch);
        return in(r, x, y) ? src.at(sx + fx, sy + fy) : kSentinel;
    };
}

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
}  // namespace

TEST(Fill, NineCellsTransparentTilesAndSourcelessOperations) {
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
    // Too small for two cells: bottom-right is drawn last (from x 5, y 2); top-right beats
    // bottom-left; nothing else draws.
    Dib src(30, 30, coordColour);
    Canvas dst(20, 20, kSentinel);
    RECT r = {0, 0, 15, 12};
    ASSERT_NE(0, gfnFillRectWith9CellsBitmap(dst.dc(), &r, src, SRCCOPY, 0, 0, 30, 30));
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) {
        if (x >= 5 && x < 15 && y >= 2 && y < 12) return src.at(20 + x - 5, 20 + y - 2);
        if (x >= 5 && x < 15 && y < 10) return src.at(20 + x - 5, y);
        if (x < 10 && y >= 2 && y < 12) return src.at(x, 20 + y - 2);
        return x < 10 && y < 10 ? src.at(x, y) : kSentinel;
    }));
    // Where the tile rule still draws: nine-cell corners over an inverted rectangle, a piece under 3
    // pixels whose tiles of 0 mean the whole bitmap, operations that do not read the source.
    Dib nine(9, 9, coordColour);
    Canvas small(12, 12, kSentinel);
    RECT inverted = {8, 8, 2, 2}, all = {0, 0, 12, 12};
    EXPECT_NE(0, gfnFillRectWith9CellsBitmap(small.dc(), &inverted, nine, SRCCOPY, 0, 0, 9, 9));
    // Top-left at (8, 8), bottom-left at (8, -1), top-right at (-1, 8), bottom-right at (-1, -1).
    EXPECT_TRUE(pixelsAre(small, [&](int x, int y) {
        if ((x < 2 || (x >= 8 && x < 11)) && (y < 2 || (y >= 8 && y < 11)))
            return nine.at(x < 2 ? 7 + x : x - 8, y < 2 ? 7 + y : y - 8);
        return kSentinel;
    }));
    // Cells 0 x 3: no corners; the edges and the centre tile the whole bitmap from their cell's row.
    EXPECT_NE(0, gfnFillRectWith9CellsBitmap(small.dc(), &all, nine, SRCCOPY, 0, 0, 2, 9));
    EXPECT_TRUE(pixelsAre(small, [&](int x, int y) { return nine.at(x % 9, y < 9 ? y : y - 3); }));
    EXPECT_NE(0, gfnFillRectWithBitmap(small.dc(), &all, nine, BLACKNESS, 9, 0, 3, 3));
    EXPECT_NE(0, gfnBitblt(small.dc(), 2, 2, 3, 3, nine, 20, 20, WHITENESS));
    // A solid fill leaves its colour as the background colour.
    RECT solid = {6, 1, 9, 5};
    ASSERT_NE(0, gfnFillSolidRect(small.dc(), &solid, RGB(200, 100, 50)));
    EXPECT_EQ(RGB(200, 100, 50), GetBkColor(small.dc()));
    EXPECT_TRUE(pixelsAre(small, [&](int x, int y) {
        return in(solid, x, y) ? RGB(200, 100, 50) : in({2, 2, 5, 5}, x, y) ? RGB(255, 255, 255) : 0;
    }));
    // Transparent tiles leave the key out and scale the whole bitmap into cut cells.
    const COLORREF key = RGB(0, 255, 0);
    Dib keyed(4, 2, [&](int x, int y) { return x == 2 && y == 0 ? key : coordColour(x, y); });
    Canvas onto(12, 4, kSentinel);
    RECT cells = {0, 0, 10, 3};
    ASSERT_NE(0, gfnFillRectWithTransparentBitmap(onto.dc(), &cells, keyed, key));
    EXPECT_TRUE(pixelsAre(onto, [&](int x, int y) {
        if (in(cells, x, y) && (x >= 8 || y >= 2)) return onto.at(x, y);   // cut cells: looked at below
        COLORREF s = in(cells, x, y) ? keyed.at(x % 4, y) : kSentinel;
        return s == key ? kSentinel : s;
    }));
    // The last cell is 2 x 1: the whole bitmap scaled into it, so column 9 shows source column 2 or 3,
    // never column 1.
    EXPECT_NE(keyed.at(1, 0), onto.at(9, 0));
}

// Bad arguments fail and draw nothing: null DCs, rectangles and pixels, source origins at or beyond
// the bitmap's edge, no area, a missing resource, a bitmap too small for a centre cell.
// Empty and inverted rectangles succeed and draw nothing.
TEST(Fill, BadArgumentsFailAndEmptyRectanglesDrawNothing) {
    Dib src(9, 9, coordColour), tiny(2, 2, coordColour);
    Canvas dst(12, 12, kSentinel);
    const HDC dc = dst.dc();
    const HINSTANCE self = GetModuleHandleW(nullptr);
    const COLORREF key = RGB(255, 0, 255);
    RECT empty = {5, 5, 5, 9}, inverted = {8, 8, 2, 2}, r = {0, 0, 12, 12};
    std::vector<BYTE> px = image(10, 8);
    const std::function<int()> refused[] = {
        [&] { return gfnDrawTransparentBitmap(nullptr, src, 0, 0, 4, 4, key, 0, 0, 4, 4); },
        [&] { return gfnDrawTransparentBitmap(dc, src, 0, 0, 0, 4, key, 0, 0, 4, 4); },
        [&] { return gfnFillRectWithBitmap(dc, &r, src, SRCCOPY, 9, 0, 3, 3); },
        [&] { return gfnFillRectWithBitmap(dc, &r, src, SRCCOPY, 0, 9, 3, 3); },
        [&] { return gfnFillRectWith9CellsBitmap(dc, &r, src, SRCCOPY, 9, 0, 9, 9); },
        [&] { return gfnFillRectWithCenterCell(dc, &r, tiny, SRCCOPY); },
        [&] { return gfnFillRectWithBitmap(dc, nullptr, src, SRCCOPY, 0, 0, 0, 0); },
        [&] { return gfnFillSolidRect(dc, nullptr, RGB(9, 9, 9)); },
        [&] { return gfnFillRectWith9CellsBitmap(dc, &r, self, 9999, SRCCOPY, 0, 0, 0, 0); },
        [&] { return gfnDrawSelImg(dc, 0, 0, 4, 4, px.data(), 3, 10, 0, 10, 8); },
        [&] { return gfnDrawSelImg(dc, 0, 0, 4, 4, px.data(), 3, 0, 8, 10, 8); },
        [&] { return gfnDrawSelImg(dc, 0, 0, 0, 4, px.data(), 3, 0, 0, 10, 8); },
        [&] { return gfnDrawSelImg(dc, 0, 0, 4, 4, nullptr, 3, 0, 0, 10, 8); },
    };
    for (const auto& call : refused) EXPECT_EQ(0, call()) << &call - refused;
    for (POINT o : {POINT{9, 0}, POINT{0, 9}, POINT{-1, 0}, POINT{0, -1}})
        EXPECT_FALSE(gfnBitblt(dc, 0, 0, 4, 4, src, o.x, o.y, SRCCOPY) || gfnAlphaBlend(dc, src.get(), 0, 0, 4, 4, 255, o.x, o.y, 1, 1) ||
                     gfnDrawTransparentBitmap(dc, src, 0, 0, 4, 4, key, o.x, o.y, 4, 4)) << o.x << "," << o.y;
    EXPECT_TRUE(gfnFillRectWithBitmap(dc, &empty, src, SRCCOPY, 0, 0, 3, 3) && gfnFillRectWithBitmap(dc, &inverted, src, SRCCOPY, 0, 0, 3, 3));
    gfnFillRectWithCenterCell(dc, &inverted, src, SRCCOPY);
    gfnFillRectWithTransparentBitmap(dc, &inverted, src, 0);
    gfnFillRectWithBitmap(dc, &r, src, SRCCOPY, 0, 0, -3, 3);
    EXPECT_TRUE(pixelsAre(dst, blank));
}

// Tiles are cut at the right and bottom, and a zero side means the whole bitmap; the centre cell is
// tiled; resources draw like their bitmaps.
TEST(Fill, TilesCentreCellAndResources) {
    Dib twenty(20, 20, coordColour);
    Canvas tiles(30, 16, kSentinel);
    RECT t = {0, 1, 25, 14};
    // Cells of 10, 10 and 5 columns (the last one the tile's left five), rows of 10 and 3.
    ASSERT_NE(0, gfnFillRectWithBitmap(tiles.dc(), &t, twenty, SRCCOPY, 5, 3, 10, 10));
    EXPECT_TRUE(pixelsAre(tiles, onlyIn(t, [&](int x, int y) { return twenty.at(5 + x % 10, 3 + (y - 1) % 10); })));
    Dib small(8, 6, coordColour);
    ASSERT_NE(0, gfnFillRectWithBitmap(tiles.dc(), &t, small, SRCCOPY, 0, 0, 5, 0));
    EXPECT_TRUE(pixelsAre(tiles, onlyIn(t, [&](int x, int y) { return small.at(x % 8, (y - 1) % 6); })));
    Dib src(31, 30, coordColour);   // cells of 10 x 10
    Canvas dst(25, 13, kSentinel);
    RECT all = {0, 0, 25, 13};
    ASSERT_NE(0, gfnFillRectWithCenterCell(dst.dc(), &all, src, SRCCOPY));
    EXPECT_TRUE(pixelsAre(dst, [&](int x, int y) { return src.at(10 + x % 10, 10 + y % 10); }));
    // The resource overloads draw what the bitmap overloads draw with the resource's bitmap.
    HINSTANCE self = GetModuleHandleW(nullptr);
    HBITMAP bitmap = LoadBitmapW(self, MAKEINTRESOURCEW(kNineCellResource));
    Canvas a(50, 40, kSentinel), b(50, 40, kSentinel);
    RECT r = {1, 1, 47, 35}, inner = {6, 5, 44, 31};
    EXPECT_TRUE(gfnFillRectWithBitmap(a.dc(), &r, bitmap, SRCCOPY, 3, 4, 7, 6) &&
                gfnFillRectWith9CellsBitmap(a.dc(), &inner, bitmap, SRCCOPY, 0, 0, 30, 30));
    EXPECT_TRUE(gfnFillRectWithBitmap(b.dc(), &r, self, kNineCellResource, SRCCOPY, 3, 4, 7, 6) &&
                gfnFillRectWith9CellsBitmap(b.dc(), &inner, self, kNineCellResource, SRCCOPY, 0, 0, 30, 30));
    EXPECT_TRUE(pixelsAre(b, [&](int x, int y) { return a.at(x, y); }) && a.at(1, 1) != kSentinel);
    DeleteObject(bitmap);
}

TEST(Buffers, DrawnTiledAndMerged) {
    Buffer src(20, 20);
    Buffer dst(30, 12, 3, blank);
    // A 10 x 10 tile over 25 x 10: three cells, the last five pixels wide.
    ASSERT_EQ(1, gfnFillBufWithBuf(dst.buf, 2, 1, 25, 10, src.buf, 3, 4, 10, 10, nullptr));
    EXPECT_TRUE(pixelsAre(dst, [](int x, int y) {
        return in({2, 1, 27, 11}, x, y) ? coordColour(3 + (x - 2) % 10, 4 + (y - 1) % 10) : kSentinel;
    }));
    // Nothing to cover: success, nothing changed.
    Buffer untouched(4, 4, 3, blank);
    EXPECT_EQ(1, gfnFillBufWithBuf(untouched.buf, 0, 0, 0, 4, src.buf, 0, 0, 2, 2, nullptr));
    EXPECT_EQ(1, gfnFillBufWithBuf(untouched.buf, 0, 0, 4, 0, src.buf, 0, 0, 2, 2, nullptr));
    // A tile that starts at the source's edge, and a write-back outside the destination, fail.
    EXPECT_EQ(0, gfnFillBufWithBuf(untouched.buf, 0, 0, 4, 4, src.buf, 20, 0, 2, 2, nullptr));
    EXPECT_EQ(0, gfnFillBufWithBuf(untouched.buf, 2, 2, 4, 4, src.buf, 0, 0, 4, 4, nullptr));
    EXPECT_EQ(0, gfnFillBufWithBuf(nullptr, 0, 0, 4, 4, src.buf, 0, 0, 2, 2, nullptr));
    EXPECT_TRUE(pixelsAre(untouched, blank));
    // A colour whose channels differ over white, alpha 0, 128, 255, 64 across each row of the tile,
    // in 1-byte and 3-byte alpha buffers (a 3-byte one weighs by the first byte of each pixel and
    // reads no more than its block). The merge rule: (fore a + back (255 - a) + 127) / 255.
    Buffer fore(4, 4, 3, [](int, int) { return RGB(0, 60, 200); });
    const BYTE alphas[4] = {0, 128, 255, 64};
    auto merged = [&](int c, int a) { return (c * a + 255 * (255 - a) + 127) / 255; };
    for (int u : {1, 3}) {
        Buffer white(6, 2, 3, [](int, int) { return RGB(255, 255, 255); });
        Buffer alpha(4, 4, u, [&](int x, int) { return RGB(0, 0, alphas[x]); });
        ASSERT_EQ(1, gfnFillBufWithBuf(white.buf, 0, 0, 6, 2, fore.buf, 0, 0, 4, 4, alpha.buf));
        EXPECT_TRUE(pixelsAre(white, [&](int x, int) {
            return RGB(merged(0, alphas[x % 4]), merged(60, alphas[x % 4]), merged(200, alphas[x % 4]));
        })) << u << "-byte alpha";
    }
    // Pixels of different sizes cannot be copied across.
    Buffer wide(6, 2, 4, blank);
    EXPECT_TRUE(0 == gfnFillBufWithBuf(wide.buf, 0, 0, 6, 2, fore.buf, 0, 0, 4, 4, nullptr) && pixelsAre(wide, blank));

    // Rectangle fills tile one piece of a buffer or of memory.
    Buffer b(12, 10);
    Canvas onto(30, 14, kSentinel);
    RECT r = {1, 1, 26, 12};
    ASSERT_EQ(1, gfnFillRectWithBuf(onto.dc(), &r, b.buf, 2, 3, 10, 0));   // piece 10 x 7
    EXPECT_TRUE(pixelsAre(onto, onlyIn(r, [](int x, int y) { return coordColour(2 + (x - 1) % 10, 3 + (y - 1) % 7); })));
    EXPECT_EQ(0, gfnFillRectWithBuf(onto.dc(), &r, nullptr, 0, 0, 0, 0));
    EXPECT_EQ(0, gfnFillRectWithBuf(onto.dc(), &r, b.buf, 12, 0, 0, 0));
    std::vector<BYTE> px = image(10, 8);
    onto.fill(kSentinel);
    RECT m = {0, 0, 17, 11};
    ASSERT_EQ(1, gfnFillRectWithSelImage(onto.dc(), &m, px.data(), 3, 4, 2, 5, 0, 10, 8));   // piece 5 x 6
    EXPECT_TRUE(pixelsAre(onto, onlyIn(m, [](int x, int y) { return coordColour(4 + x % 5, 2 + y % 6); })));
    // An origin beyond the image: nothing drawn, no endless loop.
    onto.fill(kSentinel);
    gfnFillRectWithSelImage(onto.dc(), &m, px.data(), 3, 10, 0, 0, 0, 10, 8);
    gfnFillRectWithSelImage(onto.dc(), &m, px.data(), 3, 0, 9, 0, 0, 10, 8);
    EXPECT_TRUE(pixelsAre(onto, blank));
    // Memory and buffers drawn from the source point: near the image's corner only what the image
    // has; from a buffer a zero width reaches its right edge, sizes beyond it are cut to it.
    std::vector<BYTE> mem = image(10, 8);
    Canvas canvas(12, 10, kSentinel);
    Buffer small(9, 6);
    ASSERT_EQ(1, gfnDrawSelImg(canvas.dc(), 1, 2, 4, 3, mem.data(), 3, 5, 4, 10, 8));
    ASSERT_EQ(1, gfnDrawSelImg(canvas.dc(), 0, 0, 6, 6, mem.data(), 3, 7, 6, 10, 8));
    ASSERT_EQ(1, gfnDrawBuf(canvas.dc(), 6, 6, small.buf, 4, 2, 0, 3));
    ASSERT_EQ(1, gfnDrawBuf(canvas.dc(), 9, 0, small.buf, 7, 4, 50, 50));
    EXPECT_TRUE(pixelsAre(canvas, [](int x, int y) {
        if (in({1, 2, 5, 5}, x, y)) return coordColour(x + 4, y + 2);
        if (in({0, 0, 3, 2}, x, y)) return coordColour(x + 7, y + 6);
        if (in({6, 6, 11, 9}, x, y)) return coordColour(x - 2, y - 4);
        return in({9, 0, 11, 2}, x, y) ? coordColour(x - 2, y + 4) : kSentinel;
    }));
    EXPECT_EQ(0, gfnDrawBuf(canvas.dc(), 0, 0, small.buf, -1, 0, 2, 2) + gfnDrawBuf(canvas.dc(), 0, 0, small.buf, 9, 0, 2, 2) +
                 gfnDrawBuf(canvas.dc(), 0, 0, nullptr, 0, 0, 2, 2));
}
