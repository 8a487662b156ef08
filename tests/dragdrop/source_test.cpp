// The window registry and the drag source without a drag: the hooked window procedure, presses
// that start nothing, settings, and the clean-ups of the menu-view payloads.
#include "ddtest.h"

namespace {
HWND fakeHandle(int i) { return (HWND)(UINT_PTR)(0x20000 + i * 4); }

WNDPROC g_procAtNcDestroy = nullptr;
LRESULT CALLBACK plainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) g_procAtNcDestroy = (WNDPROC)GetWindowLongPtrW(h, GWLP_WNDPROC);
    return msg == WM_APP ? 0x77 : DefWindowProcW(h, msg, wp, lp);
}
HWND plainWindow() {
    WNDCLASSW wc = {0, plainProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"DdPlain"};
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"DdPlain", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
}
WNDPROC procOf(HWND h) { return (WNDPROC)GetWindowLongPtrW(h, GWLP_WNDPROC); }

int g_cleanups[2];
INT_PTR g_itemsAtCleanup = -1;
void itemCleanup(CDragDropMenuItemList& list) { ++g_cleanups[0], g_itemsAtCleanup = list.GetCount(); }
void attributeCleanup(DRAG_DROP_MENU_OBJECT_ATTRIBUTE& a) { ++g_cleanups[1], a.nAttribute = 0xDEAD; }
}  // namespace

TEST(WndMgr, OneValuePerHandle) {
    CWndMgr mgr;
    int v[60];
    mgr.m_fnRemoveWindow(fakeHandle(1));   // never added: nothing happens
    for (int i = 0; i < 60; ++i) mgr.m_fnAddWindow(fakeHandle(i), &v[i]);   // more than buckets and node blocks
    mgr.m_fnAddWindow(fakeHandle(7), &v[59]);
    mgr.m_fnRemoveWindow(fakeHandle(30));
    for (int i = 0; i < 61; ++i)
        EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(i)), i == 7 ? &v[59] : i == 30 || i == 60 ? nullptr : &v[i]) << i;
    for (int i = 0; i < 60; ++i) mgr.m_fnRemoveWindow(fakeHandle(i));
    mgr.m_fnAddWindow(fakeHandle(3), &v[0]);   // emptied, then used again
    EXPECT_TRUE(mgr.m_fnSearchWindow(fakeHandle(3)) == &v[0] && !mgr.m_fnSearchWindow(fakeHandle(7)));
}

TEST(DragSource, HookedWindowProcedure) {
    HWND a = plainWindow(), b = plainWindow();
    const WNDPROC original = procOf(a);
    WNDPROC hooked;
    {
        ProbeSource s1, s2;
        EXPECT_NE(memcmp(&s1.m_guidSource, &s2.m_guidSource, 16), 0);
        s1.m_fnSetDragWindow(CWnd::FromHandle(a));
        hooked = procOf(a);
        EXPECT_TRUE(hooked != original && s1.m_stDragWndHook.pfnPrevWndProc == original);
        EXPECT_EQ(SendMessageW(a, WM_APP, 0, 0), 0x77);   // other messages pass through
        s1.m_fnSetDragWindow(CWnd::FromHandle(b));         // the first window gets its own back
        EXPECT_TRUE(procOf(a) == original && procOf(b) == hooked);
        s2.m_fnSetDragWindow(CWnd::FromHandle(b));         // a second source takes the hook over
        EXPECT_TRUE(s2.m_stDragWndHook.pfnPrevWndProc == original && SendMessageW(b, WM_APP, 0, 0) == 0x77);
        s2.m_fnSetDragWindow(nullptr);
        EXPECT_TRUE(procOf(b) == original && CallWindowProcW(hooked, b, WM_APP, 0, 0) == 1);   // no record for b
        s1.m_fnSetDragWindow(CWnd::FromHandle(a));
        DestroyWindow(a);   // destroyed while hooked: its procedure is back before it is gone
        EXPECT_TRUE(g_procAtNcDestroy == original && !s1.m_stDragWndHook.hWnd);
        s1.m_fnSetDragWindow(CWnd::FromHandle(b));
        EXPECT_EQ(procOf(b), hooked);
    }
    EXPECT_EQ(procOf(b), original);   // and when the source goes
    DestroyWindow(b);
    AfxDeleteTempMap();
}

// The allowed operations as effects; a format preferred by name. A new menu-view preparation first
// runs the previous clean-up, then fills an emptied list; a failed one keeps no clean-up and no
// items; the source's end runs what is left.
TEST(DragSource, SettingsAndCleanups) {
    g_cleanups[0] = g_cleanups[1] = 0;
    {
        ProbeSource s;
        for (auto e : {std::pair<int, DWORD>{1, 1}, {2, 2}, {4, 4}, {5, 5}, {7, 7}, {8, 0}, {0x1E, 6}}) {
            s.m_fnSetAllowedDragOperation(e.first);
            EXPECT_EQ(s.m_dwAllowedEffects, e.second) << e.first;
        }
        s.m_fnSetPreferClipboardFormat(L"5E686CEC-92BE-4f79-BD7E-ABA723A8E015");
        EXPECT_EQ(s.m_cfPrefer, s.m_cfMenuView);
        s.items = {{1, 2}, {3, 4}, {5, 6}};
        s.itemCleanup = itemCleanup, s.attributeCleanup = attributeCleanup;
        s.prefer(s.m_cfMenuView);
        s.copy(), s.copy();
        EXPECT_TRUE(g_cleanups[0] == 1 && g_itemsAtCleanup == 3 && s.calls == "M0M0");
        s.succeed = FALSE;
        s.copy();
        EXPECT_TRUE(g_cleanups[0] == 2 && !s.m_pfnMenuItemCleanup && s.m_listMenuItem.GetCount() == 0);
        s.succeed = TRUE;
        s.prefer(s.m_cfMenuObjectAttribute);
        s.copy(), s.copy();
        EXPECT_EQ(g_cleanups[1], 1);
        s.prefer(s.m_cfMenuView);
        s.copy();
        s.fnCleanMenuItemData();
        s.fnCleanMenuItemData();
        EXPECT_TRUE(g_cleanups[0] == 3 && g_cleanups[1] == 2 && s.m_stMenuObjectAttribute.nAttribute == 0xDEADu);
        s.copy();
    }
    EXPECT_EQ(g_cleanups[0], 4);
}
