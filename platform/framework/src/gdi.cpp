// GDI objects and device contexts.
#include "afxwin.h"
#include "handlemap.h"
#include <cstdlib>
#include <cwchar>

using uifw::opaque;

namespace {

CGdiObject* makeTempGdi(HGDIOBJ h) {
    // The temporary object has the class matching the handle's kind.
    CGdiObject* obj;
    switch (::GetObjectType(h)) {
    case OBJ_PEN:
    case OBJ_EXTPEN: obj = new CPen; break;
    case OBJ_BRUSH: obj = new CBrush; break;
    case OBJ_FONT: obj = new CFont; break;
    case OBJ_BITMAP: obj = new CBitmap; break;
    case OBJ_REGION: obj = new CRgn; break;
    default: obj = new CGdiObject; break;
    }
    obj->m_hObject = h;
    return obj;
}
void freeTempGdi(CGdiObject* obj) {
    obj->m_hObject = nullptr;   // temporary objects never delete the handle
    delete obj;
}
uifw::HandleMap<HGDIOBJ, CGdiObject>& gdiMap() {
    static auto* map = new uifw::HandleMap<HGDIOBJ, CGdiObject>(makeTempGdi, freeTempGdi);
    return *map;
}

CDC* makeTempDC(HDC h) {
    CDC* dc = new CDC;
    dc->m_hDC = dc->m_hAttribDC = h;
    return dc;
}
void freeTempDC(CDC* dc) {
    dc->m_hDC = dc->m_hAttribDC = nullptr;
    delete dc;
}
uifw::HandleMap<HDC, CDC>& dcMap() {
    static auto* map = new uifw::HandleMap<HDC, CDC>(makeTempDC, freeTempDC);
    return *map;
}

}  // namespace

// GDI objects -------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::CGdiObject() : m_hObject(nullptr) {}
CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) { return hObject ? gdiMap().fromHandle(hObject) : nullptr; }
void PASCAL CGdiObject::DeleteTempMap() { gdiMap().deleteTemporaries(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (!hObject || m_hObject) return FALSE;
    m_hObject = hObject;
    gdiMap().add(hObject, this);   // a handle held by two objects maps to the first
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h) gdiMap().remove(h, this);
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

HGDIOBJ CGdiObject::GetSafeHandle() const {
    const CGdiObject* self = opaque(this);
    return self ? self->m_hObject : nullptr;
}
CGdiObject::operator HGDIOBJ() const { return GetSafeHandle(); }
int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return m_hObject ? ::GetObjectW(m_hObject, nCount, lpObject) : 0;
}
UINT CGdiObject::GetObjectType() const { return m_hObject ? (UINT)::GetObjectType(m_hObject) : 0; }
BOOL CGdiObject::CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }
BOOL CGdiObject::UnrealizeObject() { return m_hObject ? ::UnrealizeObject(m_hObject) : FALSE; }

// Every Create* fails on an object that already holds a handle, and attaches only what it made.
#define UIFW_CREATE(expr) \
    do { \
        if (m_hObject) return FALSE; \
        return Attach((HGDIOBJ)(expr)); \
    } while (0)

CPen::CPen() {}
CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
CPen* PASCAL CPen::FromHandle(HPEN hPen) { return (CPen*)CGdiObject::FromHandle(hPen); }
BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) { UIFW_CREATE(::CreatePen(nPenStyle, nWidth, crColor)); }
BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) {
    if (!lpLogPen) return FALSE;
    UIFW_CREATE(::CreatePenIndirect(lpLogPen));
}
int CPen::GetLogPen(LOGPEN* pLogPen) { return pLogPen ? GetObject(sizeof(LOGPEN), pLogPen) : 0; }
CPen::operator HPEN() const { return (HPEN)GetSafeHandle(); }

