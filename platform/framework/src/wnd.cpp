// Windows: the handle map, subclassing and creation, message maps and their dispatch, the
// message-loop helpers.
#include "afxwin.h"
#include "handlemap.h"
#include <set>
#include <string>
#include <cwchar>

using uifw::opaque;

namespace {

CWnd* makeTempWnd(HWND h) {
    CWnd* w = new CWnd;
    w->m_hWnd = h;
    return w;
}
void freeTempWnd(CWnd* w) {
    w->m_hWnd = nullptr;   // a temporary object never destroys its window
    delete w;
}

// Never destroyed: objects of every module may still be unmapping while statics go away.
uifw::HandleMap<HWND, CWnd>& windowMap() {
    static auto* map = new uifw::HandleMap<HWND, CWnd>(makeTempWnd, freeTempWnd);
    return *map;
}

// Per-thread state: the message being handled, the window being created, the CBT hook.
struct ThreadState {
    MSG lastMsg = {};
    CWnd* pWndInit = nullptr;      // object waiting for the next window created by CreateEx
    WCHAR initClass[256] = {};     // its class name ("" when given as an atom)
    HHOOK hook = nullptr;
    int creating = 0;              // CreateEx calls in progress (they may nest)
};
thread_local ThreadState t_state;

bool sameClass(HWND h, const WCHAR* expected) {
    if (!expected[0]) return true;
    WCHAR name[256];
    if (!GetClassNameW(h, name, 256)) return false;
    return _wcsicmp(name, expected) == 0;
}

}  // namespace

// Lets the creation hook reach the object's protected members.
struct UifwWndAccess {
    static void hookUp(CWnd* p, HWND h) {
        if (!p->Attach(h)) return;
        p->PreSubclassWindow();
        WNDPROC old = (WNDPROC)SetWindowLongPtrW(h, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
        if (old != AfxWndProc) p->m_pfnSuper = old;
    }
};

namespace {

LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam) {
    ThreadState& ts = t_state;
    if (code == HCBT_CREATEWND) {
        HWND h = (HWND)wParam;
        // The first window of the expected class is ours; others (an input-method window the
        // system makes on the way) are left alone.
        if (ts.pWndInit && sameClass(h, ts.initClass)) {
            CWnd* p = ts.pWndInit;
            ts.pWndInit = nullptr;
            UifwWndAccess::hookUp(p, h);
        }
    } else if (code == HCBT_DESTROYWND) {
        windowMap().retire((HWND)wParam);
    }
    return CallNextHookEx(ts.hook, code, wParam, lParam);
}

void ensureHook() {
    if (!t_state.hook) t_state.hook = SetWindowsHookExW(WH_CBT, cbtHook, nullptr, GetCurrentThreadId());
}

void releaseHookIfIdle() {
    ThreadState& ts = t_state;
    if (ts.hook && ts.creating == 0 && !windowMap().hasTemporaries()) {
        UnhookWindowsHookEx(ts.hook);
        ts.hook = nullptr;
    }
}

LRESULT callWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    ThreadState& ts = t_state;
    MSG saved = ts.lastMsg;
    ts.lastMsg.hwnd = hWnd;
    ts.lastMsg.message = nMsg;
    ts.lastMsg.wParam = wParam;
    ts.lastMsg.lParam = lParam;
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (...) {
        result = 0;   // nothing may unwind through the system's dispatcher
    }
    if (nMsg == WM_NCDESTROY) {
        // A handler that did not pass WM_NCDESTROY to the base still gets its object detached.
        CWnd* still = CWnd::FromHandlePermanent(hWnd);
        if (still == pWnd) {
            pWnd->Detach();
            pWnd->PostNcDestroy();
        }
    }
    ts.lastMsg = saved;
    return result;
}

}  // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd || pWnd->m_hWnd != hWnd) return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return callWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

WNDPROC AfxGetAfxWndProc() { return AfxWndProc; }

const MSG* AfxGetCurrentMessage() { return &t_state.lastMsg; }

// Window classes -------------------------------------------------------------------------------------

