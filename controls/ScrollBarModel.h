// The scroll bar's arithmetic: the model (range, page, line, position, limit), the layout of arrows,
// shaft and thumb, the hit test and the steps. Plain integers and no Win32, so it builds and runs
// anywhere; the window class feeds it its members and applies the results.
#pragma once
#include <climits>
#include <cmath>
#include <initializer_list>

namespace qsb {

// Same field order as a Win32 RECT; right and bottom are outside.
struct Rect {
    int left, top, right, bottom;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct Size {
    int cx, cy;
};

// The seven values of the model, in the bar's member order.
struct Model {
    int nMin, nMax, nPage, nLine, nPos, nTrackPos, nLimit;
};

// Zones and actions: the hit codes and what the dispatcher does for them.
enum Zone { kNone = -1, kArrow1 = 0, kArrow2 = 1, kPageBefore = 2, kPageAfter = 3, kThumb = 4, kTop = 5, kBottom = 6 };

inline int clampToInt(long long v) { return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : (int)v; }
// Doubles (possibly infinite or NaN after a bad ratio) to int without undefined behaviour.
inline int truncToInt(double v) {
    if (!(v == v)) return 0;
    if (v <= (double)INT_MIN) return INT_MIN;
    if (v >= (double)INT_MAX) return INT_MAX;
    return (int)v;
}
// Integer division rounding towards minus infinity (d > 0).
inline long long floorDiv(long long n, long long d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

inline long long rangeCount(const Model& m) { return (long long)m.nMax - m.nMin + 1; }

// A page or line of 0 or less counts as 1.
inline void normalise(Model& m) {
    if (m.nPage <= 0) m.nPage = 1;
    if (m.nLine <= 0) m.nLine = 1;
}

// Inactive: nothing to scroll, because the range is empty or fits in one page.
inline bool isInactive(const Model& m) { return !(m.nMax > m.nMin && rangeCount(m) > m.nPage); }

// The highest position scrolling can reach (page and line already normalised).
inline int computeLimit(const Model& m, bool inactive, unsigned behavior) {
    if (inactive) return m.nMin;
    if (behavior != 0) return m.nMax;
    if (m.nLine == 1) return clampToInt((long long)m.nMax - m.nPage + 1);
    const long long lines = (rangeCount(m) + m.nLine - 1) / m.nLine;   // ceil, range > 0 here
    return clampToInt(lines * m.nLine + m.nMin - m.nPage);
}

inline Size minimumThumb(bool vertical, Size begin, Size middle, Size end) {
    if (vertical) return {middle.cx, begin.cy + middle.cy + end.cy};
    return {begin.cx + middle.cx + end.cx, middle.cy};
}

// Thumb length along the shaft: the page's share of the range, counted in whole lines.
inline int thumbLength(int shaftLength, const Model& m) {
    const long long lines = (rangeCount(m) + m.nLine - 1) / m.nLine;
    if (lines <= 0) return 0;
    return truncToInt((double)shaftLength / (double)lines * (double)(m.nPage / m.nLine));
}

struct Layout {
    Rect arrow1, arrow2, shaft, thumb;
};

// Arrows, shaft and the unplaced thumb (at the shaft's start) for a client rectangle.
inline Layout layoutRects(bool vertical, Rect c, Size arrow, int arrowOffset, Size thumbMiddle, Size minThumb,
                          const Model& m, bool inactive) {
    Layout out = {};
    const bool hasThumb = m.nMax > m.nMin && !inactive;
    if (vertical) {
        const int x = (c.right - arrow.cx - c.left) / 2;
        out.arrow1 = {x, 0, x + arrow.cx, arrow.cy};
        out.arrow2 = {x, c.bottom - arrow.cy, x + arrow.cx, c.bottom};
        out.shaft = {c.left, out.arrow1.bottom + arrowOffset, c.right, out.arrow2.top - arrowOffset};
        if (hasThumb) {
            const int len = thumbLength(out.shaft.height(), m);
            const int tx = (c.right - thumbMiddle.cx - c.left) / 2;
            out.thumb = {tx, out.shaft.top, tx + thumbMiddle.cx, out.shaft.top + len};
            if (out.thumb.height() < minThumb.cy) out.thumb.bottom = out.thumb.top + minThumb.cy;
        }
    } else {
        const int y = (c.bottom - arrow.cy - c.top) / 2;
        out.arrow1 = {0, y, arrow.cx, y + arrow.cy};
        out.arrow2 = {c.right - arrow.cx, y, c.right, y + arrow.cy};
        out.shaft = {out.arrow1.right + arrowOffset, c.top, out.arrow2.left - arrowOffset, c.bottom};
        if (hasThumb) {
            const int len = thumbLength(out.shaft.width(), m);
            const int ty = (c.bottom - thumbMiddle.cy - c.top) / 2;
            out.thumb = {out.shaft.left, ty, out.shaft.left + len, ty + thumbMiddle.cy};
            if (out.thumb.width() < minThumb.cx) out.thumb.right = out.thumb.left + minThumb.cx;
        }
    }
    return out;
}

// Free travel of the thumb along the shaft (may be 0 or less when the thumb fills the shaft).
inline int thumbTravel(bool vertical, const Rect& thumb, const Rect& shaft) {
    return vertical ? shaft.height() - thumb.height() : shaft.width() - thumb.width();
}

// Moves the thumb along the axis so that it lies inside the shaft: first its start, then its end.
inline Rect keepInShaft(bool vertical, Rect t, const Rect& shaft) {
    if (vertical) {
        if (t.top < shaft.top) t.bottom += shaft.top - t.top, t.top = shaft.top;
        if (t.bottom > shaft.bottom) t.top -= t.bottom - shaft.bottom, t.bottom = shaft.bottom;
    } else {
        if (t.left < shaft.left) t.right += shaft.left - t.left, t.left = shaft.left;
        if (t.right > shaft.right) t.left -= t.right - shaft.right, t.right = shaft.right;
    }
    return t;
}

// The thumb at nTrackPos. Positions are measured from nMin, so a range that does not start at 0
// still puts nMin at the shaft's start and nLimit at its end.
inline Rect placeThumb(bool vertical, Rect t, const Rect& shaft, const Model& m) {
    if (t.empty() || m.nLimit == m.nMin) return t;
    const double travel = thumbTravel(vertical, t, shaft);
    const int offset =
        truncToInt(std::floor(travel / ((double)m.nLimit - m.nMin) * ((double)m.nTrackPos - m.nMin)));
    if (vertical) {
        const int h = t.height();
        t.top = clampToInt((long long)shaft.top + offset), t.bottom = clampToInt((long long)t.top + h);
    } else {
        const int w = t.width();
        t.left = clampToInt((long long)shaft.left + offset), t.right = clampToInt((long long)t.left + w);
    }
    return keepInShaft(vertical, t, shaft);
}

// The zone under a point; PtInRect semantics.
inline int hitTest(bool vertical, const Layout& l, int x, int y) {
    if (l.arrow1.contains(x, y)) return kArrow1;
    if (l.arrow2.contains(x, y)) return kArrow2;
    if (l.thumb.contains(x, y)) return kThumb;
    if (!l.shaft.contains(x, y)) return kNone;
    if (vertical) return y < l.thumb.top ? kPageBefore : kPageAfter;
    return x < l.thumb.left ? kPageBefore : kPageAfter;
}

inline int clampPos(long long pos, const Model& m) {
    if (pos < m.nMin) pos = m.nMin;
    if (pos > m.nLimit) pos = m.nLimit;
    return (int)pos;
}

// Position after a step of delta lines: snapped down to a whole line first, then clamped.
inline int lineStep(const Model& m, long long delta) {
    const long long pos = m.nLine == 1 ? (long long)m.nPos + delta : (floorDiv(m.nPos, m.nLine) + delta) * m.nLine;
    return clampPos(pos, m);
}

// Position after a page step in a direction (-1 or +1), left on a whole line.
inline int pageStep(const Model& m, int direction) {
    const long long target = (long long)m.nPage * direction + m.nPos;
    return clampPos(floorDiv(target, m.nLine) * m.nLine, m);
}

// Wheel notches to lines: a forward notch scrolls towards nMin. Part notches count as none.
inline int wheelLines(int zDelta) { return -(zDelta / 120); }

// A thumb drag by delta pixels: the position the dragged thumb stands for, and the thumb kept
// inside the shaft. With no room to travel the position stays.
struct Drag {
    int trackPos;
    Rect thumb;
};
inline Drag dragThumb(bool vertical, const Rect& thumb, const Rect& shaft, const Model& m, int delta) {
    Rect moved = thumb;
    if (vertical) moved.top += delta, moved.bottom += delta;
    else moved.left += delta, moved.right += delta;
    const int travel = thumbTravel(vertical, thumb, shaft);
    int track = m.nTrackPos;
    if (travel > 0) {
        const double offset = vertical ? (double)moved.top - shaft.top : (double)moved.left - shaft.left;
        const long long pos = (long long)m.nMin + truncToInt(std::floor(offset / travel * ((double)m.nLimit - m.nMin)));
        track = clampPos(pos, m);
    }
    return {track, keepInShaft(vertical, moved, shaft)};
}

// Whether holding the button has done its work: the end of the range for an arrow, the thumb
// reaching the press point for the shaft.
inline bool repeatArrived(int code, bool vertical, const Model& m, const Rect& thumb, int anchorX, int anchorY) {
    const int lead = vertical ? thumb.top : thumb.left;
    const int anchor = vertical ? anchorY : anchorX;
    switch (code) {
    case kArrow1: return m.nTrackPos <= m.nMin;
    case kArrow2: return m.nTrackPos >= m.nLimit;
    case kPageBefore: return lead <= anchor;
    case kPageAfter: return lead >= anchor;
    default: return false;
    }
}

// Thickness that fits the skin: the largest of the current one and the arrow and shaft pieces.
inline int fitThickness(int current, int arrow, int shaftBegin, int shaftMiddle, int shaftEnd) {
    int v = current;
    for (int s : {arrow, shaftBegin, shaftMiddle, shaftEnd})
        if (s > v) v = s;
    return v;
}

}  // namespace qsb
