// Skinned bitmap button. The standard button keeps the behaviour (capture, check state, clicks);
// every picture comes from here: WM_PAINT and the reflected control colour both compose the
// parent's background, the state cell and the caption in the shared off-screen bitmap and copy it
// out in one blit. The control colour then leaves the DC an empty clip region, so whatever the
// standard button draws after it (on presses, focus, check changes) paints nothing.
#include "qButtonEx.h"
#include "qBitmapHandler.h"
#include "qCutCFFont.h"
#include "qDraw.h"
#include "qModule.h"
#include "drawing/gdiutil.h"
#include "frame/moduleState.h"
#include "imaging/alphaBitmap.h"
#include <cstdlib>
#include <cwchar>

namespace {
using qdraw::OwnedGdi;
using qdraw::SelectGuard;

const UINT kButtonColours = 6391;
const DWORD kUnresolved = 0xFFFFFFFF;
const DWORD kHoverTime = 10;   // ms of rest before the hover cell shows
const wchar_t kDefaultSkin[] = L"qDVDUser\\CqButtonEx\\Button.png";
const wchar_t kFromResource[] = L"FromRC";
const UINT kSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;      // 0x26
const UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;        // 0x15

enum { kNormal = 0, kPressed = 1, kDisabled = 2, kHover = 3 };

// Copies src into a fixed buffer; false (dst untouched) when it does not fit.
template <size_t N>
bool copyText(wchar_t (&dst)[N], const wchar_t* src) {
    if (!src) return false;
    const size_t len = wcslen(src);
    if (len >= N) return false;
    wmemcpy(dst, src, len + 1);
    return true;
}

bool isAbsolutePath(const wchar_t* file) {
    return (file[0] && file[1] == L':') || (file[0] == L'\\' && file[1] == L'\\');
}

// A width of 0 reaches to the image's edge; a cell height of 0 would make the whole image one cell.
bool validStrip(int srcX, int srcY, int cellWidth, int cellHeight) {
    return srcX >= 0 && srcY >= 0 && cellWidth >= 0 && cellHeight > 0;
}

void ensureImage(IGDIPlusDrawAlphaBitmap*& image) {
    if (!image) image = gfnNewIGDIPlusDrawAlphaBitmap();
}
}  // namespace

IMPLEMENT_DYNAMIC(CqButtonEx, CButton)

BEGIN_MESSAGE_MAP(CqButtonEx, CButton)
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_GETDLGCODE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
END_MESSAGE_MAP()

// Life --------------------------------------------------------------------------------------------

CqButtonEx::CqButtonEx()
    : m_bInit(0), m_bVoice(0), m_bHover(0), m_bPressed(0), m_bNeedDBClick(0), m_nForcedState(-1),
      m_pMainImage(nullptr), m_pBackImage(nullptr), m_bmpID(), m_clrText{0, 0, 0, 0, 0, kUnresolved, kUnresolved},
      m_tme(), m_szCaption(), m_szVoice(), m_ptShadow{{1, 1}, {1, 1}}, m_bRemoveCache(0), m_bmiBuffer(),
      m_hBufferDC(nullptr), m_hBufferOldBitmap(nullptr), m_hBufferBitmap(nullptr), m_pBufferBlock(nullptr),
      m_pBufferBits(nullptr) {}

CqButtonEx::~CqButtonEx() {
    if (::IsWindow(m_hWnd)) DestroyWindow();
    fnUnInit();
}

BOOL CqButtonEx::Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (!CButton::Create(lpszCaption, dwStyle, rect, pParentWnd, nID)) return 0;
    return fnInit(0);
}

