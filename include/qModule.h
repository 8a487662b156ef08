// Module-wide paths, settings lookup and display queries.
#pragma once
#include "qTrimUIDef.h"

// Replaces the directory every skin image is looked up in. The text must end with a backslash;
// null or 1024 characters and more change nothing.
QTRIMUI_API void gfnChangeProgramBitmapPath(wchar_t const* path);
// The module's bitmap path buffer (module directory + "bitmap\" unless changed).
QTRIMUI_API wchar_t const* gfnGetProgramBitmapPath(void);
// Reads section/key of "ImportDVDEx\ImportDVDUI.ini" beside the module; characters copied.
QTRIMUI_API unsigned long gfnGetqDVDUSerSetting(wchar_t const* section, wchar_t const* key,
                                                wchar_t* buffer, unsigned long size);
// 1 when the image-blending library was loaded at attach.
QTRIMUI_API int gfnIsGDIEXCanUse(void);
// Bits per pixel of the current display mode.
QTRIMUI_API int gfnGetDisplayColorBit(void);
