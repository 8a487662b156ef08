// The scroll bar's looks: the skin record, its images, the cached compositions of background,
// shaft and thumb, and the double-buffered paint.
#include "qScrollBarEx.h"
#include "qModule.h"
#include "qDraw.h"
#include "controls/ScrollBarShared.h"
#include "drawing/gdiutil.h"
#include <initializer_list>

namespace qsbwin {

namespace {
struct SkinFile {
    const wchar_t* tagSCROLLINFOEX_BMPINFO::*field;
    const wchar_t* vertical;
    const wchar_t* horizontal;
};
const SkinFile kSkinFiles[] = {
    {&tagSCROLLINFOEX_BMPINFO::lpszArrowFile, L"qDVDUser\\ScrollBarEx\\ScrollBarV_Btn.png",
     L"qDVDUser\\ScrollBarEx\\ScrollBarH_Btn.png"},
    {&tagSCROLLINFOEX_BMPINFO::lpszArrowAlphaFile, L"qDVDUser\\ScrollBarEx\\ScrollBarV_Btn-M.png",
     L"qDVDUser\\ScrollBarEx\\ScrollBarH_Btn-M.png"},
    {&tagSCROLLINFOEX_BMPINFO::lpszShaftBeginFile, L"qDVDUser\\ScrollBarEx\\ScrollBarVB_T.png",
     L"qDVDUser\\ScrollBarEx\\ScrollBarHB_L.png"},
    {&tagSCROLLINFOEX_BMPINFO::lpszShaftMiddleFile, L"qDVDUser\\ScrollBarEx\\ScrollBarVB_M.png",
     L"qDVDUser\\ScrollBarEx\\ScrollBarHB_C.png"},
    {&tagSCROLLINFOEX_BMPINFO::lpszShaftEndFile, L"qDVDUser\\ScrollBarEx\\ScrollBarVB_B.png",
     L"qDVDUser\\ScrollBarEx\\ScrollBarHB_R.png"},
    {&tagSCROLLINFOEX_BMPINFO::lpszThumbBeginFile, L"qDVDUser\\ScrollBarEx\\ScrollBarVT_T.png",
     L"qDVDUser\\ScrollBarEx\\ScrollBarHT_L.png"},
    {&tagSCROLLINFOEX_BMPINFO::lpszThumbMiddleFile, L"qDVDUser\\ScrollBarEx\\ScrollBarVT_M.png",
     L"qDVDUser\\ScrollBarEx\\ScrollBarHT_C.png"},
    {&tagSCROLLINFOEX_BMPINFO::lpszThumbEndFile, L"qDVDUser\\ScrollBarEx\\ScrollBarVT_B.png",
     L"qDVDUser\\ScrollBarEx\\ScrollBarHT_R.png"},
};
}  // namespace

void defaultSkin(tagSCROLLINFOEX_BMPINFO& info, bool vertical) {
    info = tagSCROLLINFOEX_BMPINFO();
    info.bUseParentBk = TRUE;
    info.lpszPath = gfnGetProgramBitmapPath();
    for (const SkinFile& f : kSkinFiles) info.*f.field = vertical ? f.vertical : f.horizontal;
}

}  // namespace qsbwin

namespace {
// A new image object loaded from the skin's folder; a file that fails leaves it empty (size 0).
IGDIPlusDrawAlphaBitmap* loadPiece(const tagSCROLLINFOEX_BMPINFO& info, const wchar_t* file, const wchar_t* alpha) {
    IGDIPlusDrawAlphaBitmap* image = gfnNewIGDIPlusDrawAlphaBitmap();
    if (image && info.lpszPath && file) image->fnLoadFromFile(info.lpszPath, file, alpha, 0, 0, 0, 0);
    return image;
}

CSize sizeOf(IGDIPlusDrawAlphaBitmap* image) { return image ? image->fnGetSize() : CSize(0, 0); }
bool usable(IGDIPlusDrawAlphaBitmap* image) { return image && image->fnIsValid(); }

// Lets an image object take a copy of a bitmap made here, then deletes the bitmap.
void adoptCopy(IGDIPlusDrawAlphaBitmap*& image, HBITMAP bitmap) {
    qdraw::OwnedGdi<HBITMAP> owned(bitmap);
    if (!bitmap) return;
    if (!image) image = gfnNewIGDIPlusDrawAlphaBitmap();
    if (image) image->fnCreateFromHBITMAP(bitmap, nullptr);
}
}  // namespace

