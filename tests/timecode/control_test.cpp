// The control on real windows: painting read back from the screen and compared with the sprite
// sheets, update regions, the mouse on members and buttons, typing, navigation, spinning and its
// timer, focus, the mouse hook, Enter, and the notifications the parent receives for each.
#include "tcprobe.h"
#include "qDraw.h"
#include "testutil.h"
#include <commctrl.h>
#include <functional>
#include <vector>

namespace {
const UINT kTimer = 10;
const int kId = 1234;
using Codes = std::vector<UINT>;

// Dispatches what is queued for this thread between first and last, without waiting.
void drainQueue(UINT first = 0, UINT last = 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, first, last, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The codes of the WM_COMMAND and WM_NOTIFY the parent received; `stray` counts those that did not
// name the control as their sender (window, id, and idFrom).
Codes notes;
int stray = 0;
LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto bad = [&](HWND from, UINT_PTR id) { return !IsChild(hwnd, from) || GetDlgCtrlID(from) != kId || id != kId; };
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lp);
    if (msg == WM_COMMAND) notes.push_back(HIWORD(wp)), stray += bad((HWND)lp, LOWORD(wp));
    else if (msg == WM_NOTIFY) notes.push_back(hdr->code), stray += bad(hdr->hwndFrom, wp) || hdr->idFrom != kId;
    else return DefWindowProcW(hwnd, msg, wp, lp);
    return 0;
}

// Keys through the queue, as a keyboard delivers them: WM_KEYDOWN (TranslateMessage adds the
// WM_CHAR) or WM_KEYUP, dispatched at once. Only keyboard messages are taken from the queue, so a
// blink timer does not tick in between.
void keyDown(HWND target, UINT vk, bool repeat = false, bool up = false) {
    LPARAM lp = 1 | (MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16);
    if (vk >= VK_PRIOR && vk <= VK_DOWN) lp |= 1 << 24;   // extended keys
    if (repeat || up) lp |= 1 << 30;
    if (up) lp |= (LPARAM)1 << 31;
    PostMessageW(target, up ? WM_KEYUP : WM_KEYDOWN, vk, lp);
    drainQueue(WM_KEYFIRST, WM_KEYLAST);
}
void keyUp(HWND target, UINT vk) { keyDown(target, vk, false, true); }
void pressKey(HWND target, UINT vk) { keyDown(target, vk), keyUp(target, vk); }

// A real left click (SendInput) at a client point of the window, its centre when x is negative.
bool clickAt(HWND window, int x = -1, int y = -1) {
    RECT r;
    GetClientRect(window, &r);
    POINT p = {x < 0 ? r.right / 2 : x, y < 0 ? r.bottom / 2 : y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, in, sizeof(INPUT)) == 2;
}

// A skin image of the control, loaded from the library's bitmap path.
HBITMAP loadSkin(const wchar_t* file) {
    return gfnLoadBitmap((std::wstring(gfnGetProgramBitmapPath()) + L"qDVDUser\\TimecodeCtrl\\").c_str(), file);
}

// Every period the library gives its timers, read through its import of SetTimer.
std::vector<UINT> periods;
decltype(&SetTimer) realSetTimer;
UINT_PTR WINAPI recordSetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc) {
    if (id == kTimer) periods.push_back(ms);
    return realSetTimer(hwnd, id, ms, proc);
}

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
    DeleteObject(digits), DeleteObject(band);
    if (redraw) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    else UpdateWindow(control);   // only what is invalid
    HDC dc = GetDC(control);
    BitBlt(got.dc(), 0, 0, k.w, k.h, dc, 0, 0, SRCCOPY);
    ReleaseDC(control, dc);
    return testutil::pixelsAre(got, [&](int x, int y) { return want.at(x, y); });
}

