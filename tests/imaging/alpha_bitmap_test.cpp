// The alpha bitmap object on real files, resources and device contexts, checked by pixels.
#include <gtest/gtest.h>
#include "imaging_support.h"
#include "testutil.h"

extern "C" __declspec(dllimport) unsigned int qTrimUIGDIPlusStartupCount();

using testutil::Canvas;

namespace {
const COLORREF kBack = RGB(255, 255, 255);

int channel(COLORREF c, int i) { return i == 0 ? GetRValue(c) : i == 1 ? GetGValue(c) : GetBValue(c); }

// c blended with alpha a over back, per channel.
void expectBlend(COLORREF c, int a, COLORREF back, COLORREF got, const char* what) {
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR((channel(c, i) * a + channel(back, i) * (255 - a)) / 255.0, channel(got, i), 2.0)
            << what << " channel " << i;
}
}  // namespace

TEST(AlphaBitmap, DecodesAFileOnceForEveryObject) {
    const unsigned int startups = qTrimUIGDIPlusStartupCount();
    const std::wstring copy = tempCopy(imagingDir() + L"nine30.png", L"qa");
    {
        AlphaBitmap a, b, c, d;
        EXPECT_EQ(startups + 4, qTrimUIGDIPlusStartupCount());   // each object keeps GDI+ up
        ASSERT_EQ(1, a->fnLoadFromPath(copy.c_str(), nullptr, 0, 0, 0, 0));
        ASSERT_EQ(1, b->fnLoadFromPath(copy.c_str(), nullptr, 10, 10, 10, 10));
        // A file that fails to decode does not replace the cache.
        EXPECT_EQ(0, d->fnLoadFromPath((testDir() + L"corrupt.png").c_str(), nullptr, 0, 0, 0, 0));
        ASSERT_TRUE(DeleteFileW(copy.c_str()));
        ASSERT_EQ(1, c->fnLoadFromPath(copy.c_str(), nullptr, 0, 0, 0, 0));
        EXPECT_EQ(30, c->fnGetSize().cx);
        Canvas canvas(40, 40, kBack);
        EXPECT_EQ(1, c->fnDraw(canvas.dc(), 0, 0, 0, 0));
        EXPECT_EQ(kCell[2][2], canvas.at(25, 25));
        // Another file replaces it: the deleted one is gone for good.
        ASSERT_EQ(1, d->fnLoadFromPath((testDir() + L"rgb24.png").c_str(), nullptr, 0, 0, 0, 0));
        EXPECT_EQ(0, c->fnLoadFromPath(copy.c_str(), nullptr, 0, 0, 0, 0));
        EXPECT_FALSE(c->fnIsValid());
    }
    EXPECT_EQ(startups, qTrimUIGDIPlusStartupCount());
}

TEST(AlphaBitmap, TheLastObjectTakesTheCacheWithIt) {
    const std::wstring copy = tempCopy(imagingDir() + L"nine30.png", L"qb");
    {
        AlphaBitmap a;
        ASSERT_EQ(1, a->fnLoadFromPath(copy.c_str(), nullptr, 0, 0, 0, 0));
    }
    ASSERT_TRUE(DeleteFileW(copy.c_str()));
    AlphaBitmap b;
    EXPECT_EQ(0, b->fnLoadFromPath(copy.c_str(), nullptr, 0, 0, 0, 0));
}

TEST(AlphaBitmap, ArgbImagesBlendOverWhatIsThere) {
    AlphaBitmap img;
    ASSERT_EQ(1, img->fnLoadFromFile(testDir().c_str(), L"argb32.png", nullptr, 0, 0, 0, 0));
    EXPECT_EQ(CSize(8, 4), img->fnGetSize());
    // A pattern underneath: black and white columns.
    Canvas canvas(20, 10, kBack);
    for (int x = 0; x < 20; x += 2) {
        RECT col = {x, 0, x + 1, 10};
        FillRect(canvas.dc(), &col, (HBRUSH)GetStockObject(BLACK_BRUSH));
    }
    EXPECT_EQ(1, img->fnDraw(canvas.dc(), 2, 3, 0, 0));
    const int alpha[8] = {255, 255, 128, 128, 64, 0, 255, 255};
    for (int x = 0; x < 8; ++x) {
        const COLORREF under = (x + 2) % 2 ? kBack : RGB(0, 0, 0);
        expectBlend(RGB(255, 0, 0), alpha[x], under, canvas.at(x + 2, 3), "top row");
        expectBlend(RGB(0, 0, 255), alpha[x], under, canvas.at(x + 2, 6), "bottom row");
    }
    EXPECT_EQ(kBack, canvas.at(11, 3));   // outside the image
}

