#include "buttontest.h"

namespace buttontest {

BEGIN_MESSAGE_MAP(RecordingParent, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

RecordingParent& RecordingParent::get() {
    static RecordingParent* parent = nullptr;
    if (!parent || !parent->IsWindow()) {
        parent = new RecordingParent;
        LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
        parent->CreateEx(WS_EX_TOPMOST, cls, L"button tests", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, kLeft,
                         kTop, kWidth, kHeight, nullptr, nullptr);
        ::SetForegroundWindow(parent->m_hWnd);
    }
    parent->commands.clear();
    return *parent;
}

COLORREF RecordingParent::pattern(int x, int y) {
    return ((x / 6 + y / 4) & 1) ? RGB(200, 40, 90) : RGB(30, 160, 230);
}

BOOL RecordingParent::OnCommand(WPARAM wParam, LPARAM lParam) {
    commands.push_back({LOWORD(wParam), HIWORD(wParam), (HWND)lParam});
    return CWnd::OnCommand(wParam, lParam);
}

BOOL RecordingParent::OnEraseBkgnd(CDC* pDC) {
    RECT clip;
    pDC->GetClipBox(&clip);
    // Whole stripes cell by cell: cheap enough and exact at every pixel.
    for (int y = clip.top - clip.top % 4; y < clip.bottom; y += 4)
        for (int x = clip.left - clip.left % 6; x < clip.right; x += 6)
            pDC->FillSolidRect(x, y, 6, 4, pattern(x, y));
    return TRUE;
}

void RecordingParent::OnPaint() {
    PAINTSTRUCT ps;
    BeginPaint(&ps);
    EndPaint(&ps);
}

void pumpOnce() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (AfxPreTranslateMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool waitFor(const std::function<bool()>& done, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        pumpOnce();
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void pumpFor(DWORD ms) {
    waitFor([] { return false; }, ms);
}

namespace {
void sendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.dx = dx;
    in.mi.dy = dy;
    SendInput(1, &in, sizeof(INPUT));
}
}  // namespace

void moveTo(HWND window, int x, int y) {
    POINT p = {x, y};
    if (window) ClientToScreen(window, &p);
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    // Absolute input is in 1/65536 of the screen; round up so the pixel is not one short.
    sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (p.x * 65536 + cx - 1) / cx, (p.y * 65536 + cy - 1) / cy);
    pumpOnce();
}

void moveAway() { moveTo(nullptr, 20, 20); }
void leftDown() { sendMouse(MOUSEEVENTF_LEFTDOWN); }
void leftUp() { sendMouse(MOUSEEVENTF_LEFTUP); }

POINT cursorIn(HWND window) {
    POINT p = {};
    GetCursorPos(&p);
    ScreenToClient(window, &p);
    return p;
}

COLORREF screenPixel(HWND window, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

}  // namespace buttontest
