// A small drawing context: direct (draws on a given DC) or buffered (draws into its own white
// 24-bit DIB and copies it out on Flush), with a blit that blends by a constant ratio and/or a
// per-pixel 8-bit mask.
#pragma once
#include "qTrimUIDef.h"

// The source contributes nNumerator / nDenominator, the old pixel the rest; nDenominator is not 0.
struct AlphaRatio {
    int nNumerator;
    int nDenominator;
};

class QTRIMUI_API xUIDC {
public:
    xUIDC();
    // Copies share the buffer bitmap; the last of them to go deletes it.
    xUIDC(xUIDC const& other);
    xUIDC& operator=(xUIDC const& other);
    virtual ~xUIDC();

    // Direct mode on dc. Once initialised, later fnInit/fnCreate calls return 1 and change nothing
    // until fnUnInit.
    int fnInit(HDC dc);
    // Buffered mode: a white width x height buffer compatible with dc.
    int fnCreate(int width, int height, HDC dc);
    // Ends the initialised state; the buffer stays until the destructor or the next fnCreate.
    int fnUnInit();

    // Direct mode: the system BitBlt. Buffered mode: blends the bitmap selected in source into the
    // buffer: with a ratio pure white source pixels are left out; with a mask (an 8-bit DIB section of
    // the source's size) each pixel is weighted by its mask byte. The DWORD* argument has no effect.
    int BitBlt(int x, int y, int width, int height, HDC source, int srcX, int srcY, DWORD rop,
               DWORD* unused, AlphaRatio* ratio, HBITMAP mask);
    // Copies the buffer to (x, y) of the DC: width x height, or the whole buffer when either is 0.
    int Flush(int x, int y, int width, int height);
    int FillRect(int x, int y, int width, int height, DWORD colour);
    int FillRect(const RECT* rect, DWORD colour);
    // Tiles the bitmap over the rectangle.
    int FillRect(const RECT* rect, HBITMAP bitmap);
    // Draws only into the buffer.
    void FillSolidRect(int x, int y, int width, int height, DWORD colour);
    // Etched separator: a grey line over a white one. Buffered mode only, as are the three below.
    int Draw3DLine(int x, int y, int length);
    int Draw3DRect(const RECT* rect, DWORD topLeft, DWORD bottomRight);
    // Right-pointing filled triangle with corners (x, y), (x, y + size), (x + size / 2, y + size / 2).
    int DrawArrow(int x, int y, int size, DWORD colour);
    // Text in the DC's current font and the stored colour, transparent background.
    int TextOutW(int x, int y, const wchar_t* text, int length);
    void SetTextColor(DWORD colour);
    void* GetCurrentObject(UINT type);
    void* SelectObject(void* object);
    // A memory DC compatible with the target DC; the caller deletes it.
    HDC CreateCompatibleDC();

protected:
    int BitBltEx(int x, int y, int width, int height, HDC source, int srcX, int srcY, DWORD rop,
                 DWORD* unused, AlphaRatio* ratio, HBITMAP mask);

    int m_bInit;
    HDC m_hDC;
    void* m_pBits;
    int m_nMode;
    HBITMAP m_hBitmap;
    COLORREF m_clrText;
};
