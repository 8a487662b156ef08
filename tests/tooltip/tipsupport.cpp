#include "tipsupport.h"
#include "qToolTipDVDUser.h"
#include "qCutCFFont.h"
#include "testutil.h"
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace tiptest {
namespace {
std::wstring g_text = L"";
UINT g_lastKey = 0;

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY: {
        auto* info = (NMTTDISPINFOW*)lp;
        if (info->hdr.code == TTN_GETDISPINFOW) info->lpszText = const_cast<wchar_t*>(g_text.c_str());
        return 0;
    }
    case WM_KEYDOWN:
        g_lastKey = (UINT)wp;
        return 0;
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd, &rc);
        HBRUSH b = CreateSolidBrush(GetParent(hwnd) ? kToolColour : kHostColour);
        FillRect((HDC)wp, &rc, b);
        DeleteObject(b);
        return 1;
    }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

struct Windows {
    HWND host = nullptr, tool = nullptr;
    Windows() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"TipTestHost";
        RegisterClassW(&wc);
        const RECT& h = kHostRect;
        host = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_CLIPCHILDREN, h.left, h.top,
                               h.right - h.left, h.bottom - h.top, nullptr, nullptr, wc.hInstance, nullptr);
        const RECT& t = kToolRect;
        tool = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, t.left, t.top, t.right - t.left,
                               t.bottom - t.top, host, (HMENU)7, wc.hInstance, nullptr);
        ShowWindow(host, SW_SHOWNOACTIVATE);
        UpdateWindow(host);
    }
};
Windows& windows() {
    static Windows w;
    return w;
}
}  // namespace

HWND host() { return windows().host; }
HWND tool() { return windows().tool; }
void setCallbackText(const wchar_t* text) { g_text = text; }
UINT lastKeyDown() { return g_lastKey; }

POINT toolCentre() {
    RECT r;
    GetWindowRect(tool(), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool moveMouse(int x, int y, HWND relayTo) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65536 + w - 1) / w;   // rounded up: the server scales back down
    in.mi.dy = (y * 65536 + h - 1) / h;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
    // The pointer arrives through the X server: wait for it.
    bool there = pumpUntil(relayTo, 3000, [&] {
        POINT p;
        GetCursorPos(&p);
        return p.x == x && p.y == y;
    });
    return there;
}

void clickMouse() {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

bool pumpUntil(HWND tip, DWORD ms, const std::function<bool()>& done) {
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    for (;;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (tip && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) gfnToolTipRelayEvent(tip, &msg);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if ((LONG)(end - GetTickCount()) <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

ScreenShot::ScreenShot(const RECT& r) : m_r(r), m_canvas(r.right - r.left, r.bottom - r.top) {
    HDC screen = GetDC(nullptr);
    BitBlt(m_canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

int ScreenShot::count(const RECT& r, COLORREF c) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += at(x, y) == c;
    return n;
}

SettingsFile::SettingsFile(const std::string& body) : m_path(testutil::libraryDir() + L"ImportDVDEx\\ImportDVDUI.ini") {
    std::ifstream in(m_path.c_str(), std::ios::binary);
    if ((m_existed = in.good())) {
        std::stringstream ss;
        ss << in.rdbuf();
        m_old = ss.str();
    }
    in.close();
    testutil::writeTextFile(m_path, body);
}

SettingsFile::~SettingsFile() {
    if (m_existed) testutil::writeTextFile(m_path, m_old);
    else DeleteFileW(m_path.c_str());
}

int liveGdiObjects() {
    GdiFlush();
    int n = 0;
    for (ULONG_PTR i = 0; i < 0x10000; ++i) n += GetObjectType((HGDIOBJ)i) != 0;
    return n;
}

RECT measureText(const wchar_t* text, int width, int height, UINT format) {
    CCutCFFont holder;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, holder.fnGetDefaultFont());
    RECT r = {0, 0, width, height};
    DrawTextW(dc, text, -1, &r, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return r;
}

std::string describe(const RECT& r) {
    std::ostringstream s;
    s << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
    return s.str();
}

std::string describe(HRGN rgn) {
    DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<char> buf(size ? size : 1);
    auto* data = (RGNDATA*)buf.data();
    if (!size || !GetRegionData(rgn, size, data)) return "(no region)";
    std::string s = std::to_string(data->rdh.nCount) + " rects";
    for (DWORD i = 0; i < data->rdh.nCount && i < 40; ++i) s += " " + describe(((const RECT*)data->Buffer)[i]);
    return s;
}

}  // namespace tiptest
