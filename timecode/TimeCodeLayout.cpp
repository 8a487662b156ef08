// Sprite layout of the timecode control: cell tables, sprite positions, background bands, and the
// two images opened in memory DCs on demand.
#include "qTimeCode.h"
#include "qBitmapLoad.h"

namespace {
struct Cell {
    int x, y, w, h;
};

const int kCells = 14;

// Standard skin: digits 8 x 13, small (frame) digits 7 x 13, buttons 13 x 9.
const Cell kStandardCells[kCells] = {
    {0, 0, 8, 13},   {8, 0, 8, 13},  {24, 0, 8, 13}, {32, 0, 8, 13}, {48, 0, 8, 13},
    {56, 0, 8, 13},  {69, 0, 7, 13}, {76, 0, 7, 13}, {88, -3, 13, 9}, {88, 7, 13, 9},
    {18, 0, 4, 13},  {41, 0, 4, 13}, {64, 0, 6, 13}, {0, 0, 8, 13},
};
// Compact skin: buttons 7 x 5; no separators and no connecting line.
const Cell kCompactCells[kCells] = {
    {2, 0, 8, 13},  {10, 0, 8, 13}, {20, 0, 8, 13}, {28, 0, 8, 13}, {40, 0, 8, 13},
    {48, 0, 8, 13}, {60, 0, 7, 13}, {67, 0, 7, 13}, {74, 2, 7, 5},  {74, 8, 7, 5},
    {0, 0, 0, 0},   {0, 0, 0, 0},   {0, 0, 0, 0},   {0, 0, 0, 0},
};

struct Skin {
    int buttonW, buttonH;
    int adjustableW, fixedW, height;   // background bands; the button grid starts at adjustableW
};
const Skin kStandard = {13, 9, 105, 90, 21};
const Skin kCompact = {7, 5, 85, 78, 16};

// Button grid: column 0 up, 1 down; rows normal, pressed, disabled, hover.
struct GridPlace {
    int column, row;
};
const GridPlace kButtonGrid[] = {
    {0, 0}, {1, 0},   // 13 up, 14 down
    {0, 1}, {1, 1},   // 15, 16 pressed
    {0, 3}, {1, 3},   // 17, 18 hover
    {0, 2}, {1, 2},   // 19, 20 disabled
};
const int kButtonSpritesRows = 4;

const wchar_t* const kDigitsFile = L"qDVDUser\\TimecodeCtrl\\Digits.png";
const wchar_t* const kBackgroundFiles[2][2] = {
    // [compact][adjustable]
    {L"qDVDUser\\TimecodeCtrl\\TimeTag1.png", L"qDVDUser\\TimecodeCtrl\\TimeTag0.png"},
    {L"qDVDUser\\TimecodeCtrl\\TimeTag3.png", L"qDVDUser\\TimecodeCtrl\\TimeTag2.png"},
};

// Closes one source: the bitmap goes back out of the DC, the DC is deleted, the bitmap stays.
void closeSource(HDC& dc, HGDIOBJ& old) {
    if (!dc) return;
    if (old) SelectObject(dc, old);
    old = nullptr;
    DeleteDC(dc);
    dc = nullptr;
}

// Opens one source on a fresh memory DC; `load` supplies the bitmap when none is held yet.
template <class Load>
int openSource(HDC target, HDC& dc, HGDIOBJ& old, HBITMAP& bitmap, Load load) {
    if (dc) {
        closeSource(dc, old);
        return 0;
    }
    dc = CreateCompatibleDC(target);
    if (!dc) return 0;
    if (!bitmap) bitmap = load();
    HGDIOBJ replaced = bitmap ? SelectObject(dc, bitmap) : nullptr;
    if (!replaced || replaced == HGDI_ERROR) {
        closeSource(dc, old);
        return 0;
    }
    old = replaced;
    return 1;
}
}  // namespace

CTimeCodeLayout::CTimeCodeLayout()
    : m_bInit(0),
      m_bAdjustable(0),
      m_b2ndBackground(0),
      m_bLongFormat(1),
      m_hSymbolDC(nullptr),
      m_hSymbolOld(nullptr),
      m_hDigits(nullptr),
      m_hBackgroundDC(nullptr),
      m_hBackgroundOld(nullptr),
      m_hBackground(nullptr) {}

// The background may have been loaded without fnInit (an erase before initialisation), so the
// destructor frees whatever is held.
CTimeCodeLayout::~CTimeCodeLayout() { fnRelease(); }

int CTimeCodeLayout::fnInit() {
    if (m_bInit) return 1;
    m_hDigits = gfnLoadBitmap(nullptr, kDigitsFile);
    if (!m_hDigits) return 0;
    m_bInit = 1;
    return 1;
}

