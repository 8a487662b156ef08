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
        reset();
    }
    void reset() {
        if (GetFocus() != scene.source.m_hWnd) {   // Esc goes where the keyboard focus is
            scene.source.SetForegroundWindow();
            scene.source.SetFocus();
        }
        pointerTo(scene.source.screen(150, 120));   // away from the press point
        pumpUntil([] { return false; }, 50);
        scene.source.clicks.clear(), source.presses = 0, target.clear(), step = 0;
    }
    // Runs drive on a second thread while this thread pumps messages, and so runs the drag.
    void run(const std::function<void()>& drive) {
        std::atomic<bool> driven{false};
        std::thread t([&] { drive(), driven = true; });
        EXPECT_TRUE(pumpUntil([&] { return driven.load(); }, 90000));
        t.join();
        pumpUntil([] { return false; }, 100);   // a posted release, if any
    }
    // Press at (40, 30) of the source, then over the target at (100, 70) and (120, 90), each seen.
    bool pressAndGoOver() {
        POINT at = scene.source.screen(40, 30);
        send({mouseInput(MOUSEEVENTF_LEFTDOWN, &at)});
        if (!waitUntil([&] { return source.presses > 0; })) return false;
        pointerTo(scene.target.screen(100, 70));
        if (!waitUntil([&] { return target.events[0] > 0; })) return false;
        pointerTo(scene.target.screen(120, 90));
        return waitUntil([&] { return target.lastOver == (120L << 16 | 90); });
    }
};
}  // namespace

// Each format travels by a real drag: the target sees enter, over and drop with the right formats,
// points, key states and effects; a menu-view drop hands over the source's own list.
TEST_F(DragTest, DropDeliversEveryFormat) {
    source.items = {{21, 1}, {22, 0}};
    const std::pair<UINT, char> cases[] = {
        {CF_TEXT, 'T'}, {source.m_cfThumbList, 'H'}, {source.m_cfMenuView, 'M'}, {source.m_cfMenuObjectAttribute, 'A'}};
    for (auto c : cases) {
        SCOPED_TRACE(c.second);
        reset();
        source.prefer(c.first);
        run([&] {
            if (!pressAndGoOver()) return;
            step = 1;
            send({mouseInput(MOUSEEVENTF_LEFTUP)});
            if (waitUntil([&] { return target.events[2] > 0; })) step = 2;
        });
        ASSERT_EQ(step, 2);
        EXPECT_EQ(source.presses, 1);
        EXPECT_TRUE(scene.source.clicks.empty());   // the drag consumed the press
        const Arrival &first = target.arrivals.front(), &last = target.arrivals.back();
        EXPECT_TRUE(first.nEvent == 0 && first.format == c.first && first.bLast && first.effect == 0);
        EXPECT_TRUE(first.keyState & MK_LBUTTON);
        EXPECT_TRUE(last.nEvent == 2 && last.keyState == 0 && last.effect == 3);
        EXPECT_EQ(last.point.x * 1000 + last.point.y, 120090);
        ASSERT_FALSE(target.extracts.empty());
        const Extract& e = target.extracts.back();
        EXPECT_EQ(e.kind, c.second);
        EXPECT_EQ(e.effect, 3u);
        if (c.second == 'T') {
            EXPECT_EQ(e.text, L"abc");
        }
        if (c.second == 'M') {
            EXPECT_EQ(e.object, &source.m_listMenuItem);
        }
        if (c.second == 'M') {
            EXPECT_EQ(e.bytes.size(), 16u);
        }
        if (c.second == 'A') {
            EXPECT_EQ(e.object, &source.m_stMenuObjectAttribute);
        }
    }
}

