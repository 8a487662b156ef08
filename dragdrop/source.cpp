// Drag source: the hooked window procedure, the payloads and the drag itself.
#include "dragdrop/formats.h"
#include "frame/moduleStatics.h"
#include <cstring>

namespace {
const int kDragSquareHalf = 5;   // the drag starts once the pointer leaves a 10 x 10 square

// Where m_guidSource lies inside a source, so the identity registry leads back to its object.
ptrdiff_t g_identityOffset = -1;

LRESULT CALLBACK dragWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

void restoreWindow(tagDRAG_WND_HOOK& hook) {
    if (hook.hWnd && hook.pfnPrevWndProc) {
        if ((WNDPROC)GetWindowLongPtrW(hook.hWnd, GWLP_WNDPROC) == dragWndProc)
            SetWindowLongPtrW(hook.hWnd, GWLP_WNDPROC, (LONG_PTR)hook.pfnPrevWndProc);
        // Drop our entry so nothing can find this record once it is gone.
        if (qmod::windowRegistry().m_fnSearchWindow(hook.hWnd) == &hook)
            qmod::windowRegistry().m_fnRemoveWindow(hook.hWnd);
    }
    hook.pfnPrevWndProc = nullptr;
}

LRESULT CALLBACK dragWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* hook = static_cast<tagDRAG_WND_HOOK*>(qmod::windowRegistry().m_fnSearchWindow(hwnd));
    if (!hook) return 1;
    WNDPROC prev = hook->pfnPrevWndProc;
    if (!prev) return DefWindowProcW(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_DESTROY: {
        LRESULT result = CallWindowProcW(prev, hwnd, msg, wp, lp);
        restoreWindow(*hook);
        hook->hWnd = nullptr;
        return result;
    }
    case WM_LBUTTONDOWN:
        if (IDragWndNotify* notify = hook->pNotify) {
            CPoint point((int)(WORD)LOWORD(lp), (int)(WORD)HIWORD(lp));
            try {
                // The drag loop runs in here; the source may be gone afterwards, so only the local
                // copy of the previous procedure is used below.
                if (notify->m_fnOnLButtonDown((UINT)wp, point)) return 0;
            } catch (...) {
            }
        }
        break;
    }
    return CallWindowProcW(prev, hwnd, msg, wp, lp);
}

// A zero-filled movable block of size bytes holding data (when given), or null.
HGLOBAL newBlock(size_t size, const void* data = nullptr) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block || !data) return block;
    qdraw::GlobalLockGuard<void> lock(block);
    if (!lock) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(lock.get(), data, size);
    return block;
}

HGLOBAL newTextBlock(const CString& text) {
    int wide = text.GetLength();
    int bytes = wide ? WideCharToMultiByte(CP_ACP, 0, text.GetString(), wide, nullptr, 0, nullptr, nullptr) : 0;
    if (wide && bytes <= 0) return nullptr;
    HGLOBAL block = newBlock((size_t)bytes + 1);
    if (!block || !bytes) return block;
    qdraw::GlobalLockGuard<char> lock(block);
    if (!lock || WideCharToMultiByte(CP_ACP, 0, text.GetString(), wide, lock.get(), bytes, nullptr, nullptr) != bytes) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

HGLOBAL newReferenceBlock(const GUID& identity, const void* address, const void* cleanup) {
    HGLOBAL block = newBlock(qdd::kReferenceSize);
    if (!block) return nullptr;
    qdraw::GlobalLockGuard<void> lock(block);
    if (!lock) {
        GlobalFree(block);
        return nullptr;
    }
    qdd::writeReference(lock.get(), &identity, address, cleanup);
    return block;
}

struct ClipboardCloser {
    ~ClipboardCloser() { CloseClipboard(); }
};
}  // namespace

void* CDragDropSourceAccess::resolve(const qdd::ReferenceRecord& record, bool menuView) {
    CList<GUID*, GUID*>& ids = qmod::sourceIdentities();
    for (POSITION pos = ids.GetHeadPosition(); pos;) {
        GUID* id = ids.GetNext(pos);
        if (std::memcmp(id, record.identity, qdd::kIdentitySize) != 0) continue;
        auto* source = reinterpret_cast<CDragDropSource*>(reinterpret_cast<char*>(id) - g_identityOffset);
        void* object = menuView ? static_cast<void*>(&source->m_listMenuItem)
                                : static_cast<void*>(&source->m_stMenuObjectAttribute);
        return record.address == (uint64_t)(uintptr_t)object ? object : nullptr;
    }
    return nullptr;
}

