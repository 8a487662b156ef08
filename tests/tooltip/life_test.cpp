// What hides the shaped tip and what does not; the keyboard hook that lives exactly as long as some
// shaped tooltip does; bad input changing nothing; nothing the tooltips make outliving them.
#include "tip.h"
#include "qvToolTipCtrl.h"

using namespace tiptest;

namespace {
TEST_F(ShapedTip, PopTimerAndClicksHideItUnlessItStaysVisibleAndEmptyTextShowsNothing) {
    tip.SetDelayTime(TTDT_INITIAL, 50);
    ASSERT_TRUE(showAgain());
    EXPECT_NE(nullptr, CqToolTipDVDUser::g_RgnText.GetSafeHandle());
    tip.SendMessage(WM_TIMER, 4, 0);   // pops it, releasing the regions
    EXPECT_FALSE(visible(tip));
    EXPECT_TRUE(!CqToolTipDVDUser::g_RgnText.GetSafeHandle() && !CqToolTipDVDUser::g_RgnShadow.GetSafeHandle());
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

    g_text = L"";
    tip.SetDelayTime(TTDT_INITIAL, 30);
    EXPECT_FALSE(showAgain(800));   // many show delays
}

// Tooltips made, given bad tools, shown in both shapes, destroyed popped or showing, with fonts
// replaced: one keyboard hook from the first shaped tooltip to the last; no GDI object or font left.
TEST(ToolTipLife, HookFromFirstToLastBadToolsRefusedNothingLeft) {
    g_text = L"Set the out point";
    std::vector<HFONT> fonts;
    std::vector<HHOOK> hooks;
    int round = 0;
    const int leak = testutil::gdiLeakOver(3, [&] {
        CqToolTipDVDUser tip, second;
        qvCToolTipCtrl card;
        EXPECT_EQ(0, tip.fnAddTool(host(), tool()));   // no tooltip window yet
        EXPECT_EQ(0, card.AddWindowTool(CWnd::FromHandle(tool()), L"x"));
        EXPECT_EQ(nullptr, CqToolTipDVDUser::g_hHook);   // constructing is not creating
        ASSERT_EQ(1, tip.fnCreate(CWnd::FromHandle(host())));
        ASSERT_EQ(1, second.fnCreate(nullptr));
        ASSERT_EQ(1, card.fnCreate(CWnd::FromHandle(host())));
        hooks.push_back(CqToolTipDVDUser::g_hHook);
        second.DestroyWindow();
        EXPECT_EQ(hooks.back(), CqToolTipDVDUser::g_hHook);

        HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
        DestroyWindow(gone);
        wchar_t text[] = L"tip";
        const RECT empty = {4, 4, 4, 9};
        CWnd* h = CWnd::FromHandle(host());
        const int answers[] = {tip.fnAddTool(gone, tool()), tip.fnAddTool(gone, 3u), tip.fnAddTool(gone, 3u, text),
                               tip.fnAddTool(host(), 3u, CRect(5, 5, 5, 20)), tip.fnAddTool(host(), 3u, CRect(9, 9, 4, 4)),
                               tip.fnAddTool(host(), 3u, (wchar_t*)nullptr),
                               tip.fnAddTool(gone, GetModuleHandleW(nullptr), 6361u),
                               card.fnAddTool(gone, 3u, text), card.AddRectTool(h, L"x", &empty, 2),
                               card.AddRectTool(h, L"x", nullptr, 2), card.AddWindowTool(nullptr, L"x")};
        for (int i = 0; i < 11; ++i) EXPECT_EQ(0, answers[i]) << i;
        EXPECT_EQ(0, tip.GetToolCount() + card.GetToolCount());

        tip.SetDelayTime(TTDT_INITIAL, 30), tip.SetDelayTime(TTDT_AUTOPOP, 60000);
        ASSERT_EQ(1, tip.fnAddTool(host(), tool()));
        tip.fnGetLooksData()->bRoundShape = ++round % 2;
        fonts.push_back(CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        tip.fnSetFont(fonts.back());
        card.fnSetFont(CreateFontW(-11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        card.fnSetFont(CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        POINT c = toolCentre();
        ASSERT_TRUE(moveMouse(c.x - 20 + round % 30, c.y + 5, tip));
        ASSERT_TRUE(pumpUntil(tip, 15000, [&] { return visible(tip); }));
        if (round % 2) tip.Pop();   // else the last tooltip takes the showing tip's regions along
        pumpFor(nullptr, 50);
    });
    EXPECT_EQ(0, leak);
    for (HFONT f : fonts) EXPECT_EQ(0u, GetObjectType(f));
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_hHook);
    for (HHOOK h : hooks) EXPECT_FALSE(UnhookWindowsHookEx(h));   // the system no longer knows them
    EXPECT_TRUE(!CqToolTipDVDUser::g_RgnText.GetSafeHandle() && !CqToolTipDVDUser::g_RgnShadow.GetSafeHandle());
}
}  // namespace
