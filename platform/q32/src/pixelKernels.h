// SIMD bodies of the merge loops, written once over a vector type: V128 (SSE2, the x86-64
// baseline), V256 (AVX2, compiled only in the unit built with -mavx2) and V512 (AVX-512 with the
// byte and byte-permute extensions, only in the unit built for them).
//
// Everything sits in an unnamed namespace on purpose: each unit keeps its own copies, so the
// linker can never fold an AVX2-encoded inline function into the baseline path.
//
// Each kernel handles whole vector steps and returns how many pixels it did; the caller finishes
// the rest with the scalar rule.
#pragma once
#include "pixelOps.h"
#include <immintrin.h>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace q32 {
namespace {

// 0 or 255 when all n mask bytes are that value (the merge is then a plain copy), else -1.
template <size_t n>
int uniformMask(const uint8_t* m) {
    static_assert(n % 8 == 0, "whole words");
    uint64_t any = 0, all = ~uint64_t(0);
    for (size_t i = 0; i < n; i += 8) {
        uint64_t v;
        std::memcpy(&v, m + i, 8);
        any |= v;
        all &= v;
    }
    return any == 0 ? 0 : all == ~uint64_t(0) ? 255 : -1;
}

// The masks of kBytes pixels: 0 or 255 when all are that value, else -1 and the masks of the u
// output vectors they govern, from the per-vector widenings of the 128- and 256-bit paths.
template <class V, int u>
int narrowBlockMasks(const uint8_t* m, typename V::W* w) {
    constexpr size_t per = V::kBytes / u;  // pixels per output vector when u divides it
    if (int uniform = uniformMask<V::kBytes>(m); uniform >= 0) return uniform;
    if constexpr (u == 3)
        V::masks3(m, w[0], w[1], w[2]);
    else
        for (int j = 0; j < u; ++j) w[j] = u == 1 ? V::load(m) : u == 2 ? V::masks2(m + j * per) : V::masks4(m + j * per);
    return -1;
}

struct V128 {
    using T = __m128i;
    using W = T;  // what mix() takes for the masks: one byte per pixel byte here
    struct Consts {};  // what mix() wants made once per call
    static Consts consts() { return {}; }
    static constexpr size_t kBytes = 16;
    static T load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
    static void store(void* p, T v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
    static void stream(void* p, T v) { _mm_stream_si128(static_cast<__m128i*>(p), v); }
    static T zero() { return _mm_setzero_si128(); }
    static T set16(short v) { return _mm_set1_epi16(v); }
    static T lo8(T a, T b) { return _mm_unpacklo_epi8(a, b); }
    static T hi8(T a, T b) { return _mm_unpackhi_epi8(a, b); }
    static T mul16(T a, T b) { return _mm_mullo_epi16(a, b); }
    static T add16(T a, T b) { return _mm_add_epi16(a, b); }
    static T sub16(T a, T b) { return _mm_sub_epi16(a, b); }
    static T pack(T a, T b) { return _mm_packus_epi16(a, b); }
    static T addsat8(T a, T b) { return _mm_adds_epu8(a, b); }
    static T mulhi16(T a, T b) { return _mm_mulhi_epu16(a, b); }
    static T shr16by7(T a) { return _mm_srli_epi16(a, 7); }
    // Every BGRA pixel's alpha byte copied to all four of its bytes.
    static T alphas(T px) {
        T a = _mm_srli_epi32(px, 24);
        a = _mm_or_si128(a, _mm_slli_epi32(a, 8));
        return _mm_or_si128(a, _mm_slli_epi32(a, 16));
    }

    template <int u>
    static int blockMasks(const uint8_t* m, W* w) { return narrowBlockMasks<V128, u>(m, w); }
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
    // 16 pixels of 3 bytes. SSE2 has no byte shuffle: widen the masks to words, place them with
    // the word shuffles (byte k of the run takes mask k/3), and narrow them again.
    static void masks3(const uint8_t* m, T& a, T& b, T& c) {
        T x = load(m), z = zero();
        T w0 = _mm_unpacklo_epi8(x, z), w1 = _mm_unpackhi_epi8(x, z);
        a = _mm_packus_epi16(spread0(w0), spread1(w0));
        b = _mm_packus_epi16(spread2(w0), spread0(w1));
        c = _mm_packus_epi16(spread1(w1), spread2(w1));
    }
    // Words for bytes 0-7, 8-15 and 16-23 of the 24 governed by eight masks.
    static T spread0(T w) {  // 0 0 0 1 | 1 1 2 2
        T d = _mm_shuffle_epi32(w, _MM_SHUFFLE(1, 0, 1, 0));
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(d, _MM_SHUFFLE(1, 0, 0, 0)), _MM_SHUFFLE(2, 2, 1, 1));
    }
    static T spread1(T w) {  // 2 3 3 3 | 4 4 4 5
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(w, _MM_SHUFFLE(3, 3, 3, 2)), _MM_SHUFFLE(1, 0, 0, 0));
    }
    static T spread2(T w) {  // 5 5 6 6 | 6 7 7 7
        T d = _mm_shuffle_epi32(w, _MM_SHUFFLE(3, 2, 3, 2));
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(d, _MM_SHUFFLE(2, 2, 1, 1)), _MM_SHUFFLE(3, 3, 3, 2));
    }
};