CBrush::CBrush() {}
CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
CBrush::CBrush(int nIndex, COLORREF crColor) { CreateHatchBrush(nIndex, crColor); }
CBrush::CBrush(CBitmap* pBitmap) { CreatePatternBrush(pBitmap); }
CBrush* PASCAL CBrush::FromHandle(HBRUSH hBrush) { return (CBrush*)CGdiObject::FromHandle(hBrush); }
BOOL CBrush::CreateSolidBrush(COLORREF crColor) { UIFW_CREATE(::CreateSolidBrush(crColor)); }
BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) { UIFW_CREATE(::CreateHatchBrush(nIndex, crColor)); }
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
    if (!lpLogBrush) return FALSE;
    UIFW_CREATE(::CreateBrushIndirect(lpLogBrush));
}
BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
    HBITMAP bmp = (HBITMAP)pBitmap->GetSafeHandle();
    if (!bmp) return FALSE;
    UIFW_CREATE(::CreatePatternBrush(bmp));
}
BOOL CBrush::CreateSysColorBrush(int nIndex) { UIFW_CREATE(::GetSysColorBrush(nIndex)); }
int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) { return pLogBrush ? GetObject(sizeof(LOGBRUSH), pLogBrush) : 0; }
CBrush::operator HBRUSH() const { return (HBRUSH)GetSafeHandle(); }

CFont::CFont() {}
CFont* PASCAL CFont::FromHandle(HFONT hFont) { return (CFont*)CGdiObject::FromHandle(hFont); }
BOOL CFont::CreateFontIndirect(const LOGFONTW* lpLogFont) {
    if (!lpLogFont) return FALSE;
    UIFW_CREATE(::CreateFontIndirectW(lpLogFont));
}
BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCWSTR lpszFacename) {
    UIFW_CREATE(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                              nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}
BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC) {
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName) wcsncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, pDC);
}
BOOL CFont::CreatePointFontIndirect(const LOGFONTW* lpLogFont, CDC* pDC) {
    if (!lpLogFont || m_hObject) return FALSE;
    HDC dc = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
    if (!dc) return FALSE;
    // lfHeight is in tenths of a point: to device pixels, then to the DC's logical units.
    LOGFONTW lf = *lpLogFont;
    POINT pt = {0, ::MulDiv(::GetDeviceCaps(dc, LOGPIXELSY), lf.lfHeight, 720)};
    POINT org = {0, 0};
    ::DPtoLP(dc, &pt, 1);
    ::DPtoLP(dc, &org, 1);
    lf.lfHeight = -std::abs((int)(pt.y - org.y));
    if (!pDC) ::ReleaseDC(nullptr, dc);
    return CreateFontIndirect(&lf);
}
int CFont::GetLogFont(LOGFONTW* pLogFont) { return pLogFont ? GetObject(sizeof(LOGFONTW), pLogFont) : 0; }
CFont::operator HFONT() const { return (HFONT)GetSafeHandle(); }

CBitmap::CBitmap() {}
CBitmap* PASCAL CBitmap::FromHandle(HBITMAP hBitmap) { return (CBitmap*)CGdiObject::FromHandle(hBitmap); }
BOOL CBitmap::LoadBitmap(LPCWSTR lpszResourceName) {
    if (!lpszResourceName || m_hObject) return FALSE;
    HINSTANCE inst = AfxFindResourceHandle(lpszResourceName, (LPCWSTR)RT_BITMAP);
    UIFW_CREATE(::LoadBitmapW(inst, lpszResourceName));
}
BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEW(nIDResource)); }
BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) { UIFW_CREATE(::LoadBitmapW(nullptr, MAKEINTRESOURCEW(nIDBitmap))); }
BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    UIFW_CREATE(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}
BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) {
    if (!lpBitmap) return FALSE;
    UIFW_CREATE(::CreateBitmapIndirect(lpBitmap));
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    HDC dc = pDC->GetSafeHdc();
    if (!dc) return FALSE;
    UIFW_CREATE(::CreateCompatibleBitmap(dc, nWidth, nHeight));
}
BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight) {
    HDC dc = pDC->GetSafeHdc();
    if (!dc) return FALSE;
    UIFW_CREATE(::CreateDiscardableBitmap(dc, nWidth, nHeight));
}
int CBitmap::GetBitmap(BITMAP* pBitMap) { return pBitMap ? GetObject(sizeof(BITMAP), pBitMap) : 0; }
DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const {
    return m_hObject ? (DWORD)::GetBitmapBits((HBITMAP)m_hObject, (LONG)dwCount, lpBits) : 0;
}
DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits) {
    return m_hObject ? (DWORD)::SetBitmapBits((HBITMAP)m_hObject, dwCount, lpBits) : 0;
}
CSize CBitmap::GetBitmapDimension() const {
    SIZE size = {0, 0};
    if (m_hObject) ::GetBitmapDimensionEx((HBITMAP)m_hObject, &size);
    return size;
}
CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight) {
    SIZE size = {0, 0};
    if (m_hObject) ::SetBitmapDimensionEx((HBITMAP)m_hObject, nWidth, nHeight, &size);
    return size;
}
CBitmap::operator HBITMAP() const { return (HBITMAP)GetSafeHandle(); }

