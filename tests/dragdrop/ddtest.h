// Drag-and-drop tests: a source and a target whose hooks record what they see, two windows that
// record their presses, input from another thread, blocks, data objects and the clipboard.
#pragma once
#include <gtest/gtest.h>
#include "qDragDrop.h"
#include "qWndMgr.h"
#include "testinput.h"
#include <atomic>
#include <string>

using testutil::pumpUntil, testutil::waitUntil, testutil::mouseInput, testutil::keyInput, testutil::send;
inline void pointerTo(POINT screen) { send({mouseInput(MOUSEEVENTF_MOVE, &screen)}); }

struct Arrival { int bLast, nEvent; UINT format; std::wstring name; DWORD keyState; POINT point; DWORD effect; };
// One per-format hook call: T text, H thumbnail, M menu view, A attribute, U unknown.
struct Extract { char kind; DWORD effect; std::wstring text; const void* object; std::string bytes; };

inline std::string bytesOf(HGLOBAL block) {
    SIZE_T n = block ? GlobalSize(block) : 0;
    const char* p = n ? (const char*)GlobalLock(block) : nullptr;
    std::string s = p ? std::string(p, n) : std::string();
    if (p) GlobalUnlock(block);
    return s;
}
// Exactly these bytes, movable.
inline HGLOBAL blockOf(const std::string& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (h && !bytes.empty()) memcpy(GlobalLock(h), bytes.data(), bytes.size()), GlobalUnlock(h);
    return h;
}
inline std::string referenceBytes(const GUID& id, const void* address, const void* cleanup = nullptr) {
    uint64_t a = (uintptr_t)address, c = (uintptr_t)cleanup;
    return std::string((const char*)&id, 16) + std::string((const char*)&a, 8) + std::string((const char*)&c, 8);
}

class ProbeTarget : public CDragDropTarget {
public:
    using CDragDropTarget::m_cfThumbList, CDragDropTarget::m_cfMenuView, CDragDropTarget::m_cfMenuObjectAttribute;
    using CDragDropTarget::m_dropTarget;
    std::vector<Arrival> arrivals;
    std::vector<Extract> extracts;
    // Read by a driving thread: generic-hook calls per event, the last move's point (x << 16 | y).
    std::atomic<int> events[3] = {{0}, {0}, {0}};
    std::atomic<long> lastOver{-1};
    std::function<int(const Arrival&)> answer = [](const Arrival&) { return 1; };
    DWORD arriveEffect = 0, hookEffect = DROPEFFECT_COPY;   // what the generic and the per-format hooks write
    void clear() { arrivals.clear(), extracts.clear(), lastOver = -1, events[0] = events[1] = events[2] = 0; }
    std::string kinds() const {
        std::string s;
        for (const Extract& e : extracts) s += e.kind;
        return s;
    }
    LPDROPTARGET dropTarget() { return m_dropTarget.GetDropTarget(); }

protected:
    int m_fnOnDataArrive(int bLast, int nEvent, UINT nFormat, CString& name, DWORD keyState, CPoint point,
                         DWORD effect, DWORD* pdwEffect) override {
        arrivals.push_back({bLast, nEvent, nFormat, name.GetString(), keyState, point, effect});
        if (nEvent == 1) lastOver = (long)point.x << 16 | point.y;
        ++events[nEvent % 3];
        *pdwEffect = arriveEffect;
        return answer(arrivals.back());
    }
    void got(char kind, DWORD effect, DWORD* pdwEffect, const void* object, std::string bytes, std::wstring text = L"") {
        extracts.push_back({kind, effect, text, object, bytes}), *pdwEffect = hookEffect;
    }
    void m_fnOnDataArrive_CF_TEXT(int, CString& t, DWORD e, DWORD* r) override { got('T', e, r, nullptr, "", t.GetString()); }
    void m_fnOnDataArrive_ThumbnailListView(int, _TList_tag* t, DWORD e, DWORD* r) override {
        got('H', e, r, t, std::string((const char*)t, sizeof(*t)));
    }
    void m_fnOnDataArrive_MenuView(int, CDragDropMenuItemList& list, DWORD e, DWORD* r) override {
        std::string items;
        for (POSITION pos = list.GetHeadPosition(); pos;) items.append((const char*)&list.GetNext(pos), 8);
        got('M', e, r, &list, items);
    }
    void m_fnOnDataArrive_MenuViewObjectAttribute(int, DRAG_DROP_MENU_OBJECT_ATTRIBUTE& a, DWORD e, DWORD* r) override {
        got('A', e, r, &a, std::string((const char*)&a, 8));
    }
    void m_fnOnDataArrive_Unknown(int, void* h, DWORD e, DWORD* r) override { got('U', e, r, h, bytesOf((HGLOBAL)h)); }
};

