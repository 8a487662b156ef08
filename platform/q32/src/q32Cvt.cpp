// Pixel-buffer library, conversion part: buffers to and from GDI bitmaps and packed DIBs.
// Plain BGR/BGRA layouts are copied row by row; every other format goes through GDI.
#include "q32Cvt.h"
#include "pixelWiden.h"
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

// ---- Guards: every path gives back what it took.

struct ScreenDC {
    HDC dc = GetDC(nullptr);
    ~ScreenDC() {
        if (dc) ReleaseDC(nullptr, dc);
    }
};

struct GdiObject {
    HGDIOBJ h;
    explicit GdiObject(HGDIOBJ o) : h(o) {}
    ~GdiObject() {
        if (h) DeleteObject(h);
    }
    HGDIOBJ release() {
        HGDIOBJ o = h;
        h = nullptr;
        return o;
    }
};

// Scratch memory; a size of 0 asks for nothing (p stays null).
struct HeapBlock {
    BYTE* p;
    explicit HeapBlock(size_t n) : p(n ? static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, n)) : nullptr) {}
    ~HeapBlock() {
        if (p) HeapFree(GetProcessHeap(), 0, p);
    }
};

struct MemoryDC {
    HDC dc = CreateCompatibleDC(nullptr);
    ~MemoryDC() {
        if (dc) DeleteDC(dc);
    }
};

struct SelectObjectGuard {
    HDC dc;
    HGDIOBJ old;
    SelectObjectGuard(HDC d, HGDIOBJ o) : dc(d), old(SelectObject(d, o)) {}
    ~SelectObjectGuard() {
        if (old) SelectObject(dc, old);
    }
};

// A movable global block, locked while this lives; freed unless released to the caller.
struct GlobalBlock {
    HGLOBAL h;
    BYTE* p = nullptr;
    explicit GlobalBlock(size_t n) : h(GlobalAlloc(GMEM_MOVEABLE, n)) {
        if (h) p = static_cast<BYTE*>(GlobalLock(h));
    }
    ~GlobalBlock() {
        if (p) GlobalUnlock(h);
        if (h) GlobalFree(h);
    }
    HGLOBAL release() {
        GlobalUnlock(h);
        p = nullptr;
        HGLOBAL r = h;
        h = nullptr;
        return r;
    }
};

// A caller's buffer, locked for reading while this lives.
struct LockedBuffer {
    void* buf;
    BYTE* px = nullptr;
    int w = 0, h = 0, u = 0;
    explicit LockedBuffer(void* b) : buf(b) {
        void* p = nullptr;
        if (buf32GetWHU(b, &w, &h, &u) && buf32Lock(b, 4, &p)) px = static_cast<BYTE*>(p);
    }
    ~LockedBuffer() {
        if (px) buf32Unlock(buf);
    }
};

// A new buffer being filled; freed unless released to the caller.
struct NewBuffer {
    void* buf = nullptr;
    BYTE* px = nullptr;
    NewBuffer(int w, int h, int u) {
        void* p = nullptr;
        if (buf32Alloc(&buf, u * 8, w, h, 2, nullptr) && buf32Lock(buf, 4, &p)) px = static_cast<BYTE*>(p);
    }
    ~NewBuffer() {
        if (px) buf32Unlock(buf);
        buf32Free(buf);
    }
    void* release() {
        buf32Unlock(buf);
        px = nullptr;
        void* b = buf;
        buf = nullptr;
        return b;
    }
};

// ---- Row helpers

size_t dibStride(int width, int bits) { return (size_t(width) * bits + 31) / 32 * 4; }

// Copies rows between strides; bottomUp reads the source rows last to first.
void copyRows(BYTE* dst, size_t dstStride, const BYTE* src, size_t srcStride, size_t rowBytes, int rows,
              bool bottomUp) {
    for (int r = 0; r < rows; ++r)
        std::memcpy(dst + r * dstStride, src + (bottomUp ? rows - 1 - r : r) * srcStride, rowBytes);
}

