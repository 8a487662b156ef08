// Background capture through WM_ERASEBKGND from real windows, screen capture, window placement.
#include <gtest/gtest.h>
#include "qDraw.h"
#include "qBitmapHandler.h"
#include "qBitmapLoad.h"
#include "testutil.h"
#include "tests/drawing/drawtest.h"

using drawtest::coordColour;
using testutil::Canvas;

namespace {
const COLORREF kSentinel = RGB(1, 2, 3);

// Parents erase with a pattern whose every pixel names its client coordinates.
LRESULT CALLBACK patternProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) {
        static drawtest::Dib pattern(300, 200, coordColour);
        HDC mem = CreateCompatibleDC((HDC)wp);
        HGDIOBJ old = SelectObject(mem, pattern.get());
        BitBlt((HDC)wp, 0, 0, 300, 200, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        return 1;
    }
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

// Children paint nothing of their own.
LRESULT CALLBACK plainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcW(w, msg, wp, lp);
}

void registerClasses() {
    static bool done = false;
    if (done) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = patternProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DrawingTestPattern";
    RegisterClassW(&wc);
    wc.lpfnWndProc = plainProc;
    wc.lpszClassName = L"DrawingTestPlain";
    RegisterClassW(&wc);
    done = true;
}

// One 200 x 150 pattern parent at (60, 40) on the screen for the whole program: hiding or destroying
// a visible top-level window costs Wine two seconds without a window manager.
HWND sharedParent() {
    static HWND parent = nullptr;
    if (!parent) {
        registerClasses();
        parent = CreateWindowExW(WS_EX_TOPMOST, L"DrawingTestPattern", L"", WS_POPUP | WS_VISIBLE, 60, 40, 200,
                                 150, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(parent);
    }
    return parent;
}

// The shared parent with a child of its own for one test.
struct Windows {
    HWND parent = nullptr, child = nullptr;
    Windows(RECT childRect, DWORD childStyle = 0, const wchar_t* childClass = L"DrawingTestPlain") {
        parent = sharedParent();
        child = CreateWindowExW(0, childClass, L"", WS_CHILD | WS_VISIBLE | childStyle, childRect.left,
                                childRect.top, childRect.right - childRect.left, childRect.bottom - childRect.top,
                                parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        RedrawWindow(parent, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        testutil::pumpMessages(20);
    }
    ~Windows() { DestroyWindow(child); }
};

COLORREF pixelOf(HBITMAP bitmap, int x, int y) {
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    COLORREF c = GetPixel(mem, x, y);
    SelectObject(mem, old);
    DeleteDC(mem);
    return c;
}

SIZE sizeOf(HBITMAP bitmap) {
    SIZE s = {};
    gfnGetBitmapSize(bitmap, &s);
    return s;
}
}  // namespace

TEST(Capture, ParentBackgroundLinesUpWithTheChild) {
    Windows w({2, 2, 32, 22});
    Canvas dc(40, 30, kSentinel);
    ASSERT_NE(0, gfnEraseBkByParent(w.parent, w.child, dc.dc()));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(x < 30 && y < 20 ? coordColour(2 + x, 2 + y) : kSentinel, dc.at(x, y)) << x << "," << y;
    // The DC's origin is back and it has no clip region.
    POINT org;
    GetViewportOrgEx(dc.dc(), &org);
    EXPECT_EQ(0, org.x);
    EXPECT_EQ(0, org.y);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(0, GetClipRgn(dc.dc(), probe));
    DeleteObject(probe);
    EXPECT_EQ(0, gfnEraseBkByParent(nullptr, w.child, dc.dc()));
    EXPECT_EQ(0, gfnEraseBkByParent(w.parent, nullptr, dc.dc()));
}

TEST(Capture, PartOfABorderedChildsClientArea) {
    Windows w({10, 20, 60, 60}, WS_BORDER);
    POINT client = {0, 0};
    MapWindowPoints(w.child, w.parent, &client, 1);
    ASSERT_EQ(11, client.x);   // one-pixel border
    Canvas dc(60, 50, kSentinel);
    RECT part = {3, 4, 9, 7};
    ASSERT_NE(0, gfnEraseBkByParent(w.parent, w.child, dc.dc(), &part));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) {
            POINT p = {x, y};
            COLORREF want = PtInRect(&part, p) ? coordColour(client.x + x, client.y + y) : kSentinel;
            ASSERT_EQ(want, dc.at(x, y)) << x << "," << y;
        }
    // A null part is the whole client area (48 x 38).
    dc.fill(kSentinel);
    ASSERT_NE(0, gfnEraseBkByParent(w.parent, w.child, dc.dc(), (RECT*)nullptr));
    EXPECT_EQ(coordColour(client.x + 47, client.y + 37), dc.at(47, 37));
    EXPECT_EQ(kSentinel, dc.at(48, 37));
}

TEST(Capture, ErasingOnTheChildsOwnDC) {
    Windows w({5, 6, 45, 36});
    RECT part = {-5, 2, 10, 100};   // cut to the client area: (0, 2, 10, 30)
    ASSERT_NE(0, gfnEraseBkByParent(w.parent, w.child, &part));
    HDC dc = GetDC(w.child);
    EXPECT_EQ(coordColour(5 + 0, 6 + 2), GetPixel(dc, 0, 2));
    EXPECT_EQ(coordColour(5 + 9, 6 + 29), GetPixel(dc, 9, 29));
    ReleaseDC(w.child, dc);
}

TEST(Capture, WindowBackgroundIntoAGivenBitmapFillsOnlyTheClientCorner) {
    Windows w({5, 5, 105, 55}, 0, L"DrawingTestPattern");
    HWND win = w.child;   // client area 100 x 50, erased with the pattern in its own coordinates
    drawtest::Dib target(120, 70, kSentinel);
    ASSERT_NE(0, gfnGetWindowBkBitmap(target.get(), win, nullptr));
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(x < 100 && y < 50 ? coordColour(x, y) : kSentinel, target.at(x, y)) << x << "," << y;
    // A rectangle: its top-left lands at (0, 0).
    RECT r = {10, 5, 30, 25};
    ASSERT_NE(0, gfnGetWindowBkBitmap(target.get(), win, &r));
    EXPECT_EQ(coordColour(10, 5), target.at(0, 0));
    EXPECT_EQ(coordColour(29, 24), target.at(19, 19));
    EXPECT_EQ(coordColour(20, 0), target.at(20, 0));   // left from the first capture
    EXPECT_EQ(0, gfnGetWindowBkBitmap(target.get(), nullptr, nullptr));
    EXPECT_EQ(0, gfnGetWindowBkBitmap((HBITMAP) nullptr, win, nullptr));
}

TEST(Capture, NewBitmapsOfTheBackground) {
    Windows w({20, 10, 50, 30});
    void* gdiplus = nullptr;
    ASSERT_EQ(0, gfnGDIPlusLock(&gdiplus));
    RECT r = {4, 3, 14, 9};
    HBITMAP bk = gfnGetWindowBkBitmap(w.parent, &r);
    ASSERT_NE(nullptr, bk);
    EXPECT_EQ(10, sizeOf(bk).cx);
    EXPECT_EQ(6, sizeOf(bk).cy);
    EXPECT_EQ(coordColour(4, 3), pixelOf(bk, 0, 0));
    EXPECT_EQ(coordColour(13, 8), pixelOf(bk, 9, 5));
    DeleteObject(bk);
    // The parent's background behind the child.
    HBITMAP behind = gfnGetWindowBkBitmap(w.parent, w.child);
    ASSERT_NE(nullptr, behind);
    EXPECT_EQ(30, sizeOf(behind).cx);
    EXPECT_EQ(20, sizeOf(behind).cy);
    EXPECT_EQ(coordColour(20, 10), pixelOf(behind, 0, 0));
    EXPECT_EQ(coordColour(49, 29), pixelOf(behind, 29, 19));
    DeleteObject(behind);
    gfnGDIPlusUnlock(&gdiplus);
    EXPECT_EQ(nullptr, gfnGetWindowBkBitmap((HWND) nullptr, (RECT*)nullptr));
    EXPECT_EQ(nullptr, gfnGetWindowBkBitmap(w.parent, (HWND) nullptr));

    // What the window shows of its background.
    HBITMAP shown = gfnGetWindowShownBitmap(w.parent, &r);
    ASSERT_NE(nullptr, shown);
    EXPECT_EQ(10, sizeOf(shown).cx);
    EXPECT_EQ(coordColour(4, 3), pixelOf(shown, 0, 0));
    EXPECT_EQ(coordColour(13, 8), pixelOf(shown, 9, 5));
    DeleteObject(shown);
    shown = gfnGetWindowShownBitmap(w.parent, nullptr);
    EXPECT_EQ(200, sizeOf(shown).cx);
    EXPECT_EQ(150, sizeOf(shown).cy);
    DeleteObject(shown);
    EXPECT_EQ(nullptr, gfnGetWindowShownBitmap(nullptr, nullptr));
}

TEST(Capture, SharedBitmapHoldsTheParentBackground) {
    Windows w({30, 40, 70, 60});
    Canvas dest(50, 30, kSentinel);
    CqBitmapHandler::g_fnDrawParentBk(w.child, dest.dc());
    EXPECT_EQ(coordColour(30, 40), dest.at(0, 0));
    EXPECT_EQ(coordColour(69, 59), dest.at(39, 19));
    EXPECT_EQ(kSentinel, dest.at(40, 0));

    CqBitmapHandler::g_fnGetWindowBkBitmap(w.parent, w.child);
    HDC shared = CqBitmapHandler::g_fnGetDC();
    EXPECT_EQ(coordColour(31, 41), GetPixel(shared, 1, 1));
    CqBitmapHandler::g_fnReleaseDC();

    RECT r = {100, 100, 110, 120};
    CqBitmapHandler::g_fnGetWindowBkBitmap(w.parent, &r);
    shared = CqBitmapHandler::g_fnGetDC();
    EXPECT_EQ(coordColour(100, 100), GetPixel(shared, 0, 0));
    EXPECT_EQ(coordColour(109, 119), GetPixel(shared, 9, 19));
    CqBitmapHandler::g_fnReleaseDC();
}

TEST(Capture, ScreenRectangles) {
    // The shared parent shows the pattern at (60, 40) of the screen.
    Windows w({0, 0, 1, 1});
    RECT r = {70, 45, 90, 55};
    HBITMAP shot = gfnGetScreenBitmap(&r);
    ASSERT_NE(nullptr, shot);
    EXPECT_EQ(20, sizeOf(shot).cx);
    EXPECT_EQ(10, sizeOf(shot).cy);
    EXPECT_EQ(coordColour(10, 5), pixelOf(shot, 0, 0));
    EXPECT_EQ(coordColour(29, 14), pixelOf(shot, 19, 9));
    DeleteObject(shot);

    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    shot = gfnGetScreenBitmap(nullptr);
    EXPECT_EQ(cx, sizeOf(shot).cx);
    EXPECT_EQ(cy, sizeOf(shot).cy);
    DeleteObject(shot);
    // Off-screen parts are left out.
    RECT partly = {-10, -5, 20, 30};
    shot = gfnGetScreenBitmap(&partly);
    EXPECT_EQ(20, sizeOf(shot).cx);
    EXPECT_EQ(30, sizeOf(shot).cy);
    DeleteObject(shot);
    RECT beyond = {cx - 10, cy - 4, cx + 50, cy + 50};
    shot = gfnGetScreenBitmap(&beyond);
    EXPECT_EQ(10, sizeOf(shot).cx);
    EXPECT_EQ(4, sizeOf(shot).cy);
    DeleteObject(shot);
}

TEST(Capture, CoverByWindowsAboveInTheSiblingChain) {
    Windows w({10, 10, 60, 60});
    HWND above = CreateWindowExW(0, L"DrawingTestPlain", L"", WS_CHILD | WS_VISIBLE, 40, 30, 50, 50, w.parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT out = {1, 1, 1, 1};
    EXPECT_EQ(0, gfnIsWindowCoveredByAnother(above, &out));
    EXPECT_TRUE(IsRectEmpty(&out));
    ASSERT_NE(0, gfnIsWindowCoveredByAnother(w.child, &out));
    // The overlap (40, 30, 60, 60) in the parent is at screen (100, 70, 120, 100).
    EXPECT_EQ(100, out.left);
    EXPECT_EQ(70, out.top);
    EXPECT_EQ(120, out.right);
    EXPECT_EQ(100, out.bottom);
    EXPECT_NE(0, gfnIsWindowCoveredByAnother(w.child, nullptr));
    ShowWindow(above, SW_HIDE);
    EXPECT_EQ(0, gfnIsWindowCoveredByAnother(w.child, &out));
    EXPECT_EQ(0, gfnIsWindowCoveredByAnother(nullptr, &out));
    DestroyWindow(above);
}

TEST(Capture, MoveByOffset) {
    Windows w({10, 12, 40, 40});
    auto position = [&] {
        RECT r;
        GetWindowRect(w.child, &r);
        MapWindowPoints(nullptr, w.parent, (POINT*)&r, 2);
        return r;
    };
    gfnMoveWindowByOffset(w.parent, w.child, 0, 0);
    EXPECT_EQ(10, position().left);
    EXPECT_EQ(12, position().top);
    gfnMoveWindowByOffset(w.parent, w.child, 5, -3);
    EXPECT_EQ(15, position().left);
    EXPECT_EQ(9, position().top);
    EXPECT_EQ(45, position().right);   // size kept
}

TEST(Capture, NoGdiObjectOutlivesACapture) {
    Windows w({2, 2, 32, 22});
    Canvas dc(40, 30);
    drawtest::Dib target(50, 50);
    EXPECT_EQ(0, drawtest::gdiLeakOver(5, [&] {
                  gfnEraseBkByParent(w.parent, w.child, dc.dc());
                  gfnEraseBkByParent(w.parent, w.child, dc.dc(), (RECT*)nullptr);
                  gfnGetWindowBkBitmap(target.get(), w.parent, nullptr);
                  DeleteObject(gfnGetWindowShownBitmap(w.parent, nullptr));
                  RECT r = {0, 0, 10, 10};
                  DeleteObject(gfnGetScreenBitmap(&r));
                  CqBitmapHandler::g_fnDrawParentBk(w.child, dc.dc());
              }));
}
