// The shaped tooltip: the system tooltip keeps tools, timing and texts; this class sizes, places,
// cuts and paints the window, and decides which relayed input may hide the tip.
#include "qToolTipDVDUser.h"
#include "qCutCFFont.h"
#include "qDraw.h"
#include "controls/tooltipTools.h"
#include "controls/tooltipCache.h"
#include "drawing/gdiutil.h"
#include <algorithm>
#include <climits>

using namespace qdraw;

IMPLEMENT_DYNAMIC(CqToolTipDVDUser, CToolTipCtrl)

BEGIN_MESSAGE_MAP(CqToolTipDVDUser, CToolTipCtrl)
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_TIMER()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_LBUTTONDOWN()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SETTINGCHANGE, OnScreenChange)
    ON_MESSAGE(WM_DISPLAYCHANGE, OnScreenChange)
END_MESSAGE_MAP()

CRgn CqToolTipDVDUser::g_RgnShadow;
CRgn CqToolTipDVDUser::g_RgnText;
CPtrList CqToolTipDVDUser::g_ToolTipList;
HHOOK CqToolTipDVDUser::g_hHook = nullptr;

namespace {
const UINT kTextFormat = DT_VCENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;   // 0x2814
const int kTextChars = 2600;
// The base control's timers this class steps into.
const UINT_PTR kShowTimer = 1;
const UINT_PTR kPopTimer = 4;
const CPoint kNoPoint(-1, -1);
// No cursor is ever here: the pop position before any pop.
const CPoint kNeverPopped(LONG_MIN, LONG_MIN);
}  // namespace

struct CqToolTipDVDUser::CShowCache {
    qtip::ScreenSize screen;
    qtip::TextMeasurer measurer;
    qtip::AppliedRegion region;
};

CqToolTipDVDUser::CqToolTipDVDUser()
    : m_bCreated(0), m_rcText(0, 0, 0, 0), m_ptAnchor(kNoPoint), m_ptLastMove(kNoPoint),
      m_ptLastPop(kNeverPopped), m_bSkipPosChange(0), m_pShowCache(new CShowCache) {
    m_dsLooks = tagCQTOOLTIP_LOOKS{};
    m_dsLooks.bRoundShape = 1;
    m_dsLooks.ptPosition = kNoPoint;
    m_dsLooks.nOffsetX = 2, m_dsLooks.nOffsetY = 20;
    m_dsLooks.nMarginX = 7, m_dsLooks.nMarginY = 7;
    m_dsLooks.nShadowX = 3, m_dsLooks.nShadowY = 3;
    m_dsLooks.nSpare = 10, m_dsLooks.nTailHeight = 15;
    m_dsLooks.crText = RGB(0, 0, 0), m_dsLooks.crBack = RGB(0xFF, 0xFF, 0xD6);
    m_dsLooks.crFrame = RGB(0, 0, 0), m_dsLooks.crShadow = RGB(0x80, 0x80, 0x80);
    qtip::loadLooks(m_dsLooks);
}

CqToolTipDVDUser::~CqToolTipDVDUser() {
    if (IsWindow()) DestroyWindow();
    fnUnInit();
}

BOOL CqToolTipDVDUser::DestroyWindow() { return CToolTipCtrl::DestroyWindow(); }

// Class list and hook --------------------------------------------------------------------------------

LRESULT CALLBACK CqToolTipDVDUser::gfnKeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(g_hHook, code, wParam, lParam);
}

void CqToolTipDVDUser::sfnAddInstance(CqToolTipDVDUser* tip) {
    if (!g_hHook) g_hHook = SetWindowsHookExW(WH_KEYBOARD, gfnKeyboardProc, nullptr, GetCurrentThreadId());
    g_ToolTipList.AddTail(tip);
}

void CqToolTipDVDUser::sfnRemoveInstance(CqToolTipDVDUser* tip) {
    if (POSITION pos = g_ToolTipList.Find(tip)) g_ToolTipList.RemoveAt(pos);
    if (!g_ToolTipList.IsEmpty()) return;
    if (g_hHook) UnhookWindowsHookEx(g_hHook);
    g_hHook = nullptr;
    sfnDeleteRegions();
}

