// DIB drawing: the shared DrawDib handle, the content-keyed cache of packed DIBs and the cached
// nine-cell rendering of large fills.
#include "qDrawDIB.h"
#include "qBitmapLoad.h"
#include "qMerge.h"
#include "drawing/gdiutil.h"
#include "q32Cvt.h"
#include <vfw.h>
#include <algorithm>
#include <cstring>
#include <new>

using DibMap = CMap<UINT_PTR, UINT_PTR, CqDrawDIBMapElement, CqDrawDIBMapElement>;

UINT CqDrawDIB::g_nDIBCount = 0;
void* CqDrawDIB::g_hDrawdibDC = nullptr;
DibMap* CqDrawDIB::g_pDibMap = nullptr;
HDC CqDrawDIB::g_hElementDC = nullptr;
UINT CqDrawDIB::g_nElementCount = 0;

namespace {

const int kCachedFillArea = 10000;   // nine-cell fills of at least this many pixels use the rendering

LONG dibStride(LONG width, WORD bits) { return (LONG)((((DWORD)width * bits + 31) / 8) & ~3u); }

// A packed DIB this class can draw: bits right after the 40-byte header (16, 24 or 32 bits, no
// colour table or masks) and all of its rows inside the block.
bool plausibleDib(const BITMAPINFOHEADER* h, SIZE_T size) {
    if (size < sizeof(BITMAPINFOHEADER) || h->biSize != sizeof(BITMAPINFOHEADER)) return false;
    if (h->biWidth <= 0 || h->biHeight == 0 || h->biHeight == LONG_MIN || h->biPlanes != 1) return false;
    if (h->biCompression != BI_RGB || (h->biBitCount != 16 && h->biBitCount != 24 && h->biBitCount != 32))
        return false;
    const unsigned long long rows = (unsigned long long)dibStride(h->biWidth, h->biBitCount) *
                                    (unsigned long long)(h->biHeight < 0 ? -(long long)h->biHeight : h->biHeight);
    return sizeof(BITMAPINFOHEADER) + rows <= size;
}

// Sum of the block's 64-bit little-endian words, plus its remaining bytes, plus its size.
UINT_PTR contentKey(const BYTE* p, SIZE_T size) {
    unsigned long long key = size;
    const SIZE_T words = size / 8;
    for (SIZE_T i = 0; i < words; ++i) {
        unsigned long long w;
        std::memcpy(&w, p + i * 8, 8);
        key += w;
    }
    for (SIZE_T i = words * 8; i < size; ++i) key += p[i];
    return (UINT_PTR)key;
}

// Turns a top-down block into the bottom-up rows DrawDib reads (it refuses negative heights).
void makeBottomUp(HGLOBAL dib) {
    qdraw::GlobalLockGuard<BYTE> lock(dib);
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(lock.get());
    if (!h || h->biHeight >= 0) return;
    const size_t stride = (size_t)dibStride(h->biWidth, h->biBitCount);
    const LONG rows = -h->biHeight;
    BYTE* bits = lock.get() + sizeof(BITMAPINFOHEADER);
    for (LONG top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bits + top * stride, bits + (top + 1) * stride, bits + bottom * stride);
    h->biHeight = rows;
}

// The header DrawDib is given: the block's own, with the image size that its rows really take
// (some DrawDib implementations copy biSizeImage bytes).
BITMAPINFOHEADER drawHeader(const BITMAPINFOHEADER* h) {
    BITMAPINFOHEADER header = *h;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biSizeImage = (DWORD)dibStride(h->biWidth, h->biBitCount) * (DWORD)std::abs(h->biHeight);
    return header;
}

// The rendering last copied from stays selected in the element DC, so warm fills of one DIB
// do not pay for selecting a large bitmap every time; its original bitmap comes back before
// the DC or a selected rendering is deleted.
HGDIOBJ g_elementOriginal = nullptr;
HBITMAP g_elementSelected = nullptr;

bool selectRendering(HDC dc, HBITMAP bitmap) {
    if (g_elementSelected == bitmap) return true;
    HGDIOBJ old = SelectObject(dc, bitmap);
    if (!old || old == HGDI_ERROR) return false;
    if (!g_elementSelected) g_elementOriginal = old;
    g_elementSelected = bitmap;
    return true;
}

void deselectRendering(HDC dc, HBITMAP bitmap) {
    if (!bitmap || g_elementSelected != bitmap) return;
    SelectObject(dc, g_elementOriginal);
    g_elementSelected = nullptr;
    g_elementOriginal = nullptr;
}

// A memory DC for the cached renderings. The framework stand-in has no application object, so
// there is no main window to match: the screen it would be shown on stands in for it.
HDC newElementDC() { return CreateCompatibleDC(nullptr); }

// The largest rendering kept: the screen's size, read when the element DC is made (asking a DC
// for it costs as much as the copies of a warm fill).
SIZE g_renderingLimit = {1, 1};

}  // namespace

