// Standard controls: thin wrappers over the system's button, edit, scroll-bar and tooltip classes.
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

// Buttons -------------------------------------------------------------------------------------------

CButton::CButton() {}
CButton::~CButton() {}

BOOL CButton::Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(L"BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}
UINT CButton::GetState() const { return (UINT)::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0); }
void CButton::SetState(BOOL bHighlight) { ::SendMessageW(m_hWnd, BM_SETSTATE, bHighlight, 0); }
int CButton::GetCheck() const { return (int)::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0); }
void CButton::SetCheck(int nCheck) { ::SendMessageW(m_hWnd, BM_SETCHECK, (WPARAM)nCheck, 0); }
UINT CButton::GetButtonStyle() const { return (UINT)::GetWindowLongW(m_hWnd, GWL_STYLE) & 0xFFFF; }
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) { ::SendMessageW(m_hWnd, BM_SETSTYLE, nStyle, bRedraw); }
HBITMAP CButton::SetBitmap(HBITMAP hBitmap) {
    return (HBITMAP)::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
}
HBITMAP CButton::GetBitmap() const { return (HBITMAP)::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0); }
HICON CButton::SetIcon(HICON hIcon) { return (HICON)::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon); }
HICON CButton::GetIcon() const { return (HICON)::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0); }
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    // A reflected entry of a derived class comes first; otherwise the virtual DrawItem.
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult)) return TRUE;
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult) *pResult = TRUE;
    return TRUE;
}

// Edit boxes -----------------------------------------------------------------------------------------

CEdit::CEdit() {}
CEdit::~CEdit() {}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(L"EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}
DWORD CEdit::GetSel() const { return (DWORD)::SendMessageW(m_hWnd, EM_GETSEL, 0, 0); }
void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    DWORD start = 0, end = 0;
    ::SendMessageW(m_hWnd, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    nStartChar = (int)start;
    nEndChar = (int)end;
}
void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll) {
    SetSel((int)(short)LOWORD(dwSelection), (int)(short)HIWORD(dwSelection), bNoScroll);
}
void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
    ::SendMessageW(m_hWnd, EM_SETSEL, (WPARAM)nStartChar, (LPARAM)nEndChar);
    if (!bNoScroll) ::SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0);
}
void CEdit::LimitText(int nChars) { ::SendMessageW(m_hWnd, EM_LIMITTEXT, (WPARAM)nChars, 0); }
void CEdit::SetLimitText(UINT nMax) { ::SendMessageW(m_hWnd, EM_SETLIMITTEXT, nMax, 0); }
UINT CEdit::GetLimitText() const { return (UINT)::SendMessageW(m_hWnd, EM_GETLIMITTEXT, 0, 0); }
void CEdit::ReplaceSel(LPCWSTR lpszNewText, BOOL bCanUndo) {
    ::SendMessageW(m_hWnd, EM_REPLACESEL, bCanUndo, (LPARAM)(lpszNewText ? lpszNewText : L""));
}
int CEdit::GetLineCount() const { return (int)::SendMessageW(m_hWnd, EM_GETLINECOUNT, 0, 0); }
int CEdit::GetLine(int nIndex, LPWSTR lpszBuffer, int nMaxLength) const {
    // The first word of the buffer carries its size; the copied line is not terminated.
    if (!lpszBuffer || nMaxLength < 1) return 0;
    *(WORD*)lpszBuffer = (WORD)(nMaxLength > 0xFFFF ? 0xFFFF : nMaxLength);
    return (int)::SendMessageW(m_hWnd, EM_GETLINE, (WPARAM)nIndex, (LPARAM)lpszBuffer);
}
int CEdit::LineIndex(int nLine) const { return (int)::SendMessageW(m_hWnd, EM_LINEINDEX, (WPARAM)nLine, 0); }
int CEdit::LineLength(int nLine) const { return (int)::SendMessageW(m_hWnd, EM_LINELENGTH, (WPARAM)nLine, 0); }
int CEdit::LineFromChar(int nIndex) const { return (int)::SendMessageW(m_hWnd, EM_LINEFROMCHAR, (WPARAM)nIndex, 0); }
BOOL CEdit::GetModify() const { return (BOOL)::SendMessageW(m_hWnd, EM_GETMODIFY, 0, 0); }
void CEdit::SetModify(BOOL bModified) { ::SendMessageW(m_hWnd, EM_SETMODIFY, bModified, 0); }
BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return (BOOL)::SendMessageW(m_hWnd, EM_SETREADONLY, bReadOnly, 0); }
void CEdit::SetPasswordChar(WCHAR ch) { ::SendMessageW(m_hWnd, EM_SETPASSWORDCHAR, ch, 0); }
WCHAR CEdit::GetPasswordChar() const { return (WCHAR)::SendMessageW(m_hWnd, EM_GETPASSWORDCHAR, 0, 0); }
void CEdit::SetMargins(UINT nLeft, UINT nRight) {
    ::SendMessageW(m_hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight));
}
BOOL CEdit::CanUndo() const { return (BOOL)::SendMessageW(m_hWnd, EM_CANUNDO, 0, 0); }
BOOL CEdit::Undo() { return (BOOL)::SendMessageW(m_hWnd, EM_UNDO, 0, 0); }
void CEdit::EmptyUndoBuffer() { ::SendMessageW(m_hWnd, EM_EMPTYUNDOBUFFER, 0, 0); }
void CEdit::Clear() { ::SendMessageW(m_hWnd, WM_CLEAR, 0, 0); }
void CEdit::Copy() { ::SendMessageW(m_hWnd, WM_COPY, 0, 0); }
void CEdit::Cut() { ::SendMessageW(m_hWnd, WM_CUT, 0, 0); }
void CEdit::Paste() { ::SendMessageW(m_hWnd, WM_PASTE, 0, 0); }

