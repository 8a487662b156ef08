// Real input on real bars: clicks, holds with the message pump running, drags, the wheel and keys,
// checked against what the parent hears.
#include "sbhost.h"
#include <algorithm>

namespace {
const RECT kVertical = {20, 20, 36, 256};     // 16 x 236: shaft 18..218 between the arrows
const RECT kHorizontal = {60, 20, 296, 36};   // 236 x 16

// A client point at `along` on the bar's axis, 8 pixels across.
POINT at(const ScrollProbe& bar, bool vertical, int along, int across = 8) {
    (void)bar;
    return vertical ? POINT{across, along} : POINT{along, across};
}
void clickAlong(ScrollProbe& bar, bool vertical, int along) {
    POINT p = at(bar, vertical, along);
    clickAt(bar.m_hWnd, p.x, p.y);
}
void pointAlong(ScrollProbe& bar, bool vertical, int along, int across = 8) {
    POINT p = at(bar, vertical, along, across);
    pointerTo(bar.m_hWnd, p.x, p.y);
}
int thumbStart(const ScrollProbe& bar, bool vertical) { return vertical ? bar.m_rcThumb.top : bar.m_rcThumb.left; }

using Codes = std::vector<UINT>;
}  // namespace

TEST(ScrollInput, ClickOnEachArrowAndShaftSideStepsOnceThenEnds) {
    for (bool vertical : {true, false}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        ScrollHost host;
        ScrollProbe& bar = host.create(vertical, vertical ? kVertical : kHorizontal, 0, 99, 45, 1, 10);
        ASSERT_EQ(108, thumbStart(bar, vertical));
        struct Step {
            int along;
            UINT code;
            int pos;
        } steps[] = {
            {8, SB_LINEUP, 44}, {228, SB_LINEDOWN, 45}, {50, SB_PAGEUP, 35}, {200, SB_PAGEDOWN, 45},
            {17, SB_ENDSCROLL, 45},   // the gap between arrow and shaft: only the end of the press
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(s.along);
            host.clear();
            clickAlong(bar, vertical, s.along);
            const Codes want = s.code == SB_ENDSCROLL ? Codes{SB_ENDSCROLL} : Codes{s.code, SB_ENDSCROLL};
            EXPECT_EQ(want, host.codes());
            for (const Note& n : ScrollHost::notes) {
                EXPECT_EQ(vertical ? (UINT)WM_VSCROLL : (UINT)WM_HSCROLL, n.msg);
                EXPECT_EQ((UINT)s.pos, n.pos);
                EXPECT_EQ(bar.m_hWnd, n.from);
            }
            EXPECT_EQ(s.pos, bar.fnGetScrollPos());
            EXPECT_EQ(nullptr, GetCapture());
            EXPECT_EQ(0u, bar.m_nTimerID);
        }
    }
}

TEST(ScrollInput, HeldArrowRepeatsAfterHalfASecondThenEveryTenthOfASecond) {
    ScrollHost host;
    ScrollProbe& bar = host.create(true, kVertical, 0, 999, 0, 1, 10);
    pointAlong(bar, true, 228);
    bar.timers.clear();
    const DWORD pressed = GetTickCount();
    buttonDown();
    // Hold until five repeats have come, however slowly the machine runs.
    ASSERT_TRUE(pumpUntil(20000, [] { return ScrollHost::notes.size() >= 6; }));
    buttonUp();
    const DWORD released = GetTickCount();
    pump(300);   // nothing may follow the release

    const std::vector<Note>& n = ScrollHost::notes;
    ASSERT_GE(n.size(), 7u);
    EXPECT_EQ((UINT)SB_ENDSCROLL, n.back().code);
    int steps = 0;
    for (size_t i = 0; i + 1 < n.size(); ++i) {
        EXPECT_EQ((UINT)SB_LINEDOWN, n[i].code);
        EXPECT_EQ((UINT)(i + 1), n[i].pos);
        ++steps;
    }
    // The press steps at once; the delay timer (1) fires once and only switches to the repeat timer (2).
    ASSERT_FALSE(bar.timers.empty());
    EXPECT_EQ(1u, bar.timers[0].id);
    int repeats = 0;
    for (size_t i = 1; i < bar.timers.size(); ++i) {
        EXPECT_EQ(2u, bar.timers[i].id);
        ++repeats;
    }
    EXPECT_EQ(1 + repeats, steps);
    EXPECT_GE(n[1].at - pressed, 570u) << "first repeat came too early";
    EXPECT_GE(bar.timers[0].at - pressed, 480u);
    // Tick k of the repeat timer cannot come before 500 + 100 k ms after the press; under load ticks
    // come late or merge, never early.
    EXPECT_GE((int)(n[steps - 1].at - pressed), 500 + 100 * repeats - 30) << repeats << " repeats";
    // No more steps than the held time allows.
    EXPECT_LE(steps, 2 + (int)(released - pressed - 500) / 100 + 1);
    EXPECT_EQ(0u, bar.m_nTimerID);
}

