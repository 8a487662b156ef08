// The card tooltip: a white card with a coloured strip and the system information icon, sized
// line by line from the tip's text and placed below and to the right of the cursor.
#pragma once
#include "qToolTipDVDUser.h"

class QTRIMUI_API qvCToolTipCtrl : public CToolTipCtrl {
    DECLARE_DYNAMIC(qvCToolTipCtrl)
public:
    qvCToolTipCtrl();
    ~qvCToolTipCtrl() override;

    int fnCreate(CWnd* parent);   // 1, or 0 when the window cannot be made
    int fnUnInit();               // deletes the held font; 1
    void fnSetFont(HFONT font);   // replaces (and deletes) the held font; the control owns it
    tagCQTOOLTIP_LOOKS* fnGetLooksData();

    // Tools registered with TTF_SUBCLASS: the control watches the tool's mouse itself. Both return
    // the control's answer to TTM_ADDTOOL (0 for a non-window or an empty rectangle).
    int AddRectTool(CWnd* wnd, const wchar_t* text, const RECT* rect, UINT id);
    int AddWindowTool(CWnd* wnd, const wchar_t* text);

    // As CqToolTipDVDUser's, except that the text overload registers a rectangle tool of hwnd.
    int fnAddTool(HWND hwnd, HWND hwndTool);
    int fnAddTool(HWND hwnd, UINT id);
    int fnAddTool(HWND hwnd, UINT id, CRect rect);
    int fnAddTool(HWND hwnd, UINT id, wchar_t* text);
    int fnAddTool(HWND hwnd, HINSTANCE inst, UINT stringId);

protected:
    void PreSubclassWindow() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnPaint();
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    tagCQTOOLTIP_LOOKS m_dsLooks;   // only hFont is used
    HICON m_hIcon;
    COLORREF m_crBack, m_crText, m_crStrip, m_crFrame;
};
