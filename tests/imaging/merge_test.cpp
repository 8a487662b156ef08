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

// A pixel buffer freed at the end of the scope.
struct Buf {
    void* p = nullptr;
    ~Buf() { buf32Free(p); }
    COLORREF at(int x, int y) const {
        int w = 0, h = 0, u = 0;
        BYTE px[4] = {};
        if (!buf32GetWHU(p, &w, &h, &u) || !buf32GetMem(p, x, y, 1, 1, px)) return 0xFFFFFFFF;
        return RGB(px[2], px[1], px[0]);
    }
    SIZE size() const {
        int w = 0, h = 0, u = 0;
        buf32GetWHU(p, &w, &h, &u);
        return SIZE{w, h};
    }
};

struct Bitmap {
    HBITMAP h = nullptr;
    ~Bitmap() {
        if (h) DeleteObject(h);
    }
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
    EXPECT_LE(std::abs(GetRValue(want) - GetRValue(got)), 1) << what;
    EXPECT_LE(std::abs(GetGValue(want) - GetGValue(got)), 1) << what;
    EXPECT_LE(std::abs(GetBValue(want) - GetBValue(got)), 1) << what;
}

std::wstring dir() { return imagingDir(); }
}  // namespace

TEST(Merge, ForegroundOverAColourUnderTheMask) {
    Buf b;
    ASSERT_EQ(1, gfnCreateMergedBuffer(&b.p, testModule(), kResFore, kResMask, kGreen));
    EXPECT_EQ(8, b.size().cx);
    EXPECT_EQ(4, b.size().cy);
    EXPECT_EQ(kGreen, b.at(0, 1));
    EXPECT_EQ(kRed, b.at(2, 1));
    expectNear(RGB(0, 127, 128), b.at(4, 1), "half and half");
    EXPECT_EQ(kBlue, b.at(6, 3));
    EXPECT_EQ(kGreen, b.at(7, 0));

    Buf files;
    ASSERT_EQ(1, gfnCreateMergedBuffer(&files.p, dir().c_str(), L"fore.png", L"mask8.png", kGreen));
    for (int x = 0; x < 8; ++x) EXPECT_EQ(b.at(x, 2), files.at(x, 2)) << x;
}

TEST(Merge, WithoutAMaskTheForegroundIsMergedAsIs) {
    Buf b;
    ASSERT_EQ(1, gfnCreateMergedBuffer(&b.p, testModule(), kResFore, 0, kGreen));
    EXPECT_EQ(kRed, b.at(0, 0));
    EXPECT_EQ(kBlue, b.at(7, 3));
    Buf f;
    ASSERT_EQ(1, gfnCreateMergedBuffer(&f.p, dir().c_str(), L"fore.png", nullptr, kGreen));
    EXPECT_EQ(kRed, f.at(1, 1));
}

TEST(Merge, BackgroundPiecesAreTiledUnderTheForeground) {
    Bitmap wide{gfnLoadBitmap(dir().c_str(), L"wide.png")};
    ASSERT_NE(nullptr, wide.h);
    Buf b;
    ASSERT_EQ(1, gfnCreateMergedBuffer(&b.p, dir().c_str(), wide.h, L"fore.png", L"mask8.png", 12, 0, 4, 4));
    EXPECT_EQ(kYellow, b.at(0, 0));
    EXPECT_EQ(kRed, b.at(2, 0));
    EXPECT_EQ(kYellow, b.at(7, 3));
    EXPECT_NE(0, GetObjectType(wide.h));   // the caller's bitmap stays

    // No background: zero pixels under the mask.
    Buf none;
    ASSERT_EQ(1, gfnCreateMergedBuffer(&none.p, dir().c_str(), (HBITMAP) nullptr, L"fore.png", L"mask8.png", 0, 0, 0, 0));
    EXPECT_EQ(RGB(0, 0, 0), none.at(0, 0));
    EXPECT_EQ(kRed, none.at(2, 0));
    expectNear(RGB(0, 0, 128), none.at(5, 0), "half of blue over black");

    Buf res;
    ASSERT_EQ(1, gfnCreateMergedBuffer(&res.p, testModule(), kResWide, kResFore, kResMask, 0, 0, 4, 4));
    EXPECT_EQ(kGreen, res.at(7, 1));
}

TEST(Merge, ThreeHandlesAreAllRequired) {
    Bitmap wide{gfnLoadBitmap(dir().c_str(), L"wide.png")};
    Bitmap fore{gfnLoadBitmap(dir().c_str(), L"fore.png")};
    Bitmap mask{gfnLoadBitmapDIB(dir().c_str(), L"mask8.png")};
    void* out = (void*)1;
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, wide.h, fore.h, nullptr, 0, 0));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, nullptr, fore.h, mask.h, 0, 0));
    EXPECT_EQ(0, gfnCreateMergedBuffer(&out, wide.h, nullptr, mask.h, 0, 0));
    Buf b;
    // The background piece is (8, 0) with the foreground's size: grey, then yellow.
    ASSERT_EQ(1, gfnCreateMergedBuffer(&b.p, wide.h, fore.h, mask.h, 8, 0));
    EXPECT_EQ(kGrey, b.at(0, 0));
    EXPECT_EQ(kRed, b.at(3, 0));
    EXPECT_EQ(kYellow, b.at(7, 0));
}

