// The scroll bar's model, layout, input and notifications. The arithmetic lives in ScrollBarModel.h;
// this file moves values between the members and it, and talks to the window system.
#include "qScrollBarEx.h"
#include "controls/ScrollBarModel.h"
#include "controls/ScrollBarShared.h"
#include <algorithm>

using namespace qsbwin;

namespace {
const UINT_PTR kDelayTimer = 1;    // once, before repeating
const UINT_PTR kRepeatTimer = 2;   // each tick repeats the held action
const UINT kDelayMs = 500;
const UINT kRepeatMs = 100;
}  // namespace

BEGIN_MESSAGE_MAP(CqScrollBarEx, CqMouseHoverWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
ON_WM_DESTROY()
ON_WM_WINDOWPOSCHANGED()
ON_WM_TIMER()
ON_WM_SETCURSOR()
ON_WM_KEYDOWN()
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CqScrollBarEx::CqScrollBarEx()
    : m_bCreated(FALSE), m_dwOrientation(0), m_bFreeze(FALSE), m_rcWindow(), m_stBmpInfo(), m_nArrowOffset(2),
      m_nMin(0), m_nMax(0), m_nPage(1), m_nLine(1), m_nPos(0), m_nTrackPos(0), m_nLimit(0), m_nHitCode(-1),
      m_nHoverCode(-1), m_ptAnchor(0, 0), m_bLButtonDown(FALSE), m_rcArrow1(), m_rcArrow2(), m_rcShaft(),
      m_rcThumb(), m_hMemDC(nullptr), m_hMemBitmap(nullptr), m_hOldBitmap(nullptr), m_szArrow(0, 0),
      m_szShaftBegin(0, 0), m_szShaftMiddle(0, 0), m_szShaftEnd(0, 0), m_szThumbBegin(0, 0), m_szThumbMiddle(0, 0),
      m_szThumbEnd(0, 0), m_nTimerID(0), m_nScrollScale(1), m_pThumbBmp(nullptr), m_pArrowBmp(nullptr),
      m_pBkBmp(nullptr), m_pShaftBmp(nullptr), m_pShaftBeginBmp(nullptr), m_pShaftMiddleBmp(nullptr),
      m_pShaftEndBmp(nullptr), m_pThumbBeginBmp(nullptr), m_pThumbMiddleBmp(nullptr), m_pThumbEndBmp(nullptr),
      m_dwScrollBehavior(0), m_nCanvasArrows(-1), m_rcCanvasThumb() {}

CqScrollBarEx::~CqScrollBarEx() {
    if (IsWindow()) DestroyWindow();
    fnUnInit();
}

BOOL CqScrollBarEx::DestroyWindow() { return CWnd::DestroyWindow(); }

int CqScrollBarEx::fnCreate(DWORD dwOrientation, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (m_bCreated) return TRUE;
    if (!CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, pParentWnd, nID)) return FALSE;
    m_dwOrientation = dwOrientation;
    defaultSkin(m_stBmpInfo, dwOrientation == 1);
    fnCreateAllBitmap();
    m_bCreated = TRUE;
    return fnStartEvent();
}

int CqScrollBarEx::fnUnInit() {
    if (m_bCreated) {
        m_bCreated = FALSE;
        fnDeleteAllBitmap();
    }
    return TRUE;
}

// The model ----------------------------------------------------------------------------------------

namespace {
qsb::Model modelOf(long nMin, long nMax, long nPage, long nLine, long nPos, long nTrackPos, long nLimit) {
    return {(int)nMin, (int)nMax, (int)nPage, (int)nLine, (int)nPos, (int)nTrackPos, (int)nLimit};
}
}  // namespace

#define QSB_MODEL modelOf(m_nMin, m_nMax, m_nPage, m_nLine, m_nPos, m_nTrackPos, m_nLimit)

void CqScrollBarEx::redraw() {
    Invalidate(TRUE);
    UpdateWindow();
}

