// Real input on real bars: clicks, holds with the message pump running, drags, the wheel and keys,
// checked against what the parent hears; and the host's setters that change what input does.
#include "sbhost.h"
#include <algorithm>

namespace {
const RECT kVertical = {20, 20, 36, 256};     // 16 x 236: shaft 18..218 between the arrows
const RECT kHorizontal = {60, 20, 296, 36};   // 236 x 16
using Codes = std::vector<UINT>;
const UINT kNothing = 99;   // no notification at all

ScrollProbe& make(ScrollHost& host, bool vertical, int nMax, int pos, int line, int page) {
    return host.create(vertical, vertical ? kVertical : kHorizontal, 0, nMax, pos, line, page);
}
void pointAlong(ScrollProbe& bar, bool vertical, int along, int across = 8) {
    const POINT p = on(vertical, along, across);
    pointerTo(bar.m_hWnd, p.x, p.y);
}
}  // namespace

TEST(ScrollInput, ClicksKeysAndTheWheelStepReportAndEnd) {
    for (bool vertical : {true, false}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        ScrollHost host;
        ScrollProbe& bar = make(host, vertical, 99, 45, 1, 10);
        struct Step {
            int along;   // a click there, or a key when 0
            UINT vk, code;
            int pos;
        } steps[] = {
            {8, 0, SB_LINEUP, 44},         {228, 0, SB_LINEDOWN, 45},    {50, 0, SB_PAGEUP, 35},
            {200, 0, SB_PAGEDOWN, 45},     {17, 0, SB_ENDSCROLL, 45},    // the gap: only the end of the press
            {0, VK_UP, SB_LINEUP, 44},     {0, VK_RIGHT, SB_LINEDOWN, 45}, {0, VK_LEFT, SB_LINEUP, 44},
            {0, VK_DOWN, SB_LINEDOWN, 45}, {0, VK_PRIOR, SB_PAGEUP, 35}, {0, VK_NEXT, SB_PAGEDOWN, 45},
            {0, VK_HOME, SB_TOP, 0},       {0, VK_HOME, SB_TOP, 0},      {0, VK_END, SB_BOTTOM, 90},
            {0, 'A', kNothing, 90},
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(testing::Message() << "at " << s.along << " key " << s.vk);
            host.clear();
            if (s.along) {
                const POINT p = on(vertical, s.along);
                clickAt(bar.m_hWnd, p.x, p.y);
            } else {
                key(bar.m_hWnd, s.vk);
            }
            Codes want = s.code == kNothing ? Codes{} : Codes{s.code};
            if (s.along && s.code != SB_ENDSCROLL) want.push_back(SB_ENDSCROLL);
            EXPECT_EQ(want, host.codes());
            for (const Note& n : ScrollHost::notes)
                EXPECT_TRUE(n.msg == (vertical ? (UINT)WM_VSCROLL : (UINT)WM_HSCROLL) && n.pos == (UINT)s.pos &&
                            n.from == bar.m_hWnd);
            EXPECT_EQ(s.pos, bar.fnGetScrollPos());
            EXPECT_EQ(nullptr, GetCapture());
            EXPECT_EQ(0u, bar.m_nTimerID);
        }
        // The wheel: nothing past either end, nLine lines a notch, forward is up.
        bar.fnSetScrollInfo(0, 99, 0, 5, 10, TRUE);
        pointAlong(bar, vertical, 100);
        host.clear();
        wheel(WHEEL_DELTA);
        wheel(-WHEEL_DELTA);
        EXPECT_EQ(25, bar.fnGetScrollPos());
        bar.fnSetScrollPos(1000, TRUE);
        wheel(-WHEEL_DELTA);
        wheel(2 * WHEEL_DELTA);
        EXPECT_EQ(40, bar.fnGetScrollPos());
        EXPECT_EQ((Codes{SB_LINEDOWN, SB_LINEUP}), host.codes());
        EXPECT_EQ(40u, ScrollHost::notes.back().pos);
    }
}

