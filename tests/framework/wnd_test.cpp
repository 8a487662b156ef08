// Windows of the framework: message maps and cracked handlers, reflection, subclassing, the handle
// map, creation through system classes and the pre-translation walk.
#include <gtest/gtest.h>
#include <afxcmn.h>
#include "qToolTipDVDUser.h"
#include "testutil.h"
#include <algorithm>
#include <array>
#include <vector>

namespace {
// A window procedure outside the framework: answers WM_APP + 1 with 77.
LRESULT CALLBACK plainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return msg == WM_APP + 1 ? 77 : DefWindowProcW(h, msg, wp, lp);
}
HWND createPlain(HWND parent = nullptr, DWORD style = WS_POPUP) {
    WNDCLASSW wc = {0, plainProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"FwTestPlain"};
    AfxRegisterClass(&wc);
    return CreateWindowExW(0, L"FwTestPlain", L"plain", style, 0, 0, 100, 80, parent, nullptr, wc.hInstance, nullptr);
}

std::vector<CWnd*> g_translated;   // windows whose PreTranslateMessage ran, in order
// One handled message (or kBaseSize / kPreSubclass): its number, then what the handler was given.
using Rec = std::array<INT_PTR, 5>;
enum : UINT { kBaseSize = WM_USER, kPreSubclass };

class BaseWnd : public CWnd {
public:
    std::vector<Rec> log;
    int createAnswer = 0;   // -1 refuses the creation
    UINT eat = 0;           // key PreTranslateMessage consumes
    BOOL rec(UINT msg, INT_PTR a = 0, INT_PTR b = 0, INT_PTR c = 0, INT_PTR d = 0) {
        log.push_back({(INT_PTR)msg, a, b, c, d});
        return TRUE;
    }
    Rec last(UINT msg) const {   // all zero when the message was not seen
        auto it = std::find_if(log.rbegin(), log.rend(), [msg](const Rec& r) { return r[0] == (INT_PTR)msg; });
        return it == log.rend() ? Rec{} : *it;
    }
    int count(UINT msg) const { return (int)std::count_if(log.begin(), log.end(), [msg](const Rec& r) { return r[0] == (INT_PTR)msg; }); }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        g_translated.push_back(this);
        return pMsg->message == WM_KEYDOWN && pMsg->wParam == eat;
    }
    void PreSubclassWindow() override { rec(kPreSubclass); }
    afx_msg int OnCreate(LPCREATESTRUCT cs) { return rec(WM_CREATE), createAnswer ? createAnswer : CWnd::OnCreate(cs); }
    afx_msg void OnLButtonDown(UINT f, CPoint p) { rec(WM_LBUTTONDOWN, f, p.x, p.y); }
    afx_msg void OnSize(UINT, int, int) { rec(kBaseSize); }   // hidden by the derived class's entry
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
    ON_WM_CREATE() ON_WM_LBUTTONDOWN() ON_WM_SIZE()
END_MESSAGE_MAP()