CRgn::CRgn() {}
CRgn* PASCAL CRgn::FromHandle(HRGN hRgn) { return (CRgn*)CGdiObject::FromHandle(hRgn); }
BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { UIFW_CREATE(::CreateRectRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) {
    if (!lpRect) return FALSE;
    UIFW_CREATE(::CreateRectRgnIndirect(lpRect));
}
BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) { UIFW_CREATE(::CreateEllipticRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect) {
    if (!lpRect) return FALSE;
    UIFW_CREATE(::CreateEllipticRgnIndirect(lpRect));
}
BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) {
    if (!lpPoints || nCount <= 0) return FALSE;
    UIFW_CREATE(::CreatePolygonRgn(lpPoints, nCount, nMode));
}
BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
    UIFW_CREATE(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}
BOOL CRgn::CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData) {
    if (!pRgnData) return FALSE;
    UIFW_CREATE(::ExtCreateRegion(lpXForm, (DWORD)nCount, pRgnData));
}
void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) {
    if (m_hObject) ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2);
}
void CRgn::SetRectRgn(LPCRECT lpRect) {
    if (lpRect) SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
    if (!m_hObject) return ERROR;
    return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgn1->GetSafeHandle(), (HRGN)pRgn2->GetSafeHandle(), nCombineMode);
}
int CRgn::CopyRgn(const CRgn* pRgnSrc) {
    if (!m_hObject || !pRgnSrc->GetSafeHandle()) return ERROR;
    return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgnSrc->m_hObject, nullptr, RGN_COPY);
}
BOOL CRgn::EqualRgn(const CRgn* pRgn) const {
    if (!m_hObject || !pRgn->GetSafeHandle()) return FALSE;
    return ::EqualRgn((HRGN)m_hObject, (HRGN)pRgn->m_hObject);
}
int CRgn::OffsetRgn(int x, int y) { return m_hObject ? ::OffsetRgn((HRGN)m_hObject, x, y) : ERROR; }
int CRgn::OffsetRgn(POINT point) { return OffsetRgn(point.x, point.y); }
int CRgn::GetRgnBox(LPRECT lpRect) const { return m_hObject && lpRect ? ::GetRgnBox((HRGN)m_hObject, lpRect) : ERROR; }
BOOL CRgn::PtInRegion(int x, int y) const { return m_hObject ? ::PtInRegion((HRGN)m_hObject, x, y) : FALSE; }
BOOL CRgn::PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
BOOL CRgn::RectInRegion(LPCRECT lpRect) const {
    return m_hObject && lpRect ? ::RectInRegion((HRGN)m_hObject, lpRect) : FALSE;
}
int CRgn::GetRegionData(LPRGNDATA lpRgnData, int nCount) const {
    return m_hObject ? (int)::GetRegionData((HRGN)m_hObject, (DWORD)nCount, lpRgnData) : 0;
}
CRgn::operator HRGN() const { return (HRGN)GetSafeHandle(); }

