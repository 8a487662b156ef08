// Every merge path (scalar, SSE2, AVX2 and AVX-512 where the processor has them) against the rule, at every tail
// length, from unaligned starts, over blocks allocated to the exact byte so the sanitizer
// sees any read or write past an end.
#include "pixelOps.h"
#include "pixelWiden.h"
#include "blocks.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <random>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

struct Path {
    const char* name;
    const q32::MergeKernels* kernels;  // null: the processor lacks it
};

std::vector<Path> paths() {
    static const bool avx2 = q32::cpuHasAvx2(), avx512 = q32::cpuHasAvx512();
    static bool said = false;
    if (!avx2 && !said) std::printf("note: no AVX2 on this processor, its path is not checked\n");
    if (!avx512 && !said) std::printf("note: no AVX-512 on this processor, its path is not checked\n");
    said = true;
    return {{"scalar", &q32::scalarKernels()},
            {"sse2", &q32::sse2Kernels()},
            {"avx2", avx2 ? &q32::avx2Kernels() : nullptr},
            {"avx512", avx512 ? &q32::avx512Kernels() : nullptr}};
}

// A block of n bytes placed off bytes into an allocation that ends exactly where the block does.
struct Block {
    Bytes storage;
    size_t off;
    Block(size_t n, size_t offset) : storage(n + offset), off(offset) {}
    uint8_t* p() { return storage.data() + off; }
};

// Masks made of runs that are all 0, all 255 or mixed, some longer than any vector block, so the
// uniform shortcuts and the mix both run.
void fillMask(uint8_t* m, size_t n, std::mt19937& rng) {
    for (size_t i = 0; i < n;) {
        size_t run = 1 + rng() % 150;
        int kind = rng() % 3;
        for (; run-- && i < n; ++i) m[i] = kind == 0 ? 0 : kind == 1 ? 255 : uint8_t(rng());
    }
}

uint8_t rounded(unsigned x) { return uint8_t((x + 127) / 255); }

class Kernels : public ::testing::TestWithParam<int> {
protected:
    const q32::MergeKernels* kernels() {
        Path p = paths()[GetParam()];
        return p.kernels;
    }
};

// Stores past the cache are checked at every length by moving their threshold to 0: their
// aligning head, blocks and tail, out of place and in place over either source.
TEST_P(Kernels, MaskedMergeMatchesTheRuleAtEveryLengthOffsetAndStore) {
    const q32::MergeKernels* k = kernels();
    if (!k) GTEST_SKIP() << "the processor lacks this path";
    std::mt19937 rng(7);
    for (size_t streamFrom : {q32::kStreamBytes, size_t(0)})
        for (int u = 1; u <= 4; ++u)
            for (size_t n = 0; n <= 210; ++n)
                for (size_t off = 0; off < 3; ++off) {
                    Block out(n * u, off * 20), back(n * u, off + 1), fore(n * u, 2 * off), mask(n, off);
                    for (size_t i = 0; i < n * u; ++i) back.p()[i] = uint8_t(rng()), fore.p()[i] = uint8_t(rng());
                    fillMask(mask.p(), n, rng);
                    const Bytes b(back.p(), back.p() + n * u), f(fore.p(), fore.p() + n * u);
                    const int place = int(n % 3);  // 0 a block of its own, 1 over back, 2 over fore
                    uint8_t* o = place == 1 ? back.p() : place == 2 ? fore.p() : out.p();
                    q32::mergeMasked(*k, o, back.p(), mask.p(), fore.p(), u, n, streamFrom);
                    for (size_t i = 0; i < n * u; ++i) {
                        unsigned m = mask.p()[i / u];
                        ASSERT_EQ(o[i], rounded(f[i] * m + b[i] * (255 - m)))
                            << "u " << u << " count " << n << " byte " << i << " place " << place << " stream from "
                            << streamFrom;
                    }
                }
}

// Outputs just below and above the real threshold, unaligned: the same bytes as the scalar rule.
TEST_P(Kernels, LargeMergesAroundTheStreamingThresholdMatchTheScalarRule) {
    const q32::MergeKernels* k = kernels();
    if (!k) GTEST_SKIP() << "the processor lacks this path";
    std::mt19937 rng(11);
    for (int u : {3, 4})
        for (size_t n : {q32::kStreamBytes / u - 1, q32::kStreamBytes / u + 77}) {
            Block out(n * u, 4 * u), expect(n * u, 0), back(n * u, 1), fore(n * u, 2), mask(n, 3);
            for (size_t i = 0; i < n * u; ++i) back.p()[i] = uint8_t(rng()), fore.p()[i] = uint8_t(rng());
            fillMask(mask.p(), n, rng);
            q32::mergeMasked(q32::scalarKernels(), expect.p(), back.p(), mask.p(), fore.p(), u, n);
            q32::mergeMasked(*k, out.p(), back.p(), mask.p(), fore.p(), u, n);
            ASSERT_TRUE(std::equal(out.p(), out.p() + n * u, expect.p())) << "u " << u << " count " << n;
        }
}

