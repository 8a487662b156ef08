// SIMD bodies of the merge loops, written once over a vector type: V128 (SSE2, the x86-64
// baseline) and V256 (AVX2, compiled only in the unit built with -mavx2).
//
// Everything sits in an unnamed namespace on purpose: each unit keeps its own copies, so the
// linker can never fold an AVX2-encoded inline function into the baseline path.
//
// Each kernel handles whole vector steps and returns how many pixels it did; the caller finishes
// the rest with the scalar rule.
#pragma once
#include <immintrin.h>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace q32 {
namespace {

struct V128 {
    using T = __m128i;
    static constexpr size_t kBytes = 16;
    static T load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static void store(void* p, T v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
    static T zero() { return _mm_setzero_si128(); }
    static T set16(short v) { return _mm_set1_epi16(v); }
    static T lo8(T a, T b) { return _mm_unpacklo_epi8(a, b); }
    static T hi8(T a, T b) { return _mm_unpackhi_epi8(a, b); }
    static T mul16(T a, T b) { return _mm_mullo_epi16(a, b); }
    static T add16(T a, T b) { return _mm_add_epi16(a, b); }
    static T sub16(T a, T b) { return _mm_sub_epi16(a, b); }
    static T shr16by8(T a) { return _mm_srli_epi16(a, 8); }
    static T pack(T a, T b) { return _mm_packus_epi16(a, b); }
    static T addsat8(T a, T b) { return _mm_adds_epu8(a, b); }
    // Word 3 of every group of four 16-bit lanes (the alpha of a widened BGRA pixel) in all four.
    static T alpha16(T px) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px, 0xFF), 0xFF); }

    // Mask bytes widened to the pixel bytes they govern: 4 pixels of 4 bytes.
    static T masks4(const uint8_t* m) {
        uint32_t v;
        std::memcpy(&v, m, 4);
        T x = _mm_cvtsi32_si128(int(v));
        x = _mm_unpacklo_epi8(x, x);
        return _mm_unpacklo_epi16(x, x);
    }
    // 8 pixels of 2 bytes.
    static T masks2(const uint8_t* m) {
        T x = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(m));
        return _mm_unpacklo_epi8(x, x);
    }
    // 16 pixels of 3 bytes; SSE2 has no byte shuffle, so spell them out.
    static void masks3(const uint8_t* m, T& a, T& b, T& c) {
        alignas(16) uint8_t e[48];
        for (int i = 0; i < 16; ++i) e[3 * i] = e[3 * i + 1] = e[3 * i + 2] = m[i];
        a = load(e);
        b = load(e + 16);
        c = load(e + 32);
    }
};

#ifdef __AVX2__
struct V256 {
    using T = __m256i;
    static constexpr size_t kBytes = 32;
    static T load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
    static void store(void* p, T v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
    static T zero() { return _mm256_setzero_si256(); }
    static T set16(short v) { return _mm256_set1_epi16(v); }
    // In-lane unpacks: pack() puts the halves back in the same lane order.
    static T lo8(T a, T b) { return _mm256_unpacklo_epi8(a, b); }
    static T hi8(T a, T b) { return _mm256_unpackhi_epi8(a, b); }
    static T mul16(T a, T b) { return _mm256_mullo_epi16(a, b); }
    static T add16(T a, T b) { return _mm256_add_epi16(a, b); }
    static T sub16(T a, T b) { return _mm256_sub_epi16(a, b); }
    static T shr16by8(T a) { return _mm256_srli_epi16(a, 8); }
    static T pack(T a, T b) { return _mm256_packus_epi16(a, b); }
    static T addsat8(T a, T b) { return _mm256_adds_epu8(a, b); }
    static T alpha16(T px) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(px, 0xFF), 0xFF); }

    // 8 pixels of 4 bytes: each mask byte lands in the low byte of a dword, then fills it.
    static T masks4(const uint8_t* m) {
        T x = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(m)));
        const T spread = _mm256_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12,  //
                                          0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12);
        return _mm256_shuffle_epi8(x, spread);
    }
    // 16 pixels of 2 bytes.
    static T masks2(const uint8_t* m) {
        T x = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m)));
        return _mm256_or_si256(x, _mm256_slli_epi16(x, 8));
    }
    // 32 pixels of 3 bytes = 96 bytes. Byte k of the run takes mask k/3; every 16-byte lane draws
    // on at most 6 consecutive masks, all within one half of the 32 loaded, so each output vector
    // is one in-lane shuffle of the right halves.
    static void masks3(const uint8_t* m, T& a, T& b, T& c) {
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + 16));
        const T s0 = _mm256_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5,  //
                                      5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
        const T s1 = _mm256_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15,  //
                                      0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
        const T s2 = _mm256_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10,  //
                                      10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
        a = _mm256_shuffle_epi8(_mm256_set_m128i(lo, lo), s0);
        b = _mm256_shuffle_epi8(_mm256_set_m128i(hi, lo), s1);
        c = _mm256_shuffle_epi8(_mm256_set_m128i(hi, hi), s2);
    }
};
#endif

