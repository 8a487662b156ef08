// Helpers shared by the pixel-buffer tests.
#pragma once
#include "platform/q32/include/q32Base.h"
#include <vector>

namespace q32test {
using Bytes = std::vector<BYTE>;

// Busy blocks and bytes on the process heap, where the libraries keep buffers and displays.
struct HeapUse {
    size_t blocks = 0, bytes = 0;
    bool operator==(const HeapUse& o) const { return blocks == o.blocks && bytes == o.bytes; }
};
inline HeapUse heapUse() {
    HeapUse use;
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY e = {};
    while (HeapWalk(heap, &e))
        if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++use.blocks, use.bytes += e.cbData;
    HeapUnlock(heap);
    return use;
}

// A distinct byte for every (x, y, channel); the alpha channel is 255 - x.
inline BYTE pattern(int x, int y, int c) { return c == 3 ? BYTE(255 - x) : BYTE(x * 7 + y * 31 + c * 73 + 1); }

// pattern() as top-down rows of w*u bytes.
inline Bytes expected(int w, int h, int u) {
    Bytes v;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < u; ++c) v.push_back(pattern(x, y, c));
    return v;
}

inline Bytes pixelsOf(void* buf) {
    int w = 0, h = 0, u = 0;
    void* px = nullptr;
    if (!buf32GetWHU(buf, &w, &h, &u) || !buf32Lock(buf, 4, &px)) return {};
    Bytes v(static_cast<BYTE*>(px), static_cast<BYTE*>(px) + size_t(w) * h * u);
    buf32Unlock(buf);
    return v;
}

inline void* patternBuffer(int w, int h, int u) {
    void* buf = nullptr;
    Bytes px = expected(w, h, u);
    if (buf32Alloc(&buf, u * 8, w, h, 2, nullptr)) buf32MergeMem(buf, 0, 0, px.data(), w, h);
    return buf;
}

}  // namespace q32test