void CqScrollBarEx::releaseImage(IGDIPlusDrawAlphaBitmap*& image) {
    if (image) image->Release();
    image = nullptr;
}

void CqScrollBarEx::discardCanvas() {
    if (!m_hMemDC) return;
    SelectObject(m_hMemDC, m_hOldBitmap);
    DeleteObject(m_hMemBitmap);
    DeleteDC(m_hMemDC);
    m_hMemDC = nullptr, m_hMemBitmap = nullptr, m_hOldBitmap = nullptr;
    m_nCanvasArrows = -1;
}

void CqScrollBarEx::fnSetAllBitmapInfo(tagSCROLLINFOEX_BMPINFO* pInfo) {
    if (!pInfo) return;
    m_stBmpInfo = *pInfo;
    fnDeleteAllBitmap();
    fnCreateAllBitmap();
}

void CqScrollBarEx::fnGetAllBitmapInfo(tagSCROLLINFOEX_BMPINFO* pInfo) {
    if (pInfo) *pInfo = m_stBmpInfo;
}

int CqScrollBarEx::fnSetBkTexture(HINSTANCE, UINT) { return FALSE; }

int CqScrollBarEx::fnCreateAllBitmap() {
    const tagSCROLLINFOEX_BMPINFO& s = m_stBmpInfo;
    m_pArrowBmp = loadPiece(s, s.lpszArrowFile, s.lpszArrowAlphaFile);
    const CSize arrow = sizeOf(m_pArrowBmp);
    m_szArrow = CSize(arrow.cx / 2, arrow.cy / 4);

    m_pShaftBeginBmp = loadPiece(s, s.lpszShaftBeginFile, s.lpszShaftBeginAlphaFile);
    m_pShaftMiddleBmp = loadPiece(s, s.lpszShaftMiddleFile, s.lpszShaftMiddleAlphaFile);
    m_pShaftEndBmp = loadPiece(s, s.lpszShaftEndFile, s.lpszShaftEndAlphaFile);
    m_szShaftBegin = sizeOf(m_pShaftBeginBmp);
    m_szShaftMiddle = sizeOf(m_pShaftMiddleBmp);
    m_szShaftEnd = sizeOf(m_pShaftEndBmp);

    m_pThumbBeginBmp = loadPiece(s, s.lpszThumbBeginFile, s.lpszThumbBeginAlphaFile);
    m_pThumbMiddleBmp = loadPiece(s, s.lpszThumbMiddleFile, s.lpszThumbMiddleAlphaFile);
    m_pThumbEndBmp = loadPiece(s, s.lpszThumbEndFile, s.lpszThumbEndAlphaFile);
    m_szThumbBegin = sizeOf(m_pThumbBeginBmp);
    m_szThumbMiddle = sizeOf(m_pThumbMiddleBmp);
    m_szThumbEnd = sizeOf(m_pThumbEndBmp);

    fnCalculateAllRect();
    return TRUE;
}

int CqScrollBarEx::fnDeleteAllBitmap() {
    for (IGDIPlusDrawAlphaBitmap** image :
         {&m_pThumbBmp, &m_pArrowBmp, &m_pBkBmp, &m_pShaftBmp, &m_pShaftBeginBmp, &m_pShaftMiddleBmp, &m_pShaftEndBmp,
          &m_pThumbBeginBmp, &m_pThumbMiddleBmp, &m_pThumbEndBmp})
        releaseImage(*image);
    discardCanvas();
    return TRUE;
}

void CqScrollBarEx::fnGetParentBk() {
    HWND parent = ::GetParent(m_hWnd);
    if (!parent || !m_pBkBmp) return;
    adoptCopy(m_pBkBmp, gfnGetWindowBkBitmap(parent, m_hWnd));
}

