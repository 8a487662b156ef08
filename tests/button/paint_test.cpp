// What the button shows on the screen over the parent's striped background: the state cells with
// the parent showing through, captions in their colours and offsets, the system frame.
#include "buttontest.h"
#include "qCutCFFont.h"
#include <memory>

using namespace buttontest;

namespace {

// Every state cell of the test strip, read back whole: margins and the half-transparent column
// show what lies behind (the parent, or a background image tiled from the button's corner). The
// states are forced but the disabled one: a hovering button disabled for real stops hovering, and
// shows its normal cell again once enabled.
TEST(ButtonPaint, EachStateCellOverTheParentAndOverABackgroundImage) {
    for (int row = 0; row < 5; ++row) {   // states 0 to 3, then the pressed cell over back.png
        const int state = row == 4 ? 1 : row;
        ButtonProbe b;
        ASSERT_TRUE(b.make(L"", {37, 23, 57, 37}) && b.useCells() == 1);   // one cell, at an odd place in the stripes
        std::function<COLORREF(int, int)> under = [&](int x, int y) { return parentUnder(b.m_hWnd, x, y); };
        if (row == 4) {
            ASSERT_EQ(1, b.fnSetBackgroundBitmapFile(L"test\\button\\back.png", 0, 0, 0, 0));
            under = [](int x, int y) {   // back.png: 7 x 5 of (30x mod 256, 90 + 20y, 180 - 10x)
                x %= 7, y %= 5;
                return RGB((x * 30) % 256, 90 + y * 20, 180 - x * 10);
            };
        }
        if (state == 2) b.m_bHover = 1, b.EnableWindow(FALSE);
        else b.fnDrawOneState(state);
        EXPECT_TRUE(b.m_bHover == 0 && testutil::pixelsNear(Shot(b.m_hWnd), [&](int x, int y) { return cellPixel(state, x, y, under(x, y)); }, 2))
            << "row " << row;
        if (state == 2) b.EnableWindow(TRUE);
        EXPECT_TRUE(state != 2 || screenPixel(b.m_hWnd, 8, 6) == kCellColours[0]);
    }
}

// A cell smaller than the window: at the left, centred vertically; with the system frame,
// centred both ways over a push frame, and a strip only two cells high falls back to its first
// cell for the states it lacks.
TEST(ButtonPaint, PlacementWithAndWithoutSystemFrame) {
    {
        ButtonProbe b;
        ASSERT_TRUE(b.make(L"", {40, 60, 80, 81}) && b.useCells() == 1);
        b.repaint();
        EXPECT_TRUE(testutil::pixelsNear(Shot(b.m_hWnd), [&](int x, int y) {
            const COLORREF bg = parentUnder(b.m_hWnd, x, y);
            return x < 20 && y >= 3 && y < 17 ? cellPixel(0, x, y - 3, bg) : bg;
        }, 2));
    }
    ButtonProbe b;
    ASSERT_TRUE(b.make(L"", {40, 60, 81, 90}));
    // Rows 28.. of the strip: its third and fourth cells, now the first and second.
    ASSERT_EQ(1, b.fnSetMainBitmapFile(L"test\\button\\cells.png", nullptr, 0, 28, 20, 14, 1, 0));
    const int cellX = (41 - 20) / 2, cellY = (30 - 14) / 2;
    const int drawn[4] = {2, 3, 2, 2};   // original cell shown for states 0..3
    for (int s = 0; s < 4; ++s) {
        b.fnDrawOneState(s);
        const Shot shot(b.m_hWnd);
        EXPECT_TRUE(shot.at(cellX + 8, cellY + 6) == kCellColours[drawn[s]] && shot.at(cellX + 4, cellY + 3) == 0) << s;
        // Outside the cell the frame is drawn, not the parent.
        EXPECT_TRUE(s ? shot.at(3, 15) != parentUnder(b.m_hWnd, 3, 15) : shot.at(3, 15) == GetSysColor(COLOR_BTNFACE)) << s;
    }
}

// The caption as the button should draw it: the face colour, then the shadow and the text in
// the default font, from 3 pixels in (plus 1, 1 when pressed), single line, centred vertically.
struct CaptionLook { COLORREF face, text, shadow; int dx, dy, shift; };   // shift: pressed, the text moves 1, 1

std::unique_ptr<testutil::Canvas> drawReference(int w, int h, const wchar_t* caption, const CaptionLook& look) {
    auto canvas = std::make_unique<testutil::Canvas>(w, h, look.face);
    const HDC dc = canvas->dc();
    CCutCFFont font;
    HGDIOBJ oldFont = SelectObject(dc, font.fnGetDefaultFont());
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_VCENTER;
    RECT t = {3 + look.shift, look.shift, w + look.shift, h + look.shift};
    RECT s = {t.left + look.dx, t.top + look.dy, t.right + look.dx, t.bottom + look.dy};
    if (look.dx || look.dy) SetTextColor(dc, look.shadow), DrawTextW(dc, caption, -1, &s, format);
    SetTextColor(dc, look.text);
    DrawTextW(dc, caption, -1, &t, format);
    SelectObject(dc, oldFont);
    return canvas;
}

// Captions over a nine-cell face of one flat colour per state: each state's colours and offsets,
// custom colours, and the disabled colours going back to the grey-string ones.
TEST(ButtonPaint, CaptionColoursAndShadowOffsets) {
    const COLORREF faces[4] = {RGB(210, 60, 20), RGB(20, 150, 90), RGB(70, 80, 200), RGB(240, 230, 120)};
    const int w = 96, h = 30;
    ButtonProbe b;
    ASSERT_TRUE(b.make(L"Set In", {150, 20, 150 + w, 20 + h}));
    ASSERT_EQ(1, b.fnSetMainBitmapFile(L"test\\button\\flat.png", nullptr, 0, 0, 30, 30, 0, 1));
    const int hoverDx = 3, hoverDy = 2, greyDx = 2, greyDy = -1;
    b.fnSetTextShadowOffSet(CqButtonEx::ButtonText_Hover, hoverDx, hoverDy);
    b.fnSetTextShadowOffSet(CqButtonEx::ButtonText_Disabled, greyDx, greyDy);
    b.fnSetTextShadowOffSet((CqButtonEx::StateType_ButtonText)2, 7, 40);   // changes nothing

    struct Row { const char* what; int state; std::function<void()> setup; CaptionLook look; } rows[] = {
        {"normal, string-table colours", 0, [] {}, {faces[0], RGB(0, 0, 0), 0, 0, 0, 0}},
        {"pressed", 1, [] {}, {faces[1], RGB(0, 0, 0), 0, 0, 0, 1}},
        {"hover, string-table colours", 3, [] {}, {faces[3], RGB(0, 0, 0), RGB(200, 200, 200), hoverDx, hoverDy, 0}},
        {"disabled, grey-string colours", 2, [] {}, {faces[2], RGB(128, 128, 128), RGB(255, 255, 255), greyDx, greyDy, 0}},
        {"normal, set colour", 0, [&] { b.fnSetTextColor(RGB(250, 240, 20), 0, 0, RGB(10, 60, 230), RGB(255, 0, 128), RGB(0, 120, 255), RGB(90, 0, 0)); },
         {faces[0], RGB(250, 240, 20), 0, 0, 0, 0}},
        {"hover, set colours", 3, [] {}, {faces[3], RGB(10, 60, 230), RGB(255, 0, 128), hoverDx, hoverDy, 0}},
        {"disabled, set colours", 2, [] {}, {faces[2], RGB(0, 120, 255), RGB(90, 0, 0), greyDx, greyDy, 0}},
        {"disabled, back to grey", 2, [&] { b.fnSetTextColor(0, 0, 0, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF); },
         {faces[2], RGB(128, 128, 128), RGB(255, 255, 255), greyDx, greyDy, 0}},
    };
    for (Row& row : rows) {
        row.setup();
        b.fnDrawOneState(row.state);
        const auto want = drawReference(w, h, L"Set In", row.look);
        EXPECT_TRUE(testutil::pixelsAre(Shot(b.m_hWnd), [&](int x, int y) { return want->at(x, y); })) << row.what;
    }
}

}  // namespace
