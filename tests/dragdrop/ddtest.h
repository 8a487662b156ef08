// Drag-and-drop tests: a source and a target whose hooks record what they see, windows that record
// the presses they get, a pointer driven by SendInput from another thread, clipboard helpers.
#pragma once
#include "qDragDrop.h"
#include "qWndMgr.h"
#include <atomic>
#include <functional>
#include <string>
#include <vector>

// One call of the generic hook.
struct Arrival {
    int bLast, nEvent;
    UINT format;
    std::wstring name;
    DWORD keyState;
    POINT point;
    DWORD effect;
};

// One call of a per-format hook: 'T' text, 'H' thumbnail, 'M' menu view, 'A' attribute, 'U' unknown.
struct Extract {
    char kind;
    int bLast;
    DWORD effect;
    std::wstring text;
    const void* object;    // the list, the attribute, the record or the block handed over
    std::string bytes;     // the thumbnail record or the unknown block's content
};

class ProbeTarget : public CDragDropTarget {
public:
    using CDragDropTarget::m_cfThumbList, CDragDropTarget::m_cfMenuView, CDragDropTarget::m_cfMenuObjectAttribute;
    using CDragDropTarget::m_dropTarget, CDragDropTarget::m_bRegistered, CDragDropTarget::m_pDropWnd;

    std::vector<Arrival> arrivals;
    std::vector<Extract> extracts;
    int scrolls = 0;
    // For the thread that drives a drag: generic-hook calls per event, the last move's point
    // (x << 16 | y), and the leave hook's calls.
    std::atomic<int> events[3] = {{0}, {0}, {0}};
    std::atomic<long> lastOver{-1};
    std::atomic<int> leaves{0};
    std::function<int(const Arrival&)> answer = [](const Arrival&) { return 1; };
    DWORD arriveEffect = 0;              // what the generic hook writes
    DWORD hookEffect = DROPEFFECT_COPY;  // what the per-format hooks write

    void clear() {
        arrivals.clear(), extracts.clear(), leaves = 0, scrolls = 0, lastOver = -1;
        for (auto& e : events) e = 0;
    }
    // The extractions' kinds in order, e.g. "TM".
    std::string kinds() const {
        std::string s;
        for (const Extract& e : extracts) s += e.kind;
        return s;
    }
    LPDROPTARGET dropTarget() { return m_dropTarget.GetDropTarget(); }

protected:
    void m_fnOnDragLeave() override { ++leaves; }
    void m_fnOnDragScroll(DWORD, CPoint) override { ++scrolls; }
    int m_fnOnDataArrive(int bLast, int nEvent, UINT nFormat, CString& name, DWORD keyState, CPoint point,
                         DWORD effect, DWORD* pdwEffect) override;
    void m_fnOnDataArrive_CF_TEXT(int bLast, CString& text, DWORD effect, DWORD* pdwEffect) override;
    void m_fnOnDataArrive_ThumbnailListView(int bLast, _TList_tag* item, DWORD effect, DWORD* pdwEffect) override;
    void m_fnOnDataArrive_MenuView(int bLast, CDragDropMenuItemList& list, DWORD effect, DWORD* pdwEffect) override;
    void m_fnOnDataArrive_MenuViewObjectAttribute(int bLast, DRAG_DROP_MENU_OBJECT_ATTRIBUTE& attr, DWORD effect,
                                                  DWORD* pdwEffect) override;
    void m_fnOnDataArrive_Unknown(int bLast, void* hGlobal, DWORD effect, DWORD* pdwEffect) override;
};

class ProbeSource : public CDragDropSource {
public:
    using CDragDropSource::m_pDragWnd, CDragDropSource::m_stDragWndHook, CDragDropSource::m_dwAllowedEffects;
    using CDragDropSource::m_cfPrefer, CDragDropSource::m_cfThumbList, CDragDropSource::m_cfMenuView;
    using CDragDropSource::m_cfMenuObjectAttribute, CDragDropSource::m_listMenuItem, CDragDropSource::m_guidSource;
    using CDragDropSource::m_stMenuObjectAttribute, CDragDropSource::m_pfnMenuItemCleanup;
    using CDragDropSource::m_pfnMenuObjectAttributeCleanup, CDragDropSource::m_oleDataSource;
    using CDragDropSource::m_fnSetAllowedDragOperation, CDragDropSource::m_fnSetPreferClipboardFormat;

