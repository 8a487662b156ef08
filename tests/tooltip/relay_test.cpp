// The relay functions address a copy of the message to the right window and leave the original.
#include <gtest/gtest.h>
#include "qToolTipDVDUser.h"
#include "tipsupport.h"
#include <vector>

using namespace tiptest;

namespace {
// A stand-in tooltip that records what it is sent and names g_answer for any point.
std::vector<std::pair<UINT, MSG>> g_sent;
HWND g_answer = nullptr;

LRESULT CALLBACK recorderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    MSG m = {};
    if (msg == TTM_WINDOWFROMPOINT) m.pt = *(POINT*)lp;
    if (msg == TTM_ACTIVATE) m.wParam = wp;
    if (msg == TTM_RELAYEVENT) m = *(MSG*)lp;
    if (msg == TTM_WINDOWFROMPOINT || msg == TTM_ACTIVATE || msg == TTM_RELAYEVENT) g_sent.push_back({msg, m});
    return msg == TTM_WINDOWFROMPOINT ? (LRESULT)g_answer : DefWindowProcW(hwnd, msg, wp, lp);
}

HWND child(DWORD style, DWORD ex, int x, int y, int w, int h) {
    HWND c = CreateWindowExW(ex, L"TipTestHost", L"", WS_CHILD | style, x, y, w, h, host(), nullptr, nullptr, nullptr);
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return c;
}

TEST(Relay, CopiesGoToTheWindowUnderThePoint) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = recorderProc;
    wc.lpszClassName = L"TipRecorder";
    RegisterClassW(&wc);
    HWND recorder = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);

    // Through the tooltip's own window-from-point answer.
    g_answer = tool();
    MSG msg = {host(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(17, 23), 4242, {311, 207}};
    const MSG original = msg;
    gfnToolTipRelayEvent(recorder, &msg);
    ASSERT_EQ(3u, g_sent.size());
    EXPECT_EQ((UINT)TTM_WINDOWFROMPOINT, g_sent[0].first);
    EXPECT_EQ(311, g_sent[0].second.pt.x);
    EXPECT_EQ(207, g_sent[0].second.pt.y);
    EXPECT_EQ((UINT)TTM_ACTIVATE, g_sent[1].first);
    EXPECT_EQ((WPARAM)TRUE, g_sent[1].second.wParam);
    ASSERT_EQ((UINT)TTM_RELAYEVENT, g_sent[2].first);
    MSG want = original;
    want.hwnd = tool();
    EXPECT_EQ(0, memcmp(&want, &g_sent[2].second, sizeof(MSG)));
    EXPECT_EQ(0, memcmp(&msg, &original, sizeof(msg)));

    // Through the parent: a hidden and a transparent child on top of the one to find.
    HWND target = child(WS_VISIBLE, 0, 300, 300, 120, 80);
    HWND hidden = child(0, 0, 290, 290, 110, 110);
    HWND glass = child(WS_VISIBLE, WS_EX_TRANSPARENT, 280, 280, 130, 130);
    POINT screen = {333, 344};
    ClientToScreen(host(), &screen);
    msg = {host(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(333, 344), 99, screen};
    g_sent.clear();
    gfnToolTipRelayEventEx(host(), recorder, &msg);
    ASSERT_EQ(2u, g_sent.size());
    EXPECT_EQ((UINT)TTM_ACTIVATE, g_sent[0].first);
    want = msg;
    want.hwnd = target;
    want.pt = {33, 44};   // the target's client coordinates
    EXPECT_EQ(0, memcmp(&want, &g_sent[1].second, sizeof(MSG)));

    // Nothing for a missing tooltip or message.
    g_sent.clear();
    gfnToolTipRelayEventEx(host(), nullptr, &msg);
    gfnToolTipRelayEventEx(host(), recorder, nullptr);
    gfnToolTipRelayEvent(hidden, &msg);   // a window, but not one that answers: no crash
    DestroyWindow(recorder);
    gfnToolTipRelayEvent(recorder, &msg);
    gfnToolTipRelayEvent(nullptr, nullptr);
    EXPECT_TRUE(g_sent.empty());
    for (HWND w : {target, hidden, glass}) DestroyWindow(w);
}
}  // namespace
