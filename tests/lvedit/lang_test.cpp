// Keyboard layouts for the font's character set, fonts for the input language, and composition
// results reaching edits that are not Unicode.
#include <gtest/gtest.h>
#include "lvtest.h"
#include "testutil.h"
#include <imm.h>

namespace {
const HKL kUS = (HKL)0x04090409;

// Wine 8 lists the layouts named under the system's layout key after the current one
// (LoadKeyboardLayoutW only answers the current layout, and activating another one fails);
// the private prefix gets them for the test's life.
struct InstalledLayouts {
    std::vector<std::wstring> keys;
    explicit InstalledLayouts(std::initializer_list<const wchar_t*> ids) {
        for (const wchar_t* id : ids) {
            keys.push_back(std::wstring(L"System\\CurrentControlSet\\Control\\Keyboard Layouts\\") + id);
            HKEY key;
            if (!RegCreateKeyExW(HKEY_LOCAL_MACHINE, keys.back().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr))
                RegCloseKey(key);
        }
    }
    ~InstalledLayouts() {
        for (const std::wstring& k : keys) RegDeleteKeyW(HKEY_LOCAL_MACHINE, k.c_str());
    }
};

std::vector<HKL> layoutList() {
    HKL buf[64];
    int n = GetKeyboardLayoutList(64, buf);
    return std::vector<HKL>(buf, buf + (n > 0 ? n : 0));
}

LOGFONTW fontOf(HWND edit) {
    LOGFONTW lf = {};
    GetObjectW((HFONT)SendMessageW(edit, WM_GETFONT, 0, 0), sizeof lf, &lf);
    return lf;
}

// Whether a TrueType face offers the character set (asked of the system, not of the edit).
bool trueTypeOffers(const wchar_t* face, BYTE charset) {
    LOGFONTW want = {};
    want.lfCharSet = charset;
    wcsncpy(want.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &want, [](const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM p) { return *(bool*)p |= type & TRUETYPE_FONTTYPE, 1; },
        (LPARAM)&found, 0);
    ReleaseDC(nullptr, dc);
    return found;
}

class LVEditLang : public ::testing::Test {
protected:
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
TEST_F(LVEditLang, KeyboardLayoutForTheFontsCharacterSet) {
    const BYTE charsets[] = {ANSI_CHARSET,    RUSSIAN_CHARSET,  EASTEUROPE_CHARSET, GREEK_CHARSET,
                             DEFAULT_CHARSET, SHIFTJIS_CHARSET, OEM_CHARSET};
    ASSERT_EQ(1u, layoutList().size());
    for (BYTE cs : charsets) EXPECT_EQ(kUS, e.fnFindHKL(cs)) << (int)cs;

    // Russian and Ukrainian share code page 1251 (the first listed wins), Czech uses 1250, Hindi
    // has no ANSI code page and must not match a character set without one.
    InstalledLayouts more({L"00000405", L"00000419", L"00000422", L"00000439"});
    const std::vector<HKL> listed = layoutList();
    ASSERT_EQ(5u, listed.size()) << "Wine did not list the added layouts";
    const HKL czech = listed[1], russian = listed[2];
    ASSERT_TRUE(listed[0] == kUS && LOWORD((UINT_PTR)czech) == 0x0405 && LOWORD((UINT_PTR)russian) == 0x0419);
    const HKL expected[] = {kUS, russian, czech, kUS, kUS, kUS, kUS};
    for (size_t i = 0; i < sizeof charsets; ++i) EXPECT_EQ(expected[i], e.fnFindHKL(charsets[i])) << (int)charsets[i];
    // Starting an edit asks for its font's layout; Wine cannot activate another, so nothing changes.
    e.fnStartEdit();
    EXPECT_EQ(kUS, GetKeyboardLayout(0));
}

// With multiple-language support on, a new input language brings a TrueType face of its code page
// in the edit's size, weight and style; off, or without such a face, the font stays.
TEST_F(LVEditLang, InputLanguageChangesTheFont) {
    const HFONT ansi = e.m_hFont;
    const HKL start = e.m_hKeyboardLayout, russian = (HKL)0x04190419, greek = (HKL)0x04080408;
    e.SendMessage(WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, (LPARAM)russian);
    EXPECT_TRUE(e.SendMessage(WM_GETFONT) == (LRESULT)ansi && e.m_hKeyboardLayout == start);

    e.fnSupportMultipleLang(1);
    e.SendMessage(WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, (LPARAM)russian);
    EXPECT_TRUE(e.m_hKeyboardLayout == russian && e.m_nFontCodePage == 1251);
    LOGFONTW now = fontOf(e.m_hWnd);
    EXPECT_EQ(RUSSIAN_CHARSET, now.lfCharSet);
    EXPECT_TRUE(now.lfHeight == -15 && now.lfWeight == FW_BOLD && now.lfItalic == 1);
    EXPECT_STREQ(e.fnGetLOGFONT().lfFaceName, now.lfFaceName);
    EXPECT_EQ(0u, GetObjectType(ansi));   // the replaced font was the edit's own
    EXPECT_EQ((LRESULT)e.m_hFont, e.SendMessage(WM_GETFONT));

    // A composition start keeps to the last input language.
    e.m_hKeyboardLayout = greek;
    e.SendMessage(WM_IME_STARTCOMPOSITION);
    EXPECT_TRUE(fontOf(e.m_hWnd).lfCharSet == GREEK_CHARSET && fontOf(e.m_hWnd).lfHeight == -15);
    // Already the right character set: found, nothing to change.
    EXPECT_EQ(0, e.fnFindCorrectFontByIME(greek));

    // No face for a language without an ANSI code page: the font stays, the search record is empty.
    const HFONT before = e.m_hFont;
    e.SendMessage(WM_INPUTLANGCHANGE, DEFAULT_CHARSET, (LPARAM)0x04390439);
    EXPECT_EQ((LRESULT)before, e.SendMessage(WM_GETFONT));
    LOGFONTW empty = {}, record = e.fnGetLOGFONT();
    empty.lfCharSet = DEFAULT_CHARSET;
    EXPECT_EQ(0, memcmp(&empty, &record, sizeof empty));

    // Whatever the language, the face found is a TrueType one of its character set.
    const std::pair<LANGID, BYTE> languages[] = {
        {0x0409, ANSI_CHARSET},  {0x0405, EASTEUROPE_CHARSET}, {0x0419, RUSSIAN_CHARSET}, {0x041F, TURKISH_CHARSET},
        {0x0425, BALTIC_CHARSET}, {0x040D, HEBREW_CHARSET},    {0x0401, ARABIC_CHARSET},  {0x042A, VIETNAMESE_CHARSET}};
    for (const auto& [language, charset] : languages) {
        e.fnFindCorrectFontByIME((HKL)(UINT_PTR)MAKELONG(language, language));
        const LOGFONTW found = e.fnGetLOGFONT();
        if (!found.lfFaceName[0]) continue;   // no face for this one on this system
        EXPECT_EQ(charset, found.lfCharSet) << language;
        EXPECT_TRUE(trueTypeOffers(found.lfFaceName, charset)) << language << " " << found.lfFaceName;
    }
}

// A composition result goes into an edit that is not Unicode through EM_REPLACESEL, once; Unicode
// edits, and every edit without multiple-language support, leave it to the edit class.
TEST_F(LVEditLang, CompositionResultReachesANonUnicodeEdit) {
    EXPECT_EQ(1, e.m_bUnicodeEdit);   // what the system edit class makes here
    const std::wstring result = L"\x0421\x0446\x0435\x043D\x0430 7", typed = L"Take " + result;
    const struct {
        int unicode, multiLang;
        bool ours;
    } cases[] = {{0, 1, true}, {1, 1, false}, {0, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "unicode " << c.unicode << " multi " << c.multiLang);
        e.m_bUnicodeEdit = c.unicode;
        e.fnSupportMultipleLang(c.multiLang);
        e.fnSetText(L"Take ");
        e.SetSel(5, 5);
        e.replaces.clear();
        HIMC imc = ImmGetContext(e.m_hWnd);
        ASSERT_TRUE(ImmSetCompositionStringW(imc, SCS_SETSTR, (void*)result.c_str(), (DWORD)result.size() * 2, nullptr, 0));
        ASSERT_TRUE(ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
        ImmReleaseContext(e.m_hWnd, imc);
        EXPECT_TRUE(waitFor([&] { return e.text() == typed.c_str(); }));
        testutil::pumpMessages(100);   // nothing more follows
        EXPECT_EQ(CString(typed.c_str()), e.text());
        if (!c.ours) {
            EXPECT_TRUE(e.replaces.empty() || e.replaces[0].second != result);
            continue;
        }
        ASSERT_EQ(1u, e.replaces.size());
        EXPECT_TRUE(e.replaces[0].first == 0 && e.replaces[0].second == result);
        // Sent by hand: the result is still in the context; compositions under way are not ours.
        e.SetSel(0, 0);
        EXPECT_EQ(1, e.SendMessage(WM_IME_COMPOSITION, 0, GCS_RESULTSTR));
        e.SendMessage(WM_IME_COMPOSITION, 0, GCS_COMPSTR);
        EXPECT_EQ(CString((result + typed).c_str()), e.text());
        EXPECT_EQ(2u, e.replaces.size());
    }
}
