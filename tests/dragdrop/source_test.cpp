// The drag source without a drag: the hooked window procedure, presses that start nothing, the
// settings and the payloads it writes (read back from the clipboard).
#include <gtest/gtest.h>
#include "ddtest.h"

namespace {

// A plain window whose procedure notes which procedure the window had when it was torn down.
WNDPROC g_procAtNcDestroy = nullptr;
LRESULT CALLBACK plainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) g_procAtNcDestroy = (WNDPROC)GetWindowLongPtrW(h, GWLP_WNDPROC);
    if (msg == WM_APP) return 0x77;
    return DefWindowProcW(h, msg, wp, lp);
}
HWND plainWindow() {
    WNDCLASSW wc = {0, plainProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"DdPlain"};
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"DdPlain", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
}
WNDPROC procOf(HWND h) { return (WNDPROC)GetWindowLongPtrW(h, GWLP_WNDPROC); }

int g_itemCleanups = 0, g_attributeCleanups = 0;
INT_PTR g_itemsAtCleanup = -1;
void itemCleanup(CDragDropMenuItemList& list) {
    ++g_itemCleanups;
    g_itemsAtCleanup = list.GetCount();
}
void attributeCleanup(DRAG_DROP_MENU_OBJECT_ATTRIBUTE& a) {
    ++g_attributeCleanups;
    a.nAttribute = 0xDEAD;
}

// The clipboard's block under format after the source copied for point (x, y); empty when the copy failed.
std::string copied(ProbeSource& s, UINT format, int x = 5, int y = 6) {
    putClipboard(CF_TEXT, blockOf(std::string("old", 4)));
    CPoint p(x, y);
    std::string bytes;
    if (s.m_fnCopyDataToClipboard(p)) clipboardBytes(format, bytes);
    return bytes;
}
}  // namespace

TEST(DragWindowHook, InstalledFoundAndGivenBack) {
    HWND a = plainWindow(), b = plainWindow();
    WNDPROC original = procOf(a);
    CWnd* wa = CWnd::FromHandle(a);
    CWnd* wb = CWnd::FromHandle(b);
    CWndMgr probe;   // a registry of its own does not see the module's entries
    {
        ProbeSource s1, s2;
        EXPECT_NE(memcmp(&s1.m_guidSource, &s2.m_guidSource, 16), 0);
        s1.m_fnSetDragWindow(wa);
        WNDPROC hooked = procOf(a);
        EXPECT_NE(hooked, original);
        EXPECT_EQ(s1.m_stDragWndHook.hWnd, a);
        EXPECT_EQ(s1.m_stDragWndHook.pfnPrevWndProc, original);
        EXPECT_EQ(s1.m_stDragWndHook.pNotify, static_cast<IDragWndNotify*>(&s1));
        EXPECT_EQ(SendMessageW(a, WM_APP, 0, 0), 0x77);   // other messages pass through unchanged
        EXPECT_EQ(probe.m_fnSearchWindow(a), nullptr);

        // Hooking another window gives the first its own procedure back.
        s1.m_fnSetDragWindow(wb);
        EXPECT_EQ(procOf(a), original);
        EXPECT_EQ(procOf(b), hooked);
        // A second source on the same window takes the hook over; both end cleanly.
        s2.m_fnSetDragWindow(wb);
        EXPECT_EQ(s2.m_stDragWndHook.pfnPrevWndProc, original);
        EXPECT_EQ(s1.m_stDragWndHook.pfnPrevWndProc, nullptr);
        EXPECT_EQ(SendMessageW(b, WM_APP, 0, 0), 0x77);

        // The shared procedure answers 1 for a window it has no record of.
        s2.m_fnSetDragWindow(nullptr);
        EXPECT_EQ(procOf(b), original);
        EXPECT_EQ(CallWindowProcW(hooked, b, WM_APP, 0, 0), 1);

        // Destroyed while hooked: the window has its procedure back before it is gone.
        s1.m_fnSetDragWindow(wa);
        g_procAtNcDestroy = nullptr;
        DestroyWindow(a);
        EXPECT_EQ(g_procAtNcDestroy, original);
        EXPECT_EQ(s1.m_stDragWndHook.hWnd, nullptr);
        EXPECT_EQ(s1.m_stDragWndHook.pfnPrevWndProc, nullptr);
        // Moving on to another window leaves the destroyed one alone.
        s1.m_fnSetDragWindow(wb);
        EXPECT_EQ(procOf(b), hooked);
    }
    // The source's end gives the window back too.
    EXPECT_EQ(procOf(b), original);
    DestroyWindow(b);
    AfxDeleteTempMap();
}

