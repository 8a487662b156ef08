// The library's shared default font: every holder keeps it alive; the last one deletes it.
#pragma once
#include "qTrimUIDef.h"

class QTRIMUI_API CCutCFFont {
public:
    CCutCFFont();
    CCutCFFont(CCutCFFont const&);
    CCutCFFont& operator=(CCutCFFont const&);
    virtual ~CCutCFFont();

    HFONT fnGetDefaultFont();
    int fnGetDefaultFontHeight();
    wchar_t const* fnGetDefaultFontName();
    // Size in points, limited to 3..8.
    unsigned short fnGetDefaultPointSize();

    // A new font from the default description (height 0 keeps the default height; null face keeps
    // the default face). The caller deletes it. Does not make the caller a holder.
    static HFONT CreateFontW(int height, int underline, int italic, int bold, wchar_t const* faceName);

    static int sm_bInit;
    static unsigned int sm_nRefCount;
    static HFONT sm_hFont;
    static LOGFONTW sm_dsLogFont;

protected:
    static int sfnFontInit();
};
