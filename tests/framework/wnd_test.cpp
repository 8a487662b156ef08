// Windows of the framework: message maps, cracked handlers, reflection, subclassing, the handle map,
// creation through system classes and the pre-translation walk.
#include <gtest/gtest.h>
#include <afxcmn.h>
#include "support.h"
#include <vector>

using fwtest::pump;
using fwtest::pumpUntil;

namespace {

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
    UINT wheelFlags = 0;
    short wheelDelta = 0;
    CPoint wheelPt;
    UINT_PTR timer = 0;
    CWnd* focusFrom = nullptr;
    CWnd* focusTo = nullptr;
    afx_msg void OnSize(UINT, int cx, int cy) {
        sizeCx = cx;
        sizeCy = cy;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
        key = nChar;
        repeat = nRepCnt;
        keyFlags = nFlags;
    }
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
        wheelFlags = nFlags;
        wheelDelta = zDelta;
        wheelPt = pt;
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR id) {
        timer = id;
        KillTimer(id);
    }
    afx_msg void OnSetFocus(CWnd* pOld) {
        focusFrom = pOld;
        CWnd::OnSetFocus(pOld);
    }
    afx_msg void OnKillFocus(CWnd* pNew) {
        focusTo = pNew;
        CWnd::OnKillFocus(pNew);
    }
    afx_msg LRESULT OnCustom(WPARAM wp, LPARAM lp) { return (LRESULT)(wp * 1000 + lp); }
    afx_msg LRESULT OnSecondCustom(WPARAM, LPARAM) { return -1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
    ON_WM_SIZE()
    ON_WM_KEYDOWN()
    ON_WM_MOUSEWHEEL()
    ON_WM_TIMER()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_MESSAGE(WM_APP + 7, OnCustom)
    ON_MESSAGE(WM_APP + 7, OnSecondCustom)
END_MESSAGE_MAP()

}  // namespace

TEST(FrameworkWnd, MapLookupWalksBaseChainAndCracksArguments) {
    DerivedWnd w;
    // Shown without activation: Wine unmaps activated windows slowly when no window manager runs.
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_POPUP, 10, 10, 200, 100, nullptr, nullptr));
    w.ShowWindow(SW_SHOWNOACTIVATE);
    EXPECT_EQ(1, w.created);   // WM_CREATE reached the base class's entry
    EXPECT_EQ(&w, CWnd::FromHandlePermanent(w.m_hWnd));

    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 42));
    PostMessageW(w, WM_KEYDOWN, 'Q', MAKELPARAM(3, 0x1234));
    PostMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)-240), MAKELPARAM(300, -20));
    pump();
    EXPECT_EQ(CPoint(-5, 42), w.lastDown);   // signed coordinates
    EXPECT_EQ((UINT)(MK_LBUTTON | MK_SHIFT), w.lastFlags);
    EXPECT_EQ((UINT)'Q', w.key);
    EXPECT_EQ(3u, w.repeat);
    EXPECT_EQ(0x1234u, w.keyFlags);
    EXPECT_EQ((UINT)MK_CONTROL, w.wheelFlags);
    EXPECT_EQ(-240, w.wheelDelta);
    EXPECT_EQ(CPoint(300, -20), w.wheelPt);

    // The derived entry wins over the base's for the same message.
    w.MoveWindow(0, 0, 150, 70);
    EXPECT_EQ(0, w.baseSizeCalls);
    CRect rc;
    w.GetClientRect(rc);
    EXPECT_EQ(rc.Width(), w.sizeCx);
    EXPECT_EQ(rc.Height(), w.sizeCy);
    // Two entries for one message: the first in map order answers.
    EXPECT_EQ(3004, w.SendMessage(WM_APP + 7, 3, 4));

    w.SetTimer(9, 10);
    EXPECT_TRUE(pumpUntil([&] { return w.timer != 0; }));
    EXPECT_EQ(9u, w.timer);

    HWND h = w.m_hWnd;
    EXPECT_TRUE(w.DestroyWindow());
    EXPECT_EQ(nullptr, w.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
    EXPECT_FALSE(IsWindow(h));
}

