// The drop target fed through its OLE drop target with data objects of our making, and through the
// clipboard: which formats reach which hooks, with what flags, points and effects.
#include <gtest/gtest.h>
#include "ddtest.h"

namespace {
const UINT kStream = 0xC0DE;   // stands for any format held in a stream

struct TargetFixture : public ::testing::Test {
    Scene& scene = Scene::get();
    ProbeTarget target;
    void SetUp() override {
        target.m_fnSetDropWindow(&scene.target);
        target.m_fnEnableDropOperation(1);
    }
    POINT at(int x, int y) { return scene.screen(scene.target, x, y); }
    // Enter, over and drop with these offers; the drop's effect.
    DWORD drop(const std::vector<Offer>& offers, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
        COleDataSource data;
        offerAll(data, offers);
        return dropOn(target, data.GetDataObject(), at(31, 17), allowed);
    }
};

bool registered(HWND hwnd) {
    static COleDropTarget probe;
    HRESULT hr = RegisterDragDrop(hwnd, probe.GetDropTarget());
    if (hr == S_OK) RevokeDragDrop(hwnd);
    return hr == DRAGDROP_E_ALREADYREGISTERED;
}
}  // namespace

// Every event offers the global-memory formats in order, the last one flagged; enter and over carry
// the key state, the drop carries none and the source's allowed effects.
TEST_F(TargetFixture, EventsOfferGlobalFormatsInOrder) {
    ProbeSource live;
    live.items = {{4, 2}};
    live.m_fnSetPreferClipboardFormat(live.m_cfMenuView);
    CPoint p(0, 0);
    live.m_fnCopyDataToClipboard(p);   // fills the list the record points at

    target.hookEffect = DROPEFFECT_MOVE;
    DWORD effect = drop({{CF_TEXT, std::string("abc", 4)},
                         {kStream, "s", TYMED_ISTREAM},
                         {target.m_cfMenuView, referenceBytes(live.m_guidSource, &live.m_listMenuItem)}},
                        DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    EXPECT_EQ(effect, (DWORD)DROPEFFECT_MOVE);

    // Enter, over, then the drop (checked as a last move first).
    const int events[] = {0, 0, 1, 1, 1, 1, 2, 2};
    ASSERT_EQ(target.arrivals.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        const Arrival& a = target.arrivals[i];
        bool menu = i % 2 == 1;
        EXPECT_EQ(a.nEvent, events[i]) << i;
        EXPECT_EQ(a.format, menu ? target.m_cfMenuView : (UINT)CF_TEXT) << i;
        EXPECT_EQ(a.name, menu ? L"5E686CEC-92BE-4f79-BD7E-ABA723A8E015" : L"") << i;
        EXPECT_EQ(a.bLast, menu ? 1 : 0) << i;
        EXPECT_EQ(a.point.x, 31);
        EXPECT_EQ(a.point.y, 17);
        EXPECT_EQ(a.keyState, i < 4 ? (DWORD)MK_LBUTTON : 0u) << i;   // the drop passes on the released state
        EXPECT_EQ(a.effect, a.nEvent == 2 ? 7u : 0u) << i;
    }
    ASSERT_EQ(target.kinds(), "TMTMTMTM");
    EXPECT_EQ(target.extracts[0].text, L"abc");
    EXPECT_EQ(target.extracts[1].object, &live.m_listMenuItem);
    EXPECT_EQ(target.extracts[7].bLast, 1);
    EXPECT_EQ(target.extracts[7].effect, 7u);
}

// The effect of an event is the value written last; only an answer of exactly 1 extracts.
TEST_F(TargetFixture, EffectIsTheLastWritten) {
    struct Case {
        int textAnswer, hostAnswer;
        DWORD arrive, hook, expected;
        const char* kinds;
    } cases[] = {
        {1, 1, DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_COPY, "TUTUTUTU"},
        {1, 0, DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_MOVE, "TTTT"},   // the host format's answer wrote last
        {0, 1, DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_MOVE, "UUUU"},
        {2, 2, DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_COPY, ""},      // 2 is not 1: no extraction
        {0, 0, DROPEFFECT_NONE, DROPEFFECT_COPY, DROPEFFECT_NONE, ""},
    };
    const UINT host = RegisterClipboardFormatW(L"DdHostFormat");
    for (const Case& c : cases) {
        target.clear();
        target.arriveEffect = c.arrive;
        target.hookEffect = c.hook;
        target.answer = [&](const Arrival& a) { return a.format == CF_TEXT ? c.textAnswer : c.hostAnswer; };
        EXPECT_EQ(drop({{CF_TEXT, std::string("x", 2)}, {host, "host bytes"}}), c.expected) << c.kinds;
        EXPECT_EQ(target.kinds(), c.kinds);
        if (!target.extracts.empty() && target.extracts.back().kind == 'U') {
            EXPECT_EQ(target.extracts.back().bytes, "host bytes");
        }
    }
}

// Formats not held in global memory are never offered; a single one is the last.
TEST_F(TargetFixture, OnlyGlobalMemoryFormatsAreOffered) {
    EXPECT_EQ(drop({{kStream, "s", TYMED_ISTREAM}, {kStream + 1, "", TYMED_FILE}}), 0u);
    EXPECT_TRUE(target.arrivals.empty());
    drop({{kStream, "s", TYMED_ISTREAM}, {CF_TEXT, std::string("q", 2)}});
    ASSERT_EQ(target.arrivals.size(), 4u);
    for (const Arrival& a : target.arrivals) EXPECT_EQ(a.bLast, 1);
}

// A reference record is followed only to the very object of a live source that it names.
TEST_F(TargetFixture, ReferenceRecordsReachOnlyLiveSourcesOwnObjects) {
    auto* gone = new ProbeSource;
    GUID goneId = gone->m_guidSource;
    delete gone;
    ProbeSource live;
    GUID madeUp = {0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};
    const UINT menu = target.m_cfMenuView, attr = target.m_cfMenuObjectAttribute;
    struct Case {
        UINT format;
        std::string record;
        const void* expected;   // null: no hook
    } cases[] = {
        {menu, referenceBytes(live.m_guidSource, &live.m_listMenuItem), &live.m_listMenuItem},
        {attr, referenceBytes(live.m_guidSource, &live.m_stMenuObjectAttribute), &live.m_stMenuObjectAttribute},
        {menu, referenceBytes(live.m_guidSource, &live.m_stMenuObjectAttribute), nullptr},   // the other object
        {attr, referenceBytes(live.m_guidSource, &live.m_listMenuItem), nullptr},
        {menu, referenceBytes(live.m_guidSource, (char*)&live.m_listMenuItem + 8), nullptr},
        {menu, referenceBytes(madeUp, &live.m_listMenuItem), nullptr},
        {menu, referenceBytes(goneId, &live.m_listMenuItem), nullptr},
        {attr, referenceBytes(goneId, &live.m_stMenuObjectAttribute), nullptr},
    };
    for (const Case& c : cases) {
        target.clear();
        DWORD effect = drop({{c.format, c.record}});
        EXPECT_EQ(target.arrivals.size(), 4u);
        if (c.expected) {
            ASSERT_EQ(target.extracts.size(), 4u);
            EXPECT_EQ(target.extracts.back().object, c.expected);
            EXPECT_EQ(effect, (DWORD)DROPEFFECT_COPY);
        } else {
            EXPECT_TRUE(target.extracts.empty()) << target.kinds();
            EXPECT_EQ(effect, 0u);
        }
    }
}

// Registration: enabling twice registers once, disabling what is not registered does nothing,
// and naming the drop window clears a registration someone else made there.
TEST(TargetRegistration, EnableDisableAndForeignTargets) {
    Scene& scene = Scene::get();
    HWND hwnd = scene.target.m_hWnd;
    EXPECT_FALSE(registered(hwnd));
    {
        ProbeTarget t;
        t.m_fnEnableDropOperation(1);   // no window yet: nothing
        EXPECT_FALSE(t.m_bRegistered);

        COleDropTarget foreign;
        ASSERT_TRUE(foreign.Register(&scene.target));
        t.m_fnEnableDropOperation(0);   // not registered: the foreign target stays
        EXPECT_TRUE(registered(hwnd));
        t.m_fnSetDropWindow(&scene.target);
        EXPECT_FALSE(registered(hwnd));
        EXPECT_FALSE(t.m_bRegistered);
        foreign.m_hWnd = nullptr;   // its registration is gone already

        t.m_fnEnableDropOperation(1);
        t.m_fnEnableDropOperation(1);
        EXPECT_TRUE(t.m_bRegistered);
        EXPECT_EQ(t.m_dropTarget.m_hWnd, hwnd);
        t.m_fnEnableDropOperation(2);   // anything but 1 revokes
        EXPECT_FALSE(t.m_bRegistered);
        EXPECT_FALSE(registered(hwnd));
        t.m_fnEnableDropOperation(1);
        EXPECT_TRUE(registered(hwnd));
    }
    EXPECT_FALSE(registered(hwnd));   // the target's end revokes
}

// With the default hooks nothing is taken and every drop is refused.
TEST(TargetDefaults, RefuseEverything) {
    struct Plain : CDragDropTarget {
        using CDragDropTarget::m_dropTarget;
    } plain;
    Scene& scene = Scene::get();
    plain.m_fnSetDropWindow(&scene.target);
    plain.m_fnEnableDropOperation(1);
    COleDataSource data;
    offerAll(data, {{CF_TEXT, std::string("abc", 4)}});
    POINTL pt = {400, 100};
    DWORD effect = DROPEFFECT_COPY;
    LPDROPTARGET t = plain.m_dropTarget.GetDropTarget();
    t->DragEnter(data.GetDataObject(), MK_LBUTTON, pt, &effect);
    EXPECT_EQ(effect, 0u);
    effect = DROPEFFECT_COPY;
    t->Drop(data.GetDataObject(), 0, pt, &effect);
    EXPECT_EQ(effect, 0u);
    putClipboard(CF_TEXT, blockOf(std::string("abc", 4)));
    CPoint p(1, 1);
    EXPECT_FALSE(plain.m_fnIsPasteFromClipboardEnabled(p));
    EXPECT_TRUE(plain.m_fnPasteClipboardData(p));
}
