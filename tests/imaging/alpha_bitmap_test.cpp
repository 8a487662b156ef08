// The alpha bitmap object on real files, resources and device contexts, checked by pixels.
#include "imaging_support.h"

using testutil::Canvas;

namespace {
const COLORREF kBack = RGB(255, 255, 255);

int load(AlphaBitmap& img, const wchar_t* file, const wchar_t* alpha = nullptr, int x = 0) {
    return img->fnLoadFromFile(imagingDir().c_str(), file, alpha, x, 0, 0, 0);
}

// c blended with alpha a over back, per channel.
void expectBlend(COLORREF c, int a, COLORREF back, COLORREF got, const char* what) {
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(((c >> shift & 0xFF) * a + (back >> shift & 0xFF) * (255 - a)) / 255.0, got >> shift & 0xFF, 2.0)
            << what << " bits " << shift;
}
}  // namespace

TEST_F(AlphaBitmapTest, DecodesAFileOnceForEveryObject) {
    const testutil::GdiplusCalls& gdiplus = testutil::gdiplusCalls();
    const std::wstring source = imagingDir() + L"nine30.png", copy = imagingDir() + L"copy-of-nine30.png";
    ASSERT_TRUE(!gdiplus.running() && CopyFileW(source.c_str(), copy.c_str(), FALSE));
    {
        AlphaBitmap a, b, c, d;
        ASSERT_EQ(2, a->fnLoadFromPath(copy.c_str(), nullptr, 0, 0, 0, 0) + b->fnLoadFromPath(copy.c_str(), nullptr, 10, 10, 10, 10));
        // A file that fails to decode does not replace the cache.
        EXPECT_EQ(0, d->fnLoadFromPath((testDir() + L"corrupt.png").c_str(), nullptr, 0, 0, 0, 0));
        ASSERT_TRUE(DeleteFileW(copy.c_str()));
        ASSERT_EQ(1, c->fnLoadFromPath(copy.c_str(), nullptr, 0, 0, 0, 0));
        Canvas canvas(40, 40, kBack);
        EXPECT_TRUE(1 == c->fnDraw(canvas.dc(), 0, 0, 0, 0) && kCell[2][2] == canvas.at(25, 25));
        // Another file replaces it: the deleted one is gone for good.
        ASSERT_EQ(1, d->fnLoadFromPath((testDir() + L"rgb24.png").c_str(), nullptr, 0, 0, 0, 0));
        EXPECT_EQ(0, c->fnLoadFromPath(copy.c_str(), nullptr, 0, 0, 0, 0) + c->fnIsValid());
        a.reset(), b.reset(), c.reset();
        EXPECT_TRUE(gdiplus.running());   // each object keeps GDI+ up: d still does
    }
    EXPECT_FALSE(gdiplus.running());
    // The last object takes the cache with it.
    ASSERT_TRUE(CopyFileW(source.c_str(), copy.c_str(), FALSE));
    { AlphaBitmap a; ASSERT_EQ(1, a->fnLoadFromPath(copy.c_str(), nullptr, 0, 0, 0, 0)); }
    ASSERT_TRUE(DeleteFileW(copy.c_str()));
    EXPECT_EQ(0, AlphaBitmap()->fnLoadFromPath(copy.c_str(), nullptr, 0, 0, 0, 0));
}

