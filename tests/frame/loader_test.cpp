// Bitmap loaders on real files and resources, and the GDI+ start-up count around them.
#include <gtest/gtest.h>
#include "qBitmapLoad.h"
#include "qModule.h"
#include "testutil.h"
#include <string>


using testutil::dibPixel;

namespace {
std::wstring testImage(const wchar_t* name) { return std::wstring(gfnGetProgramBitmapPath()) + L"test\\" + name; }

DIBSECTION dibOf(HBITMAP bmp) {
    DIBSECTION ds = {};
    GetObjectW(bmp, sizeof(ds), &ds);
    return ds;
}

const BYTE kArgbAlpha[8] = {255, 255, 128, 128, 64, 0, 255, 255};
}  // namespace

TEST(Loaders, DIBLoaderKeepsStraightAlphaAndRowsUpright) {
    HBITMAP bmp = gfnGDIPlusLoadBitmapDIB(testImage(L"argb32.png").c_str());
    ASSERT_NE(nullptr, bmp);
    DIBSECTION ds = dibOf(bmp);
    EXPECT_EQ(32, ds.dsBm.bmBitsPixel);
    EXPECT_EQ(8, ds.dsBm.bmWidth);
    EXPECT_EQ(4, ds.dsBmih.biHeight);  // bottom-up
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(((DWORD)kArgbAlpha[x] << 24) | 0xFF0000, dibPixel(bmp, x, 0)) << x;  // red on top
        EXPECT_EQ(((DWORD)kArgbAlpha[x] << 24) | 0x0000FF, dibPixel(bmp, x, 3)) << x;  // blue below
    }
    DeleteObject(bmp);
}

TEST(Loaders, PlainLoaderGivesPremultipliedThirtyTwoBits) {
    HBITMAP bmp = gfnGDIPlusLoadBitmap(testImage(L"argb32.png").c_str());
    ASSERT_NE(nullptr, bmp);
    EXPECT_EQ(32, dibOf(bmp).dsBm.bmBitsPixel);
    EXPECT_EQ(0xFFFF0000u, dibPixel(bmp, 0, 0));
    DWORD half = dibPixel(bmp, 2, 0);
    EXPECT_EQ(128u, half >> 24);
    EXPECT_NEAR(128, (int)((half >> 16) & 0xFF), 1);
    EXPECT_EQ(0u, dibPixel(bmp, 5, 0));  // fully transparent: black
    DeleteObject(bmp);
}

TEST(Loaders, PixelFormatsChooseTheDIBDepth) {
    HBITMAP rgb = gfnLoadBitmapDIB(testImage(L"rgb24.png").c_str());
    ASSERT_NE(nullptr, rgb);
    EXPECT_EQ(24, dibOf(rgb).dsBm.bmBitsPixel);
    EXPECT_EQ(0x0A141Eu, dibPixel(rgb, 0, 0));
    EXPECT_EQ(0xFF0000u, dibPixel(rgb, 5, 0));
    EXPECT_EQ(0x0000FFu, dibPixel(rgb, 5, 2));
    DeleteObject(rgb);

    HBITMAP bmpFile = gfnLoadBitmapDIB(gfnGetProgramBitmapPath(), L"test\\rgb24.bmp");
    ASSERT_NE(nullptr, bmpFile);
    EXPECT_EQ(24, dibOf(bmpFile).dsBm.bmBitsPixel);
    EXPECT_EQ(0x0A141Eu, dibPixel(bmpFile, 0, 0));
    EXPECT_EQ(0x00FF00u, dibPixel(bmpFile, 3, 1));
    DeleteObject(bmpFile);

    EXPECT_EQ(nullptr, gfnGDIPlusLoadBitmapDIB(testImage(L"mono1.png").c_str()));
    EXPECT_EQ(nullptr, gfnGDIPlusLoadBitmapDIB(testImage(L"indexed4.png").c_str()));
}

TEST(Loaders, IndexedImageCarriesItsPalette) {
    HBITMAP bmp = gfnGDIPlusLoadBitmapDIB(testImage(L"indexed8.png").c_str());
    ASSERT_NE(nullptr, bmp);
    DIBSECTION ds = dibOf(bmp);
    ASSERT_EQ(8, ds.dsBm.bmBitsPixel);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bmp);
    RGBQUAD table[4] = {};
    ASSERT_EQ(4u, GetDIBColorTable(mem, 0, 4, table));
    SelectObject(mem, old);
    DeleteDC(mem);
    EXPECT_EQ(255, table[1].rgbRed);
    EXPECT_EQ(128, table[2].rgbGreen);
    EXPECT_EQ(16, table[3].rgbRed);
    EXPECT_EQ(32, table[3].rgbGreen);
    EXPECT_EQ(240, table[3].rgbBlue);
    // Index bytes copied unchanged, top row on top: row 0 is 0 1 2 3 0, row 1 is 1 2 3 0 1.
    const BYTE* bits = static_cast<const BYTE*>(ds.dsBm.bmBits);
    const BYTE* top = bits + ds.dsBm.bmWidthBytes;  // bottom-up: the top row is stored last
    EXPECT_EQ(0, top[0]);
    EXPECT_EQ(3, top[3]);
    EXPECT_EQ(1, bits[0]);
    EXPECT_EQ(0, bits[3]);
    DeleteObject(bmp);
}

