#include "buttontest.h"

namespace buttontest {

BEGIN_MESSAGE_MAP(RecordingParent, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

RecordingParent& RecordingParent::get() {
    static RecordingParent* parent = nullptr;
    if (!parent || !parent->IsWindow()) {
        testutil::preTranslate = [](MSG* m) { return AfxPreTranslateMessage(m) != FALSE; };
        parent = new RecordingParent;
        LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
        parent->CreateEx(WS_EX_TOPMOST, cls, L"button tests", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 120, 110, 420,
                         260, nullptr, nullptr);
        ::SetForegroundWindow(parent->m_hWnd);
    }
    parent->commands.clear();
    return *parent;
}

BOOL RecordingParent::OnCommand(WPARAM wParam, LPARAM lParam) {
    commands.push_back({LOWORD(wParam), HIWORD(wParam), (HWND)lParam});
    return CWnd::OnCommand(wParam, lParam);
}

BOOL RecordingParent::OnEraseBkgnd(CDC* pDC) {
    RECT clip;
    pDC->GetClipBox(&clip);
    for (int y = clip.top - clip.top % 4; y < clip.bottom; y += 4)
        for (int x = clip.left - clip.left % 6; x < clip.right; x += 6) pDC->FillSolidRect(x, y, 6, 4, pattern(x, y));
    return TRUE;
}

const COLORREF kCellColours[4] = {RGB(200, 30, 60), RGB(40, 170, 20), RGB(90, 100, 150), RGB(250, 200, 10)};

COLORREF cellPixel(int state, int x, int y, COLORREF background) {
    if (x < 2 || x >= 18 || y < 2 || y >= 11) return background;
    if (x == 4 && y == 3) return RGB(0, 0, 0);
    const COLORREF c = kCellColours[state];
    if (x != 15) return c;
    auto half = [](int f, int b) { return (f * 128 + b * 127 + 127) / 255; };
    return RGB(half(GetRValue(c), GetRValue(background)), half(GetGValue(c), GetGValue(background)),
               half(GetBValue(c), GetBValue(background)));
}

COLORREF parentUnder(HWND child, int x, int y) {
    POINT p = {x, y};
    MapWindowPoints(child, GetParent(child), &p, 1);
    return RecordingParent::pattern(p.x, p.y);
}

}  // namespace buttontest
