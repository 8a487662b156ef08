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
    button.DestroyWindow();
    paintbench::pump();
}
