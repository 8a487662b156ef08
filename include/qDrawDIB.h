// DIB drawing through one shared DrawDib handle. Objects whose DIBs have the same contents share
// one block of global memory through a content-keyed cache, which also keeps, per DIB, a rendering
// of its nine-cell fill for large rectangles.
#pragma once
#include "qTrimUIDef.h"
#include <afxtempl.h>

// One cache entry: the block shared by every CqDrawDIB holding the same contents, its number of
// owners and the cached nine-cell rendering (compatible with the device it was drawn for).
class CqDrawDIBMapElement {
public:
    CqDrawDIBMapElement();
    ~CqDrawDIBMapElement();
    CqDrawDIBMapElement(const CqDrawDIBMapElement&) = delete;
    CqDrawDIBMapElement& operator=(const CqDrawDIBMapElement&) = delete;

    void* hDib;              // HGLOBAL packed DIB
    volatile LONG nRef;      // changed atomically
    HBITMAP hBitmap;         // cached nine-cell rendering, or null
};

class QTRIMUI_API CqDrawDIB {
public:
    CqDrawDIB();
    // A copy shares the DIB and holds one more reference on it.
    CqDrawDIB(const CqDrawDIB& other);
    CqDrawDIB& operator=(const CqDrawDIB& other);
    virtual ~CqDrawDIB();

    void Free();
    // Takes over a packed DIB in movable global memory (40-byte header, then the bits); null: nothing.
    void fnSetDibBuf(void* hDib);
    // The sources below stay the caller's; each releases the previous DIB first.
    int fnSetDibBufFromAIK(void* buffer);
    int fnSetDibBufFromDDB(HBITMAP bitmap);
    int fnSetDibBufFromDDB(HINSTANCE instance, UINT id);
    int fnSetDibBufFromDDB(const wchar_t* dir, const wchar_t* file);
    int fnSetDibBufFromDIB(HINSTANCE instance, UINT id);
    int fnSetDibBufFromDIB(const wchar_t* dir, const wchar_t* file);

    // Unscaled at (x, y): w x h from (srcX, srcY); a w or h of 0 (or past the DIB) is the DIB's size.
    void fnDrawDib(HDC dc, int x, int y, int w, int h, int srcX, int srcY);
    // Tiles (srcX, srcY, w, h) over rect; a w or h of 0 reaches to the DIB's edge.
    void fnDrawDibFillRect(HDC dc, RECT* rect, int srcX, int srcY, int w, int h);
    // Nine cells of the piece (srcX, srcY, srcW, srcH).
    void fnDrawDibFillRectWith9Cells(HDC dc, RECT* rect, int srcX, int srcY, int srcW, int srcH);
    // Nine cells of the whole DIB; large rectangles are copied from a cached rendering.
    void fnDrawDibFillRectWith9Cells(HDC dc, RECT* rect);

    CSize fnGetSize();
    int fnIsBufValid();

protected:
    void _fnSetDibBuf(void* hDib);

    void* m_hDib;
    CSize m_size;
    UINT_PTR m_nKey;

private:
    friend class CqDrawDIBMapElement;
    static void gfnAddOneDIB();
    static void gfnRemoveOneDIB();
    static void gfnDrawDib(void* hDib, HDC dc, int x, int y, int w, int h, int srcX, int srcY);
    static void gfnDrawDibFillRect(void* hDib, HDC dc, RECT* rect, int srcX, int srcY, int w, int h);

    static UINT g_nDIBCount;
    static void* g_hDrawdibDC;
    static CMap<UINT_PTR, UINT_PTR, CqDrawDIBMapElement, CqDrawDIBMapElement>* g_pDibMap;
    static HDC g_hElementDC;
    static UINT g_nElementCount;
};