// A visible top-level parent at (100, 100), 260 x 120, with a static sibling that never takes focus;
// the controls are "TimeCodeControl" windows at (10, 10) subclassed by TimeCodeProbes. One parent
// serves every test: hiding or destroying a top-level window costs Wine's X11 driver two seconds.
class TimeCode : public ::testing::Test {
protected:
    void SetUp() override {
        static HWND p = nullptr, s = nullptr;
        if (!p) {
            WNDCLASSW wc = {0, hostProc, 0, 0, GetModuleHandleW(nullptr), nullptr, LoadCursorW(nullptr, IDC_ARROW),
                            (HBRUSH)GetStockObject(WHITE_BRUSH), nullptr, L"TimeCodeTestHost"};
            RegisterClassW(&wc);
            p = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100,
                                100, 260, 120, nullptr, nullptr, wc.hInstance, nullptr);
            s = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 80, 100, 30, p, nullptr, wc.hInstance, nullptr);
        }
        parent = p, sibling = s;
        SetForegroundWindow(parent);
        SetFocus(parent);
        UpdateWindow(parent);
        drainQueue();
        notes.clear();
        if (!realSetTimer)
            realSetTimer = (decltype(&SetTimer))testutil::hookImport(L"qTrimUI.dll", "user32.dll", "SetTimer",
                                                                    (void*)recordSetTimer);
        ASSERT_TRUE(realSetTimer);
        periods.clear();
    }
    bool createControl(TimeCodeProbe& probe) {
        HWND hwnd = CreateWindowExW(0, L"TimeCodeControl", L"", WS_CHILD | WS_VISIBLE, 10, 10, 40, 10, parent,
                                    (HMENU)(INT_PTR)kId, GetModuleHandleW(nullptr), nullptr);
        return hwnd && probe.SubclassWindow(hwnd);
    }
    void TearDown() override { EXPECT_EQ(0, stray), stray = 0; }
    // At 25 frames a second, so that TimeCodeToIndex below counts like the index given to the control.
    void init(int h = 0, int m = 0, int s = 0, int f = 0) {
        c.fnSetFrameRate(25.0);
        ASSERT_TRUE(createControl(c));
        ASSERT_EQ(1, c.fnInit(1, 1, 0));
        c.fnSetIndex(c.TimeCodeToIndex(h, m, s, f), 25.0, 1);
        notes.clear();
    }
    // Focus on the control with the given member current; the notifications so far are dropped.
    void focusOn(int member) {
        SetFocus(c.m_hWnd);
        pressKey(c.m_hWnd, VK_HOME);
        for (int i = 0; i < member; ++i) pressKey(c.m_hWnd, VK_RIGHT);
        ASSERT_TRUE(GetFocus() == c.m_hWnd && c.m_nCurrent == member);
        notes.clear();
    }
    void type(std::initializer_list<UINT> keys) {
        for (UINT vk : keys) pressKey(c.m_hWnd, vk);
    }
    void tick() { SendMessageW(c.m_hWnd, WM_TIMER, kTimer, 0); }
    void click(UINT msg, int x, int y) { SendMessageW(c.m_hWnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y)); }
    // Clicks the sibling for real: focus goes to the parent when the hook is there.
    bool clickElsewhereMovesFocus() {
        HWND before = GetFocus();
        EXPECT_TRUE(clickAt(sibling));
        for (int i = 0; i < 30 && GetFocus() == before; ++i) testutil::pumpMessages(10);
        return GetFocus() != before;
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

    HWND parent = nullptr, sibling = nullptr;
    TimeCodeProbe c;
};
}  // namespace

