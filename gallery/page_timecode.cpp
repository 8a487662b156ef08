// The timecode control: both skins with and without spin buttons, long and short format, and the
// states an editor meets (disabled, display only, half-typed, leading zero).
#include "gallery.h"
#include "qTimeCode.h"
#include <vector>

namespace {
struct Sample {
    int x, y;
    int longFormat, adjustable, compact;
    int index;
    double rate;
    const wchar_t* label;
};

const int kCol[2] = {150, 420};
const int kRow0 = 44, kRowStep = 34;

const Sample kSamples[] = {
    {kCol[0], kRow0 + 0 * kRowStep, 1, 1, 0, 17982, 29.97, L"17982 @ 29.97 DF"},
    {kCol[1], kRow0 + 0 * kRowStep, 0, 1, 0, (((1 * 60 + 23) * 60 + 45) * 25 + 12), 25.0, L"@ 25"},
    {kCol[0], kRow0 + 1 * kRowStep, 1, 0, 0, (((12 * 60 + 34) * 60 + 56) * 24 + 23), 24.0, L"@ 24"},
    {kCol[1], kRow0 + 1 * kRowStep, 0, 0, 0, 1800, 29.97, L"1800 @ 29.97 DF"},
    {kCol[0], kRow0 + 2 * kRowStep, 1, 1, 1, (3599 * 30 + 29), 30.0, L"@ 30"},
    {kCol[1], kRow0 + 2 * kRowStep, 0, 1, 1, 90000, 25.0, L"90000 @ 25"},
    {kCol[0], kRow0 + 3 * kRowStep, 1, 0, 1, 10789199, 29.97, L"last @ 29.97 DF"},
    {kCol[1], kRow0 + 3 * kRowStep, 0, 0, 1, (((2 * 60 + 5) * 60 + 9) * 60 + 41), 59.94, L"@ 59.94"},
};
const wchar_t* const kRowNames[] = {L"standard, spin buttons", L"standard, fixed", L"compact, spin buttons",
                                    L"compact, fixed"};

const int kStatesY = kRow0 + 4 * kRowStep + 26;

std::vector<CTimeCodeCtrl*> g_controls;

CTimeCodeCtrl* add(HWND panel, int x, int y, int longFormat, int adjustable, int compact, int index, double rate) {
    HWND hwnd = CreateWindowExW(0, L"TimeCodeControl", L"", WS_CHILD | WS_VISIBLE, x, y, 10, 10, panel,
                                (HMENU)(INT_PTR)(100 + g_controls.size()), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return nullptr;
    auto* c = new CTimeCodeCtrl;
    if (!c->SubclassWindow(hwnd)) {
        delete c;
        DestroyWindow(hwnd);
        return nullptr;
    }
    g_controls.push_back(c);
    c->fnInit(longFormat, adjustable, compact);
    c->fnSetIndex(index, rate, 1);
    return c;
}

void build(HWND panel) {
    for (const Sample& s : kSamples) add(panel, s.x, s.y, s.longFormat, s.adjustable, s.compact, s.index, s.rate);

    // States, all at 00:10:00:00 drop-frame unless said otherwise.
    if (CTimeCodeCtrl* c = add(panel, kCol[0], kStatesY, 1, 1, 0, 17982, 29.97)) c->EnableWindow(FALSE);
    if (CTimeCodeCtrl* c = add(panel, kCol[1], kStatesY, 1, 1, 0, 17982, 29.97)) c->fnSetAdjustable(0);
    // Seconds caught half-typed: the user has typed 3 and the second digit is awaited.
    if (CTimeCodeCtrl* c = add(panel, kCol[0], kStatesY + kRowStep, 1, 1, 0, 17982 + 30 * 42 + 7, 29.97)) {
        c->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        c->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        c->SendMessage(WM_KEYDOWN, '3', 0);
    }
    if (CTimeCodeCtrl* c = add(panel, kCol[1], kStatesY + kRowStep, 1, 1, 0, 17982, 29.97)) {
        c->fnSetHourLeadingZero(1);
        c->Invalidate();
    }
    if (CTimeCodeCtrl* c = add(panel, kCol[0], kStatesY + 2 * kRowStep, 1, 1, 1, 17982, 29.97)) c->EnableWindow(FALSE);
    add(panel, kCol[1], kStatesY + 2 * kRowStep, 0, 1, 1, 0, 25.0);
}

void paint(HDC dc, const RECT&) {
    galleryLabel(dc, 10, 10, L"Timecode control: index \x2192 hh:mm:ss:ff, drop-frame at 29.97");
    galleryLabel(dc, kCol[0], 26, L"long format");
    galleryLabel(dc, kCol[1], 26, L"short format");
    for (int r = 0; r < 4; ++r) galleryLabel(dc, 10, kRow0 + r * kRowStep + 4, kRowNames[r]);
    for (const Sample& s : kSamples) galleryLabel(dc, s.x + 110, s.y + 4, s.label);
    galleryLabel(dc, 10, kStatesY - 20, L"states");
    galleryLabel(dc, 10, kStatesY + 4, L"disabled / fixed");
    galleryLabel(dc, 10, kStatesY + kRowStep + 4, L"half-typed / lead zero");
    galleryLabel(dc, 10, kStatesY + 2 * kRowStep + 4, L"compact disabled / 0");
}

void teardown(HWND) {
    for (CTimeCodeCtrl* c : g_controls) delete c;
    g_controls.clear();
}
}  // namespace

GALLERY_PAGE(timecode, L"timecode", 680, 330, build, paint, teardown);
