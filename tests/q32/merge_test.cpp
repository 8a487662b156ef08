// Exact arithmetic of i32Merge and the patterns of mem32Fill, over counts that end inside and
// outside every vector step (tests/q32sse2 and tests/q32avx2 run this file again on the narrower paths).
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

// The documented rules, one byte at a time.
BYTE maskedRule(int f, int b, int m) { return BYTE((f * m + b * (255 - m) + 127) / 255); }
BYTE premultipliedRule(int f, int b, int a) { return BYTE(std::min(255, f + (b * (255 - a) + 127) / 255)); }

const int kCounts[] = {0, 1, 2, 3, 5, 7, 8, 15, 16, 17, 31, 32, 33, 47, 63, 64, 65, 97, 1031};
}  // namespace

TEST(Merge, MaskedRuleHoldsForEveryByteTriple) {
    Bytes fore(65536), back(65536), mask(65536), out(65536);
    for (int i = 0; i < 65536; ++i) fore[i] = BYTE(i), back[i] = BYTE(i >> 8);
    for (int m = 0; m < 256; ++m) {
        std::fill(mask.begin(), mask.end(), BYTE(m));
        ASSERT_TRUE(i32Merge(out.data(), back.data(), mask.data(), fore.data(), 1, 65536, 1, 0));
        for (int i = 0; i < 65536; ++i) ASSERT_EQ(maskedRule(fore[i], back[i], m), out[i]) << "f=" << int(fore[i]) << " b=" << int(back[i]) << " m=" << m;
    }
}

TEST(Merge, MaskHalfZeroAndFullOnFourBytePixels) {
    const BYTE fore[] = {255, 0, 200, 7, 255, 0, 200, 7, 255, 0, 200, 7}, back[] = {0, 255, 100, 9, 0, 255, 100, 9, 0, 255, 100, 9};
    const BYTE mask[] = {128, 0, 255}, want[] = {128, 127, 150, 8, 0, 255, 100, 9, 255, 0, 200, 7};  // (f*128 + b*127 + 127) / 255
    BYTE out[12];
    ASSERT_TRUE(i32Merge(out, back, mask, fore, 4, 3, 1, 0));
    EXPECT_EQ(0, memcmp(want, out, 12));
}

TEST(Merge, MaskedPixelsOfEverySizeAndOddCounts) {
    for (int u = 1; u <= 4; ++u)
        for (int n : kCounts) {
            Bytes f = randomBytes(n * u, 1 + n), b = randomBytes(n * u, 2 + n), m = randomBytes(n, 3 + n), out(n * u + 1, 0xEE);
            // Runs of uniform masks take a shortcut: make some.
            for (int i = 0; i < n; ++i) m[i] = i % 64 < 32 ? m[i] : i % 128 < 96 ? 0 : 255;
            ASSERT_TRUE(i32Merge(out.data(), b.data(), m.data(), f.data(), u, n, 1, 0));
            for (int k = 0; k < n * u; ++k) ASSERT_EQ(maskedRule(f[k], b[k], m[k / u]), out[k]) << "u=" << u << " n=" << n << " k=" << k;
            EXPECT_EQ(0xEE, out[n * u]) << "wrote past the end, u=" << u << " n=" << n;
        }
}

TEST(Merge, PremultipliedSourceOverWithoutMask) {
    const BYTE fore[] = {64, 64, 64, 128}, back[] = {200, 100, 0, 255}, want[] = {164, 114, 64, 255};
    BYTE out[4];
    ASSERT_TRUE(i32Merge(out, back, nullptr, fore, 4, 1, 1, 0));
    EXPECT_EQ(0, memcmp(want, out, 4));
    for (int n : kCounts) {
        Bytes f = randomBytes(n * 4, 10 + n), b = randomBytes(n * 4, 20 + n), out2(n * 4 + 1, 0xEE);
        ASSERT_TRUE(i32Merge(out2.data(), b.data(), nullptr, f.data(), 4, n, 1, 0));
        for (int k = 0; k < n * 4; ++k) ASSERT_EQ(premultipliedRule(f[k], b[k], f[k | 3]), out2[k]) << "n=" << n << " k=" << k;
        EXPECT_EQ(0xEE, out2[n * 4]);
    }
}

TEST(Merge, OutputMayBeTheBackOrTheForeground) {
    for (int u : {3, 4})
        for (bool withMask : {false, true}) {
            Bytes f = randomBytes(u * 101, 7), b = randomBytes(u * 101, 8), m = randomBytes(101, 9), expect(u * 101 + 1);
            const BYTE* mask = withMask ? m.data() : nullptr;
            ASSERT_TRUE(i32Merge(expect.data(), b.data(), mask, f.data(), u, 101, 1, 0));
            if (u == 3 && !withMask) EXPECT_TRUE(std::equal(f.begin(), f.end() - 1, expect.begin()));  // a copy
            Bytes inBack = b, inFore = f;
            ASSERT_TRUE(i32Merge(inBack.data(), inBack.data(), mask, f.data(), u, 101, 1, 0));
            ASSERT_TRUE(i32Merge(inFore.data(), b.data(), mask, inFore.data(), u, 101, 1, 0));
            EXPECT_TRUE(std::equal(expect.begin(), expect.end() - 1, inBack.begin())) << u << withMask;
            EXPECT_TRUE(std::equal(expect.begin(), expect.end() - 1, inFore.begin())) << u << withMask;
        }
}

TEST(Fill, RepeatsTheFirstUBytesExactlyCountTimes) {
    const COLORREF value = 0x44332211;
    for (int u = 1; u <= 4; ++u)
        for (int n : kCounts) {
            Bytes dst(n * u + 2, 0xEE);
            ASSERT_TRUE(mem32Fill(dst.data(), &value, u, n));
            for (int k = 0; k < n * u; ++k) ASSERT_EQ(0x11 * (k % u + 1), dst[k]) << "u=" << u << " n=" << n;
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
