// The relay functions address the copy of a message to the right window and leave the original.
#include <gtest/gtest.h>
#include "qToolTipDVDUser.h"
#include "tipsupport.h"
#include <vector>

using namespace tiptest;

namespace {
// A stand-in tooltip that records what it is sent.
struct Record {
    UINT message;
    WPARAM wParam;
    MSG relayed;
    POINT asked;
};
std::vector<Record> g_records;
HWND g_answer = nullptr;

LRESULT CALLBACK recorderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case TTM_WINDOWFROMPOINT:
        g_records.push_back({msg, wp, {}, *(POINT*)lp});
        return (LRESULT)g_answer;
    case TTM_ACTIVATE:
        g_records.push_back({msg, wp, {}, {}});
        return 0;
    case TTM_RELAYEVENT:
        g_records.push_back({msg, wp, *(MSG*)lp, {}});
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND makeWindow(const wchar_t* cls, DWORD style, DWORD ex, const RECT& r, HWND parent) {
    return CreateWindowExW(ex, cls, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

class Relay : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = recorderProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TipRecorder";
        RegisterClassW(&wc);
        recorder = makeWindow(L"TipRecorder", WS_POPUP, 0, {0, 0, 10, 10}, nullptr);
        g_records.clear();
    }
    void TearDown() override { DestroyWindow(recorder); }
    HWND recorder = nullptr;
};

TEST_F(Relay, ToTheWindowTheTooltipFindsUnderThePoint) {
    g_answer = tool();
    MSG msg = {host(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(17, 23), 4242, {311, 207}};
    const MSG original = msg;
    gfnToolTipRelayEvent(recorder, &msg);
    ASSERT_EQ(3u, g_records.size());
    EXPECT_EQ((UINT)TTM_WINDOWFROMPOINT, g_records[0].message);
    EXPECT_EQ(311, g_records[0].asked.x);
    EXPECT_EQ(207, g_records[0].asked.y);
    EXPECT_EQ((UINT)TTM_ACTIVATE, g_records[1].message);
    EXPECT_EQ((WPARAM)TRUE, g_records[1].wParam);
    ASSERT_EQ((UINT)TTM_RELAYEVENT, g_records[2].message);
    const MSG& r = g_records[2].relayed;
    EXPECT_EQ(tool(), r.hwnd);
    EXPECT_EQ(original.message, r.message);
    EXPECT_EQ(original.wParam, r.wParam);
    EXPECT_EQ(original.lParam, r.lParam);
    EXPECT_EQ(original.time, r.time);
    EXPECT_EQ(0, memcmp(&msg, &original, sizeof(msg)));
}

TEST_F(Relay, ExToTheVisibleOpaqueChildUnderThePoint) {
    HWND parent = host();
    // Three children over one spot: a hidden one and a transparent one on top of the one to find.
    HWND target = makeWindow(L"TipTestHost", WS_CHILD | WS_VISIBLE, 0, {300, 300, 420, 380}, parent);
    HWND hidden = makeWindow(L"TipTestHost", WS_CHILD, 0, {290, 290, 400, 400}, parent);
    HWND glass = makeWindow(L"TipTestHost", WS_CHILD | WS_VISIBLE, WS_EX_TRANSPARENT, {280, 280, 410, 410}, parent);
    SetWindowPos(hidden, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(glass, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    POINT screen = {333, 344};
    ClientToScreen(parent, &screen);
    MSG msg = {parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(333, 344), 99, screen};
    const MSG original = msg;
    gfnToolTipRelayEventEx(parent, recorder, &msg);
    ASSERT_EQ(2u, g_records.size());
    EXPECT_EQ((UINT)TTM_ACTIVATE, g_records[0].message);
    ASSERT_EQ((UINT)TTM_RELAYEVENT, g_records[1].message);
    const MSG& r = g_records[1].relayed;
    EXPECT_EQ(target, r.hwnd);
    EXPECT_EQ(33, r.pt.x);   // the target's client coordinates
    EXPECT_EQ(44, r.pt.y);
    EXPECT_EQ(original.lParam, r.lParam);
    EXPECT_EQ(0, memcmp(&msg, &original, sizeof(msg)));

    // Nothing for a missing tooltip or message.
    g_records.clear();
    gfnToolTipRelayEventEx(parent, nullptr, &msg);
    gfnToolTipRelayEventEx(parent, recorder, nullptr);
    gfnToolTipRelayEvent((HWND)(ULONG_PTR)0x5678, &msg);
    gfnToolTipRelayEvent(recorder, nullptr);
    EXPECT_TRUE(g_records.empty());
    DestroyWindow(target);
    DestroyWindow(hidden);
    DestroyWindow(glass);
}
}  // namespace
