// The alpha bitmap object: loading with a class-wide cache of the last decoded files, the cut with
// an optional alpha image, and drawing by BitBlt (no alpha) or GDI+ through a shared back buffer.
#include "imaging/alphaBitmap.h"
#include "drawing/gdiutil.h"
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <optional>

using namespace qgdip;

LONG CqGDIPlusDrawAlphaBitmap::g_nInstanceCount = 0;
wchar_t CqGDIPlusDrawAlphaBitmap::g_szCachedFile[MAX_PATH];
GpBitmap* CqGDIPlusDrawAlphaBitmap::g_pCachedImage = nullptr;
wchar_t CqGDIPlusDrawAlphaBitmap::g_szCachedAlphaFile[MAX_PATH];
GpBitmap* CqGDIPlusDrawAlphaBitmap::g_pCachedAlphaImage = nullptr;
HDC CqGDIPlusDrawAlphaBitmap::g_hBackDC = nullptr;
HBITMAP CqGDIPlusDrawAlphaBitmap::g_hBackBitmap = nullptr;
HGDIOBJ CqGDIPlusDrawAlphaBitmap::g_hBackOldBitmap = nullptr;
SIZE CqGDIPlusDrawAlphaBitmap::g_sizeBack = {0, 0};

namespace {

const ARGB kOpaqueBlack = 0xFF000000;
const ARGB kTransparentBlack = 0;

// a + b into a buffer of MAX_PATH characters; false when it does not fit.
bool joinPath(wchar_t (&out)[MAX_PATH], const wchar_t* a, const wchar_t* b) {
    size_t la = wcslen(a), lb = wcslen(b);
    if (la + lb >= MAX_PATH) return false;
    wmemcpy(out, a, la);
    wmemcpy(out + la, b, lb + 1);
    return true;
}

// Decodes an image file from a copy in memory, so the file is read once and not held open.
GpBitmap* decodeFile(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size = {};
    HGLOBAL block = nullptr;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 30))
        block = GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)size.QuadPart);
    bool read = false;
    if (block) {
        qdraw::GlobalLockGuard<BYTE> lock(block);
        DWORD got = 0;
        read = lock && ReadFile(file, lock.get(), (DWORD)size.QuadPart, &got, nullptr) && got == (DWORD)size.QuadPart &&
               claimFits(lock.get(), got);
    }
    CloseHandle(file);
    IStream* stream = nullptr;
    if (!read || CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK || !stream) {
        if (block) GlobalFree(block);
        return nullptr;
    }
    // The stream owns the block now; GDI+ keeps its own reference for as long as it needs it.
    GpBitmap* image = nullptr;
    if (GdipCreateBitmapFromStream(stream, &image) != Ok) image = nullptr;
    stream->Release();
    return image;
}

// The image of path from the one-entry cache (name, image), decoding and replacing it on a miss.
// A checked decode that fails (or gives no pixels) leaves the cache as it was; an unchecked one
// is cached even when it failed, so later reads of it give nothing.
GpBitmap* cachedDecode(const wchar_t* path, wchar_t (&name)[MAX_PATH], GpBitmap*& image, bool checked) {
    if (wcslen(path) >= MAX_PATH) return nullptr;
    if (name[0] && _wcsicmp(name, path) == 0) return image;
    GpBitmap* fresh = decodeFile(path);
    if (checked) {
        SIZE size = sizeOf(fresh);
        if (size.cx <= 0 || size.cy <= 0) {
            if (fresh) GdipDisposeImage(fresh);
            return nullptr;
        }
    }
    wcscpy(name, path);
    if (image) GdipDisposeImage(image);
    image = fresh;
    return fresh;
}

