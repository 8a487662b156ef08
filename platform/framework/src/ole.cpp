// OLE drag and drop classes of the framework stand-in.
#include "afxole.h"
#include <new>
#include <vector>

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

namespace {
const UINT kNoScroll = 0xFFFF;   // MAKEWORD(-1, -1): no scroll direction

FORMATETC* fillFormatEtc(LPFORMATETC given, CLIPFORMAT cf, FORMATETC* local, DWORD tymed) {
    if (given) return given;
    local->cfFormat = cf;
    local->ptd = nullptr;
    local->dwAspect = DVASPECT_CONTENT;
    local->lindex = -1;
    local->tymed = tymed;
    return local;
}

// A copy of a global block at its exact size (an empty block stays empty), or null.
HGLOBAL copyGlobal(HGLOBAL src) {
    SIZE_T size = GlobalSize(src);
    HGLOBAL dst = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!dst || !size) return dst;
    const void* from = GlobalLock(src);
    void* to = GlobalLock(dst);
    if (from && to) memcpy(to, from, size);
    if (from) GlobalUnlock(src);
    if (to) GlobalUnlock(dst);
    if (!from || !to) {
        GlobalFree(dst);
        return nullptr;
    }
    return dst;
}

// Fills dst with a medium the receiver releases on its own: global blocks and file names are
// copied, streams and storages shared through a reference.
HRESULT copyMedium(STGMEDIUM* dst, const STGMEDIUM& src) {
    *dst = STGMEDIUM{};
    dst->tymed = src.tymed;
    switch (src.tymed) {
    case TYMED_HGLOBAL:
        dst->hGlobal = copyGlobal(src.hGlobal);
        return dst->hGlobal ? S_OK : E_OUTOFMEMORY;
    case TYMED_FILE: {
        size_t n = src.lpszFileName ? wcslen(src.lpszFileName) + 1 : 0;
        if (!n) return DV_E_TYMED;
        dst->lpszFileName = (LPOLESTR)CoTaskMemAlloc(n * sizeof(WCHAR));
        if (!dst->lpszFileName) return E_OUTOFMEMORY;
        memcpy(dst->lpszFileName, src.lpszFileName, n * sizeof(WCHAR));
        return S_OK;
    }
    case TYMED_ISTREAM:
        if (!src.pstm) return DV_E_TYMED;
        dst->pstm = src.pstm;
        dst->pstm->AddRef();
        return S_OK;
    case TYMED_ISTORAGE:
        if (!src.pstg) return DV_E_TYMED;
        dst->pstg = src.pstg;
        dst->pstg->AddRef();
        return S_OK;
    default:
        dst->tymed = TYMED_NULL;
        return DV_E_TYMED;
    }
}

// Enumerator over a snapshot of formats.
class FormatEnum : public IEnumFORMATETC {
public:
    FormatEnum(std::vector<FORMATETC> formats, size_t pos) : m_formats(std::move(formats)), m_pos(pos) {}
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumFORMATETC)) {
            *ppv = static_cast<IEnumFORMATETC*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return (ULONG)InterlockedIncrement(&m_ref); }
    STDMETHOD_(ULONG, Release)() override {
        LONG n = InterlockedDecrement(&m_ref);
        if (n == 0) delete this;
        return (ULONG)n;
    }
    STDMETHOD(Next)(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override {
        if (!rgelt) return E_POINTER;
        ULONG n = 0;
        for (; n < celt && m_pos < m_formats.size(); ++n) rgelt[n] = m_formats[m_pos++];
        if (pceltFetched) *pceltFetched = n;
        return n == celt ? S_OK : S_FALSE;
    }
    STDMETHOD(Skip)(ULONG celt) override {
        size_t left = m_formats.size() - m_pos;
        m_pos += celt < left ? celt : left;
        return celt <= left ? S_OK : S_FALSE;
    }
    STDMETHOD(Reset)() override {
        m_pos = 0;
        return S_OK;
    }
    STDMETHOD(Clone)(IEnumFORMATETC** ppenum) override {
        if (!ppenum) return E_POINTER;
        *ppenum = new (std::nothrow) FormatEnum(m_formats, m_pos);
        return *ppenum ? S_OK : E_OUTOFMEMORY;
    }

private:
    virtual ~FormatEnum() = default;
    LONG m_ref = 1;
    std::vector<FORMATETC> m_formats;   // target devices are never cached, so none to copy
    size_t m_pos;
};

