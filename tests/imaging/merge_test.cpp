// Merged buffers and bitmaps from resources, files and handles, checked by their pixels.
#include "qMerge.h"
#include "qBitmapLoad.h"
#include "q32Base.h"
#include "imaging_support.h"
#include "drawing/gdiutil.h"
#include <cstdlib>

namespace {
// Mask columns of the merge test images: 0, 0, 255, 255, 128, 128, 255, 0; foreground red | blue.
const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);
const COLORREF kYellow = RGB(255, 255, 0), kMagenta = RGB(255, 0, 255), kGrey = RGB(128, 128, 128);
// The colour merged under the foreground: red and blue differ, so a swap of the two shows.
const COLORREF kUnder = RGB(200, 100, 30);

// A pixel buffer or a bitmap freed at the end of the scope.
struct Buf {
    void* p = nullptr;
    ~Buf() { buf32Free(p); }
    COLORREF at(int x, int y) const {
        BYTE px[4] = {};
        return buf32GetMem(p, x, y, 1, 1, px) ? RGB(px[2], px[1], px[0]) : 0xFFFFFFFF;
    }
};
struct Bitmap {
    HBITMAP h = nullptr;
    ~Bitmap() { DeleteObject(h); }
    COLORREF at(int x, int y) const {
        qdraw::MemDC dc;
        qdraw::SelectGuard select(dc, h);
        return GetPixel(dc, x, y);
    }
};

// A packed DIB in global memory of 8 x 4: a 40-byte header, then the bits. Freed here.
void expectPackedDib(void* block) {
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    EXPECT_TRUE(header && header->biSize == 40 && header->biWidth == 8 && std::abs(header->biHeight) == 4 &&
                GlobalSize(block) >= 40u + 8 * 4 * 3);
    GlobalUnlock(block), GlobalFree(block);
}
std::wstring dir() { return imagingDir(); }
}  // namespace

