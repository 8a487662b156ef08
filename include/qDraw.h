// Free drawing functions: blits, alpha blending, transparent drawing, regions from bitmaps,
// rectangle fills, background and screen capture, text and frames.
//
// They hold no state: every temporary DC and GDI object is released before they return, and the
// caller's bitmaps, regions and DCs are never deleted. Results are non-zero for success and 0 for
// failure unless a handle is returned (null on failure; the caller owns it). A pixel buffer
// ("AIK buffer") is a handle of the q32 pixel-buffer library.
#pragma once
#include "qTrimUIDef.h"

// --- Blits, alpha blending, transparency and regions ----------------------------------------

// Constant-alpha blend of the source rectangle onto the destination rectangle (scaled as
// AlphaBlend does). 0, and nothing drawn, without the image-blending library.
QTRIMUI_API int gfnAlphaBlend(HDC dest, HDC source, int x, int y, int width, int height,
                              unsigned char alpha, int srcX, int srcY, int srcWidth, int srcHeight);
QTRIMUI_API int gfnAlphaBlend(HDC dest, HBITMAP source, int x, int y, int width, int height,
                              unsigned char alpha, int srcX, int srcY, int srcWidth, int srcHeight);
QTRIMUI_API int gfnBitblt(HDC dest, int x, int y, int width, int height, HBITMAP source, int srcX,
                          int srcY, unsigned long rop);
// Stretches the whole bitmap into (x, y, width, height).
QTRIMUI_API int gfnStretchBlt(HDC dest, int x, int y, int width, int height, HBITMAP source,
                              unsigned long rop);
// Draws the source rectangle leaving the transparent colour out: scaled through TransparentBlt
// when the image-blending library is there, else at 1:1 through a monochrome mask.
QTRIMUI_API int gfnDrawTransparentBitmap(HDC dest, HBITMAP source, int x, int y, int width, int height,
                                         unsigned long transparent, int srcX, int srcY, int srcWidth,
                                         int srcHeight);
// Region of every pixel not within [key, key + tolerance] (per memory byte B, G, R against the
// key's bytes 0, 1, 2); origin at the bitmap's top-left. Owned by the caller.
QTRIMUI_API HRGN gfnBitmapToRegion(HBITMAP bitmap, unsigned long key, unsigned long tolerance);
// Fills the region with the bitmap as a pattern, aligned to the DC's brush origin.
QTRIMUI_API int gfnFillRgnWithBitmap(HDC dc, HRGN region, HBITMAP bitmap);
// Draws (srcX, srcY, srcWidth, srcHeight) of a pixel buffer at (x, y); a width or height of 0
// reaches to the buffer's edge.
QTRIMUI_API int gfnDrawBuf(HDC dc, int x, int y, void* buffer, int srcX, int srcY, int srcWidth,
                           int srcHeight);
// Draws plain pixel memory (imageWidth x imageHeight, rows of imageWidth * bytesPerPixel bytes)
// into (x, y, width, height), starting at (srcX, srcY) of the image.
QTRIMUI_API int gfnDrawSelImg(HDC dc, int x, int y, int width, int height, unsigned char* pixels,
                              int bytesPerPixel, int srcX, int srcY, int imageWidth, int imageHeight);
// Tiles (srcX, srcY, srcWidth, srcHeight) of one buffer over (x, y, width, height) of another,
// blended through a one-byte-per-pixel alpha buffer laid out like the source when one is given.
QTRIMUI_API int gfnFillBufWithBuf(void* dest, int x, int y, int width, int height, void* source,
                                  int srcX, int srcY, int srcWidth, int srcHeight, void* alpha);

// --- Rectangle fills -----------------------------------------------------------------------------
// Tiles are laid from the rectangle's top-left; the last row and column are cut; every cell is drawn
// from the tile's top-left. The resource overloads load the bitmap and delete it before returning.

// Tiles (srcX, srcY, tileWidth, tileHeight); a tile width or height of 0 uses the whole bitmap's size.
QTRIMUI_API int gfnFillRectWithBitmap(HDC dc, RECT* rect, HBITMAP bitmap, unsigned long rop, int srcX,
                                      int srcY, int tileWidth, int tileHeight);
QTRIMUI_API int gfnFillRectWithBitmap(HDC dc, RECT* rect, HINSTANCE instance, UINT id, unsigned long rop,
                                      int srcX, int srcY, int tileWidth, int tileHeight);
// Nine cells of (srcX, srcY, srcWidth, srcHeight): corners copied, edges and centre tiled. With a
// width or height of 0 the cells are a third of the whole bitmap, from the same origin.
QTRIMUI_API int gfnFillRectWith9CellsBitmap(HDC dc, RECT* rect, HBITMAP bitmap, unsigned long rop,
                                            int srcX, int srcY, int srcWidth, int srcHeight);
