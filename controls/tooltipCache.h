// What the shaped tooltip keeps from one show to the next. A show happens on every hover, and
// each question put to the window system is a round trip about as long as a whole plain repaint
// under Wine: so the tip asks again only for what may have changed since the last show.
#pragma once
#include <windows.h>
#include <string>

namespace qtip {

// The full-screen size (SM_CXFULLSCREEN x SM_CYFULLSCREEN). It changes only with the display or
// the system settings; the window passes those on with forget().
class ScreenSize {
public:
    SIZE get();
    void forget() { m_known = false; }

private:
    bool m_known = false;
    SIZE m_size = {};
};

// Measures texts with DrawTextW's DT_CALCRECT on one memory DC that keeps the font selected (a
// window DC is fetched from the window system, and a font realised anew, on every use), and keeps
// the last result for the same text, font, limit and format.
class TextMeasurer {
public:
    TextMeasurer() = default;
    ~TextMeasurer() { release(); }
    // As gfnGetTextRect: rect becomes the text's extent within it; 1, or 0 for an empty text or
    // a failure.
    int measure(RECT* rect, const wchar_t* text, HFONT font, UINT format);
    // Puts the font down (its owner may be about to delete it) and forgets the result.
    void dropFont();
    // The DC too; the next measure makes a new one.
    void release();
    TextMeasurer(const TextMeasurer&) = delete;
    TextMeasurer& operator=(const TextMeasurer&) = delete;

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_original = nullptr;   // the DC's own font, put back before the DC goes
    HFONT m_font = nullptr;         // selected now
    bool m_known = false;           // the key and result below are valid
    std::wstring m_text;
    LOGFONTW m_logFont = {};
    RECT m_limit = {}, m_result = {};
    UINT m_format = 0;
    int m_answer = 0;
};

// A copy of the window region last applied to a window: reshaping a window costs the window
// system a full frame change, so an unchanged region is not applied again.
class AppliedRegion {
public:
    ~AppliedRegion() { forget(); }
    bool same(HRGN region) const;
    // Remembers region (copied) as applied; false when it cannot be copied, so nothing is known.
    bool remember(HRGN region);
    void forget();

private:
    HRGN m_copy = nullptr;
};

}  // namespace qtip
