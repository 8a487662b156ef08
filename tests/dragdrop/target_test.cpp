// The drop target through its OLE drop target and the real clipboard: which formats reach which
// hooks, with what flags, points and effects; every format copied byte for byte and back; records
// that outlived their source or that anyone could have written.
#include "ddtest.h"

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
    EXPECT_TRUE(drop({{stream, "s", TYMED_ISTREAM}}) == 0u && target.arrivals.empty());   // nothing in memory
}

TEST_F(TargetTest, ClipboardRoundTrips) {
    ProbeSource s;
    for (int i = 0; i < 40; ++i) s.thumb.szName[i] = (WCHAR)(L'A' + i);
    s.thumb.nItem = 0x01020304, s.thumb.llOutPoint = 0x1122334455667788LL;
    s.items = {{11, 1}, {12, 0x80}, {13, 3}};
    const UINT host = RegisterClipboardFormatW(L"DdHostFormat");
    const std::string thumb((const char*)&s.thumb, 104), list((const char*)s.items.data(), 24);
    const struct {
        UINT format;
        std::wstring text;
        std::string onClipboard, kinds, extracted;
        const void* object;
    } cases[] = {
        {CF_TEXT, L"abc", std::string("abc", 4), "T", "", nullptr},
        {CF_TEXT, L"", std::string(1, '\0'), "T", "", nullptr},
        {s.m_cfThumbList, L"", thumb, "H", thumb, nullptr},
        {s.m_cfMenuView, L"", referenceBytes(s.m_guidSource, &s.m_listMenuItem), "M", list, &s.m_listMenuItem},
        {s.m_cfMenuObjectAttribute, L"", referenceBytes(s.m_guidSource, &s.m_stMenuObjectAttribute), "A",
         std::string((const char*)&s.attribute, 8), &s.m_stMenuObjectAttribute},
        {host, L"", "host's own", "U", "host's own", nullptr},
    };
    for (const auto& c : cases) {
        s.prefer(c.format), s.text = c.text;
        if (c.format == host) s.unknownBlock = blockOf("host's own");
        ASSERT_TRUE(s.copy());
        EXPECT_EQ(clipboardBytes(c.format), c.onClipboard);
        ASSERT_EQ(pasteOnly(c.format), c.kinds);
        const Extract& e = target.extracts[0];
        EXPECT_TRUE(e.effect == DROPEFFECT_COPY && e.bytes == c.extracted && e.text == c.text && (!c.object || e.object == c.object));
        for (const Arrival& a : target.arrivals)
            EXPECT_TRUE(a.nEvent == 2 && a.effect == DROPEFFECT_COPY && a.keyState == 0 && a.point.y == 34);
    }
    EXPECT_TRUE(target.arrivals.back().name == L"DdHostFormat" && target.arrivals.back().bLast == 1);
    // Refused copies leave the clipboard alone and free their block.
    s.prefer(CF_TEXT), s.calls.clear(), s.allow = FALSE;
    EXPECT_FALSE(s.copy());
    s.allow = TRUE, s.succeed = FALSE;
    EXPECT_FALSE(s.copy());
    EXPECT_TRUE(s.calls == "T" && clipboardBytes(host) == "host's own");
    s.succeed = TRUE;
    HGLOBAL block = s.unknownBlock = blockOf("x");
    s.prefer(0);   // the clipboard refuses format 0
    EXPECT_FALSE(s.copy());
    EXPECT_EQ(GlobalFlags(block), (UINT)GMEM_INVALID_HANDLE);
}

// A record that outlived its source names nobody, even with a new source at the same address; a
// record anyone could have written with a made-up identity or address reaches no hook, while the
// true record, written the same way, shows the path works.
TEST_F(TargetTest, RecordsNobodyVouchesFor) {
    alignas(ProbeSource) static unsigned char storage[sizeof(ProbeSource)];
    auto* s = new (storage) ProbeSource;
    s->prefer(s->m_cfMenuView);
    ASSERT_TRUE(s->copy());
    EXPECT_EQ(pasteOnly(target.m_cfMenuView), "M");
    s->~ProbeSource();
    EXPECT_EQ(pasteOnly(target.m_cfMenuView), "");
    s = new (storage) ProbeSource;
    EXPECT_EQ(pasteOnly(target.m_cfMenuView), "");
    const GUID madeUp = {0x0badf00d, 0x1234, 0x5678, {9, 8, 7, 6, 5, 4, 3, 2}};
    const std::pair<std::string, const char*> records[] = {{referenceBytes(madeUp, &s->m_listMenuItem), ""},
        {referenceBytes(s->m_guidSource, (void*)0x7ffe0000), ""}, {referenceBytes(s->m_guidSource, &s->m_listMenuItem), "M"}};
    for (const auto& r : records) {
        ASSERT_TRUE(putClipboard(target.m_cfMenuView, blockOf(r.first)));
        EXPECT_EQ(pasteOnly(target.m_cfMenuView), r.second);
    }
    s->~ProbeSource();
}
