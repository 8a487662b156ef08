// The shaped tooltip: a balloon with a tail or a rectangle, each with a drop shadow, painted in
// its own colours over the system tooltip's tool registry and timing; and the relay functions
// that forward a host's mouse messages to any tooltip window.
#pragma once
#include "qTrimUIDef.h"
#include <afxcmn.h>
#include "qCutCFFont.h"
#include <memory>

// Looks of a tooltip. Defaults come from the string table (6362 layout, 6361 colours) and may be
// overridden in the settings file, section "CqToolTipDVDUser", keys "LayoutSetting", "ColorSetting".
struct tagCQTOOLTIP_LOOKS {
    int bHide;          // non-zero: shows nothing (1 x 1 window, empty region)
    int bRoundShape;    // non-zero: balloon with a tail; zero: rectangle
    int bStayVisible;   // non-zero: mouse, relayed keys and the pop timer do not hide the tip
    POINT ptPosition;   // fixed screen position; (-1, -1) follows the cursor
    SIZE szMaxText;     // largest text area, used when both are non-zero
    HFONT hFont;        // text font, owned by the tooltip; null: the library's default font
    int nOffsetX, nOffsetY;     // tip's top-left from the anchor point
    int nMarginX, nMarginY;     // margin around the text; balloon corner ellipse; tail step
    int nShadowX, nShadowY;     // drop-shadow offset
    int nSpare;                 // read with the layout and kept
    int nTailHeight;            // room kept for the balloon's tail
    COLORREF crText, crBack, crFrame, crShadow;
};

class QTRIMUI_API CqToolTipDVDUser : public CToolTipCtrl {
    DECLARE_DYNAMIC(CqToolTipDVDUser)
public:
    CqToolTipDVDUser();
    ~CqToolTipDVDUser() override;

    // Creates the topmost tooltip window owned by parent; 1, or 0 when the window cannot be made.
    int fnCreate(CWnd* parent);
    // Deletes the font and leaves the class list (the last one removes the hook and regions); 1.
    int fnUnInit();

    // Tools; 1 when registered, 0 for a non-window, an empty rectangle or no tooltip window.
    int fnAddTool(HWND hwnd, HWND hwndTool);               // child window hwndTool of hwnd, text by callback
    int fnAddTool(HWND hwnd, UINT id);                     // hwnd's client rectangle, text by callback
    int fnAddTool(HWND hwnd, UINT id, CRect rect);         // rectangle of hwnd, text by callback
    int fnAddTool(HWND hwnd, UINT id, wchar_t* text);      // the window hwnd itself (id unused), given text
    int fnAddTool(HWND hwnd, HINSTANCE inst, UINT stringId);   // the window hwnd, text from a string resource

    void fnSetFont(HFONT font);   // the tooltip owns the font from now on
    void fnSetPosition(CPoint pt);
    void UpdateByPt(CPoint pt);
    tagCQTOOLTIP_LOOKS* fnGetLooksData();

    BOOL DestroyWindow() override;

    // Shared by every instance: the last shaped tip's shadow and body regions (client
    // coordinates), the live instances, and the thread keyboard hook held while any exists.
    static CRgn g_RgnShadow;
    static CRgn g_RgnText;
    static CPtrList g_ToolTipList;
    static HHOOK g_hHook;
    static LRESULT CALLBACK gfnKeyboardProc(int code, WPARAM wParam, LPARAM lParam);

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnScreenChange(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    tagCQTOOLTIP_LOOKS m_dsLooks;
    int m_bCreated;
    CString m_strText;      // the current tool's text, fetched before sizing and painting
    CRect m_rcText;         // body rectangle in client coordinates, from the last sizing
    CPoint m_ptAnchor;      // screen point the tip belongs to; (-1, -1) after shaping
    CPoint m_ptLastMove;    // cursor at the last relayed mouse move
    CPoint m_ptLastPop;     // cursor when the pop timer last hid the tip
    int m_bSkipPosChange;   // applying the region re-enters the position handlers
    // Holds the library's default font for the tip's life: otherwise every sizing and paint would
    // be its only holder, and the font would be read from the settings, made and realised each time.
    CCutCFFont m_fontHolder;
    // What a show keeps for the next one (screen size, measuring DC and text extent, the applied
    // window region); released with the window.
    struct CShowCache;
    std::unique_ptr<CShowCache> m_pShowCache;

private:
    int fnFetchCurrentText();
    void fnPlace(WINDOWPOS* lpwndpos);
    void fnBuildRegion();
    static void sfnAddInstance(CqToolTipDVDUser* tip);
    static void sfnRemoveInstance(CqToolTipDVDUser* tip);
    static void sfnDeleteRegions();
};

// Relays a mouse message to tooltip `tip`, addressed to the window under the message point.
QTRIMUI_API void gfnToolTipRelayEvent(HWND tip, MSG* msg);
// Relays a mouse message to `tip`, addressed to the visible child of `parent` under the point.
QTRIMUI_API void gfnToolTipRelayEventEx(HWND parent, HWND tip, MSG* msg);
