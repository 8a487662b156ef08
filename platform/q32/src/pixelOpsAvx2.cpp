// The merge kernels for AVX2, built with -mavx2; only reached after the run-time check.
#include "pixelOps.h"
#include "pixelKernels.h"

namespace q32 {

const MergeKernels& avx2Kernels() {
    static const MergeKernels k = {
        {maskedKernel1<V256>, maskedKernel2<V256>, maskedKernel3<V256>, maskedKernel4<V256>},
        premultipliedKernel4<V256>};
    return k;
}

}  // namespace q32
