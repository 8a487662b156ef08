// The sprite layout: cell tables, sprite rectangles, background bands, and the two sources.
#include <gtest/gtest.h>
#include "tcprobe.h"
#include "qModule.h"
#include "qBitmapLoad.h"
#include <string>

namespace {
struct XYWH {
    int x, y, w, h;
};

void expectXYWH(const CRect& r, const XYWH& e) {
    EXPECT_EQ(e.x, r.left);
    EXPECT_EQ(e.y, r.top);
    EXPECT_EQ(e.w, r.right);
    EXPECT_EQ(e.h, r.bottom);
}

SIZE sizeOf(HBITMAP bitmap) {
    SIZE s = {};
    gfnGetBitmapSize(bitmap, &s);
    return s;
}

// The bitmap path pointed at an empty folder for the guard's life.
struct EmptyBitmapPath {
    std::wstring saved = gfnGetProgramBitmapPath();
    EmptyBitmapPath() {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        std::wstring empty = std::wstring(dir) + L"tc_empty_skins\\";
        CreateDirectoryW(empty.c_str(), nullptr);
        gfnChangeProgramBitmapPath(empty.c_str());
    }
    ~EmptyBitmapPath() { gfnChangeProgramBitmapPath(saved.c_str()); }
};
}  // namespace

TEST(TimeCodeLayout, SymbolRectangles) {
    LayoutProbe l;
    for (int s = 0; s <= 9; ++s) {
        // Large digits in every non-frame digit cell; small ones in the frame cells.
        for (int cell : {0, 1, 2, 3, 4, 5, 10}) EXPECT_EQ(CRect(9 * s + 1, 1, 9 * s + 9, 14), l.fnGetSymbolRCRect((UTMTG_SYMBOL)s, (UTMTG_CELL)cell));
        for (int cell : {6, 7}) EXPECT_EQ(CRect(8 * s + 1, 15, 8 * s + 8, 28), l.fnGetSymbolRCRect((UTMTG_SYMBOL)s, (UTMTG_CELL)cell));
    }
    EXPECT_EQ(CPoint(64, 1), l.fnGetSymbolRCRect(UTMTG_SYMBOL_7, UTMTG_CELL_MINUTE_ONES).TopLeft());
    EXPECT_EQ(CPoint(57, 15), l.fnGetSymbolRCRect(UTMTG_SYMBOL_7, UTMTG_CELL_FRAME_ONES).TopLeft());
    // Symbols 10 to 12 give the digit-row places; any symbol in cell 10 too.
    EXPECT_EQ(CRect(100, 1, 108, 14), l.fnGetSymbolRCRect((UTMTG_SYMBOL)11, UTMTG_CELL_UP));
    EXPECT_EQ(CRect(118, 1, 126, 14), l.fnGetSymbolRCRect(UTMTG_SYMBOL_UP, UTMTG_CELL_SEPARATOR1));
    EXPECT_EQ(CRect(8 * 13 + 1, 15, 8 * 13 + 8, 28), l.fnGetSymbolRCRect(UTMTG_SYMBOL_UP, UTMTG_CELL_FRAME_TENS));

    const struct {
        int symbol;
        XYWH standard, compact;
    } grid[] = {
        {13, {105, 0, 13, 9}, {85, 0, 7, 5}},   {14, {118, 0, 13, 9}, {92, 0, 7, 5}},
        {15, {105, 9, 13, 9}, {85, 5, 7, 5}},   {16, {118, 9, 13, 9}, {92, 5, 7, 5}},
        {19, {105, 18, 13, 9}, {85, 10, 7, 5}}, {20, {118, 18, 13, 9}, {92, 10, 7, 5}},
        {17, {105, 27, 13, 9}, {85, 15, 7, 5}}, {18, {118, 27, 13, 9}, {92, 15, 7, 5}},
    };
    for (const auto& g : grid) {
        SCOPED_TRACE(g.symbol);
        for (int cell : {8, 9, 11, 13}) {
            l.fnSet2ndBackground(0);
            expectXYWH(l.fnGetSymbolRCRect((UTMTG_SYMBOL)g.symbol, (UTMTG_CELL)cell), g.standard);
            l.fnSet2ndBackground(1);
            expectXYWH(l.fnGetSymbolRCRect((UTMTG_SYMBOL)g.symbol, (UTMTG_CELL)cell), g.compact);
        }
    }
    l.fnSet2ndBackground(0);
    EXPECT_TRUE(l.fnGetSymbolRCRect((UTMTG_SYMBOL)21, UTMTG_CELL_UP).IsRectNull());
}

