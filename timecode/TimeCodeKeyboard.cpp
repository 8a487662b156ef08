// Timecode control: keys, typed digits, spinning, the blink/repeat timer, focus and the mouse hook
// that ends an edit on a click elsewhere.
#include "qTimeCode.h"
#include "timecode/timeCodeShared.h"
#include <commctrl.h>
#include <cctype>

namespace {
// One hook for all controls: only the focused one installs it.
HHOOK g_hTimeCodeHook = nullptr;

const int kHours = 0, kFrames = 3;

LRESULT CALLBACK TimeCodeMouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && wParam == WM_LBUTTONDOWN) {
        const MOUSEHOOKSTRUCT* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        HWND focus = ::GetFocus();
        // Even a click on a window that never takes focus ends the edit.
        if (mouse && mouse->hwnd != focus) ::SetFocus(::GetParent(focus));
    }
    return ::CallNextHookEx(g_hTimeCodeHook, nCode, wParam, lParam);
}

void removeHook() {
    if (g_hTimeCodeHook) ::UnhookWindowsHookEx(g_hTimeCodeHook);
    g_hTimeCodeHook = nullptr;
}
}  // namespace

namespace qtc {
void releaseFocusHook(HWND control) {
    if (control && ::GetFocus() == control) removeHook();
}
}  // namespace qtc

UINT CTimeCodeCtrl::OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

LRESULT CTimeCodeCtrl::OnHelpHitTest(WPARAM, LPARAM) { return (LRESULT)GetDlgCtrlID() + 0x50000; }

void CTimeCodeCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    m_bKeyDone = 0;
    // Held keys act once; repetition comes from the timer.
    if (!m_bAdjustable || ::GetCapture() == m_hWnd || (nFlags & 0x4000)) {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }

    if (nChar == VK_UP || nChar == VK_DOWN) {
        m_bStepped = 0;
        fnToDisplayMode();
        fnToWaitFirst();
        m_nSpinCount = 1;
        m_bUpButton = nChar == VK_UP;
        fnStepChange(m_bUpButton);
        fnRefresh(0);
    } else {
        if (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9) nChar = nChar - VK_NUMPAD0 + '0';
        if (nChar >= '0' && nChar <= '9') {
            int digit = (int)(nChar - '0');
            m_bStepped = 0;
            fnToDisplayMode();
            if (m_bWaitFirst) {
                m_nMember[m_nCurrent] = digit;
                m_nFirstDigit = 0;
                if (!fnCheckBounding(1)) {
                    if (m_nFirstDigit == 0 && digit != 0) m_nFirstDigit = m_nMember[m_nCurrent];
                    m_bWaitFirst = 0;
                }
                fnRefresh(0);
                m_bKeyDone = 1;
                return;
            }
            m_nMember[m_nCurrent] = 10 * m_nFirstDigit + digit;
            if (!fnCheckBounding(0))
                fnSetCurrentFlash((m_nCurrent + 1) % 4, 0);
            else
                fnRefresh(0);
            m_bWaitFirst = 1;
        } else {
            int target = m_nCurrent;
            switch (nChar) {
            case VK_LEFT: target = (m_nCurrent + 3) % 4; break;
            case VK_RIGHT: target = (m_nCurrent + 1) % 4; break;
            case VK_HOME: target = kHours; break;
            case VK_END: target = kFrames; break;
            }
            if (target == m_nCurrent) {
                CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
                return;
            }
            fnCheckValidAndModify();
            fnToWaitFirst();
            fnSetCurrentFlash(target, 0);
            m_bKeyDone = 1;
            return;
        }
    }
    // Common end of a key step and of a second digit.
    fnCheckValidAndModify();
    fnNotify(EN_CHANGE);
    m_bKeyDone = 1;
}

// A character whose key press was not consumed is handled once more as a key press.
void CTimeCodeCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (!m_bKeyDone) OnKeyDown((UINT)toupper((int)nChar), nRepCnt, nFlags);
    CWnd::OnChar(nChar, nRepCnt, nFlags);
}

void CTimeCodeCtrl::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (!m_bAdjustable || ::GetCapture() == m_hWnd) {
        CWnd::OnKeyUp(nChar, nRepCnt, nFlags);
        return;
    }
    if (nChar == VK_UP || nChar == VK_DOWN) {
        // Only the key that drives the spin ends it.
        if ((m_bUpButton && nChar == VK_UP) || (!m_bUpButton && nChar == VK_DOWN)) {
            fnToDisplayMode();
            fnNotify(EN_CHANGE);
        }
        return;
    }
    if (nChar == VK_RETURN) {
        HWND parent = ::GetParent(m_hWnd);
        NMHDR hdr;
        hdr.hwndFrom = m_hWnd;
        hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
        hdr.code = (UINT)NM_RETURN;
        if (parent) ::SendMessageW(parent, WM_NOTIFY, (WPARAM)GetDlgCtrlID(), (LPARAM)&hdr);
        ::SetFocus(parent);
        return;
    }
    CWnd::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CTimeCodeCtrl::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != qtc::kTimerId) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    int count = m_nSpinCount;
    if (count == 0) {
        // The current member blinks: 250 ms shown, 250 ms hidden.
        m_bFlashOn = !m_bFlashOn;
        fnRefresh(0);
    } else if (count <= 8) {
        // A held key or button repeats slowly first: steps on ticks 4 and 8.
        if (count == 4 || count == 8) fnStepChange(m_bUpButton);
        m_nSpinCount = count + 1;
        m_bFlashOn = !m_bFlashOn;
        fnRefresh(0);
    } else {
        int onesOnly = fnStepChange(m_bUpButton);
        if (count == 9) {
            ::SetTimer(m_hWnd, qtc::kTimerId, qtc::kSpinMs, nullptr);
            m_nSpinCount = 10;
            if (!m_bFlashOn) onesOnly = 0;   // the hidden tens digit must come back too
        }
        m_bFlashOn = 1;
        fnRefresh(onesOnly);
    }
}

void CTimeCodeCtrl::OnSetFocus(CWnd* pOldWnd) {
    m_bStepped = 0;   // only steps made while focused count
    if (m_bAdjustable) {
        removeHook();   // a hook left by a control that lost focus without hearing about it
        g_hTimeCodeHook = ::SetWindowsHookExW(WH_MOUSE, TimeCodeMouseHookProc, nullptr, ::GetCurrentThreadId());
        m_bHookMouse = 1;
        fnNotify(EN_SETFOCUS);
        ::SetTimer(m_hWnd, qtc::kTimerId, qtc::kBlinkMs, nullptr);
    }
    CWnd::OnSetFocus(pOldWnd);
}

void CTimeCodeCtrl::OnKillFocus(CWnd* pNewWnd) {
    // Hook and timer go even when the host made the control fixed while it had focus.
    removeHook();
    ::KillTimer(m_hWnd, qtc::kTimerId);
    if (m_bAdjustable) {
        m_bFlashOn = 1;
        m_bWaitFirst = 1;
        m_nSpinCount = 0;
        fnCheckValidAndModify();
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        if (!m_bStepped) fnNotify(EN_CHANGE);
        m_bStepped = 0;
        fnNotify(EN_KILLFOCUS);
    }
    CWnd::OnKillFocus(pNewWnd);
}
