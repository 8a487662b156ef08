// 3-byte pixels widened to opaque 4-byte ones: the scalar rule and an SSSE3 path chosen once per
// process (GDI's own 24-to-32-bit path is several times slower than this).
#pragma once
#include <cstddef>
#include <cstdint>

namespace q32 {

void widen(uint8_t* dst, const uint8_t* src, size_t n);
// The paths by name, for the native tests; widenSsse3 only where the processor has SSSE3.
void widenScalar(uint8_t* dst, const uint8_t* src, size_t n);
void widenSsse3(uint8_t* dst, const uint8_t* src, size_t n);
bool cpuHasSsse3();

}  // namespace q32
