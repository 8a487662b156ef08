// Bitmap loading: image files through GDI+, bitmap resources, GDI+ start-up references.
#include "qBitmapLoad.h"
#include "qModule.h"
#include "drawing/gdiutil.h"
#include "imaging/gdip.h"
#include <gdiplus.h>
#include <cwchar>
#include <new>

using namespace Gdiplus;

namespace {
// Module-wide start-up state: a count of live references and the token of the running GDI+.
unsigned int g_nGDIPlusCount = 0;
ULONG_PTR g_ulGDIPlusToken = 0;

long takeStartupReference() {
    ++g_nGDIPlusCount;
    if (g_ulGDIPlusToken == 0) {
        GdiplusStartupInput input;  // version 1, no callback, background thread, external codecs
        if (GdiplusStartup(&g_ulGDIPlusToken, &input, nullptr) != Ok) {
            g_ulGDIPlusToken = 0;
            return E_FAIL;
        }
    }
    return S_OK;
}

void giveStartupReference() {
    if (g_nGDIPlusCount == 1) {
        if (g_ulGDIPlusToken) GdiplusShutdown(g_ulGDIPlusToken);
        g_nGDIPlusCount = 0;
        g_ulGDIPlusToken = 0;
    } else if (g_nGDIPlusCount > 1) {
        --g_nGDIPlusCount;
    }
}

// A decoded GDI+ bitmap, disposed with the holder.
class DecodedImage {
public:
    explicit DecodedImage(const wchar_t* path) {
        if (path && qgdip::fileClaimFits(path)) DllExports::GdipCreateBitmapFromFile(path, &m_bitmap);
    }
    ~DecodedImage() {
        if (m_bitmap) DllExports::GdipDisposeImage(m_bitmap);
    }
    GpBitmap* get() const { return m_bitmap; }
    DecodedImage(const DecodedImage&) = delete;
    DecodedImage& operator=(const DecodedImage&) = delete;

private:
    GpBitmap* m_bitmap = nullptr;
};

int dibBitsFor(PixelFormat format) {
    switch (format) {
    case PixelFormat16bppRGB555:
    case PixelFormat16bppRGB565:
    case PixelFormat16bppARGB1555:
    case PixelFormat16bppGrayScale:
        return 16;
    case PixelFormat24bppRGB:
        return 24;
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB:
        return 32;
    case PixelFormat8bppIndexed:
        return 8;
    default:
        return 0;
    }
}

// BITMAPINFO with room for a full 256-entry colour table.
struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

// Copies the GDI+ palette, if it has entries, into the colour table from index 0.
void copyPalette(GpBitmap* image, DibInfo& info) {
    INT size = 0;
    if (DllExports::GdipGetImagePaletteSize(image, &size) != Ok || size < (INT)sizeof(ColorPalette)) return;
    ColorPalette* palette = static_cast<ColorPalette*>(::operator new(size, std::nothrow));
    if (!palette) return;
    if (DllExports::GdipGetImagePalette(image, palette, size) == Ok) {
        UINT n = palette->Count < 256 ? palette->Count : 256;
        for (UINT i = 0; i < n; ++i) {
            ARGB c = palette->Entries[i];
            info.colors[i].rgbBlue = (BYTE)(c & 0xFF);
            info.colors[i].rgbGreen = (BYTE)((c >> 8) & 0xFF);
            info.colors[i].rgbRed = (BYTE)((c >> 16) & 0xFF);
            info.colors[i].rgbReserved = 0;
        }
    }
    ::operator delete(palette);
}

// dir (or the program bitmap path) + file in a zero-filled buffer of MAX_PATH; false when it does not fit.
bool joinPath(wchar_t (&out)[MAX_PATH], const wchar_t* dir, const wchar_t* file) {
    wmemset(out, 0, MAX_PATH);
    if (!file) return false;
    const wchar_t* base = dir ? dir : gfnGetProgramBitmapPath();
    size_t lb = wcslen(base), lf = wcslen(file);
    if (lb + lf >= MAX_PATH) return false;
    wmemcpy(out, base, lb);
    wmemcpy(out + lb, file, lf);
    return true;
}
}  // namespace

CGDIPlusStartup::CGDIPlusStartup(long* result) {
    long hr = takeStartupReference();
    if (result) *result = hr;
}

CGDIPlusStartup::~CGDIPlusStartup() { giveStartupReference(); }

HBITMAP gfnGDIPlusLoadBitmap(const wchar_t* path) {
    if (!path) return nullptr;
    CGDIPlusStartup startup;
    DecodedImage image(path);
    if (!image.get()) return nullptr;
    HBITMAP result = nullptr;
    if (DllExports::GdipCreateHBITMAPFromBitmap(image.get(), &result, 0) != Ok) return nullptr;
    return result;
}