// Device contexts -------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CDC::CDC() : m_hDC(nullptr), m_hAttribDC(nullptr) {}
CDC::~CDC() {
    if (m_hDC) ::DeleteDC(Detach());
}

CDC* PASCAL CDC::FromHandle(HDC hDC) { return hDC ? dcMap().fromHandle(hDC) : nullptr; }
void PASCAL CDC::DeleteTempMap() { dcMap().deleteTemporaries(); }

BOOL CDC::Attach(HDC hDC) {
    if (!hDC || m_hDC) return FALSE;
    m_hDC = m_hAttribDC = hDC;
    dcMap().add(hDC, this);
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    if (h) dcMap().remove(h, this);
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

HDC CDC::GetSafeHdc() const {
    const CDC* self = opaque(this);
    return self ? self->m_hDC : nullptr;
}
CDC::operator HDC() const { return GetSafeHdc(); }

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (m_hDC) return FALSE;
    return Attach(::CreateCompatibleDC(pDC->GetSafeHdc()));
}
BOOL CDC::CreateDC(LPCWSTR lpszDriverName, LPCWSTR lpszDeviceName, LPCWSTR lpszOutput, const void* lpInitData) {
    if (m_hDC) return FALSE;
    return Attach(::CreateDCW(lpszDriverName, lpszDeviceName, lpszOutput, (const DEVMODEW*)lpInitData));
}
CWnd* CDC::GetWindow() const { return m_hDC ? CWnd::FromHandle(::WindowFromDC(m_hDC)) : nullptr; }
int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

CPen* CDC::SelectObject(CPen* pPen) {
    HGDIOBJ h = pPen->GetSafeHandle();
    return h ? CPen::FromHandle((HPEN)::SelectObject(m_hDC, h)) : nullptr;
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
    HGDIOBJ h = pBrush->GetSafeHandle();
    return h ? CBrush::FromHandle((HBRUSH)::SelectObject(m_hDC, h)) : nullptr;
}
CFont* CDC::SelectObject(CFont* pFont) {
    HGDIOBJ h = pFont->GetSafeHandle();
    return h ? CFont::FromHandle((HFONT)::SelectObject(m_hDC, h)) : nullptr;
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    HGDIOBJ h = pBitmap->GetSafeHandle();
    return h ? CBitmap::FromHandle((HBITMAP)::SelectObject(m_hDC, h)) : nullptr;
}
CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    HGDIOBJ h = pObject->GetSafeHandle();
    if (!h) return nullptr;
    HGDIOBJ old = ::SelectObject(m_hDC, h);
    // Selecting a region answers a region type, not an object.
    if (::GetObjectType(h) == OBJ_REGION) return nullptr;
    return CGdiObject::FromHandle(old);
}
int CDC::SelectObject(CRgn* pRgn) {
    HGDIOBJ h = pRgn->GetSafeHandle();
    return h ? (int)(INT_PTR)::SelectObject(m_hDC, h) : ERROR;
}
HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return hObject ? ::SelectObject(m_hDC, hObject) : nullptr; }
CGdiObject* CDC::SelectStockObject(int nIndex) {
    HGDIOBJ h = ::GetStockObject(nIndex);
    return h ? CGdiObject::FromHandle(::SelectObject(m_hDC, h)) : nullptr;
}
CPen* CDC::GetCurrentPen() const { return CPen::FromHandle((HPEN)::GetCurrentObject(m_hDC, OBJ_PEN)); }
CBrush* CDC::GetCurrentBrush() const { return CBrush::FromHandle((HBRUSH)::GetCurrentObject(m_hDC, OBJ_BRUSH)); }
CFont* CDC::GetCurrentFont() const { return CFont::FromHandle((HFONT)::GetCurrentObject(m_hDC, OBJ_FONT)); }
CBitmap* CDC::GetCurrentBitmap() const { return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hDC, OBJ_BITMAP)); }

