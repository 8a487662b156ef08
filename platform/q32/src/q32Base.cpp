// Pixel-buffer library, base part: buffers, memory blocks, fill, merge and display.
#include <algorithm>
#include "q32Base.h"
#include "pixelOps.h"
#include "blocks.h"
#include <atomic>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {
using q32::blockBytes;
using q32::blockInside;
using q32::copyRows;

constexpr uint32_t kBufferTag = 0x42323351;   // "Q32B": catches a display handle or a freed buffer
constexpr uint32_t kDisplayTag = 0x44323351;  // "Q32D"

// The pixels follow the header in the same heap block; 32 bytes keep them 16-byte aligned.
struct Buffer {
    uint32_t tag;
    int width, height, u;
    int locks;
    size_t capacity;  // pixel bytes the block has room for
    BYTE* pixels() { return reinterpret_cast<BYTE*>(this + 1); }
    size_t rowBytes() const { return size_t(width) * size_t(u); }
};
static_assert(sizeof(Buffer) == 32, "pixel alignment");

// Large blocks come straight from the system, and the first touch of every page costs a fault
// that outweighs copying the pixels several times over. Callers make and free a frame-sized
// buffer on every paint, so the last freed large block is kept for the next one of about its size.
constexpr size_t kSpareMin = 256 * 1024, kSpareMax = 64 * 1024 * 1024;
std::atomic<Buffer*> g_spare{nullptr};

void release(Buffer* b) {
    b->tag = 0;
    if (b->capacity >= kSpareMin && b->capacity <= kSpareMax) b = g_spare.exchange(b);
    if (b) HeapFree(GetProcessHeap(), 0, b);
}

Buffer* takeSpare(size_t bytes) {
    if (bytes < kSpareMin) return nullptr;
    Buffer* s = g_spare.exchange(nullptr);
    if (s && s->capacity >= bytes && s->capacity / 2 <= bytes) return s;
    if (s) HeapFree(GetProcessHeap(), 0, s);  // a different size is asked for now: let it go
    return nullptr;
}

// Gives the spare block back when the library is unloaded.
struct SpareRelease {
    ~SpareRelease() {
        if (Buffer* s = g_spare.exchange(nullptr)) HeapFree(GetProcessHeap(), 0, s);
    }
} g_spareRelease;

int bitsToU(int bits) {
    return (bits == 8 || bits == 16 || bits == 24 || bits == 32) ? bits / 8 : 0;
}

Buffer* asBuffer(void* handle) {
    Buffer* b = static_cast<Buffer*>(handle);
    return b && b->tag == kBufferTag ? b : nullptr;
}

Buffer* newBuffer(int w, int h, int u) {
    size_t bytes = blockBytes(w, h, u);
    if (!bytes) return nullptr;
    Buffer* b = takeSpare(bytes);
    size_t capacity = b ? b->capacity : bytes;
    if (!b) b = static_cast<Buffer*>(HeapAlloc(GetProcessHeap(), 0, sizeof(Buffer) + bytes));
    if (!b) return nullptr;
    *b = Buffer{kBufferTag, w, h, u, 0, capacity};
    return b;
}

// A pixel area waiting to be drawn, rows padded to 4 bytes as SetDIBitsToDevice wants them.
struct Display {
    uint32_t tag;
    HDC dc;
    POINT origin;
    int width, height, u;
    size_t stride;
    RECT dirty;  // bounding box of the blocks delivered so far, empty at first
    BYTE* pixels() { return reinterpret_cast<BYTE*>(this + 1); }
};

}  // namespace