// Room for any colour table or bit-field masks GDI may write after the header.
struct DibInfo {
    BITMAPINFOHEADER h;
    RGBQUAD colors[256];
    BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

DibInfo topDownInfo(int w, int h, int u) {
    DibInfo info = {};
    info.h = {sizeof(BITMAPINFOHEADER), w, -h, 1, WORD(u * 8), BI_RGB, DWORD(dibStride(w, u * 8) * h)};
    return info;
}

using q32::widen;

bool standardMasks(const DWORD* m) { return m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF; }

// True when the pixels are u-byte BGR(A) exactly as a buffer holds them.
bool plainLayout(int bits, DWORD compression, const DWORD* masks, int u) {
    if (bits != u * 8) return false;
    return compression == BI_RGB || (u == 4 && compression == BI_BITFIELDS && standardMasks(masks));
}

int bitmapU(const BITMAP& bm) { return bm.bmBitsPixel == 32 ? 4 : 3; }

bool bitmapInfo(HBITMAP bitmap, BITMAP& bm) {
    return bitmap && GetObjectType(bitmap) == OBJ_BITMAP && GetObjectW(bitmap, sizeof bm, &bm) == sizeof bm &&
           bm.bmWidth > 0 && bm.bmHeight > 0 && size_t(bm.bmWidth) * size_t(bm.bmHeight) * 4 <= size_t(INT_MAX);
}

// Top-down rows of u-byte pixels from any bitmap into dst, by GetDIBits also for DIB sections:
// the height sign GetObject reports for a section does not reliably tell its row order.
bool readBitmap(HBITMAP bitmap, int w, int h, int u, BYTE* dst, size_t dstStride) {
    size_t stride = dibStride(w, u * 8), rowBytes = size_t(w) * u;
    // GetDIBits writes padded rows: straight into dst when its rows are padded alike.
    HeapBlock temp(dstStride == stride ? 0 : stride * h);
    BYTE* target = dstStride == stride ? dst : temp.p;
    if (!target) return false;
    DibInfo info = topDownInfo(w, h, u);
    ScreenDC screen;
    if (!screen.dc || GetDIBits(screen.dc, bitmap, 0, h, target, info.get(), DIB_RGB_COLORS) != h) return false;
    if (target != dst) copyRows(dst, dstStride, target, stride, rowBytes, h, false);
    return true;
}

// ---- Packed DIBs

struct PackedDib {
    const BITMAPINFOHEADER* header;
    int width, height;
    bool bottomUp;
    const DWORD* masks;  // valid for BI_BITFIELDS
    const BYTE* bits;
};

// Locates the parts of a packed DIB; false when the header describes nothing we can read.
bool parsePackedDib(const void* p, PackedDib& d) {
    auto* h = static_cast<const BITMAPINFOHEADER*>(p);
    DWORD size = h->biSize;
    if (size != sizeof(BITMAPINFOHEADER) && size != 52 && size != 56 && size != sizeof(BITMAPV4HEADER) &&
        size != sizeof(BITMAPV5HEADER))
        return false;
    if (h->biWidth <= 0 || h->biHeight == 0 || h->biHeight == INT_MIN || h->biPlanes != 1) return false;
    int bits = h->biBitCount;
    DWORD comp = h->biCompression;
    bool known = (comp == BI_RGB && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
                 (comp == BI_RLE8 && bits == 8 && h->biHeight > 0) || (comp == BI_RLE4 && bits == 4 && h->biHeight > 0) ||
                 (comp == BI_BITFIELDS && (bits == 16 || bits == 32));
    if (!known) return false;
    int w = h->biWidth, rows = h->biHeight < 0 ? -h->biHeight : h->biHeight;
    if (size_t(w) * size_t(rows) * 4 > size_t(INT_MAX)) return false;
    DWORD colors = h->biClrUsed;
    if (bits <= 8 && (colors == 0 || colors > (1u << bits))) colors = 1u << bits;
    if (colors > 256) return false;
    // Masks follow the header at offset 40 in every version; a 40-byte header adds them after itself.
    size_t maskBytes = (comp == BI_BITFIELDS && size == sizeof(BITMAPINFOHEADER)) ? 3 * sizeof(DWORD) : 0;
    d.header = h;
    d.width = w;
    d.height = rows;
    d.bottomUp = h->biHeight > 0;
    d.masks = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(p) + sizeof(BITMAPINFOHEADER));
    d.bits = static_cast<const BYTE*>(p) + size + maskBytes + colors * sizeof(RGBQUAD);
    return true;
}

}  // namespace