void CqToolTipDVDUser::sfnDeleteRegions() {
    g_RgnShadow.DeleteObject();
    g_RgnText.DeleteObject();
}

// Life -------------------------------------------------------------------------------------------------

int CqToolTipDVDUser::fnCreate(CWnd* parent) {
    if (m_bCreated) return 1;
    if (!Create(parent, TTS_ALWAYSTIP | TTS_NOPREFIX)) return 0;
    SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Without a border the client area is the window: regions and text share one origin.
    ModifyStyle(WS_CAPTION, 0, SWP_FRAMECHANGED);
    ModifyStyleEx(0, WS_EX_TOPMOST);
    sfnAddInstance(this);
    m_bCreated = 1;
    return 1;
}

int CqToolTipDVDUser::fnUnInit() {
    if (!m_bCreated) return 1;
    m_pShowCache->measurer.release();
    m_pShowCache->region.forget();
    m_pShowCache->screen.forget();
    if (m_dsLooks.hFont) ::DeleteObject(m_dsLooks.hFont);
    m_dsLooks.hFont = nullptr;
    sfnRemoveInstance(this);
    m_bCreated = 0;
    return 1;
}

void CqToolTipDVDUser::OnDestroy() {
    fnUnInit();
    CToolTipCtrl::OnDestroy();
}

// Tools and settings ------------------------------------------------------------------------------------

int CqToolTipDVDUser::fnAddTool(HWND hwnd, HWND hwndTool) { return qtip::addWindowTool(*this, hwnd, hwndTool); }
int CqToolTipDVDUser::fnAddTool(HWND hwnd, UINT id) { return qtip::addClientTool(*this, hwnd, id); }
int CqToolTipDVDUser::fnAddTool(HWND hwnd, UINT id, CRect rect) { return qtip::addRectTool(*this, hwnd, id, rect); }
int CqToolTipDVDUser::fnAddTool(HWND hwnd, UINT id, wchar_t* text) {
    return qtip::addTextTool(*this, hwnd, id, text, false);
}
int CqToolTipDVDUser::fnAddTool(HWND hwnd, HINSTANCE inst, UINT stringId) {
    return qtip::addStringTool(*this, hwnd, inst, stringId);
}

void CqToolTipDVDUser::fnSetFont(HFONT font) {
    // The held font is ours: a replaced one goes (once the measuring DC has put it down).
    if (m_dsLooks.hFont && m_dsLooks.hFont != font) {
        m_pShowCache->measurer.dropFont();
        ::DeleteObject(m_dsLooks.hFont);
    }
    m_dsLooks.hFont = font;
}
void CqToolTipDVDUser::fnSetPosition(CPoint pt) { m_dsLooks.ptPosition = pt; }

void CqToolTipDVDUser::UpdateByPt(CPoint pt) {
    m_dsLooks.ptPosition = pt;
    if (IsWindow()) SendMessage(TTM_UPDATE);
}

tagCQTOOLTIP_LOOKS* CqToolTipDVDUser::fnGetLooksData() { return &m_dsLooks; }

// Input the tip may hide on ---------------------------------------------------------------------------

LRESULT CqToolTipDVDUser::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case TTM_RELAYEVENT: {
        const MSG* relayed = (const MSG*)lParam;
        if (!relayed || !IsWindow()) break;
        switch (relayed->message) {
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MOUSEWHEEL:
            if (!m_dsLooks.bStayVisible && IsWindowVisible()) SendMessage(TTM_POP);
            return 1;
        case WM_KEYDOWN: case WM_KEYUP:
            return 1;
        case WM_MOUSEMOVE: {
            CPoint cursor;
            ::GetCursorPos(&cursor);
            if (IsWindowVisible() && !m_dsLooks.bStayVisible && cursor != m_ptLastMove) SendMessage(TTM_POP);
            m_ptLastMove = cursor;
            break;
        }
        }
        break;
    }
    case TTM_UPDATE:
        if (IsWindowVisible() && !m_dsLooks.bStayVisible) SendMessage(TTM_POP);
        break;
    case TTM_POP: {
        LRESULT result = CToolTipCtrl::DefWindowProc(message, wParam, lParam);
        sfnDeleteRegions();
        return result;
    }
    }
    return CToolTipCtrl::DefWindowProc(message, wParam, lParam);
}

