// The composed face: a nine-cell face is drawn through GDI+ once per state and size and then by
// one system blend, with the same pixels; whatever feeds the picture makes it anew.
#include "buttontest.h"
#include <cstring>
#include <memory>

using namespace buttontest;

namespace {
const wchar_t kSkin[] = L"qDVDUser\\CqButtonEx\\Button.png";   // soft alpha edges, a translucent cell

// Watches the library's GDI+ image draws and can hide the system blend from it, so that its faces
// are drawn piece by piece as without the cache.
struct FaceWatch {
    static inline int draws = 0;
    static inline bool hideBlend = false;
    static inline void* realDraw = nullptr;
    static inline FARPROC(WINAPI* realLookup)(HMODULE, LPCSTR) = nullptr;
    static int WINAPI countDraw(void* g, void* i, int x, int y, int w, int h, int sx, int sy, int sw, int sh, int u,
                                void* a, void* cb, void* cd) {
        ++draws;
        using Fn = int(WINAPI*)(void*, void*, int, int, int, int, int, int, int, int, int, void*, void*, void*);
        return ((Fn)realDraw)(g, i, x, y, w, h, sx, sy, sw, sh, u, a, cb, cd);
    }
    static FARPROC WINAPI lookup(HMODULE m, LPCSTR name) {
        return hideBlend && HIWORD((ULONG_PTR)name) && !strcmp(name, "AlphaBlend") ? nullptr : realLookup(m, name);
    }
    FaceWatch() {
        realDraw = testutil::hookImport(L"qTrimUI.dll", "gdiplus.dll", "GdipDrawImageRectRectI", (void*)countDraw);
        realLookup = (decltype(realLookup))testutil::hookImport(L"qTrimUI.dll", "KERNEL32.dll", "GetProcAddress", (void*)lookup);
    }
    ~FaceWatch() {
        testutil::hookImport(L"qTrimUI.dll", "gdiplus.dll", "GdipDrawImageRectRectI", realDraw);
        testutil::hookImport(L"qTrimUI.dll", "KERNEL32.dll", "GetProcAddress", (void*)realLookup);
    }
};

struct Face : ButtonProbe {
    // A captioned nine-cell button of the default skin; dx, dy in whole stripes of the parent.
    bool make(int dx = 0, int dy = 0, int w = 97, int h = 35) {
        return ButtonProbe::make(L"Set Out", {24 + 12 * dx, 60 + 8 * dy, 24 + 12 * dx + w, 60 + 8 * dy + h}, BS_CENTER) &&
               fnSetMainBitmapFile(kSkin, nullptr, 0, 0, 60, 27, 0, 1) == 1;
    }
};

// Each state twice: the first paint composes it through GDI+ (nine pieces), the second draws no
// piece; both equal the paint without the system blend pixel for pixel.
TEST(ButtonFaceCache, CachedFaceEqualsThePiecewiseGdiplusPaint) {
    FaceWatch watch;
    Face b;
    ASSERT_TRUE(b.make());
    for (int s = 0; s < 4; ++s) {
        FaceWatch::draws = 0;
        b.fnDrawOneState(s);
        const int composing = FaceWatch::draws;
        b.repaint();
        const Shot cached(b.m_hWnd);
        EXPECT_TRUE(composing == 9 && FaceWatch::draws == 9) << "state " << s << ": " << composing << ", " << FaceWatch::draws;
        FaceWatch::hideBlend = true;
        b.repaint();
        FaceWatch::hideBlend = false;
        EXPECT_TRUE(testutil::pixelsAre(Shot(b.m_hWnd), [&](int x, int y) { return cached.at(x, y); })) << "state " << s;
    }
}

// Every input of the picture, changed on a button whose faces are cached: its picture changes and
// equals that of a button made with the setting (over the same stripes of the parent).
TEST(ButtonFaceCache, EachChangeGivesThePictureOfAFreshButton) {
    FaceWatch watch;
    using Change = std::function<void(Face&)>;
    const std::pair<const char*, Change> rows[] = {
        {"hover to normal", [](Face& b) { b.fnMouseFlyBy(0, 1); }},
        {"forced pressed", [](Face& b) { b.fnDrawOneState(1); }},
        {"disabled", [](Face& b) { b.EnableWindow(FALSE); }},
        {"skin reloaded", [](Face& b) { b.fnSetMainBitmapFile(kSkin, nullptr, 0, 27, 60, 27, 0, 1); }},
        {"bitmap index", [](Face& b) { b.fnChangeBitmapIndex(1); }},
        {"size", [](Face& b) { b.SetWindowPos(nullptr, 0, 0, 131, 30, SWP_NOMOVE | SWP_NOZORDER); }},
        {"caption", [](Face& b) { b.SetWindowText(L"Mark In"); }},
        {"colours", [](Face& b) { b.fnSetTextColor(RGB(250, 40, 20), 0, 0, RGB(20, 60, 240), RGB(255, 0, 128), 0, 0); }},
        {"shadow offset", [](Face& b) { b.fnSetTextShadowOffSet(CqButtonEx::ButtonText_Hover, 3, -2); }},
        {"background image", [](Face& b) { b.fnSetBackgroundBitmapFile(L"test\\button\\back.png", 0, 0, 0, 0); }},
    };
    for (const auto& row : rows) {
        Face b, fresh;
        ASSERT_TRUE(b.make() && fresh.make(13));
        for (int s : {0, 1, 2, 3, -1}) b.fnDrawOneState(s);   // every state cached, back to automatic
        b.fnMouseFlyBy(1, 1);
        const Shot before(b.m_hWnd);
        row.second(b);
        b.repaint();
        const Shot after(b.m_hWnd);
        fresh.fnMouseFlyBy(1, 0);
        row.second(fresh);
        fresh.repaint();
        const Shot want(fresh.m_hWnd);
        EXPECT_FALSE(testutil::pixelsAre(after, [&](int x, int y) { return before.at(x, y); })) << row.first;
        EXPECT_TRUE(testutil::pixelsAre(after, [&](int x, int y) { return want.at(x, y); })) << row.first;
    }
}

}  // namespace
