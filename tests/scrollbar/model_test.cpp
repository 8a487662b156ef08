// The scroll bar's arithmetic in tables: limits, thumb length and place, hit codes at every edge,
// line, page, wheel and drag steps. No window involved.
#include <gtest/gtest.h>
#include "controls/ScrollBarModel.h"

using namespace qsb;

namespace {
// The default skin's sizes: 16 x 16 arrow cells, 12-wide thumb of 6 + 4 + 6.
const Size kArrow = {16, 16}, kThumbBegin = {12, 6}, kThumbMiddle = {12, 4}, kThumbEnd = {12, 6};

Model model(int nMin, int nMax, int page, int line, int pos = 0, unsigned behavior = 0) {
    Model m = {nMin, nMax, page, line, pos, pos, 0};
    normalise(m);
    m.nLimit = computeLimit(m, isInactive(m), behavior);
    return m;
}

Size across(bool vertical, Size s) { return vertical ? s : Size{s.cy, s.cx}; }

// A laid-out and placed bar of the given length across 16 pixels; the piece sizes are given for a
// vertical bar and turned for a horizontal one, as the skin's images are.
Layout bar(bool vertical, int length, const Model& m, Size tb = kThumbBegin, Size tm = kThumbMiddle,
           Size te = kThumbEnd) {
    tb = across(vertical, tb), tm = across(vertical, tm), te = across(vertical, te);
    const Rect client = vertical ? Rect{0, 0, 16, length} : Rect{0, 0, length, 16};
    Layout l = layoutRects(vertical, client, kArrow, 2, tm, minimumThumb(vertical, tb, tm, te), m, isInactive(m));
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
        {0, 99, 10, 1, 0, 90, false},
        {0, 99, 10, 1, 1, 99, false},
        {0, 99, 10, 3, 0, 92, false},           // ceil(100 / 3) * 3 - 10
        {-50, 49, 10, 3, 0, 42, false},         // the same, shifted by nMin
        {100, 199, 10, 1, 0, 190, false},
        {0, 299999, 1000, 1, 0, 299000, false}, // a long clip
        {0, 9, 10, 1, 0, 0, true},              // the range fits one page
        {7, 7, 1, 1, 0, 7, true},               // a single value
        {10, 5, 1, 1, 1, 10, true},             // nMax below nMin
        {0, 99, 0, 0, 0, 99, false},            // page and line of 0 count as 1
        {0, 99, 500, 1, 0, 0, true},            // page larger than the range
        {INT_MIN, INT_MAX, 10, 7, 0, 2147483641, false},
    };
    for (const Row& r : rows) {
        Model m = model(r.nMin, r.nMax, r.page, r.line, 0, r.behavior);
        SCOPED_TRACE(testing::Message() << r.nMin << ".." << r.nMax << " page " << r.page << " line " << r.line);
        EXPECT_EQ(r.limit, m.nLimit);
        EXPECT_EQ(r.inactive, isInactive(m));
        EXPECT_GE(m.nPage, 1);
        EXPECT_GE(m.nLine, 1);
    }
}

TEST(ScrollModel, ThumbLengthAndPlacementInBothOrientations) {
    // Length 236 leaves a 200-pixel shaft from 18 to 218 between the arrows and their 2-pixel gaps.
    struct Row {
        int nMin, nMax, page, line, pos, length;
        int thumbStart, thumbLength;
    } rows[] = {
        {0, 99, 10, 1, 0, 236, 18, 20},
        {0, 99, 10, 1, 45, 236, 18 + 90, 20},     // travel 180 x 45 / 90
        {0, 99, 10, 1, 90, 236, 198, 20},         // at the limit the thumb ends at the shaft's end
        {0, 99, 10, 3, 46, 236, 18 + 91, 17},     // 200 / 34 x 3; 183 x 46 / 92 = 91.5
        {100, 199, 10, 1, 145, 236, 18 + 90, 20}, // measured from nMin
        {0, 299999, 10, 1, 149995, 236, 18 + 92, 16},   // a tiny page: the minimum thumb
        {0, 99, 10, 1, 0, 600, 18, 56},           // longer bar: 564 / 100 x 10 = 56.4
        {0, 99, 10, 1, 30, 40, 6, 16},            // shaft of 4 shorter than the thumb: pushed back up
    };
    for (bool vertical : {true, false}) {
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << (vertical ? "V " : "H ") << r.nMin << ".." << r.nMax << " pos " << r.pos
                                            << " length " << r.length);
            const Layout l = bar(vertical, r.length, model(r.nMin, r.nMax, r.page, r.line, r.pos));
            const Rect along = vertical ? l.thumb : Rect{l.thumb.top, l.thumb.left, l.thumb.bottom, l.thumb.right};
            EXPECT_EQ(r.thumbStart, along.top);
            EXPECT_EQ(r.thumbLength, along.height());
            EXPECT_EQ(2, along.left);   // centred across: (16 - 12) / 2
            EXPECT_EQ(12, along.width());
        }
    }
}

