// What the bar puts on the screen, read back: arrow states, the thumb's three pieces, the parent
// through transparent pixels, the recomposition after a resize; and bad input without crashes or
// leaked GDI objects.
#include "sbhost.h"
#include "testutil.h"
#include "tests/drawing/drawtest.h"
#include "qModule.h"
#include <climits>
#include <string>

namespace {
const RECT kVertical = {20, 20, 36, 256};

// The bar's client area as the screen shows it.
class Shot {
public:
    explicit Shot(HWND bar) {
        RECT r;
        GetClientRect(bar, &r);
        m_canvas = std::make_unique<testutil::Canvas>(r.right > 0 ? r.right : 1, r.bottom > 0 ? r.bottom : 1);
        HDC dc = GetDC(bar);
        BitBlt(m_canvas->dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
        ReleaseDC(bar, dc);
    }
    COLORREF at(int x, int y) const { return m_canvas->at(x, y); }

private:
    std::unique_ptr<testutil::Canvas> m_canvas;
};

// Every opaque pixel of the piece (sx, sy, w, h) of a skin image, tiled from (x, y) over w x h of
// the shot (or over tw x th when given), equals the shot.
testing::AssertionResult showsPiece(const Shot& shot, const SkinImage& img, int x, int y, int sx, int sy, int w, int h,
                                    int tw = 0, int th = 0) {
    if (!img.w) return testing::AssertionFailure() << "skin image missing";
    int compared = 0;
    for (int dy = 0; dy < (th ? th : h); ++dy)
        for (int dx = 0; dx < (tw ? tw : w); ++dx) {
            const DWORD want = img.at(sx + dx % w, sy + dy % h);
            if ((want >> 24) != 0xFF) continue;
            ++compared;
            if (shot.at(x + dx, y + dy) != rgbOf(want))
                return testing::AssertionFailure() << "at " << x + dx << "," << y + dy << " shows " << std::hex
                                                   << shot.at(x + dx, y + dy) << ", skin has " << rgbOf(want);
        }
    if (compared < (tw ? tw : w) * (th ? th : h) / 4) return testing::AssertionFailure() << "too few opaque pixels";
    return testing::AssertionSuccess();
}

testing::AssertionResult showsArrows(ScrollProbe& bar, const SkinImage& sprite, int row1, int row2) {
    bar.RedrawWindow();
    Shot shot(bar.m_hWnd);
    const int c = bar.m_szArrow.cx, r = bar.m_szArrow.cy;
    testing::AssertionResult a = showsPiece(shot, sprite, bar.m_rcArrow1.left, bar.m_rcArrow1.top, 0, row1 * r, c, r);
    if (!a) return a << " (first arrow, row " << row1 << ")";
    testing::AssertionResult b = showsPiece(shot, sprite, bar.m_rcArrow2.left, bar.m_rcArrow2.top, c, row2 * r, c, r);
    if (!b) return b << " (second arrow, row " << row2 << ")";
    return testing::AssertionSuccess();
}

// Points outside every skin piece show the parent's pattern.
testing::AssertionResult showsParent(HWND bar, const Shot& shot, int x, int y0, int y1) {
    POINT origin = {0, 0};
    MapWindowPoints(bar, GetParent(bar), &origin, 1);
    for (int y = y0; y < y1; ++y)
        if (shot.at(x, y) != hostPattern(origin.x + x, origin.y + y))
            return testing::AssertionFailure() << "at " << x << "," << y << std::hex << " shows " << shot.at(x, y);
    return testing::AssertionSuccess();
}
}  // namespace

TEST(ScrollPaint, ArrowsShowNormalHotPressedAndDisabledCells) {
    const SkinImage sprite = loadSkinImage(L"ScrollBarV_Btn.png", L"ScrollBarV_Btn-M.png");
    ASSERT_EQ(32, sprite.w);
    ASSERT_EQ(64, sprite.h);
    // The four rows of each column differ, so a wrong row cannot pass for the right one.
    for (int col = 0; col < 2; ++col)
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b) {
                int differ = 0;
                for (int y = 0; y < 16; ++y)
                    for (int x = 0; x < 16; ++x) differ += sprite.at(col * 16 + x, a * 16 + y) != sprite.at(col * 16 + x, b * 16 + y);
                EXPECT_GT(differ, 10) << "column " << col << " rows " << a << " and " << b;
            }
    ScrollHost host;
    ScrollProbe& bar = host.create(true, kVertical, 0, 99, 45, 1, 10);
    pointerTo(host.parent(), 600, 350);
    EXPECT_TRUE(showsArrows(bar, sprite, 0, 0));

