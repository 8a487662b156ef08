// The exported i32Merge and mem32Fill keep the rules (tests/q32sse2 and tests/q32avx2 run this file
// again on the narrower paths; the native build checks every kernel at every length): masks random,
// all 0, all 255 and in long runs, tails around every vector width, blocks off any alignment and in
// place over either source, rows of a larger picture, and outputs either side of the size from
// which stores go past the cache.
#include <gtest/gtest.h>
#include "platform/q32/include/q32Base.h"
#include "platform/q32/src/pixelOps.h"
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

// Kind 0 random, 1 all 0, 2 all 255, 3 runs of 97 of each in turn (longer than any vector block).
Bytes maskOf(int kind, size_t n, unsigned seed) {
    Bytes m = randomBytes(n, seed);
    for (size_t i = 0; i < n; ++i)
        if (int k = kind == 3 ? int(i / 97 % 3) : kind) m[i] = k == 1 ? 0 : 255;
    return m;
}

// n pixels merged into a block `off` bytes past a 64-byte boundary, over back (place 1), over
// fore (2) or apart (0); every byte against the rule, the bytes either side untouched.
void checkMerge(int u, size_t n, int kind, size_t off, int place) {
    SCOPED_TRACE(testing::Message() << "u=" << u << " n=" << n << " mask kind " << kind << " off " << off << " place " << place);
    const size_t bytes = n * u;
    const Bytes f = randomBytes(bytes, 1 + n), b = randomBytes(bytes, 2 + n), m = maskOf(kind, n, 3 + n);
    Bytes space(bytes + 128, 0xEE);
    BYTE* o = space.data() + 64 - reinterpret_cast<uintptr_t>(space.data()) % 64 + off;
    if (place) std::copy_n(place == 1 ? b.data() : f.data(), bytes, o);
    ASSERT_TRUE(i32Merge(o, place == 1 ? o : b.data(), m.data(), place == 2 ? o : f.data(), u, int(n), 1, 0));
    for (size_t k = 0; k < bytes; ++k) ASSERT_EQ(maskedRule(f[k], b[k], m[k / u]), o[k]) << k;
    EXPECT_TRUE(o[-1] == 0xEE && o[bytes] == 0xEE);
}
}  // namespace

TEST(Merge, EveryMaskKindPixelSizeTailAndPlace) {
    for (int u = 1; u <= 4; ++u)
        for (size_t n : {0, 1, 15, 17, 63, 65, 129, 1031})
            for (int kind = 0; kind < 4; ++kind) checkMerge(u, n, kind, (n + 5 * kind) % 64, int(n + kind) % 3);
}

// From a megabyte the stores go past the cache once the output reaches a 64-byte boundary; an
// output of 4-byte pixels off a 4-byte boundary never does and takes the ordinary stores.
TEST(Merge, OutputsEitherSideOfTheStreamingSize) {
    for (int u : {3, 4})
        for (size_t n : {q32::kStreamBytes / u - 1, q32::kStreamBytes / u + 77})
            for (int kind : {0, 3}) checkMerge(u, n, kind, kind ? 4 * u + 1 : 4 * u, kind % 2);
}

// A block merged row by row into a wider picture, as callers do: only the block changes.
TEST(Merge, RowsOfALargerPicture) {
    const int W = 203, H = 5, x = 3, w = 197;
    for (int u : {3, 4}) {
        Bytes picture = randomBytes(size_t(W) * H * u, 9), fore = randomBytes(size_t(w) * H * u, 10),
              mask = maskOf(3, size_t(w) * H, 11), want = picture;
        for (int y = 0; y < H; ++y) {
            const size_t at = (size_t(y) * W + x) * u, from = size_t(y) * w * u;
            ASSERT_TRUE(i32Merge(&picture[at], &picture[at], &mask[size_t(y) * w], &fore[from], u, w, 1, 0));
            for (int k = 0; k < w * u; ++k) want[at + k] = maskedRule(fore[from + k], want[at + k], mask[from / u + k / u]);
        }
        EXPECT_TRUE(want == picture) << u;
    }
}

// The premultiplied merge of 4-byte pixels in place over the back, and fills of every size.
TEST(Merge, PremultipliedAndFillsAtEveryTail) {
    const COLORREF value = 0x44332211;
    for (int n : {0, 1, 7, 17, 33, 65, 1031}) {
        Bytes f = randomBytes(n * 4, 1 + n), b = randomBytes(n * 4, 2 + n), back = b;
        ASSERT_TRUE(i32Merge(b.data(), b.data(), nullptr, f.data(), 4, n, 1, 0));
        for (int k = 0; k < n * 4; ++k) ASSERT_EQ(premultipliedRule(f[k], back[k], f[k | 3]), b[k]) << k;
        for (int u = 1; u <= 4; ++u) {
            Bytes dst(n * u + 2, 0xEE);
            ASSERT_TRUE(mem32Fill(dst.data(), &value, u, n));
            for (int k = 0; k < n * u; ++k) ASSERT_EQ(0x11 * (k % u + 1), dst[k]);
            EXPECT_EQ(0xEE, dst[n * u]);
        }
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
