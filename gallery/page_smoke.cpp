// The module frame: its paths, and the loader test images drawn over a checkerboard.
#include "gallery.h"
#include "qBitmapLoad.h"
#include "qCutCFFont.h"
#include "qModule.h"
#include <cstdio>

namespace {
// Shows a 32-bit premultiplied image through AlphaBlend and any other image by a plain copy,
// magnified so the few pixels of a test image are visible.
void drawImage(HDC dc, HBITMAP bmp, int x, int y, int zoom) {
    SIZE size;
    if (!gfnGetBitmapSize(bmp, &size)) return;
    BITMAP bm = {};
    GetObjectW(bmp, sizeof(bm), &bm);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    if (bm.bmBitsPixel == 32) {
        BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, x, y, size.cx * zoom, size.cy * zoom, mem, 0, 0, size.cx, size.cy, bf);
    } else {
        StretchBlt(dc, x, y, size.cx * zoom, size.cy * zoom, mem, 0, 0, size.cx, size.cy, SRCCOPY);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
}

void paint(HDC dc, const RECT& rc) {
    galleryLabel(dc, 10, 10, L"Bitmap path:");
    galleryLabel(dc, 110, 10, gfnGetProgramBitmapPath());
    {
        CCutCFFont font;
        wchar_t text[160];
        swprintf(text, 160, L"Default font: %ls, height %d, %u pt. Trim 00:10:00;00 to 01:23:45;12.",
                 font.fnGetDefaultFontName(), font.fnGetDefaultFontHeight(), font.fnGetDefaultPointSize());
        HGDIOBJ old = SelectObject(dc, font.fnGetDefaultFont());
        SetBkMode(dc, TRANSPARENT);
        TextOutW(dc, 10, 40, text, (int)wcslen(text));
        SelectObject(dc, old);
    }
    RECT board = {10, 110, rc.right - 10, rc.bottom - 10};
    galleryCheckerboard(dc, board);
    struct {
        const wchar_t* file;
        bool dib;
    } images[] = {{L"test\\argb32.png", false}, {L"test\\argb32.png", true}, {L"test\\rgb24.png", false},
                  {L"test\\rgb24.bmp", true}, {L"test\\indexed8.png", true}};
    int x = 20;
    for (const auto& image : images) {
        HBITMAP bmp = image.dib ? gfnLoadBitmapDIB(nullptr, image.file) : gfnLoadBitmap(nullptr, image.file);
        wchar_t caption[80];
        swprintf(caption, 80, L"%ls%ls", image.file + 5, image.dib ? L" (DIB)" : L"");
        galleryLabel(dc, x, 90, caption);
        drawImage(dc, bmp, x, 120, 12);
        if (bmp) DeleteObject(bmp);
        x += 120;
    }
}
}  // namespace

GALLERY_PAGE(module, L"module", 640, 200, nullptr, paint, nullptr);
