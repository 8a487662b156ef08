// Keyboard layouts for the font's character set, fonts for the input language, and composition
// results reaching edits that are not Unicode.
#include <gtest/gtest.h>
#include "lvtest.h"
#include "testutil.h"
#include <imm.h>

namespace {
const HKL kUS = (HKL)0x04090409;
const wchar_t kLayoutsKey[] = L"System\\CurrentControlSet\\Control\\Keyboard Layouts";

// Wine 8 lists the layouts named under the system's layout key after the current one
// (LoadKeyboardLayoutW only answers the current layout, and activating another one fails);
// the private prefix gets them for the test's life.
struct InstalledLayouts {
    std::vector<std::wstring> ids;
    explicit InstalledLayouts(std::vector<std::wstring> klids) : ids(std::move(klids)) {
        for (const std::wstring& id : ids) {
            HKEY key;
            if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kLayoutsKey) + L"\\" + id).c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
                RegCloseKey(key);
        }
    }
    ~InstalledLayouts() {
        for (const std::wstring& id : ids) RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kLayoutsKey) + L"\\" + id).c_str());
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
        dc, &want,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM p) -> int {
            if (type & TRUETYPE_FONTTYPE) *(bool*)p = true;
            return 1;
        },
        (LPARAM)&found, 0);
    ReleaseDC(nullptr, dc);
    return found;
}

class LVEditLang : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(clips.startEdit(e, 1));
        LOGFONTW lf = {};
        lf.lfHeight = -15;
        lf.lfWeight = FW_BOLD;
        lf.lfItalic = 1;
        lf.lfCharSet = ANSI_CHARSET;
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
    ASSERT_EQ(kUS, GetKeyboardLayout(0));
    const BYTE charsets[] = {ANSI_CHARSET, RUSSIAN_CHARSET, EASTEUROPE_CHARSET, GREEK_CHARSET, DEFAULT_CHARSET,
                             SHIFTJIS_CHARSET, OEM_CHARSET};
    // One layout: every character set keeps it.
    ASSERT_EQ(1u, layoutList().size());
    for (BYTE cs : charsets) EXPECT_EQ(kUS, e.fnFindHKL(cs)) << (int)cs;

    // Russian and Ukrainian share code page 1251 (the first listed wins), Czech uses 1250,
    // Hindi has no ANSI code page at all and must not match a character set without one.
    InstalledLayouts more({L"00000405", L"00000419", L"00000422", L"00000439"});
    const std::vector<HKL> listed = layoutList();
    ASSERT_EQ(5u, listed.size()) << "Wine did not list the added layouts";
    ASSERT_EQ(kUS, listed[0]);
    const HKL czech = listed[1], russian = listed[2];
    EXPECT_EQ(0x0405u, LOWORD((UINT_PTR)czech));
    EXPECT_EQ(0x0419u, LOWORD((UINT_PTR)russian));
    const HKL expected[] = {kUS, russian, czech, kUS, kUS, kUS, kUS};
    for (size_t i = 0; i < sizeof charsets; ++i) EXPECT_EQ(expected[i], e.fnFindHKL(charsets[i])) << (int)charsets[i];

    // Starting an edit asks for the layout of its font; Wine cannot activate another one, so the
    // current layout stays and nothing fails.
    e.fnEndEdit();
    e.fnStartEdit();
    EXPECT_EQ(kUS, GetKeyboardLayout(0));
}

