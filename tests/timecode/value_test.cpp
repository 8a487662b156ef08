// The value model without a window (conversions, bounds, stepping and fitting; the whole ranges are
// walked by the native arithmetic tests), and the sprite layout's two sources.
#include "tcprobe.h"

namespace {
const double kDrop = 29.97;
}

// Known positions through the host interface (rate 0 keeps the rate in force): at 29.97 every
// minute but the tenth starts at frame 02; 59.94 drops nothing.
TEST(TimeCodeValue, HostInterfaceValuesRateAndBounds) {
    const struct { int index; double rate; const char* text; int totalSec; } known[] = {
        {3600, 59.94, "00:01:00:00 @0", 60},   {90000, 25.0, "01:00:00:00 @0", 3600}, {10789199, kDrop, "99:59:59:29 @0", 359999},
        {17982, kDrop, "00:10:00:00 @0", 600}, {1800, 0.0, "00:01:00:02 @0", 60},     {19781, 0.0, "00:10:59:29 @0", 659},
        {19782, 0.0, "00:11:00:02 @0", 660}};
    TimeCodeProbe c;
    for (const auto& k : known) {
        c.fnSetIndex(k.index, k.rate, 0);
        EXPECT_TRUE(k.text == c.text() && k.index == c.fnGetIndex() && k.totalSec == c.fnGetTotalSec()) << c.text();
    }
    // A bound is split plainly: 17982 is 00:10:00:00 in drop-frame but 599 s and 12 frames.
    const int plain[4] = {0, 9, 59, 12};
    for (int member = 0; member < 4; ++member) EXPECT_EQ(plain[member], c.fnGetIndexMember(17982, member));
    // Only at 29.97, at second 00 of a minute that is not a tenth, frames 00 and 01 become 02.
    const struct { double rate; int m, s, f, changed; const char* after; } fixes[] = {
        {kDrop, 5, 0, 0, 1, "00:05:00:02 @0"}, {kDrop, 1, 0, 1, 1, "00:01:00:02 @0"}, {kDrop, 10, 0, 0, 0, "00:10:00:00 @0"},
        {kDrop, 1, 1, 0, 0, "00:01:01:00 @0"}, {59.94, 1, 0, 0, 0, "00:01:00:00 @0"}};
    for (const auto& k : fixes) {
        c.fnSetFrameRate(k.rate);
        c.setMembers(0, k.m, k.s, k.f);
        EXPECT_TRUE(k.changed == c.fnCheckValidAndModify() && k.after == c.text()) << k.after;
    }

    // Rate 0 means 100; a rate lowers the upper bound to its largest index, never raises it.
    c.fnSetFrameRate(0.0);
    c.fnSetIndexUpperBd(50000000);
    EXPECT_TRUE(100.0 == c.fnGetFrameRate() && 35999999 == c.fnGetIndexUpperBd());
    for (auto [rate, upper] : {std::pair{kDrop, 10789199}, {25.0, 8999999}, {100.0, 8999999}}) {
        c.fnSetFrameRate(rate);
        EXPECT_EQ(upper, c.fnGetIndexUpperBd()) << rate;
    }
    // The members are not recomputed by a rate change.
    c.fnSetIndex(250, 100.0, 0);
    c.fnSetFrameRate(25.0);
    EXPECT_EQ("00:00:02:50 @0", c.text());
    // A host index outside the bounds widens them; a negative lower bound is 0.
    c.fnSetIndexLowerBd(1000);
    c.fnSetIndexUpperBd(2000);
    c.fnSetIndex(500, 0.0, 0);
    EXPECT_TRUE(500 == c.fnGetIndexLowerBd() && 2000 == c.fnGetIndexUpperBd());
    c.fnSetIndex(3000, 0.0, 0);
    c.fnSetIndexLowerBd(-5);
    EXPECT_TRUE(3000 == c.fnGetIndexUpperBd() && 0 == c.fnGetIndexLowerBd());
}

// A typed member is clamped into its range, then fitted to the bounds: above the upper bound it
// takes the bound's member, one less while still above; below the lower bound a lone first digit
// that a second one can still lift to the bound waits (result 0), otherwise the bound's member is
// taken, one more while still below.
TEST(TimeCodeValue, CheckBoundingClampsAndFitsToTheBounds) {
    auto at = [](int h, int m, int s) { return ((h * 60 + m) * 60 + s) * 25; };
    const struct { int lower, upper, h, m, s, firstDigit, result, digit; const char* after; } cases[] = {
        {0, at(99, 0, 0), 0, 75, 0, 0, 1, 0, "00:59:00:00 @1"},  {0, at(1, 20, 30) + 10, 1, 45, 0, 0, 1, 0, "01:20:00:00 @1"},
        {0, at(1, 20, 30) + 10, 1, 45, 40, 0, 1, 0, "01:19:40:00 @1"}, {at(0, 35, 0), at(99, 0, 0), 0, 3, 0, 1, 0, 3, "00:35:00:00 @1"},
        {at(0, 35, 0), at(99, 0, 0), 0, 2, 0, 1, 1, 2, "00:35:00:00 @1"}, {at(0, 35, 10), at(99, 0, 0), 0, 20, 5, 0, 1, 0, "00:36:05:00 @1"}};
    TimeCodeProbe c;
    c.fnSetFrameRate(25.0);
    c.m_nCurrent = 1;
    for (const auto& k : cases) {
        c.fnSetIndexUpperBd(k.upper);
        c.fnSetIndexLowerBd(k.lower);
        c.setMembers(k.h, k.m, k.s, 0);
        c.m_nFirstDigit = 0;
        EXPECT_EQ(k.result, c.fnCheckBounding(k.firstDigit)) << k.after;
        EXPECT_TRUE(k.after == c.text() && k.digit == c.m_nFirstDigit) << c.text();
    }
}

