/* Pixel-buffer library, base part: buffers, memory blocks, merge and display.
 *
 * A buffer is an opaque handle holding width x height pixels of U bytes each (U = bits / 8,
 * 1..4; bits is always passed as U*8). Pixels are stored top-down, rows of exactly width*U
 * bytes, channel order B, G, R(, A) as in a Windows DIB. A pixel block is w x h pixels in rows
 * of exactly w*U bytes; a mask is one byte per pixel.
 *
 * Every call returns non-zero on success and 0 on failure; a failing call changes nothing and
 * allocates nothing. Calls that hand back a new object through an out-pointer set it to null
 * when they fail. Null pointers, sizes <= 0 and sizes whose pixel bytes exceed 2^31-1 fail.
 *
 * i32Merge rule, per pixel (one mask byte m per pixel), every byte rounded to nearest:
 *   with a mask:   out = (fore*m + back*(255-m) + 127) / 255 for every byte of the pixel,
 *                  so m = 0 gives back, m = 255 gives fore exactly;
 *   without mask:  U == 4: premultiplied source-over by the foreground's own alpha a:
 *                         out = min(255, fore + (back*(255-a) + 127) / 255) per byte, alpha
 *                         included (the min only matters when fore is not premultiplied);
 *                  otherwise the foreground is copied.
 */
#pragma once
#include <windows.h>

#ifdef Q32_BUILD
#define Q32_API __declspec(dllexport)
#else
#define Q32_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* mode 1: every pixel is the first U bytes at init (a 32-bit value, e.g. a COLORREF or a zero);
 * mode 2: pixels undefined, init ignored. Other modes fail. */
Q32_API int buf32Alloc(void** out, int bits, int width, int height, int mode, const void* init);
/* Null does nothing (and returns 0). A locked buffer may be freed. */
Q32_API int buf32Free(void* buf);
/* Any of the three out-pointers may be null. */
Q32_API int buf32GetWHU(void* buf, int* width, int* height, int* u);
/* The block (x, y, w, h) must lie wholly inside the buffer; no clipping: otherwise 0. */
Q32_API int buf32GetMem(void* buf, int x, int y, int w, int h, void* dst);
Q32_API int buf32MergeMem(void* buf, int x, int y, const void* src, int w, int h);
Q32_API int buf32GetBuf(void* buf, int x, int y, int w, int h, void** out);
/* access: 1 read, 2 write, 4 read and write (what callers pass). The pointer is the buffer's
 * own storage, valid until the buffer is freed; locks nest. Unlock of an unlocked buffer is
 * harmless and succeeds; it fails only for a null handle. */
Q32_API int buf32Lock(void* buf, int access, void** pixels);
Q32_API int buf32Unlock(void* buf);

/* count 0 succeeds and writes nothing; only the first U bytes at value are read. */
Q32_API int mem32Fill(void* dst, const void* value, int u, int count);
/* out may be the same block as back or as fore (not a partial overlap). back and fore need
 * not be distinct. The reserved arguments (callers pass 1, 0) are ignored. */
Q32_API int i32Merge(void* out, const void* back, const BYTE* mask, const void* fore, int u, int count,
                     int reserved1, int reserved0);

/* Display: disp32ShowInit prepares a pixel area the size of dest (bits 8 = grey levels, 24, 32);
 * disp32ShowData copies `rows` rows of bytesPerRow bytes (a multiple of U) to offset (x0, y0)
 * of that area (the block must lie inside it); disp32ShowEnd draws the bounding box of all
 * delivered blocks to the device context at dest's position, unscaled (pixels inside that box
 * that no block covered are black), and frees the display object, also when it fails. It
 * returns 0 when nothing was delivered or drawing failed. */
Q32_API int disp32ShowInit(void** out, HDC dc, int bits, const RECT* dest, void* reserved, int r1, int r2);
Q32_API int disp32ShowData(void* disp, const void* pixels, int x0, int y0, int rows, int bytesPerRow);
Q32_API int disp32ShowEnd(void* disp);

#ifdef __cplusplus
}
#endif
