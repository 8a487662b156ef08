// Real drags inside one process: the source's press handler runs the system's drag loop while a
// second thread moves the pointer and works the button and Esc as a person would.
#include "ddtest.h"
#include <thread>

namespace {
struct DragTest : public TargetTest {
    ProbeSource source;
    std::atomic<int> step{0};   // how far the driver got
    void SetUp() override {
        TargetTest::SetUp();
        source.m_fnSetDragWindow(&scene.source);
        source.m_fnEnableDragOperation(1);
        source.m_fnSetAllowedDragOperation(3);   // copy and move
    }
    // Runs drive on a second thread while this thread pumps messages, and so runs the drag.
    void run(const std::function<void()>& drive) {
        if (GetFocus() != scene.source.m_hWnd) scene.source.SetForegroundWindow(), scene.source.SetFocus();
        pointerTo(scene.source.screen(150, 120));   // away from the press point
        pumpUntil([] { return false; }, 50);
        scene.source.clicks.clear(), source.presses = 0, target.clear(), step = 0;
        std::atomic<bool> driven{false};
        std::thread t([&] { drive(), driven = true; });
        EXPECT_TRUE(pumpUntil([&] { return driven.load(); }, 90000));
        t.join();
        pumpUntil([] { return false; }, 100);   // a posted release, if any
    }
};
}  // namespace

// Each format travels by a real drag: the target sees enter, over and drop with the right formats,
// points, key states and effects; a menu-view drop hands over the source's own list.
TEST_F(DragTest, DropDeliversEveryFormat) {
    source.items = {{21, 1}, {22, 0}};
    const std::pair<UINT, const void*> cases[] = {{CF_TEXT, nullptr}, {source.m_cfThumbList, nullptr},
        {source.m_cfMenuView, &source.m_listMenuItem}, {source.m_cfMenuObjectAttribute, &source.m_stMenuObjectAttribute}};
    for (const auto& c : cases) {
        source.prefer(c.first);
        run([&] {
            POINT at = scene.source.screen(40, 30);
            send({mouseInput(MOUSEEVENTF_LEFTDOWN, &at)});
            if (!waitUntil([&] { return source.presses > 0; })) return;
            pointerTo(scene.target.screen(100, 70));
            if (!waitUntil([&] { return target.events[0] > 0; })) return;
            pointerTo(scene.target.screen(120, 90));
            if (!waitUntil([&] { return target.lastOver == (120L << 16 | 90); })) return;
            send({mouseInput(MOUSEEVENTF_LEFTUP)});
            if (waitUntil([&] { return target.events[2] > 0; })) step = 1;
        });
        SCOPED_TRACE(c.first);
        ASSERT_EQ(step, 1);
        EXPECT_TRUE(scene.source.clicks.empty());   // the drag consumed the press
        const Arrival &a = target.arrivals.front(), &z = target.arrivals.back();
        EXPECT_TRUE(a.nEvent == 0 && a.format == c.first && a.bLast && a.effect == 0 && (a.keyState & MK_LBUTTON));
        EXPECT_TRUE(z.nEvent == 2 && z.keyState == 0 && z.effect == 3);
        // In client coordinates; under load Wine may drop at the point of the move queued before the last.
        EXPECT_TRUE((z.point.x == 120 && z.point.y == 90) || (z.point.x == 100 && z.point.y == 70)) << z.point.x;
        ASSERT_FALSE(target.extracts.empty());
        const Extract& e = target.extracts.back();
        EXPECT_TRUE(e.kind == "THMA"[&c - cases] && e.effect == 3u && e.object == (c.second ? c.second : e.object));
        EXPECT_TRUE((e.kind != 'T' || e.text == L"abc") && (e.kind != 'M' || e.bytes.size() == 16u));
    }
}

// A release or Esc before the pointer leaves the 10 x 10 square (moved 4 pixels: still inside) starts
// no drag: the window gets the press and a release at the press point. Moved 6 pixels, the press
// starts a drag, which a target on the source window itself sees, and is consumed.
TEST_F(DragTest, TheStartSquare) {
    source.prefer(CF_TEXT);
    ProbeTarget onSource;   // sees whether the moves started a drag
    onSource.m_fnSetDropWindow(&scene.source);
    const UINT delay = COleDropSource::nDragDelay;
    COleDropSource::nDragDelay = 20000;   // only the pointer may start these drags, however slow the machine
    const POINT at = scene.source.screen(40, 30), in = {at.x + 4, at.y - 4}, out = {at.x, at.y + 6};
    const INPUT down = mouseInput(MOUSEEVENTF_LEFTDOWN, &at), up = mouseInput(MOUSEEVENTF_LEFTUP);
    const POINT* moves[] = {nullptr, nullptr, &in, &out};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        onSource.clear();
        onSource.m_fnEnableDropOperation(i >= 2 ? 1 : 0);
        run([&] {
            send(i == 0 ? std::vector<INPUT>{down, up} : i == 1 ? std::vector<INPUT>{down, keyInput(VK_ESCAPE)}
                                                              : std::vector<INPUT>{down});
            if (!waitUntil([&] { return source.presses > 0; })) return;
            if (const POINT* to = moves[i]) {
                // Separately, and only once the pointer is there: the system may drop a move batched
                // with button input.
                pointerTo(*to);
                waitUntil([&] {
                    POINT p;
                    return GetCursorPos(&p) && p.x == to->x && p.y == to->y;
                });
                // A drag's loop drops on no target when the release comes before its first move:
                // let go once the source window has seen the drag enter, nudging the pointer if needed.
                if (i == 3 && !waitUntil([&] { return onSource.events[0] > 0; }, 2000)) {
                    pointerTo({to->x + 1, to->y});
                    waitUntil([&] { return onSource.events[0] > 0; }, 5000);
                }
                send({up});
            }
            if (i == 1) {   // let go once the window has the press (or the wait is over)
                waitUntil([&] { return !scene.source.clicks.empty(); }, 3000);
                send({up, keyInput(VK_ESCAPE, true)});
            }
            step = 1;
        });
        pumpUntil([&] { return scene.source.clicks.size() >= 2; }, i == 3 ? 300 : 5000);
        EXPECT_TRUE(step == 1 && target.arrivals.empty());
        EXPECT_EQ(onSource.events[2], i == 3 ? 1 : 0);
        const std::vector<std::pair<UINT, LPARAM>> click = {{WM_LBUTTONDOWN, MAKELPARAM(40, 30)}, {WM_LBUTTONUP, MAKELPARAM(40, 30)}};
        if (scene.source.clicks.size() > 2) scene.source.clicks.resize(2);   // Esc's own release may follow
        EXPECT_EQ(scene.source.clicks, i == 3 ? decltype(click){} : click);
    }
    COleDropSource::nDragDelay = delay;
}
