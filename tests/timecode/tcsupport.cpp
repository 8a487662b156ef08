#include "tcprobe.h"

namespace {
std::vector<Note> g_notes;

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND) {
        g_notes.push_back({msg, HIWORD(wp), LOWORD(wp), (HWND)lp, 0});
        return 0;
    }
    if (msg == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lp);
        g_notes.push_back({msg, hdr->code, (UINT)wp, hdr->hwndFrom, (UINT)hdr->idFrom});
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

const wchar_t kHostClass[] = L"TimeCodeTestHost";

LPARAM keyLParam(UINT vk, bool up, bool repeat) {
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    LPARAM lp = 1 | (scan << 16);
    if (vk >= VK_PRIOR && vk <= VK_DOWN) lp |= 1 << 24;   // extended keys
    if (repeat || up) lp |= 1 << 30;
    if (up) lp |= (LPARAM)1 << 31;
    return lp;
}
}  // namespace

// One parent window serves every test of the process: hiding or destroying a top-level window
// costs Wine's X11 driver two seconds each time.
TimeCodeHost::TimeCodeHost() {
    static HWND parent = nullptr, sibling = nullptr;
    if (!parent || !IsWindow(parent)) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
        wc.lpszClassName = kHostClass;
        RegisterClassW(&wc);
        parent = CreateWindowExW(WS_EX_TOPMOST, kHostClass, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100,
                                 100, 260, 120, nullptr, nullptr, wc.hInstance, nullptr);
        sibling = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 80, 100, 30, parent, (HMENU)99,
                                  wc.hInstance, nullptr);
    }
    m_parent = parent;
    m_sibling = sibling;
    SetForegroundWindow(m_parent);
    SetFocus(m_parent);
    UpdateWindow(m_parent);
    drainQueue();
    g_notes.clear();
}

// The controls are gone by now (each test's probe dies first); the parent stays for the next test.
TimeCodeHost::~TimeCodeHost() {
    SetFocus(m_parent);
    drainQueue();
    g_notes.clear();
}

bool TimeCodeHost::createControl(TimeCodeProbe& probe, int x, int y) {
    HWND hwnd = CreateWindowExW(0, L"TimeCodeControl", L"", WS_CHILD | WS_VISIBLE, x, y, 40, 10, m_parent,
                                (HMENU)(INT_PTR)kId, GetModuleHandleW(nullptr), nullptr);
    return hwnd && probe.SubclassWindow(hwnd);
}

std::vector<Note>& TimeCodeHost::notes() { return g_notes; }

std::vector<UINT> TimeCodeHost::codes() {
    std::vector<UINT> out;
    for (const Note& n : g_notes) out.push_back(n.code);
    return out;
}

void TimeCodeHost::clear() { g_notes.clear(); }

void drainQueue() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Only keyboard messages are taken from the queue here, so a blink timer does not tick in between.
static void deliver(HWND target, UINT msgId, UINT vk, LPARAM lp) {
    PostMessageW(target, msgId, vk, lp);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void keyDown(HWND target, UINT vk, bool repeat) { deliver(target, WM_KEYDOWN, vk, keyLParam(vk, false, repeat)); }

void keyUp(HWND target, UINT vk) { deliver(target, WM_KEYUP, vk, keyLParam(vk, true, false)); }

void pressKey(HWND target, UINT vk) {
    keyDown(target, vk);
    keyUp(target, vk);
}
