// Tiling, nine-cell pieces and the run scan at the ends of the 32-bit range and over padded,
// bottom-up rows held in exact-size memory.
#include "drawing/geometry.h"
#include <gtest/gtest.h>
#include <climits>
#include <random>
#include <vector>

namespace {
using qdraw::GeoRect;

// Cells of a tiling, checked to cover r exactly: contiguous rows and columns, only the last ones cut.
void expectTiling(const GeoRect& r, int tw, int th) {
    int64_t x = r.left, y = r.top, rowHeight = 0;
    int64_t cells = 0;
    qdraw::forEachTile(r, tw, th, [&](int cx, int cy, int w, int h) {
        if (cx == r.left && cells) y += rowHeight, x = r.left;
        ASSERT_EQ(cx, x);
        ASSERT_EQ(cy, y);
        ASSERT_EQ(w, std::min<int64_t>(tw, (int64_t)r.right - cx));
        ASSERT_EQ(h, std::min<int64_t>(th, (int64_t)r.bottom - cy));
        x += w, rowHeight = h, ++cells;
    });
    EXPECT_EQ(x, r.right);
    EXPECT_EQ(y + rowHeight, r.bottom);
}

TEST(Tiling, CoversRectanglesThatReachTheEndsOfTheRange) {
    expectTiling({INT_MAX - 10, INT_MAX - 3, INT_MAX, INT_MAX}, 7, 2);
    expectTiling({INT_MIN, INT_MIN, INT_MIN + 5, INT_MIN + 9}, 4, 4);
    expectTiling({-5, 7, 12, 8}, INT_MAX, INT_MAX);
    // The widest rectangle there is: three columns of an INT_MAX tile, the last one 1 wide.
    expectTiling({INT_MIN, 0, INT_MAX, 3}, INT_MAX, 1);
}

TEST(NineCells, PiecesStayInRangeAndCoverTheRectangleOnce) {
    // Near the ends every coordinate stops at the range instead of wrapping.
    const GeoRect extremes[] = {{INT_MAX - 4, INT_MAX - 4, INT_MAX, INT_MAX},
                                {INT_MIN, INT_MIN, INT_MIN + 3, INT_MIN + 3},
                                {INT_MIN, INT_MIN, INT_MAX, INT_MAX}};
    for (const GeoRect& r : extremes) {
        qdraw::NineCellPiece p[9];
        qdraw::nineCellPieces(r, INT_MAX / 3, 1000, p);
        EXPECT_EQ(p[0].dest.left, r.left);
        EXPECT_EQ(p[3].dest.bottom, r.bottom);
        EXPECT_EQ(p[2].dest.right, r.right);
    }
    // An ordinary rectangle with uneven cells: the nine pieces cover every pixel exactly once, and
    // each piece's source cell matches its place.
    const GeoRect r = {10, 20, 10 + 57, 20 + 31};
    qdraw::NineCellPiece p[9];
    qdraw::nineCellPieces(r, 5, 7, p);
    std::vector<int> cover(57 * 31);
    for (const auto& q : p) {
        const int col = q.dest.left == r.left ? 0 : q.dest.right == r.right ? 2 : 1;
        const int row = q.dest.top == r.top ? 0 : q.dest.bottom == r.bottom ? 2 : 1;
        EXPECT_EQ(q.col * 10 + q.row, col * 10 + row);
        EXPECT_EQ(q.corner, col != 1 && row != 1);
        for (int y = q.dest.top; y < q.dest.bottom; ++y)
            for (int x = q.dest.left; x < q.dest.right; ++x) ++cover[(y - r.top) * 57 + (x - r.left)];
    }
    EXPECT_EQ(cover, std::vector<int>(57 * 31, 1));
}

TEST(KeyRange, ToleranceStopsAt255PerByte) {
    qdraw::KeyRange k = qdraw::keyRange(0x10F0E0, 0x302050);
    const uint8_t low[3] = {0xE0, 0xF0, 0x10}, high[3] = {0xFF, 0xFF, 0x40};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(k.low[i], low[i]) << i;
        EXPECT_EQ(k.high[i], high[i]) << i;
    }
}

// Rows of 4-byte pixels, bottom-up with padding, in a block that ends at the last byte a row uses.
TEST(RunScan, FindsEveryOpaquePixelOnceInBottomUpPaddedRows) {
    std::mt19937 rng(3);
    const qdraw::KeyRange key = qdraw::keyRange(0x0000FF, 0);  // memory bytes FF 00 00: blue
    for (int width = 1; width <= 21; width += 4)
        for (int height = 1; height <= 4; ++height) {
            const ptrdiff_t stride = 4 * width + 8;
            std::vector<uint8_t> bits(stride * (height - 1) + 4 * width);
            std::vector<int> opaque(width * height);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    uint8_t* p = &bits[(height - 1 - y) * stride + 4 * x];
                    bool o = rng() % 3 != 0;
                    opaque[y * width + x] = o;
                    p[0] = 0xFF, p[1] = 0, p[2] = o ? 1 : 0;  // one step from the key still counts
                }
            std::vector<int> seen(width * height);
            int lastY = -1, lastX = -1;
            const uint8_t* top = bits.data() + stride * (height - 1);
            EXPECT_TRUE(qdraw::scanRuns(top, -stride, width, height, key, [&](int x0, int y, int x1) {
                EXPECT_TRUE(y > lastY || (y == lastY && x0 > lastX)) << "runs in order";
                EXPECT_LT(x0, x1);
                for (int x = x0; x < x1; ++x) ++seen[y * width + x];
                lastY = y, lastX = x1;
                return true;
            }));
            EXPECT_EQ(seen, opaque) << width << " x " << height;
        }
}

TEST(RunScan, StopsAtTheFirstRefusedRun) {
    std::vector<uint8_t> bits(4 * 6, 0x20);  // no key pixel: one run per row
    int runs = 0;
    EXPECT_FALSE(qdraw::scanRuns(bits.data(), 8, 2, 3, qdraw::keyRange(0, 0), [&](int, int, int) { return ++runs < 2; }));
    EXPECT_EQ(runs, 2);
}

}  // namespace
