// The drawing functions: nine-cell frames, tiled and transparent fills, constant-alpha blends, a
// region cut from a bitmap, grey and shadowed text, 3-D frames and the xUIDC buffer.
#include "gallery.h"
#include "qBitmapLoad.h"
#include "qDraw.h"
#include "xUIDC.h"
#include <initializer_list>

namespace {
const COLORREF kKey = RGB(255, 0, 255);

struct Images {
    HBITMAP frame = nullptr, frameB = nullptr, tile = nullptr, star = nullptr;
    Images() {
        frame = gfnLoadBitmap(nullptr, L"test\\drawing_frame48.bmp");
        frameB = gfnLoadBitmap(nullptr, L"test\\drawing_frame48b.bmp");
        tile = gfnLoadBitmap(nullptr, L"test\\drawing_tile16.bmp");
        star = gfnLoadBitmap(nullptr, L"test\\drawing_star24.bmp");
    }
    ~Images() {
        for (HBITMAP b : {frame, frameB, tile, star})
            if (b) DeleteObject(b);
    }
};

// A nine-cell frame of w x h at (x, y) with its rounded corners left transparent: the cells are
// filled into a key-coloured bitmap first, which is then drawn without its key colour.
void roundedFrame(HDC dc, HBITMAP skin, int x, int y, int w, int h) {
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ old = SelectObject(mem, canvas);
    RECT r = {0, 0, w, h};
    gfnFillSolidRect(mem, &r, kKey);
    gfnFillRectWith9CellsBitmap(mem, &r, skin, SRCCOPY, 0, 0, 0, 0);
    SelectObject(mem, old);
    DeleteDC(mem);
    gfnDrawTransparentBitmap(dc, canvas, x, y, w, h, kKey, 0, 0, w, h);
    DeleteObject(canvas);
}

void section(HDC dc, int x, int y, const wchar_t* title) { galleryLabel(dc, x, y, title); }

void nineCells(HDC dc, const Images& im) {
    section(dc, 10, 8, L"Nine cells (48 x 48 skin, 16-pixel cells): corners copied, edges and centre tiled");
    RECT board = {10, 28, 750, 178};
    galleryCheckerboard(dc, board);
    roundedFrame(dc, im.frame, 20, 38, 48, 48);
    roundedFrame(dc, im.frame, 80, 38, 130, 60);
    roundedFrame(dc, im.frame, 220, 38, 240, 130);
    roundedFrame(dc, im.frameB, 470, 38, 90, 130);
    roundedFrame(dc, im.frameB, 570, 38, 170, 44);
    // Smaller than two cells: the corners overlap.
    roundedFrame(dc, im.frameB, 20, 110, 24, 24);
    RECT plain = {80, 110, 210, 168};
    gfnFillRectWith9CellsBitmap(dc, &plain, im.frame, SRCCOPY, 0, 0, 0, 0);
    galleryLabel(dc, 572, 96, L"Rounded corners: each frame is");
    galleryLabel(dc, 572, 112, L"filled into a bitmap, then drawn");
    galleryLabel(dc, 572, 128, L"with magenta left out. Bottom");
    galleryLabel(dc, 572, 144, L"left: the plain fill, magenta kept.");
}

void fills(HDC dc, const Images& im) {
    section(dc, 10, 188, L"Tiled, centre-cell and transparent fills; a region from a bitmap");
    RECT tiled = {10, 208, 170, 298};
    gfnFillRectWithBitmap(dc, &tiled, im.tile, SRCCOPY, 0, 0, 0, 0);
    galleryLabel(dc, 10, 302, L"16 x 16 tile, cut right");
    RECT centre = {190, 208, 330, 298};
    gfnFillRectWithCenterCell(dc, &centre, im.frame, SRCCOPY);
    galleryLabel(dc, 190, 302, L"centre cell");
    RECT board = {350, 208, 530, 298};
    galleryCheckerboard(dc, board);
    gfnFillRectWithTransparentBitmap(dc, &board, im.star, kKey);
    galleryLabel(dc, 350, 302, L"transparent tiles");

    // The star at four times its size, turned into a region, filled with the tile and outlined.
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP big = CreateCompatibleBitmap(dc, 96, 96);
    HGDIOBJ old = SelectObject(mem, big);
    gfnStretchBlt(mem, 0, 0, 96, 96, im.star, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    HRGN shape = gfnBitmapToRegion(big, kKey, 0x101010);
    DeleteObject(big);
    if (shape) {
        OffsetRgn(shape, 600, 205);
        gfnFillRgnWithBitmap(dc, shape, im.tile);
        HBRUSH outline = CreateSolidBrush(RGB(30, 30, 30));
        FrameRgn(dc, shape, outline, 1, 1);
        DeleteObject(outline);
        DeleteObject(shape);
    }
    galleryLabel(dc, 560, 302, L"region of the key-less pixels");
}

void blends(HDC dc) {
    section(dc, 10, 326, L"Constant alpha 32, 96, 160, 224, 255 over a checkerboard");
    RECT board = {10, 346, 430, 416};
    galleryCheckerboard(dc, board);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP blue = CreateCompatibleBitmap(dc, 60, 50);
    HGDIOBJ old = SelectObject(mem, blue);
    RECT all = {0, 0, 60, 50};
    gfnFillSolidRect(mem, &all, RGB(20, 70, 200));
    SelectObject(mem, old);
    DeleteDC(mem);
    int x = 20;
    for (int alpha : {32, 96, 160, 224, 255}) {
        gfnAlphaBlend(dc, blue, x, 356, 60, 50, (unsigned char)alpha, 0, 0, 60, 50);
        x += 82;
    }
    DeleteObject(blue);
}

void text(HDC dc) {
    section(dc, 450, 326, L"Text and 3-D frames");
    RECT face = {450, 346, 750, 416};
    gfnFillSolidRect(dc, &face, GetSysColor(COLOR_BTNFACE));
    HFONT font = CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, L"Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    int mode = SetBkMode(dc, TRANSPARENT);
    RECT r = {462, 352, 600, 380};
    const int dx = 2, dy = 2;
    gfnEasyShadowString(dc, &r, L"Shadow", -1, RGB(250, 250, 250), RGB(40, 40, 40), DT_LEFT | DT_SINGLELINE, dx, dy);
    RECT g = {462, 382, 600, 410};
    gfnEasyGrayString(dc, &g, L"Disabled", -1, DT_LEFT | DT_SINGLELINE);
    SetBkMode(dc, mode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    RECT raised = {610, 354, 670, 408}, sunken = {680, 354, 740, 408};
    gfnDraw3DFrame(dc, &raised, 1);
    gfnDraw3DFrame(dc, &sunken, 0);
}

void buffer(HDC dc) {
    section(dc, 10, 426, L"xUIDC buffer: ratio 1/2 (white left out), an alpha mask ramp, lines, frame, arrow, text");
    xUIDC ctx;
    if (!ctx.fnCreate(740, 110, dc)) return;
    ctx.FillRect(0, 0, 740, 110, RGB(236, 240, 246));
    // A source with a white hole: the ratio blend leaves white out.
    HDC src = CreateCompatibleDC(dc);
    HBITMAP srcBitmap = CreateCompatibleBitmap(dc, 200, 80);
    HGDIOBJ old = SelectObject(src, srcBitmap);
    RECT all = {0, 0, 200, 80}, hole = {70, 20, 130, 60};
    gfnFillSolidRect(src, &all, RGB(200, 40, 40));
    gfnFillSolidRect(src, &hole, RGB(255, 255, 255));
    AlphaRatio half = {1, 2};
    ctx.BitBlt(10, 15, 200, 80, src, 0, 0, SRCCOPY, nullptr, &half, nullptr);
    // The same source through a left-to-right alpha ramp.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD grey[256];
    } bi = {};
    bi.h = {sizeof(BITMAPINFOHEADER), 200, 80, 1, 8, BI_RGB};
    void* bits = nullptr;
    HBITMAP mask = CreateDIBSection(nullptr, (BITMAPINFO*)&bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (mask) {
        BYTE* p = (BYTE*)bits;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 200; ++x) p[y * 200 + x] = (BYTE)(x * 255 / 199);
        ctx.BitBlt(230, 15, 200, 80, src, 0, 0, SRCCOPY, nullptr, nullptr, mask);
        DeleteObject(mask);
    }
    SelectObject(src, old);
    DeleteObject(srcBitmap);
    DeleteDC(src);
    RECT frame = {450, 15, 600, 95};
    ctx.Draw3DRect(&frame, RGB(255, 255, 255), RGB(120, 120, 120));
    ctx.Draw3DLine(460, 55, 130);
    ctx.DrawArrow(620, 30, 40, RGB(40, 110, 60));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    ctx.SetTextColor(RGB(30, 30, 90));
    ctx.TextOutW(460, 25, L"in the buffer", 13);
    SelectObject(dc, oldFont);
    ctx.Flush(10, 446, 0, 0);
}

void paint(HDC dc, const RECT&) {
    Images im;
    nineCells(dc, im);
    fills(dc, im);
    blends(dc);
    text(dc);
    buffer(dc);
}
}  // namespace

GALLERY_PAGE(drawing, L"drawing", 760, 566, nullptr, paint, nullptr);
