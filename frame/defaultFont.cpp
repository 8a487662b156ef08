// The shared default font, read from the host's font settings or the string table.
#include "qCutCFFont.h"
#include "frame/moduleState.h"
#include "frame/settingsText.h"
#include <cwchar>
#include <cstring>
#include <cstdlib>

int CCutCFFont::sm_bInit = 0;
unsigned int CCutCFFont::sm_nRefCount = 0;
HFONT CCutCFFont::sm_hFont = nullptr;
LOGFONTW CCutCFFont::sm_dsLogFont = {};

namespace {
const int kSizeChars = 10;

// "<directory of this module>\XML\LoomDB\CutCFDB.ini", found through the framework's file finder.
bool findFontSettings(CString& path) {
    wchar_t module[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(qmod::instance(), module, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    CFileFind finder;
    if (!finder.FindFile(module)) return false;
    finder.FindNextFile();
    CString settings = finder.GetRoot() + L"\\XML\\LoomDB\\CutCFDB.ini";
    finder.Close();
    CFileFind probe;
    if (!probe.FindFile(settings)) return false;
    path = settings;
    return true;
}
}  // namespace

int CCutCFFont::sfnFontInit() {
    if (sm_bInit) return 1;
    memset(&sm_dsLogFont, 0, sizeof(sm_dsLogFont));
    wchar_t size[kSizeChars] = {};
    CString settings;
    if (findFontSettings(settings)) {
        GetPrivateProfileStringW(L"Settings", L"IDS_DEFAULT_FONT_FACENAME", nullptr, sm_dsLogFont.lfFaceName,
                                 LF_FACESIZE, settings);
        GetPrivateProfileStringW(L"Settings", L"IDS_DEFAULT_FONT_SIZE", nullptr, size, kSizeChars, settings);
    }
    if (!sm_dsLogFont.lfFaceName[0]) LoadStringW(qmod::instance(), 5001, sm_dsLogFont.lfFaceName, LF_FACESIZE);
    if (!size[0]) LoadStringW(qmod::instance(), 5002, size, kSizeChars);
    int32_t height = 0;
    qmod::scanIntList(size, &height, 1);
    sm_dsLogFont.lfHeight = height;
    sm_dsLogFont.lfWeight = FW_NORMAL;
    sm_dsLogFont.lfCharSet = DEFAULT_CHARSET;
    sm_dsLogFont.lfClipPrecision = 0;
    sm_dsLogFont.lfQuality = 0;
    sm_dsLogFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    sm_bInit = 1;
    sm_hFont = CreateFontIndirectW(&sm_dsLogFont);
    return sm_hFont ? 1 : 0;
}

CCutCFFont::CCutCFFont() {
    sfnFontInit();
    ++sm_nRefCount;
}

CCutCFFont::CCutCFFont(CCutCFFont const&) { ++sm_nRefCount; }

CCutCFFont& CCutCFFont::operator=(CCutCFFont const&) { return *this; }

CCutCFFont::~CCutCFFont() {
    if (sm_nRefCount == 0) return;
    if (--sm_nRefCount == 0) {
        sm_bInit = 0;
        memset(&sm_dsLogFont, 0, sizeof(sm_dsLogFont));
        if (sm_hFont) {
            DeleteObject(sm_hFont);
            sm_hFont = nullptr;
        }
    }
}

HFONT CCutCFFont::fnGetDefaultFont() { return sm_hFont; }

int CCutCFFont::fnGetDefaultFontHeight() { return sm_dsLogFont.lfHeight; }

wchar_t const* CCutCFFont::fnGetDefaultFontName() { return sm_dsLogFont.lfFaceName; }

unsigned short CCutCFFont::fnGetDefaultPointSize() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    TEXTMETRICW tm = {};
    HGDIOBJ old = SelectObject(screen, sm_hFont);
    GetTextMetricsW(screen, &tm);
    if (old) SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    unsigned short pixels = (unsigned short)((unsigned short)std::abs(sm_dsLogFont.lfHeight) - (unsigned short)tm.tmInternalLeading);
    unsigned short points = dpi > 0 ? (unsigned short)((pixels * 72) / dpi) : 0;
    if (points < 3) return 3;
    if (points > 8) return 8;
    return points;
}

HFONT CCutCFFont::CreateFontW(int height, int underline, int italic, int bold, wchar_t const* faceName) {
    if (!sfnFontInit()) return nullptr;
    LOGFONTW lf = sm_dsLogFont;
    if (height) lf.lfHeight = height;
    lf.lfUnderline = (BYTE)(underline & 0xFF);
    lf.lfItalic = (BYTE)(italic & 0xFF);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    if (faceName) {
        wcsncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = 0;
    }
    return CreateFontIndirectW(&lf);
}
