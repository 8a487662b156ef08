// Drawing functions: window regions from large bitmaps, and large nine-cell fills.
#include "bench.h"
#include "qDraw.h"
#include <vector>

namespace {
// A 32-bit top-down DIB section of w x h with pixels from f(x, y), not selected anywhere.
template <class F>
HBITMAP makeDib(int w, int h, F&& f) {
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    DWORD* p = (DWORD*)bits;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p[(size_t)y * w + x] = f(x, y);
    return dib;
}

// The straightforward way: read the pixels, make one region per run and OR each into the result.
HRGN regionOneRunAtATime(HBITMAP bitmap, int w, int h, DWORD keyPixel) {
    std::vector<DWORD> px((size_t)w * h);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, h, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < h; ++y) {
        const DWORD* row = &px[(size_t)y * w];
        for (int x = 0; x < w; ++x) {
            int x0 = x;
            while (x < w && (row[x] & 0xFFFFFF) != keyPixel) ++x;
            if (x > x0) {
                HRGN run = CreateRectRgn(x0, y, x, y + 1);
                CombineRgn(result, result, run, RGN_OR);
                DeleteObject(run);
            }
        }
    }
    return result;
}

DWORD regionRectCount(HRGN rgn) {
    DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<BYTE> data(size);
    GetRegionData(rgn, size, (RGNDATA*)data.data());
    return ((RGNDATA*)data.data())->rdh.nCount;
}
}  // namespace

BENCH(drawing_bitmap_to_region) {
    const int w = 1920, h = 1080;
    // Diagonal bands 40 pixels wide on a white key: 24 runs in every row, 25920 in all.
    HBITMAP dib = makeDib(w, h, [](int x, int y) { return ((x + y) / 40) % 2 ? 0x00FFFFFFu : 0x00306090u; });
    HRGN mine = gfnBitmapToRegion(dib, RGB(255, 255, 255), 0);
    HRGN base = regionOneRunAtATime(dib, w, h, 0xFFFFFF);
    std::printf("  regions equal: %s, %lu rectangles\n", EqualRgn(mine, base) ? "yes" : "NO",
                (unsigned long)regionRectCount(mine));
    DeleteObject(mine);
    DeleteObject(base);
    double tMine = benchTime([&] { DeleteObject(gfnBitmapToRegion(dib, RGB(255, 255, 255), 0)); });
    double tBase = benchTime([&] { DeleteObject(regionOneRunAtATime(dib, w, h, 0xFFFFFF)); }, 0.1);
    benchReport("gfnBitmapToRegion 1920x1080, 25920 runs", tMine * 1e3, "ms");
    benchReport("one region per run, ORed one by one", tBase * 1e3, "ms");
    benchReport("speed-up (goal >= 3)", tBase / tMine, "x");
    DeleteObject(dib);
}

BENCH(drawing_nine_cell_fill) {
    const int w = 1600, h = 1000;
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    HBITMAP full = makeDib(w, h, [](int x, int y) { return (DWORD)(x * 7 + y * 13); });
    RECT r = {0, 0, w, h};
    double tCopy = benchTime([&] { gfnBitblt(dc, 0, 0, w, h, full, 0, 0, SRCCOPY); });
    benchReport("one BitBlt of 1600x1000", tCopy * 1e3, "ms");
    for (int cells : {10, 16}) {
        HBITMAP skin = makeDib(3 * cells, 3 * cells, [](int x, int y) { return (DWORD)(x * 31 + y * 7); });
        double t = benchTime([&] { gfnFillRectWith9CellsBitmap(dc, &r, skin, SRCCOPY, 0, 0, 0, 0); });
        char what[80];
        std::snprintf(what, sizeof what, "nine-cell fill of 1600x1000, %dx%d cells", cells, cells);
        benchReport(what, t * 1e3, "ms");
        std::snprintf(what, sizeof what, "  time relative to one BitBlt (%d blits)", (w / cells + 1) * (h / cells + 1));
        benchReport(what, t / tCopy, "x");
        DeleteObject(skin);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(target);
    DeleteObject(full);
}
