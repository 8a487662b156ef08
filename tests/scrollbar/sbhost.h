// Scroll bar tests on real windows: a patterned parent that records every WM_HSCROLL / WM_VSCROLL,
// a probe that opens the bar's state and logs its timers, and real input (liveinput.h).
#pragma once
#include "liveinput.h"
#include "qScrollBarEx.h"
#include <vector>

using testutil::pointerTo, testutil::buttonDown, testutil::buttonUp, testutil::wheel, testutil::clickAt;
using testutil::pumpUntil, testutil::pump;

class ScrollProbe : public CqScrollBarEx {
public:
    using CqScrollBarEx::m_rcArrow1, CqScrollBarEx::m_rcArrow2, CqScrollBarEx::m_rcShaft, CqScrollBarEx::m_rcThumb;
    using CqScrollBarEx::m_nTimerID, CqScrollBarEx::m_nHoverCode, CqScrollBarEx::m_bFreeze, CqScrollBarEx::m_szArrow;
    using CqScrollBarEx::m_pShaftBmp, CqScrollBarEx::m_pThumbBmp, CqScrollBarEx::m_hMemDC, CqScrollBarEx::m_bLButtonDown;
    std::vector<std::pair<UINT_PTR, DWORD>> timers;   // id and GetTickCount of every WM_TIMER

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER) timers.push_back({wParam, GetTickCount()});
        return CqScrollBarEx::WindowProc(message, wParam, lParam);
    }
};

// One notification as the parent saw it: WM_HSCROLL or WM_VSCROLL, SB_*, the high word of wParam,
// lParam and GetTickCount when it arrived.
struct Note {
    UINT msg, code, pos;
    HWND from;
    DWORD at;
};

// The parent's pattern at a client point: uneven stripes whose red and blue differ.
inline COLORREF hostPattern(int x, int y) { return ((x / 3 + y / 5) % 2) ? RGB(200, 60, 20) : RGB(30, 90, 210); }

// A visible top-level window at (40, 40), 700 x 400, painted with hostPattern, that records the
// scroll notifications of its children. One serves every test of the process.
class ScrollHost {
public:
    ScrollHost();
    ~ScrollHost();   // destroys the bars the test made
    HWND parent() const { return m_parent; }
    // A bar created with fnCreate at rect (parent coordinates), painted and idle.
    ScrollProbe& create(bool vertical, RECT rect, int nMin, int nMax, int nPos, int nLine, int nPage);
    static std::vector<Note> notes;
    std::vector<UINT> codes() const;
    void clear() { notes.clear(); }

private:
    HWND m_parent = nullptr;
    std::vector<ScrollProbe*> m_bars;
};

// A point `along` the bar's axis, `across` from its side.
inline POINT on(bool vertical, int along, int across = 8) { return vertical ? POINT{across, along} : POINT{along, across}; }
// A key through the queue, as a keyboard delivers it to the focused window.
void key(HWND target, UINT vk);
// Pixels of a skin image in "qDVDUser\ScrollBarEx\" (0xAARRGGBB), with its size.
struct SkinImage {
    int w = 0, h = 0;
    std::vector<DWORD> px;
    DWORD at(int x, int y) const { return px[y * w + x]; }
};
SkinImage loadSkinImage(const wchar_t* file, const wchar_t* alphaFile = nullptr);
inline COLORREF rgbOf(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }
