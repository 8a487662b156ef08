// Module-wide values set at attach, read by the rest of the library.
#pragma once
#include <windows.h>

namespace qmod {
HINSTANCE instance();        // this module
HMODULE imageBlendLibrary(); // "Msimg32.dll", or null when it could not be loaded
}
