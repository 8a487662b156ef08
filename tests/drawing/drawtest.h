// Helpers of the drawing tests: source bitmaps with known pixels, whole-picture comparisons, and a
// count of live GDI objects.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <functional>
#include "testutil.h"

namespace drawtest {

using testutil::Canvas;
const COLORREF kSentinel = RGB(1, 2, 3);   // what the canvas holds where nothing may be drawn

inline COLORREF colourOf(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

// A 32-bit top-down DIB section, not selected anywhere so the functions under test can select it.
struct Dib {
    int w, h;
    DWORD* bits = nullptr;
    HBITMAP bitmap;
    Dib(int w_, int h_, const std::function<COLORREF(int, int)>& f) : w(w_), h(h_) {
        BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB}};
        bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        for (int i = 0; i < w * h; ++i) {
            const COLORREF c = f(i % w, i / w);
            bits[i] = (DWORD)GetRValue(c) << 16 | (DWORD)GetGValue(c) << 8 | GetBValue(c);
        }
    }
    Dib(int w, int h, COLORREF fill = RGB(0, 0, 0)) : Dib(w, h, [=](int, int) { return fill; }) {}
    ~Dib() { DeleteObject(bitmap); }
    Dib(const Dib&) = delete;
    HBITMAP get() const { return bitmap; }
    operator HBITMAP() const { return bitmap; }
    int width() const { return w; }
    int height() const { return h; }
    COLORREF at(int x, int y) const { return GdiFlush(), colourOf(bits[y * w + x]); }
};

// An 8-bit bottom-up DIB section of w x h with every byte a: a blend mask, read by its bytes alone.
inline HBITMAP greyMask(int w, int h, BYTE a) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[256];
    } bi = {{sizeof(BITMAPINFOHEADER), w, h, 1, 8, BI_RGB}};
    BYTE* bits = nullptr;
    HBITMAP m = CreateDIBSection(nullptr, (BITMAPINFO*)&bi, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
    return std::fill(bits, bits + ((w + 3) & ~3) * h, a), m;
}

using testutil::pixelsAre;

inline bool in(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
inline COLORREF blank(int, int) { return kSentinel; }
// The picture that is what(x, y) inside r and the sentinel elsewhere.
template <class F>
auto onlyIn(RECT r, F what) { return [=](int x, int y) { return in(r, x, y) ? (COLORREF)what(x, y) : kSentinel; }; }

using testutil::gdiLeakOver;

// A colour that names its coordinates, for telling source pixels apart.
inline COLORREF coordColour(int x, int y) { return RGB(x * 7 % 256, y * 7 % 256, 100 + (x + y) % 50); }

}  // namespace drawtest