TEST(FrameworkWnd, FocusHandlersGetOldAndNewWindowObjects) {
    DerivedWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    DerivedWnd a, b;
    ASSERT_TRUE(a.Create(nullptr, L"a", WS_VISIBLE, CRect(0, 0, 50, 50), &top, 1));
    ASSERT_TRUE(b.Create(nullptr, L"b", WS_VISIBLE, CRect(60, 0, 110, 50), &top, 2));
    top.SetForegroundWindow();
    a.SetFocus();
    pump();
    ASSERT_EQ(a.m_hWnd, ::GetFocus());
    b.SetFocus();
    pump();
    // Permanent objects come back as themselves, not as temporary stand-ins.
    EXPECT_EQ(&b, a.focusTo);
    EXPECT_EQ(&a, b.focusFrom);
    EXPECT_EQ(&b, CWnd::GetFocus());
    // Children are parented and numbered as created.
    EXPECT_EQ(&top, a.GetParent());
    EXPECT_EQ(2, b.GetDlgCtrlID());
    EXPECT_EQ(&b, top.GetDlgItem(2));
    EXPECT_EQ(&top, b.GetTopLevelParent());
    EXPECT_TRUE(b.GetStyle() & WS_CHILD);
}

// Reflection --------------------------------------------------------------------------------------

namespace {

class ReflectButton : public CButton {
public:
    int clicks = 0;
    int notifies = 0;
    HBRUSH brush = nullptr;   // what CtlColor answers
    UINT ctlType = 99;
    BOOL passOn = FALSE;
    afx_msg void OnClicked() { ++clicks; }
    afx_msg BOOL OnDoubleClicked() { return !passOn; }
    afx_msg void OnNmClick(NMHDR* hdr, LRESULT* result) {
        ++notifies;
        *result = (LRESULT)hdr->idFrom + 1000;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor) {
        ctlType = nCtlColor;
        return brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
    ON_CONTROL_REFLECT_EX(BN_DOUBLECLICKED, OnDoubleClicked)
    ON_NOTIFY_REFLECT(NM_CLICK, OnNmClick)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class ParentWnd : public CWnd {
public:
    std::vector<UINT> clicked;
    int doubleClicks = 0;
    int ctlColors = 0;
    int notifies = 0;
    HBRUSH own = (HBRUSH)GetStockObject(GRAY_BRUSH);
    afx_msg void OnClicked10() { clicked.push_back(10); }
    afx_msg void OnClicked11() { clicked.push_back(11); }
    afx_msg void OnDoubleClicked10() { ++doubleClicks; }
    afx_msg void OnNmClick(NMHDR*, LRESULT* result) {
        ++notifies;
        *result = 5;
    }
    afx_msg HBRUSH OnCtlColor(CDC*, CWnd*, UINT) {
        ++ctlColors;
        return own;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentWnd, CWnd)
    ON_BN_CLICKED(10, OnClicked10)
    ON_BN_CLICKED(11, OnClicked11)
    ON_CONTROL(BN_DOUBLECLICKED, 10, OnDoubleClicked10)
    ON_NOTIFY(NM_CLICK, 10, OnNmClick)
    ON_NOTIFY(NM_CLICK, 11, OnNmClick)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

}  // namespace

TEST(FrameworkWnd, ChildNotificationsAreReflectedFirst) {
    ParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr));
    ReflectButton reflecting;
    CButton plain;
    ASSERT_TRUE(reflecting.Create(L"r", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 80, 30), &parent, 10));
    ASSERT_TRUE(plain.Create(L"p", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(90, 0, 170, 30), &parent, 11));

    // A real click notification from each button.
    reflecting.SendMessage(BM_CLICK);
    plain.SendMessage(BM_CLICK);
    EXPECT_EQ(1, reflecting.clicks);
    EXPECT_EQ(std::vector<UINT>{11}, parent.clicked);   // the reflected one never reached the parent

