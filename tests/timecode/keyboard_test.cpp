// The control on real windows: typing, navigation, spinning and its timer, focus, the mouse hook,
// Enter, and the notifications the parent receives for each.
#include <gtest/gtest.h>
#include "tcprobe.h"
#include "testutil.h"
#include <commctrl.h>

namespace {
const UINT kTimer = 10;

class TimeCodeKeys : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.createControl(c));
        ASSERT_EQ(1, c.fnInit(1, 1, 0));
        c.fnSetIndex(0, 25.0, 1);
        host.clear();
    }
    // Focus on the control with the given member current; the notifications so far are dropped.
    void focusOn(int member) {
        SetFocus(c.m_hWnd);
        pressKey(c.m_hWnd, VK_HOME);
        for (int i = 0; i < member; ++i) pressKey(c.m_hWnd, VK_RIGHT);
        ASSERT_EQ(c.m_hWnd, GetFocus());
        ASSERT_EQ(member, c.m_nCurrent);
        host.clear();
    }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) SendMessageW(c.m_hWnd, WM_TIMER, kTimer, 0);
    }
    int changes() {
        int n = 0;
        for (UINT code : host.codes()) n += code == EN_CHANGE;
        return n;
    }

    TimeCodeHost host;
    TimeCodeProbe c;
};
}  // namespace

TEST_F(TimeCodeKeys, TypingClampsOrMovesOn) {
    focusOn(1);
    pressKey(c.m_hWnd, '7');
    EXPECT_EQ(0, c.m_bWaitFirst);
    EXPECT_EQ(7, c.m_nFirstDigit);
    EXPECT_TRUE(host.notes().empty());   // nothing until the second digit
    pressKey(c.m_hWnd, '5');
    EXPECT_EQ(59, c.m_nMember[1]);
    EXPECT_EQ(1, c.m_nCurrent);   // clamped: stays
    EXPECT_EQ(std::vector<UINT>{EN_CHANGE}, host.codes());
    EXPECT_EQ((UINT)TimeCodeHost::kId, host.notes()[0].id);
    EXPECT_EQ(c.m_hWnd, host.notes()[0].from);

    host.clear();
    pressKey(c.m_hWnd, '2');
    pressKey(c.m_hWnd, VK_NUMPAD5);   // keypad digits type too
    EXPECT_EQ(25, c.m_nMember[1]);
    EXPECT_EQ(2, c.m_nCurrent);
    EXPECT_EQ(std::vector<UINT>{EN_CHANGE}, host.codes());

    // A first digit abandoned by navigation stands, with one change notification.
    pressKey(c.m_hWnd, VK_LEFT);
    host.clear();
    pressKey(c.m_hWnd, '4');
    pressKey(c.m_hWnd, VK_RIGHT);
    EXPECT_EQ(4, c.m_nMember[1]);
    EXPECT_EQ(2, c.m_nCurrent);
    EXPECT_EQ(1, c.m_bWaitFirst);
    EXPECT_EQ(std::vector<UINT>{EN_CHANGE}, host.codes());
    EXPECT_EQ(c.TimeCodeToIndex(0, 4, 0, 0), c.fnGetIndex());
}

TEST_F(TimeCodeKeys, FramesAtDropFrameAndTheCorrectionAfterMinutes) {
    c.fnSetIndex(0, 29.97, 1);
    focusOn(3);
    pressKey(c.m_hWnd, '3');
    pressKey(c.m_hWnd, '1');
    EXPECT_EQ(29, c.m_nMember[3]);
    EXPECT_EQ(3, c.m_nCurrent);
    pressKey(c.m_hWnd, '1');
    pressKey(c.m_hWnd, '5');
    EXPECT_EQ(15, c.m_nMember[3]);
    EXPECT_EQ(0, c.m_nCurrent);   // frames wrap to hours

    c.fnSetIndex(0, 29.97, 1);
    focusOn(1);
    pressKey(c.m_hWnd, '0');
    pressKey(c.m_hWnd, '1');
    // 00:01:00:00 does not exist at 29.97: the frames become 02 at the end of the edit.
    EXPECT_TRUE(c.shows(0, 1, 0, 2));
    EXPECT_EQ(1800, c.fnGetIndex());
    EXPECT_EQ(2, c.m_nCurrent);
}

