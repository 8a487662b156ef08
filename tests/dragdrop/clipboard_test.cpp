// Copy and paste through the real clipboard: every format round trip, the paste query, records
// that outlived their source, records written by another process, a clipboard held elsewhere.
#include <gtest/gtest.h>
#include "ddtest.h"
#include "testutil.h"

namespace {
std::wstring hex(const std::string& bytes) {
    std::wstring s;
    wchar_t b[3];
    for (unsigned char c : bytes) {
        swprintf(b, 3, L"%02x", c);
        s += b;
    }
    return s;
}

// Runs the clipboard writer as a second process; its exit code (-1 when it did not run).
int otherProcessWrites(const wchar_t* formatName, const std::string& bytes) {
    std::wstring exe = testutil::libraryDir() + L"dd_clipwriter.exe";
    std::wstring cmd = L"\"" + exe + L"\" " + formatName + L" " + hex(bytes);
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return (int)code;
}

// The target takes only this format; the paste's extractions.
std::string pasteOnly(ProbeTarget& t, UINT format) {
    t.clear();
    t.answer = [format](const Arrival& a) { return a.format == format ? 1 : 0; };
    CPoint p(12, 34);
    EXPECT_TRUE(t.m_fnPasteClipboardData(p));
    for (const Arrival& a : t.arrivals) {
        EXPECT_EQ(a.nEvent, 2);
        EXPECT_EQ(a.effect, (DWORD)DROPEFFECT_COPY);
        EXPECT_EQ(a.keyState, 0u);
        EXPECT_EQ(a.point.x, 12);
    }
    return t.kinds();
}

void emptyClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}
}  // namespace

TEST(Clipboard, EveryFormatRoundTrips) {
    ProbeSource s;
    ProbeTarget t;
    CPoint p(3, 4);

    s.text = L"abc";
    s.preferText();
    ASSERT_TRUE(s.m_fnCopyDataToClipboard(p));
    std::string bytes;
    ASSERT_TRUE(clipboardBytes(CF_TEXT, bytes));
    EXPECT_EQ(bytes, std::string("abc", 4));   // 61 62 63 00
    EXPECT_EQ(pasteOnly(t, CF_TEXT), "T");
    EXPECT_EQ(t.extracts[0].text, L"abc");

    s.thumb.nItem = 77;
    s.thumb.llInPoint = -5;
    wcscpy(s.thumb.szName, L"clip 7");
    s.m_fnSetPreferClipboardFormat(s.m_cfThumbList);
    ASSERT_TRUE(s.m_fnCopyDataToClipboard(p));
    EXPECT_EQ(pasteOnly(t, t.m_cfThumbList), "H");
    EXPECT_EQ(t.extracts[0].bytes, std::string((const char*)&s.thumb, sizeof(s.thumb)));

    s.items = {{11, 1}, {12, 2}, {13, 3}};
    s.m_fnSetPreferClipboardFormat(s.m_cfMenuView);
    ASSERT_TRUE(s.m_fnCopyDataToClipboard(p));
    EXPECT_EQ(pasteOnly(t, t.m_cfMenuView), "M");
    EXPECT_EQ(t.extracts[0].object, &s.m_listMenuItem);
    EXPECT_EQ(t.extracts[0].bytes.size(), 24u);

    s.m_fnSetPreferClipboardFormat(s.m_cfMenuObjectAttribute);
    ASSERT_TRUE(s.m_fnCopyDataToClipboard(p));
    EXPECT_EQ(pasteOnly(t, t.m_cfMenuObjectAttribute), "A");
    EXPECT_EQ(t.extracts[0].object, &s.m_stMenuObjectAttribute);

    const UINT host = RegisterClipboardFormatW(L"DdHostFormat");
    s.m_fnSetPreferClipboardFormat(host);
    s.unknownBlock = blockOf("host's own");
    ASSERT_TRUE(s.m_fnCopyDataToClipboard(p));
    EXPECT_EQ(pasteOnly(t, host), "U");
    EXPECT_EQ(t.extracts[0].bytes, "host's own");
    EXPECT_EQ(t.arrivals.back().name, L"DdHostFormat");
    EXPECT_EQ(t.arrivals.back().bLast, 1);
}

