// The card tooltip: sizes itself from the tip's text line by line and paints a white card with a
// coloured strip and the information icon; tools and timing stay the system tooltip's.
#include "qvToolTipCtrl.h"
#include "qCutCFFont.h"
#include "controls/tooltipTools.h"
#include "drawing/gdiutil.h"
#include <algorithm>

using namespace qdraw;

IMPLEMENT_DYNAMIC(qvCToolTipCtrl, CToolTipCtrl)

BEGIN_MESSAGE_MAP(qvCToolTipCtrl, CToolTipCtrl)
    ON_WM_PAINT()
    ON_WM_WINDOWPOSCHANGING()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

namespace {
const int kStripWidth = 20;
const int kTextLeft = 31;        // text starts here, clear of strip and icon
const int kIconSize = kStripWidth - 4;
const int kCursorGapX = 30;      // window width beyond the text block
const int kCursorGapY = 22;      // below the cursor
const int kRightKeepOut = 25;    // from the full-screen width
const int kPadW = 10, kPadH = 6;

// The tip's text without carriage returns.
CString cardText(const CWnd& wnd) {
    CString text;
    wnd.GetWindowText(text);
    text.Remove(L'\r');
    return text;
}
}  // namespace

qvCToolTipCtrl::qvCToolTipCtrl()
    : m_hIcon(::LoadIconW(nullptr, MAKEINTRESOURCEW(32516))),   // IDI_INFORMATION
      m_crBack(RGB(0xFF, 0xFF, 0xFF)), m_crText(RGB(0, 0, 0)), m_crStrip(0x976E5A), m_crFrame(0x8F634D) {
    m_dsLooks = tagCQTOOLTIP_LOOKS{};
}

qvCToolTipCtrl::~qvCToolTipCtrl() {
    fnUnInit();
    if (m_hIcon) ::DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
    if (IsWindow()) DestroyWindow();
}

int qvCToolTipCtrl::fnCreate(CWnd* parent) {
    if (IsWindow()) return 1;
    if (!Create(parent, TTS_ALWAYSTIP | TTS_NOPREFIX)) return 0;
    ModifyStyle(WS_CAPTION, 0, SWP_FRAMECHANGED);
    return 1;
}

int qvCToolTipCtrl::fnUnInit() {
    if (m_dsLooks.hFont) ::DeleteObject(m_dsLooks.hFont);
    m_dsLooks.hFont = nullptr;
    return 1;
}

void qvCToolTipCtrl::fnSetFont(HFONT font) {
    if (m_dsLooks.hFont && m_dsLooks.hFont != font) ::DeleteObject(m_dsLooks.hFont);
    m_dsLooks.hFont = font;
}

tagCQTOOLTIP_LOOKS* qvCToolTipCtrl::fnGetLooksData() { return &m_dsLooks; }

void qvCToolTipCtrl::PreSubclassWindow() { CToolTipCtrl::PreSubclassWindow(); }
LRESULT qvCToolTipCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CToolTipCtrl::DefWindowProc(message, wParam, lParam);
}
LRESULT qvCToolTipCtrl::OnPrintClient(WPARAM, LPARAM) { return 0; }

// Tools --------------------------------------------------------------------------------------------------

int qvCToolTipCtrl::AddRectTool(CWnd* wnd, const wchar_t* text, const RECT* rect, UINT id) {
    if (!rect || ::IsRectEmpty(rect)) return 0;
    return qtip::addTool(*this, TTF_SUBCLASS, wnd->GetSafeHwnd(), id, rect, AfxGetResourceHandle(), text);
}

int qvCToolTipCtrl::AddWindowTool(CWnd* wnd, const wchar_t* text) {
    HWND hwnd = wnd->GetSafeHwnd();
    if (!::IsWindow(hwnd)) return 0;
    return qtip::addTool(*this, TTF_IDISHWND | TTF_SUBCLASS, ::GetParent(hwnd), (UINT_PTR)hwnd, nullptr,
                         AfxGetResourceHandle(), text);
}

