// The timecode entry control and its sprite layout.
#pragma once
#include "qTrimUIDef.h"

// Places in the control's window.
enum UTMTG_CELL {
    UTMTG_CELL_HOUR_TENS = 0,
    UTMTG_CELL_HOUR_ONES = 1,
    UTMTG_CELL_MINUTE_TENS = 2,
    UTMTG_CELL_MINUTE_ONES = 3,
    UTMTG_CELL_SECOND_TENS = 4,
    UTMTG_CELL_SECOND_ONES = 5,
    UTMTG_CELL_FRAME_TENS = 6,   // frames use the small digits
    UTMTG_CELL_FRAME_ONES = 7,
    UTMTG_CELL_UP = 8,
    UTMTG_CELL_DOWN = 9,
    UTMTG_CELL_SEPARATOR1 = 10,
    UTMTG_CELL_SEPARATOR2 = 11,
    UTMTG_CELL_SEPARATOR3 = 12,
    UTMTG_CELL_CONNECT_LINE = 13
};

// Sprites: the digits (digit image) and the spin-button states (background image).
enum UTMTG_SYMBOL {
    UTMTG_SYMBOL_0 = 0,
    UTMTG_SYMBOL_1,
    UTMTG_SYMBOL_2,
    UTMTG_SYMBOL_3,
    UTMTG_SYMBOL_4,
    UTMTG_SYMBOL_5,
    UTMTG_SYMBOL_6,
    UTMTG_SYMBOL_7,
    UTMTG_SYMBOL_8,
    UTMTG_SYMBOL_9,
    UTMTG_SYMBOL_UP = 13,
    UTMTG_SYMBOL_DOWN = 14,
    UTMTG_SYMBOL_UP_PRESSED = 15,
    UTMTG_SYMBOL_DOWN_PRESSED = 16,
    UTMTG_SYMBOL_UP_HOVER = 17,
    UTMTG_SYMBOL_DOWN_HOVER = 18,
    UTMTG_SYMBOL_UP_DISABLED = 19,
    UTMTG_SYMBOL_DOWN_DISABLED = 20
};

// Where everything of the timecode control lies: cells in the window, sprites in the digit image
// ("qDVDUser\TimecodeCtrl\Digits.png") and the background images ("TimeTag0.png" .. "TimeTag3.png"),
// which it owns and opens on demand in memory DCs compatible with the target.
// Rectangles given as x, y, width, height use the left, top, right and bottom fields.
class QTRIMUI_API CTimeCodeLayout {
public:
    CTimeCodeLayout();
    virtual ~CTimeCodeLayout();

    int fnInit();     // loads the digit sprites; 1 or 0
    int fnUnInit();   // frees both images and device contexts; 1
    void fnSetAdjustable(int adjustable);
    void fnSet2ndBackground(int compact);
    void fnSetLongFormat(int longFormat);

    // Opening an open source closes it and fails.
    virtual int fnOpenCompatibleSymbolSource(HDC target);
    virtual void fnCloseCompatibleSymbolSource();
    virtual HDC fnGetSymbolSource();
    virtual CRect fnGetCellDrawRect(UTMTG_CELL cell);                        // x, y, width, height
    virtual CRect fnGetSymbolRCRect(UTMTG_SYMBOL symbol, UTMTG_CELL cell);   // left and top are the source
    // The background image is loaded at the first open and kept until fnUnInit.
    virtual int fnOpenBackgroundSource(HDC target);
    virtual void fnCloseBackgroundSource();
    virtual HDC fnGetBackgroundSource();
    virtual CRect fnGetBackgroundRCRect();     // the band of the image that fills the window
    virtual CRect fnGetBackgroundDrawRect();   // (0, 0, width, height)

protected:
    int m_bInit;
    int m_bAdjustable;
    int m_b2ndBackground;
    int m_bLongFormat;
    HDC m_hSymbolDC;
    HGDIOBJ m_hSymbolOld;
    HBITMAP m_hDigits;
    HDC m_hBackgroundDC;
    HGDIOBJ m_hBackgroundOld;
    HBITMAP m_hBackground;

private:
    void fnRelease();
};

