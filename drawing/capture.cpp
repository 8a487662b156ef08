// Parent background and screen capture: windows paint their background into a prepared DC when
// sent WM_ERASEBKGND; the DC's viewport and clip region line that background up with the target.
#include "qDraw.h"
#include "qBitmapHandler.h"
#include "drawing/gdiutil.h"
#include "q32Cvt.h"
#include <gdiplus.h>

namespace {
using namespace qdraw;

bool hasArea(const RECT* r) { return r && r->right > r->left && r->bottom > r->top; }

// The window rectangle of child in parent's client coordinates.
bool windowRectInParent(HWND parent, HWND child, RECT& r) {
    if (!GetWindowRect(child, &r)) return false;
    POINT* corners = (POINT*)&r;
    BOOL a = ScreenToClient(parent, &corners[0]);
    BOOL b = ScreenToClient(parent, &corners[1]);
    return a && b;
}

// rect when it has an area, else the window's client rectangle.
bool rectOrClient(HWND window, const RECT* rect, RECT& r) {
    if (hasArea(rect)) {
        r = *rect;
        return true;
    }
    return GetClientRect(window, &r) != 0;
}

// Sends WM_ERASEBKGND to window with dc shifted so that the window's point (origin) lands on dc's
// (0, 0), clipped to clip (device coordinates of dc). dc ends with no clip region of its own.
bool eraseInto(HWND window, HDC dc, POINT origin, const RECT& clip) {
    OwnedGdi<HRGN> region(CreateRectRgnIndirect(&clip));
    POINT old = {};
    BOOL moved = SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SelectClipRgn(dc, region);
    SendMessageW(window, WM_ERASEBKGND, (WPARAM)dc, 0);
    SelectClipRgn(dc, nullptr);
    BOOL back = SetViewportOrgEx(dc, old.x, old.y, nullptr);
    return moved && back;
}

// A DC of the whole display, deleted at the end of the guard's life.
class DisplayDC {
public:
    DisplayDC() : m_dc(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) {}
    ~DisplayDC() {
        if (m_dc) DeleteDC(m_dc);
    }
    operator HDC() const { return m_dc; }
    DisplayDC(const DisplayDC&) = delete;
    DisplayDC& operator=(const DisplayDC&) = delete;

private:
    HDC m_dc;
};

void* bitmapToBuffer(HBITMAP bitmap) {
    if (!bitmap) return nullptr;
    void* buffer = nullptr;
    if (!cvt32DDBToBuf(bitmap, &buffer, 0)) buffer = nullptr;
    DeleteObject(bitmap);
    return buffer;
}
}  // namespace

// --- The shared off-screen bitmap ------------------------------------------------------------------

void CqBitmapHandler::g_fnDrawParentBk(HWND child, HDC dest) {
    HWND parent = child ? GetParent(child) : nullptr;
    RECT r = {};
    if (!parent || !windowRectInParent(parent, child, r)) return;
    g_fnGetWindowBkBitmap(parent, &r);
    gfnBitblt(dest, 0, 0, r.right - r.left, r.bottom - r.top, g_hBitmapHandler, 0, 0, SRCCOPY);
}

void CqBitmapHandler::g_fnGetWindowBkBitmap(HWND parent, HWND child) {
    RECT r = {};
    if (!parent || !child || !windowRectInParent(parent, child, r)) return;
    g_fnGetWindowBkBitmap(parent, &r);
}

void CqBitmapHandler::g_fnGetWindowBkBitmap(HWND window, RECT* rect) {
    RECT r = {};
    if (!window || !rectOrClient(window, rect, r)) return;
    {
        WindowDC dc(window);
        if (!g_fnCreateBitmap(dc, r.right - r.left, r.bottom - r.top)) return;
    }
    gfnGetWindowBkBitmap(g_hBitmapHandler, window, &r);
}

// --- Erasing through the parent ---------------------------------------------------------------------

int gfnEraseBkByParent(HWND parent, HWND child, HDC childDC) {
    RECT r = {};
    if (!parent || !child || !childDC || !windowRectInParent(parent, child, r)) return 0;
    RECT clip = {0, 0, r.right - r.left, r.bottom - r.top};
    return eraseInto(parent, childDC, {r.left, r.top}, clip) ? 1 : 0;
}

int gfnEraseBkByParent(HWND parent, HWND child, HDC childDC, RECT* part) {
    if (!parent || !child || !childDC) return 0;
    RECT client = {};
    if (!GetClientRect(child, &client)) return 0;
    RECT r = client;
    POINT* corners = (POINT*)&r;
    bool converted = ClientToScreen(child, &corners[0]) && ClientToScreen(child, &corners[1]) &&
                     ScreenToClient(parent, &corners[0]) && ScreenToClient(parent, &corners[1]);
    RECT clip = part ? *part : client;
    return eraseInto(parent, childDC, {r.left, r.top}, clip) && converted ? 1 : 0;
}

