#include "imaging/composedCache.h"
#include "drawing/gdiutil.h"
#include "frame/moduleState.h"

namespace {
typedef BOOL(WINAPI* AlphaBlendFn)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

// The system's blend, from the image-blending library the module bound at attach.
AlphaBlendFn systemAlphaBlend() {
    HMODULE lib = qmod::imageBlendLibrary();
    return lib ? (AlphaBlendFn)(void*)GetProcAddress(lib, "AlphaBlend") : nullptr;
}

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
    const AlphaBlendFn blend = systemAlphaBlend();
    if (!blend || !plain32BitTarget(dc)) return false;
    Entry* e = find(key);
    if (!e) e = make(key, compose);
    if (!e || !select(e->dib)) return false;
    e->used = ++m_clock;
    const BLENDFUNCTION over = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return blend(dc, rect.left, rect.top, key.w, key.h, m_dc, 0, 0, key.w, key.h, over) != FALSE;
}

CqComposedCache::Entry* CqComposedCache::find(const Key& key) {
    for (Entry& e : m_entries)
        if (e.dib && e.key == key) return &e;
    return nullptr;
}

// A new picture in the free or least recently used slot: a zeroed (transparent) 32-bit DIB that
// the composition draws on.
CqComposedCache::Entry* CqComposedCache::make(const Key& key, const Compose& compose) {
    Entry* slot = &m_entries[0];
    for (Entry& e : m_entries) {
        if (!e.dib) {
            slot = &e;
            break;
        }
        if (e.used < slot->used) slot = &e;
    }
    if (slot->dib) {
        if (m_selected == slot->dib) select(nullptr);
        DeleteObject(slot->dib);
        slot->dib = nullptr;
    }
    void* bits = nullptr;
    HBITMAP dib = qdraw::createDIBSection(nullptr, key.w, key.h, 32, &bits);
    if (!dib) return nullptr;
    const RECT whole = {0, 0, key.w, key.h};
    if (!select(dib) || !compose(m_dc, whole)) {
        select(nullptr);
        DeleteObject(dib);
        return nullptr;
    }
    *slot = Entry{key, dib, 0};
    return slot;
}

// Selects dib (null: none) into the cache's DC, made on first use.
bool CqComposedCache::select(HBITMAP dib) {
    if (dib == m_selected) return true;
    if (!dib) {
        if (m_dc && m_old) SelectObject(m_dc, m_old);
        m_selected = nullptr;
        return true;
    }
    if (!m_dc && !(m_dc = CreateCompatibleDC(nullptr))) return false;
    HGDIOBJ old = SelectObject(m_dc, dib);
    if (!old || old == HGDI_ERROR) return false;
    if (!m_selected) m_old = old;
    m_selected = dib;
    return true;
}

void CqComposedCache::clear() {
    select(nullptr);
    for (Entry& e : m_entries) {
        if (e.dib) DeleteObject(e.dib);
        e = Entry{};
    }
    if (m_dc) DeleteDC(m_dc);
    m_dc = nullptr;
    m_old = nullptr;
    m_clock = 0;
}
