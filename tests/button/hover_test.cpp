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
        return CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, {30, 40, 130, 90}, &RecordingParent::get(), 77) != FALSE;
    }
    // Moves to a client point and waits until the move has arrived.
    bool moveIn(int x, int y) {
        moveTo(m_hWnd, x, y);
        return waitFor([&] { return m_ptMouse.x == x && m_ptMouse.y == y; });
    }
};

TEST(MouseHoverWnd, DynamicallyCreatableByName) {
    CRuntimeClass* rc = CRuntimeClass::FromName("CqMouseHoverWnd");
    ASSERT_EQ(RUNTIME_CLASS(CqMouseHoverWnd), rc);
    EXPECT_EQ(RUNTIME_CLASS(CWnd), rc->m_pBaseClass);
    CObject* made = CRuntimeClass::CreateObject(L"CqMouseHoverWnd");
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(rc, made->GetRuntimeClass());
    delete made;
}

// Without a window fnStartEvent changes nothing; with one it rewrites the whole request, so
// flags set before it are lost.
TEST(MouseHoverWnd, StartEventNeedsAWindowAndRewritesTheRequest) {
    HoverProbe probe;
    const TRACKMOUSEEVENT& t = probe.m_stTrackMouseEvent;
    EXPECT_EQ((DWORD)(TME_HOVER | TME_LEAVE), t.dwFlags);
    EXPECT_EQ(10u, t.dwHoverTime);
    probe.SetMouseTrackEventFlags(TME_LEAVE);
    EXPECT_FALSE(probe.fnStartEvent());
    EXPECT_EQ((DWORD)TME_LEAVE, t.dwFlags);
    EXPECT_EQ(nullptr, t.hwndTrack);

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
    ASSERT_TRUE(probe.moveIn(20, 15));
    ASSERT_TRUE(waitFor([&] { return probe.hovers == 1; }));
    EXPECT_TRUE(probe.m_bMouseHover);
    pumpFor(300);   // hover tracking ended with the message: resting longer adds nothing
    EXPECT_EQ(1, probe.hovers);
    ASSERT_TRUE(probe.moveIn(61, 33));
    ASSERT_TRUE(waitFor([&] { return probe.hovers == 2; }));
    EXPECT_EQ(0, probe.leaves);
    moveAway();
    ASSERT_TRUE(waitFor([&] { return probe.leaves == 1; }));
    EXPECT_FALSE(probe.m_bMouseHover);
    pumpFor(200);
    EXPECT_EQ(1, probe.leaves);
    EXPECT_EQ(2, probe.hovers);
}

// Leave alone, set after fnStartEvent, gives leaves and no hover; without fnStartEvent moves are
// seen and nothing is reported.
TEST(MouseHoverWnd, LeaveOnlyFlagsAndNoStartEvent) {
    for (bool started : {true, false}) {
        HoverProbe probe;
        ASSERT_TRUE(probe.create());
        if (started) {
            ASSERT_TRUE(probe.fnStartEvent());
            probe.SetMouseTrackEventFlags(TME_LEAVE);
        }
        ASSERT_TRUE(probe.moveIn(50, 25));
        pumpFor(300);
        moveAway();
        EXPECT_EQ(started, waitFor([&] { return probe.leaves == 1; }, started ? 8000 : 300));
        // Back in and out: the request ended with the leave and is made again by the first move.
        ASSERT_TRUE(probe.moveIn(40, 20));
        moveAway();
        EXPECT_EQ(started, waitFor([&] { return probe.leaves == 2; }, started ? 8000 : 300));
        EXPECT_EQ(0, probe.hovers);
    }
}

}  // namespace
