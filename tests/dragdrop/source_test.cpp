// The window registry and the drag source without a drag: the hooked window procedure, presses
// that start nothing, settings, and the payloads as the clipboard hands them back.
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
    EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(1)), nullptr);
    for (int i = 0; i < 60; ++i) mgr.m_fnAddWindow(fakeHandle(i), &v[i]);   // more than buckets and node blocks
    mgr.m_fnAddWindow(fakeHandle(7), &v[59]);
    mgr.m_fnRemoveWindow(fakeHandle(30));
    for (int i = 0; i < 61; ++i)
        EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(i)), i == 7 ? &v[59] : i == 30 || i == 60 ? nullptr : &v[i]) << i;
    for (int i = 0; i < 60; ++i) mgr.m_fnRemoveWindow(fakeHandle(i));
    mgr.m_fnAddWindow(fakeHandle(3), &v[0]);   // emptied, then used again
    EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(3)), &v[0]);
    EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(7)), nullptr);
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
        EXPECT_NE(hooked, original);
        EXPECT_EQ(s1.m_stDragWndHook.pfnPrevWndProc, original);
        EXPECT_EQ(SendMessageW(a, WM_APP, 0, 0), 0x77);   // other messages pass through
        s1.m_fnSetDragWindow(CWnd::FromHandle(b));         // the first window gets its own back
        EXPECT_EQ(procOf(a), original);
        EXPECT_EQ(procOf(b), hooked);
        s2.m_fnSetDragWindow(CWnd::FromHandle(b));         // a second source takes the hook over
        EXPECT_EQ(s2.m_stDragWndHook.pfnPrevWndProc, original);
        EXPECT_EQ(SendMessageW(b, WM_APP, 0, 0), 0x77);
        s2.m_fnSetDragWindow(nullptr);
        EXPECT_EQ(procOf(b), original);
        EXPECT_EQ(CallWindowProcW(hooked, b, WM_APP, 0, 0), 1);   // no record for the window

        s1.m_fnSetDragWindow(CWnd::FromHandle(a));
        DestroyWindow(a);   // destroyed while hooked: its procedure is back before it is gone
        EXPECT_EQ(g_procAtNcDestroy, original);
        EXPECT_EQ(s1.m_stDragWndHook.hWnd, nullptr);
        s1.m_fnSetDragWindow(CWnd::FromHandle(b));
        EXPECT_EQ(procOf(b), hooked);
    }
    EXPECT_EQ(procOf(b), original);   // and when the source goes
    DestroyWindow(b);
    AfxDeleteTempMap();
}

// Presses that start no drag reach the window unchanged; the point is read as unsigned words.
TEST(DragSource, PressesThatStartNothing) {
    Scene& scene = Scene::get();
    struct {
        BOOL enabled, allow;
        UINT prefer;
        const char* calls;
    } cases[] = {{FALSE, TRUE, CF_TEXT, ""}, {TRUE, FALSE, CF_TEXT, ""}, {TRUE, TRUE, CF_TEXT, "T"}, {TRUE, TRUE, 0, "U"}};
    for (const auto& c : cases) {
        ProbeSource s;
        s.m_fnSetDragWindow(&scene.source);
        s.m_fnEnableDragOperation(c.enabled);
        s.allow = c.allow, s.succeed = FALSE;
        s.prefer(c.prefer);
        scene.source.clicks.clear();
        scene.source.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0xFFF0, 23));
        EXPECT_EQ(s.points.size(), c.enabled ? 1u : 0u);
        if (!s.points.empty()) {
            EXPECT_EQ(s.points[0].x, 0xFFF0);
        }
        EXPECT_EQ(s.calls, c.calls);
        ASSERT_EQ(scene.source.clicks.size(), 1u);
        EXPECT_EQ(scene.source.clicks[0], std::make_pair((UINT)WM_LBUTTONDOWN, MAKELPARAM(0xFFF0, 23)));
    }
    ProbeSource s;
    const std::pair<int, DWORD> effects[] = {{1, 1}, {2, 2}, {4, 4}, {5, 5}, {7, 7}, {8, 0}, {0x1E, 6}};
    for (auto e : effects) {
        s.m_fnSetAllowedDragOperation(e.first);
        EXPECT_EQ(s.m_dwAllowedEffects, e.second) << e.first;
    }
    s.m_fnSetPreferClipboardFormat(L"5E686CEC-92BE-4f79-BD7E-ABA723A8E015");
    EXPECT_EQ(s.m_cfPrefer, s.m_cfMenuView);
}

