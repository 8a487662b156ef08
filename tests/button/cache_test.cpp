// The composed face: a nine-cell face is drawn through GDI+ once per state and size and then by
// one system blend, with the same pixels; whatever feeds the picture makes it anew.
#include "buttontest.h"
#include <cstring>

using namespace buttontest;

namespace {
const wchar_t kSkin[] = L"qDVDUser\\CqButtonEx\\Button.png";   // soft alpha edges, a translucent cell

// Stands between the library and the system blend it looks up: counts the blends, or hides the
// blend so that faces are drawn piece by piece through GDI+ as without the cache.
struct BlendWatch {
    static inline int blends = 0, hide = 0;
    static inline FARPROC(WINAPI* realLookup)(HMODULE, LPCSTR) = nullptr, realBlend = nullptr;
    static BOOL WINAPI blend(HDC d, int x, int y, int w, int h, HDC s, int sx, int sy, int sw, int sh, BLENDFUNCTION f) {
        return ++blends, ((decltype(&blend))realBlend)(d, x, y, w, h, s, sx, sy, sw, sh, f);
    }
    static FARPROC WINAPI lookup(HMODULE m, LPCSTR name) {
        if (!HIWORD((ULONG_PTR)name) || strcmp(name, "AlphaBlend")) return realLookup(m, name);
        realBlend = realLookup(m, name);
        return hide ? nullptr : (FARPROC)blend;
    }
    BlendWatch() { realLookup = (decltype(realLookup))testutil::hookImport(L"qTrimUI.dll", "KERNEL32.dll", "GetProcAddress", (void*)lookup); }
    ~BlendWatch() { testutil::hookImport(L"qTrimUI.dll", "KERNEL32.dll", "GetProcAddress", (void*)realLookup); }
};

// A captioned nine-cell button of the default skin, dx whole stripe periods to the right.
struct Face : ButtonProbe {
    bool make(int dx = 0) { return ButtonProbe::make(L"Set Out", {24 + 12 * dx, 60, 121 + 12 * dx, 95}, BS_CENTER) && useSkin(); }
    bool useSkin() { return fnSetMainBitmapFile(kSkin, nullptr, 0, 0, 60, 27, 0, 1) == 1; }
};

// Every input of the picture, changed on a button whose faces are cached: its picture changes,
// equals a fresh button's with the setting (over the same stripes) and its own paint without the
// system blend (nine GDI+ pieces) pixel for pixel. The rows end in each of the four states; a face
// whose pieces overlap is drawn piece by piece (one blend of them would round differently).
TEST(ButtonFaceCache, EachChangeGivesThePictureOfAFreshButtonAndOfThePieces) {
    const struct { const char* what; std::function<void(Face&)> change; int blends; } rows[] = {   // blends: 1 for a cached face
        {"hover to normal", [](Face& b) { b.fnMouseFlyBy(0, 1); }, 1},
        {"forced pressed", [](Face& b) { b.fnDrawOneState(1); }, 1},
        {"disabled", [](Face& b) { b.EnableWindow(FALSE); }, 1},
        {"skin reloaded, 2 rows lower", [](Face& b) { b.fnSetMainBitmapFile(kSkin, nullptr, 0, 2, 60, 27, 0, 1); }, 1},
        {"bitmap index", [](Face& b) { b.fnChangeBitmapIndex(1); }, 1},
        {"size", [](Face& b) { b.SetWindowPos(nullptr, 0, 0, 131, 30, SWP_NOMOVE | SWP_NOZORDER); }, 1},
        {"small size, pieces overlap", [](Face& b) { b.SetWindowPos(nullptr, 0, 0, 31, 13, SWP_NOMOVE | SWP_NOZORDER); }, 0},
        {"caption", [](Face& b) { b.SetWindowText(L"Mark In"); }, 1},
        {"colours", [](Face& b) { b.fnSetTextColor(RGB(250, 40, 20), 0, 0, RGB(20, 60, 240), RGB(255, 0, 128), 0, 0); }, 1},
        {"shadow offset", [](Face& b) { b.fnSetTextShadowOffSet(CqButtonEx::ButtonText_Hover, 3, -2); }, 1},
        {"background image", [](Face& b) { b.fnSetBackgroundBitmapFile(L"test\\button\\back.png", 0, 0, 0, 0); }, 0},
    };
    BlendWatch watch;
    for (const auto& row : rows) {
        Face b, fresh;
        ASSERT_TRUE(b.make() && fresh.make(13));
        for (int s : {0, 1, 2, 3, -1}) b.fnDrawOneState(s);   // every state cached, back to automatic
        b.fnMouseFlyBy(1, 1), fresh.fnMouseFlyBy(1, 0);
        const Shot before(b.m_hWnd);
        for (Face* f : {&b, &fresh}) row.change(*f), f->repaint();
        BlendWatch::blends = 0, b.repaint();
        EXPECT_EQ(row.blends, BlendWatch::blends) << row.what;
        const Shot after(b.m_hWnd), want(fresh.m_hWnd);
        BlendWatch::hide = 1, b.repaint(), BlendWatch::hide = 0;
        EXPECT_FALSE(testutil::pixelsAre(after, [&](int x, int y) { return before.at(x, y); })) << row.what;
        EXPECT_TRUE(testutil::pixelsAre(after, [&](int x, int y) { return want.at(x, y); })) << row.what;
        EXPECT_TRUE(testutil::pixelsAre(Shot(b.m_hWnd), [&](int x, int y) { return after.at(x, y); })) << row.what;
    }
}

}  // namespace
