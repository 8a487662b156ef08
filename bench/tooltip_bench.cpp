// Showing the shaped tooltip's balloon: placing and sizing it for its text, shaping its region
// and its first paint, against a plain repaint of the same size. The system tooltip shows it
// once after a real hover; each step then runs the same work on the shown balloon: a position
// change (the tooltip places and sizes itself and rebuilds its region) and a whole repaint.
#include "paintbench.h"
#include "qToolTipDVDUser.h"

namespace {
HWND g_tool = nullptr;

LRESULT CALLBACK toolProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEMOVE) {
        MSG m = {hwnd, msg, wp, lp, (DWORD)GetMessageTime(), {}};
        GetCursorPos(&m.pt);
        HWND tip = (HWND)GetPropW(hwnd, L"QBenchTip");
        if (tip) gfnToolTipRelayEvent(tip, &m);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

BENCH(tooltip_balloon_show) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = toolProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    wc.lpszClassName = L"QBenchTipTool";
    RegisterClassW(&wc);
    g_tool = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 700, 20, 160, 60,
                             paintbench::parent(), nullptr, wc.hInstance, nullptr);
    CqToolTipDVDUser tip;
    wchar_t text[] = L"Trim the start\nof the clip";
    if (!tip.fnCreate(CWnd::FromHandle(paintbench::parent())) || !tip.fnAddTool(g_tool, 0, text)) {
        std::printf("  tooltip could not be made\n");
        return;
    }
    tip.fnGetLooksData()->bRoundShape = 1;
    tip.SetDelayTime(TTDT_INITIAL, 10);
    tip.SetDelayTime(TTDT_AUTOPOP, 60000);
    SetPropW(g_tool, L"QBenchTip", tip.m_hWnd);
    RECT r;
    GetWindowRect(g_tool, &r);
    bool shown = false;
    for (int nudge = 0; nudge < 20 && !shown; ++nudge) {
        SetCursorPos(r.left + 20 + nudge, r.top + 20);
        shown = paintbench::pumpUntil([&] { return tip.IsWindowVisible() != FALSE; }, 500);
    }
    if (shown) {
        RECT tr;
        tip.GetWindowRect(&tr);
        const int w = tr.right - tr.left, h = tr.bottom - tr.top;
        auto show = [&] {
            SetWindowPos(tip.m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            RedrawWindow(tip.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        };
        char what[96];
        std::snprintf(what, sizeof what, "tooltip balloon placed, shaped and painted, %d x %d", w, h);
        paintbench::versusPlainRepaint(what, w, h, show, 3.0);
    } else {
        std::printf("  tooltip did not show (no pointer?)\n");
    }
    RemovePropW(g_tool, L"QBenchTip");
    tip.DestroyWindow();
    DestroyWindow(g_tool);
    paintbench::pump();
}
