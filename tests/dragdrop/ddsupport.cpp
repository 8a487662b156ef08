#include "ddtest.h"
#include <thread>

std::string bytesOf(HGLOBAL block) {
    SIZE_T n = block ? GlobalSize(block) : 0;
    const char* p = n ? (const char*)GlobalLock(block) : nullptr;
    std::string s = p ? std::string(p, n) : std::string();
    if (p) GlobalUnlock(block);
    return s;
}
HGLOBAL blockOf(const std::string& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (h && !bytes.empty()) memcpy(GlobalLock(h), bytes.data(), bytes.size()), GlobalUnlock(h);
    return h;
}
std::string referenceBytes(const GUID& id, const void* address, const void* cleanup) {
    uint64_t a = (uintptr_t)address, c = (uintptr_t)cleanup;
    return std::string((const char*)&id, 16) + std::string((const char*)&a, 8) + std::string((const char*)&c, 8);
}

void RecWnd::create(int x, int y) {
    // No CS_DBLCLKS: quick presses stay presses.
    LPCWSTR cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)GetStockObject(WHITE_BRUSH));
    CreateEx(WS_EX_TOPMOST, cls, L"", WS_POPUP | WS_BORDER, x, y, 220, 160, nullptr, nullptr);
    ShowWindow(SW_SHOWNOACTIVATE);
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

void whileClipboardHeld(const std::function<void()>& fn) {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr), done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        // Opened for a window: a clipboard opened for no window may be opened again for none.
        HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        BOOL ok = OpenClipboard(owner);
        SetEvent(opened);
        WaitForSingleObject(done, 60000);
        if (ok) CloseClipboard();
        DestroyWindow(owner);
    });
    WaitForSingleObject(opened, 60000);
    fn();
    SetEvent(done);
    holder.join();
    CloseHandle(opened), CloseHandle(done);
}

void offerAll(COleDataSource& data, const std::vector<Offer>& offers) {
    for (const Offer& o : offers) {
        STGMEDIUM m = {o.tymed};
        if (o.tymed == TYMED_HGLOBAL) m.hGlobal = blockOf(o.bytes);
        if (o.tymed == TYMED_ISTREAM) CreateStreamOnHGlobal(blockOf(o.bytes), TRUE, &m.pstm);
        data.CacheData((CLIPFORMAT)o.format, &m);
    }
}

DWORD TargetTest::drop(const std::vector<Offer>& offers, DWORD allowed) {
    COleDataSource data;
    offerAll(data, offers);
    POINT s = scene.target.screen(31, 17);
    POINTL pt = {s.x, s.y};
    DWORD e[3] = {allowed, allowed, allowed};
    target.dropTarget()->DragEnter(data.GetDataObject(), MK_LBUTTON, pt, &e[0]);
    target.dropTarget()->DragOver(MK_LBUTTON, pt, &e[1]);
    target.dropTarget()->Drop(data.GetDataObject(), 0, pt, &e[2]);
    return e[2];
}

std::string TargetTest::pasteOnly(UINT format) {
    target.clear();
    target.answer = [format](const Arrival& a) { return a.format == format ? 1 : 0; };
    CPoint p(12, 34);
    EXPECT_TRUE(target.m_fnPasteClipboardData(p));
    target.answer = [](const Arrival&) { return 1; };
    return target.kinds();
}
