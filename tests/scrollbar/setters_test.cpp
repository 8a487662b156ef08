// The host's side: setters and getters on a live bar, the arrow step scale, the behaviour switch,
// the arrow gap and fitting the thickness to the skin.
#include "sbhost.h"

namespace {
const RECT kVertical = {20, 20, 36, 256};
using Codes = std::vector<UINT>;
}  // namespace

TEST(ScrollSetters, RangePagePositionAndRecordStoreAndLayOut) {
    ScrollHost host;
    ScrollProbe& bar = host.create(true, kVertical, 0, 99, 45, 1, 10);
    EXPECT_EQ(90, bar.fnGetScrollLimit());

    bar.fnSetScrollRange(0, 50, 70, TRUE);   // the position is held to nMax, not to the new limit
    EXPECT_EQ(50, bar.fnGetScrollPos());
    EXPECT_EQ(50, bar.fnGetScrollTrackPos());
    EXPECT_EQ(41, bar.fnGetScrollLimit());
    bar.fnSetScrollRange(10, 99, -4, TRUE);
    EXPECT_EQ(10, bar.fnGetScrollPos());

    EXPECT_EQ(90, bar.fnSetScrollPos(1000, TRUE));   // 10..99, page 10: limit 99 - 10 + 1
    EXPECT_EQ(10, bar.fnSetScrollPos(-5, FALSE));

    bar.fnSetScrollPage(30, TRUE);
    EXPECT_EQ(30, bar.fnGetScrollPage());
    EXPECT_EQ(70, bar.fnGetScrollLimit());
    bar.fnSetScrollLine(7);
    EXPECT_EQ(10 + 91 - 30, bar.fnGetScrollLimit());   // ceil(90 / 7) x 7 + 10 - 30

    tagSCROLLINFOEX si = {100, 399, 50, 1, 300, 250};   // nMin, nMax, nPage, nLine, nPos, nTrackPos
    bar.fnSetScrollInfo(si, TRUE);
    long lo = 0, hi = 0;
    bar.fnGetScrollRange(&lo, &hi);
    EXPECT_EQ(100, lo);
    EXPECT_EQ(399, hi);
    EXPECT_EQ(300, bar.fnGetScrollPos());
    EXPECT_EQ(250, bar.fnGetScrollTrackPos());   // the thumb shows the track position
    EXPECT_EQ(18 + 100, bar.m_rcThumb.top);   // a 33-pixel thumb: 167 x 150 / 250

    bar.fnSetScrollBehavior(1);   // takes effect at the next layout
    EXPECT_EQ(350, bar.fnGetScrollLimit());
    bar.fnSetScrollLine(1);
    EXPECT_EQ(399, bar.fnGetScrollLimit());
    EXPECT_EQ(Codes{}, host.codes());   // setters tell the parent nothing
}

TEST(ScrollSetters, ScaleMultipliesArrowStepsButNotKeysOrWheel) {
    ScrollHost host;
    ScrollProbe& bar = host.create(true, kVertical, 0, 99, 40, 2, 10);
    bar.fnSetScrollScale(3);
    clickAt(bar.m_hWnd, 8, 228);
    EXPECT_EQ(46, bar.fnGetScrollPos());   // three lines of two
    clickAt(bar.m_hWnd, 8, 8);
    EXPECT_EQ(40, bar.fnGetScrollPos());
    pointerTo(bar.m_hWnd, 8, 120);
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(44, bar.fnGetScrollPos());   // the wheel moves nLine lines whatever the scale
    EXPECT_EQ((Codes{SB_LINEDOWN, SB_ENDSCROLL, SB_LINEUP, SB_ENDSCROLL, SB_LINEDOWN}), host.codes());
}

TEST(ScrollSetters, ArrowGapMovesTheShaft) {
    ScrollHost host;
    ScrollProbe& bar = host.create(false, RECT{60, 20, 296, 36}, 0, 99, 0, 1, 10);
    EXPECT_EQ(18, bar.m_rcShaft.left);
    EXPECT_TRUE(bar.fnSetARROW_OFFSET(5, TRUE));
    EXPECT_EQ(21, bar.m_rcShaft.left);
    EXPECT_EQ(236 - 21, bar.m_rcShaft.right);
    clickAt(bar.m_hWnd, 18, 8);   // now in the gap
    EXPECT_EQ(Codes{SB_ENDSCROLL}, host.codes());
}

TEST(ScrollSetters, ThicknessFitsTheSkinOnTheChosenSide) {
    ScrollHost host;
    struct Case {
        bool vertical;
        RECT rect;
        DWORD side;
        int w, h;
    } cases[] = {
        {false, {60, 60, 260, 68}, 0, 200, 16}, {false, {60, 60, 260, 68}, 3, 200, 16},
        {false, {60, 60, 260, 68}, 1, 200, 8},   // a wide bar fits its height, not its width
        {false, {60, 60, 260, 68}, 7, 200, 8},   {true, {300, 20, 308, 220}, 1, 16, 200},
        {true, {300, 20, 308, 220}, 2, 16, 200}, {true, {300, 20, 308, 220}, 0, 8, 200},
        {false, {60, 60, 260, 90}, 0, 200, 30},  // already thicker than the skin
    };
    for (const Case& c : cases) {
        ScrollProbe& bar = host.create(c.vertical, c.rect, 0, 99, 0, 1, 10);
        EXPECT_TRUE(bar.fnSetRealSize(c.side));
        RECT client, window;
        bar.GetClientRect(&client);
        bar.GetWindowRect(&window);
        POINT origin = {window.left, window.top};
        ScreenToClient(host.parent(), &origin);
        EXPECT_EQ(c.w, client.right) << c.side;
        EXPECT_EQ(c.h, client.bottom) << c.side;
        EXPECT_EQ(c.rect.left, origin.x);   // the position stays
        EXPECT_EQ(c.rect.top, origin.y);
        bar.fnShowScrollBar(FALSE);
        EXPECT_FALSE(bar.IsWindowVisible());
    }
}