    // _EX entries: TRUE keeps the notification, FALSE lets the parent have it as well.
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(10, BN_DOUBLECLICKED), (LPARAM)reflecting.m_hWnd);
    EXPECT_EQ(0, parent.doubleClicks);
    reflecting.passOn = TRUE;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(10, BN_DOUBLECLICKED), (LPARAM)reflecting.m_hWnd);
    EXPECT_EQ(1, parent.doubleClicks);

    // WM_NOTIFY: the child's reflected handler answers.
    NMHDR hdr = {reflecting.m_hWnd, 10, (UINT)NM_CLICK};
    EXPECT_EQ(1010, parent.SendMessage(WM_NOTIFY, 10, (LPARAM)&hdr));
    EXPECT_EQ(1, reflecting.notifies);
    EXPECT_EQ(0, parent.notifies);
    NMHDR hdr2 = {plain.m_hWnd, 11, (UINT)NM_CLICK};
    EXPECT_EQ(5, parent.SendMessage(WM_NOTIFY, 11, (LPARAM)&hdr2));
    EXPECT_EQ(1, parent.notifies);

    // Control colours: a brush from the child wins; a null brush leaves it to the parent.
    CClientDC dc(&reflecting);
    HBRUSH mine = (HBRUSH)GetStockObject(WHITE_BRUSH);
    reflecting.brush = mine;
    EXPECT_EQ((LRESULT)mine, parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)dc.m_hDC, (LPARAM)reflecting.m_hWnd));
    EXPECT_EQ((UINT)CTLCOLOR_BTN, reflecting.ctlType);
    EXPECT_EQ(0, parent.ctlColors);
    reflecting.brush = nullptr;
    EXPECT_EQ((LRESULT)parent.own,
              parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc.m_hDC, (LPARAM)reflecting.m_hWnd));
    EXPECT_EQ((UINT)CTLCOLOR_STATIC, reflecting.ctlType);
    EXPECT_EQ(1, parent.ctlColors);
    EXPECT_EQ((LRESULT)parent.own, parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)dc.m_hDC, (LPARAM)plain.m_hWnd));
    EXPECT_EQ(2, parent.ctlColors);
}

// Subclassing ------------------------------------------------------------------------------------------