TEST(ScrollInput, HeldArrowRepeatsAfterHalfASecondThenEveryTenthUntilTheLimit) {
    ScrollHost host;
    ScrollProbe& bar = make(host, true, 99, 84, 1, 10);   // limit 90: the press and five repeats
    pointAlong(bar, true, 228);
    bar.timers.clear();
    const DWORD pressed = GetTickCount();
    buttonDown();
    ASSERT_TRUE(pumpUntil(20000, [&] { return bar.m_nTimerID == 0; }));
    EXPECT_TRUE(bar.m_bLButtonDown);   // still held: the repeat stopped by itself
    pump(250);
    buttonUp();
    pump(200);   // nothing may follow the release
    const std::vector<Note>& n = ScrollHost::notes;
    EXPECT_EQ((Codes{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}),
              host.codes());
    EXPECT_EQ(90, bar.fnGetScrollPos());
    // The delay timer (1) fires once and only switches to the repeat timer (2), which steps five times.
    ASSERT_EQ(6u, bar.timers.size());
    for (size_t i = 0; i < bar.timers.size(); ++i) EXPECT_EQ(i ? 2u : 1u, bar.timers[i].first) << i;
    ASSERT_EQ(7u, n.size());
    EXPECT_GE(bar.timers[0].second - pressed, 480u);
    EXPECT_GE(n[1].at - pressed, 570u) << "first repeat came too early";
    // Under load ticks come late or merge, never early: step 6 not before 500 + 5 x 100 ms.
    EXPECT_GE(n[5].at - pressed, 970u);
    EXPECT_EQ(nullptr, GetCapture());
}

TEST(ScrollInput, HeldShaftPagesUntilTheThumbReachesThePointer) {
    ScrollHost host;
    // Limit 950; a 16-pixel thumb with 184 pixels of travel: page k puts its top at 18 + 184 x 50k / 950.
    ScrollProbe& bar = make(host, true, 999, 0, 1, 50);
    pointAlong(bar, true, 150);
    buttonDown();
    EXPECT_TRUE(pumpUntil(30000, [&] { return bar.m_nTimerID == 0; }));
    pointAlong(bar, true, 210);   // moving away does not change the target
    pump(300);
    buttonUp();
    Codes want(14, SB_PAGEDOWN);   // page 13 leaves the top at 143, page 14 at 153
    want.push_back(SB_ENDSCROLL);
    EXPECT_EQ(want, host.codes());
    EXPECT_EQ(153, bar.m_rcThumb.top);
}