void CqToolTipDVDUser::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kPopTimer) {
        if (m_dsLooks.bStayVisible == 1) return;
        SendMessage(TTM_POP);
        ::GetCursorPos(&m_ptLastPop);
    } else if (nIDEvent == kShowTimer && !m_dsLooks.bStayVisible) {
        // A tip the pop timer hid stays hidden until the mouse moves.
        CPoint cursor;
        ::GetCursorPos(&cursor);
        if (cursor == m_ptLastPop) return;
    }
    CToolTipCtrl::OnTimer(nIDEvent);
    if (nIDEvent == kShowTimer && !IsWindowVisible() && !m_strText.IsEmpty()) SendMessage(TTM_UPDATE);
}

void CqToolTipDVDUser::OnLButtonDown(UINT nFlags, CPoint point) { CToolTipCtrl::OnLButtonDown(nFlags, point); }

LRESULT CqToolTipDVDUser::OnPrintClient(WPARAM, LPARAM) { return 0; }

// The paint fills all of the window region, shadow included: an erase first would only be painted over.
BOOL CqToolTipDVDUser::OnEraseBkgnd(CDC* pDC) {
    const bool paintsAll = !m_strText.IsEmpty() && !m_dsLooks.bHide && g_RgnText.GetSafeHandle() &&
                           g_RgnShadow.GetSafeHandle();
    return paintsAll ? TRUE : CToolTipCtrl::OnEraseBkgnd(pDC);
}

// The full-screen size and text extents may differ after a display or settings change.
LRESULT CqToolTipDVDUser::OnScreenChange(WPARAM, LPARAM) {
    m_pShowCache->screen.forget();
    m_pShowCache->measurer.dropFont();
    return Default();
}

// Sizing and placement ---------------------------------------------------------------------------------

int CqToolTipDVDUser::fnFetchCurrentText() {
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    wchar_t buffer[kTextChars] = {};
    ti.lpszText = buffer;
    if (!GetCurrentTool(&ti)) return 0;
    GetText(m_strText, CWnd::FromHandle(ti.hwnd), ti.uId);
    return m_strText.IsEmpty() ? 0 : 1;
}

void CqToolTipDVDUser::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    CToolTipCtrl::OnWindowPosChanging(lpwndpos);
    if (!lpwndpos) return;
    if (m_dsLooks.bHide) {
        // The text decides whether the empty region goes on when the move is done.
        if (!m_bSkipPosChange) fnFetchCurrentText();
        lpwndpos->cx = lpwndpos->cy = 1;
        return;
    }
    if (m_bSkipPosChange || !fnFetchCurrentText()) return;
    fnPlace(lpwndpos);
}

