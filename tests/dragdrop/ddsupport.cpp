#include "ddtest.h"
#include <cstring>

// ProbeTarget --------------------------------------------------------------------------------------

int ProbeTarget::m_fnOnDataArrive(int bLast, int nEvent, UINT nFormat, CString& name, DWORD keyState, CPoint point,
                                  DWORD effect, DWORD* pdwEffect) {
    arrivals.push_back({bLast, nEvent, nFormat, name.GetString(), keyState, point, effect});
    if (nEvent == 1) lastOver = (long)point.x << 16 | point.y;
    if (nEvent >= 0 && nEvent <= 2) ++events[nEvent];
    *pdwEffect = arriveEffect;
    return answer(arrivals.back());
}

void ProbeTarget::m_fnOnDataArrive_CF_TEXT(int bLast, CString& text, DWORD effect, DWORD* pdwEffect) {
    extracts.push_back({'T', bLast, effect, text.GetString(), nullptr, {}});
    *pdwEffect = hookEffect;
}

void ProbeTarget::m_fnOnDataArrive_ThumbnailListView(int bLast, _TList_tag* item, DWORD effect, DWORD* pdwEffect) {
    extracts.push_back({'H', bLast, effect, L"", item, std::string((const char*)item, sizeof(*item))});
    *pdwEffect = hookEffect;
}

void ProbeTarget::m_fnOnDataArrive_MenuView(int bLast, CDragDropMenuItemList& list, DWORD effect, DWORD* pdwEffect) {
    std::string items;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const DRAG_DROP_MENU_ITEM_INFO& i = list.GetNext(pos);
        items.append((const char*)&i, sizeof(i));
    }
    extracts.push_back({'M', bLast, effect, L"", &list, items});
    *pdwEffect = hookEffect;
}

void ProbeTarget::m_fnOnDataArrive_MenuViewObjectAttribute(int bLast, DRAG_DROP_MENU_OBJECT_ATTRIBUTE& attr,
                                                           DWORD effect, DWORD* pdwEffect) {
    extracts.push_back({'A', bLast, effect, L"", &attr, std::string((const char*)&attr, sizeof(attr))});
    *pdwEffect = hookEffect;
}

void ProbeTarget::m_fnOnDataArrive_Unknown(int bLast, void* hGlobal, DWORD effect, DWORD* pdwEffect) {
    extracts.push_back({'U', bLast, effect, L"", hGlobal, bytesOf((HGLOBAL)hGlobal)});
    *pdwEffect = hookEffect;
}

// ProbeSource --------------------------------------------------------------------------------------

int ProbeSource::m_fnOnPrepareDrag(CPoint& point) {
    points.push_back(point);
    ++presses;
    return allow;
}

int ProbeSource::m_fnOnPrepareDragData_CF_TEXT(CPoint&, CString& strText) {
    calls.push_back("text");
    strText = text.c_str();
    return succeed;
}

int ProbeSource::m_fnOnPrepareDragData_ThumbnailListView(CPoint&, _TList_tag& stItem) {
    calls.push_back("thumb");
    stItem = thumb;
    return succeed;
}

int ProbeSource::m_fnOnPrepareDragData_MenuView(CPoint&, CDragDropMenuItemList& listItem,
                                                PFN_MENU_ITEM_CLEANUP* ppfnCleanup) {
    calls.push_back("menu:" + std::to_string(listItem.GetCount()));
    for (const auto& i : items) listItem.AddTail(i);
    *ppfnCleanup = itemCleanup;
    return succeed;
}

int ProbeSource::m_fnOnPrepareDragData_MenuViewObjectAttribute(CPoint&, DRAG_DROP_MENU_OBJECT_ATTRIBUTE& stAttribute,
                                                               PFN_MENU_OBJECT_ATTRIBUTE_CLEANUP* ppfnCleanup) {
    calls.push_back("attr");
    stAttribute = attribute;
    *ppfnCleanup = attributeCleanup;
    return succeed;
}

int ProbeSource::m_fnOnPrepareDragData_Unknown(CPoint&, void** phGlobal) {
    calls.push_back("unknown");
    *phGlobal = unknownBlock;
    unknownBlock = nullptr;
    return succeed;
}

// Windows ------------------------------------------------------------------------------------------

bool RecWnd::create(int x, int y, int w, int h, const wchar_t* title) {
    // No CS_DBLCLKS: presses in quick succession stay presses.
    LPCWSTR cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)GetStockObject(WHITE_BRUSH));
    if (!CreateEx(WS_EX_TOPMOST, cls, title, WS_POPUP | WS_BORDER, x, y, w, h, nullptr, nullptr)) return false;
    ShowWindow(SW_SHOWNOACTIVATE);
    UpdateWindow();
    return true;
}