// A release or Esc before the pointer leaves the 10 x 10 square (moved 4 pixels: still inside) starts
// no drag: the window gets the press and a release at the press point. Moved 6 pixels, the press
// starts a drag, which a target on the source window itself sees, and is consumed.
TEST_F(DragTest, TheStartSquare) {
    source.prefer(CF_TEXT);
    ProbeTarget onSource;   // sees whether the moves started a drag (the Esc test is the wait's own, below)
    onSource.m_fnSetDropWindow(&scene.source);
    const UINT delay = COleDropSource::nDragDelay;
    COleDropSource::nDragDelay = 20000;   // only the pointer may start these drags, however slow the machine
    const POINT at = scene.source.screen(40, 30), in = {at.x + 4, at.y - 4}, out = {at.x, at.y + 6};
    const INPUT down = mouseInput(MOUSEEVENTF_LEFTDOWN, &at), up = mouseInput(MOUSEEVENTF_LEFTUP);
    const POINT* moves[] = {nullptr, nullptr, &in, &out};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        reset();
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
                send({up});
            }
            if (i == 1) {   // let go once the window has the press (or the wait is over)
                waitUntil([&] { return !scene.source.clicks.empty(); }, 3000);
                send({up, keyInput(VK_ESCAPE, true)});
            }
            step = 1;
        });
        pumpUntil([&] { return scene.source.clicks.size() >= 2; }, i == 3 ? 300 : 5000);
        EXPECT_EQ(step, 1);
        EXPECT_TRUE(target.arrivals.empty());
        EXPECT_EQ(onSource.events[2], i == 3 ? 1 : 0);
        if (i == 3) {
            EXPECT_TRUE(scene.source.clicks.empty());
            continue;
        }
        ASSERT_GE(scene.source.clicks.size(), 2u);
        EXPECT_EQ(scene.source.clicks[0], std::make_pair((UINT)WM_LBUTTONDOWN, MAKELPARAM(40, 30)));
        EXPECT_EQ(scene.source.clicks[1], std::make_pair((UINT)WM_LBUTTONUP, MAKELPARAM(40, 30)));
    }
    COleDropSource::nDragDelay = delay;
}

// A drag abandoned with Esc after the pointer left the square drops nothing and still consumes the press.
TEST_F(DragTest, EscapeAfterLeavingTheSquareCancels) {
    source.prefer(source.m_cfMenuView);
    run([&] {
        if (!pressAndGoOver()) return;
        pointerTo(scene.source.screen(150, 120));   // off the target, outside the square
        if (!waitUntil([&] { return target.leaves > 0; })) return;
        send({keyInput(VK_ESCAPE), keyInput(VK_ESCAPE, true)});
        step = 1;
    });
    pumpUntil([] { return false; }, 300);
    send({mouseInput(MOUSEEVENTF_LEFTUP)});
    pumpUntil([] { return false; }, 100);
    EXPECT_EQ(step, 1);
    EXPECT_EQ(target.events[2], 0);
    ASSERT_FALSE(scene.source.clicks.empty());   // only the real release at the end
    EXPECT_EQ(scene.source.clicks[0].first, (UINT)WM_LBUTTONUP);
}

// The framework's wait before a drag: a button change or Esc ends it without a drag, leaving the
// rectangle starts the drag, and so does holding still for the drag delay.
TEST(OleDropSource, DragStartWait) {
    HWND hwnd = Scene::get().source.m_hWnd;
    POINT cursor;
    GetCursorPos(&cursor);
    const RECT around = {cursor.x - 5, cursor.y - 5, cursor.x + 5, cursor.y + 5}, away = {0, 0, 1, 1};
    const struct {
        UINT msg;
        WPARAM wp;
        const RECT& rect;
        BOOL started;
    } cases[] = {{WM_KEYDOWN, VK_ESCAPE, around, FALSE}, {WM_LBUTTONUP, 0, around, FALSE},
                 {WM_RBUTTONDOWN, 0, around, FALSE}, {WM_MOUSEMOVE, 0, around, TRUE}, {WM_MOUSEMOVE, 0, away, TRUE},
                 {WM_KEYDOWN, 'A', away, TRUE}};
    for (const auto& c : cases) {
        pumpUntil([] { return false; }, 30);   // nothing left over in the queue
        COleDropSource wait;
        wait.m_rectStartDrag = c.rect;
        PostMessageW(hwnd, c.msg, c.wp, 0);
        DWORD start = GetTickCount();
        EXPECT_EQ(wait.OnBeginDrag(nullptr), c.started) << c.msg;
        if (c.started && &c.rect == &around) {   // inside the rectangle only the delay starts it
            EXPECT_GE(GetTickCount() - start, COleDropSource::nDragDelay);
        }
    }
}
