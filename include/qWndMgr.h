// The registry of windows by handle: one opaque pointer per window, for code that replaces a
// window's procedure with a shared one and must find its own record again from the handle.
#pragma once
#include "qTrimUIDef.h"
#include <afxtempl.h>

class QTRIMUI_API CWndMgr {
public:
    CWndMgr();
    virtual ~CWndMgr();   // frees the entries, never what they point to

    // Sets the value for hwnd; an existing entry is overwritten.
    void m_fnAddWindow(HWND hwnd, void* p);
    // A missing entry is ignored.
    void m_fnRemoveWindow(HWND hwnd);
    // The value stored for hwnd, or null.
    void* m_fnSearchWindow(HWND hwnd);

protected:
    CMap<HWND, HWND, void*, void*> m_mapWnd;

private:
    CWndMgr(const CWndMgr&) = delete;
    CWndMgr& operator=(const CWndMgr&) = delete;
};