// (x + 127) / 255 for x in [0, 255*255] per 16-bit lane, without a division:
// with t = x + 128, (t + (t >> 8)) >> 8 gives the same value over that whole range.
template <class V>
typename V::T div255(typename V::T x) {
    x = V::add16(x, V::set16(128));
    return V::shr16by8(V::add16(x, V::shr16by8(x)));
}

// (f*m + b*(255-m) + 127) / 255 per byte. The sum of the products never exceeds 255*255, so
// unsigned 16-bit lanes hold it.
template <class V>
typename V::T mix(typename V::T f, typename V::T b, typename V::T m) {
    using T = typename V::T;
    const T z = V::zero(), full = V::set16(255);
    T mlo = V::lo8(m, z), mhi = V::hi8(m, z);
    T lo = V::add16(V::mul16(V::lo8(f, z), mlo), V::mul16(V::lo8(b, z), V::sub16(full, mlo)));
    T hi = V::add16(V::mul16(V::hi8(f, z), mhi), V::mul16(V::hi8(b, z), V::sub16(full, mhi)));
    return V::pack(div255<V>(lo), div255<V>(hi));
}

template <class V>
size_t maskedKernel1(uint8_t* o, const uint8_t* b, const uint8_t* m, const uint8_t* f, size_t n) {
    size_t i = 0;
    for (; i + V::kBytes <= n; i += V::kBytes) V::store(o + i, mix<V>(V::load(f + i), V::load(b + i), V::load(m + i)));
    return i;
}

template <class V>
size_t maskedKernel2(uint8_t* o, const uint8_t* b, const uint8_t* m, const uint8_t* f, size_t n) {
    constexpr size_t step = V::kBytes / 2;
    size_t i = 0;
    for (; i + step <= n; i += step) {
        size_t k = 2 * i;
        V::store(o + k, mix<V>(V::load(f + k), V::load(b + k), V::masks2(m + i)));
    }
    return i;
}

template <class V>
size_t maskedKernel3(uint8_t* o, const uint8_t* b, const uint8_t* m, const uint8_t* f, size_t n) {
    constexpr size_t step = V::kBytes, w = V::kBytes;
    size_t i = 0;
    for (; i + step <= n; i += step) {
        typename V::T m0, m1, m2;
        V::masks3(m + i, m0, m1, m2);
        size_t k = 3 * i;
        V::store(o + k, mix<V>(V::load(f + k), V::load(b + k), m0));
        V::store(o + k + w, mix<V>(V::load(f + k + w), V::load(b + k + w), m1));
        V::store(o + k + 2 * w, mix<V>(V::load(f + k + 2 * w), V::load(b + k + 2 * w), m2));
    }
    return i;
}

template <class V>
size_t maskedKernel4(uint8_t* o, const uint8_t* b, const uint8_t* m, const uint8_t* f, size_t n) {
    constexpr size_t step = V::kBytes / 4;
    size_t i = 0;
    for (; i + step <= n; i += step) {
        size_t k = 4 * i;
        V::store(o + k, mix<V>(V::load(f + k), V::load(b + k), V::masks4(m + i)));
    }
    return i;
}

// fore + (back*(255-a) + 127) / 255 per byte with unsigned saturation, a = the pixel's alpha.
template <class V>
size_t premultipliedKernel4(uint8_t* o, const uint8_t* b, const uint8_t* f, size_t n) {
    using T = typename V::T;
    constexpr size_t step = V::kBytes / 4;
    const T z = V::zero(), full = V::set16(255);
    size_t i = 0;
    for (; i + step <= n; i += step) {
        size_t k = 4 * i;
        T fv = V::load(f + k), bv = V::load(b + k);
        T ilo = V::sub16(full, V::alpha16(V::lo8(fv, z)));
        T ihi = V::sub16(full, V::alpha16(V::hi8(fv, z)));
        T lo = div255<V>(V::mul16(V::lo8(bv, z), ilo));
        T hi = div255<V>(V::mul16(V::hi8(bv, z), ihi));
        V::store(o + k, V::addsat8(fv, V::pack(lo, hi)));
    }
    return i;
}

}  // namespace
}  // namespace q32