TEST(ScrollModel, ThumbOfThirtyPixelImagesIsNeverShorter) {
    const Size tb = {12, 10}, tm = {12, 10}, te = {12, 10};
    const Layout l = bar(true, 236, model(0, 99, 10, 1), tb, tm, te);
    EXPECT_EQ(30, l.thumb.height());
}

TEST(ScrollModel, InactiveBarHasNoThumb) {
    for (const Model& m : {model(0, 9, 10, 1), model(5, 5, 1, 1), model(9, 2, 1, 1)}) {
        const Layout l = bar(true, 236, m);
        EXPECT_TRUE(l.thumb.empty());
    }
}

TEST(ScrollModel, HitCodesAtTheEdgesOfEveryRectangle) {
    // Vertical: arrows 0..16 and 220..236, shaft 18..218, thumb (2, 108, 14, 128).
    const Layout v = bar(true, 236, model(0, 99, 10, 1, 45));
    ASSERT_EQ((Rect{2, 108, 14, 128}), v.thumb);
    struct Probe {
        int x, y, code;
    } vertical[] = {
        {0, 0, 0},    {15, 15, 0},  {16, 0, -1},  {8, 16, -1},  {8, 17, -1}, {8, 18, 2},   {0, 107, 2},
        {2, 108, 4},  {13, 127, 4}, {14, 108, 3}, {1, 108, 3},  {8, 128, 3}, {15, 217, 3}, {8, 218, -1},
        {8, 219, -1}, {8, 220, 1},  {15, 235, 1}, {8, 236, -1}, {-1, 8, -1}, {16, 100, -1},
    };
    for (const Probe& p : vertical) EXPECT_EQ(p.code, hitTest(true, v, p.x, p.y)) << "V at " << p.x << "," << p.y;
    // Horizontal, transposed, with a thumb of 17 so the edges differ from the vertical case.
    const Layout h = bar(false, 236, model(0, 99, 10, 3, 46));
    ASSERT_EQ((Rect{109, 2, 126, 14}), h.thumb);
    Probe horizontal[] = {
        {0, 0, 0}, {15, 15, 0}, {16, 8, -1}, {18, 8, 2}, {108, 0, 2}, {109, 2, 4}, {125, 13, 4},
        {126, 8, 3}, {110, 1, 3}, {110, 14, 3}, {217, 8, 3}, {218, 8, -1}, {220, 8, 1}, {235, 15, 1}, {236, 8, -1},
    };
    for (const Probe& p : horizontal) EXPECT_EQ(p.code, hitTest(false, h, p.x, p.y)) << "H at " << p.x << "," << p.y;
}

