// The shaped tooltip on real windows: real mouse input over a tool shows it; the window region
// read back matches the geometry worked out here; the screen shows its colours inside the region
// and the host outside it.
#include <gtest/gtest.h>
#include "qToolTipDVDUser.h"
#include "tipfixture.h"
#include <algorithm>

using namespace tiptest;

namespace {
// What the host shows where the tip's region cuts its window away.
bool underneath(COLORREF c) { return c == kHostColour || c == kToolColour; }

TEST_F(ShapedTip, RealMouseShowsTheBalloonAfterTheSystemDelayBelowRightOfTheCursor) {
    POINT c = toolCentre();
    ASSERT_TRUE(moveMouse(c.x + 3, c.y - 2, tip));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(pumpUntil(tip, 15000, [&] { return tip.IsWindowVisible() != FALSE; }));
    // Not before the system's initial delay.
    EXPECT_GE(GetTickCount() - start + 20, (DWORD)tip.GetDelayTime(TTDT_INITIAL));
    pumpFor(tip, 100);
    expectShape({c.x + 3, c.y - 2}, L"Trim the start\nof the clip");

    // Body colour inside the frame, the shadow where the body does not cover it, the host where
    // the region cuts the window away (left of the shadow, below the body).
    const RECT& w = m_expected.window;
    const RECT& b = m_expected.body;
    ScreenShot shot(w);
    const int midY = w.top + (b.top + b.bottom) / 2;
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xD6), shot.at(w.left + 2, midY));
    EXPECT_EQ(RGB(0, 0, 0), shot.at(w.left, midY));
    EXPECT_EQ(RGB(0x80, 0x80, 0x80), shot.at(w.left + b.right + 1, midY));
    EXPECT_PRED1(underneath, shot.at(w.left + 1, w.bottom - 1));
    EXPECT_PRED1(underneath, shot.at(w.right - 1, w.top + b.top + 1));
}

// Fixed positions: the tail follows the anchor to the left near the right screen edge, and to the
// bottom when the tip has to go above its anchor; a rectangle sits exactly at the position.
TEST_F(ShapedTip, FixedPositionsPlaceAndCutTheTipForTheirAnchor) {
    const int sw = GetSystemMetrics(SM_CXFULLSCREEN), sh = GetSystemMetrics(SM_CYFULLSCREEN);
    tagCQTOOLTIP_LOOKS* looks = tip.fnGetLooksData();
    tip.SetDelayTime(TTDT_INITIAL, 50);
    const struct {
        int round;
        POINT at;
    } cases[] = {
        {1, {sw - 30, 300}},    // pushed left: the anchor is right of the centre, the tail points left
        {1, {500, sh - 10}},    // no room below: above the anchor, tail at the bottom edge
        {1, {sw - 20, sh - 5}}, // both
        {1, {333, 222}},        // plain: below right, tail right
        {0, {100, 300}},        // rectangle: its top-left is the position itself
        {0, {sw - 10, sh - 4}}, // rectangle squeezed into the corner
    };
    // A balloon whose bottom lands exactly on the full-screen height stays below; a pixel lower
    // and it goes above.
    looks->bRoundShape = 1;
    Expected probe = expectFor(*looks, {400, 400}, L"Trim the start\nof the clip");
    DeleteObject(probe.region);
    const int fitY = sh - looks->nOffsetY - (probe.window.bottom - probe.window.top);
    for (int y : {fitY, fitY + 1}) {
        SCOPED_TRACE(testing::Message() << "edge at " << y);
        tip.fnSetPosition(CPoint(600, y));
        ASSERT_TRUE(showAgain());
        expectShape({600, y}, L"Trim the start\nof the clip");
        RECT wr;
        tip.GetWindowRect(&wr);
        EXPECT_EQ(y == fitY ? y + looks->nOffsetY : y - (probe.window.bottom - probe.window.top), wr.top);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "round " << c.round << " at " << c.at.x << "," << c.at.y);
        looks->bRoundShape = c.round;
        tip.fnSetPosition(CPoint(c.at));
        ASSERT_TRUE(showAgain());
        expectShape(c.at, L"Trim the start\nof the clip");
    }
    looks->bRoundShape = 0;
    looks->ptPosition = {-1, -1};
    ASSERT_TRUE(showAgain());
    POINT cursor;
    GetCursorPos(&cursor);
    expectShape(cursor, L"Trim the start\nof the clip");
}

