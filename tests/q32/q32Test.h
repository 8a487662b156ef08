// Helpers shared by the pixel-buffer tests.
#pragma once
#include <windows.h>
#include <vector>

namespace q32test {

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

// A distinct byte for every (x, y, channel).
inline BYTE pattern(int x, int y, int c) { return BYTE(x * 7 + y * 31 + c * 73 + 1); }

// A buffer's pixels, top-down rows of w*u bytes.
inline std::vector<BYTE> pixelsOf(void* buf) {
    int w = 0, h = 0, u = 0;
    void* px = nullptr;
    if (!buf32GetWHU(buf, &w, &h, &u) || !buf32Lock(buf, 4, &px)) return {};
    std::vector<BYTE> v(static_cast<BYTE*>(px), static_cast<BYTE*>(px) + size_t(w) * h * u);
    buf32Unlock(buf);
    return v;
}

}  // namespace q32test
