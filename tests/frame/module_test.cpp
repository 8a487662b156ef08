// Attach state of the module: paths, the timecode window class, the image-blending library.
#include <gtest/gtest.h>
#include "qModule.h"
#include <string>

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