TEST_F(ShapedTip, HiddenLookShowsNothing) {
    tip.fnGetLooksData()->bHide = 1;
    tip.SetDelayTime(TTDT_INITIAL, 50);
    ASSERT_TRUE(showAgain());
    RECT wr;
    tip.GetWindowRect(&wr);
    EXPECT_EQ(1, wr.right - wr.left);
    EXPECT_EQ(1, wr.bottom - wr.top);
    HRGN got = CreateRectRgn(0, 0, 5, 5);
    EXPECT_EQ(NULLREGION, GetWindowRgn(tip, got));
    DeleteObject(got);
}

// Looks from the settings file: a partial layout keeps the string table's other fields, colours
// and geometry show on the screen.
class SettingsTip : public ShapedTip {
protected:
    SettingsTip()
        : ShapedTip("[CqToolTipDVDUser]\r\nLayoutSetting=6,24,9,5,4,2\r\nColorSetting=0x2040C0,0xA0E0FF,0x106030,0x5A3C1E\r\n") {}
};

TEST_F(SettingsTip, SettingsChangeGeometryAndColours) {
    const tagCQTOOLTIP_LOOKS& l = *tip.fnGetLooksData();
    EXPECT_EQ(6, l.nOffsetX);
    EXPECT_EQ(24, l.nOffsetY);
    EXPECT_EQ(9, l.nMarginX);
    EXPECT_EQ(5, l.nMarginY);
    EXPECT_EQ(4, l.nShadowX);
    EXPECT_EQ(2, l.nShadowY);
    EXPECT_EQ(10, l.nSpare);
    EXPECT_EQ(15, l.nTailHeight);
    tip.fnGetLooksData()->bRoundShape = 0;
    tip.SetDelayTime(TTDT_INITIAL, 50);
    setCallbackText(L"Mark in");
    ASSERT_TRUE(showAgain());
    pumpFor(tip, 100);
    POINT cursor;
    GetCursorPos(&cursor);
    expectShape(cursor, L"Mark in");

    const RECT& w = m_expected.window;
    const RECT& b = m_expected.body;
    ScreenShot shot(w);
    const int midY = w.top + b.bottom / 2;
    EXPECT_EQ(RGB(0x30, 0x60, 0x10), shot.at(w.left, midY));                  // frame
    EXPECT_EQ(RGB(0xFF, 0xE0, 0xA0), shot.at(w.left + 3, w.top + 2));          // body
    EXPECT_EQ(RGB(0x1E, 0x3C, 0x5A), shot.at(w.left + b.right + 1, midY));     // shadow
    EXPECT_PRED1(underneath, shot.at(w.left + b.right + 1, w.top));              // cut away
    EXPECT_PRED1(underneath, shot.at(w.left + 1, w.bottom - 1));
    RECT textArea = {w.left + 9, w.top + 5, w.left + b.right - 9, w.top + b.bottom - 5};
    EXPECT_GT(shot.count(textArea, RGB(0xC0, 0x40, 0x20)), 10);
    EXPECT_EQ(0, shot.count(textArea, RGB(0, 0, 0)));
}

class MalformedSettingsTip : public ShapedTip {
protected:
    MalformedSettingsTip()
        : ShapedTip("[CqToolTipDVDUser]\r\nLayoutSetting=4 ,x,9\r\nColorSetting=zz,0x1\r\n") {}
};

TEST_F(MalformedSettingsTip, KeepTheStringTableValuesWhereTheyCannotBeRead) {
    const tagCQTOOLTIP_LOOKS& l = *tip.fnGetLooksData();
    const int layout[] = {l.nOffsetX, l.nOffsetY, l.nMarginX, l.nMarginY, l.nShadowX, l.nShadowY, l.nSpare, l.nTailHeight};
    const int want[] = {4, 20, 7, 7, 3, 3, 10, 15};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(want[i], layout[i]) << i;
    EXPECT_EQ(0x000000u, l.crText);
    EXPECT_EQ(0xD6FFFFu, l.crBack);
    EXPECT_EQ(0x808080u, l.crShadow);
}
}  // namespace