void CqScrollBarEx::fnSetScrollInfo(long nMin, long nMax, long nPos, long nLine, long nPage, int bRedraw) {
    m_nMin = nMin, m_nMax = nMax, m_nPos = nPos, m_nLine = nLine, m_nPage = nPage;
    m_nTrackPos = nPos;
    if (fnCalculateAllRect() && bRedraw) redraw();
}

void CqScrollBarEx::fnSetScrollInfo(tagSCROLLINFOEX si, int bRedraw) {
    m_nPage = si.nPage, m_nLine = si.nLine, m_nMin = si.nMin, m_nMax = si.nMax;
    m_nPos = si.nPos, m_nTrackPos = si.nTrackPos;
    fnCalculateAllRect();
    if (bRedraw) redraw();
}

void CqScrollBarEx::fnSetScrollRange(long nMin, long nMax, long nPos, int bRedraw) {
    m_nMin = nMin, m_nMax = nMax;
    if (nPos < nMin) nPos = nMin;
    if (nPos > nMax) nPos = nMax;
    m_nPos = m_nTrackPos = nPos;
    if (fnCalculateAllRect() && bRedraw) redraw();
}

void CqScrollBarEx::fnSetScrollPage(long nPage, int bRedraw) {
    m_nPage = nPage;
    if (fnCalculateAllRect() && bRedraw) redraw();
}

void CqScrollBarEx::fnSetScrollLine(long nLine) {
    m_nLine = nLine;
    fnCalculateAllRect();
}

long CqScrollBarEx::fnSetScrollPos(long nPos, int bRedraw) {
    if (nPos != m_nPos) {
        m_nPos = m_nTrackPos = nPos <= m_nMin ? m_nMin : std::min(nPos, m_nLimit);
        fnMoveThumbRect();
    }
    if (bRedraw && IsWindow()) redraw();
    return m_nPos;
}

void CqScrollBarEx::fnSetScrollScale(int nScale) { m_nScrollScale = nScale; }
void CqScrollBarEx::fnSetScrollBehavior(DWORD dwBehavior) { m_dwScrollBehavior = dwBehavior; }

int CqScrollBarEx::fnSetARROW_OFFSET(DWORD nOffset, int bRedraw) {
    m_nArrowOffset = (int)nOffset;
    if (!fnCalculateAllRect()) return FALSE;
    if (bRedraw) redraw();
    return TRUE;
}

void CqScrollBarEx::fnFreezeScrollBar(int bFreeze) {
    m_bFreeze = bFreeze;
    EnableWindow(!bFreeze);
}

void CqScrollBarEx::fnShowScrollBar(int bShow) { ShowWindow(bShow ? SW_SHOW : SW_HIDE); }

long CqScrollBarEx::fnGetScrollPos() const { return m_nPos; }
long CqScrollBarEx::fnGetScrollTrackPos() const { return m_nTrackPos; }
long CqScrollBarEx::fnGetScrollPage() { return m_nPage; }
long CqScrollBarEx::fnGetScrollLimit() { return m_nLimit; }

void CqScrollBarEx::fnGetScrollRange(long* pMin, long* pMax) const {
    if (pMin) *pMin = m_nMin;
    if (pMax) *pMax = m_nMax;
}

// Layout -------------------------------------------------------------------------------------------

void CqScrollBarEx::fnGetMinimumThumbRect(CSize& size) {
    qsb::Size s = qsb::minimumThumb(isVertical(), toSize(m_szThumbBegin), toSize(m_szThumbMiddle), toSize(m_szThumbEnd));
    size = CSize(s.cx, s.cy);
}

