// Pixel-buffer library throughput, as a ratio to memcpy of the same number of output bytes
// (above 1 = faster than copying them). Masks are random bytes unless named otherwise, the
// worst case for the merge. Q32_SIMD=sse2 in the environment measures the baseline path.
#include "bench/bench.h"
#include "platform/q32/include/q32Cvt.h"
#include "platform/q32/src/pixelOps.h"
#include <emmintrin.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {
const int kW = 1920, kH = 1080;

// Keeps the compiler from dropping stores nobody reads.
inline void escape(void* p) { __asm__ volatile("" : : "g"(p) : "memory"); }

std::vector<uint8_t> noise(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = uint8_t(rng());
    return v;
}

// The machine is shared: the best of several short runs is the steadiest figure.
template <class F>
double bestTime(F&& fn) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) best = std::min(best, benchTime(fn, 0.08));
    return best;
}

double memcpySeconds(size_t bytes) {
    static std::vector<uint8_t> src, dst;
    src.assign(bytes, 1);
    dst.assign(bytes, 0);
    return bestTime([&] {
        std::memcpy(dst.data(), src.data(), bytes);
        escape(dst.data());
    });
}

void report(const char* what, size_t bytes, double seconds, double copySeconds) {
    char label[128];
    std::snprintf(label, sizeof label, "%s  %6.2f GB/s", what, bytes / seconds / 1e9);
    benchReport(label, copySeconds / seconds, "x memcpy");
}

// A frame-sized mask the way shapes make them: a filled disc (255), the outside (0), and an
// anti-aliased rim of in-between values.
std::vector<uint8_t> discMask() {
    std::vector<uint8_t> m(size_t(kW) * kH);
    const double r = kH * 0.45;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            double d = r - std::hypot(x - kW / 2.0, y - kH / 2.0);
            m[size_t(y) * kW + x] = uint8_t(d >= 1 ? 255 : d <= 0 ? 0 : d * 255);
        }
    return m;
}

enum class Mask { none, random, disc, clear, opaque, floor };

// The memory traffic of a masked merge without its arithmetic: back, fore and mask read, out
// written with the kind of store the library uses for this size (the SSE2 path stores its mixes
// the ordinary way): what a merge cannot do with less.
void trafficFloor(uint8_t* out, const uint8_t* back, const uint8_t* mask, const uint8_t* fore, int u, size_t pixels) {
    static const bool sse2 = std::getenv("Q32_SIMD") && std::strcmp(std::getenv("Q32_SIMD"), "sse2") == 0;
    const bool stream = !sse2 && pixels * u >= q32::kStreamBytes && reinterpret_cast<uintptr_t>(out) % 16 == 0;
    const size_t bytes = pixels * u;
    __m128i m = _mm_setzero_si128();
    for (size_t k = 0, next = 0; k + 64 <= bytes; k += 64) {
        for (; next * u <= k && next + 16 <= pixels; next += 16)
            m = _mm_or_si128(m, _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + next)));
        for (size_t j = k; j < k + 64; j += 16) {
            __m128i v = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(back + j)),
                                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(fore + j)));
            v = _mm_or_si128(v, m);
            if (stream)
                _mm_stream_si128(reinterpret_cast<__m128i*>(out + j), v);
            else
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), v);
        }
    }
    _mm_sfence();
}

// One merge of a frame or row against memcpy of its output bytes, timed alternately call by call
// for a frame: each then starts from the caches the other left, as a merge in a real paint does.
// (Copying the same 8 MB again and again would run from a warm cache the merge's three inputs
// cannot share.) Rows are batched: they stay in the first-level cache either way.
double mergeRatio(int u, Mask kind, size_t pixels) {
    auto back = noise(pixels * u, 1), fore = noise(pixels * u, 2);
    std::vector<uint8_t> mask = kind == Mask::disc ? discMask() : noise(pixels, 3);
    if (kind == Mask::clear || kind == Mask::opaque) mask.assign(pixels, kind == Mask::clear ? 0 : 255);
    std::vector<uint8_t> out(pixels * u), src(pixels * u, 1), dst(pixels * u);
    const uint8_t* m = kind == Mask::none ? nullptr : mask.data();
    BenchPair t = benchPair(
        [&] {
            if (kind == Mask::floor)
                trafficFloor(out.data(), back.data(), m, fore.data(), u, pixels);
            else
                i32Merge(out.data(), back.data(), m, fore.data(), u, int(pixels), 1, 0);
            escape(out.data());
        },
        [&] {
            std::memcpy(dst.data(), src.data(), pixels * u);
            escape(dst.data());
        },
        0.8, pixels > 100000 ? 0 : 0.0005);
    return t.yardstick / t.subject;
}
}  // namespace

