// The in-place edit over a real list view: keys that end it, the outside-click hook with real
// mouse input, one active edit at a time, and bad calls.
#include <gtest/gtest.h>
#include "lvtest.h"
#include "testutil.h"
#include <commctrl.h>

namespace {
CString textOf(CLVEditEx& e) {
    CString s;
    e.fnGetText(s);
    return s;
}

// Live GDI objects of this process. Wine looks a handle whose high word is 0 up by its table
// index alone, so probing every index counts the live entries (GetGuiResources is a stub there).
int liveGdiObjects() {
    GdiFlush();
    int n = 0;
    for (ULONG_PTR i = 0; i < 0x10000; ++i) n += GetObjectType((HGDIOBJ)i) != 0;
    return n;
}

// The edit's hook is gone for good: unhooking its handle again fails.
bool hookRemoved(HHOOK h) { return h && !UnhookWindowsHookEx(h); }
}  // namespace

// Typing edits the text; Enter and Escape end the edit, record which key it was and hand the
// focus to the list; Control+Enter in a multi-line edit is not an end.
TEST(LVEdit, KeysEndTheEditAndRecordEscape) {
    ClipList clips;
    {
        EditProbe e;
        ASSERT_TRUE(clips.startEdit(e, 1));
        EXPECT_EQ(CString(L"Interview A-cam"), textOf(e));
        ASSERT_TRUE(typeKeys({'B', VK_SPACE, '7'}));
        EXPECT_TRUE(waitFor([&] { return textOf(e) == L"b 7"; })) << textOf(e).GetString();
        EXPECT_EQ(e.m_hWnd, GetFocus());
    }
    const struct {
        DWORD style;
        WORD held, key;
        bool ends;
        int escape;   // IsEscape afterwards; the edit starts with it set, as after an earlier Escape
    } cases[] = {
        {0, 0, VK_RETURN, true, 0},
        {0, 0, VK_ESCAPE, true, 1},
        {0, VK_CONTROL, VK_RETURN, true, 0},
        {ES_MULTILINE, 0, VK_RETURN, true, 0},
        {ES_MULTILINE, VK_CONTROL, VK_RETURN, false, 1},
        {ES_MULTILINE, VK_SHIFT, VK_ESCAPE, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " held " << c.held << " key " << c.key);
        EditProbe e;
        ASSERT_TRUE(clips.startEdit(e, 2, c.style));
        EXPECT_EQ(0, e.IsEscape());   // a new edit forgets the last one's Escape
        e.m_bEscape = 1;
        if (c.held) ASSERT_TRUE(typeKeys({c.key}, {c.held}));
        else ASSERT_TRUE(typeKeys({c.key}));
        if (c.ends) {
            EXPECT_TRUE(waitFor([&] { return GetFocus() == clips.list(); }));
        } else {
            // A key typed after it arrives after it: once it shows, the Control+Enter was handled.
            ASSERT_TRUE(typeKeys({'Q'}));
            EXPECT_TRUE(waitFor([&] { return textOf(e).Find(L'q') >= 0; }));
            EXPECT_EQ(e.m_hWnd, GetFocus());
        }
        EXPECT_EQ(c.escape, e.IsEscape());
        e.fnEndEdit();
    }
}

