// The skinned scroll bar: both orientations at several lengths and ranges over a patterned parent
// whose image shows through the skin's transparent pixels. The parent names each notification it
// hears, so the page is also a place to try the bars by hand.
#include "gallery.h"
#include "qScrollBarEx.h"
#include <cstdio>
#include <vector>

namespace {
const wchar_t kBackClass[] = L"GalleryScrollBack";
const int kBackX = 0, kBackY = 24, kBackW = 660, kBackH = 326;

struct Sample {
    bool vertical;
    RECT rect;   // in the patterned window
    long nMin, nMax, nPos, nLine, nPage;
    const wchar_t* label;
    bool frozen;
    bool fitThickness;   // made thinner than the skin, then fitted with fnSetRealSize
};

const Sample kSamples[] = {
    {false, {20, 40, 420, 56}, 0, 299999, 123456, 1, 1000, L"0..299999, page 1000: minimum thumb", false, false},
    {false, {20, 80, 320, 96}, 0, 99, 45, 1, 10, L"0..99, page 10, at 45", false, false},
    {false, {20, 120, 220, 136}, 0, 3, 1, 1, 1, L"0..3, page 1: a quarter", false, false},
    {false, {20, 160, 90, 176}, 0, 999, 500, 1, 10, L"70 px, 0..999", false, false},
    {false, {20, 200, 320, 216}, 0, 9, 0, 1, 10, L"0..9, page 10: inactive", false, false},
    {false, {20, 240, 320, 256}, 0, 99, 60, 1, 10, L"frozen by the host", true, false},
    {false, {20, 280, 320, 288}, -500, 500, 250, 5, 100, L"-500..500, line 5, fitted from 8 px", false, true},
    {true, {480, 20, 496, 300}, 0, 99, 20, 1, 10, nullptr, false, false},
    {true, {520, 20, 536, 300}, 0, 299999, 200000, 1, 500, nullptr, false, false},
    {true, {560, 20, 576, 160}, 0, 3, 3, 1, 1, nullptr, false, false},
    {true, {560, 180, 576, 300}, 0, 5, 0, 1, 10, nullptr, false, false},
    {true, {600, 20, 616, 60}, 0, 99, 50, 1, 10, nullptr, false, false},
};

std::vector<CqScrollBarEx*> g_bars;
HWND g_back = nullptr;
wchar_t g_heard[128] = L"move a bar: the parent names what it hears";

const wchar_t* codeName(UINT code) {
    static const wchar_t* const names[] = {L"SB_LINEUP",        L"SB_LINEDOWN", L"SB_PAGEUP", L"SB_PAGEDOWN",
                                           L"SB_THUMBPOSITION", L"SB_THUMBTRACK", L"SB_TOP",  L"SB_BOTTOM",
                                           L"SB_ENDSCROLL"};
    return code < 9 ? names[code] : L"?";
}

// Diagonal stripes of two colours: what shows through the skin's transparent pixels.
void paintStripes(HDC dc, const RECT& rc) {
    HBRUSH a = CreateSolidBrush(RGB(236, 226, 206)), b = CreateSolidBrush(RGB(206, 222, 236));
    FillRect(dc, &rc, a);
    HGDIOBJ oldBrush = SelectObject(dc, b), oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    for (int x = rc.left - rc.bottom; x < rc.right; x += 12) {
        POINT p[4] = {{x, rc.bottom}, {x + 6, rc.bottom}, {x + 6 + (rc.bottom - rc.top), rc.top},
                      {x + (rc.bottom - rc.top), rc.top}};
        Polygon(dc, p, 4);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(a);
    DeleteObject(b);
}

LRESULT CALLBACK backProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd, &rc);
        paintStripes((HDC)wp, rc);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        for (const Sample& s : kSamples)
            if (s.label) galleryLabel(dc, s.rect.left, s.rect.top - 15, s.label);
        galleryLabel(dc, 330, 306, g_heard);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
        CqScrollBarEx* bar = (CqScrollBarEx*)CWnd::FromHandlePermanent((HWND)lp);
        swprintf(g_heard, 128, L"%ls %ls %u (bar at %ld)        ", msg == WM_HSCROLL ? L"H" : L"V",
                 codeName(LOWORD(wp)), HIWORD(wp), bar ? bar->fnGetScrollPos() : 0L);
        RECT strip = {330, 300, kBackW, kBackH};
        InvalidateRect(hwnd, &strip, TRUE);
        return 0;
    }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void build(HWND panel) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = backProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kBackClass;
    RegisterClassW(&wc);
    g_back = CreateWindowExW(0, kBackClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, kBackX, kBackY, kBackW,
                             kBackH, panel, nullptr, wc.hInstance, nullptr);
    if (!g_back) return;
    CWnd* parent = CWnd::FromHandle(g_back);
    UINT id = 200;
    for (const Sample& s : kSamples) {
        auto* bar = new CqScrollBarEx;
        RECT rc = s.rect;
        if (!bar->fnCreate(s.vertical ? 1 : 0, rc, parent, id++)) {
            delete bar;
            continue;
        }
        g_bars.push_back(bar);
        bar->fnSetScrollInfo(s.nMin, s.nMax, s.nPos, s.nLine, s.nPage, TRUE);
        if (s.frozen) bar->fnFreezeScrollBar(TRUE);
        if (s.fitThickness) bar->fnSetRealSize(0);
    }
}

void paint(HDC dc, const RECT&) {
    galleryLabel(dc, 10, 6, L"Scroll bar: arrows, shaft and thumb from PNG pieces with alpha; the parent shows through");
}

void teardown(HWND) {
    for (CqScrollBarEx* bar : g_bars) delete bar;
    g_bars.clear();
    if (g_back) DestroyWindow(g_back);
    g_back = nullptr;
}
}  // namespace

GALLERY_PAGE(scrollbar, L"scrollbar", 660, 350, build, paint, teardown);
