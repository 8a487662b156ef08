// Every handler shape of the message-map entries, fed with real messages.
#include <gtest/gtest.h>
#include <afxwin.h>
#include "support.h"
#include <vector>

using fwtest::pump;

namespace {

struct Seen {
    std::vector<UINT> order;
    UINT a = 0, b = 0, c = 0;
    CPoint pt;
    CWnd* wnd = nullptr;
    HDC dc = nullptr;
};

class AllShapes : public CWnd {
public:
    Seen s;
    UINT dlgCode = DLGC_WANTALLKEYS;
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        s.order.push_back(WM_PAINT);
        s.dc = dc.m_hDC;
    }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        s.order.push_back(WM_ERASEBKGND);
        s.dc = pDC->GetSafeHdc();
        return TRUE;
    }
    afx_msg void OnMove(int x, int y) { s.pt = CPoint(x, y); }
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus) {
        s.a = bShow;
        s.b = nStatus;
    }
    afx_msg void OnLButtonUp(UINT f, CPoint p) { mouse(WM_LBUTTONUP, f, p); }
    afx_msg void OnLButtonDblClk(UINT f, CPoint p) { mouse(WM_LBUTTONDBLCLK, f, p); }
    afx_msg void OnRButtonDown(UINT f, CPoint p) { mouse(WM_RBUTTONDOWN, f, p); }
    afx_msg void OnRButtonUp(UINT f, CPoint p) { mouse(WM_RBUTTONUP, f, p); }
    afx_msg void OnMouseMove(UINT f, CPoint p) { mouse(WM_MOUSEMOVE, f, p); }
    afx_msg void OnMouseHover(UINT f, CPoint p) { mouse(WM_MOUSEHOVER, f, p); }
    afx_msg void OnMouseLeave() { s.order.push_back(WM_MOUSELEAVE); }
    afx_msg void OnKeyUp(UINT c, UINT r, UINT f) { key(WM_KEYUP, c, r, f); }
    afx_msg void OnChar(UINT c, UINT r, UINT f) { key(WM_CHAR, c, r, f); }
    afx_msg void OnSysKeyDown(UINT c, UINT r, UINT f) { key(WM_SYSKEYDOWN, c, r, f); }
    afx_msg void OnEnable(BOOL e) {
        s.order.push_back(WM_ENABLE);
        s.a = e;
    }
    afx_msg void OnCancelMode() { s.order.push_back(WM_CANCELMODE); }
    afx_msg void OnWindowPosChanging(WINDOWPOS* wp) {
        CWnd::OnWindowPosChanging(wp);
        wp->cx = 123;   // the window keeps a fixed width
    }
    afx_msg void OnWindowPosChanged(WINDOWPOS* wp) {
        CWnd::OnWindowPosChanged(wp);
        s.c = (UINT)wp->cx;
    }
    afx_msg UINT OnGetDlgCode() { return dlgCode; }
    afx_msg BOOL OnSetCursor(CWnd* w, UINT hit, UINT msg) {
        s.wnd = w;
        s.a = hit;
        s.b = msg;
        return TRUE;
    }
    afx_msg LRESULT OnNcHitTest(CPoint p) {
        s.pt = p;
        return HTCAPTION;
    }
    afx_msg void OnCaptureChanged(CWnd* w) {
        s.order.push_back(WM_CAPTURECHANGED);
        s.wnd = w;
    }
    afx_msg void OnContextMenu(CWnd* w, CPoint p) {
        s.wnd = w;
        s.pt = p;
    }
    afx_msg void OnDestroy() {
        s.order.push_back(WM_DESTROY);
        CWnd::OnDestroy();
    }
    afx_msg void OnCommandFive() { s.order.push_back(WM_COMMAND); }
    afx_msg void OnEditChange() { s.order.push_back(EN_CHANGE); }

    void mouse(UINT msg, UINT f, CPoint p) {
        s.order.push_back(msg);
        s.a = f;
        s.pt = p;
    }
    void key(UINT msg, UINT c, UINT r, UINT f) {
        s.order.push_back(msg);
        s.a = c;
        s.b = r;
        s.c = f;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(AllShapes, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOVE()
    ON_WM_SHOWWINDOW()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEHOVER()
    ON_WM_MOUSELEAVE()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_WM_SYSKEYDOWN()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_GETDLGCODE()
    ON_WM_SETCURSOR()
    ON_WM_NCHITTEST()
    ON_WM_CAPTURECHANGED()
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
    ON_COMMAND(5, OnCommandFive)
    ON_EN_CHANGE(6, OnEditChange)
END_MESSAGE_MAP()

class OwnerDrawn : public CButton {
public:
    int drawn = 0;
    UINT itemId = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        ++drawn;
        itemId = dis->CtlID;
        CDC* dc = CDC::FromHandle(dis->hDC);
        dc->FillSolidRect(&dis->rcItem, RGB(200, 0, 0));
    }
};

class MeasuredItem : public CWnd {
public:
    UINT measured = 0;
    afx_msg void MeasureItem(LPMEASUREITEMSTRUCT mis) {
        measured = mis->CtlID;
        mis->itemHeight = 31;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MeasuredItem, CWnd)
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

}  // namespace

TEST(FrameworkCrack, EveryHandlerShapeGetsItsArguments) {
    AllShapes w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"all", WS_POPUP, 20, 30, 100, 60, nullptr, nullptr));
    AllShapes other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, L"other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));

    w.ShowWindow(SW_SHOWNOACTIVATE);   // activation would make Wine's unmap slow without a window manager
    EXPECT_EQ(1u, w.s.a);   // OnShowWindow(TRUE, 0)
    EXPECT_EQ(0u, w.s.b);
    w.UpdateWindow();
    pump();
    EXPECT_NE(w.s.order.end(), std::find(w.s.order.begin(), w.s.order.end(), (UINT)WM_PAINT));

    w.s.order.clear();
    PostMessageW(w, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(1, 2));
    PostMessageW(w, WM_LBUTTONDBLCLK, 0, MAKELPARAM(3, 4));
    PostMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6));
    PostMessageW(w, WM_RBUTTONUP, 0, MAKELPARAM(7, 8));
    PostMessageW(w, WM_MOUSEHOVER, 0, MAKELPARAM(9, 10));
    PostMessageW(w, WM_MOUSELEAVE, 0, 0);
    PostMessageW(w, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(-1, -2));
    pump();
    EXPECT_EQ((std::vector<UINT>{WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEHOVER,
                                 WM_MOUSELEAVE, WM_MOUSEMOVE}),
              w.s.order);
    EXPECT_EQ((UINT)MK_MBUTTON, w.s.a);
    EXPECT_EQ(CPoint(-1, -2), w.s.pt);

    w.SendMessage(WM_CHAR, L'z', MAKELPARAM(2, 0x8001));
    EXPECT_EQ((UINT)L'z', w.s.a);
    EXPECT_EQ(2u, w.s.b);
    EXPECT_EQ(0x8001u, w.s.c);
    w.SendMessage(WM_SYSKEYDOWN, VK_F10, MAKELPARAM(1, 0x2000));
    EXPECT_EQ((UINT)VK_F10, w.s.a);
    EXPECT_EQ(0x2000u, w.s.c);

    w.EnableWindow(FALSE);
    EXPECT_EQ(0u, w.s.a);
    EXPECT_FALSE(w.IsWindowEnabled());
    w.EnableWindow(TRUE);
    EXPECT_EQ(1u, w.s.a);
    w.SendMessage(WM_CANCELMODE);
    EXPECT_EQ((UINT)WM_CANCELMODE, w.s.order.back());

    // A handler that edits WINDOWPOS before the default handling applies.
    w.SetWindowPos(nullptr, 40, 50, 300, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect wr;
    w.GetWindowRect(wr);
    EXPECT_EQ(123, wr.Width());
    EXPECT_EQ(123u, w.s.c);
    CRect cr;
    w.GetClientRect(cr);
    CPoint origin(0, 0);
    w.ClientToScreen(&origin);
    EXPECT_EQ(origin, w.s.pt);   // OnMove gets the client area's origin

    EXPECT_EQ((LRESULT)DLGC_WANTALLKEYS, w.SendMessage(WM_GETDLGCODE));
    EXPECT_EQ((LRESULT)HTCAPTION, w.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(-300, 20)));
    EXPECT_EQ(CPoint(-300, 20), w.s.pt);   // screen coordinates may be negative
    EXPECT_EQ(TRUE, w.SendMessage(WM_SETCURSOR, (WPARAM)other.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(&other, w.s.wnd);
    EXPECT_EQ((UINT)HTCLIENT, w.s.a);
    EXPECT_EQ((UINT)WM_MOUSEMOVE, w.s.b);
    w.SendMessage(WM_CONTEXTMENU, (WPARAM)other.m_hWnd, MAKELPARAM(11, 12));
    EXPECT_EQ(&other, w.s.wnd);
    EXPECT_EQ(CPoint(11, 12), w.s.pt);

    w.SetCapture();
    EXPECT_EQ(&w, CWnd::GetCapture());
    other.SetCapture();
    EXPECT_EQ((UINT)WM_CAPTURECHANGED, w.s.order.back());
    EXPECT_EQ(&other, w.s.wnd);   // the window taking the capture
    CWnd::ReleaseCapture();

    CClientDC dc(&w);
    EXPECT_EQ(TRUE, w.SendMessage(WM_ERASEBKGND, (WPARAM)dc.m_hDC));
    EXPECT_EQ(dc.m_hDC, w.s.dc);

    w.SendMessage(WM_COMMAND, MAKEWPARAM(5, 0), 0);   // a menu command
    w.SendMessage(WM_COMMAND, MAKEWPARAM(5, 1), 0);   // the same from an accelerator
    w.SendMessage(WM_COMMAND, MAKEWPARAM(6, EN_CHANGE), (LPARAM)other.m_hWnd);
    w.SendMessage(WM_COMMAND, MAKEWPARAM(6, EN_UPDATE), (LPARAM)other.m_hWnd);   // no entry
    EXPECT_EQ((std::vector<UINT>{WM_COMMAND, WM_COMMAND, EN_CHANGE}),
              std::vector<UINT>(w.s.order.end() - 3, w.s.order.end()));

    w.DestroyWindow();
    EXPECT_EQ((UINT)WM_DESTROY, w.s.order.back());
    AfxDeleteTempMap();
}

TEST(FrameworkCrack, OwnerDrawingIsReflectedToTheControl) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    OwnerDrawn button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 40), &parent, 21));
    button.Invalidate();
    button.UpdateWindow();
    pump();
    EXPECT_GE(button.drawn, 1);
    EXPECT_EQ(21u, button.itemId);
    CClientDC dc(&button);
    EXPECT_EQ(RGB(200, 0, 0), dc.GetPixel(5, 5));

    MeasuredItem item;
    ASSERT_TRUE(item.Create(nullptr, L"m", 0, CRect(0, 0, 5, 5), &parent, 22));
    MEASUREITEMSTRUCT mis = {ODT_LISTBOX, 22, 0, 0, 0, 0};
    EXPECT_EQ(TRUE, parent.SendMessage(WM_MEASUREITEM, 22, (LPARAM)&mis));
    EXPECT_EQ(22u, item.measured);
    EXPECT_EQ(31u, mis.itemHeight);
}

TEST(FrameworkCrack, DynamicCreationOfWindows) {
    CObject* obj = RUNTIME_CLASS(CWnd)->CreateObject();
    ASSERT_NE(nullptr, obj);
    CWnd* w = static_cast<CWnd*>(obj);
    ASSERT_TRUE(w->CreateEx(0, nullptr, L"dyn", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP, 100, 100, 400, 300, nullptr, nullptr));
    owner.ShowWindow(SW_SHOWNOACTIVATE);
    w->SetOwner(&owner);
    w->CenterWindow();
    CRect r;
    w->GetWindowRect(r);
    EXPECT_EQ(CPoint(300, 250), r.CenterPoint());
    EXPECT_EQ(&owner, w->GetTopLevelOwner());
    delete w;   // takes its window along
    EXPECT_EQ(nullptr, owner.GetWindow(GW_ENABLEDPOPUP));
}
