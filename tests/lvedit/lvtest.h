// In-place edit tests: a probe into the edit's protected state, a real list view to edit over,
// real mouse and keyboard input, and a mouse hook installed before the edit's that records what
// the edit passes on.
#pragma once
#include "qLVEditEx.h"
#include <functional>
#include <string>
#include <vector>

class EditProbe : public CLVEditEx {
public:
    using CLVEditEx::m_bEscape, CLVEditEx::m_bUnicodeEdit, CLVEditEx::m_bMultiLang, CLVEditEx::m_lfFont;
    using CLVEditEx::m_hKeyboardLayout, CLVEditEx::m_nFontCodePage, CLVEditEx::m_hFont;
    using CLVEditEx::g_pEdit, CLVEditEx::g_hHookMouse;
    using CLVEditEx::fnFindHKL, CLVEditEx::fnFindCorrectFontByIME;

    // EM_REPLACESEL messages the edit sent itself: the undo flag and the text.
    struct Replace {
        WPARAM undo;
        std::wstring text;
    };
    std::vector<Replace> replaces;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == EM_REPLACESEL) replaces.push_back({wParam, lParam ? (const wchar_t*)lParam : L""});
        return CLVEditEx::WindowProc(message, wParam, lParam);
    }
};

// A topmost host window with a report-view "SysListView32" of clip names, one for the whole run.
class ClipList {
public:
    static const int kEditId = 77;
    ClipList();   // item 0 selected, the focus on the list
    HWND host() const { return m_host; }
    HWND list() const { return m_list; }
    int selected() const;   // the selected item, -1 when none
    RECT labelRect(int item) const;   // list client coordinates
    // Creates the edit over the item's label with the item's text, focused and all selected,
    // then starts the edit.
    bool startEdit(CLVEditEx& edit, int item, DWORD style = 0);

private:
    HWND m_host = nullptr, m_list = nullptr;
};

// Mouse hook installed first, so the edit's hook runs before it: what reaches it was passed on.
class HookRecorder {
public:
    HookRecorder();
    ~HookRecorder();
    int count(WPARAM message) const;
    void clear() { seen.clear(); }
    static std::vector<WPARAM> seen;

private:
    HHOOK m_hook;
};

// Real input through SendInput; positions in the window's client coordinates.
bool mouseAt(HWND window, POINT client, std::initializer_list<DWORD> buttons);
inline bool clickAt(HWND window, POINT client) {
    return mouseAt(window, client, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}
POINT centre(const RECT& rc);
// Keys as a keyboard sends them, each pressed and released; VK_CONTROL etc. held while listed
// in `held`.
bool typeKeys(std::initializer_list<WORD> keys, std::initializer_list<WORD> held = {});
// Pumps messages until done() or about three seconds passed (a loaded machine is slow).
bool waitFor(const std::function<bool()>& done, DWORD ms = 3000);
// Lets queued input arrive when nothing observable is expected to change.
void settle();