// Scroll bars -----------------------------------------------------------------------------------------

CScrollBar::CScrollBar() {}
CScrollBar::~CScrollBar() {}

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(L"SCROLLBAR", nullptr, dwStyle, rect, pParentWnd, nID);
}
int CScrollBar::GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
void CScrollBar::GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const {
    int lo = 0, hi = 0;
    ::GetScrollRange(m_hWnd, SB_CTL, &lo, &hi);
    if (lpMinPos) *lpMinPos = lo;
    if (lpMaxPos) *lpMaxPos = hi;
}
void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw) {
    ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
}
BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    if (!lpScrollInfo) return FALSE;
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
    return TRUE;
}
BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask) {
    if (!lpScrollInfo) return FALSE;
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
}

// Tooltips --------------------------------------------------------------------------------------------

CToolTipCtrl::CToolTipCtrl() {}
CToolTipCtrl::~CToolTipCtrl() { DestroyWindow(); }

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) { return CreateEx(pParentWnd, dwStyle, 0); }

BOOL CToolTipCtrl::CreateEx(CWnd* pParentWnd, DWORD dwStyle, DWORD dwStyleEx) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!CWnd::CreateEx(dwStyleEx, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), nullptr, nullptr))
        return FALSE;
    return TRUE;
}

void CToolTipCtrl::FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
    ZeroMemory(&ti, sizeof(ti));
    ti.cbSize = sizeof(ti);
    HWND hwnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0) {
        // The window itself is the tool, identified by its handle and owned by its parent.
        ti.hwnd = ::GetParent(hwnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)hwnd;
    } else {
        ti.hwnd = hwnd;
        ti.uFlags = 0;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    if (!pWnd->GetSafeHwnd() || nIDText == 0) return FALSE;
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.uFlags |= TTF_SUBCLASS;
    if (lpRectTool) ti.rect = *lpRectTool;
    else if (nIDTool != 0) ::GetClientRect(pWnd->m_hWnd, &ti.rect);
    ti.hinst = AfxFindResourceHandle(MAKEINTRESOURCEW((nIDText >> 4) + 1), (LPCWSTR)RT_STRING);
    ti.lpszText = MAKEINTRESOURCEW(nIDText);
    return (BOOL)::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    if (!pWnd->GetSafeHwnd()) return FALSE;
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.uFlags |= TTF_SUBCLASS;
    if (lpRectTool) ti.rect = *lpRectTool;
    else if (nIDTool != 0) ::GetClientRect(pWnd->m_hWnd, &ti.rect);
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = (LPWSTR)lpszText;
    return (BOOL)::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, (LPARAM)&ti);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ::SendMessageW(m_hWnd, TTM_DELTOOLW, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = (LPWSTR)lpszText;
    ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool) {
    CString text;
    if (text.LoadString(nIDText)) UpdateTipText(text, pWnd, nIDTool);
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    // Tool texts can be long; ask for the length first where the control can tell it.
    const int kChars = 4096;
    ti.lpszText = str.GetBuffer(kChars);
    ti.lpszText[0] = 0;
    ::SendMessageW(m_hWnd, TTM_GETTEXTW, kChars, (LPARAM)&ti);
    str.ReleaseBuffer();
}

