// The blend of one run of 24-bit pixels (bytes B, G, R) into another by a constant ratio and/or a
// per-pixel 8-bit mask. Integer arithmetic, each division truncating.
#pragma once
#include <cstdint>

namespace qdraw {

inline unsigned char clampByte(int64_t v) { return (unsigned char)(v < 0 ? 0 : v > 255 ? 255 : v); }

// Blends count pixels of src into dst. With a ratio n / d a pure white source pixel is left out and
// the others contribute n / d (scaled by mask / 255 with a mask); without a ratio the mask weighs
// the source, and without either the source is copied. A ratio weight above 1 or below 0 can push
// results out of range: they are clamped to a byte.
inline void blendRow24(unsigned char* dst, const unsigned char* src, const unsigned char* mask, int count,
                       const int* ratioNum, const int* ratioDen) {
    if (ratioNum && ratioDen) {
        const int64_t n = *ratioNum, d = *ratioDen;
        if (d == 0) return;
        for (int i = 0; i < count; ++i, dst += 3, src += 3) {
            if (src[0] == 255 && src[1] == 255 && src[2] == 255) continue;
            if (mask) {
                const int64_t an = (int64_t)mask[i] * n, total = 255 * d;
                for (int k = 0; k < 3; ++k) dst[k] = clampByte((src[k] * an + dst[k] * (total - an)) / total);
            } else {
                for (int k = 0; k < 3; ++k) dst[k] = clampByte((src[k] * n + dst[k] * (d - n)) / d);
            }
        }
        return;
    }
    if (mask) {
        for (int i = 0; i < count; ++i, dst += 3, src += 3) {
            const int a = mask[i];
            for (int k = 0; k < 3; ++k) dst[k] = (unsigned char)((src[k] * a + dst[k] * (255 - a)) / 255);
        }
        return;
    }
    for (int i = 0; i < 3 * count; ++i) dst[i] = src[i];
}

}  // namespace qdraw
