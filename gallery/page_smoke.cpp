// First page: the module's paths over a checkerboard.
#include "gallery.h"
#include "qModule.h"

namespace {
void paint(HDC dc, const RECT& rc) {
    RECT board = {10, 40, rc.right - 10, rc.bottom - 10};
    galleryCheckerboard(dc, board);
    galleryLabel(dc, 10, 10, gfnGetProgramBitmapPath());
}
}  // namespace

GALLERY_PAGE(module, L"module", 640, 360, nullptr, paint, nullptr);
