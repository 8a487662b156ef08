// Attach state of the module: the bitmap path, the timecode window class, the runtime classes.
#include <gtest/gtest.h>
#include "qModule.h"
#include <string>
#include <cstring>

TEST(Module, AttachSetsThePathRegistersTheClassAndCollectsRuntimeClasses) {
    HMODULE lib = GetModuleHandleW(L"qTrimUI.dll");
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(lib, name, MAX_PATH);
    std::wstring dir(name);
    EXPECT_EQ(dir.substr(0, dir.rfind(L'\\') + 1) + L"bitmap\\", std::wstring(gfnGetProgramBitmapPath()));

    WNDCLASSEXW wc = {sizeof(wc)};
    ASSERT_TRUE(GetClassInfoExW(nullptr, L"TimeCodeControl", &wc));   // global: found without the module
    ASSERT_TRUE(GetClassInfoExW(lib, L"TimeCodeControl", &wc));
    EXPECT_EQ(0x4003u, wc.style);
    EXPECT_EQ(lib, wc.hInstance);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), wc.hCursor);
    EXPECT_EQ(nullptr, wc.hbrBackground);

    CDynLinkLibrary* record = nullptr;
    for (CDynLinkLibrary* d = AfxGetFirstDynLinkLibrary(); d; d = d->m_pNextDLL)
        if (d->m_hModule == lib) record = d;
    ASSERT_NE(nullptr, record);
    EXPECT_FALSE(record->m_bSystem);
    bool found = false;
    for (CRuntimeClass* c = record->m_pFirstClass; c; c = c->m_pNextClass)
        found = found || strcmp(c->m_lpszClassName, "CTimeCodeCtrl") == 0;
    EXPECT_TRUE(found);
    CRuntimeClass* byName = CRuntimeClass::FromName("CTimeCodeCtrl");
    ASSERT_NE(nullptr, byName);
    EXPECT_TRUE(byName->IsDerivedFrom(RUNTIME_CLASS(CWnd)));
}
