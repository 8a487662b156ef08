// Scroll bar tests on real windows: a patterned parent that records every WM_HSCROLL / WM_VSCROLL,
// a probe that opens the bar's state and logs its timers, and real input through SendInput.
#pragma once
#include <gtest/gtest.h>
#include "qScrollBarEx.h"
#include <functional>
#include <vector>

class ScrollProbe : public CqScrollBarEx {
public:
    using CqScrollBarEx::m_rcArrow1, CqScrollBarEx::m_rcArrow2, CqScrollBarEx::m_rcShaft, CqScrollBarEx::m_rcThumb;
    using CqScrollBarEx::m_nTimerID, CqScrollBarEx::m_nHitCode, CqScrollBarEx::m_nHoverCode, CqScrollBarEx::m_bFreeze;
    using CqScrollBarEx::m_pShaftBmp, CqScrollBarEx::m_pThumbBmp, CqScrollBarEx::m_pBkBmp, CqScrollBarEx::m_hMemDC;
    using CqScrollBarEx::m_szArrow, CqScrollBarEx::m_szThumbBegin, CqScrollBarEx::m_bLButtonDown;
    using CqScrollBarEx::m_ptAnchor;

    struct Tick {
        UINT_PTR id;
        DWORD at;
    };
    std::vector<Tick> timers;   // every WM_TIMER, as it arrived

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER) timers.push_back({wParam, GetTickCount()});
        return CqScrollBarEx::WindowProc(message, wParam, lParam);
    }
};

// One notification as the parent saw it.
struct Note {
    UINT msg;     // WM_HSCROLL or WM_VSCROLL
    UINT code;    // SB_*
    UINT pos;     // high word of wParam
    HWND from;    // lParam
    DWORD at;     // GetTickCount when it arrived
};

// The parent's pattern at a client point: uneven stripes whose red and blue differ.
COLORREF hostPattern(int x, int y);

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

// Runs this thread's messages until done() or ms milliseconds; the result of done() at the end.
bool pumpUntil(DWORD ms, const std::function<bool()>& done);
inline void pump(DWORD ms) { pumpUntil(ms, [] { return false; }); }
// Real pointer input at a client point of a window; each returns once the input is handled.
void pointerTo(HWND window, int x, int y);
void buttonDown();
void buttonUp();
inline void clickAt(HWND window, int x, int y) { pointerTo(window, x, y), buttonDown(), buttonUp(); }
void wheel(int delta);
// A key through the queue, as a keyboard delivers it to the focused window.
void key(HWND target, UINT vk);
// The screen's pixel at a client point of a window.
COLORREF screenPixel(HWND window, int x, int y);
// Pixels of a skin image in "qDVDUser\ScrollBarEx\" (0xAARRGGBB), with its size.
struct SkinImage {
    int w = 0, h = 0;
    std::vector<DWORD> px;
    DWORD at(int x, int y) const { return px[y * w + x]; }
};
SkinImage loadSkinImage(const wchar_t* file, const wchar_t* alphaFile = nullptr);
inline COLORREF rgbOf(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }
