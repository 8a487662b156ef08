// The value model without a window: conversions, bounds, stepping and fitting.
#include <gtest/gtest.h>
#include "tcprobe.h"

namespace {
const double kDrop = 29.97;

int nominal(double rate) { return (int)(rate + 0.999); }
}  // namespace

// Every index of the drop-frame range converts to a valid timecode and back; frames 00 and 01 never
// appear at second 00 of a minute that is not a multiple of ten.
TEST(TimeCodeValue, DropFrameConversionIsExactOverTheWholeRange) {
    TimeCodeProbe c;
    c.fnSetFrameRate(kDrop);
    const int largest = 10789199;
    int failures = 0, dropped = 0;
    int h, m, s, f;
    for (int index = 0; index <= largest && failures < 5; ++index) {
        c.fnGetTimeCode(index, h, m, s, f, kDrop);
        bool valid = h <= 99 && m < 60 && s < 60 && f < 30 && f >= 0;
        bool skipped = s == 0 && f < 2 && m % 10 != 0;
        if (!valid || skipped || c.TimeCodeToIndex(h, m, s, f) != index) {
            ADD_FAILURE() << "index " << index << " -> " << h << ":" << m << ":" << s << ":" << f;
            ++failures;
        }
        if (s == 0 && f == 2 && m % 10 != 0) ++dropped;
    }
    // The last index is the last frame of 99:59:59.
    c.fnGetTimeCode(largest, h, m, s, f, kDrop);
    EXPECT_TRUE(h == 99 && m == 59 && s == 59 && f == 29);
    // Every non-tenth minute of 100 hours starts at frame 02.
    EXPECT_EQ(100 * 54, dropped);
}

TEST(TimeCodeValue, OtherRatesConvertPlainlyOverTheirWholeRange) {
    for (double rate : {23.976, 24.0, 25.0, 30.0, 59.94, 100.0}) {
        SCOPED_TRACE(rate);
        TimeCodeProbe c;
        c.fnSetFrameRate(rate);
        const int n = nominal(rate);
        const int largest = 360000 * n - 1;
        c.fnSetIndexUpperBd(0x7FFFFFFF);
        EXPECT_EQ(largest, c.fnGetIndexUpperBd());
        int failures = 0;
        int h, m, s, f;
        for (int index = 0; index <= largest && failures < 5; ++index) {
            c.fnGetTimeCode(index, h, m, s, f, rate);
            // No frame numbers are skipped at these rates, 59.94 included.
            if (f != index % n || ((h * 60 + m) * 60 + s) != index / n || m >= 60 || s >= 60 ||
                c.TimeCodeToIndex(h, m, s, f) != index) {
                ADD_FAILURE() << "index " << index;
                ++failures;
            }
        }
    }
}

TEST(TimeCodeValue, KnownValuesThroughTheHostInterface) {
    TimeCodeProbe c;
    c.fnSetIndex(17982, kDrop, 0);
    EXPECT_TRUE(c.shows(0, 10, 0, 0));
    EXPECT_EQ(17982, c.fnGetIndex());
    c.fnSetIndex(1800, 0.0, 0);   // rate 0 keeps 29.97
    EXPECT_TRUE(c.shows(0, 1, 0, 2));
    EXPECT_EQ(1800, c.fnGetIndex());
    EXPECT_EQ(60, c.fnGetTotalSec());

    c.fnSetIndex(90000, 25.0, 0);
    EXPECT_TRUE(c.shows(1, 0, 0, 0));
    EXPECT_EQ(3600, c.fnGetTotalSec());
    EXPECT_EQ(90000, c.fnGetIndex());
    // 59.94 counts 60 frames a second without dropping.
    c.fnSetIndex(3600, 59.94, 0);
    EXPECT_TRUE(c.shows(0, 1, 0, 0));
}

TEST(TimeCodeValue, FrameRateAndUpperBound) {
    TimeCodeProbe c;
    c.fnSetFrameRate(0.0);
    EXPECT_EQ(100.0, c.fnGetFrameRate());
    EXPECT_EQ(27687210, c.fnGetIndexUpperBd());   // below 35999999: unchanged
    c.fnSetFrameRate(kDrop);
    EXPECT_EQ(kDrop, c.fnGetFrameRate());
    EXPECT_EQ(10789199, c.fnGetIndexUpperBd());
    c.fnSetFrameRate(25.0);
    EXPECT_EQ(8999999, c.fnGetIndexUpperBd());
    // Raising the rate never raises the bound by itself; the setter caps at the rate's largest.
    c.fnSetFrameRate(100.0);
    EXPECT_EQ(8999999, c.fnGetIndexUpperBd());
    c.fnSetIndexUpperBd(50000000);
    EXPECT_EQ(35999999, c.fnGetIndexUpperBd());
    c.fnSetIndexUpperBd(1234);
    EXPECT_EQ(1234, c.fnGetIndexUpperBd());
    // The members are not recomputed by a rate change.
    c.fnSetIndex(250, 100.0, 0);
    c.fnSetFrameRate(25.0);
    EXPECT_TRUE(c.shows(0, 0, 2, 50));

    c.fnSetIndexLowerBd(-5);
    EXPECT_EQ(0, c.fnGetIndexLowerBd());
    c.fnSetIndexLowerBd(77);
    EXPECT_EQ(77, c.fnGetIndexLowerBd());
}

