// The drop target through its OLE drop target with data objects of our making: which formats reach
// which hooks, with what flags, points and effects; registration.
#include "ddtest.h"

namespace {
const UINT kStream = 0xC0DE;   // any format held in a stream

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
    target.hookEffect = DROPEFFECT_MOVE;
    EXPECT_EQ(drop({{CF_TEXT, std::string("abc", 4)}, {kStream, "s", TYMED_ISTREAM},
                    {target.m_cfMenuView, referenceBytes(live.m_guidSource, &live.m_listMenuItem)}}, 7),
              (DWORD)DROPEFFECT_MOVE);
    const int events[] = {0, 0, 1, 1, 1, 1, 2, 2};
    ASSERT_EQ(target.arrivals.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        const Arrival& a = target.arrivals[i];
        bool menu = i % 2;
        EXPECT_EQ(a.nEvent, events[i]);
        EXPECT_EQ(a.format, menu ? target.m_cfMenuView : (UINT)CF_TEXT);
        EXPECT_EQ(a.name, menu ? L"5E686CEC-92BE-4f79-BD7E-ABA723A8E015" : L"");
        EXPECT_EQ(a.bLast, (int)menu);
        EXPECT_EQ(a.point.x * 100 + a.point.y, 3117);
        EXPECT_EQ(a.keyState, i < 4 ? (DWORD)MK_LBUTTON : 0u);
        EXPECT_EQ(a.effect, a.nEvent == 2 ? 7u : 0u);
    }
    ASSERT_EQ(target.kinds(), "TMTMTMTM");
    EXPECT_EQ(target.extracts[0].text, L"abc");
    EXPECT_EQ(target.extracts[7].object, &live.m_listMenuItem);

    EXPECT_EQ(drop({{kStream, "s", TYMED_ISTREAM}, {kStream + 1, "", TYMED_FILE}}), 0u);   // nothing in memory
    EXPECT_EQ(target.arrivals.size(), 8u);
}

// The effect of an event is the value written last; only an answer of exactly 1 extracts.
TEST_F(TargetTest, EffectIsTheLastWritten) {
    struct {
        int textAnswer, hostAnswer;
        DWORD arrive, hook, expected;
        const char* kinds;
    } cases[] = {
        {1, 1, DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_COPY, "TUTUTUTU"},
        {1, 0, DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_MOVE, "TTTT"},
        {0, 1, DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_MOVE, "UUUU"},
        {2, 2, DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_COPY, ""},
    };
    const UINT host = RegisterClipboardFormatW(L"DdHostFormat");
    for (const auto& c : cases) {
        target.clear();
        target.arriveEffect = c.arrive, target.hookEffect = c.hook;
        target.answer = [&](const Arrival& a) { return a.format == CF_TEXT ? c.textAnswer : c.hostAnswer; };
        EXPECT_EQ(drop({{CF_TEXT, std::string("x", 2)}, {host, "host bytes"}}), c.expected) << c.kinds;
        EXPECT_EQ(target.kinds(), c.kinds);
        if (c.hostAnswer == 1) {
            EXPECT_EQ(target.extracts.back().bytes, "host bytes");
        }
    }
}

// A reference record is followed only to the very object of a live source that it names.
TEST_F(TargetTest, ReferenceRecordsReachOnlyLiveSourcesOwnObjects) {
    auto* gone = new ProbeSource;
    GUID goneId = gone->m_guidSource;
    delete gone;
    ProbeSource live;
    const GUID madeUp = {0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};
    const UINT menu = target.m_cfMenuView, attr = target.m_cfMenuObjectAttribute;
    void* list = &live.m_listMenuItem;
    void* attribute = &live.m_stMenuObjectAttribute;
    struct {
        UINT format;
        std::string record;
        const void* expected;
    } cases[] = {
        {menu, referenceBytes(live.m_guidSource, list), list},
        {attr, referenceBytes(live.m_guidSource, attribute), attribute},
        {menu, referenceBytes(live.m_guidSource, attribute), nullptr},   // the other object
        {attr, referenceBytes(live.m_guidSource, list), nullptr},
        {menu, referenceBytes(live.m_guidSource, (char*)list + 8), nullptr},
        {menu, referenceBytes(madeUp, list), nullptr},
        {attr, referenceBytes(goneId, attribute), nullptr},
    };
    for (const auto& c : cases) {
        target.clear();
        EXPECT_EQ(drop({{c.format, c.record}}), c.expected ? (DWORD)DROPEFFECT_COPY : 0u);
        EXPECT_EQ(target.kinds(), c.expected ? (c.format == menu ? "MMMM" : "AAAA") : "");
        if (c.expected) {
            EXPECT_EQ(target.extracts.back().object, c.expected);
        }
    }
}

// Enabling twice registers once, disabling what is not registered does nothing, naming the window
// clears a foreign registration there; with the default hooks every drop is refused.
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
        t.m_fnEnableDropOperation(0);
        EXPECT_TRUE(registered(hwnd));
        t.m_fnSetDropWindow(&scene.target);
        EXPECT_FALSE(registered(hwnd));
        foreign.m_hWnd = nullptr;   // its registration is gone already
        t.m_fnEnableDropOperation(1);
        t.m_fnEnableDropOperation(1);
        EXPECT_EQ(t.m_dropTarget.m_hWnd, hwnd);
        t.m_fnEnableDropOperation(2);   // anything but 1 revokes
        EXPECT_FALSE(t.m_bRegistered);
        EXPECT_FALSE(registered(hwnd));
        t.m_fnEnableDropOperation(1);
        EXPECT_TRUE(registered(hwnd));
    }
    EXPECT_FALSE(registered(hwnd));   // the target's end revokes

    struct Plain : CDragDropTarget {
        using CDragDropTarget::m_dropTarget;
    } plain;
    plain.m_fnSetDropWindow(&scene.target);
    plain.m_fnEnableDropOperation(1);
    COleDataSource data;
    offerAll(data, {{CF_TEXT, std::string("abc", 4)}});
    POINTL pt = {400, 100};
    DWORD effects[2] = {DROPEFFECT_COPY, DROPEFFECT_COPY};
    plain.m_dropTarget.GetDropTarget()->DragEnter(data.GetDataObject(), MK_LBUTTON, pt, &effects[0]);
    plain.m_dropTarget.GetDropTarget()->Drop(data.GetDataObject(), 0, pt, &effects[1]);
    EXPECT_EQ(effects[0] | effects[1], 0u);
    CPoint p(1, 1);
    EXPECT_FALSE(plain.m_fnIsPasteFromClipboardEnabled(p));
    EXPECT_TRUE(plain.m_fnPasteClipboardData(p));
}
