// Rectangle fills: tiled, nine-cell, centre cell, transparent, from pixel buffers and memory, solid.
#include "qDraw.h"
#include "qBitmapLoad.h"
#include "drawing/gdiutil.h"
#include "drawing/pixelmem.h"
#include "q32Base.h"

namespace {
using namespace qdraw;

// Tiles rect with the tile (srcX, srcY, tw, th) of the bitmap selected in mem; a failed blit makes
// the result 0 and the tiling goes on.
int tileFromDC(HDC dc, const RECT& rect, HDC mem, DWORD rop, int srcX, int srcY, int tw, int th) {
    int ok = 1;
    forEachTile(rect, tw, th, [&](int x, int y, int w, int h) {
        if (!BitBlt(dc, x, y, w, h, mem, srcX, srcY, rop)) ok = 0;
    });
    return ok;
}

bool inside(const SIZE& size, int x, int y) { return x >= 0 && y >= 0 && x < size.cx && y < size.cy; }

// Runs a bitmap overload on a bitmap loaded from a module's resources, deleted afterwards.
template <class F>
int withResourceBitmap(HINSTANCE instance, UINT id, F&& fill) {
    OwnedGdi<HBITMAP> bitmap(gfnLoadBitmap(instance, id));
    if (!bitmap.get()) return 0;
    return fill(bitmap.get());
}
}  // namespace

int gfnFillRectWithBitmap(HDC dc, RECT* rect, HBITMAP bitmap, unsigned long rop, int srcX, int srcY,
                          int tileWidth, int tileHeight) {
    if (!dc || !rect) return 0;
    BitmapDC mem(dc, bitmap);
    if (!mem.ok()) return 0;
    SIZE size = {};
    int sized = gfnGetBitmapSize(bitmap, &size);
    if (ropReadsSource(rop) && !inside(size, srcX, srcY)) return 0;
    int ok = 1;
    if (tileWidth == 0 || tileHeight == 0) {
        tileWidth = size.cx;
        tileHeight = size.cy;
        ok = sized;
    }
    if (!tileFromDC(dc, *rect, mem, rop, srcX, srcY, tileWidth, tileHeight)) ok = 0;
    return ok;
}

int gfnFillRectWithBitmap(HDC dc, RECT* rect, HINSTANCE instance, UINT id, unsigned long rop, int srcX,
                          int srcY, int tileWidth, int tileHeight) {
    return withResourceBitmap(instance, id, [&](HBITMAP bitmap) {
        return gfnFillRectWithBitmap(dc, rect, bitmap, rop, srcX, srcY, tileWidth, tileHeight);
    });
}

int gfnFillRectWith9CellsBitmap(HDC dc, RECT* rect, HBITMAP bitmap, unsigned long rop, int srcX, int srcY,
                                int srcWidth, int srcHeight) {
    if (!dc || !rect) return 0;
    SIZE size = {};
    int ok = gfnGetBitmapSize(bitmap, &size);
    if (ropReadsSource(rop) && !inside(size, srcX, srcY)) return 0;
    const bool piece = srcWidth != 0 && srcHeight != 0;
    const int cw = (piece ? srcWidth : size.cx) / 3;
    const int ch = (piece ? srcHeight : size.cy) / 3;
    // A piece under 3 pixels has empty corners, and its tiles of 0 mean the whole bitmap, as in
    // gfnFillRectWithBitmap.
    const int tw = cw && ch ? cw : size.cx, th = cw && ch ? ch : size.cy;
    // One memory DC serves all nine pieces. Corners are drawn even over an empty rectangle.
    BitmapDC mem(dc, bitmap);
    if (!mem.ok()) return 0;
    NineCellPiece pieces[9];
    nineCellPieces(*rect, cw, ch, pieces);
    for (const NineCellPiece& p : pieces) {
        const int sx = srcX + p.col * cw, sy = srcY + p.row * ch;
        if (p.corner) {
            if (cw && ch && !BitBlt(dc, p.dest.left, p.dest.top, cw, ch, mem, sx, sy, rop)) ok = 0;
        } else if (!tileFromDC(dc, p.dest, mem, rop, sx, sy, tw, th)) {
            ok = 0;
        }
    }
    return ok;
}

