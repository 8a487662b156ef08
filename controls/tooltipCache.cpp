// The shaped tooltip's caches between shows.
#include "controls/tooltipCache.h"
#include "drawing/gdiutil.h"
#include <cstring>

namespace qtip {

SIZE ScreenSize::get() {
    if (!m_known) {
        m_size = {::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN)};
        m_known = true;
    }
    return m_size;
}

int TextMeasurer::measure(RECT* rect, const wchar_t* text, HFONT font, UINT format) {
    if (!rect || !text || !font) return 0;
    LOGFONTW logFont = {};
    if (::GetObjectW(font, sizeof logFont, &logFont) != sizeof logFont) return 0;
    // The font's description, not its handle: a deleted font's handle may come back for another.
    if (m_known && m_font == font && m_format == format && ::EqualRect(&m_limit, rect) && m_text == text &&
        std::memcmp(&m_logFont, &logFont, sizeof logFont) == 0) {
        *rect = m_result;
        return m_answer;
    }
    m_known = false;
    if (!m_dc && !(m_dc = ::CreateCompatibleDC(nullptr))) return 0;
    if (m_font != font) {
        HGDIOBJ previous = ::SelectObject(m_dc, font);
        if (!previous || previous == HGDI_ERROR) return 0;
        if (!m_original) m_original = previous;
        m_font = font;
    }
    m_limit = *rect;
    m_answer = qdraw::measureText(m_dc, rect, text, format);
    m_result = *rect;
    m_text = text;
    m_logFont = logFont;
    m_format = format;
    m_known = true;
    return m_answer;
}

void TextMeasurer::dropFont() {
    if (m_dc && m_original) ::SelectObject(m_dc, m_original);
    m_original = nullptr;
    m_font = nullptr;
    m_known = false;
}

void TextMeasurer::release() {
    dropFont();
    if (m_dc) ::DeleteDC(m_dc);
    m_dc = nullptr;
    m_text.clear();
    m_text.shrink_to_fit();
}

bool AppliedRegion::same(HRGN region) const { return m_copy && region && ::EqualRgn(m_copy, region); }

bool AppliedRegion::remember(HRGN region) {
    if (!m_copy) m_copy = ::CreateRectRgn(0, 0, 0, 0);
    if (m_copy && region && ::CombineRgn(m_copy, region, nullptr, RGN_COPY) != ERROR) return true;
    forget();
    return false;
}

void AppliedRegion::forget() {
    if (m_copy) ::DeleteObject(m_copy);
    m_copy = nullptr;
}

}  // namespace qtip
