// Drawing context with a white 24-bit buffer and a ratio/mask blending blit.
#include "xUIDC.h"
#include "qDraw.h"
#include "drawing/gdiutil.h"
#include "drawing/pixelmem.h"
#include "drawing/rowblend.h"
#include <map>

namespace {
using namespace qdraw;

enum { kDirect = 0, kBuffered = 1 };

// Copies of a context share its buffer bitmap: the count of extra holders per bitmap, so that the
// last holder deletes it.
std::map<HBITMAP, int>& sharedBuffers() {
    static std::map<HBITMAP, int> shares;
    return shares;
}

bool retainBuffer(HBITMAP bitmap) {
    try {
        ++sharedBuffers()[bitmap];
        return true;
    } catch (...) {
        return false;
    }
}

void releaseBuffer(HBITMAP bitmap) {
    if (!bitmap) return;
    auto& shares = sharedBuffers();
    auto it = shares.find(bitmap);
    if (it == shares.end()) {
        DeleteObject(bitmap);
    } else if (--it->second == 0) {
        shares.erase(it);
    }
}

size_t rowBytes24(int width) { return ((size_t)width * 3 + 3) & ~(size_t)3; }

bool bitmapSize(HBITMAP bitmap, int& w, int& h) {
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm)) return false;
    w = bm.bmWidth;
    h = bm.bmHeight;
    return true;
}
}  // namespace

xUIDC::xUIDC() : m_bInit(0), m_hDC(nullptr), m_pBits(nullptr), m_nMode(0), m_hBitmap(nullptr), m_clrText(0) {}

xUIDC::xUIDC(xUIDC const& other)
    : m_bInit(other.m_bInit), m_hDC(other.m_hDC), m_pBits(other.m_pBits), m_nMode(other.m_nMode),
      m_hBitmap(other.m_hBitmap), m_clrText(other.m_clrText) {
    if (m_hBitmap && !retainBuffer(m_hBitmap)) {
        m_hBitmap = nullptr;
        m_pBits = nullptr;
    }
}

xUIDC& xUIDC::operator=(xUIDC const& other) {
    if (this == &other) return *this;
    HBITMAP bitmap = other.m_hBitmap;
    void* bits = other.m_pBits;
    if (bitmap && bitmap != m_hBitmap && !retainBuffer(bitmap)) {
        bitmap = nullptr;
        bits = nullptr;
    }
    if (bitmap != m_hBitmap) releaseBuffer(m_hBitmap);
    m_bInit = other.m_bInit;
    m_hDC = other.m_hDC;
    m_pBits = bits;
    m_nMode = other.m_nMode;
    m_hBitmap = bitmap;
    m_clrText = other.m_clrText;
    return *this;
}

xUIDC::~xUIDC() { releaseBuffer(m_hBitmap); }

int xUIDC::fnInit(HDC dc) {
    if (m_bInit) return 1;
    if (!dc) return 0;
    m_hDC = dc;
    m_nMode = kDirect;
    m_bInit = 1;
    return 1;
}

int xUIDC::fnCreate(int width, int height, HDC dc) {
    if (m_bInit) return 1;
    if (width < 0 || height < 0 || !dc) return 0;
    m_hDC = dc;
    m_nMode = kBuffered;
    releaseBuffer(m_hBitmap);
    m_hBitmap = nullptr;
    m_pBits = nullptr;

    void* bits = nullptr;
    m_hBitmap = qdraw::createDIBSection(dc, width, height, 24, &bits);
    m_pBits = m_hBitmap ? bits : nullptr;
    if (m_pBits) memset(m_pBits, 0xFF, rowBytes24(width) * (size_t)height);
    m_bInit = 1;
    return m_hBitmap != nullptr;
}

int xUIDC::fnUnInit() {
    m_bInit = 0;
    return 1;
}

int xUIDC::BitBlt(int x, int y, int width, int height, HDC source, int srcX, int srcY, DWORD rop,
                  DWORD* unused, AlphaRatio* ratio, HBITMAP mask) {
    if (m_nMode == kDirect) return ::BitBlt(m_hDC, x, y, width, height, source, srcX, srcY, rop);
    if (m_nMode == kBuffered) return BitBltEx(x, y, width, height, source, srcX, srcY, rop, unused, ratio, mask);
    return 0;
}