void CqScrollBarEx::fnSetTransparent(int bTransparent) {
    if (!IsWindow()) return;
    SetWindowLongPtr(GWL_EXSTYLE, bTransparent ? WS_EX_TRANSPARENT : 0);
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

HBRUSH CqScrollBarEx::CtlColor(CDC* pDC, UINT) {
    if (pDC && pDC->m_hDC) {
        qdraw::OwnedGdi<HRGN> none(CreateRectRgn(0, 0, 0, 0));
        SelectClipRgn(pDC->m_hDC, none);
    }
    return (HBRUSH)GetStockObject(NULL_BRUSH);
}

// Composition --------------------------------------------------------------------------------------

int CqScrollBarEx::fnMergeBkAndShaft(HDC hdc) {
    if (IsRectEmpty(&m_rcShaft)) return FALSE;
    RECT client = {};
    GetClientRect(&client);
    qdraw::BitmapDC work(hdc, client.right, client.bottom);
    if (!work.ok()) return FALSE;
    if (usable(m_pBkBmp)) m_pBkBmp->fnFillRect(work, &client, 0, 0, 0, 0, TRUE);

    RECT r = m_rcShaft;
    if (isVertical()) {
        r.left = m_rcShaft.left + (m_rcShaft.right - m_rcShaft.left - m_szShaftBegin.cx) / 2;
        r.right = r.left + m_szShaftBegin.cx;
    } else {
        r.top = m_rcShaft.top + (m_rcShaft.bottom - m_rcShaft.top - m_szShaftBegin.cy) / 2;
        r.bottom = r.top + m_szShaftBegin.cy;
    }
    if (usable(m_pShaftBeginBmp)) {
        m_pShaftBeginBmp->fnDraw(work, r.left, r.top, 0, 0, 0, 0);
        if (isVertical()) r.top += m_szShaftBegin.cy;
        else r.left += m_szShaftBegin.cx;
    }
    if (usable(m_pShaftEndBmp)) {
        if (isVertical()) {
            m_pShaftEndBmp->fnDraw(work, r.left, r.bottom - m_szShaftEnd.cy, 0, 0, 0, 0);
            r.bottom -= m_szShaftEnd.cy;
        } else {
            m_pShaftEndBmp->fnDraw(work, r.right - m_szShaftEnd.cx, r.top, 0, 0, 0, 0);
            r.right -= m_szShaftEnd.cx;
        }
    }
    if (usable(m_pShaftMiddleBmp)) m_pShaftMiddleBmp->fnFillRect(work, &r, 0, 0, 0, 0, TRUE);
    adoptCopy(m_pShaftBmp, work.release());
    m_nCanvasArrows = -1;
    return TRUE;
}

int CqScrollBarEx::fnMergeThumb(HDC hdc) {
    if (IsRectEmpty(&m_rcThumb)) return TRUE;
    const int w = m_rcThumb.right - m_rcThumb.left, h = m_rcThumb.bottom - m_rcThumb.top;
    qdraw::BitmapDC work(hdc, w, h);
    if (!work.ok()) return FALSE;
    if (m_pShaftBmp) m_pShaftBmp->fnDraw(work, 0, 0, m_rcThumb.left, m_rcThumb.top, w, h);

    RECT r = {0, 0, w, h};
    if (isVertical()) r.top += m_szThumbBegin.cy, r.bottom -= m_szThumbEnd.cy;
    else r.left += m_szThumbBegin.cx, r.right -= m_szThumbEnd.cx;
    if (m_pThumbBeginBmp) m_pThumbBeginBmp->fnDraw(work, 0, 0, 0, 0, 0, 0);
    if (m_pThumbMiddleBmp) m_pThumbMiddleBmp->fnFillRect(work, &r, 0, 0, 0, 0, TRUE);
    if (m_pThumbEndBmp) {
        if (isVertical()) m_pThumbEndBmp->fnDraw(work, 0, r.bottom, 0, 0, 0, 0);
        else m_pThumbEndBmp->fnDraw(work, r.right, 0, 0, 0, 0, 0);
    }
    adoptCopy(m_pThumbBmp, work.release());
    return TRUE;
}

// Painting -----------------------------------------------------------------------------------------

// The sprite rows of both arrows as first x 4 + second.
int CqScrollBarEx::arrowRows() {
    if (!IsWindowEnabled() || m_bFreeze) return 2 * 4 + 2;
    if (m_bLButtonDown) return (m_nHitCode == qsb::kArrow1 ? 1 : 0) * 4 + (m_nHitCode == qsb::kArrow2 ? 1 : 0);
    return (m_nHoverCode == qsb::kArrow1 ? 3 : 0) * 4 + (m_nHoverCode == qsb::kArrow2 ? 3 : 0);
}

void CqScrollBarEx::fnPaintArrow(HDC hdc) {
    if (!m_pArrowBmp || !IsWindowVisible()) return;
    const int rows = arrowRows(), row1 = rows / 4, row2 = rows % 4;
    const RECT& a1 = m_rcArrow1;
    const RECT& a2 = m_rcArrow2;
    m_pArrowBmp->fnDraw(hdc, a1.left, a1.top, 0, row1 * m_szArrow.cy, a1.right - a1.left, a1.bottom - a1.top);
    m_pArrowBmp->fnDraw(hdc, a2.left, a2.top, m_szArrow.cx, row2 * m_szArrow.cy, a2.right - a2.left,
                        a2.bottom - a2.top);
}

void CqScrollBarEx::fnPaintThumb(HDC hdc) {
    if (!IsWindowEnabled() || m_bFreeze) return;
    if (!usable(m_pThumbBmp)) fnMergeThumb(hdc);
    if (usable(m_pThumbBmp)) m_pThumbBmp->fnDraw(hdc, m_rcThumb.left, m_rcThumb.top, 0, 0, 0, 0);
}

BOOL CqScrollBarEx::OnEraseBkgnd(CDC*) { return TRUE; }

void CqScrollBarEx::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (!dc) return;
    RECT client = {};
    GetClientRect(&client);
    if (m_bCreated && !IsRectEmpty(&client)) {
        if (!m_hMemDC) {
            HDC mem = CreateCompatibleDC(dc);
            HBITMAP bitmap = mem ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
            HGDIOBJ old = bitmap ? SelectObject(mem, bitmap) : nullptr;
            if (old && old != HGDI_ERROR) {
                m_hMemDC = mem, m_hMemBitmap = bitmap, m_hOldBitmap = old;
            } else {   // keep nothing half-made
                if (bitmap) DeleteObject(bitmap);
                if (mem) DeleteDC(mem);
            }
        }
        if (!m_pBkBmp) {
            m_pBkBmp = gfnNewIGDIPlusDrawAlphaBitmap();
            if (m_stBmpInfo.bUseParentBk) fnGetParentBk();
            else if (m_pBkBmp && m_stBmpInfo.lpszPath && m_stBmpInfo.lpszBkFile)
                m_pBkBmp->fnLoadFromFile(m_stBmpInfo.lpszPath, m_stBmpInfo.lpszBkFile, nullptr, 0, 0, 0, 0);
        }
        if (m_hMemDC) {
            if (!m_pShaftBmp) fnMergeBkAndShaft(m_hMemDC);
            // Arrows are alpha sprites and cost far more than the rest: when they look as the canvas
            // already shows them, only the shaft under the old thumb is put back.
            const RECT& t = m_rcCanvasThumb;
            RECT overlap;
            const bool thumbOnly = usable(m_pShaftBmp) && m_nCanvasArrows == arrowRows() &&
                                   !IntersectRect(&overlap, &t, &m_rcArrow1) && !IntersectRect(&overlap, &t, &m_rcArrow2);
            if (thumbOnly) {
                if (!IsRectEmpty(&t))
                    m_pShaftBmp->fnDraw(m_hMemDC, t.left, t.top, t.left, t.top, t.right - t.left, t.bottom - t.top);
            } else {
                if (usable(m_pShaftBmp)) m_pShaftBmp->fnDraw(m_hMemDC, 0, 0, 0, 0, 0, 0);
                fnPaintArrow(m_hMemDC);
                m_nCanvasArrows = IsWindowVisible() ? arrowRows() : -1;
            }
            fnPaintThumb(m_hMemDC);
            m_rcCanvasThumb = (IsWindowEnabled() && !m_bFreeze) ? m_rcThumb : RECT();
            BitBlt(dc, 0, 0, client.right, client.bottom, m_hMemDC, 0, 0, SRCCOPY);
        }
    }
    ::EndPaint(m_hWnd, &ps);
}
