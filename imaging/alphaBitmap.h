// The object behind IGDIPlusDrawAlphaBitmap. Private to the library: hosts see the interface only.
#pragma once
#include "qAlphaBitmap.h"
#include "qBitmapLoad.h"
#include "imaging/composedCache.h"
#include "imaging/gdip.h"

class CqGDIPlusDrawAlphaBitmap final : public IGDIPlusDrawAlphaBitmap {
public:
    CqGDIPlusDrawAlphaBitmap();
    ~CqGDIPlusDrawAlphaBitmap();
    CqGDIPlusDrawAlphaBitmap(const CqGDIPlusDrawAlphaBitmap&) = delete;
    CqGDIPlusDrawAlphaBitmap& operator=(const CqGDIPlusDrawAlphaBitmap&) = delete;

    void fnFree() override;
    int fnLoadFromFile(const wchar_t* dir, const wchar_t* file, const wchar_t* alphaFile, int srcX, int srcY,
                       int srcW, int srcH) override;
    int fnLoadFromResource(HINSTANCE instance, UINT id, UINT alphaId, int srcX, int srcY, int srcW,
                           int srcH) override;
    int fnLoadFromPath(const wchar_t* path, const wchar_t* alphaPath, int srcX, int srcY, int srcW,
                       int srcH) override;
    int fnCreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette) override;
    int fnCreateFromGdiDib(const BITMAPINFO* info, void* bits) override;
    int fnSetPaletteRGB(const COLORREF* colours, int count) override;
    int fnSetPalette(const Gdiplus::ARGB* colours, int count) override;
    int fnGetPalette(Gdiplus::ARGB* out, int max) override;
    void fnSetPaletteAlpha(int index, BYTE alpha) override;
    void fnSetPaletteEntry(int index, Gdiplus::ARGB colour) override;
    void fnSetPaletteEntryRGB(int index, COLORREF colour) override;
    CSize fnGetSize() override;
    int fnCreateDIB(WORD bitCount, HBITMAP* out) override;
    int fnGetHBITMAP(HBITMAP* out) override;
    int fnIsValid() override;
    int fnDraw(HDC dc, const RECT* rect) override;
    int fnDraw(HDC dc, int x, int y, int w, int h) override;
    int fnDraw(HDC dc, int x, int y, int srcX, int srcY, int w, int h) override;
    int fnFillRect(HDC dc, const RECT* rect, int srcX, int srcY, int srcW, int srcH, BOOL useBackBuffer) override;
    int fnFillRectWith9Cells(HDC dc, const RECT* rect, int srcX, int srcY, int srcW, int srcH) override;
    int fnFillRectWith9Cells(HDC dc, const RECT* rect) override;
    int fnCreate(int w, int h) override;
    HDC fnGetDC() override;
    void fnReleaseDC(HDC dc) override;
    void Release() override;
    // Frees the composed faces now; they are made again when next drawn.
    void fnDropComposed() { m_composed.clear(); }

private:
    void setImage(Gdiplus::GpBitmap* image);
    void adopt(Gdiplus::GpBitmap* image, Gdiplus::ARGB gdiBackground);
    bool makeGdiCopy(Gdiplus::ARGB background);
    int nineCells(HDC dc, const RECT* rect, int srcX, int srcY, int srcW, int srcH);
    int setPaletteEntries(const Gdiplus::ARGB* entries, int count);
    bool ensurePalette();
    void applyPalette();
    static bool beginBack(HDC dc, const RECT& clip, const RECT& area, Gdiplus::GpGraphics* back, RECT& work);
    static void endBack(HDC dc, const RECT& work, Gdiplus::GpGraphics* back);
    static bool prepareBackBuffer(HDC dc);
    static void releaseBackBuffer();

    HDC m_hMemDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    Gdiplus::GpBitmap* m_pImage = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    Gdiplus::GpGraphics* m_pGraphics = nullptr;
    HDC m_hLentDC = nullptr;   // the context m_pGraphics lent out
    Gdiplus::ColorPalette* m_pPalette = nullptr;
    CqComposedCache m_composed;   // nine-cell faces as drawn; cleared whenever the pixels change
    CGDIPlusStartup m_startup;

    static LONG g_nInstanceCount;
    static wchar_t g_szCachedFile[MAX_PATH];
    static Gdiplus::GpBitmap* g_pCachedImage;
    static wchar_t g_szCachedAlphaFile[MAX_PATH];
    static Gdiplus::GpBitmap* g_pCachedAlphaImage;
    static HDC g_hBackDC;
    static HBITMAP g_hBackBitmap;
    static HGDIOBJ g_hBackOldBitmap;
    static SIZE g_sizeBack;
};