TEST(Merge, TwoHeadsTakeTheFarEndOfAWideOrTallBackground) {
    Bitmap wide{gfnLoadBitmap(dir().c_str(), L"wide.png")};
    Bitmap tall{gfnLoadBitmap(dir().c_str(), L"tall.png")};
    Buf w, t;
    ASSERT_EQ(1, gfnCreateMergedBufferTwoHead(&w.p, dir().c_str(), wide.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    EXPECT_EQ(kGreen, w.at(0, 0));     // left half from the piece at (0, 0)
    EXPECT_EQ(kYellow, w.at(7, 0));    // right half from the right end
    ASSERT_EQ(1, gfnCreateMergedBufferTwoHead(&t.p, dir().c_str(), tall.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    EXPECT_EQ(kGreen, t.at(1, 2));
    EXPECT_EQ(kMagenta, t.at(7, 2));   // from the bottom end

    Bitmap two;
    ASSERT_EQ(1, gfnCreateMergedBitmapTwoHead(&two.h, dir().c_str(), wide.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    EXPECT_EQ(kYellow, two.at(7, 1));
}

TEST(Merge, BitmapsAndPackedDibs) {
    void* dib = nullptr;
    ASSERT_EQ(1, gfnCreateMergedBitmap(1, &dib, testModule(), kResFore, kResMask, kGreen));
    ASSERT_NE(nullptr, dib);
    ASSERT_GE(GlobalSize(dib), sizeof(BITMAPINFOHEADER) + 8 * 4 * 3);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ(40u, header->biSize);
    EXPECT_EQ(8, header->biWidth);
    EXPECT_EQ(4, std::abs(header->biHeight));
    GlobalUnlock(dib);
    GlobalFree(dib);

    void* ddb = nullptr;
    ASSERT_EQ(1, gfnCreateMergedBitmap(0, &ddb, testModule(), kResFore, kResMask, kGreen));
    Bitmap asDdb{(HBITMAP)ddb};
    EXPECT_EQ(OBJ_BITMAP, (int)GetObjectType(asDdb.h));
    EXPECT_EQ(kGreen, asDdb.at(0, 0));
    EXPECT_EQ(kRed, asDdb.at(2, 0));

    Bitmap wide{gfnLoadBitmap(dir().c_str(), L"wide.png")};
    Bitmap a, b, c, d;
    ASSERT_EQ(1, gfnCreateMergedBitmap(&a.h, testModule(), wide.h, kResFore, kResMask, 0, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBitmap(&b.h, dir().c_str(), wide.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBitmapByID(&c.h, testModule(), kResWide, kResFore, kResMask, 12, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBitmapByFile(&d.h, dir().c_str(), L"wide.png", L"fore.png", L"mask8.png", 12, 0, 4, 4));
    EXPECT_EQ(kGreen, a.at(0, 0));
    EXPECT_EQ(kGreen, b.at(0, 0));
    EXPECT_EQ(kYellow, c.at(0, 0));
    EXPECT_EQ(kYellow, d.at(7, 0));
    EXPECT_EQ(kRed, d.at(2, 0));

    void* p1 = nullptr;
    void* p2 = nullptr;
    ASSERT_EQ(1, gfnCreateMergedBitmapDIB(&p1, testModule(), wide.h, kResFore, kResMask, 0, 0, 4, 4));
    ASSERT_EQ(1, gfnCreateMergedBitmapDIB(&p2, dir().c_str(), wide.h, L"fore.png", L"mask8.png", 0, 0, 4, 4));
    for (void* p : {p1, p2}) {
        auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(p));
        EXPECT_EQ(8, h->biWidth);
        GlobalUnlock(p);
    }
    GlobalFree(p1);
    GlobalFree(p2);
}

TEST(Merge, MissingSourcesFailWithANullOutput) {
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
    EXPECT_EQ(0, gfnCreateMergedBuffer(nullptr, testModule(), kResFore, kResMask, kGreen));
}

TEST(Merge, SingleBuffersFromResourcesAndFiles) {
    Buf whole, piece, file;
    ASSERT_EQ(1, gfnCreateBufFromBitmapHandleDIB(testModule(), kResNine, &whole.p, 0, 0, 0, 0));
    EXPECT_EQ(30, whole.size().cx);
    EXPECT_EQ(kCell[2][0], whole.at(5, 25));   // rows upright
    ASSERT_EQ(1, gfnCreateBufFromBitmapHandleDDB(testModule(), kResNine, &piece.p, 10, 20, 0, 0));
    EXPECT_EQ(20, piece.size().cx);
    EXPECT_EQ(10, piece.size().cy);
    EXPECT_EQ(kMarker, piece.at(0, 0));
    EXPECT_EQ(kCell[2][2], piece.at(15, 5));
    ASSERT_EQ(1, gfnCreateBufFromBitmapHandleDDB(dir().c_str(), L"nine30rgb.png", &file.p, 0, 0, 0, 0));
    EXPECT_EQ(kCell[1][1], file.at(15, 15));
    void* out = nullptr;
    EXPECT_EQ(0, gfnCreateBufFromBitmapHandleDIB(testModule(), kResNine, &out, 30, 0, 0, 0));
    EXPECT_EQ(nullptr, out);
}