TEST_F(TimeCodeKeys, NavigationKeys) {
    focusOn(0);
    pressKey(c.m_hWnd, VK_END);
    EXPECT_EQ(3, c.m_nCurrent);
    EXPECT_EQ(1, c.m_bKeyDone);
    pressKey(c.m_hWnd, VK_RIGHT);
    EXPECT_EQ(0, c.m_nCurrent);
    pressKey(c.m_hWnd, VK_LEFT);
    EXPECT_EQ(3, c.m_nCurrent);
    pressKey(c.m_hWnd, VK_LEFT);
    EXPECT_EQ(2, c.m_nCurrent);
    pressKey(c.m_hWnd, VK_HOME);
    EXPECT_EQ(0, c.m_nCurrent);
    // A key that selects the current member is passed on, not consumed.
    pressKey(c.m_hWnd, VK_HOME);
    EXPECT_EQ(0, c.m_nCurrent);
    EXPECT_EQ(0, c.m_bKeyDone);
    pressKey(c.m_hWnd, 'A');
    EXPECT_EQ(0, c.m_bKeyDone);
    EXPECT_TRUE(host.notes().empty());
    // Navigation at 29.97 corrects an impossible timecode before moving.
    c.fnSetFrameRate(29.97);
    c.setMembers(0, 3, 0, 0);
    pressKey(c.m_hWnd, VK_RIGHT);
    EXPECT_EQ(2, c.m_nMember[3]);
}

TEST_F(TimeCodeKeys, AutomaticRepeatsAreIgnored) {
    focusOn(1);
    keyDown(c.m_hWnd, VK_UP);
    EXPECT_EQ(1, c.m_nMember[1]);
    keyDown(c.m_hWnd, VK_UP, true);
    keyDown(c.m_hWnd, VK_UP, true);
    EXPECT_EQ(1, c.m_nMember[1]);
    keyDown(c.m_hWnd, '5', true);
    EXPECT_EQ(1, c.m_bWaitFirst);
    keyUp(c.m_hWnd, VK_UP);
}

// Held arrow: a step at the press, on ticks 4, 8 and 9, then on every tick; the notification
// comes at the press and when the key of the spin's direction goes up.
TEST_F(TimeCodeKeys, SpinningByKeyFollowsTheTimerSchedule) {
    c.fnSetIndex(c.TimeCodeToIndex(0, 0, 10, 0), 25.0, 1);
    focusOn(2);
    keyDown(c.m_hWnd, VK_UP);
    EXPECT_EQ(11, c.m_nMember[2]);
    EXPECT_EQ(1, c.m_nSpinCount);
    EXPECT_EQ(std::vector<UINT>{EN_CHANGE}, host.codes());
    std::vector<int> stepsAt;
    int last = c.m_nMember[2];
    for (int t = 1; t <= 14; ++t) {
        tick();
        if (c.m_nMember[2] != last) stepsAt.push_back(t);
        last = c.m_nMember[2];
    }
    EXPECT_EQ((std::vector<int>{4, 8, 9, 10, 11, 12, 13, 14}), stepsAt);
    EXPECT_EQ(10, c.m_nSpinCount);
    EXPECT_EQ(1, c.m_bFlashOn);
    // The other arrow's release does not end the spin.
    host.clear();
    keyUp(c.m_hWnd, VK_DOWN);
    EXPECT_EQ(10, c.m_nSpinCount);
    EXPECT_TRUE(host.notes().empty());
    keyUp(c.m_hWnd, VK_UP);
    EXPECT_EQ(0, c.m_nSpinCount);
    EXPECT_EQ(std::vector<UINT>{EN_CHANGE}, host.codes());
    // Back to blinking: a tick toggles the flash and steps no more.
    int value = c.fnGetIndex();
    int flash = c.m_bFlashOn;
    tick();
    EXPECT_EQ(value, c.fnGetIndex());
    EXPECT_NE(flash, c.m_bFlashOn);

    // Down arrow on minutes at 00 of hour 1 borrows from the hour.
    c.fnSetIndex(c.TimeCodeToIndex(1, 0, 0, 0), 0.0, 1);
    pressKey(c.m_hWnd, VK_LEFT);
    pressKey(c.m_hWnd, VK_DOWN);
    EXPECT_TRUE(c.shows(0, 59, 0, 0));
    EXPECT_EQ(1, c.m_nCurrent);
}