namespace {
class SubWnd : public CWnd {
public:
    int presubclassed = 0;
    void PreSubclassWindow() override { ++presubclassed; }
    afx_msg LRESULT OnMine(WPARAM, LPARAM) { return 5; }
    afx_msg LRESULT OnPassed(WPARAM, LPARAM) { return Default() + 1; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SubWnd, CWnd)
    ON_MESSAGE(WM_APP + 2, OnMine)
    ON_MESSAGE(WM_APP + 3, OnPassed)
END_MESSAGE_MAP()
}  // namespace

TEST(FrameworkWnd, SubclassAndUnsubclassPlainWindow) {
    HWND h = fwtest::createPlain();
    ASSERT_TRUE(h);
    WNDPROC original = (WNDPROC)GetWindowLongPtrW(h, GWLP_WNDPROC);
    SubWnd w;
    ASSERT_TRUE(w.SubclassWindow(h));
    EXPECT_EQ(1, w.presubclassed);
    EXPECT_EQ((LONG_PTR)AfxGetAfxWndProc(), GetWindowLongPtrW(h, GWLP_WNDPROC));
    EXPECT_EQ(&w, CWnd::FromHandle(h));

    int before = fwtest::plainHits();
    EXPECT_EQ(5, SendMessageW(h, WM_APP + 2, 0, 0));
    EXPECT_EQ(77, SendMessageW(h, WM_APP + 1, 0, 0));   // unmapped: the old procedure answers
    EXPECT_EQ(before + 1, fwtest::plainHits());
    EXPECT_EQ(1, SendMessageW(h, WM_APP + 3, 0, 0));    // Default() passes the current message on

    // A second object cannot take the same window.
    SubWnd other;
    EXPECT_FALSE(other.SubclassWindow(h));

    EXPECT_EQ(h, w.UnsubclassWindow());
    EXPECT_EQ(nullptr, w.m_hWnd);
    EXPECT_EQ((LONG_PTR)original, GetWindowLongPtrW(h, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
    EXPECT_EQ(0, SendMessageW(h, WM_APP + 2, 0, 0));
    EXPECT_EQ(77, SendMessageW(h, WM_APP + 1, 0, 0));
    DestroyWindow(h);
}

TEST(FrameworkWnd, SubclassDlgItemFindsChildById) {
    HWND parent = fwtest::createPlain();
    HWND child = CreateWindowExW(0, L"FwTestPlain", L"c", WS_CHILD, 0, 0, 10, 10, parent, (HMENU)33,
                                 GetModuleHandleW(nullptr), nullptr);
    CWnd parentWnd;
    ASSERT_TRUE(parentWnd.Attach(parent));
    SubWnd w;
    EXPECT_FALSE(w.SubclassDlgItem(34, &parentWnd));
    ASSERT_TRUE(w.SubclassDlgItem(33, &parentWnd));
    EXPECT_EQ(child, w.m_hWnd);
    EXPECT_EQ(5, SendMessageW(child, WM_APP + 2, 0, 0));
    parentWnd.Detach();
    DestroyWindow(parent);   // takes the subclassed child with it: the object lets go
    EXPECT_EQ(nullptr, w.m_hWnd);
}

// The handle map -------------------------------------------------------------------------------------

namespace {
class SelfDeleting : public CWnd {
public:
    explicit SelfDeleting(int* deleted) : m_deleted(deleted) {}
    ~SelfDeleting() override { ++*m_deleted; }
    void PostNcDestroy() override { delete this; }
    int* m_deleted;
};

class NcDestroyRecorder : public CWnd {
public:
    HWND seenInPostNcDestroy = (HWND)1;
    bool mappedInPostNcDestroy = true;
    void PostNcDestroy() override {
        seenInPostNcDestroy = m_hWnd;
        mappedInPostNcDestroy = FromHandlePermanent(GetCurrentMessage()->hwnd) != nullptr;
    }
};
}  // namespace

TEST(FrameworkWnd, TemporaryObjectsForUnknownHandles) {
    HWND h = fwtest::createPlain();
    CWnd* temp = CWnd::FromHandle(h);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(h, temp->m_hWnd);
    EXPECT_EQ(temp, CWnd::FromHandle(h));   // one temporary per handle
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
    EXPECT_TRUE(temp->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));

    // Destroying the window drops its temporary from the map; the object itself stays usable
    // until the next clean-up, so a holder does not dangle.
    DestroyWindow(h);
    CWnd* after = CWnd::FromHandle(h);
    EXPECT_NE(temp, after);
    EXPECT_EQ(h, temp->m_hWnd);
    AfxDeleteTempMap();

    // An attached object takes precedence over a temporary one.
    HWND h2 = fwtest::createPlain();
    CWnd* temp2 = CWnd::FromHandle(h2);
    CWnd perm;
    ASSERT_TRUE(perm.Attach(h2));
    EXPECT_EQ(&perm, CWnd::FromHandle(h2));
    EXPECT_NE(temp2, &perm);
    CWnd second;
    EXPECT_FALSE(second.Attach(h2));
    EXPECT_FALSE(second.Attach(nullptr));
    EXPECT_EQ(h2, perm.Detach());
    EXPECT_TRUE(IsWindow(h2));   // Detach leaves the window alone
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h2));
    AfxDeleteTempMap();
    DestroyWindow(h2);
}

