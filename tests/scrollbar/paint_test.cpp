// What the bar puts on the screen, read back: arrow states, the thumb's three pieces, the parent
// through transparent pixels, the recomposition after a resize; and bad input without crashes or
// leaked GDI objects.
#include "sbhost.h"
#include <climits>

namespace {
const RECT kVertical = {20, 20, 36, 256};
using Shot = testutil::ClientShot;

// Every opaque pixel of the piece (sx, sy, w, h) of a skin image, tiled over tw x th of the shot
// from (x, y), is on the screen.
testing::AssertionResult shows(const Shot& shot, const SkinImage& img, int x, int y, int sx, int sy, int w,
                               int h, int tw = 0, int th = 0) {
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

// Columns x of rows [y0, y1) show the parent's pattern.
testing::AssertionResult showsParent(HWND bar, const Shot& shot, std::initializer_list<int> xs, int y0, int y1,
                                     bool vertical = true) {
    POINT o = {0, 0};
    MapWindowPoints(bar, GetParent(bar), &o, 1);
    for (int x : xs)
        for (int y = y0; y < y1; ++y) {
            const int px = vertical ? x : y, py = vertical ? y : x;
            if (shot.at(px, py) != hostPattern(o.x + px, o.y + py))
                return testing::AssertionFailure() << "at " << px << "," << py << std::hex << " shows " << shot.at(px, py);
        }
    return testing::AssertionSuccess();
}

testing::AssertionResult showsArrows(ScrollProbe& bar, const SkinImage& sprite, int row1, int row2) {
    bar.RedrawWindow();
    const Shot shot(bar.m_hWnd);
    const int c = bar.m_szArrow.cx, r = bar.m_szArrow.cy;
    auto a = shows(shot, sprite, bar.m_rcArrow1.left, bar.m_rcArrow1.top, 0, row1 * r, c, r);
    return a ? shows(shot, sprite, bar.m_rcArrow2.left, bar.m_rcArrow2.top, c, row2 * r, c, r) << " (second arrow)" : a;
}
}  // namespace

TEST(ScrollPaint, ArrowsShowNormalHotPressedAndDisabledCells) {
    const SkinImage sprite = loadSkinImage(L"ScrollBarV_Btn.png", L"ScrollBarV_Btn-M.png");
    ASSERT_TRUE(sprite.w == 32 && sprite.h == 64);
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

TEST(ScrollPaint, ThumbPiecesOverTheShaftWithTheParentAround) {
    const SkinImage begin = loadSkinImage(L"ScrollBarVT_T.png"), middle = loadSkinImage(L"ScrollBarVT_M.png"),
                    end = loadSkinImage(L"ScrollBarVT_B.png"), groove = loadSkinImage(L"ScrollBarVB_M.png");
    ScrollHost host;
    ScrollProbe& bar = host.create(true, kVertical, 0, 99, 0, 1, 30);   // 60-pixel thumb at 18
    {
        const Shot shot(bar.m_hWnd);
        EXPECT_TRUE(shows(shot, begin, 2, 18, 0, 0, 12, 6));
        EXPECT_TRUE(shows(shot, middle, 2, 24, 0, 0, 12, 4, 12, 48));
        EXPECT_TRUE(shows(shot, end, 2, 72, 0, 0, 12, 6));
    }
    bar.fnSetScrollPos(70, TRUE);   // moved: drawn at the new place, the bare shaft where it was
    ASSERT_EQ(18 + 140, bar.m_rcThumb.top);
    {
        const Shot shot(bar.m_hWnd);
        EXPECT_TRUE(shows(shot, begin, 2, 158, 0, 0, 12, 6));
        EXPECT_TRUE(shows(shot, end, 2, 212, 0, 0, 12, 6));
        EXPECT_TRUE(shows(shot, groove, 3, 28, 0, 0, 10, 4, 10, 100));
        EXPECT_TRUE(showsParent(bar.m_hWnd, shot, {0, 1, 14, 15}, 18, 150));   // beside the groove
        EXPECT_EQ(hostPattern(20, 20), shot.at(0, 0));                      // the arrow's rounded corner
    }
    bar.fnSetScrollInfo(0, 9, 0, 1, 10, TRUE);   // inactive: no thumb
    EXPECT_TRUE(shows(Shot(bar.m_hWnd), groove, 3, 24, 0, 0, 10, 4, 10, 188));
    ScrollProbe& h = host.create(false, RECT{60, 300, 296, 316}, 0, 99, 90, 1, 10);
    EXPECT_TRUE(showsParent(h.m_hWnd, Shot(h.m_hWnd), {0, 1, 14, 15}, 18, 190, false));
}

TEST(ScrollPaint, ResizeRecomposesTheShaftAndRecapturesTheParent) {
    const SkinImage capEnd = loadSkinImage(L"ScrollBarVB_B.png"), groove = loadSkinImage(L"ScrollBarVB_M.png");
    ScrollHost host;
    ScrollProbe& bar = host.create(true, kVertical, 0, 99, 0, 1, 10);
    bar.SetWindowPos(nullptr, 0, 0, 16, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(!bar.m_pShaftBmp && !bar.m_pThumbBmp && !bar.m_hMemDC);   // discarded at once
    bar.UpdateWindow();
    const Shot shot(bar.m_hWnd);
    EXPECT_TRUE(shows(shot, capEnd, 3, 282 - 6, 0, 0, 10, 6));
    EXPECT_TRUE(shows(shot, groove, 3, 204, 0, 0, 10, 4, 10, 20));   // where the old end cap was
    EXPECT_TRUE(showsParent(bar.m_hWnd, shot, {0, 15}, 18, 282));
    // A minimum-size thumb keeps its size, yet its image goes: it holds what was under it.
    ScrollProbe& tiny = host.create(false, RECT{60, 300, 296, 316}, 0, 299999, 0, 1, 10);
    ASSERT_NE(nullptr, tiny.m_pThumbBmp);
    tiny.SetWindowPos(nullptr, 0, 0, 300, 16, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    const LRESULT brush = panel.SendMessage(WM_CTLCOLORSCROLLBAR, (WPARAM)canvas.dc(), (LPARAM)bar.m_hWnd);
    EXPECT_TRUE(brush == (LRESULT)GetStockObject(NULL_BRUSH) && GetClipBox(canvas.dc(), &box) == NULLREGION);
    bar.DestroyWindow();
    panel.DestroyWindow();
}

TEST(ScrollBadInput, MissingImagesZeroSizeAndOddModelsNeitherCrashNorLeak) {
    ScrollHost host;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring empty = std::wstring(temp) + L"sb_empty_skins\\";
    CreateDirectoryW(empty.c_str(), nullptr);
    ScrollProbe& bar = host.create(true, kVertical, 0, 99, 45, 1, 10);
    tagSCROLLINFOEX_BMPINFO info = {}, missing, nothing = {}, back = {};
    bar.fnGetAllBitmapInfo(&info);
    missing = info;
    missing.lpszPath = empty.c_str();
    bar.fnSetAllBitmapInfo(&missing);
    EXPECT_TRUE(bar.m_szArrow.cx == 0 && IsRectEmpty(&bar.m_rcThumb));
    bar.RedrawWindow();
    clickAt(bar.m_hWnd, 8, 100);
    bar.fnSetAllBitmapInfo(&nothing);   // no path, no names, own background
    bar.RedrawWindow();
    bar.fnSetAllBitmapInfo(nullptr);    // refused: the record stays
    bar.fnGetAllBitmapInfo(&back);
    EXPECT_EQ(nullptr, back.lpszPath);
    bar.fnGetAllBitmapInfo(nullptr);
    EXPECT_FALSE(bar.fnSetBkTexture(nullptr, 1));
    bar.fnSetAllBitmapInfo(&info);
    const long odd[][5] = {{50, 10, 20, 1, 1}, {0, 99, 5, 1, 5000}, {0, 99, 5, -3, -8},
                           {LONG_MIN, LONG_MAX, 0, 7, 10}, {LONG_MIN, LONG_MAX, LONG_MAX, 1, LONG_MAX}, {-5, -5, -5, 1, 1}};
    for (auto o : odd) {
        bar.fnSetScrollInfo(o[0], o[1], o[2], o[3], o[4], TRUE);
        EXPECT_GE(bar.fnGetScrollPage(), 1);
        for (UINT vk : {VK_DOWN, VK_NEXT, VK_END, VK_HOME, VK_PRIOR, VK_UP}) key(bar.m_hWnd, vk);
        pointerTo(bar.m_hWnd, 8, 120);
        wheel(-WHEEL_DELTA);
        wheel(WHEEL_DELTA);
        clickAt(bar.m_hWnd, 8, 200);
        bar.RedrawWindow();
        long lo = 0, hi = 0;
        bar.fnGetScrollRange(&lo, &hi);
        EXPECT_TRUE(lo == o[0] && hi == o[1]) << o[0] << ".." << o[1];
    }
    // A window of no size: the setters store, the layout waits for a size.
    ScrollProbe flat;
    ASSERT_TRUE(flat.fnCreate(0, RECT{100, 100, 100, 100}, CWnd::FromHandle(host.parent()), 90));
    flat.fnSetScrollInfo(0, 99, 30, 1, 10, TRUE);
    EXPECT_FALSE(flat.fnSetARROW_OFFSET(3, TRUE));
    EXPECT_EQ(0, flat.fnGetScrollLimit());
    flat.RedrawWindow();
    flat.SetWindowPos(nullptr, 0, 0, 236, 16, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(90, flat.fnGetScrollLimit());
    EXPECT_EQ(19 + 59, flat.m_rcThumb.left);   // offset 3 from now on: travel 179 x 30 / 90
    flat.DestroyWindow();

    // Paints, resizes and skin changes, and whole lives, leave no GDI object behind.
    ScrollProbe& h = host.create(false, RECT{60, 300, 296, 316}, 0, 9999, 0, 1, 100);
    int i = 0;
    auto repaint = [&] {
        h.SetWindowPos(nullptr, 0, 0, 200 + ++i % 7 * 20, 16, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        h.fnSetScrollPos(i * 37 % 10000, TRUE);
        if (i % 50 == 0) h.fnSetAllBitmapInfo(&info);
        h.UpdateWindow();
    };
    auto life = [&] {
        ScrollProbe temp;
        temp.fnCreate(1, RECT{400, 20, 416, 200}, CWnd::FromHandle(host.parent()), 91);
        temp.fnSetScrollInfo(0, 99, 10, 1, 10, TRUE);
    };
    EXPECT_LE(testutil::gdiLeakOver(100, repaint), 0);
    EXPECT_LE(testutil::gdiLeakOver(20, life), 0);
}
