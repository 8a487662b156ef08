// Settings lookup, bitmap path changes and the shared off-screen bitmap.
#include <gtest/gtest.h>
#include "qModule.h"
#include "qBitmapHandler.h"
#include "qBitmapLoad.h"
#include "testutil.h"
#include <string>

using testutil::libraryDir;

namespace {
// Restores the bitmap path a test changed.
struct BitmapPathGuard {
    std::wstring saved = gfnGetProgramBitmapPath();
    ~BitmapPathGuard() { gfnChangeProgramBitmapPath(saved.c_str()); }
};

struct HandlerAccess : CqBitmapHandler {
    static HDC dc() { return g_hDC; }
    static void* oldObj() { return g_hOldObj; }
};

SIZE sharedSize() {
    BITMAP bm = {};
    GetObjectW(CqBitmapHandler::g_fnGetBitmap(), sizeof(bm), &bm);
    return SIZE{bm.bmWidth, bm.bmHeight};
}
}  // namespace

TEST(Settings, ReadsKeysOfTheSettingsFileBesideTheModule) {
    std::wstring ini = libraryDir() + L"ImportDVDEx\\ImportDVDUI.ini";
    ASSERT_TRUE(testutil::writeTextFile(ini, "[CqToolTipDVDUser]\r\nLayoutSetting=1,2,3\r\n"));
    wchar_t buf[64];
    EXPECT_EQ(5u, gfnGetqDVDUSerSetting(L"CqToolTipDVDUser", L"LayoutSetting", buf, 64));
    EXPECT_STREQ(L"1,2,3", buf);
    // A key the file lacks, or no file, gives the empty text and 0.
    for (const wchar_t* key : {L"ColorSetting", L"LayoutSetting"}) {
        wcscpy(buf, L"garbage");
        EXPECT_EQ(0u, gfnGetqDVDUSerSetting(L"CqToolTipDVDUser", key, buf, 64));
        EXPECT_STREQ(L"", buf);
        DeleteFileW(ini.c_str());
    }
}

TEST(BitmapPath, ChangeIsUsedByLoadersAndBadTextChangesNothing) {
    BitmapPathGuard guard;
    std::wstring real = gfnGetProgramBitmapPath();
    gfnChangeProgramBitmapPath(L"E:\\Skins\\");
    EXPECT_STREQ(L"E:\\Skins\\", gfnGetProgramBitmapPath());
    EXPECT_EQ(nullptr, gfnLoadBitmap(nullptr, L"test\\argb32.png"));

    gfnChangeProgramBitmapPath(nullptr);
    EXPECT_STREQ(L"E:\\Skins\\", gfnGetProgramBitmapPath());
    std::wstring tooLong(1024, L'x');
    gfnChangeProgramBitmapPath(tooLong.c_str());
    EXPECT_STREQ(L"E:\\Skins\\", gfnGetProgramBitmapPath());
    std::wstring longest(1023, L'y');
    gfnChangeProgramBitmapPath(longest.c_str());
    EXPECT_EQ(longest, std::wstring(gfnGetProgramBitmapPath()));
    // A joined path that cannot fit 260 characters fails instead of overrunning.
    EXPECT_EQ(nullptr, gfnLoadBitmap(nullptr, L"test\\argb32.png"));

    gfnChangeProgramBitmapPath(real.c_str());
    HBITMAP bmp = gfnLoadBitmap(nullptr, L"test\\argb32.png");
    EXPECT_NE(nullptr, bmp);
    DeleteObject(bmp);
}

// Grows only when a request exceeds it, and then to the request.
TEST(SharedBitmap, GrowsToRequestsAndPaintsThroughItsDC) {
    ASSERT_TRUE(CqBitmapHandler::g_fnInit());
    HBITMAP first = CqBitmapHandler::g_fnGetBitmap();
    EXPECT_TRUE(sharedSize().cx == 800 && sharedSize().cy == 600);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(2, CqBitmapHandler::g_fnCreateBitmap(screen, 800, 600) + CqBitmapHandler::g_fnCreateBitmap(screen, 10, 10));
    EXPECT_EQ(first, CqBitmapHandler::g_fnGetBitmap());
    EXPECT_NE(0, CqBitmapHandler::g_fnCreateBitmap(screen, 801, 10));
    EXPECT_TRUE(sharedSize().cx == 801 && sharedSize().cy == 10);
    // Not the union: a taller request after a wider one gives exactly the request.
    EXPECT_NE(0, CqBitmapHandler::g_fnCreateBitmap(screen, 100, 900));
    EXPECT_TRUE(sharedSize().cx == 100 && sharedSize().cy == 900);
    // Its DC paints through to a target; growth while the DC is out deletes the DC.
    ASSERT_TRUE(CqBitmapHandler::g_fnInit());
    testutil::Canvas target(20, 20, RGB(0, 0, 255));
    HDC dc = CqBitmapHandler::g_fnGetDC();
    ASSERT_NE(nullptr, dc);
    EXPECT_NE(nullptr, HandlerAccess::oldObj());
    RECT r = {0, 0, 20, 20};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &r, red);
    DeleteObject(red);
    CqBitmapHandler::g_fnBitblt(target.dc(), 5, 5, 10, 10);
    EXPECT_TRUE(testutil::pixelsAre(target, [](int x, int y) {
        return x >= 5 && x < 15 && y >= 5 && y < 15 ? RGB(255, 0, 0) : RGB(0, 0, 255);
    }));

    EXPECT_NE(0, CqBitmapHandler::g_fnCreateBitmap(screen, 1000, 700));
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(!HandlerAccess::dc() && !HandlerAccess::oldObj());
    // Release pairs with get and keeps the bitmap.
    HBITMAP bmp = CqBitmapHandler::g_fnGetBitmap();
    CqBitmapHandler::g_fnGetDC();
    CqBitmapHandler::g_fnReleaseDC();
    EXPECT_TRUE(!HandlerAccess::dc() && bmp == CqBitmapHandler::g_fnGetBitmap());
    ASSERT_TRUE(CqBitmapHandler::g_fnInit());
}