TEST(ScrollModel, LineAndPageStepsSnapToLinesAndClamp) {
    struct Row {
        int nMin, nMax, page, line, pos;
        int lineDelta, afterLine;
        int pageDirection, afterPage;
    } rows[] = {
        {0, 99, 10, 5, 37, +1, 40, +1, 45},
        {0, 99, 10, 5, 37, -1, 30, -1, 25},
        {0, 99, 10, 1, 37, +3, 40, +1, 47},
        {0, 99, 10, 1, 88, +5, 90, +1, 90},   // stopped by the limit
        {0, 99, 10, 1, 2, -5, 0, -1, 0},      // and by nMin
        {-50, 49, 10, 5, -37, -1, -45, -1, -50},   // negative positions snap downwards
        {0, 99, 10, 5, 37, 0, 35, +1, 45},    // a zero delta only snaps
        {0, 2000000000, 10, 1, 1999999990, 2000000000, 1999999991, +1, 1999999991},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "line " << r.line << " from " << r.pos);
        const Model m = model(r.nMin, r.nMax, r.page, r.line, r.pos);
        EXPECT_EQ(r.afterLine, lineStep(m, r.lineDelta));
        EXPECT_EQ(r.afterPage, pageStep(m, r.pageDirection));
    }
}

TEST(ScrollModel, WheelNotchesAndWheelSteps) {
    const int deltas[][2] = {{120, -1}, {-120, 1}, {60, 0}, {-60, 0}, {240, -2}, {-360, 3}, {119, 0}};
    for (auto d : deltas) EXPECT_EQ(d[1], wheelLines(d[0])) << d[0];
    // A forward notch with line 5 from 40 is a step of -5 lines: 15.
    EXPECT_EQ(15, lineStep(model(0, 99, 10, 5, 40), 5 * wheelLines(120)));
}

TEST(ScrollModel, DragFollowsThePixelAndStopsAtTheShaftEnds) {
    const Model m = model(0, 99, 10, 1, 0);
    const Layout l = bar(true, 236, m);   // thumb 20 at 18, travel 180, limit 90
    struct Row {
        int delta, track, top;
    } rows[] = {{1, 0, 19}, {2, 1, 20}, {45, 22, 63}, {180, 90, 198}, {500, 90, 198}, {-5, 0, 18}};
    for (const Row& r : rows) {
        const Drag d = dragThumb(true, l.thumb, l.shaft, m, r.delta);
        EXPECT_EQ(r.track, d.trackPos) << r.delta;
        EXPECT_EQ(r.top, d.thumb.top) << r.delta;
        EXPECT_EQ(20, d.thumb.height());
    }
    // Measured from nMin, and horizontally the same.
    const Model shifted = model(1000, 1099, 10, 1, 1000);
    const Layout h = bar(false, 236, shifted);
    EXPECT_EQ(1022, dragThumb(false, h.thumb, h.shaft, shifted, 45).trackPos);
    // A thumb that fills the shaft cannot move the position.
    const Layout full = bar(true, 40, model(0, 99, 10, 1, 30));
    EXPECT_EQ(30, dragThumb(true, full.thumb, full.shaft, model(0, 99, 10, 1, 30), 3).trackPos);
}

TEST(ScrollModel, RepeatArrivesAtTheEndOrAtThePressPoint) {
    Model m = model(0, 99, 10, 1, 50);
    const Rect thumb = {2, 100, 14, 120};
    EXPECT_FALSE(repeatArrived(kArrow1, true, m, thumb, 0, 0));
    EXPECT_FALSE(repeatArrived(kArrow2, true, m, thumb, 0, 0));
    EXPECT_TRUE(repeatArrived(kPageBefore, true, m, thumb, 500, 100));
    EXPECT_FALSE(repeatArrived(kPageBefore, true, m, thumb, 0, 99));
    EXPECT_TRUE(repeatArrived(kPageAfter, true, m, thumb, 0, 100));
    EXPECT_FALSE(repeatArrived(kPageAfter, true, m, thumb, 0, 101));
    EXPECT_TRUE(repeatArrived(kPageAfter, false, m, thumb, 2, 500));   // horizontal reads x
    EXPECT_FALSE(repeatArrived(kThumb, true, m, thumb, 0, 0));
    m.nTrackPos = 0;
    EXPECT_TRUE(repeatArrived(kArrow1, true, m, thumb, 0, 0));
    m.nTrackPos = 90;
    EXPECT_TRUE(repeatArrived(kArrow2, true, m, thumb, 0, 0));
}
