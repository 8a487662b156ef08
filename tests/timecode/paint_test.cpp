// Painting read back from the screen and compared with the sprite sheets, update regions, the
// mouse on members and buttons, sizes, and initialisation failures.
#include "tcprobe.h"
#include "qDraw.h"
#include <functional>

namespace {
const UINT kTimer = 10;

// Where a variant's pieces lie in the window, written out here independently of the layout.
struct Skin {
    const wchar_t* band;
    int w, h, shortTop, offX, offY;
    int x[8];                       // left edges of the digit cells; 8 x 13 digits, frames 7 x 13
    int bx, upY, downY, gridX, bw, bh;   // spin buttons; their sprites form a grid at gridX
};
const Skin kStandard = {L"TimeTag0.png", 105, 21, 36, 3, 4, {0, 8, 24, 32, 48, 56, 69, 76}, 88, -3, 7, 105, 13, 9};
const Skin kStandardFixed = {L"TimeTag1.png", 90, 21, 21, 3, 4, {0, 8, 24, 32, 48, 56, 69, 76}, 88, -3, 7, 105, 13, 9};
const Skin kCompact = {L"TimeTag2.png", 85, 16, 20, 0, 1, {2, 10, 20, 28, 40, 48, 60, 67}, 74, 2, 8, 85, 7, 5};
const Skin kCompactFixed = {L"TimeTag3.png", 78, 16, 16, 0, 1, {2, 10, 20, 28, 40, 48, 60, 67}, 74, 2, 8, 85, 7, 5};

enum Button { Normal = 0, Pressed = 1, Disabled = 2, Hover = 3 };   // grid rows of the button states

void blit(HDC to, HBITMAP from, int sx, int sy, int dx, int dy, int w, int h) {
    gfnBitblt(to, dx, dy, w, h, from, sx, sy, SRCCOPY);
}

// The control painted now (erase and paint, no message loop) and read back from the screen equals
// the picture composed from the skin files: the band, the digit cells ("05234512", a space leaves
// the band showing) and the two buttons.
::testing::AssertionResult looksLike(HWND control, const Skin& k, bool longFormat, const char* cells, Button up,
                                     Button down, bool redraw = true) {
    testutil::Canvas want(k.w, k.h, RGB(255, 0, 255)), got(k.w, k.h, RGB(255, 0, 255));
    HBITMAP digits = loadSkin(L"Digits.png"), band = loadSkin(k.band);
    blit(want.dc(), band, 0, longFormat ? 0 : k.shortTop, 0, 0, k.w, k.h);
    for (int cell = 0, d; cell < 8; ++cell)   // frame digits are 7 wide, in the second row
        if ((d = cells[cell] - '0') >= 0)
            blit(want.dc(), digits, cell < 6 ? 9 * d + 1 : 8 * d + 1, cell < 6 ? 1 : 15, k.x[cell] + k.offX, k.offY, 8 - (cell >= 6), 13);
    blit(want.dc(), band, k.gridX, up * k.bh, k.bx + k.offX, k.upY + k.offY, k.bw, k.bh);
    blit(want.dc(), band, k.gridX + k.bw, down * k.bh, k.bx + k.offX, k.downY + k.offY, k.bw, k.bh);
    DeleteObject(digits);
    DeleteObject(band);
    if (redraw) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    else UpdateWindow(control);   // only what is invalid
    HDC dc = GetDC(control);
    BitBlt(got.dc(), 0, 0, k.w, k.h, dc, 0, 0, SRCCOPY);
    ReleaseDC(control, dc);
    return testutil::pixelsAre(got, [&](int x, int y) { return want.at(x, y); });
}

class TimeCodePaint : public ::testing::Test {
protected:
    // At 25 frames a second, so that TimeCodeToIndex below counts like the index given to the control.
    void init(int longFormat, int adjustable, int compact, int h = 0, int m = 0, int s = 0, int f = 0) {
        c.fnSetFrameRate(25.0);
        ASSERT_TRUE(host.createControl(c));
        ASSERT_EQ(1, c.fnInit(longFormat, adjustable, compact));
        c.fnSetIndex(c.TimeCodeToIndex(h, m, s, f), 25.0, 1);
        host.clear();
    }
    // The update region equals the union of the members' rectangles; then everything is validated.
    ::testing::AssertionResult updateIs(std::initializer_list<int> members) {
        HRGN want = CreateRectRgn(0, 0, 0, 0), got = CreateRectRgn(0, 0, 0, 0);
        for (int m : members) {
            RECT r;
            c.fnGetMemberRect(m, &r);
            HRGN one = CreateRectRgnIndirect(&r);
            CombineRgn(want, want, one, RGN_OR);
            DeleteObject(one);
        }
        GetUpdateRgn(c.m_hWnd, got, FALSE);
        RECT box;
        GetRgnBox(got, &box);
        const bool same = EqualRgn(want, got);
        DeleteObject(want), DeleteObject(got);
        ValidateRect(c.m_hWnd, nullptr);
        return same ? ::testing::AssertionSuccess()
                    : ::testing::AssertionFailure() << "update box " << box.left << "," << box.top << "," << box.right << "," << box.bottom;
    }
    void click(UINT msg, int x, int y) { SendMessageW(c.m_hWnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y)); }

