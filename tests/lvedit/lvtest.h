// In-place edit tests: a probe into the edit's protected state, a real list view to edit over and
// real mouse and keyboard input.
#pragma once
#include <gtest/gtest.h>
#include "qLVEditEx.h"
#include "testinput.h"
#include "testutil.h"
#include <commctrl.h>

class EditProbe : public CLVEditEx {
public:
    using CLVEditEx::m_bEscape, CLVEditEx::m_bUnicodeEdit, CLVEditEx::m_hKeyboardLayout, CLVEditEx::m_nFontCodePage;
    using CLVEditEx::m_hFont, CLVEditEx::g_pEdit, CLVEditEx::g_hHookMouse, CLVEditEx::fnFindHKL;
    std::vector<std::pair<WPARAM, std::wstring>> replaces;   // EM_REPLACESEL the edit got: undo flag, text
    CString text() { CString s; return fnGetText(s), s; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == EM_REPLACESEL) replaces.push_back({wParam, (const wchar_t*)lParam});
        return CLVEditEx::WindowProc(message, wParam, lParam);
    }
};

// A topmost host with a report-view list of five clips, made once for the run (hiding or destroying
// a top-level window costs Wine two seconds); each instance focuses the list.
struct ClipList {
    HWND list = nullptr;
    ClipList() {
        static HWND host = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 360, 220,
                                           nullptr, nullptr, nullptr, nullptr);
        static HWND made = [] {
            HWND l = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 330, 190, host,
                                     (HMENU)1, nullptr, nullptr);
            LVCOLUMNW col = {LVCF_WIDTH, 0, 240};
            SendMessageW(l, LVM_INSERTCOLUMNW, 0, (LPARAM)&col);
            for (const wchar_t* clip : {L"Opening titles", L"Interview A-cam", L"B-roll harbour", L"Sunset", L"Credits"}) {
                LVITEMW it = {LVIF_TEXT, 0x7FFF, 0, 0, 0, (LPWSTR)clip};
                SendMessageW(l, LVM_INSERTITEMW, 0, (LPARAM)&it);
            }
            return l;
        }();
        list = made;
        SetForegroundWindow(host), SetFocus(list);
        testutil::pumpMessages(20);
    }
    int selected() const { return (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); }
    RECT label(int item) const { RECT rc = {LVIR_LABEL}; return SendMessageW(list, LVM_GETITEMRECT, item, (LPARAM)&rc), rc; }
    // The edit over the item's label with its text, focused, all selected, and started.
    bool startEdit(CLVEditEx& edit, int item, DWORD style = 0) const {
        RECT rc = label(item);
        InflateRect(&rc, 0, 2);
        if (!edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | style, rc, CWnd::FromHandle(list), 77))
            return false;
        wchar_t text[64] = {};
        LVITEMW it = {0, 0, 0, 0, 0, text, 64};
        SendMessageW(list, LVM_GETITEMTEXTW, item, (LPARAM)&it);
        edit.fnSetText(text);
        edit.SetFocus();
        edit.SetSel(0, -1);
        edit.fnStartEdit();
        return GetFocus() == edit.m_hWnd;
    }
};

// Keys pressed and released in turn while `held` are down.
inline bool typeKeys(std::initializer_list<WORD> keys, std::initializer_list<WORD> held = {}) {
    std::vector<INPUT> in;
    for (WORD h : held) in.push_back(testutil::keyInput(h));
    for (WORD k : keys) in.push_back(testutil::keyInput(k)), in.push_back(testutil::keyInput(k, true));
    for (WORD h : held) in.push_back(testutil::keyInput(h, true));
    return testutil::send(in);
}
inline bool waitFor(const std::function<bool()>& done) { return testutil::pumpUntil(done, 3000); }
