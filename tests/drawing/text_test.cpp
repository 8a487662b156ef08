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

TEST(Text, ShadowLiesAtItsOffsetUnderTheTextAndTheColourIsPutBack) {
    SharpFont f;
    Mask mask(f.font);
    ASSERT_FALSE(pixelsAre(mask.c, [](int, int) { return kPaper; }));
    for (POINT d : {POINT{2, -1}, POINT{0, 0}, POINT{-3, 2}}) {
        TextCanvas c(f.font, RGB(1, 1, 1));
        RECT r = kTextRect;
        const int dx = d.x, dy = d.y;
        gfnEasyShadowString(c.dc(), &r, L"Ag", -1, RGB(255, 0, 0), RGB(0, 0, 255), kFormat, dx, dy);
        EXPECT_EQ(RGB(1, 1, 1), GetTextColor(c.dc()));
        EXPECT_TRUE(EqualRect(&r, &kTextRect));
        EXPECT_TRUE(pixelsAre(c, mask.shadowed(RGB(255, 0, 0), RGB(0, 0, 255), dx, dy))) << dx << "," << dy;
    }
}

TEST(Text, GreyStringIsGreyOverAWhiteShadow) {
    unsigned long text = 1, shadow = 2;
    gfnGetGrayStringColor(text, shadow);
    EXPECT_TRUE(text == 0x808080 && shadow == 0xFFFFFF) << std::hex << text << " " << shadow;
    SharpFont f;
    TextCanvas c(f.font, RGB(9, 8, 7));
    RECT r = kTextRect;
    gfnEasyGrayString(c.dc(), &r, L"Ag", -1, kFormat);
    EXPECT_EQ(RGB(9, 8, 7), GetTextColor(c.dc()));
    EXPECT_TRUE(pixelsAre(c, Mask(f.font).shadowed(RGB(128, 128, 128), RGB(255, 255, 255), 1, 1)));
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
    EXPECT_EQ(16, r.Height());
    EXPECT_FALSE(gfnGetTextRect(c.dc(), &r, L"", nullptr, DT_LEFT) || gfnGetTextRect(c.dc(), &r, L"", nullptr, DT_SINGLELINE));
    EXPECT_EQ(0, gfnGetTextRect(c.dc(), nullptr, L"x", nullptr, 0));

    CWnd wnd, empty;
    wnd.Attach(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr));
    EXPECT_NE(0, gfnGetTextRect(&wnd, &r, L"Window text", nullptr, DT_SINGLELINE));
    EXPECT_GT(r.Width(), 20);
    EXPECT_FALSE(gfnGetTextRect(&wnd, nullptr, L"x", nullptr, 0) || gfnGetTextRect(&wnd, &r, nullptr, nullptr, 0) ||
                 gfnGetTextRect((CWnd*)nullptr, &r, L"x", nullptr, 0) || gfnGetTextRect(&empty, &r, L"x", nullptr, 0));
    DestroyWindow(wnd.Detach());
}