int qvCToolTipCtrl::fnAddTool(HWND hwnd, HWND hwndTool) { return qtip::addWindowTool(*this, hwnd, hwndTool); }
int qvCToolTipCtrl::fnAddTool(HWND hwnd, UINT id) { return qtip::addClientTool(*this, hwnd, id); }
int qvCToolTipCtrl::fnAddTool(HWND hwnd, UINT id, CRect rect) { return qtip::addRectTool(*this, hwnd, id, rect); }
int qvCToolTipCtrl::fnAddTool(HWND hwnd, UINT id, wchar_t* text) {
    return qtip::addTextTool(*this, hwnd, id, text, true);
}
int qvCToolTipCtrl::fnAddTool(HWND hwnd, HINSTANCE inst, UINT stringId) {
    return qtip::addStringTool(*this, hwnd, inst, stringId);
}

// Sizing ---------------------------------------------------------------------------------------------------

void qvCToolTipCtrl::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    CToolTipCtrl::OnWindowPosChanging(lpwndpos);
    if (!lpwndpos) return;
    const CString text = cardText(*this);
    if (text.IsEmpty()) return;

    CCutCFFont holder;
    WindowDC dc(m_hWnd);
    if (!dc.get()) return;
    SelectGuard font(dc, holder.fnGetDefaultFont());
    CPoint cursor;
    ::GetCursorPos(&cursor);

    // Widest line and line count; a trailing line feed counts an empty last line.
    const wchar_t* s = text;
    const int length = text.GetLength();
    int widest = 0, lines = 1, start = 0;
    auto measure = [&](int from, int to) {
        SIZE size = {};
        if (to > from && ::GetTextExtentPoint32W(dc, s + from, to - from, &size)) widest = std::max<int>(widest, size.cx);
    };
    for (int i = 0; i < length; ++i)
        if (s[i] == L'\n') {
            measure(start, i);
            ++lines;
            start = i + 1;
        }
    measure(start, length);
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc, &tm);

    const int w = widest + kPadW, h = tm.tmHeight * lines + kPadH;
    const int screenW = ::GetSystemMetrics(SM_CXFULLSCREEN), screenH = ::GetSystemMetrics(SM_CYFULLSCREEN);
    CRect rect(cursor.x, 0, cursor.x + kCursorGapX + w, 0);
    if (cursor.y + h <= screenH) rect.top = cursor.y + kCursorGapY, rect.bottom = rect.top + h;
    else rect.bottom = cursor.y, rect.top = cursor.y - h;
    if (rect.right > screenW - kRightKeepOut) rect.OffsetRect(screenW - kRightKeepOut - rect.right, 0);

    lpwndpos->x = rect.left;
    lpwndpos->y = rect.top;
    lpwndpos->cx = rect.Width();
    lpwndpos->cy = rect.Height();
}

// Painting -------------------------------------------------------------------------------------------------

void qvCToolTipCtrl::OnPaint() {
    CPaintDC paint(this);
    if (!IsWindowVisible()) return;
    CString text = cardText(*this);
    if (text.IsEmpty()) return;
    HDC dc = paint.GetSafeHdc();
    CCutCFFont holder;
    SelectGuard font(dc, holder.fnGetDefaultFont());

    CRect client;
    GetClientRect(&client);
    OwnedGdi<HBRUSH> back(::CreateSolidBrush(m_crBack)), strip(::CreateSolidBrush(m_crStrip));
    ::FillRect(dc, &client, back);
    CRect stripRect(client.left, client.top, client.left + kStripWidth, client.bottom);
    ::FillRect(dc, &stripRect, strip);

    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, m_crText);
    CRect textRect(client.left + kTextLeft, client.top + 2, client.right, client.bottom);
    ::DrawTextW(dc, text, -1, &textRect, DT_WORDBREAK);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);

    paint.Draw3dRect(&client, m_crFrame, m_crFrame);
    if (m_hIcon)
        ::DrawIconEx(dc, stripRect.left + 2, stripRect.top + (stripRect.Height() / 2 - 8), m_hIcon, kIconSize,
                     kIconSize, 0, nullptr, DI_NORMAL);
}
