// A thumb drag on a 600-pixel scroll bar, step by step as the pointer moves, against a plain
// repaint of the bar.
#include "paintbench.h"
#include "qScrollBarEx.h"

BENCH(scrollbar_thumb_drag) {
    const int w = 600, h = 16;
    CqScrollBarEx bar;
    if (!bar.fnCreate(0, RECT{20, 120, 20 + w, 120 + h}, CWnd::FromHandle(paintbench::parent()), 502)) {
        std::printf("  scroll bar could not be made\n");
        return;
    }
    bar.fnSetScrollInfo(0, 299999, 0, 1, 1000, TRUE);
    paintbench::pump();
    // Press on the thumb (18 pixels in, past the first arrow), then move the pointer along the
    // shaft and back: every step moves the thumb by a few pixels.
    POINT at = {26, 8};
    ClientToScreen(bar.m_hWnd, &at);
    SetCursorPos(at.x, at.y);
    SendMessageW(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(26, 8));
    int x = 26, dx = 3;
    auto step = [&] {
        if (x + dx > 560 || x + dx < 26) dx = -dx;
        x += dx;
        SendMessageW(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 8));
        UpdateWindow(bar.m_hWnd);
    };
    paintbench::versusPlainRepaint("scroll bar thumb-drag step, 600 x 16", w, h, step, 1.5);
    SendMessageW(bar.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, 8));
    bar.DestroyWindow();
    paintbench::pump();
}
