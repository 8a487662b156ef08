// Windowing part of the framework stand-in.
#pragma once
#include "afx.h"

// Registers a window class; a class already registered under that name counts as success.
UIFW_API BOOL AfxRegisterClass(WNDCLASSW* lpWndClass);