TEST_F(Merge, ForegroundOverAColourOrABackgroundFromHandlesResourcesAndFiles) {
    Buf b, files, bare, bareFile;
    ASSERT_EQ(1, gfnCreateMergedBuffer(&b.p, testModule(), kResFore, kResMask, kUnder));
    ASSERT_EQ(1, gfnCreateMergedBuffer(&files.p, dir().c_str(), L"fore.png", L"mask8.png", kUnder));
    const COLORREF half = RGB(200 * 127 / 255, 100 * 127 / 255, (255 * 128 + 30 * 127) / 255);   // blue at 128 over
    const COLORREF row[8] = {kUnder, kUnder, kRed, kRed, half, half, kBlue, kUnder};
    for (int x = 0; x < 8; ++x)
        for (const Buf* m : {&b, &files})
            for (int shift : {0, 8, 16}) EXPECT_NEAR(row[x] >> shift & 0xFF, m->at(x, 1) >> shift & 0xFF, 1) << x;
    // Without a mask the foreground is merged as is.
    ASSERT_EQ(1, gfnCreateMergedBuffer(&bare.p, testModule(), kResFore, 0, kUnder));
    ASSERT_EQ(1, gfnCreateMergedBuffer(&bareFile.p, dir().c_str(), L"fore.png", nullptr, kUnder));
    EXPECT_TRUE(bare.at(0, 0) == kRed && bare.at(7, 3) == kBlue && bareFile.at(7, 0) == kBlue);

    // The wide background has pieces of 4 x 4 at x = 0 green, 8 grey, 12 yellow (right end yellow),
    // the tall one ends in magenta. Pieces are tiled under the foreground; two heads take the far end.
    Bitmap wide{gfnLoadBitmap(dir().c_str(), L"wide.png")}, tall{gfnLoadBitmap(dir().c_str(), L"tall.png")};
    Bitmap fore{gfnLoadBitmap(dir().c_str(), L"fore.png")}, mask{gfnLoadBitmapDIB(dir().c_str(), L"mask8.png")};
    ASSERT_TRUE(wide.h && tall.h && fore.h && mask.h);
    Buf tiled, none, res, handles, twoWide, twoTall;
    const std::wstring keep = dir();
    const wchar_t* d = keep.c_str();
    ASSERT_EQ(1, gfnCreateMergedBuffer(&tiled.p, d, wide.h, L"fore.png", L"mask8.png", 12, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBuffer(&none.p, d, (HBITMAP) nullptr, L"fore.png", L"mask8.png", 0, 0, 0, 0));
    ASSERT_EQ(1, gfnCreateMergedBuffer(&res.p, testModule(), kResWide, kResFore, kResMask, 0, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBuffer(&handles.p, wide.h, fore.h, mask.h, 8, 0));   // the piece is the foreground's size
    ASSERT_EQ(1, gfnCreateMergedBufferTwoHead(&twoWide.p, d, wide.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBufferTwoHead(&twoTall.p, d, tall.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    const struct { const Buf& b; int x, y; COLORREF want; } probes[] = {
        {tiled, 0, 0, kYellow}, {tiled, 2, 0, kRed},  {tiled, 7, 3, kYellow},  {none, 0, 0, 0},
        {none, 2, 0, kRed},     {none, 5, 0, RGB(0, 0, 128)}, {res, 7, 1, kGreen}, {handles, 0, 0, kGrey},
        {handles, 3, 0, kRed},  {handles, 7, 0, kYellow}, {twoWide, 0, 0, kGreen}, {twoWide, 7, 0, kYellow},
        {twoTall, 1, 2, kGreen}, {twoTall, 7, 2, kMagenta}};
    for (const auto& p : probes)
        for (int shift : {0, 8, 16}) EXPECT_NEAR(p.want >> shift & 0xFF, p.b.at(p.x, p.y) >> shift & 0xFF, 1) << p.x << "," << p.y;
    EXPECT_NE(0, GetObjectType(wide.h));   // the caller's bitmap stays
    void* out = (void*)1;
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, wide.h, fore.h, nullptr, 0, 0) + gfnCreateMergedBuffer(&out, nullptr, fore.h, mask.h, 0, 0) +
                     gfnCreateMergedBuffer(&out, wide.h, nullptr, mask.h, 0, 0));
    EXPECT_EQ(nullptr, out);
    // As bitmaps and packed DIBs.
    void *dib = nullptr, *ddb = nullptr, *p = nullptr;
    ASSERT_EQ(1, gfnCreateMergedBitmap(1, &dib, testModule(), kResFore, kResMask, kUnder));
    expectPackedDib(dib);
    ASSERT_EQ(1, gfnCreateMergedBitmapDIB(&p, d, wide.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    expectPackedDib(p);
    ASSERT_EQ(1, gfnCreateMergedBitmap(0, &ddb, testModule(), kResFore, kResMask, kUnder));
    Bitmap asDdb{(HBITMAP)ddb}, a, c, f, two;
    ASSERT_EQ(1, gfnCreateMergedBitmap(&a.h, testModule(), wide.h, kResFore, kResMask, 0, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBitmapByID(&c.h, testModule(), kResWide, kResFore, kResMask, 12, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBitmapByFile(&f.h, d, L"wide.png", L"fore.png", L"mask8.png", 12, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBitmapTwoHead(&two.h, d, wide.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    EXPECT_TRUE(asDdb.at(0, 0) == kUnder && asDdb.at(2, 0) == kRed && a.at(0, 0) == kGreen && c.at(0, 0) == kYellow);
    EXPECT_TRUE(f.at(7, 0) == kYellow && f.at(2, 0) == kRed && two.at(7, 1) == kYellow);
}

// Broken files: the hostile tests.
TEST_F(Merge, MissingSourcesFailWithANullOutputAndPiecesReachTheImageEdge) {
    const std::wstring d = dir();
    void* out = (void*)1;
    int results = gfnCreateMergedBuffer(&out, testModule(), kResMissing, kResMask, kGreen) + (out != nullptr);
    out = (void*)1;
    results += gfnCreateMergedBuffer(&out, testModule(), kResFore, kResMissing, kGreen) + (out != nullptr);
    results += gfnCreateMergedBuffer(&out, d.c_str(), L"missing.png", L"fore.png", L"mask8.png", 0, 0, 0, 0) +
               gfnCreateMergedBuffer(&out, testModule(), kResMissing, kResFore, kResMask, 0, 0, 0, 0) +
               gfnCreateMergedBuffer(&out, d.c_str(), L"nine30.png", L"mask8.png", kGreen);   // mask too small
    results += gfnCreateBufFromBitmapHandleDDB((HINSTANCE) nullptr, kResFore, &out, 0, 0, 0, 0) +
               gfnCreateBufFromBitmapHandleDIB(testModule(), 0, &out, 0, 0, 0, 0) +
               gfnCreateBufFromBitmapHandleDIB(testModule(), kResNine, &out, 30, 0, 0, 0) +   // piece outside
               gfnCreateMergedBuffer(nullptr, testModule(), kResFore, kResMask, kGreen) + (out != nullptr);
    EXPECT_EQ(0, results);
    Buf piece;
    ASSERT_EQ(1, gfnCreateBufFromBitmapHandleDDB(testModule(), kResNine, &piece.p, 10, 20, 0, 0));
    int w = 0, h = 0, u = 0;
    EXPECT_TRUE(buf32GetWHU(piece.p, &w, &h, &u) && w == 20 && h == 10 && piece.at(0, 0) == kMarker &&
                piece.at(15, 5) == kCell[2][2]);
}