TEST(AlphaBitmap, ImagesWithoutAlphaAreCopiedExactly) {
    for (const wchar_t* file : {L"rgb24.png", L"rgb24.bmp"}) {
        AlphaBitmap img;
        ASSERT_EQ(1, img->fnLoadFromFile(testDir().c_str(), file, L"", 0, 0, 0, 0));
        Canvas canvas(10, 10, RGB(1, 2, 3));
        EXPECT_EQ(1, img->fnDraw(canvas.dc(), 3, 2, 0, 0));
        EXPECT_EQ(RGB(10, 20, 30), canvas.at(3, 2));
        EXPECT_EQ(RGB(255, 0, 0), canvas.at(8, 2));
        EXPECT_EQ(RGB(0, 255, 0), canvas.at(4, 3));
        EXPECT_EQ(RGB(0, 0, 255), canvas.at(8, 4));
        EXPECT_EQ(RGB(1, 2, 3), canvas.at(9, 2));
        // The BitBlt copy lives in the object's own memory DC, lent out as is.
        HDC dc = img->fnGetDC();
        ASSERT_NE(nullptr, dc);
        EXPECT_EQ(dc, img->fnGetDC());
        EXPECT_EQ(RGB(10, 20, 30), GetPixel(dc, 0, 0));
        img->fnReleaseDC(dc);
    }
}

TEST(AlphaBitmap, AlphaImageRedGatesTheSourceAlpha) {
    // alpha = red of the alpha image AND alpha of the source (255 on top, 200 below); pixels the
    // smaller alpha image does not have repeat the last one read.
    const struct {
        const wchar_t* alpha;
        int expected[2][4];
    } cases[] = {{L"cutalpha.png", {{0, 255, 128, 255}, {200, 64, 0, 200}}},
                 {L"cutalphasmall.png", {{255, 100, 100, 100}, {100 & 200, 100 & 200, 100 & 200, 100 & 200}}}};
    for (const auto& c : cases) {
        AlphaBitmap img;
        ASSERT_EQ(1, img->fnLoadFromFile(imagingDir().c_str(), L"cutsrc.png", c.alpha, 0, 0, 0, 0));
        HBITMAP bmp = nullptr;
        ASSERT_EQ(1, img->fnGetHBITMAP(&bmp));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(c.expected[y][x], (int)(testutil::dibPixel(bmp, x, y) >> 24)) << x << "," << y;
        DeleteObject(bmp);
    }
    AlphaBitmap img;
    ASSERT_EQ(1, img->fnLoadFromFile(imagingDir().c_str(), L"cutsrc.png", L"cutalpha.png", 0, 0, 0, 0));
    Canvas canvas(4, 2, kBack);
    EXPECT_EQ(1, img->fnDraw(canvas.dc(), 0, 0, 0, 0));
    EXPECT_EQ(kBack, canvas.at(0, 0));               // black in the alpha image: transparent
    EXPECT_EQ(RGB(10, 20, 30), canvas.at(1, 0));     // red 255: the source's own alpha
}

TEST(AlphaBitmap, AnAlphaFileThatDoesNotDecodeMakesTheCutTransparent) {
    for (const wchar_t* alpha : {L"no-such-alpha.png", L"..\\corrupt.png"}) {
        AlphaBitmap img;
        ASSERT_EQ(1, img->fnLoadFromFile(imagingDir().c_str(), L"nine30.png", alpha, 0, 0, 0, 0));
        EXPECT_TRUE(img->fnIsValid());
        Canvas canvas(30, 30, kBack);
        EXPECT_EQ(1, img->fnDraw(canvas.dc(), 0, 0, 0, 0));
        EXPECT_EQ(kBack, canvas.at(5, 5));
        EXPECT_EQ(kBack, canvas.at(25, 25));
    }
}

