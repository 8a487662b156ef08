// Background capture through WM_ERASEBKGND from real windows, screen capture, window placement;
// the GDI leak check over every drawing call.
#include "qDraw.h"
#include "qBitmapHandler.h"
#include "qBitmapLoad.h"
#include "q32Base.h"
#include "xUIDC.h"
#include "tests/drawing/drawtest.h"
#include <vector>

using namespace drawtest;

namespace {

// Parents erase with a pattern whose every pixel names its client coordinates; plain windows
// have no background brush, so they paint nothing of their own.
LRESULT CALLBACK patternProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_ERASEBKGND) return DefWindowProcW(w, msg, wp, lp);
    static Dib pattern(300, 200, coordColour);
    return gfnBitblt((HDC)wp, 0, 0, 300, 200, pattern, 0, 0, SRCCOPY);
}

HWND makeWindow(const wchar_t* cls, DWORD style, RECT r, HWND parent, DWORD exStyle = 0) {
    static const bool registered = [] {
        WNDCLASSW wc = {0, patternProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr,
                        L"DrawingTestPattern"};
        RegisterClassW(&wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = L"DrawingTestPlain";
        return RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExW(exStyle, cls, L"", style | WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The shared 200 x 150 pattern parent at (60, 40) on the screen (hiding or destroying a visible
// top-level window costs Wine two seconds without a window manager), with a child for one test.
struct Windows {
    HWND parent, child;
    Windows(RECT childRect, DWORD childStyle = 0, const wchar_t* childClass = L"DrawingTestPlain") {
        static HWND shared = makeWindow(L"DrawingTestPattern", WS_POPUP, {60, 40, 260, 190}, nullptr, WS_EX_TOPMOST);
        parent = shared;
        child = makeWindow(childClass, WS_CHILD | childStyle, childRect, parent);
        RedrawWindow(parent, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        testutil::pumpMessages(20);
    }
    ~Windows() { DestroyWindow(child); }
};

// The bitmap is cx x cy and shows the pattern from (ox, oy) (not looked at when ox < 0); deletes it.
void expectPattern(HBITMAP b, int cx, int cy, int ox = -1, int oy = 0) {
    ASSERT_NE(nullptr, b);
    SIZE s = {};
    gfnGetBitmapSize(b, &s);
    EXPECT_TRUE(s.cx == cx && s.cy == cy) << s.cx << " x " << s.cy;
    auto at = [&](int x, int y) { return colourOf(testutil::dibPixel(b, x, y)); };
    EXPECT_TRUE(ox < 0 || (at(0, 0) == coordColour(ox, oy) && at(cx - 1, cy - 1) == coordColour(ox + cx - 1, oy + cy - 1)))
        << "from " << ox << "," << oy;
    DeleteObject(b);
}
}  // namespace

TEST(Capture, ParentBackgroundCoverAndMoves) {
    // A child 2 pixels inside its parent, and one with a one-pixel border (client area 48 x 38).
    const struct { RECT rect; DWORD style; POINT client; SIZE size; } children[] = {
        {{2, 2, 32, 22}, 0, {2, 2}, {30, 20}}, {{10, 20, 60, 60}, WS_BORDER, {11, 21}, {48, 38}}};
    for (const auto& k : children) {
        Windows w(k.rect, k.style);
        Canvas dc(60, 50, kSentinel);
        RECT part = {3, 4, 9, 7}, whole = {0, 0, k.size.cx, k.size.cy};
        auto seen = [&](const RECT& shown) {
            return onlyIn(shown, [&](int x, int y) { return coordColour(k.client.x + x, k.client.y + y); });
        };
        // The whole child (without a border: its client area), a part, a null part (the client area).
        if (!k.style) {
            ASSERT_NE(0, gfnEraseBkByParent(w.parent, w.child, dc.dc()));
            EXPECT_TRUE(pixelsAre(dc, seen(whole)));
            dc.fill(kSentinel);
        }
        ASSERT_NE(0, gfnEraseBkByParent(w.parent, w.child, dc.dc(), &part));
        EXPECT_TRUE(pixelsAre(dc, seen(part)));
        ASSERT_NE(0, gfnEraseBkByParent(w.parent, w.child, dc.dc(), (RECT*)nullptr));
        EXPECT_TRUE(pixelsAre(dc, seen(whole)));
        // The DC's origin is back and it has no clip region.
        POINT org = {1, 1};
        HRGN probe = CreateRectRgn(0, 0, 0, 0);
        EXPECT_TRUE(GetViewportOrgEx(dc.dc(), &org) && org.x == 0 && org.y == 0 && 0 == GetClipRgn(dc.dc(), probe));
        DeleteObject(probe);
        // On the child's own DC, the part cut to the client area.
        RECT cut = {-5, 2, 10, 100};
        ASSERT_NE(0, gfnEraseBkByParent(w.parent, w.child, &cut));
        HDC own = GetDC(w.child);
        EXPECT_EQ(coordColour(k.client.x, k.client.y + 2), GetPixel(own, 0, 2));
        EXPECT_EQ(coordColour(k.client.x + 9, k.client.y + k.size.cy - 1), GetPixel(own, 9, k.size.cy - 1));
        ReleaseDC(w.child, own);
        EXPECT_FALSE(gfnEraseBkByParent(nullptr, w.child, dc.dc()) || gfnEraseBkByParent(w.parent, nullptr, dc.dc()));
    }
    // Windows above cover a window; a move by an offset keeps the size.
    Windows w({10, 10, 60, 60});
    HWND above = makeWindow(L"DrawingTestPlain", WS_CHILD, {40, 30, 90, 80}, w.parent);
    SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT out = {1, 1, 1, 1}, want = {100, 70, 120, 100};   // the overlap (40, 30, 60, 60) on the screen
    EXPECT_TRUE(0 == gfnIsWindowCoveredByAnother(above, &out) && IsRectEmpty(&out));
    ASSERT_NE(0, gfnIsWindowCoveredByAnother(w.child, &out));
    EXPECT_TRUE(EqualRect(&want, &out)) << out.left << "," << out.top << "," << out.right << "," << out.bottom;
    EXPECT_NE(0, gfnIsWindowCoveredByAnother(w.child, nullptr));
    ShowWindow(above, SW_HIDE);
    EXPECT_TRUE(0 == gfnIsWindowCoveredByAnother(w.child, &out) && 0 == gfnIsWindowCoveredByAnother(nullptr, &out));
    DestroyWindow(above);
    gfnMoveWindowByOffset(w.parent, w.child, 5, -3);
    RECT r;
    GetWindowRect(w.child, &r);
    MapWindowPoints(nullptr, w.parent, (POINT*)&r, 2);
    want = {15, 7, 65, 57};   // size kept
    EXPECT_TRUE(EqualRect(&want, &r)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

// Backgrounds into a given bitmap (the client corner only; a rectangle's top-left lands at (0, 0)),
// into new bitmaps and pixel buffers, into the shared bitmap; the screen, its off-screen parts left out.
TEST(Capture, BitmapsOfTheBackgroundAndTheScreenAndNoCallLeaks) {
    Windows w({5, 5, 105, 55}, 0, L"DrawingTestPattern");   // client area 100 x 50, erased with the pattern
    Dib target(120, 70, kSentinel);
    ASSERT_NE(0, gfnGetWindowBkBitmap(target.get(), w.child, nullptr));
    EXPECT_TRUE(pixelsAre(target, onlyIn({0, 0, 100, 50}, coordColour)));
    RECT r = {10, 5, 30, 25};
    ASSERT_NE(0, gfnGetWindowBkBitmap(target.get(), w.child, &r));
    EXPECT_TRUE(coordColour(10, 5) == target.at(0, 0) && coordColour(29, 24) == target.at(19, 19));
    EXPECT_EQ(coordColour(20, 0), target.at(20, 0));   // left from the first capture
    EXPECT_FALSE(gfnGetWindowBkBitmap(target.get(), nullptr, nullptr) || gfnGetWindowBkBitmap((HBITMAP) nullptr, w.child, nullptr));

    void* gdiplus = nullptr;
    ASSERT_EQ(0, gfnGDIPlusLock(&gdiplus));
    r = {4, 3, 14, 9};
    expectPattern(gfnGetWindowBkBitmap(w.parent, &r), 10, 6, 4, 3);
    expectPattern(gfnGetWindowBkBitmap(w.parent, w.child), 100, 50, 5, 5);   // behind the child
    gfnGDIPlusUnlock(&gdiplus);
    EXPECT_FALSE(gfnGetWindowBkBitmap((HWND) nullptr, (RECT*)nullptr) || gfnGetWindowBkBitmap(w.parent, (HWND) nullptr));
    expectPattern(gfnGetWindowShownBitmap(w.parent, &r), 10, 6, 4, 3);
    expectPattern(gfnGetWindowShownBitmap(w.parent, nullptr), 200, 150);
    EXPECT_FALSE(gfnGetWindowShownBitmap(nullptr, nullptr) || gfnGetWindowShownBitmapAIKBuffer(nullptr, &r));
    // The screen shows the parent's pattern at (60, 40), above the child.
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    RECT shot = {70, 41, 90, 44}, partly = {-10, -5, 20, 30}, beyond = {cx - 10, cy - 4, cx + 50, cy + 50};
    expectPattern(gfnGetScreenBitmap(&shot), 20, 3, 10, 1);
    expectPattern(gfnGetScreenBitmap(nullptr), cx, cy);
    expectPattern(gfnGetScreenBitmap(&partly), 20, 30);
    expectPattern(gfnGetScreenBitmap(&beyond), 10, 4);
    void* buf = gfnGetScreenBitmapAIKBuffer(&shot);
    int bw = 0, bh = 0, bu = 0;
    EXPECT_TRUE(buf && buf32GetWHU(buf, &bw, &bh, &bu) && bw == 20 && bh == 3) << bw << " x " << bh;
    buf32Free(buf);

    // The shared bitmap holds the parent's background behind the child.
    Canvas dest(120, 60, kSentinel);
    CqBitmapHandler::g_fnDrawParentBk(w.child, dest.dc());
    EXPECT_TRUE(pixelsAre(dest, onlyIn({0, 0, 100, 50}, [](int x, int y) { return coordColour(5 + x, 5 + y); })));
    CqBitmapHandler::g_fnGetWindowBkBitmap(w.parent, w.child);
    EXPECT_EQ(coordColour(104, 54), GetPixel(CqBitmapHandler::g_fnGetDC(), 99, 49));
    CqBitmapHandler::g_fnReleaseDC();
    // No drawing call leaves a GDI object behind (the counter does see leftovers).
    std::vector<HGDIOBJ> made;
    EXPECT_EQ(3, gdiLeakOver(3, [&] { made.push_back(CreateSolidBrush(RGB(1, 2, 3))); }));
    for (HGDIOBJ o : made) DeleteObject(o);
    Dib src(30, 30, coordColour);
    Canvas dst(64, 64, kSentinel);
    RECT all = {0, 0, 64, 64};
    HRGN rgn = CreateRectRgn(3, 2, 17, 9);
    HBITMAP mask = greyMask(16, 16, 100);
    HINSTANCE self = GetModuleHandleW(nullptr);
    AlphaRatio half = {1, 2};
    EXPECT_EQ(0, gdiLeakOver(5, [&] {
        HDC dc = dst.dc();
        xUIDC ctx;
        gfnBitblt(dc, 0, 0, 8, 8, src, 0, 0, SRCCOPY), gfnStretchBlt(dc, 0, 0, 8, 8, src, SRCCOPY);
        gfnAlphaBlend(dc, src.get(), 0, 0, 8, 8, 100, 0, 0, 8, 8), gfnDrawTransparentBitmap(dc, src, 0, 0, 8, 8, 0, 0, 0, 8, 8);
        DeleteObject(gfnBitmapToRegion(src, 0, 0)), gfnFillRgnWithBitmap(dc, rgn, src);
        gfnFillRectWithBitmap(dc, &all, src, SRCCOPY, 0, 0, 7, 7), gfnFillRectWith9CellsBitmap(dc, &all, src, SRCCOPY, 0, 0, 0, 0);
        gfnFillRectWith9CellsBitmap(dc, &all, self, 201, SRCCOPY, 0, 0, 0, 0), gfnFillRectWithTransparentBitmap(dc, &all, src, 0);
        gfnDraw3DFrame(dc, &all, 1), gfnEraseBkByParent(w.parent, w.child, dc, (RECT*)nullptr);
        gfnGetWindowBkBitmap(src.get(), w.parent, nullptr), DeleteObject(gfnGetWindowShownBitmap(w.parent, nullptr));
        DeleteObject(gfnGetScreenBitmap(&all)), CqBitmapHandler::g_fnDrawParentBk(w.child, dc);
        ctx.fnCreate(16, 16, dc);
        ctx.BitBlt(0, 0, 16, 16, dc, 0, 0, SRCCOPY, nullptr, &half, mask);
        ctx.FillRect(&all, src.get()), ctx.Draw3DLine(0, 0, 5), ctx.Draw3DRect(&all, 0, 0), ctx.DrawArrow(3, 3, 6, 0);
        ctx.TextOutW(0, 0, L"a", 1), ctx.Flush(0, 0, 0, 0);
    }));
    DeleteObject(mask);
    DeleteObject(rgn);
}