// The cut: the piece (x, y, w, h) of source, w or h 0 reaching to the edge and a piece running past
// the edge shortened. With alpha, a 32-bit ARGB image whose alpha is the alpha image's red AND
// the source's alpha; an alpha pixel that cannot be read repeats the last one read (opaque black
// at first), so a missing alpha image gives a fully transparent cut.
GpBitmap* cutImage(GpBitmap* source, bool withAlpha, GpBitmap* alpha, int x, int y, int w, int h) {
    SIZE s = sizeOf(source);
    if (s.cx <= 0 || s.cy <= 0 || x < 0 || y < 0 || x >= s.cx || y >= s.cy || w < 0 || h < 0) return nullptr;
    if (w == 0 || w > s.cx - x) w = s.cx - x;
    if (h == 0 || h > s.cy - y) h = s.cy - y;

    GpBitmap* out = nullptr;
    if (!withAlpha) {
        if (GdipCloneBitmapAreaI(x, y, w, h, formatOf(source), source, &out) != Ok) return nullptr;
        return out;
    }
    if (GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &out) != Ok) return nullptr;
    ImagePtr result(out);
    {
        BitsLock dst(out, GpRect(0, 0, w, h), ImageLockModeWrite, PixelFormat32bppARGB);
        BitsLock src(source, GpRect(x, y, w, h), ImageLockModeRead, PixelFormat32bppARGB);
        if (!dst.ok() || !src.ok()) return nullptr;
        SIZE as = sizeOf(alpha);
        RECT piece = {x, y, x + w, y + h}, bounds = {0, 0, as.cx, as.cy}, inAlpha = {};
        std::optional<BitsLock> a;
        if (alpha && IntersectRect(&inAlpha, &piece, &bounds)) {
            a.emplace(alpha,
                      GpRect(inAlpha.left, inAlpha.top, inAlpha.right - inAlpha.left, inAlpha.bottom - inAlpha.top),
                      ImageLockModeRead, PixelFormat32bppARGB);
        }
        const bool readable = a && a->ok();
        ARGB last = kOpaqueBlack;
        for (int r = 0; r < h; ++r) {
            const ARGB* s = reinterpret_cast<const ARGB*>(src.row(r));
            ARGB* d = reinterpret_cast<ARGB*>(dst.row(r));
            const int ay = y + r;
            const bool rowIn = readable && ay >= inAlpha.top && ay < inAlpha.bottom;
            const ARGB* arow = rowIn ? reinterpret_cast<const ARGB*>(a->row(ay - inAlpha.top)) : nullptr;
            for (int c = 0; c < w; ++c) {
                const int ax = x + c;
                if (arow && ax >= inAlpha.left && ax < inAlpha.right) last = arow[ax - inAlpha.left];
                d[c] = ((((last >> 16) & 0xFF) << 24) | 0xFFFFFF) & s[c];
            }
        }
    }
    return result.release();
}

// Clamps a piece of w x h at (srcX, srcY) to an image of width x height; false when nothing is left.
bool clampPiece(int width, int height, int srcX, int srcY, int& w, int& h) {
    if (srcX < 0 || srcY < 0 || srcX >= width || srcY >= height || w <= 0 || h <= 0) return false;
    w = std::min(w, width - srcX);
    h = std::min(h, height - srcY);
    return true;
}

// The tiles of a fill that fall inside vis, as one premultiplied image of vis's size: tiles of
// tw x th laid over area from its top-left, each showing the piece (srcX, srcY) of image. Drawn
// with one call instead of one per tile, which GDI+ makes expensive; the tiles do not overlap,
// so the blend is the same. Parts of the piece outside the image are transparent.
GpBitmap* tiledStrip(GpBitmap* image, int srcX, int srcY, int tw, int th, RECT area, const RECT& vis) {
    const int vw = vis.right - vis.left, vh = vis.bottom - vis.top;
    GpBitmap* strip = nullptr;
    if (GdipCreateBitmapFromScan0(vw, vh, 0, PixelFormat32bppPARGB, nullptr, &strip) != Ok) return nullptr;
    ImagePtr owner(strip);
    const SIZE size = sizeOf(image);
    RECT piece = {srcX, srcY, srcX + tw, srcY + th}, bounds = {0, 0, size.cx, size.cy}, readable = {};
    const bool any = IntersectRect(&readable, &piece, &bounds) != FALSE;
    BitsLock dst(strip, GpRect(0, 0, vw, vh), ImageLockModeWrite, PixelFormat32bppPARGB);
    if (!dst.ok()) return nullptr;
    for (int r = 0; r < vh; ++r) std::memset(dst.row(r), 0, (size_t)vw * 4);
    if (!any) return owner.release();
    BitsLock src(image, GpRect(readable.left, readable.top, readable.right - readable.left,
                               readable.bottom - readable.top),
                 ImageLockModeRead, PixelFormat32bppPARGB);
    if (!src.ok()) return nullptr;
    // Start the tiling at the grid cell holding vis's corner; the cells before it are not seen.
    area.left += (vis.left - area.left) / tw * tw;
    area.top += (vis.top - area.top) / th * th;
    qdraw::forEachTile(area, tw, th, [&](int x, int y, int w, int h) {
        RECT cell = {x, y, x + w, y + h}, part;
        if (!IntersectRect(&part, &cell, &vis)) return;
        // Source columns of this part, cut to what the image can give.
        const int sx0 = srcX + (part.left - x), sx1 = sx0 + (part.right - part.left);
        const int cx0 = std::max<int>(sx0, readable.left), cx1 = std::min<int>(sx1, readable.right);
        if (cx0 >= cx1) return;
        for (LONG row = part.top; row < part.bottom; ++row) {
            const int sy = srcY + (row - y);
            if (sy < readable.top || sy >= readable.bottom) continue;
            std::memcpy(dst.row(row - vis.top) + (size_t)(part.left - vis.left + (cx0 - sx0)) * 4,
                        src.row(sy - readable.top) + (size_t)(cx0 - readable.left) * 4, (size_t)(cx1 - cx0) * 4);
        }
    });
    return owner.release();
}

}  // namespace