QTRIMUI_API int gfnFillRectWith9CellsBitmap(HDC dc, RECT* rect, HINSTANCE instance, UINT id,
                                            unsigned long rop, int srcX, int srcY, int srcWidth,
                                            int srcHeight);
// Tiles the centre cell of the bitmap's 3 x 3 grid.
QTRIMUI_API int gfnFillRectWithCenterCell(HDC dc, RECT* rect, HBITMAP bitmap, unsigned long rop);
QTRIMUI_API int gfnFillRectWithCenterCell(HDC dc, RECT* rect, HINSTANCE instance, UINT id,
                                          unsigned long rop);
// Tiles the whole bitmap with the transparent colour left out.
QTRIMUI_API int gfnFillRectWithTransparentBitmap(HDC dc, RECT* rect, HBITMAP bitmap,
                                                 unsigned long transparent);
QTRIMUI_API int gfnFillRectWithBuf(HDC dc, RECT* rect, void* buffer, int srcX, int srcY, int srcWidth,
                                   int srcHeight);
QTRIMUI_API int gfnFillRectWithSelImage(HDC dc, RECT* rect, unsigned char* pixels, int bytesPerPixel,
                                        int srcX, int srcY, int srcWidth, int srcHeight, int imageWidth,
                                        int imageHeight);
// Leaves the DC's background colour at the fill colour.
QTRIMUI_API int gfnFillSolidRect(HDC dc, RECT* rect, unsigned long colour);

// --- Parent background and screen capture ---------------------------------------------------------
// Capture sends WM_ERASEBKGND with a prepared DC; a null or empty rectangle means the whole client
// area. Overloads that differ only in a RECT* or HWND/HDC argument need a typed null
// ((RECT*)nullptr) at the call.

// Has the parent erase its background into the child's DC (origin: the child's window corner).
QTRIMUI_API int gfnEraseBkByParent(HWND parent, HWND child, HDC childDC);
// The same with the DC's origin at the child's client corner, clipped to a part of the client area.
QTRIMUI_API int gfnEraseBkByParent(HWND parent, HWND child, HDC childDC, RECT* part);
// The same on the child's own DC.
QTRIMUI_API int gfnEraseBkByParent(HWND parent, HWND child, RECT* part);
// The window's background of rect into target's top-left; the rest of target stays.
QTRIMUI_API int gfnGetWindowBkBitmap(HBITMAP target, HWND window, RECT* rect);
// A new 24-bit bitmap of rect's size holding the window's background (GDI+ must be running).
QTRIMUI_API HBITMAP gfnGetWindowBkBitmap(HWND window, RECT* rect);
// The parent's background behind the child.
QTRIMUI_API HBITMAP gfnGetWindowBkBitmap(HWND parent, HWND child);
QTRIMUI_API HBITMAP gfnGetWindowShownBitmap(HWND window, RECT* rect);
QTRIMUI_API void* gfnGetWindowShownBitmapAIKBuffer(HWND window, RECT* rect);
// A copy of a screen rectangle (empty: the whole screen).
QTRIMUI_API HBITMAP gfnGetScreenBitmap(RECT* rect);
QTRIMUI_API void* gfnGetScreenBitmapAIKBuffer(RECT* rect);
// Non-zero when a visible window above it in its sibling chain overlaps it; out receives the
// bounding rectangle of the overlaps (screen coordinates).
QTRIMUI_API int gfnIsWindowCoveredByAnother(HWND window, RECT* out);
QTRIMUI_API void gfnMoveWindowByOffset(HWND parent, HWND child, int dx, int dy);

// --- Text and frames ------------------------------------------------------------------------------

// Text over a one-colour shadow offset by (dx, dy); the DC's text colour is put back.
QTRIMUI_API void gfnEasyShadowString(HDC dc, RECT* rect, const wchar_t* text, int length,
                                     unsigned long textColour, unsigned long shadowColour, UINT format,
                                     const int& dx, const int& dy);
// Grey text over a white shadow one pixel right and down.
QTRIMUI_API void gfnEasyGrayString(HDC dc, RECT* rect, const wchar_t* text, int length, UINT format);
QTRIMUI_API void gfnGetGrayStringColor(unsigned long& textColour, unsigned long& shadowColour);
// Measures the text (DT_CALCRECT) in the font, or the default font when it is null; non-zero when
// it has a height.
QTRIMUI_API int gfnGetTextRect(HDC dc, CRect* rect, const wchar_t* text, HFONT font, UINT format);
QTRIMUI_API int gfnGetTextRect(CWnd* window, CRect* rect, const wchar_t* text, HFONT font, UINT format);
// One-pixel frame inside rect in the button highlight and shadow colours.
QTRIMUI_API void gfnDraw3DFrame(HDC dc, RECT* rect, int raised);