// The effect the target asked for if the source allows it; else copy and move stand in for each
// other (then link), and a refused link gives no effect.
DROPEFFECT filterDropEffect(DROPEFFECT dropEffect, DROPEFFECT allowed) {
    if (dropEffect & allowed) return dropEffect;
    if (dropEffect == DROPEFFECT_COPY || dropEffect == DROPEFFECT_MOVE) {
        DROPEFFECT other = dropEffect == DROPEFFECT_COPY ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
        if (allowed & other) return other;
        if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
    }
    return DROPEFFECT_NONE;
}
}  // namespace

// COleDataObject ---------------------------------------------------------------------------------

COleDataObject::COleDataObject() : m_lpDataObject(nullptr), m_lpEnumerator(nullptr), m_bAutoRelease(TRUE) {}

COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease) {
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
    if (m_lpEnumerator) m_lpEnumerator->Release();
    m_lpEnumerator = nullptr;
    LPDATAOBJECT p = m_lpDataObject;
    m_lpDataObject = nullptr;
    return p;
}

void COleDataObject::Release() {
    LPDATAOBJECT p = Detach();
    if (p && m_bAutoRelease) p->Release();
}

BOOL COleDataObject::AttachClipboard() {
    LPDATAOBJECT p = nullptr;
    if (FAILED(OleGetClipboard(&p)) || !p) return FALSE;
    Attach(p, TRUE);
    return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL bAddRef) {
    if (m_lpDataObject && bAddRef) m_lpDataObject->AddRef();
    return m_lpDataObject;
}