    pointerTo(bar.m_hWnd, 8, 8);   // rest on the first arrow
    EXPECT_TRUE(pumpUntil(3000, [&] { return bar.m_nHoverCode == 0; }));
    pump(50);
    EXPECT_TRUE(showsArrows(bar, sprite, 3, 0));

    pointerTo(bar.m_hWnd, 8, 228);   // press the second: pressed beats hot
    buttonDown();
    EXPECT_TRUE(showsArrows(bar, sprite, 0, 1));
    pointerTo(bar.m_hWnd, 8, 100);   // held off the arrow it stays pressed
    EXPECT_TRUE(showsArrows(bar, sprite, 0, 1));
    buttonUp();
    pointerTo(host.parent(), 600, 350);
    pump(50);
    EXPECT_TRUE(showsArrows(bar, sprite, 0, 0));

    bar.fnFreezeScrollBar(TRUE);
    EXPECT_TRUE(showsArrows(bar, sprite, 2, 2));
    bar.fnFreezeScrollBar(FALSE);
    bar.fnSetScrollInfo(0, 9, 0, 1, 10, TRUE);   // inactive: the range fits the page
    EXPECT_TRUE(showsArrows(bar, sprite, 2, 2));
}

TEST(ScrollPaint, ThumbShowsItsThreePiecesAndVanishesWhenInactive) {
    const SkinImage begin = loadSkinImage(L"ScrollBarVT_T.png"), middle = loadSkinImage(L"ScrollBarVT_M.png"),
                    end = loadSkinImage(L"ScrollBarVT_B.png"), groove = loadSkinImage(L"ScrollBarVB_M.png");
    ScrollHost host;
    ScrollProbe& bar = host.create(true, kVertical, 0, 99, 0, 1, 30);   // 60-pixel thumb at 18
    const RECT thumb = {2, 18, 14, 78};
    ASSERT_TRUE(EqualRect(&thumb, &bar.m_rcThumb));
    {
        Shot shot(bar.m_hWnd);
        EXPECT_TRUE(showsPiece(shot, begin, 2, 18, 0, 0, 12, 6));
        EXPECT_TRUE(showsPiece(shot, middle, 2, 24, 0, 0, 12, 4, 12, 48));
        EXPECT_TRUE(showsPiece(shot, end, 2, 72, 0, 0, 12, 6));
    }
    // Moved, the same composition is drawn at the new place.
    bar.fnSetScrollPos(70, TRUE);
    ASSERT_EQ(18 + 140, bar.m_rcThumb.top);
    {
        Shot shot(bar.m_hWnd);
        EXPECT_TRUE(showsPiece(shot, begin, 2, 158, 0, 0, 12, 6));
        EXPECT_TRUE(showsPiece(shot, end, 2, 212, 0, 0, 12, 6));
        EXPECT_TRUE(showsPiece(shot, groove, 3, 28, 0, 0, 10, 4, 10, 100));   // bare shaft where it was
    }
    bar.fnSetScrollInfo(0, 9, 0, 1, 10, TRUE);
    Shot shot(bar.m_hWnd);
    EXPECT_TRUE(showsPiece(shot, groove, 3, 24, 0, 0, 10, 4, 10, 188));
}

TEST(ScrollPaint, ParentShowsThroughTransparentPixels) {
    for (bool vertical : {true, false}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        ScrollHost host;
        ScrollProbe& bar = host.create(vertical, vertical ? kVertical : RECT{60, 300, 296, 316}, 0, 99, 0, 1, 10);
        bar.fnSetScrollPos(90, TRUE);   // the thumb away from the columns checked
        Shot shot(bar.m_hWnd);
        for (int across : {0, 1, 14, 15}) {
            // Beside the groove along the shaft, and the arrows' rounded corners.
            if (vertical) {
                EXPECT_TRUE(showsParent(bar.m_hWnd, shot, across, 18, 190)) << across;
            } else {
                for (int x = 18; x < 190; ++x)
                    ASSERT_EQ(hostPattern(60 + x, 300 + across), shot.at(x, across)) << x << "," << across;
            }
        }
        EXPECT_EQ(hostPattern(vertical ? 20 : 60, vertical ? 20 : 300), shot.at(0, 0));
    }
}

