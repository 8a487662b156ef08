// Shared by the tooltip tests: a host window with a tool child, real mouse input, a pump that
// relays mouse messages as a host does, the settings file and the shaped tip's own geometry.
#pragma once
#include <algorithm>
#include <array>
#include <functional>
#include "qCutCFFont.h"
#include "qToolTipDVDUser.h"
#include "testutil.h"

namespace tiptest {

const COLORREF kHostColour = RGB(40, 90, 200), kToolColour = RGB(200, 150, 30);   // red and blue differ
const UINT kFormat = DT_VCENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
const wchar_t kText[] = L"Trim the start\nof the clip";
inline std::wstring g_text;   // the host's answer to TTN_GETDISPINFOW

inline LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY && ((NMHDR*)lp)->code == TTN_GETDISPINFOW)
        ((NMTTDISPINFOW*)lp)->lpszText = const_cast<wchar_t*>(g_text.c_str());
    if (msg != WM_ERASEBKGND) return DefWindowProcW(hwnd, msg, wp, lp);
    RECT rc;
    GetClientRect(hwnd, &rc);
    SetDCBrushColor((HDC)wp, GetParent(hwnd) ? kToolColour : kHostColour);
    return FillRect((HDC)wp, &rc, (HBRUSH)GetStockObject(DC_BRUSH));
}

// The host (top-level, shown without activation) and its tool child, made once.
inline std::pair<HWND, HWND> windows() {
    static std::pair<HWND, HWND> w = [] {
        WNDCLASSW wc = {0, hostProc, 0, 0, GetModuleHandleW(nullptr), nullptr, LoadCursorW(nullptr, IDC_ARROW),
                        nullptr, nullptr, L"TipTestHost"};
        RegisterClassW(&wc);
        HWND h = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_CLIPCHILDREN, 60, 80, 840, 620, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        HWND t = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 40, 40, 200, 50, h, (HMENU)7,
                                 wc.hInstance, nullptr);
        ShowWindow(h, SW_SHOWNOACTIVATE), UpdateWindow(h);
        return std::make_pair(h, t);
    }();
    return w;
}
inline HWND host() { return windows().first; }
inline HWND tool() { return windows().second; }
inline bool visible(HWND w) { return IsWindowVisible(w) != FALSE; }
inline POINT toolCentre() {
    RECT r;
    GetWindowRect(tool(), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Pumps messages, relaying mouse messages to tip (if any), until done() or the deadline.
inline bool pumpUntil(HWND tip, DWORD ms, const std::function<bool()>& done) {
    const DWORD end = GetTickCount() + ms;
    for (MSG msg;;) {
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
inline void pumpFor(HWND tip, DWORD ms) { pumpUntil(tip, ms, [] { return false; }); }

inline void mouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT in = {INPUT_MOUSE};
    in.mi = {dx, dy, 0, flags, 0, 0};
    SendInput(1, &in, sizeof(in));
}
inline void clickMouse() { mouse(MOUSEEVENTF_LEFTDOWN), mouse(MOUSEEVENTF_LEFTUP); }
// Moves the pointer to the screen point, pumping (and relaying to relayTo) until it is there.
inline bool moveMouse(int x, int y, HWND relayTo = nullptr) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    // Rounded up: the server scales back down.
    mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (x * 65536 + w - 1) / w, (y * 65536 + h - 1) / h);
    return pumpUntil(relayTo, 3000, [&] {
        POINT p;
        return GetCursorPos(&p) && p.x == x && p.y == y;
    });
}

// The screen's pixels of r, read in screen coordinates.
struct ScreenShot {
    explicit ScreenShot(const RECT& rc) : r(rc), canvas(rc.right - rc.left, rc.bottom - rc.top) {
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
    COLORREF at(int x, int y) const { return canvas.at(x - r.left, y - r.top); }
    int count(const RECT& area, COLORREF c) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += at(x, y) == c;
        return n;
    }
    RECT r;
    testutil::Canvas canvas;
};

// The library's settings file holds body while the object lives.
struct SettingsFile {
    std::wstring path = testutil::libraryDir() + L"ImportDVDEx\\ImportDVDUI.ini";
    explicit SettingsFile(const std::string& body) { testutil::writeTextFile(path, body); }
    ~SettingsFile() { DeleteFileW(path.c_str()); }
};

// DrawTextW's extent of text in font (null: the library's default font).
inline RECT measureText(const wchar_t* text, int width, int height, UINT format, HFONT font = nullptr) {
    CCutCFFont holder;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : holder.fnGetDefaultFont());
    RECT r = {0, 0, width, height};
    DrawTextW(dc, text, -1, &r, format | DT_CALCRECT);
    SelectObject(dc, old), ReleaseDC(nullptr, dc);
    return r;
}
inline std::array<LONG, 4> box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

struct Expected { RECT window, body; HRGN region; };   // window on screen; body, region (the caller's) in client

