// Merged bitmaps and buffers: a foreground over a colour or a background piece, under an optional
// mask, composed in pixel buffers.
#include "qMerge.h"
#include "qBitmapLoad.h"
#include "qDraw.h"
#include "drawing/pixelmem.h"
#include "q32Cvt.h"
#include <utility>

using qdraw::PixelBlock;
using qdraw::clampExtent;

namespace {

// A pixel buffer made here: unlocked and freed at the end of its life unless released.
class Buffer {
public:
    Buffer() = default;
    explicit Buffer(void* p) : m_p(p) {}
    ~Buffer() { reset(); }
    void reset(void* p = nullptr) {
        if (m_p) {
            buf32Unlock(m_p);
            buf32Free(m_p);
        }
        m_p = p;
    }
    void** out() {
        reset();
        return &m_p;
    }
    void* get() const { return m_p; }
    void* release() { return std::exchange(m_p, nullptr); }
    explicit operator bool() const { return m_p != nullptr; }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

private:
    void* m_p = nullptr;
};

// Pixels of su bytes to pixels of du bytes: alpha added opaque or dropped; one byte keeps the
// first byte of a pixel (a grey image has the same value in each) and spreads to every colour byte.
void convertPixels(const unsigned char* src, int su, unsigned char* dst, int du, size_t count) {
    for (size_t i = 0; i < count; ++i, src += su, dst += du) {
        for (int b = 0; b < du; ++b) {
            if (su == 1)
                dst[b] = (b == 3) ? 0xFF : src[0];
            else if (b < su)
                dst[b] = src[b];
            else
                dst[b] = (b == 3) ? 0xFF : src[su - 1];
        }
    }
}

// A copy of buf with u bytes per pixel (the pixel layout the merge works in).
void* bufferWithU(void* buf, int u) {
    int w = 0, h = 0, bu = 0;
    if (!buf || !buf32GetWHU(buf, &w, &h, &bu)) return nullptr;
    PixelBlock src(w, h, bu), dst(w, h, u);
    if (!src || !dst || !buf32GetMem(buf, 0, 0, w, h, src.data())) return nullptr;
    convertPixels(src.data(), bu, dst.data(), u, (size_t)w * h);
    Buffer out;
    if (!buf32Alloc(out.out(), u * 8, w, h, 2, nullptr) || !out || !buf32MergeMem(out.get(), 0, 0, dst.data(), w, h))
        return nullptr;
    return out.release();
}

// The foreground as a W x H x U block and the mask as W x H bytes (empty without a mask).
struct Layers {
    int W = 0, H = 0, U = 0;
    PixelBlock fore{0, 0, 0};
    PixelBlock mask{0, 0, 0};
    const BYTE* maskBytes() const { return mask ? mask.data() : nullptr; }
};

bool readLayers(void* fore, void* mask, Layers& out) {
    if (!fore || !buf32GetWHU(fore, &out.W, &out.H, &out.U) || out.W <= 0 || out.H <= 0 || out.U <= 0) return false;
    out.fore = PixelBlock(out.W, out.H, out.U);
    if (!out.fore || !buf32GetMem(fore, 0, 0, out.W, out.H, out.fore.data())) return false;
    if (out.U == 4) {
        // Device-dependent bitmaps come back with every alpha byte 0: such a foreground is opaque,
        // not invisible (the unmasked merge blends by the foreground's alpha).
        const size_t count = (size_t)out.W * out.H;
        unsigned char* px = out.fore.data();
        bool anyAlpha = false;
        for (size_t i = 0; i < count && !anyAlpha; ++i) anyAlpha = px[i * 4 + 3] != 0;
        if (!anyAlpha)
            for (size_t i = 0; i < count; ++i) px[i * 4 + 3] = 0xFF;
    }
    if (!mask) return true;
    int mw = 0, mh = 0, mu = 0;
    if (!buf32GetWHU(mask, &mw, &mh, &mu) || mu <= 0) return false;
    PixelBlock raw(out.W, out.H, mu);
    out.mask = PixelBlock(out.W, out.H, 1);
    if (!raw || !out.mask || !buf32GetMem(mask, 0, 0, out.W, out.H, raw.data())) return false;
    convertPixels(raw.data(), mu, out.mask.data(), 1, (size_t)out.W * out.H);
    return true;
}

// Tiles the background piece over the whole result, or, with two heads, the left half from the
// piece and the right half from the same-sized piece at the background's far end.
bool fillBackground(void* result, const Layers& l, void* back, int x, int y, int w, int h, bool twoHeads) {
    if (!twoHeads) return gfnFillBufWithBuf(result, 0, 0, l.W, l.H, back, x, y, w, h, nullptr) != 0;
    int bw = 0, bh = 0, bu = 0;
    if (!buf32GetWHU(back, &bw, &bh, &bu)) return false;
    w = clampExtent(x, w, bw);
    h = clampExtent(y, h, bh);
    if (w <= 0 || h <= 0) return false;
    const int half = l.W / 2;
    const int farX = bw > bh ? bw - w + x : x;
    const int farY = bw > bh ? y : bh - h + y;
    return gfnFillBufWithBuf(result, 0, 0, half, l.H, back, x, y, w, h, nullptr) &&
           gfnFillBufWithBuf(result, half, 0, l.W - half, l.H, back, farX, farY, w, h, nullptr);
}

// Foreground (and mask) over a background bitmap's piece, or over zero pixels without one.
int composeOverBitmap(void** out, HBITMAP back, void* fore, void* mask, int x, int y, int w, int h,
                      bool twoHeads = false) {
    Buffer background;
    if (back && (!cvt32DDBToBuf(back, background.out(), 0) || !background)) return 0;
    Layers l;
    if (!readLayers(fore, mask, l)) return 0;
    Buffer result;
    const DWORD zero = 0;
    if (!buf32Alloc(result.out(), l.U * 8, l.W, l.H, back ? 2 : 1, back ? nullptr : &zero) || !result) return 0;
    if (back) {
        int bw = 0, bh = 0, bu = 0;
        if (!buf32GetWHU(background.get(), &bw, &bh, &bu)) return 0;
        if (bu != l.U) background.reset(bufferWithU(background.get(), l.U));
        if (!background || !fillBackground(result.get(), l, background.get(), x, y, w, h, twoHeads)) return 0;
    }
    PixelBlock block(l.W, l.H, l.U);
    if (!block || !buf32GetMem(result.get(), 0, 0, l.W, l.H, block.data())) return 0;
    i32Merge(block.data(), block.data(), l.maskBytes(), l.fore.data(), l.U, l.W * l.H, 1, 0);
    if (!buf32MergeMem(result.get(), 0, 0, block.data(), l.W, l.H)) return 0;
    *out = result.release();
    return 1;
}

// Foreground (and mask) over a solid colour.
int composeOverColour(void** out, void* fore, void* mask, COLORREF colour) {
    Layers l;
    if (!readLayers(fore, mask, l)) return 0;
    Buffer result;
    void* pixels = nullptr;
    if (!buf32Alloc(result.out(), l.U * 8, l.W, l.H, 2, nullptr) || !result ||
        !buf32Lock(result.get(), 4, &pixels) || !pixels)
        return 0;
    // Buffers hold blue, green, red (, alpha): the colour in that order, opaque.
    const DWORD value = 0xFF000000u | (DWORD)GetRValue(colour) << 16 | (DWORD)GetGValue(colour) << 8 |
                        GetBValue(colour);
    mem32Fill(pixels, &value, l.U, l.W * l.H);
    i32Merge(pixels, pixels, l.maskBytes(), l.fore.data(), l.U, l.W * l.H, 1, 0);
    buf32Unlock(result.get());
    *out = result.release();
    return 1;
}

// The piece (x, y, w, h) of a whole-image buffer, which is consumed; all zeros keep it whole.
int cutBuffer(void* whole, void** out, int x, int y, int w, int h) {
    Buffer image(whole);
    if (!image) return 0;
    if (!(x | y | w | h)) {
        *out = image.release();
        return 1;
    }
    int bw = 0, bh = 0, bu = 0;
    if (!buf32GetWHU(image.get(), &bw, &bh, &bu)) return 0;
    w = clampExtent(x, w, bw);
    h = clampExtent(y, h, bh);
    if (x < 0 || y < 0 || w <= 0 || h <= 0) return 0;
    void* piece = nullptr;
    if (!buf32GetBuf(image.get(), x, y, w, h, &piece) || !piece) return 0;
    *out = piece;
    return 1;
}

int bufferFromBitmap(HBITMAP bitmap, void** out, int x, int y, int w, int h) {
    void* whole = nullptr;
    if (!bitmap || !cvt32DDBToBuf(bitmap, &whole, 0) || !whole) return 0;
    return cutBuffer(whole, out, x, y, w, h);
}

// True when a packed DIB of size bytes holds its header, colour table and every row.
bool packedDibFits(const void* p, DWORD size) {
    const auto* h = static_cast<const BITMAPINFOHEADER*>(p);
    if (size < sizeof(BITMAPINFOHEADER) || h->biSize < sizeof(BITMAPINFOHEADER) || h->biSize > size) return false;
    if (h->biWidth <= 0 || h->biHeight == 0 || h->biHeight == LONG_MIN) return false;
    unsigned long long need = h->biSize;
    if (h->biCompression == BI_BITFIELDS && h->biSize == sizeof(BITMAPINFOHEADER)) need += 12;
    unsigned long long colours = h->biClrUsed;
    if (colours == 0 && h->biBitCount <= 8) colours = 1ull << h->biBitCount;
    if (h->biBitCount <= 8 || h->biClrUsed) need += colours * sizeof(RGBQUAD);
    if (h->biCompression == BI_RGB || h->biCompression == BI_BITFIELDS) {
        const unsigned long long stride = (((unsigned long long)h->biWidth * h->biBitCount + 31) / 8) & ~3ull;
        need += stride * (unsigned long long)(h->biHeight < 0 ? -(long long)h->biHeight : h->biHeight);
    } else {
        need += h->biSizeImage;
    }
    return need <= size;
}

// Sources: resources and files; a missing optional mask is no mask, a named one must load.
bool imageFromResource(HINSTANCE instance, UINT id, Buffer& out) {
    return gfnCreateBufFromBitmapHandleDDB(instance, id, out.out(), 0, 0, 0, 0) && out;
}
bool maskFromResource(HINSTANCE instance, UINT id, Buffer& out) {
    return id == 0 || (gfnCreateBufFromBitmapHandleDIB(instance, id, out.out(), 0, 0, 0, 0) && out);
}
bool imageFromFile(const wchar_t* dir, const wchar_t* file, Buffer& out) {
    return file && gfnCreateBufFromBitmapHandleDDB(dir, file, out.out(), 0, 0, 0, 0) && out;
}
bool maskFromFile(const wchar_t* dir, const wchar_t* file, Buffer& out) {
    return !file || !file[0] || (gfnCreateBufFromBitmapHandleDIB(dir, file, out.out(), 0, 0, 0, 0) && out);
}

// A bitmap the call loads for itself and deletes afterwards.
class LoadedBitmap {
public:
    explicit LoadedBitmap(HBITMAP b) : m_b(b) {}
    ~LoadedBitmap() {
        if (m_b) DeleteObject(m_b);
    }
    HBITMAP get() const { return m_b; }
    LoadedBitmap(const LoadedBitmap&) = delete;
    LoadedBitmap& operator=(const LoadedBitmap&) = delete;

private:
    HBITMAP m_b;
};

// Output conversions of a merged buffer made by make(void**).
template <class Make>
int asBitmap(HBITMAP* out, Make make) {
    if (!out) return 0;
    *out = nullptr;
    Buffer merged;
    HBITMAP bitmap = nullptr;
    if (!make(merged.out()) || !merged || !cvt32BufToDDB(merged.get(), &bitmap, 0) || !bitmap) return 0;
    *out = bitmap;
    return 1;
}

template <class Make>
int asPackedDib(void** out, Make make) {
    if (!out) return 0;
    *out = nullptr;
    Buffer merged;
    HGLOBAL dib = nullptr;
    if (!make(merged.out()) || !merged || !cvt32BufToDIB(merged.get(), &dib, 0, 0) || !dib) return 0;
    *out = dib;
    return 1;
}

}  // namespace

