// The exported i32Merge and mem32Fill keep the rules (tests/q32sse2, tests/q32avx2 run this again on the
// narrower paths; the native build checks every kernel at every length): masks random, all 0, all 255
// and in runs, tails around every vector width, blocks off any alignment, in place over either source
// as a row of a wider picture, and outputs either side of the size from which stores pass the cache.
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

// n pixels merged into a row `off` bytes past a 64-byte boundary of a wider picture, over back
// (place 1), over fore (2) or apart (0); every byte against the rule, the bytes either side untouched.
void checkMerge(int u, size_t n, int kind, size_t off, int place) {
    SCOPED_TRACE(testing::Message() << "u=" << u << " n=" << n << " mask kind " << kind << " off " << off << " place " << place);
    const size_t bytes = n * u, s = off % 3;  // the sources off their alignment too
    const Bytes fs = randomBytes(bytes + s, 1 + n), bs = randomBytes(bytes + s, 2 + n);
    Bytes m = randomBytes(n, 3 + n);  // kind 0 random, 1 all 0, 2 all 255, 3 runs of 97 of each in turn
    for (size_t i = 0; i < n; ++i)
        if (int k = kind == 3 ? int(i / 97 % 3) : kind) m[i] = k == 1 ? 0 : 255;
    const BYTE *f = &fs[s], *b = &bs[s];
    Bytes space(bytes + 128, 0xEE);
    BYTE* o = space.data() + 64 - reinterpret_cast<uintptr_t>(space.data()) % 64 + off;
    if (place) std::copy_n(place == 1 ? b : f, bytes, o);
    ASSERT_TRUE(i32Merge(o, place == 1 ? o : b, m.data(), place == 2 ? o : f, u, int(n), 1, 0));
    for (size_t k = 0; k < bytes; ++k) ASSERT_EQ(maskedRule(f[k], b[k], m[k / u]), o[k]) << k;
    EXPECT_TRUE(o[-1] == 0xEE && o[bytes] == 0xEE);
}
}  // namespace

// Also the premultiplied merge of 4-byte pixels in place over the back, and fills of every size.
TEST(Merge, EveryMaskKindPixelSizeTailAndPlace) {
    const COLORREF value = 0x44332211;
    for (int n : {0, 1, 15, 17, 63, 65, 129, 1031}) {
        for (int u = 1; u <= 4; ++u) {
            for (int kind = 0; kind < 4; ++kind) checkMerge(u, n, kind, (n + 5 * kind) % 64, (n + kind) % 3);
            Bytes dst(n * u + 2, 0xEE);
            ASSERT_TRUE(mem32Fill(dst.data(), &value, u, n));
            for (int k = 0; k <= n * u; ++k) ASSERT_EQ(k < n * u ? 0x11 * (k % u + 1) : 0xEE, dst[k]);
        }
        Bytes f = randomBytes(n * 4, 1 + n), b = randomBytes(n * 4, 2 + n), back = b;
        ASSERT_TRUE(i32Merge(b.data(), b.data(), nullptr, f.data(), 4, n, 1, 0));
        for (int k = 0; k < n * 4; ++k) ASSERT_EQ(std::min(255, f[k] + (back[k] * (255 - f[k | 3]) + 127) / 255), b[k]) << k;
    }
}

// From a megabyte stores pass the cache after a head up to a 64-byte boundary (none off a 4-byte one for U=4).
TEST(Merge, OutputsEitherSideOfTheStreamingSize) {
    for (int u : {3, 4})
        for (size_t n : {q32::kStreamBytes / u - 1, q32::kStreamBytes / u + 77})
            for (int kind : {0, 3}) checkMerge(u, n, kind, kind ? 4 * u + 1 : 4 * u, kind % 2);
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