int CqButtonEx::fnInit(int checkMode) {
    if (m_bInit) return 1;
    // Push and default push both become BS_AUTOCHECKBOX; only ever at the first initialisation.
    if (checkMode) ModifyStyle(0, BS_AUTOCHECKBOX);
    m_tme.cbSize = sizeof(TRACKMOUSEEVENT);
    m_tme.dwFlags = TME_HOVER | TME_LEAVE;
    m_tme.hwndTrack = m_hWnd;
    m_tme.dwHoverTime = kHoverTime;

    wchar_t colours[260] = {};
    if (::LoadStringW(qmod::instance(), kButtonColours, colours, 260) <= 0) return 0;
    unsigned int c[5] = {};
    const int read = swscanf(colours, L"%x,%x,%x,%x,%x", &c[0], &c[1], &c[2], &c[3], &c[4]);
    for (int i = 0; i < read && i < 5; ++i) m_clrText[i] = c[i];

    ensureImage(m_pMainImage);
    ensureImage(m_pBackImage);
    if (!m_pMainImage || !m_pBackImage) return 0;

    m_bInit = 1;
    if (::IsWindow(m_hWnd)) {
        CRect r;
        GetWindowRect(&r);
        SetWindowPos(nullptr, 0, 0, r.Width(), r.Height(), kSizeOnly);
    }
    return fnRebuildDirtyBuffer(nullptr);
}

int CqButtonEx::fnUnInit() {
    if (m_pMainImage) m_pMainImage->Release();
    if (m_pBackImage) m_pBackImage->Release();
    m_pMainImage = m_pBackImage = nullptr;
    fnFreeBuffer();
    m_bInit = 0;
    return 1;
}

void CqButtonEx::fnFreeBufferBitmap() {
    std::free(m_pBufferBlock);
    m_pBufferBlock = nullptr;
    if (m_hBufferBitmap) {
        ::SelectObject(m_hBufferDC, m_hBufferOldBitmap);
        ::DeleteObject(m_hBufferBitmap);
    }
    m_hBufferBitmap = nullptr;
    m_hBufferOldBitmap = nullptr;
    m_pBufferBits = nullptr;
}

void CqButtonEx::fnFreeBuffer() {
    fnFreeBufferBitmap();
    if (m_hBufferDC) ::DeleteDC(m_hBufferDC);
    m_hBufferDC = nullptr;
}

int CqButtonEx::fnRebuildDirtyBuffer(int* rebuilt) {
    if (rebuilt) *rebuilt = 0;
    if (!::IsWindow(m_hWnd)) return 0;
    CRect r;
    GetWindowRect(&r);
    const int w = r.Width(), h = r.Height();
    if (w <= 0 || h <= 0) return 1;
    if (!m_hBufferDC) {
        qdraw::WindowDC client(m_hWnd);
        m_hBufferDC = ::CreateCompatibleDC(client);
        if (!m_hBufferDC) return 0;
    }
    if (m_hBufferBitmap) {
        BITMAP bm = {};
        if (::GetObjectW(m_hBufferBitmap, sizeof(bm), &bm) && bm.bmWidth == w && bm.bmHeight == h) return 1;
    }
    if (rebuilt) *rebuilt = 1;
    fnFreeBufferBitmap();
    m_bmiBuffer = BITMAPINFOHEADER{};
    m_bmiBuffer.biSize = sizeof(BITMAPINFOHEADER);
    m_bmiBuffer.biWidth = w;
    m_bmiBuffer.biHeight = h;
    m_bmiBuffer.biPlanes = 1;
    m_bmiBuffer.biBitCount = 24;
    m_bmiBuffer.biCompression = BI_RGB;
    m_bmiBuffer.biSizeImage = (DWORD)((w * 24 + 31) / 8 & ~3) * (DWORD)h;
    if (!m_bmiBuffer.biSizeImage) return 0;
    m_hBufferBitmap = ::CreateDIBSection(m_hBufferDC, (BITMAPINFO*)&m_bmiBuffer, DIB_RGB_COLORS, &m_pBufferBits,
                                         nullptr, 0);
    if (!m_hBufferBitmap) return 0;
    m_hBufferOldBitmap = ::SelectObject(m_hBufferDC, m_hBufferBitmap);
    m_pBufferBlock = std::malloc(m_bmiBuffer.biSizeImage);
    return m_pBufferBlock ? 1 : 0;
}