TEST(Loaders, FailuresGiveNullAndLeaveTheStartupCount) {
    const testutil::GdiplusCalls& gdiplus = testutil::gdiplusCalls();
    ASSERT_FALSE(gdiplus.running());
    const std::wstring missing = testImage(L"no-such-file.png");
    const std::wstring corrupt = testImage(L"corrupt.png");
    const int startups = gdiplus.startups;
    for (const std::wstring* path : {&missing, &corrupt}) {
        EXPECT_EQ(nullptr, gfnGDIPlusLoadBitmap(path->c_str()));
        EXPECT_EQ(nullptr, gfnGDIPlusLoadBitmapDIB(path->c_str()));
        EXPECT_EQ(nullptr, gfnLoadBitmap(path->c_str()));
        EXPECT_FALSE(gdiplus.running());
    }
    EXPECT_EQ(startups + 6, gdiplus.startups);   // each load held GDI+ for itself
    EXPECT_EQ(nullptr, gfnLoadBitmap((const wchar_t*)nullptr));
    EXPECT_EQ(nullptr, gfnLoadBitmap(nullptr, nullptr));
    std::wstring longName(300, L'a');
    EXPECT_EQ(nullptr, gfnLoadBitmapDIB(nullptr, longName.c_str()));
    EXPECT_EQ(nullptr, gfnLoadIcon(nullptr, L"test\\no-such.ico"));

    // A caller's lock keeps GDI+ up across loads and failures: one start-up, one shut-down.
    void* lock = nullptr;
    ASSERT_EQ(0, gfnGDIPlusLock(&lock));
    ASSERT_NE(nullptr, lock);
    const int locked = gdiplus.startups;
    EXPECT_EQ(nullptr, gfnGDIPlusLoadBitmap(missing.c_str()));
    HBITMAP ok = gfnGDIPlusLoadBitmap(testImage(L"rgb24.png").c_str());
    EXPECT_NE(nullptr, ok);
    DeleteObject(ok);
    EXPECT_TRUE(gdiplus.running() && gdiplus.startups == locked);
    EXPECT_EQ(0, gfnGDIPlusUnlock(&lock));
    EXPECT_EQ(nullptr, lock);
    EXPECT_FALSE(gdiplus.running());
    EXPECT_EQ(0, gfnGDIPlusUnlock(&lock));  // already null: nothing
    EXPECT_EQ((long)E_FAIL, gfnGDIPlusUnlock(nullptr));
    EXPECT_EQ((long)E_FAIL, gfnGDIPlusLock(nullptr));
    EXPECT_FALSE(gdiplus.running());
}

TEST(Loaders, ResourceBitmapsAsDDBAndDIB) {
    HINSTANCE exe = GetModuleHandleW(nullptr);
    HBITMAP ddb = gfnLoadBitmap(exe, 101);
    ASSERT_NE(nullptr, ddb);
    SIZE size;
    EXPECT_EQ(1, gfnGetBitmapSize(ddb, &size));
    EXPECT_EQ(6, size.cx);
    EXPECT_EQ(3, size.cy);
    DeleteObject(ddb);

    HBITMAP dib = gfnLoadBitmapDIB(exe, 101);
    ASSERT_NE(nullptr, dib);
    EXPECT_EQ(24, dibOf(dib).dsBm.bmBitsPixel);
    EXPECT_EQ(0x0A141Eu, dibPixel(dib, 0, 0));
    DeleteObject(dib);

    EXPECT_EQ(nullptr, gfnLoadBitmap(exe, 999));
    EXPECT_EQ(nullptr, gfnLoadBitmapDIB(exe, 999));
    CBitmap holder;
    EXPECT_EQ(0, gfnLoadBitmap(exe, &holder, 999));
    EXPECT_EQ(nullptr, holder.m_hObject);
    EXPECT_EQ(1, gfnLoadBitmap(exe, &holder, 101));
    EXPECT_NE(nullptr, holder.m_hObject);
}

TEST(Loaders, SizeAndCut) {
    SIZE size = {5, 5};
    EXPECT_EQ(0, gfnGetBitmapSize(nullptr, &size));
    EXPECT_EQ(0, size.cx);
    EXPECT_EQ(0, size.cy);

    testutil::Canvas src(10, 10, RGB(0, 0, 0));
    SetPixel(src.dc(), 3, 4, RGB(255, 0, 0));
    SetPixel(src.dc(), 6, 6, RGB(0, 255, 0));
    HBITMAP detached = CreateBitmap(1, 1, 1, 32, nullptr);  // keep src's bitmap selectable elsewhere
    HGDIOBJ old = SelectObject(src.dc(), detached);
    RECT r = {3, 4, 7, 7};
    HBITMAP cut = gfnCutBitmap(src.bitmap(), &r);
    SelectObject(src.dc(), old);
    DeleteObject(detached);
    ASSERT_NE(nullptr, cut);
    EXPECT_EQ(1, gfnGetBitmapSize(cut, &size));
    EXPECT_EQ(4, size.cx);
    EXPECT_EQ(3, size.cy);
    testutil::Canvas check(4, 3, RGB(9, 9, 9));
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ o = SelectObject(mem, cut);
    BitBlt(check.dc(), 0, 0, 4, 3, mem, 0, 0, SRCCOPY);
    SelectObject(mem, o);
    DeleteDC(mem);
    EXPECT_EQ(RGB(255, 0, 0), check.at(0, 0));
    EXPECT_EQ(RGB(0, 255, 0), check.at(3, 2));
    EXPECT_EQ(RGB(0, 0, 0), check.at(1, 1));
    DeleteObject(cut);
    EXPECT_EQ(nullptr, gfnCutBitmap(nullptr, &r));
}
