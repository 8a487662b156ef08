// Bad input changes nothing; nothing the tooltips make outlives them.
#include "tipfixture.h"
#include "qvToolTipCtrl.h"

using namespace tiptest;

namespace {
HWND deadWindow() {
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(w);
    return w;
}

template <class Tip>
void refusesBadTools(Tip& tip) {
    const HWND gone = deadWindow();
    wchar_t text[] = L"tip";
    HINSTANCE self = GetModuleHandleW(nullptr);
    EXPECT_EQ(0, tip.fnAddTool(gone, tool()));
    EXPECT_EQ(0, tip.fnAddTool(gone, 3u));
    EXPECT_EQ(0, tip.fnAddTool(host(), 3u, CRect(5, 5, 5, 20)));
    EXPECT_EQ(0, tip.fnAddTool(host(), 3u, CRect(9, 9, 4, 4)));
    EXPECT_EQ(0, tip.fnAddTool(gone, 3u, text));
    EXPECT_EQ(0, tip.fnAddTool(host(), 3u, (wchar_t*)nullptr));
    EXPECT_EQ(0, tip.fnAddTool(gone, self, 6361u));
}

TEST(ToolTipBadInput, ToolsOnMissingWindowsAndEmptyRectanglesAreRefused) {
    SettingsFile none("");
    CqToolTipDVDUser tip;
    wchar_t text[] = L"tip";
    EXPECT_EQ(0, tip.fnAddTool(host(), tool()));   // no tooltip window yet
    EXPECT_EQ(0, tip.fnAddTool(host(), 3u, text));
    ASSERT_EQ(1, tip.fnCreate(CWnd::FromHandle(host())));
    refusesBadTools(tip);
    EXPECT_EQ(0, tip.GetToolCount());
    EXPECT_EQ(1, tip.fnAddTool(host(), 3u, CRect(1, 2, 30, 40)));
    EXPECT_EQ(1, tip.GetToolCount());

    qvCToolTipCtrl card;
    EXPECT_EQ(0, card.AddWindowTool(CWnd::FromHandle(tool()), L"x"));   // no window yet
    ASSERT_EQ(1, card.fnCreate(CWnd::FromHandle(host())));
    refusesBadTools(card);
    const RECT empty = {4, 4, 4, 9};
    EXPECT_EQ(0, card.AddRectTool(CWnd::FromHandle(host()), L"x", &empty, 2));
    EXPECT_EQ(0, card.AddRectTool(CWnd::FromHandle(host()), L"x", nullptr, 2));
    EXPECT_EQ(0, card.AddWindowTool(nullptr, L"x"));
    EXPECT_EQ(0, card.GetToolCount());
    // The card's text overload registers a rectangle of hwnd, owned by it.
    EXPECT_EQ(1, card.fnAddTool(tool(), 9u, text));
    CToolInfo info;
    ASSERT_TRUE(card.GetToolInfo(info, CWnd::FromHandle(tool()), 9));
    EXPECT_EQ(0u, info.uFlags & TTF_IDISHWND);
    RECT client;
    GetClientRect(tool(), &client);
    EXPECT_TRUE(EqualRect(&client, &info.rect));
}

class EmptyTextTip : public ShapedTip {};

TEST_F(EmptyTextTip, ShowsNothingAndShapesNothing) {
    setCallbackText(L"");
    tip.SetDelayTime(TTDT_INITIAL, 30);
    EXPECT_FALSE(showAgain(800));   // many show delays
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_RgnText.GetSafeHandle());
    HRGN rgn = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(ERROR, GetWindowRgn(tip, rgn));   // never cut
    DeleteObject(rgn);
}

// Tooltips made, shown in both shapes, hidden and destroyed leave no GDI object, font or hook.
TEST(ToolTipLeaks, NothingOutlivesTheTooltips) {
    SettingsFile none("");
    setCallbackText(L"Set the out point");
    std::vector<HFONT> fonts;
    auto round = [&](int shape) {
        CqToolTipDVDUser tip;
        ASSERT_EQ(1, tip.fnCreate(CWnd::FromHandle(host())));
        tip.SetDelayTime(TTDT_INITIAL, 30);
        tip.SetDelayTime(TTDT_AUTOPOP, 60000);
        tip.fnAddTool(host(), tool());
        tip.fnGetLooksData()->bRoundShape = shape;
        HFONT font = CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
        fonts.push_back(font);
        tip.fnSetFont(CreateFontW(-15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        tip.fnSetFont(font);   // replaces (and releases) the first
        static int nudge = 0;
        POINT c = toolCentre();
        ++nudge;
        ASSERT_TRUE(moveMouse(c.x - 20 + nudge % 30, c.y + 5, tip));
        ASSERT_TRUE(pumpUntil(tip, 15000, [&] { return tip.IsWindowVisible() != FALSE; }));
        // Half the rounds end with the tip still showing: its regions go with the last tooltip.
        if (shape) tip.Pop();
        qvCToolTipCtrl card;
        card.fnCreate(CWnd::FromHandle(host()));
        card.fnSetFont(CreateFontW(-11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
        card.fnSetFont(CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma"));
    };
    round(1);   // lazily made shared objects appear
    pumpFor(nullptr, 50);
    const int before = liveGdiObjects();
    for (int i = 0; i < 3; ++i) round(i % 2);
    pumpFor(nullptr, 50);
    EXPECT_EQ(before, liveGdiObjects());
    for (HFONT f : fonts) EXPECT_EQ(0u, GetObjectType(f));
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_hHook);
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_RgnText.GetSafeHandle());
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_RgnShadow.GetSafeHandle());
}
}  // namespace
