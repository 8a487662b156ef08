// Every skinned control, its skin broken in each way, initialises with 0 or paints its fallback,
// takes input without crashing and leaves no GDI object behind; the tooltip's looks survive its
// settings file broken alike.
#include "hostile.h"
#include "qButtonEx.h"
#include "qScrollBarEx.h"
#include "qTimeCode.h"
#include "qToolTipDVDUser.h"
#include "qModule.h"
#include "testutil.h"
#include <cstring>

using namespace hostile;

namespace {
const RECT kButton = {200, 20, 290, 52}, kVBar = {320, 10, 337, 210}, kHBar = {20, 180, 300, 197};

void pointerMessages(HWND w, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageW(w, WM_MOUSEMOVE, 0, at);
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 3, y + 40));
    SendMessageW(w, WM_LBUTTONUP, 0, at);
    SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(w, WM_LBUTTONUP, 0, at);
}

// The timecode control: with its digits broken fnInit says 0; painting and typing do no harm.
void timecode(Kind kind, int adjustable, int compact) {
    CTimeCodeCtrl tc;
    HWND w = CreateWindowExW(0, L"TimeCodeControl", L"", WS_CHILD | WS_VISIBLE, 10, 10, 40, 10, host(), (HMENU)31,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, w);
    ASSERT_TRUE(tc.SubclassWindow(w));
    EXPECT_EQ(!undecodable(kind), tc.fnInit(1, adjustable, compact) != 0);
    tc.fnSetIndex(90125, 29.97, 1);
    repaint();
    SetFocus(w);
    for (WPARAM ch : {L'1', L'2', L'9'}) SendMessageW(w, WM_CHAR, ch, 1);
    SendMessageW(w, WM_KEYDOWN, VK_UP, 1);
    pointerMessages(w, 95, 4);
    tc.EnableWindow(FALSE);
    repaint();
    SetFocus(host());
    tc.DestroyWindow();
}

// The button: whatever its images, the parent's background and the caption are painted.
void button(Kind kind) {
    CqButtonEx b;
    ASSERT_TRUE(b.Create(L"Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, kButton, CWnd::FromHandle(host()), 41));
    repaint();   // the default image is tried here
    const wchar_t* file = L"qDVDUser\\CqButtonEx\\Button.png";
    EXPECT_EQ(0, b.fnSetDefaultImage(file, nullptr));   // one pixel is too low for four cells too
    EXPECT_EQ(!undecodable(kind), b.fnSetMainBitmapFile(file, file, 0, 0, 1, 1, 0, 0) != 0);
    if (undecodable(kind)) {
        EXPECT_EQ(0, b.fnSetWndRgnByMainBitmap());
        repaint();
        const POINT corners[] = {{1, 1}, {kButton.right - kButton.left - 2, kButton.bottom - kButton.top - 2}};
        for (POINT p : corners)
            EXPECT_EQ(hostPattern(kButton.left + p.x, kButton.top + p.y), screenPixel(b, p.x, p.y)) << p.x << "," << p.y;
    }
    b.fnSetRealSize();
    EXPECT_EQ(!undecodable(kind), b.fnSetBackgroundBitmapFile(file, 0, 0, 0, 0) != 0);
    b.fnMoveWindow(kButton.left, kButton.top);
    pointerMessages(b, 5, 5);
    b.SetCheck(BST_CHECKED);
    b.EnableWindow(FALSE);
    repaint();
    b.DestroyWindow();
}

// The scroll bar: broken pieces are left out; the bar still scrolls within its range.
void scrollBar(Kind kind, bool vertical) {
    CqScrollBarEx bar;
    const RECT r = vertical ? kVBar : kHBar;
    ASSERT_EQ(1, bar.fnCreate(vertical ? 1 : 0, r, CWnd::FromHandle(host()), 51));
    bar.fnSetScrollInfo(0, 99, 40, 3, 10, TRUE);
    repaint();
    if (undecodable(kind)) {   // nothing of the skin: the parent's picture shows through
        const int x = (r.right - r.left) / 2, y = (r.bottom - r.top) / 3;
        EXPECT_EQ(hostPattern(r.left + x, r.top + y), screenPixel(bar, x, y));
    }
    pointerMessages(bar, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
    pointerMessages(bar, 1, 1);
    SendMessageW(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(-WHEEL_DELTA * 3)), 0);
    SendMessageW(bar, WM_KEYDOWN, VK_END, 1);
    testutil::pumpMessages(50);
    EXPECT_TRUE(bar.fnGetScrollPos() >= 0 && bar.fnGetScrollPos() <= bar.fnGetScrollLimit());
    bar.fnSetRealSize(vertical ? 1 : 0);
    bar.fnSetScrollInfo(0, 5, 2, 1, 100, TRUE);   // a page wider than the range
    repaint();
    bar.DestroyWindow();
}

// The tooltip: settings that cannot be read leave the string table's looks; endless numbers are cut
// at the lookup's buffer.
void tooltip(Kind kind, const tagCQTOOLTIP_LOOKS& plain) {
    CqToolTipDVDUser tip;
    const tagCQTOOLTIP_LOOKS looks = *tip.fnGetLooksData();
    EXPECT_TRUE(kind == Kind::HugePng || std::memcmp(&plain, &looks, sizeof looks) == 0);
    EXPECT_EQ(1, tip.fnCreate(CWnd::FromHandle(host())));
    EXPECT_EQ(1, tip.fnAddTool(host(), 7u, CRect(5, 5, 60, 30)));
    tip.DestroyWindow();
}
}  // namespace

TEST(HostileControls, EveryControlRefusesOrFallsBackAndLeaksNothing) {
    host();
    const tagCQTOOLTIP_LOOKS plain = [] {   // with no settings file
        Skin none(Kind::MissingFolder);
        return *CqToolTipDVDUser().fnGetLooksData();
    }();
    auto round = [&] {
        for (Kind kind : allKinds()) {
            SCOPED_TRACE(name(kind));
            Skin skin(kind);
            Watchdog dog(name(kind), 120000);
            timecode(kind, 1, 0), timecode(kind, 0, 1);
            button(kind);
            scrollBar(kind, true), scrollBar(kind, false);
            tooltip(kind, plain);
        }
    };
    EXPECT_EQ(0, testutil::gdiLeakOver(1, round));
}
