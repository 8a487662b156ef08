// Mouse-hover window: the tracking request is handed to the system again on the first move after
// it ended, because hover tracking ends with each WM_MOUSEHOVER and leave tracking with each
// WM_MOUSELEAVE. Not on every move: under Wine each request costs more than a repaint.
#include "qMouseHoverWnd.h"

namespace {
const DWORD kHoverTime = 10;   // ms of rest before WM_MOUSEHOVER

void fillRequest(TRACKMOUSEEVENT& tme, HWND target) {
    tme.cbSize = sizeof(TRACKMOUSEEVENT);
    tme.dwFlags = TME_HOVER | TME_LEAVE;
    tme.hwndTrack = target;
    tme.dwHoverTime = kHoverTime;
}
}  // namespace

IMPLEMENT_DYNCREATE(CqMouseHoverWnd, CWnd)

BEGIN_MESSAGE_MAP(CqMouseHoverWnd, CWnd)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CqMouseHoverWnd::CqMouseHoverWnd() : m_bMouseHover(FALSE), m_ptMouse(0, 0), m_bTracking(FALSE) {
    fillRequest(m_stTrackMouseEvent, m_hWnd);
}

CqMouseHoverWnd::~CqMouseHoverWnd() {}

int CqMouseHoverWnd::fnStartEvent() {
    if (!::IsWindow(m_hWnd)) return FALSE;
    fillRequest(m_stTrackMouseEvent, m_hWnd);
    m_bTracking = FALSE;
    return TRUE;
}

void CqMouseHoverWnd::SetMouseTrackEventFlags(DWORD dwFlags) {
    m_stTrackMouseEvent.dwFlags = dwFlags;
    m_bTracking = FALSE;   // the next move asks with the new flags
}

void CqMouseHoverWnd::fnMouseHover() {}
void CqMouseHoverWnd::fnMouseLeave() {}

LRESULT CqMouseHoverWnd::OnMouseLeave(WPARAM, LPARAM) {
    m_bTracking = FALSE;
    m_bMouseHover = FALSE;
    fnMouseLeave();
    return 0;
}

LRESULT CqMouseHoverWnd::OnMouseHover(WPARAM, LPARAM) {
    m_bTracking = FALSE;
    m_bMouseHover = TRUE;
    fnMouseHover();
    return 0;
}

// Not passed on: the default processing has nothing to add for a plain child.
void CqMouseHoverWnd::OnMouseMove(UINT, CPoint point) {
    m_ptMouse = point;
    if (!m_bTracking) m_bTracking = ::_TrackMouseEvent(&m_stTrackMouseEvent);
}

// Kept out of the message map, as the framework's controls do unless a host asks for help.
LRESULT CqMouseHoverWnd::OnHelpHitTest(WPARAM, LPARAM) {
    return (LRESULT)(::GetWindowLongW(m_hWnd, GWL_ID) + HID_BASE_CONTROL);
}
