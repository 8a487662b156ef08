// Copy and paste through the real clipboard: every format byte for byte and back, the paste query,
// refused copies, records that outlived their source or come from another process.
#include "ddtest.h"
#include "testutil.h"

namespace {
// Runs the clipboard writer as a second process; its exit code.
int otherProcessWrites(const std::string& bytes) {
    std::wstring exe = testutil::libraryDir() + L"dd_clipwriter.exe", cmd = L"w 5E686CEC-92BE-4f79-BD7E-ABA723A8E015 ";
    for (unsigned char c : bytes) cmd += L"0123456789abcdef"[c >> 4], cmd += L"0123456789abcdef"[c & 15];
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess), CloseHandle(pi.hThread);
    return (int)code;
}
}  // namespace

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
        EXPECT_TRUE(e.effect == DROPEFFECT_COPY && e.bytes == c.extracted && e.text == c.text);
        EXPECT_TRUE(!c.object || e.object == c.object);
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
    for (UINT format : {0u, host}) {   // format 0: the clipboard refuses; held elsewhere: no clipboard
        HGLOBAL block = s.unknownBlock = blockOf("x");
        s.prefer(format);
        if (format) whileClipboardHeld([&] { EXPECT_FALSE(s.copy()); });
        else EXPECT_FALSE(s.copy());
        EXPECT_EQ(GlobalFlags(block), (UINT)GMEM_INVALID_HANDLE);
    }
}

// The query walks the formats as move events and stops at the first copy; the paste offers all.
TEST_F(TargetTest, PasteQuery) {
    CPoint p(5, 5);
    putClipboard(CF_TEXT, blockOf(std::string("hi", 3)));
    target.answer = [](const Arrival& a) { return a.format == CF_TEXT ? 1 : 0; };
    EXPECT_TRUE(target.m_fnIsPasteFromClipboardEnabled(p));
    EXPECT_TRUE(target.arrivals.back().format == CF_TEXT && target.arrivals.back().nEvent == 1 && target.kinds() == "T");
    target.clear();
    target.hookEffect = DROPEFFECT_MOVE;   // nothing yields a copy: to the end, and no
    EXPECT_FALSE(target.m_fnIsPasteFromClipboardEnabled(p));
    ASSERT_EQ(target.arrivals.size(), (size_t)CountClipboardFormats());
    for (size_t i = 0; i < target.arrivals.size(); ++i) EXPECT_EQ(target.arrivals[i].bLast, i + 1 == target.arrivals.size());
    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());   // empty, openable
    target.clear();
    EXPECT_TRUE(!target.m_fnIsPasteFromClipboardEnabled(p) && target.m_fnPasteClipboardData(p));
    whileClipboardHeld([&] { EXPECT_TRUE(!target.m_fnIsPasteFromClipboardEnabled(p) && !target.m_fnPasteClipboardData(p)); });
    EXPECT_TRUE(target.arrivals.empty());
}

// A record that outlived its source names nobody, even with a new source at the same address; a
// record from another process with a made-up identity or address reaches no hook, while the same
// program writing a true record shows the path works.
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
        ASSERT_EQ(otherProcessWrites(r.first), 0);
        EXPECT_EQ(pasteOnly(target.m_cfMenuView), r.second);
    }
    s->~ProbeSource();
}
