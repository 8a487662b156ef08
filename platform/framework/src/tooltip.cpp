// Tooltip control: the queries and tool forms the library's owner-drawn tooltips build on.
#include "afxcmn.h"

BOOL CToolTipCtrl::GetCurrentTool(LPTTTOOLINFOW lpToolInfo) const {
    if (!::IsWindow(m_hWnd)) return FALSE;
    return (BOOL)::SendMessageW(m_hWnd, TTM_GETCURRENTTOOLW, 0, (LPARAM)lpToolInfo);
}

BOOL CToolTipCtrl::AddTool(LPTTTOOLINFOW lpToolInfo) {
    if (!lpToolInfo || !::IsWindow(m_hWnd)) return FALSE;
    return (BOOL)::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, (LPARAM)lpToolInfo);
}