// Goals: a random mask at least 0.8 x memcpy of the same output bytes, uniform masks at memcpy speed.
BENCH(q32_merge) {
    const size_t frame = size_t(kW) * kH, row = kW;
    const char* unit = "x memcpy";
    benchGoal("i32Merge random mask U=4, 1920x1080", mergeRatio(4, Mask::random, frame), unit, false, 0.8);
    benchGoal("i32Merge random mask U=3, 1920x1080", mergeRatio(3, Mask::random, frame), unit, false, 0.8);
    benchReport("(memory floor of the U=4 merge: its reads and writes only)", mergeRatio(4, Mask::floor, frame), unit);
    benchReport("(memory floor of the U=3 merge: its reads and writes only)", mergeRatio(3, Mask::floor, frame), unit);
    benchGoal("i32Merge all-0 mask U=4, 1920x1080", mergeRatio(4, Mask::clear, frame), unit, false, 0.9);
    benchGoal("i32Merge all-255 mask U=4, 1920x1080", mergeRatio(4, Mask::opaque, frame), unit, false, 0.9);
    benchGoal("i32Merge all-255 mask U=3, 1920x1080", mergeRatio(3, Mask::opaque, frame), unit, false, 0.9);
    benchReport("i32Merge disc-shaped mask U=4, 1920x1080", mergeRatio(4, Mask::disc, frame), unit);
    benchReport("i32Merge disc-shaped mask U=3, 1920x1080", mergeRatio(3, Mask::disc, frame), unit);
    benchReport("i32Merge no mask U=4 (premultiplied), 1920x1080", mergeRatio(4, Mask::none, frame), unit);
    benchReport("i32Merge no mask U=3 (copy), 1920x1080", mergeRatio(3, Mask::none, frame), unit);
    benchReport("i32Merge random mask U=4, one 1920-pixel row", mergeRatio(4, Mask::random, row), unit);
    benchReport("i32Merge random mask U=3, one 1920-pixel row", mergeRatio(3, Mask::random, row), unit);
    benchReport("i32Merge no mask U=4, one 1920-pixel row", mergeRatio(4, Mask::none, row), unit);
}

BENCH(q32_fill) {
    const COLORREF colour = 0x00336699;
    for (size_t pixels : {size_t(kW) * kH, size_t(kW)})
        for (int u : {3, 4}) {
            std::vector<uint8_t> out(pixels * u);
            double t = bestTime([&] {
                mem32Fill(out.data(), &colour, u, int(pixels));
                escape(out.data());
            });
            char what[64];
            std::snprintf(what, sizeof what, "mem32Fill U=%d, %s", u, pixels == size_t(kW) ? "one row" : "1920x1080");
            report(what, pixels * u, t, memcpySeconds(pixels * u));
        }
}

BENCH(q32_convert) {
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, kW, kH);
    ReleaseDC(nullptr, screen);
    void* bufs[2] = {};
    for (int i = 0; i < 2; ++i) {
        const COLORREF grey = 0x00808080;
        buf32Alloc(&bufs[i], 24 + 8 * i, kW, kH, 1, &grey);
    }
    const size_t frame3 = size_t(kW) * kH * 3, frame4 = size_t(kW) * kH * 4;
    const double copy3 = memcpySeconds(frame3), copy4 = memcpySeconds(frame4);
    // Every conversion makes a new object; the caller's delete is part of its cost.
    report("cvt32DDBToBuf 32-bit DDB -> U=4, 1920x1080", frame4, bestTime([&] {
               void* b = nullptr;
               cvt32DDBToBuf(ddb, &b, 0);
               buf32Free(b);
           }), copy4);
    report("cvt32BufToDDB U=4, 1920x1080", frame4, bestTime([&] {
               HBITMAP bm = nullptr;
               cvt32BufToDDB(bufs[1], &bm, 0);
               DeleteObject(bm);
           }), copy4);
    report("cvt32BufToDDB U=3, 1920x1080", frame3, bestTime([&] {
               HBITMAP bm = nullptr;
               cvt32BufToDDB(bufs[0], &bm, 0);
               DeleteObject(bm);
           }), copy3);
    for (int i = 0; i < 2; ++i)
        report(i ? "cvt32BufToDIB U=4, 1920x1080" : "cvt32BufToDIB U=3, 1920x1080", i ? frame4 : frame3,
               bestTime([&] {
                   HGLOBAL g = nullptr;
                   cvt32BufToDIB(bufs[i], &g, 0, 0);
                   GlobalFree(g);
               }), i ? copy4 : copy3);
    report("cvt32DDBToDIB 32-bit DDB, 1920x1080", frame4, bestTime([&] {
               HGLOBAL g = nullptr;
               cvt32DDBToDIB(ddb, &g, 0);
               GlobalFree(g);
           }), copy4);
    std::vector<uint8_t> packed(sizeof(BITMAPINFOHEADER) + frame3, 0x40);  // 1920*3 needs no row padding
    BITMAPINFOHEADER hdr = {sizeof hdr, kW, kH, 1, 24, BI_RGB};
    std::memcpy(packed.data(), &hdr, sizeof hdr);
    report("cvt32DIBPtrToBuf 24-bit bottom-up, 1920x1080", frame3, bestTime([&] {
               void* b = nullptr;
               cvt32DIBPtrToBuf(packed.data(), &b, nullptr, nullptr, 0);
               buf32Free(b);
           }), copy3);
    // The same byte count copied into freshly allocated memory, as every conversion must do.
    report("(memcpy into a new 8 MB block, for comparison)", frame4, bestTime([&] {
               void* p = HeapAlloc(GetProcessHeap(), 0, frame4);
               void* src = nullptr;
               buf32Lock(bufs[1], 4, &src);
               std::memcpy(p, src, frame4);
               buf32Unlock(bufs[1]);
               escape(p);
               HeapFree(GetProcessHeap(), 0, p);
           }), copy4);
    for (void* b : bufs) buf32Free(b);
    DeleteObject(ddb);
}
