// The control on real windows: typing, navigation, spinning and its timer, focus, the mouse hook,
// Enter, and the notifications the parent receives for each.
#include "tcprobe.h"

namespace {
const UINT kTimer = 10;

// Every period the library gives its timers, read through its import of SetTimer.
std::vector<UINT> periods;
decltype(&SetTimer) realSetTimer;
UINT_PTR WINAPI recordSetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc) {
    if (id == kTimer) periods.push_back(ms);
    return realSetTimer(hwnd, id, ms, proc);
}

class TimeCodeKeys : public ::testing::Test {
protected:
    void SetUp() override {
        if (!realSetTimer)
            realSetTimer = (decltype(&SetTimer))testutil::hookImport(L"qTrimUI.dll", "user32.dll", "SetTimer",
                                                                    (void*)recordSetTimer);
        ASSERT_TRUE(realSetTimer);
        periods.clear();
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
        ASSERT_TRUE(GetFocus() == c.m_hWnd && c.m_nCurrent == member);
        host.clear();
    }
    void type(std::initializer_list<UINT> keys) {
        for (UINT vk : keys) pressKey(c.m_hWnd, vk);
    }
    void tick() { SendMessageW(c.m_hWnd, WM_TIMER, kTimer, 0); }
    // Clicks the sibling for real: focus goes to the parent when the hook is there.
    bool clickElsewhereMovesFocus() {
        HWND before = GetFocus();
        EXPECT_TRUE(clickAt(host.sibling()));
        for (int i = 0; i < 30 && GetFocus() == before; ++i) testutil::pumpMessages(10);
        return GetFocus() != before;
    }

    TimeCodeHost host;
    TimeCodeProbe c;
};
}  // namespace

