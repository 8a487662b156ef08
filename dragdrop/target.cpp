// Drop target: the inner OLE object, the format walk and the payload readers' callers.
#include "dragdrop/formats.h"
#include <climits>

namespace {
const int kFormatNameChars = 512;

CString formatName(UINT format) {
    wchar_t name[kFormatNameChars];
    int n = GetClipboardFormatNameW(format, name, kFormatNameChars);
    return n > 0 ? CString(name, n) : CString();
}

struct ClipboardCloser {
    ~ClipboardCloser() { CloseClipboard(); }
};
}  // namespace

// CDropTargetObject -------------------------------------------------------------------------------

CDropTargetObject::CDropTargetObject() : m_pNotify(nullptr) { OleInitialize(nullptr); }

CDropTargetObject::~CDropTargetObject() { OleUninitialize(); }

DROPEFFECT CDropTargetObject::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    if (!m_pNotify) return COleDropTarget::OnDragEnter(pWnd, pDataObject, dwKeyState, point);
    return m_pNotify->m_fnOnDragEnter(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT CDropTargetObject::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    if (!m_pNotify) return COleDropTarget::OnDragOver(pWnd, pDataObject, dwKeyState, point);
    return m_pNotify->m_fnOnDragOver(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT CDropTargetObject::OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                       DROPEFFECT dropList, CPoint point) {
    if (!m_pNotify) return COleDropTarget::OnDropEx(pWnd, pDataObject, dropDefault, dropList, point);
    return m_pNotify->m_fnOnDropEx(pWnd, pDataObject, dropDefault, dropList, point);
}

void CDropTargetObject::OnDragLeave(CWnd* pWnd) {
    if (!m_pNotify) return COleDropTarget::OnDragLeave(pWnd);
    m_pNotify->m_fnOnDragLeave(pWnd);
}

DROPEFFECT CDropTargetObject::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) {
    if (!m_pNotify) return COleDropTarget::OnDragScroll(pWnd, dwKeyState, point);
    m_pNotify->m_fnOnDragScroll(pWnd, dwKeyState, point);
    return DROPEFFECT_NONE;
}

// CDragDropTarget ---------------------------------------------------------------------------------

CDragDropTarget::CDragDropTarget() : m_pDropWnd(nullptr), m_bRegistered(FALSE) {
    m_dropTarget.m_pNotify = this;
    qdd::registerFormats(m_cfThumbList, m_cfMenuView, m_cfMenuObjectAttribute);
    OleInitialize(nullptr);
}

CDragDropTarget::~CDragDropTarget() {
    if (m_bRegistered) m_dropTarget.Revoke();
    m_dropTarget.m_pNotify = nullptr;
    OleUninitialize();
}

void CDragDropTarget::m_fnSetDropWindow(CWnd* pWnd) {
    m_pDropWnd = pWnd;
    RevokeDragDrop(pWnd ? pWnd->GetSafeHwnd() : nullptr);
}

void CDragDropTarget::m_fnEnableDropOperation(int bEnable) {
    if (!m_pDropWnd) return;
    if (bEnable == 1) {
        if (!m_bRegistered) {
            m_dropTarget.Register(m_pDropWnd);
            m_bRegistered = TRUE;
        }
    } else if (m_bRegistered) {
        m_dropTarget.Revoke();
        m_bRegistered = FALSE;
    }
}

int CDragDropTarget::m_fnIsPasteFromClipboardEnabled(CPoint& point) { return m_fnWalkClipboard(point, 1); }

int CDragDropTarget::m_fnPasteClipboardData(CPoint& point) { return m_fnWalkClipboard(point, 2); }

// The query (event 1) stops at the first format that yields a copy effect; the paste (event 2)
// offers every format.
int CDragDropTarget::m_fnWalkClipboard(CPoint& point, int nEvent) {
    try {
        if (!OpenClipboard(nullptr)) return FALSE;
        ClipboardCloser closer;
        DWORD dwResult = 0;
        int count = CountClipboardFormats();
        UINT format = 0;
        for (int i = 0; i < count; ++i) {
            format = EnumClipboardFormats(format);
            if (!format) break;
            int bLast = i == count - 1;
            CString name = formatName(format);
            if (m_fnOnDataArrive(bLast, nEvent, format, name, 0, point, DROPEFFECT_COPY, &dwResult) == 1) {
                if (HANDLE block = GetClipboardData(format))
                    m_fnExtractData(bLast, (void*)block, format, DROPEFFECT_COPY, &dwResult);
                else
                    dwResult = 0;
            }
            if (nEvent == 1 && (dwResult & DROPEFFECT_COPY)) return TRUE;
        }
        return nEvent == 1 ? FALSE : TRUE;
    } catch (...) {
        return FALSE;
    }
}

void CDragDropTarget::m_fnOnDragLeave() {}
void CDragDropTarget::m_fnOnDragScroll(DWORD, CPoint) {}

