// The sprite layout: background bands, the skin images, and opening and closing the two sources.
#include <gtest/gtest.h>
#include "tcprobe.h"

// Every band and button sprite the layout can ask for lies inside the generated images (disabled
// buttons are drawn even in the fixed skins).
TEST(TimeCodeLayout, SkinImagesHoldEveryRectangle) {
    const wchar_t* files[] = {L"TimeTag1.png", L"TimeTag0.png", L"TimeTag3.png", L"TimeTag2.png"};
    LayoutProbe l;
    for (int image = 0; image < 4; ++image) {
        SCOPED_TRACE(image);
        HBITMAP bmp = loadSkin(files[image]);
        SIZE s = {};
        ASSERT_TRUE(bmp && gfnGetBitmapSize(bmp, &s));
        DeleteObject(bmp);
        l.fnSet2ndBackground(image / 2);
        l.fnSetAdjustable(image % 2);
        for (int longFormat : {0, 1}) {
            l.fnSetLongFormat(longFormat);
            CRect band = l.fnGetBackgroundRCRect();
            EXPECT_TRUE(band.right <= s.cx && band.bottom <= s.cy && band.Height() > 0);
        }
        for (int sym = UTMTG_SYMBOL_UP; sym <= UTMTG_SYMBOL_DOWN_DISABLED; ++sym) {
            CRect r = l.fnGetSymbolRCRect((UTMTG_SYMBOL)sym, UTMTG_CELL_UP);
            EXPECT_TRUE(r.left + r.right <= s.cx && r.top + r.bottom <= s.cy) << sym;
        }
    }
    EXPECT_TRUE(l.fnGetSymbolRCRect((UTMTG_SYMBOL)21, UTMTG_CELL_UP).IsRectNull());
}

// Opening an open source closes it and fails; the digits need fnInit; the background is loaded
// at the first open and kept until fnUnInit; without images every open fails.
TEST(TimeCodeLayout, SourcesOpenOnceAndKeepTheirImages) {
    HDC screen = GetDC(nullptr);
    LayoutProbe l;
    EXPECT_EQ(0, l.fnOpenCompatibleSymbolSource(screen));
    ASSERT_EQ(1, l.fnInit());
    EXPECT_EQ(1, l.fnInit());
    ASSERT_EQ(1, l.fnOpenCompatibleSymbolSource(screen));
    EXPECT_EQ(l.m_hDigits, (HBITMAP)GetCurrentObject(l.fnGetSymbolSource(), OBJ_BITMAP));
    EXPECT_EQ(0, l.fnOpenCompatibleSymbolSource(screen));
    EXPECT_EQ(nullptr, l.fnGetSymbolSource());
    l.fnCloseCompatibleSymbolSource();   // closing twice is harmless

    // The flags at the first open (the constructor's: standard, fixed) choose the image, 131 x 42.
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));
    HBITMAP first = l.m_hBackground;
    SIZE s = {};
    EXPECT_TRUE(gfnGetBitmapSize(first, &s) && s.cx == 131 && s.cy == 42);
    EXPECT_EQ(0, l.fnOpenBackgroundSource(screen));
    EXPECT_EQ(nullptr, l.fnGetBackgroundSource());
    l.fnSet2ndBackground(1);   // the rectangles change at once, the image not
    EXPECT_EQ(CRect(0, 0, 78, 16), l.fnGetBackgroundRCRect());
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));
    EXPECT_EQ(first, (HBITMAP)GetCurrentObject(l.fnGetBackgroundSource(), OBJ_BITMAP));
    l.fnCloseBackgroundSource();
    EXPECT_EQ(1, l.fnUnInit());
    EXPECT_TRUE(!l.m_hDigits && !l.m_hBackground && !l.m_bInit);
    EXPECT_EQ(1, l.fnUnInit());
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));   // now the compact fixed image
    EXPECT_TRUE(gfnGetBitmapSize(l.m_hBackground, &s) && s.cx == 99 && s.cy == 32);
    l.fnCloseBackgroundSource();

    EmptyBitmapPath missing;
    LayoutProbe bare;
    EXPECT_EQ(0, bare.fnInit());
    EXPECT_EQ(0, bare.fnOpenBackgroundSource(screen));
    EXPECT_EQ(0, bare.fnOpenCompatibleSymbolSource(screen));
    EXPECT_TRUE(!bare.m_bInit && !bare.fnGetBackgroundSource() && !bare.fnGetSymbolSource());
    ReleaseDC(nullptr, screen);
}