extern "C" {

int cvt32DDBToBuf(HBITMAP bitmap, void** out, int) {
    if (!out) return 0;
    *out = nullptr;
    BITMAP bm;
    if (!bitmapInfo(bitmap, bm)) return 0;
    int u = bitmapU(bm);
    NewBuffer b(bm.bmWidth, bm.bmHeight, u);
    if (!b.px || !readBitmap(bitmap, bm.bmWidth, bm.bmHeight, u, b.px, size_t(bm.bmWidth) * u)) return 0;
    *out = b.release();
    return 1;
}

int cvt32DIBPtrToBuf(const void* packedDib, void** out, HGDIOBJ* extra, int*, int) {
    if (extra) *extra = nullptr;
    if (!out) return 0;
    *out = nullptr;
    PackedDib d;
    if (!packedDib || !parsePackedDib(packedDib, d)) return 0;
    int bits = d.header->biBitCount;
    if (plainLayout(bits, d.header->biCompression, d.masks, bits / 8) && (bits == 24 || bits == 32)) {
        NewBuffer b(d.width, d.height, bits / 8);
        if (!b.px) return 0;
        copyRows(b.px, size_t(d.width) * (bits / 8), d.bits, dibStride(d.width, bits), size_t(d.width) * (bits / 8),
                 d.height, d.bottomUp);
        *out = b.release();
        return 1;
    }
    // Palettes, 16-bit, odd masks and RLE: let GDI expand them into a top-down 24-bit section.
    DibInfo info = topDownInfo(d.width, d.height, 3);
    void* sectionBits = nullptr;
    GdiObject section(CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &sectionBits, nullptr, 0));
    if (!section.h || !sectionBits) return 0;
    ScreenDC screen;
    if (!screen.dc || SetDIBits(screen.dc, static_cast<HBITMAP>(section.h), 0, d.height, d.bits,
                                reinterpret_cast<const BITMAPINFO*>(d.header), DIB_RGB_COLORS) != d.height)
        return 0;
    GdiFlush();
    NewBuffer b(d.width, d.height, 3);
    if (!b.px) return 0;
    copyRows(b.px, size_t(d.width) * 3, static_cast<const BYTE*>(sectionBits), dibStride(d.width, 24),
             size_t(d.width) * 3, d.height, false);
    *out = b.release();
    return 1;
}

int cvt32BufToDDB(void* buf, HBITMAP* out, int) {
    if (!out) return 0;
    *out = nullptr;
    LockedBuffer b(buf);
    if (!b.px || (b.u != 3 && b.u != 4)) return 0;
    ScreenDC screen;
    if (!screen.dc) return 0;
    GdiObject bitmap(CreateCompatibleBitmap(screen.dc, b.w, b.h));
    if (!bitmap.h) return 0;
    if (b.u == 4) {
        DibInfo info = topDownInfo(b.w, b.h, 4);
        if (SetDIBits(screen.dc, static_cast<HBITMAP>(bitmap.h), 0, b.h, b.px, info.get(), DIB_RGB_COLORS) != b.h)
            return 0;
    } else {
        // Widened in strips of about 256 KB, each drawn as its own top-down DIB.
        int strip = std::max(1, int(256 * 1024 / (size_t(b.w) * 4)));
        HeapBlock wide(size_t(b.w) * 4 * std::min(strip, b.h));
        MemoryDC mem;
        if (!wide.p || !mem.dc) return 0;
        SelectObjectGuard select(mem.dc, bitmap.h);
        for (int y = 0; y < b.h; y += strip) {
            int rows = std::min(strip, b.h - y);
            widen(wide.p, b.px + size_t(y) * b.w * 3, size_t(rows) * b.w);
            DibInfo info = topDownInfo(b.w, rows, 4);
            if (SetDIBitsToDevice(mem.dc, 0, y, b.w, rows, 0, 0, 0, rows, wide.p, info.get(), DIB_RGB_COLORS) != rows)
                return 0;
        }
    }
    *out = static_cast<HBITMAP>(bitmap.release());
    return 1;
}

int cvt32BufToDIB(void* buf, HGLOBAL* out, int, int) {
    if (!out) return 0;
    *out = nullptr;
    LockedBuffer b(buf);
    if (!b.px || (b.u != 3 && b.u != 4)) return 0;
    size_t stride = dibStride(b.w, b.u * 8), rowBytes = size_t(b.w) * b.u;
    GlobalBlock block(sizeof(BITMAPINFOHEADER) + stride * b.h);
    if (!block.p) return 0;
    DibInfo info = topDownInfo(b.w, b.h, b.u);
    std::memcpy(block.p, &info.h, sizeof info.h);
    BYTE* bits = block.p + sizeof info.h;
    copyRows(bits, stride, b.px, rowBytes, rowBytes, b.h, false);
    if (stride != rowBytes)
        for (int r = 0; r < b.h; ++r) std::memset(bits + r * stride + rowBytes, 0, stride - rowBytes);
    *out = block.release();
    return 1;
}

int cvt32DDBToDIB(HBITMAP bitmap, HGLOBAL* out, int) {
    if (!out) return 0;
    *out = nullptr;
    BITMAP bm;
    if (!bitmapInfo(bitmap, bm)) return 0;
    int u = bitmapU(bm), w = bm.bmWidth, h = bm.bmHeight;
    size_t stride = dibStride(w, u * 8);
    GlobalBlock block(sizeof(BITMAPINFOHEADER) + stride * h);
    if (!block.p) return 0;
    DibInfo info = topDownInfo(w, h, u);
    std::memcpy(block.p, &info.h, sizeof info.h);
    BYTE* bits = block.p + sizeof info.h;
    if (stride != size_t(w) * u) std::memset(bits, 0, stride * h);  // defined padding bytes
    if (!readBitmap(bitmap, w, h, u, bits, stride)) return 0;
    *out = block.release();
    return 1;
}

}  // extern "C"
