// Blits, alpha blending, transparent drawing and regions cut from bitmaps.
#include "qDraw.h"
#include "qBitmapLoad.h"
#include "drawing/gdiutil.h"
#include "drawing/pixelmem.h"
#include "frame/moduleState.h"
#include "q32Base.h"
#include <climits>
#include <cstring>

namespace {
using namespace qdraw;

using qmod::AlphaBlendFn;
using qmod::TransparentBltFn;

// True when (x, y) lies inside the bitmap; a source origin outside it leaves nothing to draw.
bool originInside(HBITMAP bitmap, int x, int y) {
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm)) return false;
    return x >= 0 && y >= 0 && x < bm.bmWidth && y < bm.bmHeight;
}

// The picture TransparentBlt makes, at 1:1, from BitBlt alone: a monochrome mask of the key
// colour cuts the destination, the inverted mask cuts the bitmap, and the two are ORed together.
// The bitmap is altered while it works and put back from a saved copy.
int maskedTransparentBlt(HDC dest, HBITMAP bitmap, int x, int y, int width, int height, COLORREF key,
                         int srcX, int srcY) {
    BitmapDC t(dest, bitmap);
    if (!t.ok()) return 0;
    POINT size = {width, height};
    DPtoLP(t, &size, 1);
    SetMapMode(t, GetMapMode(dest));
    const int w = size.x, h = size.y;
    if (w <= 0 || h <= 0) return 0;

    OwnedGdi<HBITMAP> backMask(CreateBitmap(w, h, 1, 1, nullptr));
    OwnedGdi<HBITMAP> objMask(CreateBitmap(w, h, 1, 1, nullptr));
    BitmapDC b(dest, backMask.get());
    BitmapDC o(dest, objMask.get());
    BitmapDC m(dest, w, h);
    BitmapDC s(dest, w, h);
    if (!b.ok() || !o.ok() || !m.ok() || !s.ok()) return 0;

    int ok = 1;
    auto blt = [&ok](HDC d, int dx, int dy, int bw, int bh, HDC src, int sx, int sy, DWORD rop) {
        if (!BitBlt(d, dx, dy, bw, bh, src, sx, sy, rop)) ok = 0;
    };
    blt(s, 0, 0, w, h, t, srcX, srcY, SRCCOPY);
    COLORREF oldBk = SetBkColor(t, key);
    blt(o, 0, 0, w, h, t, srcX, srcY, SRCCOPY);
    SetBkColor(t, oldBk);
    blt(b, 0, 0, w, h, o, 0, 0, NOTSRCCOPY);
    blt(m, 0, 0, w, h, dest, x, y, SRCCOPY);
    blt(m, 0, 0, w, h, o, 0, 0, SRCAND);
    blt(t, srcX, srcY, w, h, b, 0, 0, SRCAND);
    blt(m, 0, 0, w, h, t, srcX, srcY, SRCPAINT);
    blt(dest, x, y, w, h, m, 0, 0, SRCCOPY);
    blt(t, srcX, srcY, w, h, s, 0, 0, SRCCOPY);
    return ok;
}

// --- Region building -------------------------------------------------------------------------

const int kBatchGrowth = 100;    // rectangles added to the batch when it is full
const int kBatchFlush = 2000;    // rectangles turned into a region at once

// Rectangles collected in a movable global block behind a region-data header, turned into
// regions every kBatchFlush rectangles and ORed into one result.
class RegionBatch {
public:
    ~RegionBatch() {
        if (m_data) GlobalUnlock(m_block);
        if (m_block) GlobalFree(m_block);
        if (m_result) DeleteObject(m_result);
    }
    bool init() {
        m_block = GlobalAlloc(GMEM_MOVEABLE, bytes(kBatchGrowth));
        if (!m_block) return false;
        m_data = (RGNDATA*)GlobalLock(m_block);
        if (!m_data) return false;
        m_capacity = kBatchGrowth;
        m_data->rdh.dwSize = sizeof(RGNDATAHEADER);
        m_data->rdh.iType = RDH_RECTANGLES;
        m_data->rdh.nRgnSize = 0;
        reset();
        return true;
    }
    bool add(long left, long top, long right, long bottom) {
        if ((int)m_data->rdh.nCount >= m_capacity && !grow()) return false;
        RECT& bound = m_data->rdh.rcBound;
        RECT* rects = (RECT*)m_data->Buffer;
        rects[m_data->rdh.nCount++] = {left, top, right, bottom};
        if (left < bound.left) bound.left = left;
        if (top < bound.top) bound.top = top;
        if (right > bound.right) bound.right = right;
        if (bottom > bound.bottom) bound.bottom = bottom;
        if (m_data->rdh.nCount == (DWORD)kBatchFlush) return flush();
        return true;
    }
    // Turns the batch into a region ORed into the result; the capacity stays.
    bool flush() {
        HRGN part = ExtCreateRegion(nullptr, bytes(m_capacity), m_data);
        if (!part) return false;
        if (!m_result) {
            m_result = part;
        } else {
            int kind = CombineRgn(m_result, m_result, part, RGN_OR);
            DeleteObject(part);
            if (kind == ERROR) return false;
        }
        reset();
        return true;
    }
    HRGN release() {
        HRGN r = m_result;
        m_result = nullptr;
        return r;
    }

private:
    static DWORD bytes(int rects) { return (DWORD)(sizeof(RGNDATAHEADER) + sizeof(RECT) * rects); }
    void reset() {
        m_data->rdh.nCount = 0;
        m_data->rdh.rcBound = {0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
    }
    bool grow() {
        GlobalUnlock(m_block);
        m_data = nullptr;
        HGLOBAL bigger = GlobalReAlloc(m_block, bytes(m_capacity + kBatchGrowth), GMEM_MOVEABLE);
        if (bigger) m_block = bigger;
        m_data = (RGNDATA*)GlobalLock(m_block);
        if (!bigger || !m_data) return false;
        m_capacity += kBatchGrowth;
        return true;
    }

    HGLOBAL m_block = nullptr;
    RGNDATA* m_data = nullptr;
    int m_capacity = 0;
    HRGN m_result = nullptr;
};
}  // namespace