void CqToolTipDVDUser::fnPlace(WINDOWPOS* lpwndpos) {
    const tagCQTOOLTIP_LOOKS& l = m_dsLooks;
    const bool balloon = l.bRoundShape != 0;
    const bool follow = l.ptPosition.x == -1 && l.ptPosition.y == -1;
    CPoint anchor = l.ptPosition;
    if (follow) ::GetCursorPos(&anchor);
    m_ptAnchor = anchor;
    CPoint topLeft = anchor;
    if (balloon || follow) topLeft.Offset(l.nOffsetX, l.nOffsetY);

    const SIZE screen = m_pShowCache->screen.get();
    const int screenW = screen.cx, screenH = screen.cy;
    int limitW = l.szMaxText.cx, limitH = l.szMaxText.cy;
    if (!limitW || !limitH) {
        limitW = screenW - (balloon ? 4 : 2) * l.nMarginX - l.nShadowX - l.nOffsetX;
        limitH = screenH - 2 * l.nMarginY - (balloon ? l.nTailHeight : 0) - l.nShadowY - l.nOffsetY;
    }

    CRect text(0, 0, limitW, limitH);
    HFONT font = l.hFont ? l.hFont : m_fontHolder.fnGetDefaultFont();
    m_pShowCache->measurer.measure(&text, m_strText, font, kTextFormat);
    if (text.Width() > limitW) text.right = text.left - 1 + limitW;
    if (text.Height() > limitH) text.bottom = text.top - 1 + limitH;
    text.right += (balloon ? 4 : 2) * l.nMarginX;
    text.bottom += 2 * l.nMarginY;

    const int width = text.Width() + l.nShadowX;
    const int height = text.Height() + l.nShadowY + (balloon ? l.nTailHeight : 0);
    if (topLeft.y + height > screenH) topLeft.y = anchor.y - height;
    else if (balloon) text.OffsetRect(0, l.nTailHeight);   // room for the tail above the body
    if (topLeft.x + width > screenW) topLeft.x = std::max(screenW - width, 0);

    m_rcText = text;
    lpwndpos->x = topLeft.x;
    lpwndpos->y = topLeft.y;
    lpwndpos->cx = width;
    lpwndpos->cy = height;
}

// Shaping ------------------------------------------------------------------------------------------------

void CqToolTipDVDUser::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    if (m_bSkipPosChange) {
        m_bSkipPosChange = 0;
        return;
    }
    if (m_strText.IsEmpty()) return;
    CToolTipCtrl::OnWindowPosChanged(lpwndpos);
    fnBuildRegion();
    m_ptAnchor = kNoPoint;
}

void CqToolTipDVDUser::fnBuildRegion() {
    const tagCQTOOLTIP_LOOKS& l = m_dsLooks;
    OwnedGdi<HRGN> window(::CreateRectRgn(0, 0, 0, 0));
    if (l.bHide) {
        // An empty window region: nothing of the tip shows.
    } else if (!l.bRoundShape) {
        CRect shadow = m_rcText;
        shadow.OffsetRect(l.nShadowX, l.nShadowY);
        sfnDeleteRegions();
        g_RgnShadow.CreateRectRgnIndirect(&shadow);
        g_RgnText.CreateRectRgnIndirect(&m_rcText);
        if (::CombineRgn(window, g_RgnText, g_RgnShadow, RGN_OR) == ERROR) return;
    } else {
        CRect wr;
        GetWindowRect(&wr);
        const int centreX = wr.left + wr.Width() / 2;
        const int y0 = std::max<int>(wr.top, m_ptAnchor.y);
        const bool below = y0 < wr.bottom;   // the anchor is above the window's bottom edge
        const int dir = m_ptAnchor.x < centreX ? 1 : -1;
        CPoint tip(m_ptAnchor.x, below ? y0 : wr.bottom);
        ScreenToClient(&tip);
        const int base = below ? m_rcText.top : m_rcText.bottom - l.nShadowY;
        const int m = l.nMarginX;
        const POINT tail[3] = {{tip.x + m * dir, base}, {tip.x + m * dir, tip.y}, {tip.x + 3 * m * dir, base}};
        CRect shadow = m_rcText;
        shadow.OffsetRect(l.nShadowX, l.nShadowY);
        sfnDeleteRegions();
        g_RgnShadow.CreateRoundRectRgn(shadow.left, shadow.top, shadow.right, shadow.bottom, l.nMarginX, l.nMarginY);
        g_RgnText.CreateRoundRectRgn(m_rcText.left, m_rcText.top, m_rcText.right, m_rcText.bottom, l.nMarginX,
                                     l.nMarginY);
        OwnedGdi<HRGN> tailRgn(::CreatePolygonRgn(tail, 3, ALTERNATE));
        if (g_RgnText.GetSafeHandle() && tailRgn) ::CombineRgn(g_RgnText, g_RgnText, tailRgn, RGN_OR);
        if (::CombineRgn(window, g_RgnText, g_RgnShadow, RGN_OR) == ERROR) return;
    }
    // Setting a window region reshapes the window in the window system (a frame change, longer
    // than a whole repaint under Wine): a tip shown again with the region it already has keeps it.
    qtip::AppliedRegion& applied = m_pShowCache->region;
    if (applied.same(window)) return;
    // The region belongs to the window once applied; setting it re-enters the position handlers.
    m_bSkipPosChange = 1;
    const bool remembered = applied.remember(window);
    if (SetWindowRgn(window, FALSE)) {
        window.release();
    } else {
        m_bSkipPosChange = 0;
        if (remembered) applied.forget();
    }
}

