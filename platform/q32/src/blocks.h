// Block arithmetic of the buffers and the display: sizes, placement, the part of a caller's block
// that is shown, and row copies between strides. Plain functions, checked natively under the
// sanitizers with any size and stride.
#pragma once
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace q32 {

// Bytes of a w x h block of u-byte pixels; 0 when a size is bad or the total exceeds INT_MAX,
// which keeps every row and offset computation of the callers inside an int.
inline size_t blockBytes(int w, int h, int u) {
    if (w <= 0 || h <= 0 || u < 1 || u > 4) return 0;
    uint64_t n = uint64_t(w) * uint64_t(h) * uint64_t(u);
    return n > uint64_t(INT_MAX) ? 0 : size_t(n);
}

// True when the w x h block at (x, y) lies inside a W x H area (no clipping anywhere).
inline bool blockInside(int x, int y, int w, int h, int W, int H) {
    return w > 0 && h > 0 && x >= 0 && y >= 0 && x <= W - w && y <= H - h;
}

// Copies rows of rowBytes between two strides.
inline void copyRows(uint8_t* dst, size_t dstStride, const uint8_t* src, size_t srcStride, size_t rowBytes, int rows) {
    for (int r = 0; r < rows; ++r) std::memcpy(dst + r * dstStride, src + r * srcStride, rowBytes);
}

// The part of a caller's block (rows of bytesPerRow bytes, a multiple of u) that an area of
// width x height shows from (x0, y0): the area's size cut to the block's right and bottom edges.
struct ShownPart {
    size_t offset;  // of (x0, y0) in the block
    int w, h;
};

inline bool shownPart(int width, int height, int u, int x0, int y0, int rows, int bytesPerRow, ShownPart& part) {
    if (u < 1 || rows <= 0 || bytesPerRow <= 0 || bytesPerRow % u) return false;
    const int blockWidth = bytesPerRow / u;
    if (x0 < 0 || y0 < 0 || x0 >= blockWidth || y0 >= rows) return false;
    part.offset = size_t(y0) * size_t(bytesPerRow) + size_t(x0) * u;
    part.w = std::min(width, blockWidth - x0);
    part.h = std::min(height, rows - y0);
    return true;
}

}  // namespace q32
