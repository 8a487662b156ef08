// Helpers of the framework tests: running the queue and a plain (non-framework) window class.
#pragma once
#include <afxwin.h>
#include <ostream>

// Readable failure messages for the geometry types.
inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const CSize& s, std::ostream* os) { *os << "[" << s.cx << " x " << s.cy << "]"; }
inline void PrintTo(const CRect& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace fwtest {

// Dispatches everything queued for this thread.
inline void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps until the condition holds or about two seconds passed.
template <class Pred>
bool pumpUntil(Pred done) {
    for (int i = 0; i < 200 && !done(); ++i) {
        pump();
        Sleep(10);
    }
    return done();
}

// A window procedure outside the framework: counts WM_APP + 1 and answers it with 77.
inline int& plainHits() {
    static int hits = 0;
    return hits;
}
inline LRESULT CALLBACK plainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP + 1) {
        ++plainHits();
        return 77;
    }
    return DefWindowProcW(h, msg, wp, lp);
}
inline HWND createPlain(HWND parent = nullptr, DWORD style = WS_POPUP) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = plainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FwTestPlain";
    AfxRegisterClass(&wc);
    return CreateWindowExW(0, L"FwTestPlain", L"plain", style, 0, 0, 100, 80, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace fwtest
