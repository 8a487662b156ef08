// The timecode arithmetic with any index, rate, bounds and members.
#include "fuzzinput.h"
#include "timecode/TimeCodeMath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qfuzz::Input in(data, size);
    static const double kRates[] = {23.976, 24, 25, 29.97, 30, 50, 59.94, 60, 100};
    const int pick = in.range(0, 9);
    const double rate = pick < 9 ? kRates[pick] : in.take<double>();
    const int index = in.take<int32_t>(), lower = in.take<int32_t>(), upper = in.take<int32_t>();
    const int current = in.range(-1, 4);
    int m[4];
    qtc::membersOf(index, rate, m);
    if (index >= 0 && index <= qtc::largestIndex(rate)) {
        QFUZZ_CHECK(qtc::indexOf(m[0], m[1], m[2], m[3], rate) == index);
        for (int k = 0; k < 4; ++k) QFUZZ_CHECK(m[k] >= 0 && m[k] <= qtc::editMax(k, rate));
    }
    for (int k = -1; k <= 4; ++k) {
        qtc::plainMember(index, rate, k);
        qtc::memberUnits(k, rate);
    }
    const bool up = in.range(0, 1);
    const int stepped = qtc::stepFrame(index, up, lower, upper);
    if (lower <= upper && index >= lower && index <= upper) QFUZZ_CHECK(stepped >= lower && stepped <= upper);
    const int member = qtc::carryMember(index, current, up, lower, upper, rate);
    QFUZZ_CHECK(member >= -1 && member <= 3);

    // Members as a user or a host may leave them, then bounded.
    int members[4] = {in.take<int32_t>(), in.take<int32_t>(), in.take<int32_t>(), in.take<int32_t>()};
    int first = -1;
    qtc::checkBounding(members, current, in.range(0, 1), lower, upper, rate, &first);
    // With sane bounds the member stays within a step of its edit range.
    if (current >= 0 && current < 4 && 0 <= lower && lower <= upper && upper <= qtc::largestIndex(rate))
        QFUZZ_CHECK(members[current] >= -1 && members[current] <= qtc::editMax(current, rate) + 1);
    QFUZZ_CHECK(first >= -1 && first <= 9);
    qtc::fixDroppedFrame(members, rate);
    return 0;
}
