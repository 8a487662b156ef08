// The bitmap button: a hover-in or hover-out repaint of a 120 x 32 captioned nine-cell button
// (parent background, alpha face, caption, blit through the shared bitmap) against a plain
// repaint of its size.
#include "paintbench.h"
#include "qButtonEx.h"

BENCH(button_hover) {
    CqButtonEx button;
    if (!button.Create(L"Set Out", WS_CHILD | WS_VISIBLE | BS_CENTER, CRect(20, 160, 140, 192),
                       CWnd::FromHandle(paintbench::parent()), 503)) {
        std::printf("  button could not be made\n");
        return;
    }
    UpdateWindow(button.m_hWnd);
    int hover = 0;
    auto flyBy = [&] {
        hover = !hover;
        button.fnMouseFlyBy(hover, 1);
    };
    paintbench::versusPlainRepaint("button hover in/out repaint, 120 x 32 nine-cell", 120, 32, flyBy, 1.5);

    // One full paint of the button against one BitBlt of its size into its own window DC.
    HDC dc = GetDC(button.m_hWnd), mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 120, 32), old = (HBITMAP)SelectObject(mem, bmp);
    const BenchPair pair = benchPair(
        [&] {
            button.Invalidate(FALSE);
            UpdateWindow(button.m_hWnd);
        },
        [&] { BitBlt(dc, 0, 0, 120, 32, mem, 0, 0, SRCCOPY); });
    std::printf("  %-58s %8.1f x one BitBlt (%.0f us against %.2f us)\n", "button full paint, 120 x 32 nine-cell",
                pair.ratio(), pair.subject * 1e6, pair.yardstick * 1e6);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(button.m_hWnd, dc);
    button.DestroyWindow();
    paintbench::pump();
}
