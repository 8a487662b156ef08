// Pixel loops: fill, masked merge and premultiplied source-over.
#include "pixelOps.h"
#include "pixelKernels.h"
#include <cpuid.h>
#include <cstdlib>
#include <cstring>

namespace q32 {

namespace {
// The processor's leaf-7 feature words, or false when the system does not save the register
// state named by stateBits (6: XMM and YMM; 0xE6 adds the mask and 512-bit registers).
bool leaf7(unsigned stateBits, unsigned& b, unsigned& c) {
    unsigned a, d;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_OSXSAVE) || !(c & bit_AVX)) return false;
    unsigned lo, hi;
    __asm__("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    if ((lo & stateBits) != stateBits) return false;
    if (__get_cpuid_max(0, nullptr) < 7) return false;
    __cpuid_count(7, 0, a, b, c, d);
    return true;
}
}  // namespace

bool cpuHasAvx2() {
    unsigned b, c;
    return leaf7(6, b, c) && (b & bit_AVX2);
}

bool cpuHasAvx512() {
    unsigned b, c;
    return leaf7(0xE6, b, c) && (b & bit_AVX512F) && (b & bit_AVX512BW) && (c & bit_AVX512VBMI);
}

const MergeKernels& sse2Kernels() {
    static const MergeKernels k = kernelsFor<V128>();
    return k;
}

namespace {

size_t noMasked(uint8_t*, const uint8_t*, const uint8_t*, const uint8_t*, size_t) { return 0; }
size_t noPremultiplied(uint8_t*, const uint8_t*, const uint8_t*, size_t) { return 0; }

const MergeKernels& kernels() {
    // Q32_SIMD=sse2 (or avx2) caps the path, so the narrower paths' tests run on any machine.
    static const MergeKernels& chosen = [] () -> const MergeKernels& {
        const char* cap = std::getenv("Q32_SIMD");
        bool sse2Only = cap && std::strcmp(cap, "sse2") == 0, avx2Only = cap && std::strcmp(cap, "avx2") == 0;
        if (!sse2Only && !avx2Only && cpuHasAvx512()) return avx512Kernels();
        return !sse2Only && cpuHasAvx2() ? avx2Kernels() : sse2Kernels();
    }();
    return chosen;
}

inline uint8_t div255(unsigned x) { return uint8_t((x + 127) / 255); }

}  // namespace

const MergeKernels& scalarKernels() {
    static const MergeKernels k = {
        {noMasked, noMasked, noMasked, noMasked}, {}, noPremultiplied, nullptr};
    return k;
}

void fill(uint8_t* dst, const uint8_t* value, int u, size_t count) {
    if (!count) return;
    size_t bytes = count * size_t(u);
    if (u == 1) {
        std::memset(dst, value[0], bytes);
        return;
    }
    // 48 bytes hold a whole number of pixels for every u of 2, 3 and 4.
    alignas(16) uint8_t pattern[48];
    for (size_t i = 0; i < sizeof pattern; ++i) pattern[i] = value[i % u];
    const __m128i p0 = V128::load(pattern), p1 = V128::load(pattern + 16), p2 = V128::load(pattern + 32);
    size_t k = 0;
    for (; k + 48 <= bytes; k += 48) {
        V128::store(dst + k, p0);
        V128::store(dst + k + 16, p1);
        V128::store(dst + k + 32, p2);
    }
    std::memcpy(dst + k, pattern, bytes - k);
}

void mergeMasked(uint8_t* out, const uint8_t* back, const uint8_t* mask, const uint8_t* fore, int u, size_t count) {
    mergeMasked(kernels(), out, back, mask, fore, u, count);
}

void mergePremultiplied(uint8_t* out, const uint8_t* back, const uint8_t* fore, size_t count) {
    mergePremultiplied(kernels(), out, back, fore, count);
}

namespace {
// The scalar rule for pixels [from, to).
void maskedScalar(uint8_t* out, const uint8_t* back, const uint8_t* mask, const uint8_t* fore, int u, size_t from,
                  size_t to) {
    for (size_t i = from; i < to; ++i) {
        unsigned m = mask[i];
        for (size_t k = i * u, end = k + u; k < end; ++k) out[k] = div255(fore[k] * m + back[k] * (255 - m));
    }
}

void premultipliedScalar(uint8_t* out, const uint8_t* back, const uint8_t* fore, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        unsigned inv = 255 - fore[4 * i + 3];
        for (size_t k = 4 * i; k < 4 * i + 4; ++k) {
            unsigned v = fore[k] + div255(back[k] * inv);
            out[k] = uint8_t(v > 255 ? 255 : v);
        }
    }
}

constexpr size_t kNoHead = ~size_t(0);

// Pixels to do before out + head * u lies on a 64-byte boundary (where every path's streamed
// stores start); kNoHead when no whole number of pixels gets there or the output is too small.
size_t streamHead(const uint8_t* out, int u, size_t count, size_t streamFrom) {
    if (count * u < streamFrom) return kNoHead;
    for (size_t head = 0; head < 64 && head <= count; ++head)
        if ((reinterpret_cast<uintptr_t>(out) + head * u) % 64 == 0) return head;
    return kNoHead;
}

// One path's vector kernel over the pixels, streamed after a scalar head that aligns the output
// when the output is large enough and the path has a streamed kernel; the scalar rule then does
// what the kernel left. vector(streamed, from) runs from pixel from and returns how many it did.
template <class Vector, class Scalar>
void alignedRun(bool canStream, uint8_t* out, int u, size_t count, size_t streamFrom, const Vector& vector,
                const Scalar& scalar) {
    const size_t head = canStream ? streamHead(out, u, count, streamFrom) : kNoHead;
    size_t done;
    if (head == kNoHead) {
        done = vector(false, 0);
    } else {
        scalar(0, head);
        done = head + vector(true, head);
        _mm_sfence();  // the streamed stores reach memory before anyone reads the output
    }
    scalar(done, count);
}
}  // namespace

void mergeMasked(const MergeKernels& kern, uint8_t* out, const uint8_t* back, const uint8_t* mask,
                 const uint8_t* fore, int u, size_t count, size_t streamFrom) {
    alignedRun(
        kern.maskedStreamed[u - 1] != nullptr, out, u, count, streamFrom,
        [&](bool streamed, size_t from) {
            const size_t k = from * u;
            return (streamed ? kern.maskedStreamed : kern.masked)[u - 1](out + k, back + k, mask + from, fore + k,
                                                                         count - from);
        },
        [&](size_t from, size_t to) { maskedScalar(out, back, mask, fore, u, from, to); });
}

void mergePremultiplied(const MergeKernels& kern, uint8_t* out, const uint8_t* back, const uint8_t* fore,
                        size_t count, size_t streamFrom) {
    alignedRun(
        kern.premultipliedStreamed4 != nullptr, out, 4, count, streamFrom,
        [&](bool streamed, size_t from) {
            const size_t k = 4 * from;
            return (streamed ? kern.premultipliedStreamed4 : kern.premultiplied4)(out + k, back + k, fore + k,
                                                                                  count - from);
        },
        [&](size_t from, size_t to) { premultipliedScalar(out, back, fore, from, to); });
}

}  // namespace q32
