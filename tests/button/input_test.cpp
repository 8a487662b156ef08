// The button under real pointer input and the host's message loop: hover and leave, press and
// release, double-clicks, the check mode, and Enter.
#include "buttontest.h"

using namespace buttontest;

namespace {

const RECT kCellRect = {60, 120, 80, 134};   // one cell of the test strip

COLORREF bodyColour(HWND b) { return screenPixel(b, 8, 6); }

size_t clicks(const RecordingParent& p, HWND from) {
    size_t n = 0;
    for (const Command& c : p.commands) n += c.code == BN_CLICKED && c.id == ButtonProbe::kId && c.from == from;
    return n;
}

// A rest is one WM_MOUSEHOVER and one repaint to the hover cell, another rest another message
// but no repaint; pressed while down, one BN_CLICKED on release, the normal cell after leaving.
TEST(ButtonInput, HoverPressReleaseAndLeave) {
    ButtonProbe b;
    ASSERT_TRUE(b.make(L"", kCellRect));
    ASSERT_EQ(1, b.useCells());
    RecordingParent& parent = RecordingParent::get();
    moveTo(b.m_hWnd, 9, 6);
    ASSERT_TRUE(waitFor([&] { return b.m_bHover == 1; }));
    const int paintsAtHover = b.paints;
    pumpFor(300);
    EXPECT_EQ(1, b.hoverMessages);
    EXPECT_EQ(kCellColours[3], bodyColour(b.m_hWnd));
    moveTo(b.m_hWnd, 12, 7);
    ASSERT_TRUE(waitFor([&] { return b.hoverMessages == 2; }));
    pumpFor(100);
    EXPECT_EQ(paintsAtHover, b.paints);

    leftDown();
    ASSERT_TRUE(waitFor([&] { return b.m_bPressed == 1; }));
    EXPECT_EQ(kCellColours[1], bodyColour(b.m_hWnd));
    EXPECT_TRUE(parent.commands.empty());
    leftUp();
    ASSERT_TRUE(waitFor([&] { return clicks(parent, b.m_hWnd) == 1; }));
    EXPECT_EQ(kCellColours[3], bodyColour(b.m_hWnd));
    moveAway();
    ASSERT_TRUE(waitFor([&] { return b.m_bHover == 0; }));
    EXPECT_EQ(kCellColours[0], bodyColour(b.m_hWnd));
    EXPECT_EQ(1u, parent.commands.size());
}

// A double-click is one click unless the button asks for double-clicks: then the standard
// button sees the second press too.
TEST(ButtonInput, DoubleClickWithAndWithoutTheFlag) {
    for (int need = 0; need < 2; ++need) {
        ButtonProbe b;
        ASSERT_TRUE(b.make(L"", kCellRect));
        ASSERT_EQ(1, b.useCells());
        b.fnNeedDBClick(need);
        RecordingParent& parent = RecordingParent::get();
        moveTo(b.m_hWnd, 9, 6);
        INPUT in[4] = {};
        for (int i = 0; i < 4; ++i) {
            in[i].type = INPUT_MOUSE;
            in[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        }
        ASSERT_EQ(4u, SendInput(4, in, sizeof(INPUT)));
        ASSERT_TRUE(waitFor([&] { return clicks(parent, b.m_hWnd) == (size_t)(1 + need); })) << "need " << need;
        pumpFor(300);
        EXPECT_EQ((size_t)(1 + need), clicks(parent, b.m_hWnd)) << "need " << need;
        EXPECT_EQ(0, b.m_bPressed);
        moveAway();
        waitFor([&] { return b.m_bHover == 0; });
    }
}

// fnInit(1) at the first initialisation makes a toggle: a click checks it, and it keeps the
// pressed cell under the pointer and after leaving; a second click unchecks it. fnInit(1) on a
// button that Create initialised changes nothing.
TEST(ButtonInput, CheckButtonTogglesAndKeepsItsPressedCell) {
    {
        ButtonProbe pushed;
        ASSERT_TRUE(pushed.make(L"", kCellRect));
        EXPECT_EQ(1, pushed.fnInit(1));
        EXPECT_EQ((DWORD)BS_PUSHBUTTON, pushed.GetStyle() & BS_TYPEMASK);
    }
    ButtonProbe b;
    RecordingParent& parent = RecordingParent::get();
    ASSERT_TRUE(b.CButton::Create(L"", WS_CHILD | WS_VISIBLE, kCellRect, &parent, ButtonProbe::kId));
    ASSERT_EQ(1, b.fnInit(1));
    EXPECT_EQ((DWORD)BS_AUTOCHECKBOX, b.GetStyle() & BS_TYPEMASK);
    ASSERT_EQ(1, b.useCells());

    moveTo(b.m_hWnd, 9, 6);
    ASSERT_TRUE(waitFor([&] { return b.m_bHover == 1; }));
    leftDown();
    leftUp();
    ASSERT_TRUE(waitFor([&] { return clicks(parent, b.m_hWnd) == 1; }));
    EXPECT_EQ(BST_CHECKED, b.GetCheck());
    EXPECT_EQ(kCellColours[1], bodyColour(b.m_hWnd));
    // Rest and leave: no repaint, still the pressed cell.
    const int paints = b.paints;
    moveTo(b.m_hWnd, 13, 8);
    ASSERT_TRUE(waitFor([&] { return b.hoverMessages >= 2; }));
    moveAway();
    ASSERT_TRUE(waitFor([&] { return b.m_bHover == 0; }));
    pumpFor(100);
    EXPECT_EQ(paints, b.paints);
    EXPECT_EQ(kCellColours[1], bodyColour(b.m_hWnd));

    // Away from the first click, so the two presses do not make a double-click.
    moveTo(b.m_hWnd, 17, 10);
    leftDown();
    leftUp();
    ASSERT_TRUE(waitFor([&] { return clicks(parent, b.m_hWnd) == 2; }));
    EXPECT_EQ(BST_UNCHECKED, b.GetCheck());
    moveAway();
    ASSERT_TRUE(waitFor([&] { return b.m_bHover == 0 && bodyColour(b.m_hWnd) == kCellColours[0]; }));
    // Checking from the host repaints too.
    const int before = b.paints;
    b.SetCheck(BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, b.GetCheck());
    EXPECT_LT(before, b.paints);
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
        pumpFor(150);
        const bool hasCaption = caption[0] != 0;
        EXPECT_EQ(hasCaption ? 1u : 0u, clicks(parent, b.m_hWnd)) << (hasCaption ? "caption" : "no caption");
        EXPECT_EQ(hasCaption ? 1u : 0u, parent.commands.size());
        EXPECT_EQ(hasCaption ? 0 : 1, b.keyDowns);
        // Without the focus Enter is not the button's.
        parent.SetFocus();
        PostMessageW(b.m_hWnd, WM_KEYDOWN, VK_RETURN, 1);
        pumpFor(100);
        EXPECT_EQ(hasCaption ? 1u : 0u, parent.commands.size());
    }
}

// Losing the focus while pressed clears the pressed state.
TEST(ButtonInput, FocusLossClearsPressed) {
    ButtonProbe b;
    ASSERT_TRUE(b.make(L"", kCellRect));
    ASSERT_EQ(1, b.useCells());
    b.SetFocus();
    b.m_bPressed = 1;
    b.repaint();
    EXPECT_EQ(kCellColours[1], bodyColour(b.m_hWnd));
    RecordingParent::get().SetFocus();
    EXPECT_EQ(0, b.m_bPressed);
    EXPECT_EQ(kCellColours[0], bodyColour(b.m_hWnd));
}

}  // namespace