// A handler of every shape the library uses; each records what it was given.
class Shapes : public BaseWnd {
public:
    afx_msg void OnPaint() { rec(WM_PAINT, (INT_PTR)CPaintDC(this).m_hDC); }
    afx_msg BOOL OnEraseBkgnd(CDC* dc) { return rec(WM_ERASEBKGND, (INT_PTR)dc->GetSafeHdc()); }
    afx_msg void OnSize(UINT, int cx, int cy) { rec(WM_SIZE, cx, cy); }
#define REC_POINT(fn, msg) afx_msg void fn(UINT f, CPoint p) { rec(msg, f, p.x, p.y); }
#define REC_KEY(fn, msg) afx_msg void fn(UINT c, UINT n, UINT f) { rec(msg, c, n, f); }
    REC_POINT(OnLButtonUp, WM_LBUTTONUP) REC_POINT(OnLButtonDblClk, WM_LBUTTONDBLCLK)
    REC_POINT(OnRButtonDown, WM_RBUTTONDOWN) REC_POINT(OnRButtonUp, WM_RBUTTONUP) REC_POINT(OnMouseMove, WM_MOUSEMOVE)
    REC_KEY(OnKeyDown, WM_KEYDOWN) REC_KEY(OnKeyUp, WM_KEYUP) REC_KEY(OnChar, WM_CHAR)
    afx_msg BOOL OnMouseWheel(UINT f, short delta, CPoint p) { return rec(WM_MOUSEWHEEL, f, delta, p.x, p.y); }
    afx_msg void OnEnable(BOOL enabled) { rec(WM_ENABLE, enabled); }  afx_msg void OnCancelMode() { rec(WM_CANCELMODE); }
    afx_msg void OnWindowPosChanging(WINDOWPOS* wp) { rec(WM_WINDOWPOSCHANGING, wp->cx); }
    afx_msg UINT OnGetDlgCode() { return DLGC_WANTALLKEYS; }
    afx_msg BOOL OnSetCursor(CWnd* w, UINT hit, UINT msg) { return rec(WM_SETCURSOR, (INT_PTR)w, hit, msg); }
    afx_msg void OnSetFocus(CWnd* old) { rec(WM_SETFOCUS, (INT_PTR)old); }
    afx_msg void OnKillFocus(CWnd* next) { rec(WM_KILLFOCUS, (INT_PTR)next); }
    afx_msg void OnTimer(UINT_PTR id) { rec(WM_TIMER, id); }  afx_msg void OnDestroy() { rec(WM_DESTROY), CWnd::OnDestroy(); }
    afx_msg LRESULT OnMine(WPARAM, LPARAM) { return 5; }  afx_msg LRESULT OnPassed(WPARAM, LPARAM) { return Default() + 1; }
    afx_msg LRESULT OnCustom(WPARAM wp, LPARAM lp) { return (LRESULT)(wp * 1000 + lp); }
    // As the parent of the reflection test's buttons.
    afx_msg void OnClicked11() { rec(WM_COMMAND, 11, BN_CLICKED); }
    afx_msg void OnDoubleClicked10() { rec(WM_COMMAND, 10, BN_DOUBLECLICKED); }
    afx_msg void OnNmClick(NMHDR* hdr, LRESULT* result) { *result = rec(WM_NOTIFY, hdr->idFrom) + 4; }
    afx_msg HBRUSH OnCtlColor(CDC*, CWnd* w, UINT type) {
        return rec(WM_CTLCOLOR, (INT_PTR)w, type) ? (HBRUSH)GetStockObject(GRAY_BRUSH) : nullptr;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Shapes, BaseWnd)
    ON_WM_PAINT() ON_WM_ERASEBKGND() ON_WM_SIZE()
    ON_WM_LBUTTONUP() ON_WM_LBUTTONDBLCLK() ON_WM_RBUTTONDOWN() ON_WM_RBUTTONUP() ON_WM_MOUSEMOVE() ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN() ON_WM_KEYUP() ON_WM_CHAR() ON_WM_ENABLE() ON_WM_CANCELMODE() ON_WM_WINDOWPOSCHANGING()
    ON_WM_GETDLGCODE() ON_WM_SETCURSOR() ON_WM_SETFOCUS() ON_WM_KILLFOCUS() ON_WM_TIMER() ON_WM_DESTROY()
    ON_MESSAGE(WM_APP + 2, OnMine) ON_MESSAGE(WM_APP + 3, OnPassed) ON_MESSAGE(WM_APP + 7, OnCustom)
    ON_MESSAGE(WM_APP + 7, OnMine)   // a second entry for one message: never reached
    ON_BN_CLICKED(11, OnClicked11) ON_CONTROL(BN_DOUBLECLICKED, 10, OnDoubleClicked10)
    ON_NOTIFY(NM_CLICK, 10, OnNmClick) ON_NOTIFY(NM_CLICK, 11, OnNmClick) ON_NOTIFY(NM_DBLCLK, 10, OnNmClick)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// Handles its own notifications and counts its creation messages.
class ReflectButton : public CButton {
public:
    int clicks = 0, ncCreates = 0, creates = 0;
    BOOL passOn = FALSE;
    HBRUSH brush = nullptr;   // what CtlColor answers
    UINT ctlType = 99;
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs) { return ++ncCreates, CButton::OnNcCreate(cs); }
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        return creates += cs->lpszName == CString(L"Caption"), CButton::OnCreate(cs);
    }
    afx_msg void OnClicked() { ++clicks; }
    afx_msg BOOL OnDoubleClicked() { return !passOn; }
    afx_msg BOOL OnNmDblClk(NMHDR*, LRESULT*) { return !passOn; }
    afx_msg void OnNmClick(NMHDR* hdr, LRESULT* result) { *result = (LRESULT)hdr->idFrom + 1000; }
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor) { return ctlType = nCtlColor, brush; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ReflectButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked) ON_CONTROL_REFLECT_EX(BN_DOUBLECLICKED, OnDoubleClicked)
    ON_NOTIFY_REFLECT(NM_CLICK, OnNmClick) ON_NOTIFY_REFLECT_EX(NM_DBLCLK, OnNmDblClk)
    ON_WM_CTLCOLOR_REFLECT() ON_WM_NCCREATE() ON_WM_CREATE()
