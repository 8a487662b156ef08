// The shared default font: sources of its description, holders and derived fonts.
#include <gtest/gtest.h>
#include "qCutCFFont.h"
#include "testutil.h"
#include <string>

namespace {
std::wstring fontSettings() { return testutil::libraryDir() + L"XML\\LoomDB\\CutCFDB.ini"; }

// Each test starts and ends with no holder and no settings file.
class DefaultFont : public testing::Test {
protected:
    void SetUp() override {
        DeleteFileW(fontSettings().c_str());
        ASSERT_EQ(0u, CCutCFFont::sm_nRefCount);
    }
    void TearDown() override { DeleteFileW(fontSettings().c_str()); }
};

LOGFONTW fontOf(HFONT f) {
    LOGFONTW lf = {};
    GetObjectW(f, sizeof(lf), &lf);
    return lf;
}
}  // namespace

// Without a settings file the string table describes it (16 pixels: 8 points at most); fonts
// derived from it do not hold it.
TEST_F(DefaultFont, StringTableDescriptionAndDerivedFonts) {
    CCutCFFont holder;
    ASSERT_NE(nullptr, holder.fnGetDefaultFont());
    EXPECT_STREQ(L"MS Sans Serif", holder.fnGetDefaultFontName());
    EXPECT_EQ(16, holder.fnGetDefaultFontHeight());
    const LOGFONTW& lf = CCutCFFont::sm_dsLogFont;
    EXPECT_TRUE(lf.lfWeight == 400 && lf.lfCharSet == 1 && lf.lfPitchAndFamily == 0x22 && !lf.lfItalic);
    EXPECT_EQ(16, fontOf(holder.fnGetDefaultFont()).lfHeight);
    EXPECT_EQ(8, holder.fnGetDefaultPointSize());   // (16 - leading) * 72 / 96 is 9 or more at 96 dpi

    HFONT bold = CCutCFFont::CreateFontW(0, 0, 0, 1, nullptr), styled = CCutCFFont::CreateFontW(20, 1, 1, 0, L"Arial");
    LOGFONTW b = fontOf(bold), st = fontOf(styled);
    EXPECT_TRUE(b.lfHeight == 16 && b.lfWeight == 700 && !wcscmp(b.lfFaceName, L"MS Sans Serif"));
    EXPECT_TRUE(st.lfHeight == 20 && st.lfUnderline && st.lfItalic && st.lfWeight == 400 && !wcscmp(st.lfFaceName, L"Arial"));
    DeleteObject(bold);
    DeleteObject(styled);
    EXPECT_EQ(1u, CCutCFFont::sm_nRefCount);
}

// The settings file overrides face and size, read again once the last holder has gone; a size that
// is not a number gives 0, a missing face falls back to the string table; 3 pixels give 3 points.
TEST_F(DefaultFont, SettingsFileOverridesFaceAndSize) {
    ASSERT_TRUE(testutil::writeTextFile(fontSettings(),
        "[Settings]\r\nIDS_DEFAULT_FONT_FACENAME=Tahoma\r\nIDS_DEFAULT_FONT_SIZE=-12\r\n"));
    {
        CCutCFFont holder;
        EXPECT_STREQ(L"Tahoma", holder.fnGetDefaultFontName());
        EXPECT_EQ(-12, holder.fnGetDefaultFontHeight());
    }
    ASSERT_TRUE(testutil::writeTextFile(fontSettings(), "[Settings]\r\nIDS_DEFAULT_FONT_SIZE=abc\r\n"));
    {
        CCutCFFont holder;
        EXPECT_STREQ(L"MS Sans Serif", holder.fnGetDefaultFontName());
        EXPECT_EQ(0, holder.fnGetDefaultFontHeight());
    }
    ASSERT_TRUE(testutil::writeTextFile(fontSettings(), "[Settings]\r\nIDS_DEFAULT_FONT_SIZE=3\r\n"));
    CCutCFFont holder;
    EXPECT_EQ(3, holder.fnGetDefaultPointSize());
}

TEST_F(DefaultFont, LastHolderDeletesTheFontAndResetsTheDescription) {
    auto* first = new CCutCFFont;
    HFONT font = first->fnGetDefaultFont();
    ASSERT_NE(nullptr, font);
    {
        CCutCFFont second(*first);
        EXPECT_EQ(2u, CCutCFFont::sm_nRefCount);
        second = *first;  // assignment changes nothing
        EXPECT_EQ(2u, CCutCFFont::sm_nRefCount);
        EXPECT_EQ(font, second.fnGetDefaultFont());
    }
    EXPECT_TRUE(CCutCFFont::sm_nRefCount == 1 && CCutCFFont::sm_hFont == font);
    EXPECT_EQ(OBJ_FONT, (int)GetObjectType(font));
    delete first;
    EXPECT_TRUE(!CCutCFFont::sm_nRefCount && !CCutCFFont::sm_bInit && !CCutCFFont::sm_hFont);
    EXPECT_EQ(0, (int)GetObjectType(font));  // deleted
    EXPECT_TRUE(!CCutCFFont::sm_dsLogFont.lfHeight && !CCutCFFont::sm_dsLogFont.lfFaceName[0]);
}

