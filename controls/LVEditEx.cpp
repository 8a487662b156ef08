// In-place edit over a list-view item: the outside-click hook, Enter and Escape, the keyboard
// layout for the font and the font for the input language.
#include "qLVEditEx.h"
#include <imm.h>
#include <cwchar>
#include <new>

namespace {
// ANSI code page of a character set; false when the system knows no code page for it.
bool charsetCodePage(UINT charset, UINT* codePage) {
    CHARSETINFO info = {};
    if (!::TranslateCharsetInfo((DWORD*)(UINT_PTR)charset, &info, TCI_SRCCHARSET)) return false;
    *codePage = info.ciACP;
    return true;
}

// Default ANSI code page of a language; 0 for languages that only have Unicode.
UINT languageCodePage(LANGID language) {
    wchar_t buf[12] = {};
    if (!::GetLocaleInfoW(MAKELCID(language, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE, buf, 12)) return 0;
    return (UINT)_wtoi(buf);
}

// The font search's state: where the match and the last candidate's code page go.
struct FontSearch {
    LOGFONTW* found;
    unsigned int* fontCodePage;
    UINT layoutCodePage;
};

int CALLBACK enumFontProc(const LOGFONTW* font, const TEXTMETRICW* metric, DWORD type, LPARAM param) {
    FontSearch* search = reinterpret_cast<FontSearch*>(param);
    if (!(type & TRUETYPE_FONTTYPE)) return 1;
    UINT codePage = 0;
    // A character set without a code page never matches, not even a Unicode-only language.
    if (!charsetCodePage(metric->tmCharSet, &codePage)) return 1;
    *search->fontCodePage = codePage;
    if (codePage != search->layoutCodePage) return 1;
    *search->found = *font;
    return 0;
}

// Makes a font from the description and sets it on the window before the old one is deleted, so
// the edit never holds a dead handle; the old font stays when the new one cannot be made.
bool replaceFont(HWND edit, HFONT& owned, const LOGFONTW& font, BOOL redraw) {
    HFONT created = ::CreateFontIndirectW(&font);
    if (!created) return false;
    if (edit) ::SendMessageW(edit, WM_SETFONT, (WPARAM)created, redraw);
    if (owned) ::DeleteObject(owned);
    owned = created;
    return true;
}
}  // namespace

CLVEditEx* CLVEditEx::g_pEdit = nullptr;
HHOOK CLVEditEx::g_hHookMouse = nullptr;

BEGIN_MESSAGE_MAP(CLVEditEx, CEdit)
    ON_WM_GETDLGCODE()
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CLVEditEx::CLVEditEx()
    : m_bEscape(0),
      m_bUnicodeEdit(0),
      m_bRButtonDown(0),
      m_bMultiLang(0),
      m_lfFont(),
      m_hKeyboardLayout(::GetKeyboardLayout(0)),
      m_nFontCodePage(0),
      m_hFont(nullptr) {}

CLVEditEx::~CLVEditEx() {
    // The window may outlive the object: it must not keep a font that is about to go.
    if (m_hFont && ::IsWindow(m_hWnd) && (HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0) == m_hFont)
        ::SendMessageW(m_hWnd, WM_SETFONT, 0, 0);
    // A hook left behind would read this object on the next click.
    fnEndEdit();
    if (m_hFont) ::DeleteObject(m_hFont);
}

void CLVEditEx::fnStartEdit() {
    if (!::IsWindow(m_hWnd)) return;
    // One edit at a time: a hook still set by an edit that was never ended goes first.
    if (g_hHookMouse) ::UnhookWindowsHookEx(g_hHookMouse);
    m_bEscape = 0;
    g_pEdit = this;
    g_hHookMouse = ::SetWindowsHookExW(WH_MOUSE, gfnMouseProc, nullptr, ::GetCurrentThreadId());
    ::ActivateKeyboardLayout(fnFindHKL(m_lfFont.lfCharSet), KLF_REORDER);
}

void CLVEditEx::fnEndEdit() {
    if (!g_hHookMouse || g_pEdit != this) return;
    ::UnhookWindowsHookEx(g_hHookMouse);
    g_hHookMouse = nullptr;
    g_pEdit = nullptr;
    if (m_hFont) ::DeleteObject(m_hFont);
    m_hFont = nullptr;
}

int CLVEditEx::IsEscape() { return m_bEscape; }
int CLVEditEx::fnIsRButtonDown() { return m_bRButtonDown; }
void CLVEditEx::fnGetText(CString& text) { GetWindowText(text); }
void CLVEditEx::fnSetText(const CString& text) { SetWindowText(text); }
LOGFONTW CLVEditEx::fnGetLOGFONT() { return m_lfFont; }
void CLVEditEx::fnSupportMultipleLang(int on) { m_bMultiLang = on; }

void CLVEditEx::fnSetLOGFONT(LOGFONTW* font) {
    if (!font) return;
    m_lfFont = *font;
    replaceFont(m_hWnd, m_hFont, m_lfFont, FALSE);
}

int CLVEditEx::fnIsControlKeyDown() { return ::GetKeyState(VK_CONTROL) < 0; }
int CLVEditEx::fnIsShiftKeyDown() { return ::GetKeyState(VK_SHIFT) < 0; }

LRESULT CALLBACK CLVEditEx::gfnMouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode >= 0 && g_hHookMouse && g_pEdit && wParam == WM_LBUTTONDOWN) {
        const MOUSEHOOKSTRUCT* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        HWND edit = g_pEdit->m_hWnd;
        RECT rc;
        if (mouse && edit && ::GetWindowRect(edit, &rc) && !::PtInRect(&rc, mouse->pt) && !g_pEdit->fnIsRButtonDown()) {
            // The click only ends the edit; the window under it never sees it.
            ::SetFocus(::GetParent(edit));
            return 1;
        }
    }
    return ::CallNextHookEx(g_hHookMouse, nCode, wParam, lParam);
}

