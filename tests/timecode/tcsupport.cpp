#include "tcprobe.h"

std::vector<Note> TimeCodeHost::notes;

namespace {
LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lp);
    if (msg == WM_COMMAND)
        TimeCodeHost::notes.push_back({msg, HIWORD(wp), LOWORD(wp), (HWND)lp, 0});
    else if (msg == WM_NOTIFY)
        TimeCodeHost::notes.push_back({msg, hdr->code, (UINT)wp, hdr->hwndFrom, (UINT)hdr->idFrom});
    else
        return DefWindowProcW(hwnd, msg, wp, lp);
    return 0;
}

// Dispatches what is queued for this thread between first and last, without waiting.
void drainQueue(UINT first = 0, UINT last = 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, first, last, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
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
        wc.lpszClassName = L"TimeCodeTestHost";
        RegisterClassW(&wc);
        parent = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                 100, 100, 260, 120, nullptr, nullptr, wc.hInstance, nullptr);
        sibling = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 80, 100, 30, parent, (HMENU)99,
                                  wc.hInstance, nullptr);
    }
    m_parent = parent;
    m_sibling = sibling;
    SetForegroundWindow(m_parent);
    SetFocus(m_parent);
    UpdateWindow(m_parent);
    drainQueue();
    notes.clear();
}

bool TimeCodeHost::createControl(TimeCodeProbe& probe) {
    HWND hwnd = CreateWindowExW(0, L"TimeCodeControl", L"", WS_CHILD | WS_VISIBLE, 10, 10, 40, 10, m_parent,
                                (HMENU)(INT_PTR)kId, GetModuleHandleW(nullptr), nullptr);
    return hwnd && probe.SubclassWindow(hwnd);
}

// Only keyboard messages are taken from the queue here, so a blink timer does not tick in between.
void keyDown(HWND target, UINT vk, bool repeat, bool up) {
    LPARAM lp = 1 | (MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16);
    if (vk >= VK_PRIOR && vk <= VK_DOWN) lp |= 1 << 24;   // extended keys
    if (repeat || up) lp |= 1 << 30;
    if (up) lp |= (LPARAM)1 << 31;
    PostMessageW(target, up ? WM_KEYUP : WM_KEYDOWN, vk, lp);
    drainQueue(WM_KEYFIRST, WM_KEYLAST);
}

bool clickAt(HWND window, int x, int y) {
    RECT r;
    GetClientRect(window, &r);
    POINT p = {x < 0 ? r.right / 2 : x, y < 0 ? r.bottom / 2 : y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, in, sizeof(INPUT)) == 2;
}
