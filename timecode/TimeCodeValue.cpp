// Timecode control: the members, the value model and its conversions, bounds, stepping, and the
// editing primitives shared by mouse and keyboard.
#include "qTimeCode.h"
#include "timecode/timeCodeShared.h"
#include "timecode/TimeCodeMath.h"
#include <new>

IMPLEMENT_DYNAMIC(CTimeCodeCtrl, CWnd)

BEGIN_MESSAGE_MAP(CTimeCodeCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_DESTROY()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_TIMER()
    ON_WM_CHAR()
    ON_WM_GETDLGCODE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

using namespace qtc;

CTimeCodeCtrl::CTimeCodeCtrl()
    : m_pLayout(new (std::nothrow) CTimeCodeLayout),
      m_bInit(0),
      m_bHourLeadingZero(0),
      m_nLayoutOffsetX(3),
      m_nLayoutOffsetY(4),
      m_bFlashOn(1),
      m_bWaitFirst(1),
      m_bUpButton(0),
      m_bAdjustable(1),
      m_b2ndBackground(0),
      m_bLongFormat(1),
      m_nCurrent(0),
      m_nSpinCount(0),
      m_nMember{0, 0, 0, 0},
      m_bFieldsShown(0),
      m_bKeyDone(0),
      m_dFrameRate(100.0),
      m_nIndexLowerBd(0),
      m_nIndexUpperBd(27687210),
      m_nFirstDigit(0),
      m_bStepped(0),
      m_bEnabled(1),
      m_bHover(0),
      m_tme(),
      m_bHookMouse(1),
      m_hPaintSource{nullptr, nullptr},
      m_hPaintSourceOld{nullptr, nullptr} {}

CTimeCodeCtrl::~CTimeCodeCtrl() {
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
    fnUnInit();
}

int CTimeCodeCtrl::fnInit(int longFormat, int adjustable, int compact) {
    if (m_bInit) return 1;
    // Sizing needs the window; without it nothing is loaded.
    if (!m_hWnd || !::IsWindow(m_hWnd)) return 0;
    m_bLongFormat = longFormat;
    m_bAdjustable = adjustable;
    m_b2ndBackground = compact;
    m_tme.cbSize = sizeof(m_tme);
    m_tme.dwFlags = TME_HOVER | TME_LEAVE;
    m_tme.hwndTrack = m_hWnd;
    m_tme.dwHoverTime = 10;
    if (!m_pLayout || !m_pLayout->fnInit()) return 0;
    m_pLayout->fnSetAdjustable(adjustable);
    m_pLayout->fnSet2ndBackground(compact);
    m_pLayout->fnSetLongFormat(longFormat);
    int width = adjustable ? (compact ? 85 : 105) : (compact ? 78 : 90);
    int height = compact ? 16 : 21;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (compact) {
        m_nLayoutOffsetX = 0;
        m_nLayoutOffsetY = 1;
    }
    m_bInit = 1;
    return 1;
}

int CTimeCodeCtrl::fnUnInit() {
    fnReleasePaintSources();   // before the layout frees the images they hold
    delete m_pLayout;
    m_pLayout = nullptr;
    m_bInit = 0;
    return 1;
}

void CTimeCodeCtrl::OnDestroy() {
    qtc::releaseFocusHook(m_hWnd);
    fnUnInit();
    CWnd::OnDestroy();
}

BOOL CTimeCodeCtrl::PreTranslateMessage(MSG* pMsg) { return CWnd::PreTranslateMessage(pMsg); }

LRESULT CTimeCodeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CWnd::WindowProc(message, wParam, lParam);
}

// Value and conversions ---------------------------------------------------------------------------

int CTimeCodeCtrl::TimeCodeToIndex(int hours, int minutes, int seconds, int frames) const {
    return indexOf(hours, minutes, seconds, frames, m_dFrameRate);
}

void CTimeCodeCtrl::fnGetTimeCode(int index, int& hours, int& minutes, int& seconds, int& frames,
                                  double frameRate) const {
    int m[4];
    membersOf(index, frameRate, m);
    hours = m[kHours], minutes = m[kMinutes], seconds = m[kSeconds], frames = m[kFrames];
}

int CTimeCodeCtrl::fnGetIndex() const {
    return TimeCodeToIndex(m_nMember[kHours], m_nMember[kMinutes], m_nMember[kSeconds], m_nMember[kFrames]);
}

int CTimeCodeCtrl::fnGetTotalSec() const {
    return (m_nMember[kHours] * 60 + m_nMember[kMinutes]) * 60 + m_nMember[kSeconds];
}

