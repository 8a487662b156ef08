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

// The DIB loader keeps straight alpha and upright rows, the plain one premultiplies; the pixel
// format chooses the depth, an indexed image brings its palette and its index bytes unchanged.
TEST(Loaders, DepthAlphaAndPaletteOfEachFormat) {
    HBITMAP bmp = gfnGDIPlusLoadBitmapDIB(testImage(L"argb32.png").c_str());
    ASSERT_NE(nullptr, bmp);
    DIBSECTION ds = dibOf(bmp);
    EXPECT_TRUE(ds.dsBm.bmBitsPixel == 32 && ds.dsBm.bmWidth == 8 && ds.dsBmih.biHeight == 4);  // bottom-up
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(((DWORD)kArgbAlpha[x] << 24) | 0xFF0000, dibPixel(bmp, x, 0)) << x;  // red on top
        EXPECT_EQ(((DWORD)kArgbAlpha[x] << 24) | 0x0000FF, dibPixel(bmp, x, 3)) << x;  // blue below
    }
    DeleteObject(bmp);
    bmp = gfnGDIPlusLoadBitmap(testImage(L"argb32.png").c_str());
    ASSERT_NE(nullptr, bmp);
    EXPECT_EQ(32, dibOf(bmp).dsBm.bmBitsPixel);
    EXPECT_EQ(0xFFFF0000u, dibPixel(bmp, 0, 0));
    EXPECT_NEAR(0x80800000, (double)dibPixel(bmp, 2, 0), 0x10000);   // half red, premultiplied
    EXPECT_EQ(0u, dibPixel(bmp, 5, 0));  // fully transparent: black
    DeleteObject(bmp);

    HBITMAP png = gfnLoadBitmapDIB(testImage(L"rgb24.png").c_str()), file = gfnLoadBitmapDIB(gfnGetProgramBitmapPath(), L"test\\rgb24.bmp");
    ASSERT_TRUE(png && file);
    EXPECT_TRUE(dibOf(png).dsBm.bmBitsPixel == 24 && dibOf(file).dsBm.bmBitsPixel == 24);
    EXPECT_TRUE(dibPixel(png, 0, 0) == 0x0A141E && dibPixel(png, 5, 0) == 0xFF0000 && dibPixel(png, 5, 2) == 0x0000FF);
    EXPECT_TRUE(dibPixel(file, 0, 0) == 0x0A141E && dibPixel(file, 3, 1) == 0x00FF00);
    DeleteObject(png);
    DeleteObject(file);
    EXPECT_EQ(nullptr, gfnGDIPlusLoadBitmapDIB(testImage(L"mono1.png").c_str()));
    EXPECT_EQ(nullptr, gfnGDIPlusLoadBitmapDIB(testImage(L"indexed4.png").c_str()));

    bmp = gfnGDIPlusLoadBitmapDIB(testImage(L"indexed8.png").c_str());
    ASSERT_NE(nullptr, bmp);
    ds = dibOf(bmp);
    ASSERT_EQ(8, ds.dsBm.bmBitsPixel);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bmp);
    RGBQUAD table[4] = {};
    ASSERT_EQ(4u, GetDIBColorTable(mem, 0, 4, table));
    SelectObject(mem, old);
    DeleteDC(mem);
    EXPECT_TRUE(table[1].rgbRed == 255 && table[2].rgbGreen == 128);
    EXPECT_TRUE(table[3].rgbRed == 16 && table[3].rgbGreen == 32 && table[3].rgbBlue == 240);
    // Row 0 is 0 1 2 3 0, row 1 is 1 2 3 0 1; bottom-up, so the top row is stored last.
    const BYTE* bits = static_cast<const BYTE*>(ds.dsBm.bmBits);
    const BYTE* top = bits + ds.dsBm.bmWidthBytes;
    EXPECT_TRUE(top[0] == 0 && top[3] == 3 && bits[0] == 1 && bits[3] == 0);
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
    std::wstring longName(300, L'a');
    EXPECT_FALSE(gfnLoadBitmap((const wchar_t*)nullptr) || gfnLoadBitmap(nullptr, nullptr) ||
                 gfnLoadBitmapDIB(nullptr, longName.c_str()) || gfnLoadIcon(nullptr, L"test\\no-such.ico"));

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
    SIZE size;
    EXPECT_TRUE(gfnGetBitmapSize(ddb, &size) && size.cx == 6 && size.cy == 3);
    DeleteObject(ddb);

    HBITMAP dib = gfnLoadBitmapDIB(exe, 101);
    ASSERT_NE(nullptr, dib);
    EXPECT_EQ(24, dibOf(dib).dsBm.bmBitsPixel);
    EXPECT_EQ(0x0A141Eu, dibPixel(dib, 0, 0));
    DeleteObject(dib);

    EXPECT_FALSE(gfnLoadBitmap(exe, 999) || gfnLoadBitmapDIB(exe, 999));
    CBitmap holder;
    EXPECT_EQ(0, gfnLoadBitmap(exe, &holder, 999));
    EXPECT_EQ(nullptr, holder.m_hObject);
    EXPECT_EQ(1, gfnLoadBitmap(exe, &holder, 101));
    EXPECT_NE(nullptr, holder.m_hObject);
}

TEST(Loaders, SizeAndCut) {
    SIZE size = {5, 5};
    EXPECT_TRUE(!gfnGetBitmapSize(nullptr, &size) && !size.cx && !size.cy);

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
    EXPECT_TRUE(gfnGetBitmapSize(cut, &size) && size.cx == 4 && size.cy == 3);
    testutil::Canvas check(4, 3, RGB(9, 9, 9));
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ o = SelectObject(mem, cut);
    BitBlt(check.dc(), 0, 0, 4, 3, mem, 0, 0, SRCCOPY);
    SelectObject(mem, o);
    DeleteDC(mem);
    EXPECT_TRUE(check.at(0, 0) == RGB(255, 0, 0) && check.at(3, 2) == RGB(0, 255, 0) && check.at(1, 1) == 0);
    DeleteObject(cut);
    EXPECT_EQ(nullptr, gfnCutBitmap(nullptr, &r));
}
