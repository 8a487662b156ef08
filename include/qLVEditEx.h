// The edit box a host lays over a list-view item to rename it in place.
#pragma once
#include "qTrimUIDef.h"

// Ends its edit on its own when the user clicks outside it (the click is swallowed and the focus
// goes to the parent), on Enter and on Escape (IsEscape tells which), picks a keyboard layout that
// suits its font when the edit starts and, with multiple-language support on, a font that suits
// the input language. One in-place edit is active at a time.
class QTRIMUI_API CLVEditEx : public CEdit {
public:
    CLVEditEx();
    virtual ~CLVEditEx();

    // Installs the outside-click hook and switches the keyboard layout; the window must exist.
    void fnStartEdit();
    // Removes the hook and deletes the edit's own font, only when this edit is the active one.
    void fnEndEdit();
    int IsEscape();
    int fnIsRButtonDown();
    void fnGetText(CString& text);
    void fnSetText(const CString& text);
    LOGFONTW fnGetLOGFONT();
    // Creates the edit's own font from the description and sets it without redrawing.
    void fnSetLOGFONT(LOGFONTW* font);
    void fnSupportMultipleLang(int on);

protected:
    // The first installed layout whose language uses the character set's ANSI code page, else the
    // current layout.
    HKL fnFindHKL(BYTE charset);
    // Switches to a TrueType face of the layout language's code page; 1 when the font changed.
    int fnFindCorrectFontByIME(HKL layout);
    // Non-Unicode edits take a composition result here; 1 when it was inserted.
    int OnImeComposition(UINT wParam, LONG flags);
    int fnIsControlKeyDown();
    int fnIsShiftKeyDown();
    static LRESULT CALLBACK gfnMouseProc(int nCode, WPARAM wParam, LPARAM lParam);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg UINT OnGetDlgCode();
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

protected:
    int m_bEscape;
    int m_bUnicodeEdit;
    int m_bRButtonDown;
    int m_bMultiLang;
    LOGFONTW m_lfFont;
    HKL m_hKeyboardLayout;
    unsigned int m_nFontCodePage;
    HFONT m_hFont;

    static CLVEditEx* g_pEdit;
    static HHOOK g_hHookMouse;
};