CDragDropSource::CDragDropSource()
    : m_pDragWnd(nullptr), m_stDragWndHook{nullptr, this, nullptr}, m_listMenuItem(10) {
    m_dwAllowedEffects = 0;
    m_cfPrefer = 0;
    m_bEnableDrag = FALSE;
    qdd::registerFormats(m_cfThumbList, m_cfMenuView, m_cfMenuObjectAttribute);
    m_listMenuItem.RemoveAll();
    m_pfnMenuItemCleanup = nullptr;
    m_stMenuObjectAttribute = DRAG_DROP_MENU_OBJECT_ATTRIBUTE{};
    m_pfnMenuObjectAttributeCleanup = nullptr;
    OleInitialize(nullptr);

    g_identityOffset = reinterpret_cast<char*>(&m_guidSource) - reinterpret_cast<char*>(this);
    m_guidSource = GUID{};
    CoCreateGuid(&m_guidSource);
    CList<GUID*, GUID*>& ids = qmod::sourceIdentities();
    bool listed = false;
    for (POSITION pos = ids.GetHeadPosition(); pos && !listed;)
        listed = std::memcmp(ids.GetNext(pos), &m_guidSource, sizeof(GUID)) == 0;
    if (!listed) {
        try {
            ids.AddTail(&m_guidSource);
        } catch (...) {
            // Unlisted, this source's records are simply never followed.
        }
    }
}

CDragDropSource::~CDragDropSource() {
    m_stDragWndHook.pNotify = nullptr;
    try {
        fnCleanMenuItemData();
    } catch (...) {
    }
    OleUninitialize();
    CList<GUID*, GUID*>& ids = qmod::sourceIdentities();
    if (POSITION pos = ids.Find(&m_guidSource)) ids.RemoveAt(pos);
    restoreWindow(m_stDragWndHook);
    m_stDragWndHook.hWnd = nullptr;
}

void CDragDropSource::m_fnSetDragWindow(CWnd* pWnd) {
    m_pDragWnd = pWnd;
    restoreWindow(m_stDragWndHook);
    HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    m_stDragWndHook.hWnd = hwnd;
    if (!hwnd) return;
    WNDPROC current = (WNDPROC)GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    if (current == dragWndProc) {
        // Another source hooks this window: take its hook over rather than chain to ourselves.
        auto* other = static_cast<tagDRAG_WND_HOOK*>(qmod::windowRegistry().m_fnSearchWindow(hwnd));
        if (other && other != &m_stDragWndHook) {
            m_stDragWndHook.pfnPrevWndProc = other->pfnPrevWndProc;
            other->pfnPrevWndProc = nullptr;
            other->hWnd = nullptr;
        }
    } else {
        m_stDragWndHook.pfnPrevWndProc = (WNDPROC)SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)dragWndProc);
    }
    if (!m_stDragWndHook.pfnPrevWndProc) {
        m_stDragWndHook.hWnd = nullptr;   // not hooked after all
        return;
    }
    qmod::windowRegistry().m_fnAddWindow(hwnd, &m_stDragWndHook);
}

void CDragDropSource::m_fnEnableDragOperation(int bEnable) { m_bEnableDrag = bEnable; }

int CDragDropSource::m_fnIsCopyToClipboardEnabled(CPoint& point) { return m_fnOnPrepareDrag(point); }

void CDragDropSource::fnCleanMenuItemData() {
    if (m_pfnMenuItemCleanup) m_pfnMenuItemCleanup(m_listMenuItem);
    m_listMenuItem.RemoveAll();
    if (m_pfnMenuObjectAttributeCleanup) m_pfnMenuObjectAttributeCleanup(m_stMenuObjectAttribute);
    m_pfnMenuItemCleanup = nullptr;
    m_pfnMenuObjectAttributeCleanup = nullptr;
}

void CDragDropSource::m_fnSetAllowedDragOperation(int nFlags) {
    m_dwAllowedEffects = ((nFlags & 1) ? DROPEFFECT_COPY : 0) | ((nFlags & 2) ? DROPEFFECT_MOVE : 0) |
                         ((nFlags & 4) ? DROPEFFECT_LINK : 0);
}

void CDragDropSource::m_fnSetPreferClipboardFormat(UINT nFormat) { m_cfPrefer = nFormat; }

void CDragDropSource::m_fnSetPreferClipboardFormat(const wchar_t* lpszFormatName) {
    m_cfPrefer = lpszFormatName ? RegisterClipboardFormatW(lpszFormatName) : 0;
}

int CDragDropSource::m_fnOnPrepareDragData_CF_TEXT(CPoint&, CString& strText) {
    strText.Empty();
    return FALSE;
}
int CDragDropSource::m_fnOnPrepareDragData_ThumbnailListView(CPoint&, _TList_tag&) { return FALSE; }
int CDragDropSource::m_fnOnPrepareDragData_MenuView(CPoint&, CDragDropMenuItemList&, PFN_MENU_ITEM_CLEANUP*) {
    return FALSE;
}
int CDragDropSource::m_fnOnPrepareDragData_MenuViewObjectAttribute(CPoint&, DRAG_DROP_MENU_OBJECT_ATTRIBUTE&,
                                                                   PFN_MENU_OBJECT_ATTRIBUTE_CLEANUP*) {
    return FALSE;
}
int CDragDropSource::m_fnOnPrepareDragData_Unknown(CPoint&, void** phGlobal) {
    if (phGlobal) *phGlobal = nullptr;
    return FALSE;
}
int CDragDropSource::m_fnOnPrepareDrag(CPoint&) { return FALSE; }