END_MESSAGE_MAP()

// Counts deletions; notes its handle and whether its window was still mapped in PostNcDestroy.
class SelfDeleting : public CWnd {
public:
    int* deleted;
    HWND* seen;
    SelfDeleting(int* d, HWND* s) : deleted(d), seen(s) {}
    ~SelfDeleting() override { ++*deleted; }
    void PostNcDestroy() override {
        *seen = FromHandlePermanent(GetCurrentMessage()->hwnd) ? (HWND)1 : m_hWnd;
        delete this;
    }
};
}  // namespace

TEST(FrameworkWnd, MessageMapsCrackArgumentsAndSearchTheBaseChain) {
    Shapes w, other;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"w", WS_POPUP, 20, 30, 100, 60, nullptr, nullptr));
    ASSERT_TRUE(other.CreateEx(0, nullptr, L"other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(1, w.count(WM_CREATE));   // the base class's entry
    w.ShowWindow(SW_SHOWNOACTIVATE);   // Wine unmaps activated windows slowly without a window manager
    w.UpdateWindow();
    testutil::pumpMessages(0);
    EXPECT_NE(0, w.last(WM_PAINT)[1]);
    CClientDC dc(&w);
    const HWND oh = other.m_hWnd;
    const INT_PTR o = (INT_PTR)&other;
    WINDOWPOS pos = {w.m_hWnd, nullptr, 1, 2, 123, 45, 0};
    struct Case { UINT msg; WPARAM wp; LPARAM lp; LRESULT result; Rec seen; };   // seen all zero: no handler
    const Case cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 42), 0, {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, -5, 42}},
        {WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(1, 2), 0, {WM_LBUTTONUP, MK_CONTROL, 1, 2}},
        {WM_LBUTTONDBLCLK, 0, MAKELPARAM(3, 4), 0, {WM_LBUTTONDBLCLK, 0, 3, 4}},
        {WM_RBUTTONUP, 0, MAKELPARAM(7, 8), 0, {WM_RBUTTONUP, 0, 7, 8}}, {WM_CANCELMODE, 0, 0, 0, {WM_CANCELMODE}},
        {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6), 0, {WM_RBUTTONDOWN, MK_RBUTTON, 5, 6}},
        {WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(-1, -2), 0, {WM_MOUSEMOVE, MK_MBUTTON, -1, -2}},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)-240), MAKELPARAM(300, -20), TRUE,
         {WM_MOUSEWHEEL, MK_CONTROL, -240, 300, -20}},
        {WM_KEYDOWN, 'Q', MAKELPARAM(3, 0x1234), 0, {WM_KEYDOWN, 'Q', 3, 0x1234}},
        {WM_KEYUP, 'Q', MAKELPARAM(1, 0xC010), 0, {WM_KEYUP, 'Q', 1, 0xC010}},
        {WM_CHAR, L'z', MAKELPARAM(2, 0x8001), 0, {WM_CHAR, L'z', 2, 0x8001}}, {WM_KILLFOCUS, 0, 0, 0, {WM_KILLFOCUS, 0}},
        {WM_GETDLGCODE, 0, 0, DLGC_WANTALLKEYS, {}}, {WM_SETFOCUS, (WPARAM)oh, 0, 0, {WM_SETFOCUS, o}},
        {WM_SETCURSOR, (WPARAM)oh, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), TRUE, {WM_SETCURSOR, o, HTCLIENT, WM_MOUSEMOVE}},
        {WM_ERASEBKGND, (WPARAM)dc.m_hDC, 0, TRUE, {WM_ERASEBKGND, (INT_PTR)dc.m_hDC}},
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 80), 0, {WM_SIZE, 300, 80}},   // the derived entry, not the base's
        {WM_ENABLE, FALSE, 0, 0, {WM_ENABLE, FALSE}}, {WM_TIMER, 9, 0, 0, {WM_TIMER, 9}}, {WM_APP + 7, 3, 4, 3004, {}},
        {WM_WINDOWPOSCHANGING, 0, (LPARAM)&pos, 0, {WM_WINDOWPOSCHANGING, 123}},
    };
    w.log.clear();
    std::vector<Rec> want;
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, w.SendMessage(c.msg, c.wp, c.lp)) << "message " << c.msg;
        if (c.seen[0]) want.push_back(c.seen);
    }
    EXPECT_EQ(want, w.log);
    EXPECT_TRUE(w.DestroyWindow() && w.log.back()[0] == WM_DESTROY);
}

