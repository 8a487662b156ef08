// What a test can count from outside the library: live GDI objects and this thread's windows.
#pragma once
#include <windows.h>

// Live GDI objects of the process (DCs included). Wine finds a handle whose high word is 0 by its
// table index alone, so probing every index counts the live entries (GetGuiResources is a stub).
int liveGdiObjects();
// Windows of this thread, top-level and child.
int threadWindows();
