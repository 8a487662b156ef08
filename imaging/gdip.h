// GDI+ flat interface with owning handles for its images and graphics, shared by the imaging code.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
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
