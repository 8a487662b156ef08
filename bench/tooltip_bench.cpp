// Showing the shaped tooltip's balloon against a plain repaint of its size. The system tooltip
// shows it once after a real hover; then each step is one show again, as a pop and a hover leave it:
// the class regions released (as the pop does), the tool's text changed, the sizing and shaping
// messages the window system sends a window it shows (the tip places and sizes itself for the text,
// asking for the cursor, and cuts its region) and the first paint (invalidate, erase, UpdateWindow).
// The goal counts the tooltip's own work: the window system's moving and mapping of the window,
// which every shown window pays, a plain system tooltip too, is left out of it; the same show
// through SetWindowPos is printed beside it, and a show whose new text changes the balloon's size
// (so its window region must be set again: a frame change in the window system).
#include "paintbench.h"
#include "qToolTipDVDUser.h"

namespace {
// Two texts of one size (the figures are equally wide), and one of another size.
const wchar_t* const kTexts[] = {L"Trim the start\nto 00:00:10;02", L"Trim the start\nto 00:00:13;28",
                                 L"Trim the end\nof the clip at its out point"};
const wchar_t* g_text = kTexts[0];   // the host's answer when the tip asks for the text

LRESULT CALLBACK toolProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY && ((NMHDR*)lp)->code == TTN_GETDISPINFOW)
        ((NMTTDISPINFOW*)lp)->lpszText = const_cast<wchar_t*>(g_text);
    if (msg == WM_MOUSEMOVE) {
        MSG m = {hwnd, msg, wp, lp, (DWORD)GetMessageTime(), {}};
        GetCursorPos(&m.pt);
        HWND tip = (HWND)GetPropW(hwnd, L"QBenchTip");
        if (tip) gfnToolTipRelayEvent(tip, &m);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

SIZE windowSize(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return {r.right - r.left, r.bottom - r.top};
}
}  // namespace

BENCH(tooltip_balloon_show) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = toolProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    wc.lpszClassName = L"QBenchTipTool";
    RegisterClassW(&wc);
    HWND tool = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 700, 20, 160, 60,
                                paintbench::parent(), nullptr, wc.hInstance, nullptr);
    CqToolTipDVDUser tip;
    // The tool's text is asked of the host (here the tool itself) at every show.
    if (!tip.fnCreate(CWnd::FromHandle(paintbench::parent())) || !tip.fnAddTool(tool, tool)) {
        std::printf("  tooltip could not be made\n");
        return;
    }
    tip.fnGetLooksData()->bRoundShape = 1;
    tip.SetDelayTime(TTDT_INITIAL, 10);
    tip.SetDelayTime(TTDT_AUTOPOP, 60000);
    SetPropW(tool, L"QBenchTip", tip.m_hWnd);
    RECT r;
    GetWindowRect(tool, &r);
    bool shown = false;
    for (int nudge = 0; nudge < 20 && !shown; ++nudge) {
        SetCursorPos(r.left + 20 + nudge, r.top + 20);
        shown = paintbench::pumpUntil([&] { return tip.IsWindowVisible() != FALSE; }, 500);
    }
    if (!shown) std::printf("  tooltip did not show (no pointer?)\n");
    const SIZE size = windowSize(tip);
    int turn = 0;
    auto popAndChangeText = [&](int a, int b) {
        CqToolTipDVDUser::g_RgnText.DeleteObject();
        CqToolTipDVDUser::g_RgnShadow.DeleteObject();
        g_text = kTexts[++turn % 2 ? b : a];
    };
    auto firstPaint = [&] {
        InvalidateRect(tip.m_hWnd, nullptr, TRUE);
        UpdateWindow(tip.m_hWnd);
    };
    SIZE placed[2] = {};   // the size the tip gave itself for each of the two texts
    auto show = [&] {
        popAndChangeText(0, 1);
        RECT now;
        tip.GetWindowRect(&now);
        WINDOWPOS pos = {tip.m_hWnd, nullptr, now.left, now.top, now.right - now.left, now.bottom - now.top,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW};
        tip.SendMessage(WM_WINDOWPOSCHANGING, 0, (LPARAM)&pos);
        placed[turn % 2] = {pos.cx, pos.cy};
        tip.SendMessage(WM_WINDOWPOSCHANGED, 0, (LPARAM)&pos);
        firstPaint();
    };
    auto throughWindowSystem = [&](int a, int b) {
        return [&, a, b] {
            popAndChangeText(a, b);
            SetWindowPos(tip.m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            firstPaint();
        };
    };
    if (shown) {
        char what[128];
        show();
        show();
        if (placed[0].cx != placed[1].cx || placed[0].cy != placed[1].cy || placed[0].cx != size.cx)
            std::printf("  the two texts differ in size\n");
        std::snprintf(what, sizeof what, "tooltip balloon shown, new text, %ld x %ld", size.cx, size.cy);
        paintbench::versusPlainRepaint(what, size.cx, size.cy, show, 3.0);
        paintbench::versusPlainRepaint("  (the same through SetWindowPos, no goal)", size.cx, size.cy,
                                       throughWindowSystem(0, 1), 0);
        paintbench::versusPlainRepaint("  (SetWindowPos, text of another size each time)", size.cx, size.cy,
                                       throughWindowSystem(0, 2), 0);
    }
    RemovePropW(tool, L"QBenchTip");
    tip.DestroyWindow();
    DestroyWindow(tool);
    paintbench::pump();
}