COLORREF CDC::SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
COLORREF CDC::SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
int CDC::SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
int CDC::SetROP2(int nDrawMode) { return ::SetROP2(m_hDC, nDrawMode); }
int CDC::GetROP2() const { return ::GetROP2(m_hAttribDC); }
int CDC::SetStretchBltMode(int nStretchMode) { return ::SetStretchBltMode(m_hDC, nStretchMode); }
UINT CDC::SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }
int CDC::SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
int CDC::GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
CPoint CDC::SetViewportOrg(int x, int y) {
    POINT old = {0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}
CPoint CDC::SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
CPoint CDC::GetViewportOrg() const {
    POINT p = {0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &p);
    return p;
}
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
    POINT old = {0, 0};
    ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &old);
    return old;
}
CPoint CDC::SetWindowOrg(int x, int y) {
    POINT old = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}
CPoint CDC::SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
CPoint CDC::GetWindowOrg() const {
    POINT p = {0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &p);
    return p;
}
CPoint CDC::SetBrushOrg(int x, int y) {
    POINT old = {0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &old);
    return old;
}
CPoint CDC::SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }
void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const { ::LPtoDP(m_hAttribDC, lpPoints, nCount); }
void CDC::LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hAttribDC, (LPPOINT)lpRect, 2); }
void CDC::LPtoDP(LPSIZE lpSize) const {
    // A size is the difference of two converted points.
    POINT pts[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::LPtoDP(m_hAttribDC, pts, 2);
    lpSize->cx = pts[1].x - pts[0].x;
    lpSize->cy = pts[1].y - pts[0].y;
}
void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const { ::DPtoLP(m_hAttribDC, lpPoints, nCount); }
void CDC::DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hAttribDC, (LPPOINT)lpRect, 2); }
void CDC::DPtoLP(LPSIZE lpSize) const {
    POINT pts[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::DPtoLP(m_hAttribDC, pts, 2);
    lpSize->cx = pts[1].x - pts[0].x;
    lpSize->cy = pts[1].y - pts[0].y;
}

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
int CDC::SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
int CDC::SelectClipRgn(CRgn* pRgn, int nMode) { return ::ExtSelectClipRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), nMode); }
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
int CDC::IntersectClipRect(LPCRECT lpRect) {
    return lpRect ? IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom) : ERROR;
}
int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
int CDC::ExcludeClipRect(LPCRECT lpRect) {
    return lpRect ? ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom) : ERROR;
}
int CDC::OffsetClipRgn(int x, int y) { return ::OffsetClipRgn(m_hDC, x, y); }
BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::RectVisible(LPCRECT lpRect) const { return lpRect ? ::RectVisible(m_hDC, lpRect) : FALSE; }

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, dwRop);
}
BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
}
BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}
void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    if (lpRect && pBrush->GetSafeHandle()) ::FillRect(m_hDC, lpRect, (HBRUSH)pBrush->m_hObject);
}
// Fills with the background colour through an opaque empty text output; like the framework it
// imitates, the DC keeps clr as its background colour afterwards.
void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    if (!lpRect) return;
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    RECT r = {x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}
void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
    if (lpRect && pBrush->GetSafeHandle()) ::FrameRect(m_hDC, lpRect, (HBRUSH)pBrush->m_hObject);
}
void CDC::InvertRect(LPCRECT lpRect) {
    if (lpRect) ::InvertRect(m_hDC, lpRect);
}
void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    if (lpRect)
        Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
                   clrBottomRight);
}
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    // Top and left edges in the first colour; right and bottom (the corners they end in) in the second.
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}
BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return lpRect ? ::DrawEdge(m_hDC, lpRect, nEdge, nFlags) : FALSE; }
BOOL CDC::DrawFocusRect(LPCRECT lpRect) { return lpRect ? ::DrawFocusRect(m_hDC, lpRect) : FALSE; }
BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) {
    if (!pRgn->GetSafeHandle() || !pBrush->GetSafeHandle()) return FALSE;
    return ::FillRgn(m_hDC, (HRGN)pRgn->m_hObject, (HBRUSH)pBrush->m_hObject);
}
BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
    if (!pRgn->GetSafeHandle() || !pBrush->GetSafeHandle()) return FALSE;
    return ::FrameRgn(m_hDC, (HRGN)pRgn->m_hObject, (HBRUSH)pBrush->m_hObject, nWidth, nHeight);
}
CPoint CDC::MoveTo(int x, int y) {
    POINT old = {0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}
CPoint CDC::MoveTo(POINT point) { return MoveTo(point.x, point.y); }
BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
BOOL CDC::LineTo(POINT point) { return LineTo(point.x, point.y); }
BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Rectangle(LPCRECT lpRect) {
    return lpRect ? ::Rectangle(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom) : FALSE;
}
BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) { return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3); }
BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Ellipse(LPCRECT lpRect) {
    return lpRect ? ::Ellipse(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom) : FALSE;
}
BOOL CDC::Polygon(const POINT* lpPoints, int nCount) { return lpPoints ? ::Polygon(m_hDC, lpPoints, nCount) : FALSE; }
BOOL CDC::Polyline(const POINT* lpPoints, int nCount) { return lpPoints ? ::Polyline(m_hDC, lpPoints, nCount) : FALSE; }
BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::GetPixel(POINT point) const { return ::GetPixel(m_hDC, point.x, point.y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
COLORREF CDC::SetPixel(POINT point, COLORREF crColor) { return ::SetPixel(m_hDC, point.x, point.y, crColor); }

int CDC::DrawText(LPCWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    if (!lpszString || !lpRect) return 0;
    return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
}
int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
}
int CDC::DrawTextEx(LPWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) {
    if (!lpszString || !lpRect) return 0;
    return ::DrawTextExW(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}
BOOL CDC::TextOut(int x, int y, LPCWSTR lpszString, int nCount) {
    if (!lpszString || nCount < 0) return FALSE;
    return ::TextOutW(m_hDC, x, y, lpszString, nCount);
}
BOOL CDC::TextOut(int x, int y, const CString& str) { return TextOut(x, y, str.GetString(), str.GetLength()); }
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCWSTR lpszString, UINT nCount, LPINT lpDxWidths) {
    return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, lpszString, lpszString ? nCount : 0, lpDxWidths);
}
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths) {
    return ExtTextOut(x, y, nOptions, lpRect, str.GetString(), (UINT)str.GetLength(), lpDxWidths);
}
CSize CDC::GetTextExtent(LPCWSTR lpszString, int nCount) const {
    SIZE size = {0, 0};
    if (lpszString && nCount > 0) ::GetTextExtentPoint32W(m_hAttribDC, lpszString, nCount, &size);
    return size;
}
CSize CDC::GetTextExtent(const CString& str) const { return GetTextExtent(str.GetString(), str.GetLength()); }
CSize CDC::GetOutputTextExtent(LPCWSTR lpszString, int nCount) const {
    SIZE size = {0, 0};
    if (lpszString && nCount > 0) ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size);
    return size;
}
BOOL CDC::GetTextMetrics(LPTEXTMETRICW lpMetrics) const {
    return lpMetrics ? ::GetTextMetricsW(m_hAttribDC, lpMetrics) : FALSE;
}
int CDC::GetTextFace(int nCount, LPWSTR lpszFacename) const { return ::GetTextFaceW(m_hAttribDC, nCount, lpszFacename); }

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) {
    m_ps = {};
    if (m_hWnd) Attach(::BeginPaint(m_hWnd, &m_ps));
}
CPaintDC::~CPaintDC() {
    if (m_hWnd) {
        ::EndPaint(m_hWnd, &m_ps);
        Detach();
    }
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) { Attach(::GetDC(m_hWnd)); }
CClientDC::~CClientDC() {
    HDC dc = Detach();
    if (dc) ::ReleaseDC(m_hWnd, dc);
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) { Attach(::GetWindowDC(m_hWnd)); }
CWindowDC::~CWindowDC() {
    HDC dc = Detach();
    if (dc) ::ReleaseDC(m_hWnd, dc);
}
