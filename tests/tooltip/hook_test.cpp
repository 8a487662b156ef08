// The keyboard hook lives exactly as long as some shaped tooltip does, and passes every key on.
#include <gtest/gtest.h>
#include "qToolTipDVDUser.h"
#include "tipsupport.h"

using namespace tiptest;

namespace {
int g_keyHookCalls = 0;
HHOOK g_testHook = nullptr;
LRESULT CALLBACK countingHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) ++g_keyHookCalls;
    return CallNextHookEx(g_testHook, code, wp, lp);
}

TEST(ToolTipHook, InstalledWithTheFirstTooltipRemovedWithTheLast) {
    ASSERT_EQ(nullptr, CqToolTipDVDUser::g_hHook);
    ASSERT_TRUE(CqToolTipDVDUser::g_ToolTipList.IsEmpty());
    auto* a = new CqToolTipDVDUser;
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_hHook);   // constructing is not creating
    ASSERT_EQ(1, a->fnCreate(CWnd::FromHandle(host())));
    const HHOOK first = CqToolTipDVDUser::g_hHook;
    EXPECT_NE(nullptr, first);
    EXPECT_EQ(1, a->fnCreate(CWnd::FromHandle(host())));   // a second create changes nothing
    auto* b = new CqToolTipDVDUser;
    ASSERT_EQ(1, b->fnCreate(nullptr));
    EXPECT_EQ(first, CqToolTipDVDUser::g_hHook);
    EXPECT_EQ(2, CqToolTipDVDUser::g_ToolTipList.GetCount());
    a->DestroyWindow();
    EXPECT_EQ(first, CqToolTipDVDUser::g_hHook);
    EXPECT_EQ(1, CqToolTipDVDUser::g_ToolTipList.GetCount());
    delete b;   // the destructor alone destroys the window and leaves the list
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_hHook);
    EXPECT_TRUE(CqToolTipDVDUser::g_ToolTipList.IsEmpty());
    // Really gone: the system no longer knows the handle.
    EXPECT_FALSE(UnhookWindowsHookEx(first));
    delete a;
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_hHook);

    CqToolTipDVDUser c;
    ASSERT_EQ(1, c.fnCreate(CWnd::FromHandle(host())));
    EXPECT_NE(nullptr, CqToolTipDVDUser::g_hHook);
    c.fnUnInit();
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_hHook);
    c.DestroyWindow();
}

// Keys typed while a tooltip exists reach the focused window and every older hook.
TEST(ToolTipHook, PassesEveryKeyOn) {
    g_testHook = SetWindowsHookExW(WH_KEYBOARD, countingHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, g_testHook);
    CqToolTipDVDUser tip;
    ASSERT_EQ(1, tip.fnCreate(CWnd::FromHandle(host())));
    SetForegroundWindow(host());
    SetFocus(host());
    pumpFor(nullptr, 100);
    g_keyHookCalls = 0;
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = 'Q';
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    EXPECT_TRUE(pumpUntil(nullptr, 3000, [] { return lastKeyDown() == 'Q'; }));
    EXPECT_GE(g_keyHookCalls, 1);
    UnhookWindowsHookEx(g_testHook);
    g_testHook = nullptr;
}
}  // namespace