CqGDIPlusDrawAlphaBitmap::CqGDIPlusDrawAlphaBitmap() {
    if (g_nInstanceCount == 0) {
        g_szCachedFile[0] = 0;
        g_szCachedAlphaFile[0] = 0;
        g_hBackDC = nullptr;
        g_hBackBitmap = nullptr;
        g_hBackOldBitmap = nullptr;
        g_sizeBack = SIZE{0, 0};
    }
    ++g_nInstanceCount;
}

CqGDIPlusDrawAlphaBitmap::~CqGDIPlusDrawAlphaBitmap() {
    if (--g_nInstanceCount == 0) {
        if (g_pCachedImage) GdipDisposeImage(g_pCachedImage);
        if (g_pCachedAlphaImage) GdipDisposeImage(g_pCachedAlphaImage);
        g_pCachedImage = g_pCachedAlphaImage = nullptr;
        g_szCachedFile[0] = g_szCachedAlphaFile[0] = 0;
        releaseBackBuffer();
    }
    fnFree();
    std::free(m_pPalette);
    // m_startup, the last member, gives GDI+ back after every GDI+ object is gone.
}

void CqGDIPlusDrawAlphaBitmap::Release() { delete this; }

void CqGDIPlusDrawAlphaBitmap::fnFree() {
    m_composed.clear();
    if (m_pGraphics) {
        if (m_hLentDC) GdipReleaseDC(m_pGraphics, m_hLentDC);
        GdipDeleteGraphics(m_pGraphics);
        m_pGraphics = nullptr;
        m_hLentDC = nullptr;
    }
    if (m_pImage) {
        GdipDisposeImage(m_pImage);
        m_pImage = nullptr;
    }
    if (m_hBitmap) {
        SelectObject(m_hMemDC, m_hOldBitmap);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hMemDC);
        m_hBitmap = nullptr;
        m_hMemDC = nullptr;
        m_hOldBitmap = nullptr;
    }
    m_nWidth = m_nHeight = 0;
}

// Takes over a freshly made image; one without alpha also gets its GDI copy for BitBlt.
// Takes the image over and records its size; it is drawn through GDI+.
void CqGDIPlusDrawAlphaBitmap::setImage(GpBitmap* image) {
    m_pImage = image;
    SIZE size = sizeOf(image);
    m_nWidth = size.cx;
    m_nHeight = size.cy;
}

// As setImage, and an image without alpha also gets the GDI copy it is drawn from.
void CqGDIPlusDrawAlphaBitmap::adopt(GpBitmap* image, ARGB gdiBackground) {
    setImage(image);
    if (formatOf(image) != PixelFormat32bppARGB) makeGdiCopy(gdiBackground);
}

// (Re)makes m_hBitmap from m_pImage, selected in m_hMemDC. On failure the image stays on the GDI+ path.
bool CqGDIPlusDrawAlphaBitmap::makeGdiCopy(ARGB background) {
    HBITMAP bitmap = nullptr;
    if (!m_pImage || GdipCreateHBITMAPFromBitmap(m_pImage, &bitmap, background) != Ok || !bitmap) return false;
    if (m_hBitmap) {   // refresh: swap the new copy in
        SelectObject(m_hMemDC, bitmap);
        DeleteObject(m_hBitmap);
        m_hBitmap = bitmap;
        return true;
    }
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = mem ? SelectObject(mem, bitmap) : nullptr;
    if (!old || old == HGDI_ERROR) {
        if (mem) DeleteDC(mem);
        DeleteObject(bitmap);
        return false;
    }
    m_hMemDC = mem;
    m_hBitmap = bitmap;
    m_hOldBitmap = old;
    return true;
}

int CqGDIPlusDrawAlphaBitmap::fnLoadFromFile(const wchar_t* dir, const wchar_t* file, const wchar_t* alphaFile,
                                             int srcX, int srcY, int srcW, int srcH) {
    wchar_t path[MAX_PATH] = {}, alphaPath[MAX_PATH] = {};
    if (!dir || !file) return 0;
    if (!joinPath(path, dir, file) || !path[0]) return 0;
    const bool withAlpha = alphaFile && alphaFile[0];
    if (withAlpha && !joinPath(alphaPath, dir, alphaFile)) return 0;
    return fnLoadFromPath(path, withAlpha ? alphaPath : nullptr, srcX, srcY, srcW, srcH);
}

