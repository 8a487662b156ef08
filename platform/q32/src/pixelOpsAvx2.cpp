// The merge kernels for AVX2, built with -mavx2; only reached after the run-time check.
#include "pixelOps.h"
#include "pixelKernels.h"

namespace q32 {

const MergeKernels& avx2Kernels() {
    static const MergeKernels k = kernelsFor<V256>();
    return k;
}

}  // namespace q32