TEST(FrameworkWnd, ChildNotificationsAreReflectedFirst) {
    Shapes parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr));
    ReflectButton reflecting;
    CButton plain;
    ASSERT_TRUE(reflecting.Create(L"r", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 80, 30), &parent, 10));
    ASSERT_TRUE(plain.Create(L"p", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(90, 0, 170, 30), &parent, 11));
    // A real click notification from each button; the reflected one never reaches the parent.
    reflecting.SendMessage(BM_CLICK), plain.SendMessage(BM_CLICK);
    EXPECT_TRUE(reflecting.clicks == 1 && parent.count(WM_COMMAND) == 1);
    EXPECT_EQ((Rec{WM_COMMAND, 11, BN_CLICKED}), parent.last(WM_COMMAND));
    // _EX entries: TRUE keeps the notification, FALSE lets the parent have it as well.
    NMHDR dbl = {reflecting.m_hWnd, 10, (UINT)NM_DBLCLK};
    for (BOOL passOn : {FALSE, TRUE}) {
        reflecting.passOn = passOn;
        parent.log.clear();
        parent.SendMessage(WM_COMMAND, MAKEWPARAM(10, BN_DOUBLECLICKED), (LPARAM)reflecting.m_hWnd);
        parent.SendMessage(WM_NOTIFY, 10, (LPARAM)&dbl);
        EXPECT_EQ(passOn ? (std::vector<Rec>{{WM_COMMAND, 10, BN_DOUBLECLICKED}, {WM_NOTIFY, 10}}) : std::vector<Rec>{},
                  parent.log);
    }
    NMHDR hdr = {reflecting.m_hWnd, 10, (UINT)NM_CLICK}, hdr2 = {plain.m_hWnd, 11, (UINT)NM_CLICK};
    EXPECT_EQ(1010, parent.SendMessage(WM_NOTIFY, 10, (LPARAM)&hdr));   // the child's answer
    EXPECT_TRUE(parent.SendMessage(WM_NOTIFY, 11, (LPARAM)&hdr2) == 5 && parent.log.back() == (Rec{WM_NOTIFY, 11}));
    // Control colours: a brush from the child wins; a null brush leaves it to the parent.
    CClientDC dc(&reflecting);
    parent.log.clear();
    for (HBRUSH b : {(HBRUSH)GetStockObject(WHITE_BRUSH), (HBRUSH) nullptr}) {
        reflecting.brush = b;
        EXPECT_EQ((LRESULT)(b ? b : GetStockObject(GRAY_BRUSH)),
                  parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc.m_hDC, (LPARAM)reflecting.m_hWnd));
        EXPECT_EQ((UINT)CTLCOLOR_STATIC, reflecting.ctlType);
    }
    EXPECT_EQ((std::vector<Rec>{{WM_CTLCOLOR, (INT_PTR)&reflecting, CTLCOLOR_STATIC}}), parent.log);
}

