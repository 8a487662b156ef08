/* Pixel-buffer library, conversion part: buffers to and from bitmaps and packed DIBs.
 *
 * A packed DIB is a BITMAPINFOHEADER (40 bytes or a larger version), the bit-field masks and
 * colour table its format needs, then the bits, rows padded to 4 bytes. Blocks made here are
 * movable global memory owned by the caller: a 40-byte header with biBitCount = U*8, BI_RGB,
 * biSizeImage set, a negative height (top-down rows, the buffer's own order), and the bits
 * directly after it (no colour table).
 *
 * Bytes per pixel of the buffers made here: 4 for 32-bit bitmaps, alpha bytes kept as they
 * are; 3 for every other depth (palette, 16-bit and 24-bit ones are expanded to BGR).
 * Buffers given to the conversions must have U = 3 or 4. Failures set the out-pointer to null
 * and leave no object behind.
 */
#pragma once
#include "q32Base.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A device-dependent bitmap or a DIB section (either row order); the bitmap stays the caller's.
 * It is read with GetDIBits, so it should not be selected into a device context. */
Q32_API int cvt32DDBToBuf(HBITMAP bitmap, void** out, int reserved);
/* packedDib: a packed DIB in memory (a locked bitmap resource): 1, 4, 8 bits with a colour table,
 * 16 and 32 bits BI_RGB or BI_BITFIELDS, 24 bits, RLE4/RLE8; either row order. 32-bit BGRA
 * layouts (BI_RGB, or BI_BITFIELDS with the masks 0xFF0000, 0xFF00, 0xFF) give U = 4 with their
 * alpha bytes; all others U = 3. *extra (may be a null pointer) is always set to null: no GDI
 * object outlives the call. *ignored is not touched. */
Q32_API int cvt32DIBPtrToBuf(const void* packedDib, void** out, HGDIOBJ* extra, int* ignored, int reserved);
/* A new bitmap compatible with the screen holding the buffer's pixels; the caller deletes it.
 * 3-byte pixels become opaque (alpha 255) where the bitmap has an alpha byte. */
Q32_API int cvt32BufToDDB(void* buf, HBITMAP* out, int reserved);
Q32_API int cvt32BufToDIB(void* buf, HGLOBAL* out, int reserved1, int reserved2);
Q32_API int cvt32DDBToDIB(HBITMAP bitmap, HGLOBAL* out, int reserved);

#ifdef __cplusplus
}
#endif