TEST_F(AlphaBitmapTest, ArgbImagesBlendOverWhatIsThereOthersAreCopiedExactly) {
    AlphaBitmap img;
    ASSERT_EQ(1, img->fnLoadFromFile(testDir().c_str(), L"argb32.png", nullptr, 0, 0, 0, 0));
    Canvas canvas(20, 10, kBack);   // black and white columns underneath
    for (int x = 0; x < 20; x += 2) PatBlt(canvas.dc(), x, 0, 1, 10, BLACKNESS);
    EXPECT_EQ(1, img->fnDraw(canvas.dc(), 2, 3, 0, 0));
    const int alpha[8] = {255, 255, 128, 128, 64, 0, 255, 255};
    for (int x = 0; x < 8; ++x) {
        expectBlend(RGB(255, 0, 0), alpha[x], x % 2 ? kBack : 0, canvas.at(x + 2, 3), "top row");
        expectBlend(RGB(0, 0, 255), alpha[x], x % 2 ? kBack : 0, canvas.at(x + 2, 6), "bottom row");
    }
    EXPECT_EQ(kBack, canvas.at(11, 3));   // outside the image
    // Without alpha: copied exactly.
    for (const wchar_t* file : {L"rgb24.png", L"rgb24.bmp"}) {
        AlphaBitmap img;
        ASSERT_EQ(1, img->fnLoadFromFile(testDir().c_str(), file, L"", 0, 0, 0, 0));
        Canvas canvas(10, 10, RGB(1, 2, 3));
        EXPECT_TRUE(1 == img->fnDraw(canvas.dc(), 3, 2, 0, 0) && RGB(10, 20, 30) == canvas.at(3, 2) &&
                    RGB(0, 255, 0) == canvas.at(4, 3) && RGB(0, 0, 255) == canvas.at(8, 4) && RGB(1, 2, 3) == canvas.at(9, 2));
        // A piece starting left of the image is the blit's: its columns from 0 on land one to the right.
        Canvas edge(4, 1, RGB(1, 2, 3));
        EXPECT_TRUE(1 == img->fnDraw(edge.dc(), 0, 0, -1, 0, 3, 1) && RGB(10, 20, 30) == edge.at(1, 0));
    }
    // With an alpha image: alpha = its red AND the source's alpha (255 on top, 200 below); pixels the
    // smaller alpha image does not have repeat the last one read. A missing or corrupt alpha
    // file makes the whole cut transparent.
    const struct { const wchar_t* alpha; int expected[2][4]; } cases[] = {
                 {L"cutalpha.png", {{0, 255, 128, 255}, {200, 64, 0, 200}}},
                 {L"cutalphasmall.png", {{255, 100, 100, 100}, {100 & 200, 100 & 200, 100 & 200, 100 & 200}}},
                 {L"no-such-alpha.png", {}},
                 {L"..\\corrupt.png", {}}};
    for (const auto& c : cases) {
        AlphaBitmap img;
        ASSERT_EQ(1, load(img, L"cutsrc.png", c.alpha));
        Canvas canvas(4, 2, kBack);
        EXPECT_EQ(1, img->fnDraw(canvas.dc(), 0, 0, 0, 0));
        HBITMAP bmp = nullptr;
        ASSERT_EQ(1, img->fnGetHBITMAP(&bmp));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)   // and the transparent ones leave what was there
                EXPECT_TRUE(c.expected[y][x] == (int)(testutil::dibPixel(bmp, x, y) >> 24) &&
                            (c.expected[y][x] || kBack == canvas.at(x, y))) << x << "," << y;
        if (c.expected[0][1] == 255) { EXPECT_EQ(RGB(10, 20, 30), canvas.at(1, 0)); }   // the source's own alpha
        DeleteObject(bmp);
    }
}

