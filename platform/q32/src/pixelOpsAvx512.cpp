// The merge kernels for AVX-512 (byte and byte-permute extensions), built for them; only reached
// after the run-time check.
#include "pixelOps.h"
#include "pixelKernels.h"

namespace q32 {

const MergeKernels& avx512Kernels() {
    static const MergeKernels k = kernelsFor<V512>();
    return k;
}

}  // namespace q32