int CqGDIPlusDrawAlphaBitmap::fnLoadFromPath(const wchar_t* path, const wchar_t* alphaPath, int srcX, int srcY,
                                             int srcW, int srcH) {
    fnFree();
    if (!path || !path[0]) return 0;
    GpBitmap* source = cachedDecode(path, g_szCachedFile, g_pCachedImage, true);
    if (!source) return 0;
    const bool withAlpha = alphaPath && alphaPath[0];
    GpBitmap* alpha = withAlpha ? cachedDecode(alphaPath, g_szCachedAlphaFile, g_pCachedAlphaImage, false) : nullptr;
    GpBitmap* cut = cutImage(source, withAlpha, alpha, srcX, srcY, srcW, srcH);
    if (!cut) return 0;
    adopt(cut, kOpaqueBlack);
    return 1;
}

int CqGDIPlusDrawAlphaBitmap::fnLoadFromResource(HINSTANCE instance, UINT id, UINT alphaId, int srcX, int srcY,
                                                 int srcW, int srcH) {
    fnFree();
    if (!id) return 0;
    auto load = [instance](UINT res) {
        return (HBITMAP)LoadImageW(instance, MAKEINTRESOURCEW(res), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    };
    HBITMAP bitmap = load(id);
    if (!bitmap) return 0;
    HBITMAP alphaBitmap = alphaId ? load(alphaId) : nullptr;
    GpBitmap* source = nullptr;
    GpBitmap* alpha = nullptr;
    if (GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &source) != Ok) source = nullptr;
    if (alphaBitmap && GdipCreateBitmapFromHBITMAP(alphaBitmap, nullptr, &alpha) != Ok) alpha = nullptr;
    ImagePtr sourceOwner(source), alphaOwner(alpha);
    GpBitmap* cut = source ? cutImage(source, alphaId != 0, alpha, srcX, srcY, srcW, srcH) : nullptr;
    DeleteObject(bitmap);
    if (alphaBitmap) DeleteObject(alphaBitmap);
    if (!cut) return 0;
    setImage(cut);   // resources are always blended
    return 1;
}

int CqGDIPlusDrawAlphaBitmap::fnCreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette) {
    fnFree();
    GpBitmap* image = nullptr;
    if (!bitmap || GdipCreateBitmapFromHBITMAP(bitmap, palette, &image) != Ok || !image) return 0;
    adopt(image, kTransparentBlack);
    return 1;
}

int CqGDIPlusDrawAlphaBitmap::fnCreateFromGdiDib(const BITMAPINFO* info, void* bits) {
    fnFree();
    GpBitmap* view = nullptr;
    if (!info || !bits || GdipCreateBitmapFromGdiDib(info, bits, &view) != Ok || !view) return 0;
    // GDI+ reads the caller's bits in place; keep a copy so they stay the caller's.
    ImagePtr viewOwner(view);
    SIZE size = sizeOf(view);
    GpBitmap* image = nullptr;
    if (size.cx <= 0 || size.cy <= 0 ||
        GdipCloneBitmapAreaI(0, 0, size.cx, size.cy, formatOf(view), view, &image) != Ok || !image)
        return 0;
    // An indexed DIB brings its colour table as the image's palette.
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount <= 8) {
        const UINT count = h.biClrUsed && h.biClrUsed <= (1u << h.biBitCount) ? h.biClrUsed : 1u << h.biBitCount;
        ARGB entries[256];
        for (UINT i = 0; i < count; ++i) {
            const RGBQUAD& q = info->bmiColors[i];
            entries[i] = 0xFF000000u | (ARGB)q.rgbRed << 16 | (ARGB)q.rgbGreen << 8 | q.rgbBlue;
        }
        alignas(ColorPalette) BYTE block[sizeof(ColorPalette) + sizeof entries];
        auto* palette = reinterpret_cast<ColorPalette*>(block);
        palette->Flags = 0;
        palette->Count = count;
        std::copy(entries, entries + count, palette->Entries);
        GdipSetImagePalette(image, palette);
    }
    setImage(image);
    return 1;
}

int CqGDIPlusDrawAlphaBitmap::fnCreate(int w, int h) {
    fnFree();
    GpBitmap* image = nullptr;
    if (w <= 0 || h <= 0 || GdipCreateBitmapFromScan0(w, h, 0, PixelFormat24bppRGB, nullptr, &image) != Ok ||
        !image)
        return 0;
    setImage(image);
    return 1;
}

// ---- palette -----------------------------------------------------------------------------------

int CqGDIPlusDrawAlphaBitmap::setPaletteEntries(const ARGB* entries, int count) {
    if (count < 0 || (count > 0 && !entries)) return 0;
    auto* palette = static_cast<ColorPalette*>(std::malloc(sizeof(ColorPalette) + sizeof(ARGB) * (size_t)count));
    if (!palette) return 0;
    palette->Flags = PaletteFlagsHasAlpha;
    palette->Count = (UINT)count;
    for (int i = 0; i < count; ++i) palette->Entries[i] = entries[i];
    std::free(m_pPalette);
    m_pPalette = palette;
    applyPalette();
    return 1;
}

