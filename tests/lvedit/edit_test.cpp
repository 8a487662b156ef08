// The in-place edit over a real list view: keys that end it, the outside-click hook with real
// mouse input, one active edit at a time, and bad calls.
#include "lvtest.h"
#include <algorithm>

namespace {
bool removed(HHOOK h) { return h && !UnhookWindowsHookEx(h); }   // gone for good: unhooking again fails

// Buttons worked at a client point. The places clicked lie apart: no press becomes a double click.
bool mouseAt(HWND window, POINT at, std::initializer_list<DWORD> buttons) {
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    std::vector<INPUT> in;
    for (DWORD b : buttons) in.push_back(testutil::mouseInput(b));
    return testutil::send(in);
}

std::vector<WPARAM> g_seen;   // mouse messages a hook installed before the edit's (so run after it) saw
LRESULT CALLBACK recordProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) g_seen.push_back(wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
int seen(WPARAM message) { return (int)std::count(g_seen.begin(), g_seen.end(), message); }
POINT centre(const RECT& rc) { return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }
}  // namespace

// Typing edits; Enter and Escape end the edit, record which it was and focus the list;
// Control+Enter in a multi-line edit is not an end.
TEST(LVEdit, KeysEndTheEditAndRecordEscape) {
    ClipList clips;
    const struct {
        DWORD style;
        WORD held, key;
        bool ends;
        int escape;   // IsEscape after the key; it is set beforehand, as after an earlier Escape
    } cases[] = {{0, 0, VK_RETURN, true, 0}, {0, 0, VK_ESCAPE, true, 1}, {0, VK_CONTROL, VK_RETURN, true, 0},
                 {ES_MULTILINE, 0, VK_RETURN, true, 0}, {ES_MULTILINE, VK_CONTROL, VK_RETURN, false, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " held " << c.held << " key " << c.key);
        EditProbe e;
        ASSERT_TRUE(clips.startEdit(e, 2, c.style));
        ASSERT_TRUE(typeKeys({'B', VK_SPACE, '7'}) && waitFor([&] { return e.text() == L"b 7"; }));
        e.m_bEscape = 1;
        ASSERT_TRUE(c.held ? typeKeys({c.key}, {c.held}) : typeKeys({c.key}));
        // A key typed after it arrives after it: once it shows, the Control+Enter was handled.
        if (!c.ends) ASSERT_TRUE(typeKeys({'Q'}) && waitFor([&] { return e.text().Find(L'q') >= 0; }));
        EXPECT_TRUE(waitFor([&] { return GetFocus() == (c.ends ? clips.list : e.m_hWnd); }));
        EXPECT_EQ(c.escape, e.IsEscape());
        e.fnEndEdit();
    }
}

