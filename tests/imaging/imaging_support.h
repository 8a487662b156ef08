// Helpers of the imaging tests: the test images, owned alpha bitmap objects, packed DIBs in memory.
#pragma once
#include "qAlphaBitmap.h"
#include "qModule.h"
#include "testutil.h"
#include "tests/q32/q32Test.h"
#include <windows.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Resource ids of tests/imaging/resources.rc.
enum : UINT { kResNine = 101, kResFore = 102, kResMask = 103, kResWide = 104, kResMissing = 999 };

// Colours of the nine-cell test image (30 x 30, cells of 10, white marker at each cell's top-left).
const COLORREF kCell[3][3] = {{RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)},
                               {RGB(200, 200, 0), RGB(0, 200, 200), RGB(200, 0, 200)},
                               {RGB(100, 0, 0), RGB(0, 100, 0), RGB(0, 0, 100)}};
const COLORREF kMarker = RGB(255, 255, 255);

inline std::wstring imagingDir() { return std::wstring(gfnGetProgramBitmapPath()) + L"test\\imaging\\"; }
inline std::wstring testDir() { return std::wstring(gfnGetProgramBitmapPath()) + L"test\\"; }
inline HINSTANCE testModule() { return GetModuleHandleW(nullptr); }

// An alpha bitmap object released at the end of the scope.
struct ReleaseAlpha { void operator()(IGDIPlusDrawAlphaBitmap* p) const { p->Release(); } };
struct AlphaBitmap : std::unique_ptr<IGDIPlusDrawAlphaBitmap, ReleaseAlpha> {
    AlphaBitmap() : unique_ptr(gfnNewIGDIPlusDrawAlphaBitmap()) {}
};

// A packed 32-bit DIB (top-down when topDown) in movable global memory; pixel(x, y) gives 0x00RRGGBB.
template <class F>
HGLOBAL makePackedDib(int w, int h, F pixel, bool topDown = true) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + (size_t)w * h * 4);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    *header = {sizeof(BITMAPINFOHEADER), w, topDown ? -h : h, 1, 32, BI_RGB, (DWORD)(w * h * 4)};
    auto* bits = reinterpret_cast<DWORD*>(header + 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bits[(topDown ? y : h - 1 - y) * w + x] = pixel(x, y);
    GlobalUnlock(block);
    return block;
}

// The nine-cell test image as a function of (x, y), in 0x00RRGGBB.
inline DWORD ninePixel(int x, int y) {
    if (x % 10 == 0 && y % 10 == 0) return 0xFFFFFF;
    COLORREF c = kCell[(y / 10) % 3][(x / 10) % 3];
    return (DWORD)GetRValue(c) << 16 | (DWORD)GetGValue(c) << 8 | GetBValue(c);
}

using testutil::committedBytes;

// Every test runs twice. The second time its caches and lazily made objects are in place, so it
// must give back every GDI object and every block of the process heap (global blocks, pixel
// buffers, decoded images) it takes.
inline const bool kRunTwice = (GTEST_FLAG_SET(repeat, 2), true);
struct ImagingTest : testing::Test {
    bool again = false;
    size_t objects = 0, blocks = 0;
    static size_t heapBlocks() { return q32test::heapUse().blocks; }
    void SetUp() override {
        static std::set<std::string> ran;
        const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
        again = !ran.insert(std::string(t->test_suite_name()) + "." + t->name()).second;
        objects = (size_t)testutil::liveGdiObjects(), blocks = heapBlocks();
    }
    void TearDown() override {
        EXPECT_TRUE(!again || (objects == (size_t)testutil::liveGdiObjects() && blocks == heapBlocks()))
            << "GDI objects " << objects << " -> " << testutil::liveGdiObjects() << ", heap blocks " << blocks << " -> " << heapBlocks();
    }
};
struct Merge : ImagingTest {};
struct DrawDIB : ImagingTest {};
struct AlphaBitmapTest : ImagingTest {};

// The picture a nine-cell fill of the whole 30 x 30 image over r makes; outside r, back.
inline auto nineCells(RECT r, COLORREF back) {
    auto cell = [](int v, long lo, long hi) {   // the source coordinate along one axis
        return v < lo || v >= hi ? -1 : v - lo < 10 ? (int)(v - lo) : hi - v <= 10 ? (int)(v - hi + 30) : (int)(v - lo) % 10 + 10;
    };
    return [=](int x, int y) {
        const int sx = cell(x, r.left, r.right), sy = cell(y, r.top, r.bottom);
        const DWORD p = sx < 0 || sy < 0 ? 0 : ninePixel(sx, sy);
        return sx < 0 || sy < 0 ? back : RGB(p >> 16, p >> 8 & 0xFF, p & 0xFF);
    };
}
