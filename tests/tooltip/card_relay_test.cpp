// The card tooltip: its size from a multi-line text, its place near the screen edges and its paint;
// and the relay functions, which address a copy of a mouse message to the right window.
#include "tip.h"
#include "qvToolTipCtrl.h"
#include <vector>

using namespace tiptest;

namespace {
TEST(Card, SizedFromItsLinesPlacedBelowRightOrPushedInFromTheEdgesAndPainted) {
    qvCToolTipCtrl card;
    ASSERT_EQ(1, card.fnCreate(CWnd::FromHandle(host())));
    card.SetDelayTime(TTDT_INITIAL, 50), card.SetDelayTime(TTDT_AUTOPOP, 60000);
    const wchar_t lines[] = L"In point\r\nA longer second line of text\n";   // three lines
    const RECT wide = measureText(L"A longer second line of text", 0, 0, DT_SINGLELINE | DT_NOPREFIX);
    const int w = wide.right + 10, h = wide.bottom * 3 + 6;
    const int x = GetSystemMetrics(SM_CXSCREEN) - 6, y = GetSystemMetrics(SM_CYSCREEN) - 4;
    HWND corner = CreateWindowExW(WS_EX_TOOLWINDOW, L"TipTestHost", L"", WS_POPUP, x - 54, y - 46, 60, 50, host(),
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(corner, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(card.AddWindowTool(CWnd::FromHandle(tool()), lines));
    ASSERT_TRUE(card.AddRectTool(CWnd::FromHandle(corner), lines, CRect(0, 0, 60, 50), 5));
    const POINT c = toolCentre();
    const int sw = GetSystemMetrics(SM_CXFULLSCREEN);
    const struct { POINT at; RECT want; } cases[] = {
        {{c.x - 7, c.y + 3}, {c.x - 7, c.y + 25, c.x - 7 + 30 + w, c.y + 25 + h}},
        {{x, y}, {sw - 25 - 30 - w, y - h, sw - 25, y}},   // no room below or right
    };
    for (const auto& k : cases) {
        card.Pop();
        ASSERT_TRUE(moveMouse(k.at.x, k.at.y));
        ASSERT_TRUE(pumpUntil(nullptr, 15000, [&] { return visible(card); }));
        RECT r;
        card.GetWindowRect(&r);
        EXPECT_EQ(box(k.want), box(r));
        if (&k != cases) continue;
        pumpFor(nullptr, 100);
        ScreenShot shot(r);
        const COLORREF frame = RGB(0x4D, 0x63, 0x8F), strip = RGB(0x5A, 0x6E, 0x97), white = RGB(255, 255, 255);
        const POINT at[] = {{r.left, r.top}, {r.right - 1, r.bottom - 1}, {r.left + 1, r.top + 1},
                            {r.left + 19, r.bottom - 2}, {r.left + 25, r.bottom - 2}, {r.right - 2, r.bottom - 2}};
        const COLORREF want[] = {frame, frame, strip, strip, white, white};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(want[i], shot.at(at[i].x, at[i].y)) << i;
        const int midY = (r.top + r.bottom) / 2;
        EXPECT_LT(shot.count({r.left + 2, midY - 8, r.left + 18, midY + 8}, strip), 16 * 16 / 2);   // the icon
        EXPECT_GT(shot.count({r.left + 31, r.top + 2, r.right - 1, r.bottom - 1}, RGB(0, 0, 0)), 10);
    }
    DestroyWindow(corner);
}

// A stand-in tooltip: records activations and relayed messages, names g_answer for any point.
std::vector<MSG> g_relayed;
int g_activated = 0;
HWND g_answer = nullptr;
LRESULT CALLBACK recorderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == TTM_RELAYEVENT) g_relayed.push_back(*(MSG*)lp);
    g_activated += msg == TTM_ACTIVATE && wp;
    return msg == TTM_WINDOWFROMPOINT ? (LRESULT)g_answer : DefWindowProcW(hwnd, msg, wp, lp);
}

HWND child(DWORD style, DWORD ex, int at, int size) {   // on top of the earlier ones
    HWND c = CreateWindowExW(ex, L"TipTestHost", L"", WS_CHILD | style, at, at, size, size - 20, host(), nullptr,
                             nullptr, nullptr);
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return c;
}

TEST(Relay, CopiesGoToTheWindowUnderThePoint) {
    WNDCLASSW wc = {0, recorderProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"TipRecorder"};
    RegisterClassW(&wc);
    HWND recorder = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    g_answer = tool();   // through the tooltip's own window-from-point answer
    MSG msg = {host(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(17, 23), 4242, {311, 207}};
    const MSG original = msg;
    gfnToolTipRelayEvent(recorder, &msg);
    // Through the parent: a hidden and a transparent child lie on top of the one to find.
    HWND target = child(WS_VISIBLE, 0, 300, 120), hidden = child(0, 0, 290, 130);
    HWND glass = child(WS_VISIBLE, WS_EX_TRANSPARENT, 280, 150);
    POINT screen = {333, 344};
    ClientToScreen(host(), &screen);
    MSG click = {host(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(333, 344), 99, screen};
    gfnToolTipRelayEventEx(host(), recorder, &click);
    MSG want[2] = {original, click};
    want[0].hwnd = tool(), want[1].hwnd = target, want[1].pt = {33, 44};   // pt: the target's client coordinates
    ASSERT_EQ(2u, g_relayed.size());
    EXPECT_EQ(2, g_activated);
    EXPECT_EQ(0, memcmp(want, g_relayed.data(), sizeof(want)));
    EXPECT_EQ(0, memcmp(&msg, &original, sizeof(msg)));

    // Nothing for a missing tooltip or message, or a window that is no tooltip:
    gfnToolTipRelayEventEx(host(), nullptr, &msg), gfnToolTipRelayEventEx(host(), recorder, nullptr);
    gfnToolTipRelayEvent(hidden, &msg), gfnToolTipRelayEvent(nullptr, nullptr);
    DestroyWindow(recorder);
    gfnToolTipRelayEvent(recorder, &msg);
    EXPECT_EQ(2u, g_relayed.size());
    for (HWND w : {target, hidden, glass}) DestroyWindow(w);
}
}  // namespace
