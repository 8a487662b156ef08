// Captions and frames: shadowed and grey text, text measuring in the default font, 3-D frames.
#include "qDraw.h"
#include "qCutCFFont.h"
#include "drawing/gdiutil.h"
#include "frame/moduleState.h"
#include "frame/settingsText.h"
#include <cwchar>

namespace {
using namespace qdraw;
const UINT kGrayStringColours = 6001;   // "text,shadow" in the string table
}  // namespace

void gfnEasyShadowString(HDC dc, RECT* rect, const wchar_t* text, int length, unsigned long textColour,
                         unsigned long shadowColour, UINT format, const int& dx, const int& dy) {
    if (!dc || !rect || !text) return;
    const COLORREF saved = GetTextColor(dc);
    if (dx != 0 || dy != 0) {
        RECT shadow = *rect;
        OffsetRect(&shadow, dx, dy);
        SetTextColor(dc, shadowColour);
        DrawTextW(dc, text, length, &shadow, format);
    }
    SetTextColor(dc, textColour);
    DrawTextW(dc, text, length, rect, format);
    SetTextColor(dc, saved);
}

void gfnGetGrayStringColor(unsigned long& textColour, unsigned long& shadowColour) {
    wchar_t buffer[100] = {};
    if (LoadStringW(qmod::instance(), kGrayStringColours, buffer, 99) <= 0) return;
    uint32_t colours[2] = {};
    // Both colours or neither: a half-read entry leaves the caller's values.
    if (qmod::scanHexList(buffer, colours, 2) != 2) return;
    textColour = colours[0];
    shadowColour = colours[1];
}

void gfnEasyGrayString(HDC dc, RECT* rect, const wchar_t* text, int length, UINT format) {
    unsigned long textColour = RGB(128, 128, 128), shadowColour = RGB(255, 255, 255);
    gfnGetGrayStringColor(textColour, shadowColour);
    const int dx = 1, dy = 1;
    gfnEasyShadowString(dc, rect, text, length, textColour, shadowColour, format, dx, dy);
}

int gfnGetTextRect(HDC dc, CRect* rect, const wchar_t* text, HFONT font, UINT format) {
    if (!dc || !rect || !text) return 0;
    CCutCFFont holder;   // keeps the default font alive for this call
    SelectGuard sel(dc, font ? font : holder.fnGetDefaultFont());
    return qdraw::measureText(dc, rect, text, format);
}

int gfnGetTextRect(CWnd* window, CRect* rect, const wchar_t* text, HFONT font, UINT format) {
    if (!window || !window->GetSafeHwnd() || !text || !rect) return 0;
    HWND hwnd = window->GetSafeHwnd();
    HDC dc = ::GetDC(hwnd);
    if (!dc) return 0;
    int result = gfnGetTextRect(dc, rect, text, font, format);
    ::ReleaseDC(hwnd, dc);
    return result;
}

void gfnDraw3DFrame(HDC dc, RECT* rect, int raised) {
    if (!dc || !rect) return;
    const RECT& r = *rect;
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    {
        OwnedGdi<HPEN> pen(CreatePen(PS_SOLID, 1, raised ? highlight : shadow));
        SelectGuard sel(dc, pen.get());
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right, r.top);
    }
    {
        OwnedGdi<HPEN> pen(CreatePen(PS_SOLID, 1, raised ? shadow : highlight));
        SelectGuard sel(dc, pen.get());
        MoveToEx(dc, r.right - 1, r.top + 1, nullptr);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left, r.bottom - 1);
    }
}
