// Pictures composed from a foreground image, an optional 8-bit mask and a background (a colour or
// a piece of a background bitmap), handed back as a pixel buffer (free it with buf32Free), a
// device-dependent bitmap (DeleteObject) or a packed DIB in global memory (GlobalFree, or give it
// to CqDrawDIB::fnSetDibBuf). The foreground sets the result's size and pixel format.
//
// All return 1 on success and 0 on failure, with the output null. A dir is joined with the file
// names without a separator; a null dir means the program bitmap path. The mask (a grey image)
// gives the weight of the foreground in each pixel; without one the foreground's own alpha is used.
#pragma once
#include "qTrimUIDef.h"

// ---- Single buffers ----------------------------------------------------------------------------
// (x, y, w, h) cut a piece out of the image; all 0 is the whole image, and a w or h of 0 reaches
// to the image's edge.

// A bitmap resource loaded as a device-dependent bitmap.
QTRIMUI_API int gfnCreateBufFromBitmapHandleDDB(HINSTANCE instance, UINT id, void** out, int x, int y, int w,
                                                int h);
// An image file through GDI+.
QTRIMUI_API int gfnCreateBufFromBitmapHandleDDB(const wchar_t* dir, const wchar_t* file, void** out, int x,
                                                int y, int w, int h);
// A bitmap resource read as the packed DIB it is stored as.
QTRIMUI_API int gfnCreateBufFromBitmapHandleDIB(HINSTANCE instance, UINT id, void** out, int x, int y, int w,
                                                int h);
QTRIMUI_API int gfnCreateBufFromBitmapHandleDIB(const wchar_t* dir, const wchar_t* file, void** out, int x,
                                                int y, int w, int h);

// ---- Merged buffers ----------------------------------------------------------------------------
// Background pieces (x, y, w, h) are tiled over the whole result; w or h 0 reaches to the
// background's edge.

// Three handles, all required; the background piece is (x, y) with the foreground's size.
QTRIMUI_API int gfnCreateMergedBuffer(void** out, HBITMAP back, HBITMAP image, HBITMAP mask, int x, int y);
// Over a colour; idMask 0 or a null mask means no mask.
QTRIMUI_API int gfnCreateMergedBuffer(void** out, HINSTANCE instance, UINT idImage, UINT idMask, COLORREF colour);
QTRIMUI_API int gfnCreateMergedBuffer(void** out, const wchar_t* dir, const wchar_t* image, const wchar_t* mask,
                                      COLORREF colour);
// Over a piece of an optional background bitmap (none: zero pixels).
QTRIMUI_API int gfnCreateMergedBuffer(void** out, HINSTANCE instance, HBITMAP back, UINT idImage, UINT idMask,
                                      int x, int y, int w, int h);
QTRIMUI_API int gfnCreateMergedBuffer(void** out, const wchar_t* dir, HBITMAP back, const wchar_t* image,
                                      const wchar_t* mask, int x, int y, int w, int h);
// The background loaded from a resource or a file too.
QTRIMUI_API int gfnCreateMergedBuffer(void** out, HINSTANCE instance, UINT idBack, UINT idImage, UINT idMask,
                                      int x, int y, int w, int h);
QTRIMUI_API int gfnCreateMergedBuffer(void** out, const wchar_t* dir, const wchar_t* back, const wchar_t* image,
                                      const wchar_t* mask, int x, int y, int w, int h);
// Two heads: the left half of the result tiled from the piece (x, y, w, h), the right half from the
// same-sized piece at the far end of the background (its right end when the background is wider
// than high, else its bottom end).
QTRIMUI_API int gfnCreateMergedBufferTwoHead(void** out, const wchar_t* dir, HBITMAP back, const wchar_t* image,
                                             const wchar_t* mask, int x, int y, int w, int h);

// ---- Merged bitmaps ----------------------------------------------------------------------------

// asDIB non-zero: *out is a packed DIB (HGLOBAL); 0: an HBITMAP.
QTRIMUI_API int gfnCreateMergedBitmap(int asDIB, void** out, HINSTANCE instance, UINT idImage, UINT idMask,
                                      COLORREF colour);
QTRIMUI_API int gfnCreateMergedBitmap(HBITMAP* out, HINSTANCE instance, HBITMAP back, UINT idImage, UINT idMask,
                                      int x, int y, int w, int h);
QTRIMUI_API int gfnCreateMergedBitmap(HBITMAP* out, const wchar_t* dir, HBITMAP back, const wchar_t* image,
                                      const wchar_t* mask, int x, int y, int w, int h);
QTRIMUI_API int gfnCreateMergedBitmapDIB(void** out, HINSTANCE instance, HBITMAP back, UINT idImage, UINT idMask,
                                         int x, int y, int w, int h);
QTRIMUI_API int gfnCreateMergedBitmapDIB(void** out, const wchar_t* dir, HBITMAP back, const wchar_t* image,
                                         const wchar_t* mask, int x, int y, int w, int h);
QTRIMUI_API int gfnCreateMergedBitmapByID(HBITMAP* out, HINSTANCE instance, UINT idBack, UINT idImage,
                                          UINT idMask, int x, int y, int w, int h);
QTRIMUI_API int gfnCreateMergedBitmapByFile(HBITMAP* out, const wchar_t* dir, const wchar_t* back,
                                            const wchar_t* image, const wchar_t* mask, int x, int y, int w, int h);
QTRIMUI_API int gfnCreateMergedBitmapTwoHead(HBITMAP* out, const wchar_t* dir, HBITMAP back, const wchar_t* image,
                                             const wchar_t* mask, int x, int y, int w, int h);
