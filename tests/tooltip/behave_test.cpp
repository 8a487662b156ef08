// What hides the shaped tip and what does not: the pop timer and its memory of the cursor, relayed
// clicks and moves, updates, and the stay-visible look.
#include "tipfixture.h"

using namespace tiptest;

namespace {
bool visible(const CWnd& w) { return w.IsWindowVisible() != FALSE; }

TEST_F(ShapedTip, PopTimerHidesTheTipUntilTheMouseMoves) {
    tip.SetDelayTime(TTDT_INITIAL, 50);
    ASSERT_TRUE(showAgain());
    EXPECT_NE(nullptr, CqToolTipDVDUser::g_RgnText.GetSafeHandle());
    tip.SendMessage(WM_TIMER, 4, 0);
    EXPECT_FALSE(visible(tip));
    // Popping releases the shared regions.
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_RgnText.GetSafeHandle());
    EXPECT_EQ(nullptr, CqToolTipDVDUser::g_RgnShadow.GetSafeHandle());
    // The show timer finds the cursor where the pop left it: the tip stays away.
    tip.SendMessage(WM_TIMER, 1, 0);
    pumpFor(tip, 150);
    EXPECT_FALSE(visible(tip));
    // A pixel further (not relayed, so only the show timer can bring it back) and it is back.
    POINT p;
    GetCursorPos(&p);
    ASSERT_TRUE(moveMouse(p.x + 1, p.y));
    tip.SendMessage(WM_TIMER, 1, 0);
    EXPECT_TRUE(visible(tip));
}

TEST_F(ShapedTip, RelayedClicksMovesAndUpdatesHideUnlessStayVisible) {
    tip.SetDelayTime(TTDT_INITIAL, 50);
    tagCQTOOLTIP_LOOKS* looks = tip.fnGetLooksData();

    looks->bStayVisible = 1;
    ASSERT_TRUE(showAgain());
    tip.SendMessage(WM_TIMER, 4, 0);
    EXPECT_TRUE(visible(tip));
    clickMouse();
    pumpFor(tip, 200);
    EXPECT_TRUE(visible(tip));
    tip.UpdateByPt(CPoint(-1, -1));
    EXPECT_TRUE(visible(tip));

    looks->bStayVisible = 0;
    clickMouse();
    EXPECT_TRUE(pumpUntil(tip, 3000, [&] { return !visible(tip); }));

    ASSERT_TRUE(showAgain());
    tip.SetDelayTime(TTDT_INITIAL, 2000);   // no show again while we look
    POINT p;
    GetCursorPos(&p);
    ASSERT_TRUE(moveMouse(p.x + 1, p.y + 1, tip));
    EXPECT_TRUE(pumpUntil(tip, 3000, [&] { return !visible(tip); }));

    tip.SetDelayTime(TTDT_INITIAL, 50);
    ASSERT_TRUE(showAgain());
    tip.UpdateByPt(CPoint(-1, -1));
    EXPECT_FALSE(visible(tip));
}

}  // namespace
