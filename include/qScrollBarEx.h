// The skinned scroll bar: a child window, horizontal or vertical, drawn from the PNG images in
// "qDVDUser\ScrollBarEx\" and reporting to its parent with WM_HSCROLL / WM_VSCROLL and the SB_
// codes, as a system scroll bar does.
#pragma once
#include "qTrimUIDef.h"
#include "qMouseHoverWnd.h"
#include "qAlphaBitmap.h"

// The scroll record of fnSetScrollInfo.
struct tagSCROLLINFOEX {
    long nMin;
    long nMax;        // inclusive
    long nPage;       // what a page step moves, and the thumb's share of the range
    long nLine;       // line and page steps leave the position on a multiple of it
    long nPos;
    long nTrackPos;   // what the thumb shows
};

// The skin: file names appended to lpszPath. The strings stay the caller's and must outlive the
// bar (the background is reloaded from them whenever its cache has gone). A null alpha name means
// no alpha image.
struct tagSCROLLINFOEX_BMPINFO {
    BOOL bUseParentBk;   // TRUE: the parent's image under the bar; FALSE: lpszBkFile
    const wchar_t* lpszPath;
    const wchar_t* lpszBkFile;
    const wchar_t* lpszArrowFile;   // 2 columns (first, second arrow) x 4 rows (normal, pressed, disabled, hot)
    const wchar_t* lpszArrowAlphaFile;
    const wchar_t* lpszShaftBeginFile;
    const wchar_t* lpszShaftBeginAlphaFile;
    const wchar_t* lpszShaftMiddleFile;
    const wchar_t* lpszShaftMiddleAlphaFile;
    const wchar_t* lpszShaftEndFile;
    const wchar_t* lpszShaftEndAlphaFile;
    const wchar_t* lpszThumbBeginFile;
    const wchar_t* lpszThumbBeginAlphaFile;
    const wchar_t* lpszThumbMiddleFile;
    const wchar_t* lpszThumbMiddleAlphaFile;
    const wchar_t* lpszThumbEndFile;
    const wchar_t* lpszThumbEndAlphaFile;
};

class QTRIMUI_API CqScrollBarEx : public CqMouseHoverWnd {
public:
    CqScrollBarEx();
    virtual ~CqScrollBarEx();
    virtual BOOL DestroyWindow() override;