// ---- cache elements ----------------------------------------------------------------------------

CqDrawDIBMapElement::CqDrawDIBMapElement() : hDib(nullptr), nRef(0), hBitmap(nullptr) {
    if (!CqDrawDIB::g_hElementDC || CqDrawDIB::g_nElementCount == 0) {
        if (CqDrawDIB::g_hElementDC) DeleteDC(CqDrawDIB::g_hElementDC);
        CqDrawDIB::g_hElementDC = newElementDC();
        HDC dc = CqDrawDIB::g_hElementDC;
        g_renderingLimit = {dc ? std::max(GetDeviceCaps(dc, HORZRES), 1) : 1,
                            dc ? std::max(GetDeviceCaps(dc, VERTRES), 1) : 1};
    }
    ++CqDrawDIB::g_nElementCount;
}

CqDrawDIBMapElement::~CqDrawDIBMapElement() {
    deselectRendering(CqDrawDIB::g_hElementDC, hBitmap);
    if (hBitmap) DeleteObject(hBitmap);
    if (CqDrawDIB::g_nElementCount && --CqDrawDIB::g_nElementCount == 0 && CqDrawDIB::g_hElementDC) {
        DeleteDC(CqDrawDIB::g_hElementDC);
        CqDrawDIB::g_hElementDC = nullptr;
    }
}

// ---- objects -----------------------------------------------------------------------------------

void CqDrawDIB::gfnAddOneDIB() {
    if (g_nDIBCount) {
        ++g_nDIBCount;
        return;
    }
    g_hDrawdibDC = DrawDibOpen();
    g_pDibMap = new (std::nothrow) DibMap(10);
    g_nDIBCount = 1;
}

void CqDrawDIB::gfnRemoveOneDIB() {
    if (g_nDIBCount && --g_nDIBCount) return;
    if (g_hDrawdibDC) DrawDibClose((HDRAWDIB)g_hDrawdibDC);
    g_hDrawdibDC = nullptr;
    delete g_pDibMap;
    g_pDibMap = nullptr;
}

CqDrawDIB::CqDrawDIB() : m_hDib(nullptr), m_size(0, 0), m_nKey(0) { gfnAddOneDIB(); }

CqDrawDIB::CqDrawDIB(const CqDrawDIB& other) : m_hDib(other.m_hDib), m_size(other.m_size), m_nKey(other.m_nKey) {
    gfnAddOneDIB();
    if (m_hDib && g_pDibMap) {
        if (auto* pair = g_pDibMap->PLookup(m_nKey)) InterlockedIncrement(&pair->value.nRef);
    }
}

CqDrawDIB& CqDrawDIB::operator=(const CqDrawDIB& other) {
    if (this == &other) return *this;
    Free();
    m_hDib = other.m_hDib;
    m_size = other.m_size;
    m_nKey = other.m_nKey;
    if (m_hDib && g_pDibMap) {
        if (auto* pair = g_pDibMap->PLookup(m_nKey)) InterlockedIncrement(&pair->value.nRef);
    }
    return *this;
}