void COleDataObject::BeginEnumFormats() {
    if (m_lpEnumerator) m_lpEnumerator->Release();
    m_lpEnumerator = nullptr;
    if (m_lpDataObject && FAILED(m_lpDataObject->EnumFormatEtc(DATADIR_GET, &m_lpEnumerator)))
        m_lpEnumerator = nullptr;
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc) {
    if (!m_lpEnumerator || !lpFormatEtc) return FALSE;
    ULONG fetched = 0;
    if (m_lpEnumerator->Next(1, lpFormatEtc, &fetched) != S_OK || fetched != 1) return FALSE;
    if (lpFormatEtc->ptd) {
        CoTaskMemFree(lpFormatEtc->ptd);
        lpFormatEtc->ptd = nullptr;
    }
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    if (!m_lpDataObject) return FALSE;
    FORMATETC local;
    return m_lpDataObject->QueryGetData(fillFormatEtc(lpFormatEtc, cfFormat, &local, TYMED_HGLOBAL)) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
    if (!m_lpDataObject || !lpStgMedium) return FALSE;
    FORMATETC local;
    LPFORMATETC fmt = fillFormatEtc(lpFormatEtc, cfFormat, &local, (DWORD)-1);
    return SUCCEEDED(m_lpDataObject->GetData(fmt, lpStgMedium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    if (!m_lpDataObject) return nullptr;
    FORMATETC local;
    LPFORMATETC fmt = fillFormatEtc(lpFormatEtc, cfFormat, &local, TYMED_HGLOBAL);
    STGMEDIUM medium = {};
    if (FAILED(m_lpDataObject->GetData(fmt, &medium))) return nullptr;
    if (medium.tymed != TYMED_HGLOBAL) {
        ReleaseStgMedium(&medium);
        return nullptr;
    }
    if (!medium.pUnkForRelease) return medium.hGlobal;
    // The block is the data object's own: hand out a copy.
    HGLOBAL copy = copyGlobal(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return copy;
}

// COleDataSource ---------------------------------------------------------------------------------

struct COleDataSource::Impl : public IDataObject {
    struct Entry {
        FORMATETC format;
        STGMEDIUM medium;
    };
    LONG ref = 1;
    std::vector<Entry> cache;

    virtual ~Impl() { empty(); }
    void empty() {
        for (Entry& e : cache) ReleaseStgMedium(&e.medium);
        cache.clear();
    }
    Entry* find(const FORMATETC& f) {
        for (Entry& e : cache)
            if (e.format.cfFormat == f.cfFormat && (e.format.tymed & f.tymed) && e.format.dwAspect == f.dwAspect &&
                (f.lindex == -1 || e.format.lindex == f.lindex))
                return &e;
        return nullptr;
    }

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return (ULONG)InterlockedIncrement(&ref); }
    STDMETHOD_(ULONG, Release)() override {
        LONG n = InterlockedDecrement(&ref);
        if (n == 0) delete this;
        return (ULONG)n;
    }
    STDMETHOD(GetData)(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override {
        if (!pformatetcIn || !pmedium) return E_INVALIDARG;
        Entry* e = find(*pformatetcIn);
        if (!e) return DV_E_FORMATETC;
        return copyMedium(pmedium, e->medium);
    }
    STDMETHOD(GetDataHere)(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHOD(QueryGetData)(FORMATETC* pformatetc) override {
        if (!pformatetc) return E_INVALIDARG;
        return find(*pformatetc) ? S_OK : DV_E_FORMATETC;
    }
    STDMETHOD(GetCanonicalFormatEtc)(FORMATETC* in, FORMATETC* out) override {
        if (!in || !out) return E_INVALIDARG;
        *out = *in;
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    STDMETHOD(SetData)(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHOD(EnumFormatEtc)(DWORD dwDirection, IEnumFORMATETC** ppenum) override {
        if (!ppenum) return E_POINTER;
        *ppenum = nullptr;
        if (dwDirection != DATADIR_GET) return E_NOTIMPL;
        try {
            std::vector<FORMATETC> formats;
            for (const Entry& e : cache) formats.push_back(e.format);
            *ppenum = new FormatEnum(std::move(formats), 0);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }
    STDMETHOD(DAdvise)(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHOD(DUnadvise)(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHOD(EnumDAdvise)(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

COleDataSource::COleDataSource() : m_pImpl(new Impl) {}

COleDataSource::~COleDataSource() {
    m_pImpl->empty();
    m_pImpl->Release();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc) {
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = hGlobal;
    CacheData(cfFormat, &medium, lpFormatEtc);
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
    if (!lpStgMedium) return;
    FORMATETC local;
    FORMATETC fmt = *fillFormatEtc(lpFormatEtc, cfFormat, &local, lpStgMedium->tymed);
    fmt.ptd = nullptr;
    fmt.tymed = lpStgMedium->tymed;
    for (Impl::Entry& e : m_pImpl->cache) {
        if (e.format.cfFormat == fmt.cfFormat && e.format.dwAspect == fmt.dwAspect) {
            ReleaseStgMedium(&e.medium);
            e.format = fmt;
            e.medium = *lpStgMedium;
            return;
        }
    }
    try {
        m_pImpl->cache.push_back(Impl::Entry{fmt, *lpStgMedium});
    } catch (...) {
        ReleaseStgMedium(lpStgMedium);   // the cache took it over, so it is ours to drop
    }
}

void COleDataSource::Empty() { m_pImpl->empty(); }

LPDATAOBJECT COleDataSource::GetDataObject() const { return m_pImpl; }

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag, COleDropSource* pDropSource) {
    COleDropSource defaultSource;
    if (!pDropSource) pDropSource = &defaultSource;
    pDropSource->m_bDragStarted = FALSE;
    if (lpRectStartDrag) {
        pDropSource->m_rectStartDrag = *lpRectStartDrag;
    } else {
        POINT pt = {};
        GetCursorPos(&pt);
        pDropSource->m_rectStartDrag.SetRect(pt.x, pt.y, pt.x, pt.y);
    }
    if (pDropSource->m_rectStartDrag.IsRectNull())
        pDropSource->m_bDragStarted = TRUE;   // a null rectangle asks for no wait
    else if (pDropSource->m_rectStartDrag.IsRectEmpty())
        pDropSource->m_rectStartDrag.InflateRect(COleDropSource::nDragMinDist, COleDropSource::nDragMinDist);

    if (!pDropSource->m_bDragStarted && !pDropSource->OnBeginDrag(nullptr)) return DROPEFFECT_NONE;

    DWORD effect = DROPEFFECT_NONE;
    ::DoDragDrop(m_pImpl, pDropSource->GetDropSource(), dwEffects, &effect);
    return effect;
}

// COleDropSource ---------------------------------------------------------------------------------

int COleDropSource::nDragMinDist = DD_DEFDRAGMINDIST;
UINT COleDropSource::nDragDelay = DD_DEFDRAGDELAY;

COleDropSource::COleDropSource() : m_bDragStarted(FALSE), m_dwButtonCancel(0), m_dwButtonDrop(0) {
    m_xDropSource.m_pOwner = this;
}

COleDropSource::~COleDropSource() = default;

LPDROPSOURCE COleDropSource::GetDropSource() { return &m_xDropSource; }

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
    if (bEscapePressed || (dwKeyState & m_dwButtonCancel)) {
        m_bDragStarted = FALSE;
        return DRAGDROP_S_CANCEL;
    }
    if ((dwKeyState & m_dwButtonDrop) == 0) return m_bDragStarted ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd) {
    m_bDragStarted = FALSE;
    m_dwButtonCancel = m_dwButtonDrop = 0;
    if (GetKeyState(VK_LBUTTON) < 0) {
        m_dwButtonDrop = MK_LBUTTON;
        m_dwButtonCancel = MK_RBUTTON;
    } else if (GetKeyState(VK_RBUTTON) < 0) {
        m_dwButtonDrop = MK_RBUTTON;
        m_dwButtonCancel = MK_LBUTTON;
    }

    // The wait needs a window of this thread to hold the capture; a hidden one serves when the
    // caller names none.
    HWND capture = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    HWND own = nullptr;
    if (!capture) {
        own = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
        capture = own;
    }
    if (!capture) return FALSE;
    ::SetCapture(capture);

    const DWORD start = GetTickCount();
    while (!m_bDragStarted) {
        if (::GetCapture() != capture) break;   // someone took the capture: no drag
        MSG msg;
        if (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE | PM_NOYIELD) ||
            PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE | PM_NOYIELD)) {
            if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP || msg.message == WM_LBUTTONDOWN ||
                msg.message == WM_RBUTTONDOWN)
                break;
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
            m_bDragStarted = !m_rectStartDrag.PtInRect(msg.pt);
            continue;
        }
        DWORD waited = GetTickCount() - start;
        if (waited > nDragDelay) {
            m_bDragStarted = TRUE;   // held long enough in place: the drag starts anyway
            break;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, nDragDelay - waited + 1, QS_MOUSE | QS_KEY, MWMO_INPUTAVAILABLE);
    }
    if (::GetCapture() == capture) ::ReleaseCapture();
    if (own) DestroyWindow(own);
    return m_bDragStarted;
}

STDMETHODIMP COleDropSource::XDropSource::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
        *ppv = static_cast<IDropSource*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}
// The C++ object owns its lifetime; references only pin it for the length of a drag.
STDMETHODIMP_(ULONG) COleDropSource::XDropSource::AddRef() { return 2; }
STDMETHODIMP_(ULONG) COleDropSource::XDropSource::Release() { return 1; }
STDMETHODIMP COleDropSource::XDropSource::QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) {
    return m_pOwner->QueryContinueDrag(fEscapePressed, grfKeyState);
}
STDMETHODIMP COleDropSource::XDropSource::GiveFeedback(DWORD dwEffect) { return m_pOwner->GiveFeedback(dwEffect); }

// COleDropTarget ---------------------------------------------------------------------------------

int COleDropTarget::nScrollInset = DD_DEFSCROLLINSET;
UINT COleDropTarget::nScrollDelay = DD_DEFSCROLLDELAY;
UINT COleDropTarget::nScrollInterval = DD_DEFSCROLLINTERVAL;

COleDropTarget::COleDropTarget()
    : m_hWnd(nullptr), m_lpDataObject(nullptr), m_nTimerID(kNoScroll), m_dwLastTick(0), m_nScrollDelay(0) {
    m_xDropTarget.m_pOwner = this;
}

COleDropTarget::~COleDropTarget() {
    if (m_hWnd) COleDropTarget::Revoke();
    if (m_lpDataObject) m_lpDataObject->Release();
}

LPDROPTARGET COleDropTarget::GetDropTarget() { return &m_xDropTarget; }

BOOL COleDropTarget::Register(CWnd* pWnd) {
    HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (!hwnd || m_hWnd) return FALSE;
    if (FAILED(::RegisterDragDrop(hwnd, &m_xDropTarget))) return FALSE;
    m_hWnd = hwnd;
    return TRUE;
}

void COleDropTarget::Revoke() {
    if (!m_hWnd) return;
    ::RevokeDragDrop(m_hWnd);
    // Whatever the system still holds of us goes now: the object may be destroyed next.
    CoDisconnectObject(&m_xDropTarget, 0);
    m_hWnd = nullptr;
    m_nTimerID = kNoScroll;
    if (m_lpDataObject) m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) {
    return (DROPEFFECT)-1;
}
void COleDropTarget::OnDragLeave(CWnd*) {}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) {
    HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (!hwnd) return DROPEFFECT_NONE;
    DWORD style = (DWORD)GetWindowLongPtrW(hwnd, GWL_STYLE);
    CRect client;
    ::GetClientRect(hwnd, &client);
    CRect inner = client;
    inner.InflateRect(-nScrollInset, -nScrollInset);

    BYTE horz = 0xFF, vert = 0xFF;
    if (client.PtInRect(point) && !inner.PtInRect(point)) {
        if (style & WS_HSCROLL) {
            if (point.x < inner.left) horz = SB_LINEUP;
            else if (point.x >= inner.right) horz = SB_LINEDOWN;
        }
        if (style & WS_VSCROLL) {
            if (point.y < inner.top) vert = SB_LINEUP;
            else if (point.y >= inner.bottom) vert = SB_LINEDOWN;
        }
    }
    UINT timer = MAKEWORD(horz, vert);
    if (timer == kNoScroll) {
        if (m_nTimerID != kNoScroll) {
            // Back from the scroll band: the target sees the drag enter again.
            m_nTimerID = kNoScroll;
            COleDataObject data;
            data.Attach(m_lpDataObject, FALSE);
            OnDragEnter(pWnd, &data, dwKeyState, point);
        }
        return DROPEFFECT_NONE;
    }

    DWORD now = GetTickCount();
    if (timer != m_nTimerID) {
        m_dwLastTick = now;
        m_nScrollDelay = nScrollDelay;
    }
    if (now - m_dwLastTick > m_nScrollDelay) {
        if (horz != 0xFF) ::SendMessageW(hwnd, WM_HSCROLL, MAKEWPARAM(horz, 0), 0);
        if (vert != 0xFF) ::SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(vert, 0), 0);
        m_dwLastTick = now;
        m_nScrollDelay = nScrollInterval;
    }
    if (m_nTimerID == kNoScroll) OnDragLeave(pWnd);   // into the scroll band: the target loses the drag
    m_nTimerID = timer;

    if ((dwKeyState & (MK_CONTROL | MK_SHIFT)) == (MK_CONTROL | MK_SHIFT)) return DROPEFFECT_SCROLL | DROPEFFECT_LINK;
    if (dwKeyState & MK_CONTROL) return DROPEFFECT_SCROLL | DROPEFFECT_COPY;
    return DROPEFFECT_SCROLL | DROPEFFECT_MOVE;
}

STDMETHODIMP COleDropTarget::XDropTarget::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *ppv = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}
STDMETHODIMP_(ULONG) COleDropTarget::XDropTarget::AddRef() { return 2; }
STDMETHODIMP_(ULONG) COleDropTarget::XDropTarget::Release() { return 1; }

namespace {
CPoint clientPoint(HWND hwnd, POINTL pt) {
    CPoint p((int)pt.x, (int)pt.y);
    ::ScreenToClient(hwnd, &p);
    return p;
}
}  // namespace

STDMETHODIMP COleDropTarget::XDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                                    DWORD* pdwEffect) {
    COleDropTarget* t = m_pOwner;
    if (!pdwEffect || !pDataObj || !t->m_hWnd) return E_INVALIDARG;
    try {
        pDataObj->AddRef();
        if (t->m_lpDataObject) t->m_lpDataObject->Release();
        t->m_lpDataObject = pDataObj;
        CWnd* pWnd = CWnd::FromHandle(t->m_hWnd);
        CPoint point = clientPoint(t->m_hWnd, pt);
        DROPEFFECT effect = t->OnDragScroll(pWnd, grfKeyState, point);
        if (!(effect & DROPEFFECT_SCROLL)) {
            COleDataObject data;
            data.Attach(pDataObj, FALSE);
            effect = t->OnDragEnter(pWnd, &data, grfKeyState, point);
        }
        *pdwEffect = filterDropEffect(effect, *pdwEffect);
        return S_OK;
    } catch (...) {
        *pdwEffect = DROPEFFECT_NONE;
        return E_UNEXPECTED;
    }
}

