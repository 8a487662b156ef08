// The in-place edit over a real list view: keys that end it, the outside-click hook with real
// mouse input, one active edit at a time, and bad calls.
#include <gtest/gtest.h>
#include "lvtest.h"
#include "testutil.h"

namespace {
// Live GDI objects. Wine finds a handle whose high word is 0 by its table index alone, so probing
// every index counts the live entries (GetGuiResources is a stub there).
int liveGdiObjects() {
    GdiFlush();
    int n = 0;
    for (ULONG_PTR i = 0; i < 0x10000; ++i) n += GetObjectType((HGDIOBJ)i) != 0;
    return n;
}

// The hook is gone for good: unhooking it again fails.
bool removed(HHOOK h) { return h && !UnhookWindowsHookEx(h); }
}  // namespace

// Typing edits; Enter and Escape end the edit, record which it was and focus the list;
// Control+Enter in a multi-line edit is not an end.
TEST(LVEdit, KeysEndTheEditAndRecordEscape) {
    ClipList clips;
    {
        EditProbe e;
        ASSERT_TRUE(clips.startEdit(e, 1));
        ASSERT_TRUE(typeKeys({'B', VK_SPACE, '7'}));
        EXPECT_TRUE(waitFor([&] { return e.text() == L"b 7"; })) << e.text().GetString();
    }
    const struct {
        DWORD style;
        WORD held, key;
        bool ends;
        int escape;   // IsEscape after the key; it is set beforehand, as after an earlier Escape
    } cases[] = {{0, 0, VK_RETURN, true, 0},         {0, 0, VK_ESCAPE, true, 1},
                 {0, VK_CONTROL, VK_RETURN, true, 0}, {ES_MULTILINE, 0, VK_RETURN, true, 0},
                 {ES_MULTILINE, VK_CONTROL, VK_RETURN, false, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " held " << c.held << " key " << c.key);
        EditProbe e;
        ASSERT_TRUE(clips.startEdit(e, 2, c.style));
        EXPECT_EQ(0, e.IsEscape());
        e.m_bEscape = 1;
        ASSERT_TRUE(c.held ? typeKeys({c.key}, {c.held}) : typeKeys({c.key}));
        // A key typed after it arrives after it: once it shows, the Control+Enter was handled.
        if (!c.ends) {
            ASSERT_TRUE(typeKeys({'Q'}) && waitFor([&] { return e.text().Find(L'q') >= 0; }));
        }
        EXPECT_TRUE(waitFor([&] { return GetFocus() == (c.ends ? clips.list : e.m_hWnd); }));
        EXPECT_EQ(c.escape, e.IsEscape());
        e.fnEndEdit();
    }
}

// A left click outside ends the edit: the focus goes to the list, and neither the list nor a hook
// after the edit's sees the press. Clicks inside, and any while the right button is held on the
// edit, pass on; after the end every click does.
TEST(LVEdit, OutsideClickIsSwallowedUnlessTheRightButtonIsHeld) {
    ClipList clips;
    HookRecorder rec;
    EditProbe e;
    ASSERT_TRUE(clips.startEdit(e, 1));
    const HHOOK hook = e.g_hHookMouse;
    auto click = [&](HWND window, POINT at, int down) {
        HookRecorder::seen.clear();
        ASSERT_TRUE(mouseAt(window, at, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}));
        ASSERT_TRUE(waitFor([&] { return rec.count(WM_LBUTTONUP) == 1; }));
        EXPECT_EQ(down, rec.count(WM_LBUTTONDOWN));
    };
    CPoint at = e.PosFromChar(4);
    click(e.m_hWnd, {at.x + 1, at.y + 3}, 1);
    EXPECT_EQ(e.m_hWnd, GetFocus());
    EXPECT_EQ(MAKELONG(4, 4), (LONG)e.GetSel());   // the edit placed the caret under the pointer

    const POINT centre = {at.x, at.y + 3};
    ASSERT_TRUE(mouseAt(e.m_hWnd, centre, {MOUSEEVENTF_RIGHTDOWN}));
    ASSERT_TRUE(waitFor([&] { return e.fnIsRButtonDown() == 1; }));
    click(clips.list, clips.centreOf(4), 1);
    EXPECT_TRUE(waitFor([&] { return clips.selected() == 4; }));
    ASSERT_TRUE(mouseAt(e.m_hWnd, centre, {MOUSEEVENTF_RIGHTUP}));
    ASSERT_TRUE(waitFor([&] { return e.fnIsRButtonDown() == 0; }));

    e.SetFocus();
    click(clips.list, clips.centreOf(3), 0);
    EXPECT_EQ(clips.list, GetFocus());
    EXPECT_EQ(4, clips.selected());

    e.fnEndEdit();
    EXPECT_TRUE(e.g_hHookMouse == nullptr && e.g_pEdit == nullptr && removed(hook));
    click(clips.list, clips.centreOf(2), 1);
    EXPECT_TRUE(waitFor([&] { return clips.selected() == 2; }));
}

