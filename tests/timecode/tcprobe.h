// Test access to the timecode control's protected state, a parent window that records every
// notification its children send, and input helpers.
#pragma once
#include <gtest/gtest.h>
#include "qTimeCode.h"
#include "qModule.h"
#include "qBitmapLoad.h"
#include "testutil.h"
#include <commctrl.h>
#include <cstdio>
#include <string>
#include <vector>

class TimeCodeProbe : public CTimeCodeCtrl {
public:
    using CTimeCodeCtrl::m_pLayout, CTimeCodeCtrl::m_bInit, CTimeCodeCtrl::m_bFlashOn, CTimeCodeCtrl::m_bWaitFirst;
    using CTimeCodeCtrl::m_nCurrent, CTimeCodeCtrl::m_nSpinCount, CTimeCodeCtrl::m_nMember, CTimeCodeCtrl::m_bKeyDone;
    using CTimeCodeCtrl::m_nFirstDigit, CTimeCodeCtrl::TimeCodeToIndex, CTimeCodeCtrl::fnGetIndexMember;
    using CTimeCodeCtrl::fnCheckBounding, CTimeCodeCtrl::fnStepChange, CTimeCodeCtrl::fnRefineEdits;
    using CTimeCodeCtrl::fnGetMemberRect;

    void setMembers(int h, int m, int s, int f) {
        m_nMember[0] = h, m_nMember[1] = m, m_nMember[2] = s, m_nMember[3] = f;
    }
    // The members and the current one, as "hh:mm:ss:ff @c".
    std::string text() const {
        char buf[32];
        snprintf(buf, sizeof buf, "%02d:%02d:%02d:%02d @%d", m_nMember[0], m_nMember[1], m_nMember[2], m_nMember[3],
                 m_nCurrent);
        return buf;
    }
};

using Codes = std::vector<UINT>;

// One notification as the parent saw it: WM_COMMAND or WM_NOTIFY, EN_* or NM_*, the control id
// (wParam), the sender (lParam of WM_COMMAND, hwndFrom of WM_NOTIFY), idFrom of WM_NOTIFY.
struct Note {
    UINT msg, code, id;
    HWND from;
    UINT nmId;
};

// Dispatches what is queued for this thread between first and last, without waiting.
inline void drainQueue(UINT first = 0, UINT last = 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, first, last, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A visible top-level window at (100, 100), 260 x 120, that parents "TimeCodeControl" windows
// subclassed by TimeCodeProbes and records the WM_COMMAND and WM_NOTIFY they send. One parent
// serves every test of the process: hiding or destroying a top-level window costs Wine's X11
// driver two seconds each time.
class TimeCodeHost {
public:
    static const int kId = 1234;
    static inline std::vector<Note> notes;
    TimeCodeHost() {
        static HWND parent = nullptr, sibling = nullptr;
        if (!parent || !IsWindow(parent)) {
            WNDCLASSW wc = {0, proc, 0, 0, GetModuleHandleW(nullptr), nullptr, LoadCursorW(nullptr, IDC_ARROW),
                            (HBRUSH)GetStockObject(WHITE_BRUSH), nullptr, L"TimeCodeTestHost"};
            RegisterClassW(&wc);
            parent = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                     100, 100, 260, 120, nullptr, nullptr, wc.hInstance, nullptr);
            sibling = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 80, 100, 30, parent, (HMENU)99,
                                      wc.hInstance, nullptr);
        }
        m_parent = parent, m_sibling = sibling;
        SetForegroundWindow(m_parent);
        SetFocus(m_parent);
        UpdateWindow(m_parent);
        drainQueue();
        notes.clear();
    }
    // Creates the control's window at (10, 10) and attaches the probe; fnInit is left to the test.
    bool createControl(TimeCodeProbe& probe) {
        HWND hwnd = CreateWindowExW(0, L"TimeCodeControl", L"", WS_CHILD | WS_VISIBLE, 10, 10, 40, 10, m_parent,
                                    (HMENU)(INT_PTR)kId, GetModuleHandleW(nullptr), nullptr);
        return hwnd && probe.SubclassWindow(hwnd);
    }
    HWND parent() const { return m_parent; }
    HWND sibling() const { return m_sibling; }   // a static window that never takes focus
    Codes codes() const {
        Codes out;
        for (const Note& n : notes) out.push_back(n.code);
        return out;
    }
    void clear() { notes.clear(); }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (msg == WM_COMMAND) notes.push_back({msg, HIWORD(wp), LOWORD(wp), (HWND)lp, 0});
        else if (msg == WM_NOTIFY) notes.push_back({msg, hdr->code, (UINT)wp, hdr->hwndFrom, (UINT)hdr->idFrom});
        else return DefWindowProcW(hwnd, msg, wp, lp);
        return 0;
    }
    HWND m_parent = nullptr, m_sibling = nullptr;
};

// Keys through the queue, as a keyboard delivers them: WM_KEYDOWN (TranslateMessage adds the
// WM_CHAR) or WM_KEYUP, dispatched at once. Only keyboard messages are taken from the queue, so a
// blink timer does not tick in between.
inline void keyDown(HWND target, UINT vk, bool repeat = false, bool up = false) {
    LPARAM lp = 1 | (MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16);
    if (vk >= VK_PRIOR && vk <= VK_DOWN) lp |= 1 << 24;   // extended keys
    if (repeat || up) lp |= 1 << 30;
    if (up) lp |= (LPARAM)1 << 31;
    PostMessageW(target, up ? WM_KEYUP : WM_KEYDOWN, vk, lp);
    drainQueue(WM_KEYFIRST, WM_KEYLAST);
}
inline void keyUp(HWND target, UINT vk) { keyDown(target, vk, false, true); }
inline void pressKey(HWND target, UINT vk) { keyDown(target, vk), keyUp(target, vk); }

// A real left click (SendInput) at a client point of the window, its centre when x is negative.
inline bool clickAt(HWND window, int x = -1, int y = -1) {
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

// A skin image of the control, loaded from the library's bitmap path.
inline HBITMAP loadSkin(const wchar_t* file) {
    return gfnLoadBitmap((std::wstring(gfnGetProgramBitmapPath()) + L"qDVDUser\\TimecodeCtrl\\").c_str(), file);
}

// The bitmap path pointed at an empty folder for the guard's life.
struct EmptyBitmapPath {
    std::wstring saved = gfnGetProgramBitmapPath();
    EmptyBitmapPath() {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        std::wstring empty = std::wstring(dir) + L"tc_empty_skins\\";
        CreateDirectoryW(empty.c_str(), nullptr);
        gfnChangeProgramBitmapPath(empty.c_str());
    }
    ~EmptyBitmapPath() { gfnChangeProgramBitmapPath(saved.c_str()); }
};
