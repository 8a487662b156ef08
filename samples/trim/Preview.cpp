#include "Preview.h"
#include <qBitmapHandler.h>
#include <qDraw.h>
#include <vector>

namespace {
// Seven bars whose colours drift with the frame, so that every frame looks different.
void frameBars(std::vector<unsigned char>& px, int w, int h, const Clip& clip, int frame) {
    static const unsigned char bars[7][3] = {{235, 235, 235}, {20, 220, 235}, {235, 220, 20}, {20, 220, 20},
                                             {235, 20, 235},  {20, 20, 235},   {235, 20, 20}};
    const int tint = (int)(clip.rate * 3) % 64;
    px.assign((size_t)w * h * 3, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int bar = ((x + frame * 3) % w) * 7 / w;
            const int shade = y * 160 / h;
            unsigned char* p = &px[((size_t)y * w + x) * 3];   // blue, green, red
            p[0] = (unsigned char)(bars[bar][0] * (255 - shade) / 255);
            p[1] = (unsigned char)((bars[bar][1] + tint) * (255 - shade) / 320);
            p[2] = (unsigned char)(bars[bar][2] * (255 - shade) / 255);
        }
    // The sweep: one column a frame, right to left.
    const int sweep = w - 1 - frame % w;
    for (int y = 0; y < h; ++y) {
        unsigned char* p = &px[((size_t)y * w + sweep) * 3];
        p[0] = p[1] = p[2] = 255;
    }
}
}  // namespace

void paintFrame(HDC dc, const RECT& rect, const Clip& clip, int frame, HFONT font) {
    RECT rc = rect;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 4 || h <= 4) return;
    std::vector<unsigned char> px;
    frameBars(px, w - 4, h - 4, clip, frame);
    gfnFillSolidRect(dc, &rc, RGB(24, 24, 28));
    gfnDrawSelImg(dc, rc.left + 2, rc.top + 2, w - 4, h - 4, px.data(), 3, 0, 0, w - 4, h - 4);
    gfnDraw3DFrame(dc, &rc, 0);

    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    const std::wstring tc = timecodeText(frame, clip.rate);
    RECT band = {rc.left + 10, rc.bottom - 44, rc.right - 10, rc.bottom - 8};
    gfnFillSolidRect(dc, &band, RGB(0, 0, 0));
    const int one = 1, two = 2;
    gfnEasyShadowString(dc, &band, tc.c_str(), (int)tc.size(), RGB(255, 255, 255), RGB(90, 90, 90),
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE, two, two);
    if (old) SelectObject(dc, old);
    RECT title = {rc.left + 10, rc.top + 8, rc.right - 10, rc.top + 28};
    gfnEasyShadowString(dc, &title, clip.name.c_str(), (int)clip.name.size(), RGB(255, 255, 255), RGB(0, 0, 0),
                        DT_LEFT | DT_SINGLELINE, one, one);
}

BEGIN_MESSAGE_MAP(CPreview, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CPreview::create(const RECT& rect, CWnd* parent, UINT id) {
    if (!CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, rect, parent, id)) return FALSE;
    m_font = CreateFontW(-26, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, FIXED_PITCH, L"Courier New");
    return TRUE;
}

void CPreview::show(const Clip* clip, int frame) {
    if (clip == m_clip && frame == m_frame) return;
    m_clip = clip;
    m_frame = frame;
    Invalidate(FALSE);
}

BOOL CPreview::OnEraseBkgnd(CDC*) { return TRUE; }

// Composed in the library's shared off-screen bitmap, then copied in one blit.
void CPreview::OnPaint() {
    CPaintDC dc(this);
    RECT rc;
    GetClientRect(&rc);
    if (!CqBitmapHandler::g_fnCreateBitmap(dc.m_hDC, rc.right, rc.bottom)) return;
    HDC mem = CqBitmapHandler::g_fnGetDC();
    if (!mem) return;
    if (m_clip) {
        paintFrame(mem, rc, *m_clip, m_frame, m_font);
    } else {
        gfnFillSolidRect(mem, &rc, RGB(24, 24, 28));
        gfnDraw3DFrame(mem, &rc, 0);
    }
    CqBitmapHandler::g_fnBitblt(dc.m_hDC, 0, 0, rc.right, rc.bottom);
    CqBitmapHandler::g_fnReleaseDC();
}

void CPreview::OnDestroy() {
    if (m_font) DeleteObject(m_font);
    m_font = nullptr;
    CWnd::OnDestroy();
}