// ---- single buffers ----------------------------------------------------------------------------

int gfnCreateBufFromBitmapHandleDDB(HINSTANCE instance, UINT id, void** out, int x, int y, int w, int h) {
    if (!out) return 0;
    *out = nullptr;
    if (!instance || !id) return 0;
    LoadedBitmap bitmap(gfnLoadBitmap(instance, id));
    return bufferFromBitmap(bitmap.get(), out, x, y, w, h);
}

int gfnCreateBufFromBitmapHandleDDB(const wchar_t* dir, const wchar_t* file, void** out, int x, int y, int w,
                                    int h) {
    if (!out) return 0;
    *out = nullptr;
    if (!file) return 0;
    LoadedBitmap bitmap(gfnLoadBitmapDIB(dir, file));
    return bufferFromBitmap(bitmap.get(), out, x, y, w, h);
}

int gfnCreateBufFromBitmapHandleDIB(HINSTANCE instance, UINT id, void** out, int x, int y, int w, int h) {
    if (!out) return 0;
    *out = nullptr;
    if (!instance || !id) return 0;
    HRSRC res = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    HGLOBAL block = res ? LoadResource(instance, res) : nullptr;
    const void* dib = block ? LockResource(block) : nullptr;
    if (!dib || !packedDibFits(dib, SizeofResource(instance, res))) return 0;
    void* whole = nullptr;
    HGDIOBJ extra = nullptr;
    int ignored = 0;
    const int converted = cvt32DIBPtrToBuf(dib, &whole, &extra, &ignored, 0);
    if (extra) DeleteObject(extra);
    FreeResource(block);
    if (!converted || !whole) {
        buf32Free(whole);
        return 0;
    }
    return cutBuffer(whole, out, x, y, w, h);
}

