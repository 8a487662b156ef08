// Helpers of the drawing tests: source bitmaps with known pixels, whole-picture comparisons, and a
// count of live GDI objects.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include "testutil.h"

namespace drawtest {

using testutil::Canvas;
const COLORREF kSentinel = RGB(1, 2, 3);   // what the canvas holds where nothing may be drawn

inline COLORREF colourOf(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

// A 32-bit top-down DIB section, not selected anywhere so the functions under test can select it.
class Dib {
public:
    Dib(int w, int h, const std::function<COLORREF(int, int)>& f) : m_w(w), m_h(h) {
        BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB}};
        m_bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, (void**)&m_bits, nullptr, 0);
        for (int i = 0; i < w * h; ++i) {
            COLORREF c = f(i % w, i / w);
            m_bits[i] = (DWORD)GetRValue(c) << 16 | (DWORD)GetGValue(c) << 8 | GetBValue(c);
        }
    }
    Dib(int w, int h, COLORREF fill = RGB(0, 0, 0)) : Dib(w, h, [=](int, int) { return fill; }) {}
    ~Dib() { DeleteObject(m_bitmap); }
    HBITMAP get() const { return m_bitmap; }
    operator HBITMAP() const { return m_bitmap; }
    int width() const { return m_w; }
    int height() const { return m_h; }
    COLORREF at(int x, int y) const { return GdiFlush(), colourOf(m_bits[y * m_w + x]); }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

private:
    int m_w, m_h;
    HBITMAP m_bitmap;
    DWORD* m_bits = nullptr;
};

// An 8-bit bottom-up DIB section of w x h with every byte a: a blend mask, read by its bytes alone.
inline HBITMAP greyMask(int w, int h, BYTE a) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[256];
    } bi = {{sizeof(BITMAPINFOHEADER), w, h, 1, 8, BI_RGB}};
    void* bits = nullptr;
    HBITMAP m = CreateDIBSection(nullptr, (BITMAPINFO*)&bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    memset(bits, a, ((w + 3) & ~3) * h);
    return m;
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