TEST(TimeCodeValue, SetIndexWidensTheBoundsAndWithoutRefreshForgetsTheScreen) {
    TimeCodeProbe c;
    c.fnSetIndexLowerBd(1000);
    c.fnSetIndexUpperBd(2000);
    c.m_bFieldsShown = 1;
    c.fnSetIndex(500, 0.0, 0);
    EXPECT_EQ(500, c.fnGetIndexLowerBd());
    EXPECT_EQ(2000, c.fnGetIndexUpperBd());
    EXPECT_EQ(0, c.m_bFieldsShown);
    c.fnSetIndex(3000, 0.0, 0);
    EXPECT_EQ(3000, c.fnGetIndexUpperBd());
    EXPECT_EQ(100.0, c.fnGetFrameRate());
}

TEST(TimeCodeValue, MembersOfABoundAreSplitWithoutDropFrame) {
    TimeCodeProbe c;
    c.fnSetFrameRate(kDrop);
    // 17982 is 00:10:00:00 in drop-frame, but a bound is split plainly: 599 s and 12 frames.
    EXPECT_EQ(12, c.fnGetIndexMember(17982, 3));
    EXPECT_EQ(59, c.fnGetIndexMember(17982, 2));
    EXPECT_EQ(9, c.fnGetIndexMember(17982, 1));
    EXPECT_EQ(0, c.fnGetIndexMember(17982, 0));
    EXPECT_EQ(30 * 3600, c.fnGetMemberUnits(0));
    EXPECT_EQ(30 * 60, c.fnGetMemberUnits(1));
    EXPECT_EQ(30, c.fnGetMemberUnits(2));
    EXPECT_EQ(1, c.fnGetMemberUnits(3));
    EXPECT_EQ(99, c.fnGetEditMax(0));
    EXPECT_EQ(59, c.fnGetEditMax(1));
    EXPECT_EQ(59, c.fnGetEditMax(2));
    EXPECT_EQ(29, c.fnGetEditMax(3));
}

TEST(TimeCodeValue, CheckBoundingClampsAndFitsToTheBounds) {
    TimeCodeProbe c;
    c.fnSetFrameRate(25.0);
    // Clamped into the member's range.
    c.m_nCurrent = 1;
    c.setMembers(0, 75, 0, 0);
    EXPECT_EQ(1, c.fnCheckBounding(0));
    EXPECT_EQ(59, c.m_nMember[1]);
    c.setMembers(0, 30, 0, 0);
    EXPECT_EQ(0, c.fnCheckBounding(0));
    EXPECT_EQ(30, c.m_nMember[1]);

    // Above the upper bound: the bound's member, one less while still above.
    c.fnSetIndexUpperBd(c.TimeCodeToIndex(1, 20, 30, 10));
    c.setMembers(1, 45, 0, 0);
    EXPECT_EQ(1, c.fnCheckBounding(0));
    EXPECT_EQ(20, c.m_nMember[1]);
    c.setMembers(1, 45, 40, 0);
    EXPECT_EQ(1, c.fnCheckBounding(0));
    EXPECT_EQ(19, c.m_nMember[1]);

    // Below the lower bound (00:35:00:00): a first digit 3 can still reach 35 and waits.
    c.fnSetIndexUpperBd(8999999);
    c.fnSetIndexLowerBd(c.TimeCodeToIndex(0, 35, 0, 0));
    c.setMembers(0, 3, 0, 0);
    c.m_nFirstDigit = 0;
    EXPECT_EQ(0, c.fnCheckBounding(1));
    EXPECT_EQ(3, c.m_nFirstDigit);
    EXPECT_EQ(35, c.m_nMember[1]);
    // A first digit 2 cannot: fitted at once.
    c.setMembers(0, 2, 0, 0);
    EXPECT_EQ(1, c.fnCheckBounding(1));
    EXPECT_EQ(35, c.m_nMember[1]);
    // Not a first digit: fitted, and one more when the bound is still above.
    c.fnSetIndexLowerBd(c.TimeCodeToIndex(0, 35, 10, 0));
    c.setMembers(0, 20, 5, 0);
    EXPECT_EQ(1, c.fnCheckBounding(0));
    EXPECT_EQ(36, c.m_nMember[1]);
}

