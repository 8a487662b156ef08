// The scroll bar's arithmetic in tables: limits, thumb length and place, hit codes at every edge,
// line and page steps. No window involved.
#include <gtest/gtest.h>
#include "controls/ScrollBarModel.h"

using namespace qsb;

namespace {
Model model(int nMin, int nMax, int page, int line, int pos = 0, unsigned behavior = 0) {
    Model m = {nMin, nMax, page, line, pos, pos, 0};
    normalise(m);
    m.nLimit = computeLimit(m, isInactive(m), behavior);
    return m;
}

// A bar of the given length across 16 pixels with the default skin's 16 x 16 arrows and a thumb of
// 6 + 4 + 6 (or 10 + 10 + 10) by 12, turned for a horizontal bar as the skin's images are.
Layout bar(bool vertical, int length, const Model& m, int piece = 6) {
    auto turn = [&](int w, int h) { return vertical ? Size{w, h} : Size{h, w}; };
    const Size tb = turn(12, piece), tm = turn(12, piece == 6 ? 4 : piece);
    const Rect client = vertical ? Rect{0, 0, 16, length} : Rect{0, 0, length, 16};
    Layout l = layoutRects(vertical, client, {16, 16}, 2, tm, minimumThumb(vertical, tb, tm, tb), m, isInactive(m));
    l.thumb = placeThumb(vertical, l.thumb, l.shaft, m);
    return l;
}
}  // namespace

TEST(ScrollModel, LimitAndActivityFollowRangePageLineAndBehaviour) {
    struct Row {
        int nMin, nMax, page, line;
        unsigned behavior;
        int limit;
        bool inactive;
    } rows[] = {
        {0, 99, 10, 1, 0, 90, false},  {0, 99, 10, 1, 1, 99, false}, {-50, 49, 10, 3, 0, 42, false},   // ceil(100 / 3) x 3 - 10
        {0, 9, 10, 1, 0, 0, true},     {7, 7, 1, 1, 0, 7, true},     {10, 5, 1, 1, 1, 10, true},
        {0, 99, 0, 0, 0, 99, false},   {INT_MIN, INT_MAX, 10, 7, 0, 2147483641, false},   // page 0 counts as 1
    };
    for (const Row& r : rows) {
        Model m = model(r.nMin, r.nMax, r.page, r.line, 0, r.behavior);
        EXPECT_EQ(r.limit, m.nLimit) << r.nMin << ".." << r.nMax << " page " << r.page << " line " << r.line;
        EXPECT_EQ(r.inactive, isInactive(m)) << r.nMin << ".." << r.nMax;
    }
}

TEST(ScrollModel, ThumbLengthAndPlacementInBothOrientations) {
    // Length 236 leaves a 200-pixel shaft from 18 to 218 between the arrows and their 2-pixel gaps.
    struct Row {
        int nMin, nMax, page, line, pos, length, piece;
        int thumbStart, thumbLength;
    } rows[] = {
        {0, 99, 10, 1, 90, 236, 6, 198, 20},       // at the limit the thumb ends at the shaft's end
        {0, 99, 10, 3, 46, 236, 6, 18 + 91, 17},   // 200 / 34 x 3; 183 x 46 / 92 = 91.5
        {100, 199, 10, 1, 145, 236, 6, 18 + 90, 20}, {0, 99, 10, 1, 0, 600, 6, 18, 56},   // 564 / 100 x 10
        {0, 99, 10, 1, 30, 40, 6, 6, 16},          // shaft of 4 shorter than the thumb: pushed back up
        {0, 99, 10, 1, 0, 236, 10, 18, 30},        // thirty-pixel pieces: never shorter
        {0, 9, 10, 1, 0, 236, 6, 0, 0},            // inactive: no thumb
    };
    for (bool vertical : {true, false})
        for (const Row& r : rows) {
            const Layout l = bar(vertical, r.length, model(r.nMin, r.nMax, r.page, r.line, r.pos), r.piece);
            const Rect along = vertical ? l.thumb : Rect{l.thumb.top, l.thumb.left, l.thumb.bottom, l.thumb.right};
            const Rect want = r.thumbLength ? Rect{2, r.thumbStart, 14, r.thumbStart + r.thumbLength} : Rect{};
            EXPECT_TRUE(want == along || (!r.thumbLength && along.empty()))
                << (vertical ? "V " : "H ") << r.nMin << ".." << r.nMax << " pos " << r.pos << ": " << along.left << ","
                << along.top << "," << along.right << "," << along.bottom;
        }
}

TEST(ScrollModel, HitCodesAtTheEdgesOfEveryRectangle) {
    // Vertical: arrows 0..16 and 220..236, shaft 18..218, thumb (2, 108, 14, 128); horizontal
    // transposed with a thumb of 17 so the edges differ.
    const Layout v = bar(true, 236, model(0, 99, 10, 1, 45)), h = bar(false, 236, model(0, 99, 10, 3, 46));
    ASSERT_TRUE((Rect{2, 108, 14, 128}) == v.thumb && (Rect{109, 2, 126, 14}) == h.thumb);
    struct Probe {
        bool vertical;
        int x, y, code;
    } probes[] = {
        {1, 0, 0, 0},     {1, 15, 15, 0},  {1, 16, 0, -1},   {1, 8, 16, -1},  {1, 8, 17, -1},   {1, 8, 18, 2},
        {1, 0, 107, 2},   {1, 2, 108, 4},  {1, 13, 127, 4},  {1, 14, 108, 3}, {1, 1, 108, 3},   {1, 8, 128, 3},
        {1, 15, 217, 3},  {1, 8, 218, -1}, {1, 8, 220, 1},   {1, 15, 235, 1}, {1, 8, 236, -1},  {1, -1, 8, -1},
        {1, 16, 100, -1}, {0, 16, 8, -1},  {0, 18, 8, 2},    {0, 108, 0, 2},  {0, 109, 2, 4},   {0, 125, 13, 4},
        {0, 126, 8, 3},   {0, 110, 1, 3},  {0, 110, 14, 3},  {0, 217, 8, 3},  {0, 218, 8, -1},  {0, 235, 15, 1},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(p.code, hitTest(p.vertical, p.vertical ? v : h, p.x, p.y)) << p.vertical << " at " << p.x << "," << p.y;
}

TEST(ScrollModel, LineAndPageStepsSnapToLinesAndClamp) {
    struct Row {
        int nMin, nMax, line, pos, lineDelta, afterLine, pageDirection, afterPage;
    } rows[] = {
        {0, 99, 5, 37, +1, 40, +1, 45},  {0, 99, 5, 37, -1, 30, -1, 25}, {0, 99, 1, 88, +5, 90, +1, 90},
        {-50, 49, 5, -37, -1, -45, -1, -50}, {0, 2000000000, 1, 1999999990, 2000000000, 1999999991, +1, 1999999991},
    };
    for (const Row& r : rows) {
        const Model m = model(r.nMin, r.nMax, 10, r.line, r.pos);
        EXPECT_EQ(r.afterLine, lineStep(m, r.lineDelta)) << "line " << r.line << " from " << r.pos;
        EXPECT_EQ(r.afterPage, pageStep(m, r.pageDirection)) << "line " << r.line << " from " << r.pos;
    }
}