#if defined(__AVX2__) && !defined(__AVX512VBMI__)  // the AVX-512 unit needs only its own
struct V256 {
    using T = __m256i;
    using W = T;
    struct Consts {};
    static Consts consts() { return {}; }
    static constexpr size_t kBytes = 32;
    static T load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
    static void store(void* p, T v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
    static void stream(void* p, T v) { _mm256_stream_si256(static_cast<__m256i*>(p), v); }
    static T zero() { return _mm256_setzero_si256(); }
    static T set16(short v) { return _mm256_set1_epi16(v); }
    // In-lane unpacks: pack() puts the halves back in the same lane order.
    static T lo8(T a, T b) { return _mm256_unpacklo_epi8(a, b); }
    static T hi8(T a, T b) { return _mm256_unpackhi_epi8(a, b); }
    static T mul16(T a, T b) { return _mm256_mullo_epi16(a, b); }
    static T add16(T a, T b) { return _mm256_add_epi16(a, b); }
    static T sub16(T a, T b) { return _mm256_sub_epi16(a, b); }
    static T pack(T a, T b) { return _mm256_packus_epi16(a, b); }
    static T addsat8(T a, T b) { return _mm256_adds_epu8(a, b); }
    static T mulhi16(T a, T b) { return _mm256_mulhi_epu16(a, b); }
    static T shr16by7(T a) { return _mm256_srli_epi16(a, 7); }
    static T alphas(T px) {
        const T spread = _mm256_setr_epi8(3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15,  //
                                          3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15);
        return _mm256_shuffle_epi8(px, spread);
    }

    template <int u>
    static int blockMasks(const uint8_t* m, W* w) { return narrowBlockMasks<V256, u>(m, w); }
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

#ifdef __AVX512VBMI__
// Byte tables for the permutes, made by the compiler.
struct Table64 {
    alignas(64) uint8_t b[64];
};
// Weights for the 16-bit lanes that unpacklo (high: unpackhi) makes of fore and back bytes when
// pixel byte p takes mask (base + p) / div: the mask itself in the even bytes, its complement
// (the second source of the permute) in the odd ones.
template <int base, int div, bool high>
constexpr Table64 weightTable() {
    Table64 t{};
    for (int k = 0; k < 64; ++k) {
        int p = (k & ~15) + (high ? 8 : 0) + (k & 15) / 2;
        t.b[k] = uint8_t((base + p) / div + (k & 1 ? 64 : 0));
    }
    return t;
}
template <int base, int div, bool high>
constexpr Table64 kWeights = weightTable<base, div, high>();

struct V512 {
    using T = __m512i;
    // The masks as weight pairs (m, 255 - m), one pair per 16-bit lane of the unpacked pixels.
    struct W {
        T lo, hi;
    };
    struct Consts {
        T sign, bias, by257;
    };
    // Made once per call and hidden from the compiler, which would otherwise make them again
    // from general registers on every step.
    static Consts consts() {
        Consts c{_mm512_set1_epi8(char(0x80)), _mm512_set1_epi16(short(0x8000)), _mm512_set1_epi16(257)};
        __asm__("" : "+v"(c.sign), "+v"(c.bias), "+v"(c.by257));
        return c;
    }
    static constexpr size_t kBytes = 64;
    static T load(const void* p) { return _mm512_loadu_si512(p); }
    static void store(void* p, T v) { _mm512_storeu_si512(p, v); }
    static void stream(void* p, T v) { _mm512_stream_si512(static_cast<__m512i*>(p), v); }
    static T zero() { return _mm512_setzero_si512(); }
    static T set16(short v) { return _mm512_set1_epi16(v); }
    static T lo8(T a, T b) { return _mm512_unpacklo_epi8(a, b); }
    static T hi8(T a, T b) { return _mm512_unpackhi_epi8(a, b); }
    static T mul16(T a, T b) { return _mm512_mullo_epi16(a, b); }
    static T add16(T a, T b) { return _mm512_add_epi16(a, b); }
    static T sub16(T a, T b) { return _mm512_sub_epi16(a, b); }
    static T pack(T a, T b) { return _mm512_packus_epi16(a, b); }
    static T addsat8(T a, T b) { return _mm512_adds_epu8(a, b); }
    static T mulhi16(T a, T b) { return _mm512_mulhi_epu16(a, b); }
    static T alphas(T px) {
        const T spread = _mm512_broadcast_i32x4(_mm_setr_epi8(3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15));
        return _mm512_shuffle_epi8(px, spread);
    }
    // ~x with the three-input logic op on x's own register: the op also reads its destination,
    // and the compiler's choice of a stale one would chain every step to the one before.
    static T complement(T x) {
        __asm__("vpternlogd $0x55, %0, %0, %0" : "+v"(x));
        return x;
    }
    template <int base, int div>
    static W weights(T m, T mi) {
        return {_mm512_permutex2var_epi8(m, _mm512_load_si512(kWeights<base, div, false>.b), mi),
                _mm512_permutex2var_epi8(m, _mm512_load_si512(kWeights<base, div, true>.b), mi)};
    }
    // The masks of 64 pixels: 0 or 255 when all are that value, else -1 and the weights of the
    // u output vectors they govern (byte p of vector j takes mask (64 * j + p) / u), all from
    // the one load.
    template <int u>
    static int blockMasks(const uint8_t* m, W* w) {
        const T x = load(m), xi = complement(x);
        if (!_mm512_test_epi8_mask(x, x)) return 0;
        if (!_mm512_test_epi8_mask(xi, xi)) return 255;
        w[0] = weights<0, u>(x, xi);
        if constexpr (u > 1) w[1] = weights<64, u>(x, xi);
        if constexpr (u > 2) w[2] = weights<128, u>(x, xi);
        if constexpr (u > 3) w[3] = weights<192, u>(x, xi);
        return -1;
    }
};
#endif

// round(x / 255) per 16-bit lane for x up to 255*255: with t = x + 128 this is the exact
// (t + (t >> 8)) >> 8, and that equals (t * 257) >> 16 (t + (t >> 8) never carries into the
// bits the shift drops), so one multiply-high does it.
template <class V>
typename V::T div255(typename V::T x) {
    return V::mulhi16(V::add16(x, V::set16(128)), V::set16(257));
}

// (f*m + b*(255-m) + 127) / 255 per byte. The sum of the products never exceeds 255*255, so
// unsigned 16-bit lanes hold it.
template <class V>
typename V::T mix(typename V::T f, typename V::T b, typename V::W m, const typename V::Consts&) {
    using T = typename V::T;
    const T z = V::zero(), full = V::set16(255);
    T mlo = V::lo8(m, z), mhi = V::hi8(m, z);
    T lo = V::add16(V::mul16(V::lo8(f, z), mlo), V::mul16(V::lo8(b, z), V::sub16(full, mlo)));
    T hi = V::add16(V::mul16(V::hi8(f, z), mhi), V::mul16(V::hi8(b, z), V::sub16(full, mhi)));
    return V::pack(div255<V>(lo), div255<V>(hi));
}

// The same with one multiply-add per half: weights (m, 255-m) as unsigned bytes against the
// pixels shifted to signed (f-128, b-128). The pair sum is f*m + b*(255-m) - 255*128, which
// lies in [-32640, 32385] and never saturates; adding 255*128 + 128 = 0x8000 back gives the t
// of div255, which then needs only its multiply.
#if defined(__AVX2__) && !defined(__AVX512VBMI__)  // the AVX-512 unit needs only its own
template <>
__m256i mix<V256>(__m256i f, __m256i b, __m256i m, const V256::Consts&) {
    const __m256i sign = _mm256_set1_epi8(char(0x80)), bias = _mm256_set1_epi16(short(0x8000)),
                  by257 = _mm256_set1_epi16(257);
    f = _mm256_xor_si256(f, sign);
    b = _mm256_xor_si256(b, sign);
    __m256i mi = _mm256_xor_si256(m, _mm256_set1_epi8(char(0xFF)));
    __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(m, mi), _mm256_unpacklo_epi8(f, b));
    __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(m, mi), _mm256_unpackhi_epi8(f, b));
    lo = _mm256_mulhi_epu16(_mm256_xor_si256(lo, bias), by257);
    hi = _mm256_mulhi_epu16(_mm256_xor_si256(hi, bias), by257);
    return _mm256_packus_epi16(lo, hi);
}
#endif

