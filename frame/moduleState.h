// Module-wide values set at attach, read by the rest of the library.
#pragma once
#include <windows.h>

namespace qmod {
HINSTANCE instance();        // this module
HMODULE imageBlendLibrary(); // "Msimg32.dll", or null when it could not be loaded

typedef BOOL(WINAPI* AlphaBlendFn)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
typedef BOOL(WINAPI* TransparentBltFn)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// An entry point of the image-blending library, or null. Looked up at each use: the library
// handle is the module's, not the caller's to keep.
template <class Fn>
Fn imageBlendEntry(const char* name) {
    HMODULE lib = imageBlendLibrary();
    return lib ? (Fn)(void*)GetProcAddress(lib, name) : nullptr;
}
}