int CqScrollBarEx::fnCalculateAllRect() {
    RECT client = {};
    if (!IsWindow()) return FALSE;
    GetClientRect(&client);
    if (IsRectEmpty(&client)) return FALSE;
    const int oldW = m_rcThumb.right - m_rcThumb.left, oldH = m_rcThumb.bottom - m_rcThumb.top;

    qsb::Model m = QSB_MODEL;
    qsb::normalise(m);
    m_nPage = m.nPage, m_nLine = m.nLine;
    m_bFreeze = qsb::isInactive(m);
    m_nLimit = m.nLimit = qsb::computeLimit(m, m_bFreeze != FALSE, m_dwScrollBehavior);

    CSize minThumb;
    fnGetMinimumThumbRect(minThumb);
    const qsb::Layout l = qsb::layoutRects(isVertical(), toRect(client), toSize(m_szArrow), m_nArrowOffset,
                                           toSize(m_szThumbMiddle), {minThumb.cx, minThumb.cy}, m, m_bFreeze != FALSE);
    m_rcArrow1 = fromRect(l.arrow1), m_rcArrow2 = fromRect(l.arrow2);
    m_rcShaft = fromRect(l.shaft), m_rcThumb = fromRect(l.thumb);
    m_nCanvasArrows = -1;
    if (m_bFreeze) return TRUE;

    fnMoveThumbRect();
    if (m_rcThumb.right - m_rcThumb.left != oldW || m_rcThumb.bottom - m_rcThumb.top != oldH)
        releaseImage(m_pThumbBmp);
    return TRUE;
}

void CqScrollBarEx::fnMoveThumbRect() {
    m_rcThumb = fromRect(qsb::placeThumb(isVertical(), toRect(m_rcThumb), toRect(m_rcShaft), QSB_MODEL));
}

int CqScrollBarEx::fnHitTest(CPoint pt) {
    const qsb::Layout l = {toRect(m_rcArrow1), toRect(m_rcArrow2), toRect(m_rcShaft), toRect(m_rcThumb)};
    return qsb::hitTest(isVertical(), l, pt.x, pt.y);
}

// Steps --------------------------------------------------------------------------------------------

void CqScrollBarEx::fnSendParentMessage(WORD nCode) {
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return;
    ::SendMessageW(parent, isVertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(nCode, (WORD)(m_nPos & 0xFFFF)),
                   (LPARAM)m_hWnd);
}

long CqScrollBarEx::fnScrollLine(long nDelta) {
    const long old = m_nPos;
    m_nPos = qsb::lineStep(QSB_MODEL, nDelta);
    if (m_nPos == old) return old;
    m_nTrackPos = m_nPos;
    fnMoveThumbRect();
    if (nDelta < 0) fnSendParentMessage(SB_LINEUP);
    if (nDelta > 0) fnSendParentMessage(SB_LINEDOWN);
    return old;
}

long CqScrollBarEx::fnScrollPage(long nDirection) {
    const long old = m_nPos;
    m_nPos = qsb::pageStep(QSB_MODEL, (int)nDirection);
    if (m_nPos != old) {
        m_nTrackPos = m_nPos;
        fnMoveThumbRect();
        if (nDirection > 0) fnSendParentMessage(SB_PAGEDOWN);
        if (nDirection < 0) fnSendParentMessage(SB_PAGEUP);
    }
    return old;
}

long CqScrollBarEx::fnScrollThumb() {
    if (m_nLimit == m_nMin) return m_nTrackPos;
    POINT p = {};
    ::GetCursorPos(&p);
    ::ScreenToClient(m_hWnd, &p);
    return scrollThumbTo(p);
}

long CqScrollBarEx::scrollThumbTo(POINT p) {
    if (m_nLimit == m_nMin) return m_nTrackPos;
    const int delta = isVertical() ? p.y - m_ptAnchor.y : p.x - m_ptAnchor.x;
    if (delta == 0) return m_nTrackPos;
    const qsb::Drag d = qsb::dragThumb(isVertical(), toRect(m_rcThumb), toRect(m_rcShaft), QSB_MODEL, delta);
    m_nTrackPos = d.trackPos;
    m_rcThumb = fromRect(d.thumb);
    m_ptAnchor = p;
    m_nPos = m_nTrackPos;
    redraw();
    fnSendParentMessage(SB_THUMBTRACK);
    return m_nTrackPos;
}

