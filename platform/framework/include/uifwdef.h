// Common definitions of the application-framework stand-in.
#pragma once
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>

#ifdef UIFW_BUILD
#define UIFW_API __declspec(dllexport)
#else
#define UIFW_API __declspec(dllimport)
#endif

#ifndef afx_msg
#define afx_msg
#endif
#ifndef PASCAL
#define PASCAL __stdcall
#endif