int gfnFillRectWith9CellsBitmap(HDC dc, RECT* rect, HINSTANCE instance, UINT id, unsigned long rop,
                                int srcX, int srcY, int srcWidth, int srcHeight) {
    return withResourceBitmap(instance, id, [&](HBITMAP bitmap) {
        return gfnFillRectWith9CellsBitmap(dc, rect, bitmap, rop, srcX, srcY, srcWidth, srcHeight);
    });
}

int gfnFillRectWithCenterCell(HDC dc, RECT* rect, HBITMAP bitmap, unsigned long rop) {
    SIZE size = {};
    gfnGetBitmapSize(bitmap, &size);
    const int cw = size.cx / 3, ch = size.cy / 3;
    // A bitmap too small for a 3 x 3 grid has no centre cell (a zero tile would mean "whole bitmap").
    if (cw <= 0 || ch <= 0) return 0;
    return gfnFillRectWithBitmap(dc, rect, bitmap, rop, cw, ch, cw, ch);
}

int gfnFillRectWithCenterCell(HDC dc, RECT* rect, HINSTANCE instance, UINT id, unsigned long rop) {
    return withResourceBitmap(instance, id,
                              [&](HBITMAP bitmap) { return gfnFillRectWithCenterCell(dc, rect, bitmap, rop); });
}

int gfnFillRectWithTransparentBitmap(HDC dc, RECT* rect, HBITMAP bitmap, unsigned long transparent) {
    if (!dc || !rect) return 0;
    SIZE size = {};
    int ok = gfnGetBitmapSize(bitmap, &size);
    forEachTile(*rect, size.cx, size.cy, [&](int x, int y, int w, int h) {
        if (!gfnDrawTransparentBitmap(dc, bitmap, x, y, w, h, transparent, 0, 0, size.cx, size.cy)) ok = 0;
    });
    return ok;
}

int gfnFillRectWithBuf(HDC dc, RECT* rect, void* buffer, int srcX, int srcY, int srcWidth, int srcHeight) {
    int w = 0, h = 0, u = 0;
    if (!dc || !rect || !buffer || !buf32GetWHU(buffer, &w, &h, &u)) return 0;
    if (srcX < 0 || srcY < 0) return 0;
    srcWidth = clampExtent(srcX, srcWidth, w);
    srcHeight = clampExtent(srcY, srcHeight, h);
    if (srcWidth <= 0 || srcHeight <= 0) return 0;
    PixelBlock tile(srcWidth, srcHeight, u);
    if (!tile || !buf32GetMem(buffer, srcX, srcY, srcWidth, srcHeight, tile.data())) return 0;
    forEachTile(*rect, srcWidth, srcHeight, [&](int x, int y, int cw, int ch) {
        gfnDrawSelImg(dc, x, y, cw, ch, tile.data(), u, 0, 0, srcWidth, srcHeight);
    });
    return 1;
}

int gfnFillRectWithSelImage(HDC dc, RECT* rect, unsigned char* pixels, int bytesPerPixel, int srcX, int srcY,
                            int srcWidth, int srcHeight, int imageWidth, int imageHeight) {
    if (!dc || !rect || !pixels) return 0;
    srcWidth = clampExtent(srcX, srcWidth, imageWidth);
    srcHeight = clampExtent(srcY, srcHeight, imageHeight);
    forEachTile(*rect, srcWidth, srcHeight, [&](int x, int y, int cw, int ch) {
        gfnDrawSelImg(dc, x, y, cw, ch, pixels, bytesPerPixel, srcX, srcY, imageWidth, imageHeight);
    });
    return 1;
}

int gfnFillSolidRect(HDC dc, RECT* rect, unsigned long colour) {
    if (!dc || !rect) return 0;
    SetBkColor(dc, colour);
    return ExtTextOutW(dc, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}
