// Every loader, given each kind of broken skin file, fails cleanly (0 or null, outputs null) and
// quickly, gives back every GDI object and keeps its memory bounded however large the image claims
// to be; a one-pixel image loads as the one pixel it is.
#include "hostile.h"
#include "qAlphaBitmap.h"
#include "qBitmapLoad.h"
#include "qDrawDIB.h"
#include "qMerge.h"
#include "q32Base.h"
#include "testutil.h"
#include <cstring>

using namespace hostile;

namespace {
const wchar_t kFile[] = L"qDVDUser\\TimecodeCtrl\\Digits.png";
const wchar_t kIntact[] = L"intact.png";   // a good 6 x 4 image beside the broken ones

SIZE sizeOf(HBITMAP bitmap) {
    SIZE s = {-1, -1};
    gfnGetBitmapSize(bitmap, &s);
    return s;
}

// A bitmap handed back: the one pixel for a decodable file, null otherwise. Deleted here.
void expectBitmap(Kind kind, HBITMAP bitmap, const char* loader) {
    SCOPED_TRACE(loader);
    if (undecodable(kind)) {
        EXPECT_EQ(nullptr, bitmap);
    } else {
        ASSERT_NE(nullptr, bitmap);
        EXPECT_EQ(1, sizeOf(bitmap).cx);
        EXPECT_EQ(1, sizeOf(bitmap).cy);
    }
    if (bitmap) DeleteObject(bitmap);
}

// A buffer-making call's result and output agree; a broken file gives 0 and null.
template <class Out, class Free>
void expectMade(Kind kind, int result, Out out, Free release, const char* loader) {
    SCOPED_TRACE(loader);
    EXPECT_EQ(result != 0, out != nullptr);
    if (undecodable(kind)) {
        EXPECT_EQ(0, result);
    }
    if (out) release(out);
}

void loadEverything(Kind kind) {
    SCOPED_TRACE(name(kind));
    Skin skin(kind);
    const std::wstring dir = skin.dir(), full = dir + kFile;
    std::vector<DWORD> px(24);
    for (int i = 0; i < 24; ++i) px[i] = 0xFF000000 | (DWORD)(i * 10) << 16 | 0x40 | (DWORD)(200 - i * 5);
    if (kind != Kind::MissingFolder) ASSERT_TRUE(testutil::writeTextFile(dir + kIntact, pngFile(6, 4, px)));
    Watchdog dog(name(kind), 60000);

    expectBitmap(kind, gfnLoadBitmap(nullptr, kFile), "gfnLoadBitmap(dir, file)");
    expectBitmap(kind, gfnLoadBitmap(full.c_str()), "gfnLoadBitmap(path)");
    expectBitmap(kind, gfnLoadBitmapDIB(nullptr, kFile), "gfnLoadBitmapDIB(dir, file)");
    expectBitmap(kind, gfnGDIPlusLoadBitmapDIB(full.c_str()), "gfnGDIPlusLoadBitmapDIB");
    HICON icon = gfnLoadIcon(nullptr, kFile);
    if (undecodable(kind)) {
        EXPECT_EQ(nullptr, icon);
    }
    if (icon) DestroyIcon(icon);

    void* buf = nullptr;
    auto freeBuf = [](void* b) { buf32Free(b); };
    int r = gfnCreateBufFromBitmapHandleDDB(nullptr, kFile, &buf, 0, 0, 0, 0);
    expectMade(kind, r, buf, freeBuf, "gfnCreateBufFromBitmapHandleDDB");
    buf = nullptr;
    r = gfnCreateBufFromBitmapHandleDIB(nullptr, kFile, &buf, 0, 0, 0, 0);
    expectMade(kind, r, buf, freeBuf, "gfnCreateBufFromBitmapHandleDIB");
    buf = nullptr;
    r = gfnCreateMergedBuffer(&buf, nullptr, kFile, nullptr, RGB(10, 20, 30));
    expectMade(kind, r, buf, freeBuf, "gfnCreateMergedBuffer(image)");
    buf = nullptr;
    if (kind != Kind::MissingFolder) {   // a good image with a broken mask
        r = gfnCreateMergedBuffer(&buf, nullptr, kIntact, kFile, RGB(10, 20, 30));
        SCOPED_TRACE("broken mask");
        expectMade(Kind::ZeroBytes, r, buf, freeBuf, "gfnCreateMergedBuffer(mask)");
    }
    HBITMAP merged = nullptr;
    r = gfnCreateMergedBitmapByFile(&merged, nullptr, kFile, kFile, nullptr, 0, 0, 0, 0);
    expectMade(kind, r, merged, [](HBITMAP b) { DeleteObject(b); }, "gfnCreateMergedBitmapByFile");

    CqDrawDIB dib;
    EXPECT_EQ(!undecodable(kind), dib.fnSetDibBufFromDDB(nullptr, kFile) != 0);
    EXPECT_EQ(!undecodable(kind), dib.fnIsBufValid() != 0);
    EXPECT_EQ(!undecodable(kind), dib.fnSetDibBufFromDIB(nullptr, kFile) != 0);

    // The image object: a broken file leaves it empty and drawing it draws nothing.
    testutil::Canvas canvas(12, 8, RGB(255, 255, 255));
    RECT all = {0, 0, 12, 8};
    IGDIPlusDrawAlphaBitmap* image = gfnNewIGDIPlusDrawAlphaBitmap();
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(!undecodable(kind), image->fnLoadFromFile(dir.c_str(), kFile, nullptr, 0, 0, 0, 0) != 0);
    EXPECT_EQ(!undecodable(kind), image->fnIsValid() != 0);
    if (undecodable(kind)) {
        EXPECT_EQ(0, image->fnDraw(canvas.dc(), 0, 0, 0, 0, 0, 0));
        EXPECT_EQ(0, image->fnFillRectWith9Cells(canvas.dc(), &all));
        EXPECT_EQ(0, image->fnFillRect(canvas.dc(), &all, 0, 0, 0, 0, TRUE));
        HBITMAP copy = nullptr;
        EXPECT_EQ(0, image->fnCreateDIB(32, &copy));
        EXPECT_EQ(nullptr, copy);
        for (int x = 0; x < 12; ++x) ASSERT_EQ(RGB(255, 255, 255), canvas.at(x, 4)) << x;
    }
    // A good image with a broken alpha file: every alpha read gives black, so nothing shows.
    if (kind != Kind::MissingFolder && undecodable(kind)) {
        EXPECT_EQ(1, image->fnLoadFromFile(dir.c_str(), kIntact, kFile, 0, 0, 0, 0));
        image->fnDraw(canvas.dc(), 0, 0, 0, 0, 0, 0);
        for (int x = 0; x < 6; ++x) ASSERT_EQ(RGB(255, 255, 255), canvas.at(x, 2)) << x;
    }
    image->fnFree();
    image->Release();
}
}  // namespace