    TimeCodeHost host;
    TimeCodeProbe c;
};
}  // namespace

// Hours drop their leading zero unless asked for it or focused and current; a half-typed member
// shows its one digit in the ones cell; the blink's dark phase leaves the current member out. The
// buttons show hover, pressed and disabled states.
TEST_F(TimeCodePaint, DigitsAndButtonsOverTheBand) {
    init(1, 1, 0, 0, 1, 2, 3);
    auto move = [&](int y) { SendMessageW(c.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(95, y)); };
    auto focusHours = [&] {   // focused, the blink held still
        SetFocus(c.m_hWnd), pressKey(c.m_hWnd, VK_HOME), KillTimer(c.m_hWnd, kTimer);
    };
    const struct { std::function<void()> then; const char* cells; Button up, down; } states[] = {
        {[&] { move(3); }, " 0010203", Hover, Normal},
        {[&] { move(15); }, " 0010203", Normal, Hover},
        {[&] { SendMessageW(c.m_hWnd, WM_MOUSELEAVE, 0, 0); }, " 0010203", Normal, Normal},
        {[&] { click(WM_LBUTTONDOWN, 95, 15); }, "00010203", Normal, Pressed},   // with the focus, hours current
        {[&] { click(WM_LBUTTONUP, 95, 15), SetFocus(host.parent()), c.fnSetAdjustable(0); }, " 0010203", Disabled, Disabled},
        {[&] { c.fnSetAdjustable(1), EnableWindow(c.m_hWnd, FALSE); }, "        ", Disabled, Disabled},
        {[&] { EnableWindow(c.m_hWnd, TRUE); }, " 0010203", Normal, Normal},
        {[&] { c.fnSetIndex(c.TimeCodeToIndex(5, 23, 45, 12), 25.0, 1); }, " 5234512", Normal, Normal},
        {[&] { c.fnSetHourLeadingZero(1); }, "05234512", Normal, Normal},
        {[&] { c.fnSetHourLeadingZero(0), c.fnSetIndex(c.TimeCodeToIndex(5, 0, 7, 3), 25.0, 1), focusHours(); }, "05000703", Normal, Normal},
        {[&] { pressKey(c.m_hWnd, VK_RIGHT), pressKey(c.m_hWnd, VK_RIGHT), pressKey(c.m_hWnd, '3'); }, " 500 303", Normal, Normal},
        {[&] { c.m_bFlashOn = 0; }, " 500  03", Normal, Normal}};
    for (const auto& k : states) {
        k.then();
        EXPECT_TRUE(looksLike(c.m_hWnd, kStandard, true, k.cells, k.up, k.down)) << &k - states;
    }
    c.m_bFlashOn = 1;
    SetFocus(host.parent());
}

// Each variant paints its two bands (a fixed compact one still shows the edge of its disabled
// buttons) and keeps its size whatever the host asks; a second fnInit succeeds at once and changes
// nothing. Making, painting and ending controls, by fnUnInit or with their window, leaks nothing.
TEST_F(TimeCodePaint, EachVariantPaintsItsBandsKeepsItsSizeAndLeaksNothing) {
    const struct { int adjustable, compact; const Skin& skin; Button buttons; } variants[] = {
        {1, 0, kStandard, Normal}, {0, 0, kStandardFixed, Disabled}, {1, 1, kCompact, Normal}, {0, 1, kCompactFixed, Disabled}};
    EXPECT_EQ(0, testutil::gdiLeakOver(2, [&] {
        for (const auto& v : variants) {
            SCOPED_TRACE(v.skin.band);
            TimeCodeProbe p;
            ASSERT_TRUE(host.createControl(p));
            ASSERT_EQ(1, p.fnInit(1, v.adjustable, v.compact));
            p.fnSetIndex(p.TimeCodeToIndex(12, 34, 56, 7), 0.0, 1);
            EXPECT_TRUE(looksLike(p.m_hWnd, v.skin, true, "12345607", v.buttons, v.buttons));
            p.fnSetLongFormat(0);
            EXPECT_TRUE(looksLike(p.m_hWnd, v.skin, false, "12345607", v.buttons, v.buttons));
            p.fnSetIndex(1000, 29.97, 1);
            UpdateWindow(p.m_hWnd);
            SetWindowPos(p.m_hWnd, nullptr, 0, 0, 200, 50, SWP_NOMOVE | SWP_NOZORDER);
            EXPECT_EQ(1, p.fnInit(1, !v.adjustable, !v.compact));
            RECT r;
            GetClientRect(p.m_hWnd, &r);
            EXPECT_TRUE(v.skin.w == r.right && v.skin.h == r.bottom);
            if (v.compact) p.fnUnInit();
        }
    }));
}

