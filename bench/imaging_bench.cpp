// Imaging: the cached nine-cell DIB fill against a plain BitBlt, and the decoded-file cache of the
// alpha bitmap object against a fresh decode.
#include "bench.h"
#include "qAlphaBitmap.h"
#include "qDrawDIB.h"
#include "qModule.h"
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

// A screen-compatible off-screen target, as a host paints into.
struct Target {
    int w, h;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    Target(int width, int height) : w(width), h(height) {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
    }
    ~Target() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

HGLOBAL frameDib() {
    const int w = 30, h = 30;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + w * h * 4);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    *header = {sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, (DWORD)(w * h * 4)};
    auto* bits = reinterpret_cast<DWORD*>(header + 1);
    for (int i = 0; i < w * h; ++i) bits[i] = 0x00406080u + (DWORD)((i % w) * 3 + (i / w) * 5);
    GlobalUnlock(block);
    return block;
}

}  // namespace

BENCH(drawdib_nine_cell_fill) {
    for (SIZE size : {SIZE{400, 300}, SIZE{800, 600}}) {
        Target target(size.cx, size.cy);
        Target source(size.cx, size.cy);
        CqDrawDIB dib;
        dib.fnSetDibBuf(frameDib());
        RECT r = {0, 0, size.cx, size.cy};
        const double blit = benchTime([&] { BitBlt(target.dc, 0, 0, size.cx, size.cy, source.dc, 0, 0, SRCCOPY); });
        const double warm = benchTime([&] { dib.fnDrawDibFillRectWith9Cells(target.dc, &r); });
        const double direct = benchTime([&] { dib.fnDrawDibFillRectWith9Cells(target.dc, &r, 0, 0, 30, 30); });
        char what[96];
        std::snprintf(what, sizeof what, "%ldx%ld one BitBlt", size.cx, size.cy);
        benchReport(what, blit * 1e6, "us");
        std::snprintf(what, sizeof what, "%ldx%ld nine cells, cached rendering (warm)", size.cx, size.cy);
        benchReport(what, warm * 1e6, "us");
        std::snprintf(what, sizeof what, "%ldx%ld nine cells, drawn tile by tile", size.cx, size.cy);
        benchReport(what, direct * 1e6, "us");
        std::snprintf(what, sizeof what, "%ldx%ld nine cells cached, against one BitBlt", size.cx, size.cy);
        benchGoal(what, warm / blit, "x one BitBlt", true, 1.5);
    }
}

BENCH(alpha_bitmap_file_cache) {
    const std::wstring dir = std::wstring(gfnGetProgramBitmapPath()) + L"gallery\\imaging\\";
    IGDIPlusDrawAlphaBitmap* a = gfnNewIGDIPlusDrawAlphaBitmap();
    IGDIPlusDrawAlphaBitmap* b = gfnNewIGDIPlusDrawAlphaBitmap();
    // Two files in turn: every load misses the one-entry cache and decodes.
    const double miss = benchTime([&] {
        a->fnLoadFromFile(dir.c_str(), L"orb.png", nullptr, 0, 0, 0, 0);
        b->fnLoadFromFile(dir.c_str(), L"panel.png", nullptr, 0, 0, 0, 0);
    }) / 2;
    a->fnLoadFromFile(dir.c_str(), L"orb.png", nullptr, 0, 0, 0, 0);
    const double hit = benchTime([&] { b->fnLoadFromFile(dir.c_str(), L"orb.png", nullptr, 0, 0, 0, 0); });
    benchReport("fnLoadFromFile 48x48 PNG, decoded (cache miss)", miss * 1e6, "us");
    benchReport("fnLoadFromFile same file again (cache hit)", hit * 1e6, "us");
    benchReport("miss / hit", miss / hit, "x");

    Target target(400, 300);
    RECT r = {0, 0, 400, 300};
    b->fnLoadFromFile(dir.c_str(), L"panel.png", nullptr, 0, 0, 0, 0);
    benchReport("alpha nine cells 400x300 (GDI+ through back buffer)",
                benchTime([&] { b->fnFillRectWith9Cells(target.dc, &r); }) * 1e6, "us");
    b->Release();
    a->Release();
}
