// Imaging: alpha images blended over a pattern, a nine-cell alpha panel at several sizes, merged
// bitmaps with a mask (over a colour, a background piece and two heads), and DIB fills.
#include "gallery.h"
#include "qAlphaBitmap.h"
#include "qDraw.h"
#include "qDrawDIB.h"
#include "qMerge.h"
#include "qModule.h"
#include "qBitmapLoad.h"
#include "q32Base.h"
#include <string>

namespace {

std::wstring dir() { return std::wstring(gfnGetProgramBitmapPath()) + L"gallery\\imaging\\"; }

struct State {
    IGDIPlusDrawAlphaBitmap* images[3] = {};
    IGDIPlusDrawAlphaBitmap* panel = nullptr;
    HBITMAP backWide = nullptr, backTall = nullptr;
    HBITMAP overBack = nullptr, twoWide = nullptr, twoTall = nullptr;
    void* overColour = nullptr;
    CqDrawDIB* tile = nullptr;
    CqDrawDIB* frame = nullptr;
} g;

void build(HWND) {
    const std::wstring d = dir();
    const wchar_t* files[3] = {L"orb.png", L"orb2.png", L"ring.png"};
    for (int i = 0; i < 3; ++i) {
        g.images[i] = gfnNewIGDIPlusDrawAlphaBitmap();
        if (g.images[i]) g.images[i]->fnLoadFromFile(d.c_str(), files[i], nullptr, 0, 0, 0, 0);
    }
    g.panel = gfnNewIGDIPlusDrawAlphaBitmap();
    if (g.panel) g.panel->fnLoadFromFile(d.c_str(), L"panel.png", nullptr, 0, 0, 0, 0);

    g.backWide = gfnLoadBitmap(d.c_str(), L"back_wide.png");
    g.backTall = gfnLoadBitmap(d.c_str(), L"back_tall.png");
    gfnCreateMergedBuffer(&g.overColour, d.c_str(), L"merge_fore.png", L"merge_mask.png", RGB(40, 70, 140));
    gfnCreateMergedBitmap(&g.overBack, d.c_str(), g.backWide, L"merge_fore.png", L"merge_mask.png", 16, 0, 0, 0);
    gfnCreateMergedBitmapTwoHead(&g.twoWide, d.c_str(), g.backWide, L"merge_fore.png", L"merge_mask.png", 0, 0, 48,
                                 32);
    gfnCreateMergedBitmapTwoHead(&g.twoTall, d.c_str(), g.backTall, L"merge_fore.png", L"merge_mask.png", 0, 0, 32,
                                 32);

    g.tile = new CqDrawDIB;
    g.tile->fnSetDibBufFromDDB(d.c_str(), L"dib_tile.bmp");
    g.frame = new CqDrawDIB;
    g.frame->fnSetDibBufFromDIB(d.c_str(), L"dib_frame.bmp");
}

void teardown(HWND) {
    for (auto*& img : g.images)
        if (img) img->Release(), img = nullptr;
    if (g.panel) g.panel->Release();
    for (HBITMAP b : {g.backWide, g.backTall, g.overBack, g.twoWide, g.twoTall})
        if (b) DeleteObject(b);
    buf32Free(g.overColour);
    delete g.tile;
    delete g.frame;
    g = State{};
}

void blit(HDC dc, int x, int y, HBITMAP bmp) {
    SIZE size = {};
    if (gfnGetBitmapSize(bmp, &size)) gfnBitblt(dc, x, y, size.cx, size.cy, bmp, 0, 0, SRCCOPY);
}

void paint(HDC dc, const RECT&) {
    // Alpha images over a pattern.
    galleryLabel(dc, 10, 8, L"Alpha PNGs blended over a pattern");
    RECT board = {10, 26, 250, 96};
    galleryCheckerboard(dc, board);
    for (int i = 0; i < 3; ++i)
        if (g.images[i]) g.images[i]->fnDraw(dc, 20 + i * 56, 37, 0, 0);
    if (g.images[0]) g.images[0]->fnDraw(dc, 188, 37, 24, 0, 24, 48);   // a piece of one

    // Nine-cell panel from a 36 x 36 alpha image.
    galleryLabel(dc, 270, 8, L"Nine-cell alpha panel: 36x36, 90x60, 200x40, 60x120");
    RECT pboard = {270, 26, 790, 196};
    galleryCheckerboard(dc, pboard);
    const RECT panels[4] = {{280, 36, 316, 72}, {330, 36, 420, 96}, {430, 36, 630, 76}, {650, 36, 710, 156}};
    if (g.panel)
        for (const RECT& r : panels) g.panel->fnFillRectWith9Cells(dc, &r);

    // Merged bitmaps.
    galleryLabel(dc, 10, 110, L"Merged with a mask: over a colour, over a background piece");
    if (g.overColour) gfnDrawBuf(dc, 10, 130, g.overColour, 0, 0, 0, 0);
    if (g.overBack) blit(dc, 120, 130, g.overBack);
    galleryLabel(dc, 10, 175, L"Two heads: wide background, tall background");
    blit(dc, 10, 195, g.backWide);
    blit(dc, 150, 195, g.twoWide);
    blit(dc, 10, 240, g.backTall);
    blit(dc, 150, 240, g.twoTall);

    // DIB drawing.
    galleryLabel(dc, 270, 210, L"CqDrawDIB: tiled 16x16, nine cells 30x30 (small direct, large cached)");
    RECT tiled = {270, 230, 470, 330};
    if (g.tile) g.tile->fnDrawDibFillRect(dc, &tiled, 0, 0, 0, 0);
    RECT small = {490, 230, 570, 300}, large = {590, 230, 790, 380};
    if (g.frame) {
        g.frame->fnDrawDibFillRectWith9Cells(dc, &small);
        g.frame->fnDrawDibFillRectWith9Cells(dc, &large);
    }
    RECT piece = {270, 345, 470, 380};
    if (g.frame) g.frame->fnDrawDibFillRectWith9Cells(dc, &piece, 0, 0, 30, 30);
}

}  // namespace

GALLERY_PAGE(imaging, L"imaging", 800, 400, build, paint, teardown);
