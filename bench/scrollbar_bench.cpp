// The scroll bar's thumb drag: one step (position, repaint through the cached compositions, the
// parent's notification) on a 600-pixel bar, against one BitBlt of the bar's area.
#include "bench.h"
#include "qScrollBarEx.h"
#include <windows.h>

namespace {
// Opens the drag step: the pointer stays put and the anchor is set one pixel to either side of
// it, so every step moves the thumb by one pixel, back and forth.
class DragBar : public CqScrollBarEx {
public:
    void step(POINT pointer, int side) {
        m_ptAnchor = CPoint(pointer.x - side, pointer.y);
        fnDoScroll(4);
    }
    int thumbLeft() const { return m_rcThumb.left; }
};
}  // namespace

BENCH(scrollbar_thumb_drag) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ScrollBenchHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 60, nullptr,
                                nullptr, wc.hInstance, nullptr);
    DragBar bar;
    RECT rc = {20, 20, 620, 36};
    if (!host || !bar.fnCreate(0, rc, CWnd::FromHandle(host), 1)) {
        benchReport("scroll bar could not be created", 0, "");
        return;
    }
    bar.fnSetScrollInfo(0, 299999, 150000, 1, 1000, TRUE);
    POINT pointer = {300, 8};
    POINT screen = pointer;
    ClientToScreen(bar.m_hWnd, &screen);
    SetCursorPos(screen.x, screen.y);
    int side = 1;
    const int before = bar.thumbLeft();
    double tStep = benchTime([&] {
        bar.step(pointer, side);
        side = -side;
    });
    const bool moved = bar.thumbLeft() == before || bar.thumbLeft() == before + 1;

    // The platform's floor: a repaint of a child window that paints nothing.
    HWND empty = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 40, 600, 16, host, nullptr,
                                 wc.hInstance, nullptr);
    double tFloor = benchTime([&] {
        InvalidateRect(empty, nullptr, TRUE);
        UpdateWindow(empty);
    });
    DestroyWindow(empty);

    HDC wdc = GetDC(bar.m_hWnd);
    HDC mem = CreateCompatibleDC(wdc);
    HBITMAP bmp = CreateCompatibleBitmap(wdc, 600, 16);
    HGDIOBJ old = SelectObject(mem, bmp);
    double tBlt = benchTime([&] {
        BitBlt(wdc, 0, 0, 600, 16, mem, 0, 0, SRCCOPY);
        GdiFlush();
    });
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(bar.m_hWnd, wdc);

    benchReport(moved ? "thumb drag step, 600x16 bar (repaint + notification)" : "thumb drag step (thumb did not move!)",
                tStep * 1e6, "us");
    benchReport("one BitBlt of 600x16 to the bar's window", tBlt * 1e6, "us");
    benchReport("  drag step relative to one BitBlt", tStep / tBlt, "x");
    benchReport("invalidate + UpdateWindow of an empty 600x16 child", tFloor * 1e6, "us");
    benchReport("  drag step relative to that repaint", tStep / tFloor, "x");
    bar.DestroyWindow();
    DestroyWindow(host);
}
