// Painting read back from the screen and compared with the sprite sheets, update regions, the
// mouse on members and buttons, sizes, and initialisation failures.
#include <gtest/gtest.h>
#include "tcprobe.h"
#include "testutil.h"
#include "qModule.h"
#include "qBitmapLoad.h"
#include <string>

namespace {
const UINT kTimer = 10;

// The expected picture of a control, composed here from the skin files and the cell tables.
struct Skin {
    const wchar_t* band;
    int w, h, bandTopLong, bandTopShort;
    int offX, offY;
    int cells[10][4];      // x, y, width, height of cells 0..9
    int gridX, bw, bh;     // button sprites
};
const Skin kStandard = {L"TimeTag0.png", 105, 21, 0, 36, 3, 4,
                        {{0, 0, 8, 13}, {8, 0, 8, 13}, {24, 0, 8, 13}, {32, 0, 8, 13}, {48, 0, 8, 13},
                         {56, 0, 8, 13}, {69, 0, 7, 13}, {76, 0, 7, 13}, {88, -3, 13, 9}, {88, 7, 13, 9}},
                        105, 13, 9};
const Skin kCompact = {L"TimeTag2.png", 85, 16, 0, 20, 0, 1,
                       {{2, 0, 8, 13}, {10, 0, 8, 13}, {20, 0, 8, 13}, {28, 0, 8, 13}, {40, 0, 8, 13},
                        {48, 0, 8, 13}, {60, 0, 7, 13}, {67, 0, 7, 13}, {74, 2, 7, 5}, {74, 8, 7, 5}},
                       85, 7, 5};
const Skin kCompactFixed = {L"TimeTag3.png", 78, 16, 0, 16, 0, 1,
                            {{2, 0, 8, 13}, {10, 0, 8, 13}, {20, 0, 8, 13}, {28, 0, 8, 13}, {40, 0, 8, 13},
                             {48, 0, 8, 13}, {60, 0, 7, 13}, {67, 0, 7, 13}, {74, 2, 7, 5}, {74, 8, 7, 5}},
                            85, 7, 5};

// Grid column (0 up, 1 down) and row (normal, pressed, disabled, hover) of each button state.
enum Button { Normal = 0, Pressed = 1, Disabled = 2, Hover = 3 };

HBITMAP loadSkin(const wchar_t* file) {
    std::wstring dir = std::wstring(gfnGetProgramBitmapPath()) + L"qDVDUser\\TimecodeCtrl\\";
    return gfnLoadBitmap(dir.c_str(), file);
}

class Expected {
public:
    Expected(const Skin& skin, bool longFormat) : m_skin(skin), m_canvas(skin.w, skin.h, RGB(255, 0, 255)) {
        m_digits = loadSkin(L"Digits.png");
        m_band = loadSkin(skin.band);
        copy(m_band, 0, longFormat ? skin.bandTopLong : skin.bandTopShort, 0, 0, skin.w, skin.h);
    }
    ~Expected() {
        DeleteObject(m_digits);
        DeleteObject(m_band);
    }
    void digit(int cell, int d) {
        const int* c = m_skin.cells[cell];
        if (cell >= 6)
            copy(m_digits, 8 * d + 1, 15, c[0] + m_skin.offX, c[1] + m_skin.offY, c[2], c[3]);
        else
            copy(m_digits, 9 * d + 1, 1, c[0] + m_skin.offX, c[1] + m_skin.offY, c[2], c[3]);
    }
    void member(int i, int v, bool tens = true) {
        if (tens) digit(2 * i, v / 10);
        digit(2 * i + 1, v % 10);
    }
    void button(bool up, Button state) {
        const int* c = m_skin.cells[up ? 8 : 9];
        copy(m_band, m_skin.gridX + (up ? 0 : m_skin.bw), state * m_skin.bh, c[0] + m_skin.offX, c[1] + m_skin.offY,
             c[2], c[3]);
    }
    void buttons(Button up, Button down) {
        button(true, up);
        button(false, down);
    }
    const testutil::Canvas& canvas() const { return m_canvas; }

private:
    void copy(HBITMAP from, int sx, int sy, int dx, int dy, int w, int h) {
        HDC mem = CreateCompatibleDC(m_canvas.dc());
        HGDIOBJ old = SelectObject(mem, from);
        BitBlt(m_canvas.dc(), dx, dy, w, h, mem, sx, sy, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    const Skin& m_skin;
    testutil::Canvas m_canvas;
    HBITMAP m_digits = nullptr, m_band = nullptr;
};

// Paints the control now (erase and paint, no message loop) and reads it back from the screen.
void shoot(HWND control, testutil::Canvas& out) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(control);
    BitBlt(out.dc(), 0, 0, out.width(), out.height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(control, dc);
}

// Pixels that differ, with the first one described.
::testing::AssertionResult samePicture(HWND control, const Expected& e) {
    const testutil::Canvas& want = e.canvas();
    testutil::Canvas got(want.width(), want.height(), RGB(255, 0, 255));
    shoot(control, got);
    int bad = 0, fx = -1, fy = -1;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (got.at(x, y) != want.at(x, y) && bad++ == 0) fx = x, fy = y;
    if (!bad) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << bad << " pixels differ, first at (" << fx << ", " << fy << "): got 0x"
                                         << std::hex << got.at(fx, fy) << " want 0x" << want.at(fx, fy);
}

class TimeCodePaint : public ::testing::Test {
protected:
    // At 25 frames a second, so that TimeCodeToIndex below counts like the index given to the control.
    void init(int longFormat, int adjustable, int compact) {
        c.fnSetFrameRate(25.0);
        ASSERT_TRUE(host.createControl(c));
        ASSERT_EQ(1, c.fnInit(longFormat, adjustable, compact));
        host.clear();
    }
    HRGN memberRegion(std::initializer_list<int> members) {
        HRGN all = CreateRectRgn(0, 0, 0, 0);
        for (int m : members) {
            RECT r;
            c.fnGetMemberRect(m, &r);
            HRGN one = CreateRectRgnIndirect(&r);
            CombineRgn(all, all, one, RGN_OR);
            DeleteObject(one);
        }
        return all;
    }
    // The update region equals the union of the members' rectangles.
    ::testing::AssertionResult updateIs(std::initializer_list<int> members) {
        HRGN want = memberRegion(members), got = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(c.m_hWnd, got, FALSE);
        RECT box;
        GetRgnBox(got, &box);
        bool same = EqualRgn(want, got);
        DeleteObject(want);
        DeleteObject(got);
        if (same) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "update box (" << box.left << ", " << box.top << ", " << box.right
                                             << ", " << box.bottom << ")";
    }
    void click(UINT msg, int x, int y) { SendMessageW(c.m_hWnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y)); }

    TimeCodeHost host;
    TimeCodeProbe c;
};
}  // namespace

TEST_F(TimeCodePaint, DigitsOverTheBandWithoutTheHoursLeadingZero) {
    init(1, 1, 0);
    c.fnSetIndex(c.TimeCodeToIndex(5, 23, 45, 12), 25.0, 1);
    c.m_nCurrent = 1;
    Expected e(kStandard, true);
    e.member(0, 5, false);   // hours 5 show one digit
    e.member(1, 23);
    e.member(2, 45);
    e.member(3, 12);
    e.buttons(Normal, Normal);
    EXPECT_TRUE(samePicture(c.m_hWnd, e));

    c.fnSetHourLeadingZero(1);
    e.member(0, 5);
    EXPECT_TRUE(samePicture(c.m_hWnd, e));
}

TEST_F(TimeCodePaint, FocusedHoursShowTheirTensAndHalfTypedMembersOneDigit) {
    init(1, 1, 0);
    c.fnSetIndex(c.TimeCodeToIndex(5, 0, 7, 3), 25.0, 1);
    SetFocus(c.m_hWnd);
    KillTimer(c.m_hWnd, kTimer);   // hold the blink still
    Expected e(kStandard, true);
    e.member(0, 5);
    e.member(1, 0);
    e.member(2, 7);
    e.member(3, 3);
    e.buttons(Normal, Normal);
    EXPECT_TRUE(samePicture(c.m_hWnd, e));

    // Seconds caught half-typed: a single 3 in the ones cell, the band in the tens cell; the hours,
    // no longer current, drop their tens digit.
    pressKey(c.m_hWnd, VK_RIGHT);
    pressKey(c.m_hWnd, VK_RIGHT);
    pressKey(c.m_hWnd, '3');
    Expected half(kStandard, true);
    half.member(0, 5, false);
    half.member(1, 0);
    half.member(2, 3, false);
    half.member(3, 3);
    half.buttons(Normal, Normal);
    EXPECT_TRUE(samePicture(c.m_hWnd, half));

    // The blink's dark phase leaves the current member out.
    c.m_bFlashOn = 0;
    Expected dark(kStandard, true);
    dark.member(0, 5, false);
    dark.member(1, 0);
    dark.member(3, 3);
    dark.buttons(Normal, Normal);
    EXPECT_TRUE(samePicture(c.m_hWnd, dark));
    c.m_bFlashOn = 1;
    SetFocus(host.parent());
}

TEST_F(TimeCodePaint, ButtonStates) {
    init(1, 1, 0);
    c.fnSetIndex(c.TimeCodeToIndex(0, 1, 2, 3), 25.0, 1);
    auto picture = [&](Button up, Button down, bool digits = true, bool hoursTens = false) {
        Expected e(kStandard, true);
        if (digits) {
            e.member(0, 0, hoursTens);
            e.member(1, 1);
            e.member(2, 2);
            e.member(3, 3);
        }
        e.buttons(up, down);
        return samePicture(c.m_hWnd, e);
    };
    // Hover follows the mouse over either button.
    SendMessageW(c.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(95, 3));
    EXPECT_EQ(1, c.m_bHover);
    EXPECT_TRUE(picture(Hover, Normal));
    SendMessageW(c.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(95, 15));
    EXPECT_TRUE(picture(Normal, Hover));
    SendMessageW(c.m_hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(0, c.m_bHover);
    EXPECT_TRUE(picture(Normal, Normal));
    // Pressed while the control holds the mouse.
    click(WM_LBUTTONDOWN, 95, 15);
    ASSERT_EQ(c.m_hWnd, GetCapture());
    EXPECT_TRUE(picture(Normal, Pressed, true, true));   // focused with hours current: "00"

    click(WM_LBUTTONUP, 95, 15);
    EXPECT_EQ(nullptr, GetCapture());
    KillTimer(c.m_hWnd, kTimer);
    SetFocus(host.parent());
    EXPECT_TRUE(picture(Normal, Normal));
    // A fixed control shows disabled buttons; a disabled window shows no digits at all.
    c.fnSetAdjustable(0);
    EXPECT_TRUE(picture(Disabled, Disabled));
    c.fnSetAdjustable(1);
    EnableWindow(c.m_hWnd, FALSE);
    EXPECT_EQ(0, c.m_bEnabled);
    EXPECT_TRUE(picture(Disabled, Disabled, false));
    EnableWindow(c.m_hWnd, TRUE);
    EXPECT_TRUE(picture(Normal, Normal));
}

TEST_F(TimeCodePaint, CompactSkinsAndTheShortFormat) {
    init(0, 1, 1);
    c.fnSetIndex(17982, 29.97, 1);   // 00:10:00:00
    Expected e(kCompact, false);
    e.member(0, 0, false);
    e.member(1, 10);
    e.member(2, 0);
    e.member(3, 0);
    e.buttons(Normal, Normal);
    EXPECT_TRUE(samePicture(c.m_hWnd, e));
    // Switching to the long format picks the other band of the same image.
    c.fnSetLongFormat(1);
    Expected l(kCompact, true);
    l.member(0, 0, false);
    l.member(1, 10);
    l.member(2, 0);
    l.member(3, 0);
    l.buttons(Normal, Normal);
    EXPECT_TRUE(samePicture(c.m_hWnd, l));
}

TEST_F(TimeCodePaint, FixedCompactControlShowsTheEdgeOfItsDisabledButtons) {
    init(1, 0, 1);
    c.fnSetIndex(c.TimeCodeToIndex(12, 34, 56, 7), 25.0, 1);
    Expected e(kCompactFixed, true);
    e.member(0, 12);
    e.member(1, 34);
    e.member(2, 56);
    e.member(3, 7);
    e.buttons(Disabled, Disabled);
    EXPECT_TRUE(samePicture(c.m_hWnd, e));
}

TEST_F(TimeCodePaint, FrameStepInvalidatesOnlyChangedMembers) {
    init(1, 1, 0);
    c.fnSetFrameRate(29.97);
    c.fnSetIndex(c.TimeCodeToIndex(0, 0, 10, 5), 29.97, 1);
    c.m_nCurrent = 3;
    ValidateRect(c.m_hWnd, nullptr);
    c.fnStepChange(1);
    EXPECT_TRUE(updateIs({3}));

    c.fnSetIndex(c.TimeCodeToIndex(0, 0, 10, 29), 0.0, 1);
    ValidateRect(c.m_hWnd, nullptr);
    c.fnStepChange(1);
    EXPECT_TRUE(c.shows(0, 0, 11, 0));
    EXPECT_TRUE(updateIs({2, 3}));

    // Into a dropping minute: 00:00:59:29 -> 00:01:00:02; the hours stay valid.
    c.fnSetIndex(c.TimeCodeToIndex(0, 0, 59, 29), 0.0, 1);
    ValidateRect(c.m_hWnd, nullptr);
    c.fnStepChange(1);
    EXPECT_TRUE(c.shows(0, 1, 0, 2));
    EXPECT_TRUE(updateIs({1, 2, 3}));

    // A host index without refresh repaints nothing, and the next refresh repaints every member.
    ValidateRect(c.m_hWnd, nullptr);
    c.fnSetIndex(c.TimeCodeToIndex(0, 1, 0, 3), 0.0, 0);
    RECT r;
    EXPECT_FALSE(GetUpdateRect(c.m_hWnd, &r, FALSE));
    c.fnSetIndex(c.TimeCodeToIndex(0, 1, 0, 4), 0.0, 1);
    EXPECT_TRUE(updateIs({0, 1, 2, 3}));
}

TEST_F(TimeCodePaint, ClicksChooseMembersByTheMidpoints) {
    init(1, 1, 0);
    c.fnSetIndex(0, 25.0, 1);
    // Cell left edges with the offset: 11 | 27 -> 19, 35 | 51 -> 43, 59 | 72 -> 65.
    const struct {
        int x, member;
    } cases[] = {{18, 0}, {19, 1}, {42, 1}, {43, 2}, {64, 2}, {65, 3}, {4, 0}, {86, 3}};
    for (const auto& k : cases) {
        click(WM_LBUTTONDOWN, k.x, 10);
        click(WM_LBUTTONUP, k.x, 10);
        EXPECT_EQ(k.member, c.m_nCurrent) << "x " << k.x;
    }
    EXPECT_EQ(c.m_hWnd, GetFocus());
    EXPECT_EQ(nullptr, GetCapture());
    // Only the focus gain was reported; a click on the current member changes nothing.
    EXPECT_EQ(std::vector<UINT>{EN_SETFOCUS}, host.codes());
    // Leaving a half-typed member by mouse reports the change.
    pressKey(c.m_hWnd, '4');
    host.clear();
    click(WM_LBUTTONDOWN, 70, 10);
    EXPECT_EQ(3, c.m_nCurrent);
    click(WM_LBUTTONDOWN, 30, 10);
    EXPECT_EQ(1, c.m_nCurrent);
    EXPECT_EQ(std::vector<UINT>{EN_CHANGE}, host.codes());
    EXPECT_EQ(4, c.m_nMember[3]);
    SetFocus(host.parent());
}

TEST_F(TimeCodePaint, SpinButtonsStepWithCaptureAndRepeat) {
    init(1, 1, 0);
    c.fnSetIndex(c.TimeCodeToIndex(0, 0, 0, 10), 25.0, 1);
    // Unfocused: the first press only takes the focus (and the mouse).
    click(WM_LBUTTONDOWN, 95, 3);
    EXPECT_EQ(c.m_hWnd, GetFocus());
    EXPECT_EQ(c.m_hWnd, GetCapture());
    EXPECT_EQ(10, c.m_nMember[3]);
    EXPECT_EQ(std::vector<UINT>{EN_SETFOCUS}, host.codes());
    click(WM_LBUTTONUP, 95, 3);
    EXPECT_EQ((std::vector<UINT>{EN_SETFOCUS, EN_CHANGE}), host.codes());

    // Focused, frames current: a press steps at once and the timer repeats while it is held.
    pressKey(c.m_hWnd, VK_END);
    host.clear();
    click(WM_LBUTTONDOWN, 95, 3);
    EXPECT_EQ(11, c.m_nMember[3]);
    for (int t = 1; t <= 10; ++t) SendMessageW(c.m_hWnd, WM_TIMER, kTimer, 0);
    EXPECT_EQ(11 + 4, c.m_nMember[3]);   // ticks 4, 8, 9 and 10
    // Moving onto the down button turns the spin round.
    SendMessageW(c.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(95, 15));
    EXPECT_EQ(0, c.m_bUpButton);
    SendMessageW(c.m_hWnd, WM_TIMER, kTimer, 0);
    EXPECT_EQ(14, c.m_nMember[3]);
    EXPECT_TRUE(host.notes().empty());
    click(WM_LBUTTONUP, 95, 15);
    EXPECT_EQ(std::vector<UINT>{EN_CHANGE}, host.codes());
    EXPECT_EQ(0, c.m_nSpinCount);
    EXPECT_EQ(nullptr, GetCapture());

    // Cancel mode during a press ends it with a change notification.
    host.clear();
    click(WM_LBUTTONDOWN, 95, 15);
    EXPECT_EQ(13, c.m_nMember[3]);
    SendMessageW(c.m_hWnd, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(0, c.m_nSpinCount);
    EXPECT_EQ(std::vector<UINT>{EN_CHANGE}, host.codes());
    SetFocus(host.parent());
}

TEST_F(TimeCodePaint, SizesOfTheFourVariantsArePinned) {
    const struct {
        int adjustable, compact, w, h, offX, offY;
    } variants[] = {{1, 0, 105, 21, 3, 4}, {0, 0, 90, 21, 3, 4}, {1, 1, 85, 16, 0, 1}, {0, 1, 78, 16, 0, 1}};
    for (const auto& v : variants) {
        SCOPED_TRACE(v.w);
        TimeCodeProbe p;
        ASSERT_TRUE(host.createControl(p));
        ASSERT_EQ(1, p.fnInit(1, v.adjustable, v.compact));
        RECT r;
        GetClientRect(p.m_hWnd, &r);
        EXPECT_EQ(v.w, r.right);
        EXPECT_EQ(v.h, r.bottom);
        int x = 0, y = 0;
        p.fnGetlayoutOffset(&x, &y);
        EXPECT_EQ(v.offX, x);
        EXPECT_EQ(v.offY, y);
        SetWindowPos(p.m_hWnd, nullptr, 0, 0, 200, 50, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(p.m_hWnd, &r);
        EXPECT_EQ(v.w, r.right);
        EXPECT_EQ(v.h, r.bottom);
        // A second fnInit succeeds at once and changes nothing.
        EXPECT_EQ(1, p.fnInit(1, !v.adjustable, !v.compact));
        GetClientRect(p.m_hWnd, &r);
        EXPECT_EQ(v.w, r.right);
    }
}

TEST_F(TimeCodePaint, LayoutPositionsAndTheConnectingLine) {
    init(1, 1, 0);
    EXPECT_EQ(CRect(91, 1, 13, 9), c.fnGetElemLayoutPos(UTMTG_CELL_UP));
    EXPECT_EQ(CRect(91, 11, 13, 9), c.fnGetElemLayoutPos(UTMTG_CELL_DOWN));
    CRect paint;
    c.fnCalcPaintRect(paint);
    EXPECT_EQ(CRect(0, 0, 84, 14), paint);
    RECT frames;
    c.fnGetMemberRect(3, &frames);
    EXPECT_EQ(CRect(72, 4, 86, 17), CRect(frames));

    testutil::Canvas target(40, 30, RGB(255, 0, 255));
    CDC dc;
    dc.Attach(target.dc());
    c.fnPaintConnectLineToDC(dc, 0);
    dc.Detach();
    HBITMAP digits = loadSkin(L"Digits.png");
    int bad = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 8; ++x) {
            DWORD want = testutil::dibPixel(digits, 105 + x, y) & 0xFFFFFF;
            COLORREF got = target.at(3 + x, 4 + y);
            bad += RGB((want >> 16) & 0xFF, (want >> 8) & 0xFF, want & 0xFF) != got;
        }
    EXPECT_EQ(0, bad);
    EXPECT_EQ(RGB(255, 0, 255), target.at(2, 4));
    EXPECT_EQ(RGB(255, 0, 255), target.at(11, 4));
    DeleteObject(digits);
    EXPECT_EQ(nullptr, c.fnGetSymbolSource());   // closed again
}

TEST(TimeCodeInit, FailuresLeaveEveryRectangleEmpty) {
    auto allEmpty = [](TimeCodeProbe& p) {
        for (int cell = 0; cell < 14; ++cell)
            if (!p.fnGetElemLayoutPos(cell).IsRectNull()) return false;
        RECT r;
        p.fnGetMemberRect(1, &r);
        CRect paint;
        p.fnCalcPaintRect(paint);
        return IsRectEmpty(&r) && p.fnGetRCSymbol(UTMTG_SYMBOL_7, UTMTG_CELL_MINUTE_ONES).IsRectNull() &&
               paint == CRect(0, 0, 1, 1);
    };
    {
        // No window yet.
        TimeCodeProbe p;
        EXPECT_EQ(0, p.fnInit(1, 1, 0));
        EXPECT_EQ(0, p.m_bInit);
        EXPECT_TRUE(allEmpty(p));
    }
    TimeCodeHost host;
    {
        // The digit image is missing.
        std::wstring saved = gfnGetProgramBitmapPath();
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        std::wstring empty = std::wstring(tmp) + L"tc_empty_skins\\";
        CreateDirectoryW(empty.c_str(), nullptr);
        gfnChangeProgramBitmapPath(empty.c_str());
        TimeCodeProbe p;
        ASSERT_TRUE(host.createControl(p));
        EXPECT_EQ(0, p.fnInit(1, 1, 0));
        gfnChangeProgramBitmapPath(saved.c_str());
        EXPECT_EQ(0, p.m_bInit);
        EXPECT_TRUE(allEmpty(p));
        // Painting an uninitialised control draws no digits and does not fail.
        RedrawWindow(p.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        // Now the image is there again, a retry succeeds.
        EXPECT_EQ(1, p.fnInit(1, 1, 0));
    }
    {
        // After fnUnInit (or WM_DESTROY) the layout is gone for good.
        TimeCodeProbe p;
        ASSERT_TRUE(host.createControl(p));
        ASSERT_EQ(1, p.fnInit(1, 1, 0));
        EXPECT_EQ(1, p.fnUnInit());
        EXPECT_EQ(nullptr, p.m_pLayout);
        EXPECT_EQ(0, p.fnInit(1, 1, 0));
        EXPECT_TRUE(allEmpty(p));
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(0, p.fnOpenBackgroundSource(screen));
        ReleaseDC(nullptr, screen);
    }
}

TEST(TimeCodeInit, DestroyingAFocusedControlLeavesNoHookBehind) {
    TimeCodeHost host;
    auto* p = new TimeCodeProbe;
    ASSERT_TRUE(host.createControl(*p));
    ASSERT_EQ(1, p->fnInit(1, 1, 0));
    SetFocus(p->m_hWnd);
    delete p;   // destroys the window while it has the focus
    // With a hook left behind, a click on the sibling would take the focus from the parent.
    SetFocus(host.parent());
    HWND before = GetFocus();
    ASSERT_EQ(host.parent(), before);
    RECT r;
    GetWindowRect(host.sibling(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    testutil::pumpMessages(200);
    EXPECT_EQ(before, GetFocus());
}