// The same schedule on the real timer: fast repeat runs at 100 ms, and releasing the key puts the
// timer back to the 250 ms blink.
TEST_F(TimeCodeKeys, RealTimerRepeatsFastAfterTheNinthTick) {
    c.fnSetIndex(0, 100.0, 1);
    focusOn(3);
    keyDown(c.m_hWnd, VK_UP);
    tick(9);   // into fast repeat: the timer is re-armed at 100 ms
    int before = c.fnGetIndex();
    DWORD start = GetTickCount();
    testutil::pumpMessages(1500);
    DWORD elapsed = GetTickCount() - start;
    int steps = c.fnGetIndex() - before;
    ASSERT_GT(steps, 0);
    EXPECT_LT(elapsed / steps, 180u) << steps << " steps in " << elapsed << " ms";
    keyUp(c.m_hWnd, VK_UP);
    EXPECT_EQ(0, c.m_nSpinCount);
    // Blinking again: nothing steps, the flash toggles at a slower pace.
    int value = c.fnGetIndex();
    int toggles = 0, flash = c.m_bFlashOn;
    start = GetTickCount();
    while (GetTickCount() - start < 1100) {
        testutil::pumpMessages(20);
        if (c.m_bFlashOn != flash) ++toggles, flash = c.m_bFlashOn;
    }
    EXPECT_EQ(value, c.fnGetIndex());
    EXPECT_GE(toggles, 2);
    EXPECT_LE(toggles, 5);
}

TEST_F(TimeCodeKeys, FocusGainAndLossNotifyInOrder) {
    SetFocus(c.m_hWnd);
    EXPECT_EQ(std::vector<UINT>{EN_SETFOCUS}, host.codes());
    EXPECT_EQ(1, c.m_bHookMouse);
    host.clear();
    SetFocus(host.parent());
    EXPECT_EQ((std::vector<UINT>{EN_CHANGE, EN_KILLFOCUS}), host.codes());
    EXPECT_FALSE(KillTimer(c.m_hWnd, kTimer));   // the timer went with the focus

    // After a step the change was already reported: focus loss sends only the kill-focus.
    focusOn(2);
    keyDown(c.m_hWnd, VK_UP);
    keyUp(c.m_hWnd, VK_UP);
    host.clear();
    SetFocus(host.parent());
    EXPECT_EQ(std::vector<UINT>{EN_KILLFOCUS}, host.codes());
    EXPECT_EQ(0, c.m_bStepped);

    // Focus loss ends a half-typed member and corrects the drop-frame timecode.
    c.fnSetIndex(0, 29.97, 1);
    focusOn(1);
    pressKey(c.m_hWnd, '3');
    EXPECT_EQ(0, c.m_bWaitFirst);
    SetFocus(host.parent());
    EXPECT_EQ(1, c.m_bWaitFirst);
    EXPECT_TRUE(c.shows(0, 3, 0, 2));
    EXPECT_EQ((std::vector<UINT>{EN_CHANGE, EN_KILLFOCUS}), host.codes());
}

TEST_F(TimeCodeKeys, TimerBlinksOnlyWhileFocused) {
    focusOn(1);
    EXPECT_EQ(1, c.m_bFlashOn);
    tick();
    EXPECT_EQ(0, c.m_bFlashOn);
    tick();
    EXPECT_EQ(1, c.m_bFlashOn);
    // The focus gain armed timer 10 on the control's window.
    EXPECT_TRUE(KillTimer(c.m_hWnd, kTimer));
    SetTimer(c.m_hWnd, kTimer, 250, nullptr);
    tick();
    SetFocus(host.parent());
    EXPECT_EQ(1, c.m_bFlashOn);   // focus loss shows the member again
}

