// The exported i32Merge and mem32Fill reach kernels that keep the rules (every kernel is checked
// exhaustively by the native build; tests/q32sse2 and tests/q32avx2 run this file again on the narrower paths).
#include <gtest/gtest.h>
#include "platform/q32/include/q32Base.h"
#include <random>
#include <vector>

namespace {
using Bytes = std::vector<BYTE>;

// n random bytes and one spare, so that a count of 0 still passes a real pointer.
Bytes randomBytes(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes v(n + 1);
    for (BYTE& b : v) b = BYTE(rng());
    return v;
}

BYTE maskedRule(int f, int b, int m) { return BYTE((f * m + b * (255 - m) + 127) / 255); }
BYTE premultipliedRule(int f, int b, int a) { return BYTE(std::min(255, f + (b * (255 - a) + 127) / 255)); }
}  // namespace

// Masked merges of every pixel size and the premultiplied one of 4 bytes, in place over the back
// too, at counts ending inside and outside every vector step; fills of every size.
TEST(Merge, ExportsKeepTheRulesInPlaceAndAtEveryTail) {
    const COLORREF value = 0x44332211;
    for (int u = 1; u <= 4; ++u)
        for (int n : {0, 1, 7, 17, 33, 65, 1031}) {
            SCOPED_TRACE(testing::Message() << "u=" << u << " n=" << n);
            Bytes f = randomBytes(n * u, 1 + n), b = randomBytes(n * u, 2 + n), m = randomBytes(n, 3 + n), out(n * u + 1, 0xEE);
            for (int i = 0; i < n; ++i) m[i] = i % 64 < 32 ? m[i] : i % 128 < 96 ? 0 : 255;   // uniform runs too
            ASSERT_TRUE(i32Merge(out.data(), b.data(), m.data(), f.data(), u, n, 1, 0));
            for (int k = 0; k < n * u; ++k) ASSERT_EQ(maskedRule(f[k], b[k], m[k / u]), out[k]) << k;
            EXPECT_EQ(0xEE, out[n * u]);
            if (u == 4) {
                ASSERT_TRUE(i32Merge(b.data(), b.data(), nullptr, f.data(), 4, n, 1, 0));
                Bytes back = randomBytes(n * u, 2 + n);
                for (int k = 0; k < n * 4; ++k) ASSERT_EQ(premultipliedRule(f[k], back[k], f[k | 3]), b[k]) << k;
            }
            Bytes dst(n * u + 2, 0xEE);
            ASSERT_TRUE(mem32Fill(dst.data(), &value, u, n));
            for (int k = 0; k < n * u; ++k) ASSERT_EQ(0x11 * (k % u + 1), dst[k]);
            EXPECT_EQ(0xEE, dst[n * u]);
        }
}

TEST(MergeAndFill, BadArgumentsFailAndWriteNothing) {
    BYTE px[8] = {1, 2, 3, 4, 5, 6, 7, 8}, m[2] = {};
    const COLORREF value = 0;
    const Bytes before(px, px + 8);
    EXPECT_EQ(0, i32Merge(nullptr, px, m, px, 4, 2, 1, 0) + i32Merge(px, nullptr, m, px, 4, 2, 1, 0) +
                     i32Merge(px, px, m, nullptr, 4, 2, 1, 0) + i32Merge(px, m, m, m, 5, 1, 1, 0) +
                     i32Merge(px, m, m, m, 0, 1, 1, 0) + i32Merge(px, m, m, m, 4, -1, 1, 0));
    EXPECT_EQ(0, mem32Fill(nullptr, &value, 4, 1) + mem32Fill(px, nullptr, 4, 1) + mem32Fill(px, &value, 5, 1) +
                     mem32Fill(px, &value, 4, -1));
    EXPECT_EQ(Bytes(px, px + 8), before);
}