// The palette last set, or, before any was set, the image's own.
bool CqGDIPlusDrawAlphaBitmap::ensurePalette() {
    if (m_pPalette) return true;
    INT bytes = 0;
    if (!m_pImage || GdipGetImagePaletteSize(m_pImage, &bytes) != Ok || bytes < (INT)sizeof(ColorPalette)) return false;
    auto* palette = static_cast<ColorPalette*>(std::malloc((size_t)bytes));
    if (!palette) return false;
    if (GdipGetImagePalette(m_pImage, palette, bytes) != Ok || palette->Count == 0) {
        std::free(palette);
        return false;
    }
    palette->Flags = PaletteFlagsHasAlpha;
    m_pPalette = palette;
    return true;
}

void CqGDIPlusDrawAlphaBitmap::applyPalette() {
    if (!m_pImage || !m_pPalette) return;
    m_composed.clear();
    if (GdipSetImagePalette(m_pImage, m_pPalette) != Ok) return;
    if (m_hBitmap) makeGdiCopy(kOpaqueBlack);   // keep the BitBlt copy in step
}

int CqGDIPlusDrawAlphaBitmap::fnSetPaletteRGB(const COLORREF* colours, int count) {
    if (count < 0 || (count > 0 && !colours)) return 0;
    auto* entries = static_cast<ARGB*>(std::malloc(sizeof(ARGB) * (size_t)(count ? count : 1)));
    if (!entries) return 0;
    for (int i = 0; i < count; ++i)
        entries[i] = 0xFF000000u | (ARGB)GetRValue(colours[i]) << 16 | (ARGB)GetGValue(colours[i]) << 8 |
                     GetBValue(colours[i]);
    int result = setPaletteEntries(entries, count);
    std::free(entries);
    return result;
}

int CqGDIPlusDrawAlphaBitmap::fnSetPalette(const ARGB* colours, int count) { return setPaletteEntries(colours, count); }

int CqGDIPlusDrawAlphaBitmap::fnGetPalette(ARGB* out, int max) {
    INT bytes = 0;
    if (!m_pImage || !out || max < 0 || GdipGetImagePaletteSize(m_pImage, &bytes) != Ok ||
        bytes < (INT)sizeof(ColorPalette))
        return 0;
    auto* palette = static_cast<ColorPalette*>(std::malloc((size_t)bytes));
    if (!palette) return 0;
    int copied = 0;
    if (GdipGetImagePalette(m_pImage, palette, bytes) == Ok) {
        copied = std::min((int)palette->Count, max);
        for (int i = 0; i < copied; ++i) out[i] = palette->Entries[i];
    }
    std::free(palette);
    return 1;
}

void CqGDIPlusDrawAlphaBitmap::fnSetPaletteAlpha(int index, BYTE alpha) {
    if (!ensurePalette() || index < 0 || (UINT)index >= m_pPalette->Count) return;
    ARGB& e = m_pPalette->Entries[index];
    e = (e & 0x00FFFFFF) | (ARGB)alpha << 24;
    applyPalette();
}

void CqGDIPlusDrawAlphaBitmap::fnSetPaletteEntry(int index, ARGB colour) {
    if (!ensurePalette() || index < 0 || (UINT)index >= m_pPalette->Count) return;
    m_pPalette->Entries[index] = colour;
    applyPalette();
}

void CqGDIPlusDrawAlphaBitmap::fnSetPaletteEntryRGB(int index, COLORREF colour) {
    if (!ensurePalette() || index < 0 || (UINT)index >= m_pPalette->Count) return;
    ARGB& e = m_pPalette->Entries[index];
    e = (e & 0xFF000000) | (ARGB)GetRValue(colour) << 16 | (ARGB)GetGValue(colour) << 8 | GetBValue(colour);
    applyPalette();
}

// ---- queries and conversions -------------------------------------------------------------------

CSize CqGDIPlusDrawAlphaBitmap::fnGetSize() { return CSize(m_nWidth, m_nHeight); }

int CqGDIPlusDrawAlphaBitmap::fnIsValid() { return (m_pImage || m_hBitmap) && m_nWidth && m_nHeight; }

int CqGDIPlusDrawAlphaBitmap::fnGetHBITMAP(HBITMAP* out) {
    if (!out || !fnIsValid() || !m_pImage) return 0;
    HBITMAP bitmap = nullptr;
    if (GdipCreateHBITMAPFromBitmap(m_pImage, &bitmap, kTransparentBlack) != Ok || !bitmap) return 0;
    *out = bitmap;
    return 1;
}

