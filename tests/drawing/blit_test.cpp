// Blits, stretching, constant-alpha blending, transparent drawing; regions cut from bitmaps and
// pattern fills of regions; shadowed and grey text, 3-D frames, measuring text.
#include "qDraw.h"
#include "qModule.h"
#include "tests/drawing/drawtest.h"
#include <string>
#include <vector>

using namespace drawtest;

TEST(Blit, CopiesStretchesTransparencyAndBlends) {
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
    // Transparent drawing leaves the key out, scales, and keeps the source.
    const COLORREF kKey = RGB(255, 0, 255);
    auto source = [](int x, int y) { return x == 1 || (x == 3 && y == 1) ? kKey : coordColour(x, y); };
    Dib keyed(4, 2, source);
    Canvas onto(10, 6, kSentinel);
    ASSERT_NE(0, gfnDrawTransparentBitmap(onto.dc(), keyed, 1, 1, 4, 2, kKey, 0, 0, 4, 2));
    EXPECT_TRUE(pixelsAre(onto, [&](int x, int y) {
        COLORREF s = in({1, 1, 5, 3}, x, y) ? source(x - 1, y - 1) : kSentinel;
        return s == kKey ? kSentinel : s;
    }));
    // Scaled 2:1 from a source origin inside the bitmap.
    Canvas wide(8, 4, kSentinel);
    ASSERT_NE(0, gfnDrawTransparentBitmap(wide.dc(), keyed, 0, 0, 4, 2, kKey, 2, 0, 2, 1));
    EXPECT_TRUE(pixelsAre(wide, onlyIn({0, 0, 4, 2}, [](int x, int) { return coordColour(2 + x / 2, 0); })));
    EXPECT_TRUE(pixelsAre(keyed, source));
    // Alpha blending from a bitmap and from a DC, from sources of distinct pixels so that a wrong
    // origin, size or channel order shows.
    ASSERT_EQ(1, gfnIsGDIEXCanUse());
    Dib six(6, 6, coordColour);
    Canvas srcDC(6, 6);
    ASSERT_NE(0, gfnBitblt(srcDC.dc(), 0, 0, 6, 6, six, 0, 0, SRCCOPY));
    for (int alpha : {0, 100, 255}) {
        Canvas blended(8, 4, RGB(255, 255, 255));
        // The bitmap overload unscaled from (1, 2) on the left, the DC overload 2:1 from (2, 1) on the right.
        ASSERT_NE(0, gfnAlphaBlend(blended.dc(), six.get(), 0, 0, 3, 3, (BYTE)alpha, 1, 2, 3, 3));
        ASSERT_NE(0, gfnAlphaBlend(blended.dc(), srcDC.dc(), 4, 0, 4, 4, (BYTE)alpha, 2, 1, 2, 2));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool left = x < 3 && y < 3, right = x >= 4;
                const COLORREF s = left ? coordColour(1 + x, 2 + y) : right ? coordColour(2 + (x - 4) / 2, 1 + y / 2) : 0xFFFFFF;
                const int a = left || right ? alpha : 255;
                for (int shift : {0, 8, 16})
                    EXPECT_NEAR(((s >> shift & 0xFF) * a + 255 * (255 - a)) / 255, blended.at(x, y) >> shift & 0xFF, 1)
                        << "alpha " << alpha << " at " << x << "," << y;
            }
    }
}

namespace {
// Which pixels of w x h the region holds, as rows of '#' (in) and '.' (out) each ended by '/'; '!'
// when it reaches outside.
std::string holds(HRGN rgn, int w, int h) {
    RECT box;
    std::string s(GetRgnBox(rgn, &box) != NULLREGION && (box.right > w || box.bottom > h) ? "!" : "");
    for (int y = 0; y < h; ++y, s += '/')
        for (int x = 0; x < w; ++x) s += PtInRegion(rgn, x, y) ? '#' : '.';
    return s;
}
}  // namespace

