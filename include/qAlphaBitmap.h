// The alpha bitmap object behind the skins: one image from a file, a resource, a bitmap handle or
// a DIB in memory, cut to a source rectangle, optionally given per-pixel alpha from a second image,
// and drawn unscaled at a point, tiled over a rectangle or in nine cells.
//
// Objects come from gfnNewIGDIPlusDrawAlphaBitmap and are destroyed with Release. Images without
// alpha are drawn with BitBlt; the others are blended through GDI+.
#pragma once
#include "qTrimUIDef.h"

namespace Gdiplus {
typedef DWORD ARGB;   // 0xAARRGGBB, as GDI+ defines it
}

class IGDIPlusDrawAlphaBitmap {
public:
    // Releases the image; the object stays usable.
    virtual void fnFree() = 0;
    // Loads dir + file (joined without a separator), with alpha from dir + alphaFile when that is
    // non-empty, cut to (srcX, srcY, srcW, srcH); a width or height of 0 reaches to the image's edge.
    virtual int fnLoadFromFile(const wchar_t* dir, const wchar_t* file, const wchar_t* alphaFile, int srcX,
                               int srcY, int srcW, int srcH) = 0;
    // Bitmap resources; alphaId 0 means no alpha image.
    virtual int fnLoadFromResource(HINSTANCE instance, UINT id, UINT alphaId, int srcX, int srcY, int srcW,
                                   int srcH) = 0;
    virtual int fnLoadFromPath(const wchar_t* path, const wchar_t* alphaPath, int srcX, int srcY, int srcW,
                               int srcH) = 0;
    // The bitmap and palette stay the caller's.
    virtual int fnCreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette) = 0;
    virtual int fnCreateFromGdiDib(const BITMAPINFO* info, void* bits) = 0;

    virtual int fnSetPaletteRGB(const COLORREF* colours, int count) = 0;
    virtual int fnSetPalette(const Gdiplus::ARGB* colours, int count) = 0;
    virtual int fnGetPalette(Gdiplus::ARGB* out, int max) = 0;
    virtual void fnSetPaletteAlpha(int index, BYTE alpha) = 0;
    virtual void fnSetPaletteEntry(int index, Gdiplus::ARGB colour) = 0;
    virtual void fnSetPaletteEntryRGB(int index, COLORREF colour) = 0;

    virtual CSize fnGetSize() = 0;
    // New DIB section of the image at bitCount bits per pixel, owned by the caller.
    virtual int fnCreateDIB(WORD bitCount, HBITMAP* out) = 0;
    // New 32-bit bitmap of the image (transparent black background), owned by the caller.
    virtual int fnGetHBITMAP(HBITMAP* out) = 0;
    virtual int fnIsValid() = 0;

    virtual int fnDraw(HDC dc, const RECT* rect) = 0;
    virtual int fnDraw(HDC dc, int x, int y, int w, int h) = 0;
    virtual int fnDraw(HDC dc, int x, int y, int srcX, int srcY, int w, int h) = 0;
    // Tiles the piece (srcX, srcY, srcW, srcH) over rect; useBackBuffer blends each tile in the
    // shared back buffer instead of drawing on dc directly.
    virtual int fnFillRect(HDC dc, const RECT* rect, int srcX, int srcY, int srcW, int srcH,
                           BOOL useBackBuffer) = 0;
    // Nine-cell fill: corners unscaled, edges and centre tiled.
    virtual int fnFillRectWith9Cells(HDC dc, const RECT* rect, int srcX, int srcY, int srcW, int srcH) = 0;
    virtual int fnFillRectWith9Cells(HDC dc, const RECT* rect) = 0;

    // Blank 24-bit image of w x h.
    virtual int fnCreate(int w, int h) = 0;
    // A device context drawing into the image, until fnReleaseDC.
    virtual HDC fnGetDC() = 0;
    virtual void fnReleaseDC(HDC dc) = 0;
    // Destroys the object.
    virtual void Release() = 0;

protected:
    ~IGDIPlusDrawAlphaBitmap() = default;
};

// A new empty object, or null when it cannot be allocated.
QTRIMUI_API IGDIPlusDrawAlphaBitmap* gfnNewIGDIPlusDrawAlphaBitmap();
