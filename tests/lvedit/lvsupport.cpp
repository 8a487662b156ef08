#include "lvtest.h"
#include "testutil.h"
#include <commctrl.h>

std::vector<WPARAM> HookRecorder::seen;

namespace {
const wchar_t* const kClips[] = {L"Opening titles", L"Interview A-cam", L"B-roll harbour", L"Sunset timelapse",
                                 L"Closing credits"};

HHOOK g_recorder = nullptr;

LRESULT CALLBACK recordProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) HookRecorder::seen.push_back(wParam);
    return CallNextHookEx(g_recorder, code, wParam, lParam);
}
}  // namespace

// One host for the whole run: hiding or destroying a top-level window costs Wine two seconds.
ClipList::ClipList() {
    static HWND host = nullptr, list = nullptr;
    if (!host || !IsWindow(host)) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        host = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"clips", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100,
                               360, 220, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 10, 10,
                               330, 190, host, (HMENU)1, GetModuleHandleW(nullptr), nullptr);
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 240;
        col.pszText = (LPWSTR)L"Clip";
        SendMessageW(list, LVM_INSERTCOLUMNW, 0, (LPARAM)&col);
        for (int i = 0; i < (int)(sizeof kClips / sizeof *kClips); ++i) {
            LVITEMW it = {};
            it.mask = LVIF_TEXT;
            it.iItem = i;
            it.pszText = (LPWSTR)kClips[i];
            SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&it);
        }
    }
    m_host = host;
    m_list = list;
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(m_list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(m_list, LVM_SETITEMSTATE, 0, (LPARAM)&state);
    SetForegroundWindow(m_host);
    SetFocus(m_list);
    UpdateWindow(m_host);
    testutil::pumpMessages(20);
}

int ClipList::selected() const { return (int)SendMessageW(m_list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); }

RECT ClipList::labelRect(int item) const {
    RECT rc = {};
    rc.left = LVIR_LABEL;
    SendMessageW(m_list, LVM_GETITEMRECT, item, (LPARAM)&rc);
    return rc;
}

bool ClipList::startEdit(CLVEditEx& edit, int item, DWORD style) {
    RECT rc = labelRect(item);
    InflateRect(&rc, 0, 2);
    if (!edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | style, rc, CWnd::FromHandle(m_list), kEditId))
        return false;
    wchar_t text[64] = {};
    LVITEMW it = {};
    it.iSubItem = 0;
    it.pszText = text;
    it.cchTextMax = 64;
    SendMessageW(m_list, LVM_GETITEMTEXTW, item, (LPARAM)&it);
    edit.fnSetText(text);
    edit.SetFocus();
    edit.SetSel(0, -1);
    edit.fnStartEdit();
    return GetFocus() == edit.m_hWnd;
}

HookRecorder::HookRecorder() {
    seen.clear();
    m_hook = g_recorder = SetWindowsHookExW(WH_MOUSE, recordProc, nullptr, GetCurrentThreadId());
}

HookRecorder::~HookRecorder() {
    UnhookWindowsHookEx(m_hook);
    g_recorder = nullptr;
}

int HookRecorder::count(WPARAM message) const {
    int n = 0;
    for (WPARAM m : seen) n += m == message;
    return n;
}

POINT centre(const RECT& rc) { return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

bool mouseAt(HWND window, POINT client, std::initializer_list<DWORD> buttons) {
    ClientToScreen(window, &client);
    // A press near the last one and soon after it would arrive as a double click.
    static POINT lastPoint = {-100, -100};
    static DWORD lastTime = 0;
    if (abs(client.x - lastPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
        abs(client.y - lastPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
        while (GetTickCount() - lastTime <= GetDoubleClickTime() + 50) testutil::pumpMessages(20);
    lastPoint = client;
    SetCursorPos(client.x, client.y);
    std::vector<INPUT> in(buttons.size());
    size_t i = 0;
    for (DWORD b : buttons) {
        in[i].type = INPUT_MOUSE;
        in[i++].mi.dwFlags = b;
    }
    bool sent = SendInput((UINT)in.size(), in.data(), sizeof(INPUT)) == in.size();
    lastTime = GetTickCount();
    settle();
    return sent;
}

bool typeKeys(std::initializer_list<WORD> keys, std::initializer_list<WORD> held) {
    std::vector<INPUT> in;
    auto key = [&](WORD vk, bool up) {
        INPUT k = {};
        k.type = INPUT_KEYBOARD;
        k.ki.wVk = vk;
        k.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(k);
    };
    for (WORD h : held) key(h, false);
    for (WORD k : keys) key(k, false), key(k, true);
    for (WORD h : held) key(h, true);
    bool sent = SendInput((UINT)in.size(), in.data(), sizeof(INPUT)) == in.size();
    settle();
    return sent;
}

bool waitFor(const std::function<bool()>& done, DWORD ms) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        testutil::pumpMessages(10);
    }
    return true;
}

void settle() { testutil::pumpMessages(150); }