BOOL AfxRegisterClass(WNDCLASSW* lpWndClass) {
    if (!lpWndClass || !lpWndClass->lpszClassName) return FALSE;
    WNDCLASSW existing;
    // A class of that name already registered for this instance (or globally) is success.
    if (GetClassInfoW(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) return TRUE;
    return RegisterClassW(lpWndClass) != 0;
}

LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    static CRITICAL_SECTION cs;
    static std::set<std::wstring>* names = [] {
        InitializeCriticalSection(&cs);
        return new std::set<std::wstring>;   // kept for the process: callers keep the pointers
    }();
    WCHAR name[128];
    swprintf(name, 128, L"Uifw:%p:%x:%p:%p:%p", (void*)AfxGetInstanceHandle(), nClassStyle, (void*)hCursor,
             (void*)hbrBackground, (void*)hIcon);
    WNDCLASSW wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    if (!AfxRegisterClass(&wc)) return nullptr;
    uifw::Lock lock(cs);
    return names->insert(name).first->c_str();
}

// Command targets -----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() {}
CCmdTarget::~CCmdTarget() {}

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMsg, UINT nCode, UINT nID) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->nSig != AfxSig_end; ++e)
            if (e->nMessage == nMsg && e->nCode == nCode && e->nID <= nID && nID <= e->nLastID) return e;
    }
    return nullptr;
}

// Windows: the handle map -----------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr) {}

CWnd::CWnd(HWND hWnd) : m_hWnd(nullptr), m_pfnSuper(nullptr) { Attach(hWnd); }

CWnd::CWnd(HWND hWnd, SpecialHandle) : m_hWnd(hWnd), m_pfnSuper(nullptr) {}

const CWnd CWnd::wndTop(HWND_TOP, SpecialHandle());
const CWnd CWnd::wndBottom(HWND_BOTTOM, SpecialHandle());
const CWnd CWnd::wndTopMost(HWND_TOPMOST, SpecialHandle());
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST, SpecialHandle());

CWnd::~CWnd() {
    // An object going away with its window still attached takes the window with it.
    if (m_hWnd && windowMap().permanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
        if (m_hWnd) Detach();
    }
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    CWnd* w = windowMap().fromHandle(hWnd);
    // Temporary objects leave the map when their window is destroyed (seen by the thread's hook).
    if (w && windowMap().isTemporary(hWnd, w)) ensureHook();
    return w;
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) { return hWnd ? windowMap().permanent(hWnd) : nullptr; }

void PASCAL CWnd::DeleteTempMap() {
    windowMap().deleteTemporaries();
    releaseHookIfIdle();
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (!hWndNew || m_hWnd || !::IsWindow(hWndNew)) return FALSE;
    if (!windowMap().add(hWndNew, this)) return FALSE;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) windowMap().remove(h, this);
    m_hWnd = nullptr;
    return h;
}

HWND CWnd::GetSafeHwnd() const {
    const CWnd* self = opaque(this);
    return self ? self->m_hWnd : nullptr;
}

CWnd::operator HWND() const { return GetSafeHwnd(); }

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    WNDPROC old = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (!old) {   // not ours to subclass (another process's window)
        Detach();
        return FALSE;
    }
    if (old != AfxWndProc) m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND parent = pParent->GetSafeHwnd();
    HWND item = parent ? ::GetDlgItem(parent, (int)nID) : nullptr;
    return item ? SubclassWindow(item) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd) return nullptr;
    if (m_pfnSuper) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    return Detach();
}

// Creation and destruction -------------------------------------------------------------------------

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!cs.lpszClass) {
        WNDCLASSW wc = {};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = cs.hInstance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = AFX_WND_CLASS;
        if (!AfxRegisterClass(&wc)) return FALSE;
        cs.lpszClass = AFX_WND_CLASS;
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd) return FALSE;   // one window per object
    CREATESTRUCTW cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    // The thread's CBT hook attaches and subclasses the new window before its first message, so
    // WM_NCCREATE and WM_CREATE reach this object even for system classes.
    ThreadState& ts = t_state;
    CWnd* outerInit = ts.pWndInit;
    WCHAR outerClass[256];
    wcscpy(outerClass, ts.initClass);
    ts.pWndInit = this;
    ts.initClass[0] = 0;
    if (!IS_INTRESOURCE(cs.lpszClass) && wcslen(cs.lpszClass) < 256) wcscpy(ts.initClass, cs.lpszClass);
    ++ts.creating;
    ensureHook();
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    bool hooked = ts.pWndInit != this;
    ts.pWndInit = outerInit;
    wcscpy(ts.initClass, outerClass);
    --ts.creating;
    releaseHookIfIdle();

    if (!hooked) {
        // The hook never saw the window: subclass what exists, or report the failure.
        if (hWnd && SubclassWindow(hWnd)) return TRUE;
        if (hWnd) ::DestroyWindow(hWnd);
        PostNcDestroy();
        return FALSE;
    }
    // When creation failed after the hook, WM_NCDESTROY has detached (and maybe deleted) us.
    return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
    // Always a child window.
    return CreateEx(0, lpszClassName, lpszWindowName, (dwStyle & ~WS_POPUP) | WS_CHILD, rect, pParentWnd, nID,
                    (LPVOID)pContext);
}