long CqScrollBarEx::fnDoScroll(int nCode) {
    long result = 0;
    switch (nCode) {
    case qsb::kArrow1: result = fnScrollLine(-(long)m_nScrollScale); break;
    case qsb::kArrow2: result = fnScrollLine(m_nScrollScale); break;
    case qsb::kPageBefore: result = fnScrollPage(-1); break;
    case qsb::kPageAfter: result = fnScrollPage(1); break;
    case qsb::kThumb: fnScrollThumb(); break;
    case qsb::kTop:
        fnSetScrollPos(m_nMin, TRUE);
        fnSendParentMessage(SB_TOP);
        break;
    case qsb::kBottom:
        fnSetScrollPos(m_nLimit, TRUE);
        fnSendParentMessage(SB_BOTTOM);
        break;
    default: break;
    }
    redraw();
    return result;
}

// Auto-repeat --------------------------------------------------------------------------------------

void CqScrollBarEx::fnStartExecuteAutoScrollTimer() { m_nTimerID = SetTimer(kDelayTimer, kDelayMs); }

void CqScrollBarEx::fnEndExecuteAutoScrollTimer() {
    if (m_nTimerID) KillTimer(m_nTimerID);
    m_nTimerID = SetTimer(kRepeatTimer, kRepeatMs);
}

void CqScrollBarEx::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kDelayTimer) {
        fnEndExecuteAutoScrollTimer();
    } else if (nIDEvent == kRepeatTimer) {
        fnDoScroll(m_nHitCode);
        if (m_nTimerID &&
            qsb::repeatArrived(m_nHitCode, isVertical(), QSB_MODEL, toRect(m_rcThumb), m_ptAnchor.x, m_ptAnchor.y)) {
            KillTimer(m_nTimerID);
            m_nTimerID = 0;
        }
    }
    Default();
}

// Mouse, wheel and keys ----------------------------------------------------------------------------

void CqScrollBarEx::invalidateArrow(const RECT& rc) { InvalidateRect(&rc, FALSE); }

void CqScrollBarEx::pressed(CPoint point, bool autoRepeat) {
    m_bLButtonDown = TRUE;
    m_ptAnchor = point;
    m_nHitCode = fnHitTest(point);
    if (m_nHitCode == qsb::kNone) return;
    if (!IsWindowEnabled() || m_bFreeze) {
        m_bLButtonDown = FALSE;
        return;
    }
    SetCapture();
    if (m_nHitCode < qsb::kThumb) {
        invalidateArrow(m_rcArrow1);
        invalidateArrow(m_rcArrow2);
        UpdateWindow();
        if (autoRepeat) fnStartExecuteAutoScrollTimer();
    }
    fnDoScroll(m_nHitCode);
}

void CqScrollBarEx::OnLButtonDown(UINT, CPoint point) {
    pressed(point, true);
    Default();
}

void CqScrollBarEx::OnLButtonDblClk(UINT, CPoint point) {
    pressed(point, false);
    Default();
}

void CqScrollBarEx::OnLButtonUp(UINT, CPoint point) {
    if (m_bLButtonDown) {
        if (m_nTimerID) KillTimer(m_nTimerID);
        m_nTimerID = 0;
        if (m_nHitCode == qsb::kArrow1) invalidateArrow(m_rcArrow1);
        if (m_nHitCode == qsb::kArrow2) invalidateArrow(m_rcArrow2);
        UpdateWindow();
        if (m_nHitCode == qsb::kThumb && point != m_ptAnchor) {
            m_nPos = m_nTrackPos;
            fnSendParentMessage(SB_THUMBPOSITION);
        }
        fnSendParentMessage(SB_ENDSCROLL);
        ReleaseCapture();
    }
    m_bLButtonDown = FALSE;
    m_ptAnchor = CPoint(-1, -1);
    Default();
}