TEST(ScrollInput, ThumbDragFollowsThePointerPixelForPixel) {
    ScrollHost host;
    // 600 wide: shaft 18..582, a 16-pixel thumb (the minimum) with 548 pixels of travel.
    ScrollProbe& bar = host.create(false, RECT{40, 300, 640, 316}, 0, 299999, 0, 1, 1000);
    ASSERT_EQ(18, bar.m_rcThumb.left);
    pointerTo(bar.m_hWnd, 24, 8);   // the cursor is asked for before the move is handled
    pointerTo(bar.m_hWnd, 26, 8);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_SIZEWE), GetCursor());
    buttonDown();
    EXPECT_EQ(Codes{}, host.codes());   // a press on the thumb moves nothing yet
    int x = 26;
    // Pointer steps and where the thumb's left edge then is; 400 runs past the end, and back from
    // there the thumb follows at once from where it stopped.
    const int moves[][2] = {{1, 19}, {1, 20}, {1, 21}, {37, 58}, {200, 258}, {400, 566}, {-5, 561}, {-300, 261}};
    for (size_t i = 0; i < std::size(moves); ++i) {
        pointerTo(bar.m_hWnd, x += moves[i][0], 8);
        EXPECT_EQ(moves[i][1], bar.m_rcThumb.left) << "pointer at " << x;
        const long track = (long)((moves[i][1] - 18) / 548.0 * 299000);
        EXPECT_TRUE(track == bar.fnGetScrollTrackPos() && track == bar.fnGetScrollPos()) << track;
        ASSERT_EQ(i + 1, ScrollHost::notes.size());
        EXPECT_EQ((UINT)SB_THUMBTRACK, ScrollHost::notes.back().code);
        EXPECT_EQ((UINT)(track & 0xFFFF), ScrollHost::notes.back().pos);   // the low 16 bits
    }
    pointerTo(bar.m_hWnd, x, 11);   // a move across the bar is no drag step
    host.clear();
    buttonUp();
    EXPECT_EQ((Codes{SB_THUMBPOSITION, SB_ENDSCROLL}), host.codes());
    // Released where the last step was: only the end.
    pointerTo(bar.m_hWnd, bar.m_rcThumb.left + 4, 8);
    buttonDown();
    pointerTo(bar.m_hWnd, bar.m_rcThumb.left + 7, 8);
    host.clear();
    buttonUp();
    EXPECT_EQ(Codes{SB_ENDSCROLL}, host.codes());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST(ScrollSetters, ScaleGapBehaviourAndInactivityChangeWhatInputDoes) {
    ScrollHost host;
    ScrollProbe& bar = make(host, true, 99, 40, 2, 10);
    bar.fnSetScrollScale(3);
    clickAt(bar.m_hWnd, 8, 228);
    EXPECT_EQ(46, bar.fnGetScrollPos());   // three lines of two
    clickAt(bar.m_hWnd, 8, 8);
    EXPECT_EQ(40, bar.fnGetScrollPos());
    pointerTo(bar.m_hWnd, 8, 120);
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(44, bar.fnGetScrollPos());   // the wheel moves nLine lines whatever the scale
    EXPECT_TRUE(bar.fnSetARROW_OFFSET(5, TRUE));
    EXPECT_EQ(21, bar.m_rcShaft.top);
    EXPECT_EQ(236 - 21, bar.m_rcShaft.bottom);
    host.clear();
    clickAt(bar.m_hWnd, 8, 18);   // now in the gap
    EXPECT_EQ(Codes{SB_ENDSCROLL}, host.codes());

    bar.fnSetScrollRange(0, 50, 70, TRUE);   // the position is held to nMax, not to the new limit
    EXPECT_EQ(50, bar.fnGetScrollPos());
    EXPECT_EQ(42, bar.fnGetScrollLimit());   // ceil(51 / 2) x 2 - 10
    bar.fnSetScrollBehavior(1);              // takes effect at the next layout
    bar.fnSetScrollLine(1);
    EXPECT_EQ(50, bar.fnGetScrollLimit());

    bar.fnSetScrollInfo(0, 9, 0, 1, 10, TRUE);   // the range fits the page: inactive
    EXPECT_TRUE(bar.m_bFreeze);
    host.clear();
    for (int along : {8, 100, 228}) clickAt(bar.m_hWnd, 8, along);
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(Codes{}, host.codes());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST(ScrollSetters, ThicknessFitsTheSkinOnTheChosenSide) {
    ScrollHost host;
    const RECT wide = {60, 60, 260, 68}, tall = {300, 20, 308, 220}, thick = {60, 60, 260, 90};
    struct Case {
        RECT rect;
        DWORD side;
        int w, h;
    } cases[] = {{wide, 0, 200, 16}, {wide, 3, 200, 16}, {wide, 1, 200, 8},   // a wide bar fits its height only
                 {tall, 2, 16, 200}, {tall, 0, 8, 200},  {thick, 0, 200, 30}}; // already thicker than the skin
    for (const Case& c : cases) {
        ScrollProbe& bar = host.create(c.rect.bottom - c.rect.top > 100, c.rect, 0, 99, 0, 1, 10);
        EXPECT_TRUE(bar.fnSetRealSize(c.side));
        RECT r, want = {c.rect.left, c.rect.top, c.rect.left + c.w, c.rect.top + c.h};
        bar.GetWindowRect(&r);
        MapWindowPoints(nullptr, host.parent(), (POINT*)&r, 2);
        EXPECT_TRUE(EqualRect(&r, &want)) << c.side << ": " << r.right - r.left << " x " << r.bottom - r.top;
    }
}