// Edits one after another, ended or not, leave one hook while one is active and none after.
TEST(LVEdit, EditsInTurnNeverLeaveAHook) {
    ClipList clips;
    EditProbe first, second;
    ASSERT_TRUE(clips.startEdit(first, 1));
    HHOOK h1 = first.g_hHookMouse;
    first.fnStartEdit();   // twice on one edit
    HHOOK h2 = first.g_hHookMouse;
    EXPECT_TRUE(removed(h1));
    // A second edit while the first is active: the first's hook goes, and ending the first later
    // changes nothing.
    ASSERT_TRUE(clips.startEdit(second, 3));
    HHOOK h3 = second.g_hHookMouse;
    EXPECT_TRUE(removed(h2));
    first.fnEndEdit();
    EXPECT_TRUE(second.g_pEdit == &second && second.g_hHookMouse == h3);
    second.fnEndEdit();
    EXPECT_TRUE(removed(h3));
    // Destroying the object of an active edit takes its hook along.
    auto* lost = new EditProbe;
    ASSERT_TRUE(clips.startEdit(*lost, 2));
    HHOOK h4 = lost->g_hHookMouse;
    delete lost;
    EXPECT_TRUE(EditProbe::g_pEdit == nullptr && removed(h4));
}

// Calls out of turn and empty texts change nothing and leave no font or hook behind.
TEST(LVEdit, BadCallsChangeNothing) {
    ClipList clips;
    EditProbe idle;
    idle.fnStartEdit();   // no window: nothing to edit
    EXPECT_EQ(nullptr, idle.g_hHookMouse);
    ASSERT_TRUE(idle.Create(WS_CHILD, CRect(0, 0, 80, 20), CWnd::FromHandle(clips.list), 5));
    EXPECT_EQ((LRESULT)DLGC_WANTALLKEYS, idle.SendMessage(WM_GETDLGCODE));
    LOGFONTW lf = {-13, 0, 0, 0, FW_BOLD};
    wcscpy(lf.lfFaceName, L"Tahoma");
    idle.fnSetLOGFONT(&lf);
    const HFONT font = idle.m_hFont;
    EXPECT_EQ(font, (HFONT)idle.SendMessage(WM_GETFONT));
    idle.fnSetLOGFONT(nullptr);
    EXPECT_TRUE(idle.m_hFont == font && idle.fnGetLOGFONT().lfHeight == -13);

    // Ending an edit that is not the active one touches neither its font nor the active edit.
    EditProbe active;
    ASSERT_TRUE(clips.startEdit(active, 0));
    HHOOK hook = active.g_hHookMouse;
    idle.fnEndEdit();
    EXPECT_TRUE(active.g_pEdit == &active && active.g_hHookMouse == hook);
    EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(font));

    // An empty name, ended with Enter; the end twice.
    active.fnSetText(L"");
    EXPECT_TRUE(active.text().IsEmpty());
    ASSERT_TRUE(typeKeys({VK_RETURN}));
    EXPECT_TRUE(waitFor([&] { return GetFocus() == clips.list; }));
    EXPECT_EQ(0, active.IsEscape());
    active.fnEndEdit();
    active.fnEndEdit();
    EXPECT_TRUE(removed(hook));

    // Whole edits with fonts and language changes, repeated: no GDI object stays.
    auto cycle = [&] {
        EditProbe e;
        if (!clips.startEdit(e, 1)) return;
        e.fnSetLOGFONT(&lf);
        e.fnSetLOGFONT(&lf);
        e.fnSupportMultipleLang(1);
        e.SendMessage(WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, (LPARAM)0x04190419);
        e.SendMessage(WM_INPUTLANGCHANGE, ANSI_CHARSET, (LPARAM)0x04090409);
        e.fnEndEdit();
        e.fnSetLOGFONT(&lf);   // made after the end: goes with the object
    };
    cycle();
    int before = liveGdiObjects();
    for (int i = 0; i < 8; ++i) cycle();
    EXPECT_EQ(before, liveGdiObjects());
}