    // dwOrientation 1 is vertical, anything else horizontal.
    int fnCreate(DWORD dwOrientation, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int fnUnInit();

    void fnSetScrollInfo(long nMin, long nMax, long nPos, long nLine, long nPage, int bRedraw);
    void fnSetScrollInfo(tagSCROLLINFOEX si, int bRedraw);
    void fnSetScrollRange(long nMin, long nMax, long nPos, int bRedraw);
    void fnSetScrollPage(long nPage, int bRedraw);
    void fnSetScrollLine(long nLine);
    long fnSetScrollPos(long nPos, int bRedraw);
    void fnSetScrollScale(int nScale);
    // 0: the last page ends at nMax; otherwise the position itself may reach nMax.
    void fnSetScrollBehavior(DWORD dwBehavior);
    int fnSetARROW_OFFSET(DWORD nOffset, int bRedraw);
    // Fits the thickness to the skin: nSide 0 or 3 the height, 1 or 2 the width.
    int fnSetRealSize(DWORD nSide);
    void fnFreezeScrollBar(int bFreeze);
    void fnShowScrollBar(int bShow);
    long fnGetScrollPos() const;
    long fnGetScrollTrackPos() const;
    long fnGetScrollPage();
    long fnGetScrollLimit();
    void fnGetScrollRange(long* pMin, long* pMax) const;

    // The skin: copied in and loaded at once; it shows from the next paint.
    void fnSetAllBitmapInfo(tagSCROLLINFOEX_BMPINFO* pInfo);
    void fnGetAllBitmapInfo(tagSCROLLINFOEX_BMPINFO* pInfo);
    void fnGetParentBk();
    int fnSetBkTexture(HINSTANCE hInst, UINT nID);   // not supported: FALSE

protected:
    int fnCalculateAllRect();
    void fnGetMinimumThumbRect(CSize& size);
    void fnMoveThumbRect();
    int fnHitTest(CPoint pt);
    long fnDoScroll(int nCode);
    long fnScrollLine(long nDelta);
    long fnScrollPage(long nDirection);
    long fnScrollThumb();
    void fnSendParentMessage(WORD nCode);
    void fnStartExecuteAutoScrollTimer();
    void fnEndExecuteAutoScrollTimer();

    int fnCreateAllBitmap();
    int fnDeleteAllBitmap();
    int fnMergeBkAndShaft(HDC hdc);
    int fnMergeThumb(HDC hdc);
    void fnPaintArrow(HDC hdc);
    void fnPaintThumb(HDC hdc);
    void fnSetTransparent(int bTransparent);

    virtual void fnMouseHover() override;
    virtual void fnMouseLeave() override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnDestroy();
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    BOOL m_bCreated;
    DWORD m_dwOrientation;   // 1 vertical
    BOOL m_bFreeze;          // inactive: no thumb, no scrolling
    RECT m_rcWindow;         // parent coordinates, as last seen moving
    tagSCROLLINFOEX_BMPINFO m_stBmpInfo;
    int m_nArrowOffset;      // gap between each arrow and the shaft
    long m_nMin, m_nMax, m_nPage, m_nLine, m_nPos, m_nTrackPos, m_nLimit;
    int m_nHitCode;          // the action being performed
    int m_nHoverCode;        // zone under the pointer
    CPoint m_ptAnchor;       // press point, then the last drag step; (-1, -1) after a release
    BOOL m_bLButtonDown;
    RECT m_rcArrow1, m_rcArrow2, m_rcShaft, m_rcThumb;
    HDC m_hMemDC;
    HBITMAP m_hMemBitmap;
    HGDIOBJ m_hOldBitmap;
    CSize m_szArrow, m_szShaftBegin, m_szShaftMiddle, m_szShaftEnd, m_szThumbBegin, m_szThumbMiddle, m_szThumbEnd;
    UINT_PTR m_nTimerID;
    int m_nScrollScale;      // lines per arrow step
    IGDIPlusDrawAlphaBitmap* m_pThumbBmp;   // composed thumb
    IGDIPlusDrawAlphaBitmap* m_pArrowBmp;
    IGDIPlusDrawAlphaBitmap* m_pBkBmp;
    IGDIPlusDrawAlphaBitmap* m_pShaftBmp;   // background and shaft over the client area
    IGDIPlusDrawAlphaBitmap* m_pShaftBeginBmp;
    IGDIPlusDrawAlphaBitmap* m_pShaftMiddleBmp;
    IGDIPlusDrawAlphaBitmap* m_pShaftEndBmp;
    IGDIPlusDrawAlphaBitmap* m_pThumbBeginBmp;
    IGDIPlusDrawAlphaBitmap* m_pThumbMiddleBmp;
    IGDIPlusDrawAlphaBitmap* m_pThumbEndBmp;
    DWORD m_dwScrollBehavior;

private:
    // What the canvas holds beyond the shaft composition, so that a paint that only moved the
    // thumb repairs the shaft under the old thumb instead of drawing the arrows again.
    int m_nCanvasArrows;   // arrow rows drawn (first x 4 + second), -1 when the canvas must be composed
    RECT m_rcCanvasThumb;  // where the thumb was drawn, empty for none

    bool isVertical() const { return m_dwOrientation == 1; }
    int arrowRows();
    void redraw();
    void invalidateArrow(const RECT& rc);
    void pressed(CPoint point, bool autoRepeat);
    long scrollThumbTo(POINT client);   // a drag step to a pointer position in client coordinates
    void discardCanvas();
    static void releaseImage(IGDIPlusDrawAlphaBitmap*& image);
    CqScrollBarEx(const CqScrollBarEx&) = delete;
    CqScrollBarEx& operator=(const CqScrollBarEx&) = delete;
};
