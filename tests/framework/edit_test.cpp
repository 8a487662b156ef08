// Edit boxes on the system edit class: where points fall and where text lies, with a font and
// margins whose sizes differ so swapped words show.
#include <gtest/gtest.h>
#include <afxwin.h>

TEST(FrameworkEdit, PositionsMarginsAndFormattingRectangle) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, 0, 0, 300, 120, nullptr, nullptr));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(5, 5, 245, 95), &parent, 3));
    edit.SendMessage(WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 0);
    edit.SetMargins(3, 11);
    EXPECT_EQ(MAKELONG(3, 11), (LONG)edit.GetMargins());
    CRect client, format;
    edit.GetClientRect(&client);
    edit.GetRect(&format);
    EXPECT_EQ(client.left + 3, format.left);
    EXPECT_EQ(client.right - 11, format.right);
    edit.GetRect(nullptr);   // refused, not sent

    edit.SetWindowText(L"first line\r\nfirst");
    // Character 4 of the second line (index 12 + 4) lies under the first line's 4th.
    CPoint onFirst = edit.PosFromChar(4), onSecond = edit.PosFromChar(16);
    EXPECT_EQ(onFirst.x, onSecond.x);
    EXPECT_GT(onFirst.x, format.left);
    EXPECT_GT(onSecond.y, onFirst.y);
    int hit = edit.CharFromPos(CPoint(onSecond.x + 1, onSecond.y + 2));
    EXPECT_EQ(16, LOWORD(hit));
    EXPECT_EQ(1, HIWORD(hit));
}