HKL CLVEditEx::fnFindHKL(BYTE charset) {
    HKL current = ::GetKeyboardLayout(0);
    UINT codePage = 0;
    if (!charsetCodePage(charset, &codePage)) return current;
    int count = ::GetKeyboardLayoutList(0, nullptr);
    if (count <= 0) return current;
    HKL* layouts = new (std::nothrow) HKL[count];
    if (!layouts) return current;
    count = ::GetKeyboardLayoutList(count, layouts);
    HKL found = current;
    for (int i = 0; i < count; ++i)
        if (languageCodePage(LOWORD((UINT_PTR)layouts[i])) == codePage) {
            found = layouts[i];
            break;
        }
    delete[] layouts;
    return found;
}

int CLVEditEx::fnFindCorrectFontByIME(HKL layout) {
    LOGFONTW current = {};
    HFONT inUse = m_hWnd ? (HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0) : nullptr;
    // No font set: the edit draws with the system font.
    if (!::GetObjectW(inUse ? (HGDIOBJ)inUse : ::GetStockObject(SYSTEM_FONT), sizeof(current), &current)) return 0;

    ZeroMemory(&m_lfFont, sizeof(m_lfFont));
    m_lfFont.lfCharSet = DEFAULT_CHARSET;
    m_hKeyboardLayout = layout;
    m_nFontCodePage = 0;
    FontSearch search = {&m_lfFont, &m_nFontCodePage, languageCodePage(LOWORD((UINT_PTR)layout))};
    if (search.layoutCodePage) {
        LOGFONTW pattern = m_lfFont;
        HDC screen = ::GetDC(nullptr);
        ::EnumFontFamiliesExW(screen, &pattern, (FONTENUMPROCW)enumFontProc, (LPARAM)&search, 0);
        ::ReleaseDC(nullptr, screen);
    }
    if (!m_lfFont.lfFaceName[0] || m_lfFont.lfCharSet == current.lfCharSet) return 0;

    LOGFONTW chosen = current;
    chosen.lfCharSet = m_lfFont.lfCharSet;
    wcsncpy(chosen.lfFaceName, m_lfFont.lfFaceName, LF_FACESIZE - 1);
    chosen.lfFaceName[LF_FACESIZE - 1] = 0;
    return replaceFont(m_hWnd, m_hFont, chosen, TRUE) ? 1 : 0;
}

int CLVEditEx::OnImeComposition(UINT, LONG flags) {
    if (m_bUnicodeEdit || !(flags & GCS_RESULTSTR)) return 0;
    HIMC context = ::ImmGetContext(m_hWnd);
    if (!context) return 0;
    int inserted = 0;
    LONG bytes = ::ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
    if (bytes > 0) {
        const LONG chars = bytes / (LONG)sizeof(wchar_t);
        wchar_t* text = new (std::nothrow) wchar_t[chars + 1];
        if (text) {
            LONG got = ::ImmGetCompositionStringW(context, GCS_RESULTSTR, text, bytes);
            text[got > 0 ? got / (LONG)sizeof(wchar_t) : 0] = 0;
            if (text[0]) {
                ::SendMessageW(m_hWnd, EM_REPLACESEL, FALSE, (LPARAM)text);
                inserted = 1;
            }
            delete[] text;
        }
    }
    ::ImmReleaseContext(m_hWnd, context);
    return inserted;
}

LRESULT CLVEditEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_bMultiLang) {
        switch (message) {
        case WM_INPUTLANGCHANGE:
            m_hKeyboardLayout = (HKL)lParam;
            fnFindCorrectFontByIME(m_hKeyboardLayout);
            break;
        case WM_IME_STARTCOMPOSITION:
            fnFindCorrectFontByIME(m_hKeyboardLayout);
            break;
        case WM_IME_COMPOSITION:
            if (OnImeComposition((UINT)wParam, (LONG)lParam)) return 1;
            break;
        }
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

// Enter and Escape must reach the edit inside a dialog too.
UINT CLVEditEx::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

int CLVEditEx::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CEdit::OnCreate(lpCreateStruct) == -1) return -1;
    // What the system edit class makes here decides whether composition results arrive usable.
    HWND probe = ::CreateWindowExW(0, L"edit", nullptr, WS_CHILD, 0, 0, 0, 0, m_hWnd, nullptr,
                                   (HINSTANCE)::GetWindowLongPtrW(m_hWnd, GWLP_HINSTANCE), nullptr);
    m_bUnicodeEdit = probe && ::IsWindowUnicode(probe);
    if (probe) ::DestroyWindow(probe);
    return 0;
}

void CLVEditEx::OnLButtonDown(UINT nFlags, CPoint point) { CEdit::OnLButtonDown(nFlags, point); }
void CLVEditEx::OnSetFocus(CWnd* pOldWnd) { CEdit::OnSetFocus(pOldWnd); }

void CLVEditEx::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    switch (nChar) {
    case VK_RETURN:
        // Control+Enter is a line break in a multi-line edit, not the end of the edit.
        if ((GetStyle() & ES_MULTILINE) && fnIsControlKeyDown()) return;
        m_bEscape = 0;
        ::SetFocus(::GetParent(m_hWnd));
        return;
    case VK_ESCAPE:
        m_bEscape = 1;
        ::SetFocus(::GetParent(m_hWnd));
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

// The right button is the edit's own: no context menu, and the flag lets left clicks pass meanwhile.
void CLVEditEx::OnRButtonDown(UINT, CPoint) { m_bRButtonDown = 1; }
void CLVEditEx::OnRButtonUp(UINT, CPoint) { m_bRButtonDown = 0; }
