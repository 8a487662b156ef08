// Merged buffers and bitmaps from resources, files and handles, checked by their pixels.
#include <gtest/gtest.h>
#include "qMerge.h"
#include "qBitmapLoad.h"
#include "q32Base.h"
#include "imaging_support.h"
#include <cstdlib>

namespace {
// Mask columns of the merge test images: 0, 0, 255, 255, 128, 128, 255, 0; foreground red | blue.
const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);
const COLORREF kYellow = RGB(255, 255, 0), kMagenta = RGB(255, 0, 255), kGrey = RGB(128, 128, 128);
// The colour merged under the foreground: red and blue differ, so a swap of the two shows.
const COLORREF kUnder = RGB(200, 100, 30);

// A pixel buffer freed at the end of the scope.
struct Buf {
    void* p = nullptr;
    ~Buf() { buf32Free(p); }
    COLORREF at(int x, int y) const {
        BYTE px[4] = {};
        return buf32GetMem(p, x, y, 1, 1, px) ? RGB(px[2], px[1], px[0]) : 0xFFFFFFFF;
    }
    CSize size() const {
        int w = 0, h = 0, u = 0;
        return buf32GetWHU(p, &w, &h, &u) ? CSize(w, h) : CSize(-1, -1);
    }
};

struct Bitmap {
    HBITMAP h = nullptr;
    ~Bitmap() { DeleteObject(h); }
    COLORREF at(int x, int y) const {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, h);
        COLORREF c = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteDC(dc);
        return c;
    }
};

void expectNear(COLORREF want, COLORREF got, const char* what) {
    for (int shift : {0, 8, 16}) EXPECT_NEAR((want >> shift) & 0xFF, (got >> shift) & 0xFF, 1) << what;
}

// A packed DIB in global memory of w x h: a 40-byte header, then the bits. Freed here.
void expectPackedDib(void* block, int w, int h) {
    ASSERT_NE(nullptr, block);
    EXPECT_GE(GlobalSize(block), sizeof(BITMAPINFOHEADER) + (size_t)w * h * 3);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    EXPECT_EQ(40u, header->biSize);
    EXPECT_EQ(w, header->biWidth);
    EXPECT_EQ(h, std::abs(header->biHeight));
    GlobalUnlock(block);
    GlobalFree(block);
}

std::wstring dir() { return imagingDir(); }

// The wide background: pieces of 4 x 4 at x = 0 green, 8 grey, 12 yellow (right end yellow).
class Merge : public ::testing::Test {
protected:
    Bitmap wide{gfnLoadBitmap(dir().c_str(), L"wide.png")};
};
}  // namespace

TEST_F(Merge, ForegroundOverAColourUnderTheMaskOrAsIs) {
    Buf b, files, bare, bareFile;
    ASSERT_EQ(1, gfnCreateMergedBuffer(&b.p, testModule(), kResFore, kResMask, kUnder));
    EXPECT_EQ(CSize(8, 4), b.size());
    EXPECT_EQ(kUnder, b.at(0, 1));
    EXPECT_EQ(kRed, b.at(2, 1));
    expectNear(RGB(200 * 127 / 255, 100 * 127 / 255, (255 * 128 + 30 * 127) / 255), b.at(4, 1), "blue at 128 over");
    EXPECT_EQ(kBlue, b.at(6, 3));
    EXPECT_EQ(kUnder, b.at(7, 0));
    ASSERT_EQ(1, gfnCreateMergedBuffer(&files.p, dir().c_str(), L"fore.png", L"mask8.png", kUnder));
    for (int x = 0; x < 8; ++x) EXPECT_EQ(b.at(x, 2), files.at(x, 2)) << x;
    // Without a mask the foreground is merged as is.
    ASSERT_EQ(1, gfnCreateMergedBuffer(&bare.p, testModule(), kResFore, 0, kUnder));
    ASSERT_EQ(1, gfnCreateMergedBuffer(&bareFile.p, dir().c_str(), L"fore.png", nullptr, kUnder));
    EXPECT_EQ(kRed, bare.at(0, 0));
    EXPECT_EQ(kBlue, bare.at(7, 3));
    EXPECT_EQ(kBlue, bareFile.at(7, 0));
}

TEST_F(Merge, BackgroundPiecesAreTiledUnderTheForeground) {
    ASSERT_NE(nullptr, wide.h);
    Buf b, none, res;
    ASSERT_EQ(1, gfnCreateMergedBuffer(&b.p, dir().c_str(), wide.h, L"fore.png", L"mask8.png", 12, 0, 4, 4));
    EXPECT_EQ(kYellow, b.at(0, 0));
    EXPECT_EQ(kRed, b.at(2, 0));
    EXPECT_EQ(kYellow, b.at(7, 3));
    EXPECT_NE(0, GetObjectType(wide.h));   // the caller's bitmap stays
    // No background: zero pixels under the mask.
    ASSERT_EQ(1, gfnCreateMergedBuffer(&none.p, dir().c_str(), (HBITMAP) nullptr, L"fore.png", L"mask8.png", 0, 0, 0,
                                       0));
    EXPECT_EQ(RGB(0, 0, 0), none.at(0, 0));
    EXPECT_EQ(kRed, none.at(2, 0));
    expectNear(RGB(0, 0, 128), none.at(5, 0), "half of blue over black");
    ASSERT_EQ(1, gfnCreateMergedBuffer(&res.p, testModule(), kResWide, kResFore, kResMask, 0, 0, 4, 4));
    EXPECT_EQ(kGreen, res.at(7, 1));
}

