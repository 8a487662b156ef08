// The drawing context: its buffer, the ratio and mask blends, its shapes, direct mode, copies.
#include "xUIDC.h"
#include "tests/drawing/drawtest.h"

using namespace drawtest;

namespace {
const COLORREF kWhite = RGB(255, 255, 255);

// Exposes the buffer for reading; with a size, made with a buffer of that size (white at first).
struct Probe : xUIDC {
    using xUIDC::m_bInit, xUIDC::m_hBitmap;
    int w = 0, h = 0;
    Probe() = default;
    Probe(int w_, int h_) : w(w_), h(h_) {
        static Canvas screen(4, 4);
        EXPECT_NE(0, fnCreate(w, h, screen.dc()));
    }
    int width() const { return w; }
    int height() const { return h; }
    COLORREF at(int x, int y) const { return colourOf(testutil::dibPixel(m_hBitmap, x, y)); }
};
}  // namespace

TEST(XUIDC, BufferCopiesDirectModeBlitsBlendsShapesTilesAndText) {
    Canvas target(8, 4, RGB(0, 0, 0));
    Probe* ctx = new Probe;
    ASSERT_NE(0, ctx->fnCreate(4, 2, target.dc()));
    ASSERT_NE(0, ctx->Flush(0, 0, 0, 0));
    EXPECT_TRUE(pixelsAre(target, [](int x, int y) { return x < 4 && y < 2 ? kWhite : RGB(0, 0, 0); }));
    // A second create changes nothing until fnUnInit.
    HBITMAP first = ctx->m_hBitmap;
    EXPECT_TRUE(1 == ctx->fnCreate(9, 9, target.dc()) && first == ctx->m_hBitmap && 1 == ctx->fnUnInit());
    EXPECT_TRUE(ctx->fnCreate(3, 3, target.dc()) && !GetObjectType(first));   // the old buffer is gone
    // Copies share the buffer; the last one deletes it.
    HBITMAP shared = ctx->m_hBitmap;
    {
        Probe copy(*ctx), assigned;
        delete ctx;
        target.fill(RGB(0, 0, 0));
        EXPECT_TRUE(shared == copy.m_hBitmap && OBJ_BITMAP == GetObjectType(shared) && copy.Flush(0, 0, 0, 0));
        EXPECT_EQ(kWhite, target.at(2, 2));
        assigned = copy;
        assigned = assigned;
    }
    EXPECT_EQ(0u, (DWORD)GetObjectType(shared));
    // Bad arguments leave it unmade.
    Probe bad;
    EXPECT_FALSE(bad.fnCreate(-1, 2, target.dc()) || bad.fnCreate(2, 2, nullptr) || bad.fnInit(nullptr));
    EXPECT_FALSE(bad.m_bInit || bad.Flush(0, 0, 0, 0));
    // Direct mode draws on the DC.
    target.fill(RGB(0, 0, 0));
    Probe direct;
    ASSERT_EQ(1, direct.fnInit(target.dc()));
    EXPECT_EQ(1, direct.fnCreate(4, 4, target.dc()));   // changes nothing
    EXPECT_TRUE(nullptr == direct.m_hBitmap && 1 == direct.FillRect(1, 1, 2, 2, RGB(9, 9, 9)));
    Canvas src(4, 4, RGB(50, 60, 70));
    AlphaRatio half = {1, 2};   // a plain copy: the ratio is ignored
    EXPECT_NE(0, direct.BitBlt(4, 2, 2, 2, src.dc(), 0, 0, SRCCOPY, nullptr, &half, nullptr));
    EXPECT_TRUE(RGB(9, 9, 9) == target.at(2, 2) && RGB(50, 60, 70) == target.at(5, 3));
    // The buffer's own operations refuse.
    EXPECT_FALSE(direct.DrawArrow(0, 0, 4, 0) || direct.Draw3DLine(0, 0, 4) || direct.TextOutW(0, 0, L"x", 1) || direct.Flush(0, 0, 0, 0));
    // Blits into the buffer: placed, clipped, blended; then shapes, tiles and text.
    Probe placed(6, 5);
    Canvas pattern(8, 8);
    for (int i = 0; i < 64; ++i) SetPixel(pattern.dc(), i % 8, i / 8, coordColour(i % 8, i / 8));
    // 4 x 4 from (3, 2) to (4, 3): only 2 columns and 2 rows fit.
    ASSERT_NE(0, placed.BitBlt(4, 3, 4, 4, pattern.dc(), 3, 2, SRCCOPY, nullptr, nullptr, nullptr));
    EXPECT_TRUE(pixelsAre(placed, [](int x, int y) { return x >= 4 && y >= 3 ? coordColour(x - 1, y - 1) : kWhite; }));
    // Source rows outside the source bitmap are skipped.
    ASSERT_NE(0, placed.BitBlt(0, 0, 2, 4, pattern.dc(), 0, 6, SRCCOPY, nullptr, nullptr, nullptr));
    EXPECT_TRUE(coordColour(0, 7) == placed.at(0, 1) && kWhite == placed.at(0, 2));
    // A colour whose channels differ over white, with an uneven ratio and mask, so that swapped
    // weights or channels show: ratio 1/3 gives (s + 2 x 255) / 3; mask 64 (64 s + 191 x 255) / 255;
    // both (64 s + 701 x 255) / 765. A mask of another size is ignored.
    AlphaRatio third = {1, 3};
    const struct { AlphaRatio* ratio; int maskWidth, maskAlpha; COLORREF want; } blends[] = {
        {&third, 0, 0, RGB(170, 190, 236)}, {nullptr, 4, 64, RGB(191, 206, 241)},
        {&third, 4, 64, RGB(233, 238, 250)}, {nullptr, 3, 64, RGB(0, 60, 200)}};
    Canvas colour(4, 4, RGB(0, 60, 200));
    for (const auto& k : blends) {
        Probe fresh(4, 4);
        HBITMAP mask = k.maskWidth ? greyMask(k.maskWidth, 4, (BYTE)k.maskAlpha) : nullptr;
        EXPECT_NE(0, fresh.BitBlt(0, 0, 4, 4, colour.dc(), 0, 0, SRCCOPY, nullptr, k.ratio, mask));
        EXPECT_TRUE(pixelsAre(fresh, [&](int, int) { return k.want; })) << std::hex << k.want;
        DeleteObject(mask);
    }
    // White is transparent with a ratio; without one it is copied like any colour.
    placed.FillRect(0, 0, 4, 4, RGB(10, 20, 30));
    Canvas white(4, 4, kWhite);
    placed.BitBlt(0, 0, 4, 4, white.dc(), 0, 0, SRCCOPY, nullptr, &third, nullptr);
    EXPECT_EQ(RGB(10, 20, 30), placed.at(1, 1));
    placed.BitBlt(0, 0, 4, 4, white.dc(), 0, 0, SRCCOPY, nullptr, nullptr, nullptr);
    EXPECT_EQ(kWhite, placed.at(1, 1));
    // Shapes: the arrow, 3-D frames and lines, solid fills, tiles and text.
    Probe shapes(24, 24);
    const COLORREF red = RGB(200, 0, 0);
    ASSERT_NE(0, shapes.DrawArrow(10, 10, 5, red));
    // Its corners (10, 10), (10, 15) and (12, 12) are filled; just outside them is white.
    EXPECT_TRUE(shapes.at(10, 10) == red && shapes.at(10, 15) == red && shapes.at(12, 12) == red);
    EXPECT_TRUE(shapes.at(13, 12) == kWhite && shapes.at(9, 12) == kWhite && shapes.at(10, 16) == kWhite);
    shapes.FillRect(0, 0, 24, 24, RGB(0, 0, 0));
    RECT r = {2, 2, 7, 6}, t = {9, 13, 19, 20};
    Dib tile(4, 3, coordColour);
    ASSERT_TRUE(shapes.Draw3DRect(&r, RGB(0, 0, 255), RGB(0, 255, 0)) && shapes.Draw3DLine(1, 10, 6) && shapes.FillRect(&t, tile.get()));
    shapes.FillSolidRect(20, 20, 2, 3, RGB(1, 2, 3));
    auto picture = [&](int x, int y) {
        if (in(r, x, y) && (x == 6 || y == 5)) return RGB(0, 255, 0);
        if (in(r, x, y) && (x == 2 || y == 2)) return RGB(0, 0, 255);
        if (x >= 1 && x < 7 && (y == 10 || y == 11)) return y == 10 ? RGB(0x87, 0x87, 0x87) : kWhite;
        if (in(t, x, y)) return coordColour((x - 9) % 4, (y - 13) % 3);
        return in({20, 20, 22, 23}, x, y) ? RGB(1, 2, 3) : RGB(0, 0, 0);
    };
    EXPECT_TRUE(pixelsAre(shapes, picture));
    shapes.SetTextColor(RGB(0, 0, 200));
    ASSERT_NE(0, shapes.TextOutW(10, 13, L"W", 1));
    EXPECT_FALSE(pixelsAre(shapes, picture));
}