TEST(Region, CutFromBitmapsAndFilledWithPatterns) {
    const BYTE greys[] = {239, 240, 250, 255, 16, 0};
    const struct {
        const char* what;
        int w, h;
        std::function<COLORREF(int, int)> pixel;
        unsigned long key, tolerance;
        const char* held;
    } cases[] = {
        {"all key: an empty region, not null", 7, 3, [](int, int) { return RGB(0, 0, 0); }, 0, 0, "......./......./......./"},
        {"no key", 6, 2, [](int, int) { return RGB(10, 200, 30); }, 0, 0, "######/######/"},
        {"rows top-down: alternating, all key, all but the last", 6, 3,
         [](int x, int y) { return (y == 0 ? x % 2 == 0 : y == 2 && x < 5) ? RGB(200, 0, 0) : RGB(0, 0, 0); }, 0, 0,
         "#.#.#./....../#####./"},
        // Key 0x0000FF bounds the first memory byte, which is blue: blue pixels go, red ones stay.
        {"memory byte order", 4, 1, [](int x, int) { return x % 2 ? RGB(0, 0, 255) : RGB(255, 0, 0); }, 0x0000FF, 0,
         "#.#./"},
        // Key 240 with tolerance 32 per byte: [240, 255], not a wrapped [240, 16].
        {"tolerance saturates", 6, 1, [&](int x, int) { return RGB(greys[x], greys[x], greys[x]); },
         RGB(240, 240, 240), 0x202020, "#...##/"},
        // Only the blue byte (memory byte 0 ~ key byte 0) gets room.
        {"tolerance per byte", 4, 1, [](int x, int) { return RGB(10 + 2 * (x == 2), 10 + 2 * (x == 1), 10 + 5 * !x); },
         RGB(10, 10, 10), 0x000008, ".##./"},
    };
    for (const auto& c : cases) {
        Dib dib(c.w, c.h, c.pixel);
        HRGN rgn = gfnBitmapToRegion(dib, c.key, c.tolerance);
        EXPECT_NE(nullptr, rgn) << c.what;
        if (!rgn) continue;
        EXPECT_EQ(c.held, holds(rgn, c.w, c.h)) << c.what;
        DeleteObject(rgn);
    }
    EXPECT_EQ(nullptr, gfnBitmapToRegion(nullptr, 0, 0));
    // A bitmap selected into another DC can't be read.
    Canvas busy(4, 4);
    EXPECT_EQ(nullptr, gfnBitmapToRegion(busy.bitmap(), 0, 0));
    // A checkerboard of 2 x 2 squares, 100 x 90: 2250 runs, more than one batch of rectangles.
    auto opaque = [](int x, int y) { return ((x / 2) + (y / 2)) % 2 == 0; };
    Dib dib(100, 90, [&](int x, int y) { return opaque(x, y) ? RGB(0, 90, 0) : RGB(255, 255, 255); });
    HRGN rgn = gfnBitmapToRegion(dib, RGB(255, 255, 255), 0);
    std::string want;
    for (int y = 0; y < 90; ++y, want += '/')
        for (int x = 0; x < 100; ++x) want += opaque(x, y) ? '#' : '.';
    EXPECT_TRUE(rgn && want == holds(rgn, 100, 90));
    DeleteObject(rgn);
    // A pattern fill keeps to the region and the brush origin, and puts the brush back.
    Dib pattern(8, 8, coordColour);
    Canvas onto(20, 12, kSentinel);
    HRGN area = CreateRectRgn(3, 2, 17, 9);
    HGDIOBJ brushBefore = GetCurrentObject(onto.dc(), OBJ_BRUSH);
    ASSERT_NE(0, gfnFillRgnWithBitmap(onto.dc(), area, pattern));
    EXPECT_EQ(brushBefore, GetCurrentObject(onto.dc(), OBJ_BRUSH));
    EXPECT_TRUE(pixelsAre(onto, onlyIn({3, 2, 17, 9}, [](int x, int y) { return coordColour(x % 8, y % 8); })));
    EXPECT_EQ(0, gfnFillRgnWithBitmap(onto.dc(), area, nullptr));
    DeleteObject(area);
}

namespace {
const COLORREF kPaper = RGB(0, 0, 0);
const RECT kTextRect = {10, 8, 50, 28};
const UINT kFormat = DT_LEFT | DT_TOP | DT_SINGLELINE;

// A font without smoothing so every text pixel has exactly the text colour.
struct SharpFont {
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                             L"Tahoma");
    ~SharpFont() { DeleteObject(font); }
};

struct TextCanvas : Canvas {
    TextCanvas(HFONT font, COLORREF colour) : Canvas(60, 30, kPaper) {
        SelectObject(dc(), font), SetBkMode(dc(), TRANSPARENT), SetTextColor(dc(), colour);
    }
};
}  // namespace

