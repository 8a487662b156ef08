// The card tooltip on real windows: its size from a multi-line text, its place below right of the
// cursor or pushed in from the right and bottom screen edges, and its paint.
#include <gtest/gtest.h>
#include "qvToolTipCtrl.h"
#include "tipsupport.h"

using namespace tiptest;

namespace {
const wchar_t kLines[] = L"In point\r\nA longer second line of text\n";

class Card : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(1, card.fnCreate(CWnd::FromHandle(host())));
        card.SetDelayTime(TTDT_INITIAL, 50);
        card.SetDelayTime(TTDT_AUTOPOP, 60000);
        // The wider line's extent and one line's height in the default font.
        const RECT wide = measureText(L"A longer second line of text", 0, 0, DT_SINGLELINE | DT_NOPREFIX);
        block = {wide.right, wide.bottom};
    }
    // Moves onto the point (the control watches the tool itself) and waits for the card.
    bool showAt(int x, int y) {
        card.Pop();
        if (!moveMouse(x, y)) return ADD_FAILURE() << "pointer not at " << x << "," << y, false;
        return pumpUntil(nullptr, 15000, [&] { return card.IsWindowVisible() != FALSE; });
    }
    RECT windowRect() {
        RECT r;
        card.GetWindowRect(&r);
        return r;
    }
    qvCToolTipCtrl card;
    SIZE block = {};
};

TEST_F(Card, SizedFromItsLinesBelowRightOfTheCursorAndPainted) {
    EXPECT_STREQ("qvCToolTipCtrl", card.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(card.IsKindOf(RUNTIME_CLASS(CToolTipCtrl)));
    ASSERT_TRUE(card.AddWindowTool(CWnd::FromHandle(tool()), kLines));
    POINT c = toolCentre();
    ASSERT_TRUE(showAt(c.x - 7, c.y + 3));
    pumpFor(nullptr, 100);
    // Three lines: the trailing line feed counts an empty one.
    const int w = block.cx + 10, h = block.cy * 3 + 6;
    const RECT want = {c.x - 7, c.y + 3 + 22, c.x - 7 + 30 + w, c.y + 3 + 22 + h};
    RECT got = windowRect();
    EXPECT_TRUE(EqualRect(&got, &want)) << describe(got) << " want " << describe(want);

    ScreenShot shot(got);
    EXPECT_EQ(RGB(0x4D, 0x63, 0x8F), shot.at(got.left, got.top));            // frame
    EXPECT_EQ(RGB(0x4D, 0x63, 0x8F), shot.at(got.right - 1, got.bottom - 1));
    EXPECT_EQ(RGB(0x5A, 0x6E, 0x97), shot.at(got.left + 1, got.top + 1));    // strip
    EXPECT_EQ(RGB(0x5A, 0x6E, 0x97), shot.at(got.left + 19, got.bottom - 2));
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), shot.at(got.left + 25, got.bottom - 2)); // card
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), shot.at(got.right - 2, got.bottom - 2));
    const int midY = (got.top + got.bottom) / 2;
    RECT icon = {got.left + 2, midY - 8, got.left + 18, midY + 8};
    EXPECT_LT(shot.count(icon, RGB(0x5A, 0x6E, 0x97)), 16 * 16 / 2);          // the icon covers the strip
    RECT text = {got.left + 31, got.top + 2, got.right - 1, got.bottom - 1};
    EXPECT_GT(shot.count(text, RGB(0, 0, 0)), 10);
}

TEST_F(Card, PushedInFromTheRightAndBottomScreenEdges) {
    const int sw = GetSystemMetrics(SM_CXFULLSCREEN);
    // The pointer stays on the screen (Wine reports a full-screen height beyond it).
    const int x = GetSystemMetrics(SM_CXSCREEN) - 6, y = GetSystemMetrics(SM_CYSCREEN) - 4;
    // A tool window in the screen's bottom-right corner.
    HWND corner = CreateWindowExW(WS_EX_TOOLWINDOW, L"TipTestHost", L"", WS_POPUP, x - 54, y - 46, 60, 50,
                                  host(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(corner, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(card.AddRectTool(CWnd::FromHandle(corner), kLines, CRect(0, 0, 60, 50), 5));
    ASSERT_TRUE(showAt(x, y));
    const int w = block.cx + 10, h = block.cy * 3 + 6;
    RECT got = windowRect();
    ASSERT_GT(y + h, GetSystemMetrics(SM_CYFULLSCREEN));   // no room below
    const RECT want = {sw - 25 - 30 - w, y - h, sw - 25, y};
    EXPECT_TRUE(EqualRect(&got, &want)) << describe(got) << " want " << describe(want);
    card.DelTool(CWnd::FromHandle(corner), 5);
    DestroyWindow(corner);
}
}  // namespace
