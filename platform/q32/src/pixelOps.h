// Pixel loops behind mem32Fill and i32Merge: the scalar rule plus SIMD paths chosen once per
// process (AVX2 when the processor and system support it, SSE2 otherwise).
#pragma once
#include <cstddef>
#include <cstdint>

namespace q32 {

using MaskedKernel = size_t (*)(uint8_t* out, const uint8_t* back, const uint8_t* mask, const uint8_t* fore,
                                size_t count);
using PremultipliedKernel = size_t (*)(uint8_t* out, const uint8_t* back, const uint8_t* fore, size_t count);

// Vector parts of the merge for one instruction set; masked[u - 1] serves u-byte pixels.
struct MergeKernels {
    MaskedKernel masked[4];
    PremultipliedKernel premultiplied4;
};

const MergeKernels& avx2Kernels();  // call only when the processor has AVX2
const MergeKernels& sse2Kernels();
const MergeKernels& scalarKernels();  // no vector part: the scalar rule does every pixel
bool cpuHasAvx2();

void fill(uint8_t* dst, const uint8_t* value, int u, size_t count);
void mergeMasked(uint8_t* out, const uint8_t* back, const uint8_t* mask, const uint8_t* fore, int u, size_t count);
void mergePremultiplied(uint8_t* out, const uint8_t* back, const uint8_t* fore, size_t count);
// The same through one named path, for the native tests that check every path on one machine.
void mergeMasked(const MergeKernels& k, uint8_t* out, const uint8_t* back, const uint8_t* mask, const uint8_t* fore,
                 int u, size_t count);
void mergePremultiplied(const MergeKernels& k, uint8_t* out, const uint8_t* back, const uint8_t* fore, size_t count);

}  // namespace q32