#ifdef __AVX512VBMI__
// The same on 64 bytes, with the weight pairs already made by the mask permutes.
template <>
__m512i mix<V512>(__m512i f, __m512i b, V512::W w, const V512::Consts& k) {
    f = _mm512_xor_si512(f, k.sign);
    b = _mm512_xor_si512(b, k.sign);
    __m512i lo = _mm512_maddubs_epi16(w.lo, _mm512_unpacklo_epi8(f, b));
    __m512i hi = _mm512_maddubs_epi16(w.hi, _mm512_unpackhi_epi8(f, b));
    lo = _mm512_mulhi_epu16(_mm512_xor_si512(lo, k.bias), k.by257);
    hi = _mm512_mulhi_epu16(_mm512_xor_si512(hi, k.bias), k.by257);
    return _mm512_packus_epi16(lo, hi);
}
#endif

// Stores one vector: past the cache (to a 64-byte-aligned address) when the output is too large
// to stay there, so no line is read only to be overwritten.
template <class V, bool stream>
void put(uint8_t* o, typename V::T v) {
    if (stream)
        V::stream(o, v);
    else
        V::store(o, v);
}

// Whether the mixes of a streamed kernel are streamed too. Not on the 16-byte path: its slower
// steps leave the four streamed parts of a line apart long enough for the processor to write
// them out separately, which costs more than it saves (measured); its copies stream well.
template <class V>
constexpr bool kStreamsMixes = V::kBytes >= 32;