// With multiple-language support on, a new input language brings a TrueType face of its code page
// in the edit's size and weight; off, or without such a face, the font stays.
TEST_F(LVEditLang, InputLanguageChangesTheFont) {
    const HFONT ansi = e.m_hFont;
    const HKL start = e.m_hKeyboardLayout;
    const HKL russian = (HKL)0x04190419, greek = (HKL)0x04080408, hindi = (HKL)0x04390439;
    e.SendMessage(WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, (LPARAM)russian);
    EXPECT_EQ(ansi, (HFONT)e.SendMessage(WM_GETFONT));
    EXPECT_EQ(start, e.m_hKeyboardLayout);

    e.fnSupportMultipleLang(1);
    e.SendMessage(WM_INPUTLANGCHANGE, RUSSIAN_CHARSET, (LPARAM)russian);
    EXPECT_EQ(russian, e.m_hKeyboardLayout);
    EXPECT_EQ(1251u, e.m_nFontCodePage);
    LOGFONTW now = fontOf(e.m_hWnd);
    EXPECT_EQ(RUSSIAN_CHARSET, now.lfCharSet);
    EXPECT_EQ(-15, now.lfHeight);
    EXPECT_EQ(FW_BOLD, now.lfWeight);
    EXPECT_EQ(1, now.lfItalic);
    EXPECT_STREQ(e.fnGetLOGFONT().lfFaceName, now.lfFaceName);
    EXPECT_EQ(RUSSIAN_CHARSET, e.fnGetLOGFONT().lfCharSet);
    EXPECT_TRUE(trueTypeOffers(now.lfFaceName, RUSSIAN_CHARSET)) << now.lfFaceName;
    EXPECT_EQ(0u, GetObjectType(ansi));   // the replaced font was the edit's own
    EXPECT_EQ(e.m_hFont, (HFONT)e.SendMessage(WM_GETFONT));

    // A composition starting keeps to the last input language: the font already suits it.
    HFONT cyrillic = e.m_hFont;
    e.SendMessage(WM_IME_STARTCOMPOSITION);
    EXPECT_EQ(cyrillic, (HFONT)e.SendMessage(WM_GETFONT));
    e.m_hKeyboardLayout = greek;
    e.SendMessage(WM_IME_STARTCOMPOSITION);
    EXPECT_EQ(GREEK_CHARSET, fontOf(e.m_hWnd).lfCharSet);
    EXPECT_EQ(-15, fontOf(e.m_hWnd).lfHeight);

    // No TrueType face for a language without an ANSI code page: the font stays, and the search
    // record is left empty.
    HFONT before = e.m_hFont;
    e.SendMessage(WM_INPUTLANGCHANGE, DEFAULT_CHARSET, (LPARAM)hindi);
    EXPECT_EQ(before, (HFONT)e.SendMessage(WM_GETFONT));
    LOGFONTW empty = {};
    empty.lfCharSet = DEFAULT_CHARSET;
    LOGFONTW record = e.fnGetLOGFONT();
    EXPECT_EQ(0, memcmp(&empty, &record, sizeof empty));
    EXPECT_EQ(0, e.fnFindCorrectFontByIME(hindi));
    // The same character set as the font in use: found, but nothing to change.
    EXPECT_EQ(0, e.fnFindCorrectFontByIME(greek));
    EXPECT_EQ(GREEK_CHARSET, e.fnGetLOGFONT().lfCharSet);
    EXPECT_EQ(1, e.fnFindCorrectFontByIME(kUS));
    EXPECT_EQ(ANSI_CHARSET, fontOf(e.m_hWnd).lfCharSet);

    // Whatever the language, the face found is a TrueType one of its character set.
    const struct {
        LANGID language;
        BYTE charset;
    } languages[] = {{0x0409, ANSI_CHARSET},       {0x0405, EASTEUROPE_CHARSET}, {0x0419, RUSSIAN_CHARSET},
                     {0x0408, GREEK_CHARSET},      {0x041F, TURKISH_CHARSET},    {0x0425, BALTIC_CHARSET},
                     {0x040D, HEBREW_CHARSET},     {0x0401, ARABIC_CHARSET},     {0x042A, VIETNAMESE_CHARSET}};
    for (const auto& l : languages) {
        e.fnFindCorrectFontByIME((HKL)(UINT_PTR)MAKELONG(l.language, l.language));
        const LOGFONTW found = e.fnGetLOGFONT();
        if (!found.lfFaceName[0]) continue;   // no face for this one on this system
        EXPECT_EQ(l.charset, found.lfCharSet) << l.language;
        EXPECT_TRUE(trueTypeOffers(found.lfFaceName, l.charset)) << l.language << " " << found.lfFaceName;
    }
}

// A composition result goes into an edit that is not Unicode through EM_REPLACESEL, once;
// Unicode edits, and every edit without multiple-language support, leave it to the edit class.
TEST_F(LVEditLang, CompositionResultReachesANonUnicodeEdit) {
    EXPECT_EQ(1, e.m_bUnicodeEdit);   // what the system edit class makes here
    const std::wstring result = L"\x0421\x0446\x0435\x043D\x0430 7";   // "Сцена 7"
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
        ASSERT_NE(nullptr, imc);
        ASSERT_TRUE(ImmSetCompositionStringW(imc, SCS_SETSTR, (void*)result.c_str(), (DWORD)(result.size() * 2),
                                             nullptr, 0));
        ASSERT_TRUE(ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
        ImmReleaseContext(e.m_hWnd, imc);
        EXPECT_TRUE(waitFor([&] {
            CString s;
            e.fnGetText(s);
            return s == (L"Take " + result).c_str();
        }));
        settle();   // nothing more follows
        CString text;
        e.fnGetText(text);
        EXPECT_EQ(CString((L"Take " + result).c_str()), text);
        if (c.ours) {
            ASSERT_EQ(1u, e.replaces.size());
            EXPECT_EQ(0u, e.replaces[0].undo);
            EXPECT_EQ(result, e.replaces[0].text);
            // The message again, sent by hand: the result is still in the context.
            e.SetSel(0, 0);
            EXPECT_EQ(1, e.SendMessage(WM_IME_COMPOSITION, 0, GCS_RESULTSTR));
            e.fnGetText(text);
            EXPECT_EQ(CString((result + L"Take " + result).c_str()), text);
            // Only results are inserted here.
            EXPECT_EQ(2u, e.replaces.size());
            e.SendMessage(WM_IME_COMPOSITION, 0, GCS_COMPSTR);
            EXPECT_EQ(2u, e.replaces.size());
        } else {
            for (const auto& r : e.replaces) EXPECT_NE(result, r.text);
        }
    }
}
