// Composed pictures of one alpha image (its nine-cell faces), kept premultiplied so that a later
// paint is one system alpha blend instead of nine GDI+ draws. A picture is made once by the
// image's own GDI+ path onto a transparent surface: as its pieces do not overlap, the surface
// holds exactly the premultiplied pixels GDI+ blends, so the blend of the whole gives the same
// pixels as the pieces one by one.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <memory>

class CqComposedCache {
public:
    // What a picture is made from besides the image: its size and the piece of the image it shows.
    struct Key {
        int w, h, srcX, srcY, srcW, srcH;
        bool operator==(const Key& o) const {
            return w == o.w && h == o.h && srcX == o.srcX && srcY == o.srcY && srcW == o.srcW && srcH == o.srcH;
        }
    };
    // Draws the picture of key into rect (of key's size) on dc, composing it with compose(surface,
    // whole) on a miss. False, with dc untouched, when it cannot: no system alpha blend, a target
    // that is not 32 bits deep, a picture too big to keep, or a composition that did not succeed.
    using Compose = std::function<bool(HDC surface, const RECT& whole)>;
    bool draw(HDC dc, const RECT& rect, const Key& key, const Compose& compose);
    // Forgets every picture; the image they were made from changed.
    void clear();

    CqComposedCache() = default;
    ~CqComposedCache() { clear(); }
    CqComposedCache(const CqComposedCache&) = delete;
    CqComposedCache& operator=(const CqComposedCache&) = delete;

    // One picture per state of a four-state strip; the least recently used goes first.
    static const int kEntries = 4;
    // Pictures above this many pixels are drawn uncached rather than kept (4 bytes each).
    static const int kMaxPixels = 1 << 18;

private:
    // The pictures live in plain memory; the one being drawn is copied into a single DIB section
    // (the stage), so the cache holds two GDI objects however many pictures it keeps.
    struct Entry {
        Key key;
        std::unique_ptr<uint32_t[]> pixels;
        unsigned used;
    };
    Entry* find(const Key& key);
    Entry* make(const Key& key, const Compose& compose);
    bool stageSize(int w, int h);
    void releaseStage();

    Entry m_entries[kEntries] = {};
    unsigned m_clock = 0;
    HDC m_dc = nullptr;
    HBITMAP m_dib = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
    int m_w = 0, m_h = 0;
    const Entry* m_staged = nullptr;   // the picture the stage holds, null when none
};
