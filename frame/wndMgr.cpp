// Window registry.
#include "qWndMgr.h"

namespace {
const UINT kBuckets = 17;
const INT_PTR kNodesPerBlock = 10;
}  // namespace

CWndMgr::CWndMgr() : m_mapWnd(kNodesPerBlock) { m_mapWnd.InitHashTable(kBuckets); }

CWndMgr::~CWndMgr() { m_mapWnd.RemoveAll(); }

void CWndMgr::m_fnAddWindow(HWND hwnd, void* p) {
    try {
        m_mapWnd.SetAt(hwnd, p);
    } catch (...) {
        // Out of memory: the window stays unregistered, which its users treat as "not ours".
    }
}

void CWndMgr::m_fnRemoveWindow(HWND hwnd) { m_mapWnd.RemoveKey(hwnd); }

void* CWndMgr::m_fnSearchWindow(HWND hwnd) {
    void* p = nullptr;
    return m_mapWnd.Lookup(hwnd, p) ? p : nullptr;
}
