// Copy and paste through the real clipboard: round trips of every format, the paste query,
// records that outlived their source or come from another process, a clipboard held elsewhere.
#include "ddtest.h"
#include "testutil.h"

namespace {
// Runs the clipboard writer as a second process; its exit code.
int otherProcessWrites(const wchar_t* formatName, const std::string& bytes) {
    std::wstring exe = testutil::libraryDir() + L"dd_clipwriter.exe", cmd = L"w " + std::wstring(formatName) + L" ";
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
    s.thumb.nItem = 77, s.thumb.llInPoint = -5;
    wcscpy(s.thumb.szName, L"clip 7");
    s.items = {{11, 1}, {12, 2}, {13, 3}};
    const UINT host = RegisterClipboardFormatW(L"DdHostFormat");
    struct {
        UINT format;
        const char* kinds;
        const void* object;
        std::string bytes;
    } cases[] = {
        {CF_TEXT, "T", nullptr, ""},
        {s.m_cfThumbList, "H", nullptr, std::string((const char*)&s.thumb, 104)},
        {s.m_cfMenuView, "M", &s.m_listMenuItem, std::string((const char*)s.items.data(), 24)},
        {s.m_cfMenuObjectAttribute, "A", &s.m_stMenuObjectAttribute, std::string((const char*)&s.attribute, 8)},
        {host, "U", nullptr, "host's own"},
    };
    for (const auto& c : cases) {
        s.prefer(c.format);
        if (c.format == host) s.unknownBlock = blockOf("host's own");
        ASSERT_TRUE(s.copy());
        ASSERT_EQ(pasteOnly(c.format), c.kinds);
        const Extract& e = target.extracts[0];
        EXPECT_EQ(e.effect, (DWORD)DROPEFFECT_COPY);
        if (c.object) {
            EXPECT_EQ(e.object, c.object);
        }
        EXPECT_EQ(e.bytes, c.bytes);
        for (const Arrival& a : target.arrivals)
            EXPECT_TRUE(a.nEvent == 2 && a.effect == DROPEFFECT_COPY && a.keyState == 0 && a.point.y == 34);
    }
    EXPECT_EQ(target.arrivals.back().name, L"DdHostFormat");
    EXPECT_EQ(target.arrivals.back().bLast, 1);
    s.prefer(CF_TEXT);
    s.copy();
    pasteOnly(CF_TEXT);
    EXPECT_EQ(target.extracts[0].text, L"abc");
}

// The query walks the formats as move events and stops at the first copy; the paste offers all.
TEST_F(TargetTest, PasteQuery) {
    CPoint p(5, 5);
    putClipboard(CF_TEXT, blockOf(std::string("hi", 3)));
    target.answer = [](const Arrival& a) { return a.format == CF_TEXT ? 1 : 0; };
    EXPECT_TRUE(target.m_fnIsPasteFromClipboardEnabled(p));
    EXPECT_EQ(target.arrivals.back().format, (UINT)CF_TEXT);
    EXPECT_EQ(target.arrivals.back().nEvent, 1);
    EXPECT_EQ(target.kinds(), "T");
    target.clear();
    target.hookEffect = DROPEFFECT_MOVE;   // nothing yields a copy: to the end, and no
    EXPECT_FALSE(target.m_fnIsPasteFromClipboardEnabled(p));
    ASSERT_EQ(target.arrivals.size(), (size_t)CountClipboardFormats());
    for (size_t i = 0; i < target.arrivals.size(); ++i) EXPECT_EQ(target.arrivals[i].bLast, i + 1 == target.arrivals.size());

    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());   // empty, openable
    target.clear();
    EXPECT_FALSE(target.m_fnIsPasteFromClipboardEnabled(p));
    EXPECT_TRUE(target.m_fnPasteClipboardData(p));
    ClipboardHeld held;
    EXPECT_FALSE(target.m_fnIsPasteFromClipboardEnabled(p));
    EXPECT_FALSE(target.m_fnPasteClipboardData(p));
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
    EXPECT_EQ(target.arrivals.size(), (size_t)CountClipboardFormats());
    s = new (storage) ProbeSource;
    EXPECT_EQ(pasteOnly(target.m_cfMenuView), "");

    const wchar_t* menu = L"5E686CEC-92BE-4f79-BD7E-ABA723A8E015";
    const GUID madeUp = {0x0badf00d, 0x1234, 0x5678, {9, 8, 7, 6, 5, 4, 3, 2}};
    ASSERT_EQ(otherProcessWrites(menu, referenceBytes(madeUp, &s->m_listMenuItem)), 0);
    EXPECT_EQ(pasteOnly(target.m_cfMenuView), "");
    ASSERT_EQ(otherProcessWrites(menu, referenceBytes(s->m_guidSource, (void*)0x7ffe0000)), 0);
    EXPECT_EQ(pasteOnly(target.m_cfMenuView), "");
    ASSERT_EQ(otherProcessWrites(menu, referenceBytes(s->m_guidSource, &s->m_listMenuItem)), 0);
    EXPECT_EQ(pasteOnly(target.m_cfMenuView), "M");
    s->~ProbeSource();
}
