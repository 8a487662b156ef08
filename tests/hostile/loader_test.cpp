// Every loader, given each kind of broken skin file, fails cleanly (0 or null, outputs null) and
// quickly; a one-pixel image loads as the one pixel it is.
#include "hostile.h"
#include "qAlphaBitmap.h"
#include "qBitmapLoad.h"
#include "qDrawDIB.h"
#include "qMerge.h"
#include "q32Base.h"
#include "testutil.h"
#include "tests/q32/q32Test.h"
#include <cstring>

using namespace hostile;

namespace {
const wchar_t kFile[] = L"qDVDUser\\TimecodeCtrl\\Digits.png";
const wchar_t kIntact[] = L"intact.png";   // a good 6 x 4 image beside the broken ones

// Files and streams handed to the image decoder, counted through the library's imports (for the
// rest of the run): a claim too large must be refused before decoding.
int g_decodes = 0;
void *g_fromFile, *g_fromStream;
int WINAPI countFile(const wchar_t* path, void** out) {
    return ++g_decodes, ((int(WINAPI*)(const wchar_t*, void**))g_fromFile)(path, out);
}
int WINAPI countStream(IStream* stream, void** out) {
    return ++g_decodes, ((int(WINAPI*)(IStream*, void**))g_fromStream)(stream, out);
}
bool oversized(Kind k) { return k == Kind::HugePng || k == Kind::HugeBmp || k == Kind::HugeGif || k == Kind::WidePng; }

// A bitmap handed back: the one pixel for a decodable file, null otherwise. Deleted here.
void expectBitmap(Kind kind, HBITMAP bitmap, const char* loader) {
    SIZE s = {-1, -1};
    gfnGetBitmapSize(bitmap, &s);
    EXPECT_TRUE(undecodable(kind) ? !bitmap : s.cx == 1 && s.cy == 1) << loader;
    if (bitmap) DeleteObject(bitmap);
}

// A making call's result and output agree; a broken file gives 0 and null. out is freed here.
template <class Out, class Free>
void expectMade(Kind kind, int result, Out& out, Free release, const char* loader) {
    EXPECT_TRUE((result != 0) == (out != nullptr) && (!undecodable(kind) || !result)) << loader;
    if (out) release(out);
    out = nullptr;
}

void loadEverything(Kind kind) {
    SCOPED_TRACE(name(kind));
    Skin skin(kind);
    const std::wstring dir = skin.dir(), full = dir + kFile;
    ASSERT_TRUE(kind == Kind::MissingFolder ||
                testutil::writeTextFile(dir + kIntact, pngFile(6, 4, std::vector<DWORD>(24, 0xFF2060C0))));
    Watchdog dog(name(kind), 60000);
    const int decodes = g_decodes;

    expectBitmap(kind, gfnLoadBitmap(nullptr, kFile), "gfnLoadBitmap(dir, file)");
    expectBitmap(kind, gfnLoadBitmap(full.c_str()), "gfnLoadBitmap(path)");
    expectBitmap(kind, gfnLoadBitmapDIB(nullptr, kFile), "gfnLoadBitmapDIB(dir, file)");
    expectBitmap(kind, gfnGDIPlusLoadBitmapDIB(full.c_str()), "gfnGDIPlusLoadBitmapDIB");
    HICON icon = gfnLoadIcon(nullptr, kFile);
    EXPECT_TRUE(!undecodable(kind) || !icon);
    if (icon) DestroyIcon(icon);

    void* buf = nullptr;
    auto freeBuf = [](void* b) { buf32Free(b); };
    expectMade(kind, gfnCreateBufFromBitmapHandleDDB(nullptr, kFile, &buf, 0, 0, 0, 0), buf, freeBuf, "BufFromDDB");
    expectMade(kind, gfnCreateBufFromBitmapHandleDIB(nullptr, kFile, &buf, 0, 0, 0, 0), buf, freeBuf, "BufFromDIB");
    expectMade(kind, gfnCreateMergedBuffer(&buf, nullptr, kFile, nullptr, RGB(10, 20, 30)), buf, freeBuf, "merged");
    HBITMAP merged = nullptr;
    expectMade(kind, gfnCreateMergedBitmapByFile(&merged, nullptr, kFile, kFile, nullptr, 0, 0, 0, 0), merged,
               [](HBITMAP b) { DeleteObject(b); }, "gfnCreateMergedBitmapByFile");

    CqDrawDIB dib;
    EXPECT_EQ(!undecodable(kind), dib.fnSetDibBufFromDDB(nullptr, kFile) && dib.fnIsBufValid());
    EXPECT_EQ(!undecodable(kind), dib.fnSetDibBufFromDIB(nullptr, kFile) != 0);

    // The image object: a broken file leaves it empty and drawing it draws nothing.
    testutil::Canvas canvas(12, 8, RGB(255, 255, 255));
    RECT all = {0, 0, 12, 8};
    IGDIPlusDrawAlphaBitmap* image = gfnNewIGDIPlusDrawAlphaBitmap();
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(!undecodable(kind), image->fnLoadFromFile(dir.c_str(), kFile, nullptr, 0, 0, 0, 0) && image->fnIsValid());
    if (undecodable(kind)) {
        HBITMAP copy = nullptr;
        EXPECT_EQ(0, image->fnDraw(canvas.dc(), 0, 0, 0, 0, 0, 0) + image->fnFillRectWith9Cells(canvas.dc(), &all) +
                         image->fnFillRect(canvas.dc(), &all, 0, 0, 0, 0, TRUE) + image->fnCreateDIB(32, &copy));
        EXPECT_EQ(nullptr, copy);
    }
    EXPECT_TRUE(oversized(kind) ? g_decodes == decodes : kind != Kind::OnePixel || g_decodes > decodes) << g_decodes - decodes;
    if (kind != Kind::MissingFolder)   // a good image with a broken mask
        expectMade(Kind::ZeroBytes, gfnCreateMergedBuffer(&buf, nullptr, kIntact, kFile, RGB(10, 20, 30)), buf, freeBuf,
                   "merged with a broken mask");
    if (undecodable(kind)) {   // a good image with a broken alpha file: every alpha read gives black
        EXPECT_TRUE(kind == Kind::MissingFolder || image->fnLoadFromFile(dir.c_str(), kIntact, kFile, 0, 0, 0, 0));
        image->fnDraw(canvas.dc(), 0, 0, 0, 0, 0, 0);
        EXPECT_TRUE(testutil::pixelsAre(canvas, [](int, int) { return RGB(255, 255, 255); }));
    }
    image->fnFree();
    image->Release();
}
}  // namespace