int gfnCreateBufFromBitmapHandleDIB(const wchar_t* dir, const wchar_t* file, void** out, int x, int y, int w,
                                    int h) {
    return gfnCreateBufFromBitmapHandleDDB(dir, file, out, x, y, w, h);
}

// ---- merged buffers ----------------------------------------------------------------------------

int gfnCreateMergedBuffer(void** out, HBITMAP back, HBITMAP image, HBITMAP mask, int x, int y) {
    if (!out) return 0;
    *out = nullptr;
    if (!back || !image || !mask) return 0;
    Buffer fore, maskBuf;
    int w = 0, h = 0, u = 0;
    if (!cvt32DDBToBuf(image, fore.out(), 0) || !fore || !cvt32DDBToBuf(mask, maskBuf.out(), 0) || !maskBuf ||
        !buf32GetWHU(fore.get(), &w, &h, &u))
        return 0;
    return composeOverBitmap(out, back, fore.get(), maskBuf.get(), x, y, w, h);
}

int gfnCreateMergedBuffer(void** out, HINSTANCE instance, UINT idImage, UINT idMask, COLORREF colour) {
    if (!out) return 0;
    *out = nullptr;
    Buffer fore, mask;
    if (!imageFromResource(instance, idImage, fore) || !maskFromResource(instance, idMask, mask)) return 0;
    return composeOverColour(out, fore.get(), mask.get(), colour);
}

