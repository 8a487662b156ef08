// Buffers: allocation, blocks in and out, the lock contract, and the failures that allocate nothing.
#include <gtest/gtest.h>
#include "platform/q32/include/q32Base.h"
#include "q32Test.h"
#include <climits>

using namespace q32test;

// An initial value fills every pixel of every size; blocks go out, in and into new buffers.
TEST(Buffer, InitialValueAndBlocksOutInAndAsNewBuffers) {
    const COLORREF colour = 0x44332211;
    for (int u : {1, 3, 4}) {
        void* buf = nullptr;
        ASSERT_TRUE(buf32Alloc(&buf, u * 8, 13, 5, 1, &colour));
        int w = 0, h = 0, uu = 0;
        ASSERT_TRUE(buf32GetWHU(buf, &w, &h, &uu));
        EXPECT_EQ(13 * 100 + 5 * 10 + u, w * 100 + h * 10 + uu);
        Bytes px = pixelsOf(buf);
        ASSERT_EQ(size_t(13 * 5 * u), px.size());
        for (size_t k = 0; k < px.size(); ++k) ASSERT_EQ(0x11 * (k % u + 1), px[k]);
        buf32Free(buf);
    }
    void* buf = patternBuffer(11, 9, 3);
    Bytes all = pixelsOf(buf), block(5 * 4 * 3);
    ASSERT_TRUE(buf32GetMem(buf, 2, 3, 5, 4, block.data()));
    for (int y = 0; y < 4; ++y) EXPECT_EQ(0, memcmp(&all[((y + 3) * 11 + 2) * 3], &block[y * 15], 15)) << "row " << y;
    void* part = nullptr;
    ASSERT_TRUE(buf32GetBuf(buf, 2, 3, 5, 4, &part));
    EXPECT_EQ(block, pixelsOf(part));
    buf32Free(part);

    // A block written back at the bottom-right corner changes exactly those pixels.
    Bytes ones(3 * 2 * 3, 1);
    ASSERT_TRUE(buf32MergeMem(buf, 8, 7, ones.data(), 3, 2));
    for (int y = 7; y < 9; ++y) std::fill_n(&all[(y * 11 + 8) * 3], 9, BYTE(1));
    EXPECT_EQ(all, pixelsOf(buf));

    // Blocks not wholly inside fail without writing anywhere.
    Bytes probe(11 * 9 * 3, 0xEE);
    const int bad[][4] = {{-1, 0, 2, 2}, {10, 0, 2, 1}, {0, 8, 1, 2}, {0, 0, 0, 1}, {1, 0, INT_MAX, 1}};
    for (auto& r : bad) {
        EXPECT_EQ(0, buf32GetMem(buf, r[0], r[1], r[2], r[3], probe.data())) << r[0] << "," << r[1] << "," << r[2] << "," << r[3];
        EXPECT_EQ(0, buf32MergeMem(buf, r[0], r[1], probe.data(), r[2], r[3]));
        part = &part;
        EXPECT_TRUE(0 == buf32GetBuf(buf, r[0], r[1], r[2], r[3], &part) && nullptr == part);
    }
    EXPECT_TRUE(Bytes(11 * 9 * 3, 0xEE) == probe && all == pixelsOf(buf));
    EXPECT_EQ(0, buf32GetMem(buf, 0, 0, 1, 1, nullptr) + buf32MergeMem(buf, 0, 0, nullptr, 1, 1) +
                     buf32GetBuf(buf, 0, 0, 1, 1, nullptr));
    buf32Free(buf);
}

// Locks nest and unlock saturates; a locked buffer can be freed; bad sizes and nulls allocate nothing.
TEST(Buffer, LockFreeAndBadSizesAllocateNothing) {
    void* buf = patternBuffer(4, 4, 4);
    void *px = nullptr, *again = nullptr;
    ASSERT_TRUE(buf32Lock(buf, 4, &px));
    static_cast<BYTE*>(px)[0] = 0xAB;
    ASSERT_TRUE(buf32Lock(buf, 4, &again));
    EXPECT_EQ(px, again);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(buf32Unlock(buf));  // one more than locked
    EXPECT_EQ(0xAB, pixelsOf(buf)[0]);  // written through the lock, kept after unlock
    EXPECT_EQ(0, buf32Lock(buf, 0, &px) + buf32Lock(buf, 4, nullptr));
    ASSERT_TRUE(buf32Lock(buf, 4, &px));
    HeapUse before = heapUse();
    EXPECT_TRUE(buf32Free(buf));  // also while locked
    EXPECT_LT(heapUse().bytes, before.bytes);  // so the count below can fail
    EXPECT_EQ(0, buf32Free(nullptr) + buf32Unlock(nullptr) + buf32GetWHU(nullptr, nullptr, nullptr, nullptr));

    const COLORREF zero = 0;
    const struct { int bits, w, h, mode; const void* init; } calls[] = {
        {12, 4, 4, 1, &zero}, {32, 0, 4, 1, &zero}, {32, 4, -4, 1, &zero}, {32, 65536, 65536, 1, &zero},
        {8, 46341, 46341, 2, nullptr}, {32, 4, 4, 3, &zero}, {32, 4, 4, 1, nullptr}};
    int results = buf32Alloc(nullptr, 32, 4, 4, 1, &zero);
    before = heapUse();
    for (const auto& c : calls) {
        void* out = &out;
        results += buf32Alloc(&out, c.bits, c.w, c.h, c.mode, c.init) + (out != nullptr);
    }
    EXPECT_TRUE(0 == results && (before == heapUse()));
}
