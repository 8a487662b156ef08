#include "sbhost.h"
#include "testutil.h"
#include "qModule.h"

std::vector<Note> ScrollHost::notes;

COLORREF hostPattern(int x, int y) { return ((x / 3 + y / 5) % 2) ? RGB(200, 60, 20) : RGB(30, 90, 210); }

namespace {
void paintPattern(HWND hwnd, HDC dc) {
    RECT r;
    GetClientRect(hwnd, &r);
    RECT clip;
    if (GetClipBox(dc, &clip) != NULLREGION) IntersectRect(&r, &r, &clip);
    // Runs of one colour along each row keep this quick enough for every capture.
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right;) {
            const COLORREF c = hostPattern(x, y);
            int end = x + 1;
            while (end < r.right && hostPattern(end, y) == c) ++end;
            RECT run = {x, y, end, y + 1};
            SetBkColor(dc, c);
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &run, nullptr, 0, nullptr);
            x = end;
        }
    }
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_HSCROLL:
    case WM_VSCROLL: ScrollHost::notes.push_back({msg, LOWORD(wp), HIWORD(wp), (HWND)lp, GetTickCount()}); return 0;
    case WM_ERASEBKGND: paintPattern(hwnd, (HDC)wp); return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

void dispatchAll() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void sendMouse(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.dx = dx, in.mi.dy = dy;
    in.mi.mouseData = data;
    SendInput(1, &in, sizeof(INPUT));
}
}  // namespace

bool pumpUntil(DWORD ms, const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    for (;;) {
        dispatchAll();
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Absolute moves map 0..65535 onto the screen; rounding up lands on the pixel itself.
void pointerTo(HWND window, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (LONG)(((LONGLONG)p.x * 65536 + w - 1) / w),
              (LONG)(((LONGLONG)p.y * 65536 + h - 1) / h));
    pumpUntil(2000, [&] {
        POINT now;
        GetCursorPos(&now);
        return now.x == p.x && now.y == p.y;
    });
    pump(20);
}

void buttonDown() {
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    pump(20);
}

void buttonUp() {
    sendMouse(MOUSEEVENTF_LEFTUP);
    pump(20);
}

void wheel(int delta) {
    sendMouse(MOUSEEVENTF_WHEEL, 0, 0, (DWORD)delta);
    pump(30);
}

void key(HWND target, UINT vk) {
    LPARAM lp = 1 | (MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16);
    if (vk >= VK_PRIOR && vk <= VK_DOWN) lp |= 1 << 24;
    PostMessageW(target, WM_KEYDOWN, vk, lp);
    PostMessageW(target, WM_KEYUP, vk, lp | (LPARAM)3 << 30);
    dispatchAll();
}

COLORREF screenPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

// Drawn by the library over black and over white: where both agree the pixel is opaque.
SkinImage loadSkinImage(const wchar_t* file, const wchar_t* alphaFile) {
    SkinImage out;
    IGDIPlusDrawAlphaBitmap* image = gfnNewIGDIPlusDrawAlphaBitmap();
    if (!image) return out;
    const std::wstring dir = std::wstring(gfnGetProgramBitmapPath()) + L"qDVDUser\\ScrollBarEx\\";
    if (image->fnLoadFromFile(dir.c_str(), file, alphaFile, 0, 0, 0, 0)) {
        const CSize size = image->fnGetSize();
        testutil::Canvas black(size.cx, size.cy, RGB(0, 0, 0)), white(size.cx, size.cy, RGB(255, 255, 255));
        image->fnDraw(black.dc(), 0, 0, 0, 0, 0, 0);
        image->fnDraw(white.dc(), 0, 0, 0, 0, 0, 0);
        out.w = size.cx, out.h = size.cy;
        for (int y = 0; y < out.h; ++y)
            for (int x = 0; x < out.w; ++x) {
                const COLORREF b = black.at(x, y), w = white.at(x, y);
                const DWORD rgb = (DWORD)GetRValue(b) << 16 | (DWORD)GetGValue(b) << 8 | GetBValue(b);
                out.px.push_back(b == w ? 0xFF000000 | rgb : rgb);
            }
    }
    image->Release();
    return out;
}

ScrollHost::ScrollHost() {
    static HWND parent = nullptr;
    if (!parent || !IsWindow(parent)) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"ScrollBarTestHost";
        RegisterClassW(&wc);
        parent = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"host", WS_POPUP | WS_CLIPCHILDREN, 40, 40, 700,
                                 400, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(parent, SW_SHOWNOACTIVATE);
    }
    m_parent = parent;
    RedrawWindow(m_parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pump(30);
    notes.clear();
}

ScrollHost::~ScrollHost() {
    for (ScrollProbe* bar : m_bars) delete bar;
    pump(10);
}

ScrollProbe& ScrollHost::create(bool vertical, RECT rect, int nMin, int nMax, int nPos, int nLine, int nPage) {
    ScrollProbe* bar = new ScrollProbe;
    m_bars.push_back(bar);
    bar->fnCreate(vertical ? 1 : 0, rect, CWnd::FromHandle(m_parent), 100 + (UINT)m_bars.size());
    bar->fnSetScrollInfo(nMin, nMax, nPos, nLine, nPage, TRUE);
    pump(30);
    notes.clear();
    return *bar;
}

std::vector<UINT> ScrollHost::codes() const {
    std::vector<UINT> out;
    for (const Note& n : notes) out.push_back(n.code);
    return out;
}