int gfnCreateMergedBuffer(void** out, const wchar_t* dir, const wchar_t* image, const wchar_t* mask,
                          COLORREF colour) {
    if (!out) return 0;
    *out = nullptr;
    CGDIPlusStartup gdiplus;   // one start-up for the files of the call
    Buffer fore, maskBuf;
    if (!imageFromFile(dir, image, fore) || !maskFromFile(dir, mask, maskBuf)) return 0;
    return composeOverColour(out, fore.get(), maskBuf.get(), colour);
}

int gfnCreateMergedBuffer(void** out, HINSTANCE instance, HBITMAP back, UINT idImage, UINT idMask, int x, int y,
                          int w, int h) {
    if (!out) return 0;
    *out = nullptr;
    Buffer fore, mask;
    if (!imageFromResource(instance, idImage, fore) || !maskFromResource(instance, idMask, mask)) return 0;
    return composeOverBitmap(out, back, fore.get(), mask.get(), x, y, w, h);
}

int gfnCreateMergedBuffer(void** out, const wchar_t* dir, HBITMAP back, const wchar_t* image, const wchar_t* mask,
                          int x, int y, int w, int h) {
    if (!out) return 0;
    *out = nullptr;
    CGDIPlusStartup gdiplus;   // one start-up for the files of the call
    Buffer fore, maskBuf;
    if (!imageFromFile(dir, image, fore) || !maskFromFile(dir, mask, maskBuf)) return 0;
    return composeOverBitmap(out, back, fore.get(), maskBuf.get(), x, y, w, h);
}

int gfnCreateMergedBuffer(void** out, HINSTANCE instance, UINT idBack, UINT idImage, UINT idMask, int x, int y,
                          int w, int h) {
    if (!out) return 0;
    *out = nullptr;
    LoadedBitmap back(idBack ? gfnLoadBitmap(instance, idBack) : nullptr);
    if (idBack && !back.get()) return 0;
    return gfnCreateMergedBuffer(out, instance, back.get(), idImage, idMask, x, y, w, h);
}