// Hours drop their leading zero unless asked for it or focused and current; a half-typed member
// shows its one digit in the ones cell; the blink's dark phase leaves the current member out. The
// buttons show hover, pressed and disabled states.
TEST_F(TimeCode, DigitsAndButtonsOverTheBand) {
    init(0, 1, 2, 3);
    auto move = [&](int y) { SendMessageW(c.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(95, y)); };
    auto focusHours = [&] {   // focused, the blink held still
        SetFocus(c.m_hWnd), pressKey(c.m_hWnd, VK_HOME), KillTimer(c.m_hWnd, kTimer);
    };
    const struct { std::function<void()> then; const char* cells; Button up, down; } states[] = {
        {[&] { move(3); }, " 0010203", Hover, Normal},
        {[&] { move(15); }, " 0010203", Normal, Hover},
        {[&] { SendMessageW(c.m_hWnd, WM_MOUSELEAVE, 0, 0); }, " 0010203", Normal, Normal},
        {[&] { click(WM_LBUTTONDOWN, 95, 15); }, "00010203", Normal, Pressed},   // with the focus, hours current
        {[&] { click(WM_LBUTTONUP, 95, 15), SetFocus(parent), c.fnSetAdjustable(0); }, " 0010203", Disabled, Disabled},
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
    SetFocus(parent);
}

// Each variant paints its two bands (a fixed compact one still shows the edge of its disabled
// buttons) and keeps its size whatever the host asks; a second fnInit succeeds at once and changes
// nothing. Making, painting and ending controls, by fnUnInit or with their window, leaks nothing.
TEST_F(TimeCode, EachVariantPaintsItsBandsKeepsItsSizeAndLeaksNothing) {
    const struct { int adjustable, compact; const Skin& skin; Button buttons; } variants[] = {
        {1, 0, kStandard, Normal}, {0, 0, kStandardFixed, Disabled}, {1, 1, kCompact, Normal}, {0, 1, kCompactFixed, Disabled}};
    EXPECT_EQ(0, testutil::gdiLeakOver(2, [&] {
        for (const auto& v : variants) {
            SCOPED_TRACE(v.skin.band);
            TimeCodeProbe p;
            ASSERT_TRUE(createControl(p));
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
TEST_F(TimeCode, StepsAndPlaybackPaintOnlyWhatChangedAndStayWhole) {
    init();
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
TEST_F(TimeCode, MouseOnMembersAndSpinButtons) {
    init(0, 0, 0, 10);
    // Unfocused: the first press on a button only takes the focus (and the mouse).
    click(WM_LBUTTONDOWN, 95, 3);
    EXPECT_TRUE(c.m_hWnd == GetFocus() && c.m_hWnd == GetCapture() && std::string("00:00:00:10 @0") == c.text());
    click(WM_LBUTTONUP, 95, 3);
    EXPECT_EQ((Codes{EN_SETFOCUS, EN_CHANGE}), notes);
    notes.clear();
    // Cell left edges with the offset: 11 | 27 -> 19, 35 | 51 -> 43, 59 | 72 -> 65.
    const std::pair<int, int> cases[] = {{18, 0}, {19, 1}, {42, 1}, {43, 2}, {64, 2}, {65, 3}, {4, 0}, {86, 3}};
    for (auto [x, member] : cases) {
        click(WM_LBUTTONDOWN, x, 10);
        click(WM_LBUTTONUP, x, 10);
        EXPECT_EQ(member, c.m_nCurrent) << "x " << x;
    }
    EXPECT_TRUE(notes.empty() && !GetCapture());   // a click on the current member changes nothing
    // Leaving a half-typed member by mouse reports the change.
    pressKey(c.m_hWnd, '4');
    click(WM_LBUTTONDOWN, 30, 10);
    EXPECT_TRUE(std::string("00:00:00:04 @1") == c.text() && Codes{EN_CHANGE} == notes);

    // Focused, frames current: a press steps at once and the timer repeats while it is held.
    c.fnSetIndex(10, 0.0, 1);
    pressKey(c.m_hWnd, VK_END);
    notes.clear();
    click(WM_LBUTTONDOWN, 95, 3);
    EXPECT_EQ("00:00:00:11 @3", c.text());
    for (int t = 1; t <= 10; ++t) SendMessageW(c.m_hWnd, WM_TIMER, kTimer, 0);
    EXPECT_EQ("00:00:00:15 @3", c.text());   // ticks 4, 8, 9 and 10
    // Moving onto the down button turns the spin round.
    SendMessageW(c.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(95, 15));
    SendMessageW(c.m_hWnd, WM_TIMER, kTimer, 0);
    EXPECT_TRUE(std::string("00:00:00:14 @3") == c.text() && notes.empty());
    click(WM_LBUTTONUP, 95, 15);
    EXPECT_TRUE(Codes{EN_CHANGE} == notes && (c.m_nSpinCount == 0 && !GetCapture()));
    // Cancel mode during a press ends it with a change notification.
    notes.clear();
    click(WM_LBUTTONDOWN, 95, 15);
    EXPECT_EQ("00:00:00:13 @3", c.text());
    SendMessageW(c.m_hWnd, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE((c.m_nSpinCount == 0 && !GetCapture()) && Codes{EN_CHANGE} == notes);
    SetFocus(parent);
}

// fnInit before the window exists, with the digit image missing, or after fnUnInit fails and
// leaves every rectangle empty. The connecting line is the digit image's sprite beside the digits.
TEST_F(TimeCode, InitFailuresLeaveEveryRectangleEmpty) {
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
    ASSERT_TRUE(createControl(c));
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
    EXPECT_EQ(0, c.fnOpenBackgroundSource(target.dc()));
}

TEST_F(TimeCode, TypingAndNavigation) {
    init();
    // A member typed exactly at its maximum moves on; one typed above it is clamped and stays.
    focusOn(0);
    type({'9', '9', '5', '9'});
    EXPECT_EQ("99:59:00:00 @2", c.text());
    type({VK_LEFT});
    notes.clear();
    type({'7', '5'});   // one notification, after the second digit
    EXPECT_TRUE(std::string("99:59:00:00 @1") == c.text() && Codes{EN_CHANGE} == notes);
    notes.clear();
    type({'2', VK_NUMPAD0});   // keypad digits type too
    EXPECT_TRUE(std::string("99:20:00:00 @2") == c.text() && Codes{EN_CHANGE} == notes);
    // A first digit abandoned by navigation stands, with one change notification.
    type({VK_LEFT});
    notes.clear();
    type({'4', VK_RIGHT});
    EXPECT_TRUE(std::string("99:04:00:00 @2") == c.text() && 1 == c.m_bWaitFirst && Codes{EN_CHANGE} == notes);

    // Navigation; keys that change nothing pass on.
    notes.clear();
    const struct { UINT vk; int current, done; } steps[] = {{VK_END, 3, 1}, {VK_RIGHT, 0, 1}, {VK_LEFT, 3, 1},
                                                            {VK_LEFT, 2, 1}, {VK_HOME, 0, 1}, {VK_HOME, 0, 0}, {'A', 0, 0}};
    for (const auto& s : steps) {
        type({s.vk});
        EXPECT_TRUE(s.current == c.m_nCurrent && s.done == c.m_bKeyDone) << s.vk;
    }
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(0x81, SendMessageW(c.m_hWnd, WM_GETDLGCODE, 0, 0));   // arrows and characters are ours
    EXPECT_EQ(kId + 0x50000, SendMessageW(c.m_hWnd, WM_HELPHITTEST, 0, 0));

    // Frames at 29.97 clamp to 29; after them the hours come round. 00:01:00:00 does not exist at
    // 29.97: the frames become 02 at the end of the minutes' edit, and when navigation leaves it.
    c.fnSetIndex(0, 29.97, 1);
    focusOn(3);
    type({'3', '1'});
    EXPECT_EQ("00:00:00:29 @3", c.text());
    type({'1', '5'});
    EXPECT_EQ("00:00:00:15 @0", c.text());
    c.fnSetIndex(0, 29.97, 1);
    focusOn(1);
    type({'0', '1'});
    EXPECT_EQ("00:01:00:02 @2", c.text());
    c.setMembers(0, 3, 0, 0);
    type({VK_RIGHT});
    EXPECT_EQ("00:03:00:02 @3", c.text());
}

// Held arrow: a step at the press, on ticks 4, 8 and 9, then on every tick; the notification
// comes at the press and when the key of the spin's direction goes up. Automatic repeats of the
// key itself are ignored.
TEST_F(TimeCode, SpinningByKeyFollowsTheTimerSchedule) {
    init();
    c.fnSetIndex(c.TimeCodeToIndex(0, 0, 10, 0), 25.0, 1);
    focusOn(2);
    keyDown(c.m_hWnd, VK_UP);
    keyDown(c.m_hWnd, VK_UP, true);
    keyDown(c.m_hWnd, '5', true);
    EXPECT_TRUE(std::string("00:00:11:00 @2") == c.text() && Codes{EN_CHANGE} == notes);
    std::vector<int> stepsAt;
    for (int t = 1, last = c.m_nMember[2]; t <= 14; ++t, last = c.m_nMember[2])
        if (tick(), c.m_nMember[2] != last) stepsAt.push_back(t);
    EXPECT_EQ((std::vector<int>{4, 8, 9, 10, 11, 12, 13, 14}), stepsAt);
    // Blinking from the focus, fast repeat from tick 9, which shows the member.
    EXPECT_TRUE((std::vector<UINT>{250, 100}) == periods && 1 == c.m_bFlashOn);
    // The other arrow's release does not end the spin: the next tick still steps.
    notes.clear();
    keyUp(c.m_hWnd, VK_DOWN);
    tick();
    EXPECT_TRUE(std::string("00:00:20:00 @2") == c.text() && notes.empty());
    keyUp(c.m_hWnd, VK_UP);
    EXPECT_TRUE(Codes{EN_CHANGE} == notes && (std::vector<UINT>{250, 100, 250}) == periods);
    // Back to blinking: a tick toggles the flash and steps no more.
    const int flash = c.m_bFlashOn;
    tick();
    EXPECT_TRUE(std::string("00:00:20:00 @2") == c.text() && flash != c.m_bFlashOn);
}

TEST_F(TimeCode, FocusNotificationsEnterAndTheMouseHook) {
    init();
    SetFocus(c.m_hWnd);
    EXPECT_TRUE(Codes{EN_SETFOCUS} == notes && 1 == c.m_bFlashOn);
    tick();   // the timer blinks the current member while focused; focus loss shows it again
    EXPECT_EQ(0, c.m_bFlashOn);
    notes.clear();
    SetFocus(parent);
    EXPECT_TRUE(1 == c.m_bFlashOn && (Codes{EN_CHANGE, EN_KILLFOCUS}) == notes);
    EXPECT_FALSE(KillTimer(c.m_hWnd, kTimer));   // the timer went with the focus

    // After a step the change was already reported: focus loss sends only the kill-focus.
    focusOn(2);
    EXPECT_TRUE(KillTimer(c.m_hWnd, kTimer));   // armed by the focus gain
    pressKey(c.m_hWnd, VK_UP);
    notes.clear();
    SetFocus(parent);
    EXPECT_EQ(Codes{EN_KILLFOCUS}, notes);

    // Focus loss ends a half-typed member and corrects the drop-frame timecode.
    c.fnSetIndex(0, 29.97, 1);
    focusOn(1);
    type({'3'});
    SetFocus(parent);
    EXPECT_TRUE(1 == c.m_bWaitFirst && std::string("00:03:00:02 @1") == c.text());
    EXPECT_EQ((Codes{EN_CHANGE, EN_KILLFOCUS}), notes);

    // Enter: NM_RETURN from the control, then the focus goes to the parent with its own notes.
    focusOn(0);
    type({VK_RETURN});
    EXPECT_EQ((Codes{(UINT)NM_RETURN, EN_CHANGE, EN_KILLFOCUS}), notes);
    EXPECT_EQ(parent, GetFocus());

    // Real mouse input: a click outside the focused control reaches the thread hook, which hands
    // the focus to the parent even when the clicked window never takes it; a click on the control
    // keeps it. The hook goes with the focus and with a focused control's window.
    focusOn(1);
    EXPECT_TRUE(clickElsewhereMovesFocus() && parent == GetFocus());
    EXPECT_EQ((Codes{EN_CHANGE, EN_KILLFOCUS}), notes);
    focusOn(1);
    ASSERT_TRUE(clickAt(c.m_hWnd, 30, 10));
    testutil::pumpMessages(200);
    EXPECT_TRUE(c.m_hWnd == GetFocus() && 1 == c.m_nCurrent);   // x 30 lies in the minutes

    // A fixed control only displays: keys, focus and clicks leave it and its parent alone, and it
    // has no hook of its own.
    TimeCodeProbe fixed;
    ASSERT_TRUE(createControl(fixed));
    ASSERT_EQ(1, fixed.fnInit(1, 0, 0));
    fixed.fnSetIndex(fixed.TimeCodeToIndex(1, 2, 3, 4), 0.0, 1);
    for (bool destroy : {false, true}) {
        if (destroy) SetFocus(c.m_hWnd), c.DestroyWindow();
        SetFocus(fixed.m_hWnd);
        notes.clear();
        EXPECT_FALSE(clickElsewhereMovesFocus()) << destroy;
    }
    for (UINT vk : {(UINT)'5', (UINT)'7', (UINT)VK_UP, (UINT)VK_RIGHT, (UINT)VK_END, (UINT)VK_RETURN}) pressKey(fixed.m_hWnd, vk);
    SendMessageW(fixed.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
    SendMessageW(fixed.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
    EXPECT_TRUE(std::string("01:02:03:04 @0") == fixed.text() && fixed.m_hWnd == GetFocus());
    EXPECT_FALSE(KillTimer(fixed.m_hWnd, kTimer));
    SetFocus(parent);
    EXPECT_TRUE(notes.empty());
}