// Each format byte for byte; a refused copy leaves the clipboard alone and frees its block.
TEST(DragSource, PayloadsOnTheClipboard) {
    ProbeSource s;
    for (int i = 0; i < 40; ++i) s.thumb.szName[i] = (WCHAR)(L'A' + i);
    s.thumb.nItem = 0x01020304, s.thumb.llOutPoint = 0x1122334455667788LL;
    s.items = {{7, 1}, {9, 0x80}};
    s.itemCleanup = itemCleanup;
    const UINT host = RegisterClipboardFormatW(L"DdHostFormat");
    struct {
        UINT format;
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {CF_TEXT, L"abc", std::string("abc", 4)},
        {CF_TEXT, L"", std::string(1, '\0')},
        {s.m_cfThumbList, L"", std::string((const char*)&s.thumb, 104)},
        {s.m_cfMenuView, L"", referenceBytes(s.m_guidSource, &s.m_listMenuItem, (void*)itemCleanup)},
        {s.m_cfMenuObjectAttribute, L"", referenceBytes(s.m_guidSource, &s.m_stMenuObjectAttribute)},
        {host, L"", "host's own"},
    };
    for (const auto& c : cases) {
        s.prefer(c.format), s.text = c.text;
        if (c.format == host) s.unknownBlock = blockOf("host's own");
        ASSERT_TRUE(s.copy());
        EXPECT_EQ(clipboardBytes(c.format), c.bytes);
    }
    EXPECT_EQ(s.m_listMenuItem.GetCount(), 2);
    EXPECT_EQ(s.m_stMenuObjectAttribute.nObjectID, 0x1234u);

    s.prefer(CF_TEXT), s.calls.clear(), s.allow = FALSE;
    EXPECT_FALSE(s.copy());
    s.allow = TRUE, s.succeed = FALSE;
    EXPECT_FALSE(s.copy());
    EXPECT_EQ(s.calls, "T");
    EXPECT_EQ(clipboardBytes(host), "host's own");
    s.succeed = TRUE;
    for (UINT format : {0u, host}) {   // format 0: the clipboard refuses; held elsewhere: no clipboard
        ClipboardHeld* held = format ? new ClipboardHeld : nullptr;
        HGLOBAL block = s.unknownBlock = blockOf("x");
        s.prefer(format);
        EXPECT_FALSE(s.copy());
        EXPECT_EQ(GlobalFlags(block), (UINT)GMEM_INVALID_HANDLE);
        delete held;
    }
    s.fnCleanMenuItemData();
}

// A new menu-view preparation first runs the previous clean-up, then fills an emptied list.
TEST(DragSource, CleanupsRunBeforeRefillAndAtTheEnd) {
    g_cleanups[0] = g_cleanups[1] = 0;
    {
        ProbeSource s;
        s.items = {{1, 2}, {3, 4}, {5, 6}};
        s.itemCleanup = itemCleanup, s.attributeCleanup = attributeCleanup;
        s.prefer(s.m_cfMenuView);
        s.copy(), s.copy();
        EXPECT_EQ(g_cleanups[0], 1);
        EXPECT_EQ(g_itemsAtCleanup, 3);
        EXPECT_EQ(s.calls, "M0M0");
        s.succeed = FALSE;   // a failed preparation keeps no clean-up and no items
        s.copy();
        EXPECT_EQ(g_cleanups[0], 2);
        EXPECT_EQ(s.m_pfnMenuItemCleanup, nullptr);
        EXPECT_EQ(s.m_listMenuItem.GetCount(), 0);
        s.succeed = TRUE;
        s.prefer(s.m_cfMenuObjectAttribute);
        s.copy(), s.copy();
        EXPECT_EQ(g_cleanups[1], 1);
        s.prefer(s.m_cfMenuView);
        s.copy();
        s.fnCleanMenuItemData();
        EXPECT_EQ(g_cleanups[0], 3);
        EXPECT_EQ(g_cleanups[1], 2);
        EXPECT_EQ(s.m_stMenuObjectAttribute.nAttribute, 0xDEADu);
        EXPECT_EQ(s.m_pfnMenuObjectAttributeCleanup, nullptr);
        EXPECT_EQ(s.m_listMenuItem.GetCount(), 0);
        s.fnCleanMenuItemData();
        s.copy();
        EXPECT_EQ(g_cleanups[0], 3);
    }
    EXPECT_EQ(g_cleanups[0], 4);   // the source's end runs what is left
}
