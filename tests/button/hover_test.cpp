// The mouse-hover window on a real child of the framework parent, driven by real pointer input.
#include "buttontest.h"
#include "qMouseHoverWnd.h"

using namespace buttontest;

namespace {

class HoverProbe : public CqMouseHoverWnd {
public:
    using CqMouseHoverWnd::m_stTrackMouseEvent, CqMouseHoverWnd::m_bMouseHover, CqMouseHoverWnd::m_ptMouse,
        CqMouseHoverWnd::OnHelpHitTest;
    int hovers = 0, leaves = 0;
    void fnMouseHover() override { ++hovers; }
    void fnMouseLeave() override { ++leaves; }
    bool create() {
        moveAway();
        return CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, {30, 40, 130, 90}, &RecordingParent::get(), 77) != FALSE;
    }
};

// Created by name; without a window fnStartEvent changes nothing, with one it rewrites the whole
// request, so flags set before it are lost.
TEST(MouseHoverWnd, CreatableByNameAndStartEventRewritesTheRequest) {
    CObject* made = CRuntimeClass::CreateObject(L"CqMouseHoverWnd");
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->GetRuntimeClass() == RUNTIME_CLASS(CqMouseHoverWnd) &&
                RUNTIME_CLASS(CqMouseHoverWnd)->m_pBaseClass == RUNTIME_CLASS(CWnd));
    delete made;
    HoverProbe probe;
    const TRACKMOUSEEVENT& t = probe.m_stTrackMouseEvent;
    probe.SetMouseTrackEventFlags(TME_LEAVE);
    EXPECT_FALSE(probe.fnStartEvent());
    EXPECT_TRUE(t.dwFlags == TME_LEAVE && t.hwndTrack == nullptr);
    ASSERT_TRUE(probe.create());
    probe.m_stTrackMouseEvent.dwHoverTime = 999;
    EXPECT_TRUE(probe.fnStartEvent());
    EXPECT_TRUE(t.hwndTrack == probe.m_hWnd && t.dwFlags == (TME_HOVER | TME_LEAVE) && t.dwHoverTime == 10 &&
                t.cbSize == sizeof t);
    EXPECT_EQ(77 + 0x50000, (int)probe.OnHelpHitTest(0, 0));
}

// Each rest after a move is one hover, also while already hovering; leaving is one leave. Leave
// alone, set after fnStartEvent, gives leaves and no hover; without fnStartEvent nothing is reported.
TEST(MouseHoverWnd, OneHoverPerRestAndOneLeave) {
    for (int mode : {0, 1, 2}) {   // hover and leave, leave only, not started
        HoverProbe probe;
        ASSERT_TRUE(probe.create());
        if (mode < 2) { ASSERT_TRUE(probe.fnStartEvent()); }
        if (mode == 1) probe.SetMouseTrackEventFlags(TME_LEAVE);
        moveTo(probe.m_hWnd, 20, 15);
        EXPECT_EQ(mode == 0, waitFor([&] { return probe.hovers == 1 && probe.m_bMouseHover; }, mode ? 300 : 8000));
        pump(300);   // hover tracking ended with the message: resting longer adds nothing
        moveTo(probe.m_hWnd, 61, 33);
        EXPECT_EQ(mode == 0, waitFor([&] { return probe.hovers == 2; }, mode ? 300 : 8000)) << mode;
        moveAway();
        EXPECT_EQ(mode < 2, waitFor([&] { return probe.leaves == 1 && !probe.m_bMouseHover; }, mode < 2 ? 8000 : 300));
        pump(200);
        EXPECT_TRUE(probe.leaves == (mode < 2) && probe.hovers == (mode ? 0 : 2)) << mode;
        if (mode == 0) continue;
        // Back in and out: the request ended with the leave and is made again by the first move.
        moveTo(probe.m_hWnd, 40, 20);
        ASSERT_TRUE(waitFor([&] { return probe.m_ptMouse.x == 40 && probe.m_ptMouse.y == 20; }));
        moveAway();
        EXPECT_EQ(mode < 2, waitFor([&] { return probe.leaves == 2; }, mode < 2 ? 8000 : 300)) << mode;
        EXPECT_EQ(0, probe.hovers);
    }
}

}  // namespace