// Nine cells on both drawing paths. The special shapes use the 30 x 30 image as a piece of 29 x 29
// (cells of 9): each differs from the general rule in the pixels the edge tiles would restart at.
TEST_F(AlphaBitmapTest, NineCellShapesOnBothPaths) {
    struct Probe { int x, y; COLORREF c; };
    const struct { const char* what; RECT r; int piece; std::vector<Probe> probes; } cases[] = {   // piece 0: whole
        {"equal size", {5, 5, 34, 34}, 29, {{23, 23, kCell[1][1]}, {25, 25, kMarker}, {4, 4, kBack}, {34, 34, kBack}}},
        {"equal width", {5, 5, 34, 55}, 29,   // bands: top whole rows, middle tiled from row 9, bottom from row 18
         {{23, 7, kCell[0][1]}, {23, 20, kCell[1][1]}, {10, 14, kCell[0][0]}, {23, 53, kCell[2][1]}, {34, 20, kBack}}},
        {"equal height", {5, 5, 55, 34}, 29,
         {{7, 23, kCell[1][0]}, {20, 23, kCell[1][1]}, {53, 23, kCell[1][2]}, {20, 34, kBack}}},
    };
    for (const wchar_t* file : {L"nine30.png", L"nine30rgb.png"}) {
        AlphaBitmap img;
        ASSERT_EQ(1, load(img, file));
        for (const auto& c : cases) {
            Canvas canvas(100, 60, kBack);
            EXPECT_EQ(1, c.piece ? img->fnFillRectWith9Cells(canvas.dc(), &c.r, 0, 0, c.piece, c.piece)
                                 : img->fnFillRectWith9Cells(canvas.dc(), &c.r));
            for (const Probe& p : c.probes) EXPECT_EQ(p.c, canvas.at(p.x, p.y)) << c.what << " " << p.x << "," << p.y;
        }
        // The general rule, whole picture: corners, edges and centre each from their own cell.
        Canvas canvas(100, 60, kBack);
        RECT r = {3, 2, 97, 55};
        EXPECT_EQ(1, img->fnFillRectWith9Cells(canvas.dc(), &r));
        EXPECT_TRUE(testutil::pixelsAre(canvas, nineCells(r, kBack)));
        // Pieces at one size, each differing from the one before in one coordinate, after that one
        // was kept: each as a fresh image draws it.
        for (RECT p : {RECT{0, 0, 15, 15}, {12, 0, 15, 15}, {12, 3, 15, 15}, {12, 3, 18, 15}, {12, 3, 18, 12}}) {
            AlphaBitmap fresh;
            Canvas again(100, 60, kBack), want(100, 60, kBack);
            EXPECT_EQ(3, img->fnFillRectWith9Cells(again.dc(), &r, p.left, p.top, p.right, p.bottom) +
                             load(fresh, file) + fresh->fnFillRectWith9Cells(want.dc(), &r, p.left, p.top, p.right, p.bottom));
            EXPECT_TRUE(testutil::pixelsAre(again, [&](int x, int y) { return want.at(x, y); })) << p.left << "," << p.top;
        }
        HDC lent = img->fnGetDC();   // what is drawn through it shows in the next fill
        PatBlt(lent, 10, 10, 10, 10, BLACKNESS), img->fnReleaseDC(lent), img->fnFillRectWith9Cells(canvas.dc(), &r);
        EXPECT_EQ(0u, canvas.at(50, 30));
    }
    // No higher than a cell: the top corners are left out (bottom cells of this image transparent).
    AlphaBitmap img;
    Canvas canvas(80, 60, kBack);
    RECT r = {10, 40, 70, 48};
    EXPECT_EQ(2, load(img, L"nine30holes.png") + img->fnFillRectWith9Cells(canvas.dc(), &r));
    EXPECT_TRUE(kBack == canvas.at(12, 44) && kBack == canvas.at(67, 44) && kCell[0][1] == canvas.at(30, 44));   // top edge kept
    // Tiled fills skip whole tile rows above 0.
    for (BOOL useBack : {TRUE, FALSE}) {
        Canvas canvas(30, 80, kBack);
        SetViewportOrgEx(canvas.dc(), 0, 50, nullptr);   // logical -50 is the canvas's top row
        RECT r = {0, -45, 30, 20};
        EXPECT_EQ(2, load(img, L"nine30.png") + img->fnFillRect(canvas.dc(), &r, 0, 0, 10, 10, useBack));
        // Rows at -45, -35, -25 and -15 lie wholly above 0: skipped. The row at -5 is drawn.
        EXPECT_TRUE(kBack == canvas.at(5, 40) && kMarker == canvas.at(0, 45) && kCell[0][0] == canvas.at(5, 50) &&
                    kMarker == canvas.at(20, 55)) << useBack;
    }
}

