// Payload layouts of the private formats, as plain functions over (pointer, size). No Win32 here:
// the readers are what a block from anyone meets first, and they build and run natively too.
#pragma once
#include <cstddef>
#include <cstdint>

namespace qdd {

const size_t kThumbRecordSize = 104;   // one _TList_tag
const size_t kReferenceSize = 32;      // identity, address, clean-up
const size_t kIdentitySize = 16;       // a GUID in its in-memory layout

struct ReferenceRecord {
    unsigned char identity[kIdentitySize];
    uint64_t address;
    uint64_t cleanup;
};
static_assert(sizeof(ReferenceRecord) == kReferenceSize, "reference record layout");

// Length of the text before the first NUL, or -1 when the block holds no NUL at all (text that
// runs to the block's end is not trusted to end there).
ptrdiff_t textLength(const void* block, size_t size);

// The thumbnail record at the start of the block, or null when the block is too short for one.
const void* thumbRecord(const void* block, size_t size);

// Reads a reference record; false unless the block is exactly one record.
bool readReference(const void* block, size_t size, ReferenceRecord* out);

// Writes a record into a block of at least kReferenceSize bytes.
void writeReference(void* block, const void* identity, const void* address, const void* cleanup);

}  // namespace qdd