TEST(HostileLoaders, EveryLoaderFailsCleanlyOnEveryBrokenFile) {
    for (Kind kind : allKinds()) loadEverything(kind);
}

TEST(HostileLoaders, RepeatedFailuresLeakNothing) {
    void* gdiplus = nullptr;
    ASSERT_EQ(0, gfnGDIPlusLock(&gdiplus));
    for (Kind kind : allKinds()) loadEverything(kind);   // warm-up: caches, heaps
    const int objects = testutil::liveGdiObjects();
    const SIZE_T committed = committedBytes();
    for (int round = 0; round < 3; ++round)
        for (Kind kind : allKinds()) loadEverything(kind);
    EXPECT_EQ(objects, testutil::liveGdiObjects());
    EXPECT_LT((long long)committedBytes() - (long long)committed, 2ll << 20) << committed << " -> " << committedBytes();
    gfnGDIPlusUnlock(&gdiplus);
}

// 100000 x 100000 pixels would be 40 GB; the claim is refused before any decoder sizes a buffer
// from it, in PNG, BMP and GIF headers alike, and repeating it does not make the process grow.
TEST(HostileLoaders, HugeClaimsStaySmall) {
    void* gdiplus = nullptr;
    ASSERT_EQ(0, gfnGDIPlusLock(&gdiplus));
    for (int i = 0; i < 3; ++i) loadEverything(Kind::HugeClaim);   // warm-up: caches, heaps
    Skin skin(Kind::HugeClaim);
    std::string bmp("BM", 2), gif("GIF89a\xA0\x86\xA0\x86\x00\x00\x00", 13);   // GIF: 34464 x 34464
    bmp.resize(54, '\0');
    const DWORD header[] = {40, 100000, (DWORD)-100000};
    memcpy(&bmp[14], header, sizeof header);
    bmp[26] = 1, bmp[28] = 32;
    bmp += std::string(4000, '\x55');
    ASSERT_TRUE(testutil::writeTextFile(skin.dir() + L"huge.bmp", bmp));
    ASSERT_TRUE(testutil::writeTextFile(skin.dir() + L"huge.gif", gif + std::string(4000, '\0')));
    const SIZE_T peak = peakWorkingSet(), committed = committedBytes();
    ASSERT_NE(0u, peak);
    for (int i = 0; i < 8; ++i) {
        loadEverything(Kind::HugeClaim);
        for (const wchar_t* f : {L"huge.bmp", L"huge.gif"}) {
            EXPECT_EQ(nullptr, gfnLoadBitmap(skin.dir().c_str(), f));
            EXPECT_EQ(nullptr, gfnLoadBitmapDIB(skin.dir().c_str(), f));
        }
    }
    EXPECT_LT((long long)peakWorkingSet() - (long long)peak, 64ll << 20) << peak << " -> " << peakWorkingSet();
    EXPECT_LT((long long)committedBytes() - (long long)committed, 2ll << 20) << committed << " -> " << committedBytes();
    gfnGDIPlusUnlock(&gdiplus);
}
