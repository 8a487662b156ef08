#include "lvtest.h"
#include "testutil.h"
#include <commctrl.h>
#include <algorithm>

std::vector<WPARAM> HookRecorder::seen;

namespace {
LRESULT CALLBACK recordProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) HookRecorder::seen.push_back(wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

HookRecorder::HookRecorder() : hook(SetWindowsHookExW(WH_MOUSE, recordProc, nullptr, GetCurrentThreadId())) {
    seen.clear();
}

// One host for the run: hiding or destroying a top-level window costs Wine two seconds.
ClipList::ClipList() {
    static HWND host = nullptr, made = nullptr;
    if (!made) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        host = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 360, 220, nullptr,
                               nullptr, nullptr, nullptr);
        made = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 330, 190, host,
                               (HMENU)1, nullptr, nullptr);
        LVCOLUMNW col = {LVCF_WIDTH, 0, 240};
        SendMessageW(made, LVM_INSERTCOLUMNW, 0, (LPARAM)&col);
        for (const wchar_t* clip : {L"Opening titles", L"Interview A-cam", L"B-roll harbour", L"Sunset timelapse",
                                    L"Closing credits"}) {
            LVITEMW it = {LVIF_TEXT, 0x7FFF};
            it.pszText = (LPWSTR)clip;
            SendMessageW(made, LVM_INSERTITEMW, 0, (LPARAM)&it);
        }
    }
    list = made;
    LVITEMW state = {0, 0, 0, 0, LVIS_SELECTED};
    SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
    state.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, (LPARAM)&state);
    SetForegroundWindow(host);
    SetFocus(list);
    testutil::pumpMessages(20);
}

int ClipList::selected() const { return (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); }

POINT ClipList::centreOf(int item) const {
    RECT rc = {LVIR_LABEL};
    SendMessageW(list, LVM_GETITEMRECT, item, (LPARAM)&rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

bool ClipList::startEdit(CLVEditEx& edit, int item, DWORD style) const {
    RECT rc = {LVIR_LABEL};
    SendMessageW(list, LVM_GETITEMRECT, item, (LPARAM)&rc);
    InflateRect(&rc, 0, 2);
    if (!edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | style, rc, CWnd::FromHandle(list), 77))
        return false;
    wchar_t text[64] = {};
    LVITEMW it = {};
    it.pszText = text;
    it.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, item, (LPARAM)&it);
    edit.fnSetText(text);
    edit.SetFocus();
    edit.SetSel(0, -1);
    edit.fnStartEdit();
    return GetFocus() == edit.m_hWnd;
}

bool mouseAt(HWND window, POINT client, std::initializer_list<DWORD> buttons) {
    ClientToScreen(window, &client);
    // A press near the last one and soon after it would arrive as a double click.
    static POINT last = {-100, -100};
    static DWORD lastTime = 0;
    if (abs(client.x - last.x) <= GetSystemMetrics(SM_CXDOUBLECLK) && abs(client.y - last.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
        while (GetTickCount() - lastTime <= GetDoubleClickTime() + 50) testutil::pumpMessages(20);
    last = client;
    SetCursorPos(client.x, client.y);
    std::vector<INPUT> in;
    for (DWORD b : buttons) in.push_back({INPUT_MOUSE, {.mi = {0, 0, 0, b}}});
    bool sent = SendInput((UINT)in.size(), in.data(), sizeof(INPUT)) == in.size();
    lastTime = GetTickCount();
    return sent;
}

bool typeKeys(std::initializer_list<WORD> keys, std::initializer_list<WORD> held) {
    std::vector<INPUT> in;
    auto key = [&](WORD vk, DWORD up) { in.push_back({INPUT_KEYBOARD, {.ki = {vk, 0, up}}}); };
    for (WORD h : held) key(h, 0);
    for (WORD k : keys) key(k, 0), key(k, KEYEVENTF_KEYUP);
    for (WORD h : held) key(h, KEYEVENTF_KEYUP);
    return SendInput((UINT)in.size(), in.data(), sizeof(INPUT)) == in.size();
}

bool waitFor(const std::function<bool()>& done, DWORD ms) {
    for (DWORD start = GetTickCount(); !done(); testutil::pumpMessages(10))
        if (GetTickCount() - start > ms) return false;
    return true;
}