// Images --------------------------------------------------------------------------------------------

// Records where the strip lies and makes sure there is an image object to load it into.
bool CqButtonEx::fnPrepareStrip(int srcX, int srcY, int cellWidth, int cellHeight) {
    m_bmpID.nSrcX = srcX;
    m_bmpID.nSrcY = srcY;
    m_bmpID.nCellWidth = cellWidth;
    m_bmpID.nCellHeight = cellHeight;
    ensureImage(m_pMainImage);
    return m_pMainImage != nullptr;
}

// A strip needs cells with height; sizes and names that do not fit are refused before anything is
// stored, so a bad call leaves the button as it was.
int CqButtonEx::fnSetMainBitmapFile(const wchar_t* file, const wchar_t* alphaFile, int srcX, int srcY,
                                    int cellWidth, int cellHeight, int systemFrame, int nineCellFace) {
    if (!file || !validStrip(srcX, srcY, cellWidth, cellHeight)) return 0;
    if (wcslen(file) >= 260 || (alphaFile && wcslen(alphaFile) >= 260)) return 0;
    m_bmpID.bSystemFrame = systemFrame;
    m_bmpID.bNineCellFace = nineCellFace;
    copyText(m_bmpID.szMainFile, file);
    if (alphaFile) copyText(m_bmpID.szAlphaFile, alphaFile);
    if (!fnPrepareStrip(srcX, srcY, cellWidth, cellHeight)) return 0;
    if (isAbsolutePath(m_bmpID.szMainFile))
        return m_pMainImage->fnLoadFromPath(m_bmpID.szMainFile, m_bmpID.szAlphaFile, srcX, srcY, cellWidth,
                                            4 * cellHeight);
    return m_pMainImage->fnLoadFromFile(gfnGetProgramBitmapPath(), m_bmpID.szMainFile, m_bmpID.szAlphaFile, srcX,
                                        srcY, cellWidth, 4 * cellHeight);
}

int CqButtonEx::fnSetMainBitmapID(HINSTANCE instance, UINT id, UINT alphaId, int srcX, int srcY, int cellWidth,
                                  int cellHeight, int systemFrame) {
    if (!validStrip(srcX, srcY, cellWidth, cellHeight)) return 0;
    m_bmpID.bSystemFrame = systemFrame;
    copyText(m_bmpID.szMainFile, kFromResource);
    if (!fnPrepareStrip(srcX, srcY, cellWidth, cellHeight)) return 0;
    return m_pMainImage->fnLoadFromResource(instance, id, alphaId, srcX, srcY, cellWidth, 4 * cellHeight);
}

int CqButtonEx::fnChangeBitmapIndex(int srcX) {
    m_bmpID.nSrcX = srcX;
    if (!m_pMainImage) return 0;
    if (!m_pMainImage->fnLoadFromFile(gfnGetProgramBitmapPath(), m_bmpID.szMainFile, m_bmpID.szAlphaFile, srcX,
                                      m_bmpID.nSrcY, m_bmpID.nCellWidth, 4 * m_bmpID.nCellHeight))
        return 0;
    fnRepaintAllWnd();
    return 1;
}

// The whole image is the strip.
int CqButtonEx::fnSetDefaultImage(const wchar_t* file, const wchar_t* alphaFile) {
    if (!file || !m_pMainImage) return 0;
    if (!m_pMainImage->fnLoadFromFile(gfnGetProgramBitmapPath(), file, alphaFile, 0, 0, 0, 0)) return 0;
    return fnTakeWholeImageAsStrip();
}

