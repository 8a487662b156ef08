// Repeated merges, DIB fills and alpha loads, on succeeding and failing paths, do not make the
// process grow: every temporary buffer, bitmap and block is given back. (GDI handle counts are not
// available on this platform; bitmaps live in process memory, so a leaked one shows here too.)
#include <gtest/gtest.h>
#include "qDrawDIB.h"
#include "qMerge.h"
#include "qBitmapLoad.h"
#include "imaging_support.h"
#include "testutil.h"

namespace {
void oneRound(int round) {
    const std::wstring d = imagingDir();
    HBITMAP bmp = nullptr;
    void* out = nullptr;
    if (gfnCreateMergedBitmapByFile(&bmp, d.c_str(), L"nine30rgb.png", L"nine30.png", L"nine30rgb.png", 0, 0, 0, 0)) DeleteObject(bmp);
    if (gfnCreateMergedBitmap(1, &out, testModule(), kResNine, kResNine, RGB(1, 2, 3))) GlobalFree(out);
    // Failing late: foreground and background made, then the mask is missing or too small.
    gfnCreateMergedBuffer(&out, d.c_str(), L"nine30rgb.png", L"nine30.png", L"missing.png", 0, 0, 0, 0);
    gfnCreateMergedBuffer(&out, d.c_str(), L"nine30.png", L"mask8.png", RGB(1, 2, 3));

    testutil::Canvas canvas(110, 110);
    RECT r = {0, 0, 100, 100};   // large enough for the cached rendering
    CqDrawDIB dib, copy, fresh;
    dib.fnSetDibBufFromDIB(testModule(), kResNine);
    dib.fnDrawDibFillRectWith9Cells(canvas.dc(), &r);
    copy = dib;
    // New contents every round: the cache entry and its rendering go with the last owner.
    fresh.fnSetDibBuf(makePackedDib(30, 30, [round](int x, int y) { return ninePixel(x, y) ^ round; }));
    fresh.fnDrawDibFillRectWith9Cells(canvas.dc(), &r);
    copy.fnSetDibBufFromDDB(d.c_str(), L"fore.png");
    AlphaBitmap img;
    img->fnLoadFromFile(d.c_str(), L"nine30.png", L"cutalpha.png", 0, 0, 0, 0);
    img->fnFillRectWith9Cells(canvas.dc(), &r);
    img->fnLoadFromFile(d.c_str(), L"missing.png", nullptr, 0, 0, 0, 0);
}
}  // namespace

TEST(Leaks, RepeatedWorkGivesEverythingBack) {
    void* gdiplus = nullptr;
    ASSERT_EQ(0, gfnGDIPlusLock(&gdiplus));   // keeps GDI+ up across the rounds, as a host would
    CqDrawDIB keeper;   // and the DIB cache, which would otherwise go with each round's last object
    for (int i = 0; i < 50; ++i) oneRound(i);   // warm-up: caches, heaps, DrawDib
    const SIZE_T before = committedBytes();
    for (int i = 50; i < 350; ++i) oneRound(i);
    // A leak of any one 30 x 30 image per round would be over a megabyte.
    EXPECT_LT((long long)committedBytes() - (long long)before, 512ll << 10);
    int round = 350;   // and no bitmap or DC is left over
    EXPECT_EQ(0, testutil::gdiLeakOver(20, [&] { oneRound(round++); }));
    gfnGDIPlusUnlock(&gdiplus);
}
