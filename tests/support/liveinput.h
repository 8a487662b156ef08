// Controls on live windows: real pointer input through SendInput, a message pump that waits for a
// condition, and a window's client area read back as shown.
#pragma once
#include "testutil.h"
#include <functional>

namespace testutil {

// Offered every message before it is dispatched (a host loop's pre-translation); true eats it.
inline std::function<bool(MSG*)> preTranslate;

// Runs this thread's messages until done() or ms milliseconds; the result of done() at the end.
inline bool pumpUntil(DWORD ms, const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (preTranslate && preTranslate(&msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}
inline void pump(DWORD ms) { pumpUntil(ms, [] { return false; }); }

// A button or wheel event (MOUSEEVENTF_*), then 30 ms of messages.
inline void sendMouse(DWORD flags, DWORD data = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    SendInput(1, &in, sizeof(INPUT));
    pump(30);
}
inline void buttonDown() { sendMouse(MOUSEEVENTF_LEFTDOWN); }
inline void buttonUp() { sendMouse(MOUSEEVENTF_LEFTUP); }
inline void wheel(int delta) { sendMouse(MOUSEEVENTF_WHEEL, (DWORD)delta); }

// Moves the pointer to a client point of a window (a screen point for null) and waits until the
// move is handled. Absolute moves map 0..65535 onto the screen; rounding up lands on the pixel.
inline void pointerTo(HWND window, int x, int y) {
    POINT p = {x, y};
    if (window) ClientToScreen(window, &p);
    const LONGLONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = (LONG)((p.x * 65536 + w - 1) / w), in.mi.dy = (LONG)((p.y * 65536 + h - 1) / h);
    SendInput(1, &in, sizeof(INPUT));
    pumpUntil(2000, [&] {
        POINT now;
        GetCursorPos(&now);
        return now.x == p.x && now.y == p.y;
    });
    pump(20);
}
inline void clickAt(HWND window, int x, int y) { pointerTo(window, x, y), buttonDown(), buttonUp(); }

// A window's client area as shown, read through its own DC (Wine may put off flushing the desktop's).
class ClientShot : public Canvas {
public:
    explicit ClientShot(HWND window) : Canvas(clientSize(window).x, clientSize(window).y) {
        HDC dc = GetDC(window);
        BitBlt(this->dc(), 0, 0, width(), height(), dc, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
    }

private:
    static POINT clientSize(HWND window) {
        RECT r = {};
        GetClientRect(window, &r);
        return {r.right > 0 ? r.right : 1, r.bottom > 0 ? r.bottom : 1};
    }
};

// Like pixelsAre, allowing each channel to differ by up to tolerance.
template <class Img, class F>
testing::AssertionResult pixelsNear(const Img& img, F&& want, int tolerance) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const COLORREF a = img.at(x, y), b = (COLORREF)want(x, y);
            for (int shift : {0, 8, 16})
                if (abs((int)(a >> shift & 0xFF) - (int)(b >> shift & 0xFF)) > tolerance)
                    return testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex << a
                                                       << ", not " << b;
        }
    return testing::AssertionSuccess();
}

}  // namespace testutil
