// The readers of the drag-and-drop payloads: a block from any program, of any size and content.
// Text ends at the first NUL inside the block or is refused, a thumbnail record is the block's own
// start and only when it fits, a reference is read only from a block of exactly its size and reads
// back what was written.
#include "fuzzinput.h"
#include "dragdrop/payload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Copied so the block ends exactly where the readers' memory ends.
    std::vector<uint8_t> block(data, data + size);
    const ptrdiff_t n = qdd::textLength(block.data(), block.size());
    QFUZZ_CHECK(n >= -1 && n < ptrdiff_t(size));
    if (n >= 0) QFUZZ_CHECK(block[n] == 0 && std::memchr(block.data(), 0, n) == nullptr);
    if (n < 0) QFUZZ_CHECK(size == 0 || std::memchr(block.data(), 0, size) == nullptr);

    const void* thumb = qdd::thumbRecord(block.data(), block.size());
    QFUZZ_CHECK(thumb ? thumb == block.data() && size >= qdd::kThumbRecordSize : size < qdd::kThumbRecordSize);

    qdd::ReferenceRecord r;
    const bool read = qdd::readReference(block.data(), block.size(), &r);
    QFUZZ_CHECK(read == (size == qdd::kReferenceSize));
    if (read) {
        uint8_t back[qdd::kReferenceSize];
        qdd::writeReference(back, r.identity, reinterpret_cast<const void*>(uintptr_t(r.address)),
                            reinterpret_cast<const void*>(uintptr_t(r.cleanup)));
        QFUZZ_CHECK(std::memcmp(back, block.data(), sizeof back) == 0);
    }
    return 0;
}