TEST(ScrollInput, HeldArrowStopsRepeatingAtTheLimit) {
    ScrollHost host;
    ScrollProbe& bar = host.create(true, kVertical, 0, 99, 88, 1, 10);
    pointAlong(bar, true, 228);
    buttonDown();
    EXPECT_TRUE(pumpUntil(15000, [&] { return bar.m_nTimerID == 0; }));
    EXPECT_TRUE(bar.m_bLButtonDown);   // still held: the repeat stopped by itself
    pump(250);
    buttonUp();
    EXPECT_EQ((Codes{SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}), host.codes());
    EXPECT_EQ(90, bar.fnGetScrollPos());
}

TEST(ScrollInput, HeldShaftPagesUntilTheThumbReachesThePointer) {
    ScrollHost host;
    // Limit 950; a 16-pixel thumb with 184 pixels of travel: page k puts its top at 18 + 184 x 50k / 950.
    ScrollProbe& bar = host.create(true, kVertical, 0, 999, 0, 1, 50);
    pointAlong(bar, true, 150);
    buttonDown();
    EXPECT_TRUE(pumpUntil(30000, [&] { return bar.m_nTimerID == 0; }));
    pointAlong(bar, true, 210);   // moving away does not change the target
    pump(300);
    buttonUp();
    Codes want(14, SB_PAGEDOWN);   // page 13 leaves the top at 143, page 14 at 153
    want.push_back(SB_ENDSCROLL);
    EXPECT_EQ(want, host.codes());
    EXPECT_EQ(700, bar.fnGetScrollPos());
    EXPECT_EQ(153, bar.m_rcThumb.top);
}

TEST(ScrollInput, ThumbDragFollowsThePointerPixelForPixel) {
    ScrollHost host;
    // 600 wide: shaft 18..582, a 16-pixel thumb (the minimum) with 548 pixels of travel.
    ScrollProbe& bar = host.create(false, RECT{40, 300, 640, 316}, 0, 299999, 0, 1, 1000);
    ASSERT_EQ(18, bar.m_rcThumb.left);
    ASSERT_EQ(16, bar.m_rcThumb.right - bar.m_rcThumb.left);
    pointerTo(bar.m_hWnd, 26, 8);
    buttonDown();
    EXPECT_EQ(Codes{}, host.codes());   // a press on the thumb moves nothing yet

    int x = 26, tracks = 0;
    const int moves[] = {1, 1, 1, 1, 1, 37, 200, 400, -5, -300};   // 400 runs past the end
    for (int dx : moves) {
        x += dx;
        pointerTo(bar.m_hWnd, x, 8);
        ++tracks;
        const int left = std::min(std::max(18 + (x - 26), 18), 566);
        SCOPED_TRACE(testing::Message() << "pointer at " << x);
        // Back from beyond the end the thumb follows at once, from where it stopped.
        const int expectLeft = dx == -5 ? 561 : dx == -300 ? 261 : left;
        EXPECT_EQ(expectLeft, bar.m_rcThumb.left);
        const long track = (long)((expectLeft - 18) / 548.0 * 299000);
        EXPECT_EQ(track, bar.fnGetScrollTrackPos());
        EXPECT_EQ(track, bar.fnGetScrollPos());
        ASSERT_EQ((size_t)tracks, ScrollHost::notes.size());
        EXPECT_EQ((UINT)SB_THUMBTRACK, ScrollHost::notes.back().code);
        EXPECT_EQ((UINT)(track & 0xFFFF), ScrollHost::notes.back().pos);   // the low 16 bits
    }
    // A move across the bar is no drag step; releasing there reports the final position.
    pointerTo(bar.m_hWnd, x, 11);
    EXPECT_EQ((size_t)tracks, ScrollHost::notes.size());
    host.clear();
    buttonUp();
    EXPECT_EQ((Codes{SB_THUMBPOSITION, SB_ENDSCROLL}), host.codes());
    EXPECT_EQ(bar.fnGetScrollTrackPos(), bar.fnGetScrollPos());

    // Released where the last step was: only the end.
    pointerTo(bar.m_hWnd, bar.m_rcThumb.left + 4, 8);
    buttonDown();
    pointerTo(bar.m_hWnd, bar.m_rcThumb.left + 4 + 3, 8);
    host.clear();
    buttonUp();
    EXPECT_EQ(Codes{SB_ENDSCROLL}, host.codes());
}