// The query walks the formats as move events and stops at the first copy; the paste offers all.
TEST(Clipboard, QueryStopsAtFirstCopy) {
    ProbeTarget t;
    CPoint p(5, 5);
    emptyClipboard();
    EXPECT_FALSE(t.m_fnIsPasteFromClipboardEnabled(p));
    EXPECT_TRUE(t.m_fnPasteClipboardData(p));
    EXPECT_TRUE(t.arrivals.empty());

    putClipboard(CF_TEXT, blockOf(std::string("hi", 3)));
    t.answer = [](const Arrival& a) { return a.format == CF_TEXT ? 1 : 0; };
    EXPECT_TRUE(t.m_fnIsPasteFromClipboardEnabled(p));
    ASSERT_FALSE(t.arrivals.empty());
    EXPECT_EQ(t.arrivals.back().format, (UINT)CF_TEXT);
    EXPECT_EQ(t.arrivals.back().nEvent, 1);
    EXPECT_EQ(t.kinds(), "T");
    size_t queried = t.arrivals.size();

    t.clear();
    EXPECT_TRUE(t.m_fnPasteClipboardData(p));
    EXPECT_GE(t.arrivals.size(), queried);
    EXPECT_EQ(t.arrivals.back().bLast, 1);
    for (size_t i = 0; i + 1 < t.arrivals.size(); ++i) EXPECT_EQ(t.arrivals[i].bLast, 0);

    // Nothing yields a copy: the query walks to the end and says no.
    t.clear();
    t.hookEffect = DROPEFFECT_MOVE;
    EXPECT_FALSE(t.m_fnIsPasteFromClipboardEnabled(p));
    EXPECT_EQ(t.arrivals.size(), (size_t)CountClipboardFormats());
}

// A reference record that outlived its source names nobody, even when a new source now lives at
// the same address.
TEST(Clipboard, RecordOfDestroyedSourceIsIgnored) {
    ProbeTarget t;
    CPoint p(1, 1);
    alignas(ProbeSource) static unsigned char storage[sizeof(ProbeSource)];
    auto* s = new (storage) ProbeSource;
    s->m_fnSetPreferClipboardFormat(s->m_cfMenuView);
    ASSERT_TRUE(s->m_fnCopyDataToClipboard(p));
    EXPECT_EQ(pasteOnly(t, t.m_cfMenuView), "M");
    s->~ProbeSource();
    EXPECT_EQ(pasteOnly(t, t.m_cfMenuView), "");
    EXPECT_EQ(t.arrivals.size(), (size_t)CountClipboardFormats());

    s = new (storage) ProbeSource;   // same place, new identity
    EXPECT_EQ(pasteOnly(t, t.m_cfMenuView), "");
    s->~ProbeSource();
}

// Another process writes records: a made-up identity, or the live identity with a made-up
// address, reaches no hook; the same program writing a true record shows the path works.
TEST(Clipboard, RecordsFromAnotherProcess) {
    ProbeSource live;
    ProbeTarget t;
    const wchar_t* menu = L"5E686CEC-92BE-4f79-BD7E-ABA723A8E015";
    GUID madeUp = {0x0badf00d, 0x1234, 0x5678, {9, 8, 7, 6, 5, 4, 3, 2}};

    ASSERT_EQ(otherProcessWrites(menu, referenceBytes(madeUp, &live.m_listMenuItem)), 0);
    EXPECT_EQ(pasteOnly(t, t.m_cfMenuView), "");
    ASSERT_EQ(otherProcessWrites(menu, referenceBytes(live.m_guidSource, (void*)0x7ffe0000)), 0);
    EXPECT_EQ(pasteOnly(t, t.m_cfMenuView), "");
    ASSERT_EQ(otherProcessWrites(menu, referenceBytes(live.m_guidSource, &live.m_listMenuItem)), 0);
    EXPECT_EQ(pasteOnly(t, t.m_cfMenuView), "M");
    EXPECT_EQ(t.extracts[0].object, &live.m_listMenuItem);
}

// A clipboard held open by another thread: both operations fail at once.
TEST(Clipboard, HeldElsewhere) {
    ProbeTarget t;
    CPoint p(0, 0);
    putClipboard(CF_TEXT, blockOf(std::string("x", 2)));
    ClipboardHeld held;
    EXPECT_FALSE(t.m_fnIsPasteFromClipboardEnabled(p));
    EXPECT_FALSE(t.m_fnPasteClipboardData(p));
    EXPECT_TRUE(t.arrivals.empty());
}