BOOL CToolTipCtrl::GetToolInfo(CToolInfo& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
    FillInToolInfo(ToolInfo, pWnd, nIDTool);
    ToolInfo.szText[0] = 0;
    ToolInfo.lpszText = ToolInfo.szText;
    return (BOOL)::SendMessageW(m_hWnd, TTM_GETTOOLINFOW, 0, (LPARAM)(TTTOOLINFOW*)&ToolInfo);
}

void CToolTipCtrl::SetToolInfo(LPTTTOOLINFOW lpToolInfo) {
    if (lpToolInfo) ::SendMessageW(m_hWnd, TTM_SETTOOLINFOW, 0, (LPARAM)lpToolInfo);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
    if (!lpRect) return;
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    ::SendMessageW(m_hWnd, TTM_NEWTOOLRECTW, 0, (LPARAM)&ti);
}

int CToolTipCtrl::GetToolCount() const { return (int)::SendMessageW(m_hWnd, TTM_GETTOOLCOUNT, 0, 0); }

BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, LPTTTOOLINFOW lpToolInfo) const {
    if (!pWnd->GetSafeHwnd() || !lpToolInfo) return FALSE;
    TTHITTESTINFOW hti = {};
    hti.hwnd = pWnd->m_hWnd;
    hti.pt = pt;
    hti.ti.cbSize = sizeof(hti.ti);
    if (!::SendMessageW(m_hWnd, TTM_HITTESTW, 0, (LPARAM)&hti)) return FALSE;
    *lpToolInfo = hti.ti;
    return TRUE;
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg) {
    if (lpMsg) ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, (LPARAM)lpMsg);
}
void CToolTipCtrl::Activate(BOOL bActivate) { ::SendMessageW(m_hWnd, TTM_ACTIVATE, bActivate, 0); }
int CToolTipCtrl::SetMaxTipWidth(int iWidth) { return (int)::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, iWidth); }
int CToolTipCtrl::GetMaxTipWidth() const { return (int)::SendMessageW(m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0); }
void CToolTipCtrl::SetDelayTime(UINT nDelay) { ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, (LPARAM)nDelay); }
void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime) {
    ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
}
int CToolTipCtrl::GetDelayTime(DWORD dwDuration) const {
    return (int)::SendMessageW(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0);
}
void CToolTipCtrl::SetTipBkColor(COLORREF clr) { ::SendMessageW(m_hWnd, TTM_SETTIPBKCOLOR, clr, 0); }
COLORREF CToolTipCtrl::GetTipBkColor() const { return (COLORREF)::SendMessageW(m_hWnd, TTM_GETTIPBKCOLOR, 0, 0); }
void CToolTipCtrl::SetTipTextColor(COLORREF clr) { ::SendMessageW(m_hWnd, TTM_SETTIPTEXTCOLOR, clr, 0); }
COLORREF CToolTipCtrl::GetTipTextColor() const { return (COLORREF)::SendMessageW(m_hWnd, TTM_GETTIPTEXTCOLOR, 0, 0); }
void CToolTipCtrl::SetMargin(LPRECT lprc) {
    if (lprc) ::SendMessageW(m_hWnd, TTM_SETMARGIN, 0, (LPARAM)lprc);
}
void CToolTipCtrl::GetMargin(LPRECT lprc) const {
    if (lprc) ::SendMessageW(m_hWnd, TTM_GETMARGIN, 0, (LPARAM)lprc);
}
void CToolTipCtrl::Pop() { ::SendMessageW(m_hWnd, TTM_POP, 0, 0); }
void CToolTipCtrl::Update() { ::SendMessageW(m_hWnd, TTM_UPDATE, 0, 0); }
