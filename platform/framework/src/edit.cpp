// Edit boxes: positions and the formatting rectangle, on the system edit class.
#include "afxwin.h"

int CEdit::CharFromPos(CPoint pt) const {
    // The system takes client coordinates packed into one parameter, as 16-bit values.
    return (int)::SendMessageW(m_hWnd, EM_CHARFROMPOS, 0, MAKELPARAM((WORD)(short)pt.x, (WORD)(short)pt.y));
}

CPoint CEdit::PosFromChar(UINT nChar) const {
    LRESULT pos = ::SendMessageW(m_hWnd, EM_POSFROMCHAR, nChar, 0);
    return CPoint((short)LOWORD(pos), (short)HIWORD(pos));
}

DWORD CEdit::GetMargins() const { return (DWORD)::SendMessageW(m_hWnd, EM_GETMARGINS, 0, 0); }

void CEdit::GetRect(LPRECT lpRect) const {
    if (lpRect) ::SendMessageW(m_hWnd, EM_GETRECT, 0, (LPARAM)lpRect);
}
