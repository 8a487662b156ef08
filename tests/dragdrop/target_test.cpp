// The drop target through its OLE drop target with data objects of our making: which formats reach
// which hooks, with what flags, points and effects; registration.
#include "ddtest.h"

namespace {
bool registered(HWND hwnd) {
    static COleDropTarget probe;
    HRESULT hr = RegisterDragDrop(hwnd, probe.GetDropTarget());
    if (hr == S_OK) RevokeDragDrop(hwnd);
    return hr == DRAGDROP_E_ALREADYREGISTERED;
}
}  // namespace

// Every event offers the global-memory formats in order, the last flagged; enter and over carry the
// key state, the drop none and the allowed effects; the drop is checked as a last move first.
TEST_F(TargetTest, EventsOfferGlobalFormatsInOrder) {
    ProbeSource live;
    const UINT stream = 0xC0DE;
    target.hookEffect = DROPEFFECT_MOVE;
    EXPECT_EQ(drop({{CF_TEXT, std::string("abc", 4)}, {stream, "s", TYMED_ISTREAM},
                    {target.m_cfMenuView, referenceBytes(live.m_guidSource, &live.m_listMenuItem)}}, 7),
              (DWORD)DROPEFFECT_MOVE);
    std::string seen;   // event, format (Text or Menu), last, key state, effect per arrival
    for (const Arrival& a : target.arrivals) {
        bool menu = a.format == target.m_cfMenuView && a.name == L"5E686CEC-92BE-4f79-BD7E-ABA723A8E015";
        EXPECT_TRUE(a.point.x == 31 && a.point.y == 17);
        seen += std::to_string(a.nEvent) + (menu ? "M" : a.format == CF_TEXT ? "T" : "?") + std::to_string(a.bLast) +
                std::to_string(a.keyState) + std::to_string(a.effect) + " ";
    }
    EXPECT_EQ(seen, "0T010 0M110 1T010 1M110 1T000 1M100 2T007 2M107 ");
    ASSERT_EQ(target.kinds(), "TMTMTMTM");
    EXPECT_TRUE(target.extracts[0].text == L"abc" && target.extracts[7].object == &live.m_listMenuItem);
    target.clear();
    EXPECT_EQ(drop({{stream, "s", TYMED_ISTREAM}}), 0u);   // nothing in memory
    EXPECT_TRUE(target.arrivals.empty());
}

// The effect of an event is the value written last; only an answer of exactly 1 extracts.
TEST_F(TargetTest, EffectIsTheLastWritten) {
    const struct {
        int textAnswer, hostAnswer;
        DWORD arrive, hook, expected;
        const char* kinds;
    } cases[] = {{1, 1, DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_COPY, "TUTUTUTU"},
                 {1, 0, DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_MOVE, "TTTT"},
                 {0, 1, DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_MOVE, "UUUU"},
                 {2, 2, DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_COPY, ""}};
    const UINT host = RegisterClipboardFormatW(L"DdHostFormat");
    for (const auto& c : cases) {
        target.clear();
        target.arriveEffect = c.arrive, target.hookEffect = c.hook;
        target.answer = [&](const Arrival& a) { return a.format == CF_TEXT ? c.textAnswer : c.hostAnswer; };
        EXPECT_EQ(drop({{CF_TEXT, std::string("x", 2)}, {host, "host bytes"}}), c.expected) << c.kinds;
        EXPECT_EQ(target.kinds(), c.kinds);
        EXPECT_TRUE(c.hostAnswer != 1 || target.extracts.back().bytes == "host bytes");
    }
}

// Enabling twice registers once, anything but 1 revokes, naming the window clears a foreign
// registration there, the target's end revokes.
TEST(DropTarget, RegistrationAndDefaults) {
    Scene& scene = Scene::get();
    HWND hwnd = scene.target.m_hWnd;
    EXPECT_FALSE(registered(hwnd));
    {
        ProbeTarget t;
        t.m_fnEnableDropOperation(1);   // no window yet
        EXPECT_FALSE(t.m_bRegistered);
        COleDropTarget foreign;
        ASSERT_TRUE(foreign.Register(&scene.target));
        t.m_fnSetDropWindow(&scene.target);
        EXPECT_FALSE(registered(hwnd));
        foreign.m_hWnd = nullptr;   // its registration is gone already
        t.m_fnEnableDropOperation(1);
        t.m_fnEnableDropOperation(1);
        t.m_fnEnableDropOperation(2);
        EXPECT_FALSE(t.m_bRegistered || registered(hwnd));
        t.m_fnEnableDropOperation(1);
        EXPECT_TRUE(registered(hwnd));
    }
    EXPECT_FALSE(registered(hwnd));
}