// Where a tip with looks l and text should go for anchor a on a full screen of sh height (0: the
// system's), and its region, worked out here.
inline Expected expectFor(const tagCQTOOLTIP_LOOKS& l, POINT a, const wchar_t* text, int sh = 0) {
    const int sw = GetSystemMetrics(SM_CXFULLSCREEN);
    sh = sh ? sh : GetSystemMetrics(SM_CYFULLSCREEN);
    const bool round = l.bRoundShape != 0;
    const int kx = round ? 4 : 2, tail = round ? l.nTailHeight : 0;
    int W = sw - kx * l.nMarginX - l.nShadowX - l.nOffsetX, H = sh - 2 * l.nMarginY - tail - l.nShadowY - l.nOffsetY;
    if (l.szMaxText.cx && l.szMaxText.cy) W = l.szMaxText.cx, H = l.szMaxText.cy;
    RECT t = measureText(text, W, H, kFormat, l.hFont);
    t.right = t.right > W ? W - 1 : t.right, t.bottom = t.bottom > H ? H - 1 : t.bottom;
    Expected e = {{}, {0, 0, t.right + kx * l.nMarginX, t.bottom + 2 * l.nMarginY}, nullptr};
    const int w = e.body.right + l.nShadowX, h = e.body.bottom + l.nShadowY + tail;
    const bool fixed = !(l.ptPosition.x == -1 && l.ptPosition.y == -1);
    POINT tl = (fixed && !round) ? a : POINT{a.x + l.nOffsetX, a.y + l.nOffsetY};
    const bool above = tl.y + h > sh;
    if (above) tl.y = a.y - h;
    else OffsetRect(&e.body, 0, tail);
    if (tl.x + w > sw) tl.x = std::max(sw - w, 0);
    e.window = {tl.x, tl.y, tl.x + w, tl.y + h};
    RECT s = e.body;
    OffsetRect(&s, l.nShadowX, l.nShadowY);
    HRGN shadow = round ? CreateRoundRectRgn(s.left, s.top, s.right, s.bottom, l.nMarginX, l.nMarginY)
                        : CreateRectRgnIndirect(&s);
    e.region = round ? CreateRoundRectRgn(e.body.left, e.body.top, e.body.right, e.body.bottom, l.nMarginX, l.nMarginY)
                     : CreateRectRgnIndirect(&e.body);
    if (round) {   // the tail: from the body to the window edge nearest the anchor, a step in
        const int dir = a.x < tl.x + w / 2 ? 1 : -1, m = l.nMarginX, tx = a.x - tl.x;
        const int base = above ? e.body.bottom - l.nShadowY : e.body.top, ty = above ? h : 0;
        POINT tri[3] = {{tx + m * dir, base}, {tx + m * dir, ty}, {tx + 3 * m * dir, base}};
        HRGN tailRgn = CreatePolygonRgn(tri, 3, ALTERNATE);
        CombineRgn(e.region, e.region, tailRgn, RGN_OR);
        DeleteObject(tailRgn);
    }
    CombineRgn(e.region, e.region, shadow, RGN_OR);
    DeleteObject(shadow);
    return e;
}

class ShapedTip : public testing::Test {
protected:
    explicit ShapedTip(const std::string& settings = "") : settingsFile(settings) {}
    void SetUp() override {
        ASSERT_EQ(1, tip.fnCreate(CWnd::FromHandle(host())));
        tip.SetDelayTime(TTDT_AUTOPOP, 60000);
        ASSERT_EQ(1, tip.fnAddTool(host(), tool()));
        g_text = kText;
    }
    void TearDown() override { tip.DestroyWindow(), pumpFor(nullptr, 20); }
    // Pops the tip, moves the pointer to a point over the tool it was not at, waits for the tip.
    bool showAgain(DWORD wait = 15000) {
        tip.Pop();
        static int nudge = 0;
        POINT c = toolCentre(), now, to;
        GetCursorPos(&now);
        do to = {c.x + ++nudge % 40, c.y + (nudge / 40) % 10};
        while (to.x == now.x && to.y == now.y);
        return moveMouse(to.x, to.y, tip) && pumpUntil(tip, wait, [&] { return visible(tip); });
    }
    // The window rectangle and region against the expectation for anchor a.
    void expectShape(POINT a, const wchar_t* text = kText, int screenHeight = 0) {
        Expected e = expectFor(*tip.fnGetLooksData(), a, text, screenHeight);
        RECT wr;
        tip.GetWindowRect(&wr);
        EXPECT_EQ(box(e.window), box(wr));
        HRGN got = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(ERROR, GetWindowRgn(tip, got));
        EXPECT_TRUE(EqualRgn(got, e.region));
        DeleteObject(got), DeleteObject(e.region);
        expected = e;
    }
    SettingsFile settingsFile;   // before the tip: it reads the file when made
    CqToolTipDVDUser tip;
    Expected expected = {};
};

}  // namespace tiptest