TEST(AlphaBitmap, SourceRectanglesAreCutAndShortened) {
    AlphaBitmap img;
    ASSERT_EQ(1, img->fnLoadFromFile(imagingDir().c_str(), L"nine30.png", nullptr, 0, 0, 0, 0));
    EXPECT_EQ(CSize(30, 30), img->fnGetSize());
    ASSERT_EQ(1, img->fnLoadFromFile(imagingDir().c_str(), L"nine30.png", nullptr, 20, 10, 50, 0));
    EXPECT_EQ(CSize(10, 20), img->fnGetSize());
    Canvas canvas(10, 20, kBack);
    EXPECT_EQ(1, img->fnDraw(canvas.dc(), 0, 0, 0, 0));
    EXPECT_EQ(kMarker, canvas.at(0, 0));
    EXPECT_EQ(kCell[1][2], canvas.at(5, 5));
    EXPECT_EQ(kCell[2][2], canvas.at(5, 15));
    // A piece that starts outside the image is no image.
    EXPECT_EQ(0, img->fnLoadFromFile(imagingDir().c_str(), L"nine30.png", nullptr, 30, 0, 0, 0));
    EXPECT_FALSE(img->fnIsValid());
}

TEST(AlphaBitmap, BadInputFailsAndLeavesTheObjectAsDocumented) {
    AlphaBitmap img;
    ASSERT_EQ(1, img->fnLoadFromFile(imagingDir().c_str(), L"nine30.png", nullptr, 0, 0, 0, 0));
    // No directory or an empty path: refused before anything is released.
    EXPECT_EQ(0, img->fnLoadFromFile(nullptr, L"nine30.png", nullptr, 0, 0, 0, 0));
    EXPECT_EQ(0, img->fnLoadFromFile(L"", L"", nullptr, 0, 0, 0, 0));
    EXPECT_TRUE(img->fnIsValid());
    // Missing, corrupt and non-image files leave it empty.
    for (const wchar_t* file : {L"missing.png", L"corrupt.png", L"..\\..\\qTrimUI.dll"}) {
        ASSERT_EQ(1, img->fnLoadFromFile(imagingDir().c_str(), L"nine30.png", nullptr, 0, 0, 0, 0));
        EXPECT_EQ(0, img->fnLoadFromFile(testDir().c_str(), file, nullptr, 0, 0, 0, 0)) << file;
        EXPECT_FALSE(img->fnIsValid());
        EXPECT_EQ(CSize(0, 0), img->fnGetSize());
    }
    EXPECT_EQ(0, img->fnLoadFromResource(testModule(), kResMissing, 0, 0, 0, 0, 0));
    EXPECT_EQ(0, img->fnCreateFromHBITMAP(nullptr, nullptr));
    EXPECT_EQ(0, img->fnCreateFromGdiDib(nullptr, nullptr));
    EXPECT_EQ(0, img->fnCreate(0, 5));
    // An empty object draws nothing and says so.
    Canvas canvas(10, 10, kBack);
    RECT r = {0, 0, 10, 10};
    EXPECT_EQ(0, img->fnDraw(canvas.dc(), &r));
    EXPECT_EQ(0, img->fnFillRect(canvas.dc(), &r, 0, 0, 0, 0, TRUE));
    EXPECT_EQ(0, img->fnFillRectWith9Cells(canvas.dc(), &r));
    HBITMAP out = nullptr;
    EXPECT_EQ(0, img->fnGetHBITMAP(&out));
    EXPECT_EQ(0, img->fnCreateDIB(24, &out));
    EXPECT_EQ(nullptr, img->fnGetDC());
    EXPECT_EQ(kBack, canvas.at(5, 5));
}

// Nine cells on both drawing paths: the 30 x 30 image as a piece of 29 x 29 (cells of 9), where
// each special shape differs from the general rule in the pixels the edge tiles would restart at.
class NineCells : public ::testing::TestWithParam<const wchar_t*> {
protected:
    void SetUp() override { ASSERT_EQ(1, img->fnLoadFromFile(imagingDir().c_str(), GetParam(), nullptr, 0, 0, 0, 0)); }
    AlphaBitmap img;
};

