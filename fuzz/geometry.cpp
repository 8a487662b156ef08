// Tiling, nine-cell pieces and the run scan with any rectangle, tile, size and stride.
#include "fuzzinput.h"
#include "drawing/geometry.h"

namespace {

void tiles(qfuzz::Input& in) {
    qdraw::GeoRect r = {in.take<int32_t>(), in.take<int32_t>(), in.take<int32_t>(), in.take<int32_t>()};
    const int tw = in.take<int32_t>(), th = in.take<int32_t>();
    // Only tilings of a bounded number of cells: the count itself is what a caller pays for.
    if (tw > 0 && th > 0 && r.right > r.left && r.bottom > r.top) {
        const int64_t cols = ((int64_t)r.right - r.left + tw - 1) / tw, rows = ((int64_t)r.bottom - r.top + th - 1) / th;
        if (cols <= 4096 && rows <= 4096 / cols) {
            __int128 area = 0;  // 4096 cells of up to 2^62 each
            qdraw::forEachTile(r, tw, th, [&](int x, int y, int w, int h) {
                QFUZZ_CHECK(w > 0 && h > 0 && w <= tw && h <= th);
                QFUZZ_CHECK(x >= r.left && y >= r.top && (int64_t)x + w <= r.right && (int64_t)y + h <= r.bottom);
                area += (__int128)w * h;
            });
            QFUZZ_CHECK(area == (__int128)((int64_t)r.right - r.left) * ((int64_t)r.bottom - r.top));
        }
    }
    qdraw::NineCellPiece p[9];
    const int cw = in.take<int32_t>(), ch = in.take<int32_t>();
    qdraw::nineCellPieces(r, cw, ch, p);
    QFUZZ_CHECK(p[0].dest.left == r.left && p[0].dest.top == r.top && p[3].dest.right == r.right &&
                p[3].dest.bottom == r.bottom);
}

void runs(qfuzz::Input& in) {
    const int width = in.range(0, 80), height = in.range(0, 12), pad = in.range(0, 9);
    const bool bottomUp = in.range(0, 1);
    const qdraw::KeyRange key = qdraw::keyRange(in.take<uint32_t>(), in.take<uint32_t>());
    const ptrdiff_t stride = 4 * (ptrdiff_t)width + pad;
    const size_t bytes = height ? size_t(stride) * (height - 1) + 4 * size_t(width) : 0;
    std::vector<uint8_t> bits = in.bytes(bytes);
    const uint8_t* first = bottomUp && height ? bits.data() + stride * (height - 1) : bits.data();
    int lastY = -1, lastEnd = -1;
    qdraw::scanRuns(first, bottomUp ? -stride : stride, width, height, key, [&](int x0, int y, int x1) {
        QFUZZ_CHECK(0 <= x0 && x0 < x1 && x1 <= width && 0 <= y && y < height);
        QFUZZ_CHECK(y > lastY || x0 > lastEnd);  // in order, never touching the previous run
        lastY = y, lastEnd = x1;
        return true;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qfuzz::Input in(data, size);
    if (in.range(0, 1))
        tiles(in);
    else
        runs(in);
    return 0;
}