// Steps (s: fnStepChange, r: fnRefineEdits) at 25 frames a second: onto each member's maximum,
// carries into higher members, and near the bounds the first member that still fits.
TEST(TimeCodeValue, StepsReachTheMaximaCarryAndStopAtTheBounds) {
    const int top = 8999999;   // 99:59:59:24
    const struct { int h, m, s, f, current, upper; char op; int up, result; const char* after; } cases[] = {
        {0, 0, 58, 5, 2, top, 's', 1, 1, "00:00:59:05 @2"},   {0, 58, 10, 5, 1, top, 's', 1, 1, "00:59:10:05 @1"},
        {98, 0, 0, 0, 0, top, 's', 1, 1, "99:00:00:00 @0"},    {0, 0, 0, 23, 3, top, 's', 1, 0, "00:00:00:24 @3"},
        {0, 59, 10, 5, 1, 90255, 's', 1, 0, "01:00:10:05 @1"},   {1, 9, 10, 5, 1, top, 's', 1, 0, "01:10:10:05 @1"},
        {1, 0, 10, 5, 1, top, 's', 0, 0, "00:59:10:05 @1"},    {99, 0, 10, 0, 0, top, 's', 1, 0, "99:01:10:00 @1"},
        {0, 30, 0, 0, 0, top, 's', 0, 0, "00:29:00:00 @1"},    {0, 10, 0, 0, 0, top, 'r', 1, 1, "01:10:00:00 @0"},
        {0, 59, 10, 5, 1, 88770, 's', 1, 0, "00:59:10:06 @3"}, {0, 59, 10, 20, 3, 88770, 's', 1, 0, "00:59:10:20 @3"},
        {0, 59, 10, 20, 0, 88770, 'r', 1, 0, "00:59:10:20 @0"}, {0, 0, 0, 0, 0, top, 'r', 0, 0, "00:00:00:00 @0"},
        {0, 0, 0, 0, 3, top, 's', 0, 0, "00:00:00:00 @3"},     {0, 0, 4, 0, 0, top, 'r', 0, 1, "00:00:03:00 @2"}};
    TimeCodeProbe c;
    c.fnSetFrameRate(25.0);
    for (const auto& k : cases) {
        c.fnSetIndexUpperBd(k.upper);
        c.setMembers(k.h, k.m, k.s, k.f);
        c.m_nCurrent = k.current;
        EXPECT_EQ(k.result, k.op == 's' ? c.fnStepChange(k.up) : c.fnRefineEdits(k.up)) << k.after;
        EXPECT_EQ(k.after, c.text());
    }
}

// Opening an open source closes it and fails; the digits come with fnInit; the background is
// chosen by the flags at its first open and kept until fnUnInit; without images every open fails.
TEST(TimeCodeLayout, SourcesOpenOnceAndKeepTheirImages) {
    struct LayoutProbe : CTimeCodeLayout {
        using CTimeCodeLayout::m_hBackground;
    } l;
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(0, l.fnOpenCompatibleSymbolSource(screen));
    ASSERT_TRUE(1 == l.fnInit() && 1 == l.fnOpenCompatibleSymbolSource(screen));
    EXPECT_TRUE(0 == l.fnOpenCompatibleSymbolSource(screen) && nullptr == l.fnGetSymbolSource());
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));   // standard, fixed: 131 x 42
    HBITMAP first = l.m_hBackground;
    SIZE s = {};
    EXPECT_TRUE(gfnGetBitmapSize(first, &s) && s.cx == 131 && 0 == l.fnOpenBackgroundSource(screen) && !l.fnGetBackgroundSource());
    l.fnSet2ndBackground(1);   // the rectangles change at once, the image not
    EXPECT_EQ(CRect(0, 0, 78, 16), l.fnGetBackgroundRCRect());
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));
    EXPECT_EQ(first, (HBITMAP)GetCurrentObject(l.fnGetBackgroundSource(), OBJ_BITMAP));
    l.fnCloseBackgroundSource();
    ASSERT_TRUE(1 == l.fnUnInit() && 1 == l.fnOpenBackgroundSource(screen));   // now the compact fixed image
    EXPECT_TRUE(gfnGetBitmapSize(l.m_hBackground, &s) && s.cx == 99 && s.cy == 32);
    l.fnCloseBackgroundSource();
    EmptyBitmapPath missing;
    LayoutProbe bare;
    EXPECT_TRUE(0 == bare.fnInit() && 0 == bare.fnOpenBackgroundSource(screen) && !bare.fnGetBackgroundSource());
    ReleaseDC(nullptr, screen);
}