TEST_P(Kernels, PremultipliedMergeSaturatesAtEveryLength) {
    const q32::MergeKernels* k = kernels();
    if (!k) GTEST_SKIP() << "the processor lacks this path";
    std::mt19937 rng(13);
    for (size_t n = 0; n <= 90; ++n)
        for (size_t off = 0; off < 4; ++off) {
            Block out(4 * n, 4 * off), back(4 * n, 3 - off), fore(4 * n, off);
            // Colour bytes above their alpha (not premultiplied) make the sum pass 255.
            for (size_t i = 0; i < 4 * n; ++i) back.p()[i] = uint8_t(rng()), fore.p()[i] = uint8_t(rng());
            q32::mergePremultiplied(*k, out.p(), back.p(), fore.p(), n, off % 2 ? 0 : q32::kStreamBytes);
            for (size_t i = 0; i < 4 * n; ++i) {
                unsigned v = fore.p()[i] + rounded(back.p()[i] * (255u - fore.p()[i | 3]));
                ASSERT_EQ(out.p()[i], v > 255 ? 255 : v) << "count " << n << " byte " << i;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Paths, Kernels, ::testing::Values(0, 1, 2, 3),
                         [](const ::testing::TestParamInfo<int>& i) { return std::string(paths()[i.param].name); });

TEST(Fill, EveryPixelSizeAndLengthFromUnalignedStarts) {
    const uint8_t value[4] = {0x11, 0x22, 0x33, 0x44};
    for (int u = 1; u <= 4; ++u)
        for (size_t n = 0; n <= 70; ++n)
            for (size_t off = 0; off < 16; off += 5) {
                Block dst(n * u, off);
                q32::fill(dst.p(), value, u, n);
                for (size_t i = 0; i < n * u; ++i) ASSERT_EQ(dst.p()[i], value[i % u]) << "u " << u << " n " << n;
            }
}

TEST(Widen, BothPathsAtEveryLength) {
    std::mt19937 rng(17);
    for (size_t n = 0; n <= 50; ++n)
        for (bool ssse3 : {false, true}) {
            if (ssse3 && !q32::cpuHasSsse3()) continue;
            Bytes src(3 * n), dst(4 * n);
            for (auto& b : src) b = uint8_t(rng());
            (ssse3 ? q32::widenSsse3 : q32::widenScalar)(dst.data(), src.data(), n);
            for (size_t i = 0; i < n; ++i) {
                ASSERT_EQ(dst[4 * i], src[3 * i]) << n;
                ASSERT_EQ(dst[4 * i + 1], src[3 * i + 1]) << n;
                ASSERT_EQ(dst[4 * i + 2], src[3 * i + 2]) << n;
                ASSERT_EQ(dst[4 * i + 3], 255) << n;
            }
        }
}

// Every small placement of a display over a caller's block: what is copied lies inside the block.
TEST(Blocks, TheShownPartNeverReachesPastTheCallersBlock) {
    int shown = 0;
    for (int u = 1; u <= 4; ++u)
        for (int width = 1; width <= 5; ++width)
            for (int height = 1; height <= 3; ++height)
                for (int bytesPerRow = 1; bytesPerRow <= 4 * u + 3; ++bytesPerRow)
                    for (int rows = 1; rows <= 4; ++rows)
                        for (int x0 = -1; x0 <= 6; ++x0)
                            for (int y0 = -1; y0 <= 4; ++y0) {
                                q32::ShownPart p;
                                if (!q32::shownPart(width, height, u, x0, y0, rows, bytesPerRow, p)) continue;
                                ++shown;
                                ASSERT_TRUE(p.w > 0 && p.h > 0 && p.w <= width && p.h <= height);
                                ASSERT_LE(p.offset + size_t(p.h - 1) * bytesPerRow + size_t(p.w) * u,
                                          size_t(rows) * bytesPerRow);
                                ASSERT_EQ(bytesPerRow % u, 0);
                            }
    EXPECT_GT(shown, 1000);
}

TEST(Blocks, SizesPastTheIntRangeAreRefused) {
    EXPECT_EQ(q32::blockBytes(46341, 46341, 1), 0u);  // 2^31 + 80 bytes
    EXPECT_EQ(q32::blockBytes(INT_MAX, 1, 1), size_t(INT_MAX));
    EXPECT_EQ(q32::blockBytes(INT_MAX, INT_MAX, 4), 0u);
    EXPECT_FALSE(q32::blockInside(INT_MAX, 0, INT_MAX, 1, INT_MAX, 1));
    EXPECT_FALSE(q32::blockInside(0, INT_MIN, 1, INT_MAX, 1, INT_MAX));
}

}  // namespace