int CqButtonEx::fnCreateDefaultImage() {
    ensureImage(m_pMainImage);
    if (!m_pMainImage) return 0;
    if (m_bmpID.szMainFile[0]) return 1;
    if (!m_pMainImage->fnLoadFromFile(gfnGetProgramBitmapPath(), kDefaultSkin, nullptr, 0, 0, 0, 0)) return 0;
    return fnTakeWholeImageAsStrip();
}

// Cells are a quarter of the loaded image's height; an image too low to have any is dropped.
int CqButtonEx::fnTakeWholeImageAsStrip() {
    const CSize size = m_pMainImage->fnGetSize();
    if (size.cy / 4 <= 0) {
        m_pMainImage->fnFree();
        return 0;
    }
    m_bmpID.nSrcX = 0;
    m_bmpID.nCellWidth = size.cx;
    m_bmpID.nCellHeight = size.cy / 4;
    return 1;
}

int CqButtonEx::fnSetBackgroundBitmapFile(const wchar_t* file, int srcX, int srcY, int width, int height) {
    if (!copyText(m_bmpID.szBackFile, file)) return 0;
    m_bmpID.nBackSrcX = srcX;
    m_bmpID.nBackSrcY = srcY;
    m_bmpID.nBackSrcWidth = width;
    m_bmpID.nBackSrcHeight = height;
    ensureImage(m_pBackImage);
    if (!m_pBackImage) return 0;
    return m_pBackImage->fnLoadFromFile(gfnGetProgramBitmapPath(), m_bmpID.szBackFile, nullptr, srcX, srcY, width,
                                        height);
}

tagCQBUTTON_BMP_ID* CqButtonEx::fnGetBitmapIDSetting() { return &m_bmpID; }

// Settings ------------------------------------------------------------------------------------------

void CqButtonEx::fnSetTextColor(DWORD normal, DWORD stored1, DWORD stored2, DWORD hover, DWORD hoverShadow,
                                DWORD disabled, DWORD disabledShadow) {
    const DWORD c[7] = {normal, stored1, stored2, hover, hoverShadow, disabled, disabledShadow};
    for (int i = 0; i < 7; ++i) m_clrText[i] = c[i];
    if (::IsWindow(m_hWnd)) InvalidateRect(nullptr, TRUE);
}

void CqButtonEx::fnSetTextShadowOffSet(const StateType_ButtonText& type, const int& dx, const int& dy) {
    if (type != ButtonText_Hover && type != ButtonText_Disabled) return;
    m_ptShadow[type].x = dx;
    m_ptShadow[type].y = dy;
}

int CqButtonEx::fnSetCaption(const wchar_t* caption) {
    if (!caption || !caption[0]) return 0;
    return copyText(m_szCaption, caption) ? 1 : 0;
}

const wchar_t* CqButtonEx::fnGetCaption() { return m_szCaption; }

void CqButtonEx::fnDrawOneState(int state) {
    m_nForcedState = state;
    fnRepaintAllWnd();
}

void CqButtonEx::fnMouseFlyBy(int hover, int redraw) {
    m_bHover = hover;
    if (redraw) fnRepaintAllWnd();
}

void CqButtonEx::fnNeedDBClick(int need) { m_bNeedDBClick = need; }

int CqButtonEx::fnMoveWindow(int x, int y) {
    SetWindowPos(nullptr, x, y, 0, 0, kMoveOnly);
    return 1;
}

int CqButtonEx::fnEnableVoice(int enable, const wchar_t* path) {
    m_bVoice = enable;
    if (path) ::lstrcpynW(m_szVoice, path, 260);
    return 1;
}

// The face pictures the image object keeps for speed are let go at the host's request.
void CqButtonEx::fnRemoveCache(int remove) {
    m_bRemoveCache = remove;
    if (remove)
        if (auto* image = dynamic_cast<CqGDIPlusDrawAlphaBitmap*>(m_pMainImage)) image->fnDropComposed();
}

void CqButtonEx::fnRepaintAllWnd() {
    if (!::IsWindow(m_hWnd)) return;
    InvalidateRect(nullptr, TRUE);
    UpdateWindow();
}