STDMETHODIMP COleDropTarget::XDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) {
    COleDropTarget* t = m_pOwner;
    if (!pdwEffect) return E_INVALIDARG;
    if (!t->m_lpDataObject || !t->m_hWnd) return E_UNEXPECTED;
    try {
        CWnd* pWnd = CWnd::FromHandle(t->m_hWnd);
        CPoint point = clientPoint(t->m_hWnd, pt);
        DROPEFFECT effect = t->OnDragScroll(pWnd, grfKeyState, point);
        if (!(effect & DROPEFFECT_SCROLL)) {
            COleDataObject data;
            data.Attach(t->m_lpDataObject, FALSE);
            effect = t->OnDragOver(pWnd, &data, grfKeyState, point);
        }
        *pdwEffect = filterDropEffect(effect, *pdwEffect);
        return S_OK;
    } catch (...) {
        *pdwEffect = DROPEFFECT_NONE;
        return E_UNEXPECTED;
    }
}

STDMETHODIMP COleDropTarget::XDropTarget::DragLeave() {
    COleDropTarget* t = m_pOwner;
    HRESULT hr = S_OK;
    t->m_nTimerID = kNoScroll;
    try {
        if (t->m_hWnd) t->OnDragLeave(CWnd::FromHandle(t->m_hWnd));
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    if (t->m_lpDataObject) t->m_lpDataObject->Release();
    t->m_lpDataObject = nullptr;
    return hr;
}

STDMETHODIMP COleDropTarget::XDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                               DWORD* pdwEffect) {
    COleDropTarget* t = m_pOwner;
    if (!pdwEffect || !pDataObj || !t->m_hWnd) return E_INVALIDARG;
    HRESULT hr = S_OK;
    t->m_nTimerID = kNoScroll;
    try {
        CWnd* pWnd = CWnd::FromHandle(t->m_hWnd);
        CPoint point = clientPoint(t->m_hWnd, pt);
        COleDataObject data;
        data.Attach(pDataObj, FALSE);
        // The drop is checked like a last move, then offered to OnDropEx, then to OnDrop.
        DROPEFFECT allowed = *pdwEffect;
        DROPEFFECT effect = filterDropEffect(t->OnDragOver(pWnd, &data, grfKeyState, point), allowed);
        DROPEFFECT ex = t->OnDropEx(pWnd, &data, effect, allowed, point);
        if (ex != (DROPEFFECT)-1)
            effect = ex;
        else if (effect != DROPEFFECT_NONE) {
            if (!t->OnDrop(pWnd, &data, effect, point)) effect = DROPEFFECT_NONE;
        } else
            t->OnDragLeave(pWnd);
        *pdwEffect = effect;
    } catch (...) {
        *pdwEffect = DROPEFFECT_NONE;
        hr = E_UNEXPECTED;
    }
    if (t->m_lpDataObject) t->m_lpDataObject->Release();
    t->m_lpDataObject = nullptr;
    return hr;
}