// A left click outside the edit ends it: the focus goes to the list and the click reaches neither
// the list nor the hooks after the edit's. Clicks inside and every other mouse message pass on.
TEST(LVEdit, OutsideClickIsSwallowedAndMovesTheFocus) {
    ClipList clips;
    HookRecorder rec;
    EditProbe e;
    ASSERT_TRUE(clips.startEdit(e, 1));
    HHOOK hook = e.g_hHookMouse;
    ASSERT_NE(nullptr, hook);
    const POINT onItem3 = centre(clips.labelRect(3));

    // Inside: the edit places the caret under the pointer.
    CPoint at = e.PosFromChar(4);
    ASSERT_TRUE(clickAt(e.m_hWnd, {at.x + 1, at.y + 3}));
    ASSERT_TRUE(waitFor([&] { return rec.count(WM_LBUTTONUP) == 1; }));
    EXPECT_EQ(1, rec.count(WM_LBUTTONDOWN));
    EXPECT_EQ(e.m_hWnd, GetFocus());
    EXPECT_EQ(MAKELONG(4, 4), (LONG)e.GetSel());

    // Outside, on another clip: swallowed, so that clip is not selected.
    rec.clear();
    ASSERT_TRUE(clickAt(clips.list(), onItem3));
    ASSERT_TRUE(waitFor([&] { return rec.count(WM_LBUTTONUP) == 1; }));
    EXPECT_EQ(0, rec.count(WM_LBUTTONDOWN));
    EXPECT_EQ(clips.list(), GetFocus());
    EXPECT_EQ(0, clips.selected());

    // After the end the hook is gone and a click selects the clip under it.
    e.fnEndEdit();
    EXPECT_EQ(nullptr, e.g_hHookMouse);
    EXPECT_EQ(nullptr, e.g_pEdit);
    EXPECT_TRUE(hookRemoved(hook));
    rec.clear();
    ASSERT_TRUE(clickAt(clips.list(), centre(clips.labelRect(4))));
    ASSERT_TRUE(waitFor([&] { return rec.count(WM_LBUTTONUP) == 1; }));
    EXPECT_EQ(1, rec.count(WM_LBUTTONDOWN));
    EXPECT_TRUE(waitFor([&] { return clips.selected() == 4; }));
}

// While the right button is held on the edit, a left click outside is the user's own business.
TEST(LVEdit, RightButtonHeldOnTheEditLetsClicksPass) {
    ClipList clips;
    HookRecorder rec;
    EditProbe e;
    ASSERT_TRUE(clips.startEdit(e, 1));
    RECT client;
    e.GetClientRect(&client);
    ASSERT_TRUE(mouseAt(e.m_hWnd, centre(client), {MOUSEEVENTF_RIGHTDOWN}));
    ASSERT_TRUE(waitFor([&] { return e.fnIsRButtonDown() == 1; }));
    rec.clear();
    ASSERT_TRUE(clickAt(clips.list(), centre(clips.labelRect(4))));
    ASSERT_TRUE(waitFor([&] { return rec.count(WM_LBUTTONUP) == 1; }));
    EXPECT_EQ(1, rec.count(WM_LBUTTONDOWN));
    EXPECT_TRUE(waitFor([&] { return clips.selected() == 4; }));
    // Released on the edit: clicks outside end the edit again.
    ASSERT_TRUE(mouseAt(e.m_hWnd, centre(client), {MOUSEEVENTF_RIGHTUP}));
    ASSERT_TRUE(waitFor([&] { return e.fnIsRButtonDown() == 0; }));
    e.SetFocus();
    rec.clear();
    ASSERT_TRUE(clickAt(clips.list(), centre(clips.labelRect(3))));
    ASSERT_TRUE(waitFor([&] { return rec.count(WM_LBUTTONUP) == 1; }));
    EXPECT_EQ(0, rec.count(WM_LBUTTONDOWN));
    EXPECT_EQ(clips.list(), GetFocus());
    EXPECT_EQ(4, clips.selected());
    e.fnEndEdit();
}

// Edits one after another, ended or not, leave exactly one hook while one is active and none after.
TEST(LVEdit, EditsInTurnNeverLeaveAHook) {
    ClipList clips;
    for (int item : {0, 2}) {
        EditProbe a;
        ASSERT_TRUE(clips.startEdit(a, item));
        HHOOK h = a.g_hHookMouse;
        a.fnEndEdit();
        EXPECT_TRUE(hookRemoved(h)) << item;
    }
    // The host starts a second edit without ending the first: the first one's hook goes at once,
    // and ending the first later changes nothing.
    EditProbe first, second;
    ASSERT_TRUE(clips.startEdit(first, 1));
    HHOOK firstHook = first.g_hHookMouse;
    first.fnStartEdit();   // twice on one edit: still one hook
    HHOOK again = first.g_hHookMouse;
    EXPECT_TRUE(hookRemoved(firstHook));
    ASSERT_TRUE(clips.startEdit(second, 3));
    HHOOK secondHook = second.g_hHookMouse;
    EXPECT_TRUE(hookRemoved(again));
    first.fnEndEdit();
    EXPECT_EQ(&second, second.g_pEdit);
    EXPECT_EQ(secondHook, second.g_hHookMouse);
    {
        HookRecorder rec;   // installed after the edit's hook: sees everything first
        HookRecorder::seen.clear();
        ASSERT_TRUE(clickAt(clips.list(), centre(clips.labelRect(4))));
        ASSERT_TRUE(waitFor([&] { return rec.count(WM_LBUTTONUP) == 1; }));
        EXPECT_EQ(clips.list(), GetFocus());   // the second edit's hook ended it
        EXPECT_EQ(0, clips.selected());
    }
    second.fnEndEdit();
    EXPECT_TRUE(hookRemoved(secondHook));
    // Destroying an object whose edit is still active takes its hook along.
    auto* lost = new EditProbe;
    ASSERT_TRUE(clips.startEdit(*lost, 2));
    HHOOK lostHook = lost->g_hHookMouse;
    delete lost;
    EXPECT_EQ(nullptr, EditProbe::g_pEdit);
    EXPECT_TRUE(hookRemoved(lostHook));
}

