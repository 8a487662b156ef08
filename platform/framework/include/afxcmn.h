// Common controls of the framework stand-in: the tooltip control.
#pragma once
#include "afxwin.h"
#include <commctrl.h>

// A tool record with room for the tool's text.
class CToolInfo : public TTTOOLINFOW {
public:
    WCHAR szText[256];
};

// Wrapper of the system tooltip control (TOOLTIPS_CLASSW).
class UIFW_API CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl();
    ~CToolTipCtrl() override;

    // A popup tooltip owned by pParentWnd, WS_POPUP plus dwStyle (TTS_* bits).
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwStyle = 0, DWORD dwStyleEx = 0);
    using CWnd::CreateEx;

    // Tools: a window (nIDTool 0: the window itself, TTF_IDISHWND) or a rectangle of it (nIDTool
    // non-zero). Tools are added with TTF_SUBCLASS, so the control sees the tool's mouse messages.
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText = LPSTR_TEXTCALLBACKW, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    BOOL GetToolInfo(CToolInfo& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(LPTTTOOLINFOW lpToolInfo);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    int GetToolCount() const;
    BOOL HitTest(CWnd* pWnd, CPoint pt, LPTTTOOLINFOW lpToolInfo) const;

    void RelayEvent(LPMSG lpMsg);
    void Activate(BOOL bActivate);
    int SetMaxTipWidth(int iWidth);
    int GetMaxTipWidth() const;
    void SetDelayTime(UINT nDelay);                  // TTDT_AUTOMATIC
    void SetDelayTime(DWORD dwDuration, int iTime);  // one of the TTDT_ durations
    int GetDelayTime(DWORD dwDuration) const;
    void SetTipBkColor(COLORREF clr);
    COLORREF GetTipBkColor() const;
    void SetTipTextColor(COLORREF clr);
    COLORREF GetTipTextColor() const;
    void SetMargin(LPRECT lprc);
    void GetMargin(LPRECT lprc) const;
    void Pop();
    void Update();

    // --- tooltip additions (platform/framework/src/tooltip.cpp) ---
    // The tool whose tip is showing; FALSE when none. lpToolInfo may be null (only the answer).
    BOOL GetCurrentTool(LPTTTOOLINFOW lpToolInfo) const;
    // Registers a tool record as given; TRUE when the control took it.
    BOOL AddTool(LPTTTOOLINFOW lpToolInfo);
    // --- end of tooltip additions ---

protected:
    // Fills the identifying part of a tool record for pWnd / nIDTool.
    void FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};
