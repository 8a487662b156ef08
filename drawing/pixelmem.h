// Plain pixel memory for the pixel-buffer calls: blocks of w x h pixels of u bytes, rows of w * u.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace qdraw {

// A block of w x h pixels of u bytes; empty (false) when the size is not positive or the memory
// can't be had. Never throws.
class PixelBlock {
public:
    PixelBlock(int w, int h, int u) {
        if (w <= 0 || h <= 0 || u <= 0) return;
        const uint64_t bytes = (uint64_t)w * (uint64_t)h * (uint64_t)u;
        if (bytes > (uint64_t)PTRDIFF_MAX) return;
        m_data.reset(new (std::nothrow) unsigned char[(size_t)bytes]);
    }
    unsigned char* data() const { return m_data.get(); }
    explicit operator bool() const { return m_data != nullptr; }

private:
    std::unique_ptr<unsigned char[]> m_data;
};

// Source extents of 0 reach to the image's edge, and extents that pass it are cut to it:
// extent becomes limit - origin when origin + extent passes limit (or reaches it, which is the same)
// or when extent is 0. The result may be zero or negative when origin is at or beyond the edge.
inline int clampExtent(int origin, int extent, int limit) {
    if (extent == 0 || (int64_t)origin + extent > limit) return (int)((int64_t)limit - origin);
    return extent;
}

}  // namespace qdraw
