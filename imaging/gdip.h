// GDI+ flat interface with owning handles for its images and graphics, shared by the imaging code.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <cstring>
#include <memory>

namespace qgdip {
using namespace Gdiplus;
using namespace Gdiplus::DllExports;

struct ImageDeleter {
    void operator()(GpBitmap* image) const {
        if (image) GdipDisposeImage(image);
    }
};
struct GraphicsDeleter {
    void operator()(GpGraphics* graphics) const {
        if (graphics) GdipDeleteGraphics(graphics);
    }
};
using ImagePtr = std::unique_ptr<GpBitmap, ImageDeleter>;
using GraphicsPtr = std::unique_ptr<GpGraphics, GraphicsDeleter>;

inline PixelFormat formatOf(GpBitmap* image) {
    PixelFormat format = 0;
    if (!image || GdipGetImagePixelFormat(image, &format) != Ok) return 0;
    return format;
}

inline SIZE sizeOf(GpBitmap* image) {
    UINT w = 0, h = 0;
    if (!image || GdipGetImageWidth(image, &w) != Ok || GdipGetImageHeight(image, &h) != Ok) return SIZE{0, 0};
    return SIZE{(LONG)w, (LONG)h};
}

// The largest image a file may claim. Decoders size their buffers from the header before reading
// a pixel, so a forged header (a skin file claiming 100000 x 100000) is refused before decoding.
const ULONGLONG kMaxImageSide = 0x7FFF;
const ULONGLONG kMaxImagePixels = 1ull << 26;

// False when the first n bytes of a file are a PNG, BMP or GIF header claiming more than that.
inline bool claimFits(const BYTE* head, size_t n) {
    auto big = [&](size_t at) { return (ULONGLONG)head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3]; };
    auto little = [&](size_t at, int bytes) {
        ULONGLONG v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = v << 8 | head[at + i];
        return v;
    };
    auto fits = [](ULONGLONG w, ULONGLONG h) { return w <= kMaxImageSide && h <= kMaxImageSide && w * h <= kMaxImagePixels; };
    if (n >= 24 && memcmp(head, "\x89PNG", 4) == 0) return fits(big(16), big(20));
    if (n >= 10 && memcmp(head, "GIF8", 4) == 0) return fits(little(6, 2), little(8, 2));
    if (n >= 26 && head[0] == 'B' && head[1] == 'M') {
        if (little(14, 4) == 12) return fits(little(18, 2), little(20, 2));
        const LONG h = (LONG)little(22, 4);
        return fits(little(18, 4), h < 0 ? 0ull - (ULONGLONG)(LONGLONG)h : (ULONGLONG)h);
    }
    return true;
}

// The same for a file on disk; a file that cannot be read is left to the decoder to refuse.
inline bool fileClaimFits(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return true;
    BYTE head[32] = {};
    DWORD got = 0;
    const BOOL read = ReadFile(file, head, sizeof head, &got, nullptr);
    CloseHandle(file);
    return !read || claimFits(head, got);
}

// Graphics on a device context for unscaled copies: fast compositing, pixel units.
inline GraphicsPtr graphicsOn(HDC dc) {
    GpGraphics* g = nullptr;
    if (!dc || GdipCreateFromHDC(dc, &g) != Ok) return GraphicsPtr();
    GdipSetCompositingQuality(g, CompositingQualityHighSpeed);
    GdipSetPageUnit(g, UnitPixel);
    return GraphicsPtr(g);
}

// Locks rect of an image in the given format; unlocked with the guard.
class BitsLock {
public:
    BitsLock(GpBitmap* image, const GpRect& rect, UINT mode, PixelFormat format) : m_image(image), m_data() {
        m_ok = image && GdipBitmapLockBits(image, &rect, mode, format, &m_data) == Ok;
    }
    ~BitsLock() {
        if (m_ok) GdipBitmapUnlockBits(m_image, &m_data);
    }
    bool ok() const { return m_ok; }
    // Pointer to row r of the locked block (0 = top).
    BYTE* row(int r) const { return static_cast<BYTE*>(m_data.Scan0) + (INT_PTR)r * m_data.Stride; }
    BitsLock(const BitsLock&) = delete;
    BitsLock& operator=(const BitsLock&) = delete;

private:
    GpBitmap* m_image;
    BitmapData m_data;
    bool m_ok;
};

}  // namespace qgdip