// Layout ---------------------------------------------------------------------------------------------

UINT CqButtonEx::fnEnumTextFormat() {
    const DWORD style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK | DT_EXPANDTABS | DT_END_ELLIPSIS
                                         : DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS;
    if ((style & BS_CENTER) == BS_CENTER)
        format |= DT_CENTER;
    else if (style & BS_RIGHT)
        format |= DT_RIGHT;
    if ((style & BS_VCENTER) == BS_VCENTER)
        format |= DT_VCENTER;
    else if (style & BS_TOP)
        ;
    else if (style & BS_BOTTOM)
        format |= DT_BOTTOM;
    else
        format |= DT_VCENTER;
    return format;
}

int CqButtonEx::fnSetRealSize() {
    if (m_bmpID.bSystemFrame || !m_tme.hwndTrack || !::IsWindow(m_hWnd)) return 0;
    const int cw = m_bmpID.nCellWidth, ch = m_bmpID.nCellHeight;
    CRect client;
    GetClientRect(&client);
    CRect text = client;
    text.right -= cw + 3;
    const UINT format = fnEnumTextFormat();
    if (format & DT_SINGLELINE) text.right = ::GetSystemMetrics(SM_CXSCREEN);
    CString caption;
    GetWindowText(caption);
    if (!caption.IsEmpty()) gfnGetTextRect(this, &text, caption, nullptr, format);

    int cx = 0, cy = 0;
    if (m_bmpID.szMainFile[0]) {
        if (!cw || !ch) return 0;
        if (caption.IsEmpty()) {
            cx = cw, cy = ch;
        } else {
            const int height = ch > text.Height() + 1 ? ch : text.Height() + 1;
            cx = text.right + 4 + cw - text.left - client.left;
            cy = client.top + height - client.top;
        }
    } else {
        if (cw || ch) return 0;
        cx = text.Width(), cy = text.Height();
    }
    return SetWindowPos(nullptr, 0, 0, cx, cy, kSizeOnly);
}

// The strip's GDI copy is composed over black, so transparent and pure black pixels both fall out.
int CqButtonEx::fnSetWndRgnByMainBitmap() {
    if (!m_pMainImage || !::IsWindow(m_hWnd) || GetWindowTextLength() > 0) return 0;
    HBITMAP bitmap = nullptr;
    if (!m_pMainImage->fnGetHBITMAP(&bitmap) || !bitmap) return 0;
    OwnedGdi<HBITMAP> owned(bitmap);
    OwnedGdi<HRGN> region(gfnBitmapToRegion(bitmap, 0, 0));
    if (!region.get()) return 0;
    CRect client;
    GetClientRect(&client);
    const int cw = m_bmpID.nCellWidth, ch = m_bmpID.nCellHeight;
    ::OffsetRgn(region, m_bmpID.bSystemFrame ? (client.Width() - cw) / 2 : 0, (client.Height() - ch) / 2);
    const int result = ::SetWindowRgn(m_hWnd, region, FALSE);
    if (result) region.release();   // the system owns it now
    return result;
}

// Painting -------------------------------------------------------------------------------------------

int CqButtonEx::fnChooseState() {
    if (m_nForcedState != -1) return m_nForcedState;
    if (!IsWindowEnabled()) return kDisabled;
    const DWORD type = ::GetWindowLongW(m_hWnd, GWL_STYLE) & BS_TYPEMASK;
    // Every type but push, default push and user button keeps a check state.
    const bool checkLike = (type & 4) || (type & 2) || (type & 9) == 9 || (type & 3) == 3;
    if (checkLike) {
        const LRESULT check = ::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0) & 3;
        if (check == BST_INDETERMINATE) return kNormal;
        if (check) return kPressed;
    }
    if (m_bPressed == 1) return kPressed;
    return m_bHover ? kHover : kNormal;
}