int xUIDC::BitBltEx(int x, int y, int width, int height, HDC source, int srcX, int srcY, DWORD, DWORD*,
                    AlphaRatio* ratio, HBITMAP mask) {
    if (m_nMode != kBuffered) return 0;
    DIBSECTION buffer = {};
    if (!m_hBitmap || GetObjectW(m_hBitmap, sizeof(buffer), &buffer) != sizeof(buffer) || !m_pBits) return 0;
    const int bufW = buffer.dsBm.bmWidth, bufH = buffer.dsBm.bmHeight;
    int result = 1;

    HBITMAP sourceBitmap = source ? (HBITMAP)::GetCurrentObject(source, OBJ_BITMAP) : nullptr;
    int srcW = 0, srcH = 0;
    const bool sourceSized = bitmapSize(sourceBitmap, srcW, srcH);

    // The mask is used only when it is an 8-bit DIB section of the source's size.
    const BYTE* maskBits = nullptr;
    if (mask) {
        DIBSECTION m = {};
        const bool maskSized = GetObjectW(mask, sizeof(m), &m) != 0;
        if (!sourceSized || !maskSized) result = 0;
        else if (m.dsBm.bmWidth == srcW && m.dsBm.bmHeight == srcH && m.dsBm.bmBitsPixel == 8 && m.dsBm.bmBits)
            maskBits = (const BYTE*)m.dsBm.bmBits;
    }
    if (!sourceBitmap || !sourceSized || srcW <= 0 || srcH <= 0) return result;

    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    if (!GetDIBits(source, sourceBitmap, 0, 0, nullptr, &bi, DIB_RGB_COLORS)) return result;
    bi.bmiHeader.biWidth = srcW;
    bi.bmiHeader.biHeight = srcH;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    bi.bmiHeader.biSizeImage = 0;
    const size_t srcStride = rowBytes24(srcW);
    PixelBlock pixels((int)srcStride, srcH, 1);
    if (!pixels || GetDIBits(source, sourceBitmap, 0, srcH, pixels.data(), &bi, DIB_RGB_COLORS) != srcH)
        return result;

    const int rows = srcH < height ? srcH : height;
    int columns = srcW < width ? srcW : width;
    // Clip the run to both bitmaps on the left and right.
    int dx0 = x, sx0 = srcX;
    if (dx0 < 0) { sx0 -= dx0; columns += dx0; dx0 = 0; }
    if (sx0 < 0) { dx0 -= sx0; columns += sx0; sx0 = 0; }
    if (columns > bufW - dx0) columns = bufW - dx0;
    if (columns > srcW - sx0) columns = srcW - sx0;
    if (rows <= 0 || columns <= 0) return result;

    const size_t bufStride = rowBytes24(bufW), maskStride = ((size_t)srcW + 3) & ~(size_t)3;
    const int* num = ratio ? &ratio->nNumerator : nullptr;
    const int* den = ratio ? &ratio->nDenominator : nullptr;
    GdiFlush();
    for (int k = 0; k < rows; ++k) {
        const int sy = srcY + k, dy = y + k;
        if (sy < 0 || sy >= srcH || dy < 0 || dy >= bufH) continue;
        const BYTE* srcRow = pixels.data() + srcStride * (size_t)(srcH - 1 - sy) + 3 * (size_t)sx0;
        BYTE* dstRow = (BYTE*)m_pBits + bufStride * (size_t)(bufH - 1 - dy) + 3 * (size_t)dx0;
        const BYTE* maskRow = maskBits ? maskBits + maskStride * (size_t)(srcH - 1 - sy) + sx0 : nullptr;
        blendRow24(dstRow, srcRow, maskRow, columns, num, den);
    }
    return result;
}

int xUIDC::Flush(int x, int y, int width, int height) {
    if (m_nMode == kDirect || !m_hDC || !m_hBitmap) return 0;
    int w = 0, h = 0;
    const bool sized = bitmapSize(m_hBitmap, w, h);
    if (width != 0 && height != 0) {
        w = width;
        h = height;
    }
    BitmapDC mem(m_hDC, m_hBitmap);
    if (!mem.ok()) return 0;
    const BOOL copied = ::BitBlt(m_hDC, x, y, w, h, mem, 0, 0, SRCCOPY);
    return sized && copied && mem.close() ? 1 : 0;
}

int xUIDC::FillRect(int x, int y, int width, int height, DWORD colour) {
    RECT r = {x, y, x + width, y + height};
    return FillRect(&r, colour);
}

int xUIDC::FillRect(const RECT* rect, DWORD colour) {
    if (!rect) return 0;
    RECT r = *rect;
    if (m_nMode == kDirect) {
        gfnFillSolidRect(m_hDC, &r, colour);
        return 1;
    }
    if (m_nMode != kBuffered) return 0;
    BitmapDC mem(m_hDC, m_hBitmap);
    if (!mem.ok()) return 0;
    gfnFillSolidRect(mem, &r, colour);
    return mem.close() ? 1 : 0;
}