// A left click outside ends the edit: the focus goes to the list, and neither the list nor a hook
// after the edit's sees the press. Clicks inside, and any while the right button is held on the
// edit, pass on; after the end every click does, and no hook is left.
TEST(LVEdit, OutsideClickIsSwallowedUnlessTheRightButtonIsHeld) {
    ClipList clips;
    const HHOOK recorder = SetWindowsHookExW(WH_MOUSE, recordProc, nullptr, GetCurrentThreadId());
    EditProbe e;
    ASSERT_TRUE(clips.startEdit(e, 1));
    const HHOOK hook = e.g_hHookMouse;
    auto click = [&](HWND window, POINT at, int down) {
        g_seen.clear();
        ASSERT_TRUE(mouseAt(window, at, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}));
        ASSERT_TRUE(waitFor([&] { return seen(WM_LBUTTONUP) == 1; }));
        EXPECT_EQ(down, seen(WM_LBUTTONDOWN));
    };
    CPoint at = e.PosFromChar(4);
    click(e.m_hWnd, {at.x + 1, at.y + 3}, 1);
    EXPECT_TRUE(e.m_hWnd == GetFocus() && MAKELONG(4, 4) == (LONG)e.GetSel());   // the caret went under the pointer

    const POINT inside = {at.x, at.y + 3};
    ASSERT_TRUE(mouseAt(e.m_hWnd, inside, {MOUSEEVENTF_RIGHTDOWN}) && waitFor([&] { return e.fnIsRButtonDown() == 1; }));
    click(clips.list, centre(clips.label(4)), 1);
    EXPECT_TRUE(waitFor([&] { return clips.selected() == 4; }));
    ASSERT_TRUE(mouseAt(e.m_hWnd, inside, {MOUSEEVENTF_RIGHTUP}) && waitFor([&] { return e.fnIsRButtonDown() == 0; }));

    e.SetFocus();
    click(clips.list, centre(clips.label(3)), 0);
    EXPECT_TRUE(clips.list == GetFocus() && clips.selected() == 4);
    e.fnEndEdit();
    EXPECT_TRUE(e.g_hHookMouse == nullptr && e.g_pEdit == nullptr && removed(hook));
    click(clips.list, centre(clips.label(2)), 1);
    EXPECT_TRUE(waitFor([&] { return clips.selected() == 2; }));
    UnhookWindowsHookEx(recorder);
}

// Edits one after another, ended or not, leave one hook while one is active and none after; calls
// out of turn change nothing; whole edits leave no GDI object.
TEST(LVEdit, EditsInTurnAndBadCalls) {
    ClipList clips;
    EditProbe first, second, idle;
    idle.fnStartEdit();   // no window: nothing to edit
    EXPECT_EQ(nullptr, idle.g_hHookMouse);
    ASSERT_TRUE(clips.startEdit(first, 1));
    HHOOK h1 = first.g_hHookMouse;
    first.fnStartEdit();   // twice on one edit
    HHOOK h2 = first.g_hHookMouse;
    EXPECT_TRUE(removed(h1));
    ASSERT_TRUE(clips.startEdit(second, 3));   // the first's hook goes; ending the first changes nothing
    HHOOK h3 = second.g_hHookMouse;
    EXPECT_TRUE(removed(h2));
    first.fnEndEdit();
    idle.fnEndEdit();
    EXPECT_TRUE(second.g_pEdit == &second && second.g_hHookMouse == h3);
    second.fnEndEdit();
    second.fnEndEdit();
    EXPECT_TRUE(removed(h3));
    auto* lost = new EditProbe;   // destroying the object of an active edit takes its hook along
    ASSERT_TRUE(clips.startEdit(*lost, 2));
    HHOOK h4 = lost->g_hHookMouse;
    delete lost;
    EXPECT_TRUE(EditProbe::g_pEdit == nullptr && removed(h4));

    EXPECT_EQ((LRESULT)DLGC_WANTALLKEYS, first.SendMessage(WM_GETDLGCODE));
    LOGFONTW lf = {-13, 0, 0, 0, FW_BOLD};
    wcscpy(lf.lfFaceName, L"Tahoma");
    first.fnSetLOGFONT(&lf);
    const HFONT font = first.m_hFont;
    first.fnSetLOGFONT(nullptr);
    EXPECT_TRUE(first.m_hFont == font && (HFONT)first.SendMessage(WM_GETFONT) == font && first.fnGetLOGFONT().lfHeight == -13);
    EXPECT_EQ(0, testutil::gdiLeakOver(8, [&] {
        EditProbe e;
        if (!clips.startEdit(e, 1)) return;
        e.fnSetLOGFONT(&lf), e.fnSetLOGFONT(&lf);
        e.fnSupportMultipleLang(1);
        e.SendMessage(WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, (LPARAM)0x04190419);
        e.SendMessage(WM_INPUTLANGCHANGE, ANSI_CHARSET, (LPARAM)0x04090409);
        e.fnEndEdit();
        e.fnSetLOGFONT(&lf);   // made after the end: goes with the object
    }));
}
