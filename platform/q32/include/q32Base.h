/* Pixel-buffer library, base part: buffers, memory blocks, merge and display.
 *
 * A buffer is an opaque handle holding width x height pixels of U bytes each (U = bits / 8,
 * 1..4). Pixels are stored top-down, rows of exactly width*U bytes, channel order B, G, R(, A)
 * as in a Windows DIB. Every call returns non-zero on success and 0 on failure; a failing call
 * changes nothing and allocates nothing.
 *
 * i32Merge rule, per pixel (one mask byte m per pixel):
 *   with a mask:   out = (fore*m + back*(255-m) + 127) / 255 for every byte of the pixel;
 *   without mask:  U == 4: premultiplied source-over by the foreground's own alpha a:
 *                         out = fore + back*(255-a)/255 per byte (alpha included);
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

/* mode 1: every pixel is the first U bytes at init (a 32-bit value); mode 2: pixels undefined. */
Q32_API int buf32Alloc(void** out, int bits, int width, int height, int mode, const void* init);
Q32_API int buf32Free(void* buf);
Q32_API int buf32GetWHU(void* buf, int* width, int* height, int* u);
Q32_API int buf32GetMem(void* buf, int x, int y, int w, int h, void* dst);
Q32_API int buf32MergeMem(void* buf, int x, int y, const void* src, int w, int h);
Q32_API int buf32GetBuf(void* buf, int x, int y, int w, int h, void** out);
Q32_API int buf32Lock(void* buf, int access, void** pixels);
Q32_API int buf32Unlock(void* buf);

Q32_API int mem32Fill(void* dst, const void* value, int u, int count);
Q32_API int i32Merge(void* out, const void* back, const BYTE* mask, const void* fore, int u, int count,
                     int reserved1, int reserved0);

Q32_API int disp32ShowInit(void** out, HDC dc, int bits, const RECT* dest, void* reserved, int r1, int r2);
Q32_API int disp32ShowData(void* disp, const void* pixels, int x0, int y0, int rows, int bytesPerRow);
Q32_API int disp32ShowEnd(void* disp);

#ifdef __cplusplus
}
#endif
