// In-place edit tests: a probe into the edit's protected state, a real list view to edit over,
// real mouse and keyboard input, and a mouse hook installed before the edit's one that records
// what the edit passes on.
#pragma once
#include "qLVEditEx.h"
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

class EditProbe : public CLVEditEx {
public:
    using CLVEditEx::m_bEscape, CLVEditEx::m_bUnicodeEdit, CLVEditEx::m_hKeyboardLayout, CLVEditEx::m_nFontCodePage;
    using CLVEditEx::m_hFont, CLVEditEx::g_pEdit, CLVEditEx::g_hHookMouse;
    using CLVEditEx::fnFindHKL, CLVEditEx::fnFindCorrectFontByIME;
    std::vector<std::pair<WPARAM, std::wstring>> replaces;   // EM_REPLACESEL the edit got: undo flag, text
    CString text() {
        CString s;
        fnGetText(s);
        return s;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == EM_REPLACESEL) replaces.push_back({wParam, (const wchar_t*)lParam});
        return CLVEditEx::WindowProc(message, wParam, lParam);
    }
};

// A topmost host with a report-view "SysListView32" of five clips, made once for the run; each
// instance selects item 0 and focuses the list.
struct ClipList {
    HWND list;
    ClipList();
    int selected() const;
    POINT centreOf(int item) const;   // list client coordinates
    // The edit over the item's label with its text, focused, all selected, and started.
    bool startEdit(CLVEditEx& edit, int item, DWORD style = 0) const;
};

// Mouse messages seen by a hook installed before the edit's (so it runs after it).
struct HookRecorder {
    static std::vector<WPARAM> seen;
    HHOOK hook;
    HookRecorder();
    ~HookRecorder() { UnhookWindowsHookEx(hook); }
    int count(WPARAM message) const { return (int)std::count(seen.begin(), seen.end(), message); }
};

// Real input: buttons pressed at a client point; keys pressed and released while `held` are down.
bool mouseAt(HWND window, POINT client, std::initializer_list<DWORD> buttons);
bool typeKeys(std::initializer_list<WORD> keys, std::initializer_list<WORD> held = {});
// Pumps messages until done() or about three seconds passed (a loaded machine is slow).
bool waitFor(const std::function<bool()>& done, DWORD ms = 3000);
