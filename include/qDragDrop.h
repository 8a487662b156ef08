// Drag and drop and clipboard transfer between the host's views in private clipboard formats:
// the drag source a host window derives from, and the drop target with its inner OLE object.
//
// Formats (registered by name; the payload is a movable global block):
//   CF_TEXT                                  NUL-terminated ANSI text
//   "THUMBLISTPRIVATECLIPFORMAT"             one _TList_tag record, 104 bytes
//   "5E686CEC-92BE-4f79-BD7E-ABA723A8E015"   reference record to the source's menu-item list
//   "2D81248A_520E_45d2_813F_B8511F34BD3C"   reference record to the source's object attribute
// A reference record (32 bytes) holds the source's identity (GUID), the object's address and the
// clean-up function's address. It means something only inside the process that wrote it: the
// reader follows the address only for a live source of this module with that identity.
#pragma once
#include "qTrimUIDef.h"
#include <afxole.h>
#include <afxtempl.h>

// Records of the host application, moved without looking inside. Only their sizes are fixed.
struct DRAG_DROP_MENU_ITEM_INFO {
    UINT nItemID;
    UINT nFlags;
};
struct DRAG_DROP_MENU_OBJECT_ATTRIBUTE {
    UINT nObjectID;
    UINT nAttribute;
};
struct _TList_tag {
    int nItem;
    UINT nType;
    LONGLONG llInPoint;
    LONGLONG llOutPoint;
    WCHAR szName[40];
};
static_assert(sizeof(DRAG_DROP_MENU_ITEM_INFO) == 8, "host record size");
static_assert(sizeof(DRAG_DROP_MENU_OBJECT_ATTRIBUTE) == 8, "host record size");
static_assert(sizeof(_TList_tag) == 104, "host record size");

typedef CList<DRAG_DROP_MENU_ITEM_INFO, DRAG_DROP_MENU_ITEM_INFO> CDragDropMenuItemList;
typedef void (*PFN_MENU_ITEM_CLEANUP)(CList<DRAG_DROP_MENU_ITEM_INFO, DRAG_DROP_MENU_ITEM_INFO>&);
typedef void (*PFN_MENU_OBJECT_ATTRIBUTE_CLEANUP)(DRAG_DROP_MENU_OBJECT_ATTRIBUTE&);

// Drag source ------------------------------------------------------------------------------------

// What the hooked window procedure calls on a left-button press.
class IDragWndNotify {
public:
    // TRUE when the press was consumed.
    virtual int m_fnOnLButtonDown(UINT nFlags, CPoint point) = 0;
    virtual ~IDragWndNotify() {}
};

// The hook on a drag window: its handle, who to tell, and the procedure that was replaced.
struct tagDRAG_WND_HOOK {
    HWND hWnd;
    IDragWndNotify* pNotify;
    WNDPROC pfnPrevWndProc;
};

struct CDragDropSourceAccess;

// Starts drags and clipboard copies from a host window. The host names the window, picks the
// preferred format and the allowed effects, enables dragging and overrides the hooks; with the
// defaults nothing can be dragged or copied.
class QTRIMUI_API CDragDropSource : public IDragWndNotify {
public:
    CDragDropSource();
    virtual ~CDragDropSource();

    // Hooks pWnd's window procedure (a window hooked before gets its own back; null hooks none).
    void m_fnSetDragWindow(CWnd* pWnd);
    void m_fnEnableDragOperation(int bEnable);
    // Puts the payload for point (drag-window client coordinates) on the clipboard.
    int m_fnCopyDataToClipboard(CPoint& point);
    int m_fnIsCopyToClipboardEnabled(CPoint& point);
    // Runs the clean-ups of the last menu-view and attribute preparations and empties the list.
    void fnCleanMenuItemData();

protected:
    // Bit 0 copy, bit 1 move, bit 2 link; other bits are ignored.
    void m_fnSetAllowedDragOperation(int nFlags);
    void m_fnSetPreferClipboardFormat(UINT nFormat);
    void m_fnSetPreferClipboardFormat(const wchar_t* lpszFormatName);

    // Hooks: non-zero for success.
    virtual int m_fnOnPrepareDragData_CF_TEXT(CPoint& point, CString& strText);
    virtual int m_fnOnPrepareDragData_ThumbnailListView(CPoint& point, _TList_tag& stItem);
    virtual int m_fnOnPrepareDragData_MenuView(CPoint& point,
                                               CList<DRAG_DROP_MENU_ITEM_INFO, DRAG_DROP_MENU_ITEM_INFO>& listItem,
                                               PFN_MENU_ITEM_CLEANUP* ppfnCleanup);
    virtual int m_fnOnPrepareDragData_MenuViewObjectAttribute(CPoint& point,
                                                              DRAG_DROP_MENU_OBJECT_ATTRIBUTE& stAttribute,
                                                              PFN_MENU_OBJECT_ATTRIBUTE_CLEANUP* ppfnCleanup);
    virtual int m_fnOnPrepareDragData_Unknown(CPoint& point, void** phGlobal);
    // May anything at point be dragged or copied?
    virtual int m_fnOnPrepareDrag(CPoint& point);

