// Small GDI helpers shared by every drawing routine of the library: selection guards and memory DCs
// (the tiling and nine-cell rules live in drawing/geometry.h).
#pragma once
#include <windows.h>
#include "drawing/geometry.h"

namespace qdraw {

// Selects an object into a DC for the guard's life and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(dc && obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectGuard() {
        if (m_old && m_old != HGDI_ERROR) SelectObject(m_dc, m_old);
    }
    bool ok() const { return m_old && m_old != HGDI_ERROR; }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Owns a GDI object made here (brush, pen, region, bitmap, font) and deletes it at the end of its
// life unless it was released to the caller. Never wrap a caller's object in it.
template <class H>
class OwnedGdi {
public:
    explicit OwnedGdi(H h = nullptr) : m_h(h) {}
    ~OwnedGdi() { reset(); }
    void reset(H h = nullptr) {
        if (m_h) DeleteObject(m_h);
        m_h = h;
    }
    H release() {
        H h = m_h;
        m_h = nullptr;
        return h;
    }
    H get() const { return m_h; }
    operator H() const { return m_h; }
    OwnedGdi(const OwnedGdi&) = delete;
    OwnedGdi& operator=(const OwnedGdi&) = delete;

private:
    H m_h;
};

// Locks a movable global memory block for the guard's life (the block stays its owner's).
template <class T = void>
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : m_block(block), m_ptr(block ? (T*)GlobalLock(block) : nullptr) {}
    ~GlobalLockGuard() {
        if (m_ptr) GlobalUnlock(m_block);
    }
    T* get() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

private:
    HGLOBAL m_block;
    T* m_ptr;
};

// A memory DC compatible with another DC (the screen when null), deleted at the end of its life.
class MemDC {
public:
    explicit MemDC(HDC compatibleWith = nullptr) : m_dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemDC() {
        if (m_dc) DeleteDC(m_dc);
    }
    operator HDC() const { return m_dc; }
    HDC get() const { return m_dc; }
    // Deletes the DC now; false when there was none or the deletion failed.
    bool close() {
        BOOL deleted = m_dc ? DeleteDC(m_dc) : FALSE;
        m_dc = nullptr;
        return deleted != FALSE;
    }
    MemDC(const MemDC&) = delete;
    MemDC& operator=(const MemDC&) = delete;

private:
    HDC m_dc;
};

// A memory DC with a bitmap selected for the guard's life: the caller's bitmap (not deleted), or
// one made here compatible with the reference DC (deleted unless released).
class BitmapDC {
public:
    // Selects an existing bitmap, which stays the caller's.
    BitmapDC(HDC compatibleWith, HBITMAP bitmap) : m_mem(compatibleWith), m_bitmap(bitmap), m_owned(false) {
        select();
    }
    // Makes a compatible bitmap of w x h.
    BitmapDC(HDC compatibleWith, int w, int h)
        : m_mem(compatibleWith), m_bitmap(nullptr), m_owned(true) {
        if (w > 0 && h > 0) {
            HDC ref = compatibleWith ? compatibleWith : GetDC(nullptr);
            m_bitmap = CreateCompatibleBitmap(ref, w, h);
            if (!compatibleWith) ReleaseDC(nullptr, ref);
        }
        select();
    }
    ~BitmapDC() { close(); }
    // Puts the previous bitmap back and deletes the DC (and a bitmap made here) now; false when the
    // DC could not be deleted.
    bool close() {
        if (m_old && m_old != HGDI_ERROR) SelectObject(m_mem, m_old);
        m_old = nullptr;
        if (m_owned && m_bitmap) DeleteObject(m_bitmap);
        m_owned = false;
        return m_mem.close();
    }
    bool ok() const { return m_mem.get() && m_bitmap && m_old && m_old != HGDI_ERROR; }
    operator HDC() const { return m_mem; }
    HDC dc() const { return m_mem; }
    HBITMAP bitmap() const { return m_bitmap; }
    // Hands a bitmap made here to the caller: deselected now, no longer deleted by the guard.
    HBITMAP release() {
        if (m_old && m_old != HGDI_ERROR) SelectObject(m_mem, m_old);
        m_old = nullptr;
        m_owned = false;
        return m_bitmap;
    }
    BitmapDC(const BitmapDC&) = delete;
    BitmapDC& operator=(const BitmapDC&) = delete;

private:
    void select() { m_old = (m_mem.get() && m_bitmap) ? SelectObject(m_mem, m_bitmap) : nullptr; }
    MemDC m_mem;
    HBITMAP m_bitmap;
    bool m_owned;
    HGDIOBJ m_old = nullptr;
};

// A window's DC (GetDC), released at the end of the guard's life.
class WindowDC {
public:
    explicit WindowDC(HWND window) : m_wnd(window), m_dc(GetDC(window)) {}
    ~WindowDC() {
        if (m_dc) ReleaseDC(m_wnd, m_dc);
    }
    operator HDC() const { return m_dc; }
    HDC get() const { return m_dc; }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

private:
    HWND m_wnd;
    HDC m_dc;
};

// Whether a raster operation reads the source at all: its result differs where the source bits do.
inline bool ropReadsSource(DWORD rop) { return (((rop >> 2) ^ rop) & 0x330000) != 0; }

// A bottom-up DIB section of 24 or 32 bits without a colour table; *pixels receives its bits.
inline HBITMAP createDIBSection(HDC dc, int width, int height, int bits, void** pixels) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = (WORD)bits;
    bi.bmiHeader.biCompression = BI_RGB;
    *pixels = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, pixels, nullptr, 0);
    if (!dib) *pixels = nullptr;
    return dib;
}

// DT_CALCRECT of text in what dc has selected: rect becomes the text's extent; 1, or 0 for an
// empty text or a failure.
inline int measureText(HDC dc, RECT* rect, const wchar_t* text, UINT format) {
    const int height = DrawTextW(dc, text, -1, rect, format | DT_CALCRECT);
    // An empty text has no height; some DrawTextW versions report a line's height for it.
    return height > 0 && text[0] ? 1 : 0;
}

// A bitmap in dc's format. On a true-colour device a DIB section of its depth: the system selects
// and blits a DIB section several times faster than a device-dependent bitmap. Palette and
// monochrome devices get a device-dependent one.
inline HBITMAP compatibleSection(HDC dc, int width, int height) {
    const int bits = dc ? GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) : 0;
    if (bits != 24 && bits != 32) return CreateCompatibleBitmap(dc, width, height);
    void* pixels = nullptr;
    return createDIBSection(dc, width, height, bits, &pixels);
}

}  // namespace qdraw
