#include "buttontest.h"

namespace buttontest {

BEGIN_MESSAGE_MAP(RecordingParent, CWnd)
    ON_WM_ERASEBKGND()
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

// Read through the window's own DC: the desktop DC shows the window's surface only after Wine's
// driver has flushed it, which it may put off for a while.
COLORREF screenPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

}  // namespace buttontest

namespace buttontest {

const COLORREF kCellColours[4] = {RGB(200, 30, 60), RGB(40, 170, 20), RGB(90, 100, 150), RGB(250, 200, 10)};

COLORREF cellPixel(int state, int x, int y, COLORREF background) {
    if (x < 2 || x >= 18 || y < 2 || y >= 11) return background;
    if (x == 4 && y == 3) return RGB(0, 0, 0);
    const COLORREF c = kCellColours[state];
    if (x != 15) return c;
    auto half = [](int f, int b) { return (f * 128 + b * 127 + 127) / 255; };
    return RGB(half(GetRValue(c), GetRValue(background)), half(GetGValue(c), GetGValue(background)),
               half(GetBValue(c), GetBValue(background)));
}

bool ButtonProbe::make(const wchar_t* caption, const RECT& r, DWORD style, UINT id) {
    RecordingParent& parent = RecordingParent::get();
    return Create(caption, WS_CHILD | WS_VISIBLE | style, r, &parent, id) != FALSE;
}

int ButtonProbe::fnDrawButton(HDC hdc) {
    ++paints;
    return CqButtonEx::fnDrawButton(hdc);
}

namespace {
CSize clientSize(HWND window) {
    RECT rc = {};
    GetClientRect(window, &rc);
    return CSize(rc.right, rc.bottom);
}
}  // namespace

ScreenShot::ScreenShot(HWND window) : m_canvas(clientSize(window).cx, clientSize(window).cy) {
    HDC dc = GetDC(window);
    BitBlt(m_canvas.dc(), 0, 0, width(), height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
}

bool ScreenShot::close(COLORREF a, COLORREF b, int t) {
    return abs(GetRValue(a) - GetRValue(b)) <= t && abs(GetGValue(a) - GetGValue(b)) <= t &&
           abs(GetBValue(a) - GetBValue(b)) <= t;
}

std::string ScreenShot::describe(int x, int y, COLORREF want) const {
    char buf[96];
    snprintf(buf, sizeof buf, "first at %d,%d: %06lx, not %06lx", x, y, (unsigned long)at(x, y),
             (unsigned long)want);
    return buf;
}

COLORREF parentUnder(HWND child, int x, int y) {
    POINT p = {x, y};
    MapWindowPoints(child, GetParent(child), &p, 1);
    return RecordingParent::pattern(p.x, p.y);
}

}  // namespace buttontest
