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
    if (!e && !(e = make(key, compose))) return false;
    e->used = ++m_clock;
    const BLENDFUNCTION over = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return blend(dc, rect.left, rect.top, key.w, key.h, e->dc, 0, 0, key.w, key.h, over) != FALSE;
}

CqComposedCache::Entry* CqComposedCache::find(const Key& key) {
    for (Entry& e : m_entries)
        if (e.dc && e.key == key) return &e;
    return nullptr;
}

// A new picture in the free or least recently used slot: a zeroed (transparent) 32-bit DIB that
// the composition draws on.
CqComposedCache::Entry* CqComposedCache::make(const Key& key, const Compose& compose) {
    Entry* slot = &m_entries[0];
    for (Entry& e : m_entries) {
        if (!e.dc) {
            slot = &e;
            break;
        }
        if (e.used < slot->used) slot = &e;
    }
    release(*slot);
    Entry made = {key, CreateCompatibleDC(nullptr), nullptr, nullptr, 0};
    void* bits = nullptr;
    if (made.dc) made.dib = qdraw::createDIBSection(made.dc, key.w, key.h, 32, &bits);
    if (made.dib) made.old = SelectObject(made.dc, made.dib);
    const RECT whole = {0, 0, key.w, key.h};
    if (!made.old || made.old == HGDI_ERROR || !compose(made.dc, whole)) {
        if (made.old == HGDI_ERROR) made.old = nullptr;
        release(made);
        return nullptr;
    }
    *slot = made;
    return slot;
}

void CqComposedCache::release(Entry& e) {
    if (e.dc && e.old) SelectObject(e.dc, e.old);
    if (e.dib) DeleteObject(e.dib);
    if (e.dc) DeleteDC(e.dc);
    e = Entry{};
}

void CqComposedCache::clear() {
    for (Entry& e : m_entries) release(e);
    m_clock = 0;
}