TEST_P(NineCells, EqualSizeDrawsThePieceOnce) {
    Canvas canvas(40, 40, kBack);
    RECT r = {5, 5, 34, 34};
    EXPECT_EQ(1, img->fnFillRectWith9Cells(canvas.dc(), &r, 0, 0, 29, 29));
    EXPECT_EQ(kCell[1][1], canvas.at(5 + 18, 5 + 18));   // the general rule would restart the centre tile here
    EXPECT_EQ(kMarker, canvas.at(5 + 20, 5 + 20));
    EXPECT_EQ(kBack, canvas.at(4, 4));
    EXPECT_EQ(kBack, canvas.at(34, 34));
}

TEST_P(NineCells, EqualWidthDrawsThreeBands) {
    Canvas canvas(40, 60, kBack);
    RECT r = {5, 5, 34, 55};
    EXPECT_EQ(1, img->fnFillRectWith9Cells(canvas.dc(), &r, 0, 0, 29, 29));
    EXPECT_EQ(kCell[0][1], canvas.at(5 + 18, 7));    // top band: whole source rows
    EXPECT_EQ(kCell[1][1], canvas.at(5 + 18, 20));   // middle band tiled from source row 9
    EXPECT_EQ(kCell[0][0], canvas.at(5 + 5, 5 + 9)); // source row 9 is still the top cell's last
    EXPECT_EQ(kCell[2][1], canvas.at(5 + 18, 53));   // bottom band from source row 18
    EXPECT_EQ(kBack, canvas.at(34, 20));
}

TEST_P(NineCells, EqualHeightDrawsThreeColumns) {
    Canvas canvas(60, 40, kBack);
    RECT r = {5, 5, 55, 34};
    EXPECT_EQ(1, img->fnFillRectWith9Cells(canvas.dc(), &r, 0, 0, 29, 29));
    EXPECT_EQ(kCell[1][0], canvas.at(7, 5 + 18));
    EXPECT_EQ(kCell[1][1], canvas.at(20, 5 + 18));
    EXPECT_EQ(kCell[1][2], canvas.at(53, 5 + 18));
    EXPECT_EQ(kBack, canvas.at(20, 34));
}

TEST_P(NineCells, GeneralRectangleKeepsCornersAndTilesTheRest) {
    Canvas canvas(100, 40, kBack);
    RECT r = {0, 0, 100, 40};
    EXPECT_EQ(1, img->fnFillRectWith9Cells(canvas.dc(), &r));
    EXPECT_EQ(kCell[0][0], canvas.at(5, 5));
    EXPECT_EQ(kCell[2][0], canvas.at(5, 35));
    EXPECT_EQ(kCell[0][2], canvas.at(95, 5));
    EXPECT_EQ(kCell[2][2], canvas.at(95, 35));
    for (int x = 10; x < 90; x += 10) {
        EXPECT_EQ(kMarker, canvas.at(x, 0)) << x;    // top edge: whole tiles from x = 10
        EXPECT_EQ(kMarker, canvas.at(x, 10)) << x;   // centre: 8 x 2 tiles
        EXPECT_EQ(kMarker, canvas.at(x, 20)) << x;
        EXPECT_EQ(kCell[1][1], canvas.at(x + 5, 15)) << x;
    }
    EXPECT_EQ(kMarker, canvas.at(90, 30));
}

INSTANTIATE_TEST_SUITE_P(BothPaths, NineCells, ::testing::Values(L"nine30.png", L"nine30rgb.png"));

TEST(AlphaBitmap, ANineCellRectangleNoHigherThanACellLeavesTheTopCornersOut) {
    AlphaBitmap img;   // bottom row of cells transparent
    ASSERT_EQ(1, img->fnLoadFromFile(imagingDir().c_str(), L"nine30holes.png", nullptr, 0, 0, 0, 0));
    Canvas canvas(80, 60, kBack);
    RECT r = {10, 40, 70, 48};
    EXPECT_EQ(1, img->fnFillRectWith9Cells(canvas.dc(), &r));
    EXPECT_EQ(kBack, canvas.at(12, 44));            // top-left corner left out
    EXPECT_EQ(kBack, canvas.at(67, 44));            // top-right corner left out
    EXPECT_EQ(kCell[0][1], canvas.at(30, 44));      // the top edge is still there
}

