// Shadowed and grey text, grey-string colours, 3-D frames.
#include <gtest/gtest.h>
#include "qDraw.h"
#include "testutil.h"
#include "tests/drawing/drawtest.h"

using testutil::Canvas;

namespace {
const COLORREF kPaper = RGB(0, 0, 0);

// A font without smoothing so every text pixel has exactly the text colour.
struct SharpFont {
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                             L"Tahoma");
    ~SharpFont() { DeleteObject(font); }
};

struct TextCanvas : Canvas {
    explicit TextCanvas(HFONT font) : Canvas(60, 30, kPaper) {
        SelectObject(dc(), font);
        SetBkMode(dc(), TRANSPARENT);
    }
};

// The text alone in white: the mask every other drawing is compared with.
struct Mask {
    TextCanvas c;
    explicit Mask(HFONT font, const RECT& r, UINT format) : c(font) {
        RECT rr = r;
        SetTextColor(c.dc(), RGB(255, 255, 255));
        DrawTextW(c.dc(), L"Ag", -1, &rr, format);
    }
    bool on(int x, int y) const {
        return x >= 0 && y >= 0 && x < c.width() && y < c.height() && c.at(x, y) == RGB(255, 255, 255);
    }
};

const RECT kTextRect = {10, 8, 50, 28};
const UINT kFormat = DT_LEFT | DT_TOP | DT_SINGLELINE;
}  // namespace

TEST(Text, ShadowLiesAtItsOffsetUnderTheText) {
    SharpFont f;
    Mask mask(f.font, kTextRect, kFormat);
    TextCanvas c(f.font);
    SetTextColor(c.dc(), RGB(1, 1, 1));
    RECT r = kTextRect;
    const int dx = 2, dy = -1;
    gfnEasyShadowString(c.dc(), &r, L"Ag", -1, RGB(255, 0, 0), RGB(0, 0, 255), kFormat, dx, dy);
    EXPECT_EQ(RGB(1, 1, 1), GetTextColor(c.dc()));
    EXPECT_TRUE(EqualRect(&r, &kTextRect));
    int shadows = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            COLORREF p = c.at(x, y);
            if (mask.on(x, y)) {
                ASSERT_EQ(RGB(255, 0, 0), p) << x << "," << y;   // the text is on top
            } else if (mask.on(x - dx, y - dy)) {
                ASSERT_EQ(RGB(0, 0, 255), p) << x << "," << y;
                ++shadows;
            } else {
                ASSERT_EQ(kPaper, p) << x << "," << y;
            }
        }
    EXPECT_GT(shadows, 10);
}

TEST(Text, NoOffsetDrawsTheTextOnce) {
    SharpFont f;
    Mask mask(f.font, kTextRect, kFormat);
    TextCanvas c(f.font);
    RECT r = kTextRect;
    const int zero = 0;
    gfnEasyShadowString(c.dc(), &r, L"Ag", -1, RGB(0, 200, 0), RGB(0, 0, 255), kFormat, zero, zero);
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            ASSERT_EQ(mask.on(x, y) ? RGB(0, 200, 0) : kPaper, c.at(x, y)) << x << "," << y;
}

TEST(Text, GreyStringIsGreyOverAWhiteShadow) {
    unsigned long text = 1, shadow = 2;
    gfnGetGrayStringColor(text, shadow);
    EXPECT_EQ(0x808080u, text);
    EXPECT_EQ(0xFFFFFFu, shadow);

    SharpFont f;
    Mask mask(f.font, kTextRect, kFormat);
    TextCanvas c(f.font);
    SetTextColor(c.dc(), RGB(9, 8, 7));
    RECT r = kTextRect;
    gfnEasyGrayString(c.dc(), &r, L"Ag", -1, kFormat);
    EXPECT_EQ(RGB(9, 8, 7), GetTextColor(c.dc()));
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            COLORREF want = mask.on(x, y) ? RGB(128, 128, 128) : mask.on(x - 1, y - 1) ? RGB(255, 255, 255) : kPaper;
            ASSERT_EQ(want, c.at(x, y)) << x << "," << y;
        }
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
        const COLORREF topLeft = raised ? hi : lo, bottomRight = raised ? lo : hi;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) {
                COLORREF want = RGB(1, 2, 3);
                if (x == 0 && y <= 9) want = topLeft;
                if (y == 0 && x <= 9) want = topLeft;
                if (x == 9 && y >= 1 && y <= 9) want = bottomRight;
                if (y == 9 && x >= 1 && x <= 9) want = bottomRight;
                ASSERT_EQ(want, c.at(x, y)) << "raised " << raised << " at " << x << "," << y;
            }
    }
    Canvas c(12, 12);
    RECT r = {0, 0, 10, 10};
    EXPECT_EQ(0, drawtest::gdiLeakOver(10, [&] { gfnDraw3DFrame(c.dc(), &r, 1); }));
}

TEST(Text, MeasuringInTheGivenOrTheDefaultFont) {
    Canvas c(10, 10);
    SharpFont f;
    HGDIOBJ fontBefore = GetCurrentObject(c.dc(), OBJ_FONT);
    CRect r(5, 6, 5, 6);
    ASSERT_NE(0, gfnGetTextRect(c.dc(), &r, L"Measure me", f.font, DT_SINGLELINE));
    EXPECT_EQ(fontBefore, GetCurrentObject(c.dc(), OBJ_FONT));
    // The same as DrawTextW computes in that font.
    SelectObject(c.dc(), f.font);
    RECT want = {5, 6, 5, 6};
    DrawTextW(c.dc(), L"Measure me", -1, &want, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(c.dc(), fontBefore);
    EXPECT_TRUE(EqualRect(&want, &r));

    // No font: the default font, whose height is 16 logical units.
    CRect d(0, 0, 0, 0);
    ASSERT_NE(0, gfnGetTextRect(c.dc(), &d, L"Xy", nullptr, DT_SINGLELINE));
    EXPECT_EQ(16, d.Height());
    // An empty text has no height.
    CRect e(0, 0, 0, 0);
    EXPECT_EQ(0, gfnGetTextRect(c.dc(), &e, L"", nullptr, DT_LEFT));
    EXPECT_EQ(0, gfnGetTextRect(c.dc(), &e, L"", nullptr, DT_SINGLELINE));
    EXPECT_EQ(0, gfnGetTextRect(c.dc(), nullptr, L"x", nullptr, 0));
}

TEST(Text, MeasuringThroughAWindow) {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    CWnd wnd;
    wnd.Attach(hwnd);
    CRect r(0, 0, 0, 0);
    EXPECT_NE(0, gfnGetTextRect(&wnd, &r, L"Window text", nullptr, DT_SINGLELINE));
    EXPECT_GT(r.Width(), 20);
    EXPECT_EQ(0, gfnGetTextRect(&wnd, nullptr, L"x", nullptr, 0));
    EXPECT_EQ(0, gfnGetTextRect(&wnd, &r, nullptr, nullptr, 0));
    EXPECT_EQ(0, gfnGetTextRect((CWnd*)nullptr, &r, L"x", nullptr, 0));
    wnd.Detach();
    CWnd empty;
    EXPECT_EQ(0, gfnGetTextRect(&empty, &r, L"x", nullptr, 0));
    DestroyWindow(hwnd);
}
