#include "Clips.h"
#include <cmath>
#include <cwchar>

std::vector<Clip> sampleClips() {
    // Lengths: 00:02:00;04 at 29.97 DF, 00:01:12:10 at 25, 00:00:50:08 at 23.976.
    return {
        {L"Harbour at dawn", 29.97, 3600, 0, 3600},
        {L"Market street", 25.0, 1810, 0, 1810},
        {L"Night train", 23.976, 1208, 0, 1208},
    };
}

int nominalFps(double rate) { return (int)std::ceil(rate - 1e-6); }

bool isDropFrame(double rate) { return std::fabs(rate - 29.97) < 1e-6; }

std::wstring timecodeText(int frame, double rate) {
    const int fps = nominalFps(rate);
    if (frame < 0 || fps <= 0) return L"--:--:--:--";
    long long f = frame;
    if (isDropFrame(rate)) {
        // Frame numbers 0 and 1 are skipped at the start of every minute but each tenth.
        const long long perTen = 17982, perMinute = 1798;
        const long long tens = f / perTen, rest = f % perTen;
        f += 18 * tens + (rest >= 2 ? 2 * ((rest - 2) / perMinute) : 0);
    }
    wchar_t text[32];
    swprintf(text, 32, L"%02lld:%02lld:%02lld%lc%02lld", f / fps / 3600, f / fps / 60 % 60, f / fps % 60,
             isDropFrame(rate) ? L';' : L':', f % fps);
    return text;
}

std::wstring rateText(double rate) {
    if (isDropFrame(rate)) return L"29.97 DF";
    wchar_t text[16];
    swprintf(text, 16, L"%g", rate);
    return text;
}

std::wstring rangeText(const Clip& clip) {
    return timecodeText(clip.in, clip.rate) + L" - " + timecodeText(clip.out, clip.rate);
}
