// The button's life, settings, loaders, sizing and shape; bad input and GDI leaks.
#include "buttontest.h"
#include "qDraw.h"
#include <cstring>

using namespace buttontest;

namespace {

const RECT kCell = {200, 40, 220, 54};

// A 24-bit DIB of the window, rebuilt only when the size changes; destroying the window releases
// everything.
TEST(ButtonLife, WindowSizedBufferAndTheTextFormat) {
    ButtonProbe b;
    ASSERT_TRUE(b.make(L"Play", {200, 40, 237, 61}));
    EXPECT_EQ(112u * 21, b.m_bmiBuffer.biSizeImage);
    int rebuilt = -1;
    EXPECT_TRUE(b.fnRebuildDirtyBuffer(&rebuilt) == 1 && rebuilt == 0);
    b.MoveWindow(200, 40, 33, 17);
    EXPECT_TRUE(b.fnRebuildDirtyBuffer(&rebuilt) == 1 && rebuilt == 1 && b.m_bmiBuffer.biSizeImage == 100u * 17);
    b.DestroyWindow();
    EXPECT_TRUE(b.m_bInit == 0 && b.m_pMainImage == nullptr && b.m_hBufferDC == nullptr);

    const UINT single = DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS;
    const UINT multi = DT_WORDBREAK | DT_EXPANDTABS | DT_END_ELLIPSIS;
    const UINT rows[][2] = {{0, single | DT_VCENTER}, {BS_MULTILINE, multi | DT_VCENTER},
                            {BS_CENTER | BS_VCENTER, single | DT_CENTER | DT_VCENTER}, {BS_RIGHT | BS_TOP, single | DT_RIGHT},
                            {BS_LEFT | BS_BOTTOM, single | DT_BOTTOM}, {BS_MULTILINE | BS_RIGHT | BS_BOTTOM, multi | DT_RIGHT | DT_BOTTOM}};
    for (auto row : rows) {
        ButtonProbe t;
        ASSERT_TRUE(t.make(L"x", kCell, row[0]));
        EXPECT_EQ(row[1], t.fnEnumTextFormat()) << std::hex << "style 0x" << row[0];
    }
}

TEST(ButtonImages, LoadersFillTheRecordAndCutTheStrip) {
    ButtonProbe b;
    ASSERT_TRUE(b.make(L"", kCell));
    const tagCQBUTTON_BMP_ID& r = b.m_bmpID;
    // An absolute path; the strip is cut at (3, 14), 12 wide and four cells of 10 (to the edge).
    std::wstring abs = std::wstring(gfnGetProgramBitmapPath()) + L"test\\button\\cells.png";
    ASSERT_EQ(1, b.fnSetMainBitmapFile(abs.c_str(), L"", 3, 14, 12, 10, 1, 1));
    EXPECT_EQ(CSize(12, 40), b.m_pMainImage->fnGetSize());
    EXPECT_TRUE(r.bSystemFrame && r.bNineCellFace && r.nSrcX == 3 && r.nSrcY == 14 && r.nCellHeight == 10);
    ASSERT_EQ(1, b.useCells());   // another strip of the same file, by its left edge
    ASSERT_EQ(1, b.fnChangeBitmapIndex(5));
    EXPECT_TRUE(r.nSrcX == 5 && b.m_pMainImage->fnGetSize() == CSize(15, 56));
    // Resources: the same strip without alpha (its margin black); "FromRC" is no file to reload.
    ASSERT_EQ(1, b.fnSetMainBitmapID(GetModuleHandleW(nullptr), 301, 0, 0, 0, 20, 14, 0));
    b.fnDrawOneState(3);
    EXPECT_TRUE(screenPixel(b.m_hWnd, 8, 6) == kCellColours[3] && screenPixel(b.m_hWnd, 0, 0) == 0);
    EXPECT_EQ(0, b.fnChangeBitmapIndex(2));
    // The whole image as the strip: cells a quarter of its height, truncated.
    for (const wchar_t* file : {L"test\\button\\strip40x100.png", L"test\\button\\strip40x102.png"}) {
        ASSERT_EQ(1, b.fnSetDefaultImage(file, nullptr));
        EXPECT_TRUE(r.nCellWidth == 40 && r.nCellHeight == 25) << r.nCellHeight;
    }
    ASSERT_EQ(1, b.fnSetBackgroundBitmapFile(L"test\\button\\back.png", 1, 1, 3, 4));
    EXPECT_EQ(CSize(3, 4), b.m_pBackImage->fnGetSize());

    // A button given no image paints with "qDVDUser\CqButtonEx\Button.png" below the bitmap path.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + L"button_skin\\";
    for (const wchar_t* sub : {L"", L"qDVDUser", L"qDVDUser\\CqButtonEx"}) CreateDirectoryW((dir + sub).c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((std::wstring(gfnGetProgramBitmapPath()) + L"test\\button\\strip40x102.png").c_str(),
                          (dir + L"qDVDUser\\CqButtonEx\\Button.png").c_str(), FALSE));
    BitmapPathGuard path(dir);
    ButtonProbe d;
    ASSERT_TRUE(d.make(L"", {200, 40, 240, 65}));
    d.repaint();
    EXPECT_TRUE(d.m_bmpID.nCellWidth == 40 && d.m_bmpID.nCellHeight == 25 && screenPixel(d.m_hWnd, 20, 12) == kCellColours[0]);
    d.fnDrawOneState(2);
    EXPECT_EQ(kCellColours[2], screenPixel(d.m_hWnd, 20, 12));
}

// Refused input: a result of 0 and the record as it was; a strip that failed to load shows the
// parent's background only.
TEST(ButtonImages, BadInputIsRefused) {
    ButtonProbe b;
    ASSERT_TRUE(b.make(L"", kCell) && b.useCells() == 1);
    const tagCQBUTTON_BMP_ID before = b.m_bmpID;
    const std::wstring tooLong(300, L'a');
    std::pair<const char*, std::function<int()>> rows[] = {
        {"null file", [&] { return b.fnSetMainBitmapFile(nullptr, nullptr, 0, 0, 20, 14, 0, 0); }},
        {"zero cell height", [&] { return b.fnSetMainBitmapFile(L"test\\button\\cells.png", nullptr, 0, 0, 20, 0, 0, 0); }},
        {"negative cell width", [&] { return b.fnSetMainBitmapFile(L"test\\button\\cells.png", nullptr, 0, 0, -20, 14, 0, 0); }},
        {"name too long", [&] { return b.fnSetMainBitmapFile(tooLong.c_str(), nullptr, 0, 0, 20, 14, 0, 0); }},
        {"resource, zero height", [&] { return b.fnSetMainBitmapID(GetModuleHandleW(nullptr), 301, 0, 0, 0, 20, 0, 0); }},
        {"default, null", [&] { return b.fnSetDefaultImage(nullptr, nullptr); }},
        {"default, 3 pixels high", [&] { return b.fnSetDefaultImage(L"test\\button\\flat3.png", nullptr); }},
        {"background, null", [&] { return b.fnSetBackgroundBitmapFile(nullptr, 0, 0, 0, 0); }},
        {"background, too long", [&] { return b.fnSetBackgroundBitmapFile(tooLong.c_str(), 0, 0, 0, 0); }},
    };
    for (auto& row : rows)
        EXPECT_TRUE(row.second() == 0 && !std::memcmp(&before, &b.m_bmpID, sizeof before)) << row.first;
    EXPECT_EQ(0, b.fnSetMainBitmapFile(L"test\\button\\missing.png", nullptr, 0, 0, 20, 14, 0, 0));
    EXPECT_EQ(0, b.fnChangeBitmapIndex(0));
    b.repaint();
    EXPECT_TRUE(testutil::pixelsAre(Shot(b.m_hWnd), [&](int x, int y) { return parentUnder(b.m_hWnd, x, y); }));
}

// Without the library's string 6391 (its load fails) fnInit fails and changes nothing; Create then
// leaves a plain window.
TEST(ButtonImages, InitFailsWithoutItsColours) {
    ButtonProbe b;
    ASSERT_TRUE(b.CButton::Create(L"Play", WS_CHILD | WS_VISIBLE, kCell, &RecordingParent::get(), 9));
    static int(WINAPI * load)(HINSTANCE, UINT, LPWSTR, int);
    auto without = [](HINSTANCE i, UINT id, LPWSTR out, int n) WINAPI { return id == 6391 ? 0 : load(i, id, out, n); };
    load = (decltype(load))testutil::hookImport(L"qTrimUI.dll", "USER32.dll", "LoadStringW", (void*)+without);
    ButtonProbe created;
    const bool made = created.make(L"x", kCell);
    EXPECT_TRUE(b.fnInit(0) == 0 && b.m_bInit == 0 && b.m_pMainImage == nullptr && b.m_clrText[0] == 0);
    testutil::hookImport(L"qTrimUI.dll", "USER32.dll", "LoadStringW", (void*)load);
    EXPECT_TRUE(load && !made && created.IsWindow());
    EXPECT_EQ(1, b.fnInit(0));
}

// The region of the non-black pixels of the strip's GDI copy, placed at the first cell: for the
// test strip the body without its black pixel, the half-transparent column included.
TEST(ButtonShape, RegionIsTheOpaqueNonBlackPixelsOfTheFirstCell) {
    struct Row { int systemFrame, width, dx; } rows[] = {{0, 20, 0}, {1, 31, 5}};
    for (const Row& row : rows) {
        ButtonProbe b;
        ASSERT_TRUE(b.make(L"", {60, 190, 60 + row.width, 204}) && b.useCells(row.systemFrame) == 1);
        ASSERT_NE(0, b.fnSetWndRgnByMainBitmap());
        HRGN got = CreateRectRgn(0, 0, 0, 0), window = CreateRectRgn(0, 0, row.width, 14);
        ASSERT_NE(ERROR, GetWindowRgn(b.m_hWnd, got));
        CombineRgn(got, got, window, RGN_AND);
        HRGN want = CreateRectRgn(row.dx + 2, 2, row.dx + 18, 11), black = CreateRectRgn(row.dx + 4, 3, row.dx + 5, 4);
        CombineRgn(want, want, black, RGN_DIFF);
        EXPECT_TRUE(EqualRgn(got, want)) << "system frame " << row.systemFrame;
        for (HRGN r : {got, window, want, black}) DeleteObject(r);

        // A click on a cut-out corner is not the button's; one on the body is.
        RecordingParent& parent = RecordingParent::get();
        testutil::clickAt(b.m_hWnd, row.dx + 1, 1);
        pump(150);
        EXPECT_TRUE(parent.commands.empty());
        testutil::clickAt(b.m_hWnd, row.dx + 10, 6);
        EXPECT_TRUE(waitFor([&] { return parent.commands.size() == 1; }));
        moveAway();
    }
    ButtonProbe captioned;
    ASSERT_TRUE(captioned.make(L"Loop", kCell) && captioned.useCells() == 1);
    EXPECT_EQ(0, captioned.fnSetWndRgnByMainBitmap());
}

// Sized to the cell and the caption: cell + 4 + text wide, the taller of the cell and text + 1.
// Top-aligned, so the measure does not depend on the height the window had (Wine's DT_CALCRECT
// keeps a vertically centred line where it would be drawn).
TEST(ButtonSize, RealSizeFromCellAndCaption) {
    const UINT format = DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS;
    auto sizeOf = [](CWnd& w) { CRect r; w.GetWindowRect(&r); return r.Size(); };
    ButtonProbe b;
    ASSERT_TRUE(b.make(L"Set Out", {10, 200, 150, 240}, BS_TOP));
    CRect text(0, 0, GetSystemMetrics(SM_CXSCREEN), 40);
    ASSERT_EQ(1, gfnGetTextRect(&b, &text, L"Set Out", nullptr, format));
    // No image yet: the caption alone.
    ASSERT_NE(0, b.fnSetRealSize());
    EXPECT_EQ(text.Size(), sizeOf(b));

    const struct { int ch; const wchar_t* caption; CSize want; } rows[] = {{16, L"Set Out", CSize(16 + 4 + text.Width(), std::max(16, (int)text.Height() + 1))},
                {5, L"Set Out", CSize(16 + 4 + text.Width(), text.Height() + 1)}, {16, L"", CSize(16, 16)}};
    for (const auto& row : rows) {
        b.SetWindowText(row.caption);
        ASSERT_EQ(1, b.fnSetMainBitmapFile(L"test\\button\\flat.png", nullptr, 0, 0, 16, row.ch, 0, 0));
        ASSERT_NE(0, b.fnSetRealSize());
        EXPECT_EQ(row.want, sizeOf(b)) << row.ch << " '" << row.caption << "'";
    }
    // Refused: a system frame; cells without a file name; before fnInit.
    const CSize kept = sizeOf(b);
    ASSERT_EQ(1, b.fnSetMainBitmapFile(L"test\\button\\flat.png", nullptr, 0, 0, 16, 16, 1, 0));
    EXPECT_EQ(0, b.fnSetRealSize());
    b.m_bmpID.bSystemFrame = 0, b.m_bmpID.szMainFile[0] = 0;
    EXPECT_EQ(0, b.fnSetRealSize());
    EXPECT_EQ(kept, sizeOf(b));
    ButtonProbe raw;
    ASSERT_TRUE(raw.CButton::Create(L"x", WS_CHILD, kCell, &RecordingParent::get(), 8));
    EXPECT_EQ(0, raw.fnSetRealSize());
}

// Paint cycles through every drawing path (about eight paints a cycle), and bad calls, leave no
// GDI object behind.
TEST(ButtonLeak, PaintCyclesAndBadInputLeaveNoGdiObject) {
    RecordingParent& parent = RecordingParent::get();
    ButtonProbe plain, face, framed, back, check;
    ASSERT_TRUE(plain.make(L"", {10, 10, 30, 24}) && face.make(L"Play", {40, 10, 130, 40}) &&
                framed.make(L"Set In", {140, 10, 230, 40}, BS_FLAT) && back.make(L"", {240, 10, 270, 30}) &&
                check.CButton::Create(L"Loop", WS_CHILD | WS_VISIBLE, CRect(280, 10, 370, 40), &parent, 5));
    ASSERT_TRUE(check.fnInit(1) && plain.useCells() && back.useCells() &&
                face.fnSetMainBitmapFile(L"test\\button\\flat.png", nullptr, 0, 0, 30, 30, 0, 1) &&
                framed.fnSetMainBitmapFile(L"test\\button\\cells.png", nullptr, 0, 0, 20, 14, 1, 0) &&
                back.fnSetBackgroundBitmapFile(L"test\\button\\back.png", 0, 0, 0, 0));
    int cycle = 0;
    auto paintCycle = [&] {
        const int s = cycle++ % 5 - 1;   // automatic, then each forced state
        for (ButtonProbe* b : {&plain, &face, &framed, &back}) b->fnDrawOneState(s);
        check.SetCheck(cycle % 2);       // the reflected control-colour path
        face.fnMouseFlyBy(cycle % 2, 1);   // hover in and out, faces cached
        face.fnSetMainBitmapFile(L"test\\button\\flat.png", nullptr, 0, 0, 30, 30, 0, 1);   // drops them
        face.fnRemoveCache(cycle % 2);
        plain.fnSetMainBitmapFile(L"test\\button\\missing.png", nullptr, 0, 0, 20, 14, 0, 0);   // bad calls
        plain.fnSetDefaultImage(L"test\\button\\flat3.png", nullptr), plain.useCells();
        plain.fnSetWndRgnByMainBitmap(), face.fnSetRealSize();
        AfxDeleteTempMap();
    };
    for (int i = 0; i < 10; ++i) paintCycle();   // every state and check value once before counting
    EXPECT_EQ(0, testutil::gdiLeakOver(60, paintCycle));
    EXPECT_EQ(0, testutil::gdiLeakOver(20, [&] {
        ButtonProbe b, f;   // f's faces are cached when it goes
        b.make(L"", {10, 50, 30, 64}), f.make(L"Play", {40, 50, 130, 80});
        b.useCells(), f.fnSetMainBitmapFile(L"test\\button\\flat.png", nullptr, 0, 0, 30, 30, 0, 1);
        b.fnSetWndRgnByMainBitmap();
        b.repaint(), f.fnMouseFlyBy(1, 1), f.fnMouseFlyBy(0, 1);
        AfxDeleteTempMap();
    }));
}

}  // namespace
