// The value model without a window: conversions, bounds, stepping and fitting.
#include <gtest/gtest.h>
#include "tcprobe.h"

namespace {
const double kDrop = 29.97;
}

// Every index of each rate's range converts to a valid timecode and back. At 29.97 frames 00 and 01
// never appear at second 00 of a minute that is not a multiple of ten; the other rates, 59.94
// included, skip no frame numbers.
TEST(TimeCodeValue, ConversionIsExactOverEveryRatesWholeRange) {
    TimeCodeProbe c;
    int h, m, s, f, failures = 0;
    for (double rate : {kDrop, 23.976, 24.0, 25.0, 30.0, 59.94, 100.0}) {
        SCOPED_TRACE(rate);
        const bool drop = rate == kDrop;
        const int n = (int)(rate + 0.999), largest = drop ? 10789199 : 360000 * n - 1;
        c.fnSetFrameRate(rate);
        c.fnSetIndexUpperBd(0x7FFFFFFF);
        EXPECT_EQ(largest, c.fnGetIndexUpperBd());
        int dropped = 0;
        for (int index = 0; index <= largest && failures < 5; ++index) {
            c.fnGetTimeCode(index, h, m, s, f, rate);
            bool right = drop ? h <= 99 && m < 60 && s < 60 && f >= 0 && f < 30 && !(s == 0 && f < 2 && m % 10 != 0)
                              : f == index % n && (h * 60 + m) * 60 + s == index / n && m < 60 && s < 60;
            if (!right || c.TimeCodeToIndex(h, m, s, f) != index) {
                ADD_FAILURE() << "index " << index << " -> " << h << ":" << m << ":" << s << ":" << f;
                ++failures;
            }
            dropped += s == 0 && f == 2 && m % 10 != 0;
        }
        EXPECT_TRUE(!drop || dropped == 100 * 54) << dropped;   // every non-tenth minute starts at frame 02
    }
}

// Known positions through the host interface (rate 0 keeps the rate in force), the rate, the bounds.
TEST(TimeCodeValue, HostInterfaceValuesRateAndBounds) {
    const struct { int index; double rate; const char* text; int totalSec; } known[] = {{10789199, kDrop, "99:59:59:29 @0", 359999}, {17982, kDrop, "00:10:00:00 @0", 600},
                 {1800, 0.0, "00:01:00:02 @0", 60},           {90000, 25.0, "01:00:00:00 @0", 3600},
                 {3600, 59.94, "00:01:00:00 @0", 60}};
    TimeCodeProbe c;
    for (const auto& k : known) {
        c.fnSetIndex(k.index, k.rate, 0);
        EXPECT_TRUE(k.text == c.text() && k.index == c.fnGetIndex() && k.totalSec == c.fnGetTotalSec());
    }
    // A bound is split plainly: 17982 is 00:10:00:00 in drop-frame but 599 s and 12 frames.
    c.fnSetFrameRate(kDrop);
    const int plain[4] = {0, 9, 59, 12};
    for (int member = 0; member < 4; ++member) EXPECT_EQ(plain[member], c.fnGetIndexMember(17982, member));

    // Rate 0 means 100; a rate lowers the upper bound to its largest index, never raises it.
    c.fnSetFrameRate(0.0);
    c.fnSetIndexUpperBd(50000000);   // capped at the rate's largest
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
    const struct { int lower, upper, h, m, s, firstDigit, result, digit; const char* after; } cases[] = {{0, at(99, 0, 0), 0, 75, 0, 0, 1, 0, "00:59:00:00 @1"},
                 {0, at(1, 20, 30) + 10, 1, 45, 0, 0, 1, 0, "01:20:00:00 @1"},
                 {0, at(1, 20, 30) + 10, 1, 45, 40, 0, 1, 0, "01:19:40:00 @1"},
                 {at(0, 35, 0), at(99, 0, 0), 0, 3, 0, 1, 0, 3, "00:35:00:00 @1"},
                 {at(0, 35, 0), at(99, 0, 0), 0, 2, 0, 1, 1, 2, "00:35:00:00 @1"},
                 {at(0, 35, 10), at(99, 0, 0), 0, 20, 5, 0, 1, 0, "00:36:05:00 @1"}};
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

TEST(TimeCodeValue, CheckValidAndModifyOnlyAtDropFrame) {
    const struct { double rate; int m, s, f, changed; const char* after; } cases[] = {{kDrop, 1, 0, 0, 1, "00:01:00:02 @0"},  {kDrop, 1, 0, 1, 1, "00:01:00:02 @0"},
                 {kDrop, 10, 0, 0, 0, "00:10:00:00 @0"}, {kDrop, 1, 1, 0, 0, "00:01:01:00 @0"},
                 {59.94, 1, 0, 0, 0, "00:01:00:00 @0"}};
    TimeCodeProbe c;
    for (const auto& k : cases) {
        c.fnSetFrameRate(k.rate);
        c.setMembers(0, k.m, k.s, k.f);
        EXPECT_TRUE(k.changed == c.fnCheckValidAndModify() && k.after == c.text()) << k.after;
    }
}

// Steps (s: fnStepChange, r: fnRefineEdits) at 25 frames a second: onto each member's maximum,
// carries into higher members, and near the bounds the first member that still fits.
TEST(TimeCodeValue, StepsReachTheMaximaCarryAndStopAtTheBounds) {
    const int top = 8999999;   // 99:59:59:24
    const struct {
        int h, m, s, f, current, upper;
        char op;
        int up, result;
        const char* after;
    } cases[] = {{0, 0, 58, 5, 2, top, 's', 1, 1, "00:00:59:05 @2"},   {0, 58, 10, 5, 1, top, 's', 1, 1, "00:59:10:05 @1"},
                 {98, 0, 0, 0, 0, top, 's', 1, 1, "99:00:00:00 @0"},    {0, 0, 0, 23, 3, top, 's', 1, 0, "00:00:00:24 @3"},
                 {0, 59, 10, 5, 1, top, 's', 1, 0, "01:00:10:05 @1"},   {1, 9, 10, 5, 1, top, 's', 1, 0, "01:10:10:05 @1"},
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
    // Frames carry through the index, with drop-frame numbering.
    c.fnSetFrameRate(kDrop);
    c.fnSetIndex(c.TimeCodeToIndex(0, 0, 59, 29), kDrop, 0);
    c.m_nCurrent = 3;
    c.fnStepChange(1);
    EXPECT_EQ("00:01:00:02 @3", c.text());
    c.fnStepChange(0);
    EXPECT_EQ("00:00:59:29 @3", c.text());
}
