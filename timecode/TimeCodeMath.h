// The timecode value arithmetic: frame index <-> hours, minutes, seconds and frames at a frame
// rate (drop-frame numbering at 29.97), bounds and stepping with carry. Plain functions over
// numbers: the control keeps the state and repaints, these keep the rules. The host may hand in
// any index, rate or member, so the sums run in 64 bits and results stop at the int range.
#pragma once

namespace qtc {

enum { kHours = 0, kMinutes = 1, kSeconds = 2, kFrames = 3 };

// Frames in one second: the rate rounded up (29.97 -> 30, 23.976 -> 24, 25 -> 25). A rate that
// gives none (zero, negative, NaN) counts 1; a huge one stops where 99:59:59 still fits an int.
int nominalRate(double rate);
const int kMaxNominalRate = 5965;

// Drop-frame numbering belongs to 29.97 alone (not 59.94).
bool isDropFrame(double rate);

int indexOf(int hours, int minutes, int seconds, int frames, double rate);
// The members of an index; at 29.97 in drop-frame numbering.
void membersOf(int index, double rate, int members[4]);
// One member of an index split plainly, without drop-frame numbering (how bounds are split).
int plainMember(int index, double rate, int member);
// Frames one step of the member moves: an hour, a minute, a second or one frame.
int memberUnits(int member, double rate);
int editMax(int member, double rate);
// 99:59:59 and the last frame of a second.
int largestIndex(double rate);

// One frame up or down, kept within [lower, upper].
int stepFrame(int index, bool up, int lower, int upper);
// The member a step of `member` carries down to so the index stays within the bounds: the first
// member from `member` on whose unit still fits. -1 when the index is already at the bound.
int carryMember(int index, int member, bool up, int lower, int upper, double rate);

// Keeps the current member within its edit range and the index within the bounds, as a typed or
// stepped member needs: returns 1 when the member was changed, 0 when it stood. Below the lower
// bound a lone first digit (firstDigit set) that a second digit can still lift to the bound waits:
// the result is then 0 and *firstDigitOut receives the digit. The member shows the bound.
int checkBounding(int members[4], int current, bool firstDigit, int lower, int upper, double rate,
                  int* firstDigitOut);

// Frames 00 and 01 do not exist at second 00 of a dropping minute: true when the members named
// one of them and now name frame 02.
bool fixDroppedFrame(int members[4], double rate);

}  // namespace qtc