TEST(AlphaBitmap, FillsSkipWholeTileRowsAboveZero) {
    for (BOOL useBack : {TRUE, FALSE}) {
        AlphaBitmap img;
        ASSERT_EQ(1, img->fnLoadFromFile(imagingDir().c_str(), L"nine30.png", nullptr, 0, 0, 0, 0));
        Canvas canvas(30, 80, kBack);
        SetViewportOrgEx(canvas.dc(), 0, 50, nullptr);   // logical -50 is the canvas's top row
        RECT r = {0, -45, 30, 20};
        EXPECT_EQ(1, img->fnFillRect(canvas.dc(), &r, 0, 0, 10, 10, useBack));
        SetViewportOrgEx(canvas.dc(), 0, 0, nullptr);
        // Rows at -45, -35, -25 and -15 lie wholly above 0: skipped. The row at -5 is drawn.
        EXPECT_EQ(kBack, canvas.at(5, 10)) << useBack;
        EXPECT_EQ(kBack, canvas.at(5, 40)) << useBack;
        EXPECT_EQ(kMarker, canvas.at(0, 45)) << useBack;
        EXPECT_EQ(kCell[0][0], canvas.at(5, 50)) << useBack;
        EXPECT_EQ(kMarker, canvas.at(20, 55)) << useBack;
    }
}

TEST(AlphaBitmap, ResourcesLoadWithAnOptionalAlphaImage) {
    AlphaBitmap img;
    ASSERT_EQ(1, img->fnLoadFromResource(testModule(), kResNine, 0, 10, 0, 0, 0));
    EXPECT_EQ(CSize(20, 30), img->fnGetSize());
    Canvas canvas(20, 30, kBack);
    EXPECT_EQ(1, img->fnDraw(canvas.dc(), 0, 0, 0, 0));
    EXPECT_EQ(kCell[0][1], canvas.at(5, 5));
    EXPECT_EQ(kCell[2][2], canvas.at(15, 25));

    // Red | blue foreground, alpha from a grey image: 0, 0, 255, 255, 128, 128, 255, 0.
    ASSERT_EQ(1, img->fnLoadFromResource(testModule(), kResFore, kResMask, 0, 0, 0, 0));
    Canvas over(8, 4, kBack);
    EXPECT_EQ(1, img->fnDraw(over.dc(), 0, 0, 0, 0));
    EXPECT_EQ(kBack, over.at(0, 1));
    EXPECT_EQ(RGB(255, 0, 0), over.at(2, 1));
    expectBlend(RGB(0, 0, 255), 128, kBack, over.at(4, 1), "half mask");
    EXPECT_EQ(RGB(0, 0, 255), over.at(6, 1));
    EXPECT_EQ(kBack, over.at(7, 1));
}

TEST(AlphaBitmap, BitmapsAndDibsAreCopiedIn) {
    // A DIB in memory: the object keeps its own copy of the bits.
    struct {
        BITMAPINFOHEADER h;
        DWORD bits[4 * 2];
    } dib = {};
    dib.h = {sizeof(BITMAPINFOHEADER), 4, -2, 1, 32, BI_RGB};
    for (DWORD& p : dib.bits) p = 0x00336699;
    AlphaBitmap img;
    ASSERT_EQ(1, img->fnCreateFromGdiDib(reinterpret_cast<BITMAPINFO*>(&dib), dib.bits));
    for (DWORD& p : dib.bits) p = 0;
    Canvas canvas(10, 10, kBack);
    EXPECT_EQ(1, img->fnDraw(canvas.dc(), 1, 1, 0, 0));
    EXPECT_EQ(RGB(0x33, 0x66, 0x99), canvas.at(4, 2));
    EXPECT_EQ(kBack, canvas.at(5, 2));

    // A device-dependent bitmap has no alpha: copied by BitBlt, the caller's handle untouched.
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 3, 3);
    ReleaseDC(nullptr, screen);
    {
        Canvas src(3, 3, RGB(9, 8, 7));
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, ddb);
        BitBlt(mem, 0, 0, 3, 3, src.dc(), 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    ASSERT_EQ(1, img->fnCreateFromHBITMAP(ddb, nullptr));
    EXPECT_EQ(CSize(3, 3), img->fnGetSize());
    EXPECT_EQ(1, img->fnDraw(canvas.dc(), 6, 6, 0, 0));
    EXPECT_EQ(RGB(9, 8, 7), canvas.at(8, 8));
    BITMAP bm;
    EXPECT_EQ((int)sizeof bm, GetObjectW(ddb, sizeof bm, &bm));
    DeleteObject(ddb);
}