CqDrawDIB::~CqDrawDIB() {
    Free();
    gfnRemoveOneDIB();
}

void CqDrawDIB::Free() {
    if (m_hDib && g_pDibMap) {
        auto* pair = g_pDibMap->PLookup(m_nKey);
        if (pair && InterlockedDecrement(&pair->value.nRef) == 0) {
            GlobalFree(m_hDib);
            g_pDibMap->RemoveKey(m_nKey);   // destroys the element with its rendering
        }
    }
    m_hDib = nullptr;
    m_size = CSize(0, 0);
    m_nKey = 0;
}

void CqDrawDIB::fnSetDibBuf(void* hDib) {
    if (hDib) _fnSetDibBuf(hDib);
}

void CqDrawDIB::_fnSetDibBuf(void* hDib) {
    Free();
    if (!hDib) return;
    const SIZE_T size = GlobalSize(hDib);
    if (size == 0) return;   // not a global block: nothing to take over
    if (!g_pDibMap) {        // the cache could not be made: the block cannot be held
        GlobalFree(hDib);
        return;
    }
    UINT_PTR key = 0;
    CSize dims(0, 0);
    bool usable = false;
    {
        qdraw::GlobalLockGuard<BYTE> lock(hDib);
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(lock.get());
        if (header && plausibleDib(header, size)) {
            usable = true;
            key = contentKey(lock.get(), size);
            dims = CSize(header->biWidth, std::abs(header->biHeight));
        }
    }
    if (!usable) {
        GlobalFree(hDib);   // ours now, and not a DIB that can be drawn
        return;
    }
    CqDrawDIBMapElement* found = nullptr;
    try {
        found = &(*g_pDibMap)[key];
    } catch (...) {   // no room for a cache entry: the block cannot be held
        GlobalFree(hDib);
        return;
    }
    CqDrawDIBMapElement& element = *found;
    if (InterlockedIncrement(&element.nRef) == 1) {
        makeBottomUp(hDib);   // keyed by the bytes as given, kept in the rows DrawDib can draw
        element.hDib = hDib;
    } else if (element.hDib != hDib) {
        GlobalFree(hDib);   // the same contents are already held
    }
    m_hDib = element.hDib;
    m_nKey = key;
    m_size = dims;
}

int CqDrawDIB::fnSetDibBufFromAIK(void* buffer) {
    if (!buffer) return 0;
    Free();
    HGLOBAL dib = nullptr;
    if (!cvt32BufToDIB(buffer, &dib, 0, 0) || !dib) return 0;
    fnSetDibBuf(dib);
    return fnIsBufValid();
}

int CqDrawDIB::fnSetDibBufFromDDB(HBITMAP bitmap) {
    if (!bitmap) return 0;
    Free();
    HGLOBAL dib = nullptr;
    if (!cvt32DDBToDIB(bitmap, &dib, 0) || !dib) return 0;
    fnSetDibBuf(dib);
    return fnIsBufValid();
}

int CqDrawDIB::fnSetDibBufFromDDB(HINSTANCE instance, UINT id) {
    HBITMAP bitmap = gfnLoadBitmap(instance, id);
    if (!bitmap) return 0;
    const int result = fnSetDibBufFromDDB(bitmap);
    DeleteObject(bitmap);
    return result;
}

int CqDrawDIB::fnSetDibBufFromDDB(const wchar_t* dir, const wchar_t* file) {
    HBITMAP bitmap = gfnLoadBitmap(dir, file);
    if (!bitmap) return 0;
    const int result = fnSetDibBufFromDDB(bitmap);
    DeleteObject(bitmap);
    return result;
}

int CqDrawDIB::fnSetDibBufFromDIB(HINSTANCE instance, UINT id) {
    void* buffer = nullptr;
    gfnCreateBufFromBitmapHandleDIB(instance, id, &buffer, 0, 0, 0, 0);
    const int result = fnSetDibBufFromAIK(buffer);
    buf32Free(buffer);
    return result;
}

