// Small GDI helpers shared by every drawing routine of the library: selection guards, memory DCs
// and the one tiling rule.
#pragma once
#include <windows.h>

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

// A memory DC compatible with another DC (the screen when null), deleted at the end of its life.
class MemDC {
public:
    explicit MemDC(HDC compatibleWith = nullptr) : m_dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemDC() {
        if (m_dc) DeleteDC(m_dc);
    }
    operator HDC() const { return m_dc; }
    HDC get() const { return m_dc; }
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
    ~BitmapDC() {
        if (m_old && m_old != HGDI_ERROR) SelectObject(m_mem, m_old);
        if (m_owned && m_bitmap) DeleteObject(m_bitmap);
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

// The tiling rule: tiles of tw x th laid over r from its top-left corner, rows top to bottom and
// cells left to right; cells of the last row and column are cut to r. fn(x, y, w, h) receives each
// cell in r's coordinates; every cell is drawn from the tile's top-left source point. Nothing is
// called for an empty or inverted rectangle or a tile without area.
template <class F>
void forEachTile(const RECT& r, int tw, int th, F&& fn) {
    if (tw <= 0 || th <= 0 || r.right <= r.left || r.bottom <= r.top) return;
    for (long y = r.top; y < r.bottom; y += th) {
        int h = (int)((r.bottom - y) < th ? (r.bottom - y) : th);
        for (long x = r.left; x < r.right; x += tw) {
            int w = (int)((r.right - x) < tw ? (r.right - x) : tw);
            fn((int)x, (int)y, w, h);
        }
    }
}

}  // namespace qdraw