// Painting -------------------------------------------------------------------------------------------------

void CqToolTipDVDUser::OnPaint() {
    CPaintDC paint(this);
    if (m_strText.IsEmpty()) return;
    HDC dc = paint.GetSafeHdc();
    const tagCQTOOLTIP_LOOKS& l = m_dsLooks;
    if (l.bHide) {
        CRect client;
        GetClientRect(&client);
        ::FillRect(dc, &client, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        return;
    }
    OwnedGdi<HRGN> clip(::CreateRectRgn(0, 0, 0, 0));
    if (!g_RgnText.GetSafeHandle() || !g_RgnShadow.GetSafeHandle() ||
        ::CombineRgn(clip, g_RgnText, g_RgnShadow, RGN_OR) == ERROR)
        return;
    ::SelectClipRgn(dc, clip);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, l.crText);
    {
        SelectGuard pen(dc, ::GetStockObject(NULL_PEN));
        // The shadow shows where the body does not cover it.
        OwnedGdi<HRGN> shadowOnly(::CreateRectRgn(0, 0, 0, 0));
        OwnedGdi<HBRUSH> shadow(::CreateSolidBrush(l.crShadow)), back(::CreateSolidBrush(l.crBack)),
            frame(::CreateSolidBrush(l.crFrame));
        if (::CombineRgn(shadowOnly, g_RgnShadow, g_RgnText, RGN_DIFF) != ERROR) ::FillRgn(dc, shadowOnly, shadow);
        ::FillRgn(dc, g_RgnText, back);
        ::FrameRgn(dc, g_RgnText, frame, 1, 1);

        CCutCFFont holder;
        SelectGuard font(dc, l.hFont ? l.hFont : holder.fnGetDefaultFont());
        fnFetchCurrentText();
        CRect area = m_rcText;
        area.DeflateRect(l.nMarginX, l.nMarginY);
        ::DrawTextW(dc, m_strText, -1, &area, kTextFormat);
    }
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    ::SelectClipRgn(dc, nullptr);
}

// Relaying -------------------------------------------------------------------------------------------------

void gfnToolTipRelayEvent(HWND tip, MSG* msg) {
    if (!msg || !::IsWindow(tip)) return;
    MSG copy = *msg;
    POINT pt = msg->pt;
    copy.hwnd = (HWND)::SendMessageW(tip, TTM_WINDOWFROMPOINT, 0, (LPARAM)&pt);
    ::SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
    ::SendMessageW(tip, TTM_RELAYEVENT, 0, (LPARAM)&copy);
}

void gfnToolTipRelayEventEx(HWND parent, HWND tip, MSG* msg) {
    if (!msg || !::IsWindow(tip)) return;
    MSG copy = *msg;
    POINT pt = msg->pt;
    ::ScreenToClient(parent, &pt);
    HWND child = ::ChildWindowFromPointEx(parent, pt, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child) return;
    copy.hwnd = child;
    ::ScreenToClient(child, &copy.pt);
    ::SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
    ::SendMessageW(tip, TTM_RELAYEVENT, 0, (LPARAM)&copy);
}