void CqScrollBarEx::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_bLButtonDown && m_nHitCode == qsb::kThumb) {
        // The move's own point: asking for the cursor is a round trip to the window system.
        scrollThumbTo(point);
    } else {
        const int old = m_nHoverCode;
        m_nHoverCode = fnHitTest(point);
        if (m_nHoverCode != old && old == qsb::kArrow1) invalidateArrow(m_rcArrow1);
        if (m_nHoverCode != old && old == qsb::kArrow2) invalidateArrow(m_rcArrow2);
        UpdateWindow();
    }
    CqMouseHoverWnd::OnMouseMove(nFlags, point);
}

void CqScrollBarEx::fnMouseHover() {
    POINT p = {};
    ::GetCursorPos(&p);
    ::ScreenToClient(m_hWnd, &p);
    m_nHoverCode = fnHitTest(p);
    if (m_nHoverCode == qsb::kArrow1) invalidateArrow(m_rcArrow1);
    if (m_nHoverCode == qsb::kArrow2) invalidateArrow(m_rcArrow2);
    UpdateWindow();
}

void CqScrollBarEx::fnMouseLeave() {
    m_nHoverCode = qsb::kNone;
    invalidateArrow(m_rcArrow1);
    invalidateArrow(m_rcArrow2);
    UpdateWindow();
}

BOOL CqScrollBarEx::OnMouseWheel(UINT, short zDelta, CPoint) {
    if (m_bFreeze) return TRUE;
    const int n = qsb::wheelLines(zDelta);
    if ((m_nPos == m_nMin && n < 0) || (m_nPos == m_nLimit && n > 0)) return TRUE;
    fnScrollLine((long)m_nLine * n);
    redraw();
    return TRUE;
}

void CqScrollBarEx::OnKeyDown(UINT nChar, UINT, UINT) {
    int code;
    switch (nChar) {
    case VK_LEFT:
    case VK_UP: code = qsb::kArrow1; break;
    case VK_RIGHT:
    case VK_DOWN: code = qsb::kArrow2; break;
    case VK_PRIOR: code = qsb::kPageBefore; break;
    case VK_NEXT: code = qsb::kPageAfter; break;
    case VK_HOME: code = qsb::kTop; break;
    case VK_END: code = qsb::kBottom; break;
    default: Default(); return;
    }
    m_nHitCode = code;
    fnDoScroll(code);
}

BOOL CqScrollBarEx::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_nHoverCode == qsb::kThumb) {
        ::SetCursor(::LoadCursorW(nullptr, isVertical() ? IDC_SIZENS : IDC_SIZEWE));
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

// Window life --------------------------------------------------------------------------------------

void CqScrollBarEx::OnDestroy() {
    fnUnInit();
    CWnd::OnDestroy();
}

void CqScrollBarEx::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CWnd::OnWindowPosChanged(lpwndpos);
    const RECT rc = {lpwndpos->x, lpwndpos->y, lpwndpos->x + lpwndpos->cx, lpwndpos->y + lpwndpos->cy};
    if (EqualRect(&rc, &m_rcWindow)) return;
    m_rcWindow = rc;
    if (IsRectEmpty(&rc)) return;
    // The thumb's image holds the shaft under it, so it goes with the shaft's.
    releaseImage(m_pShaftBmp);
    releaseImage(m_pThumbBmp);
    fnCalculateAllRect();
    if (m_stBmpInfo.bUseParentBk) fnGetParentBk();
    discardCanvas();
}

int CqScrollBarEx::fnSetRealSize(DWORD nSide) {
    RECT rc = {};
    GetClientRect(&rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w > h)
        h = qsb::fitThickness(h, m_szArrow.cy, m_szShaftBegin.cy, m_szShaftMiddle.cy, m_szShaftEnd.cy);
    else
        w = qsb::fitThickness(w, m_szArrow.cx, m_szShaftBegin.cx, m_szShaftMiddle.cx, m_szShaftEnd.cx);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (nSide == 0 || nSide == 3) cy = h;
    else if (nSide == 1 || nSide == 2) cx = w;
    return SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}