// A block of V::kBytes pixels, u vectors of output: a copy of the one source a uniform mask run
// selects (nothing at all when the merge is in place over it, as callers' merges are), else the
// mix of every vector. Shapes' masks are mostly such runs; a random one never is, and one test
// per block rather than per vector keeps that case close to the arithmetic alone.
template <class V, bool stream, int u>
size_t maskedKernel(uint8_t* o, const uint8_t* b, const uint8_t* m, const uint8_t* f, size_t n) {
    constexpr size_t w = V::kBytes;
    const auto c = V::consts();
    size_t i = 0;
    for (; i + w <= n; i += w) {
        const size_t k = u * i;
        typename V::W weights[u];
        if (int uniform = V::template blockMasks<u>(m + i, weights); uniform >= 0) {
            const uint8_t* src = uniform ? f + k : b + k;
            if (src != o + k)
                for (size_t j = 0; j < u * w; j += w) put<V, stream>(o + k + j, V::load(src + j));
            continue;
        }
        for (size_t j = 0; j < u * w; j += w)
            put<V, stream && kStreamsMixes<V>>(o + k + j, mix<V>(V::load(f + k + j), V::load(b + k + j), weights[j / w], c));
    }
    return i;
}

// fore + (back*(255-a) + 127) / 255 per byte with unsigned saturation, a = the pixel's alpha.
template <class V, bool stream>
size_t premultipliedKernel4(uint8_t* o, const uint8_t* b, const uint8_t* f, size_t n) {
    using T = typename V::T;
    constexpr size_t step = V::kBytes / 4;
    const T z = V::zero(), ones = V::set16(-1);
    size_t i = 0;
    for (; i + step <= n; i += step) {
        size_t k = 4 * i;
        T fv = V::load(f + k), bv = V::load(b + k);
        T inv = V::sub16(ones, V::alphas(fv));  // 255 - a in every byte: no borrows cross bytes
        T lo = div255<V>(V::mul16(V::lo8(bv, z), V::lo8(inv, z)));
        T hi = div255<V>(V::mul16(V::hi8(bv, z), V::hi8(inv, z)));
        put<V, stream>(o + k, V::addsat8(fv, V::pack(lo, hi)));
    }
    return i;
}

// The table of one path: ordinary stores, and stores past the cache for large outputs.
template <class V>
MergeKernels kernelsFor() {
    return {{maskedKernel<V, false, 1>, maskedKernel<V, false, 2>, maskedKernel<V, false, 3>, maskedKernel<V, false, 4>},
            {maskedKernel<V, true, 1>, maskedKernel<V, true, 2>, maskedKernel<V, true, 3>, maskedKernel<V, true, 4>},
            premultipliedKernel4<V, false>,
            kStreamsMixes<V> ? premultipliedKernel4<V, true> : nullptr};
}

}  // namespace
}  // namespace q32
