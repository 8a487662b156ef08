// Real input for the test binaries: mouse and keyboard events as a person gives them, and waits
// that tolerate a loaded machine.
#pragma once
#include <windows.h>
#include <functional>
#include <vector>

namespace testutil {

// Pumps this thread's messages until pred() holds (true) or ms passed (false).
inline bool pumpUntil(const std::function<bool()>& pred, DWORD ms = 15000) {
    MSG msg;
    for (DWORD start = GetTickCount();; MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT)) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) TranslateMessage(&msg), DispatchMessageW(&msg);
        if (pred()) return true;
        if (GetTickCount() - start > ms) return false;
    }
}
// The same without pumping, for a thread that drives another.
inline bool waitUntil(const std::function<bool()>& pred, DWORD ms = 15000) {
    for (DWORD start = GetTickCount(); !pred(); Sleep(5))
        if (GetTickCount() - start > ms) return false;
    return true;
}

// A mouse event; with a screen point it also moves there.
inline INPUT mouseInput(DWORD flags, const POINT* screen = nullptr) {
    INPUT in = {INPUT_MOUSE};
    in.mi.dwFlags = flags;
    if (screen) {
        int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        in.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        in.mi.dx = (LONG)((screen->x * 65536LL + w - 1) / w);   // normalised so that it maps back onto this pixel
        in.mi.dy = (LONG)((screen->y * 65536LL + h - 1) / h);
    }
    return in;
}
inline INPUT keyInput(WORD vk, bool up = false) {
    INPUT in = {INPUT_KEYBOARD};
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}
// The events of one call arrive as one batch; false when the system took fewer.
inline bool send(std::vector<INPUT> batch) {
    return SendInput((UINT)batch.size(), batch.data(), sizeof(INPUT)) == batch.size();
}

}  // namespace testutil
