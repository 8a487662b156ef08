// The module without the image-blending library (this binary runs with msimg32 disabled).
#include <gtest/gtest.h>
#include "qModule.h"

TEST(NoMsimg32, ModuleLoadsAndReportsNoBlending) {
    ASSERT_EQ(nullptr, LoadLibraryW(L"Msimg32.dll")) << "msimg32 must be disabled for this binary";
    EXPECT_EQ(0, gfnIsGDIEXCanUse());
    EXPECT_NE(nullptr, GetModuleHandleW(L"qTrimUI.dll"));
    EXPECT_NE(L'\0', gfnGetProgramBitmapPath()[0]);
}
