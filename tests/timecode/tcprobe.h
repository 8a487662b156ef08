// Test access to the timecode control's protected state, and a parent window that records every
// notification its children send.
#pragma once
#include "qTimeCode.h"
#include <vector>

class TimeCodeProbe : public CTimeCodeCtrl {
public:
    using CTimeCodeCtrl::m_pLayout;
    using CTimeCodeCtrl::m_bInit;
    using CTimeCodeCtrl::m_bHourLeadingZero;
    using CTimeCodeCtrl::m_nLayoutOffsetX;
    using CTimeCodeCtrl::m_nLayoutOffsetY;
    using CTimeCodeCtrl::m_bFlashOn;
    using CTimeCodeCtrl::m_bWaitFirst;
    using CTimeCodeCtrl::m_bUpButton;
    using CTimeCodeCtrl::m_bAdjustable;
    using CTimeCodeCtrl::m_b2ndBackground;
    using CTimeCodeCtrl::m_bLongFormat;
    using CTimeCodeCtrl::m_nCurrent;
    using CTimeCodeCtrl::m_nSpinCount;
    using CTimeCodeCtrl::m_nMember;
    using CTimeCodeCtrl::m_bFieldsShown;
    using CTimeCodeCtrl::m_bKeyDone;
    using CTimeCodeCtrl::m_dFrameRate;
    using CTimeCodeCtrl::m_nIndexLowerBd;
    using CTimeCodeCtrl::m_nIndexUpperBd;
    using CTimeCodeCtrl::m_nFirstDigit;
    using CTimeCodeCtrl::m_bStepped;
    using CTimeCodeCtrl::m_bEnabled;
    using CTimeCodeCtrl::m_bHover;
    using CTimeCodeCtrl::m_tme;
    using CTimeCodeCtrl::m_bHookMouse;

    using CTimeCodeCtrl::TimeCodeToIndex;
    using CTimeCodeCtrl::fnGetTimeCode;
    using CTimeCodeCtrl::fnGetIndexMember;
    using CTimeCodeCtrl::fnGetMemberUnits;
    using CTimeCodeCtrl::fnGetEditMax;
    using CTimeCodeCtrl::fnCheckBounding;
    using CTimeCodeCtrl::fnStepChange;
    using CTimeCodeCtrl::fnRefineEdits;
    using CTimeCodeCtrl::fnGetMemberRect;

    void setMembers(int h, int m, int s, int f) {
        m_nMember[0] = h;
        m_nMember[1] = m;
        m_nMember[2] = s;
        m_nMember[3] = f;
    }
    bool shows(int h, int m, int s, int f) const {
        return m_nMember[0] == h && m_nMember[1] == m && m_nMember[2] == s && m_nMember[3] == f;
    }
};

// A layout whose flags and handles a test can read.
class LayoutProbe : public CTimeCodeLayout {
public:
    using CTimeCodeLayout::m_bInit;
    using CTimeCodeLayout::m_bAdjustable;
    using CTimeCodeLayout::m_b2ndBackground;
    using CTimeCodeLayout::m_bLongFormat;
    using CTimeCodeLayout::m_hSymbolDC;
    using CTimeCodeLayout::m_hDigits;
    using CTimeCodeLayout::m_hBackgroundDC;
    using CTimeCodeLayout::m_hBackground;
};

// One notification as the parent saw it.
struct Note {
    UINT msg;       // WM_COMMAND or WM_NOTIFY
    UINT code;      // EN_* or NM_*
    UINT id;        // control id (low word of wParam for WM_COMMAND, wParam for WM_NOTIFY)
    HWND from;      // lParam of WM_COMMAND, hwndFrom of WM_NOTIFY
    UINT nmId;      // idFrom of WM_NOTIFY
};

// A visible top-level window at (100, 100), 260 x 120, that parents "TimeCodeControl" windows
// subclassed by TimeCodeProbes; its window procedure records WM_COMMAND and WM_NOTIFY.
class TimeCodeHost {
public:
    static const int kId = 1234;
    TimeCodeHost();
    ~TimeCodeHost();
    // Creates the control's window at (10, 10) and attaches the probe; fnInit is left to the test.
    bool createControl(TimeCodeProbe& probe, int x = 10, int y = 10);
    HWND parent() const { return m_parent; }
    HWND sibling() const { return m_sibling; }   // a static window that never takes focus
    std::vector<Note>& notes();
    std::vector<UINT> codes();   // the codes alone, in order
    void clear();

private:
    HWND m_parent = nullptr;
    HWND m_sibling = nullptr;
};

// Keys through the queue, as a keyboard would deliver them: WM_KEYDOWN (TranslateMessage adds the
// WM_CHAR) then WM_KEYUP, each dispatched at once.
void pressKey(HWND target, UINT vk);
void keyDown(HWND target, UINT vk, bool repeat = false);
void keyUp(HWND target, UINT vk);
// Dispatches whatever is queued for this thread, without waiting.
void drainQueue();