// A bound split plainly, without drop-frame numbering, even at 29.97.
int CTimeCodeCtrl::fnGetIndexMember(int index, int member) { return plainMember(index, m_dFrameRate, member); }

int CTimeCodeCtrl::fnGetMemberUnits(int member) { return memberUnits(member, m_dFrameRate); }

int CTimeCodeCtrl::fnGetEditMax(int member) { return editMax(member, m_dFrameRate); }

int CTimeCodeCtrl::fnGetEditMin(int) { return 0; }

void CTimeCodeCtrl::fnSetIndex(int index, double frameRate, int refresh) {
    int old[4] = {m_nMember[0], m_nMember[1], m_nMember[2], m_nMember[3]};
    // A step while focused keeps the focus loss from reporting a change; OnSetFocus clears the flag,
    // so it is set here without asking the window server who has the focus on every frame.
    if (refresh) m_bStepped = 1;
    if (frameRate > 0) m_dFrameRate = frameRate;
    fnGetTimeCode(index, m_nMember[kHours], m_nMember[kMinutes], m_nMember[kSeconds], m_nMember[kFrames],
                  m_dFrameRate);
    // The host is trusted: its index widens the bounds instead of being refused.
    if (index > m_nIndexUpperBd) m_nIndexUpperBd = index;
    if (index < m_nIndexLowerBd) m_nIndexLowerBd = index;
    if (!refresh) {
        m_bFieldsShown = 0;
        return;
    }
    for (int i = 0; i < 4; ++i) {
        if (m_bFieldsShown && old[i] == m_nMember[i]) continue;
        RECT r;
        fnGetMemberRect(i, &r);
        if (m_hWnd) ::InvalidateRect(m_hWnd, &r, TRUE);
    }
    m_bFieldsShown = 1;
}

void CTimeCodeCtrl::fnSetFrameRate(double frameRate) {
    m_dFrameRate = frameRate == 0.0 ? 100.0 : frameRate;
    int largest = largestIndex(m_dFrameRate);
    if (m_nIndexUpperBd > largest) m_nIndexUpperBd = largest;
}

double CTimeCodeCtrl::fnGetFrameRate() { return m_dFrameRate; }

void CTimeCodeCtrl::fnSetIndexLowerBd(int index) { m_nIndexLowerBd = index < 0 ? 0 : index; }
int CTimeCodeCtrl::fnGetIndexLowerBd() { return m_nIndexLowerBd; }

void CTimeCodeCtrl::fnSetIndexUpperBd(int index) {
    int largest = largestIndex(m_dFrameRate);
    m_nIndexUpperBd = index < largest ? index : largest;
}
int CTimeCodeCtrl::fnGetIndexUpperBd() { return m_nIndexUpperBd; }

// Editing primitives ------------------------------------------------------------------------------

int CTimeCodeCtrl::fnCheckBounding(int firstDigit) {
    return checkBounding(m_nMember, m_nCurrent, firstDigit != 0, m_nIndexLowerBd, m_nIndexUpperBd, m_dFrameRate,
                         &m_nFirstDigit);
}

int CTimeCodeCtrl::fnCheckValidAndModify() {
    if (!fixDroppedFrame(m_nMember, m_dFrameRate)) return 0;
    RECT r;
    fnGetMemberRect(kFrames, &r);
    if (m_hWnd) ::InvalidateRect(m_hWnd, &r, TRUE);
    return 1;
}

int CTimeCodeCtrl::fnStepChange(int up) {
    if (m_nCurrent == kFrames) {
        // Through the index, so frames carry into seconds and drop-frame numbering holds.
        fnSetIndex(stepFrame(fnGetIndex(), up != 0, m_nIndexLowerBd, m_nIndexUpperBd), m_dFrameRate, 1);
        return 0;
    }
    if (m_hWnd && ::GetFocus() == m_hWnd) m_bStepped = 1;
    int& v = m_nMember[m_nCurrent];
    int before = v;
    v += up ? 1 : -1;
    if (!fnCheckBounding(0)) return before / 10 == v / 10;
    return !fnRefineEdits(up);
}