BOOL CWnd::DestroyWindow() {
    HWND h = m_hWnd;
    if (!h) return FALSE;
    bool permanent = windowMap().permanent(h) == this;
    BOOL ok = ::DestroyWindow(h);
    // A permanent object was detached by WM_NCDESTROY (and may be gone); others just forget.
    if (!permanent && m_hWnd == h && ok) m_hWnd = nullptr;
    return ok;
}

void CWnd::PostNcDestroy() {}

void CWnd::PreSubclassWindow() {}

// Thin wrappers -----------------------------------------------------------------------------------------

namespace {
// The parent of a child window, the owner of any other.
HWND parentOrOwner(HWND h) {
    if (!h) return nullptr;
    if (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) return ::GetParent(h);
    return ::GetWindow(h, GW_OWNER);
}
}  // namespace

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd())); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
void CWnd::SetOwner(CWnd* pOwnerWnd) {
    ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)pOwnerWnd->GetSafeHwnd());
}

CWnd* CWnd::GetTopLevelParent() const {
    if (!m_hWnd) return nullptr;
    HWND h = m_hWnd, up;
    while ((up = parentOrOwner(h)) != nullptr) h = up;
    return FromHandle(h);
}

CWnd* CWnd::GetTopLevelOwner() const {
    if (!m_hWnd) return nullptr;
    HWND h = m_hWnd, up;
    while ((up = ::GetWindow(h, GW_OWNER)) != nullptr) h = up;
    return FromHandle(h);
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) {
    HWND h = pParent ? pParent->GetSafeHwnd() : ::GetActiveWindow();
    while (h && (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD)) h = ::GetParent(h);
    if (pWndTop) *pWndTop = nullptr;
    return FromHandle(h);
}

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
void CWnd::GetDlgItem(int nID, HWND* phWnd) const {
    if (phWnd) *phWnd = ::GetDlgItem(m_hWnd, nID);
}
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrW(m_hWnd, GWLP_ID, nID); }
CWnd* CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* PASCAL CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* PASCAL CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* PASCAL CWnd::GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
CWnd* PASCAL CWnd::GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
CWnd* PASCAL CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* PASCAL CWnd::GetCapture() { return FromHandle(::GetCapture()); }
BOOL PASCAL CWnd::ReleaseCapture() { return ::ReleaseCapture(); }
BOOL CWnd::IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }

void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::ScreenToClient(m_hWnd, (LPPOINT)lpRect);
    ::ScreenToClient(m_hWnd, ((LPPOINT)lpRect) + 1);
    if (GetExStyle() & WS_EX_LAYOUTRTL) {   // mirrored windows swap the sides
        LONG t = lpRect->left;
        lpRect->left = lpRect->right;
        lpRect->right = t;
    }
}
void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
void CWnd::ClientToScreen(LPRECT lpRect) const {
    ::ClientToScreen(m_hWnd, (LPPOINT)lpRect);
    ::ClientToScreen(m_hWnd, ((LPPOINT)lpRect) + 1);
    if (GetExStyle() & WS_EX_LAYOUTRTL) {
        LONG t = lpRect->left;
        lpRect->left = lpRect->right;
        lpRect->right = t;
    }
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), (LPPOINT)lpRect, 2);
}
void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    if (lpRect)
        ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                     bRepaint);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags);
}
int CWnd::SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
int CWnd::GetWindowRgn(HRGN hRgn) const { return ::GetWindowRgn(m_hWnd, hRgn); }
BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
void CWnd::SetRedraw(BOOL bRedraw) { ::SendMessageW(m_hWnd, WM_SETREDRAW, bRedraw, 0); }

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    if (!m_hWnd) return;
    bool child = (GetStyle() & WS_CHILD) != 0;
    HWND center = pAlternateOwner ? pAlternateOwner->m_hWnd : (child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER));
    RECT self, area, target;
    ::GetWindowRect(m_hWnd, &self);
    if (child) {
        // Children are placed in their parent's client coordinates.
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &area);
        if (center && center != parent) {
            ::GetWindowRect(center, &target);
            ::MapWindowPoints(nullptr, parent, (LPPOINT)&target, 2);
        } else {
            target = area;
        }
    } else {
        MONITORINFO mi = {sizeof(mi)};
        ::GetMonitorInfoW(::MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi);
        area = mi.rcWork;
        if (center && ::IsWindowVisible(center) && !::IsIconic(center)) ::GetWindowRect(center, &target);
        else target = area;
    }
    int w = self.right - self.left, h = self.bottom - self.top;
    int x = (target.left + target.right) / 2 - w / 2;
    int y = (target.top + target.bottom) / 2 - h / 2;
    if (x + w > area.right) x = area.right - w;
    if (x < area.left) x = area.left;
    if (y + h > area.bottom) y = area.bottom - h;
    if (y < area.top) y = area.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DWORD CWnd::GetStyle() const { return (DWORD)::GetWindowLongW(m_hWnd, GWL_STYLE); }