TEST(FrameworkWnd, SubclassingTemporariesAttachmentCreationAndDestruction) {
    HWND h = createPlain();
    WNDPROC original = (WNDPROC)GetWindowLongPtrW(h, GWLP_WNDPROC);
    CWnd* temp = CWnd::FromHandle(h);
    EXPECT_TRUE(temp == CWnd::FromHandle(h) && !CWnd::FromHandlePermanent(h));   // one temporary per handle
    Shapes w, other;
    ASSERT_TRUE(w.SubclassWindow(h));
    EXPECT_TRUE(w.count(kPreSubclass) == 1 && &w == CWnd::FromHandle(h));   // the permanent object wins
    EXPECT_FALSE(other.SubclassWindow(h) || other.Attach(h));
    EXPECT_EQ(5, SendMessageW(h, WM_APP + 2, 0, 0));
    EXPECT_EQ(77, SendMessageW(h, WM_APP + 1, 0, 0));   // unmapped: the old procedure answers
    EXPECT_EQ(1, SendMessageW(h, WM_APP + 3, 0, 0));    // Default() passes the current message on
    EXPECT_EQ(h, w.UnsubclassWindow());
    EXPECT_TRUE((LONG_PTR)original == GetWindowLongPtrW(h, GWLP_WNDPROC) && !CWnd::FromHandlePermanent(h));
    // A child destroyed with its parent behind the object's back: the object lets go.
    ASSERT_TRUE(other.SubclassWindow(createPlain(h, WS_CHILD)));
    DestroyWindow(h);
    EXPECT_EQ(nullptr, other.m_hWnd);
    // The dead window's temporary left the map, but lives until the next clean-up.
    EXPECT_TRUE(temp != CWnd::FromHandle(h) && temp->m_hWnd == h);
    AfxDeleteTempMap();
    // Destruction detaches the object before PostNcDestroy; a deleted object takes its window along;
    // a failed creation runs PostNcDestroy too. A window the library makes is in the same map.
    int deleted = 0;
    HWND seen = (HWND)2;
    SelfDeleting* self = new SelfDeleting(&deleted, &seen);
    ASSERT_TRUE(self->CreateEx(0, nullptr, L"s", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    DestroyWindow(self->m_hWnd);
    EXPECT_TRUE(deleted == 1 && seen == nullptr);
    CWnd* dyn = static_cast<CWnd*>(RUNTIME_CLASS(CWnd)->CreateObject());
    ASSERT_TRUE(dyn->CreateEx(0, nullptr, L"d", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    h = dyn->m_hWnd;
    delete dyn;
    EXPECT_FALSE(IsWindow(h) || CWnd::FromHandlePermanent(h));
    SelfDeleting* bad = new SelfDeleting(&deleted, &seen);
    EXPECT_FALSE(bad->CreateEx(0, L"NoSuchClass", L"x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    EXPECT_EQ(2, deleted);
    CqToolTipDVDUser tip;
    ASSERT_EQ(1, tip.fnCreate(nullptr));
    EXPECT_EQ(&tip, CWnd::FromHandlePermanent(tip.m_hWnd));
    // System classes are subclassed at creation, their own procedure still working behind ours.
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    ReflectButton button;
    ASSERT_TRUE(button.Create(L"Caption", WS_CHILD | BS_AUTOCHECKBOX, CRect(5, 5, 100, 30), &parent, 7));
    button.SetCheck(BST_CHECKED);
    EXPECT_TRUE(button.ncCreates == 1 && button.creates == 1 && button.GetCheck() == BST_CHECKED);
    EXPECT_FALSE(button.Create(L"again", WS_CHILD, CRect(0, 0, 1, 1), &parent, 9));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | ES_AUTOHSCROLL, CRect(5, 40, 200, 60), &parent, 8));
    EXPECT_EQ((LONG_PTR)AfxGetAfxWndProc(), GetWindowLongPtrW(edit.m_hWnd, GWLP_WNDPROC));
    edit.SetWindowText(L"hello there");
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(CString(L"hello there"), text);
    Shapes refusing;   // WM_CREATE answering -1 fails the creation
    refusing.createAnswer = -1;
    EXPECT_FALSE(refusing.CreateEx(0, nullptr, L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr) || refusing.m_hWnd);
}

TEST(FrameworkWnd, PreTranslateWalksUpFrameworkAncestors) {
    Shapes top, leaf, owned;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    top.eat = 'A';
    // A plain window in between is skipped, not a stop; an owned popup's walk ends at itself.
    HWND middle = createPlain(top.m_hWnd, WS_CHILD | WS_VISIBLE);
    ASSERT_TRUE(leaf.CreateEx(0, nullptr, L"leaf", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, middle, (HMENU)1));
    ASSERT_TRUE(owned.CreateEx(0, nullptr, L"owned", WS_POPUP, 0, 0, 10, 10, top.m_hWnd, nullptr));
    struct Case { CWnd* target; WPARAM key; BOOL eaten; std::vector<CWnd*> walk; };
    const Case cases[] = {
        {&leaf, 'A', TRUE, {&leaf, &top}}, {&leaf, 'B', FALSE, {&leaf, &top}}, {&owned, 'A', FALSE, {&owned}}};
    for (const auto& c : cases) {
        MSG msg = {c.target->m_hWnd, WM_KEYDOWN, c.key, 0};
        g_translated.clear();
        EXPECT_TRUE(c.eaten == AfxPreTranslateMessage(&msg) && c.walk == g_translated);
    }
}