LRESULT RecWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) clicks.push_back({message, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
}

Scene& Scene::get() {
    static Scene* scene = [] {
        auto* s = new Scene;
        s->source.create(60, 60, 220, 160, L"source");
        s->target.create(360, 60, 220, 160, L"target");
        // Esc must reach this thread: the source takes the keyboard focus once.
        s->source.SetForegroundWindow();
        s->source.SetFocus();
        pumpUntil([] { return false; }, 100);
        return s;
    }();
    return *scene;
}

POINT Scene::screen(const CWnd& w, int x, int y) const {
    POINT p = {x, y};
    ClientToScreen(w.m_hWnd, &p);
    return p;
}

// Input --------------------------------------------------------------------------------------------

void pointerTo(POINT p) {
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    // Normalised coordinates that map back onto exactly this pixel.
    in.mi.dx = (LONG)((p.x * 65536LL + w - 1) / w);
    in.mi.dy = (LONG)((p.y * 65536LL + h - 1) / h);
    SendInput(1, &in, sizeof(in));
}

void leftButton(bool down) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(in));
}

void pressEscape(bool down) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_ESCAPE;
    in.ki.wScan = (WORD)MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC);
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof(in));
}

void pressThen(bool escape) {
    INPUT in[2] = {};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    if (escape) {
        in[1].type = INPUT_KEYBOARD;
        in[1].ki.wVk = VK_ESCAPE;
        in[1].ki.wScan = (WORD)MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC);
    } else {
        in[1].type = INPUT_MOUSE;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    }
    SendInput(2, in, sizeof(INPUT));
}

bool pumpUntil(const std::function<bool()>& pred, DWORD ms) {
    DWORD start = GetTickCount();
    MSG msg;
    for (;;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (pred()) return true;
        if (GetTickCount() - start > ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool waitUntil(const std::function<bool()>& pred, DWORD ms) {
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(5);
    }
    return true;
}

// Blocks and the clipboard -------------------------------------------------------------------------

HGLOBAL blockOf(const std::string& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (h && !bytes.empty()) {
        void* p = GlobalLock(h);
        memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(h);
    }
    return h;
}

std::string bytesOf(HGLOBAL block) {
    SIZE_T n = block ? GlobalSize(block) : 0;
    if (!n) return {};
    const char* p = (const char*)GlobalLock(block);
    if (!p) return {};
    std::string s(p, n);
    GlobalUnlock(block);
    return s;
}

bool putClipboard(UINT format, HGLOBAL block) {
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(format, block) != nullptr;
    if (!ok) GlobalFree(block);
    CloseClipboard();
    return ok;
}

bool clipboardBytes(UINT format, std::string& bytes) {
    if (!OpenClipboard(nullptr)) return false;
    HANDLE h = GetClipboardData(format);
    if (h) bytes = bytesOf((HGLOBAL)h);
    CloseClipboard();
    return h != nullptr;
}

ClipboardHeld::ClipboardHeld()
    : m_opened(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    m_thread = CreateThread(nullptr, 0, [](void* self) -> DWORD {
        auto* me = (ClipboardHeld*)self;
        // Opened for a window: a clipboard opened with no window may be opened again with none.
        HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        BOOL ok = OpenClipboard(owner);
        SetEvent(me->m_opened);
        WaitForSingleObject(me->m_done, 60000);
        if (ok) CloseClipboard();
        DestroyWindow(owner);
        return 0;
    }, this, 0, nullptr);
    WaitForSingleObject(m_opened, 60000);
}

ClipboardHeld::~ClipboardHeld() {
    SetEvent(m_done);
    WaitForSingleObject(m_thread, 60000);
    CloseHandle(m_thread), CloseHandle(m_opened), CloseHandle(m_done);
}

void offerAll(COleDataSource& data, const std::vector<Offer>& offers) {
    for (const Offer& o : offers) {
        STGMEDIUM m = {};
        m.tymed = o.tymed;
        if (o.tymed == TYMED_HGLOBAL) {
            m.hGlobal = blockOf(o.bytes);
        } else if (o.tymed == TYMED_ISTREAM) {
            CreateStreamOnHGlobal(blockOf(o.bytes), TRUE, &m.pstm);
        } else if (o.tymed == TYMED_FILE) {
            m.lpszFileName = (LPOLESTR)CoTaskMemAlloc(16);
            memcpy(m.lpszFileName, L"a.txt", 12);
        }
        data.CacheData((CLIPFORMAT)o.format, &m);
    }
}

DWORD dropOn(ProbeTarget& target, IDataObject* data, POINT screen, DWORD allowed, DWORD keyState) {
    LPDROPTARGET t = target.dropTarget();
    POINTL pt = {screen.x, screen.y};
    DWORD effect = allowed;
    t->DragEnter(data, keyState, pt, &effect);
    effect = allowed;
    t->DragOver(keyState, pt, &effect);
    effect = allowed;
    t->Drop(data, 0, pt, &effect);
    return effect;
}

std::string referenceBytes(const GUID& identity, const void* address, const void* cleanup) {
    std::string s(32, '\0');
    uint64_t a = (uintptr_t)address, c = (uintptr_t)cleanup;
    memcpy(&s[0], &identity, 16);
    memcpy(&s[16], &a, 8);
    memcpy(&s[24], &c, 8);
    return s;
}