TEST(TimeCodeLayout, BackgroundBands) {
    const struct {
        int compact, adjustable, longFormat;
        CRect source, target;
    } cases[] = {
        {0, 1, 1, CRect(0, 0, 105, 21), CRect(0, 0, 105, 21)},  {0, 1, 0, CRect(0, 36, 105, 57), CRect(0, 0, 105, 21)},
        {0, 0, 1, CRect(0, 0, 90, 21), CRect(0, 0, 90, 21)},    {0, 0, 0, CRect(0, 21, 90, 42), CRect(0, 0, 90, 21)},
        {1, 1, 1, CRect(0, 0, 85, 16), CRect(0, 0, 85, 16)},    {1, 1, 0, CRect(0, 20, 85, 36), CRect(0, 0, 85, 16)},
        {1, 0, 1, CRect(0, 0, 78, 16), CRect(0, 0, 78, 16)},    {1, 0, 0, CRect(0, 16, 78, 32), CRect(0, 0, 78, 16)},
    };
    LayoutProbe l;
    for (const auto& c : cases) {
        l.fnSet2ndBackground(c.compact);
        l.fnSetAdjustable(c.adjustable);
        l.fnSetLongFormat(c.longFormat);
        EXPECT_EQ(c.source, l.fnGetBackgroundRCRect());
        EXPECT_EQ(c.target, l.fnGetBackgroundDrawRect());
    }
}

// Every sprite and band the layout can ask for lies inside the generated images.
TEST(TimeCodeLayout, SkinImagesHoldEveryRectangle) {
    std::wstring dir = std::wstring(gfnGetProgramBitmapPath()) + L"qDVDUser\\TimecodeCtrl\\";
    HBITMAP digits = gfnLoadBitmap(dir.c_str(), L"Digits.png");
    ASSERT_NE(nullptr, digits);
    SIZE d = sizeOf(digits);
    EXPECT_GE(d.cx, 105 + 8);   // the connecting line
    EXPECT_GE(d.cy, 28);
    DeleteObject(digits);
    const struct {
        const wchar_t* file;
        int compact, adjustable;
    } images[] = {{L"TimeTag0.png", 0, 1}, {L"TimeTag1.png", 0, 0}, {L"TimeTag2.png", 1, 1}, {L"TimeTag3.png", 1, 0}};
    for (const auto& img : images) {
        SCOPED_TRACE(img.file);
        HBITMAP bmp = gfnLoadBitmap(dir.c_str(), img.file);
        ASSERT_NE(nullptr, bmp);
        SIZE s = sizeOf(bmp);
        DeleteObject(bmp);
        LayoutProbe l;
        l.fnSet2ndBackground(img.compact);
        l.fnSetAdjustable(img.adjustable);
        for (int longFormat : {0, 1}) {
            l.fnSetLongFormat(longFormat);
            CRect band = l.fnGetBackgroundRCRect();
            EXPECT_LE(band.right, s.cx);
            EXPECT_LE(band.bottom, s.cy);
        }
        // Disabled buttons are drawn even in the fixed skins; all eight sprites fit.
        for (int sym = 13; sym <= 20; ++sym) {
            CRect r = l.fnGetSymbolRCRect((UTMTG_SYMBOL)sym, UTMTG_CELL_UP);
            EXPECT_LE(r.left + r.right, s.cx);
            EXPECT_LE(r.top + r.bottom, s.cy);
        }
    }
}

