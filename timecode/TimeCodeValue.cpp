// Timecode control: the members, the value model and its conversions, bounds, stepping, and the
// editing primitives shared by mouse and keyboard.
#include "qTimeCode.h"
#include "timecode/timeCodeShared.h"
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

namespace {
const int kHours = 0, kMinutes = 1, kSeconds = 2, kFrames = 3;

// Frames in one second: the rate rounded up (29.97 -> 30, 23.976 -> 24, 25 -> 25).
int nominalRate(double rate) { return (int)(rate + 0.999); }

// Drop-frame numbering belongs to 29.97 alone (not 59.94).
bool isDropFrame(double rate) { return rate == 29.97; }

// Ten drop-frame minutes: 10 x 1800 - 9 x 2 frames; a dropping minute has 1798.
const int kDropTenMinutes = 17982;
const int kDropMinute = 1798;
const int kFullMinute = 1800;

int indexOf(int hours, int minutes, int seconds, int frames, double rate) {
    int total = hours * 60 + minutes;
    int index = (total * 60 + seconds) * nominalRate(rate) + frames;
    if (isDropFrame(rate)) index -= 2 * (total - total / 10);
    return index;
}

int largestIndex(double rate) { return indexOf(99, 59, 59, nominalRate(rate) - 1, rate); }
}  // namespace

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
      m_bHookMouse(1) {}

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
    if (isDropFrame(frameRate)) {
        // Put back the frame numbers skipped so far: two at the start of every minute but each tenth.
        int tens = index / kDropTenMinutes, rest = index % kDropTenMinutes;
        int total = 10 * tens;
        if (rest >= kFullMinute) total += (rest - kFullMinute) / kDropMinute + 1;
        index += 2 * (total - total / 10);
    }
    int n = nominalRate(frameRate);
    frames = index % n;
    int s = index / n;
    seconds = s % 60;
    minutes = (s / 60) % 60;
    hours = s / 3600;
}

int CTimeCodeCtrl::fnGetIndex() const {
    return TimeCodeToIndex(m_nMember[kHours], m_nMember[kMinutes], m_nMember[kSeconds], m_nMember[kFrames]);
}

int CTimeCodeCtrl::fnGetTotalSec() const {
    return (m_nMember[kHours] * 60 + m_nMember[kMinutes]) * 60 + m_nMember[kSeconds];
}

// A bound split plainly, without drop-frame numbering, even at 29.97.
int CTimeCodeCtrl::fnGetIndexMember(int index, int member) {
    int n = nominalRate(m_dFrameRate);
    int parts[4] = {0, 0, 0, index % n};
    int q = index / n;
    parts[kSeconds] = q;
    if (q > 0) {
        parts[kSeconds] = q % 60;
        q /= 60;
        parts[kMinutes] = q;
        if (q > 0) {
            parts[kMinutes] = q % 60;
            parts[kHours] = q / 60;
        }
    }
    return (member >= 0 && member < 4) ? parts[member] : 0;
}

int CTimeCodeCtrl::fnGetMemberUnits(int member) {
    int n = nominalRate(m_dFrameRate);
    static const int kPerUnit[4] = {3600, 60, 1, 0};
    if (member == kFrames) return 1;
    return (member >= 0 && member < 3) ? n * kPerUnit[member] : 0;
}

int CTimeCodeCtrl::fnGetEditMax(int member) {
    static const int kMax[3] = {99, 59, 59};
    if (member == kFrames) return nominalRate(m_dFrameRate) - 1;
    return (member >= 0 && member < 3) ? kMax[member] : 0;
}

int CTimeCodeCtrl::fnGetEditMin(int) { return 0; }

void CTimeCodeCtrl::fnSetIndex(int index, double frameRate, int refresh) {
    int old[4] = {m_nMember[0], m_nMember[1], m_nMember[2], m_nMember[3]};
    if (refresh && m_hWnd && ::GetFocus() == m_hWnd) m_bStepped = 1;
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
    int& v = m_nMember[m_nCurrent];
    int clamped = 0;
    if (v < fnGetEditMin(m_nCurrent)) v = fnGetEditMin(m_nCurrent), clamped = 1;
    if (v > fnGetEditMax(m_nCurrent)) v = fnGetEditMax(m_nCurrent), clamped = 1;

    if (fnGetIndex() > m_nIndexUpperBd) {
        v = fnGetIndexMember(m_nIndexUpperBd, m_nCurrent);
        if (fnGetIndex() > m_nIndexUpperBd) v -= 1;
        return 1;
    }
    if (fnGetIndex() >= m_nIndexLowerBd) return clamped;

    // Below the lower bound. A lone first digit that a second one can still lift to the bound
    // waits (result 0); the member shows the bound meanwhile.
    int result = 1;
    int lowerMember = fnGetIndexMember(m_nIndexLowerBd, m_nCurrent);
    if (!clamped && firstDigit && v >= 0 && v <= 9) {
        m_nFirstDigit = v;
        result = v < lowerMember / 10;
    }
    v = lowerMember;
    if (fnGetIndex() < m_nIndexLowerBd) v += 1;
    return result;
}

int CTimeCodeCtrl::fnCheckValidAndModify() {
    if (!isDropFrame(m_dFrameRate)) return 0;
    // Frames 00 and 01 do not exist at second 00 of a dropping minute.
    if (m_nMember[kSeconds] != 0 || m_nMember[kFrames] >= 2 || m_nMember[kMinutes] % 10 == 0) return 0;
    m_nMember[kFrames] = 2;
    RECT r;
    fnGetMemberRect(kFrames, &r);
    if (m_hWnd) ::InvalidateRect(m_hWnd, &r, TRUE);
    return 1;
}

int CTimeCodeCtrl::fnStepChange(int up) {
    if (m_nCurrent == kFrames) {
        // Through the index, so frames carry into seconds and drop-frame numbering holds.
        int index = fnGetIndex();
        int next = up ? (index + 1 < m_nIndexUpperBd ? index + 1 : m_nIndexUpperBd)
                      : (index - 1 > m_nIndexLowerBd ? index - 1 : m_nIndexLowerBd);
        fnSetIndex(next, m_dFrameRate, 1);
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
    int member = m_nCurrent;
    if (up) {
        if (index >= m_nIndexUpperBd) return 0;
        while (member < kFrames && index + fnGetMemberUnits(member) > m_nIndexUpperBd) ++member;
    } else {
        if (index <= m_nIndexLowerBd) return 0;
        while (member < kFrames && index - fnGetMemberUnits(member) < m_nIndexLowerBd) ++member;
    }
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
