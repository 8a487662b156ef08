// The mouse-hover window on a real child of the framework parent, driven by real pointer input.
#include "buttontest.h"
#include "qMouseHoverWnd.h"

using namespace buttontest;

namespace {

class HoverProbe : public CqMouseHoverWnd {
public:
    using CqMouseHoverWnd::m_stTrackMouseEvent, CqMouseHoverWnd::m_bMouseHover, CqMouseHoverWnd::m_ptMouse;
    using CqMouseHoverWnd::OnHelpHitTest;
    int hovers = 0, leaves = 0;
    void fnMouseHover() override { ++hovers; }
    void fnMouseLeave() override { ++leaves; }

    bool create() {
        moveAway();
        RecordingParent& parent = RecordingParent::get();
        RECT r = {30, 40, 130, 90};
        return CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, r, &parent, 77) != FALSE;
    }
};

TEST(MouseHoverWnd, RunTimeClassIsDynamicallyCreatableByName) {
    CRuntimeClass* rc = CRuntimeClass::FromName("CqMouseHoverWnd");
    ASSERT_EQ(RUNTIME_CLASS(CqMouseHoverWnd), rc);
    EXPECT_STREQ("CqMouseHoverWnd", rc->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CWnd), rc->m_pBaseClass);
    EXPECT_EQ((int)sizeof(CqMouseHoverWnd), rc->m_nObjectSize);
    CObject* made = CRuntimeClass::CreateObject(L"CqMouseHoverWnd");
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_EQ(rc, made->GetRuntimeClass());
    delete made;
}

TEST(MouseHoverWnd, RequestStartsUnboundAndStartEventNeedsAWindow) {
    HoverProbe probe;
    const TRACKMOUSEEVENT& t = probe.m_stTrackMouseEvent;
    EXPECT_EQ(24u, t.cbSize);
    EXPECT_EQ((DWORD)(TME_HOVER | TME_LEAVE), t.dwFlags);
    EXPECT_EQ(nullptr, t.hwndTrack);
    EXPECT_EQ(10u, t.dwHoverTime);
    EXPECT_FALSE(probe.m_bMouseHover);
    EXPECT_EQ(0, probe.m_ptMouse.x + probe.m_ptMouse.y);

    // Without a window nothing changes, not even flags set before.
    probe.SetMouseTrackEventFlags(TME_LEAVE);
    EXPECT_FALSE(probe.fnStartEvent());
    EXPECT_EQ((DWORD)TME_LEAVE, t.dwFlags);
    EXPECT_EQ(nullptr, t.hwndTrack);

    // With one the whole request is rewritten: the earlier flags are lost.
    ASSERT_TRUE(probe.create());
    probe.m_stTrackMouseEvent.dwHoverTime = 999;
    EXPECT_TRUE(probe.fnStartEvent());
    EXPECT_EQ(probe.m_hWnd, t.hwndTrack);
    EXPECT_EQ((DWORD)(TME_HOVER | TME_LEAVE), t.dwFlags);
    EXPECT_EQ(10u, t.dwHoverTime);
    EXPECT_EQ(24u, t.cbSize);
    EXPECT_EQ(77 + 0x50000, (int)probe.OnHelpHitTest(0, 0));
}

// Each rest after a move is one hover, also while already hovering; leaving is one leave.
TEST(MouseHoverWnd, OneHoverPerRestAndOneLeave) {
    HoverProbe probe;
    ASSERT_TRUE(probe.create());
    ASSERT_TRUE(probe.fnStartEvent());

    moveTo(probe.m_hWnd, 20, 15);
    ASSERT_TRUE(waitFor([&] { return probe.hovers == 1; }));
    EXPECT_TRUE(probe.m_bMouseHover);
    EXPECT_EQ(20, probe.m_ptMouse.x);
    EXPECT_EQ(15, probe.m_ptMouse.y);
    pumpFor(300);   // hover tracking ended with the message: resting longer adds nothing
    EXPECT_EQ(1, probe.hovers);

    moveTo(probe.m_hWnd, 61, 33);
    ASSERT_TRUE(waitFor([&] { return probe.hovers == 2; }));
    EXPECT_EQ(61, probe.m_ptMouse.x);
    EXPECT_EQ(33, probe.m_ptMouse.y);
    EXPECT_EQ(0, probe.leaves);

    moveAway();
    ASSERT_TRUE(waitFor([&] { return probe.leaves == 1; }));
    EXPECT_FALSE(probe.m_bMouseHover);
    pumpFor(200);
    EXPECT_EQ(1, probe.leaves);
    EXPECT_EQ(2, probe.hovers);
}

// Flags set after fnStartEvent take effect at the next move: leave alone gives no hover.
TEST(MouseHoverWnd, LeaveOnlyFlagsNeverHover) {
    HoverProbe probe;
    ASSERT_TRUE(probe.create());
    ASSERT_TRUE(probe.fnStartEvent());
    probe.SetMouseTrackEventFlags(TME_LEAVE);
    moveTo(probe.m_hWnd, 50, 25);
    ASSERT_TRUE(waitFor([&] { return probe.m_ptMouse.x == 50; }));
    pumpFor(300);
    moveAway();
    ASSERT_TRUE(waitFor([&] { return probe.leaves == 1; }));
    EXPECT_EQ(0, probe.hovers);
}

// Without fnStartEvent the request names no window: moves are seen, nothing is reported.
TEST(MouseHoverWnd, WithoutStartEventNothingArrives) {
    HoverProbe probe;
    ASSERT_TRUE(probe.create());
    moveTo(probe.m_hWnd, 40, 20);
    ASSERT_TRUE(waitFor([&] { return probe.m_ptMouse.x == 40; }));
    pumpFor(300);
    moveAway();
    pumpFor(300);
    EXPECT_EQ(0, probe.hovers);
    EXPECT_EQ(0, probe.leaves);
}

}  // namespace