TEST_F(TimeCodeKeys, TypingAndNavigation) {
    // A member typed exactly at its maximum moves on; one typed above it is clamped and stays.
    focusOn(0);
    type({'9', '9', '5', '9'});
    EXPECT_EQ("99:59:00:00 @2", c.text());
    type({VK_LEFT});
    host.clear();
    type({'7'});
    EXPECT_TRUE(host.notes.empty());   // nothing until the second digit
    type({'5'});
    EXPECT_TRUE(std::string("99:59:00:00 @1") == c.text() && Codes{EN_CHANGE} == host.codes());
    EXPECT_TRUE(host.notes[0].msg == WM_COMMAND && host.notes[0].id == TimeCodeHost::kId && host.notes[0].from == c.m_hWnd);
    host.clear();
    type({'2', VK_NUMPAD5});   // keypad digits type too
    EXPECT_TRUE(std::string("99:25:00:00 @2") == c.text() && Codes{EN_CHANGE} == host.codes());
    // A first digit abandoned by navigation stands, with one change notification.
    type({VK_LEFT});
    host.clear();
    type({'4', VK_RIGHT});
    EXPECT_TRUE(std::string("99:04:00:00 @2") == c.text() && 1 == c.m_bWaitFirst && Codes{EN_CHANGE} == host.codes());

    // Navigation; keys that change nothing pass on.
    host.clear();
    const struct { UINT vk; int current, done; } steps[] = {{VK_END, 3, 1}, {VK_RIGHT, 0, 1}, {VK_LEFT, 3, 1},
                                                            {VK_LEFT, 2, 1}, {VK_HOME, 0, 1}, {VK_HOME, 0, 0}, {'A', 0, 0}};
    for (const auto& s : steps) {
        type({s.vk});
        EXPECT_TRUE(s.current == c.m_nCurrent && s.done == c.m_bKeyDone) << s.vk;
    }
    EXPECT_TRUE(host.notes.empty());
    EXPECT_EQ(0x81, SendMessageW(c.m_hWnd, WM_GETDLGCODE, 0, 0));   // arrows and characters are ours
    EXPECT_EQ(TimeCodeHost::kId + 0x50000, SendMessageW(c.m_hWnd, WM_HELPHITTEST, 0, 0));

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
TEST_F(TimeCodeKeys, SpinningByKeyFollowsTheTimerSchedule) {
    c.fnSetIndex(c.TimeCodeToIndex(0, 0, 10, 0), 25.0, 1);
    focusOn(2);
    keyDown(c.m_hWnd, VK_UP);
    keyDown(c.m_hWnd, VK_UP, true);
    keyDown(c.m_hWnd, '5', true);
    EXPECT_TRUE(std::string("00:00:11:00 @2") == c.text() && Codes{EN_CHANGE} == host.codes());
    std::vector<int> stepsAt;
    for (int t = 1, last = c.m_nMember[2]; t <= 14; ++t, last = c.m_nMember[2]) {
        tick();
        if (c.m_nMember[2] != last) stepsAt.push_back(t);
    }
    EXPECT_EQ((std::vector<int>{4, 8, 9, 10, 11, 12, 13, 14}), stepsAt);
    EXPECT_EQ((std::vector<UINT>{250, 100}), periods);   // blinking from the focus, fast repeat from tick 9
    EXPECT_EQ(1, c.m_bFlashOn);   // fast repeat shows the member
    // The other arrow's release does not end the spin: the next tick still steps.
    host.clear();
    keyUp(c.m_hWnd, VK_DOWN);
    tick();
    EXPECT_TRUE(std::string("00:00:20:00 @2") == c.text() && host.notes.empty());
    keyUp(c.m_hWnd, VK_UP);
    EXPECT_TRUE(Codes{EN_CHANGE} == host.codes() && (std::vector<UINT>{250, 100, 250}) == periods);
    // Back to blinking: a tick toggles the flash and steps no more.
    const int flash = c.m_bFlashOn;
    tick();
    EXPECT_TRUE(std::string("00:00:20:00 @2") == c.text() && flash != c.m_bFlashOn);
}

TEST_F(TimeCodeKeys, FocusGainAndLossNotifyInOrder) {
    SetFocus(c.m_hWnd);
    EXPECT_TRUE(Codes{EN_SETFOCUS} == host.codes() && 1 == c.m_bFlashOn);
    tick();   // the timer blinks the current member while focused; focus loss shows it again
    EXPECT_EQ(0, c.m_bFlashOn);
    host.clear();
    SetFocus(host.parent());
    EXPECT_TRUE(1 == c.m_bFlashOn && (Codes{EN_CHANGE, EN_KILLFOCUS}) == host.codes());
    EXPECT_FALSE(KillTimer(c.m_hWnd, kTimer));   // the timer went with the focus

    // After a step the change was already reported: focus loss sends only the kill-focus.
    focusOn(2);
    EXPECT_TRUE(KillTimer(c.m_hWnd, kTimer));   // armed by the focus gain
    pressKey(c.m_hWnd, VK_UP);
    host.clear();
    SetFocus(host.parent());
    EXPECT_EQ(Codes{EN_KILLFOCUS}, host.codes());

    // Focus loss ends a half-typed member and corrects the drop-frame timecode.
    c.fnSetIndex(0, 29.97, 1);
    focusOn(1);
    type({'3'});
    SetFocus(host.parent());
    EXPECT_TRUE(1 == c.m_bWaitFirst && std::string("00:03:00:02 @1") == c.text());
    EXPECT_EQ((Codes{EN_CHANGE, EN_KILLFOCUS}), host.codes());

    // Enter: NM_RETURN from the control, then the focus goes to the parent with its own notes.
    focusOn(0);
    type({VK_RETURN});
    ASSERT_EQ((Codes{(UINT)NM_RETURN, EN_CHANGE, EN_KILLFOCUS}), host.codes());
    const Note& n = host.notes[0];
    EXPECT_TRUE(n.msg == WM_NOTIFY && n.id == TimeCodeHost::kId && n.nmId == TimeCodeHost::kId && n.from == c.m_hWnd);
    EXPECT_EQ(host.parent(), GetFocus());
}

// Real mouse input: a click outside the focused control reaches the thread hook, which hands the
// focus to the parent even when the clicked window never takes it; a click on the control keeps it.
// The hook goes with the focus and with a focused control's window.
TEST_F(TimeCodeKeys, MouseHookEndsTheEditOnAClickElsewhere) {
    focusOn(1);
    EXPECT_TRUE(clickElsewhereMovesFocus() && host.parent() == GetFocus());
    EXPECT_EQ((Codes{EN_CHANGE, EN_KILLFOCUS}), host.codes());
    focusOn(1);
    ASSERT_TRUE(clickAt(c.m_hWnd, 30, 10));
    testutil::pumpMessages(200);
    EXPECT_TRUE(c.m_hWnd == GetFocus() && 1 == c.m_nCurrent);   // x 30 lies in the minutes

    // A fixed control only displays: keys, focus and clicks leave it and its parent alone, and it
    // has no hook of its own.
    TimeCodeProbe fixed;
    ASSERT_TRUE(host.createControl(fixed));
    ASSERT_EQ(1, fixed.fnInit(1, 0, 0));
    fixed.fnSetIndex(fixed.TimeCodeToIndex(1, 2, 3, 4), 0.0, 1);
    for (bool destroy : {false, true}) {
        if (destroy) SetFocus(c.m_hWnd), c.DestroyWindow();
        SetFocus(fixed.m_hWnd);
        host.clear();
        EXPECT_FALSE(clickElsewhereMovesFocus()) << destroy;
    }
    for (UINT vk : {(UINT)'5', (UINT)'7', (UINT)VK_UP, (UINT)VK_RIGHT, (UINT)VK_END, (UINT)VK_RETURN}) pressKey(fixed.m_hWnd, vk);
    SendMessageW(fixed.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
    SendMessageW(fixed.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
    EXPECT_TRUE(std::string("01:02:03:04 @0") == fixed.text() && fixed.m_hWnd == GetFocus());
    EXPECT_FALSE(KillTimer(fixed.m_hWnd, kTimer));
    SetFocus(host.parent());
    EXPECT_TRUE(host.notes.empty());
}
