// The button under real pointer input and the host's message loop: hover and leave, press and
// release, double-clicks, the check mode, focus and Enter.
#include "buttontest.h"
#include <algorithm>

using namespace buttontest;

namespace {
const RECT kCellRect = {60, 120, 80, 134};   // one cell of the test strip

COLORREF bodyColour(HWND b) { return screenPixel(b, 8, 6); }

size_t clicks(const RecordingParent& p, HWND from) {
    return std::count_if(p.commands.begin(), p.commands.end(),
                         [&](const Command& c) { return c.code == BN_CLICKED && c.id == ButtonProbe::kId && c.from == from; });
}

// A rest is one WM_MOUSEHOVER and one repaint to the hover cell, another rest another message
// but no repaint; pressed while down, one BN_CLICKED on release, the normal cell after leaving;
// losing the focus while pressed clears the pressed state.
TEST(ButtonInput, HoverPressReleaseLeaveAndFocusLoss) {
    ButtonProbe b;
    ASSERT_TRUE(b.make(L"", kCellRect) && b.useCells() == 1);
    RecordingParent& parent = RecordingParent::get();
    moveTo(b.m_hWnd, 9, 6);
    ASSERT_TRUE(waitFor([&] { return b.m_bHover == 1; }, 900));   // well before a second's rest
    const int paintsAtHover = b.paints;
    pump(300);
    EXPECT_TRUE(b.hoverMessages == 1 && bodyColour(b.m_hWnd) == kCellColours[3]);
    moveTo(b.m_hWnd, 12, 7);
    ASSERT_TRUE(waitFor([&] { return b.hoverMessages == 2; }));
    pump(100);
    EXPECT_EQ(paintsAtHover, b.paints);
    buttonDown();
    ASSERT_TRUE(waitFor([&] { return b.m_bPressed == 1; }));
    EXPECT_TRUE(bodyColour(b.m_hWnd) == kCellColours[1] && parent.commands.empty());
    buttonUp();
    ASSERT_TRUE(waitFor([&] { return clicks(parent, b.m_hWnd) == 1; }));
    EXPECT_EQ(kCellColours[3], bodyColour(b.m_hWnd));
    moveAway();
    ASSERT_TRUE(waitFor([&] { return b.m_bHover == 0; }));
    EXPECT_TRUE(bodyColour(b.m_hWnd) == kCellColours[0] && parent.commands.size() == 1);
    b.SetFocus(), b.m_bPressed = 1, b.repaint();
    parent.SetFocus();
    EXPECT_TRUE(b.m_bPressed == 0 && bodyColour(b.m_hWnd) == kCellColours[0]);
}

// A double-click is one click unless the button asks for double-clicks: then the standard
// button sees the second press too.
TEST(ButtonInput, DoubleClickWithAndWithoutTheFlag) {
    for (int need = 0; need < 2; ++need) {
        ButtonProbe b;
        ASSERT_TRUE(b.make(L"", kCellRect) && b.useCells() == 1);
        b.fnNeedDBClick(need);
        RecordingParent& parent = RecordingParent::get();
        moveTo(b.m_hWnd, 9, 6);
        INPUT in[4] = {};
        for (int i = 0; i < 4; ++i) in[i].type = INPUT_MOUSE, in[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        ASSERT_EQ(4u, SendInput(4, in, sizeof(INPUT)));
        ASSERT_TRUE(waitFor([&] { return clicks(parent, b.m_hWnd) == (size_t)(1 + need); })) << "need " << need;
        pump(300);
        EXPECT_TRUE(clicks(parent, b.m_hWnd) == (size_t)(1 + need) && b.m_bPressed == 0) << "need " << need;
        moveAway(), waitFor([&] { return b.m_bHover == 0; });
    }
}

// fnInit(1) at the first initialisation makes a toggle: a click checks it, and it keeps the
// pressed cell under the pointer and after leaving; a second click unchecks it.
TEST(ButtonInput, CheckButtonTogglesAndKeepsItsPressedCell) {
    ButtonProbe b;
    RecordingParent& parent = RecordingParent::get();
    ASSERT_TRUE(b.CButton::Create(L"", WS_CHILD | WS_VISIBLE, kCellRect, &parent, ButtonProbe::kId));
    ASSERT_TRUE(b.fnInit(1) == 1 && b.useCells() == 1);
    moveTo(b.m_hWnd, 9, 6);
    ASSERT_TRUE(waitFor([&] { return b.m_bHover == 1; }));
    buttonDown(), buttonUp();
    ASSERT_TRUE(waitFor([&] { return clicks(parent, b.m_hWnd) == 1; }));
    EXPECT_EQ(BST_CHECKED, b.GetCheck());
    const int paints = b.paints;
    moveTo(b.m_hWnd, 13, 8);   // rest and leave: no repaint, still the pressed cell
    ASSERT_TRUE(waitFor([&] { return b.hoverMessages >= 2; }));
    moveAway();
    ASSERT_TRUE(waitFor([&] { return b.m_bHover == 0; }));
    pump(100);
    EXPECT_TRUE(paints == b.paints && bodyColour(b.m_hWnd) == kCellColours[1]);
    testutil::clickAt(b.m_hWnd, 17, 10);   // away from the first click, so no double-click
    ASSERT_TRUE(waitFor([&] { return clicks(parent, b.m_hWnd) == 2; }));
    EXPECT_EQ(BST_UNCHECKED, b.GetCheck());
    moveAway();
    ASSERT_TRUE(waitFor([&] { return b.m_bHover == 0 && bodyColour(b.m_hWnd) == kCellColours[0]; }));
    b.SetCheck(BST_CHECKED);   // checking from the host repaints too
    EXPECT_EQ(kCellColours[1], bodyColour(b.m_hWnd));
}

// Enter through the loop's pre-translation: with a caption one BN_CLICKED and the key is
// consumed; without one nothing is sent and the key reaches the button.
TEST(ButtonInput, EnterIsOneClickOnlyWithACaption) {
    for (const wchar_t* caption : {L"Play", L""}) {
        ButtonProbe b;
        ASSERT_TRUE(b.make(caption, {60, 150, 140, 176}));
        RecordingParent& parent = RecordingParent::get();
        ::SetForegroundWindow(parent.m_hWnd);
        b.SetFocus();
        ASSERT_EQ(b.m_hWnd, ::GetFocus());
        PostMessageW(b.m_hWnd, WM_KEYDOWN, VK_RETURN, 1 | (MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC) << 16));
        pump(150);
        const size_t want = caption[0] ? 1 : 0;
        EXPECT_TRUE(clicks(parent, b.m_hWnd) == want && parent.commands.size() == want) << want;
        EXPECT_EQ(1 - (int)want, b.keyDowns);
        parent.SetFocus();   // without the focus Enter is not the button's
        PostMessageW(b.m_hWnd, WM_KEYDOWN, VK_RETURN, 1), pump(100);
        EXPECT_EQ(want, parent.commands.size());
    }
}

}  // namespace