int gfnEraseBkByParent(HWND parent, HWND child, RECT* part) {
    if (!parent || !child) return 0;
    RECT client = {};
    if (!GetClientRect(child, &client)) return 0;
    RECT r = client;
    if (hasArea(part)) {
        r.left = part->left > client.left ? part->left : client.left;
        r.top = part->top > client.top ? part->top : client.top;
        r.right = part->right < client.right ? part->right : client.right;
        r.bottom = part->bottom < client.bottom ? part->bottom : client.bottom;
    }
    WindowDC dc(child);
    if (!(HDC)dc) return 0;
    return gfnEraseBkByParent(parent, child, dc, &r);
}

// --- Capturing into bitmaps ------------------------------------------------------------------------

int gfnGetWindowBkBitmap(HBITMAP target, HWND window, RECT* rect) {
    RECT r = {};
    if (!target || !window || !rectOrClient(window, rect, r)) return 0;
    WindowDC windowDC(window);
    BitmapDC mem(windowDC, target);
    if (!mem.ok()) return 0;
    RECT clip = {0, 0, r.right - r.left, r.bottom - r.top};
    return eraseInto(window, mem, {r.left, r.top}, clip) ? 1 : 0;
}

HBITMAP gfnGetWindowBkBitmap(HWND window, RECT* rect) {
    RECT r = {};
    if (!window || !rectOrClient(window, rect, r)) return nullptr;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return nullptr;
    // GDI+ is already running while any alpha image lives; without it this fails and gives null.
    Gdiplus::GpBitmap* image = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(w, h, 0, PixelFormat24bppRGB, nullptr, &image) !=
            Gdiplus::Ok ||
        !image)
        return nullptr;
    HBITMAP bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(image, &bitmap, 0) != Gdiplus::Ok) bitmap = nullptr;
    Gdiplus::DllExports::GdipDisposeImage(image);
    if (bitmap) gfnGetWindowBkBitmap(bitmap, window, &r);
    return bitmap;
}

HBITMAP gfnGetWindowBkBitmap(HWND parent, HWND child) {
    RECT r = {};
    if (!parent || !child || !windowRectInParent(parent, child, r)) return nullptr;
    return gfnGetWindowBkBitmap(parent, &r);
}

HBITMAP gfnGetWindowShownBitmap(HWND window, RECT* rect) {
    RECT client = {}, r = {};
    if (!window || !GetClientRect(window, &client) || !rectOrClient(window, rect, r)) return nullptr;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || client.right <= 0 || client.bottom <= 0) return nullptr;
    WindowDC windowDC(window);
    BitmapDC full(windowDC, client.right, client.bottom);
    BitmapDC part(windowDC, w, h);
    if (!full.ok() || !part.ok()) return nullptr;
    SendMessageW(window, WM_ERASEBKGND, (WPARAM)full.dc(), 0);
    BitBlt(part, 0, 0, w, h, full, r.left, r.top, SRCCOPY);
    return part.release();
}

void* gfnGetWindowShownBitmapAIKBuffer(HWND window, RECT* rect) {
    return bitmapToBuffer(gfnGetWindowShownBitmap(window, rect));
}

HBITMAP gfnGetScreenBitmap(RECT* rect) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    RECT r = {0, 0, cx, cy};
    if (hasArea(rect)) {
        r = *rect;
        if (r.left < 0) r.left = 0;
        if (r.top < 0) r.top = 0;
        // Only the on-screen part is copied.
        if (r.right > cx) r.right = cx;
        if (r.bottom > cy) r.bottom = cy;
    }
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return nullptr;
    DisplayDC screen;
    if (!(HDC)screen) return nullptr;
    BitmapDC mem(screen, w, h);
    if (!mem.ok()) return nullptr;
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    return mem.release();
}

void* gfnGetScreenBitmapAIKBuffer(RECT* rect) { return bitmapToBuffer(gfnGetScreenBitmap(rect)); }

// --- Window placement ------------------------------------------------------------------------------

int gfnIsWindowCoveredByAnother(HWND window, RECT* out) {
    RECT cover = {};
    RECT r = {};
    if (window && GetWindowRect(window, &r)) {
        for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
            RECT other = {}, overlap = {};
            if (!IsWindowVisible(above) || !GetWindowRect(above, &other)) continue;
            if (IntersectRect(&overlap, &r, &other)) UnionRect(&cover, &cover, &overlap);
        }
    }
    if (out) *out = cover;
    return IsRectEmpty(&cover) ? 0 : 1;
}

void gfnMoveWindowByOffset(HWND parent, HWND child, int dx, int dy) {
    RECT r = {};
    if (!parent || !child || !GetWindowRect(child, &r)) return;
    POINT p = {r.left + dx, r.top + dy};
    ScreenToClient(parent, &p);
    SetWindowPos(child, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
}
