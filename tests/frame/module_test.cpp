// Attach state of the module: paths, the timecode window class, the image-blending library.
#include <gtest/gtest.h>
#include "qModule.h"
#include <string>
#include <cstring>

namespace {
std::wstring moduleDir() {
    HMODULE lib = GetModuleHandleW(L"qTrimUI.dll");
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(lib, name, MAX_PATH);
    std::wstring s(name);
    return s.substr(0, s.rfind(L'\\') + 1);
}
}  // namespace

TEST(Module, BitmapPathIsModuleDirectoryPlusBitmap) {
    EXPECT_EQ(moduleDir() + L"bitmap\\", std::wstring(gfnGetProgramBitmapPath()));
}

TEST(Module, TimeCodeClassIsGlobalWithArrowCursor) {
    WNDCLASSEXW wc = {sizeof(wc)};
    // Global: found without naming the module that registered it.
    ASSERT_TRUE(GetClassInfoExW(nullptr, L"TimeCodeControl", &wc));
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(L"qTrimUI.dll"), L"TimeCodeControl", &wc));
    EXPECT_EQ(0x4003u, wc.style);
    EXPECT_EQ(0, wc.cbClsExtra);
    EXPECT_EQ(0, wc.cbWndExtra);
    EXPECT_EQ(GetModuleHandleW(L"qTrimUI.dll"), wc.hInstance);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), wc.hCursor);
    EXPECT_EQ(nullptr, wc.hbrBackground);
}

TEST(Module, ImageBlendLibraryLoaded) {
    EXPECT_EQ(1, gfnIsGDIEXCanUse());
}

TEST(Module, ExtensionRecordCollectsTheLibrarysRuntimeClasses) {
    HMODULE lib = GetModuleHandleW(L"qTrimUI.dll");
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