int CqGDIPlusDrawAlphaBitmap::fnCreateDIB(WORD bitCount, HBITMAP* out) {
    if (!out || !fnIsValid() || !m_pImage) return 0;
    *out = nullptr;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = m_nWidth;
    info.header.biHeight = m_nHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = bitCount;
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = (((DWORD)bitCount * m_nWidth + 31) / 8 & ~3u) * (DWORD)m_nHeight;
    if (bitCount < 16) {
        for (int i = 0; i < 256; ++i) info.colours[i] = RGBQUAD{(BYTE)i, (BYTE)i, (BYTE)i, 0};
    }
    qdraw::MemDC mem(nullptr);
    void* bits = nullptr;
    HBITMAP dib = mem.get() ? CreateDIBSection(mem, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                               nullptr, 0)
                            : nullptr;
    if (!dib) return 0;
    {
        qdraw::SelectGuard select(mem, dib);
        GraphicsPtr g = graphicsOn(mem);
        if (g) {
            GdipDrawImageRectI(g.get(), m_pImage, 0, 0, m_nWidth, m_nHeight);
            GdipFlush(g.get(), FlushIntentionSync);
        }
    }
    *out = dib;
    return 1;
}

// What is drawn through the lent context changes the image, so the composed faces go.
HDC CqGDIPlusDrawAlphaBitmap::fnGetDC() {
    if (m_hMemDC) return m_hMemDC;
    if (!m_pImage || m_pGraphics) return nullptr;
    m_composed.clear();
    GpGraphics* g = nullptr;
    if (GdipGetImageGraphicsContext(m_pImage, &g) != Ok || !g) return nullptr;
    HDC dc = nullptr;
    if (GdipGetDC(g, &dc) != Ok || !dc) {
        GdipDeleteGraphics(g);
        return nullptr;
    }
    m_pGraphics = g;
    m_hLentDC = dc;
    return dc;
}

void CqGDIPlusDrawAlphaBitmap::fnReleaseDC(HDC dc) {
    if (!dc || dc == m_hMemDC || !m_pGraphics) return;
    m_composed.clear();
    GdipReleaseDC(m_pGraphics, dc);
    GdipFlush(m_pGraphics, FlushIntentionSync);
    GdipDeleteGraphics(m_pGraphics);
    m_pGraphics = nullptr;
    m_hLentDC = nullptr;
}

// ---- drawing -----------------------------------------------------------------------------------

// The shared back buffer: at least the device's screen size and the target's clip box, and only
// ever grows. Made compatible with the screen, where the blended result ends up.
bool CqGDIPlusDrawAlphaBitmap::prepareBackBuffer(HDC dc) {
    RECT clip = {};
    GetClipBox(dc, &clip);
    const LONG w = std::max<LONG>(GetDeviceCaps(dc, HORZRES), clip.right - clip.left);
    const LONG h = std::max<LONG>(GetDeviceCaps(dc, VERTRES), clip.bottom - clip.top);
    if (g_hBackDC && g_sizeBack.cx >= w && g_sizeBack.cy >= h) return true;
    const SIZE size = {std::max(g_sizeBack.cx, w), std::max(g_sizeBack.cy, h)};
    releaseBackBuffer();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = screen ? CreateCompatibleBitmap(screen, size.cx, size.cy) : nullptr;
    if (screen) ReleaseDC(nullptr, screen);
    HDC mem = bitmap ? CreateCompatibleDC(nullptr) : nullptr;
    HGDIOBJ old = mem ? SelectObject(mem, bitmap) : nullptr;
    if (!old || old == HGDI_ERROR) {
        if (mem) DeleteDC(mem);
        if (bitmap) DeleteObject(bitmap);
        return false;
    }
    g_hBackDC = mem;
    g_hBackBitmap = bitmap;
    g_hBackOldBitmap = old;
    g_sizeBack = size;
    return true;
}

void CqGDIPlusDrawAlphaBitmap::releaseBackBuffer() {
    if (g_hBackDC) {
        SelectObject(g_hBackDC, g_hBackOldBitmap);
        DeleteDC(g_hBackDC);
    }
    if (g_hBackBitmap) DeleteObject(g_hBackBitmap);
    g_hBackDC = nullptr;
    g_hBackBitmap = nullptr;
    g_hBackOldBitmap = nullptr;
    g_sizeBack = SIZE{0, 0};
}

// Blending through the back buffer: the visible part `work` of the destination area is copied
// into the buffer's corner, the image is blended there (offset by -work's origin) and the result
// is copied back, so the destination's own pixels are read and written by plain BitBlt only.
bool CqGDIPlusDrawAlphaBitmap::beginBack(HDC dc, const RECT& clip, const RECT& area, GpGraphics* back, RECT& work) {
    if (!IntersectRect(&work, &area, &clip)) return false;   // nothing of it is visible
    const int ww = work.right - work.left, wh = work.bottom - work.top;
    BitBlt(g_hBackDC, 0, 0, ww, wh, dc, work.left, work.top, SRCCOPY);
    GdipSetClipRectI(back, 0, 0, ww, wh, CombineModeReplace);
    return true;
}

