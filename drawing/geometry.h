// Plain geometry of the drawing routines: the tiling rule, the nine-cell rule and the scan of a
// bitmap's rows into runs. Nothing here touches GDI, so the native build checks it under the
// sanitizers; the arithmetic is done in 64 bits because a host may pass any rectangle.
#pragma once
#include <cstddef>
#include <cstdint>
#ifdef _WIN32
#include <windows.h>
#endif

namespace qdraw {

#ifdef _WIN32
using GeoRect = RECT;
#else
struct GeoRect {  // RECT's layout: LONG is 32 bits on Windows
    int32_t left, top, right, bottom;
};
#endif

// The tiling rule: tiles of tw x th laid over r from its top-left corner, rows top to bottom and
// cells left to right; cells of the last row and column are cut to r. fn(x, y, w, h) receives each
// cell in r's coordinates; every cell is drawn from the tile's top-left source point. Nothing is
// called for an empty or inverted rectangle or a tile without area.
template <class F>
void forEachTile(const GeoRect& r, int tw, int th, F&& fn) {
    if (tw <= 0 || th <= 0 || r.right <= r.left || r.bottom <= r.top) return;
    // 64-bit steps: a tile that passes the rectangle's right or bottom edge near INT_MAX ends the loop.
    for (int64_t y = r.top; y < r.bottom; y += th) {
        const int h = (int)(r.bottom - y < th ? r.bottom - y : th);
        for (int64_t x = r.left; x < r.right; x += tw) {
            const int w = (int)(r.right - x < tw ? r.right - x : tw);
            fn((int)x, (int)y, w, h);
        }
    }
}

// forEachTile limited to the tiles that meet visible (a DC's clip box): the same cells in the same
// places, without walking the rows and columns that could not show.
template <class F>
void forEachVisibleTile(const GeoRect& r, const GeoRect& visible, int tw, int th, F&& fn) {
    if (tw <= 0 || th <= 0) return;
    const int64_t vl = r.left > visible.left ? r.left : visible.left, vt = r.top > visible.top ? r.top : visible.top;
    const int64_t vr = r.right < visible.right ? r.right : visible.right;
    const int64_t vb = r.bottom < visible.bottom ? r.bottom : visible.bottom;
    if (vr <= vl || vb <= vt) return;
    // First visible tile, counted from r's corner so the cells keep their places.
    const int64_t left = r.left + (vl - r.left) / tw * tw, top = r.top + (vt - r.top) / th * th;
    for (int64_t y = top; y < vb; y += th) {
        const int h = (int)(r.bottom - y < th ? r.bottom - y : th);
        for (int64_t x = left; x < vr; x += tw) fn((int)x, (int)y, (int)(r.right - x < tw ? r.right - x : tw), h);
    }
}

// The nine-cell rule: a source piece read as a 3 x 3 grid of cells of cw x ch (a third of its width
// and height, truncated). The nine pieces come in drawing order, later ones painting over earlier
// ones where they overlap: the corners top-left, bottom-left, top-right, bottom-right (placed
// unscaled and never cut to r), then the top, bottom, left and right edges and the centre (tiled
// over their rectangle with cw x ch tiles). The source cell of a piece is (col * cw, row * ch) from
// the piece's origin. Coordinates that would leave the 32-bit range stop at its ends.
struct NineCellPiece {
    GeoRect dest;  // a corner's rectangle is always cw x ch; an edge's may be empty or inverted
    int col, row;  // source cell in the 3 x 3 grid
    bool corner;   // true: one unscaled copy; false: tiled over dest
};

void nineCellPieces(const GeoRect& r, int cw, int ch, NineCellPiece out[9]);

// The colour range a key colour and a tolerance give, per memory byte of a pixel: byte k runs from
// key byte k to key byte k + tolerance byte k, cut at 255.
struct KeyRange {
    uint8_t low[3], high[3];
    bool holds(const uint8_t* p) const {
        return p[0] >= low[0] && p[0] <= high[0] && p[1] >= low[1] && p[1] <= high[1] && p[2] >= low[2] &&
               p[2] <= high[2];
    }
};

KeyRange keyRange(uint32_t key, uint32_t tolerance);

// Scans height rows of width 4-byte pixels for runs of pixels outside the key range; emit(x0, y, x1)
// gets each run [x0, x1) of row y, left to right, rows in order. Row y starts at row0 + y * stride
// (a negative stride walks a bottom-up bitmap). Stops with false as soon as emit returns false.
template <class Emit>
bool scanRuns(const uint8_t* row0, ptrdiff_t stride, int width, int height, const KeyRange& key, Emit&& emit) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = row0 + (ptrdiff_t)y * stride;
        for (int x = 0; x < width; ++x) {
            const int x0 = x;
            while (x < width && !key.holds(row + 4 * (size_t)x)) ++x;
            if (x > x0 && !emit(x0, y, x)) return false;
        }
    }
    return true;
}

}  // namespace qdraw