TEST(ScrollInput, WheelNotchesBothWaysAtBothEnds) {
    for (bool vertical : {true, false}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        ScrollHost host;
        ScrollProbe& bar = host.create(vertical, vertical ? kVertical : kHorizontal, 0, 99, 0, 5, 10);
        pointAlong(bar, vertical, 100);
        wheel(WHEEL_DELTA);   // forward at nMin: nothing
        EXPECT_EQ(Codes{}, host.codes());
        wheel(-WHEEL_DELTA);  // one notch back: five lines of five
        EXPECT_EQ(Codes{SB_LINEDOWN}, host.codes());
        EXPECT_EQ(25, bar.fnGetScrollPos());
        bar.fnSetScrollPos(1000, TRUE);
        EXPECT_EQ(90, bar.fnGetScrollPos());
        host.clear();
        wheel(-WHEEL_DELTA);  // back at the limit: nothing
        EXPECT_EQ(Codes{}, host.codes());
        wheel(2 * WHEEL_DELTA);
        EXPECT_EQ(Codes{SB_LINEUP}, host.codes());
        EXPECT_EQ(40, bar.fnGetScrollPos());
        EXPECT_EQ(40u, ScrollHost::notes.back().pos);
    }
}

TEST(ScrollInput, KeysStepJumpAndReportWhateverTheOrientation) {
    for (bool vertical : {true, false}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        ScrollHost host;
        ScrollProbe& bar = host.create(vertical, vertical ? kVertical : kHorizontal, 0, 99, 45, 1, 10);
        struct Press {
            UINT vk, code;
            int pos;
        } presses[] = {
            {VK_UP, SB_LINEUP, 44},     {VK_DOWN, SB_LINEDOWN, 45}, {VK_LEFT, SB_LINEUP, 44},
            {VK_RIGHT, SB_LINEDOWN, 45}, {VK_PRIOR, SB_PAGEUP, 35}, {VK_NEXT, SB_PAGEDOWN, 45},
            {VK_HOME, SB_TOP, 0},       {VK_HOME, SB_TOP, 0},       {VK_END, SB_BOTTOM, 90},
            {VK_END, SB_BOTTOM, 90},
        };
        for (const Press& p : presses) {
            host.clear();
            key(bar.m_hWnd, p.vk);
            EXPECT_EQ(Codes{p.code}, host.codes()) << "key " << p.vk;
            EXPECT_EQ(p.pos, bar.fnGetScrollPos()) << "key " << p.vk;
            if (!ScrollHost::notes.empty()) {
                EXPECT_EQ((UINT)p.pos, ScrollHost::notes[0].pos);
            }
        }
        host.clear();
        key(bar.m_hWnd, 'A');
        EXPECT_EQ(Codes{}, host.codes());
    }
}

TEST(ScrollInput, InactiveBarIgnoresPressesAndTheWheel) {
    ScrollHost host;
    ScrollProbe& bar = host.create(true, kVertical, 0, 9, 0, 1, 10);
    EXPECT_TRUE(bar.m_bFreeze);
    for (int along : {8, 100, 228}) clickAlong(bar, true, along);
    pointAlong(bar, true, 100);
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(Codes{}, host.codes());
    EXPECT_EQ(0, bar.fnGetScrollPos());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST(ScrollInput, PointerOnTheThumbShowsTheSizingCursor) {
    for (bool vertical : {true, false}) {
        ScrollHost host;
        ScrollProbe& bar = host.create(vertical, vertical ? kVertical : kHorizontal, 0, 99, 45, 1, 10);
        // The cursor is asked for before the move is handled, so it changes at the second move on the thumb.
        pointAlong(bar, vertical, 100);
        pointAlong(bar, vertical, 116);
        pointAlong(bar, vertical, 118);
        EXPECT_EQ(4, bar.m_nHoverCode);
        EXPECT_EQ(LoadCursorW(nullptr, vertical ? IDC_SIZENS : IDC_SIZEWE), GetCursor());
        pointAlong(bar, vertical, 60);
        pointAlong(bar, vertical, 62);
        EXPECT_EQ(2, bar.m_nHoverCode);
        EXPECT_NE(LoadCursorW(nullptr, vertical ? IDC_SIZENS : IDC_SIZEWE), GetCursor());
    }
}
