// The skinned push button: a vertical strip of four state cells (normal, pressed or checked,
// disabled, hover) drawn over the parent's background with the window text as caption.
#pragma once
#include "qTrimUIDef.h"
#include "qAlphaBitmap.h"
#include "qCutCFFont.h"
#include <commctrl.h>

// Image settings of a button; starts zeroed.
struct tagCQBUTTON_BMP_ID {
    int bSystemFrame;    // a standard push frame under the face; a caption-less image is centred
    int bNineCellFace;   // with a caption and no frame: the cell as a nine-cell face, else an icon
    wchar_t szMainFile[260];    // relative to the bitmap path or absolute; "FromRC" for resources
    wchar_t szAlphaFile[260];   // image giving the main image's alpha; may be empty
    int nSrcX;
    int nSrcY;
    int nCellWidth;
    int nCellHeight;            // one state; the strip is four cells high
    wchar_t szBackFile[260];    // relative to the bitmap path; empty: the parent's background
    int nBackSrcX;
    int nBackSrcY;
    int nBackSrcWidth;          // 0: to the image's edge
    int nBackSrcHeight;
};

// Create (or subclass a dialog item and call fnInit), then give it its images. Clicks reach the
// parent as from a standard button; Enter on a focused captioned button is one BN_CLICKED.
class QTRIMUI_API CqButtonEx : public CButton {
    DECLARE_DYNAMIC(CqButtonEx)
public:
    // Which caption shadow an offset is for.
    enum StateType_ButtonText { ButtonText_Hover = 0, ButtonText_Disabled = 1 };

    CqButtonEx();
    virtual ~CqButtonEx();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
    // checkMode at the first initialisation turns a push button into an automatic check box.
    virtual int fnInit(int checkMode);
    int fnUnInit();

    int fnSetMainBitmapFile(const wchar_t* file, const wchar_t* alphaFile, int srcX, int srcY, int cellWidth,
                            int cellHeight, int systemFrame, int nineCellFace);
    int fnSetMainBitmapID(HINSTANCE instance, UINT id, UINT alphaId, int srcX, int srcY, int cellWidth,
                          int cellHeight, int systemFrame);
    int fnSetBackgroundBitmapFile(const wchar_t* file, int srcX, int srcY, int width, int height);
    // The whole image as the strip (cells a quarter of its height); after fnInit.
    int fnSetDefaultImage(const wchar_t* file, const wchar_t* alphaFile);
    int fnChangeBitmapIndex(int srcX);
    tagCQBUTTON_BMP_ID* fnGetBitmapIDSetting();

    // Normal, two stored, hover, hover shadow, disabled, disabled shadow; 0xFFFFFFFF for the last
    // two means the grey-string colours.
    void fnSetTextColor(DWORD normal, DWORD stored1, DWORD stored2, DWORD hover, DWORD hoverShadow, DWORD disabled,
                        DWORD disabledShadow);
    void fnSetTextShadowOffSet(const StateType_ButtonText& type, const int& dx, const int& dy);
    int fnSetCaption(const wchar_t* caption);
    const wchar_t* fnGetCaption();
    // -1: the state follows the button; 0..3 fixes the cell.
    void fnDrawOneState(int state);
    void fnMouseFlyBy(int hover, int redraw);
    void fnNeedDBClick(int need);
    int fnMoveWindow(int x, int y);
    int fnSetRealSize();
    int fnSetWndRgnByMainBitmap();
    int fnEnableVoice(int enable, const wchar_t* path);
    void fnRemoveCache(int remove);

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual int fnDrawButton(HDC hdc);
    int fnCreateDefaultImage();
    UINT fnEnumTextFormat();
    int fnRebuildDirtyBuffer(int* rebuilt);
    void fnRepaintAllWnd();

    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnCancelMode();
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    int m_bInit;
    int m_bVoice;
    int m_bHover;
    int m_bPressed;
    int m_bNeedDBClick;
    int m_nForcedState;
    IGDIPlusDrawAlphaBitmap* m_pMainImage;
    IGDIPlusDrawAlphaBitmap* m_pBackImage;
    tagCQBUTTON_BMP_ID m_bmpID;
    DWORD m_clrText[7];
    TRACKMOUSEEVENT m_tme;
    wchar_t m_szCaption[260];
    wchar_t m_szVoice[260];
    POINT m_ptShadow[2];
    int m_bRemoveCache;
    BITMAPINFOHEADER m_bmiBuffer;
    HDC m_hBufferDC;
    HGDIOBJ m_hBufferOldBitmap;
    HBITMAP m_hBufferBitmap;
    void* m_pBufferBlock;
    void* m_pBufferBits;
    // Holds the library's default font for the button's life: as the only holder of a paint the
    // font would be read from the settings, made and realised on every repaint.
    CCutCFFont m_fontHolder;

private:
    int fnChooseState();
    // The paint pipeline on a target DC through the shared off-screen bitmap.
    int fnPaintThrough(HDC target);
    void fnFreeBuffer();
    void fnFreeBufferBitmap();
    int fnTakeWholeImageAsStrip();
    bool fnPrepareStrip(int srcX, int srcY, int cellWidth, int cellHeight);
};