// Presses that start no drag reach the window unchanged; the point is read as unsigned words.
TEST(DragWindowHook, PressesThatStartNothing) {
    Scene& scene = Scene::get();
    struct Case {
        BOOL enabled, allow;
        int prefers;   // 0 never set, 1 text whose hook fails
        size_t prepares;
    } cases[] = {{FALSE, TRUE, 1, 0}, {TRUE, FALSE, 1, 1}, {TRUE, TRUE, 1, 1}, {TRUE, TRUE, 0, 1}};
    for (const Case& c : cases) {
        ProbeSource s;
        s.m_fnSetDragWindow(&scene.source);
        s.m_fnEnableDragOperation(c.enabled);
        s.allow = c.allow;
        s.succeed = FALSE;
        if (c.prefers) s.preferText();
        scene.source.clicks.clear();
        LPARAM lp = MAKELPARAM(0xFFF0, 23);
        scene.source.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lp);
        ASSERT_EQ(s.points.size(), c.prepares);
        if (c.prepares) {
            EXPECT_EQ(s.points[0].x, 0xFFF0);
        }
        ASSERT_EQ(scene.source.clicks.size(), 1u);
        EXPECT_EQ(scene.source.clicks[0], std::make_pair((UINT)WM_LBUTTONDOWN, lp));
        EXPECT_EQ(s.calls.size(), c.enabled && c.allow ? 1u : 0u);
        if (!c.prefers && !s.calls.empty()) {
            EXPECT_EQ(s.calls[0], "unknown");
        }
    }
}

TEST(DragSourceSettings, AllowedEffectsAndPreferredFormat) {
    ProbeSource s;
    const std::pair<int, DWORD> effects[] = {{0, 0}, {1, 1}, {2, 2}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 0}, {0x1F, 7}};
    for (auto e : effects) {
        s.m_fnSetAllowedDragOperation(e.first);
        EXPECT_EQ(s.m_dwAllowedEffects, e.second) << e.first;
    }
    EXPECT_EQ(s.m_cfThumbList, RegisterClipboardFormatW(L"THUMBLISTPRIVATECLIPFORMAT"));
    EXPECT_EQ(s.m_cfMenuView, RegisterClipboardFormatW(L"5E686CEC-92BE-4f79-BD7E-ABA723A8E015"));
    EXPECT_EQ(s.m_cfMenuObjectAttribute, RegisterClipboardFormatW(L"2D81248A_520E_45d2_813F_B8511F34BD3C"));
    s.m_fnSetPreferClipboardFormat(L"5E686CEC-92BE-4f79-BD7E-ABA723A8E015");
    EXPECT_EQ(s.m_cfPrefer, s.m_cfMenuView);
    s.m_fnSetPreferClipboardFormat((const wchar_t*)nullptr);
    EXPECT_EQ(s.m_cfPrefer, 0u);
    CPoint p(1, 2);
    s.allow = FALSE;
    EXPECT_FALSE(s.m_fnIsCopyToClipboardEnabled(p));
    s.allow = TRUE;
    EXPECT_TRUE(s.m_fnIsCopyToClipboardEnabled(p));
}

// What each format writes, byte for byte, as the clipboard hands it back.
TEST(DragSourcePayload, LayoutOfEveryFormat) {
    ProbeSource s;
    s.preferText();
    EXPECT_EQ(copied(s, CF_TEXT), std::string("abc", 4));
    s.text = L"";
    EXPECT_EQ(copied(s, CF_TEXT), std::string(1, '\0'));

    for (int i = 0; i < 40; ++i) s.thumb.szName[i] = (WCHAR)(L'A' + i);
    s.thumb.nItem = 0x01020304;
    s.thumb.llOutPoint = 0x1122334455667788LL;
    s.m_fnSetPreferClipboardFormat(s.m_cfThumbList);
    EXPECT_EQ(copied(s, s.m_cfThumbList), std::string((const char*)&s.thumb, 104));

    s.items = {{7, 1}, {9, 0x80}};
    s.itemCleanup = itemCleanup;
    s.m_fnSetPreferClipboardFormat(s.m_cfMenuView);
    EXPECT_EQ(copied(s, s.m_cfMenuView), referenceBytes(s.m_guidSource, &s.m_listMenuItem, (void*)itemCleanup));
    EXPECT_EQ(s.m_listMenuItem.GetCount(), 2);

    s.m_fnSetPreferClipboardFormat(s.m_cfMenuObjectAttribute);
    EXPECT_EQ(copied(s, s.m_cfMenuObjectAttribute), referenceBytes(s.m_guidSource, &s.m_stMenuObjectAttribute));
    EXPECT_EQ(s.m_stMenuObjectAttribute.nObjectID, 0x1234u);

    const UINT host = RegisterClipboardFormatW(L"DdHostFormat");
    s.m_fnSetPreferClipboardFormat(host);
    s.unknownBlock = blockOf("host's own");
    EXPECT_EQ(copied(s, host), "host's own");
    s.fnCleanMenuItemData();
}