// A step invalidates only the members that changed; playback repaints only those, from images
// kept selected between paints, and frame by frame the screen stays the whole picture, across a
// day's rollover and a dropped-frame minute.
TEST_F(TimeCodePaint, StepsAndPlaybackPaintOnlyWhatChangedAndStayWhole) {
    init(1, 1, 0);
    c.fnSetFrameRate(29.97);
    c.m_nCurrent = 3;
    const struct { int s, f; const char* after; std::initializer_list<int> changed; } steps[] = {
        {10, 5, "00:00:10:06 @3", {3}}, {10, 29, "00:00:11:00 @3", {2, 3}}, {59, 29, "00:01:00:02 @3", {1, 2, 3}}};
    for (const auto& k : steps) {
        c.fnSetIndex(c.TimeCodeToIndex(0, 0, k.s, k.f), 0.0, 1);
        ValidateRect(c.m_hWnd, nullptr);
        c.fnStepChange(1);
        EXPECT_EQ(k.after, c.text());
        EXPECT_TRUE(updateIs(k.changed)) << k.after;
    }
    // A host index without refresh repaints nothing, and the next refresh repaints every member.
    c.fnSetIndex(c.TimeCodeToIndex(0, 1, 0, 3), 0.0, 0);
    EXPECT_TRUE(updateIs({}));
    c.fnSetIndex(0, 0.0, 1);
    EXPECT_TRUE(updateIs({0, 1, 2, 3}));
    c.m_nCurrent = 0;
    ASSERT_TRUE(looksLike(c.m_hWnd, kStandard, true, " 0000000", Normal, Normal));
    const struct { int start, frames; const char* cells; } runs[] = {
        {1795, 3, " 0005927"}, {2589406, 3, " 0000000"}, {17980, 40, " 0100107"}};
    for (const auto& r : runs) {
        for (int i = 0; i < r.frames; ++i) {
            c.fnSetIndex((r.start + i) % 2589408, 0.0, 1);
            UpdateWindow(c.m_hWnd);
        }
        EXPECT_TRUE(looksLike(c.m_hWnd, kStandard, true, r.cells, Normal, Normal, false)) << r.start;
    }
    // The images kept for painting go with fnUnInit, before the layout frees them: what was invalid
    // then is not painted from them.
    c.fnSetIndex(0, 0.0, 1);
    c.fnUnInit();
    EXPECT_FALSE(looksLike(c.m_hWnd, kStandard, true, " 0000000", Normal, Normal, false));
}

