// OLE drag and drop of the framework stand-in: a data object wrapper, a data source with its cache,
// the default drop source with its drag-start wait, and a drop target with registration and
// drag scrolling. All of it sits on the system's OLE (DoDragDrop, RegisterDragDrop).
#pragma once
#include "afxwin.h"
#include <ole2.h>

typedef DWORD DROPEFFECT;

class COleDropSource;

// A borrowed or owned IDataObject: enumerates its formats and reads its data.
class UIFW_API COleDataObject {
public:
    COleDataObject();
    ~COleDataObject();

    // Takes lpDataObject; with bAutoRelease the object releases it when detached or destroyed.
    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // Attaches the data object now on the clipboard (OleGetClipboard).
    BOOL AttachClipboard();
    LPDATAOBJECT GetIDataObject(BOOL bAddRef);

    // Format enumeration in the data object's order; GetNextFormat is FALSE after the last one.
    // The target device of each returned format is freed and left null.
    void BeginEnumFormats();
    BOOL GetNextFormat(LPFORMATETC lpFormatEtc);

    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // The caller releases the medium (ReleaseStgMedium).
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    // A global block the caller owns and frees, or null.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

private:
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    LPDATAOBJECT m_lpDataObject;
    LPENUMFORMATETC m_lpEnumerator;
    BOOL m_bAutoRelease;
};

// Data offered to drags: a cache of media, one per format, behind an IDataObject. The cache
// lives in a reference-counted object, so a consumer still holding the IDataObject after the
// source is gone reads an empty cache, never freed memory.
class UIFW_API COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    ~COleDataSource() override;

    // The cache owns hGlobal from now on; a block already cached under the same format (and
    // aspect) is freed and replaced.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    void CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    // Releases every cached medium.
    void Empty();

    // Waits for the drag to start (COleDropSource::OnBeginDrag with lpRectStartDrag in screen
    // coordinates; null: a small square around the pointer), then runs the system's drag loop.
    // The effect the target chose, DROPEFFECT_NONE when no drag started or it was cancelled.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);

    // The data object (not AddRef'd: AddRef it to keep it).
    LPDATAOBJECT GetDataObject() const;

private:
    struct Impl;
    Impl* m_pImpl;
};

// The drop source used by drags: starts once the pointer leaves the start rectangle (or the drag
// delay has passed), cancels on Esc or the other button, drops when the pressed button goes up.
class UIFW_API COleDropSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropSource)
public:
    COleDropSource();
    ~COleDropSource() override;

    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
    // Captures the mouse for pWnd (a hidden window of the framework when null) and waits; TRUE
    // when the drag is to start, FALSE when a button changed, Esc was pressed or capture was lost.
    virtual BOOL OnBeginDrag(CWnd* pWnd);

    LPDROPSOURCE GetDropSource();

    BOOL m_bDragStarted;
    DWORD m_dwButtonCancel;
    DWORD m_dwButtonDrop;
    CRect m_rectStartDrag;   // screen coordinates

    static int nDragMinDist;   // half side of the start square when none is given
    static UINT nDragDelay;    // ms after which the drag starts even inside the square

private:
    struct XDropSource : public IDropSource {
        COleDropSource* m_pOwner;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(QueryContinueDrag)(BOOL fEscapePressed, DWORD grfKeyState) override;
        STDMETHOD(GiveFeedback)(DWORD dwEffect) override;
    } m_xDropSource;
};

// A drop target registered on one window. The events arrive with the point in the window's
// client coordinates; the effect returned is filtered against what the source allows.
class UIFW_API COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    ~COleDropTarget() override;   // revokes a registration that is still in place

    BOOL Register(CWnd* pWnd);
    virtual void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    // (DROPEFFECT)-1 means "not handled": OnDrop runs instead.
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    // Scrolls a window with scroll bars while the pointer rests in the band of nScrollInset pixels
    // along its edges (first after nScrollDelay, then every nScrollInterval ms) and returns
    // DROPEFFECT_SCROLL with the effect; DROPEFFECT_NONE outside the band.
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    LPDROPTARGET GetDropTarget();
    HWND m_hWnd;   // the registered window, null when not registered

    static int nScrollInset;
    static UINT nScrollDelay;
    static UINT nScrollInterval;

protected:
    LPDATAOBJECT m_lpDataObject;   // held from DragEnter until DragLeave or Drop
    UINT m_nTimerID;               // scroll directions: low byte horizontal, high byte vertical
    DWORD m_dwLastTick;
    UINT m_nScrollDelay;

private:
    struct XDropTarget : public IDropTarget {
        COleDropTarget* m_pOwner;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(DragEnter)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHOD(DragOver)(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHOD(DragLeave)() override;
        STDMETHOD(Drop)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
    } m_xDropTarget;
};