TEST_F(Merge, ThreeHandlesAreAllRequired) {
    Bitmap fore{gfnLoadBitmap(dir().c_str(), L"fore.png")}, mask{gfnLoadBitmapDIB(dir().c_str(), L"mask8.png")};
    void* out = (void*)1;
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, wide.h, fore.h, nullptr, 0, 0));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, nullptr, fore.h, mask.h, 0, 0));
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, wide.h, nullptr, mask.h, 0, 0));
    Buf b;   // the background piece is (8, 0) with the foreground's size: grey, then yellow
    ASSERT_EQ(1, gfnCreateMergedBuffer(&b.p, wide.h, fore.h, mask.h, 8, 0));
    EXPECT_EQ(kGrey, b.at(0, 0));
    EXPECT_EQ(kRed, b.at(3, 0));
    EXPECT_EQ(kYellow, b.at(7, 0));
}

TEST_F(Merge, TwoHeadsTakeTheFarEndOfAWideOrTallBackground) {
    Bitmap tall{gfnLoadBitmap(dir().c_str(), L"tall.png")}, two;
    Buf w, t;
    ASSERT_EQ(1, gfnCreateMergedBufferTwoHead(&w.p, dir().c_str(), wide.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    EXPECT_EQ(kGreen, w.at(0, 0));     // left half from the piece at (0, 0)
    EXPECT_EQ(kYellow, w.at(7, 0));    // right half from the right end
    ASSERT_EQ(1, gfnCreateMergedBufferTwoHead(&t.p, dir().c_str(), tall.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    EXPECT_EQ(kGreen, t.at(1, 2));
    EXPECT_EQ(kMagenta, t.at(7, 2));   // from the bottom end
    ASSERT_EQ(1, gfnCreateMergedBitmapTwoHead(&two.h, dir().c_str(), wide.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    EXPECT_EQ(kYellow, two.at(7, 1));
}

TEST_F(Merge, BitmapsAndPackedDibs) {
    void* dib = nullptr;
    ASSERT_EQ(1, gfnCreateMergedBitmap(1, &dib, testModule(), kResFore, kResMask, kUnder));
    expectPackedDib(dib, 8, 4);
    void* ddb = nullptr;
    ASSERT_EQ(1, gfnCreateMergedBitmap(0, &ddb, testModule(), kResFore, kResMask, kUnder));
    Bitmap asDdb{(HBITMAP)ddb};
    EXPECT_EQ(kUnder, asDdb.at(0, 0));
    EXPECT_EQ(kRed, asDdb.at(2, 0));

    // Over a background: its handle, resources by id, files by name.
    Bitmap a, c, d;
    ASSERT_EQ(1, gfnCreateMergedBitmap(&a.h, testModule(), wide.h, kResFore, kResMask, 0, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBitmapByID(&c.h, testModule(), kResWide, kResFore, kResMask, 12, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBitmapByFile(&d.h, dir().c_str(), L"wide.png", L"fore.png", L"mask8.png", 12, 0, 4, 4));
    EXPECT_EQ(kGreen, a.at(0, 0));
    EXPECT_EQ(kYellow, c.at(0, 0));
    EXPECT_EQ(kYellow, d.at(7, 0));
    EXPECT_EQ(kRed, d.at(2, 0));
    void* p = nullptr;
    ASSERT_EQ(1, gfnCreateMergedBitmapDIB(&p, dir().c_str(), wide.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    expectPackedDib(p, 8, 4);
}

TEST_F(Merge, MissingSourcesFailWithANullOutput) {
    void* out = (void*)1;
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, testModule(), kResMissing, kResMask, kGreen));
    EXPECT_EQ(nullptr, out);
    out = (void*)1;
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, testModule(), kResFore, kResMissing, kGreen));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, dir().c_str(), L"fore.png", L"missing.png", kGreen));
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, dir().c_str(), L"..\\corrupt.png", nullptr, kGreen));
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, dir().c_str(), L"missing.png", L"fore.png", L"mask8.png", 0, 0, 0, 0));
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, testModule(), kResMissing, kResFore, kResMask, 0, 0, 0, 0));
    EXPECT_EQ(nullptr, out);
    // A mask smaller than the foreground cannot cover it.
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, dir().c_str(), L"nine30.png", L"mask8.png", kGreen));
    HBITMAP bmp = (HBITMAP)1;
    EXPECT_EQ(0, gfnCreateMergedBitmapByFile(&bmp, dir().c_str(), L"missing.png", L"fore.png", nullptr, 0, 0, 0, 0));
    EXPECT_EQ(nullptr, bmp);
    EXPECT_EQ(0, gfnCreateBufFromBitmapHandleDDB((HINSTANCE) nullptr, kResFore, &out, 0, 0, 0, 0));
    EXPECT_EQ(0, gfnCreateBufFromBitmapHandleDIB(testModule(), 0, &out, 0, 0, 0, 0));
    EXPECT_EQ(0, gfnCreateBufFromBitmapHandleDIB(testModule(), kResNine, &out, 30, 0, 0, 0));   // piece outside
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0, gfnCreateMergedBuffer(nullptr, testModule(), kResFore, kResMask, kGreen));
}

TEST_F(Merge, SingleBufferPiecesReachToTheImageEdge) {
    Buf piece;
    ASSERT_EQ(1, gfnCreateBufFromBitmapHandleDDB(testModule(), kResNine, &piece.p, 10, 20, 0, 0));
    EXPECT_EQ(CSize(20, 10), piece.size());
    EXPECT_EQ(kMarker, piece.at(0, 0));
    EXPECT_EQ(kCell[2][2], piece.at(15, 5));
}
