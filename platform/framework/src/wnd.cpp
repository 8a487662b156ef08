// Window classes and windows.
#include "afxwin.h"

BOOL AfxRegisterClass(WNDCLASSW* lpWndClass) {
    if (!lpWndClass) return FALSE;
    WNDCLASSW existing;
    // A class of that name already registered for this instance (or globally) is success.
    if (GetClassInfoW(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) return TRUE;
    return RegisterClassW(lpWndClass) != 0;
}