int xUIDC::FillRect(const RECT* rect, HBITMAP bitmap) {
    if (!rect || (m_nMode != kDirect && m_nMode != kBuffered)) return 0;
    int tw = 0, th = 0;
    if (!bitmapSize(bitmap, tw, th)) return 0;
    BitmapDC tile(m_hDC, bitmap);
    if (!tile.ok()) return 0;
    int ok = 1;
    auto tileInto = [&](HDC target) {
        forEachTile(*rect, tw, th, [&](int cx, int cy, int cw, int ch) {
            if (!::BitBlt(target, cx, cy, cw, ch, tile, 0, 0, SRCCOPY)) ok = 0;
        });
    };
    if (m_nMode == kDirect) {
        tileInto(m_hDC);
    } else {
        BitmapDC mem(m_hDC, m_hBitmap);
        if (!mem.ok()) return 0;
        tileInto(mem);
        if (!mem.close()) ok = 0;
    }
    if (!tile.close()) ok = 0;
    return ok;
}

void xUIDC::FillSolidRect(int x, int y, int width, int height, DWORD colour) {
    if (!m_hBitmap) return;
    BitmapDC mem(m_hDC, m_hBitmap);
    OwnedGdi<HBRUSH> brush(CreateSolidBrush(colour));
    if (!mem.ok() || !brush.get()) return;
    RECT r = {x, y, x + width, y + height};
    ::FillRect(mem, &r, brush);
}

int xUIDC::Draw3DLine(int x, int y, int length) {
    if (m_nMode == kDirect) return 0;
    BitmapDC mem(m_hDC, m_hBitmap);
    if (!mem.ok()) return 0;
    bool ok = true;
    const COLORREF colours[2] = {RGB(0x87, 0x87, 0x87), RGB(255, 255, 255)};
    for (int i = 0; i < 2; ++i) {
        HPEN pen = CreatePen(PS_SOLID, 1, colours[i]);
        if (!pen) {
            ok = false;
            continue;
        }
        HGDIOBJ old = ::SelectObject(mem, pen);
        ok = MoveToEx(mem, x, y + i, nullptr) && ok;
        ok = LineTo(mem, x + length, y + i) && ok;
        ::SelectObject(mem, old);
        ok = DeleteObject(pen) && ok;
    }
    return mem.close() && ok ? 1 : 0;
}

int xUIDC::Draw3DRect(const RECT* rect, DWORD topLeft, DWORD bottomRight) {
    if (m_nMode == kDirect || !rect) return 0;
    BitmapDC mem(m_hDC, m_hBitmap);
    OwnedGdi<HBRUSH> first(CreateSolidBrush(topLeft)), second(CreateSolidBrush(bottomRight));
    if (!mem.ok() || !first.get() || !second.get()) return 0;
    const RECT& r = *rect;
    // Top and left in the first colour; the right column and bottom row (corners included) in the second.
    const RECT top = {r.left, r.top, r.right - 1, r.top + 1}, left = {r.left, r.top, r.left + 1, r.bottom - 1};
    const RECT right = {r.right - 1, r.top, r.right, r.bottom}, bottom = {r.left, r.bottom - 1, r.right, r.bottom};
    bool ok = ::FillRect(mem, &top, first) && ::FillRect(mem, &left, first);
    ok = ::FillRect(mem, &right, second) && ok;
    ok = ::FillRect(mem, &bottom, second) && ok;
    return mem.close() && ok ? 1 : 0;
}

int xUIDC::DrawArrow(int x, int y, int size, DWORD colour) {
    if (m_nMode == kDirect) return 0;
    BitmapDC mem(m_hDC, m_hBitmap);
    OwnedGdi<HBRUSH> brush(CreateSolidBrush(colour));
    OwnedGdi<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    if (!mem.ok() || !brush.get() || !pen.get()) return 0;
    SelectGuard selBrush(mem, brush.get());
    SelectGuard selPen(mem, pen.get());
    const POINT corners[3] = {{x, y}, {x, y + size}, {x - (int)(-0.5 * size), y + size / 2}};
    return Polygon(mem, corners, 3) ? 1 : 0;
}

int xUIDC::TextOutW(int x, int y, const wchar_t* text, int length) {
    if (m_nMode == kDirect || !text) return 0;
    BitmapDC mem(m_hDC, m_hBitmap);
    if (!mem.ok()) return 0;
    SelectGuard font(mem, ::GetCurrentObject(m_hDC, OBJ_FONT));
    const bool mode = SetBkMode(mem, TRANSPARENT) != 0;
    const bool colour = ::SetTextColor(mem, m_clrText) != CLR_INVALID;
    const bool drawn = ::TextOutW(mem, x, y, text, length) != 0;
    return drawn && colour && mode ? 1 : 0;
}

void xUIDC::SetTextColor(DWORD colour) { m_clrText = colour; }

void* xUIDC::GetCurrentObject(UINT type) { return ::GetCurrentObject(m_hDC, type); }

void* xUIDC::SelectObject(void* object) { return ::SelectObject(m_hDC, (HGDIOBJ)object); }

HDC xUIDC::CreateCompatibleDC() { return ::CreateCompatibleDC(m_hDC); }
