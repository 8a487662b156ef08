// Timecode control: painting from the layout's sprite sheets, the mouse on members and spin
// buttons, enabling, cancel mode and the fixed window size.
#include "qTimeCode.h"
#include "timecode/timeCodeShared.h"
#include <commctrl.h>

namespace {
const int kUpCell = UTMTG_CELL_UP, kDownCell = UTMTG_CELL_DOWN;
const int kDigitSource = 0, kBackgroundSource = 1;

RECT toRect(const CRect& xywh) {
    RECT r = {xywh.left, xywh.top, xywh.left + xywh.right, xywh.top + xywh.bottom};
    return r;
}

UTMTG_SYMBOL digitSymbol(int value) { return (UTMTG_SYMBOL)(value < 0 ? 0 : value % 10); }

// Whether a cell (x, y, width, height) lies at least partly inside the DC's clipping.
bool cellVisible(HDC dc, const CRect& xywh) {
    const RECT r = toRect(xywh);
    return ::RectVisible(dc, &r) != FALSE;
}
}  // namespace

// Drawing through the layout ------------------------------------------------------------------------

int CTimeCodeCtrl::fnOpenCompatibleSymbolSource(HDC target) {
    if (!m_pLayout) return 0;
    m_pLayout->fnCloseCompatibleSymbolSource();
    return m_pLayout->fnOpenCompatibleSymbolSource(target);
}

void CTimeCodeCtrl::fnCloseCompatibleSymbolSource() {
    if (m_pLayout) m_pLayout->fnCloseCompatibleSymbolSource();
}

HDC CTimeCodeCtrl::fnGetSymbolSource() { return m_pLayout ? m_pLayout->fnGetSymbolSource() : nullptr; }

int CTimeCodeCtrl::fnOpenBackgroundSource(HDC target) {
    return m_pLayout ? m_pLayout->fnOpenBackgroundSource(target) : 0;
}

void CTimeCodeCtrl::fnCloseBackgroundSource() {
    if (m_pLayout) m_pLayout->fnCloseBackgroundSource();
}

HDC CTimeCodeCtrl::fnGetBackgroundSource() { return m_pLayout ? m_pLayout->fnGetBackgroundSource() : nullptr; }

CRect CTimeCodeCtrl::fnGetRCSymbol(UTMTG_SYMBOL symbol, UTMTG_CELL cell) {
    if (!m_pLayout || !m_bInit) return CRect(0, 0, 0, 0);
    return m_pLayout->fnGetSymbolRCRect(symbol, cell);
}

// The copied size always comes from the cell; the sprite gives only the source corner. A cell
// outside the DC's clipping is skipped: during playback only the frame digits are invalid.
void CTimeCodeCtrl::fnBitBltSymbol(HDC target, int cell, HDC source, UTMTG_SYMBOL symbol) {
    CRect at = fnGetElemLayoutPos(cell);
    if (!target || !source || at.right <= 0 || at.bottom <= 0 || !cellVisible(target, at)) return;
    CRect sprite = fnGetRCSymbol(symbol, (UTMTG_CELL)cell);
    ::BitBlt(target, at.left, at.top, at.right, at.bottom, source, sprite.left, sprite.top, SRCCOPY);
}

void CTimeCodeCtrl::fnCalcPaintRect(CRect& rect) {
    CRect first = fnGetElemLayoutPos(UTMTG_CELL_HOUR_TENS), last = fnGetElemLayoutPos(UTMTG_CELL_FRAME_ONES);
    rect.SetRect(0, 0, last.left + last.right - first.left + 1, last.top + last.bottom - first.top + 1);
}

void CTimeCodeCtrl::fnPaintConnectLineToDC(CDC& dc, int) {
    if (!fnOpenCompatibleSymbolSource(dc.GetSafeHdc())) return;
    fnBitBltSymbol(dc.GetSafeHdc(), UTMTG_CELL_CONNECT_LINE, fnGetSymbolSource(), UTMTG_SYMBOL_UP);
    fnCloseCompatibleSymbolSource();
}

// Painting -------------------------------------------------------------------------------------------

// Every invalidation asks for erasing, so each repaint starts from the background band.
BOOL CTimeCodeCtrl::OnEraseBkgnd(CDC* pDC) {
    HDC source = pDC ? fnPaintSource(kBackgroundSource, pDC->GetSafeHdc()) : nullptr;
    if (!source) return FALSE;
    CRect from = m_pLayout->fnGetBackgroundRCRect(), to = m_pLayout->fnGetBackgroundDrawRect();
    ::BitBlt(pDC->GetSafeHdc(), to.left, to.top, to.Width(), to.Height(), source, from.left, from.top, SRCCOPY);
    return TRUE;
}