// The timecode entry control: hours, minutes, seconds and frames at a frame rate (drop-frame at
// 29.97), edited by typing, arrow keys and two spin buttons. Attach it to a "TimeCodeControl"
// window, then call fnInit. The host exchanges positions as an index, a frame count from
// 00:00:00:00. The parent hears WM_COMMAND EN_SETFOCUS, EN_KILLFOCUS and EN_CHANGE, and WM_NOTIFY
// NM_RETURN on Enter.
class QTRIMUI_API CTimeCodeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTimeCodeCtrl)
public:
    CTimeCodeCtrl();
    virtual ~CTimeCodeCtrl();

    int fnInit(int longFormat, int adjustable, int compact);
    int fnUnInit();

    void fnSetIndex(int index, double frameRate, int refresh);
    int fnGetIndex() const;
    int fnGetTotalSec() const;
    void fnSetFrameRate(double frameRate);
    double fnGetFrameRate();
    void fnSetIndexLowerBd(int index);
    int fnGetIndexLowerBd();
    void fnSetIndexUpperBd(int index);
    int fnGetIndexUpperBd();
    int fnCheckValidAndModify();
    int fnSetAdjustable(int adjustable);
    int fnSetLongFormat(int longFormat);
    void fnSetHourLeadingZero(int leadingZero);
    int fnGetHourLeadingZero();
    void fnSetHookMouse(int hook);
    int fnGetHookMouse();
    void fnSetlayoutOffset(int x, int y);
    void fnGetlayoutOffset(int* x, int* y);
    CRect fnGetElemLayoutPos(int cell);   // x, y, width, height of a cell, offset added

    // Drawing through the layout.
    int fnOpenCompatibleSymbolSource(HDC target);
    void fnCloseCompatibleSymbolSource();
    HDC fnGetSymbolSource();
    int fnOpenBackgroundSource(HDC target);
    void fnCloseBackgroundSource();
    HDC fnGetBackgroundSource();
    CRect fnGetRCSymbol(UTMTG_SYMBOL symbol, UTMTG_CELL cell);
    void fnBitBltSymbol(HDC target, int cell, HDC source, UTMTG_SYMBOL symbol);
    void fnCalcPaintRect(CRect& rect);
    void fnPaintConnectLineToDC(CDC& dc, int unused);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Value model.
    int TimeCodeToIndex(int hours, int minutes, int seconds, int frames) const;
    void fnGetTimeCode(int index, int& hours, int& minutes, int& seconds, int& frames, double frameRate) const;
    int fnGetIndexMember(int index, int member);
    int fnGetMemberUnits(int member);
    int fnGetEditMax(int member);
    int fnGetEditMin(int member);
    int fnCheckBounding(int firstDigit);
    int fnStepChange(int up);
    int fnRefineEdits(int up);
    void fnRefresh(int onesOnly);
    void fnSetCurrentFlash(int member, int unused);
    void fnFlashEdits(int member);
    void fnToDisplayMode();
    void fnToWaitFirst();
    void fnGetMemberRect(int member, RECT* rect);
    void fnNotify(UINT code);   // WM_COMMAND with the code to the parent

    // Message handlers.
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnCancelMode();
    afx_msg void OnDestroy();
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CTimeCodeLayout* m_pLayout;
    int m_bInit;
    int m_bHourLeadingZero;
    int m_nLayoutOffsetX;
    int m_nLayoutOffsetY;
    int m_bFlashOn;
    int m_bWaitFirst;
    int m_bUpButton;
    int m_bAdjustable;
    int m_b2ndBackground;
    int m_bLongFormat;
    int m_nCurrent;
    int m_nSpinCount;
    int m_nMember[4];
    int m_bFieldsShown;
    int m_bKeyDone;
    double m_dFrameRate;
    int m_nIndexLowerBd;
    int m_nIndexUpperBd;
    int m_nFirstDigit;
    int m_bStepped;
    int m_bEnabled;
    int m_bHover;
    TRACKMOUSEEVENT m_tme;
    int m_bHookMouse;

private:
    // The layout's two images (digits, background) kept selected in memory DCs between paints:
    // selecting a bitmap costs more under Wine than the blits of a playback frame.
    HDC fnPaintSource(int which, HDC target);
    void fnReleasePaintSources();
    HDC m_hPaintSource[2];
    HGDIOBJ m_hPaintSourceOld[2];
};
