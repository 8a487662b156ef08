// 3-byte pixels widened to opaque 4-byte ones.
#include "pixelWiden.h"
#include <cpuid.h>
#include <immintrin.h>

namespace q32 {

void widenScalar(uint8_t* dst, const uint8_t* src, size_t n) {
    for (size_t i = 0; i < n; ++i, dst += 4, src += 3) dst[0] = src[0], dst[1] = src[1], dst[2] = src[2], dst[3] = 255;
}

__attribute__((target("ssse3"))) void widenSsse3(uint8_t* dst, const uint8_t* src, size_t n) {
    // 16 pixels = 48 source bytes read as four 16-byte loads at 0, 12, 24 and 32.
    const __m128i first = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i last = _mm_setr_epi8(4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000));
    size_t i = 0;
    for (; i + 16 <= n; i += 16, src += 48, dst += 64) {
        auto in = [&](int off) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + off)); };
        auto out = [&](int off, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + off), _mm_or_si128(v, opaque)); };
        out(0, _mm_shuffle_epi8(in(0), first));
        out(16, _mm_shuffle_epi8(in(12), first));
        out(32, _mm_shuffle_epi8(in(24), first));
        out(48, _mm_shuffle_epi8(in(32), last));
    }
    widenScalar(dst, src, n - i);
}

bool cpuHasSsse3() {
    unsigned a, b, c, d;
    return __get_cpuid(1, &a, &b, &c, &d) && (c & bit_SSSE3);
}

void widen(uint8_t* dst, const uint8_t* src, size_t n) {
    static const bool ssse3 = cpuHasSsse3();
    (ssse3 ? widenSsse3 : widenScalar)(dst, src, n);
}

}  // namespace q32
