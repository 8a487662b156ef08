// The sprite layout: opening and closing its two sources and the images they hold.
#include <gtest/gtest.h>
#include "tcprobe.h"

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
    EXPECT_TRUE(0 == l.fnOpenCompatibleSymbolSource(screen) && nullptr == l.fnGetSymbolSource());
    l.fnCloseCompatibleSymbolSource();   // closing twice is harmless

    // The flags at the first open (the constructor's: standard, fixed) choose the image, 131 x 42.
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));
    HBITMAP first = l.m_hBackground;
    SIZE s = {};
    EXPECT_TRUE((gfnGetBitmapSize(first, &s) && s.cx == 131 && s.cy == 42) && 0 == l.fnOpenBackgroundSource(screen));
    EXPECT_EQ(nullptr, l.fnGetBackgroundSource());
    l.fnSet2ndBackground(1);   // the rectangles change at once, the image not
    EXPECT_EQ(CRect(0, 0, 78, 16), l.fnGetBackgroundRCRect());
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));
    EXPECT_EQ(first, (HBITMAP)GetCurrentObject(l.fnGetBackgroundSource(), OBJ_BITMAP));
    l.fnCloseBackgroundSource();
    EXPECT_TRUE(1 == l.fnUnInit() && (!l.m_hDigits && !l.m_hBackground && !l.m_bInit) && 1 == l.fnUnInit());
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));   // now the compact fixed image
    EXPECT_TRUE(gfnGetBitmapSize(l.m_hBackground, &s) && s.cx == 99 && s.cy == 32);
    l.fnCloseBackgroundSource();

    EmptyBitmapPath missing;
    LayoutProbe bare;
    EXPECT_TRUE(0 == bare.fnInit() && 0 == bare.fnOpenBackgroundSource(screen));
    EXPECT_EQ(0, bare.fnOpenCompatibleSymbolSource(screen));
    EXPECT_TRUE(!bare.m_bInit && !bare.fnGetBackgroundSource() && !bare.fnGetSymbolSource());
    ReleaseDC(nullptr, screen);
}