int CTimeCodeLayout::fnUnInit() {
    if (!m_bInit) return 1;
    fnRelease();
    m_bInit = 0;
    return 1;
}

void CTimeCodeLayout::fnRelease() {
    closeSource(m_hSymbolDC, m_hSymbolOld);
    closeSource(m_hBackgroundDC, m_hBackgroundOld);
    if (m_hDigits) DeleteObject(m_hDigits);
    if (m_hBackground) DeleteObject(m_hBackground);
    m_hDigits = nullptr;
    m_hBackground = nullptr;
}

void CTimeCodeLayout::fnSetAdjustable(int adjustable) { m_bAdjustable = adjustable; }
void CTimeCodeLayout::fnSet2ndBackground(int compact) { m_b2ndBackground = compact; }
void CTimeCodeLayout::fnSetLongFormat(int longFormat) { m_bLongFormat = longFormat; }

int CTimeCodeLayout::fnOpenCompatibleSymbolSource(HDC target) {
    // The digits are loaded by fnInit only; an open before it fails.
    return openSource(target, m_hSymbolDC, m_hSymbolOld, m_hDigits, [] { return (HBITMAP) nullptr; });
}

void CTimeCodeLayout::fnCloseCompatibleSymbolSource() { closeSource(m_hSymbolDC, m_hSymbolOld); }

HDC CTimeCodeLayout::fnGetSymbolSource() { return m_hSymbolDC; }

int CTimeCodeLayout::fnOpenBackgroundSource(HDC target) {
    // The flags of this first open choose the image for the layout's whole life.
    return openSource(target, m_hBackgroundDC, m_hBackgroundOld, m_hBackground, [this] {
        return gfnLoadBitmap(nullptr, kBackgroundFiles[m_b2ndBackground ? 1 : 0][m_bAdjustable ? 1 : 0]);
    });
}

void CTimeCodeLayout::fnCloseBackgroundSource() { closeSource(m_hBackgroundDC, m_hBackgroundOld); }

HDC CTimeCodeLayout::fnGetBackgroundSource() { return m_hBackgroundDC; }

CRect CTimeCodeLayout::fnGetCellDrawRect(UTMTG_CELL cell) {
    if ((int)cell < 0 || (int)cell >= kCells) return CRect(0, 0, 0, 0);
    const Cell& c = (m_b2ndBackground ? kCompactCells : kStandardCells)[cell];
    return CRect(c.x, c.y, c.w, c.h);
}

CRect CTimeCodeLayout::fnGetSymbolRCRect(UTMTG_SYMBOL symbol, UTMTG_CELL cell) {
    const int s = symbol;
    // Frames: the small-digit row, glyphs 7 wide one pixel apart from (1, 15).
    if (cell == UTMTG_CELL_FRAME_TENS || cell == UTMTG_CELL_FRAME_ONES) return CRect(8 * s + 1, 15, 8 * s + 8, 28);
    // The large-digit row, glyphs 8 wide one pixel apart from (1, 1).
    if (cell == UTMTG_CELL_SEPARATOR1 || s < UTMTG_SYMBOL_UP) return CRect(9 * s + 1, 1, 9 * s + 9, 14);
    if (s > UTMTG_SYMBOL_DOWN_DISABLED) return CRect(0, 0, 0, 0);
    // Button sprites, beside the adjustable band of the background (and, for the connecting line,
    // at the same place in the digit image).
    const Skin& skin = m_b2ndBackground ? kCompact : kStandard;
    const GridPlace& g = kButtonGrid[s - UTMTG_SYMBOL_UP];
    return CRect(skin.adjustableW + g.column * skin.buttonW, g.row * skin.buttonH, skin.buttonW, skin.buttonH);
}

CRect CTimeCodeLayout::fnGetBackgroundRCRect() {
    const Skin& skin = m_b2ndBackground ? kCompact : kStandard;
    int width = m_bAdjustable ? skin.adjustableW : skin.fixedW;
    // The short band lies below the button sprite rows, or below the long band when there are none.
    int shortTop = m_bAdjustable ? kButtonSpritesRows * skin.buttonH : skin.height;
    int top = m_bLongFormat ? 0 : shortTop;
    return CRect(0, top, width, top + skin.height);
}

CRect CTimeCodeLayout::fnGetBackgroundDrawRect() {
    const Skin& skin = m_b2ndBackground ? kCompact : kStandard;
    return CRect(0, 0, m_bAdjustable ? skin.adjustableW : skin.fixedW, skin.height);
}