class ProbeSource : public CDragDropSource {
public:
    using CDragDropSource::m_stDragWndHook, CDragDropSource::m_dwAllowedEffects, CDragDropSource::m_cfPrefer;
    using CDragDropSource::m_cfThumbList, CDragDropSource::m_cfMenuView, CDragDropSource::m_cfMenuObjectAttribute;
    using CDragDropSource::m_listMenuItem, CDragDropSource::m_guidSource, CDragDropSource::m_stMenuObjectAttribute;
    using CDragDropSource::m_pfnMenuItemCleanup, CDragDropSource::m_fnSetAllowedDragOperation, CDragDropSource::m_fnSetPreferClipboardFormat;
    BOOL allow = TRUE, succeed = TRUE;   // answers of m_fnOnPrepareDrag and of the data hooks
    std::wstring text = L"abc";
    _TList_tag thumb = {};
    std::vector<DRAG_DROP_MENU_ITEM_INFO> items;
    DRAG_DROP_MENU_OBJECT_ATTRIBUTE attribute = {0x1234, 0x5678};
    PFN_MENU_ITEM_CLEANUP itemCleanup = nullptr;
    PFN_MENU_OBJECT_ATTRIBUTE_CLEANUP attributeCleanup = nullptr;
    HGLOBAL unknownBlock = nullptr;
    std::atomic<int> presses{0};
    std::string calls;   // data hooks called: T, H, M + the list's count on entry, A, U
    void prefer(UINT format) { m_fnSetPreferClipboardFormat(format); }
    int copy() { CPoint p(5, 6); return m_fnCopyDataToClipboard(p); }

protected:
    int m_fnOnPrepareDrag(CPoint&) override { return ++presses, allow; }
    int m_fnOnPrepareDragData_CF_TEXT(CPoint&, CString& s) override { return calls += 'T', s = text.c_str(), succeed; }
    int m_fnOnPrepareDragData_ThumbnailListView(CPoint&, _TList_tag& t) override { return calls += 'H', t = thumb, succeed; }
    int m_fnOnPrepareDragData_MenuView(CPoint&, CDragDropMenuItemList& list, PFN_MENU_ITEM_CLEANUP* cleanup) override {
        calls += 'M' + std::to_string(list.GetCount());
        for (const auto& i : items) list.AddTail(i);
        return *cleanup = itemCleanup, succeed;
    }
    int m_fnOnPrepareDragData_MenuViewObjectAttribute(CPoint&, DRAG_DROP_MENU_OBJECT_ATTRIBUTE& a,
                                                      PFN_MENU_OBJECT_ATTRIBUTE_CLEANUP* cleanup) override {
        return calls += 'A', a = attribute, *cleanup = attributeCleanup, succeed;
    }
    int m_fnOnPrepareDragData_Unknown(CPoint&, void** b) override { return calls += 'U', *b = unknownBlock, unknownBlock = nullptr, succeed; }
};

// A framework window recording its presses and releases (message, lParam).
class RecWnd : public CWnd {
public:
    std::vector<std::pair<UINT, LPARAM>> clicks;
    void create(int x, int y) {
        // No CS_DBLCLKS: quick presses stay presses.
        LPCWSTR cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)GetStockObject(WHITE_BRUSH));
        CreateEx(WS_EX_TOPMOST, cls, L"", WS_POPUP | WS_BORDER, x, y, 220, 160, nullptr, nullptr);
        ShowWindow(SW_SHOWNOACTIVATE);
    }
    POINT screen(int x, int y) const { POINT p = {x, y}; return ::ClientToScreen(m_hWnd, &p), p; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP) clicks.push_back({msg, lp});
        return CWnd::WindowProc(msg, wp, lp);
    }
};

// The source and target windows of every test, kept for the whole run (tearing top-level windows
// down costs seconds under Wine); the source holds the keyboard focus so Esc reaches this thread.
struct Scene {
    RecWnd source, target;
    static Scene& get() {
        static Scene* scene = [] {
            auto* s = new Scene;
            s->source.create(60, 60), s->target.create(360, 60);
            s->source.SetForegroundWindow(), s->source.SetFocus();
            pumpUntil([] { return false; }, 100);
            return s;
        }();
        return *scene;
    }
};

// Ownership of the block passes; false when refused.
inline bool putClipboard(UINT format, HGLOBAL block) {
    bool ok = OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(format, block);
    CloseClipboard();
    if (!ok) GlobalFree(block);
    return ok;
}
inline std::string clipboardBytes(UINT format) {
    if (!OpenClipboard(nullptr)) return "(not opened)";
    std::string bytes = bytesOf((HGLOBAL)GetClipboardData(format));
    CloseClipboard();
    return bytes;
}

// What a data object offers, in order (a global block unless told).
struct Offer { UINT format; std::string bytes; DWORD tymed = TYMED_HGLOBAL; };

// A target registered on the scene's target window.
struct TargetTest : public ::testing::Test {
    Scene& scene = Scene::get();
    ProbeTarget target;
    void SetUp() override {
        target.m_fnSetDropWindow(&scene.target);
        target.m_fnEnableDropOperation(1);
    }
    // Enter, over and drop of a data object at (31, 17) on the target's OLE drop target; the drop's effect.
    DWORD drop(const std::vector<Offer>& offers, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
        COleDataSource data;
        for (const Offer& o : offers) {
            STGMEDIUM m = {o.tymed};
            if (o.tymed == TYMED_HGLOBAL) m.hGlobal = blockOf(o.bytes);
            if (o.tymed == TYMED_ISTREAM) CreateStreamOnHGlobal(blockOf(o.bytes), TRUE, &m.pstm);
            data.CacheData((CLIPFORMAT)o.format, &m);
        }
        POINT s = scene.target.screen(31, 17);
        POINTL pt = {s.x, s.y};
        DWORD e[3] = {allowed, allowed, allowed};
        target.dropTarget()->DragEnter(data.GetDataObject(), MK_LBUTTON, pt, &e[0]);
        target.dropTarget()->DragOver(MK_LBUTTON, pt, &e[1]);
        target.dropTarget()->Drop(data.GetDataObject(), 0, pt, &e[2]);
        return e[2];
    }
    // Pastes taking only format; the extractions.
    std::string pasteOnly(UINT format) {
        target.clear();
        target.answer = [format](const Arrival& a) { return a.format == format ? 1 : 0; };
        CPoint p(12, 34);
        EXPECT_TRUE(target.m_fnPasteClipboardData(p));
        target.answer = [](const Arrival&) { return 1; };
        return target.kinds();
    }
};