// Nothing reaches the clipboard when the copy is refused; a block the clipboard refused is freed.
TEST(DragSourcePayload, RefusedCopies) {
    ProbeSource s;
    s.preferText();
    s.allow = FALSE;
    EXPECT_EQ(copied(s, CF_TEXT), "");
    s.allow = TRUE;
    s.succeed = FALSE;
    EXPECT_EQ(copied(s, CF_TEXT), "");
    std::string left;
    ASSERT_TRUE(clipboardBytes(CF_TEXT, left));
    EXPECT_EQ(left, std::string("old", 4));
    EXPECT_EQ(s.calls, std::vector<std::string>{"text"});   // the prepare hook stops the first copy

    // Format 0 (never set) is served by the host's hook, and the clipboard takes no format 0.
    ProbeSource u;
    HGLOBAL block = blockOf("x");
    u.unknownBlock = block;
    CPoint p(0, 0);
    EXPECT_FALSE(u.m_fnCopyDataToClipboard(p));
    EXPECT_EQ(u.calls, std::vector<std::string>{"unknown"});
    EXPECT_EQ(GlobalFlags(block), (UINT)GMEM_INVALID_HANDLE);

    // A clipboard held open elsewhere: the copy fails and frees its block.
    ProbeSource t;
    t.m_fnSetPreferClipboardFormat(RegisterClipboardFormatW(L"DdHostFormat"));
    t.unknownBlock = block = blockOf("y");
    ClipboardHeld held;
    EXPECT_FALSE(t.m_fnCopyDataToClipboard(p));
    EXPECT_EQ(GlobalFlags(block), (UINT)GMEM_INVALID_HANDLE);
}

// A new menu-view preparation first runs the clean-up of the previous one, then fills an emptied
// list; the source's end runs what is left.
TEST(DragSourcePayload, CleanupsRunBeforeRefillAndAtTheEnd) {
    g_itemCleanups = g_attributeCleanups = 0;
    {
        ProbeSource s;
        s.items = {{1, 2}, {3, 4}, {5, 6}};
        s.itemCleanup = itemCleanup;
        s.attributeCleanup = attributeCleanup;
        s.m_fnSetPreferClipboardFormat(s.m_cfMenuView);
        copied(s, s.m_cfMenuView);
        copied(s, s.m_cfMenuView);
        EXPECT_EQ(g_itemCleanups, 1);
        EXPECT_EQ(g_itemsAtCleanup, 3);
        EXPECT_EQ(s.calls, (std::vector<std::string>{"menu:0", "menu:0"}));
        EXPECT_EQ(s.m_listMenuItem.GetCount(), 3);

        // A failed preparation leaves no clean-up and an empty list.
        s.succeed = FALSE;
        copied(s, s.m_cfMenuView);
        EXPECT_EQ(g_itemCleanups, 2);
        EXPECT_EQ(s.m_pfnMenuItemCleanup, nullptr);
        EXPECT_EQ(s.m_listMenuItem.GetCount(), 0);

        s.succeed = TRUE;
        s.m_fnSetPreferClipboardFormat(s.m_cfMenuObjectAttribute);
        copied(s, s.m_cfMenuObjectAttribute);
        copied(s, s.m_cfMenuObjectAttribute);
        EXPECT_EQ(g_attributeCleanups, 1);
        s.m_fnSetPreferClipboardFormat(s.m_cfMenuView);
        copied(s, s.m_cfMenuView);
        EXPECT_EQ(g_itemCleanups, 2);
        s.fnCleanMenuItemData();
        EXPECT_EQ(g_itemCleanups, 3);
        EXPECT_EQ(g_attributeCleanups, 2);
        EXPECT_EQ(s.m_stMenuObjectAttribute.nAttribute, 0xDEADu);
        EXPECT_EQ(s.m_pfnMenuItemCleanup, nullptr);
        EXPECT_EQ(s.m_pfnMenuObjectAttributeCleanup, nullptr);
        EXPECT_EQ(s.m_listMenuItem.GetCount(), 0);
        s.fnCleanMenuItemData();   // nothing left to run
        EXPECT_EQ(g_itemCleanups, 3);
        copied(s, s.m_cfMenuView);
    }
    EXPECT_EQ(g_itemCleanups, 4);
}
