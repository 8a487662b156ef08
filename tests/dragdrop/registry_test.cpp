// The window registry, and the identities of drag sources.
#include <gtest/gtest.h>
#include "ddtest.h"
#include <set>

namespace {
HWND fakeHandle(int i) { return (HWND)(UINT_PTR)(0x20000 + i * 4); }   // aligned like real handles
}  // namespace

TEST(WndMgr, MapsHandlesToOneValueEach) {
    CWndMgr mgr;
    int values[60];
    EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(1)), nullptr);
    mgr.m_fnRemoveWindow(fakeHandle(1));   // never added: nothing happens
    EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(1)), nullptr);

    // More entries than buckets and node blocks, so chains and several blocks are in use.
    for (int i = 0; i < 60; ++i) mgr.m_fnAddWindow(fakeHandle(i), &values[i]);
    mgr.m_fnAddWindow(fakeHandle(7), &values[59]);   // overwritten: only the second value stays
    mgr.m_fnRemoveWindow(fakeHandle(30));
    mgr.m_fnRemoveWindow(fakeHandle(99));
    for (int i = 0; i < 60; ++i) {
        void* expected = i == 7 ? &values[59] : i == 30 ? nullptr : &values[i];
        EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(i)), expected) << i;
    }
    EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(60)), nullptr);

    // Emptied completely, then used again.
    for (int i = 0; i < 60; ++i) mgr.m_fnRemoveWindow(fakeHandle(i));
    EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(7)), nullptr);
    mgr.m_fnAddWindow(fakeHandle(3), &values[0]);
    mgr.m_fnAddWindow(nullptr, &values[1]);   // a null handle is a key like any other
    EXPECT_EQ(mgr.m_fnSearchWindow(fakeHandle(3)), &values[0]);
    EXPECT_EQ(mgr.m_fnSearchWindow(nullptr), &values[1]);
}

// Every source carries its own identity, listed while it lives: a record of a destroyed source
// names nobody, and no two sources share one.
TEST(SourceIdentity, UniquePerSourceAndGoneWithIt) {
    std::set<std::string> seen;
    GUID first;
    {
        ProbeSource a, b, c;
        for (ProbeSource* s : {&a, &b, &c}) {
            std::string id((const char*)&s->m_guidSource, 16);
            EXPECT_NE(id, std::string(16, '\0'));
            seen.insert(id);
        }
        first = a.m_guidSource;
    }
    EXPECT_EQ(seen.size(), 3u);
    ProbeSource d;
    EXPECT_NE(memcmp(&d.m_guidSource, &first, 16), 0);
}