int CDragDropSource::m_fnOnPrepareDragData(CPoint& point, void** phGlobal) {
    *phGlobal = nullptr;
    HGLOBAL block = nullptr;
    if (m_cfPrefer == CF_TEXT) {
        CString text;
        if (!m_fnOnPrepareDragData_CF_TEXT(point, text)) return FALSE;
        block = newTextBlock(text);
    } else if (m_cfPrefer == m_cfThumbList) {
        _TList_tag item;
        if (!m_fnOnPrepareDragData_ThumbnailListView(point, item)) return FALSE;
        block = newBlock(sizeof(item), &item);
    } else if (m_cfPrefer == m_cfMenuView) {
        if (m_pfnMenuItemCleanup) {
            PFN_MENU_ITEM_CLEANUP cleanup = m_pfnMenuItemCleanup;
            m_pfnMenuItemCleanup = nullptr;
            cleanup(m_listMenuItem);
        }
        m_listMenuItem.RemoveAll();
        if (!m_fnOnPrepareDragData_MenuView(point, m_listMenuItem, &m_pfnMenuItemCleanup)) {
            m_pfnMenuItemCleanup = nullptr;
            m_listMenuItem.RemoveAll();
            return FALSE;
        }
        block = newReferenceBlock(m_guidSource, &m_listMenuItem, (const void*)m_pfnMenuItemCleanup);
    } else if (m_cfPrefer == m_cfMenuObjectAttribute) {
        if (m_pfnMenuObjectAttributeCleanup) {
            PFN_MENU_OBJECT_ATTRIBUTE_CLEANUP cleanup = m_pfnMenuObjectAttributeCleanup;
            m_pfnMenuObjectAttributeCleanup = nullptr;
            cleanup(m_stMenuObjectAttribute);
        }
        if (!m_fnOnPrepareDragData_MenuViewObjectAttribute(point, m_stMenuObjectAttribute,
                                                           &m_pfnMenuObjectAttributeCleanup)) {
            m_pfnMenuObjectAttributeCleanup = nullptr;
            return FALSE;
        }
        block = newReferenceBlock(m_guidSource, &m_stMenuObjectAttribute, (const void*)m_pfnMenuObjectAttributeCleanup);
    } else {
        return m_fnOnPrepareDragData_Unknown(point, phGlobal);
    }
    *phGlobal = block;
    return block ? TRUE : FALSE;
}

int CDragDropSource::m_fnOnLButtonDown(UINT nFlags, CPoint point) {
    HWND hwnd = m_stDragWndHook.hWnd;
    if (!m_bEnableDrag || !hwnd || !m_fnOnPrepareDrag(point)) return FALSE;
    CRect square(point.x - kDragSquareHalf, point.y - kDragSquareHalf, point.x + kDragSquareHalf,
                 point.y + kDragSquareHalf);
    void* block = nullptr;
    if (!m_fnOnPrepareDragData(point, &block) || !block) return FALSE;

    // Only this drag's payload is offered.
    m_oleDataSource.Empty();
    m_oleDataSource.CacheGlobalData((CLIPFORMAT)m_cfPrefer, (HGLOBAL)block);
    CRect screenSquare = square;
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&screenSquare), 2);
    DROPEFFECT effect = m_oleDataSource.DoDragDrop(m_dwAllowedEffects, &screenSquare, nullptr);

    // Where the pointer was at the last input the drag handled (the release, Esc), not where it is
    // by now: the two differ when input is queued faster than it is handled.
    DWORD pos = GetMessagePos();
    CPoint now((short)LOWORD(pos), (short)HIWORD(pos));
    ScreenToClient(hwnd, &now);
    if (effect != DROPEFFECT_NONE || !square.PtInRect(now)) return TRUE;
    // A click, not a drag: the window gets the press and then the release it would have had.
    PostMessageW(hwnd, WM_LBUTTONUP, nFlags, MAKELPARAM(point.x, point.y));
    return FALSE;
}

int CDragDropSource::m_fnCopyDataToClipboard(CPoint& point) {
    try {
        void* block = nullptr;
        if (!m_fnOnPrepareDrag(point) || !m_fnOnPrepareDragData(point, &block) || !block) return FALSE;
        if (!OpenClipboard(nullptr)) {
            GlobalFree(block);
            return FALSE;
        }
        ClipboardCloser closer;
        EmptyClipboard();
        if (!SetClipboardData(m_cfPrefer, block)) {
            GlobalFree(block);
            return FALSE;
        }
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}
