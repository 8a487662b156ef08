// The shaped tooltip on real windows: real mouse input shows it; its window and region match the
// geometry worked out here for several anchors, texts, fonts and screen sizes; the screen shows its
// colours inside the region only.
#include "tip.h"

using namespace tiptest;

namespace {
bool underneath(COLORREF c) { return c == kHostColour || c == kToolColour || c == 0; }   // 0: the desktop
const char kLayout[] = "LayoutSetting=6,24,9,5,4,2\r\nColorSetting=0x2040C0,0xA0E0FF,0x106030,0x5A3C1E\r\n";

// The library is told this full-screen height (0: the system's); its other metrics are the system's.
int g_screenHeight = 0;
int WINAPI fakeMetrics(int i) { return i == SM_CYFULLSCREEN && g_screenHeight ? g_screenHeight : GetSystemMetrics(i); }

// The looks' numbers in the settings' order.
std::vector<int> looksFields(const tagCQTOOLTIP_LOOKS& l) {
    return {l.nOffsetX, l.nOffsetY, l.nMarginX, l.nMarginY, l.nShadowX, l.nShadowY, l.nSpare, l.nTailHeight,
            (int)l.crText, (int)l.crBack, (int)l.crShadow};
}

struct SettingsTip : ShapedTip {
    SettingsTip() : ShapedTip(std::string("[CqToolTipDVDUser]\r\n") + kLayout) {}
};

TEST_F(SettingsTip, RealMouseShowsItThenAnchorsTextsFontsAndScreenSizesPlaceCutAndPaintIt) {
    POINT c = toolCentre();
    ASSERT_TRUE(moveMouse(c.x + 3, c.y - 2, tip));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(pumpUntil(tip, 15000, [&] { return visible(tip); }));
    EXPECT_GE(GetTickCount() - start + 20, (DWORD)tip.GetDelayTime(TTDT_INITIAL));
    const int sw = GetSystemMetrics(SM_CXFULLSCREEN), sh = GetSystemMetrics(SM_CYFULLSCREEN);
    tagCQTOOLTIP_LOOKS* looks = tip.fnGetLooksData();   // the file's values, in its order
    EXPECT_EQ((std::vector<int>{6, 24, 9, 5, 4, 2, 10, 15, 0x2040C0, 0xA0E0FF, 0x5A3C1E}), looksFields(*looks));
    tip.SetDelayTime(TTDT_INITIAL, 30);
    // A balloon whose bottom lands on the full-screen height stays below; a pixel lower, above.
    Expected probe = expectFor(*looks, {400, 400}, kText);
    DeleteObject(probe.region);
    const int h = probe.window.bottom - probe.window.top, fitY = sh - looks->nOffsetY - h;
    const wchar_t kLong[] = L"Trim the end\nof the clip\nat its out point";
    const POINT follow = {-1, -1};
    const struct { int round; POINT at; const wchar_t* text; int font; UINT change; int height; SIZE max; } cases[] = {
        {1, {600, fitY}}, {1, {600, fitY + 1}},
        {1, {sw - 30, 300}},     // pushed left: the tail points left
        {1, {500, sh - 10}},     // above the anchor, tail at the bottom
        {1, {sw - 20, sh - 5}}, {1, {333, 222}},
        {0, {100, 300}}, {0, {sw - 10, sh - 4}},   // a rectangle's top-left is the position itself
        // At the cursor; what a show keeps for the next follows the text, font and screen size:
        {1, follow}, {1, follow, kLong}, {1, follow, kLong, 0, 0, 0, {80, 30}},   // wrapped and cut
        {1, follow, kLong, -19}, {1, follow, kLong, -16},   // then a smaller work area: above the anchor
        {1, follow, kLong, -16, WM_SETTINGCHANGE, 200}, {1, follow, kText, 0, WM_DISPLAYCHANGE},
    };
    void* real = testutil::hookImport(L"qTrimUI.dll", "user32.dll", "GetSystemMetrics", (void*)fakeMetrics);
    const LPARAM screen = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const int leak = testutil::gdiLeakOver(1, [&] {   // shows, texts and fonts replaced leave nothing
        for (const auto& k : cases) {
            SCOPED_TRACE(testing::Message() << "case " << (&k - cases));
            looks->bRoundShape = k.round;
            tip.fnSetPosition(CPoint(k.at));
            g_text = k.text ? k.text : kText, looks->szMaxText = k.max, g_screenHeight = k.height;
            const HFONT replaced = looks->hFont;   // measured with, and gone at once all the same
            tip.fnSetFont(k.font ? CreateFontW(k.font, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma") : nullptr);
            EXPECT_TRUE(!replaced || replaced == looks->hFont || !GetObjectType(replaced));
            if (k.change) tip.SendMessage(k.change, k.change == WM_SETTINGCHANGE ? SPI_SETWORKAREA : 32, screen);
            ASSERT_TRUE(showAgain());
            pumpFor(tip, 30);
            POINT at = k.at;
            if (at.x == -1) GetCursorPos(&at);
            expectShape(at, g_text.c_str(), k.height);
            const RECT &w = expected.window, &b = expected.body;
            if (k.at.x == 600) { EXPECT_EQ(k.at.y == fitY ? fitY + looks->nOffsetY : k.at.y - h, w.top); }
            if (k.at.x != -1) continue;
            // The file's colours: frame, body, shadow; the host where the region cuts away; text to the last line.
            ScreenShot shot(w);
            const int midY = w.top + (b.top + b.bottom) / 2, lines = 1 + std::count(g_text.begin(), g_text.end(), '\n');
            EXPECT_EQ(RGB(0x30, 0x60, 0x10), shot.at(w.left, midY));
            EXPECT_EQ(RGB(0xFF, 0xE0, 0xA0), shot.at(w.left + 2, midY));
            EXPECT_EQ(RGB(0x1E, 0x3C, 0x5A), shot.at(w.left + b.right + 1, midY));
            EXPECT_TRUE(underneath(shot.at(w.left + 1, w.bottom - 1)) &&
                        underneath(shot.at(w.right - 1, w.top + b.top + 1)));
            const RECT text = {w.left + 9, w.top + b.top + 5, w.left + b.right - 9, w.top + b.bottom - 5};
            const int top = k.max.cx ? text.top : text.bottom - (text.bottom - text.top) / lines;   // cut: not all
            const RECT last = {text.left, top, text.right, text.bottom};
            EXPECT_GT(shot.count(last, RGB(0xC0, 0x40, 0x20)), 10);
            EXPECT_EQ(0, shot.count(text, RGB(0, 0, 0)));
        }
    });
    testutil::hookImport(L"qTrimUI.dll", "user32.dll", "GetSystemMetrics", real);
    EXPECT_EQ(0, leak);
}

// What a settings string cannot give keeps the string table's value.
TEST(ToolTipSettings, UnreadableFieldsKeepTheStringTable) {
    SettingsFile file("[CqToolTipDVDUser]\r\nLayoutSetting=4 ,x,9\r\nColorSetting=zz,0x1\r\n");
    CqToolTipDVDUser t;
    EXPECT_EQ((std::vector<int>{4, 20, 7, 7, 3, 3, 10, 15, 0, 0xD6FFFF, 0x808080}), looksFields(*t.fnGetLooksData()));
}

}  // namespace