int gfnAlphaBlend(HDC dest, HDC source, int x, int y, int width, int height, unsigned char alpha,
                  int srcX, int srcY, int srcWidth, int srcHeight) {
    AlphaBlendFn alphaBlend = qmod::imageBlendEntry<AlphaBlendFn>("AlphaBlend");
    if (!alphaBlend) return 0;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, 0};
    return alphaBlend(dest, x, y, width, height, source, srcX, srcY, srcWidth, srcHeight, blend);
}

int gfnAlphaBlend(HDC dest, HBITMAP source, int x, int y, int width, int height, unsigned char alpha,
                  int srcX, int srcY, int srcWidth, int srcHeight) {
    if (!qmod::imageBlendLibrary() || !originInside(source, srcX, srcY)) return 0;
    BitmapDC mem(dest, source);
    if (!mem.ok()) return 0;
    return gfnAlphaBlend(dest, mem.dc(), x, y, width, height, alpha, srcX, srcY, srcWidth, srcHeight);
}

int gfnBitblt(HDC dest, int x, int y, int width, int height, HBITMAP source, int srcX, int srcY,
              unsigned long rop) {
    if (qdraw::ropReadsSource(rop) && !originInside(source, srcX, srcY)) return 0;
    BitmapDC mem(dest, source);
    if (!mem.ok()) return 0;
    return BitBlt(dest, x, y, width, height, mem, srcX, srcY, rop);
}

int gfnStretchBlt(HDC dest, int x, int y, int width, int height, HBITMAP source, unsigned long rop) {
    SIZE size = {};
    if (!gfnGetBitmapSize(source, &size)) return 0;
    BitmapDC mem(dest, source);
    if (!mem.ok()) return 0;
    return StretchBlt(dest, x, y, width, height, mem, 0, 0, size.cx, size.cy, rop);
}

int gfnDrawTransparentBitmap(HDC dest, HBITMAP source, int x, int y, int width, int height,
                             unsigned long transparent, int srcX, int srcY, int srcWidth, int srcHeight) {
    if (!dest || !originInside(source, srcX, srcY) || width <= 0 || height <= 0) return 0;
    if (!qmod::imageBlendLibrary())
        return maskedTransparentBlt(dest, source, x, y, width, height, transparent, srcX, srcY);
    BitmapDC mem(dest, source);
    TransparentBltFn transparentBlt = qmod::imageBlendEntry<TransparentBltFn>("TransparentBlt");
    if (!mem.ok() || !transparentBlt) return 0;
    return transparentBlt(dest, x, y, width, height, mem, srcX, srcY, srcWidth, srcHeight, transparent);
}

