// Exact arithmetic of i32Merge and the patterns of mem32Fill, over counts that end inside and
// outside every vector step (tests/q32sse2 runs this file again on the baseline SSE2 path).
#include <gtest/gtest.h>
#include "platform/q32/include/q32Base.h"
#include <random>
#include <vector>

namespace {
using Bytes = std::vector<BYTE>;

Bytes randomBytes(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes v(n);
    for (BYTE& b : v) b = BYTE(rng());
    return v;
}

// The documented rules, one byte at a time.
BYTE maskedRule(int f, int b, int m) { return BYTE((f * m + b * (255 - m) + 127) / 255); }
BYTE premultipliedRule(int f, int b, int a) {
    int v = f + (b * (255 - a) + 127) / 255;
    return BYTE(v > 255 ? 255 : v);
}

const int kCounts[] = {0, 1, 2, 3, 5, 7, 8, 15, 16, 17, 31, 32, 33, 47, 63, 64, 65, 97, 1031};
}  // namespace

TEST(Merge, MaskedRuleHoldsForEveryByteTriple) {
    // All 256^3 (fore, back, mask) combinations through the one-byte-pixel path.
    Bytes fore(65536), back(65536), mask(65536), out(65536);
    for (int i = 0; i < 65536; ++i) fore[i] = BYTE(i), back[i] = BYTE(i >> 8);
    for (int m = 0; m < 256; ++m) {
        std::fill(mask.begin(), mask.end(), BYTE(m));
        ASSERT_TRUE(i32Merge(out.data(), back.data(), mask.data(), fore.data(), 1, 65536, 1, 0));
        for (int i = 0; i < 65536; ++i)
            ASSERT_EQ(maskedRule(fore[i], back[i], m), out[i]) << "f=" << int(fore[i]) << " b=" << int(back[i]) << " m=" << m;
    }
}

TEST(Merge, MaskZeroHalfAndFull) {
    const BYTE fore[] = {255, 0, 200, 7, 255, 0, 200, 7}, back[] = {0, 255, 100, 9, 0, 255, 100, 9};
    const BYTE mask[] = {128, 0};
    BYTE out[8];
    ASSERT_TRUE(i32Merge(out, back, mask, fore, 4, 2, 1, 0));
    const BYTE half[] = {128, 127, 150, 8};  // (f*128 + b*127 + 127) / 255
    EXPECT_EQ(0, memcmp(half, out, 4));
    EXPECT_EQ(0, memcmp(back + 4, out + 4, 4));
    const BYTE full[] = {255, 255};
    ASSERT_TRUE(i32Merge(out, back, full, fore, 4, 2, 1, 0));
    EXPECT_EQ(0, memcmp(fore, out, 8));
}

TEST(Merge, MaskedPixelsOfEverySizeAndOddCounts) {
    for (int u = 1; u <= 4; ++u)
        for (int n : kCounts) {
            // One spare byte each: a count of 0 still passes real pointers.
            Bytes f = randomBytes(n * u + 1, 1 + n), b = randomBytes(n * u + 1, 2 + n), m = randomBytes(n + 1, 3 + n);
            Bytes out(n * u + 1, 0xEE);
            ASSERT_TRUE(i32Merge(out.data(), b.data(), m.data(), f.data(), u, n, 1, 0));
            for (int k = 0; k < n * u; ++k) ASSERT_EQ(maskedRule(f[k], b[k], m[k / u]), out[k]) << "u=" << u << " n=" << n << " k=" << k;
            EXPECT_EQ(0xEE, out[n * u]) << "wrote past the end, u=" << u << " n=" << n;
        }
}

TEST(Merge, PremultipliedSourceOverWithoutMask) {
    const BYTE fore[] = {64, 64, 64, 128}, back[] = {200, 100, 0, 255};
    BYTE out[4];
    ASSERT_TRUE(i32Merge(out, back, nullptr, fore, 4, 1, 1, 0));
    const BYTE want[] = {164, 114, 64, 255};
    EXPECT_EQ(0, memcmp(want, out, 4));
    for (int n : kCounts) {
        Bytes f = randomBytes(n * 4 + 1, 10 + n), b = randomBytes(n * 4 + 1, 20 + n), out2(n * 4 + 1, 0xEE);
        ASSERT_TRUE(i32Merge(out2.data(), b.data(), nullptr, f.data(), 4, n, 1, 0));
        for (int k = 0; k < n * 4; ++k) ASSERT_EQ(premultipliedRule(f[k], b[k], f[k | 3]), out2[k]) << "n=" << n << " k=" << k;
        EXPECT_EQ(0xEE, out2[n * 4]);
    }
}

TEST(Merge, ThreeBytePixelsWithoutMaskCopyTheForeground) {
    Bytes f = randomBytes(33 * 3, 5), out = randomBytes(33 * 3, 6);
    ASSERT_TRUE(i32Merge(out.data(), out.data(), nullptr, f.data(), 3, 33, 1, 0));
    EXPECT_EQ(f, out);
}

TEST(Merge, OutputMayBeTheBackOrTheForeground) {
    for (bool withMask : {false, true}) {
        Bytes f = randomBytes(4 * 101, 7), b = randomBytes(4 * 101, 8), m = randomBytes(101, 9), expect(4 * 101);
        const BYTE* mask = withMask ? m.data() : nullptr;
        ASSERT_TRUE(i32Merge(expect.data(), b.data(), mask, f.data(), 4, 101, 1, 0));
        Bytes inBack = b, inFore = f;
        ASSERT_TRUE(i32Merge(inBack.data(), inBack.data(), mask, f.data(), 4, 101, 1, 0));
        ASSERT_TRUE(i32Merge(inFore.data(), b.data(), mask, inFore.data(), 4, 101, 1, 0));
        EXPECT_EQ(expect, inBack);
        EXPECT_EQ(expect, inFore);
    }
}

TEST(Merge, BadArgumentsFailAndWriteNothing) {
    BYTE px[8] = {1, 2, 3, 4, 5, 6, 7, 8}, m[2] = {};
    const Bytes before(px, px + 8);
    EXPECT_EQ(0, i32Merge(nullptr, px, m, px, 4, 2, 1, 0));
    EXPECT_EQ(0, i32Merge(px, nullptr, m, px, 4, 2, 1, 0));
    EXPECT_EQ(0, i32Merge(px, px, m, nullptr, 4, 2, 1, 0));
    EXPECT_EQ(0, i32Merge(px, m, m, m, 5, 1, 1, 0));
    EXPECT_EQ(0, i32Merge(px, m, m, m, 0, 1, 1, 0));
    EXPECT_EQ(0, i32Merge(px, m, m, m, 4, -1, 1, 0));
    EXPECT_EQ(Bytes(px, px + 8), before);
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
    BYTE d[4] = {};
    EXPECT_EQ(0, mem32Fill(nullptr, &value, 4, 1));
    EXPECT_EQ(0, mem32Fill(d, nullptr, 4, 1));
    EXPECT_EQ(0, mem32Fill(d, &value, 5, 1));
    EXPECT_EQ(0, mem32Fill(d, &value, 4, -1));
    EXPECT_EQ(0, d[0]);
}
