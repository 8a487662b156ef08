// Common definitions of the application-framework stand-in.
#pragma once
// Member names such as SendMessage follow the Unicode macros of <windows.h>: a host that already
// included it without UNICODE would name different members than the framework exports.
#if defined(_WINDOWS_) && !defined(UNICODE)
#error "Include the framework headers before <windows.h>, or build with UNICODE defined."
#endif
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