TEST(ScrollPaint, ResizeRecomposesTheShaftAndRecapturesTheParent) {
    const SkinImage capEnd = loadSkinImage(L"ScrollBarVB_B.png"), groove = loadSkinImage(L"ScrollBarVB_M.png");
    ScrollHost host;
    ScrollProbe& bar = host.create(true, kVertical, 0, 99, 0, 1, 10);
    ASSERT_NE(nullptr, bar.m_pShaftBmp);
    EXPECT_EQ(236, bar.m_pShaftBmp->fnGetSize().cy);

    bar.SetWindowPos(nullptr, 0, 0, 16, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(nullptr, bar.m_pShaftBmp);   // discarded at once, composed at the next paint
    EXPECT_EQ(nullptr, bar.m_pThumbBmp);   // it holds the old shaft under the thumb
    EXPECT_EQ(nullptr, bar.m_hMemDC);
    bar.UpdateWindow();
    ASSERT_NE(nullptr, bar.m_pShaftBmp);
    EXPECT_EQ(300, bar.m_pShaftBmp->fnGetSize().cy);
    Shot shot(bar.m_hWnd);
    EXPECT_TRUE(showsPiece(shot, capEnd, 3, 282 - 6, 0, 0, 10, 6));
    EXPECT_TRUE(showsPiece(shot, groove, 3, 204, 0, 0, 10, 4, 10, 20));   // where the old end cap was
    EXPECT_TRUE(showsParent(bar.m_hWnd, shot, 0, 18, 282));
    EXPECT_TRUE(showsParent(bar.m_hWnd, shot, 15, 18, 282));

    // A minimum-size thumb keeps its size through a resize, yet its image goes too: it holds the
    // shaft and parent that were under it.
    ScrollProbe& tiny = host.create(false, RECT{60, 300, 296, 316}, 0, 299999, 0, 1, 10);
    ASSERT_NE(nullptr, tiny.m_pThumbBmp);
    tiny.SetWindowPos(nullptr, 0, 0, 300, 16, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(16, tiny.m_rcThumb.right - tiny.m_rcThumb.left);
    EXPECT_EQ(nullptr, tiny.m_pThumbBmp);
}

TEST(ScrollPaint, ReflectedControlColourClipsEverythingAndGivesAHollowBrush) {
    ScrollHost host;
    CWnd panel;
    ASSERT_TRUE(panel.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{300, 20, 500, 200},
                               CWnd::FromHandle(host.parent()), 77));
    ScrollProbe bar;
    ASSERT_TRUE(bar.fnCreate(1, RECT{10, 10, 26, 150}, &panel, 78));
    testutil::Canvas canvas(20, 20);
    RECT box;
    ASSERT_EQ(SIMPLEREGION, GetClipBox(canvas.dc(), &box));
    LRESULT brush = panel.SendMessage(WM_CTLCOLORSCROLLBAR, (WPARAM)canvas.dc(), (LPARAM)bar.m_hWnd);
    EXPECT_EQ((LRESULT)GetStockObject(NULL_BRUSH), brush);
    EXPECT_EQ(NULLREGION, GetClipBox(canvas.dc(), &box));
    bar.DestroyWindow();
    panel.DestroyWindow();
}

TEST(ScrollBadInput, MissingImagesZeroSizeAndOddModelsNeitherCrashNorDivide) {
    ScrollHost host;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring empty = std::wstring(temp) + L"sb_empty_skins\\";
    CreateDirectoryW(empty.c_str(), nullptr);

    ScrollProbe& bar = host.create(true, kVertical, 0, 99, 45, 1, 10);
    tagSCROLLINFOEX_BMPINFO info = {};
    bar.fnGetAllBitmapInfo(&info);
    tagSCROLLINFOEX_BMPINFO missing = info;
    missing.lpszPath = empty.c_str();
    bar.fnSetAllBitmapInfo(&missing);
    EXPECT_EQ(0, bar.m_szArrow.cx);
    EXPECT_TRUE(IsRectEmpty(&bar.m_rcThumb));   // the thumb is as wide as its missing middle image
    bar.RedrawWindow();
    clickAt(bar.m_hWnd, 8, 100);
    tagSCROLLINFOEX_BMPINFO nothing = {};   // no path, no names, own background
    bar.fnSetAllBitmapInfo(&nothing);
    bar.RedrawWindow();
    bar.fnSetAllBitmapInfo(nullptr);   // refused: the record stays
    tagSCROLLINFOEX_BMPINFO back = {};
    bar.fnGetAllBitmapInfo(&back);
    EXPECT_EQ(nullptr, back.lpszPath);
    bar.fnGetAllBitmapInfo(nullptr);
    EXPECT_FALSE(bar.fnSetBkTexture(nullptr, 1));
    bar.fnSetAllBitmapInfo(&info);

    struct Odd {
        long nMin, nMax, nPos, nLine, nPage;
    } odd[] = {{50, 10, 20, 1, 1}, {0, 99, 5, 1, 5000}, {0, 99, 5, 0, 0}, {0, 99, 5, -3, -8},
               {LONG_MIN, LONG_MAX, 0, 7, 10}, {LONG_MIN, LONG_MAX, LONG_MAX, 1, LONG_MAX}, {-5, -5, -5, 1, 1}};
    for (const Odd& o : odd) {
        bar.fnSetScrollInfo(o.nMin, o.nMax, o.nPos, o.nLine, o.nPage, TRUE);
        EXPECT_GE(bar.fnGetScrollPage(), 1);
        for (UINT vk : {VK_DOWN, VK_NEXT, VK_END, VK_HOME, VK_PRIOR, VK_UP}) key(bar.m_hWnd, vk);
        pointerTo(bar.m_hWnd, 8, 120);
        wheel(-WHEEL_DELTA);
        wheel(WHEEL_DELTA);
        clickAt(bar.m_hWnd, 8, 200);
        bar.RedrawWindow();
        long lo = 0, hi = 0;
        bar.fnGetScrollRange(&lo, &hi);
        EXPECT_EQ(o.nMin, lo);
        EXPECT_EQ(o.nMax, hi);
    }
    bar.fnSetScrollPage(0, TRUE);
    EXPECT_EQ(1, bar.fnGetScrollPage());

    // A window of no size: the setters store, the layout waits for a size.
    ScrollProbe flat;
    ASSERT_TRUE(flat.fnCreate(0, RECT{100, 100, 100, 100}, CWnd::FromHandle(host.parent()), 90));
    flat.fnSetScrollInfo(0, 99, 30, 1, 10, TRUE);
    EXPECT_FALSE(flat.fnSetARROW_OFFSET(3, TRUE));
    EXPECT_EQ(0, flat.fnGetScrollLimit());
    flat.RedrawWindow();
    flat.SetWindowPos(nullptr, 0, 0, 236, 16, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(90, flat.fnGetScrollLimit());
    // Offset 3 from now on: shaft 19..217, thumb 19 of it, travel 179 x 30 / 90.
    EXPECT_EQ(19 + 59, flat.m_rcThumb.left);
    flat.DestroyWindow();
}

TEST(ScrollBadInput, NoGdiObjectLeaksOverPaintsResizesAndSkinChanges) {
    ScrollHost host;
    ScrollProbe& bar = host.create(false, RECT{60, 300, 296, 316}, 0, 9999, 0, 1, 100);
    tagSCROLLINFOEX_BMPINFO info = {};
    bar.fnGetAllBitmapInfo(&info);
    int i = 0;
    const int leaked = drawtest::gdiLeakOver(300, [&] {
        ++i;
        bar.SetWindowPos(nullptr, 0, 0, 200 + i % 7 * 20, 16, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        bar.fnSetScrollPos(i * 37 % 10000, TRUE);
        if (i % 50 == 0) bar.fnSetAllBitmapInfo(&info);
        bar.UpdateWindow();
    });
    EXPECT_LE(leaked, 0);
    const int lifeLeak = drawtest::gdiLeakOver(20, [&] {
        ScrollProbe temp;
        temp.fnCreate(1, RECT{400, 20, 416, 200}, CWnd::FromHandle(host.parent()), 91);
        temp.fnSetScrollInfo(0, 99, 10, 1, 10, TRUE);
    });
    EXPECT_LE(lifeLeak, 0);
}