// Compared with the text alone in white: the text on top of its copy at (dx, dy) in the shadow's
// colour; the grey string is grey over white one pixel right and down.
TEST(Text, ShadowsThreeDFramesAndMeasures) {
    SharpFont f;
    const COLORREF grey = RGB(128, 128, 128), white = RGB(255, 255, 255);
    TextCanvas mask(f.font, white);
    RECT m = kTextRect;
    DrawTextW(mask.dc(), L"Ag", -1, &m, kFormat);
    auto on = [&](int x, int y) { return x >= 0 && y >= 0 && x < 60 && y < 30 && mask.at(x, y) == white; };
    ASSERT_FALSE(pixelsAre(mask, [](int, int) { return kPaper; }));
    const struct { int dx, dy; COLORREF text, shadow; } cases[] = {
        {2, -1, RGB(255, 0, 0), RGB(0, 0, 255)}, {0, 0, RGB(255, 0, 0), RGB(0, 0, 255)},
        {-3, 2, RGB(0, 200, 0), RGB(0, 0, 255)}, {1, 1, grey, white}};
    for (const auto& k : cases) {
        TextCanvas c(f.font, RGB(1, 1, 1));
        RECT r = kTextRect;
        if (k.text == grey) gfnEasyGrayString(c.dc(), &r, L"Ag", -1, kFormat);
        else gfnEasyShadowString(c.dc(), &r, L"Ag", -1, k.text, k.shadow, kFormat, k.dx, k.dy);
        EXPECT_TRUE(RGB(1, 1, 1) == GetTextColor(c.dc()) && EqualRect(&r, &kTextRect));
        EXPECT_TRUE(pixelsAre(c, [&](int x, int y) { return on(x, y) ? k.text : on(x - k.dx, y - k.dy) ? k.shadow : kPaper; }))
            << k.dx << "," << k.dy;
    }
    unsigned long text = 1, shadow = 2;
    gfnGetGrayStringColor(text, shadow);
    EXPECT_TRUE(text == grey && shadow == white) << std::hex << text << " " << shadow;
    // 3-D frames: exact pixels, the DC's pen put back.
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), lo = GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(hi, lo);
    for (int raised : {0, 1}) {
        Canvas c(12, 12, RGB(1, 2, 3));
        HGDIOBJ penBefore = GetCurrentObject(c.dc(), OBJ_PEN);
        RECT r = {0, 0, 10, 10};
        gfnDraw3DFrame(c.dc(), &r, raised);
        EXPECT_EQ(penBefore, GetCurrentObject(c.dc(), OBJ_PEN));
        EXPECT_TRUE(pixelsAre(c, [&](int x, int y) {
            if ((x == 9 && y >= 1 && y <= 9) || (y == 9 && x >= 1 && x <= 9)) return raised ? lo : hi;
            return (x == 0 && y <= 9) || (y == 0 && x <= 9) ? (raised ? hi : lo) : RGB(1, 2, 3);
        })) << "raised " << raised;
    }
    // The measure is DrawTextW's in the given font, or in the default font (16 units high), through a
    // DC or a window; the DC's font is put back; an empty text has no height.
    Canvas measured(10, 10);
    CRect box(5, 6, 5, 6);
    RECT calc = {5, 6, 5, 6};
    HGDIOBJ fontBefore = SelectObject(measured.dc(), f.font);
    DrawTextW(measured.dc(), L"Measure me", -1, &calc, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(measured.dc(), fontBefore);
    ASSERT_NE(0, gfnGetTextRect(measured.dc(), &box, L"Measure me", f.font, DT_SINGLELINE));
    EXPECT_TRUE(EqualRect(&calc, &box) && fontBefore == GetCurrentObject(measured.dc(), OBJ_FONT));
    ASSERT_NE(0, gfnGetTextRect(measured.dc(), &box, L"Xy", nullptr, DT_SINGLELINE));
    EXPECT_TRUE(16 == box.Height() && 0 == gfnGetTextRect(measured.dc(), &box, L"", nullptr, DT_LEFT));
    EXPECT_FALSE(gfnGetTextRect(measured.dc(), &box, L"", nullptr, DT_SINGLELINE) || gfnGetTextRect(measured.dc(), nullptr, L"x", nullptr, 0));
    CWnd wnd, empty;
    wnd.Attach(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(gfnGetTextRect(&wnd, &box, L"Window text", nullptr, DT_SINGLELINE) && box.Width() > 20) << box.Width();
    EXPECT_FALSE(gfnGetTextRect(&wnd, nullptr, L"x", nullptr, 0) || gfnGetTextRect(&wnd, &box, nullptr, nullptr, 0) ||
                 gfnGetTextRect((CWnd*)nullptr, &box, L"x", nullptr, 0) || gfnGetTextRect(&empty, &box, L"x", nullptr, 0));
    DestroyWindow(wnd.Detach());
}

