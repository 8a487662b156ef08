// Payload layouts of the private formats.
#include "dragdrop/payload.h"
#include <cstring>

namespace qdd {

ptrdiff_t textLength(const void* block, size_t size) {
    if (!block || size == 0) return -1;
    const void* nul = std::memchr(block, 0, size);
    return nul ? static_cast<const char*>(nul) - static_cast<const char*>(block) : -1;
}

const void* thumbRecord(const void* block, size_t size) {
    return block && size >= kThumbRecordSize ? block : nullptr;
}

bool readReference(const void* block, size_t size, ReferenceRecord* out) {
    if (!block || !out || size != kReferenceSize) return false;
    std::memcpy(out, block, kReferenceSize);   // the block may sit at any alignment
    return true;
}

void writeReference(void* block, const void* identity, const void* address, const void* cleanup) {
    ReferenceRecord r;
    std::memcpy(r.identity, identity, kIdentitySize);
    r.address = reinterpret_cast<uintptr_t>(address);
    r.cleanup = reinterpret_cast<uintptr_t>(cleanup);
    std::memcpy(block, &r, kReferenceSize);
}

}  // namespace qdd
