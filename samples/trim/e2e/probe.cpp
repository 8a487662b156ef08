#include "probe.h"

int liveGdiObjects() {
    GdiFlush();
    int n = 0;
    for (ULONG_PTR i = 0; i < 0x10000; ++i) n += GetObjectType((HGDIOBJ)i) != 0;
    return n;
}

namespace {
BOOL CALLBACK countChild(HWND, LPARAM n) {
    ++*(int*)n;
    return TRUE;
}
BOOL CALLBACK countTop(HWND hwnd, LPARAM n) {
    ++*(int*)n;
    EnumChildWindows(hwnd, countChild, n);
    return TRUE;
}
}  // namespace

int threadWindows() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), countTop, (LPARAM)&n);
    return n;
}