void CTimeCodeCtrl::OnPaint() {
    CPaintDC paint(this);
    HDC dc = paint.GetSafeHdc();

    if (!m_bEnabled) {
        // A disabled control shows its band and grey buttons, no digits.
        HDC buttons = fnPaintSource(kBackgroundSource, dc);
        fnBitBltSymbol(dc, kUpCell, buttons, UTMTG_SYMBOL_UP_DISABLED);
        fnBitBltSymbol(dc, kDownCell, buttons, UTMTG_SYMBOL_DOWN_DISABLED);
        return;
    }

    HDC digits = fnPaintSource(kDigitSource, dc);
    if (!digits) return;
    // Focus and capture are questions to the window server under Wine, dearer than the blits of
    // a playback frame: they are asked only for cells that will be drawn.
    for (int i = 0; i < 4; ++i) {
        if (!cellVisible(dc, fnGetElemLayoutPos(2 * i)) && !cellVisible(dc, fnGetElemLayoutPos(2 * i + 1))) continue;
        int v = m_nMember[i];
        const bool current = i == m_nCurrent;
        if (current && !m_bFlashOn) continue;   // the blink's dark phase
        if (current && !m_bWaitFirst) v = m_nFirstDigit;
        bool tens = true;
        if (!m_bHourLeadingZero) {
            if (i == 0 && v / 10 == 0 && !(m_nCurrent == 0 && ::GetFocus() == m_hWnd)) tens = false;
            // A half-typed member shows its one digit in the ones position.
            if (current && !m_bWaitFirst) tens = false;
        }
        if (tens) fnBitBltSymbol(dc, 2 * i, digits, digitSymbol(v / 10));
        fnBitBltSymbol(dc, 2 * i + 1, digits, digitSymbol(v));
    }

    // The button sprites live in the background image.
    if (!cellVisible(dc, fnGetElemLayoutPos(kUpCell)) && !cellVisible(dc, fnGetElemLayoutPos(kDownCell))) return;
    HDC buttons = fnPaintSource(kBackgroundSource, dc);
    if (!buttons) return;
    UTMTG_SYMBOL up = UTMTG_SYMBOL_UP, down = UTMTG_SYMBOL_DOWN;
    if (!m_bAdjustable) {
        up = UTMTG_SYMBOL_UP_DISABLED;
        down = UTMTG_SYMBOL_DOWN_DISABLED;
    } else if (m_bHover) {
        if (m_bUpButton)
            up = UTMTG_SYMBOL_UP_HOVER;
        else
            down = UTMTG_SYMBOL_DOWN_HOVER;
    } else if (::GetCapture() == m_hWnd || !::IsWindowEnabled(m_hWnd)) {
        if (m_bUpButton)
            up = UTMTG_SYMBOL_UP_PRESSED;
        else
            down = UTMTG_SYMBOL_DOWN_PRESSED;
    }
    fnBitBltSymbol(dc, kUpCell, buttons, up);
    fnBitBltSymbol(dc, kDownCell, buttons, down);
}

// The layout hands its image out only on an open source; the bitmap is taken from there once and
// kept selected in a DC of the control's own until fnUnInit, which drops it before the layout
// frees the images. The layout's images do not change between fnInit and fnUnInit.
HDC CTimeCodeCtrl::fnPaintSource(int which, HDC target) {
    if (!m_pLayout) return nullptr;
    if (m_hPaintSource[which]) return m_hPaintSource[which];
    const bool digits = which == kDigitSource;
    if (!(digits ? m_pLayout->fnOpenCompatibleSymbolSource(target) : m_pLayout->fnOpenBackgroundSource(target)))
        return nullptr;
    HDC open = digits ? m_pLayout->fnGetSymbolSource() : m_pLayout->fnGetBackgroundSource();
    HGDIOBJ bitmap = open ? ::GetCurrentObject(open, OBJ_BITMAP) : nullptr;
    if (digits) m_pLayout->fnCloseCompatibleSymbolSource();
    else m_pLayout->fnCloseBackgroundSource();
    HDC dc = bitmap ? ::CreateCompatibleDC(target) : nullptr;
    HGDIOBJ old = dc ? ::SelectObject(dc, bitmap) : nullptr;
    if (!old || old == HGDI_ERROR) {
        if (dc) ::DeleteDC(dc);
        return nullptr;
    }
    m_hPaintSource[which] = dc;
    m_hPaintSourceOld[which] = old;
    return dc;
}