    CWnd* m_pDragWnd;
    tagDRAG_WND_HOOK m_stDragWndHook;
    COleDataSource m_oleDataSource;
    DWORD m_dwAllowedEffects;
    UINT m_cfPrefer;
    BOOL m_bEnableDrag;
    UINT m_cfThumbList;
    UINT m_cfMenuView;
    UINT m_cfMenuObjectAttribute;
    CList<DRAG_DROP_MENU_ITEM_INFO, DRAG_DROP_MENU_ITEM_INFO> m_listMenuItem;
    PFN_MENU_ITEM_CLEANUP m_pfnMenuItemCleanup;
    DRAG_DROP_MENU_OBJECT_ATTRIBUTE m_stMenuObjectAttribute;
    PFN_MENU_OBJECT_ATTRIBUTE_CLEANUP m_pfnMenuObjectAttributeCleanup;
    GUID m_guidSource;

private:
    friend struct CDragDropSourceAccess;
    int m_fnOnLButtonDown(UINT nFlags, CPoint point) override;
    int m_fnOnPrepareDragData(CPoint& point, void** phGlobal);

    CDragDropSource(const CDragDropSource&) = delete;
    CDragDropSource& operator=(const CDragDropSource&) = delete;
};

// Drop target ------------------------------------------------------------------------------------

// The drag events, as the inner OLE object forwards them (points in drop-window client coordinates).
class IDropTargetObjectNotify {
public:
    virtual DWORD m_fnOnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) = 0;
    virtual DWORD m_fnOnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) = 0;
    virtual DWORD m_fnOnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DWORD dropDefault, DWORD dropList,
                               CPoint point) = 0;
    virtual void m_fnOnDragLeave(CWnd* pWnd) = 0;
    virtual void m_fnOnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) = 0;
    virtual ~IDropTargetObjectNotify() {}
};

// The registered OLE drop target: forwards every event to its notify object (or behaves as the
// framework's drop target without one). It never reports scrolling.
class QTRIMUI_API CDropTargetObject : public COleDropTarget {
public:
    CDropTargetObject();
    ~CDropTargetObject() override;

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                        CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

    IDropTargetObjectNotify* m_pNotify;
};

// Accepts drops and clipboard pastes on a host window. Events: 0 the drag enters, 1 it moves (and
// the paste query), 2 the drop (and the paste). With the default hooks every drop is refused.
class QTRIMUI_API CDragDropTarget : public IDropTargetObjectNotify {
public:
    CDragDropTarget();
    virtual ~CDragDropTarget();

    // Removes any drop target registered on pWnd's window; does not register.
    void m_fnSetDropWindow(CWnd* pWnd);
    // 1 registers (once), any other value revokes.
    void m_fnEnableDropOperation(int bEnable);
    int m_fnIsPasteFromClipboardEnabled(CPoint& point);
    // FALSE only when the clipboard could not be opened.
    int m_fnPasteClipboardData(CPoint& point);

protected:
    virtual void m_fnOnDragLeave();
    virtual void m_fnOnDragScroll(DWORD dwKeyState, CPoint point);
    // Return 1 to have the data of nFormat extracted and handed to its per-format hook.
    virtual int m_fnOnDataArrive(int bLast, int nEvent, UINT nFormat, CString& strFormatName, DWORD dwKeyState,
                                 CPoint point, DWORD dwEffect, DWORD* pdwEffect);
    virtual void m_fnOnDataArrive_CF_TEXT(int bLast, CString& strText, DWORD dwEffect, DWORD* pdwEffect);
    // pItem points into the block: valid only during the call.
    virtual void m_fnOnDataArrive_ThumbnailListView(int bLast, _TList_tag* pItem, DWORD dwEffect, DWORD* pdwEffect);
    // The source's own list and attribute, not copies.
    virtual void m_fnOnDataArrive_MenuView(int bLast, CList<DRAG_DROP_MENU_ITEM_INFO, DRAG_DROP_MENU_ITEM_INFO>& listItem,
                                           DWORD dwEffect, DWORD* pdwEffect);
    virtual void m_fnOnDataArrive_MenuViewObjectAttribute(int bLast, DRAG_DROP_MENU_OBJECT_ATTRIBUTE& stAttribute,
                                                          DWORD dwEffect, DWORD* pdwEffect);
    // The block itself, neither locked nor owned by the hook.
    virtual void m_fnOnDataArrive_Unknown(int bLast, void* hGlobal, DWORD dwEffect, DWORD* pdwEffect);

    CDropTargetObject m_dropTarget;
    CWnd* m_pDropWnd;
    BOOL m_bRegistered;
    UINT m_cfThumbList;
    UINT m_cfMenuView;
    UINT m_cfMenuObjectAttribute;

private:
    DWORD m_fnOnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DWORD m_fnOnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DWORD m_fnOnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DWORD dropDefault, DWORD dropList,
                       CPoint point) override;
    void m_fnOnDragLeave(CWnd* pWnd) override;
    void m_fnOnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

    DWORD m_fnNotifyDataArrive(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point, DWORD dwEffect, int nEvent);
    void m_fnExtractData(int bLast, COleDataObject* pDataObject, UINT nFormat, DWORD dwEffect, DWORD* pdwEffect);
    void m_fnExtractData(int bLast, void* hGlobal, UINT nFormat, DWORD dwEffect, DWORD* pdwEffect);
    int m_fnWalkClipboard(CPoint& point, int nEvent);

    CDragDropTarget(const CDragDropTarget&) = delete;
    CDragDropTarget& operator=(const CDragDropTarget&) = delete;
};
