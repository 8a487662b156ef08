// Shadowed and grey text, grey-string colours, 3-D frames, measuring text.
#include "qDraw.h"
#include "tests/drawing/drawtest.h"

using namespace drawtest;

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
    explicit TextCanvas(HFONT font, COLORREF textColour) : Canvas(60, 30, kPaper) {
        SelectObject(dc(), font);
        SetBkMode(dc(), TRANSPARENT);
        SetTextColor(dc(), textColour);
    }
};

// The text alone in white: the mask every other drawing is compared with.
struct Mask {
    TextCanvas c;
    explicit Mask(HFONT font) : c(font, RGB(255, 255, 255)) {
        RECT r = kTextRect;
        DrawTextW(c.dc(), L"Ag", -1, &r, kFormat);
    }
    bool on(int x, int y) const {
        return x >= 0 && y >= 0 && x < c.width() && y < c.height() && c.at(x, y) == RGB(255, 255, 255);
    }
    // The text in `text` on top of its copy at (dx, dy) in `shadow`.
    auto shadowed(COLORREF text, COLORREF shadow, int dx, int dy) const {
        return [=](int x, int y) { return on(x, y) ? text : on(x - dx, y - dy) ? shadow : kPaper; };
    }
};
}  // namespace

TEST(Text, ShadowLiesAtItsOffsetUnderTheTextAndTheTextColourIsPutBack) {
    SharpFont f;
    Mask mask(f.font);
    ASSERT_FALSE(pixelsAre(mask.c, [](int, int) { return kPaper; }));
    const COLORREF grey = RGB(128, 128, 128), white = RGB(255, 255, 255);
    // Three shadows, then the grey string: grey over white one pixel right and down.
    const struct { int dx, dy; COLORREF text, shadow; } cases[] = {
        {2, -1, RGB(255, 0, 0), RGB(0, 0, 255)}, {0, 0, RGB(255, 0, 0), RGB(0, 0, 255)},
        {-3, 2, RGB(0, 200, 0), RGB(0, 0, 255)}, {1, 1, grey, white}};
    for (const auto& k : cases) {
        TextCanvas c(f.font, RGB(1, 1, 1));
        RECT r = kTextRect;
        if (k.text == grey) gfnEasyGrayString(c.dc(), &r, L"Ag", -1, kFormat);
        else gfnEasyShadowString(c.dc(), &r, L"Ag", -1, k.text, k.shadow, kFormat, k.dx, k.dy);
        EXPECT_TRUE(RGB(1, 1, 1) == GetTextColor(c.dc()) && EqualRect(&r, &kTextRect));
        EXPECT_TRUE(pixelsAre(c, mask.shadowed(k.text, k.shadow, k.dx, k.dy))) << k.dx << "," << k.dy;
    }
    unsigned long text = 1, shadow = 2;
    gfnGetGrayStringColor(text, shadow);
    EXPECT_TRUE(text == grey && shadow == white) << std::hex << text << " " << shadow;
}

TEST(Text, ThreeDFrameExactPixels) {
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
}

TEST(Text, MeasuringInTheGivenOrTheDefaultFontOrThroughAWindow) {
    Canvas c(10, 10);
    SharpFont f;
    HGDIOBJ fontBefore = GetCurrentObject(c.dc(), OBJ_FONT);
    CRect r(5, 6, 5, 6);
    ASSERT_NE(0, gfnGetTextRect(c.dc(), &r, L"Measure me", f.font, DT_SINGLELINE));
    EXPECT_EQ(fontBefore, GetCurrentObject(c.dc(), OBJ_FONT));
    // What DrawTextW computes in that font.
    SelectObject(c.dc(), f.font);
    RECT want = {5, 6, 5, 6};
    DrawTextW(c.dc(), L"Measure me", -1, &want, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(c.dc(), fontBefore);
    EXPECT_TRUE(EqualRect(&want, &r));
    // No font: the default font, whose height is 16 logical units. An empty text has no height.
    ASSERT_NE(0, gfnGetTextRect(c.dc(), &r, L"Xy", nullptr, DT_SINGLELINE));
    EXPECT_TRUE(16 == r.Height() && 0 == gfnGetTextRect(c.dc(), &r, L"", nullptr, DT_LEFT));
    EXPECT_EQ(0, gfnGetTextRect(c.dc(), &r, L"", nullptr, DT_SINGLELINE));
    EXPECT_EQ(0, gfnGetTextRect(c.dc(), nullptr, L"x", nullptr, 0));
    CWnd wnd, empty;
    wnd.Attach(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(gfnGetTextRect(&wnd, &r, L"Window text", nullptr, DT_SINGLELINE) && r.Width() > 20) << r.Width();
    EXPECT_FALSE(gfnGetTextRect(&wnd, nullptr, L"x", nullptr, 0) || gfnGetTextRect(&wnd, &r, nullptr, nullptr, 0) ||
                 gfnGetTextRect((CWnd*)nullptr, &r, L"x", nullptr, 0) || gfnGetTextRect(&empty, &r, L"x", nullptr, 0));
    DestroyWindow(wnd.Detach());
}
