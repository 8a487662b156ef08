// The bitmap button over a patterned parent: push buttons with and without caption, the system
// frame, nine-cell and icon-left faces, a toggle in both check states, a shaped button, and each
// state forced once. In the interactive gallery the buttons hover, press and toggle.
#include "gallery.h"
#include "qButtonEx.h"
#include <vector>

namespace {

const int kWidth = 660, kHeight = 470;

// The framework parent the buttons need (it reflects their control colour); paints diagonal
// stripes over a vertical gradient so the skins' soft edges and shadows show.
class Stage : public CWnd {
protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        RECT rc;
        GetClientRect(&rc);
        for (int y = 0; y < rc.bottom; y += 2) {
            const int t = y * 255 / (rc.bottom ? rc.bottom : 1);
            for (int x = 0; x < rc.right; x += 2) {
                const bool stripe = ((x + y) / 14) % 2 == 0;
                const COLORREF c = stripe ? RGB(236 - t / 6, 214 - t / 5, 170 + t / 5)
                                          : RGB(206 - t / 5, 186 - t / 6, 150 + t / 4);
                pDC->FillSolidRect(x, y, 2, 2, c);
            }
        }
        return TRUE;
    }
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        struct Label {
            int x, y;
            const wchar_t* text;
        } labels[] = {
            {12, 8, L"Bitmap button over a patterned parent (hover, press and toggle them)"},
            {12, 34, L"push, default skin"},
            {12, 94, L"system frame"},
            {12, 154, L"nine-cell / icon left"},
            {12, 214, L"toggle: checked, unchecked"},
            {12, 274, L"shaped (region)"},
            {12, 350, L"each state forced: normal, pressed, disabled, hover"},
        };
        for (const Label& l : labels) galleryLabel(dc.m_hDC, l.x, l.y, l.text);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Stage, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

Stage* g_stage = nullptr;
std::vector<CqButtonEx*> g_buttons;

CqButtonEx* add(const wchar_t* caption, int x, int y, int w, int h, bool check = false) {
    auto* b = new CqButtonEx;
    const RECT r = {x, y, x + w, y + h};
    const UINT id = 200 + (UINT)g_buttons.size();
    const BOOL made = check ? b->CButton::Create(caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CENTER, r, g_stage, id) &&
                                  b->fnInit(1)
                            : b->Create(caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CENTER, r, g_stage, id);
    if (!made) {
        delete b;
        return nullptr;
    }
    g_buttons.push_back(b);
    return b;
}

void build(HWND panel) {
    g_stage = new Stage;
    RECT rc;
    GetClientRect(panel, &rc);
    if (!g_stage->CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, CWnd::FromHandle(panel), 1)) {
        delete g_stage;
        g_stage = nullptr;
        return;
    }
    const int col = 170;
    // Default skin: a nine-cell face under the caption; without a caption the cell itself.
    add(L"Play", col, 30, 90, 30);
    add(L"Set In", col + 100, 30, 90, 30);
    add(L"Set Out", col + 200, 30, 90, 30);
    add(L"", col + 300, 31, 60, 27);

    // System frame with an icon, captioned and alone.
    if (CqButtonEx* b = add(L"Loop", col, 88, 100, 32))
        b->fnSetMainBitmapFile(L"gallery\\button\\loop.png", nullptr, 0, 0, 16, 16, 1, 0);
    if (CqButtonEx* b = add(L"", col + 110, 88, 36, 32))
        b->fnSetMainBitmapFile(L"gallery\\button\\play.png", nullptr, 0, 0, 16, 16, 1, 0);

    // A wide nine-cell face, and an icon left of the caption.
    add(L"Trim to selection", col, 148, 170, 34);
    if (CqButtonEx* b = add(L"Play", col + 180, 150, 90, 24)) {
        b->fnSetMainBitmapFile(L"gallery\\button\\play.png", nullptr, 0, 0, 16, 16, 0, 0);
        b->fnSetRealSize();
    }

    // Toggles.
    if (CqButtonEx* b = add(L"Loop", col, 208, 90, 30, true)) b->SetCheck(BST_CHECKED);
    add(L"Loop", col + 100, 208, 90, 30, true);

    // Shaped.
    if (CqButtonEx* b = add(L"", col, 262, 40, 40)) {
        b->fnSetMainBitmapFile(L"gallery\\button\\star.png", nullptr, 0, 0, 40, 40, 0, 0);
        b->fnSetWndRgnByMainBitmap();
    }

    // Each state once, with and without caption.
    const wchar_t* names[4] = {L"Normal", L"Pressed", L"Disabled", L"Hover"};
    for (int s = 0; s < 4; ++s) {
        if (CqButtonEx* b = add(names[s], 12 + s * 100, 372, 90, 30)) b->fnDrawOneState(s);
        if (CqButtonEx* b = add(L"", 12 + s * 100, 412, 60, 27)) b->fnDrawOneState(s);
        if (CqButtonEx* b = add(L"", 430 + s * 52, 405, 40, 40)) {
            b->fnSetMainBitmapFile(L"gallery\\button\\star.png", nullptr, 0, 0, 40, 40, 0, 0);
            b->fnSetWndRgnByMainBitmap();
            b->fnDrawOneState(s);
        }
    }
}

void teardown(HWND) {
    for (CqButtonEx* b : g_buttons) delete b;
    g_buttons.clear();
    delete g_stage;
    g_stage = nullptr;
}

}  // namespace

GALLERY_PAGE(button, L"button", kWidth, kHeight, build, nullptr, teardown);