// Every kind, repeated: no GDI object and no heap block kept; a claim of 100000 x 100000 pixels
// (40 GB) does not make the process grow.
TEST(HostileLoaders, EveryLoaderFailsCleanlyOnEveryBrokenFileAndLeaksNothing) {
    void* gdiplus = nullptr;
    ASSERT_EQ(0, gfnGDIPlusLock(&gdiplus));   // GDI+ stays up across the rounds, as in a host
    g_fromFile = testutil::hookImport(L"qTrimUI.dll", "gdiplus.dll", "GdipCreateBitmapFromFile", (void*)countFile);
    g_fromStream = testutil::hookImport(L"qTrimUI.dll", "gdiplus.dll", "GdipCreateBitmapFromStream", (void*)countStream);
    ASSERT_TRUE(g_fromFile && g_fromStream);
    auto round = [] {
        for (Kind kind : allKinds()) loadEverything(kind);
    };
    round();   // and warms up caches and heaps
    const SIZE_T peak = peakWorkingSet(), blocks = q32test::heapUse().blocks;   // buffers, images, file blocks
    EXPECT_EQ(0, testutil::gdiLeakOver(2, round));
    EXPECT_LT((long long)peakWorkingSet() - (long long)peak, 64ll << 20) << peak << " -> " << peakWorkingSet();
    EXPECT_EQ(blocks, q32test::heapUse().blocks);
    gfnGDIPlusUnlock(&gdiplus);
}