int CqDrawDIB::fnSetDibBufFromDIB(const wchar_t* dir, const wchar_t* file) {
    void* buffer = nullptr;
    gfnCreateBufFromBitmapHandleDIB(dir, file, &buffer, 0, 0, 0, 0);
    const int result = fnSetDibBufFromAIK(buffer);
    buf32Free(buffer);
    return result;
}

CSize CqDrawDIB::fnGetSize() { return m_size; }

int CqDrawDIB::fnIsBufValid() { return m_hDib != nullptr; }

// ---- drawing -----------------------------------------------------------------------------------

void CqDrawDIB::gfnDrawDib(void* hDib, HDC dc, int x, int y, int w, int h, int srcX, int srcY) {
    HDRAWDIB dd = (HDRAWDIB)g_hDrawdibDC;
    qdraw::GlobalLockGuard<BYTE> lock(hDib);
    if (!dd || !dc || !lock) return;
    BITMAPINFOHEADER header = drawHeader(reinterpret_cast<const BITMAPINFOHEADER*>(lock.get()));
    BYTE* bits = lock.get() + sizeof(BITMAPINFOHEADER);
    DrawDibBegin(dd, dc, w, h, &header, w, h, DDF_BUFFER);
    DrawDibDraw(dd, dc, x, y, w, h, &header, bits, srcX, srcY, w, h, DDF_SAME_DRAW);
    DrawDibEnd(dd);
}

void CqDrawDIB::gfnDrawDibFillRect(void* hDib, HDC dc, RECT* rect, int srcX, int srcY, int w, int h) {
    HDRAWDIB dd = (HDRAWDIB)g_hDrawdibDC;
    qdraw::GlobalLockGuard<BYTE> lock(hDib);
    if (!dd || !dc || !rect || !lock) return;
    BITMAPINFOHEADER header = drawHeader(reinterpret_cast<const BITMAPINFOHEADER*>(lock.get()));
    BYTE* bits = lock.get() + sizeof(BITMAPINFOHEADER);
    DrawDibBegin(dd, dc, rect->right - rect->left, rect->bottom - rect->top, &header, w, h, DDF_BUFFER);
    if (w == 0 || h == 0) {
        w = header.biWidth;
        h = std::abs(header.biHeight);
    }
    // Only the tiles inside the clip box: a fill far larger than the target costs what it shows.
    RECT visible;
    if (GetClipBox(dc, &visible) == ERROR) visible = *rect;
    qdraw::forEachVisibleTile(*rect, visible, w, h, [&](int tx, int ty, int tw, int th) {
        DrawDibDraw(dd, dc, tx, ty, tw, th, &header, bits, srcX, srcY, tw, th, DDF_SAME_DRAW);
    });
    DrawDibEnd(dd);
}

void CqDrawDIB::fnDrawDib(HDC dc, int x, int y, int w, int h, int srcX, int srcY) {
    if (!m_hDib || srcX < 0 || srcY < 0) return;
    if (w == 0 || w > m_size.cx) w = m_size.cx;
    if (h == 0 || h > m_size.cy) h = m_size.cy;
    if (w < 0 || h < 0) return;
    gfnDrawDib(m_hDib, dc, x, y, w, h, srcX, srcY);
}

void CqDrawDIB::fnDrawDibFillRect(HDC dc, RECT* rect, int srcX, int srcY, int w, int h) {
    if (!m_hDib || srcX < 0 || srcY < 0) return;
    if (w == 0 || srcX + w > m_size.cx) w = m_size.cx - srcX;
    if (h == 0 || srcY + h > m_size.cy) h = m_size.cy - srcY;
    if (w <= 0 || h <= 0) return;   // the piece starts outside the DIB
    gfnDrawDibFillRect(m_hDib, dc, rect, srcX, srcY, w, h);
}