TEST(FrameworkWnd, DestructionDetachesAndCallsPostNcDestroy) {
    int deleted = 0;
    SelfDeleting* self = new SelfDeleting(&deleted);
    ASSERT_TRUE(self->CreateEx(0, nullptr, L"s", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND h = self->m_hWnd;
    DestroyWindow(h);   // destroyed behind the object's back
    EXPECT_EQ(1, deleted);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));

    NcDestroyRecorder rec;
    ASSERT_TRUE(rec.CreateEx(0, nullptr, L"r", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    rec.DestroyWindow();
    EXPECT_EQ(nullptr, rec.seenInPostNcDestroy);   // detached before PostNcDestroy
    EXPECT_FALSE(rec.mappedInPostNcDestroy);

    // An object going out of scope takes its window along.
    HWND scoped;
    {
        CWnd w;
        ASSERT_TRUE(w.CreateEx(0, nullptr, L"w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        scoped = w.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(scoped));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(scoped));

    // A failed creation reports failure and runs PostNcDestroy.
    int failed = 0;
    SelfDeleting* bad = new SelfDeleting(&failed);
    EXPECT_FALSE(bad->CreateEx(0, L"NoSuchClassAnywhere", L"x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    EXPECT_EQ(1, failed);
}

// Creation through system classes ------------------------------------------------------------------------

namespace {
class CreatingButton : public CButton {
public:
    int ncCreates = 0;
    int creates = 0;
    CString createName;
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs) {
        ++ncCreates;
        return CButton::OnNcCreate(cs);
    }
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        ++creates;
        createName = cs->lpszName;
        return CButton::OnCreate(cs);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CreatingButton, CButton)
    ON_WM_NCCREATE()
    ON_WM_CREATE()
END_MESSAGE_MAP()

class RefusingWnd : public CWnd {
public:
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RefusingWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()
}  // namespace

TEST(FrameworkWnd, SystemClassWindowsAreSubclassedAtCreation) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    CreatingButton button;
    ASSERT_TRUE(button.Create(L"Caption", WS_CHILD | BS_AUTOCHECKBOX, CRect(5, 5, 100, 30), &parent, 7));
    EXPECT_EQ(1, button.ncCreates);
    EXPECT_EQ(1, button.creates);
    EXPECT_EQ(CString(L"Caption"), button.createName);
    EXPECT_TRUE(button.IsKindOf(RUNTIME_CLASS(CButton)));
    // The system procedure still does the work behind the framework's.
    button.SetCheck(BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, button.GetCheck());
    EXPECT_EQ((UINT)BS_AUTOCHECKBOX, button.GetButtonStyle());
    CString text;
    button.GetWindowText(text);
    EXPECT_EQ(CString(L"Caption"), text);

    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | ES_AUTOHSCROLL, CRect(5, 40, 200, 60), &parent, 8));
    EXPECT_EQ((LONG_PTR)AfxGetAfxWndProc(), GetWindowLongPtrW(edit.m_hWnd, GWLP_WNDPROC));
    edit.SetWindowText(L"hello world");
    edit.SetSel(6, 11);
    edit.ReplaceSel(L"there");
    edit.GetWindowText(text);
    EXPECT_EQ(CString(L"hello there"), text);
    int s = -1, e = -1;
    edit.GetSel(s, e);
    EXPECT_EQ(11, s);
    EXPECT_EQ(11, e);
    edit.LimitText(4);
    EXPECT_EQ(4u, edit.GetLimitText());

    // WM_CREATE answering -1 fails the creation and leaves nothing mapped.
    RefusingWnd refusing;
    EXPECT_FALSE(refusing.CreateEx(0, nullptr, L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(nullptr, refusing.m_hWnd);
    // An object with a window cannot create another.
    EXPECT_FALSE(button.Create(L"again", WS_CHILD, CRect(0, 0, 1, 1), &parent, 9));
}

TEST(FrameworkWnd, ToolTipControlRegistersTools) {
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, L"c", WS_VISIBLE, CRect(0, 0, 20, 20), &host, 3));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&host, TTS_ALWAYSTIP | TTS_NOPREFIX));
    EXPECT_EQ(&tip, CWnd::FromHandlePermanent(tip.m_hWnd));
    EXPECT_EQ(host.m_hWnd, GetWindow(tip.m_hWnd, GW_OWNER));
    EXPECT_TRUE(tip.AddTool(&child, L"window tool"));
    CRect area(0, 0, 50, 50);
    EXPECT_TRUE(tip.AddTool(&host, L"rect tool", area, 42));
    EXPECT_EQ(2, tip.GetToolCount());

    CString text;
    tip.GetText(text, &host, 42);
    EXPECT_EQ(CString(L"rect tool"), text);
    tip.UpdateTipText(L"changed", &child);
    tip.GetText(text, &child);
    EXPECT_EQ(CString(L"changed"), text);
    CToolInfo info;
    ASSERT_TRUE(tip.GetToolInfo(info, &child));
    EXPECT_EQ((UINT_PTR)child.m_hWnd, info.uId);
    EXPECT_TRUE(info.uFlags & TTF_IDISHWND);

    tip.SetMaxTipWidth(123);
    EXPECT_EQ(123, tip.GetMaxTipWidth());
    tip.SetDelayTime(TTDT_INITIAL, 250);
    EXPECT_EQ(250, tip.GetDelayTime(TTDT_INITIAL));
    tip.DelTool(&child);
    EXPECT_EQ(1, tip.GetToolCount());
}

// Pre-translation --------------------------------------------------------------------------------------

namespace {
std::vector<CWnd*>& translateLog() {
    static std::vector<CWnd*> log;
    return log;
}
class Translating : public CWnd {
public:
    UINT eat = 0;   // key this window consumes
    int keyDowns = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override {
        translateLog().push_back(this);
        return pMsg->message == WM_KEYDOWN && pMsg->wParam == eat;
    }
    afx_msg void OnKeyDown(UINT, UINT, UINT) { ++keyDowns; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Translating, CWnd)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()
}  // namespace

TEST(FrameworkWnd, PreTranslateWalksUpFrameworkAncestors) {
    Translating top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    top.eat = 'A';
    // A plain window in between is skipped, not a stop.
    HWND middle = fwtest::createPlain(top.m_hWnd, WS_CHILD | WS_VISIBLE);
    Translating leaf;
    ASSERT_TRUE(leaf.CreateEx(0, nullptr, L"leaf", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, middle, (HMENU)1));
    Translating owned;   // a popup owned by top: its walk ends at itself
    ASSERT_TRUE(owned.CreateEx(0, nullptr, L"owned", WS_POPUP, 0, 0, 10, 10, top.m_hWnd, nullptr));

    MSG msg = {leaf.m_hWnd, WM_KEYDOWN, 'A', 0};
    translateLog().clear();
    EXPECT_TRUE(AfxPreTranslateMessage(&msg));
    EXPECT_EQ((std::vector<CWnd*>{&leaf, &top}), translateLog());

    msg.wParam = 'B';
    translateLog().clear();
    EXPECT_FALSE(AfxPreTranslateMessage(&msg));
    EXPECT_EQ((std::vector<CWnd*>{&leaf, &top}), translateLog());

    msg.hwnd = owned.m_hWnd;
    msg.wParam = 'A';
    translateLog().clear();
    EXPECT_FALSE(AfxPreTranslateMessage(&msg));
    EXPECT_EQ((std::vector<CWnd*>{&owned}), translateLog());

    // The loop helper: consumed keys are not dispatched, others are; WM_QUIT ends it.
    PostMessageW(leaf, WM_KEYDOWN, 'A', 0);
    PostMessageW(leaf, WM_KEYDOWN, 'C', 0);
    PostQuitMessage(7);
    EXPECT_EQ(7, AfxRunMessageLoop());
    EXPECT_EQ(1, leaf.keyDowns);
    DestroyWindow(middle);
}

// Device contexts and GDI objects -----------------------------------------------------------------------

TEST(FrameworkGdi, DeviceContextDrawingAndSelection) {
    CClientDC screen(nullptr);
    ASSERT_NE(nullptr, screen.m_hDC);
    EXPECT_EQ(&screen, CDC::FromHandle(screen.m_hDC));
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 20, 10));
    EXPECT_FALSE(bmp.CreateCompatibleBitmap(&screen, 5, 5));   // already holds one
    BITMAP info = {};
    ASSERT_TRUE(bmp.GetBitmap(&info));
    EXPECT_EQ(20, info.bmWidth);

    CBitmap* old = mem.SelectObject(&bmp);
    ASSERT_NE(nullptr, old);
    EXPECT_TRUE(old->IsKindOf(RUNTIME_CLASS(CBitmap)));   // the stock bitmap as a temporary
    EXPECT_EQ(&bmp, mem.GetCurrentBitmap());

    mem.FillSolidRect(0, 0, 20, 10, RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), mem.GetBkColor());
    mem.Draw3dRect(CRect(2, 2, 12, 8), RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(RGB(255, 0, 0), mem.GetPixel(2, 2));
    EXPECT_EQ(RGB(255, 0, 0), mem.GetPixel(10, 2));
    EXPECT_EQ(RGB(0, 0, 255), mem.GetPixel(11, 2));   // top-right corner belongs to the far side
    EXPECT_EQ(RGB(0, 0, 255), mem.GetPixel(2, 7));
    EXPECT_EQ(RGB(10, 20, 30), mem.GetPixel(5, 5));

    CBrush green(RGB(0, 255, 0));
    mem.FillRect(CRect(0, 0, 2, 2), &green);
    EXPECT_EQ(RGB(0, 255, 0), mem.GetPixel(1, 1));

    CRgn clip;
    ASSERT_TRUE(clip.CreateRectRgn(15, 0, 20, 10));
    EXPECT_EQ(SIMPLEREGION, mem.SelectClipRgn(&clip));
    mem.FillSolidRect(0, 0, 20, 10, RGB(1, 2, 3));
    EXPECT_EQ(RGB(0, 255, 0), mem.GetPixel(1, 1));   // outside the clip
    EXPECT_EQ(RGB(1, 2, 3), mem.GetPixel(16, 1));
    CRect box;
    mem.GetClipBox(box);
    EXPECT_EQ(CRect(15, 0, 20, 10), box);
    mem.SelectClipRgn(nullptr);

    CPoint prev = mem.SetViewportOrg(3, 4);
    EXPECT_EQ(CPoint(0, 0), prev);
    CPoint p(1, 1);
    mem.LPtoDP(&p);
    EXPECT_EQ(CPoint(4, 5), p);
    mem.DPtoLP(&p);
    EXPECT_EQ(CPoint(1, 1), p);

    mem.SelectObject(old);
    HGDIOBJ hbmp = bmp.m_hObject;
    EXPECT_TRUE(bmp.DeleteObject());
    EXPECT_EQ(0u, (UINT)GetObjectType(hbmp));
    AfxDeleteTempMap();
}

TEST(FrameworkGdi, ObjectsOwnWhatTheyCreateOnly) {
    HGDIOBJ made;
    {
        CPen pen(PS_SOLID, 2, RGB(1, 2, 3));
        made = pen.m_hObject;
        LOGPEN lp = {};
        ASSERT_TRUE(pen.GetLogPen(&lp));
        EXPECT_EQ(2, lp.lopnWidth.x);
        EXPECT_EQ(&pen, CGdiObject::FromHandle(made));
    }
    EXPECT_EQ(0u, (UINT)GetObjectType(made));   // the destructor deleted it

    HBRUSH external = CreateSolidBrush(RGB(4, 5, 6));
    CBrush* temp = CBrush::FromHandle(external);
    EXPECT_TRUE(temp->IsKindOf(RUNTIME_CLASS(CBrush)));
    AfxDeleteTempMap();
    EXPECT_EQ((UINT)OBJ_BRUSH, (UINT)GetObjectType(external));   // temporaries never delete
    {
        CBrush attached;
        ASSERT_TRUE(attached.Attach(external));
        EXPECT_EQ(external, attached.Detach());
    }
    EXPECT_EQ((UINT)OBJ_BRUSH, (UINT)GetObjectType(external));
    DeleteObject(external);

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, L"Arial"));
    LOGFONTW lf = {};
    font.GetLogFont(&lf);
    CClientDC screen(nullptr);
    EXPECT_EQ(-MulDiv(12, screen.GetDeviceCaps(LOGPIXELSY), 72), lf.lfHeight);

    CRgn a, b, both;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRoundRectRgn(5, 5, 20, 20, 4, 4);
    both.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, both.CombineRgn(&a, &b, RGN_OR));
    EXPECT_TRUE(both.PtInRegion(1, 1));
    EXPECT_TRUE(both.PtInRegion(15, 15));
    EXPECT_FALSE(both.PtInRegion(15, 1));
    CRect box, roundBox;
    both.GetRgnBox(box);
    b.GetRgnBox(roundBox);
    EXPECT_EQ(CRect(0, 0, roundBox.right, roundBox.bottom), box);
    EXPECT_EQ(ERROR, CRgn().CombineRgn(&a, &b, RGN_OR));   // no region to receive the result

    CPen* nullPen = nullptr;
    EXPECT_EQ(nullptr, nullPen->GetSafeHandle());
    CWnd* nullWnd = nullptr;
    EXPECT_EQ(nullptr, nullWnd->GetSafeHwnd());
}