DWORD CWnd::GetExStyle() const { return (DWORD)::GetWindowLongW(m_hWnd, GWL_EXSTYLE); }

namespace {
BOOL modifyStyle(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    if (!hWnd) return FALSE;
    DWORD style = (DWORD)::GetWindowLongW(hWnd, nStyleOffset);
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) return FALSE;
    ::SetWindowLongW(hWnd, nStyleOffset, (LONG)newStyle);
    if (nFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return modifyStyle(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return modifyStyle(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return modifyStyle(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return modifyStyle(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) { ::InvalidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase); }
void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
void CWnd::ValidateRgn(CRgn* pRgn) { ::ValidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle()); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, (HRGN)prgnUpdate->GetSafeHandle(), flags);
}
BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }
void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
CDC* CWnd::GetDCEx(CRgn* prgnClip, DWORD flags) {
    return CDC::FromHandle(::GetDCEx(m_hWnd, (HRGN)prgnClip->GetSafeHandle(), flags));
}
int CWnd::ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()) : 0; }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}
LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendDlgItemMessageW(m_hWnd, nID, message, wParam, lParam);
}
UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD)) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    ::SendMessageW(m_hWnd, WM_SETFONT, (WPARAM)pFont->GetSafeHandle(), bRedraw);
}
CFont* CWnd::GetFont() const { return CFont::FromHandle((HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
void CWnd::SetWindowText(LPCWSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
int CWnd::GetWindowText(LPWSTR lpszStringBuf, int nMaxCount) const {
    if (!lpszStringBuf || nMaxCount <= 0) return 0;
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowText(CString& rString) const {
    int n = ::GetWindowTextLengthW(m_hWnd);
    if (n <= 0) {
        rString.Empty();
        return;
    }
    int got = ::GetWindowTextW(m_hWnd, rString.GetBufferSetLength(n), n + 1);
    rString.ReleaseBuffer(got >= 0 ? got : 0);
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
void CWnd::SetDlgItemText(int nID, LPCWSTR lpszString) { ::SetDlgItemTextW(m_hWnd, nID, lpszString); }
int CWnd::GetDlgItemText(int nID, CString& rString) const {
    HWND item = ::GetDlgItem(m_hWnd, nID);
    rString.Empty();
    if (!item) return 0;
    CWnd* w = FromHandle(item);
    w->GetWindowText(rString);
    return rString.GetLength();
}
int CWnd::GetClassName(LPWSTR lpClassName, int nMaxCount) const { return ::GetClassNameW(m_hWnd, lpClassName, nMaxCount); }
LONG_PTR CWnd::GetWindowLongPtr(int nIndex) const { return ::GetWindowLongPtrW(m_hWnd, nIndex); }
LONG_PTR CWnd::SetWindowLongPtr(int nIndex, LONG_PTR dwNewLong) { return ::SetWindowLongPtrW(m_hWnd, nIndex, dwNewLong); }
BOOL CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { return ::ShowScrollBar(m_hWnd, (int)nBar, bShow); }
int CWnd::GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
BOOL CWnd::TrackMouseEvent(DWORD dwFlags, DWORD dwHoverTime) {
    TRACKMOUSEEVENT tme = {sizeof(tme), dwFlags, m_hWnd, dwHoverTime};
    return ::TrackMouseEvent(&tme);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep) {
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, message, wParam, lParam);
        if (bDeep && ::GetTopWindow(child)) {
            CWnd tmp;
            tmp.m_hWnd = child;
            tmp.SendMessageToDescendants(message, wParam, lParam, TRUE);
            tmp.m_hWnd = nullptr;
        }
    }
}

// Message handling ------------------------------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage() { return &t_state.lastMsg; }

LRESULT CWnd::Default() {
    const MSG& m = t_state.lastMsg;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT local = 0;
    if (!pResult) pResult = &local;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        AFX_CTLCOLOR ctl = {m_hWnd, (HDC)wParam, message - WM_CTLCOLORMSGBOX};
        *pResult = 0;
        // A null brush leaves the colours to the parent.
        return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctl, pResult) && *pResult != 0;
    }
    switch (message) {
    case WM_COMMAND: {
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
        if (!e) return FALSE;
        BOOL handled = TRUE;
        if (e->nSig == AfxSigCmd_b)
            handled = (this->*reinterpret_cast<BOOL (CWnd::*)()>(e->pfn))();
        else
            (this->*reinterpret_cast<void (CWnd::*)()>(e->pfn))();
        if (handled) *pResult = 1;
        return handled;
    }
    case WM_NOTIFY: {
        NMHDR* hdr = (NMHDR*)lParam;
        if (!hdr) return FALSE;
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_REFLECT_BASE + WM_NOTIFY, (WORD)hdr->code, 0);
        if (!e) return FALSE;
        *pResult = 0;
        if (e->nSig == AfxSigNotify_b)
            return (this->*reinterpret_cast<BOOL (CWnd::*)(NMHDR*, LRESULT*)>(e->pfn))(hdr, pResult);
        (this->*reinterpret_cast<void (CWnd::*)(NMHDR*, LRESULT*)>(e->pfn))(hdr, pResult);
        return TRUE;
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    default:
        return FALSE;
    }
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
    const MSG& m = t_state.lastMsg;
    return OnChildNotify(m.message, m.wParam, m.lParam, pResult);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* child = FromHandlePermanent(hWndChild);
    return child ? child->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    UINT nCode = HIWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    if (hWndCtrl) {
        if (ReflectLastMsg(hWndCtrl)) return TRUE;   // the control handled its own notification
    } else if (nCode == 1) {
        nCode = 0;   // accelerators count as commands
    }
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_COMMAND, nCode, nID);
    if (!e) return FALSE;
    if (e->nSig == AfxSigCmd_b) return (this->*reinterpret_cast<BOOL (CWnd::*)()>(e->pfn))();
    (this->*reinterpret_cast<void (CWnd::*)()>(e->pfn))();
    return TRUE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    NMHDR* hdr = (NMHDR*)lParam;
    if (!hdr) return FALSE;
    if (hdr->hwndFrom && ReflectLastMsg(hdr->hwndFrom, pResult)) return TRUE;
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_NOTIFY, (WORD)hdr->code, (UINT)hdr->idFrom);
    if (!e) return FALSE;
    LRESULT local = 0;
    if (!pResult) pResult = &local;
    if (e->nSig == AfxSigNotify_b)
        return (this->*reinterpret_cast<BOOL (CWnd::*)(NMHDR*, LRESULT*)>(e->pfn))(hdr, pResult);
    (this->*reinterpret_cast<void (CWnd::*)(NMHDR*, LRESULT*)>(e->pfn))(hdr, pResult);
    return TRUE;
}

