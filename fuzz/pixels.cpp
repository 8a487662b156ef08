// The pixel kernels with arbitrary sizes, offsets and strides: every merge path must give the
// scalar rule's bytes, and nothing may touch memory outside the exact-size blocks. Also the block
// arithmetic of the buffers and the display with any placement and row length.
#include "fuzzinput.h"
#include "pixelOps.h"
#include "pixelWiden.h"
#include "blocks.h"
#include "drawing/rowblend.h"
#include <algorithm>

using Bytes = std::vector<uint8_t>;

namespace {

// A block of n bytes at an offset into an allocation that ends exactly with it.
struct Block {
    Bytes storage;
    size_t off;
    Block(const Bytes& content, size_t offset) : storage(offset + content.size()), off(offset) {
        std::copy(content.begin(), content.end(), storage.begin() + offset);
    }
    uint8_t* p() { return storage.data() + off; }
};

const q32::MergeKernels* vectorPaths[3];

void merge(qfuzz::Input& in) {
    const int u = in.range(1, 4);
    const size_t n = size_t(in.range(0, 300)), off = size_t(in.range(0, 31));
    const int inPlace = in.range(0, 2);  // 0 separate, 1 over back, 2 over fore
    const bool masked = u != 4 || in.range(0, 1);
    const size_t streamFrom = in.range(0, 1) ? 0 : q32::kStreamBytes;  // 0: stores past the cache at any size
    Bytes back = in.bytes(n * u), fore = in.bytes(n * u + 7);
    fore.resize(n * u);
    Bytes mask = in.bytes(n);
    Bytes expect(n * u);
    if (masked)
        q32::mergeMasked(q32::scalarKernels(), expect.data(), back.data(), mask.data(), fore.data(), u, n);
    else
        q32::mergePremultiplied(q32::scalarKernels(), expect.data(), back.data(), fore.data(), n);
    for (const q32::MergeKernels* k : vectorPaths) {
        if (!k) continue;
        Block b(back, off), f(fore, 31 - off), m(mask, off / 2), o(Bytes(n * u), off % 5);
        uint8_t* out = inPlace == 1 ? b.p() : inPlace == 2 ? f.p() : o.p();
        if (masked)
            q32::mergeMasked(*k, out, b.p(), m.p(), f.p(), u, n, streamFrom);
        else
            q32::mergePremultiplied(*k, out, b.p(), f.p(), n, streamFrom);
        QFUZZ_CHECK(std::equal(expect.begin(), expect.end(), out));
    }
}

void fillAndWiden(qfuzz::Input& in) {
    const int u = in.range(1, 4);
    const size_t n = size_t(in.range(0, 500)), off = size_t(in.range(0, 15));
    const uint32_t value = in.take<uint32_t>();
    Block dst(Bytes(n * u), off);
    q32::fill(dst.p(), reinterpret_cast<const uint8_t*>(&value), u, n);
    for (size_t i = 0; i < n * u; ++i) QFUZZ_CHECK(dst.p()[i] == reinterpret_cast<const uint8_t*>(&value)[i % u]);

    Block src(in.bytes(3 * n), off), a(Bytes(4 * n), 0), b(Bytes(4 * n), off);
    q32::widenScalar(a.p(), src.p(), n);
    if (q32::cpuHasSsse3()) {
        q32::widenSsse3(b.p(), src.p(), n);
        QFUZZ_CHECK(std::equal(a.storage.begin(), a.storage.end(), b.p()));
    }
}

// Rows of 24-bit pixels with their own strides, blended by a ratio and/or a mask.
void blendRows(qfuzz::Input& in) {
    const int w = in.range(0, 64), h = in.range(1, 8);
    const size_t dstStride = 3 * size_t(w) + in.range(0, 5), srcStride = 3 * size_t(w) + in.range(0, 5);
    const int mode = in.range(0, 3);
    int num = in.take<int32_t>(), den = in.take<int32_t>();
    Bytes dst = in.bytes(dstStride * (h - 1) + 3 * w), src = in.bytes(srcStride * (h - 1) + 3 * w);
    Bytes mask = in.bytes(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        qdraw::blendRow24(dst.data() + y * dstStride, src.data() + y * srcStride,
                          mode & 1 ? mask.data() + size_t(y) * w : nullptr, w, mode & 2 ? &num : nullptr,
                          mode & 2 ? &den : nullptr);
}

// A buffer's block taken out and put back (buf32GetMem / buf32MergeMem), and the part of a
// caller's block a display copies (disp32ShowData).
void blocks(qfuzz::Input& in) {
    const int W = in.range(1, 40), H = in.range(1, 40), u = in.range(1, 4);
    const int x = in.take<int32_t>() % 48, y = in.take<int32_t>() % 48;
    const int w = in.take<int32_t>() % 48, h = in.take<int32_t>() % 48;
    Bytes buffer = in.bytes(q32::blockBytes(W, H, u));
    if (q32::blockInside(x, y, w, h, W, H)) {
        const size_t row = size_t(W) * u, part = size_t(w) * u;
        Bytes block(part * h), before = buffer;
        q32::copyRows(block.data(), part, buffer.data() + y * row + size_t(x) * u, row, part, h);
        q32::copyRows(buffer.data() + y * row + size_t(x) * u, row, block.data(), part, part, h);
        QFUZZ_CHECK(buffer == before);
    }
    const int rows = in.range(1, 40), bytesPerRow = in.range(1, 200), x0 = in.range(-2, 60), y0 = in.range(-2, 40);
    Bytes shown = in.bytes(size_t(rows) * bytesPerRow);
    const size_t stride = (size_t(W) * u + 3) & ~size_t(3);
    Bytes area(stride * H);
    q32::ShownPart p;
    if (q32::shownPart(W, H, u, x0, y0, rows, bytesPerRow, p)) {
        QFUZZ_CHECK(p.w > 0 && p.h > 0 && p.w <= W && p.h <= H);
        q32::copyRows(area.data(), stride, shown.data() + p.offset, size_t(bytesPerRow), size_t(p.w) * u, p.h);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        vectorPaths[0] = &q32::sse2Kernels();
        vectorPaths[1] = q32::cpuHasAvx2() ? &q32::avx2Kernels() : nullptr;
        vectorPaths[2] = q32::cpuHasAvx512() ? &q32::avx512Kernels() : nullptr;
        if (!vectorPaths[1]) std::fprintf(stderr, "note: no AVX2 on this processor, its path is not fuzzed\n");
        if (!vectorPaths[2]) std::fprintf(stderr, "note: no AVX-512 on this processor, its path is not fuzzed\n");
        return true;
    }();
    (void)ready;
    qfuzz::Input in(data, size);
    switch (in.range(0, 3)) {
        case 0: merge(in); break;
        case 1: fillAndWiden(in); break;
        case 2: blendRows(in); break;
        default: blocks(in); break;
    }
    return 0;
}