int CqButtonEx::fnDrawButton(HDC hdc) {
    const int s = fnChooseState();
    CRect R;
    GetClientRect(&R);
    const int w = R.Width(), h = R.Height();
    const int cw = m_bmpID.nCellWidth, ch = m_bmpID.nCellHeight;

    if (m_bmpID.bSystemFrame) {
        if (s == kNormal && (::GetWindowLongW(m_hWnd, GWL_STYLE) & BS_FLAT)) {
            OwnedGdi<HBRUSH> face(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
            ::FillRect(hdc, &R, face);
        } else {
            UINT flags = DFCS_BUTTONPUSH;
            if (s == kPressed) flags |= DFCS_PUSHED;
            if (s == kDisabled) flags |= DFCS_INACTIVE;
            ::DrawFrameControl(hdc, &R, DFC_BUTTON, flags);
        }
    }

    CString caption;
    GetWindowText(caption);
    if (caption.IsEmpty()) {
        if (!m_pMainImage || !m_pMainImage->fnIsValid()) return 0;
        if (!m_bmpID.bSystemFrame) return m_pMainImage->fnDraw(hdc, 0, (h - ch) / 2, 0, s * ch, cw, ch);
        // A short strip falls back to its first cell rather than drawing nothing.
        const int srcY = m_pMainImage->fnGetSize().cy < (s + 1) * ch ? 0 : s * ch;
        return m_pMainImage->fnDraw(hdc, (w - cw) / 2, (h - ch) / 2, 0, srcY, cw, ch);
    }

    if (!m_pMainImage) return 0;
    CRect T = R;
    if (m_pMainImage->fnIsValid()) {
        const bool icon = m_bmpID.bSystemFrame || (m_bmpID.szMainFile[0] && !m_bmpID.bNineCellFace);
        if (icon) {
            m_pMainImage->fnDraw(hdc, 0, (h - ch) / 2, 0, s * ch, cw, ch);
            T.left += cw;
        } else if (!m_bmpID.szBackFile[0]) {
            m_pMainImage->fnFillRectWith9Cells(hdc, &R, 0, s * ch, cw, ch);
        }
    }

    const UINT format = fnEnumTextFormat();
    CCutCFFont holder;
    SelectGuard font(hdc, holder.fnGetDefaultFont());
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    const COLORREF oldColour = ::GetTextColor(hdc);
    T.left += 3;
    switch (s) {
    case kNormal:
        ::SetTextColor(hdc, m_clrText[0]);
        ::DrawTextW(hdc, caption, -1, &T, format);
        break;
    case kPressed:
        T.OffsetRect(1, 1);
        ::DrawTextW(hdc, caption, -1, &T, format);
        break;
    case kDisabled:
        if (m_clrText[5] == kUnresolved || m_clrText[6] == kUnresolved) {
            unsigned long text = RGB(128, 128, 128), shadow = RGB(255, 255, 255);
            gfnGetGrayStringColor(text, shadow);
            if (m_clrText[5] == kUnresolved) m_clrText[5] = text;
            if (m_clrText[6] == kUnresolved) m_clrText[6] = shadow;
        }
        gfnEasyShadowString(hdc, &T, caption, -1, m_clrText[5], m_clrText[6], format, (int)m_ptShadow[1].x,
                            (int)m_ptShadow[1].y);
        break;
    case kHover:
        gfnEasyShadowString(hdc, &T, caption, -1, m_clrText[3], m_clrText[4], format, (int)m_ptShadow[0].x,
                            (int)m_ptShadow[0].y);
        break;
    default:
        break;
    }
    // The shared DC is left as it was found.
    ::SetTextColor(hdc, oldColour);
    ::SetBkMode(hdc, oldMode);
    return 1;
}

int CqButtonEx::fnPaintThrough(HDC target) {
    if (!m_pMainImage) return 0;
    if (!m_pMainImage->fnIsValid()) fnCreateDefaultImage();
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    if (w <= 0 || h <= 0) return 0;
    CqBitmapHandler::g_fnCreateBitmap(target, w, h);
    HDC D = CqBitmapHandler::g_fnGetDC();
    if (D) {
        if (m_bmpID.szBackFile[0]) {
            if (m_pBackImage && m_pBackImage->fnIsValid()) m_pBackImage->fnFillRect(D, &client, 0, 0, 0, 0, TRUE);
        } else {
            gfnEraseBkByParent(::GetParent(m_hWnd), m_hWnd, D);
        }
        fnDrawButton(D);
        CqBitmapHandler::g_fnBitblt(target, 0, 0, w, h);
    }
    CqBitmapHandler::g_fnReleaseDC();
    return D ? 1 : 0;
}

void CqButtonEx::OnPaint() {
    CPaintDC dc(this);
    fnPaintThrough(dc.m_hDC);
}

HBRUSH CqButtonEx::CtlColor(CDC* pDC, UINT) {
    if (!m_pMainImage || !pDC) return nullptr;
    fnPaintThrough(pDC->m_hDC);
    OwnedGdi<HRGN> empty(::CreateRectRgn(0, 0, 0, 0));
    ::SelectClipRgn(pDC->m_hDC, empty);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

BOOL CqButtonEx::OnEraseBkgnd(CDC*) { return TRUE; }

// Messages -------------------------------------------------------------------------------------------

void CqButtonEx::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CqButtonEx::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CqButtonEx::OnCancelMode() { Default(); }
UINT CqButtonEx::OnGetDlgCode() { return (UINT)Default(); }
void CqButtonEx::OnTimer(UINT_PTR) {}

void CqButtonEx::OnEnable(BOOL bEnable) {
    Default();
    if (!bEnable) m_bHover = 0;
    fnRepaintAllWnd();
}

void CqButtonEx::OnDestroy() {
    fnUnInit();
    CButton::OnDestroy();
}

void CqButtonEx::OnMouseMove(UINT, CPoint) {
    ::_TrackMouseEvent(&m_tme);
    Default();
}

void CqButtonEx::OnLButtonDown(UINT, CPoint) {
    m_bPressed = 1;
    Default();
    fnRepaintAllWnd();
}

void CqButtonEx::OnLButtonUp(UINT, CPoint) {
    m_bPressed = 0;
    fnRepaintAllWnd();
    Default();
}

// Without the flag the second press of a double-click never reaches the standard button, so a
// double-click is one click.
void CqButtonEx::OnLButtonDblClk(UINT, CPoint) {
    if (m_bNeedDBClick) Default();
    fnRepaintAllWnd();
}

// A checked button keeps its pressed cell: hover and leave leave it alone.
LRESULT CqButtonEx::OnMouseLeave(WPARAM, LPARAM) {
    m_bHover = 0;
    if (::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0) != BST_CHECKED) fnRepaintAllWnd();
    return 0;
}

LRESULT CqButtonEx::OnMouseHover(WPARAM, LPARAM) {
    if (m_bHover) return 0;
    m_bHover = 1;
    if (::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0) != BST_CHECKED) fnRepaintAllWnd();
    return 0;
}

LRESULT CqButtonEx::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CButton::DefWindowProc(message, wParam, lParam);
    if (message == WM_KILLFOCUS) {
        m_bPressed = 0;
        fnRepaintAllWnd();
    } else if (message == BM_SETCHECK) {
        fnRepaintAllWnd();
    }
    return result;
}

BOOL CqButtonEx::PreTranslateMessage(MSG* pMsg) {
    if (pMsg && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && ::GetFocus() == m_hWnd &&
        GetWindowTextLength() > 0) {
        const WORD id = LOWORD(::GetWindowLongW(m_hWnd, GWL_ID));
        ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)m_hWnd);
        return TRUE;
    }
    return CButton::PreTranslateMessage(pMsg);
}