namespace {
// The child a parent's owner-draw or scroll message is about, when it is a control.
HWND notifyingChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* d = (const DRAWITEMSTRUCT*)lParam;
        return d && d->CtlType != ODT_MENU ? d->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        const MEASUREITEMSTRUCT* m = (const MEASUREITEMSTRUCT*)lParam;
        return m && m->CtlType != ODT_MENU ? ::GetDlgItem(parent, (int)m->CtlID) : nullptr;
    }
    case WM_DELETEITEM: {
        const DELETEITEMSTRUCT* d = (const DELETEITEMSTRUCT*)lParam;
        return d ? d->hwndItem : nullptr;
    }
    case WM_COMPAREITEM: {
        const COMPAREITEMSTRUCT* c = (const COMPAREITEMSTRUCT*)lParam;
        return c ? c->hwndItem : nullptr;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return (HWND)lParam;
    case WM_PARENTNOTIFY: {
        UINT event = LOWORD(wParam);
        return (event == WM_CREATE || event == WM_DESTROY) ? (HWND)lParam : nullptr;
    }
    default:
        return nullptr;
    }
}
}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = 0;
    const AFX_MSGMAP_ENTRY* e = nullptr;

    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        lResult = 1;
        goto done;
    }
    if (message == WM_NOTIFY) {
        NMHDR* hdr = (NMHDR*)lParam;
        if (!hdr || !OnNotify(wParam, lParam, &lResult)) return FALSE;
        goto done;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        // The child's reflected handler first; then the window's own control-colour entry.
        if (ReflectLastMsg((HWND)lParam, &lResult)) goto done;
        e = FindMessageEntry(WM_CTLCOLOR, 0, 0);
        if (!e) return FALSE;
        lResult = (LRESULT)(this->*reinterpret_cast<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(e->pfn))(
            CDC::FromHandle((HDC)wParam), CWnd::FromHandle((HWND)lParam), message - WM_CTLCOLORMSGBOX);
        goto done;
    }
    if (HWND child = notifyingChild(m_hWnd, message, wParam, lParam)) {
        if (ReflectLastMsg(child, &lResult)) goto done;
    }

    e = FindMessageEntry(message, 0, 0);
    if (!e) return FALSE;

    switch ((AfxSig)e->nSig) {
    case AfxSig_vv:
        (this->*reinterpret_cast<void (CWnd::*)()>(e->pfn))();
        break;
    case AfxSig_bv:
        lResult = (this->*reinterpret_cast<BOOL (CWnd::*)()>(e->pfn))();
        break;
    case AfxSig_wv:
        lResult = (this->*reinterpret_cast<UINT (CWnd::*)()>(e->pfn))();
        break;
    case AfxSig_is:
        lResult = (this->*reinterpret_cast<int (CWnd::*)(LPCREATESTRUCT)>(e->pfn))((LPCREATESTRUCT)lParam);
        break;
    case AfxSig_bs:
        lResult = (this->*reinterpret_cast<BOOL (CWnd::*)(LPCREATESTRUCT)>(e->pfn))((LPCREATESTRUCT)lParam);
        break;
    case AfxSig_bD:
        lResult = (this->*reinterpret_cast<BOOL (CWnd::*)(CDC*)>(e->pfn))(CDC::FromHandle((HDC)wParam));
        break;
    case AfxSig_vwii:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, int, int)>(e->pfn))(
            (UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case AfxSig_vii:
        (this->*reinterpret_cast<void (CWnd::*)(int, int)>(e->pfn))((short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case AfxSig_vbw:
        (this->*reinterpret_cast<void (CWnd::*)(BOOL, UINT)>(e->pfn))((BOOL)wParam, (UINT)lParam);
        break;
    case AfxSig_vwp:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, CPoint)>(e->pfn))((UINT)wParam, CPoint(lParam));
        break;
    case AfxSig_bwsp:
        lResult = (this->*reinterpret_cast<BOOL (CWnd::*)(UINT, short, CPoint)>(e->pfn))(
            LOWORD(wParam), (short)HIWORD(wParam), CPoint(lParam));
        break;
    case AfxSig_vwww:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, UINT, UINT)>(e->pfn))(
            (UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vW:
        (this->*reinterpret_cast<void (CWnd::*)(CWnd*)>(e->pfn))(CWnd::FromHandle((HWND)wParam));
        break;
    case AfxSig_vW2:
        (this->*reinterpret_cast<void (CWnd::*)(CWnd*)>(e->pfn))(CWnd::FromHandle((HWND)lParam));
        break;
    case AfxSig_vw:
        (this->*reinterpret_cast<void (CWnd::*)(UINT_PTR)>(e->pfn))((UINT_PTR)wParam);
        break;
    case AfxSig_vb:
        (this->*reinterpret_cast<void (CWnd::*)(BOOL)>(e->pfn))((BOOL)wParam);
        break;
    case AfxSig_vPOS:
        (this->*reinterpret_cast<void (CWnd::*)(WINDOWPOS*)>(e->pfn))((WINDOWPOS*)lParam);
        break;
    case AfxSig_bWww:
        lResult = (this->*reinterpret_cast<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(e->pfn))(
            CWnd::FromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_l_p:
        lResult = (this->*reinterpret_cast<LRESULT (CWnd::*)(CPoint)>(e->pfn))(CPoint(lParam));
        break;
    case AfxSig_hDWw: {
        // Only the reflected record form reaches here (WM_REFLECT_BASE + WM_CTLCOLOR is AfxSig_hDw).
        const AFX_CTLCOLOR* ctl = (const AFX_CTLCOLOR*)lParam;
        if (!ctl) return FALSE;
        lResult = (LRESULT)(this->*reinterpret_cast<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(e->pfn))(
            CDC::FromHandle(ctl->hDC), CWnd::FromHandle(ctl->hWnd), ctl->nCtlType);
        break;
    }
    case AfxSig_hDw: {
        const AFX_CTLCOLOR* ctl = (const AFX_CTLCOLOR*)lParam;
        if (!ctl) return FALSE;
        lResult = (LRESULT)(this->*reinterpret_cast<HBRUSH (CWnd::*)(CDC*, UINT)>(e->pfn))(
            CDC::FromHandle(ctl->hDC), ctl->nCtlType);
        break;
    }
    case AfxSig_lwl:
        lResult = (this->*reinterpret_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(e->pfn))(wParam, lParam);
        break;
    case AfxSig_vwwx:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, UINT, CScrollBar*)>(e->pfn))(
            LOWORD(wParam), HIWORD(wParam), (CScrollBar*)CWnd::FromHandle((HWND)lParam));
        break;
    case AfxSig_vWp:
        (this->*reinterpret_cast<void (CWnd::*)(CWnd*, CPoint)>(e->pfn))(CWnd::FromHandle((HWND)wParam),
                                                                         CPoint(lParam));
        break;
    case AfxSig_vOWNER:
        (this->*reinterpret_cast<void (CWnd::*)(int, void*)>(e->pfn))((int)wParam, (void*)lParam);
        lResult = TRUE;
        break;
    case AfxSig_vs:
        (this->*reinterpret_cast<void (CWnd::*)(void*)>(e->pfn))((void*)lParam);
        lResult = TRUE;
        break;
    case AfxSig_vwl:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, LPARAM)>(e->pfn))((UINT)wParam, lParam);
        break;
    default:
        return FALSE;
    }

