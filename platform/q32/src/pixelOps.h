// Pixel loops behind mem32Fill and i32Merge: the scalar rule plus SIMD paths chosen once per
// process (the widest of AVX-512, AVX2 and SSE2 the processor and system support).
#pragma once
#include <cstddef>
#include <cstdint>

namespace q32 {

using MaskedKernel = size_t (*)(uint8_t* out, const uint8_t* back, const uint8_t* mask, const uint8_t* fore,
                                size_t count);
using PremultipliedKernel = size_t (*)(uint8_t* out, const uint8_t* back, const uint8_t* fore, size_t count);

// Vector parts of the merge for one instruction set; masked[u - 1] serves u-byte pixels. The
// streamed ones (null where a path has none) write past the cache and want an output aligned to
// 64 bytes.
struct MergeKernels {
    MaskedKernel masked[4], maskedStreamed[4];
    PremultipliedKernel premultiplied4, premultipliedStreamed4;
};

// Outputs of at least this many bytes are written past the cache: they would not stay there
// (a second-level cache is about this size), and each line stored the ordinary way is first
// read from memory only to be overwritten, a third more traffic for a merge.
constexpr size_t kStreamBytes = size_t(1) << 20;

const MergeKernels& avx512Kernels();  // call only when cpuHasAvx512()
const MergeKernels& avx2Kernels();    // call only when cpuHasAvx2()
const MergeKernels& sse2Kernels();
const MergeKernels& scalarKernels();  // no vector part: the scalar rule does every pixel
bool cpuHasAvx2();
bool cpuHasAvx512();  // with the byte and byte-permute extensions

void fill(uint8_t* dst, const uint8_t* value, int u, size_t count);
void mergeMasked(uint8_t* out, const uint8_t* back, const uint8_t* mask, const uint8_t* fore, int u, size_t count);
void mergePremultiplied(uint8_t* out, const uint8_t* back, const uint8_t* fore, size_t count);
// The same through one named path, for the native tests that check every path on one machine;
// streamFrom moves the output size from which stores go past the cache.
void mergeMasked(const MergeKernels& k, uint8_t* out, const uint8_t* back, const uint8_t* mask, const uint8_t* fore,
                 int u, size_t count, size_t streamFrom = kStreamBytes);
void mergePremultiplied(const MergeKernels& k, uint8_t* out, const uint8_t* back, const uint8_t* fore, size_t count,
                        size_t streamFrom = kStreamBytes);

}  // namespace q32
