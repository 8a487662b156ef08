// Real drags inside one process: the source's press handler runs the system's drag loop while a
// second thread moves the pointer and works the button and Esc as a person would.
#include <gtest/gtest.h>
#include "ddtest.h"
#include <thread>

namespace {
struct DragFixture : public ::testing::Test {
    Scene& scene = Scene::get();
    ProbeSource source;
    ProbeTarget target;
    std::atomic<int> step{0};   // how far the driver got

    void SetUp() override {
        source.m_fnSetDragWindow(&scene.source);
        source.m_fnEnableDragOperation(1);
        source.m_fnSetAllowedDragOperation(3);   // copy and move
        target.m_fnSetDropWindow(&scene.target);
        target.m_fnEnableDropOperation(1);
        reset();
    }
    void reset() {
        pointerTo(src(150, 120));   // away from the press point
        pumpUntil([] { return false; }, 50);
        scene.source.clicks.clear();
        source.presses = 0;
        target.clear();
        step = 0;
    }
    // Runs drive on a second thread while this thread pumps (and so runs the drag).
    void run(const std::function<void()>& drive) {
        std::atomic<bool> driven{false};
        std::thread t([&] {
            drive();
            driven = true;
        });
        EXPECT_TRUE(pumpUntil([&] { return driven.load(); }, 90000));
        t.join();
        pumpUntil([] { return false; }, 100);   // a posted release, if any
    }
    POINT src(int x, int y) { return scene.screen(scene.source, x, y); }
    POINT dst(int x, int y) { return scene.screen(scene.target, x, y); }
    // Press at (40, 30) of the source and wait until the source saw it.
    bool press() {
        pointerTo(src(40, 30));
        leftButton(true);
        return waitUntil([&] { return source.presses > 0; });
    }
    // Over the target to (100, 70), then to (120, 90), each seen by the target.
    bool overTarget() {
        pointerTo(dst(100, 70));
        if (!waitUntil([&] { return target.events[0] > 0; })) return false;
        pointerTo(dst(120, 90));
        return waitUntil([&] { return target.lastOver == (120L << 16 | 90); });
    }
    LPARAM pressPoint() const { return MAKELPARAM(40, 30); }
};
}  // namespace

// Each format travels by a real drag: the target sees enter, over and drop with the right
// formats, points, key states and effects; a menu-view drop hands over the source's own list.
TEST_F(DragFixture, DropDeliversEveryFormat) {
    source.items = {{21, 1}, {22, 0}};
    struct Case {
        UINT format;
        char kind;
    } cases[] = {{CF_TEXT, 'T'}, {source.m_cfThumbList, 'H'}, {source.m_cfMenuView, 'M'},
                 {source.m_cfMenuObjectAttribute, 'A'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        reset();
        source.m_fnSetPreferClipboardFormat(c.format);
        run([&] {
            if (!press()) return;
            step = 1;
            if (!overTarget()) return;
            step = 2;
            leftButton(false);
            if (waitUntil([&] { return target.events[2] > 0; })) step = 3;
        });
        ASSERT_EQ(step, 3);
        EXPECT_EQ(source.presses, 1);
        EXPECT_TRUE(scene.source.clicks.empty());   // the drag consumed the press

        ASSERT_FALSE(target.arrivals.empty());
        const Arrival& first = target.arrivals.front();
        EXPECT_EQ(first.nEvent, 0);
        EXPECT_EQ(first.format, c.format);
        EXPECT_EQ(first.bLast, 1);
        EXPECT_TRUE(first.keyState & MK_LBUTTON);
        EXPECT_EQ(first.effect, 0u);
        const Arrival& last = target.arrivals.back();
        EXPECT_EQ(last.nEvent, 2);
        EXPECT_EQ(last.keyState, 0u);
        EXPECT_EQ(last.effect, 3u);
        EXPECT_EQ(last.point.x, 120);
        EXPECT_EQ(last.point.y, 90);

        ASSERT_FALSE(target.extracts.empty());
        const Extract& e = target.extracts.back();
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.effect, 3u);
        if (c.kind == 'T') {
            EXPECT_EQ(e.text, L"abc");
        } else if (c.kind == 'M') {
            EXPECT_EQ(e.object, &source.m_listMenuItem);
            EXPECT_EQ(e.bytes.size(), 16u);
        } else if (c.kind == 'A') {
            EXPECT_EQ(e.object, &source.m_stMenuObjectAttribute);
        }
    }
}

// A release or Esc before the pointer leaves the square starts no drag: the window gets the press
// and a release at the press point.
TEST_F(DragFixture, ReleaseOrEscapeInsideTheSquareIsAClick) {
    source.preferText();
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "escape" : "release");
        reset();
        run([&] {
            pointerTo(src(40, 30));
            pressThen(escape);
            if (waitUntil([&] { return source.presses > 0; })) step = 1;
        });
        pumpUntil([&] { return scene.source.clicks.size() >= 2; }, 5000);
        EXPECT_EQ(step, 1);
        ASSERT_GE(scene.source.clicks.size(), 2u);
        EXPECT_EQ(scene.source.clicks[0], std::make_pair((UINT)WM_LBUTTONDOWN, pressPoint()));
        EXPECT_EQ(scene.source.clicks[1], std::make_pair((UINT)WM_LBUTTONUP, pressPoint()));
        EXPECT_TRUE(target.arrivals.empty());
        if (escape) {
            pressEscape(false);
            leftButton(false);
            pumpUntil([] { return false; }, 100);
        }
    }
}

// A drag abandoned with Esc after the pointer left the square drops nothing and still consumes
// the press.
TEST_F(DragFixture, EscapeAfterLeavingTheSquareCancels) {
    source.m_fnSetPreferClipboardFormat(source.m_cfMenuView);
    run([&] {
        if (!press() || !overTarget()) return;
        pointerTo(src(150, 120));   // off the target again, outside the square
        if (!waitUntil([&] { return target.leaves > 0; })) return;
        pressEscape(true);
        pressEscape(false);
        step = 1;
    });
    pumpUntil([] { return false; }, 300);
    leftButton(false);
    pumpUntil([] { return false; }, 100);
    EXPECT_EQ(step, 1);
    EXPECT_EQ(target.events[2], 0);
    EXPECT_TRUE(target.extracts.empty() || target.extracts.back().kind == 'M');
    ASSERT_FALSE(scene.source.clicks.empty());   // only the final real release
    EXPECT_EQ(scene.source.clicks[0].first, (UINT)WM_LBUTTONUP);
}
