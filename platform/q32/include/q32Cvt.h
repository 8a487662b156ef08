/* Pixel-buffer library, conversion part: buffers to and from bitmaps and packed DIBs.
 *
 * A packed DIB is a movable global memory block: a 40-byte BITMAPINFOHEADER, the colour table
 * when the bit count is 8 or less, then the bits. Blocks made here have no colour table
 * (24 or 32 bits) and a negative height: top-down rows, the buffer's own order.
 */
#pragma once
#include "q32Base.h"

#ifdef __cplusplus
extern "C" {
#endif

Q32_API int cvt32DDBToBuf(HBITMAP bitmap, void** out, int reserved);
Q32_API int cvt32DIBPtrToBuf(const void* packedDib, void** out, HGDIOBJ* extra, int* ignored, int reserved);
Q32_API int cvt32BufToDDB(void* buf, HBITMAP* out, int reserved);
Q32_API int cvt32BufToDIB(void* buf, HGLOBAL* out, int reserved1, int reserved2);
Q32_API int cvt32DDBToDIB(HBITMAP bitmap, HGLOBAL* out, int reserved);

#ifdef __cplusplus
}
#endif