int CDragDropTarget::m_fnOnDataArrive(int, int, UINT, CString&, DWORD, CPoint, DWORD, DWORD* pdwEffect) {
    if (pdwEffect) *pdwEffect = 0;
    return 0;
}
void CDragDropTarget::m_fnOnDataArrive_CF_TEXT(int, CString&, DWORD, DWORD* pdwEffect) {
    if (pdwEffect) *pdwEffect = 0;
}
void CDragDropTarget::m_fnOnDataArrive_ThumbnailListView(int, _TList_tag*, DWORD, DWORD* pdwEffect) {
    if (pdwEffect) *pdwEffect = 0;
}
void CDragDropTarget::m_fnOnDataArrive_MenuView(int, CDragDropMenuItemList&, DWORD, DWORD* pdwEffect) {
    if (pdwEffect) *pdwEffect = 0;
}
void CDragDropTarget::m_fnOnDataArrive_MenuViewObjectAttribute(int, DRAG_DROP_MENU_OBJECT_ATTRIBUTE&, DWORD,
                                                               DWORD* pdwEffect) {
    if (pdwEffect) *pdwEffect = 0;
}
void CDragDropTarget::m_fnOnDataArrive_Unknown(int, void*, DWORD, DWORD* pdwEffect) {
    if (pdwEffect) *pdwEffect = 0;
}

DWORD CDragDropTarget::m_fnOnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    return m_fnNotifyDataArrive(pDataObject, dwKeyState, point, 0, 0);
}

DWORD CDragDropTarget::m_fnOnDragOver(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    return m_fnNotifyDataArrive(pDataObject, dwKeyState, point, 0, 1);
}

DWORD CDragDropTarget::m_fnOnDropEx(CWnd*, COleDataObject* pDataObject, DWORD, DWORD dropList, CPoint point) {
    return m_fnNotifyDataArrive(pDataObject, 0, point, dropList, 2);
}

void CDragDropTarget::m_fnOnDragLeave(CWnd*) { m_fnOnDragLeave(); }

void CDragDropTarget::m_fnOnDragScroll(CWnd*, DWORD dwKeyState, CPoint point) { m_fnOnDragScroll(dwKeyState, point); }

// Offers every global-memory format of the data object in its order; the one held back is
// handled when the next arrives, so the last can be told it is the last.
DWORD CDragDropTarget::m_fnNotifyDataArrive(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point,
                                            DWORD dwEffect, int nEvent) {
    DWORD dwResult = 0;
    if (!pDataObject) return 0;
    auto handle = [&](UINT format, int bLast) {
        CString name = formatName(format);
        if (m_fnOnDataArrive(bLast, nEvent, format, name, dwKeyState, point, dwEffect, &dwResult) == 1)
            m_fnExtractData(bLast, pDataObject, format, dwEffect, &dwResult);
    };
    pDataObject->BeginEnumFormats();
    FORMATETC fmt;
    UINT held = 0;
    bool holding = false;
    while (pDataObject->GetNextFormat(&fmt)) {
        if (fmt.tymed != TYMED_HGLOBAL) continue;
        if (holding) handle(held, FALSE);
        held = fmt.cfFormat;
        holding = true;
    }
    if (holding) handle(held, TRUE);
    return dwResult;
}

void CDragDropTarget::m_fnExtractData(int bLast, COleDataObject* pDataObject, UINT nFormat, DWORD dwEffect,
                                      DWORD* pdwEffect) {
    *pdwEffect = 0;
    if (!pDataObject->IsDataAvailable((CLIPFORMAT)nFormat)) return;
    HGLOBAL block = pDataObject->GetGlobalData((CLIPFORMAT)nFormat);
    if (!block) return;
    struct Owned {
        HGLOBAL h;
        ~Owned() { GlobalFree(h); }   // the data object handed out a copy: ours to free
    } owned{block};
    m_fnExtractData(bLast, (void*)block, nFormat, dwEffect, pdwEffect);
}

// Every read below is bounded by the block's size; a payload that does not have the shape of its
// format reaches no hook.
void CDragDropTarget::m_fnExtractData(int bLast, void* hGlobal, UINT nFormat, DWORD dwEffect, DWORD* pdwEffect) {
    *pdwEffect = 0;
    if (!hGlobal) return;
    bool known = nFormat == CF_TEXT || (nFormat && (nFormat == m_cfThumbList || nFormat == m_cfMenuView ||
                                                    nFormat == m_cfMenuObjectAttribute));
    if (!known) {
        m_fnOnDataArrive_Unknown(bLast, hGlobal, dwEffect, pdwEffect);
        return;
    }
    qdd::BlockView view((HGLOBAL)hGlobal);
    if (nFormat == CF_TEXT) {
        ptrdiff_t length = qdd::textLength(view.data(), view.size());
        if (length < 0 || length > INT_MAX) return;
        CString text(static_cast<LPCSTR>(view.data()), (int)length);
        m_fnOnDataArrive_CF_TEXT(bLast, text, dwEffect, pdwEffect);
    } else if (nFormat == m_cfThumbList) {
        const void* record = qdd::thumbRecord(view.data(), view.size());
        if (record) m_fnOnDataArrive_ThumbnailListView(bLast, (_TList_tag*)record, dwEffect, pdwEffect);
    } else {
        qdd::ReferenceRecord record;
        if (!qdd::readReference(view.data(), view.size(), &record)) return;
        bool menuView = nFormat == m_cfMenuView;
        void* object = CDragDropSourceAccess::resolve(record, menuView);
        if (!object) return;
        if (menuView)
            m_fnOnDataArrive_MenuView(bLast, *static_cast<CDragDropMenuItemList*>(object), dwEffect, pdwEffect);
        else
            m_fnOnDataArrive_MenuViewObjectAttribute(bLast, *static_cast<DRAG_DROP_MENU_OBJECT_ATTRIBUTE*>(object),
                                                     dwEffect, pdwEffect);
    }
}