TEST_F(AlphaBitmapTest, ImagesFromResourcesBitmapsDibsAndBlankAndBadInput) {
    AlphaBitmap img;
    // A piece of 50 x 0 from (20, 10) is cut to the rest of the image: 10 x 20.
    ASSERT_EQ(1, img->fnLoadFromResource(testModule(), kResNine, 0, 20, 10, 50, 0));
    EXPECT_EQ(CSize(10, 20), img->fnGetSize());
    Canvas canvas(20, 30, kBack);
    EXPECT_TRUE(1 == img->fnDraw(canvas.dc(), 0, 0, 0, 0) && kMarker == canvas.at(0, 0) && kCell[1][2] == canvas.at(5, 5) &&
                kCell[2][2] == canvas.at(5, 15) && kBack == canvas.at(10, 5));
    // Red | blue foreground, alpha from a grey image: 0, 0, 255, 255, 128, 128, 255, 0.
    ASSERT_EQ(1, img->fnLoadFromResource(testModule(), kResFore, kResMask, 0, 0, 0, 0));
    Canvas over(8, 4, kBack);
    EXPECT_TRUE(1 == img->fnDraw(over.dc(), 0, 0, 0, 0) && kBack == over.at(0, 1) && RGB(255, 0, 0) == over.at(2, 1));
    expectBlend(RGB(0, 0, 255), 128, kBack, over.at(4, 1), "half mask");
    // A device-dependent bitmap has no alpha: copied by BitBlt, the caller's handle untouched.
    HBITMAP ddb = (HBITMAP)LoadImageW(testModule(), MAKEINTRESOURCEW(kResFore), IMAGE_BITMAP, 0, 0, 0);
    ASSERT_EQ(1, img->fnCreateFromHBITMAP(ddb, nullptr));
    EXPECT_TRUE(img->fnDraw(over.dc(), 0, 0, 0, 0) && RGB(255, 0, 0) == over.at(0, 1) && RGB(0, 0, 255) == over.at(7, 3));
    EXPECT_TRUE(DeleteObject(ddb));
    // A DIB in memory: the object keeps its own copy of the bits.
    HGLOBAL block = makePackedDib(4, 2, [](int, int) { return 0x00336699u; });
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(block));
    ASSERT_EQ(1, img->fnCreateFromGdiDib(info, info->bmiColors));   // the bits follow the header
    memset(info->bmiColors, 0, 4 * 2 * 4);
    GlobalUnlock(block), GlobalFree(block);
    EXPECT_TRUE(1 == img->fnDraw(canvas.dc(), 11, 21, 0, 0) && RGB(0x33, 0x66, 0x99) == canvas.at(14, 22) &&
                kBack == canvas.at(15, 22));
    // A blank image takes GDI drawing through its DC.
    ASSERT_EQ(1, img->fnCreate(6, 4));
    HDC dc = img->fnGetDC();
    RECT r = {2, 0, 6, 4};
    SetDCBrushColor(dc, RGB(0, 128, 255));
    FillRect(dc, &r, (HBRUSH)GetStockObject(DC_BRUSH));
    img->fnReleaseDC(dc);
    HBITMAP out = nullptr;
    DIBSECTION ds = {};
    ASSERT_TRUE(img->fnCreateDIB(24, &out) && GetObjectW(out, sizeof ds, &ds) == (int)sizeof ds);
    EXPECT_EQ(24, ds.dsBm.bmBitsPixel);   // blank is black
    EXPECT_TRUE(0u == testutil::dibPixel(out, 0, 0) && 0x0080FFu == testutil::dibPixel(out, 3, 2));
    DeleteObject(out);
    // Bad input (broken files, and what an empty object draws: the hostile tests). No directory or
    // an empty path: refused before anything is released.
    ASSERT_EQ(1, load(img, L"nine30.png"));
    EXPECT_TRUE(0 == img->fnLoadFromFile(nullptr, L"nine30.png", nullptr, 0, 0, 0, 0) +
                         img->fnLoadFromFile(L"", L"", nullptr, 0, 0, 0, 0) && img->fnIsValid());
    EXPECT_EQ(0, load(img, L"nine30.png", nullptr, 30) + img->fnIsValid());   // a piece starting outside is no image
    ASSERT_EQ(1, load(img, L"nine30.png"));
    EXPECT_EQ(0, img->fnLoadFromResource(testModule(), kResMissing, 0, 0, 0, 0, 0) + img->fnIsValid());
    out = nullptr;
    EXPECT_EQ(0, img->fnCreate(0, 5) + img->fnCreateFromHBITMAP(nullptr, nullptr) +
                     img->fnCreateFromGdiDib(nullptr, nullptr) + img->fnGetHBITMAP(&out) + (out != nullptr));
    EXPECT_FALSE(img->fnGetDC());
}
