#include "sbhost.h"
#include "qModule.h"
#include <algorithm>

std::vector<Note> ScrollHost::notes;

namespace {
LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_HSCROLL:
    case WM_VSCROLL: ScrollHost::notes.push_back({msg, LOWORD(wp), HIWORD(wp), (HWND)lp, GetTickCount()}); return 0;
    case WM_ERASEBKGND: {   // cell by cell over the clip box, in logical coordinates
        const HDC dc = (HDC)wp;
        RECT c;
        GetClipBox(dc, &c);
        for (int y = std::max(0L, c.top) / 5 * 5; y < c.bottom; y += 5)
            for (int x = std::max(0L, c.left) / 3 * 3; x < c.right; x += 3) {
                const RECT cell = {x, y, x + 3, y + 5};
                SetBkColor(dc, hostPattern(x, y));
                ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
            }
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

}  // namespace

void key(HWND target, UINT vk) {
    LPARAM lp = 1 | (MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16);
    if (vk >= VK_PRIOR && vk <= VK_DOWN) lp |= 1 << 24;
    PostMessageW(target, WM_KEYDOWN, vk, lp);
    PostMessageW(target, WM_KEYUP, vk, lp | (LPARAM)3 << 30);
    pump(0);
}

// Drawn by the library over black and over white: where both agree the pixel is opaque.
SkinImage loadSkinImage(const wchar_t* file, const wchar_t* alphaFile) {
    SkinImage out;
    IGDIPlusDrawAlphaBitmap* image = gfnNewIGDIPlusDrawAlphaBitmap();
    if (!image) return out;
    const std::wstring dir = std::wstring(gfnGetProgramBitmapPath()) + L"qDVDUser\\ScrollBarEx\\";
    if (image->fnLoadFromFile(dir.c_str(), file, alphaFile, 0, 0, 0, 0)) {
        const CSize size = image->fnGetSize();
        testutil::Canvas black(size.cx, size.cy, RGB(0, 0, 0)), white(size.cx, size.cy, RGB(255, 255, 255));
        image->fnDraw(black.dc(), 0, 0, 0, 0, 0, 0);
        image->fnDraw(white.dc(), 0, 0, 0, 0, 0, 0);
        out.w = size.cx, out.h = size.cy;
        for (int y = 0; y < out.h; ++y)
            for (int x = 0; x < out.w; ++x) {
                const COLORREF b = black.at(x, y), w = white.at(x, y);
                const DWORD rgb = (DWORD)GetRValue(b) << 16 | (DWORD)GetGValue(b) << 8 | GetBValue(b);
                out.px.push_back(b == w ? 0xFF000000 | rgb : rgb);
            }
    }
    image->Release();
    return out;
}

ScrollHost::ScrollHost() {
    static HWND parent = nullptr;
    if (!parent || !IsWindow(parent)) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"ScrollBarTestHost";
        RegisterClassW(&wc);
        parent = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"host", WS_POPUP | WS_CLIPCHILDREN, 40, 40, 700,
                                 400, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(parent, SW_SHOWNOACTIVATE);
    }
    m_parent = parent;
    RedrawWindow(m_parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pump(30);
    notes.clear();
}

ScrollHost::~ScrollHost() {
    for (ScrollProbe* bar : m_bars) delete bar;
}

ScrollProbe& ScrollHost::create(bool vertical, RECT rect, int nMin, int nMax, int nPos, int nLine, int nPage) {
    ScrollProbe* bar = new ScrollProbe;
    m_bars.push_back(bar);
    bar->fnCreate(vertical ? 1 : 0, rect, CWnd::FromHandle(m_parent), 100 + (UINT)m_bars.size());
    bar->fnSetScrollInfo(nMin, nMax, nPos, nLine, nPage, TRUE);
    pump(30);
    notes.clear();
    return *bar;
}

std::vector<UINT> ScrollHost::codes() const {
    std::vector<UINT> out;
    for (const Note& n : notes) out.push_back(n.code);
    return out;
}