int gfnCreateMergedBuffer(void** out, const wchar_t* dir, const wchar_t* back, const wchar_t* image,
                          const wchar_t* mask, int x, int y, int w, int h) {
    if (!out) return 0;
    *out = nullptr;
    CGDIPlusStartup gdiplus;   // one start-up for the files of the call
    const bool named = back && back[0];
    LoadedBitmap background(named ? gfnLoadBitmap(dir, back) : nullptr);
    if (named && !background.get()) return 0;
    return gfnCreateMergedBuffer(out, dir, background.get(), image, mask, x, y, w, h);
}

int gfnCreateMergedBufferTwoHead(void** out, const wchar_t* dir, HBITMAP back, const wchar_t* image,
                                 const wchar_t* mask, int x, int y, int w, int h) {
    if (!out) return 0;
    *out = nullptr;
    CGDIPlusStartup gdiplus;   // one start-up for the files of the call
    Buffer fore, maskBuf;
    if (!imageFromFile(dir, image, fore) || !maskFromFile(dir, mask, maskBuf)) return 0;
    return composeOverBitmap(out, back, fore.get(), maskBuf.get(), x, y, w, h, true);
}

// ---- merged bitmaps ----------------------------------------------------------------------------

int gfnCreateMergedBitmap(int asDIB, void** out, HINSTANCE instance, UINT idImage, UINT idMask, COLORREF colour) {
    auto make = [&](void** buf) { return gfnCreateMergedBuffer(buf, instance, idImage, idMask, colour); };
    if (asDIB) return asPackedDib(out, make);
    if (!out) return 0;
    HBITMAP bitmap = nullptr;
    const int result = asBitmap(&bitmap, make);
    *out = bitmap;
    return result;
}

int gfnCreateMergedBitmap(HBITMAP* out, HINSTANCE instance, HBITMAP back, UINT idImage, UINT idMask, int x, int y,
                          int w, int h) {
    return asBitmap(out, [&](void** buf) {
        return gfnCreateMergedBuffer(buf, instance, back, idImage, idMask, x, y, w, h);
    });
}

int gfnCreateMergedBitmap(HBITMAP* out, const wchar_t* dir, HBITMAP back, const wchar_t* image, const wchar_t* mask,
                          int x, int y, int w, int h) {
    return asBitmap(out, [&](void** buf) { return gfnCreateMergedBuffer(buf, dir, back, image, mask, x, y, w, h); });
}

int gfnCreateMergedBitmapDIB(void** out, HINSTANCE instance, HBITMAP back, UINT idImage, UINT idMask, int x, int y,
                             int w, int h) {
    return asPackedDib(out, [&](void** buf) {
        return gfnCreateMergedBuffer(buf, instance, back, idImage, idMask, x, y, w, h);
    });
}

int gfnCreateMergedBitmapDIB(void** out, const wchar_t* dir, HBITMAP back, const wchar_t* image,
                             const wchar_t* mask, int x, int y, int w, int h) {
    return asPackedDib(out,
                       [&](void** buf) { return gfnCreateMergedBuffer(buf, dir, back, image, mask, x, y, w, h); });
}

int gfnCreateMergedBitmapByID(HBITMAP* out, HINSTANCE instance, UINT idBack, UINT idImage, UINT idMask, int x,
                              int y, int w, int h) {
    return asBitmap(out, [&](void** buf) {
        return gfnCreateMergedBuffer(buf, instance, idBack, idImage, idMask, x, y, w, h);
    });
}

int gfnCreateMergedBitmapByFile(HBITMAP* out, const wchar_t* dir, const wchar_t* back, const wchar_t* image,
                                const wchar_t* mask, int x, int y, int w, int h) {
    return asBitmap(out, [&](void** buf) { return gfnCreateMergedBuffer(buf, dir, back, image, mask, x, y, w, h); });
}

int gfnCreateMergedBitmapTwoHead(HBITMAP* out, const wchar_t* dir, HBITMAP back, const wchar_t* image,
                                 const wchar_t* mask, int x, int y, int w, int h) {
    return asBitmap(out, [&](void** buf) {
        return gfnCreateMergedBufferTwoHead(buf, dir, back, image, mask, x, y, w, h);
    });
}