TEST(TimeCodeLayout, SymbolSourceNeedsInitAndASecondOpenClosesAndFails) {
    HDC screen = GetDC(nullptr);
    LayoutProbe l;
    EXPECT_EQ(0, l.fnOpenCompatibleSymbolSource(screen));   // no digits before fnInit
    EXPECT_EQ(nullptr, l.fnGetSymbolSource());
    ASSERT_EQ(1, l.fnInit());
    EXPECT_EQ(1, l.fnInit());
    HBITMAP digits = l.m_hDigits;
    ASSERT_EQ(1, l.fnOpenCompatibleSymbolSource(screen));
    HDC source = l.fnGetSymbolSource();
    ASSERT_NE(nullptr, source);
    EXPECT_EQ(digits, (HBITMAP)GetCurrentObject(source, OBJ_BITMAP));
    EXPECT_EQ(0, l.fnOpenCompatibleSymbolSource(screen));
    EXPECT_EQ(nullptr, l.fnGetSymbolSource());
    EXPECT_EQ(digits, l.m_hDigits);   // the bitmap stays loaded
    EXPECT_EQ(1, l.fnOpenCompatibleSymbolSource(screen));
    l.fnCloseCompatibleSymbolSource();
    l.fnCloseCompatibleSymbolSource();   // closing twice is harmless
    EXPECT_EQ(nullptr, l.fnGetSymbolSource());
    EXPECT_EQ(1, l.fnUnInit());
    EXPECT_EQ(nullptr, l.m_hDigits);
    EXPECT_EQ(0, l.m_bInit);
    EXPECT_EQ(1, l.fnUnInit());
    ReleaseDC(nullptr, screen);
}

TEST(TimeCodeLayout, BackgroundLoadsLazilyAndKeepsTheFirstImageUntilUnInit) {
    HDC screen = GetDC(nullptr);
    LayoutProbe l;
    // Before fnInit the constructor's flags choose the fixed standard image, 131 x 42.
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));
    HBITMAP first = l.m_hBackground;
    EXPECT_EQ(131, sizeOf(first).cx);
    EXPECT_EQ(42, sizeOf(first).cy);
    EXPECT_EQ(0, l.fnOpenBackgroundSource(screen));   // second open closes and fails
    EXPECT_EQ(nullptr, l.fnGetBackgroundSource());
    // New flags change the rectangles at once, the image not.
    l.fnSetAdjustable(1);
    l.fnSet2ndBackground(1);
    EXPECT_EQ(CRect(0, 0, 85, 16), l.fnGetBackgroundRCRect());
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));
    EXPECT_EQ(first, l.m_hBackground);
    EXPECT_EQ(first, (HBITMAP)GetCurrentObject(l.fnGetBackgroundSource(), OBJ_BITMAP));
    l.fnCloseBackgroundSource();
    // fnUnInit of an uninitialised layout keeps everything; after fnInit it frees it.
    EXPECT_EQ(1, l.fnUnInit());
    EXPECT_EQ(first, l.m_hBackground);
    ASSERT_EQ(1, l.fnInit());
    EXPECT_EQ(1, l.fnUnInit());
    EXPECT_EQ(nullptr, l.m_hBackground);
    ASSERT_EQ(1, l.fnOpenBackgroundSource(screen));   // now the compact adjustable image
    EXPECT_EQ(99, sizeOf(l.m_hBackground).cx);
    EXPECT_EQ(36, sizeOf(l.m_hBackground).cy);
    l.fnCloseBackgroundSource();
    ReleaseDC(nullptr, screen);
}

TEST(TimeCodeLayout, MissingImagesFailWithEverySourceClosed) {
    EmptyBitmapPath empty;
    HDC screen = GetDC(nullptr);
    LayoutProbe l;
    EXPECT_EQ(0, l.fnInit());
    EXPECT_EQ(0, l.m_bInit);
    EXPECT_EQ(0, l.fnOpenBackgroundSource(screen));
    EXPECT_EQ(nullptr, l.fnGetBackgroundSource());
    EXPECT_EQ(nullptr, l.m_hBackground);
    EXPECT_EQ(0, l.fnOpenCompatibleSymbolSource(screen));
    EXPECT_EQ(nullptr, l.fnGetSymbolSource());
    ReleaseDC(nullptr, screen);
}
