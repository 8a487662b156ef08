// Test access to the timecode control's protected state; the skin images made unreachable.
#pragma once
#include <gtest/gtest.h>
#include "qTimeCode.h"
#include "qModule.h"
#include "qBitmapLoad.h"
#include <cstdio>
#include <string>

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

// The bitmap path pointed at an empty folder for the guard's life.
struct EmptyBitmapPath {
    std::wstring saved = gfnGetProgramBitmapPath();
    EmptyBitmapPath() {
        wchar_t dir[MAX_PATH];
        std::wstring empty = std::wstring(dir, GetTempPathW(MAX_PATH, dir)) + L"tc_empty_skins\\";
        CreateDirectoryW(empty.c_str(), nullptr);
        gfnChangeProgramBitmapPath(empty.c_str());
    }
    ~EmptyBitmapPath() { gfnChangeProgramBitmapPath(saved.c_str()); }
};
