// The module's shared off-screen bitmap and memory DC for double-buffered painting.
#pragma once
#include "qTrimUIDef.h"

class QTRIMUI_API CqBitmapHandler {
public:
    CqBitmapHandler() = default;
    CqBitmapHandler(CqBitmapHandler const&) = default;
    CqBitmapHandler& operator=(CqBitmapHandler const&) = default;
    virtual ~CqBitmapHandler() = default;

    static int g_fnInit();
    static void g_fnUninit();
    // Keeps the bitmap when it already covers w x h; otherwise replaces it by one of exactly w x h.
    static int g_fnCreateBitmap(HDC dc, int width, int height);
    static HBITMAP g_fnGetBitmap();
    // Pairs with g_fnReleaseDC within one paint.
    static HDC g_fnGetDC();
    static void g_fnReleaseDC();
    static void g_fnBitblt(HDC dest, int x, int y, int width, int height);

    // Capture into the shared bitmap (not between g_fnGetDC and g_fnReleaseDC: they select it
    // elsewhere). Copies the parent's background behind child to dest's (0, 0).
    static void g_fnDrawParentBk(HWND child, HDC dest);
    // Leaves the parent's background behind child in the shared bitmap.
    static void g_fnGetWindowBkBitmap(HWND parent, HWND child);
    // Leaves the window's background of rect (null or empty: the client area) in the shared bitmap.
    static void g_fnGetWindowBkBitmap(HWND window, RECT* rect);

protected:
    static HBITMAP g_hBitmapHandler;
    static HDC g_hDC;
    static void* g_hOldObj;
};