extern "C" {

int buf32Alloc(void** out, int bits, int width, int height, int mode, const void* init) {
    if (!out) return 0;
    *out = nullptr;
    int u = bitsToU(bits);
    if (!u || !blockBytes(width, height, u) || (mode != 1 && mode != 2) || (mode == 1 && !init)) return 0;
    Buffer* b = newBuffer(width, height, u);
    if (!b) return 0;
    if (mode == 1) q32::fill(b->pixels(), static_cast<const BYTE*>(init), u, size_t(width) * size_t(height));
    *out = b;
    return 1;
}

int buf32Free(void* buf) {
    Buffer* b = asBuffer(buf);
    if (!b) return 0;
    release(b);
    return 1;
}

int buf32GetWHU(void* buf, int* width, int* height, int* u) {
    Buffer* b = asBuffer(buf);
    if (!b) return 0;
    if (width) *width = b->width;
    if (height) *height = b->height;
    if (u) *u = b->u;
    return 1;
}

int buf32GetMem(void* buf, int x, int y, int w, int h, void* dst) {
    Buffer* b = asBuffer(buf);
    if (!b || !dst || !blockInside(x, y, w, h, b->width, b->height)) return 0;
    size_t row = b->rowBytes();
    copyRows(static_cast<BYTE*>(dst), size_t(w) * b->u, b->pixels() + y * row + size_t(x) * b->u, row,
             size_t(w) * b->u, h);
    return 1;
}

int buf32MergeMem(void* buf, int x, int y, const void* src, int w, int h) {
    Buffer* b = asBuffer(buf);
    if (!b || !src || !blockInside(x, y, w, h, b->width, b->height)) return 0;
    size_t row = b->rowBytes();
    copyRows(b->pixels() + y * row + size_t(x) * b->u, row, static_cast<const BYTE*>(src), size_t(w) * b->u,
             size_t(w) * b->u, h);
    return 1;
}

int buf32GetBuf(void* buf, int x, int y, int w, int h, void** out) {
    if (!out) return 0;
    *out = nullptr;
    Buffer* b = asBuffer(buf);
    if (!b || !blockInside(x, y, w, h, b->width, b->height)) return 0;
    Buffer* part = newBuffer(w, h, b->u);
    if (!part) return 0;
    buf32GetMem(b, x, y, w, h, part->pixels());
    *out = part;
    return 1;
}

int buf32Lock(void* buf, int access, void** pixels) {
    Buffer* b = asBuffer(buf);
    if (!b || !pixels || (access != 1 && access != 2 && access != 4)) return 0;
    ++b->locks;
    *pixels = b->pixels();
    return 1;
}

int buf32Unlock(void* buf) {
    Buffer* b = asBuffer(buf);
    if (!b) return 0;
    if (b->locks > 0) --b->locks;  // the pixels were written in place: nothing to commit
    return 1;
}

int mem32Fill(void* dst, const void* value, int u, int count) {
    if (!dst || !value || u < 1 || u > 4 || count < 0) return 0;
    q32::fill(static_cast<BYTE*>(dst), static_cast<const BYTE*>(value), u, size_t(count));
    return 1;
}

int i32Merge(void* out, const void* back, const BYTE* mask, const void* fore, int u, int count, int, int) {
    if (!out || !back || !fore || u < 1 || u > 4 || count < 0) return 0;
    auto* o = static_cast<BYTE*>(out);
    auto* b = static_cast<const BYTE*>(back);
    auto* f = static_cast<const BYTE*>(fore);
    size_t n = size_t(count);
    if (mask)
        q32::mergeMasked(o, b, mask, f, u, n);
    else if (u == 4)
        q32::mergePremultiplied(o, b, f, n);
    else if (o != f)
        std::memmove(o, f, n * u);
    return 1;
}

int disp32ShowInit(void** out, HDC dc, int bits, const RECT* dest, void*, int, int) {
    if (!out) return 0;
    *out = nullptr;
    int u = bitsToU(bits);
    if (!dc || !dest || !u || u == 2) return 0;
    int w = dest->right - dest->left, h = dest->bottom - dest->top;
    if (!blockBytes(w, h, 4)) return 0;  // padded rows of 3-byte pixels stay under the 4-byte bound
    size_t stride = (size_t(w) * u + 3) & ~size_t(3);
    auto* d = static_cast<Display*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Display) + stride * h));
    if (!d) return 0;
    d->tag = kDisplayTag;
    d->dc = dc;
    d->origin = {dest->left, dest->top};
    d->width = w;
    d->height = h;
    d->u = u;
    d->stride = stride;
    *out = d;
    return 1;
}

int disp32ShowData(void* disp, const void* pixels, int x0, int y0, int rows, int bytesPerRow) {
    auto* d = static_cast<Display*>(disp);
    q32::ShownPart part;
    if (!d || d->tag != kDisplayTag || !pixels ||
        !q32::shownPart(d->width, d->height, d->u, x0, y0, rows, bytesPerRow, part))
        return 0;
    copyRows(d->pixels(), d->stride, static_cast<const BYTE*>(pixels) + part.offset, size_t(bytesPerRow),
             size_t(part.w) * d->u, part.h);
    d->dirty = RECT{0, 0, part.w, part.h};
    return 1;
}

int disp32ShowEnd(void* disp) {
    auto* d = static_cast<Display*>(disp);
    if (!d || d->tag != kDisplayTag) return 0;
    int drawn = 0;
    if (!IsRectEmpty(&d->dirty)) {
        struct {
            BITMAPINFOHEADER h;
            RGBQUAD grey[256];
        } info = {};
        int rows = d->dirty.bottom - d->dirty.top;
        // The header covers only the dirty rows, so the source rectangle spans the whole DIB height
        // and the top-down/bottom-up ambiguity of the source y never arises.
        info.h = {sizeof(BITMAPINFOHEADER), d->width, -rows, 1, WORD(d->u * 8), BI_RGB};
        if (d->u == 1) {
            info.h.biClrUsed = 256;
            for (int i = 0; i < 256; ++i) info.grey[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
        }
        int cols = d->dirty.right - d->dirty.left;
        drawn = SetDIBitsToDevice(d->dc, d->origin.x + d->dirty.left, d->origin.y + d->dirty.top, cols, rows,
                                  d->dirty.left, 0, 0, rows, d->pixels() + d->dirty.top * d->stride,
                                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) > 0;
    }
    d->tag = 0;
    HeapFree(GetProcessHeap(), 0, d);
    return drawn;
}

}  // extern "C"