void CqDrawDIB::fnDrawDibFillRectWith9Cells(HDC dc, RECT* rect, int srcX, int srcY, int srcW, int srcH) {
    if (!m_hDib || !rect) return;
    // A piece under 3 pixels gives cells of 0, which the draws below read as the whole DIB.
    const int cw = srcW / 3, ch = srcH / 3;
    qdraw::NineCellPiece pieces[9];
    qdraw::nineCellPieces(*rect, cw, ch, pieces);
    for (qdraw::NineCellPiece& p : pieces) {
        const int sx = srcX + p.col * cw, sy = srcY + p.row * ch;
        if (p.corner)
            fnDrawDib(dc, p.dest.left, p.dest.top, cw, ch, sx, sy);
        else
            fnDrawDibFillRect(dc, &p.dest, sx, sy, cw, ch);
    }
}

void CqDrawDIB::fnDrawDibFillRectWith9Cells(HDC dc, RECT* rect) {
    if (!m_hDib || !rect || !dc) return;
    const LONG L = rect->left, T = rect->top, R = rect->right, B = rect->bottom;
    const LONG dw = R - L, dh = B - T;
    DibMap::CPair* pair = g_pDibMap ? g_pDibMap->PLookup(m_nKey) : nullptr;
    // The rendering is kept no larger than the screen: a larger (or an inverted)
    // rectangle is drawn directly, as is any fill when no rendering can be made.
    auto direct = [&] { fnDrawDibFillRectWith9Cells(dc, rect, 0, 0, m_size.cx, m_size.cy); };
    if (dw <= 0 || dh <= 0 || (long long)dw * dh < kCachedFillArea || !pair || !g_hElementDC ||
        dw > g_renderingLimit.cx || dh > g_renderingLimit.cy)
        return direct();
    // Render once at the largest size asked for; smaller fills copy its four corners' quadrants.
    CqDrawDIBMapElement& element = pair->value;
    BITMAP bm = {};
    const bool have = element.hBitmap && GetObjectW(element.hBitmap, sizeof bm, &bm) == sizeof bm;
    if (!have || bm.bmWidth < dw || bm.bmHeight < dh) {
        const int bw = std::max<int>(dw, have ? bm.bmWidth : 0), bh = std::max<int>(dh, have ? bm.bmHeight : 0);
        HBITMAP fresh = CreateCompatibleBitmap(dc, bw, bh);
        if (!fresh) return direct();
        deselectRendering(g_hElementDC, element.hBitmap);
        if (element.hBitmap) DeleteObject(element.hBitmap);
        element.hBitmap = fresh;
        bm.bmWidth = bw;
        bm.bmHeight = bh;
        if (!selectRendering(g_hElementDC, fresh)) {
            DeleteObject(fresh);
            element.hBitmap = nullptr;
            return direct();
        }
        RECT all = {0, 0, bw, bh};
        fnDrawDibFillRectWith9Cells(g_hElementDC, &all, 0, 0, m_size.cx, m_size.cy);
    }
    RECT clip;
    if (!selectRendering(g_hElementDC, element.hBitmap) || GetClipBox(dc, &clip) == ERROR) return direct();
    const LONG BW = bm.bmWidth, BH = bm.bmHeight, hw = dw / 2, hh = dh / 2;
    const struct {
        RECT r;
        LONG dx, dy;   // bitmap point = destination point + (dx, dy)
    } quadrants[4] = {
        {{L, T, L + hw, T + hh}, -L, -T},
        {{R - (dw - hw), T, R, T + hh}, BW - R, -T},
        {{L, B - (dh - hh), L + hw, B}, -L, BH - B},
        {{R - (dw - hw), B - (dh - hh), R, B}, BW - R, BH - B},
    };
    for (const auto& q : quadrants) {
        RECT v;
        if (!IntersectRect(&v, &q.r, &clip)) continue;
        BitBlt(dc, v.left, v.top, v.right - v.left, v.bottom - v.top, g_hElementDC, v.left + q.dx, v.top + q.dy,
               SRCCOPY);
    }
}
