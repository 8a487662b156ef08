// The timecode value arithmetic.
#include "timecode/TimeCodeMath.h"
#include <climits>
#include <cstdint>

namespace qtc {

namespace {
// Ten drop-frame minutes: 10 x 1800 - 9 x 2 frames; a dropping minute has 1798.
const int64_t kDropTenMinutes = 17982;
const int64_t kDropMinute = 1798;
const int64_t kFullMinute = 1800;

int toInt(int64_t v) { return (int)(v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : v); }
}  // namespace

int nominalRate(double rate) {
    const double n = rate + 0.999;
    if (!(n >= 1)) return 1;  // also NaN
    return n >= kMaxNominalRate ? kMaxNominalRate : (int)n;
}

bool isDropFrame(double rate) { return rate == 29.97; }

int indexOf(int hours, int minutes, int seconds, int frames, double rate) {
    const int64_t total = (int64_t)hours * 60 + minutes;
    int64_t index = (total * 60 + seconds) * nominalRate(rate) + frames;
    if (isDropFrame(rate)) index -= 2 * (total - total / 10);
    return toInt(index);
}

void membersOf(int index, double rate, int members[4]) {
    int64_t i = index;
    if (isDropFrame(rate)) {
        // Put back the frame numbers skipped so far: two at the start of every minute but each tenth.
        const int64_t tens = i / kDropTenMinutes, rest = i % kDropTenMinutes;
        int64_t total = 10 * tens;
        if (rest >= kFullMinute) total += (rest - kFullMinute) / kDropMinute + 1;
        i += 2 * (total - total / 10);
    }
    const int64_t n = nominalRate(rate), s = i / n;
    members[kFrames] = (int)(i % n);
    members[kSeconds] = (int)(s % 60);
    members[kMinutes] = (int)(s / 60 % 60);
    members[kHours] = toInt(s / 3600);
}

int plainMember(int index, double rate, int member) {
    const int n = nominalRate(rate);
    int parts[4] = {0, 0, 0, index % n};
    int q = index / n;
    parts[kSeconds] = q;
    if (q > 0) {
        parts[kSeconds] = q % 60;
        q /= 60;
        parts[kMinutes] = q;
        if (q > 0) {
            parts[kMinutes] = q % 60;
            parts[kHours] = q / 60;
        }
    }
    return (member >= 0 && member < 4) ? parts[member] : 0;
}

int memberUnits(int member, double rate) {
    static const int kPerUnit[3] = {3600, 60, 1};
    if (member == kFrames) return 1;
    return (member >= 0 && member < 3) ? nominalRate(rate) * kPerUnit[member] : 0;
}

int editMax(int member, double rate) {
    static const int kMax[3] = {99, 59, 59};
    if (member == kFrames) return nominalRate(rate) - 1;
    return (member >= 0 && member < 3) ? kMax[member] : 0;
}

int largestIndex(double rate) { return indexOf(99, 59, 59, nominalRate(rate) - 1, rate); }

int stepFrame(int index, bool up, int lower, int upper) {
    const int64_t next = (int64_t)index + (up ? 1 : -1);
    return up ? (next < upper ? (int)next : upper) : (next > lower ? (int)next : lower);
}

int carryMember(int index, int member, bool up, int lower, int upper, double rate) {
    if (up ? index >= upper : index <= lower) return -1;
    if (member < 0 || member > kFrames) member = member < 0 ? 0 : kFrames;
    for (; member < kFrames; ++member) {
        const int64_t moved = (int64_t)index + (up ? 1 : -1) * (int64_t)memberUnits(member, rate);
        if (up ? moved <= upper : moved >= lower) break;
    }
    return member;
}

int checkBounding(int members[4], int current, bool firstDigit, int lower, int upper, double rate,
                  int* firstDigitOut) {
    if (current < 0 || current > 3) return 0;
    int& v = members[current];
    auto index = [&] { return indexOf(members[kHours], members[kMinutes], members[kSeconds], members[kFrames], rate); };
    int clamped = 0;
    if (v < 0) v = 0, clamped = 1;
    if (v > editMax(current, rate)) v = editMax(current, rate), clamped = 1;

    if (index() > upper) {
        v = plainMember(upper, rate, current);
        if (index() > upper) v = toInt((int64_t)v - 1);  // a negative bound's member may be INT_MIN
        return 1;
    }
    if (index() >= lower) return clamped;

    // Below the lower bound. A lone first digit that a second one can still lift to the bound
    // waits (result 0); the member shows the bound meanwhile.
    int result = 1;
    const int lowerMember = plainMember(lower, rate, current);
    if (!clamped && firstDigit && v >= 0 && v <= 9) {
        if (firstDigitOut) *firstDigitOut = v;
        result = v < lowerMember / 10;
    }
    v = lowerMember;
    if (index() < lower) v = toInt((int64_t)v + 1);
    return result;
}

bool fixDroppedFrame(int members[4], double rate) {
    if (!isDropFrame(rate)) return false;
    if (members[kSeconds] != 0 || members[kFrames] >= 2 || members[kMinutes] % 10 == 0) return false;
    members[kFrames] = 2;
    return true;
}

}  // namespace qtc
