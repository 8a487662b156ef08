// Playback through the timecode control: one fnSetIndex per frame at 29.97 drop-frame, each
// followed by UpdateWindow, against a plain repaint of the control's size.
#include "paintbench.h"
#include "qTimeCode.h"

BENCH(timecode_playback) {
    CTimeCodeCtrl control;
    HWND hwnd = CreateWindowExW(0, L"TimeCodeControl", L"", WS_CHILD | WS_VISIBLE, 10, 10, 40, 10,
                                paintbench::parent(), (HMENU)(INT_PTR)501, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd || !control.SubclassWindow(hwnd) || !control.fnInit(1, 1, 0)) {
        std::printf("  timecode control could not be made\n");
        return;
    }
    const double rate = 29.97;
    control.fnSetFrameRate(rate);
    control.fnSetIndex(0, rate, 1);
    UpdateWindow(hwnd);
    RECT r;
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    // 24 hours of drop-frame numbering, then round again: every step is one frame on.
    const int dayOfFrames = 2589408;
    int index = 0;
    auto frame = [&] {
        index = (index + 1) % dayOfFrames;
        control.fnSetIndex(index, rate, 1);
        UpdateWindow(hwnd);
    };
    char what[96];
    std::snprintf(what, sizeof what, "timecode playback frame, %d x %d", w, h);
    paintbench::versusPlainRepaint(what, w, h, frame, 1.2);
    std::snprintf(what, sizeof what, "timecode full repaint, %d x %d", w, h);
    paintbench::versusPlainRepaint(what, w, h, [&] {
        InvalidateRect(hwnd, nullptr, TRUE);
        UpdateWindow(hwnd);
    }, 0);
    control.DestroyWindow();
}
