// Loading bitmaps and icons from image files (through GDI+) and resources, GDI+ start-up
// references, and two bitmap utilities. Every returned bitmap or icon belongs to the caller.
#pragma once
#include "qTrimUIDef.h"

class CBitmap;

// A GDI+ start-up reference for the guard's life; GDI+ starts with the first and stops with the last.
class QTRIMUI_API CGDIPlusStartup {
public:
    explicit CGDIPlusStartup(long* result = nullptr);
    ~CGDIPlusStartup();
    CGDIPlusStartup(CGDIPlusStartup const&) = delete;
    CGDIPlusStartup& operator=(CGDIPlusStartup const&) = delete;
};

// 32-bit DIB section (premultiplied alpha) decoded by GDI+, or null.
QTRIMUI_API HBITMAP gfnGDIPlusLoadBitmap(const wchar_t* path);
// DIB section in the file's own pixel format (16, 24, 32 or 8 bits with palette), or null.
QTRIMUI_API HBITMAP gfnGDIPlusLoadBitmapDIB(const wchar_t* path);
// Hands the caller a start-up reference (keeps GDI+ up across many loads); HRESULT.
QTRIMUI_API long gfnGDIPlusLock(void** handle);
QTRIMUI_API long gfnGDIPlusUnlock(void** handle);

QTRIMUI_API HBITMAP gfnLoadBitmap(HINSTANCE instance, UINT id);
QTRIMUI_API int gfnLoadBitmap(HINSTANCE instance, CBitmap* bitmap, UINT id);
QTRIMUI_API HBITMAP gfnLoadBitmap(const wchar_t* path);
// dir + file joined without a separator; a null dir means the program bitmap path.
QTRIMUI_API HBITMAP gfnLoadBitmap(const wchar_t* dir, const wchar_t* file);
QTRIMUI_API HBITMAP gfnLoadBitmapDIB(HINSTANCE instance, UINT id);
QTRIMUI_API HBITMAP gfnLoadBitmapDIB(const wchar_t* path);
QTRIMUI_API HBITMAP gfnLoadBitmapDIB(const wchar_t* dir, const wchar_t* file);
QTRIMUI_API HICON gfnLoadIcon(const wchar_t* dir, const wchar_t* file);

QTRIMUI_API int gfnGetBitmapSize(HBITMAP bitmap, SIZE* size);
// New device-dependent bitmap holding rect of source.
QTRIMUI_API HBITMAP gfnCutBitmap(HBITMAP source, RECT* rect);