int CTimeCodeCtrl::fnRefineEdits(int up) {
    int index = fnGetIndex();
    int member = carryMember(index, m_nCurrent, up != 0, m_nIndexLowerBd, m_nIndexUpperBd, m_dFrameRate);
    if (member < 0) return 0;
    for (int i = 0; i < member; ++i) {
        RECT r;
        fnGetMemberRect(i, &r);
        if (m_hWnd) ::InvalidateRect(m_hWnd, &r, TRUE);
    }
    int old[4] = {m_nMember[0], m_nMember[1], m_nMember[2], m_nMember[3]};
    int unit = fnGetMemberUnits(member);
    fnSetIndex(up ? index + unit : index - unit, m_dFrameRate, 0);
    // At 29.97 a carry can renumber the lower members too (00:00:59:00 + 1 s = 00:01:00:02).
    for (int i = member + 1; i < 4; ++i) {
        if (old[i] == m_nMember[i] || i == m_nCurrent) continue;
        RECT r;
        fnGetMemberRect(i, &r);
        if (m_hWnd) ::InvalidateRect(m_hWnd, &r, TRUE);
    }
    fnFlashEdits(member);
    return 1;
}

void CTimeCodeCtrl::fnGetMemberRect(int member, RECT* rect) {
    if (!rect) return;
    SetRectEmpty(rect);
    if (member < 0 || member > 3) return;
    CRect tens = fnGetElemLayoutPos(2 * member), ones = fnGetElemLayoutPos(2 * member + 1);
    RECT a = {tens.left, tens.top, tens.left + tens.right, tens.top + tens.bottom};
    RECT b = {ones.left, ones.top, ones.left + ones.right, ones.top + ones.bottom};
    UnionRect(rect, &a, &b);
}

void CTimeCodeCtrl::fnRefresh(int onesOnly) {
    if (!m_hWnd) return;
    RECT r;
    if (onesOnly) {
        CRect c = fnGetElemLayoutPos(2 * m_nCurrent + 1);
        SetRect(&r, c.left, c.top, c.left + c.right, c.top + c.bottom);
    } else {
        fnGetMemberRect(m_nCurrent, &r);
    }
    ::InvalidateRect(m_hWnd, &r, TRUE);
}

void CTimeCodeCtrl::fnSetCurrentFlash(int member, int) {
    fnToDisplayMode();
    fnRefresh(0);
    m_nCurrent = member;
    fnRefresh(0);
}

void CTimeCodeCtrl::fnFlashEdits(int member) {
    fnRefresh(0);
    m_nCurrent = member;
}

void CTimeCodeCtrl::fnToDisplayMode() {
    if (m_nSpinCount >= 9 && m_hWnd) ::SetTimer(m_hWnd, qtc::kTimerId, qtc::kBlinkMs, nullptr);
    m_nSpinCount = 0;
}

void CTimeCodeCtrl::fnToWaitFirst() {
    if (m_bWaitFirst) return;
    if (m_nFirstDigit != m_nMember[m_nCurrent]) fnRefresh(0);
    fnNotify(EN_CHANGE);
    m_bWaitFirst = 1;
}

void CTimeCodeCtrl::fnNotify(UINT code) {
    if (!m_hWnd) return;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return;
    WORD id = (WORD)::GetWindowLongW(m_hWnd, GWL_ID);
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)m_hWnd);
}

// Settings ----------------------------------------------------------------------------------------

int CTimeCodeCtrl::fnSetAdjustable(int adjustable) {
    m_bAdjustable = adjustable;
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 1;
}

int CTimeCodeCtrl::fnSetLongFormat(int longFormat) {
    if (longFormat == m_bLongFormat) return 1;
    m_bLongFormat = longFormat;
    if (m_pLayout) m_pLayout->fnSetLongFormat(longFormat);
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 1;
}

void CTimeCodeCtrl::fnSetHourLeadingZero(int leadingZero) { m_bHourLeadingZero = leadingZero; }
int CTimeCodeCtrl::fnGetHourLeadingZero() { return m_bHourLeadingZero; }
void CTimeCodeCtrl::fnSetHookMouse(int hook) { m_bHookMouse = hook; }
int CTimeCodeCtrl::fnGetHookMouse() { return m_bHookMouse; }

void CTimeCodeCtrl::fnSetlayoutOffset(int x, int y) {
    m_nLayoutOffsetX = x;
    m_nLayoutOffsetY = y;
}

void CTimeCodeCtrl::fnGetlayoutOffset(int* x, int* y) {
    if (x) *x = m_nLayoutOffsetX;
    if (y) *y = m_nLayoutOffsetY;
}

// Until fnInit has succeeded the control has no geometry: every rectangle is empty.
CRect CTimeCodeCtrl::fnGetElemLayoutPos(int cell) {
    if (!m_pLayout || !m_bInit) return CRect(0, 0, 0, 0);
    CRect r = m_pLayout->fnGetCellDrawRect((UTMTG_CELL)cell);
    return CRect(r.left + m_nLayoutOffsetX, r.top + m_nLayoutOffsetY, r.right, r.bottom);
}