// Calls out of turn and empty texts change nothing and leave no font or hook behind.
TEST(LVEdit, BadCallsChangeNothing) {
    ClipList clips;
    EditProbe idle;
    idle.fnStartEdit();   // no window yet: nothing to edit
    EXPECT_EQ(nullptr, idle.g_hHookMouse);
    EXPECT_EQ(nullptr, idle.g_pEdit);
    CRect rc(0, 0, 80, 20);
    ASSERT_TRUE(idle.Create(WS_CHILD | ES_AUTOHSCROLL, rc, CWnd::FromHandle(clips.list()), 5));
    EXPECT_EQ((LRESULT)DLGC_WANTALLKEYS, idle.SendMessage(WM_GETDLGCODE));
    LOGFONTW lf = {};
    lf.lfHeight = -13;
    lf.lfWeight = FW_BOLD;
    wcscpy(lf.lfFaceName, L"Tahoma");
    idle.fnSetLOGFONT(&lf);
    HFONT font = idle.m_hFont;
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(font, (HFONT)idle.SendMessage(WM_GETFONT));
    idle.fnSetLOGFONT(nullptr);
    EXPECT_EQ(font, idle.m_hFont);
    EXPECT_EQ(-13, idle.fnGetLOGFONT().lfHeight);

    // Ending an edit that is not active: neither its font nor the active edit is touched.
    idle.fnEndEdit();
    EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(font));
    EditProbe active;
    ASSERT_TRUE(clips.startEdit(active, 0));
    HHOOK hook = active.g_hHookMouse;
    idle.fnEndEdit();
    EXPECT_EQ(&active, active.g_pEdit);
    EXPECT_EQ(hook, active.g_hHookMouse);
    EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(font));

    // Empty texts, in and out, and an edit of an empty name ended with Enter.
    active.fnSetText(CString());
    EXPECT_TRUE(textOf(active).IsEmpty());
    active.fnSetText(L"");
    EXPECT_TRUE(textOf(active).IsEmpty());
    ASSERT_TRUE(typeKeys({VK_RETURN}));
    EXPECT_TRUE(waitFor([&] { return GetFocus() == clips.list(); }));
    EXPECT_EQ(0, active.IsEscape());
    active.fnEndEdit();
    active.fnEndEdit();   // twice
    EXPECT_TRUE(hookRemoved(hook));

    // Whole edits with fonts, language changes and the end, repeated: no GDI object stays.
    auto cycle = [&] {
        EditProbe e;
        if (!clips.startEdit(e, 1)) return;
        e.fnSetLOGFONT(&lf);
        e.fnSetLOGFONT(&lf);
        e.fnSupportMultipleLang(1);
        e.SendMessage(WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, (LPARAM)0x04190419);
        e.SendMessage(WM_INPUTLANGCHANGE, ANSI_CHARSET, (LPARAM)0x04090409);
        e.fnEndEdit();
        e.fnSetLOGFONT(&lf);   // a font made after the end goes with the object
    };
    cycle();
    int before = liveGdiObjects();
    for (int i = 0; i < 8; ++i) cycle();
    EXPECT_EQ(before, liveGdiObjects());
}
