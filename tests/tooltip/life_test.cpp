// What hides the shaped tip and what does not; the keyboard hook that lives exactly as long as some
// shaped tooltip does; bad input changing nothing; nothing the tooltips make outliving them.
#include "tip.h"
#include "qvToolTipCtrl.h"

using namespace tiptest;

namespace {
TEST_F(ShapedTip, PopTimerClicksAndMovesHideItUnlessItStaysVisibleAndEmptyTextShowsNothing) {
    tip.SetDelayTime(TTDT_INITIAL, 50);
    ASSERT_TRUE(showAgain());
    EXPECT_NE(nullptr, CqToolTipDVDUser::g_RgnText.GetSafeHandle());
    tip.SendMessage(WM_TIMER, 4, 0);
    EXPECT_FALSE(visible(tip));
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_RgnText.GetSafeHandle());   // popping releases the regions
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_RgnShadow.GetSafeHandle());
    // The show timer finds the cursor where the pop left it and stays away; a pixel further
    // (not relayed, so only the timer can bring it back) it is back.
    tip.SendMessage(WM_TIMER, 1, 0);
    pumpFor(tip, 150);
    EXPECT_FALSE(visible(tip));
    POINT p;
    GetCursorPos(&p);
    ASSERT_TRUE(moveMouse(p.x + 1, p.y));
    tip.SendMessage(WM_TIMER, 1, 0);
    EXPECT_TRUE(visible(tip));

    tip.fnGetLooksData()->bStayVisible = 1;
    ASSERT_TRUE(showAgain());
    tip.SendMessage(WM_TIMER, 4, 0);
    clickMouse();
    pumpFor(tip, 200);
    tip.UpdateByPt(CPoint(-1, -1));
    EXPECT_TRUE(visible(tip));
    tip.fnGetLooksData()->bStayVisible = 0;
    clickMouse();
    EXPECT_TRUE(pumpUntil(tip, 3000, [&] { return !visible(tip); }));
    ASSERT_TRUE(showAgain());
    tip.SetDelayTime(TTDT_INITIAL, 2000);   // no show again while we look
    GetCursorPos(&p);
    ASSERT_TRUE(moveMouse(p.x + 1, p.y + 1, tip));
    EXPECT_TRUE(pumpUntil(tip, 3000, [&] { return !visible(tip); }));

    g_text = L"";
    tip.SetDelayTime(TTDT_INITIAL, 30);
    EXPECT_FALSE(showAgain(800));   // many show delays
}

TEST(ToolTipHook, LivesFromTheFirstTooltipToTheLastAndPassesKeysOn) {
    auto* a = new CqToolTipDVDUser;
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_hHook);   // constructing is not creating
    ASSERT_EQ(1, a->fnCreate(CWnd::FromHandle(host())));
    const HHOOK first = CqToolTipDVDUser::g_hHook;
    EXPECT_NE(nullptr, first);
    auto* b = new CqToolTipDVDUser;
    ASSERT_EQ(1, b->fnCreate(nullptr));
    EXPECT_EQ(first, CqToolTipDVDUser::g_hHook);
    SetForegroundWindow(host());   // keys typed meanwhile still reach the focused window
    SetFocus(host());
    keybd_event('Q', 0, 0, 0);
    keybd_event('Q', 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(pumpUntil(nullptr, 3000, [] { return g_lastKey == 'Q'; }));
    a->DestroyWindow();
    EXPECT_EQ(first, CqToolTipDVDUser::g_hHook);
    delete b;   // the destructor alone destroys the window and leaves the list
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_hHook);
    EXPECT_TRUE(CqToolTipDVDUser::g_ToolTipList.IsEmpty());
    EXPECT_FALSE(UnhookWindowsHookEx(first));   // the system no longer knows it
    delete a;
}

TEST(ToolTipBadInput, ToolsOnMissingWindowsAndEmptyRectanglesAreRefused) {
    CqToolTipDVDUser tip;
    qvCToolTipCtrl card;
    EXPECT_EQ(0, tip.fnAddTool(host(), tool()));   // no tooltip window yet
    EXPECT_EQ(0, card.AddWindowTool(CWnd::FromHandle(tool()), L"x"));
    ASSERT_EQ(1, tip.fnCreate(CWnd::FromHandle(host())));
    ASSERT_EQ(1, card.fnCreate(CWnd::FromHandle(host())));
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    wchar_t text[] = L"tip";
    const RECT empty = {4, 4, 4, 9};
    const int answers[] = {tip.fnAddTool(gone, tool()), tip.fnAddTool(gone, 3u), tip.fnAddTool(host(), 3u, CRect(5, 5, 5, 20)),
                           tip.fnAddTool(host(), 3u, CRect(9, 9, 4, 4)), tip.fnAddTool(gone, 3u, text),
                           tip.fnAddTool(host(), 3u, (wchar_t*)nullptr), tip.fnAddTool(gone, GetModuleHandleW(nullptr), 6361u),
                           card.fnAddTool(gone, 3u, text), card.AddRectTool(CWnd::FromHandle(host()), L"x", &empty, 2),
                           card.AddRectTool(CWnd::FromHandle(host()), L"x", nullptr, 2), card.AddWindowTool(nullptr, L"x")};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(0, answers[i]) << i;
    EXPECT_EQ(0, tip.GetToolCount() + card.GetToolCount());
    EXPECT_EQ(1, tip.fnAddTool(host(), 3u, CRect(1, 2, 30, 40)));
}

// Shown in both shapes, destroyed popped or showing, with fonts replaced: no GDI object, font or hook left.
TEST(ToolTipLeaks, NothingOutlivesTheTooltips) {
    g_text = L"Set the out point";
    std::vector<HFONT> fonts;
    int round = 0;
    const int leak = testutil::gdiLeakOver(3, [&] {
        CqToolTipDVDUser tip;
        ASSERT_EQ(1, tip.fnCreate(CWnd::FromHandle(host())));
        tip.SetDelayTime(TTDT_INITIAL, 30);
        tip.SetDelayTime(TTDT_AUTOPOP, 60000);
        tip.fnAddTool(host(), tool());
        tip.fnGetLooksData()->bRoundShape = ++round % 2;
        fonts.push_back(CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        tip.fnSetFont(CreateFontW(-15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        tip.fnSetFont(fonts.back());   // replaces (and releases) the first
        POINT c = toolCentre();
        ASSERT_TRUE(moveMouse(c.x - 20 + round % 30, c.y + 5, tip));
        ASSERT_TRUE(pumpUntil(tip, 15000, [&] { return visible(tip); }));
        if (round % 2) tip.Pop();   // else the last tooltip takes the showing tip's regions along
        qvCToolTipCtrl card;
        card.fnCreate(CWnd::FromHandle(host()));
        card.fnSetFont(CreateFontW(-11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        card.fnSetFont(CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        pumpFor(nullptr, 50);
    });
    EXPECT_EQ(0, leak);
    for (HFONT f : fonts) EXPECT_EQ(0u, GetObjectType(f));
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_hHook);
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_RgnText.GetSafeHandle());
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_RgnShadow.GetSafeHandle());
}
}  // namespace