HBITMAP gfnGDIPlusLoadBitmapDIB(const wchar_t* path) {
    if (!path) return nullptr;
    CGDIPlusStartup startup;
    DecodedImage image(path);
    if (!image.get()) return nullptr;

    PixelFormat format = 0;
    UINT width = 0, height = 0;
    if (DllExports::GdipGetImagePixelFormat(image.get(), &format) != Ok) return nullptr;
    int bits = dibBitsFor(format);
    if (!bits) return nullptr;
    if (DllExports::GdipGetImageWidth(image.get(), &width) != Ok ||
        DllExports::GdipGetImageHeight(image.get(), &height) != Ok || !width || !height ||
        width > 0x7FFF || height > 0x7FFF)
        return nullptr;

    DibInfo info = {};
    DWORD stride = ((bits * width + 31) / 8) & ~3u;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = (LONG)width;
    info.header.biHeight = (LONG)height;
    info.header.biPlanes = 1;
    info.header.biBitCount = (WORD)bits;
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = stride * height;

    void* dibBits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &dibBits, nullptr, 0);
    if (!dib || !dibBits) return dib;

    if (bits == 8) {
        copyPalette(image.get(), info);
        HDC screen = GetDC(nullptr);
        {
            qdraw::MemDC mem(screen);
            qdraw::SelectGuard sel(mem, dib);
            SetDIBColorTable(mem, 0, 256, info.colors);
        }
        ReleaseDC(nullptr, screen);
    }

    GpRect all(0, 0, (INT)width, (INT)height);
    BitmapData data = {};
    if (DllExports::GdipBitmapLockBits(image.get(), &all, ImageLockModeRead, format, &data) == Ok) {
        GdiFlush();
        DWORD absStride = (DWORD)(data.Stride < 0 ? -data.Stride : data.Stride);
        DWORD row = absStride < stride ? absStride : stride;
        // GDI+ rows run top-down from Scan0 (a negative stride walks upward); the DIB is bottom-up.
        for (UINT i = 0; i < height; ++i) {
            const BYTE* src = static_cast<const BYTE*>(data.Scan0) + (INT_PTR)data.Stride * (INT_PTR)i;
            BYTE* dst = static_cast<BYTE*>(dibBits) + (size_t)stride * (height - 1 - i);
            memcpy(dst, src, row);
        }
        DllExports::GdipBitmapUnlockBits(image.get(), &data);
    }
    return dib;
}

long gfnGDIPlusLock(void** handle) {
    if (!handle) return E_FAIL;
    long hr = S_OK;
    CGDIPlusStartup* guard = new (std::nothrow) CGDIPlusStartup(&hr);
    if (!guard) return E_OUTOFMEMORY;
    if (hr != S_OK) {
        delete guard;
        return E_FAIL;
    }
    *handle = guard;
    return S_OK;
}

long gfnGDIPlusUnlock(void** handle) {
    if (!handle) return E_FAIL;
    if (!*handle) return S_OK;
    delete static_cast<CGDIPlusStartup*>(*handle);
    *handle = nullptr;
    return S_OK;
}

HBITMAP gfnLoadBitmap(HINSTANCE instance, UINT id) { return LoadBitmapW(instance, MAKEINTRESOURCEW(id)); }

int gfnLoadBitmap(HINSTANCE instance, CBitmap* bitmap, UINT id) {
    if (!bitmap) return 0;
    HBITMAP loaded = LoadBitmapW(instance, MAKEINTRESOURCEW(id));
    if (!loaded) return 0;
    if (!bitmap->Attach(loaded)) {
        DeleteObject(loaded);
        return 0;
    }
    return 1;
}

HBITMAP gfnLoadBitmap(const wchar_t* path) { return gfnGDIPlusLoadBitmap(path); }

HBITMAP gfnLoadBitmap(const wchar_t* dir, const wchar_t* file) {
    wchar_t path[MAX_PATH];
    if (!joinPath(path, dir, file)) return nullptr;
    return gfnGDIPlusLoadBitmap(path);
}

HBITMAP gfnLoadBitmapDIB(HINSTANCE instance, UINT id) {
    return (HBITMAP)LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
}

HBITMAP gfnLoadBitmapDIB(const wchar_t* path) { return gfnGDIPlusLoadBitmapDIB(path); }

HBITMAP gfnLoadBitmapDIB(const wchar_t* dir, const wchar_t* file) {
    wchar_t path[MAX_PATH];
    if (!joinPath(path, dir, file)) return nullptr;
    return gfnGDIPlusLoadBitmapDIB(path);
}

HICON gfnLoadIcon(const wchar_t* dir, const wchar_t* file) {
    wchar_t path[MAX_PATH];
    if (!joinPath(path, dir, file)) return nullptr;
    return (HICON)LoadImageW(nullptr, path, IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
}

int gfnGetBitmapSize(HBITMAP bitmap, SIZE* size) {
    if (!bitmap) {
        if (size) size->cx = size->cy = 0;
        return 0;
    }
    BITMAP bm = {};
    GetObjectW(bitmap, sizeof(bm), &bm);
    if (size) {
        size->cx = bm.bmWidth;
        size->cy = bm.bmHeight;
    }
    return 1;
}

HBITMAP gfnCutBitmap(HBITMAP source, RECT* rect) {
    if (!source || !rect) return nullptr;
    int w = rect->right - rect->left, h = rect->bottom - rect->top;
    if (w <= 0 || h <= 0) return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP result = nullptr;
    {
        qdraw::BitmapDC src(screen, source);
        qdraw::BitmapDC dst(screen, w, h);
        if (src.ok() && dst.ok()) {
            BitBlt(dst, 0, 0, w, h, src, rect->left, rect->top, SRCCOPY);
            result = dst.release();
        }
    }
    ReleaseDC(nullptr, screen);
    return result;
}
