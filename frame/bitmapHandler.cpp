// Shared off-screen bitmap.
#include "qBitmapHandler.h"
#include "drawing/gdiutil.h"


HBITMAP CqBitmapHandler::g_hBitmapHandler = nullptr;
HDC CqBitmapHandler::g_hDC = nullptr;
void* CqBitmapHandler::g_hOldObj = nullptr;

int CqBitmapHandler::g_fnInit() {
    g_fnUninit();
    HDC screen = GetDC(nullptr);
    int ok = g_fnCreateBitmap(screen, 800, 600);
    ReleaseDC(nullptr, screen);
    return ok;
}

void CqBitmapHandler::g_fnUninit() {
    if (g_hOldObj && g_hDC) SelectObject(g_hDC, (HGDIOBJ)g_hOldObj);
    g_hOldObj = nullptr;
    if (g_hBitmapHandler) {
        DeleteObject(g_hBitmapHandler);
        g_hBitmapHandler = nullptr;
    }
    if (g_hDC) {
        DeleteDC(g_hDC);
        g_hDC = nullptr;
    }
}

int CqBitmapHandler::g_fnCreateBitmap(HDC dc, int width, int height) {
    if (g_hBitmapHandler) {
        BITMAP bm = {};
        if (GetObjectW(g_hBitmapHandler, sizeof(bm), &bm) && width <= bm.bmWidth && height <= bm.bmHeight)
            return 1;
    }
    g_fnUninit();
    if (width <= 0 || height <= 0) return 0;
    g_hBitmapHandler = qdraw::compatibleSection(dc, width, height);
    return g_hBitmapHandler != nullptr;
}

HBITMAP CqBitmapHandler::g_fnGetBitmap() { return g_hBitmapHandler; }

// A memory DC made without a DC argument is compatible with the screen: no screen DC to fetch.
HDC CqBitmapHandler::g_fnGetDC() {
    g_hDC = CreateCompatibleDC(nullptr);
    if (g_hDC && g_hBitmapHandler) g_hOldObj = SelectObject(g_hDC, g_hBitmapHandler);
    return g_hDC;
}

void CqBitmapHandler::g_fnReleaseDC() {
    if (g_hOldObj && g_hDC) SelectObject(g_hDC, (HGDIOBJ)g_hOldObj);
    g_hOldObj = nullptr;
    if (g_hDC) {
        DeleteDC(g_hDC);
        g_hDC = nullptr;
    }
}

void CqBitmapHandler::g_fnBitblt(HDC dest, int x, int y, int width, int height) {
    if (g_hDC) BitBlt(dest, x, y, width, height, g_hDC, 0, 0, SRCCOPY);
}
