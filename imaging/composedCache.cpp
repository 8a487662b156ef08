#include "imaging/composedCache.h"
#include "drawing/gdiutil.h"
#include "frame/moduleState.h"
#include <cstring>
#include <new>

namespace {
// GDI+ blends in a 32-bit buffer and copies the result out: a blend straight onto a shallower
// target would round differently, and a scaled mapping would place it differently.
bool plain32BitTarget(HDC dc) {
    if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE) return false;
    if (GetObjectType(dc) != OBJ_MEMDC) return GetDeviceCaps(dc, BITSPIXEL) == 32;
    BITMAP bm = {};
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    return bitmap && GetObjectW(bitmap, sizeof bm, &bm) && bm.bmBitsPixel == 32;
}
}  // namespace

bool CqComposedCache::draw(HDC dc, const RECT& rect, const Key& key, const Compose& compose) {
    if (!dc || key.w <= 0 || key.h <= 0 || key.w > kMaxPixels / key.h) return false;
    const auto blend = qmod::imageBlendEntry<qmod::AlphaBlendFn>("AlphaBlend");
    if (!blend || !plain32BitTarget(dc)) return false;
    Entry* e = find(key);
    if (!e && !(e = make(key, compose))) return false;
    if (m_staged != e) {
        if (!stageSize(key.w, key.h)) return false;
        GdiFlush();
        std::memcpy(m_bits, e->pixels.get(), (size_t)key.w * key.h * 4);
        m_staged = e;
    }
    e->used = ++m_clock;
    const BLENDFUNCTION over = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return blend(dc, rect.left, rect.top, key.w, key.h, m_dc, 0, 0, key.w, key.h, over) != FALSE;
}

CqComposedCache::Entry* CqComposedCache::find(const Key& key) {
    for (Entry& e : m_entries)
        if (e.pixels && e.key == key) return &e;
    return nullptr;
}

// A new picture in the free or least recently used slot, composed on the cleared (transparent)
// stage and copied out.
CqComposedCache::Entry* CqComposedCache::make(const Key& key, const Compose& compose) {
    Entry* slot = &m_entries[0];
    for (Entry& e : m_entries) {
        if (!e.pixels) {
            slot = &e;
            break;
        }
        if (e.used < slot->used) slot = &e;
    }
    const size_t bytes = (size_t)key.w * key.h * 4;
    std::unique_ptr<uint32_t[]> pixels(new (std::nothrow) uint32_t[(size_t)key.w * key.h]);
    if (!pixels || !stageSize(key.w, key.h)) return nullptr;
    m_staged = nullptr;
    GdiFlush();
    std::memset(m_bits, 0, bytes);
    if (!compose(m_dc, RECT{0, 0, key.w, key.h})) return nullptr;
    GdiFlush();
    std::memcpy(pixels.get(), m_bits, bytes);
    *slot = Entry{key, std::move(pixels), 0};
    m_staged = slot;
    return slot;
}

// A stage of exactly w x h, so a picture's rows and the DIB's rows are laid out alike.
bool CqComposedCache::stageSize(int w, int h) {
    if (m_dib && m_w == w && m_h == h) return true;
    releaseStage();
    m_dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    m_dib = m_dc ? qdraw::createDIBSection(m_dc, w, h, 32, &bits) : nullptr;
    m_old = m_dib ? SelectObject(m_dc, m_dib) : nullptr;
    if (!m_old || m_old == HGDI_ERROR) {
        m_old = nullptr;
        releaseStage();
        return false;
    }
    m_bits = static_cast<uint32_t*>(bits);
    m_w = w, m_h = h;
    return true;
}

void CqComposedCache::releaseStage() {
    if (m_dc && m_old) SelectObject(m_dc, m_old);
    if (m_dib) DeleteObject(m_dib);
    if (m_dc) DeleteDC(m_dc);
    m_dc = nullptr, m_dib = nullptr, m_old = nullptr, m_bits = nullptr;
    m_w = m_h = 0;
    m_staged = nullptr;
}

void CqComposedCache::clear() {
    for (Entry& e : m_entries) e = Entry{};
    releaseStage();
    m_clock = 0;
}