HRGN gfnBitmapToRegion(HBITMAP bitmap, unsigned long key, unsigned long tolerance) {
    if (!bitmap) return nullptr;
    MemDC mem;
    if (!mem.get()) return nullptr;
    BITMAP bm = {};
    if (!GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
    const int width = bm.bmWidth, height = bm.bmHeight;

    void* bits = nullptr;
    OwnedGdi<HBITMAP> dib(createDIBSection(mem, width, height, 32, &bits));   // bottom-up rows
    if (!dib.get() || !bits) return nullptr;
    {
        SelectGuard selDib(mem, dib.get());
        MemDC source(mem.get());
        if (!source.get()) return nullptr;
        SelectGuard selSource(source, bitmap);
        if (!selDib.ok() || !selSource.ok()) return nullptr;   // e.g. the bitmap is selected elsewhere
        BitBlt(mem, 0, 0, width, height, source, 0, 0, SRCCOPY);
    }
    GdiFlush();

    RegionBatch batch;
    if (!batch.init()) return nullptr;
    // The section's rows are bottom-up: the top row is the last one in memory.
    const ptrdiff_t stride = (ptrdiff_t)(((size_t)width * 32 + 31) / 32 * 4);
    const BYTE* top = (const BYTE*)bits + stride * (height - 1);
    if (!scanRuns(top, -stride, width, height, keyRange(key, tolerance),
                  [&](int x0, int y, int x1) { return batch.add(x0, y, x1, y + 1); }))
        return nullptr;
    if (!batch.flush()) return nullptr;
    return batch.release();
}

int gfnFillRgnWithBitmap(HDC dc, HRGN region, HBITMAP bitmap) {
    if (!dc || !region || !bitmap) return 0;
    OwnedGdi<HBRUSH> brush(CreatePatternBrush(bitmap));
    if (!brush.get()) return 0;
    SelectGuard sel(dc, brush.get());
    return FillRgn(dc, region, brush);
}

int gfnDrawSelImg(HDC dc, int x, int y, int width, int height, unsigned char* pixels, int bytesPerPixel,
                  int srcX, int srcY, int imageWidth, int imageHeight) {
    if (!dc || !pixels || bytesPerPixel < 1 || bytesPerPixel > 4 || width <= 0 || height <= 0) return 0;
    if (srcX < 0 || srcY < 0 || srcX >= imageWidth || srcY >= imageHeight) return 0;
    if (imageWidth > INT_MAX / bytesPerPixel) return 0;
    void* disp = nullptr;
    RECT dest = {x, y, x + width, y + height};
    if (!disp32ShowInit(&disp, dc, bytesPerPixel * 8, &dest, nullptr, 0, 0) || !disp) return 0;
    const int shown = disp32ShowData(disp, pixels, srcX, srcY, imageHeight, imageWidth * bytesPerPixel);
    const int ended = disp32ShowEnd(disp);
    return shown && ended ? 1 : 0;
}

int gfnDrawBuf(HDC dc, int x, int y, void* buffer, int srcX, int srcY, int srcWidth, int srcHeight) {
    if (srcX < 0 || srcY < 0) return 0;
    int w = 0, h = 0, u = 0;
    if (!buffer || !buf32GetWHU(buffer, &w, &h, &u)) return 0;
    srcWidth = clampExtent(srcX, srcWidth, w);
    srcHeight = clampExtent(srcY, srcHeight, h);
    if (srcWidth <= 0 || srcHeight <= 0) return 0;
    PixelBlock block(srcWidth, srcHeight, u);
    if (!block || !buf32GetMem(buffer, srcX, srcY, srcWidth, srcHeight, block.data())) return 0;
    return gfnDrawSelImg(dc, x, y, srcWidth, srcHeight, block.data(), u, 0, 0, srcWidth, srcHeight);
}

int gfnFillBufWithBuf(void* dest, int x, int y, int width, int height, void* source, int srcX, int srcY,
                      int srcWidth, int srcHeight, void* alpha) {
    int w = 0, h = 0, u = 0, dw = 0, dh = 0, du = 0, au = 1;
    if (!dest || !source || !buf32GetWHU(source, &w, &h, &u) || !buf32GetWHU(dest, &dw, &dh, &du)) return 0;
    // Blocks move between the buffers as raw bytes: both must have the same pixel size.
    if (du != u) return 0;
    if (alpha) {
        int aw = 0, ah = 0;
        if (!buf32GetWHU(alpha, &aw, &ah, &au)) return 0;
    }
    srcWidth = clampExtent(srcX, srcWidth, w);
    srcHeight = clampExtent(srcY, srcHeight, h);
    if (width <= 0 || height <= 0) return 1;   // nothing to cover
    if (srcX < 0 || srcY < 0 || srcWidth <= 0 || srcHeight <= 0) return 0;

    int ok = 1;
    RECT area = {x, y, x + width, y + height};
    forEachTile(area, srcWidth, srcHeight, [&](int cx, int cy, int cw, int ch) {
        if (!ok) return;
        PixelBlock tile(cw, ch, u);
        if (!tile || !buf32GetMem(source, srcX, srcY, cw, ch, tile.data())) {
            ok = 0;
            return;
        }
        if (!alpha) {
            if (!buf32MergeMem(dest, cx, cy, tile.data(), cw, ch)) ok = 0;
            return;
        }
        // The weight of a pixel is the first byte of the alpha buffer's pixel.
        PixelBlock mask(cw, ch, au), back(cw, ch, u);
        if (!mask || !back || !buf32GetMem(alpha, srcX, srcY, cw, ch, mask.data()) ||
            !buf32GetMem(dest, cx, cy, cw, ch, back.data()))
            return;
        for (size_t i = 1, n = (size_t)cw * ch; au > 1 && i < n; ++i) mask.data()[i] = mask.data()[i * au];
        i32Merge(back.data(), back.data(), mask.data(), tile.data(), u, cw * ch, 1, 0);
        buf32MergeMem(dest, cx, cy, back.data(), cw, ch);
    });
    return ok;
}