// Clicks on the members choose them by the midpoints between cells; the up button at (95, 3) and
// the down button at (95, 15) step with the mouse captured and repeat on the timer.
TEST_F(TimeCodePaint, MouseOnMembersAndSpinButtons) {
    init(1, 1, 0, 0, 0, 0, 10);
    // Unfocused: the first press on a button only takes the focus (and the mouse).
    click(WM_LBUTTONDOWN, 95, 3);
    EXPECT_TRUE(c.m_hWnd == GetFocus() && c.m_hWnd == GetCapture() && std::string("00:00:00:10 @0") == c.text());
    click(WM_LBUTTONUP, 95, 3);
    EXPECT_EQ((Codes{EN_SETFOCUS, EN_CHANGE}), host.codes());
    host.clear();
    // Cell left edges with the offset: 11 | 27 -> 19, 35 | 51 -> 43, 59 | 72 -> 65.
    const std::pair<int, int> cases[] = {{18, 0}, {19, 1}, {42, 1}, {43, 2}, {64, 2}, {65, 3}, {4, 0}, {86, 3}};
    for (auto [x, member] : cases) {
        click(WM_LBUTTONDOWN, x, 10);
        click(WM_LBUTTONUP, x, 10);
        EXPECT_EQ(member, c.m_nCurrent) << "x " << x;
    }
    EXPECT_TRUE(host.notes.empty() && !GetCapture());   // a click on the current member changes nothing
    // Leaving a half-typed member by mouse reports the change.
    pressKey(c.m_hWnd, '4');
    click(WM_LBUTTONDOWN, 30, 10);
    EXPECT_TRUE(std::string("00:00:00:04 @1") == c.text() && Codes{EN_CHANGE} == host.codes());

    // Focused, frames current: a press steps at once and the timer repeats while it is held.
    c.fnSetIndex(10, 0.0, 1);
    pressKey(c.m_hWnd, VK_END);
    host.clear();
    click(WM_LBUTTONDOWN, 95, 3);
    EXPECT_EQ("00:00:00:11 @3", c.text());
    for (int t = 1; t <= 10; ++t) SendMessageW(c.m_hWnd, WM_TIMER, kTimer, 0);
    EXPECT_EQ("00:00:00:15 @3", c.text());   // ticks 4, 8, 9 and 10
    // Moving onto the down button turns the spin round.
    SendMessageW(c.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(95, 15));
    SendMessageW(c.m_hWnd, WM_TIMER, kTimer, 0);
    EXPECT_TRUE(std::string("00:00:00:14 @3") == c.text() && host.notes.empty());
    click(WM_LBUTTONUP, 95, 15);
    EXPECT_TRUE(Codes{EN_CHANGE} == host.codes() && (c.m_nSpinCount == 0 && !GetCapture()));
    // Cancel mode during a press ends it with a change notification.
    host.clear();
    click(WM_LBUTTONDOWN, 95, 15);
    EXPECT_EQ("00:00:00:13 @3", c.text());
    SendMessageW(c.m_hWnd, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE((c.m_nSpinCount == 0 && !GetCapture()) && Codes{EN_CHANGE} == host.codes());
    SetFocus(host.parent());
}

// fnInit before the window exists, with the digit image missing, or after fnUnInit fails and
// leaves every rectangle empty. The connecting line is the digit image's sprite beside the digits.
TEST_F(TimeCodePaint, InitFailuresLeaveEveryRectangleEmpty) {
    auto allEmpty = [](TimeCodeProbe& p) {
        for (int cell = 0; cell < 14; ++cell)
            if (!p.fnGetElemLayoutPos(cell).IsRectNull()) return false;
        RECT r;
        p.fnGetMemberRect(1, &r);
        CRect paint;
        p.fnCalcPaintRect(paint);
        return IsRectEmpty(&r) && p.fnGetRCSymbol(UTMTG_SYMBOL_7, UTMTG_CELL_MINUTE_ONES).IsRectNull() &&
               paint == CRect(0, 0, 1, 1) && !p.m_bInit;
    };
    TimeCodeProbe windowless;
    EXPECT_TRUE(0 == windowless.fnInit(1, 1, 0) && allEmpty(windowless));
    ASSERT_TRUE(host.createControl(c));
    {
        EmptyBitmapPath missing;
        EXPECT_EQ(0, c.fnInit(1, 1, 0));
    }
    EXPECT_TRUE(allEmpty(c));
    // Painting an uninitialised control draws no digits and does not fail.
    RedrawWindow(c.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_EQ(1, c.fnInit(1, 1, 0));   // the image is back: a retry succeeds
    CRect paint;
    c.fnCalcPaintRect(paint);
    EXPECT_EQ(CRect(0, 0, 84, 14), paint);
    testutil::Canvas target(40, 30, RGB(255, 0, 255)), want(40, 30, RGB(255, 0, 255));
    CDC dc;
    dc.Attach(target.dc());
    c.fnPaintConnectLineToDC(dc, 0);
    dc.Detach();
    HBITMAP digits = loadSkin(L"Digits.png");
    blit(want.dc(), digits, 105, 0, 3, 4, 8, 13);
    DeleteObject(digits);
    EXPECT_TRUE(testutil::pixelsAre(target, [&](int x, int y) { return want.at(x, y); }));
    EXPECT_EQ(nullptr, c.fnGetSymbolSource());   // closed again
    // After fnUnInit (or WM_DESTROY) the layout is gone for good.
    EXPECT_TRUE(1 == c.fnUnInit() && nullptr == c.m_pLayout && 0 == c.fnInit(1, 1, 0) && allEmpty(c));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(0, c.fnOpenBackgroundSource(screen));
    ReleaseDC(nullptr, screen);
}