done:
    if (pResult) *pResult = lResult;
    return TRUE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    if (!pMsg) return FALSE;
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* w = FromHandlePermanent(h))
            if (w->PreTranslateMessage(pMsg)) return TRUE;
        if (h == hWndStop) break;
    }
    return FALSE;
}

// Default handlers -------------------------------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCT) { return (int)Default(); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() {
    // The previous procedure sees the last message, then the object lets go of its window.
    Default();
    HWND h = m_hWnd;
    if (m_pfnSuper && (WNDPROC)::GetWindowLongPtrW(h, GWLP_WNDPROC) == AfxWndProc)
        ::SetWindowLongPtrW(h, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();   // may delete this
}
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
void CWnd::OnMouseHover(UINT, CPoint) { Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
UINT CWnd::OnGetDlgCode() { return (UINT)Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return (HBRUSH)Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
void CWnd::OnSettingChange(UINT, LPCWSTR) { Default(); }

// Message loop -----------------------------------------------------------------------------------------

BOOL AfxPreTranslateMessage(MSG* pMsg) {
    if (!pMsg) return FALSE;
    HWND start = pMsg->hwnd ? pMsg->hwnd : ::GetFocus();
    if (!start) return FALSE;
    HWND stop = ::GetAncestor(start, GA_ROOT);
    if (start == pMsg->hwnd) return CWnd::WalkPreTranslateTree(stop, pMsg);
    // A thread message: the walk starts at the focus window, the message itself is unchanged.
    for (HWND h = start; h; h = ::GetParent(h)) {
        if (CWnd* w = CWnd::FromHandlePermanent(h))
            if (w->PreTranslateMessage(pMsg)) return TRUE;
        if (h == stop) break;
    }
    return FALSE;
}

void AfxDeleteTempMap() {
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
}

BOOL AfxPumpMessage() {
    MSG msg;
    BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) return FALSE;
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

int AfxRunMessageLoop() {
    MSG msg;
    for (;;) {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) AfxDeleteTempMap();   // idle
        BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0) return (int)msg.wParam;
        if (r == -1) return -1;
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}
