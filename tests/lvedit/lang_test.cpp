// Keyboard layouts for the font's character set, fonts for the input language, and composition
// results reaching edits that are not Unicode.
#include "lvtest.h"
#include <imm.h>

namespace {
const HKL kUS = (HKL)0x04090409;

LOGFONTW fontOf(HWND edit) {
    LOGFONTW lf = {};
    GetObjectW((HFONT)SendMessageW(edit, WM_GETFONT, 0, 0), sizeof lf, &lf);
    return lf;
}

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
    EXPECT_TRUE(fontOf(e.m_hWnd).lfCharSet == GREEK_CHARSET && fontOf(e.m_hWnd).lfHeight == -15);
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
            if (!ours) {
                EXPECT_TRUE(e.replaces.empty() || e.replaces[0].second != result);
                continue;
            }
            ASSERT_EQ(1u, e.replaces.size());
            EXPECT_TRUE(e.replaces[0].first == 0 && e.replaces[0].second == result);
            // Sent by hand: the result is still in the context; compositions under way are not ours.
            e.SetSel(0, 0);
            EXPECT_EQ(1, e.SendMessage(WM_IME_COMPOSITION, 0, GCS_RESULTSTR));
            e.SendMessage(WM_IME_COMPOSITION, 0, GCS_COMPSTR);
            EXPECT_TRUE(e.text() == (result + typed).c_str() && e.replaces.size() == 2u);
        }
}
