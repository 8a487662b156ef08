#include "ddtest.h"

bool pumpUntil(const std::function<bool()>& pred, DWORD ms) {
    DWORD start = GetTickCount();
    MSG msg;
    for (;;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) TranslateMessage(&msg), DispatchMessageW(&msg);
        if (pred()) return true;
        if (GetTickCount() - start > ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool waitUntil(const std::function<bool()>& pred, DWORD ms) {
    for (DWORD start = GetTickCount(); !pred(); Sleep(5))
        if (GetTickCount() - start > ms) return false;
    return true;
}

Scene& Scene::get() {
    static Scene* scene = [] {
        auto* s = new Scene;
        s->source.create(60, 60);
        s->target.create(360, 60);
        s->source.SetForegroundWindow();
        s->source.SetFocus();
        pumpUntil([] { return false; }, 100);
        return s;
    }();
    return *scene;
}

INPUT mouseInput(DWORD flags, const POINT* p) {
    INPUT in = {INPUT_MOUSE};
    in.mi.dwFlags = flags;
    if (p) {
        int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        in.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        in.mi.dx = (LONG)((p->x * 65536LL + w - 1) / w);   // normalised so that it maps back onto this pixel
        in.mi.dy = (LONG)((p->y * 65536LL + h - 1) / h);
    }
    return in;
}

INPUT keyInput(WORD vk, bool up) {
    INPUT in = {INPUT_KEYBOARD};
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

void send(std::vector<INPUT> batch) { SendInput((UINT)batch.size(), batch.data(), sizeof(INPUT)); }

bool putClipboard(UINT format, HGLOBAL block) {
    bool ok = OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(format, block);
    CloseClipboard();
    if (!ok) GlobalFree(block);
    return ok;
}

std::string clipboardBytes(UINT format) {
    if (!OpenClipboard(nullptr)) return "(not opened)";
    std::string bytes = bytesOf((HGLOBAL)GetClipboardData(format));
    CloseClipboard();
    return bytes;
}

ClipboardHeld::ClipboardHeld()
    : m_opened(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    m_thread = CreateThread(nullptr, 0, [](void* self) -> DWORD {
        auto* me = (ClipboardHeld*)self;
        // Opened for a window: a clipboard opened for no window may be opened again for none.
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
        STGMEDIUM m = {o.tymed};
        if (o.tymed == TYMED_HGLOBAL) m.hGlobal = blockOf(o.bytes);
        if (o.tymed == TYMED_ISTREAM) CreateStreamOnHGlobal(blockOf(o.bytes), TRUE, &m.pstm);
        if (o.tymed == TYMED_FILE) m.lpszFileName = (LPOLESTR)memcpy(CoTaskMemAlloc(12), L"a.txt", 12);
        data.CacheData((CLIPFORMAT)o.format, &m);
    }
}
