// Test access to the timecode control's protected state, a parent window that records every
// notification its children send, and input helpers.
#pragma once
#include "qTimeCode.h"
#include "qModule.h"
#include "qBitmapLoad.h"
#include <cstdio>
#include <string>
#include <vector>

class TimeCodeProbe : public CTimeCodeCtrl {
public:
    using CTimeCodeCtrl::m_pLayout, CTimeCodeCtrl::m_bInit, CTimeCodeCtrl::m_bFlashOn, CTimeCodeCtrl::m_bWaitFirst;
    using CTimeCodeCtrl::m_nCurrent, CTimeCodeCtrl::m_nSpinCount, CTimeCodeCtrl::m_nMember, CTimeCodeCtrl::m_bKeyDone;
    using CTimeCodeCtrl::m_nFirstDigit;
    using CTimeCodeCtrl::TimeCodeToIndex, CTimeCodeCtrl::fnGetTimeCode, CTimeCodeCtrl::fnGetIndexMember;
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

// A layout whose flags and handles a test can read.
class LayoutProbe : public CTimeCodeLayout {
public:
    using CTimeCodeLayout::m_bInit, CTimeCodeLayout::m_hDigits, CTimeCodeLayout::m_hBackground;
};

using Codes = std::vector<UINT>;

// One notification as the parent saw it.
struct Note {
    UINT msg, code;   // WM_COMMAND or WM_NOTIFY; EN_* or NM_*
    UINT id;          // control id (low word of wParam for WM_COMMAND, wParam for WM_NOTIFY)
    HWND from;        // lParam of WM_COMMAND, hwndFrom of WM_NOTIFY
    UINT nmId;        // idFrom of WM_NOTIFY
};

// A visible top-level window at (100, 100), 260 x 120, that parents "TimeCodeControl" windows
// subclassed by TimeCodeProbes; its window procedure records WM_COMMAND and WM_NOTIFY.
class TimeCodeHost {
public:
    static const int kId = 1234;
    static std::vector<Note> notes;
    TimeCodeHost();   // the parent stays for the next test
    // Creates the control's window at (10, 10) and attaches the probe; fnInit is left to the test.
    bool createControl(TimeCodeProbe& probe);
    HWND parent() const { return m_parent; }
    HWND sibling() const { return m_sibling; }   // a static window that never takes focus
    Codes codes() const {   // the codes alone, in order
        Codes out;
        for (const Note& n : notes) out.push_back(n.code);
        return out;
    }
    void clear() { notes.clear(); }

private:
    HWND m_parent = nullptr, m_sibling = nullptr;
};

// Keys through the queue, as a keyboard would deliver them: WM_KEYDOWN (TranslateMessage adds the
// WM_CHAR) then WM_KEYUP, each dispatched at once.
void keyDown(HWND target, UINT vk, bool repeat = false, bool up = false);
inline void keyUp(HWND target, UINT vk) { keyDown(target, vk, false, true); }
inline void pressKey(HWND target, UINT vk) { keyDown(target, vk), keyUp(target, vk); }
// A real left click (SendInput) at a client point of the window, its centre when x is negative.
bool clickAt(HWND window, int x = -1, int y = -1);

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
