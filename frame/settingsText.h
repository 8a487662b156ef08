// The number lists of the string table and the settings files ("0x808080,0xFFFFFF", "2,20,7"),
// read the way a "%x,%x,..." or "%d,%d,..." scanf format reads them, but without the C runtime's
// undefined results for numbers that do not fit and the same on every platform.
#pragma once
#include <cstdint>

namespace qmod {

// Reads up to count comma-separated numbers from a NUL-terminated text into out, in order. Before
// each number blanks are skipped and a sign is allowed; a hexadecimal number may carry a 0x
// prefix. A comma must follow its number directly. Reading stops at the first field that does not
// parse; the fields after it keep their values. Returns the number of fields stored (0 for a null
// text). Numbers stop at the ends of their 32-bit range; a minus before a hexadecimal number
// negates it modulo 2^32.
int scanHexList(const wchar_t* text, uint32_t* out, int count);
int scanIntList(const wchar_t* text, int32_t* out, int count);

}  // namespace qmod
