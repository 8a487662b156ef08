// The bitmap button: one full paint of a 120 x 32 captioned nine-cell button (parent background,
// face, caption, blit through the shared bitmap), against one BitBlt of the same size.
#include "bench.h"
#include "qButtonEx.h"
#include "qCutCFFont.h"

namespace {
class Parent : public CWnd {
protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        RECT rc;
        GetClientRect(&rc);
        pDC->FillSolidRect(&rc, RGB(180, 200, 150));
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Parent, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()
}  // namespace

BENCH(button_paint) {
    Parent parent;
    parent.CreateEx(WS_EX_TOPMOST, nullptr, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 200, 80, nullptr, nullptr);
    CqButtonEx button;
    if (!button.Create(L"Set Out", WS_CHILD | WS_VISIBLE | BS_CENTER, CRect(20, 20, 140, 52), &parent, 1)) {
        std::printf("  button_paint: no button\n");
        return;
    }
    HWND hwnd = button.m_hWnd;
    auto repaint = [&] { RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); };
    const double paint = benchTime(repaint);
    // With another holder alive (as in a dialog with more controls) the font outlives each paint.
    double held = 0;
    {
        CCutCFFont holder;
        holder.fnGetDefaultFont();
        held = benchTime(repaint);
    }
    HDC dc = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 120, 32);
    HGDIOBJ old = SelectObject(mem, bmp);
    const double blit = benchTime([&] {
        BitBlt(dc, 0, 0, 120, 32, mem, 0, 0, SRCCOPY);
        GdiFlush();
    });
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(hwnd, dc);
    benchReport("button: full paint of 120 x 32 nine-cell, microseconds", paint * 1e6, "us");
    benchReport("button: one BitBlt of 120 x 32, microseconds", blit * 1e6, "us");
    benchReport("button: paint / BitBlt", paint / blit, "x");
    benchReport("button: full paint, default font held elsewhere, microseconds", held * 1e6, "us");
    button.DestroyWindow();
    parent.DestroyWindow();
}
