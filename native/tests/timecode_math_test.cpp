// The timecode arithmetic over whole ranges of indices at every common rate, and at the ends of the
// int range where a host's index or a strange rate would overflow a sum.
#include "timecode/TimeCodeMath.h"
#include <gtest/gtest.h>
#include <climits>
#include <cmath>

namespace {
using namespace qtc;

const double kRates[] = {23.976, 24, 25, 29.97, 30, 50, 59.94, 60, 100};

// Index -> members -> index at every rate, with members inside their edit ranges and, at 29.97, no
// dropped frame number ever shown. All of the first 25 minutes, then every 331st index to the end.
TEST(TimeCodeMath, MembersRoundTripAtEveryRate) {
    for (double rate : kRates) {
        const int last = largestIndex(rate), n = nominalRate(rate);
        for (int index = 0; index <= last; index += index < 25 * 60 * n ? 1 : 331) {
            int m[4];
            membersOf(index, rate, m);
            ASSERT_EQ(indexOf(m[0], m[1], m[2], m[3], rate), index) << "rate " << rate;
            for (int k = 0; k < 4; ++k) ASSERT_TRUE(m[k] >= 0 && m[k] <= editMax(k, rate)) << index << " " << k;
            if (isDropFrame(rate))
                ASSERT_FALSE(m[kSeconds] == 0 && m[kFrames] < 2 && m[kMinutes] % 10) << index;
        }
        int m[4];
        membersOf(last, rate, m);
        EXPECT_EQ(m[kHours] * 10000 + m[kMinutes] * 100 + m[kSeconds], 995959) << rate;
        EXPECT_EQ(m[kFrames], n - 1) << rate;
    }
}

TEST(TimeCodeMath, StrangeRatesCountAtLeastOneFrameAndHugeOnesStillFit) {
    for (double rate : {0.0, -1.0, -0.5, 0.0005, std::nan(""), -double(INFINITY)})
        EXPECT_EQ(nominalRate(rate), 1) << rate;
    for (double rate : {1e12, double(INFINITY), 1e300}) {
        EXPECT_EQ(nominalRate(rate), kMaxNominalRate) << rate;
        EXPECT_GT(largestIndex(rate), 0) << rate;
    }
    EXPECT_EQ(largestIndex(kMaxNominalRate), 360000 * kMaxNominalRate - 1);
}

TEST(TimeCodeMath, IndicesAtTheEndsOfTheIntRange) {
    for (double rate : {1.0, 25.0, 29.97, 100.0}) {
        for (int index : {INT_MAX, INT_MAX - 1, INT_MIN, INT_MIN + 1, -1}) {
            int m[4];
            membersOf(index, rate, m);
            // Hours beyond 99 are the host's business, but the split itself must stay exact.
            if (index >= 0) EXPECT_EQ(indexOf(m[0], m[1], m[2], m[3], rate), index) << rate << " " << index;
        }
        EXPECT_EQ(indexOf(INT_MAX, 59, 59, 99, rate), INT_MAX);
        EXPECT_EQ(indexOf(INT_MIN, 0, 0, 0, rate), INT_MIN);
    }
}

TEST(TimeCodeMath, SteppingAtTheBoundsOfTheIntRange) {
    EXPECT_EQ(stepFrame(INT_MAX, true, 0, INT_MAX), INT_MAX);
    EXPECT_EQ(stepFrame(INT_MIN, false, INT_MIN, 0), INT_MIN);
    EXPECT_EQ(stepFrame(41, true, 0, 100), 42);
    EXPECT_EQ(stepFrame(41, false, 41, 100), 41);
    // An hour up from just under INT_MAX only fits as a frame, a minute down from just above
    // INT_MIN only as a second; at the bound nothing moves.
    EXPECT_EQ(carryMember(INT_MAX - 5, kHours, true, 0, INT_MAX, 30), kFrames);
    EXPECT_EQ(carryMember(INT_MAX, kHours, true, 0, INT_MAX, 30), -1);
    EXPECT_EQ(carryMember(INT_MIN + 100, kMinutes, false, INT_MIN, 0, 30), kSeconds);
    // The ordinary carry: 40 s from the upper bound a minute does not fit but a second does.
    EXPECT_EQ(carryMember(1000, kMinutes, true, 0, 1000 + 40 * 25, 25), kSeconds);
}

TEST(TimeCodeMath, BoundingKeepsTheMemberAndIndexInRange) {
    // 29.97 with the upper bound 17984 (00:10:00;02): 95 typed into the minutes is held at the
    // bound's minutes, and the index never passes it.
    int m[4] = {0, 95, 0, 0};
    int first = -1;
    EXPECT_EQ(checkBounding(m, kMinutes, false, 0, 17984, 29.97, &first), 1);
    EXPECT_LE(indexOf(m[0], m[1], m[2], m[3], 29.97), 17984);
    // Extreme members are pulled back inside without overflow.
    int big[4] = {INT_MAX, INT_MIN, INT_MAX, INT_MIN};
    EXPECT_EQ(checkBounding(big, kHours, false, 0, largestIndex(25), 25, &first), 1);
    EXPECT_TRUE(big[kHours] >= 0 && big[kHours] <= 99);
    EXPECT_EQ(checkBounding(big, 7, false, 0, 100, 25, &first), 0) << "no such member";
    // A host's negative upper bound splits into INT_MIN seconds at one frame a second; the step
    // below it must not wrap.
    int low[4] = {0, 0, 5, 3};
    EXPECT_EQ(checkBounding(low, kSeconds, false, INT_MIN, INT_MIN, 1.0, &first), 1);
    EXPECT_EQ(low[kSeconds], INT_MIN);
}

}  // namespace