void CTimeCodeCtrl::fnReleasePaintSources() {
    for (int i = 0; i < 2; ++i) {
        if (!m_hPaintSource[i]) continue;
        ::SelectObject(m_hPaintSource[i], m_hPaintSourceOld[i]);
        ::DeleteDC(m_hPaintSource[i]);
        m_hPaintSource[i] = nullptr;
        m_hPaintSourceOld[i] = nullptr;
    }
}

// Mouse ------------------------------------------------------------------------------------------------

void CTimeCodeCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
    if (!m_bAdjustable) {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    m_bHover = 0;
    RECT upRect = toRect(fnGetElemLayoutPos(kUpCell)), downRect = toRect(fnGetElemLayoutPos(kDownCell));
    const bool onUp = ::PtInRect(&upRect, point) != FALSE, onDown = ::PtInRect(&downRect, point) != FALSE;
    if (!onUp && !onDown) {
        ::SetFocus(m_hWnd);
        // The member whose cells are nearest: split at the midpoints between neighbouring members.
        auto x = [this](int cell) { return fnGetElemLayoutPos(cell).left; };
        int member = 3;
        if (point.x < (x(1) + x(2)) / 2)
            member = 0;
        else if (point.x < (x(3) + x(4)) / 2)
            member = 1;
        else if (point.x < (x(5) + x(6)) / 2)
            member = 2;
        if (member == m_nCurrent) return;
        fnToWaitFirst();
        fnSetCurrentFlash(member, 0);
        return;
    }
    m_bUpButton = onUp;
    if (::GetFocus() == m_hWnd) {
        fnToDisplayMode();
        fnToWaitFirst();
        m_nSpinCount = 1;
        fnStepChange(m_bUpButton);
        fnRefresh(0);
    } else {
        // The first click only takes focus; the timer repeats steps of a focused control.
        ::SetFocus(m_hWnd);
    }
    ::SetCapture(m_hWnd);
    RECT pressed = m_bUpButton ? upRect : downRect;
    ::InvalidateRect(m_hWnd, &pressed, TRUE);
}

void CTimeCodeCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
    if (::GetCapture() != m_hWnd) {
        CWnd::OnLButtonUp(nFlags, point);
        return;
    }
    ::ReleaseCapture();
    fnToDisplayMode();
    RECT button = toRect(fnGetElemLayoutPos(m_bUpButton ? kUpCell : kDownCell));
    ::InvalidateRect(m_hWnd, &button, TRUE);
    fnNotify(EN_CHANGE);
}

void CTimeCodeCtrl::OnMouseMove(UINT nFlags, CPoint point) {
    if (!m_bAdjustable) {
        CWnd::OnMouseMove(nFlags, point);
        return;
    }
    ::_TrackMouseEvent(&m_tme);
    RECT upRect = toRect(fnGetElemLayoutPos(kUpCell)), downRect = toRect(fnGetElemLayoutPos(kDownCell));
    if (::PtInRect(&upRect, point) || ::PtInRect(&downRect, point)) {
        // Moving onto the other button during a spin reverses it.
        m_bHover = 1;
        m_bUpButton = ::PtInRect(&upRect, point) ? 1 : 0;
    } else {
        m_bHover = 0;
    }
    RECT both;
    ::UnionRect(&both, &upRect, &downRect);
    ::InvalidateRect(m_hWnd, &both, TRUE);
}

LRESULT CTimeCodeCtrl::OnMouseLeave(WPARAM, LPARAM) {
    if (!m_bAdjustable) return 0;
    m_bHover = 0;
    RECT upRect = toRect(fnGetElemLayoutPos(kUpCell)), downRect = toRect(fnGetElemLayoutPos(kDownCell)), both;
    ::UnionRect(&both, &upRect, &downRect);
    ::InvalidateRect(m_hWnd, &both, TRUE);
    return 0;
}

// Enabling, cancel mode, size ------------------------------------------------------------------------

void CTimeCodeCtrl::OnEnable(BOOL bEnable) {
    CWnd::OnEnable(bEnable);
    m_bEnabled = bEnable;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
}

void CTimeCodeCtrl::OnCancelMode() {
    if (m_bAdjustable) {
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        m_bHover = 0;
        fnToDisplayMode();
        RECT button = toRect(fnGetElemLayoutPos(m_bUpButton ? kUpCell : kDownCell));
        ::InvalidateRect(m_hWnd, &button, TRUE);
        fnNotify(EN_CHANGE);
    }
    CWnd::OnCancelMode();
}

// Whatever size is asked for, the control keeps the size of its background band.
void CTimeCodeCtrl::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    CWnd::OnWindowPosChanging(lpwndpos);
    if (!m_pLayout || !lpwndpos) return;
    CRect band = m_pLayout->fnGetBackgroundRCRect();
    lpwndpos->cx = band.Width();
    lpwndpos->cy = band.Height();
}
