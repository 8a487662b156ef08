// The shared parent of the paint benchmarks and the plain-repaint yardstick.
#include "paintbench.h"

namespace paintbench {
namespace {

LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

HBRUSH plainBrush() {
    static HBRUSH brush = CreateSolidBrush(RGB(40, 90, 200));
    return brush;
}

// The yardstick's class: default window procedure, so a paint is BeginPaint's erase with the
// class brush and EndPaint.
const wchar_t* plainClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = plainBrush();
        wc.lpszClassName = L"QBenchPlainRepaint";
        RegisterClassW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

}  // namespace

HWND parent() {
    static HWND window = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = parentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
        wc.lpszClassName = L"QBenchPaintParent";
        RegisterClassW(&wc);
        RECT r = {0, 0, kWidth, kHeight};
        HWND w = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"bench", WS_POPUP | WS_CLIPCHILDREN, 20, 20,
                                 r.right, r.bottom, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(w, SW_SHOWNOACTIVATE);
        UpdateWindow(w);
        return w;
    }();
    return window;
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool pumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        pump();
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

double versusPlainRepaint(const char* what, int w, int h, const std::function<void()>& step, double goal,
                          const std::function<void()>& input) {
    // Along the parent's bottom edge, clear of the controls under test.
    HWND plain = CreateWindowExW(0, plainClass(), L"", WS_CHILD | WS_VISIBLE, 0, kHeight - h, w, h, parent(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(plain);
    pump();
    BenchPair t = benchPair(
        [&] {
            if (input) input();
            step();
        },
        [&] {
            if (input) input();
            InvalidateRect(plain, nullptr, TRUE);
            UpdateWindow(plain);
        });
    DestroyWindow(plain);
    pump();
    char label[160];
    std::snprintf(label, sizeof label, "%s (plain repaint %.0f us)", what, t.yardstick * 1e6);
    if (goal > 0) benchGoal(label, t.ratio(), "x a plain repaint", true, goal);
    else benchReport(label, t.ratio(), "x a plain repaint");
    return t.ratio();
}

}  // namespace paintbench
