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

TEST_F(DefaultFont, StringTableDescriptionWithoutSettingsFile) {
    CCutCFFont holder;
    EXPECT_EQ(1, CCutCFFont::sm_bInit);
    ASSERT_NE(nullptr, holder.fnGetDefaultFont());
    EXPECT_STREQ(L"MS Sans Serif", holder.fnGetDefaultFontName());
    EXPECT_EQ(16, holder.fnGetDefaultFontHeight());
    const LOGFONTW& lf = CCutCFFont::sm_dsLogFont;
    EXPECT_EQ(400, lf.lfWeight);
    EXPECT_EQ(1, lf.lfCharSet);
    EXPECT_EQ(0x22, lf.lfPitchAndFamily);
    EXPECT_EQ(0, lf.lfItalic);
    EXPECT_EQ(16, fontOf(holder.fnGetDefaultFont()).lfHeight);
}

TEST_F(DefaultFont, SettingsFileOverridesFaceAndSize) {
    ASSERT_TRUE(testutil::writeTextFile(fontSettings(),
        "[Settings]\r\nIDS_DEFAULT_FONT_FACENAME=Tahoma\r\nIDS_DEFAULT_FONT_SIZE=-12\r\n"));
    {
        CCutCFFont holder;
        EXPECT_STREQ(L"Tahoma", holder.fnGetDefaultFontName());
        EXPECT_EQ(-12, holder.fnGetDefaultFontHeight());
    }
    // Read again once the last holder has gone; a size that is not a number gives 0, a missing
    // face falls back to the string table.
    ASSERT_TRUE(testutil::writeTextFile(fontSettings(), "[Settings]\r\nIDS_DEFAULT_FONT_SIZE=abc\r\n"));
    CCutCFFont holder;
    EXPECT_STREQ(L"MS Sans Serif", holder.fnGetDefaultFontName());
    EXPECT_EQ(0, holder.fnGetDefaultFontHeight());
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
    EXPECT_EQ(1u, CCutCFFont::sm_nRefCount);
    EXPECT_EQ(font, CCutCFFont::sm_hFont);
    EXPECT_EQ(OBJ_FONT, (int)GetObjectType(font));
    delete first;
    EXPECT_EQ(0u, CCutCFFont::sm_nRefCount);
    EXPECT_EQ(0, CCutCFFont::sm_bInit);
    EXPECT_EQ(nullptr, CCutCFFont::sm_hFont);
    EXPECT_EQ(0, (int)GetObjectType(font));  // deleted
    EXPECT_EQ(0, CCutCFFont::sm_dsLogFont.lfHeight);
    EXPECT_STREQ(L"", CCutCFFont::sm_dsLogFont.lfFaceName);
}

TEST_F(DefaultFont, CreateFontDerivesFromTheDefaultWithoutHolding) {
    CCutCFFont holder;
    HFONT bold = CCutCFFont::CreateFontW(0, 0, 0, 1, nullptr);
    ASSERT_NE(nullptr, bold);
    LOGFONTW lf = fontOf(bold);
    EXPECT_EQ(16, lf.lfHeight);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_STREQ(L"MS Sans Serif", lf.lfFaceName);
    DeleteObject(bold);

    HFONT styled = CCutCFFont::CreateFontW(20, 1, 1, 0, L"Arial");
    lf = fontOf(styled);
    EXPECT_EQ(20, lf.lfHeight);
    EXPECT_EQ(1, lf.lfUnderline);
    EXPECT_EQ(1, lf.lfItalic);
    EXPECT_EQ(400, lf.lfWeight);
    EXPECT_STREQ(L"Arial", lf.lfFaceName);
    DeleteObject(styled);
    EXPECT_EQ(1u, CCutCFFont::sm_nRefCount);
}

TEST_F(DefaultFont, PointSizeIsClampedToThreeToEight) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(96, dpi);
    {
        CCutCFFont holder;  // 16 pixels -> (16 - leading) * 72 / 96 is 9 or more
        EXPECT_EQ(8, holder.fnGetDefaultPointSize());
    }
    ASSERT_TRUE(testutil::writeTextFile(fontSettings(), "[Settings]\r\nIDS_DEFAULT_FONT_SIZE=3\r\n"));
    CCutCFFont holder;  // at most 3 * 72 / 96 = 2 points
    EXPECT_EQ(3, holder.fnGetDefaultPointSize());
}