TEST_F(TimeCodeKeys, EnterNotifiesAndHandsTheFocusToTheParent) {
    focusOn(0);
    pressKey(c.m_hWnd, VK_RETURN);
    ASSERT_GE(host.notes().size(), 1u);
    const Note& n = host.notes()[0];
    EXPECT_EQ((UINT)WM_NOTIFY, n.msg);
    EXPECT_EQ((UINT)NM_RETURN, n.code);
    EXPECT_EQ((UINT)TimeCodeHost::kId, n.id);
    EXPECT_EQ((UINT)TimeCodeHost::kId, n.nmId);
    EXPECT_EQ(c.m_hWnd, n.from);
    EXPECT_EQ(host.parent(), GetFocus());
    // Then the focus loss: change and kill-focus.
    EXPECT_EQ((std::vector<UINT>{(UINT)NM_RETURN, EN_CHANGE, EN_KILLFOCUS}), host.codes());
}

TEST_F(TimeCodeKeys, DialogCodeAndHelpHitTest) {
    EXPECT_EQ(0x81, SendMessageW(c.m_hWnd, WM_GETDLGCODE, 0, 0));
    EXPECT_EQ(TimeCodeHost::kId + 0x50000, SendMessageW(c.m_hWnd, WM_HELPHITTEST, 0, 0));
}

// Real mouse input: a click outside the focused control reaches the thread hook, which hands the
// focus to the parent even when the clicked window never takes it.
TEST_F(TimeCodeKeys, MouseHookEndsTheEditOnAClickElsewhere) {
    focusOn(1);
    RECT r;
    GetWindowRect(host.sibling(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(2u, SendInput(2, in, sizeof(INPUT)));
    for (int i = 0; i < 50 && GetFocus() == c.m_hWnd; ++i) testutil::pumpMessages(20);
    EXPECT_EQ(host.parent(), GetFocus());
    EXPECT_EQ((std::vector<UINT>{EN_CHANGE, EN_KILLFOCUS}), host.codes());

    // A click on the control itself keeps the focus.
    focusOn(1);
    GetWindowRect(c.m_hWnd, &r);
    SetCursorPos(r.left + 30, r.top + 10);
    ASSERT_EQ(2u, SendInput(2, in, sizeof(INPUT)));
    testutil::pumpMessages(200);
    EXPECT_EQ(c.m_hWnd, GetFocus());
    EXPECT_EQ(1, c.m_nCurrent);   // x 30 lies in the minutes
    SetFocus(host.parent());
}

// A fixed control only displays: keys, focus and clicks leave it and its parent alone.
TEST(TimeCodeFixed, IgnoresKeysInstallsNoHookStartsNoTimerSendsNothing) {
    TimeCodeHost host;
    TimeCodeProbe c;
    ASSERT_TRUE(host.createControl(c));
    ASSERT_EQ(1, c.fnInit(1, 0, 0));
    c.fnSetFrameRate(25.0);
    c.fnSetIndex(c.TimeCodeToIndex(1, 2, 3, 4), 25.0, 1);
    host.clear();
    SetFocus(c.m_hWnd);
    ASSERT_EQ(c.m_hWnd, GetFocus());
    for (UINT vk : {(UINT)'5', (UINT)'7', (UINT)VK_UP, (UINT)VK_RIGHT, (UINT)VK_END, (UINT)VK_RETURN}) pressKey(c.m_hWnd, vk);
    EXPECT_TRUE(c.shows(1, 2, 3, 4));
    EXPECT_EQ(0, c.m_nCurrent);
    EXPECT_EQ(c.m_hWnd, GetFocus());   // Enter did not hand the focus on
    EXPECT_FALSE(KillTimer(c.m_hWnd, kTimer));
    // No hook: a click on the static sibling leaves the focus where it is.
    RECT r;
    GetWindowRect(host.sibling(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(2u, SendInput(2, in, sizeof(INPUT)));
    testutil::pumpMessages(300);
    EXPECT_EQ(c.m_hWnd, GetFocus());
    // Spin buttons and members do nothing either.
    SendMessageW(c.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
    SendMessageW(c.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
    EXPECT_EQ(0, c.m_nCurrent);
    SetFocus(host.parent());
    EXPECT_TRUE(host.notes().empty());
}
