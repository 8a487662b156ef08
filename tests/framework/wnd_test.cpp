// Windows of the framework: message maps, cracked handlers, reflection, subclassing, the handle map.
#include <gtest/gtest.h>
#include <afxwin.h>
#include <vector>

namespace {

struct Log {
    std::vector<UINT> messages;
};

class BaseWnd : public CWnd {
public:
    int created = 0;
    CPoint lastDown{-1, -1};
    UINT lastFlags = 0;
    int baseSizeCalls = 0;
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        ++created;
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
        lastFlags = nFlags;
        lastDown = point;
    }
    afx_msg void OnSize(UINT, int, int) { ++baseSizeCalls; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_SIZE()
END_MESSAGE_MAP()

class DerivedWnd : public BaseWnd {
public:
    int sizeCx = -1, sizeCy = -1;
    UINT key = 0, repeat = 0, keyFlags = 0;
    afx_msg void OnSize(UINT, int cx, int cy) {
        sizeCx = cx;
        sizeCy = cy;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
        key = nChar;
        repeat = nRepCnt;
        keyFlags = nFlags;
    }
    afx_msg LRESULT OnCustom(WPARAM wp, LPARAM lp) { return (LRESULT)(wp * 1000 + lp); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
    ON_WM_SIZE()
    ON_WM_KEYDOWN()
    ON_MESSAGE(WM_APP + 7, OnCustom)
END_MESSAGE_MAP()

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

TEST(FrameworkWnd, MapLookupWalksBaseChainAndCracksArguments) {
    DerivedWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr));
    EXPECT_EQ(1, w.created);   // WM_CREATE reached the base class's entry
    EXPECT_EQ(&w, CWnd::FromHandlePermanent(w.m_hWnd));

    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 42));
    PostMessageW(w, WM_KEYDOWN, 'Q', MAKELPARAM(3, 0x1234));
    pump();
    EXPECT_EQ(CPoint(-5, 42), w.lastDown);
    EXPECT_EQ((UINT)(MK_LBUTTON | MK_SHIFT), w.lastFlags);
    EXPECT_EQ((UINT)'Q', w.key);
    EXPECT_EQ(3u, w.repeat);
    EXPECT_EQ(0x1234u, w.keyFlags);

    // The derived entry wins over the base's for the same message.
    w.MoveWindow(0, 0, 150, 70);
    EXPECT_EQ(0, w.baseSizeCalls);
    CRect rc;
    w.GetClientRect(rc);
    EXPECT_EQ(rc.Width(), w.sizeCx);
    EXPECT_EQ(rc.Height(), w.sizeCy);
    EXPECT_EQ(3004, w.SendMessage(WM_APP + 7, 3, 4));

    HWND h = w.m_hWnd;
    EXPECT_TRUE(w.DestroyWindow());
    EXPECT_EQ(nullptr, w.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
}
