// The in-place edit over a real list view: keys that end it, the outside-click hook with real
// mouse input, one active edit at a time, bad calls; keyboard layouts for the font's character set,
// fonts for the input language, and composition results reaching edits that are not Unicode.
#include "lvtest.h"
#include <algorithm>
#include <imm.h>

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
const HKL kUS = (HKL)0x04090409;

LOGFONTW fontOf(HWND edit) {
    LOGFONTW lf = {};
    GetObjectW((HFONT)SendMessageW(edit, WM_GETFONT, 0, 0), sizeof lf, &lf);
    return lf;
}
}  // namespace

// Typing edits; Enter and Escape end the edit, record which it was and focus the list;
// Control+Enter in a multi-line edit is not an end.
TEST(LVEdit, KeysEndTheEditAndRecordEscape) {
    ClipList clips;
    // IsEscape after the key is `escape`; it is set beforehand, as after an earlier Escape.
    const struct { DWORD style; WORD held, key; bool ends; int escape; } cases[] = {{0, 0, VK_RETURN, true, 0}, {0, 0, VK_ESCAPE, true, 1}, {0, VK_CONTROL, VK_RETURN, true, 0},
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
    first.fnSetLOGFONT(nullptr);
    EXPECT_TRUE((HFONT)first.SendMessage(WM_GETFONT) == first.m_hFont && first.fnGetLOGFONT().lfHeight == -13);
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

namespace {
struct LVEditLang : public ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(clips.startEdit(e, 1));
        LOGFONTW lf = {-15, 0, 0, 0, FW_BOLD, 1, 0, 0, ANSI_CHARSET};
        wcscpy(lf.lfFaceName, L"Tahoma");
        e.fnSetLOGFONT(&lf);
    }
    // Wine's default handling of a language change switches the thread's layout: put it back.
    void TearDown() override {
        e.fnEndEdit();
        if (GetKeyboardLayout(0) != kUS) DefWindowProcW(e.m_hWnd, WM_INPUTLANGCHANGE, ANSI_CHARSET, (LPARAM)kUS);
        ASSERT_EQ(kUS, GetKeyboardLayout(0));
    }
    ClipList clips;
    EditProbe e;
};
}  // namespace

// The first listed layout whose language uses the character set's code page; else the current one.
// Wine 8 lists the layouts named under the system's layout key after the current one (and cannot
// activate them): Czech (1250), Russian and Ukrainian (both 1251), Hindi (no ANSI code page).
TEST_F(LVEditLang, KeyboardLayoutForTheFontsCharacterSet) {
    const std::wstring root = L"System\\CurrentControlSet\\Control\\Keyboard Layouts\\";
    const wchar_t* ids[] = {L"00000405", L"00000419", L"00000422", L"00000439"};
    const BYTE charsets[] = {ANSI_CHARSET, RUSSIAN_CHARSET, EASTEUROPE_CHARSET, GREEK_CHARSET, DEFAULT_CHARSET, OEM_CHARSET};
    HKEY key;
    for (const wchar_t* id : ids)
        if (!RegCreateKeyW(HKEY_LOCAL_MACHINE, (root + id).c_str(), &key)) RegCloseKey(key);
    HKL listed[8], found[6];
    const int n = GetKeyboardLayoutList(8, listed);
    for (int i = 0; i < 6; ++i) found[i] = e.fnFindHKL(charsets[i]);
    for (const wchar_t* id : ids) RegDeleteKeyW(HKEY_LOCAL_MACHINE, (root + id).c_str());
    ASSERT_TRUE(n == 5 && listed[0] == kUS && LOWORD((UINT_PTR)listed[1]) == 0x0405 && LOWORD((UINT_PTR)listed[2]) == 0x0419);
    const HKL expected[] = {kUS, listed[2], listed[1], kUS, kUS, kUS};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(expected[i], found[i]) << (int)charsets[i];
}

// With multiple-language support on, a new input language brings a TrueType face of its code page
// in the edit's size, weight and style; off, or without such a face, the font stays.
TEST_F(LVEditLang, InputLanguageChangesTheFont) {
    const HFONT ansi = e.m_hFont;
    const HKL start = e.m_hKeyboardLayout, russian = (HKL)0x04190419;
    e.SendMessage(WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, (LPARAM)russian);
    EXPECT_TRUE(e.SendMessage(WM_GETFONT) == (LRESULT)ansi && e.m_hKeyboardLayout == start);
    e.fnSupportMultipleLang(1);
    e.SendMessage(WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, (LPARAM)russian);
    EXPECT_TRUE(e.m_hKeyboardLayout == russian && e.m_nFontCodePage == 1251);
    LOGFONTW now = fontOf(e.m_hWnd);
    EXPECT_TRUE(now.lfCharSet == RUSSIAN_CHARSET && now.lfHeight == -15 && now.lfWeight == FW_BOLD && now.lfItalic == 1);
    EXPECT_STREQ(e.fnGetLOGFONT().lfFaceName, now.lfFaceName);
    EXPECT_TRUE(GetObjectType(ansi) == 0 && e.SendMessage(WM_GETFONT) == (LRESULT)e.m_hFont);   // the old one was ours
    e.m_hKeyboardLayout = (HKL)0x04080408;   // a composition start keeps to the last input language
    e.SendMessage(WM_IME_STARTCOMPOSITION);
    EXPECT_EQ(GREEK_CHARSET, fontOf(e.m_hWnd).lfCharSet);
    // No face for a language without an ANSI code page: the font stays, the search record is empty.
    const HFONT before = e.m_hFont;
    e.SendMessage(WM_INPUTLANGCHANGE, DEFAULT_CHARSET, (LPARAM)0x04390439);
    LOGFONTW empty = {}, record = e.fnGetLOGFONT();
    empty.lfCharSet = DEFAULT_CHARSET;
    EXPECT_TRUE(e.SendMessage(WM_GETFONT) == (LRESULT)before && !memcmp(&empty, &record, sizeof empty));
}

// A composition result goes into an edit that is not Unicode through EM_REPLACESEL, once; Unicode
// edits, and every edit without multiple-language support, leave it to the edit class.
TEST_F(LVEditLang, CompositionResultReachesANonUnicodeEdit) {
    EXPECT_EQ(1, e.m_bUnicodeEdit);   // what the system edit class makes here
    const std::wstring result = L"\x0421\x0446\x0435\x043D\x0430 7", typed = L"Take " + result;
    for (int unicode : {0, 1})
        for (int multiLang : {1, 0}) {
            const bool ours = !unicode && multiLang;
            e.m_bUnicodeEdit = unicode;
            e.fnSupportMultipleLang(multiLang);
            e.fnSetText(L"Take ");
            e.SetSel(5, 5);
            e.replaces.clear();
            HIMC imc = ImmGetContext(e.m_hWnd);
            ASSERT_TRUE(ImmSetCompositionStringW(imc, SCS_SETSTR, (void*)result.c_str(), (DWORD)result.size() * 2, nullptr, 0));
            ASSERT_TRUE(ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
            ImmReleaseContext(e.m_hWnd, imc);
            EXPECT_TRUE(waitFor([&] { return e.text() == typed.c_str(); }));
            testutil::pumpMessages(100);   // nothing more follows
            EXPECT_EQ(CString(typed.c_str()), e.text()) << unicode << multiLang;
            if (ours) EXPECT_TRUE(e.replaces.size() == 1 && e.replaces[0].first == 0 && e.replaces[0].second == result);
            else EXPECT_TRUE(e.replaces.empty() || e.replaces[0].second != result);
        }
}