TEST(AlphaBitmap, PaletteChangesShowInTheNextDraw) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[4];
        BYTE bits[4];
    } dib = {};
    dib.h = {sizeof(BITMAPINFOHEADER), 4, -1, 1, 8, BI_RGB, 4, 0, 0, 4, 4};
    dib.colours[0] = {0, 0, 255, 0};   // red
    dib.colours[1] = {0, 255, 0, 0};   // green
    dib.colours[2] = {255, 0, 0, 0};   // blue
    dib.colours[3] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) dib.bits[i] = (BYTE)i;
    AlphaBitmap img;
    ASSERT_EQ(1, img->fnCreateFromGdiDib(reinterpret_cast<BITMAPINFO*>(&dib), dib.bits));
    Gdiplus::ARGB entries[8] = {};
    ASSERT_EQ(1, img->fnGetPalette(entries, 8));
    EXPECT_EQ(0xFFFF0000u, entries[0]);
    EXPECT_EQ(0xFF00FF00u, entries[1]);

    img->fnSetPaletteEntryRGB(1, RGB(1, 2, 3));
    img->fnSetPaletteAlpha(2, 0);
    img->fnSetPaletteEntry(7, 0xFF123456);   // no such entry: nothing happens
    Canvas canvas(4, 1, kBack);
    EXPECT_EQ(1, img->fnDraw(canvas.dc(), 0, 0, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), canvas.at(0, 0));
    EXPECT_EQ(RGB(1, 2, 3), canvas.at(1, 0));
    // Entry 2 keeps its colour and takes alpha 0 (Wine draws indexed images opaque regardless).
    ASSERT_EQ(1, img->fnGetPalette(entries, 8));
    EXPECT_EQ(0x000000FFu, entries[2]);
    EXPECT_EQ(0xFF010203u, entries[1]);

    const COLORREF grey[2] = {RGB(50, 50, 50), RGB(60, 60, 60)};
    ASSERT_EQ(1, img->fnSetPaletteRGB(grey, 2));
    ASSERT_EQ(1, img->fnGetPalette(entries, 1));
    EXPECT_EQ(0xFF323232u, entries[0]);
}

TEST(AlphaBitmap, BlankImagesTakeGdiDrawingThroughTheirDC) {
    AlphaBitmap img;
    ASSERT_EQ(1, img->fnCreate(6, 4));
    EXPECT_EQ(CSize(6, 4), img->fnGetSize());
    HDC dc = img->fnGetDC();
    ASSERT_NE(nullptr, dc);
    HBRUSH brush = CreateSolidBrush(RGB(0, 128, 255));
    RECT r = {2, 0, 6, 4};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    img->fnReleaseDC(dc);
    Canvas canvas(6, 4, kBack);
    EXPECT_EQ(1, img->fnDraw(canvas.dc(), 0, 0, 0, 0));
    EXPECT_EQ(RGB(0, 0, 0), canvas.at(0, 0));
    EXPECT_EQ(RGB(0, 128, 255), canvas.at(3, 2));

    HBITMAP dib = nullptr;
    ASSERT_EQ(1, img->fnCreateDIB(24, &dib));
    DIBSECTION ds = {};
    ASSERT_EQ((int)sizeof ds, GetObjectW(dib, sizeof ds, &ds));
    EXPECT_EQ(24, ds.dsBm.bmBitsPixel);
    EXPECT_EQ(6, ds.dsBm.bmWidth);
    EXPECT_EQ(0x0080FFu, testutil::dibPixel(dib, 3, 2));
    DeleteObject(dib);
}