    BOOL allow = TRUE;                    // what m_fnOnPrepareDrag answers
    BOOL succeed = TRUE;                  // what the data hooks answer
    std::wstring text = L"abc";
    _TList_tag thumb = {};
    std::vector<DRAG_DROP_MENU_ITEM_INFO> items;
    DRAG_DROP_MENU_OBJECT_ATTRIBUTE attribute = {0x1234, 0x5678};
    PFN_MENU_ITEM_CLEANUP itemCleanup = nullptr;
    PFN_MENU_OBJECT_ATTRIBUTE_CLEANUP attributeCleanup = nullptr;
    HGLOBAL unknownBlock = nullptr;       // handed over by the unknown-format hook
    std::atomic<int> presses{0};          // m_fnOnPrepareDrag calls
    std::vector<POINT> points;            // their points
    std::vector<std::string> calls;       // data hooks called, by name

    void preferText() { m_fnSetPreferClipboardFormat((UINT)CF_TEXT); }

protected:
    int m_fnOnPrepareDrag(CPoint& point) override;
    int m_fnOnPrepareDragData_CF_TEXT(CPoint& point, CString& strText) override;
    int m_fnOnPrepareDragData_ThumbnailListView(CPoint& point, _TList_tag& stItem) override;
    int m_fnOnPrepareDragData_MenuView(CPoint& point, CDragDropMenuItemList& listItem,
                                       PFN_MENU_ITEM_CLEANUP* ppfnCleanup) override;
    int m_fnOnPrepareDragData_MenuViewObjectAttribute(CPoint& point, DRAG_DROP_MENU_OBJECT_ATTRIBUTE& stAttribute,
                                                      PFN_MENU_OBJECT_ATTRIBUTE_CLEANUP* ppfnCleanup) override;
    int m_fnOnPrepareDragData_Unknown(CPoint& point, void** phGlobal) override;
};

// A framework window that records the presses and releases it receives (with their lParam).
class RecWnd : public CWnd {
public:
    std::vector<std::pair<UINT, LPARAM>> clicks;
    bool create(int x, int y, int w, int h, const wchar_t* title);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The two windows every drag test uses: a source at (60, 60) and a target at (360, 60), 220 x 160
// each, shown without activation and kept for the whole run.
struct Scene {
    RecWnd source, target;
    static Scene& get();
    POINT screen(const CWnd& w, int x, int y) const;   // client point of w on the screen
};

// Input from any thread, as a mouse and keyboard would give it.
void pointerTo(POINT screen);
void leftButton(bool down);
void pressEscape(bool down);
// The left button pressed and, in the same input batch, released (or Esc pressed).
void pressThen(bool escape);
// Pumps this thread's messages until pred holds or ms pass; the result of pred.
bool pumpUntil(const std::function<bool()>& pred, DWORD ms = 15000);
// Waits (without pumping) until pred holds or ms pass, for driver threads.
bool waitUntil(const std::function<bool()>& pred, DWORD ms = 15000);

// The clipboard: puts one block under format (ownership passes), reads a format back as bytes.
bool putClipboard(UINT format, HGLOBAL block);
bool clipboardBytes(UINT format, std::string& bytes);
HGLOBAL blockOf(const std::string& bytes);   // a movable block holding exactly these bytes
std::string bytesOf(HGLOBAL block);

// Keeps the clipboard open on another thread for the holder's life.
class ClipboardHeld {
public:
    ClipboardHeld();
    ~ClipboardHeld();

private:
    HANDLE m_opened, m_done, m_thread;
};

// A data object offering these (format, medium kind, bytes) in order; HGLOBAL unless told.
struct Offer {
    UINT format;
    std::string bytes;
    DWORD tymed = TYMED_HGLOBAL;
};
void offerAll(COleDataSource& data, const std::vector<Offer>& offers);
// Runs enter, over and drop on the target's IDropTarget with that data object; the drop's effect.
DWORD dropOn(ProbeTarget& target, IDataObject* data, POINT screen, DWORD allowed, DWORD keyState = MK_LBUTTON);

// A reference record as bytes.
std::string referenceBytes(const GUID& identity, const void* address, const void* cleanup = nullptr);
