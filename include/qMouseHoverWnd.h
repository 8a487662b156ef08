// A child-window base that turns the system's mouse tracking into two overridable hooks: one when
// the pointer comes to rest over the window, one when it leaves.
#pragma once
#include "qTrimUIDef.h"
#include <commctrl.h>

// Derived classes call fnStartEvent once their window exists; until then the tracking request
// names no window and no hover or leave arrives. A derived WM_MOUSEMOVE handler ends by calling
// CqMouseHoverWnd::OnMouseMove so tracking stays armed.
class QTRIMUI_API CqMouseHoverWnd : public CWnd {
    DECLARE_DYNCREATE(CqMouseHoverWnd)
public:
    CqMouseHoverWnd();
    virtual ~CqMouseHoverWnd();

    // FALSE without a live window (nothing changes); otherwise rewrites the whole request.
    int fnStartEvent();
    // Replaces only the request's flags; fnStartEvent resets them.
    void SetMouseTrackEventFlags(DWORD dwFlags);

    virtual void fnMouseHover();
    virtual void fnMouseLeave();

protected:
    TRACKMOUSEEVENT m_stTrackMouseEvent;
    BOOL m_bMouseHover;
    CPoint m_ptMouse;
    BOOL m_bTracking;   // the request is with the system and has not ended yet

    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
