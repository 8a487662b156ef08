// Export macro and common includes of the library's headers.
#pragma once
#include <afxwin.h>

#ifdef QTRIMUI_BUILD
#define QTRIMUI_API __declspec(dllexport)
#else
#define QTRIMUI_API __declspec(dllimport)
#endif