void CqGDIPlusDrawAlphaBitmap::endBack(HDC dc, const RECT& work, GpGraphics* back) {
    GdipFlush(back, FlushIntentionSync);
    BitBlt(dc, work.left, work.top, work.right - work.left, work.bottom - work.top, g_hBackDC, 0, 0, SRCCOPY);
}

int CqGDIPlusDrawAlphaBitmap::fnDraw(HDC dc, const RECT* rect) {
    if (!rect) return 0;
    return fnDraw(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
}

int CqGDIPlusDrawAlphaBitmap::fnDraw(HDC dc, int x, int y, int w, int h) { return fnDraw(dc, x, y, 0, 0, w, h); }

int CqGDIPlusDrawAlphaBitmap::fnDraw(HDC dc, int x, int y, int srcX, int srcY, int w, int h) {
    if (!dc || !fnIsValid()) return 0;
    if (w == 0) w = m_nWidth;
    if (h == 0) h = m_nHeight;
    // The plain copy reads only what lies inside the image, wherever the piece starts; a negative
    // size would mirror the picture and is refused.
    if (m_hBitmap) return w > 0 && h > 0 && BitBlt(dc, x, y, w, h, m_hMemDC, srcX, srcY, SRCCOPY) ? 1 : 0;
    if (!clampPiece(m_nWidth, m_nHeight, srcX, srcY, w, h)) return 0;
    if (!m_pImage || !prepareBackBuffer(dc)) return 0;
    RECT clip = {};
    if (GetClipBox(dc, &clip) == ERROR) return 0;
    GraphicsPtr back = graphicsOn(g_hBackDC);
    if (!back) return 0;
    RECT area = {x, y, x + w, y + h}, work;
    if (!beginBack(dc, clip, area, back.get(), work)) return 1;
    const GpStatus status = GdipDrawImageRectRectI(back.get(), m_pImage, x - work.left, y - work.top, w, h, srcX,
                                                   srcY, w, h, UnitPixel, nullptr, nullptr, nullptr);
    endBack(dc, work, back.get());
    return status == Ok ? 1 : 0;
}

int CqGDIPlusDrawAlphaBitmap::fnFillRect(HDC dc, const RECT* rect, int srcX, int srcY, int srcW, int srcH,
                                         BOOL useBackBuffer) {
    if (!dc || !rect || !m_nWidth || !m_nHeight) return 0;
    int tw = (srcW == 0 || srcX + srcW > m_nWidth) ? m_nWidth - srcX : srcW;
    int th = (srcH == 0 || srcY + srcH > m_nHeight) ? m_nHeight - srcY : srcH;
    if (m_hBitmap) {
        if (tw <= 0 || th <= 0) return 0;   // a piece outside the image has no tiles
        qdraw::forEachTile(*rect, tw, th, [&](int x, int y, int w, int h) {
            BitBlt(dc, x, y, w, h, m_hMemDC, srcX, srcY, SRCCOPY);
        });
        return 1;
    }
    if (!m_pImage) return 0;
    if (tw <= 0 || th <= 0) {
        tw = m_nWidth;
        th = m_nHeight;
    }
    if (!prepareBackBuffer(dc)) return 0;
    RECT clip = {};
    if (GetClipBox(dc, &clip) == ERROR) return 0;
    GraphicsPtr g = graphicsOn(useBackBuffer ? g_hBackDC : dc);
    if (!g) return 0;
    if (!useBackBuffer) GdipSetClipRectI(g.get(), clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top,
                                         CombineModeReplace);
    // Whole tile rows and columns before 0 are skipped: the tiling starts at the first one that
    // reaches into positive coordinates, on the same grid.
    RECT area = *rect;
    if (area.top < 0) area.top += (-area.top / th) * th;
    if (area.left < 0) area.left += (-area.left / tw) * tw;
    // Only the visible part is composed, and with the back buffer it goes through it once.
    RECT vis;
    if (!IntersectRect(&vis, &area, &clip)) return 1;
    RECT work = vis;
    POINT origin = {0, 0};
    if (useBackBuffer) {
        if (!beginBack(dc, clip, area, g.get(), work)) return 1;
        origin = POINT{work.left, work.top};
    }
    ImagePtr strip(tiledStrip(m_pImage, srcX, srcY, tw, th, area, vis));
    const bool ok = strip && GdipDrawImageRectRectI(g.get(), strip.get(), vis.left - origin.x, vis.top - origin.y,
                                                    vis.right - vis.left, vis.bottom - vis.top, 0, 0,
                                                    vis.right - vis.left, vis.bottom - vis.top, UnitPixel, nullptr,
                                                    nullptr, nullptr) == Ok;
    if (useBackBuffer)
        endBack(dc, work, g.get());
    else
        GdipFlush(g.get(), FlushIntentionSync);
    return ok ? 1 : 0;
}

int CqGDIPlusDrawAlphaBitmap::fnFillRectWith9Cells(HDC dc, const RECT* rect) {
    return fnFillRectWith9Cells(dc, rect, 0, 0, m_nWidth, m_nHeight);
}

// An alpha image's face comes from the composed cache when it can: the same pixels for one
// system blend. Only where no piece overlaps another: there one blend of the composed pixels
// would round differently from two blends in a row. A composition that did not fully succeed is
// not kept, so its result (0) and its partial picture come from the pieces every time.
int CqGDIPlusDrawAlphaBitmap::fnFillRectWith9Cells(HDC dc, const RECT* rect, int sx, int sy, int sw, int sh) {
    if (!dc || !rect || !fnIsValid()) return 0;
    const PixelFormat format = formatOf(m_pImage);
    const LONGLONG w = (LONGLONG)rect->right - rect->left, h = (LONGLONG)rect->bottom - rect->top;
    const bool apart = w >= 2LL * (sw / 3) && h >= 2LL * (sh / 3);
    if (apart && !m_hBitmap && (format == PixelFormat32bppARGB || format == PixelFormat32bppPARGB)) {
        const CqComposedCache::Key key = {(int)std::clamp<LONGLONG>(w, 0, INT_MAX), (int)std::clamp<LONGLONG>(h, 0, INT_MAX),
                                          sx, sy, sw, sh};
        auto compose = [&](HDC surface, const RECT& whole) { return nineCells(surface, &whole, sx, sy, sw, sh) == 1; };
        if (m_composed.draw(dc, *rect, key, compose)) return 1;
    }
    return nineCells(dc, rect, sx, sy, sw, sh);
}

int CqGDIPlusDrawAlphaBitmap::nineCells(HDC dc, const RECT* rect, int sx, int sy, int sw, int sh) {
    const LONG L = rect->left, T = rect->top, R = rect->right, B = rect->bottom;
    const int cw = sw / 3, ch = sh / 3;
    const int dh = B - T;
    // A rectangle no higher than a cell shows the top cells shifted down by adj (negative).
    const int adj = dh <= ch ? dh - sh : 0;
    bool ok = true;
    auto draw = [&](int x, int y, int srcX, int srcY, int w, int h) { ok = fnDraw(dc, x, y, srcX, srcY, w, h) && ok; };
    auto tile = [&](LONG l, LONG t, LONG r, LONG b, int srcX, int srcY, int w, int h) {
        RECT area = {l, t, r, b};
        ok = fnFillRect(dc, &area, srcX, srcY, w, h, TRUE) && ok;
    };
    const int ht = ch + adj;
    if (R - L == sw && dh == sh) return fnDraw(dc, L, T, sx, sy, sw, sh);
    if (R - L == sw) {   // three bands
        if (ht > 0) draw(L, T, sx, sy - adj, sw, ht);
        draw(L, B - ch, sx, sy + 2 * ch, sw, ch);
        tile(L, T + ch, R, B - ch, sx, sy + ch, sw, ch);
        return ok ? 1 : 0;
    }
    if (dh == sh) {   // three columns
        draw(L, T, sx, sy, cw, sh);
        draw(R - cw, T, sx + 2 * cw, sy, cw, sh);
        tile(L + cw, T, R - cw, B, sx + cw, sy, cw, sh);
        return ok ? 1 : 0;
    }
    if (ht > 0) draw(L, T, sx, sy - adj, cw, ht);
    draw(L, B - ch, sx, sy + 2 * ch, cw, ch);
    if (ht > 0) draw(R - cw, T, sx + 2 * cw, sy - adj, cw, ht);
    draw(R - cw, B - ch, sx + 2 * cw, sy + 2 * ch, cw, ch);
    tile(L + cw, T, R - cw, T + ch, sx + cw, sy, cw, ch);
    tile(L + cw, B - ch, R - cw, B, sx + cw, sy + 2 * ch, cw, ch);
    tile(L, T + ch, L + cw, B - ch, sx, sy + ch, cw, ch);
    tile(R - cw, T + ch, R, B - ch, sx + 2 * cw, sy + ch, cw, ch);
    tile(L + cw, T + ch, R - cw, B - ch, sx + cw, sy + ch, cw, ch);
    return ok ? 1 : 0;
}

QTRIMUI_API IGDIPlusDrawAlphaBitmap* gfnNewIGDIPlusDrawAlphaBitmap() {
    try {
        return new (std::nothrow) CqGDIPlusDrawAlphaBitmap();
    } catch (...) {
        return nullptr;
    }
}