TEST(TimeCodeValue, CheckValidAndModifyOnlyAtDropFrame) {
    TimeCodeProbe c;
    c.fnSetFrameRate(kDrop);
    c.setMembers(0, 1, 0, 0);
    EXPECT_EQ(1, c.fnCheckValidAndModify());
    EXPECT_TRUE(c.shows(0, 1, 0, 2));
    c.setMembers(0, 1, 0, 1);
    EXPECT_EQ(1, c.fnCheckValidAndModify());
    EXPECT_EQ(2, c.m_nMember[3]);
    c.setMembers(0, 10, 0, 0);
    EXPECT_EQ(0, c.fnCheckValidAndModify());
    EXPECT_TRUE(c.shows(0, 10, 0, 0));
    c.setMembers(0, 1, 1, 0);
    EXPECT_EQ(0, c.fnCheckValidAndModify());
    c.fnSetFrameRate(59.94);
    c.setMembers(0, 1, 0, 0);
    EXPECT_EQ(0, c.fnCheckValidAndModify());
    EXPECT_EQ(0, c.m_nMember[3]);
}

TEST(TimeCodeValue, StepsCarryIntoHigherMembersAndStopAtTheBounds) {
    TimeCodeProbe c;
    c.fnSetFrameRate(25.0);
    c.fnSetIndex(c.TimeCodeToIndex(0, 59, 10, 5), 25.0, 0);
    c.m_nCurrent = 1;
    // Minutes up at 59: the next hour with minutes 00, minutes stay current.
    EXPECT_EQ(0, c.fnStepChange(1));
    EXPECT_TRUE(c.shows(1, 0, 10, 5));
    EXPECT_EQ(1, c.m_nCurrent);
    // A plain step reports whether only the ones digit changed.
    EXPECT_EQ(1, c.fnStepChange(1));
    EXPECT_TRUE(c.shows(1, 1, 10, 5));
    c.setMembers(1, 9, 10, 5);
    EXPECT_EQ(0, c.fnStepChange(1));
    EXPECT_EQ(10, c.m_nMember[1]);
    // Down at 00 borrows from the hour.
    c.setMembers(1, 0, 10, 5);
    EXPECT_EQ(0, c.fnStepChange(0));
    EXPECT_TRUE(c.shows(0, 59, 10, 5));

    // Near the upper bound the step falls to the first member that still fits, which becomes current.
    int upper = c.TimeCodeToIndex(0, 59, 10, 20);
    c.fnSetIndexUpperBd(upper);
    c.setMembers(0, 59, 10, 5);
    c.m_nCurrent = 1;
    EXPECT_EQ(0, c.fnStepChange(1));
    EXPECT_TRUE(c.shows(0, 59, 10, 6));
    EXPECT_EQ(3, c.m_nCurrent);
    // Frames at the upper bound: nothing changes.
    c.fnSetIndex(upper, 0.0, 0);
    EXPECT_EQ(0, c.fnStepChange(1));
    EXPECT_EQ(upper, c.fnGetIndex());
    // Frames down at the lower bound: nothing changes either.
    c.fnSetIndex(0, 0.0, 0);
    c.fnStepChange(0);
    EXPECT_EQ(0, c.fnGetIndex());
    // Frames carry through the index, with drop-frame numbering.
    c.fnSetFrameRate(kDrop);
    c.fnSetIndex(c.TimeCodeToIndex(0, 0, 59, 29), kDrop, 0);
    c.fnStepChange(1);
    EXPECT_TRUE(c.shows(0, 1, 0, 2));
    c.fnStepChange(0);
    EXPECT_TRUE(c.shows(0, 0, 59, 29));
}

TEST(TimeCodeValue, RefineEditsRefusesAtTheBound) {
    TimeCodeProbe c;
    c.fnSetFrameRate(25.0);
    c.fnSetIndex(8999999, 0.0, 0);
    c.m_nCurrent = 0;
    EXPECT_EQ(0, c.fnRefineEdits(1));
    EXPECT_EQ(8999999, c.fnGetIndex());
    c.fnSetIndex(0, 0.0, 0);
    EXPECT_EQ(0, c.fnRefineEdits(0));
    c.fnSetIndex(100, 0.0, 0);
    c.m_nCurrent = 0;
    EXPECT_EQ(1, c.fnRefineEdits(0));   // neither an hour nor a minute fits above 0: a second does
    EXPECT_EQ(75, c.fnGetIndex());
    EXPECT_EQ(2, c.m_nCurrent);
}
